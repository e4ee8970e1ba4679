// The Spyder adapter on the simulated Spyder2 (behind the Spyder2 library
// seam) and the simulated Spyder3 and Spyder4 (on the simulated USB bus,
// through the driver library): which device is found, the probe reading and
// the integration time it chooses, low-light readings, calibration choice,
// ambient light and the Spyder2's tolerated codes.

#include "CColorvisionSpyder2.h"
#include "CPreferences.h"
#include "Clock.h"
#include "PreferencesRegistry.h"
#include "SimSpyder.h"
#include "SimSpyder2Library.h"
#include "SimSpyderEeprom.h"
#include "spyder_calibration.h"
#include "spyder_dc.h"
#include "spyder_dc_state.h"
#include "spyder_requests.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

using namespace pz;

namespace {

enum Family { Spyder2 = 2, Spyder3 = 3, Spyder4 = 4 };

struct SpyderAdapterRig {
    VirtualClock clock;
    ScopedClock clockScope{&clock};
    SimUsbBackend usb;
    ScopedUsbBackend usbScope{&usb};
    SimSpyder2Library spyder2;
    ScopedSpyder2Library spyder2Seam{&spyder2};
    CPreferences preferences;
    ScopedPreferences preferencesScope{&preferences};
    std::unique_ptr<SimSpyder> device;

    SpyderAdapterRig()
    {
        preferences.SetAverageLowLightMeasurements(0);
        // Every test starts from the driver's initial choices.
        spyder::coeffTab = spyder::kLcdSets;
        spyder::EUROPA_GAIN = 4;
    }
    ~SpyderAdapterRig() { DC_Shutdown(); }

    void attach(Family family, const SimXYZ &light, const QByteArray &eeprom = QByteArray())
    {
        if (family == Spyder2) {
            spyder2.setFixedLight(light);
            spyder2.setAttached(true);
            return;
        }
        SimSpyderConfig config;
        config.productId = family == Spyder3 ? 0x0300 : 0x0400;
        config.eeprom = eeprom;
        config.modulationDepth = 0.0;
        device = std::make_unique<SimSpyder>(config);
        device->setFixedLight(light, 500.0);
        usb.plug(device.get());
    }

    // The integration time of every reading the device took, in order.
    QVector<int> readingTimes(Family family) const
    {
        if (family == Spyder2)
            return spyder2.readingTimes();
        QVector<int> times;
        for (const SimSpyder::Setup &s : device->setupLog()) {
            if (s.request != spyder::kReqMeasure)
                continue;
            int found = -1;
            for (int t : {6, 90, 150, 300, 600}) {
                const quint32 clock = spyder::clockForTime(quint32(t));
                if (s.value == spyder::measurementValue(clock)
                    && s.index == spyder::measurementIndex(clock))
                    found = t;
            }
            times.append(found);
        }
        return times;
    }
    void clearReadings()
    {
        spyder2.clearReadingTimes();
        if (device)
            device->clearSetupLog();
    }
};

void addFamilies()
{
    QTest::addColumn<int>("family");
}

} // namespace

