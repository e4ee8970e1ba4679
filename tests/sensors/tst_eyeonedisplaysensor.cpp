// The i1 Display adapter on the simulated i1 library: the model from the
// measurement modes and the serial number, the screen type passed on, the
// low-light rule, the measurement mode switch with its zero calibration,
// ambient readings, and what a missing device answers.

#include "CEyeOneDisplaySensor.h"
#include "EyeOneRig.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>

using namespace pz;
using test::EyeOneRig;

class TestEyeOneDisplaySensor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void withoutDeviceEverythingAnswersNotConnected()
    {
        EyeOneRig rig;   // nothing attached
        rig.library.SetOption("DeviceType", "EyeOne");
        rig.library.clearCalls();
        {
            CEyeOneDisplaySensor sensor;
            QVERIFY(!sensor.m_Connected);
            // The connection test puts the device type back.
            QCOMPARE(rig.library.calls(),
                     QStringList({"GetOption DeviceType", "SetOption DeviceType=EyeOneDisplay",
                                  "IsConnected EyeOneDisplay", "SetOption DeviceType=EyeOne"}));
            QCOMPARE(sensor.Measure(1), CSensor::kSensorNotConnected);
            QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorNotConnected);
            QCOMPARE(sensor.ZeroCal(), CSensor::kSensorNotConnected);
            CCIEXYZ out(1, 2, 3);
            QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
            QCOMPARE(out.Y, 2.0);
            rig.library.clearCalls();
        }
        // Cleanup is sent even by an adapter that never connected.
        QCOMPARE(rig.library.calls(), QStringList({"SetOption MeasurementMode=Cleanup"}));
    }

    void serialDecidesTheModel_data()
    {
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<bool>("firstGeneration");
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("ambient");

        QTest::newRow("950000") << QByteArray("950000") << false << 4 << true;
        QTest::newRow("950999") << QByteArray("950999") << false << 4 << true;
        QTest::newRow("951000") << QByteArray("951000") << false << 5 << true;
        QTest::newRow("964998") << QByteArray("964998") << false << 5 << true;
        QTest::newRow("964999 outside") << QByteArray("964999") << true << 1 << false;
        QTest::newRow("965000") << QByteArray("965000") << false << 3 << true;
        QTest::newRow("974999") << QByteArray("974999") << false << 3 << true;
        QTest::newRow("975000 outside, v2") << QByteArray("975000") << false << 2 << true;
        QTest::newRow("124098 first gen") << QByteArray("124098") << true << 3 << true;
        QTest::newRow("124609") << QByteArray("124609") << true << 3 << true;
        QTest::newRow("124610 outside") << QByteArray("124610") << true << 1 << false;
        QTest::newRow("166656") << QByteArray("166656") << true << 3 << true;
        QTest::newRow("189872") << QByteArray("189872") << true << 3 << true;
        QTest::newRow("220234") << QByteArray("220234") << true << 3 << true;
        QTest::newRow("223565 no ambient mode") << QByteArray("223565") << true << 3 << true;
        QTest::newRow("224514") << QByteArray("224514") << true << 3 << true;
        QTest::newRow("224515 outside") << QByteArray("224515") << true << 1 << false;
        QTest::newRow("digits then text") << QByteArray("950000-A") << true << 4 << true;
        QTest::newRow("ABC") << QByteArray("ABC") << true << 1 << false;
        QTest::newRow("empty") << QByteArray() << false << 2 << true;
        // 2^32 + 950000 would wrap into the first range.
        QTest::newRow("beyond 32 bits") << QByteArray("4295917296") << true << 1 << false;
    }
    void serialDecidesTheModel()
    {
        QFETCH(QByteArray, serial);
        QFETCH(bool, firstGeneration);
        QFETCH(int, model);
        QFETCH(bool, ambient);

        EyeOneRig rig;
        rig.attachDisplay(serial, firstGeneration);
        CEyeOneDisplaySensor sensor;
        QVERIFY(sensor.m_Connected);
        QCOMPARE(sensor.m_Model, model);
        QCOMPARE(sensor.DoesSupportAmbientLightMeasurement(), ambient);
        QCOMPARE(sensor.SupportsZeroCal(), model == 1);
        QCOMPARE(sensor.GetSerialNumber(), QString::fromLatin1(serial));
        QCOMPARE(sensor.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
    }

    // The serial number comes from the library: random text against the
    // ranges written out as inclusive bounds.
    void serialParsingOnRandomText()
    {
        struct Range {
            quint64 first, last;
            int model;
        };
        const Range ranges[] = {{950000, 950999, 4}, {951000, 964998, 5}, {965000, 974999, 3},
                                {124098, 124609, 3}, {166656, 167155, 3}, {189473, 189872, 3},
                                {219835, 220234, 3}, {223565, 224514, 3}};
        QRandomGenerator random(19);
        const char alphabet[] = "0123456789012345678901234567890123456789ABC -\xff";
        for (int round = 0; round < 20000; ++round) {
            QByteArray serial;
            const int length = random.bounded(14);
            for (int i = 0; i < length; ++i)
                serial.append(alphabet[random.bounded(int(sizeof alphabet) - 1)]);
            if (round % 3 == 0)   // often near a range
                serial = QByteArray::number(ranges[round % 8].first - 2 + random.bounded(1200))
                         + serial.left(2);

            int digits = 0;
            while (digits < serial.size() && serial[digits] >= '0' && serial[digits] <= '9')
                ++digits;
            bool ok = digits > 0 && digits <= 20;
            const quint64 n = ok ? serial.left(digits).toULongLong(&ok) : 0;
            int expected = 0;
            if (ok && n <= 0xFFFFFFFFull)
                for (const Range &r : ranges)
                    if (n >= r.first && n <= r.last)
                        expected = r.model;

            const auto found = CEyeOneDisplaySensor::ModelForSerial(serial);
            QVERIFY2((found ? found->model : 0) == expected, serial.constData());
            QCOMPARE(found && found->ambient, expected != 0 && n >= 223565 && n <= 224514);
        }
    }

    void modelNamesAndPictures_data()
    {
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<bool>("firstGeneration");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("onDisplay");

        const QString v2 = ":/images/Resources/ione_displayv2_on_lcd.png";
        const QString orvane = ":/images/Resources/Orvane_ione_displayv2_on_lcd.png";
        QTest::newRow("1") << QByteArray("100") << true << "Gretag iOne Display" << v2;
        QTest::newRow("2") << QByteArray("100") << false << "X-Rite iOne Display v2" << v2;
        QTest::newRow("3") << QByteArray("965000") << false << "Orvane iOne Display v2" << orvane;
        QTest::newRow("4") << QByteArray("950000") << false << "Orvane iOne Display v2 WG" << orvane;
        QTest::newRow("5") << QByteArray("951000") << false
                           << "Orvane VOREDIRIVE (Custom iOne Display v2)"
                           << ":/images/Resources/Orvane_voredirive_on_lcd.png";
    }
    void modelNamesAndPictures()
    {
        QFETCH(QByteArray, serial);
        QFETCH(bool, firstGeneration);
        QFETCH(QString, name);
        QFETCH(QString, onDisplay);

        EyeOneRig rig;
        rig.attachDisplay(serial, firstGeneration);
        CEyeOneDisplaySensor sensor;
        QCOMPARE(sensor.GetModelName(), name);
        sensor_physical_data data;
        data.m_ReadyText = "kept";
        QCOMPARE(sensor.GetSensorPhyscalData(data), 0);
        QCOMPARE(data.m_OnDisplayPicture, onDisplay);
        QCOMPARE(data.m_ZeroCalibrationPicture,
                 QString(":/images/Resources/ione display v1 zero cal.png"));
        QCOMPARE(data.m_AmbientMeasurementPicture,
                 QString(":/images/Resources/iOneV2AmbientLightMeasurement.png"));
        QVERIFY(data.m_PreparationWarningText.contains(":/images/Resources/ione cover removal.png"));
        QVERIFY(data.m_ZeroCalibrationText.startsWith("Place the device on a flat surface"));
        QVERIFY(data.m_AmbientPositioningText.startsWith("Attach the white plastic diffuser"));
        QCOMPARE(data.m_ReadyText, QString("kept"));
        QCOMPARE(data.m_PictureSizeCm, 11.0);
        QCOMPARE(data.m_LensCentreFraction, 0.6);
        QCOMPARE(data.m_TargetSizeCm, 10.0);
        QVERIFY(sensor.GetSensorSupportsUserPreparationWarning());
        unsigned short vendor = 0, product = 0;
        QVERIFY(sensor.GetSensorPnPIDs(vendor, product));
        QCOMPARE(vendor, (unsigned short)0x0971);
        QCOMPARE(product, (unsigned short)0x2003);
    }

    void initSetsTheLibraryUp()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");
        CEyeOneDisplaySensor sensor;
        QCOMPARE(rig.optionsSet(),
                 QStringList({"DeviceType=EyeOneDisplay", "DeviceType=EyeOneDisplay",
                              "DeviceType=EyeOneDisplay", "MeasurementMode=SingleEmission",
                              "AdaptiveMode=1", "Colorimetric.Illumination=Emission",
                              "ColorSpaceDescription.Type=CIEXYZ", "ScreenType=LCD"}));
    }

    void refusedInitOptionLeavesItUnconnected_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("mode") << "MeasurementMode";
        QTest::newRow("adaptive") << "AdaptiveMode";
        QTest::newRow("illumination") << "Colorimetric.Illumination";
        QTest::newRow("colour space") << "ColorSpaceDescription.Type";
    }
    void refusedInitOptionLeavesItUnconnected()
    {
        QFETCH(QString, option);
        EyeOneRig rig;
        rig.attachDisplay("100");
        rig.library.faults(SimEyeOneLibrary::Display).failNext("SetOption:" + option, 1);
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.m_Connected);
    }

    void screenType_data()
    {
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("gamut");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("4, LCD, wide CCFL") << QByteArray("950000") << 1 << 1 << QByteArray("CRT");
        QTest::newRow("4, LCD, RGB LED") << QByteArray("950000") << 1 << 2 << QByteArray("LCD");
        QTest::newRow("4, CRT, standard") << QByteArray("950000") << 0 << 0 << QByteArray("LCD");
        QTest::newRow("5, CRT, wide CCFL") << QByteArray("951000") << 0 << 1 << QByteArray("CRT");
        QTest::newRow("2, CRT, white LED") << QByteArray("100") << 0 << 3 << QByteArray("CRT");
        QTest::newRow("2, CRT, wide CCFL") << QByteArray("100") << 0 << 1 << QByteArray("CRT");
        QTest::newRow("3, LCD, wide CCFL") << QByteArray("965000") << 1 << 1 << QByteArray("LCD");
    }
    void screenType()
    {
        QFETCH(QByteArray, serial);
        QFETCH(int, screen);
        QFETCH(int, gamut);
        QFETCH(QByteArray, expected);

        EyeOneRig rig;
        rig.attachDisplay(serial);
        CEyeOneDisplaySensor sensor;
        rig.library.clearCalls();
        QCOMPARE(sensor.SetScreenType(CSensor::typeSensorScreen(screen),
                                      CTargetDisplay::typeMonitorColorGamutType(gamut)),
                 CSensor::kSensorOK);
        QCOMPARE(rig.optionsSet(), QStringList({"ScreenType=" + QString::fromLatin1(expected),
                                                "DisplayMeasureType=DisplayMeasureTimeVarying"}));
        QCOMPARE(sensor.m_ScreenType, screen);

        rig.library.faults(SimEyeOneLibrary::Display).failNext("SetOption:ScreenType", 7);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutStandardCCFL),
                 CSensor::kSensorDeviceFailed);
    }

    void lowLightRule_data()
    {
        QTest::addColumn<bool>("averaging");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<int>("readings");

        QTest::newRow("2.5, count 1") << true << 2.5 << 1u << 3;
        QTest::newRow("2.5, count 5") << true << 2.5 << 5u << 3;
        QTest::newRow("9.9") << true << 9.9 << 1u << 2;
        QTest::newRow("10.0 keeps 1") << true << 10.0 << 1u << 1;
        QTest::newRow("10.0 keeps 4") << true << 10.0 << 4u << 4;
        QTest::newRow("off keeps 4") << false << 2.5 << 4u << 4;
        QTest::newRow("count 0 takes one") << true << 50.0 << 0u << 1;
    }
    void lowLightRule()
    {
        QFETCH(bool, averaging);
        QFETCH(double, firstY);
        QFETCH(unsigned, count);
        QFETCH(int, readings);

        EyeOneRig rig;
        rig.preferences.SetAverageLowLightMeasurements(averaging ? 1 : 0);
        rig.attachDisplay("100");
        CEyeOneDisplaySensor sensor;
        rig.script({SimXYZ{1.0, firstY, 2.0}, SimXYZ{3.0, 4.0, 8.0}});
        rig.library.clearCalls();
        rig.clock.clearWaits();

        QCOMPARE(sensor.Measure(count), CSensor::kSensorOK);
        QCOMPARE(rig.readingsTaken(), readings);
        QCOMPARE(int(sensor.m_ReadingCount), readings);
        // Each reading takes its second on the program clock.
        QCOMPARE(rig.clock.waitsUs(), QVector<qint64>(readings, SimEyeOneLibrary::kReadingUs));
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        const double n = readings;
        QVERIFY(std::fabs(out.Y - (firstY + 4.0 * (n - 1)) / n) < 1e-5);
        QVERIFY(std::fabs(out.Z - (2.0 + 8.0 * (n - 1)) / n) < 1e-5);
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void failedReadingHandsNothingOut()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");
        CEyeOneDisplaySensor sensor;
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        rig.library.faults(SimEyeOneLibrary::Display).failNext("GetTriStimulus", 9);
        QCOMPARE(sensor.Measure(2), CSensor::kSensorDeviceFailed);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
        rig.library.faults(SimEyeOneLibrary::Display).failNext("TriggerMeasurement", 9);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorDeviceFailed);
    }

    void firstGenerationNeedsItsZeroCalibration()
    {
        EyeOneRig rig;
        rig.attachDisplay("100", true);
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.m_ZeroCalibrationDone);
        // The strict device refuses to measure before the zero calibration.
        QCOMPARE(sensor.Measure(1), CSensor::kSensorDeviceFailed);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QVERIFY(sensor.m_ZeroCalibrationDone);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);

        // A first-generation device has no ambient mode: the switch is
        // refused, but the zero calibration is asked for again.
        rig.library.clearCalls();
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorRefused);
        QVERIFY(!sensor.m_ZeroCalibrationDone);
        QCOMPARE(sensor.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
        QCOMPARE(rig.optionsSet(), QStringList({"MeasurementMode=SingleAmbientLight"}));

        rig.library.faults(SimEyeOneLibrary::Display).failNext("Calibrate", 5);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorZeroCalFailed);
        QVERIFY(!sensor.m_ZeroCalibrationDone);
    }

    void laterModelsSkipTheZeroCalibration()
    {
        EyeOneRig rig;
        rig.attachDisplay("950000");
        CEyeOneDisplaySensor sensor;
        rig.library.clearCalls();
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QVERIFY(!sensor.m_ZeroCalibrationDone);
        QVERIFY(rig.library.calls().isEmpty());
    }

    void ambientReadings()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");
        CEyeOneDisplaySensor sensor;
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorRefused);
        QCOMPARE(sensor.m_LastReading.Y, 0.0);

        rig.library.clearCalls();
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        QCOMPARE(rig.optionsSet(),
                 QStringList({"MeasurementMode=SingleAmbientLight", "Colorimetric.Illumination=Emission",
                              "ColorSpaceDescription.Type=CIEXYZ"}));
        rig.library.clearCalls();
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        QVERIFY(rig.library.calls().isEmpty());
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::typeSensorMeasurementMode(3)),
                 CSensor::kSensorRefused);

        QCOMPARE(sensor.Measure(1), CSensor::kSensorRefused);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.Y, 250.0);
    }

    // A switch the library refuses half-way puts its mode back, so a later
    // display reading is not ambient lux taken for cd/m².
    void refusedSwitchRestoresTheLibraryMode()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");
        CEyeOneDisplaySensor sensor;
        rig.library.faults(SimEyeOneLibrary::Display).failNext("SetOption:Colorimetric.Illumination", 1);
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorRefused);
        QCOMPARE(sensor.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
        QCOMPARE(rig.library.storedOption("EyeOneDisplay", "MeasurementMode"),
                 QByteArray("SingleEmission"));
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.Y, 100.0);
    }

    void destructorCleansUp()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");
        auto sensor = std::make_unique<CEyeOneDisplaySensor>();
        QVERIFY(sensor->m_Connected);
        sensor.reset();
        QCOMPARE(rig.library.storedOption("EyeOneDisplay", "MeasurementMode"), QByteArray("Cleanup"));
        // Cleanup mode takes no readings.
        float xyz[3];
        QVERIFY(rig.library.TriggerMeasurement() != kI1Success);
        QVERIFY(rig.library.GetTriStimulus(xyz, 0) != kI1Success);
    }

    void unpluggedMidReading()
    {
        EyeOneRig rig;
        rig.attachDisplay("100");
        CEyeOneDisplaySensor sensor;
        rig.library.faults(SimEyeOneLibrary::Display).loseAfterUs(500'000);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorDeviceFailed);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
        CEyeOneDisplaySensor again;
        QVERIFY(!again.m_Connected);
    }
};

QTEST_MAIN(TestEyeOneDisplaySensor)
#include "tst_eyeonedisplaysensor.moc"
