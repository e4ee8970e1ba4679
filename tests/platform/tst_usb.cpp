// The raw USB seam: the backend in force, and the libusb backend on a
// machine without a Spyder (listing, opening what is not there, paths).

#include "LinuxUsbBackend.h"
#include "UsbDevice.h"

#include <QtTest>

using namespace pz;

namespace {

class NoUsb : public IUsbBackend {
public:
    QVector<UsbDeviceInfo> listDevices(quint16) override { return {}; }
    int open(const UsbDeviceInfo &, std::unique_ptr<IUsbDevice> &) override
    {
        return kUsbErrorNotSupported;
    }
};

} // namespace

class TestUsb : public QObject {
    Q_OBJECT

private slots:
    void scopedBackendIsRestored()
    {
        IUsbBackend *linux = &usbBackend();
        QVERIFY(dynamic_cast<LinuxUsbBackend *>(linux));
        NoUsb none;
        {
            ScopedUsbBackend scope(&none);
            QCOMPARE(&usbBackend(), static_cast<IUsbBackend *>(&none));
        }
        QCOMPARE(&usbBackend(), linux);
    }

    void paths_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("bus");
        QTest::addColumn<int>("address");
        QTest::newRow("3-14") << QByteArray("3-14") << true << 3 << 14;
        QTest::newRow("0-0") << QByteArray("0-0") << true << 0 << 0;
        QTest::newRow("no dash") << QByteArray("314") << false << 0 << 0;
        QTest::newRow("two dashes") << QByteArray("3-1-4") << false << 0 << 0;
        QTest::newRow("not a number") << QByteArray("a-4") << false << 0 << 0;
        QTest::newRow("bus too large") << QByteArray("256-4") << false << 0 << 0;
        QTest::newRow("negative") << QByteArray("3--4") << false << 0 << 0;
    }

    void paths()
    {
        QFETCH(QByteArray, path);
        QFETCH(bool, valid);
        QFETCH(int, bus);
        QFETCH(int, address);
        int b = -1, a = -1;
        QCOMPARE(LinuxUsbBackend::parsePath(path, b, a), valid);
        if (valid) {
            QCOMPARE(b, bus);
            QCOMPARE(a, address);
            QCOMPARE(LinuxUsbBackend::pathOf(bus, address), path);
        }
    }

    void linuxBackendWithoutTheDevice()
    {
        LinuxUsbBackend backend;
        // Whatever this machine has (or nothing, without USB), only the
        // asked vendor is listed.
        for (const UsbDeviceInfo &info : backend.listDevices(0x085C)) {
            QCOMPARE(info.vendorId, quint16(0x085C));
            int bus = 0, address = 0;
            QVERIFY(LinuxUsbBackend::parsePath(info.path, bus, address));
        }
        std::unique_ptr<IUsbDevice> device;
        UsbDeviceInfo gone;
        gone.path = "255-255";
        QCOMPARE(backend.open(gone, device), int(kUsbErrorNoDevice));
        QVERIFY(!device);
        gone.path = "garbage";
        QCOMPARE(backend.open(gone, device), int(kUsbErrorInvalidParam));
        QVERIFY(!device);
    }

    void bulkInEndpoints()
    {
        QVERIFY((UsbEndpointDescriptor{0x81, 0x02, 8}.isBulkIn()));
        QVERIFY(!(UsbEndpointDescriptor{0x01, 0x02, 8}.isBulkIn()));
        QVERIFY(!(UsbEndpointDescriptor{0x81, 0x03, 8}.isBulkIn()));
    }
};

QTEST_GUILESS_MAIN(TestUsb)
#include "tst_usb.moc"
