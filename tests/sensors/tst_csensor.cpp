// The sensor interface: the defaults of its operations, handing a reading out
// once, the low-light rule and the plausibility test of measured patches,
// through an adapter that takes its readings from a script.

#include "CPreferences.h"
#include "CSensor.h"
#include "PreferencesRegistry.h"

#include <QtTest>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// Display readings come from `script` in order; the reading at index
// `failAt` fails with kSensorDeviceFailed.
class ScriptedSensor : public CSensor {
    Q_OBJECT
public:
    using CSensor::LowLightReadingCount;

    QVector<CCIEXYZ> script;
    int failAt = -1;
    int readingsTaken = 0;

    QString GetModelName() override { return QStringLiteral("Scripted"); }
    QString GetSerialNumber() override { return QString(); }
    void Settings() override {}
    int IsValidSettings() override { return 0; }
    void SetSync(double) override {}
    int DetectVerticalScanningFrequency() override { return 0; }
    bool DoesSupportAmbientLightMeasurement() override { return false; }
    int MeasureAmbientLight() override { return kSensorRefused; }
    int ZeroCal() override { return kSensorOK; }
    int Measure(unsigned count) override
    {
        if (!m_Connected)
            return kSensorNotConnected;
        return MeasureAveraged(count, [this](CCIEXYZ &reading) {
            const int i = readingsTaken++;
            if (i == failAt || i >= script.size())
                return kSensorDeviceFailed;
            reading = script[i];
            return kSensorOK;
        });
    }
    int GetXYZData(CCIEXYZ &out) override { return HandOutReading(out); }
    int SetScreenType(typeSensorScreen, CTargetDisplay::typeMonitorColorGamutType) override
    {
        return kSensorOK;
    }
    int GetSensorPhyscalData(sensor_physical_data &) override { return 0; }
};

CCIEXYZ xyz(double x, double y, double z) { return CCIEXYZ(x, y, z); }

enum PreferenceState { PreferenceOn, PreferenceOff, NoPreferences };

} // namespace

Q_DECLARE_METATYPE(CCIEXYZ)

class TestCSensor : public QObject {
    Q_OBJECT
private slots:
    void baseDefaults()
    {
        ScriptedSensor s;
        QVERIFY(!s.m_Connected);
        QVERIFY(!s.m_ZeroCalibrationDone);
        QVERIFY(s.m_PreparationWarningPending);
        QCOMPARE(s.m_ReadingCount, 1u);
        QCOMPARE(s.m_LastReading.X, 0.0);
        QCOMPARE(s.m_LastReading.Y, 0.0);
        QCOMPARE(s.m_LastReading.Z, 0.0);
        QCOMPARE(s.m_ScreenType, -1);
        QCOMPARE(s.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
        QVERIFY(!s.parent());

        unsigned short vendor = 0x1234, product = 0x5678;
        QVERIFY(!s.GetSensorPnPIDs(vendor, product));
        QCOMPARE(vendor, 0);
        QCOMPARE(product, 0);
        QCOMPARE(s.FlashLED(1), -1);
        QVERIFY(s.SupportsZeroCal());
        QVERIFY(s.IsSensorAccurateOnWideGamutDisplays());
        QVERIFY(!s.DoesSensorSupportMeasurementSelector());
        QCOMPARE(s.GetSensorMeasurementSelectorPosition(), 0);
        QVERIFY(!s.DoesSensorSupportMeasurementSelectorNeedPolling());
        QVERIFY(!s.DoesSensorSupportMeasurementButtonStatus());
        QCOMPARE(s.GetSensorMeasurementButtonStatus(), 0);
        QVERIFY(!s.SupportsDetectVerticalScanningFrequency());
        QVERIFY(s.GetPixmapForCurrentPosition(CSensor::kSelectorAmbient).isNull());
        QVERIFY(!s.GetSensorSupportsUserPreparationWarning());
        QVERIFY(!s.GetSensorSupportsCheckSensorPositionStatus());
        QVERIFY(!s.GetSensorSupportsDisplayGamutSelection());
        QVERIFY(!s.GetSensorNeedsPostZeroCalSetupMessage());

        QVERIFY(s.GetSensorNeedsUserPreparationWarning());
        s.SetSensorNeedsUserPreparationWarningCompleted(false);
        QVERIFY(!s.GetSensorNeedsUserPreparationWarning());
        QVERIFY(!s.m_PreparationWarningPending);

        QCOMPARE(s.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), 0);
        QCOMPARE(s.m_MeasurementMode, int(CSensor::kSensorModeAmbient));
    }

