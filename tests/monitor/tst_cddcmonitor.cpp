// The monitor object against the simulated HX monitor over both transports:
// connection, identity, capability string, controls, raw VCP access and the
// error codes of injected faults.

#include "CCIEXYZ.h"
#include "CDDCMonitor_LCDHXSeries.h"
#include "MonitorRig.h"
#include "ORV_factory_ddc_control.h"
#include "low_level_ddc.h"

#include <QtTest>
#include <cstring>

using namespace pz;
using namespace pz::test;

namespace {

// One control of the table of controls.
struct ControlCase {
    const char *name;
    uint code;
    int (CDDCMonitor::*set)(uint);
    int (CDDCMonitor::*getWithMaximum)(uint *, uint *);
    int (CDDCMonitor::*getCurrent)(uint *);
    uint value;
    bool settles; // waits the monitor's settle time after a set
};

const ControlCase kControls[] = {
    {"brightness", 0x10, &CDDCMonitor::SetBrightness, &CDDCMonitor::GetBrightness, nullptr, 73,
     false},
    {"contrast", 0x12, &CDDCMonitor::SetContrast, &CDDCMonitor::GetContrast, nullptr, 64, false},
    {"colour preset", 0x14, &CDDCMonitor::SetColorPreset, &CDDCMonitor::GetColorPreset, nullptr,
     11, true},
    {"red gain", 0x16, &CDDCMonitor::SetRedGain, &CDDCMonitor::GetRedGain, nullptr, 200, true},
    {"green gain", 0x18, &CDDCMonitor::SetGreenGain, &CDDCMonitor::GetGreenGain, nullptr, 201,
     true},
    {"blue gain", 0x1A, &CDDCMonitor::SetBlueGain, &CDDCMonitor::GetBlueGain, nullptr, 202, true},
    {"gamma mode", 0x268, &CDDCMonitor::SetGammaMode, &CDDCMonitor::GetGammaMode, nullptr, 6,
     true},
    {"luminance target", 0x2B3, &CDDCMonitor::SetLuminanceTargetValue,
     &CDDCMonitor::GetLuminanceTargetValue, nullptr, 120, false},
    {"power LED brightness", 0x2BE, &CDDCMonitor::SetPowerLEDBrightness,
     &CDDCMonitor::GetPowerLEDBrightness, nullptr, 1, false},
    {"power LED colour", 0x2BF, &CDDCMonitor::SetPowerLEDColor, nullptr,
     &CDDCMonitor::GetPowerLEDColor, 1, false},
    {"colour compensation", 0x2C2, &CDDCMonitor::SetColorCompOnOff, nullptr,
     &CDDCMonitor::GetColorCompOnOff, 0, false},
    {"colour compensation level", 0x2EE, &CDDCMonitor::SetColorCompLevel,
     &CDDCMonitor::GetColorCompLevel, nullptr, 5, false},
};

// The paged Set VCP payload the monitor object sends for code := value.
QByteArray pagedSet(uint code, uint value)
{
    QByteArray p;
    p.append(char(0xC8)).append(char(code >> 8)).append(char(code & 0xFF));
    p.append(char(value >> 8)).append(char(value & 0xFF));
    return p;
}

QByteArray pagedPrefix(quint8 opcode, uint code)
{
    QByteArray p;
    p.append(char(opcode)).append(char(code >> 8)).append(char(code & 0xFF));
    return p;
}

} // namespace

