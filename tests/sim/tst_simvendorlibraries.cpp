// The simulated i1 library and Spyder2 library on their own: the i1 option
// store and what it accepts per device type, the device a "DeviceType"
// names, strict zero calibration, and the Spyder2's startup, readings and
// refresh rate.

#include "Clock.h"
#include "SimEyeOneLibrary.h"
#include "SimSpyder2Library.h"

#include <QtTest>

using namespace pz;

class TestSimVendorLibraries : public QObject {
    Q_OBJECT

    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_clockScope;

private slots:
    void init() { m_clockScope = std::make_unique<ScopedClock>(&m_clock); m_clock.clearWaits(); }
    void cleanup() { m_clockScope.reset(); }

    void eyeOneAcceptsWhatTheAdaptersSend_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("firstGeneration");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("accepted");

        const QByteArray d = "EyeOneDisplay", p = "EyeOne";
        QTest::newRow("display emission") << d << false << QByteArray("MeasurementMode") << QByteArray("SingleEmission") << true;
        QTest::newRow("display ambient") << d << false << QByteArray("MeasurementMode") << QByteArray("SingleAmbientLight") << true;
        QTest::newRow("first gen ambient") << d << true << QByteArray("MeasurementMode") << QByteArray("SingleAmbientLight") << false;
        QTest::newRow("cleanup") << d << true << QByteArray("MeasurementMode") << QByteArray("Cleanup") << true;
        QTest::newRow("other mode") << d << false << QByteArray("MeasurementMode") << QByteArray("SingleReflectance") << false;
        QTest::newRow("screen LCD") << d << false << QByteArray("ScreenType") << QByteArray("LCD") << true;
        QTest::newRow("screen other") << d << false << QByteArray("ScreenType") << QByteArray("OLED") << false;
        QTest::newRow("display observer") << d << false << QByteArray("Colorimetric.Observer") << QByteArray("TwoDegree") << false;
        QTest::newRow("pro observer") << p << false << QByteArray("Colorimetric.Observer") << QByteArray("TwoDegree") << true;
        QTest::newRow("pro screen") << p << false << QByteArray("ScreenType") << QByteArray("LCD") << false;
        QTest::newRow("adaptive 0") << p << false << QByteArray("AdaptiveMode") << QByteArray("0") << false;
        QTest::newRow("serial") << p << false << QByteArray("SerialNumber") << QByteArray("1") << false;
        QTest::newRow("device type") << p << false << QByteArray("DeviceType") << QByteArray("ColorMunki") << false;
    }
    void eyeOneAcceptsWhatTheAdaptersSend()
    {
        QFETCH(QByteArray, type);
        QFETCH(bool, firstGeneration);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(bool, accepted);

        SimEyeOneLibrary library;
        library.setDisplayConfig(SimEyeOneDisplayConfig{"223565", firstGeneration});
        library.setAttached(SimEyeOneLibrary::Display, true);
        library.setAttached(SimEyeOneLibrary::Pro, true);
        QCOMPARE(library.SetOption("DeviceType", type), kI1Success);
        QCOMPARE(library.SetOption(key, value) == kI1Success, accepted);
    }

    void eyeOneOptionsAreKeptPerDeviceType()
    {
        SimEyeOneLibrary library;
        library.setAttached(SimEyeOneLibrary::Pro, true);
        QCOMPARE(library.GetOption("DeviceType"), QByteArray("EyeOneDisplay"));
        QCOMPARE(library.IsConnected(), kI1NoDevice);
        QCOMPARE(library.GetOption("SerialNumber"), QByteArray());
        QCOMPARE(library.SetOption("MeasurementMode", "Cleanup"), kI1Success);
        QCOMPARE(library.SetOption("DeviceType", "EyeOne"), kI1Success);
        QCOMPARE(library.IsConnected(), kI1Success);
        QCOMPARE(library.GetOption("SerialNumber"), QByteArray("123456"));
        QCOMPARE(library.GetOption("AvailableMeasurementModes"),
                 QByteArray("SingleEmission;SingleAmbientLight"));
        QCOMPARE(library.GetOption("MeasurementMode"), QByteArray());
        QCOMPARE(library.SetOption("MeasurementMode", "SingleEmission"), kI1Success);
        QCOMPARE(library.storedOption("EyeOneDisplay", "MeasurementMode"), QByteArray("Cleanup"));
        QCOMPARE(library.storedOption("EyeOne", "MeasurementMode"), QByteArray("SingleEmission"));
    }

    void eyeOneFirstGenerationHasNoAmbientMode()
    {
        SimEyeOneLibrary library;
        library.setDisplayConfig(SimEyeOneDisplayConfig{"1", true});
        library.setAttached(SimEyeOneLibrary::Display, true);
        QCOMPARE(library.GetOption("AvailableMeasurementModes"), QByteArray("SingleEmission"));
    }

    void eyeOneStrictDeviceNeedsCalibrationAfterEveryModeChange()
    {
        SimEyeOneLibrary library;
        library.setFixedLight(SimXYZ{1, 2, 3}, 40);
        library.setAttached(SimEyeOneLibrary::Pro, true);
        library.SetOption("DeviceType", "EyeOne");
        QCOMPARE(library.TriggerMeasurement(), SimEyeOneLibrary::kNoMode);
        library.SetOption("MeasurementMode", "SingleEmission");
        QCOMPARE(library.TriggerMeasurement(), SimEyeOneLibrary::kNotCalibrated);
        QCOMPARE(library.Calibrate(), kI1Success);
        QCOMPARE(library.TriggerMeasurement(), kI1Success);
        float xyz[3] = {};
        QCOMPARE(library.GetTriStimulus(xyz, 0), kI1Success);
        QCOMPARE(xyz[1], 2.0f);
        QCOMPARE(m_clock.waitsUs(), QVector<qint64>(2, SimEyeOneLibrary::kReadingUs));
        library.SetOption("MeasurementMode", "SingleEmission");   // no change
        QCOMPARE(library.TriggerMeasurement(), kI1Success);
        library.SetOption("MeasurementMode", "SingleAmbientLight");
        QCOMPARE(library.TriggerMeasurement(), SimEyeOneLibrary::kNotCalibrated);
        // Unplugged and back: a fresh device.
        library.faults(SimEyeOneLibrary::Pro).loseNow();
        QCOMPARE(library.IsConnected(), kI1NoDevice);
        library.faults(SimEyeOneLibrary::Pro).replug();
        QCOMPARE(library.IsConnected(), kI1Success);
        QCOMPARE(library.GetTriStimulus(xyz, 0), SimEyeOneLibrary::kNoReading);
    }

    void spyder2StartsOnce()
    {
        SimSpyder2Library library;
        quint8 record[kCvRecordSize];
        QCOMPARE(library.Startup(record), 0);
        QCOMPARE(library.GetDetailedError(nullptr), SimSpyder2Library::kNoDevice);
        library.setAttached(true);
        QCOMPARE(library.Startup(record), 1);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(record + 4), 8), QByteArray("S2000001"));
        QCOMPARE(library.Startup(record), 0);
        QCOMPARE(library.GetDetailedError(nullptr), kCvAlreadyStarted);
        QCOMPARE(library.Shutdown(), 1);
        QCOMPARE(library.Startup(record), 1);
    }

    void spyder2Readings()
    {
        SimSpyder2Library library;
        library.setFixedLight(SimXYZ{1.2345, -0.5, 80});
        library.setAttached(true);
        quint8 record[kCvRecordSize];
        qint32 X = 0, Y = 0, Z = 0;
        QCOMPARE(library.GetXYZ(60, &X, &Y, &Z), 0);
        QCOMPARE(library.GetDetailedError(nullptr), SimSpyder2Library::kNotStarted);
        library.Startup(record);
        m_clock.clearWaits();
        QCOMPARE(library.GetXYZ(60, &X, &Y, &Z), 1);
        QCOMPARE(X, 1235);   // rounded thousandths
        QCOMPARE(Y, -500);
        QCOMPARE(Z, 80000);
        QCOMPARE(m_clock.waitsUs(), QVector<qint64>{60 * (1'000'000 / 60)});
        library.failWithValuesNext(kCvNoSync);
        X = 0;
        QCOMPARE(library.GetXYZ(6, &X, &Y, &Z), 0);
        QCOMPARE(library.GetDetailedError(nullptr), kCvNoSync);
        QCOMPARE(X, 1235);
        double rate = 0;
        QCOMPARE(library.GetRefreshRate(rate), 0);
        QCOMPARE(library.GetDetailedError(nullptr), kCvNoRefresh);
        library.setConfig(SimSpyder2Config{"S2000001", 85.0});
        QCOMPARE(library.GetRefreshRate(rate), 1);
        QCOMPARE(rate, 85.0);
        QCOMPARE(library.UseCalibration(3), 0);
        QCOMPARE(library.UseCalibration(2), 1);
    }
};

QTEST_MAIN(TestSimVendorLibraries)
#include "tst_simvendorlibraries.moc"
