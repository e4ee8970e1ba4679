// DDC/CI over the monitor's USB bridge: the bridge manager's table, reports,
// hot-plug notices and waits, and the transport's binding to its bridge.

#include "Clock.h"
#include "PublishedInterfaceList.h"
#include "SimDesktop.h"
#include "TestSupport.h"
#include "ORV_factory_ddc_control.h"
#include "ddc_control.h"
#include "low_level_ddc_mac_usb.h"
#include "mac_usb_ddcci.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <random>
#include <thread>

using namespace pz;
using test::hex;
using test::PublishedInterfaceList;

namespace {

// A HID backend of fixed devices, to reach report sizes and counts the
// simulated bridge does not have.
class FixedHidBackend : public IHidBackend {
public:
    QVector<HidDeviceInfo> devices;
    QVector<HidDeviceInfo> enumerate(quint16 v, quint16 p) override
    {
        QVector<HidDeviceInfo> out;
        for (const HidDeviceInfo &d : devices)
            if (d.vendorId == v && d.productId == p)
                out.append(d);
        return out;
    }
    std::unique_ptr<IHidDevice> open(const QByteArray &path) override
    {
        for (const HidDeviceInfo &d : devices)
            if (d.path == path)
                return std::make_unique<Device>(d);
        return nullptr;
    }
    std::unique_ptr<IHidWatch> watch(quint16, quint16, Notice) override
    {
        return std::make_unique<IHidWatch>();
    }

private:
    struct Device : IHidDevice {
        explicit Device(HidDeviceInfo i) : i(std::move(i)) {}
        HidDeviceInfo info() const override { return i; }
        bool writeOutputReport(const quint8 *, int, int) override { return true; }
        int pollInputReport(quint8 *, int) override { return 0; }
        void flushInput() override {}
        HidDeviceInfo i;
    };
};

// A bridge's identity as a backend lists it.
HidDeviceInfo bridgeInfo(const QByteArray &path, const QString &serial, quint16 vendorId,
                         quint16 productId, int inSize = 64, int outSize = 64)
{
    HidDeviceInfo d;
    d.path = path;
    d.vendorId = vendorId;
    d.productId = productId;
    d.serialNumber = serial;
    d.maxInputReportSize = inSize;
    d.maxOutputReportSize = outSize;
    return d;
}

// A bridge that answers each output report with random input reports:
// random lengths, random bytes, or a reply frame with a few bytes changed.
class RandomReportBackend : public IHidBackend {
public:
    std::mt19937 rng{1207};
    QVector<QByteArray> queue;

    QVector<HidDeviceInfo> enumerate(quint16 v, quint16 p) override
    {
        return {bridgeInfo("random", QStringLiteral("R1"), v, p)};
    }
    std::unique_ptr<IHidDevice> open(const QByteArray &) override
    {
        return std::make_unique<Device>(this);
    }
    std::unique_ptr<IHidWatch> watch(quint16, quint16, Notice) override
    {
        return std::make_unique<IHidWatch>();
    }

    void answer()
    {
        const int reports = int(rng() % 3);   // none, one or two
        for (int r = 0; r < reports; ++r) {
            QByteArray rep(int(rng() % 70), 0);
            for (char &c : rep)
                c = char(rng());
            if (rng() % 2 && rep.size() > 8) {
                // A plausible frame: source, length, some payload.
                rep[3] = char(0x6E);
                rep[4] = char(0x80 | (rng() % 40));
            }
            queue.append(rep);
        }
    }

private:
    struct Device : IHidDevice {
        explicit Device(RandomReportBackend *b) : b(b) {}
        HidDeviceInfo info() const override { return HidDeviceInfo(); }
        bool writeOutputReport(const quint8 *, int, int) override
        {
            b->answer();
            return b->rng() % 16 != 0;
        }
        int pollInputReport(quint8 *buffer, int capacity) override
        {
            if (b->queue.isEmpty())
                return 0;
            const QByteArray rep = b->queue.takeFirst();
            const int n = qMin(capacity, rep.size());
            memcpy(buffer, rep.constData(), size_t(n));
            return n == 0 ? 0 : n;
        }
        void flushInput() override { b->queue.clear(); }
        RandomReportBackend *b;
    };
};

// One bridge whose first read blocks until the test lets it go, so that a
// worker thread can be held inside an exchange. Unplugged, it is no longer
// listed and its handles fail as a vanished hidraw device's do.
class GatedHidBackend : public IHidBackend {
public:
    QSemaphore inRead;   // released once the worker is inside its read
    QSemaphore letGo;    // the held read goes on once this is released
    std::atomic<bool> plugged{true};