class TestCDDCMonitor : public QObject {
    Q_OBJECT

private slots:
    void identity_data();
    void identity();
    void usbIdentityIsTheBridges();
    void initMonitorFailures();
    void reconnectClearsStoredData();
    void notConnected();
    void edidBounds();
    void capabilityString_data();
    void capabilityString();
    void capabilityStringCopyIsTerminated();
    void unparsableCapabilityString();
    void controls_data();
    void controls();
    void unsupportedCode_data();
    void unsupportedCode();
    void osdLock_data();
    void osdLock();
    void osdLockReportsSilence();
    void counters_data();
    void counters();
    void sixAxis_data();
    void sixAxis();
    void sixAxisNotListed();
    void autoContrast();
    void adapterRetry();
    void adapterFixOffAfterFailedRetry();
    void faults_data();
    void faults();
    void refusedWriteWithoutReply_data();
    void refusedWriteWithoutReply();
    void failedReadsKeepStoredIdentity();
};

void TestCDDCMonitor::identity_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitor::identity()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.GetIsUSBConnection(), transport == int(MonitorTransport::USB));
    QCOMPARE(rig.monitor.InitMonitor(), 0);

    ulong id = 0;
    QCOMPARE(rig.monitor.GetMonitorVendorProductID(&id), 0);
    QCOMPARE(id, 0x563E2441ul);
    QCOMPARE(rig.monitor.GetMonitorSerialNumber(), QStringLiteral("SIM0001"));
    QCOMPARE(rig.monitor.GetMonitorModelName(), QStringLiteral("HXSIM24"));
    QCOMPARE(rig.monitor.GetIsDigitalVideoInterface(), 1);

    uint width = 0, height = 0;
    QCOMPARE(rig.monitor.GetMonitorSize(&width, &height), 0);
    QCOMPARE(width, 520u);
    QCOMPARE(height, 320u);

    CCIEYxy primaries[3];
    QCOMPARE(rig.monitor.GetMonitorEDIDColorCoordinates(primaries), 0);
    const double expected[3][2] = {{0.680, 0.310}, {0.210, 0.710}, {0.150, 0.060}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(primaries[i].Y, 1.0);
        // EDID chromaticities have 10 bits.
        QVERIFY(qAbs(primaries[i].x - expected[i][0]) <= 1.0 / 1024);
        QVERIFY(qAbs(primaries[i].y - expected[i][1]) <= 1.0 / 1024);
    }

    uchar edid[256];
    QCOMPARE(rig.monitor.GetEDID(edid, 256), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(edid), 128), rig.sim().edid().left(128));

    // The presence test reads VCP 0x00 with the standard Get VCP.
    QVERIFY(!rig.requestsStartingWith(hex("01 00")).isEmpty());
}

void TestCDDCMonitor::usbIdentityIsTheBridges()
{
    SimBridgeConfig bridge;
    bridge.serial = QStringLiteral("BRIDGE-0042");
    bridge.product = QStringLiteral("HX Bridge Model");
    MonitorRig rig(MonitorTransport::USB, SimMonitorConfig::hxsim24(), bridge);
    QCOMPARE(rig.bridgeSerial(), bridge.serial);
    QCOMPARE(rig.connect(rig.monitor, rig.bridgeSerial(), rig.bridgeProductName()), 0);

    // The texts the connection was given win over the stored, decoded EDID.
    QCOMPARE(rig.monitor.GetMonitorSerialNumber(), QStringLiteral("BRIDGE-0042"));
    QCOMPARE(rig.monitor.GetMonitorModelName(), QStringLiteral("HX Bridge Model"));
    QCOMPARE(rig.monitor.InitMonitor(), 0);
    ulong id = 0;
    QCOMPARE(rig.monitor.GetMonitorVendorProductID(&id), 0);
    QCOMPARE(id, 0x563E2441ul);
    uchar edid[128];
    QCOMPARE(rig.monitor.GetEDID(edid, sizeof edid), 0);
    QVERIFY(QByteArray(reinterpret_cast<char *>(edid), sizeof edid).contains("SIM0001"));
}

