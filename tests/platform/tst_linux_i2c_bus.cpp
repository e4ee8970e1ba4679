#include "LinuxI2CBus.h"
#include "DrmFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace pz;
using namespace pz::test;


class TestLinuxI2CBus : public QObject {
    Q_OBJECT
private slots:
    void missingDeviceFailsCleanly()
    {
        QString error;
        QVERIFY(!LinuxI2CBus::open(-1, &error));
        QVERIFY(!error.isEmpty());
        LinuxI2CBus bus(QStringLiteral("/nonexistent/i2c-99"));
        QVERIFY(!bus.isOpen());
        QVERIFY(!bus.errorString().isEmpty());
        quint8 data[4] = {};
        QVERIFY(!bus.write(0x6E, data, 4));
        QVERIFY(!bus.read(0x6E, data, 4));
        QCOMPARE(LinuxI2CBus::devicePath(5), QStringLiteral("/dev/i2c-5"));
    }

    void nodeThatIsNoI2CAdapterRefusesTransfers()
    {
        // /dev/null opens but knows no I2C ioctl: every transfer fails.
        LinuxI2CBus bus(QStringLiteral("/dev/null"));
        QVERIFY(bus.isOpen());
        quint8 data[4] = {0x51, 0x80, 0xBF, 0};
        QVERIFY(!bus.write(0x6E, data, 3));
        QVERIFY(!bus.read(0x6E, data, 4));
        QVERIFY(!bus.read(0x6E, data, 0));
        QVERIFY(!bus.read(0x6E, nullptr, 4));
        QVERIFY(!bus.write(0x6E, data, -1));
    }

    // The kernel wants 7-bit addresses: the DDC/CI and EDID addresses of
    // the protocol layers are 8-bit, with the read bit at bit 0.
    void kernelMessages_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<bool>("isRead");
        QTest::addColumn<int>("kernelAddress");
        QTest::addColumn<int>("flags");
        QTest::newRow("ddc/ci write") << 0x6E << false << 0x37 << 0;
        QTest::newRow("ddc/ci read") << 0x6F << true << 0x37 << int(I2C_M_RD);
        QTest::newRow("edid offset write") << 0xA0 << false << 0x50 << 0;
        QTest::newRow("edid read") << 0xA1 << true << 0x50 << int(I2C_M_RD);
    }
    void kernelMessages()
    {
        QFETCH(int, address);
        QFETCH(bool, isRead);
        QFETCH(int, kernelAddress);
        QFETCH(int, flags);
        quint8 buffer[40] = {};
        const i2c_msg m = i2cMessage(quint8(address), buffer, 39, isRead);
        QCOMPARE(int(m.addr), kernelAddress);
        QCOMPARE(int(m.flags), flags);
        QCOMPARE(int(m.len), 39);
        QCOMPARE(m.buf, static_cast<__u8 *>(buffer));
    }

    void connectorsAndTheirBuses()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QDir dir(root.path());
        // HDMI: a ddc link to the adapter.
        addConnector(root.path(), "card0-HDMI-A-1", true, sampleEdid(1));
        QVERIFY(QFile::link("../../devices/i2c-7", root.filePath("card0-HDMI-A-1/ddc")));
        // DisplayPort: the AUX adapter inside the connector.
        addConnector(root.path(), "card0-DP-1", true, sampleEdid(2));
        QVERIFY(dir.mkpath("card0-DP-1/i2c-12"));
        // Nothing plugged in, and the GPU itself.
        addConnector(root.path(), "card0-DP-2", false, QByteArray());
        QVERIFY(dir.mkpath("card0"));

        const QVector<DrmConnectorBus> buses = drmConnectorBuses(root.path());
        QCOMPARE(buses.size(), 3);
        QCOMPARE(buses[0].connector, QStringLiteral("card0-DP-1"));
        QCOMPARE(buses[0].bus, 12);
        QVERIFY(buses[0].connected);
        QCOMPARE(buses[1].connector, QStringLiteral("card0-DP-2"));
        QCOMPARE(buses[1].bus, -1);
        QVERIFY(!buses[1].connected);
        QCOMPARE(buses[2].bus, 7);

        QCOMPARE(buses[2].edid, sampleEdid(1));
        QVERIFY(drmConnectorBuses(root.filePath("missing")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLinuxI2CBus)
#include "tst_linux_i2c_bus.moc"