    void sensorScreenForDisplay_data()
    {
        QTest::addColumn<int>("display");
        QTest::addColumn<int>("sensor");
        QTest::newRow("CRT") << int(CTargetDisplay::kScreenCRT) << int(CSensor::kSensorScreenCRT);
        QTest::newRow("LCD") << int(CTargetDisplay::kScreenLCD) << int(CSensor::kSensorScreenLCD);
        QTest::newRow("undetermined") << int(CTargetDisplay::kScreenUndetermined)
                                      << int(CSensor::kSensorScreenLCD);
    }
    void sensorScreenForDisplay()
    {
        QFETCH(int, display);
        QFETCH(int, sensor);
        QCOMPARE(int(CSensor::SensorScreenForDisplay(
                     CTargetDisplay::typeMonitorScreenType(display))),
                 sensor);
    }

    void readingIsHandedOutOnce()
    {
        ScriptedSensor s;
        s.m_Connected = true;
        s.script = {xyz(95.0, 100.0, 108.0)};
        CCIEXYZ out(-1, -2, -3);
        QCOMPARE(s.GetXYZData(out), -1003);   // nothing measured yet
        QCOMPARE(out.X, -1.0);

        QCOMPARE(s.Measure(1), 0);
        QCOMPARE(s.GetXYZData(out), 0);
        QCOMPARE(out.X, 95.0);
        QCOMPARE(out.Y, 100.0);
        QCOMPARE(out.Z, 108.0);

        out = xyz(-1, -2, -3);
        QCOMPARE(s.GetXYZData(out), -1003);
        QCOMPARE(out.X, -1.0);
        QCOMPARE(out.Y, -2.0);
        QCOMPARE(out.Z, -3.0);

        // A sensor that is no longer connected hands nothing out.
        s.script.append(xyz(1, 20, 3));
        QCOMPARE(s.Measure(1), 0);
        s.m_Connected = false;
        QCOMPARE(s.GetXYZData(out), -1003);
        QCOMPARE(out.X, -1.0);
    }

    void failedMeasureHandsNothingOut()
    {
        ScriptedSensor s;
        s.m_Connected = true;
        // A reading that was never fetched, then a call that fails at its
        // second reading: the partial sum stays, but is not handed out.
        s.script = {xyz(1, 50, 1), xyz(10, 20, 30), xyz(1, 2, 3)};
        QCOMPARE(s.Measure(1), 0);
        s.failAt = 2;
        QCOMPARE(s.Measure(2), -1003);
        QCOMPARE(s.readingsTaken, 3);
        QCOMPARE(s.m_LastReading.Y, 20.0);
        CCIEXYZ out(-1, -2, -3);
        QCOMPARE(s.GetXYZData(out), -1003);
        QCOMPARE(out.Y, -2.0);
    }

