// The i1 Display Pro adapter on the simulated device: calibration choice,
// Init's checks, readings with their tries, low-light averaging and LED,
// ambient readings, model names, and a device lost or timing out.

#include "CEyeOneDisplay3Sensor.h"
#include "CPreferences.h"
#include "PreferencesRegistry.h"
#include "SimSensorRig.h"

#include <QDir>
#include <QImage>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <random>

using namespace pz;
using test::SimSensorRig;

namespace {

bool near(double a, double b, double tolerance = 1e-4)
{
    return std::abs(a - b) <= tolerance;
}

// Pictures the adapter chooses through its description record.
class RedirectedPictures : public CEyeOneDisplay3Sensor {
public:
    int GetSensorPhyscalData(sensor_physical_data &data) override
    {
        CEyeOneDisplay3Sensor::GetSensorPhyscalData(data);
        data.m_TurnToAmbientPicture = QStringLiteral(":/images/Resources/i1d3 on display.png");
        return 0;
    }
};

} // namespace

class TestI1d3Sensor : public QObject {
    Q_OBJECT

    std::unique_ptr<SimSensorRig> m_rig;
    SimI1d3Library *m_device = nullptr;

    std::unique_ptr<CEyeOneDisplay3Sensor> connect()
    {
        return m_rig->connect<CEyeOneDisplay3Sensor>(SimSensors::I1d3);
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(sensors); }
    void init()
    {
        m_rig = std::make_unique<SimSensorRig>();
        m_device = &m_rig->sensors.i1d3();
        m_rig->show(255, 255, 255);
    }
    void cleanup() { m_rig.reset(); }