void TestCDDCMonitor::initMonitorFailures()
{
    {
        // The EDID decodes but the monitor does not answer the presence test.
        MonitorRig rig(MonitorTransport::I2C);
        QCOMPARE(rig.connect(), 0);
        rig.sim().addFault({SimFaultKind::NakRead, 0x01, -1, 1000});
        QCOMPARE(rig.monitor.InitMonitor(), -2);
    }
    // Over a bridge without the EDID the system reported, nothing is decoded.
    MonitorRig rig(MonitorTransport::USB);
    QCOMPARE(rig.monitor.InitInterface(MonitorRig::kDisplayId, MonitorRig::kFirstBridge), 0);
    rig.monitor.SetIsUSBConnection(true);
    QCOMPARE(rig.monitor.InitMonitor(), -1);
}

void TestCDDCMonitor::reconnectClearsStoredData()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.ReadEDID(), 0);
    QCOMPARE(rig.monitor.ReadCapabilityString(), 0);
    rig.monitor.SetIsUSBConnection(true);

    QCOMPARE(rig.monitor.InitInterface(MonitorRig::kDisplayId, MonitorRig::kI2CBus), 0);
    QCOMPARE(rig.monitor.GetIsUSBConnection(), false);
    QCOMPARE(rig.monitor.GetIsDigitalVideoInterface(), -1);
    uint width = 0, height = 0;
    rig.monitor.GetMonitorSize(&width, &height);
    QCOMPARE(width, 400u);
    QCOMPARE(height, 300u);
    char text[16] = "x";
    QCOMPARE(rig.monitor.GetCapabilityString(text, sizeof text), 0);
    QCOMPARE(text[0], '\0');
}

void TestCDDCMonitor::notConnected()
{
    VirtualClock clock;
    ScopedClock scope(&clock);
    SimDesktop desktop;
    desktop.addMonitor(MonitorRig::kDisplayId, QRectF(0, 0, 10, 10));
    desktop.install();

    CDDCMonitor monitor;
    // No such bus on the display.
    QCOMPARE(monitor.InitInterface(MonitorRig::kDisplayId, 3), -1);
    QVERIFY(!monitor.GetDDCCIControlObject());
    uint current = 0, maximum = 0;
    QCOMPARE(monitor.GetBrightness(&current, &maximum), -6);
    QCOMPARE(monitor.SetRedGain(10), -6);
    QCOMPARE(monitor.SaveCurrentSettings(), -6);
    QCOMPARE(monitor.ReadEDID(), -6);
    QCOMPARE(monitor.ReadCapabilityString(), -6);
    QCOMPARE(monitor.InitMonitor(), -1);
    uint size = 99;
    QCOMPARE(monitor.GetLUTSize(&size), -6);
    QCOMPARE(size, 0u);
    std::vector<uint> table(768, 0);
    QCOMPARE(monitor.SetGammaTable(table), -6);
    QCOMPARE(monitor.SetTargetGammaTable(table), -6);
    // Nothing was sent, so nothing was waited for.
    QVERIFY(clock.waitsUs().isEmpty());
    // Every wait lasts at least one tick.
    QCOMPARE(monitor.WaitMS(0), 0);
    QCOMPARE(clock.waitsTicks(), QVector<qint64>({1}));
    desktop.uninstall();
}

void TestCDDCMonitor::edidBounds()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QByteArray edid = rig.sim().edid();
    edid.resize(257);
    uchar *data = reinterpret_cast<uchar *>(edid.data());
    QCOMPARE(rig.monitor.SetEDID(data, 257), -1);
    QCOMPARE(rig.monitor.GetIsDigitalVideoInterface(), -1);
    QCOMPARE(rig.monitor.SetEDID(data, 256), 0);
    uchar out[257];
    std::memset(out, 0xAB, sizeof out);
    QCOMPARE(rig.monitor.GetEDID(out, 257), -1);
    QCOMPARE(out[0], uchar(0xAB));
    QCOMPARE(rig.monitor.GetEDID(out, 256), 0);
    QCOMPARE(out[1], uchar(0xFF));
}

