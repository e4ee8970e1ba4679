#include "SimMonitorConfig.h"

#include <cmath>

namespace pz {

namespace {

// The HXSIM24 EDID: identity, a 1920x1200 preferred timing and a range
// descriptor. buildSimEdid patches the identity fields into it.
const quint8 kEdidTemplate[128] = {
    0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x3E, 0x56, 0x41, 0x24, 0x01, 0x00, 0x00, 0x00,
    0x0A, 0x22, 0x01, 0x04, 0xA5, 0x34, 0x20, 0x78, 0x0A, 0x1F, 0x91, 0xAE, 0x4F, 0x35, 0xB5, 0x26,
    0x0F, 0x50, 0x54, 0x21, 0x08, 0x00, 0xD1, 0xC0, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x28, 0x3C, 0x80, 0xA0, 0x70, 0xB0, 0x23, 0x40, 0x30, 0x20,
    0x36, 0x00, 0x06, 0x44, 0x21, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x53, 0x49, 0x4D,
    0x30, 0x30, 0x30, 0x31, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00, 0x00, 0x00, 0xFC, 0x00, 0x48,
    0x58, 0x53, 0x49, 0x4D, 0x32, 0x34, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00, 0x00, 0x00, 0xFD,
    0x00, 0x38, 0x4C, 0x1E, 0x53, 0x11, 0x00, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00, 0x61,
};

// Display descriptor text: at most 13 characters, ended by 0x0A and padded
// with spaces.
void putDescriptorText(QByteArray &edid, int at, const QString &text)
{
    const QByteArray latin = text.toLatin1().left(13);
    for (int i = 0; i < 13; ++i) {
        char c = 0x20;
        if (i < latin.size())
            c = latin[i];
        else if (i == latin.size())
            c = 0x0A;
        edid[at + 5 + i] = c;
    }
}

int tenBits(double v)
{
    const long r = std::lround(v * 1024.0);
    return static_cast<int>(r < 0 ? 0 : (r > 1023 ? 1023 : r));
}

} // namespace

QByteArray simDefaultCapabilities(const QString &modelName)
{
    return QByteArrayLiteral("(prot(monitor)type(LCD)model(") + modelName.toLatin1()
        + QByteArrayLiteral(")cmds(01 02 03 07 0C F3)"
                            "vcp(02 04 05 08 10 12 14(02 08 0B) 16 18 1A 52 60(0F 11 12) 66 "
                            "9B 9C 9D 9E 9F A0 AC AE B6 C6 C8 DF E3 FB FF)"
                            "vcp_p02(12 13 14 15 16 17 33 42 54 57 68(01 05 06 09 0A 0B 0C) "
                            "7E 7F 80 A8 B3 B4 BE BF C2 CA E8 EE F1 F2 F3 F4 F5 F6 F8 F9)"
                            "vcp_p10(50 51 52 53 54 55 56 57 58 59 5A 5B 5C 5D 5F 62 67 68 69 6B 6F 97)"
                            "mccs_ver(2.2)mpu_ver(1.2.3)asset_eep(64)"
                            "gamma_table(size(300) r_ofs(0) g_ofs(400) b_ofs(800)))");
}

QByteArray buildSimEdid(const SimMonitorConfig &config)
{
    QByteArray edid(reinterpret_cast<const char *>(kEdidTemplate), 128);
    edid[8] = char(config.manufacturer & 0xFF);
    edid[9] = char(config.manufacturer >> 8);
    edid[10] = char(config.product & 0xFF);
    edid[11] = char(config.product >> 8);
    edid[21] = char(qBound(0, config.widthCm, 255));
    edid[22] = char(qBound(0, config.heightCm, 255));

    const SimLightParams &l = config.light;
    const int v[8] = {tenBits(l.red.x),   tenBits(l.red.y),   tenBits(l.green.x),
                      tenBits(l.green.y), tenBits(l.blue.x),  tenBits(l.blue.y),
                      tenBits(l.nativeWhite.x), tenBits(l.nativeWhite.y)};
    edid[25] = char(((v[0] & 3) << 6) | ((v[1] & 3) << 4) | ((v[2] & 3) << 2) | (v[3] & 3));
    edid[26] = char(((v[4] & 3) << 6) | ((v[5] & 3) << 4) | ((v[6] & 3) << 2) | (v[7] & 3));
    for (int i = 0; i < 8; ++i)
        edid[27 + i] = char(v[i] >> 2);

    putDescriptorText(edid, 72, config.serial);
    putDescriptorText(edid, 90, config.modelName);

    quint8 sum = 0;
    for (int i = 0; i < 127; ++i)
        sum = quint8(sum + quint8(edid[i]));
    edid[127] = char(quint8(0x100 - sum));
    return edid;
}

SimMonitorConfig SimMonitorConfig::hxsim24() { return SimMonitorConfig(); }

namespace {
// Another model of the family: its own name, serial and product code, with
// the capability string naming it.
SimMonitorConfig variant(const char *modelName, const char *serial, quint16 product)
{
    SimMonitorConfig c;
    c.modelName = QString::fromLatin1(modelName);
    c.serial = QString::fromLatin1(serial);
    c.product = product;
    c.capabilities = simDefaultCapabilities(c.modelName);
    return c;
}
} // namespace

SimMonitorConfig SimMonitorConfig::hx520r() { return variant("HX520R", "SIM0520", 0x2442); }

SimMonitorConfig SimMonitorConfig::notInHxList()
{
    return variant("ORVSIM19", "SIM0019", 0x1901);
}

SimMonitorConfig SimMonitorConfig::hxsim27()
{
    SimMonitorConfig c = variant("HXSIM27", "SIM0027", 0x2443);
    c.widthCm = 60;
    c.heightCm = 34;
    c.powerOnMinutes = 90000;
    c.powerOnMinutesSecondary = 6000;
    return c;
}

SimMonitorConfig SimMonitorConfig::gainMonitor()
{
    SimMonitorConfig c = variant("LCDSIM21", "SIM0021", 0x2101);
    c.light.gainLutPanel = true;
    c.registerValues[0x2B3] = 250;   // x 0.96 cd/m² per step
    return c;
}

} // namespace pz
