// The simulated USB bridge, the simulated HID bus and the simulated desktop.

#include "Clock.h"
#include "SimDesktop.h"
#include "SimHost.h"
#include "TestSupport.h"

#include <QtTest>

using namespace pz;
using test::hex;

namespace {

// The output report the host builds for an I2C write: 65 bytes, report id 0.
QByteArray outputReport(quint8 address, const QByteArray &data)
{
    QByteArray r(65, 0);
    r[1] = 0x01;
    r[3] = char(data.size() + 1);
    r[4] = char(address);
    quint8 check = quint8(address ^ (data.size() + 1));
    for (int i = 0; i < data.size(); ++i) {
        r[5 + i] = data[i];
        check ^= quint8(data[i]);
    }
    r[5 + data.size()] = char(check);
    return r;
}

QByteArray take(IHidDevice &device)
{
    QByteArray buf(256, 0);
    const int n = device.pollInputReport(reinterpret_cast<quint8 *>(buf.data()), buf.size());
    return n > 0 ? buf.left(n) : QByteArray();
}

bool send(IHidDevice &device, const QByteArray &report)
{
    return device.writeOutputReport(reinterpret_cast<const quint8 *>(report.constData()),
                                    report.size(), 1000);
}

} // namespace

class TestSimBridge : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_clock.clearWaits();
        m_scope.reset(new ScopedClock(&m_clock));
    }
    void cleanup() { m_scope.reset(); }

    void everyOutputReportGetsOneInputReport()
    {
        SimDesktop desk;
        SimOrvaneMonitor &monitor = desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desk.plugBridge(1);
        const QVector<HidDeviceInfo> found = desk.hid().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].serialNumber, QStringLiteral("SIM0001"));
        QCOMPARE(found[0].maxInputReportSize, 64);
        auto device = desk.hid().open(found[0].path);
        QVERIFY(device);

        const QByteArray getBrightness = outputReport(0x6E, hex("51 82 01 10 AC"));
        QCOMPARE(getBrightness.left(12), hex("00 01 00 06 6E 51 82 01 10 AC 06 00"));
        QVERIFY(send(*device, getBrightness));
        const QByteArray in = take(*device);
        QCOMPARE(in.size(), 64);
        QCOMPARE(in.left(3), hex("01 00 3D"));
        QCOMPARE(in.mid(3, 11), hex("6E 88 02 00 10 00 00 64 00 32 F2"));
        QVERIFY(take(*device).isEmpty());
        QCOMPARE(monitor.requests().last(), hex("01 10"));

        // A request without reply still gets its report: the null message.
        QVERIFY(send(*device, outputReport(0x6E, test::requestFrame(hex("C8 10 52 01 39")))
                                  .left(65)));
        QCOMPARE(take(*device).mid(3, 12), hex("6E 89 C7 00 10 52 00 03 E8 01 39 E1"));
        QVERIFY(send(*device, outputReport(0x6E, test::requestFrame(hex("03 10 00 20")))));
        QCOMPARE(take(*device).mid(3, 3), hex("6E 80 BE"));
        // EDID address: an acknowledgement only.
        QVERIFY(send(*device, outputReport(0xA0, hex("00"))));
        QCOMPARE(take(*device).left(4), hex("01 00 00 00"));

        // Reports queue up until read, like hidraw; a flush drops them.
        send(*device, getBrightness);
        send(*device, getBrightness);
        device->flushInput();
        QVERIFY(take(*device).isEmpty());
    }

    void badReportsAndBridgeFaults()
    {
        SimDesktop desk;
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desk.plugBridge(1);
        SimUsbBridge &bridge = desk.bridge(1);
        auto device = desk.hid().open(desk.hid().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId)[0].path);

        QByteArray corrupt = outputReport(0x6E, hex("51 82 01 10 AC"));
        corrupt[10] = 0x07;
        QVERIFY(send(*device, corrupt));
        QCOMPARE(take(*device).left(3), hex("01 02 00"));

        bridge.dropReplies(1);
        QVERIFY(send(*device, outputReport(0x6E, hex("51 82 01 10 AC"))));
        QCOMPARE(device->readInputReport(nullptr, 0, 4500), 0);
        QCOMPARE(m_clock.totalWaitedUs(), qint64(4500000));

        bridge.refuseWrites(1);
        QVERIFY(!send(*device, outputReport(0x6E, hex("51 82 01 10 AC"))));
        QCOMPARE(bridge.outputReports().size(), 3);
    }

    // A DisplayPort adapter sits on the graphics card's link, not on USB:
    // a capability fragment over the bridge arrives without junk bytes.
    void adapterJunkStaysOffTheBridge()
    {
        SimMonitorConfig c;
        c.dualLinkAdapter = true;
        SimDesktop desk;
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200), c);
        desk.plugBridge(1);
        auto device = desk.hid().open(desk.hid().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId)[0].path);
        QVERIFY(send(*device, outputReport(0x6E, test::requestFrame(hex("F3 00 00")))));
        const QByteArray in = take(*device);
        QCOMPARE(in.mid(3, 5), hex("6E A3 E3 00 00"));
        QCOMPARE(in.mid(8, 32), simDefaultCapabilities().left(32));
    }

    void lateReplyArrivesAsAnExtraReport()
    {
        SimMonitorConfig c;
        c.slowCodes = {0x1067};
        c.lateReplyMs = 300;
        SimDesktop desk;
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200), c);
        desk.plugBridge(1);
        auto device = desk.hid().open(desk.hid().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId)[0].path);
        QVERIFY(send(*device, outputReport(0x6E, test::requestFrame(hex("C8 10 67 00 01")))));
        QCOMPARE(take(*device).mid(3, 3), hex("6E 80 BE"));
        QVERIFY(take(*device).isEmpty());

        QByteArray buf(64, 0);
        QCOMPARE(device->readInputReport(reinterpret_cast<quint8 *>(buf.data()), 64, 4500), 64);
        QCOMPARE(buf.mid(3, 6), hex("6E 89 C7 00 10 67"));
        QCOMPARE(m_clock.totalWaitedUs(), qint64(300000));   // fifteen passes of 20 ms
    }

    void hotPlugNoticesAndVanishedHandles()
    {
        SimDesktop desk;
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desk.addMonitor(2, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hx520r());
        desk.plugBridge(1);   // present before the watch: no arrival notice

        QVector<QPair<QString, bool>> notices;
        auto watch = desk.hid().watch(kOrvaneBridgeVendorId, kOrvaneBridgeProductId,
                                      [&](const HidDeviceInfo &d, bool added) {
                                          notices.append({d.serialNumber, added});
                                      });
        QVERIFY(notices.isEmpty());
        desk.plugBridge(2);
        const QByteArray firstPath = desk.hid().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId)[0].path;
        auto device = desk.hid().open(firstPath);
        desk.unplugBridge(1);
        QCOMPARE(notices, (QVector<QPair<QString, bool>>{{"SIM0520", true}, {"SIM0001", false}}));

        // The handle outlives the device and fails like a vanished one.
        QVERIFY(!send(*device, outputReport(0x6E, hex("51 82 01 10 AC"))));
        QCOMPARE(device->pollInputReport(nullptr, 0), -1);
        QCOMPARE(device->readInputReport(nullptr, 0, 4500), -1);

        // Plugged in again it has a new path; the old path stays dead.
        desk.plugBridge(1);
        const QVector<HidDeviceInfo> now = desk.hid().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId);
        QCOMPARE(now.size(), 2);
        QVERIFY(now[0].path != firstPath && now[1].path != firstPath);
        QVERIFY(!desk.hid().open(firstPath));

        watch.reset();
        desk.unplugBridge(2);
        QCOMPARE(notices.size(), 3);
    }

    void desktopDisplaysBusesAndRamps()
    {
        SimDesktop desk;
        SimOrvaneMonitor &monitor = desk.addMonitor(7, QRectF(1920, 0, 1920, 1200));
        desk.addMonitor(8, QRectF(0, 0, 1920, 1200), SimMonitorConfig::notInHxList(), false);
        desk.addPlainDisplay(9, QRectF(-1280, 0, 1280, 1024), QByteArray());

        QVector<DesktopDisplay> displays;
        QVERIFY(desk.onlineDisplays(displays));
        QCOMPARE(displays.size(), 3);
        QCOMPARE(displays[0].id, 7u);
        QCOMPARE(displays[0].bounds, QRectF(1920, 0, 1920, 1200));
        QCOMPARE(displays[0].edid, monitor.edid());
        QVERIFY(displays[1].edid.isEmpty());
        desk.setSystemProductInfo(8, {{"en_US", "ORVSIM19"}, {"ja_JP", "ORVSIM19 JP"}}, 0x3E56, 0x1901);
        QVERIFY(desk.onlineDisplays(displays));
        QCOMPARE(displays[1].productNames.size(), 2);
        QCOMPARE(displays[1].vendorId, 0x3E56u);
        QCOMPARE(displays[1].productId, 0x1901u);

        auto bus = desk.openI2CBus(7, 0);
        QVERIFY(bus);
        QCOMPARE(test::exchange(*bus, hex("01 10")), hex("02 00 10 00 00 64 00 32"));
        QVERIFY(!desk.openI2CBus(9, 0));
        QVERIFY(!desk.openI2CBus(7, 1));
        desk.removeDisplay(7);
        QVERIFY(!bus->write(0x6E, nullptr, 0));

        desk.setListFails(true);
        QVERIFY(!desk.onlineDisplays(displays));
        QVERIFY(displays.isEmpty());

        // Installed, the program's seams reach it; patches pass the card ramp.
        {
            SimDesktop sim;
            sim.addMonitor(1, QRectF(0, 0, 1920, 1200));
            sim.install();
            QCOMPARE(&desktop(), static_cast<IDesktop *>(&sim));
            const double full = sim.measure(1, 1, 1, 1).Y;
            GammaRampTables half = identityGammaRamp();
            for (int i = 0; i < 256; ++i)
                half.red[i] = half.green[i] = half.blue[i] = float(i / 255.0 * 0.5);
            QVERIFY(gammaRamps().setRamp(1, half));
            QVERIFY(!gammaRamps().setRamp(1, GammaRampTables()));
            QVERIFY(!gammaRamps().setRamp(2, half));
            const double yb = sim.measure(1, 0, 0, 0).Y;
            QVERIFY(qAbs(sim.measure(1, 1, 1, 1).Y - (yb + (full - yb) * std::pow(0.5, 2.2))) < 1e-9);
        }
        QVector<DesktopDisplay> none;
        QVERIFY(desktop().onlineDisplays(none));
        QVERIFY(none.isEmpty());

        // Uninstalled, it puts back the desktop that was there before.
        {
            ScopedDesktop outer(&desk);
            SimDesktop sim;
            sim.install();
            sim.uninstall();
            QCOMPARE(&desktop(), static_cast<IDesktop *>(&desk));
        }
    }

    void simulationFromEnvironment()
    {
        qunsetenv("PELZORA_SIMULATE");
        QVERIFY(!SimDesktop::installFromEnvironment());
        qputenv("PELZORA_SIMULATE", "1");
        {
            auto sim = SimDesktop::installFromEnvironment();
            QVERIFY(sim);
            QVector<DesktopDisplay> displays;
            QVERIFY(desktop().onlineDisplays(displays));
            QCOMPARE(displays.size(), 2);
            QCOMPARE(hidBackend().enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId).size(), 1);
        }
        qunsetenv("PELZORA_SIMULATE");
        QVector<DesktopDisplay> none;
        QVERIFY(desktop().onlineDisplays(none));
        QVERIFY(none.isEmpty());
    }

private:
    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_scope;
};

QTEST_GUILESS_MAIN(TestSimBridge)
#include "tst_simbridge.moc"