    void withoutLibraryNothingIsFound()
    {
        m_rig.reset();
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(!sensor.m_Connected);
        QCOMPARE(sensor.GetModelName(), QString());
        QCOMPARE(sensor.GetSerialNumber(), QString());
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void initPreparesTheDevice()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(sensor.m_Connected);
        QCOMPARE(m_device->calls(),
                 QStringList({"Initialize", "GetNumberOfDevices", "GetDeviceHandle", "DeviceOpen",
                              "GetDeviceInfo", "SetSupportFilePath", "GetCalibrationList",
                              "SetMeasurementMode", "SetIntegrationTime", "SetTargetLCDTime",
                              "SetLEDControl"}));
        QCOMPARE(m_device->measurementMode(), 1);
        QCOMPARE(m_device->integrationTime(), 1.0);
        QCOMPARE(m_device->targetLCDTime(), 1.0);
        // The data folder beside the executable's folder, whatever argv[0] was.
        const QString expected = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                                 + "/../share/pelzora") + "/";
        QCOMPARE(QString::fromLocal8Bit(m_device->supportFilePath()), expected);
        QCOMPARE(sensor.GetSerialNumber(), QString("I1D3-0000123"));
        QCOMPARE(sensor.GetModelName(), QString("X-Rite i1 Display Pro"));
    }

    void initResults_data()
    {
        QTest::addColumn<QString>("failingCall");
        QTest::addColumn<bool>("twoCalibrations");
        QTest::addColumn<int>("result");
        QTest::newRow("no device") << QString() << false << CSensor::kSensorNotConnected;
        QTest::newRow("handle") << "GetDeviceHandle" << false << CSensor::kSensorDeviceFailed;
        QTest::newRow("open") << "DeviceOpen" << false << CSensor::kSensorDeviceFailed;
        QTest::newRow("device info") << "GetDeviceInfo" << false << CSensor::kSensorDeviceFailed;
        QTest::newRow("support folder") << "SetSupportFilePath" << false
                                        << CSensor::kSensorNoCalibration;
        QTest::newRow("calibration list") << "GetCalibrationList" << false
                                          << CSensor::kSensorDeviceFailed;
        QTest::newRow("two calibrations") << QString() << true << CSensor::kSensorNoCalibration;
        QTest::newRow("mode") << "SetMeasurementMode" << false << CSensor::kSensorDeviceFailed;
        // Their statuses are not tested.
        QTest::newRow("integration time") << "SetIntegrationTime" << false << CSensor::kSensorOK;
        QTest::newRow("LCD time") << "SetTargetLCDTime" << false << CSensor::kSensorOK;
        QTest::newRow("LED") << "SetLEDControl" << false << CSensor::kSensorOK;
    }
    void initResults()
    {
        QFETCH(QString, failingCall);
        QFETCH(bool, twoCalibrations);
        QFETCH(int, result);
        if (result != CSensor::kSensorNotConnected)
            m_rig->sensors.attach(SimSensors::I1d3);
        SimI1d3Config config;
        if (twoCalibrations)
            config.calibrations = SimI1d3Config::twoCalibrations();
        m_device->setConfig(config);
        // Both the constructor's Init and the test's fail.
        if (!failingCall.isEmpty())
            m_device->faults().failNext(failingCall, -7, 2);
        CEyeOneDisplay3Sensor sensor;
        QCOMPARE(sensor.m_Connected, result == CSensor::kSensorOK);
        QCOMPARE(sensor.Init(), result);
    }

    void calibrationChoice_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("gamut");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("mode");
        QTest::newRow("CRT, wide RGB LED") << 0 << 2 << 1 << 1.0 << 0;
        QTest::newRow("LCD, undetermined") << 1 << -1 << 3 << 1.0 << 1;
        QTest::newRow("LCD, standard CCFL") << 1 << 0 << 3 << 1.0 << 1;
        QTest::newRow("LCD, wide CCFL") << 1 << 1 << 6 << 1.0 << 1;
        QTest::newRow("LCD, wide RGB LED") << 1 << 2 << 12 << 3.0 << 7;
        QTest::newRow("LCD, white LED") << 1 << 3 << 9 << 5.0 << 7;
        QTest::newRow("LCD, gamut 7") << 1 << 7 << 9 << 5.0 << 7;
    }
    void calibrationChoice()
    {
        QFETCH(int, screen);
        QFETCH(int, gamut);
        QFETCH(int, key);
        QFETCH(double, seconds);
        QFETCH(int, mode);
        auto sensor = connect();
        // Their statuses are not tested.
        m_device->faults().failNext("SetTargetLCDTime", -7);
        m_device->faults().failNext("SetIntegrationTime", -7);
        QCOMPARE(sensor->SetScreenType(CSensor::typeSensorScreen(screen),
                                       CTargetDisplay::typeMonitorColorGamutType(gamut)),
                 CSensor::kSensorOK);
        QCOMPARE(int(m_device->calibration().key), key);
        QCOMPARE(m_device->measurementMode(), mode);
        m_device->faults().clear();
        QCOMPARE(sensor->SetScreenType(CSensor::typeSensorScreen(screen),
                                       CTargetDisplay::typeMonitorColorGamutType(gamut)),
                 CSensor::kSensorOK);
        QCOMPARE(m_device->targetLCDTime(), seconds);
        QCOMPARE(m_device->integrationTime(), seconds);
        QCOMPARE(m_device->calls().mid(m_device->calls().size() - 4),
                 QStringList({"SetCalibration", "SetTargetLCDTime", "SetIntegrationTime",
                              "SetMeasurementMode"}));
    }

    void calibrationListCases()
    {
        SimI1d3Config config;
        config.calibrations = SimI1d3Config::duplicatedKeyCalibrations();
        m_device->setConfig(config);
        auto sensor = connect();
        QCOMPARE(sensor->SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorOK);
        QCOMPARE(m_device->calibration().name, QString("Wide Gamut CCFL (second)"));

        // A key the device lacks, an empty list, a refused choice, a failed list.
        config.calibrations = SimI1d3Config::twoCalibrations();
        m_device->setConfig(config);
        QCOMPARE(sensor->SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorNoCalibration);
        config.calibrations.clear();
        m_device->setConfig(config);
        QCOMPARE(sensor->SetScreenType(CSensor::kSensorScreenCRT, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorNoCalibration);
        m_device->setConfig(SimI1d3Config());
        m_device->faults().failNext("SetCalibration", -7);
        QCOMPARE(sensor->SetScreenType(CSensor::kSensorScreenCRT, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorDeviceFailed);
        m_device->faults().failNext("GetCalibrationList", -7);
        QCOMPARE(sensor->SetScreenType(CSensor::kSensorScreenCRT, CTargetDisplay::kGamutWideCCFL),
                 CSensor::kSensorDeviceFailed);
    }

    void readingsAndLowLight_data()
    {
        QTest::addColumn<bool>("preference");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<int>("readings");
        QTest::newRow("count 0, bright") << true << 0u << 100.0 << 1;
        QTest::newRow("count 0, Y 5") << true << 0u << 5.0 << 2;
        QTest::newRow("count 0, Y 2.9") << true << 0u << 2.9 << 3;
        QTest::newRow("count 4, Y 10") << true << 4u << 10.0 << 4;
        QTest::newRow("count 1, Y 2.9, preference off") << false << 1u << 2.9 << 1;
    }
    void readingsAndLowLight()
    {
        QFETCH(bool, preference);
        QFETCH(unsigned, count);
        QFETCH(double, firstY);
        QFETCH(int, readings);
        CPreferences prefs;
        prefs.SetAverageLowLightMeasurements(preference ? 1 : 0);
        ScopedPreferences scope(&prefs);
        auto sensor = connect();
        QVector<SimXYZ> script;
        for (int i = 0; i < 5; ++i)
            script.append(SimXYZ{2.0 * (i + 1), i == 0 ? firstY : 1.0, 3.0});
        m_device->scriptReadings(script);
        QCOMPARE(sensor->Measure(count), CSensor::kSensorOK);
        QCOMPARE(m_device->calls().count("MeasureXYZ"), readings);
        QCOMPARE(int(sensor->m_ReadingCount), readings);
        // Each reading takes the integration time.
        QCOMPARE(m_rig->clock.waitsUs(), QVector<qint64>(readings, 1'000'000));
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(near(out.X, (readings + 1) * 1.0));   // mean of 2, 4, 6, ...
        QVERIFY(near(out.Y, (firstY + readings - 1) / readings));
        QVERIFY(near(out.Z, 3.0));
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorDeviceFailed);
        QCOMPARE(m_device->ledSettings(),
                 QVector<SimI1d3Led>({SimI1d3Led{1, 0.2, 0.2, quint8(readings)}}));
    }

    void readingIsTriedThreeTimes()
    {
        auto sensor = connect();
        const SimXYZ light = m_rig->show(200, 200, 200);
        m_device->faults().failNext("MeasureXYZ", -7, 2);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorOK);
        QCOMPARE(m_device->calls().count("MeasureXYZ"), 3);
        QCOMPARE(sensor->m_ReadingCount, 1u);
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(near(out.Y, light.Y, 1e-9));

        // Three failures: nothing handed out, not even the reading before,
        // and the light is left alone.
        QCOMPARE(sensor->Measure(1), CSensor::kSensorOK);
        m_device->clearCalls();
        m_device->faults().failNext("MeasureXYZ", -7, 3);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorDeviceFailed);
        QCOMPARE(m_device->calls().count("MeasureXYZ"), 3);
        QVERIFY(m_device->ledSettings().isEmpty());
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void overRangeFails()
    {
        auto sensor = connect();
        m_device->scriptReadings({SimXYZ{2000, 2100, 2000}, SimXYZ{2000, 2100, 2000},
                                  SimXYZ{2000, 2100, 2000}});
        QCOMPARE(sensor->Measure(1), CSensor::kSensorDeviceFailed);
    }

    void ledSettings()
    {
        m_rig->sensors.attach(SimSensors::I1d3);
        CEyeOneDisplay3Sensor sensor;
        QCOMPARE(m_device->ledSettings(), QVector<SimI1d3Led>({SimI1d3Led{1, 0.2, 1.0, 1}}));
        m_device->clearCalls();

        // The count is cut to 8 bits.
        QCOMPARE(sensor.Measure(300), CSensor::kSensorOK);
        QCOMPARE(sensor.FlashLED(1), CSensor::kSensorOK);
        m_device->setDiffuser(true);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorOK);
        QCOMPARE(sensor.FlashLED(0), CSensor::kSensorOK);
        QCOMPARE(m_device->ledSettings(),
                 QVector<SimI1d3Led>({SimI1d3Led{1, 0.2, 0.2, 300 % 256}, SimI1d3Led{1, 0.25, 0.25, 255},
                                      SimI1d3Led{1, 0.2, 1.0, 1}, SimI1d3Led{1, 0, 0, 0}}));
        m_device->faults().failNext("SetLEDControl", -7);
        QCOMPARE(sensor.FlashLED(1), CSensor::kSensorDeviceFailed);
    }

    void ambientReadings_data()
    {
        QTest::addColumn<double>("lux");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::newRow("D65") << 100.0 << 0.3127 << 0.3290 << 95.0456 << 100.0 << 108.9058;
        QTest::newRow("dark") << 0.0 << 0.3127 << 0.3290 << 0.0 << 0.0 << 0.0;
        QTest::newRow("negative x") << 50.0 << -0.1 << 0.4 << 0.0 << 50.0 << 75.0;
        QTest::newRow("negative y") << 50.0 << 0.3 << -0.1 << 0.0 << 50.0 << 0.0;
    }
    void ambientReadings()
    {
        QFETCH(double, lux);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        auto sensor = connect();
        m_rig->sensors.light().setAmbient(SimAmbientLight{lux, x, y});
        // The lens exposed: the wrong position for ambient light.
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorWrongPosition);
        m_device->setDiffuser(true);
        QCOMPARE(sensor->GetSensorMeasurementSelectorPosition(), int(CSensor::kSelectorAmbient));
        m_device->faults().failNext("MeasureAmbient", -7, 2);
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QVERIFY2(near(out.X, X) && near(out.Y, Y) && near(out.Z, Z),
                 qPrintable(QString("%1 %2 %3").arg(out.X).arg(out.Y).arg(out.Z)));
        m_device->faults().failNext("MeasureAmbient", -7, 3);
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorDeviceFailed);
        // And the diffuser over the lens is the wrong position for the display.
        QCOMPARE(sensor->Measure(1), CSensor::kSensorWrongPosition);
    }

    void modelNames_data()
    {
        QTest::addColumn<bool>("maker");
        QTest::addColumn<QByteArray>("firmware");
        QTest::addColumn<QString>("name");
        QTest::newRow("X-Rite") << false << QByteArray("v3.0") << "X-Rite i1 Display Pro";
        QTest::newRow("maker v2.5") << true << QByteArray("v2.5") << "Orvane DOZIZEDIDA3";
        QTest::newRow("maker v3.0") << true << QByteArray("v3.0") << "Orvane DOZIZEDIDA3";
        QTest::newRow("maker v2.4") << true << QByteArray("v2.4") << "Orvane Pelzsensor Pro";
        QTest::newRow("maker v2") << true << QByteArray("v2") << "Orvane Pelzsensor Pro";
        QTest::newRow("maker garbled") << true << QByteArray("vx.9") << "Orvane Pelzsensor Pro";
    }
    void modelNames()
    {
        QFETCH(bool, maker);
        QFETCH(QByteArray, firmware);
        QFETCH(QString, name);
        SimI1d3Config config;
        config.makersVariant = maker;
        config.firmware = firmware;
        m_device->setConfig(config);
        auto sensor = connect();
        QCOMPARE(sensor->GetModelName(), name);
    }

    // The firmware text comes from the device: any bytes are read without harm.
    void firmwareTextFuzz()
    {
        std::mt19937 random(17);
        std::uniform_int_distribution<int> length(0, 12), byte(0, 255), digitOrDot(0, 11);
        for (int i = 0; i < 20000; ++i) {
            QByteArray text;
            const int n = length(random);
            for (int k = 0; k < n; ++k)
                text.append(i % 2 ? char(byte(random))
                                  : "0123456789.v"[digitOrDot(random)]);
            const bool newer = CEyeOneDisplay3Sensor::IsNewerMakersFirmware(text);
            // Never newer without a non-zero digit after the prefix.
            if (newer)
                QVERIFY2(std::any_of(text.begin() + 1, text.end(),
                                     [](char c) { return c >= '1' && c <= '9'; }),
                         text.toHex().constData());
        }
    }

    void lostDeviceIsReopenedOnce_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("status");
        QTest::newRow("diffuser, -523") << "ReadDiffuserPosition" << -523;
        QTest::newRow("diffuser, -101") << "ReadDiffuserPosition" << -101;
        QTest::newRow("calibration list") << "GetCalibrationList" << -523;
        QTest::newRow("serial") << "GetSerialNumber" << -101;
    }
    void lostDeviceIsReopenedOnce()
    {
        QFETCH(QString, call);
        QFETCH(int, status);
        auto sensor = connect();
        const auto ask = [&] {
            if (call == "ReadDiffuserPosition")
                return sensor->GetSensorMeasurementSelectorPosition() == 0;
            if (call == "GetCalibrationList")
                return sensor->SetScreenType(CSensor::kSensorScreenLCD,
                                             CTargetDisplay::kGamutStandardCCFL) == 0;
            return sensor->GetSerialNumber() == "I1D3-0000123";
        };
        m_device->faults().failNext(call, status);
        QVERIFY(ask());
        const QStringList calls = m_device->calls();
        QCOMPARE(calls.count(call), 2 + (call == "GetCalibrationList" ? 1 : 0));
        QVERIFY(calls.indexOf("DeviceClose") > calls.indexOf(call));
        QVERIFY(calls.indexOf("Destroy") > calls.indexOf("DeviceClose"));
        QVERIFY(sensor->m_Connected);

        // Lost twice: one re-initialisation, then the failure.
        m_device->clearCalls();
        m_device->faults().failNext(call, status, 2);
        QVERIFY(!ask());
        QCOMPARE(m_device->calls().count("Initialize"), 1);
        // Any other failure is no loss.
        m_device->clearCalls();
        m_device->faults().failNext(call, -7);
        QVERIFY(!ask());
        QCOMPARE(m_device->calls().count("Initialize"), 0);
    }

    void unplugDuringReading()
    {
        auto sensor = connect();
        m_device->faults().loseAfterUs(500'000);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorDeviceFailed);
        QCOMPARE(m_device->calls().count("MeasureXYZ"), 3);
        QVERIFY(sensor->m_Connected);   // nobody has looked yet
        QCOMPARE(sensor->GetSensorMeasurementSelectorPosition(), CSensor::kSensorDeviceFailed);
        QVERIFY(!sensor->m_Connected);
        QCOMPARE(sensor->GetModelName(), QString());

        // Plugged back in, the next look opens it again.
        m_device->faults().replug();
        QCOMPARE(sensor->GetSensorMeasurementSelectorPosition(), CSensor::kSensorDeviceFailed);
        QVERIFY(!sensor->m_Connected);
        QVERIFY(sensor->ReInit());
        QCOMPARE(sensor->GetSensorMeasurementSelectorPosition(), int(CSensor::kSelectorDisplay));
        QCOMPARE(sensor->Measure(1), CSensor::kSensorOK);
    }

    void detachedDeviceIsLost()
    {
        auto sensor = connect();
        m_rig->sensors.detach(SimSensors::I1d3);
        QCOMPARE(sensor->GetSensorMeasurementSelectorPosition(), CSensor::kSensorDeviceFailed);
        QVERIFY(!sensor->m_Connected);
        m_rig->sensors.attach(SimSensors::I1d3);
        QVERIFY(sensor->ReInit());
    }

    void timeOutChargesItsTime()
    {
        auto sensor = connect();
        m_device->faults().timeOutNext("MeasureXYZ", -7);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorOK);
        QCOMPARE(m_rig->clock.waitsUs(),
                 QVector<qint64>({SimI1d3Library::kMeasureTimeoutUs, 1'000'000}));
        m_rig->clock.clearWaits();
        m_device->faults().timeOutNext("MeasureXYZ", -7, 3);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorDeviceFailed);
        QCOMPARE(m_rig->clock.waitsUs(), QVector<qint64>(3, SimI1d3Library::kMeasureTimeoutUs));
    }

    void destructorReleasesTheLibrary()
    {
        {
            CEyeOneDisplay3Sensor unplugged;
            QVERIFY(!unplugged.m_Connected);
        }
        QCOMPARE(m_device->calls().count("Destroy"), 1);
        QCOMPARE(m_device->calls().count("DeviceClose"), 0);
        connect().reset();
        QCOMPARE(m_device->calls(), QStringList({"DeviceClose", "Destroy"}));
    }

    void pictures()
    {
        auto sensor = connect();
        sensor_physical_data data;
        QCOMPARE(sensor->GetSensorPhyscalData(data), 0);
        for (const QString &path : {data.m_ZeroCalibrationPicture, data.m_OnDisplayPicture,
                                    data.m_TurnToAmbientPicture, data.m_TurnToDisplayPicture})
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        QCOMPARE(sensor->GetPixmapForCurrentPosition(3).toImage(),
                 QPixmap(data.m_TurnToAmbientPicture).toImage());
        QCOMPARE(sensor->GetPixmapForCurrentPosition(0).toImage(),
                 QPixmap(data.m_TurnToDisplayPicture).toImage());
        sensor.reset();

        // Through the virtual description record.
        RedirectedPictures redirected;
        QCOMPARE(redirected.GetPixmapForCurrentPosition(3).toImage(),
                 QPixmap(":/images/Resources/i1d3 on display.png").toImage());
    }
};

QTEST_MAIN(TestI1d3Sensor)
#include "tst_i1d3sensor.moc"