    void lowLightRule_data()
    {
        QTest::addColumn<int>("preference");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<unsigned>("readings");

        const struct {
            const char *name;
            int preference;
        } states[] = {{"on", PreferenceOn}, {"off", PreferenceOff}, {"none registered", NoPreferences}};
        for (const auto &state : states) {
            const bool rule = state.preference != PreferenceOff;
            for (unsigned count : {1u, 5u}) {
                const QByteArray tag = QByteArray(state.name) + " count " + QByteArray::number(count);
                QTest::newRow(tag + " Y 2.5") << state.preference << 2.5 << count << (rule ? 3u : count);
                QTest::newRow(tag + " Y 2.999") << state.preference << 2.999 << count << (rule ? 3u : count);
                QTest::newRow(tag + " Y 3.0") << state.preference << 3.0 << count << (rule ? 2u : count);
                QTest::newRow(tag + " Y 9.9") << state.preference << 9.9 << count << (rule ? 2u : count);
                QTest::newRow(tag + " Y 10.0") << state.preference << 10.0 << count << count;
            }
        }
        QTest::newRow("count 0 takes one") << int(PreferenceOn) << 50.0 << 0u << 1u;
        QTest::newRow("count 0 low light") << int(PreferenceOn) << 2.5 << 0u << 3u;
    }
    void lowLightRule()
    {
        QFETCH(int, preference);
        QFETCH(double, firstY);
        QFETCH(unsigned, count);
        QFETCH(unsigned, readings);

        CPreferences prefs;
        prefs.SetAverageLowLightMeasurements(preference == PreferenceOn ? 1 : 0);
        pz::ScopedPreferences scope(preference == NoPreferences ? nullptr : &prefs);

        QCOMPARE(ScriptedSensor::LowLightReadingCount(firstY, qMax(count, 1u)), readings);

        ScriptedSensor s;
        s.m_Connected = true;
        s.script = {xyz(firstY, firstY, firstY)};
        for (int i = 1; i < 8; ++i)
            s.script.append(xyz(1.0, 4.0 * i, 2.0));
        QCOMPARE(s.Measure(count), 0);
        QCOMPARE(s.readingsTaken, int(readings));
        QCOMPARE(s.m_ReadingCount, readings);

        double sumY = firstY;
        for (unsigned i = 1; i < readings; ++i)
            sumY += 4.0 * i;
        CCIEXYZ out;
        QCOMPARE(s.GetXYZData(out), 0);
        QCOMPARE(out.Y, sumY / readings);
        QCOMPARE(out.X, (firstY + (readings - 1) * 1.0) / readings);
    }

    void validatePatches_data()
    {
        QTest::addColumn<CCIEXYZ>("reading");
        QTest::addColumn<int>("patch");
        QTest::addColumn<int>("result");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();

        // Integer tristimulus values summing to a power of ten give the
        // chromaticities exactly.
        QTest::newRow("red x .45 y .45") << xyz(45, 45, 10) << 1 << 0;
        QTest::newRow("red x .45 y .15") << xyz(45, 15, 40) << 1 << 0;
        QTest::newRow("red x .449") << xyz(449, 300, 251) << 1 << -1;
        QTest::newRow("red y .149") << xyz(600, 149, 251) << 1 << -1;
        QTest::newRow("red y .451") << xyz(460, 451, 89) << 1 << -1;
        QTest::newRow("green x .1") << xyz(1000, 6000, 3000) << 2 << 0;
        QTest::newRow("green x .0999") << xyz(999, 5000, 4001) << 2 << -1;
        QTest::newRow("green x .451") << xyz(451, 500, 49) << 2 << -1;
        QTest::newRow("green y .449") << xyz(300, 449, 251) << 2 << -1;
        QTest::newRow("blue x .3 y .2") << xyz(3, 2, 5) << 3 << 0;
        QTest::newRow("blue x .301") << xyz(301, 100, 599) << 3 << -1;
        QTest::newRow("blue y .201") << xyz(150, 201, 649) << 3 << -1;
        QTest::newRow("black Y 15") << xyz(14, 15, 16) << 4 << 0;
        QTest::newRow("black Y 15.001") << xyz(14, 15.001, 16) << 4 << -1;
        QTest::newRow("white Y 4") << xyz(3.8, 4.0, 4.3) << 5 << 0;
        QTest::newRow("white Y 3.999") << xyz(3.8, 3.999, 4.3) << 5 << -1;
        QTest::newRow("patch 0") << xyz(45, 45, 10) << 0 << -2;
        QTest::newRow("patch 6") << xyz(45, 45, 10) << 6 << -2;
        QTest::newRow("red NaN X") << xyz(nan, 45, 10) << 1 << -1;
        QTest::newRow("white NaN Y") << xyz(95, nan, 108) << 5 << -1;
        QTest::newRow("black NaN Z") << xyz(1, 1, nan) << 4 << -1;
        QTest::newRow("white infinite Z") << xyz(95, 100, inf) << 5 << -1;
    }
    void validatePatches()
    {
        QFETCH(CCIEXYZ, reading);
        QFETCH(int, patch);
        QFETCH(int, result);
        ScriptedSensor s;
        QCOMPARE(s.validate_phopshor_colors(reading, patch), result);
    }
};

QTEST_GUILESS_MAIN(TestCSensor)
#include "tst_csensor.moc"
