// The i1 Pro adapter on the simulated i1 library: Init's options and their
// refusals, ambient support, one reading per Measure with the low-light
// rule, zero calibration after every mode change, the screen type that
// touches nothing, and its pictures per mode.

#include "CEyeOneSensor.h"
#include "EyeOneRig.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using test::EyeOneRig;

namespace {

void attachPro(EyeOneRig &rig, bool ambient = true)
{
    SimEyeOneProConfig config;
    config.ambient = ambient;
    rig.library.setProConfig(config);
    rig.library.setAttached(SimEyeOneLibrary::Pro, true);
}

} // namespace

class TestEyeOneSensor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void withoutDevice()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");   // another family is not taken for an i1 Pro
        CEyeOneSensor sensor;
        QVERIFY(!sensor.m_Connected);
        QCOMPARE(rig.library.connectionTests(SimEyeOneLibrary::Pro), 1);
        QCOMPARE(rig.library.connectionTests(SimEyeOneLibrary::Display), 0);
        QCOMPARE(rig.library.GetOption("DeviceType"), QByteArray("EyeOneDisplay"));
        QCOMPARE(sensor.Measure(1), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorNotConnected);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void initSetsTheLibraryUp_data()
    {
        QTest::addColumn<bool>("ambient");
        QTest::newRow("ambient") << true;
        QTest::newRow("no ambient") << false;
    }
    void initSetsTheLibraryUp()
    {
        QFETCH(bool, ambient);
        EyeOneRig rig;
        attachPro(rig, ambient);
        CEyeOneSensor sensor;
        QVERIFY(sensor.m_Connected);
        QCOMPARE(sensor.DoesSupportAmbientLightMeasurement(), ambient);
        QCOMPARE(sensor.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
        QCOMPARE(rig.optionsSet(),
                 QStringList({"DeviceType=EyeOne", "DeviceType=EyeOneDisplay", "DeviceType=EyeOne",
                              "MeasurementMode=SingleAmbientLight", "MeasurementMode=SingleEmission",
                              "Colorimetric.Illumination=Emission", "AdaptiveMode=1",
                              "Colorimetric.Observer=TwoDegree",
                              "ColorSpaceDescription.Type=CIEXYZ"}));
        QCOMPARE(sensor.GetSerialNumber(), QString("123456"));
        QCOMPARE(sensor.GetModelName(), QString("X-Rite EyeOne"));
        unsigned short vendor = 0, product = 0;
        QVERIFY(sensor.GetSensorPnPIDs(vendor, product));
        QCOMPARE(vendor, (unsigned short)0x0971);
        QCOMPARE(product, (unsigned short)0x2000);
        QVERIFY(sensor.SupportsZeroCal());
    }

    void refusedInitOptionLeavesItUnconnected_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("illumination") << "Colorimetric.Illumination";
        QTest::newRow("adaptive") << "AdaptiveMode";
        QTest::newRow("observer") << "Colorimetric.Observer";
        QTest::newRow("colour space") << "ColorSpaceDescription.Type";
    }
    void refusedInitOptionLeavesItUnconnected()
    {
        QFETCH(QString, option);
        EyeOneRig rig;
        attachPro(rig);
        rig.library.faults(SimEyeOneLibrary::Pro).failNext("SetOption:" + option, 1);
        CEyeOneSensor sensor;
        QVERIFY(!sensor.m_Connected);
    }

    void oneReadingPlusTheLowLightRule_data()
    {
        QTest::addColumn<bool>("averaging");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<int>("readings");

        QTest::newRow("count 5, off") << false << 0.5 << 5u << 1;
        QTest::newRow("count 5, bright") << true << 50.0 << 5u << 1;
        QTest::newRow("0.5, count 1") << true << 0.5 << 1u << 3;
        QTest::newRow("0.5, count 5") << true << 0.5 << 5u << 3;
        QTest::newRow("5, count 0") << true << 5.0 << 0u << 2;
    }
    void oneReadingPlusTheLowLightRule()
    {
        QFETCH(bool, averaging);
        QFETCH(double, firstY);
        QFETCH(unsigned, count);
        QFETCH(int, readings);

        EyeOneRig rig;
        rig.preferences.SetAverageLowLightMeasurements(averaging ? 1 : 0);
        attachPro(rig);
        CEyeOneSensor sensor;
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        rig.script({SimXYZ{1.0, firstY, 1.0}, SimXYZ{2.0, 2.0, 2.0}});
        rig.library.clearCalls();
        QCOMPARE(sensor.Measure(count), CSensor::kSensorOK);
        QCOMPARE(rig.readingsTaken(), readings);
        QCOMPARE(int(sensor.m_ReadingCount), readings);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(std::fabs(out.Y - (firstY + 2.0 * (readings - 1)) / readings) < 1e-5);
    }

    void everyModeChangeAsksForAZeroCalibration()
    {
        EyeOneRig rig;
        attachPro(rig);
        CEyeOneSensor sensor;
        // The strict device refuses readings until the zero calibration.
        QCOMPARE(sensor.Measure(1), CSensor::kSensorDeviceFailed);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QVERIFY(sensor.m_ZeroCalibrationDone);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);

        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        QVERIFY(!sensor.m_ZeroCalibrationDone);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorDeviceFailed);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.Y, 250.0);

        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeDisplay), CSensor::kSensorOK);
        QVERIFY(!sensor.m_ZeroCalibrationDone);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorDeviceFailed);
    }

    void refusedSwitchRestoresTheLibraryMode()
    {
        EyeOneRig rig;
        attachPro(rig);
        CEyeOneSensor sensor;
        rig.library.faults(SimEyeOneLibrary::Pro).failNext("SetOption:ColorSpaceDescription.Type", 1);
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorRefused);
        QCOMPARE(sensor.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
        QCOMPARE(rig.library.storedOption("EyeOne", "MeasurementMode"), QByteArray("SingleEmission"));
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.Y, 100.0);
    }

    void screenTypeTouchesNothing()
    {
        EyeOneRig rig;
        attachPro(rig);
        CEyeOneSensor sensor;
        rig.library.clearCalls();
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenCRT, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorOK);
        QCOMPARE(sensor.m_ScreenType, int(CSensor::kSensorScreenCRT));
        QVERIFY(rig.library.calls().isEmpty());
    }

    void picturesFollowTheMode()
    {
        EyeOneRig rig;
        attachPro(rig);
        CEyeOneSensor sensor;
        sensor_physical_data data;
        sensor.GetSensorPhyscalData(data);
        QCOMPARE(data.m_ZeroCalibrationPicture, QString(":/images/Resources/ione pro zerocal on base.png"));
        QCOMPARE(data.m_ZeroCalibrationText, QString("Place the calibration sensor on the base holder as shown."));
        QCOMPARE(data.m_OnDisplayPicture, QString(":/images/Resources/ione pro measure.png"));
        QCOMPARE(data.m_AmbientMeasurementPicture, QString(":/images/Resources/ione pro ambient measure.png"));
        QCOMPARE(data.m_AmbientPositioningText,
                 QString("Remove the cap and direct the sensor away from the display."));
        QCOMPARE(data.m_PictureSizeCm, 20.0);
        QCOMPARE(data.m_LensCentreFraction, 0.35);
        QCOMPARE(data.m_TargetSizeCm, 11.0);

        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        sensor.GetSensorPhyscalData(data);
        QCOMPARE(data.m_ZeroCalibrationPicture, QString(":/images/Resources/ione pro ambient cover.png"));
        QCOMPARE(data.m_ZeroCalibrationText,
                 QString("Attach the ambient light diffuser and cap to the sensor as shown."));
    }

    void destructorMakesNoCall()
    {
        EyeOneRig rig;
        attachPro(rig);
        auto sensor = std::make_unique<CEyeOneSensor>();
        rig.library.clearCalls();
        sensor.reset();
        QVERIFY(rig.library.calls().isEmpty());
    }

    // Near black the i1 Pro's noise goes below zero; the adapter passes it on.
    void noisyBlackCanGoNegative()
    {
        EyeOneRig rig;
        attachPro(rig);
        rig.library.noise(SimEyeOneLibrary::Pro).setEnabled(true);
        rig.library.setFixedLight(SimXYZ{0, 0, 0});
        CEyeOneSensor sensor;
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        bool negative = false;
        for (int i = 0; i < 20 && !negative; ++i) {
            QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
            CCIEXYZ out;
            QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
            QVERIFY(std::fabs(out.Y) < 5 * 0.05);
            negative = out.Y < 0;
        }
        QVERIFY(negative);
    }
};

QTEST_MAIN(TestEyeOneSensor)
#include "tst_eyeonesensor.moc"
