#pragma once
// Hands a display profile to the system colour manager
// (org.freedesktop.ColorManager, as colord serves it) over D-Bus: the
// profile is found by its file name or created (scope "temp", an id from
// the file's MD5) from the open file handed over as a descriptor (by file
// name only where the service has no such method), the display's device is found by its XRandR output name
// or else by the MD5 of its EDID, and the profile is added to the device
// ("hard") and made its default. The colour manager then loads the profile's
// 'vcgt' and tells colour-managed programs.
//
// Every call waits a few seconds at most. Talks to the bus it is given (the
// system bus in the application; tests run a private one).

#include <QByteArray>
#include <QDBusConnection>
#include <QString>

namespace pz {

class ColorManagerClient {
public:
    enum Result {
        kAssigned,
        kNoService,     // no bus, or nobody owns the colour manager's name
        kNoDevice,      // the service knows no device for the display
        kFailed,        // the service refused a step
    };

    static constexpr int kCallTimeoutMs = 3000;

    explicit ColorManagerClient(const QDBusConnection &bus);

    // Assigns the profile file at path (its bytes are profileBytes) to the
    // display on XRandR output outputName, whose EDID is edid (may be empty).
    Result assign(const QString &path, const QByteArray &profileBytes, const QString &outputName,
                  const QByteArray &edid);

    // The lowercase hex MD5 of bytes: the service's EDID key and the base
    // of the profile id.
    static QString md5Hex(const QByteArray &bytes);

private:
    bool serviceRunning();
    bool findOrCreateProfile(const QString &path, const QByteArray &profileBytes,
                             QString &profilePath);
    bool findDevice(const QString &outputName, const QByteArray &edid, QString &devicePath);

    QDBusConnection m_bus;
};

} // namespace pz