void TestCDDCMonitor::capabilityString_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitor::capabilityString()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);

    // Read lazily, once per connection.
    QCOMPARE(rig.monitor.GetMonitorMPUVersion(), QStringLiteral("1.2.3"));
    const int fragmentRequests = rig.requestsStartingWith(hex("F3")).size();
    QVERIFY(fragmentRequests >= 15);
    uint a = 9, b = 9, c = 9, d = 9;
    QCOMPARE(rig.monitor.GetMonitorMPUVersion(&a, &b, &c, &d), 0);
    QCOMPARE(QVector<uint>({a, b, c, d}), QVector<uint>({1, 2, 3, 0}));
    char mpu[256];
    QCOMPARE(rig.monitor.GetMonitorMPUVersion(mpu), 0);
    QCOMPARE(QByteArray(mpu), QByteArray("1.2.3"));
    QCOMPARE(rig.requestsStartingWith(hex("F3")).size(), fragmentRequests);

    std::vector<char> text(CDDCMonitor::kCapabilityStringSize);
    QCOMPARE(rig.monitor.GetCapabilityString(text.data(), uint(text.size())), 0);
    QCOMPARE(QByteArray(text.data()), simDefaultCapabilities());

    // gamma_table(size(300) ...) is hexadecimal: 768 entries.
    uint size = 0;
    QCOMPARE(rig.monitor.GetLUTSize(&size), 0);
    QCOMPARE(size, 768u);
    QVERIFY(rig.monitor.IsBacklightOnTime30MinSupported());
    uint backlight = 0;
    QCOMPARE(rig.monitor.GetBacklightOnTime30Min(&backlight), 0);
    QCOMPARE(backlight, uint(rig.sim().registerValue(0x2A8)));

    // A string handed over from earlier replaces the read one, without traffic.
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.SetCapabilityString("vcp(10 12)mpu_ver(4.5)"), 0);
    QCOMPARE(rig.monitor.GetMonitorMPUVersion(), QStringLiteral("4.5"));
    QCOMPARE(rig.monitor.GetLUTSize(&size), 0);
    QCOMPARE(size, 0u);
    QVERIFY(!rig.monitor.IsBacklightOnTime30MinSupported());
    QVERIFY(rig.sim().requests().isEmpty());
}

void TestCDDCMonitor::capabilityStringCopyIsTerminated()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.SetCapabilityString("vcp(10 12 14)"), 0);

    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    QCOMPARE(rig.monitor.GetCapabilityString(buffer, 6), 0);
    QCOMPARE(QByteArray(buffer), QByteArray("vcp(1"));
    QCOMPARE(buffer[6], 'x');
    QCOMPARE(rig.monitor.GetCapabilityString(buffer, 0), 0);
    QCOMPARE(buffer[0], 'v');

    // A string longer than the store keeps its first 8191 characters.
    QByteArray longText("vcp(10)");
    longText.append(QByteArray(9000, 'a'));
    rig.monitor.SetCapabilityString(longText.constData());
    std::vector<char> all(9100, 'x');
    QCOMPARE(rig.monitor.GetCapabilityString(all.data(), uint(all.size())), 0);
    QCOMPARE(std::strlen(all.data()), size_t(8191));
}

void TestCDDCMonitor::unparsableCapabilityString()
{
    // A string without a VCP list does not parse, whatever else it holds.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.capabilities = "(prot(monitor)type(lcd)mpu_ver(1.2.3)"
                          "gamma_table(size(300) r_ofs(0) g_ofs(400) b_ofs(800)))";
    MonitorRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);

    // Its read failed: the size is 0 and the parser's error comes back.
    uint size = 99;
    QCOMPARE(rig.monitor.GetLUTSize(&size), -1);
    QCOMPARE(size, 0u);
    CDDCMonitor_LCDHXSeries hx;
    QCOMPARE(rig.connect(hx), 0);
    size = 99;
    QCOMPARE(hx.GetLUTSize(&size), -1);
    QCOMPARE(size, 0u);
    // Stored all the same: the six-axis read finds a string that did not
    // parse and reads no control.
    rig.sim().clearLog();
    QCOMPARE(hx.ReadSixAxisColorSettings(), 0);
    QVERIFY(rig.sim().requests().isEmpty());
}