    QVector<HidDeviceInfo> enumerate(quint16 v, quint16 p) override
    {
        if (!plugged)
            return {};
        return {bridgeInfo("gated", QStringLiteral("G1"), v, p)};
    }
    std::unique_ptr<IHidDevice> open(const QByteArray &) override
    {
        return plugged ? std::make_unique<Device>(this) : nullptr;
    }
    std::unique_ptr<IHidWatch> watch(quint16, quint16, Notice) override
    {
        return std::make_unique<IHidWatch>();
    }

private:
    struct Device : IHidDevice {
        explicit Device(GatedHidBackend *b) : backend(b) {}
        HidDeviceInfo info() const override { return HidDeviceInfo(); }
        bool writeOutputReport(const quint8 *, int, int) override { return backend->plugged; }
        int pollInputReport(quint8 *, int) override
        {
            if (!held) {
                held = true;
                backend->inRead.release();
                backend->letGo.acquire();
            }
            // A device freed while the read was held fails here under ASan.
            return backend->plugged ? 0 : -1;
        }
        void flushInput() override {}
        GatedHidBackend *backend;
        bool held = false;
    };
};

HidDeviceInfo device(int n, int inSize, int outSize)
{
    return bridgeInfo("fixed" + QByteArray::number(n), QStringLiteral("S%1").arg(n),
                      kOrvaneBridgeVendorId, kOrvaneBridgeProductId, inSize, outSize);
}

} // namespace

