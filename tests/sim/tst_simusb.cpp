// The simulated USB bus and the simulated Spyder on it: listing, opening,
// removal notices and stale handles, the device's descriptors, and how its
// channels turn light into pulses.

#include "Clock.h"
#include "SimPulseTrain.h"
#include "SimSpyder.h"
#include "SimSpyderEeprom.h"

#include <QtTest>

#include <cmath>

using namespace pz;

class TestSimUsb : public QObject {
    Q_OBJECT

private slots:
    void busListsOpensAndUnplugs()
    {
        SimUsbBackend bus;
        SimSpyderConfig config3;
        config3.productId = 0x0300;
        SimSpyder spyder3(config3);
        SimSpyder spyder4;
        const QByteArray path3 = bus.plug(&spyder3);
        bus.plug(&spyder4);
        QCOMPARE(bus.listDevices(0x085C).size(), 2);
        QVERIFY(bus.listDevices(0x1234).isEmpty());
        const UsbDeviceInfo info = bus.listDevices(0x085C).first();
        QCOMPARE(info.path, path3);
        QCOMPARE(info.productId, quint16(0x0300));
        QCOMPARE(info.deviceSubClass, quint8(0));

        std::unique_ptr<IUsbDevice> handle;
        QCOMPARE(bus.open(info, handle), int(kUsbSuccess));
        int notices = 0;
        handle->setRemovalNotice([&] { ++notices; });
        UsbConfigDescriptor config;
        QCOMPARE(handle->configDescriptor(0, config), int(kUsbSuccess));
        QCOMPARE(config.configurationValue, quint8(1));
        QCOMPARE(config.interfaces.size(), 1);
        QCOMPARE(config.interfaces[0].interfaceClass, quint8(0xFF));
        QCOMPARE(config.interfaces[0].interfaceSubClass, quint8(0));
        QCOMPARE(config.interfaces[0].endpoints.size(), 1);
        QVERIFY(config.interfaces[0].endpoints[0].isBulkIn());
        QCOMPARE(config.interfaces[0].endpoints[0].address, quint8(0x81));
        QCOMPARE(config.interfaces[0].endpoints[0].maxPacketSize, quint16(8));
        QCOMPARE(handle->setConfiguration(1), int(kUsbSuccess));
        QCOMPARE(handle->setConfiguration(2), int(kUsbErrorNotFound));
        QCOMPARE(handle->claimInterface(0), int(kUsbSuccess));

        bus.unplug(&spyder3);
        QCOMPARE(notices, 1);
        quint8 byte;
        QCOMPARE(handle->controlTransfer(0xC0, 0xE1, 0, 0, &byte, 1, 100), int(kUsbErrorNoDevice));
        QCOMPARE(bus.open(info, handle), int(kUsbErrorNoDevice));
        bus.unplug(&spyder3);   // twice is harmless
        QCOMPARE(notices, 1);

        // A re-plug is a new device path.
        QVERIFY(bus.plug(&spyder3) != path3);
    }

    void handlesOutliveTheBusAndTheDevice()
    {
        std::unique_ptr<IUsbDevice> handle;
        {
            SimUsbBackend bus;
            auto spyder = std::make_unique<SimSpyder>();
            bus.plug(spyder.get());
            QCOMPARE(bus.open(bus.listDevices(0x085C).first(), handle), int(kUsbSuccess));
            int notices = 0;
            handle->setRemovalNotice([&] { ++notices; });
            spyder.reset();   // a destroyed device leaves the bus
            QCOMPARE(notices, 1);
        }
        quint8 byte;
        QCOMPARE(handle->controlTransfer(0xC0, 0xE1, 0, 0, &byte, 1, 100), int(kUsbErrorNoDevice));
        QCOMPARE(handle->reset(), int(kUsbErrorNoDevice));
    }

    void opensCanBeRefused()
    {
        SimUsbBackend bus;
        SimSpyder spyder;
        bus.plug(&spyder);
        const UsbDeviceInfo info = bus.listDevices(0x085C).first();
        std::unique_ptr<IUsbDevice> handle;
        spyder.setBusyOpens(2);
        QCOMPARE(bus.open(info, handle), int(kUsbErrorBusy));
        QCOMPARE(bus.open(info, handle), int(kUsbErrorBusy));
        QCOMPARE(bus.open(info, handle), int(kUsbSuccess));
        spyder.setAccessDenied(true);
        QCOMPARE(bus.open(info, handle), int(kUsbErrorAccess));
        bus.setListFails(true);
        QVERIFY(bus.listDevices(0x085C).isEmpty());
    }

    void pulseTrainsStartHalfAPeriodIn()
    {
        const SimPulseTrain t = simPulseTrain(1000.0, 0.0, 1500000.0, SimRefresh());
        QCOMPARE(t.count, 1500u);
        QCOMPARE(t.firstUs, 500.0);
        QCOMPARE(t.lastUs, 1499500.0);
        QCOMPARE(simPulseTrain(0.4, 0.0, 1000000.0, SimRefresh()).count, 0u);
        QCOMPARE(simPulseTrain(0.6, 0.0, 1000000.0, SimRefresh()).count, 1u);
    }