void TestCDDCMonitor::controls_data()
{
    QTest::addColumn<int>("transport");
    QTest::addColumn<int>("control");
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < int(std::size(kControls)); ++i) {
            const QByteArray name = QByteArray(t == 0 ? "i2c " : "usb ") + kControls[i].name;
            QTest::newRow(name.constData()) << t << i;
        }
    }
}

void TestCDDCMonitor::controls()
{
    QFETCH(int, transport);
    QFETCH(int, control);
    const ControlCase &c = kControls[control];
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);

    rig.clock.clearWaits();
    QCOMPARE((rig.monitor.*c.set)(c.value), 0);
    QCOMPARE(uint(rig.sim().registerValue(quint16(c.code))), c.value);
    // Every control travels as a paged command, page 0 included.
    QCOMPARE(rig.requestsStartingWith(pagedPrefix(0xC8, c.code)).size(), 1);
    QCOMPARE(rig.requestsStartingWith(pagedPrefix(0xC8, c.code)).first(),
             pagedSet(c.code, c.value));
    // The settle time of the plain monitor object is one second.
    QCOMPARE(rig.clock.waitsTicks().last(), c.settles ? waitTicks(1000) : waitTicks(50));

    // Read back what the monitor holds, also when it changed behind our back.
    const uint changed = c.value == 0 ? 1 : c.value - 1;
    rig.sim().setRegister(quint16(c.code), quint16(changed));
    uint current = 0, maximum = 0;
    if (c.getWithMaximum) {
        QCOMPARE((rig.monitor.*c.getWithMaximum)(&current, &maximum), 0);
        QCOMPARE(maximum, uint(rig.sim().registerMaximum(quint16(c.code))));
    } else {
        QCOMPARE((rig.monitor.*c.getCurrent)(&current), 0);
    }
    QCOMPARE(current, changed);
}

void TestCDDCMonitor::unsupportedCode_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitor::unsupportedCode()
{
    QFETCH(int, transport);
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes.insert(0x10);
    MonitorRig rig(MonitorTransport(transport), config);
    QCOMPARE(rig.connect(), 0);

    uint current = 77, maximum = 77;
    QCOMPARE(rig.monitor.GetBrightness(&current, &maximum), -1027);
    QCOMPARE(rig.monitor.SetBrightness(10), -1027);
    QCOMPARE(rig.monitor.GetVCP(0x1099, &current), -1027);
    uint value = 5;
    QCOMPARE(rig.monitor.SetVCP(0x1099, &value), -1027);
    // The five-argument form hands the result byte over unchanged.
    uchar result = 0, type = 0;
    QCOMPARE(rig.monitor.GetVCP(0x1099, &current, &maximum, &result, &type), 0);
    QCOMPARE(result, uchar(1));
}

void TestCDDCMonitor::osdLock_data()
{
    QTest::addColumn<uint>("mode");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("1") << 1u << hex("C8 00 E3 00 00") << hex("C8 00 FB 00 00");
    QTest::newRow("2") << 2u << hex("C8 00 E3 00 00") << hex("C8 00 FB 00 01");
    QTest::newRow("7") << 7u << hex("C8 00 FB 00 00") << hex("C8 00 E3 00 01");
}

void TestCDDCMonitor::osdLock()
{
    QFETCH(uint, mode);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.SetOSDLock(mode), 0);
    QCOMPARE(rig.sim().requests(), QVector<QByteArray>({first, second}));
}

