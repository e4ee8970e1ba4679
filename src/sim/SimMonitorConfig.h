#pragma once
// How one simulated Orvane monitor is built: identity (EDID fields), register
// defaults, the panel's light model, timings of its controller and the faults
// it shows from the start. The presets are the models the tests and the
// simulated desktop use.

#include "SimLightModel.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>

namespace pz {

struct SimMonitorConfig {
    // Identity. The manufacturer word is EDID bytes 8-9 read little-endian
    // ("ORV" is 0x563E); the model id is manufacturer << 16 | product.
    QString modelName = QStringLiteral("HXSIM24");
    QString serial = QStringLiteral("SIM0001");
    quint16 manufacturer = 0x563E;
    quint16 product = 0x2441;
    int widthCm = 52;
    int heightCm = 32;
    // The EDID block(s); empty means built from the fields above and the
    // light model's primaries.
    QByteArray edid;
    // The capability string; empty means the default HX string.
    QByteArray capabilities;

    // Register values replacing the defaults (16-bit code: page << 8 | code),
    // and codes the monitor does not implement at all.
    QMap<quint16, quint16> registerValues;
    QSet<quint16> unsupportedCodes;

    SimLightParams light;

    // Power-on minute counters kept in the EEPROM at 0x0308 and 0x03F8.
    quint32 powerOnMinutes = 72000;
    quint32 powerOnMinutesSecondary = 0;
    // Picture mode the controller reports (C0 14).
    quint8 pictureMode = 3;

    // Controller timings (program clock).
    int colourProcessingMs = 8000;   // 0x1097 reads busy this long
    int resetSilenceMs = 2000;       // no answer after an MPU reset or power-on
    // Paged Set VCP of these codes answers with a null message first; the
    // real reply is readable lateReplyMs later.
    QSet<quint16> slowCodes;
    int lateReplyMs = 400;

    // A dual-link DisplayPort adapter between host and monitor: every DDC/CI
    // read from 0x6F gets a junk byte at wire positions 16, 32, ...
    bool dualLinkAdapter = false;
    // The EDID EEPROM takes writes only in factory mode.
    bool factoryMode = false;
    // The EDID cannot be read over DDC (the system still reports it).
    bool ddcEdidFails = false;
    // After a frame with a bad checksum the next read is refused (NAK);
    // false answers it with a null message instead.
    bool nakAfterBadFrame = true;

    // Non-volatile state (saved settings, tables, EEPROM) is kept in this
    // file when set, so a restarted program meets the monitor as it was.
    QString stateFile;

    quint32 modelId() const { return (quint32(manufacturer) << 16) | product; }

    static SimMonitorConfig hxsim24();
    // No internal luminance sensor, longer stabilisation ("HX520R" in the name).
    static SimMonitorConfig hx520r();
    // An Orvane model outside the HX list: supported over USB, no monitor object.
    static SimMonitorConfig notInHxList();
    // The HX model whose power-on minutes live in both EEPROM counters.
    static SimMonitorConfig hxsim27();
    // An Orvane model outside the HX list whose white point and luminance
    // are set through its RGB gains, brightness and gamma table (a panel
    // without a colour engine, about 240 cd/m² at full brightness).
    static SimMonitorConfig gainMonitor();
};

// The default capability string of the HX simulator.
QByteArray simDefaultCapabilities(const QString &modelName = QStringLiteral("HXSIM24"));

// The EDID the configuration describes: one 128-byte block with checksum.
QByteArray buildSimEdid(const SimMonitorConfig &config);

} // namespace pz