class TestMacUsbDdcci : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_clock.clearWaits();
        m_scope.reset(new ScopedClock(&m_clock));
    }
    void cleanup() { m_scope.reset(); }

    void reportsOnTheWire()
    {
        SimDesktop desk;
        SimOrvaneMonitor &monitor = desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desk.plugBridge(1);
        ScopedHidBackend hid(&desk.hid());
        mac_usb_ddcci usb(3);
        QCOMPARE(usb.EnumerateDevices(), 1);
        QCOMPARE(QByteArray(usb.GetSerialNumber(0)), QByteArray("SIM0001"));
        QCOMPARE(QByteArray(usb.GetProductName(0)), QByteArray("Orvane HX USB Bridge"));
        QCOMPARE(QByteArray(usb.GetManufacturerName(0)), QByteArray("Orvane"));
        QVERIFY(!usb.GetSerialNumber(1));

        unsigned char frame[] = {0x51, 0x82, 0x01, 0x10, 0xAC};
        QCOMPARE(usb.i2c_write(0, 0x6E, frame, 5), 0);
        const QByteArray sent = desk.bridge(1).outputReports().last();
        QCOMPARE(sent.size(), 65);
        QCOMPARE(sent, hex("00 01 00 06 6E 51 82 01 10 AC 06") + QByteArray(54, 0));
        unsigned char reply[11] = {};
        QCOMPARE(usb.i2c_read(0, 0x6F, reply, 11), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(reply), 11), hex("6E 88 02 00 10 00 00 64 00 32 F2"));

        unsigned char set[] = {0x51, 0x85, 0xC8, 0x10, 0x52, 0x01, 0x39, 0x08};
        QCOMPARE(usb.i2c_write(0, 0x6E, set, 8), 0);
        QCOMPARE(desk.bridge(1).outputReports().last().left(15),
                 hex("00 01 00 09 6E 51 85 C8 10 52 01 39 08 09 00"));
        QCOMPARE(monitor.registerValue(0x1052), quint16(313));

        // 65-byte reports carry 59 data bytes and their checksum; with 60 the
        // checksum would fall off the end of the report.
        unsigned char big[61] = {};
        QCOMPARE(usb.i2c_write(0, 0xA0, big, 59), 0);
        QCOMPARE(desk.bridge(1).outputReports().last().size(), 65);
        QCOMPARE(usb.i2c_write(0, 0xA0, big, 60), -31);
        QCOMPARE(usb.i2c_write(0, 0xA0, big, 61), -31);
        QCOMPARE(usb.i2c_read(0, 0x6F, big, 60), 0);
        QCOMPARE(usb.i2c_read(0, 0x6F, big, 61), -31);
        QCOMPARE(usb.i2c_write(1, 0x6E, frame, 5), -2);
        QCOMPARE(usb.i2c_read(-1, 0x6F, reply, 5), -2);
    }

    void eachReadTakesOneNewReport()
    {
        SimDesktop desk;
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desk.plugBridge(1);
        ScopedHidBackend hid(&desk.hid());
        mac_usb_ddcci usb(3);
        usb.EnumerateDevices();
        unsigned char frame[] = {0x51, 0x82, 0x01, 0x10, 0xAC};
        unsigned char reply[11] = {};

        // Stale reports queued by earlier requests are dropped before a write.
        unsigned char contrast[] = {0x51, 0x82, 0x01, 0x12, 0xAE};
        QCOMPARE(usb.i2c_write(0, 0x6E, contrast, 5), 0);
        QCOMPARE(usb.i2c_write(0, 0x6E, frame, 5), 0);
        QCOMPARE(usb.i2c_read(0, 0x6F, reply, 11), 0);
        QCOMPARE(reply[4], quint8(0x10));

        // A second read finds no new report: it waits 225 passes of 20 ms.
        m_clock.clearWaits();
        QCOMPARE(usb.i2c_read(0, 0x6F, reply, 11), -23);
        QCOMPARE(m_clock.totalWaitedUs(), qint64(4500000));
        QCOMPARE(m_clock.waitsUs().size(), 225);
    }

    void tableSkipsUnusableDevices()
    {
        FixedHidBackend fixed;
        fixed.devices = {device(0, 64, 0), device(1, 300, 64), device(2, 64, 256), device(3, 64, 64)};
        for (int n = 4; n < 20; ++n)
            fixed.devices.append(device(n, 64, 64));
        ScopedHidBackend hid(&fixed);
        mac_usb_ddcci usb(3);
        QCOMPARE(usb.EnumerateDevices(), 12);
        QCOMPARE(QByteArray(usb.GetSerialNumber(0)), QByteArray("S3"));
        QCOMPARE(QByteArray(usb.GetSerialNumber(11)), QByteArray("S14"));
        QVERIFY(!usb.GetSerialNumber(12));
    }

    void hotPlugNotices()
    {
        SimDesktop desk;
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desk.addMonitor(2, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hx520r());
        desk.plugBridge(1);
        ScopedHidBackend hid(&desk.hid());
        mac_usb_ddcci usb(3);
        QSignalSpy spy(&usb, &mac_usb_ddcci::usb_device_changed);
        QCOMPARE(usb.EnumerateDevices(), 1);
        QCOMPARE(spy.count(), 0);   // present at construction: no arrival

        desk.plugBridge(2);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        // The table changes only on the next enumeration.
        QCOMPARE(usb.GetNumDevices(), 1);

        desk.unplugBridge(1);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), false);
        QCOMPARE(usb.GetNumDevices(), 1);
        unsigned char frame[] = {0x51, 0x82, 0x01, 0x10, 0xAC};
        QCOMPARE(usb.i2c_write(0, 0x6E, frame, 5), -12);
        unsigned char reply[11];
        QCOMPARE(usb.i2c_read(0, 0x6F, reply, 11), -2);

        QCOMPARE(usb.EnumerateDevices(), 1);
        QCOMPARE(QByteArray(usb.GetSerialNumber(0)), QByteArray("SIM0520"));
    }

    // After a re-enumeration the index of a transport may belong to another
    // monitor: the transport stays with its own bridge and fails while that
    // bridge is gone.
    void transportStaysWithItsBridge()
    {
        SimDesktop desk;
        SimOrvaneMonitor &a = desk.addMonitor(1, QRectF(0, 0, 1920, 1200));
        SimOrvaneMonitor &b = desk.addMonitor(2, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hx520r());
        desk.plugBridge(1);
        desk.plugBridge(2);
        ScopedHidBackend hid(&desk.hid());
        PublishedInterfaceList interfaces;
        mac_usb_ddcci &usb = interfaces.bridges();
        QCOMPARE(usb.EnumerateDevices(), 2);

        ddc_control control(new low_level_ddc_mac_usb(0, 0), 0);
        QCOMPARE(static_cast<low_level_ddc_mac_usb *>(control.transport())->boundSerial(),
                 QStringLiteral("SIM0001"));
        QCOMPARE(control.SetVCP(0x10, 11), 0);
        QCOMPARE(a.registerValue(0x10), quint16(11));

        desk.unplugBridge(1);
        QCOMPARE(usb.EnumerateDevices(), 1);   // index 0 is b's bridge now
        b.clearLog();
        QCOMPARE(control.SetVCP(0x10, 22), -2);
        unsigned int cur = 0, max = 0;
        unsigned char rc = 0, type = 0;
        QCOMPARE(control.GetVCP(0x10, &cur, &max, &rc, &type), -2);
        QVERIFY(b.frames().isEmpty());
        QCOMPARE(b.registerValue(0x10), quint16(50));

        // Back on the bus (a new path, at another index): reached again.
        desk.plugBridge(1);
        QCOMPARE(usb.EnumerateDevices(), 2);
        QCOMPARE(QByteArray(usb.GetSerialNumber(1)), QByteArray("SIM0001"));
        QCOMPARE(control.SetVCP(0x10, 33), 0);
        QCOMPARE(a.registerValue(0x10), quint16(33));
        QCOMPARE(b.registerValue(0x10), quint16(50));

        // A transport for an index that holds nothing never reaches anyone.
        ddc_control nowhere(new low_level_ddc_mac_usb(5, 0), 0);
        QCOMPARE(nowhere.SetVCP(0x10, 1), -2);
    }

    // hidraw hands a freed node to the next device: a path that now belongs
    // to another monitor's bridge must not carry the transport's commands.
    void reusedPathNamesAnotherMonitor()
    {
        FixedHidBackend fixed;
        fixed.devices = {device(0, 64, 64)};
        ScopedHidBackend hid(&fixed);
        PublishedInterfaceList interfaces;
        mac_usb_ddcci &usb = interfaces.bridges();
        QCOMPARE(usb.EnumerateDevices(), 1);
        low_level_ddc_mac_usb transport(0, 0);
        unsigned char frame[3] = {0x51, 0x80, 0xBF};
        QCOMPARE(transport.i2c_write(0x6E, frame, 3), 0);

        fixed.devices[0].serialNumber = QStringLiteral("OTHER");   // same node, other monitor
        QCOMPARE(usb.EnumerateDevices(), 1);
        QCOMPARE(transport.i2c_write(0x6E, frame, 3), -2);
        QCOMPARE(transport.i2c_read(0x6E, frame, 3), -2);

        // Its own bridge back at another node: found by its serial.
        fixed.devices.append(device(0, 64, 64));
        fixed.devices.last().path = "fixed7";
        QCOMPARE(usb.EnumerateDevices(), 2);
        QCOMPARE(transport.i2c_write(0x6E, frame, 3), 0);
    }

    // Input reports come from the device: random ones must give clean error
    // codes through the transport and the command layers.
    void randomInputReports()
    {
        RandomReportBackend random;
        ScopedHidBackend hid(&random);
        PublishedInterfaceList interfaces;
        QCOMPARE(interfaces.bridges().EnumerateDevices(), 1);
        ORV_factory_ddc_control control(new low_level_ddc_mac_usb(0, 0), 0);
        control.set_retry_limit(1);
        for (int round = 0; round < 300; ++round) {
            unsigned int cur = 0, max = 0;
            unsigned char rc = 0, type = 0;
            QVERIFY(control.GetVCP(0x10 + round % 4, &cur, &max, &rc, &type) <= 0);
            QVERIFY(control.GetVCP(0x1052, &cur, &max, &rc, &type) <= 0);
            unsigned char eeprom[40];
            QVERIFY(control.ReadEEPROM(eeprom, 0x8800, 40) <= 0);
            char caps[128];
            const int len = control.GetCapabilityString(caps, sizeof caps);
            QVERIFY(len < int(sizeof caps));
            unsigned int values[16];
            QVERIFY(control.GammaTableReadChunk(values, 0, 16) <= 0);
        }
    }

    // The GUI thread re-enumerates after a bridge left while a worker is
    // inside an exchange on it: the table entry goes, the device the worker
    // reads stays until the exchange is over, and the exchange ends with
    // the transport's code.
    void reEnumerationDuringAnExchange()
    {
        GatedHidBackend gated;
        ScopedHidBackend hid(&gated);
        PublishedInterfaceList interfaces;
        QCOMPARE(interfaces.bridges().EnumerateDevices(), 1);
        ddc_control control(new low_level_ddc_mac_usb(0, 0), 0);
        std::atomic<int> result{0};
        std::thread worker([&] {
            unsigned int cur = 0, max = 0;
            unsigned char rc = 0, type = 0;
            result = control.GetVCP(0x10, &cur, &max, &rc, &type);
        });
        const bool inside = gated.inRead.tryAcquire(1, 10000);
        int count = -1;
        if (inside) {
            gated.plugged = false;
            count = interfaces.bridges().EnumerateDevices();
        }
        gated.letGo.release();
        worker.join();
        QVERIFY(inside);
        QCOMPARE(count, 0);
        QCOMPARE(result.load(), -2);
    }

    // The transports use the manager of the published interface list and no
    // other: a manager that merely exists is nobody's.
    void transportWithoutManager()
    {
        FixedHidBackend fixed;
        fixed.devices = {device(0, 64, 64)};
        ScopedHidBackend hid(&fixed);
        mac_usb_ddcci stray(3);
        QCOMPARE(stray.EnumerateDevices(), 1);
        QVERIFY(!pCMonAPIDummy);
        QVERIFY(!low_level_ddc_mac_usb::bridgeManager());
        low_level_ddc_mac_usb transport(0, 0);
        unsigned char frame[3] = {0x51, 0x80, 0xBF};
        QCOMPARE(transport.i2c_write(0x6E, frame, 3), -1);
        QCOMPARE(transport.i2c_read(0x6E, frame, 3), -1);

        // Published, its list's manager carries the transport's traffic.
        PublishedInterfaceList interfaces;
        QCOMPARE(low_level_ddc_mac_usb::bridgeManager(), &interfaces.bridges());
        QCOMPARE(interfaces.bridges().EnumerateDevices(), 1);
        low_level_ddc_mac_usb bound(0, 0);
        QCOMPARE(bound.i2c_write(0x6E, frame, 3), 0);
        QCOMPARE(transport.i2c_write(0x6E, frame, 3), -2);   // bound to nothing
    }

private:
    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_scope;
};

QTEST_GUILESS_MAIN(TestMacUsbDdcci)
#include "tst_mac_usb_ddcci.moc"