void TestCDDCMonitor::osdLockReportsSilence()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    rig.sim().addFault({SimFaultKind::NakWrite, 0xC8, 0xE3, 100});
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.SetOSDLock(1), -12);
    // The second code is not written after the first went unanswered.
    QVERIFY(rig.requestsStartingWith(hex("C8 00 FB")).isEmpty());

    // A monitor without the first code still gets the second.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes.insert(0xE3);
    MonitorRig partial(MonitorTransport::I2C, config);
    QCOMPARE(partial.connect(), 0);
    QCOMPARE(partial.monitor.SetOSDLock(2), 0);
    QCOMPARE(partial.sim().registerValue(0xFB), quint16(1));
}

void TestCDDCMonitor::counters_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitor::counters()
{
    QFETCH(int, transport);
    double hours = -1;
    {
        MonitorRig rig{MonitorTransport(transport)};
        QCOMPARE(rig.connect(), 0);
        QCOMPARE(rig.monitor.GetPowerOnHours(&hours), 0);
        QCOMPARE(hours, rig.sim().registerValue(0xFF) * 0.5);
    }

    // One rig at a time: the program has one bridge manager.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes.insert(0xFF);
    MonitorRig without(MonitorTransport(transport), config);
    QCOMPARE(without.connect(), 0);
    hours = -1;
    QCOMPARE(without.monitor.GetPowerOnHours(&hours), -1027);
    QCOMPARE(hours, -1.0);
}

void TestCDDCMonitor::sixAxis_data()
{
    addTransportColumn();
    addTransportRows();
}

void TestCDDCMonitor::sixAxis()
{
    QFETCH(int, transport);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    rig.sim().setRegister(0x9D, 61);     // hue, axis 2
    rig.sim().setRegister(0x214, 44);    // saturation, axis 2
    rig.sim().setRegister(0x2F4, 39);    // offset, axis 3

    QCOMPARE(rig.monitor.ReadSixAxisColorSettings(), 0);
    uint current = 0, maximum = 0;
    QCOMPARE(rig.monitor.GetSixAxisColorHueValue(2, current, maximum), 0);
    QCOMPARE(current, 61u);
    QCOMPARE(maximum, 100u);
    QCOMPARE(rig.monitor.GetSixAxisColorSaturationValue(2, current, maximum), 0);
    QCOMPARE(current, 44u);
    QCOMPARE(rig.monitor.GetSixAxisColorOffsetValue(3, current, maximum), 0);
    QCOMPARE(current, 39u);
    QCOMPARE(rig.monitor.GetSixAxisColorHueValue(6, current, maximum), -1);

    int hue = -9, offset = -9, saturation = -9;
    QCOMPARE(rig.monitor.GetSixAxisControlOffsetValues(hue, offset, saturation), 0);
    QCOMPARE(hue, 50);
    QCOMPARE(offset, 50);
    QCOMPARE(saturation, 0);

    uint value = 12;
    QCOMPARE(rig.monitor.SetSixAxisColorHueValue(5, value), 0);
    QCOMPARE(rig.sim().registerValue(0xA0), quint16(12));
    QCOMPARE(rig.monitor.SetSixAxisColorOffsetValue(6, value), -1);

    // Restore writes the saved values back.
    rig.sim().setRegister(0x214, 3);
    QCOMPARE(rig.monitor.RestoreSixAxisColorSettings(), 0);
    QCOMPARE(rig.sim().registerValue(0x214), quint16(44));
    QCOMPARE(rig.sim().registerValue(0xA0), quint16(50));
}

void TestCDDCMonitor::sixAxisNotListed()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.SetCapabilityString("vcp(10 12 14)"), 0);
    rig.sim().clearLog();
    QCOMPARE(rig.monitor.ReadSixAxisColorSettings(), 0);
    QVERIFY(rig.sim().requests().isEmpty());
    int hue = -9, offset = -9, saturation = -9;
    QCOMPARE(rig.monitor.GetSixAxisControlOffsetValues(hue, offset, saturation), 0);
    QCOMPARE(QVector<int>({hue, offset, saturation}), QVector<int>({0, 0, 0}));
    // Nothing read, nothing to restore.
    QCOMPARE(rig.monitor.RestoreSixAxisColorSettings(), 0);
    QVERIFY(rig.sim().requests().isEmpty());
}

