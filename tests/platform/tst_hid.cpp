// The HID seam: report sizes from report descriptors (with a fuzz run), the
// waiting read on the program clock, and the Linux backend on a machine
// without the bridge.

#include "Clock.h"
#include "HidDevice.h"
#include "HidReportDescriptor.h"
#include "LinuxHidBackend.h"
#include "TestSupport.h"

#include <QtTest>
#include <fcntl.h>
#include <random>
#include <unistd.h>

using namespace pz;
using test::hex;

namespace {

// Vendor-defined page, 64-byte input and output reports, no report id:
// the shape of the monitor's bridge.
const char *kBridgeDescriptor =
    "06 00 FF 09 01 A1 01 15 00 26 FF 00 75 08 95 40 09 01 81 02 95 40 09 01 91 02 C0";

class CountingDevice : public IHidDevice {
public:
    int readyAfterPolls = -1;
    int polls = 0;
    HidDeviceInfo info() const override { return HidDeviceInfo(); }
    bool writeOutputReport(const quint8 *, int, int) override { return true; }
    int pollInputReport(quint8 *buffer, int capacity) override
    {
        ++polls;
        if (readyAfterPolls < 0 || polls <= readyAfterPolls)
            return 0;
        if (capacity > 0)
            buffer[0] = 0x01;
        return 1;
    }
    void flushInput() override {}
};

} // namespace

class TestHid : public QObject {
    Q_OBJECT
private slots:
    void reportSizes_data()
    {
        QTest::addColumn<QByteArray>("descriptor");
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("output");
        QTest::addColumn<bool>("valid");
        QTest::newRow("bridge") << hex(kBridgeDescriptor) << 64 << 64 << true;
        // Two input reports with ids: the larger one plus its id byte.
        QTest::newRow("report ids")
            << hex("06 00 FF 09 01 A1 01 85 01 75 08 95 08 81 02 85 02 75 08 95 20 81 02 C0")
            << 33 << 0 << true;
        // Bits add up within one report; 12 bits round up to 2 bytes.
        QTest::newRow("bit fields") << hex("75 01 95 04 81 02 75 08 95 01 81 02") << 2 << 0 << true;
        // Push/pop restore the report size.
        QTest::newRow("push pop") << hex("75 08 95 02 A4 75 10 B4 81 02") << 2 << 0 << true;
        QTest::newRow("no output reports") << hex("75 08 95 40 81 02") << 64 << 0 << true;
        QTest::newRow("cut short") << hex("75 08 95") << 0 << 0 << false;
        QTest::newRow("pop without push") << hex("B4 75 08") << 0 << 0 << false;
        QTest::newRow("long item") << hex("FE 02 10 AA BB 75 08 95 04 91 02") << 0 << 4 << true;
        QTest::newRow("empty") << QByteArray() << 0 << 0 << true;
        // Size x count beyond 64 signed bits: saturates at 2^32 bits.
        QTest::newRow("size times count overflows")
            << hex("77 FF FF FF FF 97 FF FF FF FF 81 00") << (1 << 29) << 0 << true;
    }
    void reportSizes()
    {
        QFETCH(QByteArray, descriptor);
        QFETCH(int, input);
        QFETCH(int, output);
        QFETCH(bool, valid);
        const HidReportSizes s = hidReportSizes(descriptor);
        QCOMPARE(s.maxInput, input);
        QCOMPARE(s.maxOutput, output);
        QCOMPARE(s.valid, valid);
    }

    // Descriptors come from the device: random and mutated ones must give
    // bounded sizes and never misbehave.
    void reportSizesFuzz()
    {
        std::mt19937 rng(2026);
        const QByteArray seed = hex(kBridgeDescriptor);
        for (int round = 0; round < 20000; ++round) {
            QByteArray d = seed;
            if (round % 4 == 0) {
                d = QByteArray(int(rng() % 64), 0);
                for (char &c : d)
                    c = char(rng());
            } else {
                for (int e = int(rng() % 6); e > 0; --e) {
                    const int at = int(rng() % d.size());
                    switch (rng() % 3) {
                    case 0: d[at] = char(rng()); break;
                    case 1: d.insert(at, char(rng())); break;
                    default: d.remove(at, 1); break;
                    }
                    if (d.isEmpty())
                        d = seed;
                }
            }
            const HidReportSizes s = hidReportSizes(d);
            QVERIFY(s.maxInput >= 0 && s.maxOutput >= 0 && s.maxFeature >= 0);
            QVERIFY(s.maxInput <= (1 << 30) && s.maxOutput <= (1 << 30));
        }
    }