class TestSpyderAdapter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void findsTheDevice_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("product");
        QTest::addColumn<bool>("ambient");
        QTest::addColumn<bool>("gamutSelection");
        QTest::addColumn<bool>("refresh");
        QTest::addColumn<QString>("onDisplay");

        QTest::newRow("Spyder2") << 2 << 1 << "Datacolor Spyder2" << 0x0200 << false << false << true
                                 << ":/images/Resources/spyder2.png";
        QTest::newRow("Spyder3") << 3 << 2 << "Datacolor Spyder3" << 0x0300 << true << false << false
                                 << ":/images/Resources/spyder3.png";
        QTest::newRow("Spyder4") << 4 << 3 << "Datacolor Spyder4" << 0x0400 << true << true << false
                                 << ":/images/Resources/spyder3.png";
    }
    void findsTheDevice()
    {
        QFETCH(int, family);
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(int, product);
        QFETCH(bool, ambient);
        QFETCH(bool, gamutSelection);
        QFETCH(bool, refresh);
        QFETCH(QString, onDisplay);

        SpyderAdapterRig rig;
        rig.attach(Family(family), SimXYZ{95.047, 100.0, 108.883});
        CColorvisionSpyder2 sensor;
        QVERIFY(sensor.m_Connected);
        QCOMPARE(sensor.m_DeviceType, type);
        QVERIFY(sensor.IsDeviceConnected());
        QCOMPARE(sensor.GetModelName(), name);
        unsigned short vendor = 0, productId = 0;
        QVERIFY(sensor.GetSensorPnPIDs(vendor, productId));
        QCOMPARE(vendor, (unsigned short)0x085C);
        QCOMPARE(int(productId), product);
        QCOMPARE(sensor.DoesSupportAmbientLightMeasurement(), ambient);
        QCOMPARE(sensor.GetSensorSupportsDisplayGamutSelection(), gamutSelection);
        QCOMPARE(sensor.SupportsDetectVerticalScanningFrequency(), refresh);
        QVERIFY(!sensor.SupportsZeroCal());
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QCOMPARE(sensor.GetSerialNumber().size(), 8);
        if (family == Spyder2)
            QCOMPARE(sensor.GetSerialNumber(), QString("S2000001"));
        sensor_physical_data data;
        QCOMPARE(sensor.GetSensorPhyscalData(data), 0);
        QCOMPARE(data.m_OnDisplayPicture, onDisplay);
        QCOMPARE(data.m_ZeroCalibrationPicture, onDisplay);
        QCOMPARE(data.m_TargetSizeCm, 8.0);
        QCOMPARE(data.m_AmbientPositioningText.isEmpty(), family == Spyder2);
        QCOMPARE(data.m_PictureSizeCm, family == Spyder2 ? 13.5 : 13.1);
    }

    void nothingFound()
    {
        SpyderAdapterRig rig;
        CColorvisionSpyder2 sensor;
        QVERIFY(!sensor.m_Connected);
        QCOMPARE(sensor.m_DeviceType, 0);
        QCOMPARE(rig.spyder2.startups(), 1);
        QCOMPARE(sensor.GetModelName(), QString("None"));
        QCOMPARE(sensor.GetSerialNumber(), QString());
        unsigned short vendor = 1, product = 1;
        QVERIFY(!sensor.GetSensorPnPIDs(vendor, product));
        QCOMPARE(vendor, (unsigned short)0);
        QVERIFY(sensor.SupportsDetectVerticalScanningFrequency());
        QCOMPARE(sensor.Measure(1), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorRefused);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorOK);
    }

    void theAbsentSpyder2LibraryFindsNothing()
    {
        VirtualClock clock;
        ScopedClock clockScope(&clock);
        SimUsbBackend usb;
        ScopedUsbBackend usbScope(&usb);
        CColorvisionSpyder2 sensor;
        QVERIFY(!sensor.m_Connected);
        quint8 record[kCvRecordSize];
        QCOMPARE(spyder2Library().Startup(record), 0);
        QCOMPARE(spyder2Library().GetDetailedError(nullptr), kCvLibraryMissing);
    }

    // The driver already started (by anyone) still counts as a Spyder4.
    void alreadyStartedDriverIsASpyder4()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder3, SimXYZ{1, 1, 1});
        quint8 record[spyder::kDeviceRecordSize];
        QCOMPARE(DC_Startup(record, 0x0300), 1);
        CColorvisionSpyder2 sensor;
        QCOMPARE(sensor.m_DeviceType, int(CColorvisionSpyder2::kDeviceSpyder4));
        QCOMPARE(rig.spyder2.startups(), 0);
    }

    // A Spyder4 whose EEPROM fails its check is released by the driver, so
    // the Spyder3 probe finds nothing and the Spyder2 probe follows.
    void damagedSpyder4IsNoSpyder3()
    {
        SpyderAdapterRig rig;
        QByteArray image = SimSpyderEeprom::spyder4();
        image[600] = char(image[600] ^ 0x55);   // the checksum no longer matches
        rig.attach(Spyder4, SimXYZ{1, 1, 1}, image);
        {
            CColorvisionSpyder2 sensor;
            QVERIFY(!sensor.m_Connected);
            QCOMPARE(rig.spyder2.startups(), 1);
        }
        rig.attach(Spyder2, SimXYZ{1, 1, 1});
        CColorvisionSpyder2 sensor;
        QCOMPARE(sensor.m_DeviceType, int(CColorvisionSpyder2::kDeviceSpyder2));
    }

    void probeChoosesTheIntegrationTime_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<double>("Y");
        QTest::addColumn<int>("time");
        // The Spyder2 reports the light exactly; the Spyder3/4 count
        // pulses, so their cases keep clear of the limits.
        QTest::newRow("2: 4.999") << 2 << 4.999 << 300;
        QTest::newRow("2: 5.0") << 2 << 5.0 << 150;
        QTest::newRow("2: 19.999") << 2 << 19.999 << 150;
        QTest::newRow("2: 20.0") << 2 << 20.0 << 90;
        QTest::newRow("2: 120") << 2 << 120.0 << 90;
        for (int family : {3, 4}) {
            const QByteArray f = QByteArray::number(family);
            QTest::newRow(f + ": 4.8") << family << 4.8 << 300;
            QTest::newRow(f + ": 5.2") << family << 5.2 << 150;
            QTest::newRow(f + ": 19.5") << family << 19.5 << 150;
            QTest::newRow(f + ": 20.5") << family << 20.5 << 90;
            QTest::newRow(f + ": 120") << family << 120.0 << 90;
        }
    }
    void probeChoosesTheIntegrationTime()
    {
        QFETCH(int, family);
        QFETCH(double, Y);
        QFETCH(int, time);

        SpyderAdapterRig rig;
        rig.attach(Family(family), SimXYZ{Y * 0.95, Y, Y * 1.09});
        CColorvisionSpyder2 sensor;
        QVERIFY(sensor.m_Connected);
        rig.clearReadings();
        QCOMPARE(sensor.Measure(4), CSensor::kSensorOK);
        QCOMPARE(rig.readingTimes(Family(family)), QVector<int>({6, time}));
        QCOMPARE(sensor.m_ReadingCount, 1u);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QVERIFY2(std::fabs(out.Y - Y) <= Y * 0.005 + 0.002, qPrintable(QString::number(out.Y)));
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void lowLightTakesASecondLongerReading_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("averaging");
        QTest::addColumn<double>("Y");
        QTest::addColumn<QVector<int>>("times");
        for (int family : {2, 3, 4}) {
            const QByteArray f = QByteArray::number(family);
            QTest::newRow(f + ": 2") << family << true << 2.0 << QVector<int>({6, 300, 600});
            QTest::newRow(f + ": 7") << family << true << 7.0 << QVector<int>({6, 150, 300});
            QTest::newRow(f + ": 2, off") << family << false << 2.0 << QVector<int>({6, 300});
            QTest::newRow(f + ": 12") << family << true << 12.0 << QVector<int>({6, 150});
        }
        // The limits are exclusive; only the Spyder2 reports a light exactly.
        QTest::newRow("2: 3.0") << 2 << true << 3.0 << QVector<int>({6, 300, 300});
        QTest::newRow("2: 2.999") << 2 << true << 2.999 << QVector<int>({6, 300, 600});
        QTest::newRow("2: 10.0") << 2 << true << 10.0 << QVector<int>({6, 150});
    }
    void lowLightTakesASecondLongerReading()
    {
        QFETCH(int, family);
        QFETCH(bool, averaging);
        QFETCH(double, Y);
        QFETCH(QVector<int>, times);

        SpyderAdapterRig rig;
        rig.preferences.SetAverageLowLightMeasurements(averaging ? 1 : 0);
        rig.attach(Family(family), SimXYZ{Y, Y, Y});
        CColorvisionSpyder2 sensor;
        rig.clearReadings();
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        QCOMPARE(rig.readingTimes(Family(family)), times);
        QCOMPARE(int(sensor.m_ReadingCount), times.size() - 1);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(std::fabs(out.Y - Y) <= Y * 0.005 + 0.002);
    }

    // The Spyder2's readings take time/60 s each.
    void spyder2ChargesItsIntegrationTime()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder2, SimXYZ{50, 50, 50});
        CColorvisionSpyder2 sensor;
        rig.clock.clearWaits();
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>({6 * 16666, 90 * 16666}));
    }

    void thousandthsAndNegatives()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder2, SimXYZ{95.047, 100.0, -0.012});
        CColorvisionSpyder2 sensor;
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.X, 95.047);
        QCOMPARE(out.Y, 100.0);
        QCOMPARE(out.Z, 0.0);
    }

    void spyder2ToleratesItsSyncCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("result");
        QTest::newRow("0x20002") << 0x20002 << int(CSensor::kSensorOK);
        QTest::newRow("0x20004") << 0x20004 << int(CSensor::kSensorOK);
        QTest::newRow("0x20005") << 0x20005 << int(CSensor::kSensorDeviceFailed);
    }
    void spyder2ToleratesItsSyncCodes()
    {
        QFETCH(int, code);
        QFETCH(int, result);
        SpyderAdapterRig rig;
        rig.attach(Spyder2, SimXYZ{30, 40, 50});
        CColorvisionSpyder2 sensor;
        // The probe and the reading both fail with the code.
        rig.spyder2.failWithValuesNext(code, 2);
        QCOMPARE(sensor.Measure(1), result);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), result);
        if (result == CSensor::kSensorOK)
            QCOMPARE(out.Y, 40.0);
    }

    void spyder2RefreshDetection_data()
    {
        QTest::addColumn<double>("crtHz");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("result");
        QTest::newRow("LCD") << 0.0 << 0 << 0;
        QTest::newRow("CRT 85 Hz") << 85.0 << 0 << 0;
        QTest::newRow("no sync") << 85.0 << 0x20002 << 0;
        QTest::newRow("other code") << 85.0 << 0x20007 << 0x20007;
    }
    void spyder2RefreshDetection()
    {
        QFETCH(double, crtHz);
        QFETCH(int, fault);
        QFETCH(int, result);
        SpyderAdapterRig rig;
        SimSpyder2Config config;
        config.crtRefreshHz = crtHz;
        rig.spyder2.setConfig(config);
        rig.attach(Spyder2, SimXYZ{1, 1, 1});
        CColorvisionSpyder2 sensor;   // detects once while it starts
        QVERIFY(sensor.m_Connected);
        if (fault)
            rig.spyder2.faults().failNext("GetRefreshRate", fault);
        QCOMPARE(sensor.DetectVerticalScanningFrequency(), result);
    }

    void spyder4CalibrationFollowsTheGamut_data()
    {
        QTest::addColumn<int>("gamut");
        QTest::addColumn<int>("calibration");
        QTest::newRow("-1") << -1 << 2;
        QTest::newRow("0") << 0 << 2;
        QTest::newRow("1") << 1 << 4;
        QTest::newRow("2") << 2 << 6;
        QTest::newRow("3") << 3 << 5;
        QTest::newRow("9") << 9 << 5;
    }
    void spyder4CalibrationFollowsTheGamut()
    {
        QFETCH(int, gamut);
        QFETCH(int, calibration);
        QCOMPARE(CColorvisionSpyder2::Spyder4CalibrationForGamut(gamut), calibration);

        SpyderAdapterRig rig;
        rig.attach(Spyder4, SimXYZ{1, 1, 1});
        CColorvisionSpyder2 sensor;
        // Start from another choice, so the adapter's must show.
        QCOMPARE(DC_UseCalibration(calibration == 7 ? 3 : 7), 1);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenCRT,
                                      CTargetDisplay::typeMonitorColorGamutType(gamut)),
                 CSensor::kSensorOK);
        const QVector<float> chosen(spyder::S4_Coeff, spyder::S4_Coeff + 3 * spyder::kS4Channels);
        QCOMPARE(DC_UseCalibration(calibration), 1);
        QCOMPARE(QVector<float>(spyder::S4_Coeff, spyder::S4_Coeff + 3 * spyder::kS4Channels), chosen);
    }

    // A Spyder4 whose data give no calibration is refused when the
    // calibration is chosen, and every reading after is refused too.
    void refusedSpyder4Calibration_data()
    {
        QTest::addColumn<QByteArray>("image");
        QByteArray unscaled = SimSpyderEeprom::spyder4();
        SimSpyderEeprom::putUInt16(unscaled, 21, 0);
        SimSpyderEeprom::seal(unscaled);
        QTest::newRow("scale 0") << unscaled;
        QTest::newRow("two channels alike") << SimSpyderEeprom::spyder4AlikeChannels();
    }
    void refusedSpyder4Calibration()
    {
        QFETCH(QByteArray, image);
        SpyderAdapterRig rig;
        rig.attach(Spyder4, SimXYZ{95, 100, 109}, image);
        CColorvisionSpyder2 sensor;
        QVERIFY(sensor.m_Connected);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideCCFL),
                 -1003);
        QCOMPARE(sensor.Measure(1), -1003);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), -1003);
    }

    // A reply whose channels pulse without a period is damaged, not black.
    void damagedReplyIsNoReading()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder4, SimXYZ{95, 100, 109});
        CColorvisionSpyder2 sensor;
        QByteArray reply(72, 0);
        for (int r = 0; r < 8; ++r)
            reply[48 + 3 * r + 1] = char(0x50);   // 20480 pulses; both stamps 0
        rig.device->replaceNextReply(reply);
        QCOMPARE(sensor.Measure(1), -1003);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), -1003);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);   // the light again
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(std::fabs(out.Y - 100.0) < 0.01);
    }

    void spyder2CalibrationFollowsTheScreen()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder2, SimXYZ{1, 1, 1});
        CColorvisionSpyder2 sensor;
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenCRT, CTargetDisplay::kGamutWideRGBLED), 0);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideCCFL), 0);
        QCOMPARE(rig.spyder2.calibrations(), QVector<qint32>({1, 2}));
        rig.spyder2.faults().failNext("UseCalibration", 0x20009);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorDeviceFailed);
    }

    void spyder3KeepsItsCalibration()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder3, SimXYZ{1, 1, 1});
        CColorvisionSpyder2 sensor;
        spyder::coeffTab = spyder::kCrtSets;
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideRGBLED), 0);
        QCOMPARE(int(spyder::coeffTab), int(spyder::kCrtSets));
    }

    // The light sensor is powered down after its reading, failed or not.
    void ambientOnTheSpyder4_data()
    {
        QTest::addColumn<int>("shortRequest");   // a reply that comes short; 0: none
        QTest::newRow("reading") << 0;
        QTest::newRow("timing short") << int(spyder::kReqAmbientTimingRead);
        QTest::newRow("channel 1 short") << int(spyder::kReqAmbientChannel1);
    }
    void ambientOnTheSpyder4()
    {
        QFETCH(int, shortRequest);
        SpyderAdapterRig rig;
        rig.attach(Spyder4, SimXYZ{1, 1, 1});
        CColorvisionSpyder2 sensor;
        rig.clock.clearWaits();
        rig.device->clearSetupLog();
        const bool fails = shortRequest != 0;
        if (fails)
            rig.device->shortenTransfers(quint8(shortRequest), 1);
        QCOMPARE(sensor.MeasureAmbientLight(), fails ? -1003 : CSensor::kSensorOK);
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>({ticksToUs(waitTicks(1000))}));
        QCOMPARE(rig.device->ambientControl(), quint8(0));   // powered down again
        QVector<int> controls;
        for (const SimSpyder::Setup &s : rig.device->setupLog())
            if (s.request == spyder::kReqAmbientControlWrite)
                controls.append(s.value);
        QCOMPARE(controls, QVector<int>({3, 0}));
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), fails ? -1003 : CSensor::kSensorOK);
        if (fails)
            return;
        QCOMPARE(out.X, 0.0);
        QCOMPARE(out.Y, 500.0);
        QCOMPARE(out.Z, 0.0);
    }

    void noAmbientOnTheSpyder2()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder2, SimXYZ{10, 10, 10});
        CColorvisionSpyder2 sensor;
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorRefused);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void unpluggedMidReading_data() { addFamilies(); QTest::newRow("2") << 2; QTest::newRow("4") << 4; }
    void unpluggedMidReading()
    {
        QFETCH(int, family);
        SpyderAdapterRig rig;
        rig.attach(Family(family), SimXYZ{100, 100, 100});
        CColorvisionSpyder2 sensor;
        if (family == Spyder2)
            rig.spyder2.faults().loseAfterUs(500'000);
        else
            rig.device->unplugAfterUs(500'000);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorDeviceFailed);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void shutdownOnDestruction()
    {
        SpyderAdapterRig rig;
        rig.attach(Spyder2, SimXYZ{1, 1, 1});
        {
            CColorvisionSpyder2 sensor;
            QVERIFY(rig.spyder2.started());
        }
        QVERIFY(!rig.spyder2.started());
        rig.attach(Spyder4, SimXYZ{1, 1, 1});
        {
            CColorvisionSpyder2 sensor;
            QCOMPARE(sensor.m_DeviceType, int(CColorvisionSpyder2::kDeviceSpyder4));
        }
        quint8 record[spyder::kDeviceRecordSize];
        QCOMPARE(DC_Startup(record, 0x0400), 1);   // released: starts afresh
    }
};

QTEST_MAIN(TestSpyderAdapter)
#include "tst_spyderadapter.moc"