void TestCDDCMonitor::autoContrast()
{
    {
        MonitorRig rig(MonitorTransport::I2C);
        QCOMPARE(rig.connect(), 0);
        QVERIFY(rig.monitor.IsAutoContrastSupported());
        QCOMPARE(rig.monitor.PerformAutoContrast(), 0);
        QCOMPARE(rig.sim().registerValue(0x233), quint16(1));
    }
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.unsupportedCodes.insert(0x233);
    MonitorRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    QVERIFY(!rig.monitor.IsAutoContrastSupported());
    QCOMPARE(rig.monitor.PerformAutoContrast(), -1027);
}

void TestCDDCMonitor::adapterRetry()
{
    // The monitor sits behind a dual-link DisplayPort adapter: the plain
    // capability read fails, the retry with the adapter fix succeeds and the
    // fix stays on for the connection.
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.dualLinkAdapter = true;
    MonitorRig rig(MonitorTransport::I2C, config);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.ReadEDID(), 0);
    QCOMPARE(rig.monitor.ReadCapabilityString(), 0);
    QCOMPARE(rig.monitor.GetMonitorMPUVersion(), QStringLiteral("1.2.3"));
    uint current = 0, maximum = 0;
    QCOMPARE(rig.monitor.GetContrast(&current, &maximum), 0);
    QCOMPARE(current, 50u);
}

void TestCDDCMonitor::adapterFixOffAfterFailedRetry()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.ReadEDID(), 0);
    rig.sim().addFault({SimFaultKind::NakRead, 0xF3, -1, 1000});
    QCOMPARE(rig.monitor.ReadCapabilityString(), -11);
    rig.sim().clearFaults();
    // Without an adapter the fix would garble every reply from here on.
    QVERIFY(!rig.monitor.GetDDCCIControlObject()->transport()->adapterFix());
    uint current = 0, maximum = 0;
    QCOMPARE(rig.monitor.GetBrightness(&current, &maximum), 0);
    QCOMPARE(rig.monitor.ReadCapabilityString(), 0);
}

void TestCDDCMonitor::faults_data()
{
    QTest::addColumn<int>("transport");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("expected");
    for (int t = 0; t < 2; ++t) {
        const char *prefix = t == 0 ? "i2c " : "usb ";
        const auto row = [&](const char *name, SimFaultKind kind, int expected) {
            QTest::newRow(QByteArray(prefix).append(name).constData())
                << t << int(kind) << expected;
        };
        // The bridge answers a refused I2C transfer with a report that holds
        // no reply frame, which the host reads as a foreign source byte.
        row("silent write", SimFaultKind::NakWrite, t == 0 ? -12 : -27);
        row("silent read", SimFaultKind::NakRead, t == 0 ? -11 : -27);
        row("checksum", SimFaultKind::BadChecksum, -20);
        row("source", SimFaultKind::WrongSource, -27);
        row("opcode", SimFaultKind::WrongOpcode, -26);
        row("code", SimFaultKind::WrongPageOrCode, -25);
        row("null replies", SimFaultKind::NullReply, -23);
    }
}

void TestCDDCMonitor::faults()
{
    QFETCH(int, transport);
    QFETCH(int, kind);
    QFETCH(int, expected);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);

    // A read: the outputs stay as they were.
    rig.sim().addFault({SimFaultKind(kind), 0xC6, 0x10, 1000});
    uint current = 4242, maximum = 4242;
    QCOMPARE(rig.monitor.GetBrightness(&current, &maximum), expected);
    QCOMPARE(current, 4242u);
    QCOMPARE(maximum, 4242u);

    // A write: the error is reported and the register keeps its value... or
    // the monitor applied it and only the answer was lost; either way the
    // caller learns the exchange failed.
    rig.sim().clearFaults();
    rig.sim().addFault({SimFaultKind(kind), 0xC8, 0x12, 1000});
    QVERIFY(rig.monitor.SetContrast(99) < 0);
    if (kind == int(SimFaultKind::NakWrite))
        QCOMPARE(rig.sim().registerValue(0x12), quint16(50));
}