    void modulationAveragesOutOverWholePeriods()
    {
        const double bound = 100000.0 * 0.02 * 2 / (2 * M_PI * 60 * 1.49);   // about 7 Hz
        double worst = 0;
        for (double phase : {0.0, 1.0, 2.5, 4.0}) {
            const SimRefresh refresh{60.0, 0.02, phase};
            const SimPulseTrain t = simPulseTrain(100000.0, 12345.0, 1500000.0, refresh);
            const double hz = (t.count - 1) / ((t.lastUs - t.firstUs) * 1e-6);
            QVERIFY(std::fabs(hz - 100000.0) < 0.05);
            // Half a period short: the flicker shows, depending on the phase.
            const SimPulseTrain half = simPulseTrain(100000.0, 12345.0, 1500000.0 - 1e6 / 120, refresh);
            const double off = std::fabs((half.count - 1) / ((half.lastUs - half.firstUs) * 1e-6) - 1e5);
            QVERIFY(off < bound);
            worst = std::max(worst, off);
        }
        QVERIFY(worst > bound / 2);
    }

    void channelsFollowTheModel_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("gainCode");
        QTest::addColumn<double>("k");
        QTest::newRow("Spyder3") << quint16(0x0300) << QByteArray() << 0 << 1000.0;
        QTest::newRow("Spyder4") << quint16(0x0400) << QByteArray() << 0 << 300 / (683 * 0.003);
        QTest::newRow("version 5 gain 4") << quint16(0x0300) << SimSpyderEeprom::spyder3Europa()
                                          << 0x10 << 20.0;
        QTest::newRow("version 5 gain 64") << quint16(0x0300) << SimSpyderEeprom::spyder3Europa()
                                           << 0x30 << 320.0;
    }

    void channelsFollowTheModel()
    {
        QFETCH(quint16, product);
        QFETCH(QByteArray, image);
        QFETCH(int, gainCode);
        QFETCH(double, k);
        SimSpyderConfig config;
        config.productId = product;
        config.eeprom = image;
        SimSpyder spyder(config);
        quint8 none = 0;
        spyder.controlTransfer(0x40, 0xE2, quint16(0x0700 | gainCode), 0, &none, 0, 100);
        double hz[8];
        spyder.channelFrequencies(SimXYZ{1, 2, 3}, hz);
        QCOMPARE(hz[3], 0.0);   // raw channel 3 carries nothing
        if (product == 0x0400) {
            // Raw 0, 1, 2 = X, Y, Z; raw 5, 6, 7, 4 = half of Y.
            const double expected[8] = {k, 2 * k, 3 * k, 0, k, k, k, k};
            for (int r = 0; r < 8; ++r)
                QVERIFY(std::fabs(hz[r] - expected[r]) < 1e-9);
        } else {
            // Output channels 1-7 = K·(X, Y, Z, X, Y, Z, Y) from raw 0, 1, 2, 5, 6, 7, 4.
            const double expected[8] = {k, 2 * k, 3 * k, 0, 2 * k, k, 2 * k, 3 * k};
            for (int r = 0; r < 8; ++r)
                QVERIFY(std::fabs(hz[r] - expected[r]) < 1e-9);
        }
        spyder.channelFrequencies(SimXYZ{1e9, -5, 0}, hz);
        QCOMPARE(hz[0], SimSpyder::kMaxChannelHz);
        QCOMPARE(hz[1], 0.0);
    }

    void imagesAreSealed()
    {
        for (const QByteArray &image : {SimSpyderEeprom::spyder3(), SimSpyderEeprom::spyder4(),
                                        SimSpyderEeprom::spyder3Europa()}) {
            QCOMPARE(image.size(), 1024);
            const quint32 crc = SimSpyderEeprom::crc32(image.constData(), 1020);
            QCOMPARE(quint8(image[1020]), quint8(crc >> 24));
            QCOMPARE(quint8(image[1023]), quint8(crc));
        }
        const QByteArray s4 = SimSpyderEeprom::spyder4();
        // 30000 · z̄(450) = 53163, 30000 · ȳ(550) = 29850 (channels 3 and 2).
        QCOMPARE((quint8(s4[170 + 2 * (2 * 41 + 7)]) << 8) | quint8(s4[171 + 2 * (2 * 41 + 7)]), 53163);
        QCOMPARE((quint8(s4[170 + 2 * (41 + 17)]) << 8) | quint8(s4[171 + 2 * (41 + 17)]), 29850);
        QCOMPARE(SimSpyderEeprom::floatAt(s4, 29), 0.00683f);
        QCOMPARE(SimSpyderEeprom::floatAt(SimSpyderEeprom::spyder3(), 256 + 4 * 19), 1000.0f);
    }
};

QTEST_GUILESS_MAIN(TestSimUsb)
#include "tst_simusb.moc"