    void readWaitsOnTheProgramClock()
    {
        VirtualClock clock;
        ScopedClock scope(&clock);
        CountingDevice device;
        quint8 buf[4];
        QCOMPARE(device.readInputReport(buf, 4, 100, 20), 0);
        QCOMPARE(clock.waitsMs(), (QVector<qint64>{20, 20, 20, 20, 20}));
        // A timeout between two passes ends the wait at the timeout.
        clock.clearWaits();
        QCOMPARE(device.readInputReport(buf, 4, 50, 20), 0);
        QCOMPARE(clock.waitsMs(), (QVector<qint64>{20, 20, 10}));
        clock.clearWaits();
        QCOMPARE(device.readInputReport(buf, 4, 0, 20), 0);
        QVERIFY(clock.waitsMs().isEmpty());

        CountingDevice later;
        later.readyAfterPolls = 3;
        clock.clearWaits();
        QCOMPARE(later.readInputReport(buf, 4, 4500, 20), 1);
        QCOMPARE(clock.totalWaitedUs(), qint64(60000));
    }

    // A bridge that stops taking reports must not hold the writer for good:
    // it waits for the node to take data 1000 ms of program-clock time at
    // most, then gives up. A full pipe stands in for such a node.
    void writeWaitsForTheNodeBounded()
    {
        VirtualClock clock;
        ScopedClock scope(&clock);
        int ends[2];
        QCOMPARE(::pipe(ends), 0);
        const quint8 report[65] = {0x00, 0x01, 0x00, 0x06, 0x6E};
        QVERIFY(LinuxHidBackend::writeWhenWritable(ends[1], report, 65, 1000));
        QVERIFY(clock.waitsUs().isEmpty());
        quint8 got[65] = {};
        QCOMPARE(::read(ends[0], got, sizeof got), ssize_t(65));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(got), 5), hex("00 01 00 06 6E"));

        QCOMPARE(::fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
        while (::write(ends[1], report, sizeof report) > 0) {
        }
        QVERIFY(!LinuxHidBackend::writeWhenWritable(ends[1], report, 65, 1000));
        QCOMPARE(clock.waitsMs(), QVector<qint64>(100, 10));
        clock.clearWaits();
        QVERIFY(!LinuxHidBackend::writeWhenWritable(ends[1], report, 65, 25));
        QCOMPARE(clock.waitsMs(), (QVector<qint64>{10, 10, 5}));

        // A node that went away fails at once.
        ::close(ends[0]);
        clock.clearWaits();
        QVERIFY(!LinuxHidBackend::writeWhenWritable(ends[1], report, 65, 1000));
        QVERIFY(clock.waitsUs().isEmpty());
        ::close(ends[1]);
        QVERIFY(!LinuxHidBackend::writeWhenWritable(-1, report, 65, 1000));
    }

    void udevIdTexts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("hidId");   // HID_ID form, else PRODUCT form
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("vendor");
        QTest::addColumn<int>("product");
        QTest::newRow("hid id") << QByteArray("0003:00003A5C:00000D21") << true << true << 0x3A5C << 0x0D21;
        QTest::newRow("hid id bluetooth") << QByteArray("0005:0000045E:000002E0") << true << true << 0x045E << 0x02E0;
        QTest::newRow("hid id too big") << QByteArray("0003:00013A5C:00000D21") << true << false << 0 << 0;
        QTest::newRow("hid id short") << QByteArray("0003:3A5C") << true << false << 0 << 0;
        QTest::newRow("hid id empty") << QByteArray() << true << false << 0 << 0;
        QTest::newRow("product") << QByteArray("3a5c/d21/100") << false << true << 0x3A5C << 0x0D21;
        QTest::newRow("product garbage") << QByteArray("3a5c/zz/100") << false << false << 0 << 0;
        QTest::newRow("product two parts") << QByteArray("3a5c/d21") << false << false << 0 << 0;
    }
    void udevIdTexts()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, hidId);
        QFETCH(bool, ok);
        QFETCH(int, vendor);
        QFETCH(int, product);
        quint16 v = 0, p = 0;
        const bool parsed = hidId ? LinuxHidBackend::parseHidId(text, v, p)
                                  : LinuxHidBackend::parseUsbProduct(text, v, p);
        QCOMPARE(parsed, ok);
        if (ok) {
            QCOMPARE(int(v), vendor);
            QCOMPARE(int(p), product);
        }
    }

    void linuxBackendWithoutTheBridge()
    {
        LinuxHidBackend backend;
        // No bridge on a build machine; hidraw may not even be there.
        QVERIFY(backend.enumerate(kOrvaneBridgeVendorId, kOrvaneBridgeProductId).isEmpty());
        QVERIFY(!backend.open("/dev/hidraw-does-not-exist"));
        auto watch = backend.watch(kOrvaneBridgeVendorId, kOrvaneBridgeProductId,
                                   [](const HidDeviceInfo &, bool) {});
        QVERIFY(watch);
        QCOMPARE(&hidBackend() == static_cast<IHidBackend *>(&backend), false);
    }
};

QTEST_GUILESS_MAIN(TestHid)
#include "tst_hid.moc"