void TestCDDCMonitor::refusedWriteWithoutReply_data()
{
    QTest::addColumn<int>("transport");
    QTest::addColumn<int>("saveStatus");
    QTest::addColumn<int>("tableStatus");
    QTest::newRow("i2c") << int(MonitorTransport::I2C) << -12 << -12;
    // The bridge carries a write without telling whether the monitor took
    // it: a command without a reply reports success over USB. The table
    // writes read each chunk back, and so still notice.
    QTest::newRow("usb") << int(MonitorTransport::USB) << 0 << -32;
}

void TestCDDCMonitor::refusedWriteWithoutReply()
{
    QFETCH(int, transport);
    QFETCH(int, saveStatus);
    QFETCH(int, tableStatus);
    MonitorRig rig{MonitorTransport(transport)};
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.SetBrightness(73), 0);

    rig.sim().addFault({SimFaultKind::NakWrite, 0x0C, -1, 1000});
    QCOMPARE(rig.monitor.SaveCurrentSettings(), saveStatus);
    rig.sim().powerCycle();
    QCOMPARE(rig.sim().registerValue(0x10), quint16(50));   // never saved

    rig.clock.advanceUs(10000000);   // the monitor has booted
    rig.sim().addFault({SimFaultKind::NakWrite, 0xC2, 0x05, 1000});
    std::vector<uint> table(768, 5);
    QCOMPARE(rig.monitor.WriteGammaTableData(table), tableStatus);
    QCOMPARE(rig.sim().gammaTable()[0x10], quint16(64));   // still linear
}

void TestCDDCMonitor::failedReadsKeepStoredIdentity()
{
    MonitorRig rig(MonitorTransport::I2C);
    QCOMPARE(rig.connect(), 0);
    QCOMPARE(rig.monitor.ReadEDID(), 0);
    QCOMPARE(rig.monitor.ReadCapabilityString(), 0);

    // A capability read that fails keeps the string and its parse.
    rig.sim().addFault({SimFaultKind::BadChecksum, 0xF3, -1, 1000});
    QCOMPARE(rig.monitor.ReadCapabilityString(), -20);
    uint size = 0;
    QCOMPARE(rig.monitor.GetLUTSize(&size), 0);
    QCOMPARE(size, 768u);
    QCOMPARE(rig.monitor.GetMonitorMPUVersion(), QStringLiteral("1.2.3"));

    // An EDID read that fails keeps the stored EDID bytes.
    rig.sim().clearFaults();
    SimMonitorConfig broken = SimMonitorConfig::hxsim24();
    broken.ddcEdidFails = true;
    MonitorRig other(MonitorTransport::I2C, broken);
    QCOMPARE(other.connect(), 0);
    QByteArray edid = rig.sim().edid();
    QCOMPARE(other.monitor.SetEDID(reinterpret_cast<uchar *>(edid.data()), 128), 0);
    QVERIFY(other.monitor.ReadEDID() < 0);
    uchar stored[128];
    QCOMPARE(other.monitor.GetEDID(stored, 128), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(stored), 128), edid.left(128));
    QCOMPARE(other.monitor.GetIsDigitalVideoInterface(), 1);
    QCOMPARE(other.monitor.GetMonitorModelName(), QStringLiteral("HXSIM24"));
}

QTEST_GUILESS_MAIN(TestCDDCMonitor)
#include "tst_cddcmonitor.moc"
