// The calibration thread's frame: set-up from the preferences, timed waits,
// progress relay, task counts, grey levels, sensor readings and the patch
// handshake.

#include "CalibrateThread.h"
#include "CalibrationDuration.h"
#include "CalibrationRig.h"
#include "CPreferences.h"
#include "PreferencesRegistry.h"

#include <QtTest>
#include <atomic>
#include <functional>

using namespace pz;
using namespace pz::test;

namespace {

// Opens the thread's state to the tests.
class ProbeThread : public CalibrateThread {
public:
    ~ProbeThread() override { stopAndWait(); }
    void strayWake()
    {
        QMutexLocker lock(&m_Mutex);
        m_Condition.wakeAll();
    }
    void loadMatrix(const double *matrix)
    {
        m_SensorCorrection.SetCorrectionMatrixValues(matrix);
        m_UseSensorCorrection = true;
    }
    bool correcting() const { return m_UseSensorCorrection; }
    int steps() const { return m_CalibrationSteps; }
    int stabilizationMultiplier() const { return m_StabilizationMultiplier; }
};

// A virtual clock that runs a hook during the first wait.
class HookedClock : public VirtualClock {
public:
    std::function<void()> duringFirstWait;
    void sleepUs(qint64 us) override
    {
        VirtualClock::sleepUs(us);
        if (auto hook = std::exchange(duringFirstWait, nullptr))
            hook();
    }
};

QList<int> intArgs(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).toInt());
    return out;
}

CTargetValue targetWithCurve(int curve)
{
    CTargetValue target;
    target.CreateDefault();
    target.m_GammaCurveType = curve;
    return target;
}

} // namespace

class TestCalibrateThread : public QObject {
    Q_OBJECT
private slots:
    void constructionReadsThePreferences_data();
    void constructionReadsThePreferences();
    void targetResetsTheMeasuredCurves();
    void sleepsInOneSecondSlices();
    void stopEndsASleepAfterTheCurrentSlice();
    void relaysMonitorProgress_data();
    void relaysMonitorProgress();
    void monitorProgressReachesTheThread();
    void taskCountFollowsTheWhitePoint();
    void greyLevels_data();
    void greyLevels();
    void unknownOperationEndsSilently();
    void measurementGreyRamp_data();
    void measurementGreyRamp();
    void sensorReadings();
    void correctionOnlyWhenAskedAndLoaded();
    void noMatrixIsKnown();
    void strayWakesDoNotReleaseAHandshake();
    void deletingReleasesABlockedHandshake();
    void stopReleasesABlockedHandshake();
    void durationFromTheProgramClock();
};

void TestCalibrateThread::constructionReadsThePreferences_data()
{
    QTest::addColumn<bool>("registered");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("extended");
    QTest::addColumn<int>("expectedSteps");
    QTest::addColumn<int>("expectedMultiplier");
    QTest::newRow("no preferences") << false << 0 << 0 << 32 << 1;
    QTest::newRow("16 steps") << true << 16 << 0 << 16 << 1;
    QTest::newRow("52 steps, extended") << true << 52 << 1 << 52 << 6;
    QTest::newRow("1 step raised to 2") << true << 1 << 0 << 2 << 1;
}

void TestCalibrateThread::constructionReadsThePreferences()
{
    QFETCH(bool, registered);
    QFETCH(int, steps);
    QFETCH(int, extended);
    CPreferences preferences;
    preferences.SetCalibrationSteps(quint8(steps));
    preferences.SetUseExtendedLuminanceStabilizationTime(quint8(extended));
    ScopedPreferences scope(registered ? &preferences : nullptr);
    ProbeThread thread;
    QTEST(thread.steps(), "expectedSteps");
    QTEST(thread.stabilizationMultiplier(), "expectedMultiplier");
    QVERIFY(!thread.m_MonitorConfigured);
    QVERIFY(!thread.correcting());
}

void TestCalibrateThread::targetResetsTheMeasuredCurves()
{
    CPreferences preferences;
    preferences.SetCalibrationSteps(16);
    ScopedPreferences scope(&preferences);
    CalibrateThread thread;
    CColorValue &record = thread.m_AdjustValue.m_ColorValue;
    for (CSpline &curve : record.m_Splines) {
        curve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
        curve.SetValid(true);
    }
    thread.SetTargetValue(targetWithCurve(CTargetValue::kCurveGamma));
    for (int c = 0; c < 12; ++c) {
        QCOMPARE(record.m_Splines[c].GetNumberOfPoints(), 16);
        QVERIFY(!record.m_Splines[c].IsValid());
    }
    for (int c = 12; c < 15; ++c) {
        QCOMPARE(record.m_Splines[c].GetNumberOfPoints(), 256);
        QVERIFY(record.m_Splines[c].IsValid());
    }
}

void TestCalibrateThread::sleepsInOneSecondSlices()
{
    VirtualClock clock;
    ScopedClock scope(&clock);
    CalibrateThread thread;
    QSignalSpy countdown(&thread, &CalibrateThread::SleepTime);

    QCOMPARE(thread.sleep_ms(2500), 0);
    QCOMPARE(intArgs(countdown), (QList<int>{2500, 1500, 500}));
    QCOMPARE(clock.waitsMs(), (QVector<qint64>{1000, 1000, 500}));

    countdown.clear();
    clock.clearWaits();
    QCOMPARE(thread.sleep_ms(0), 0);
    QCOMPARE(thread.sleep_ms(-5), 0);
    QCOMPARE(countdown.count(), 0);
    QVERIFY(clock.waitsMs().isEmpty());
}

void TestCalibrateThread::stopEndsASleepAfterTheCurrentSlice()
{
    HookedClock clock;
    ScopedClock scope(&clock);
    CalibrateThread thread;
    QSignalSpy countdown(&thread, &CalibrateThread::SleepTime);
    clock.duringFirstWait = [&thread] { thread.stop(); };

    QCOMPARE(thread.sleep_ms(2500), CalibrateThread::kCancelled);
    QCOMPARE(intArgs(countdown), QList<int>{2500});
    QCOMPARE(clock.waitsMs(), QVector<qint64>{1000});
}

void TestCalibrateThread::relaysMonitorProgress_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<uint>("value");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QList<int>>("subtaskCounts");
    QTest::newRow("step") << 1u << 7u << 1 << QList<int>{};
    QTest::newRow("task of 40") << 2u << 40u << 0 << QList<int>{40};
    QTest::newRow("other type") << 3u << 1u << 0 << QList<int>{};
}

void TestCalibrateThread::relaysMonitorProgress()
{
    QFETCH(uint, type);
    QFETCH(uint, value);
    CalibrateThread thread;
    QSignalSpy steps(&thread, &CalibrateThread::StepSubTaskCounter);
    QSignalSpy counts(&thread, &CalibrateThread::SetNumberOfSubtasks);
    thread.Receive_Message(type, value);
    QTEST(int(steps.count()), "steps");
    QTEST(intArgs(counts), "subtaskCounts");
}

void TestCalibrateThread::monitorProgressReachesTheThread()
{
    CalibrationRig rig;
    QVERIFY(rig.display.m_pDDCMonitor);
    CalibrateThread thread;
    thread.SetTargetDisplay(&rig.display);
    QSignalSpy counts(&thread, &CalibrateThread::SetNumberOfSubtasks);
    emit rig.display.m_pDDCMonitor->Broadcast_MessageOut(2, 12);
    QCOMPARE(intArgs(counts), QList<int>{12});

    // Another display, without a monitor object: the first monitor's
    // progress no longer reaches the thread.
    CTargetDisplay plain;
    QCOMPARE(plain.SetMonitorData(_MonitorData()), 0);
    thread.SetTargetDisplay(&plain);
    emit rig.display.m_pDDCMonitor->Broadcast_MessageOut(2, 13);
    QCOMPARE(counts.count(), 1);
}

void TestCalibrateThread::taskCountFollowsTheWhitePoint()
{
    CalibrateThread thread;
    CTargetValue target = targetWithCurve(CTargetValue::kCurveGamma);
    target.m_WhitePoint.m_Native = false;
    thread.SetTargetValue(target);
    QCOMPARE(thread.CalculateNumberOfTasks(), 17);
    target.m_WhitePoint.m_Native = true;
    thread.SetTargetValue(target);
    QCOMPARE(thread.CalculateNumberOfTasks(), 14);
}

void TestCalibrateThread::greyLevels_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QList<int>>("levels");
    QList<int> sixteen, fiftyTwo;
    for (int i = 0; i < 16; ++i)
        sixteen.append(17 * i);
    for (int i = 0; i < 52; ++i)
        fiftyTwo.append(5 * i);
    QTest::newRow("8") << 8 << QList<int>{0, 36, 73, 109, 146, 182, 219, 255};
    QTest::newRow("16") << 16 << sixteen;
    QTest::newRow("32") << 32
                        << QList<int>{0,   8,   16,  25,  33,  41,  49,  58,  66,  74,  82,
                                      90,  99,  107, 115, 123, 132, 140, 148, 156, 165, 173,
                                      181, 189, 197, 206, 214, 222, 230, 239, 247, 255};
    QTest::newRow("52") << 52 << fiftyTwo;
}

void TestCalibrateThread::greyLevels()
{
    QFETCH(int, n);
    QFETCH(QList<int>, levels);
    QList<int> computed;
    for (int i = 0; i < n; ++i)
        computed.append(CalibrateThread::GreyLevel(i, n));
    QCOMPARE(computed, levels);
}

void TestCalibrateThread::unknownOperationEndsSilently()
{
    CalibrationRig rig;
    CalibrateThread thread;
    rig.attach(thread);
    ThreadSignalLog log(thread);
    thread.begin(7);
    QVERIFY(thread.wait(10000));
    QCoreApplication::processEvents();
    QVERIFY(log.entries.isEmpty());
    QVERIFY(rig.sensor.measureCounts().isEmpty());
}

void TestCalibrateThread::measurementGreyRamp_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("curve");
    QTest::addColumn<int>("preferenceSteps");
    QTest::addColumn<int>("levels");
    QTest::newRow("validate DICOM") << 3 << int(CTargetValue::kCurveDICOM) << 32 << 16;
    QTest::newRow("validate gamma") << 3 << int(CTargetValue::kCurveGamma) << 32 << 8;
    QTest::newRow("validate native") << 3 << int(CTargetValue::kCurveNative) << 52 << 8;
    QTest::newRow("profile 32") << 2 << int(CTargetValue::kCurveDICOM) << 32 << 32;
    QTest::newRow("profile 8") << 2 << int(CTargetValue::kCurveGamma) << 8 << 8;
}

void TestCalibrateThread::measurementGreyRamp()
{
    QFETCH(int, operation);
    QFETCH(int, curve);
    QFETCH(int, preferenceSteps);
    QFETCH(int, levels);
    CPreferences preferences;
    preferences.SetCalibrationSteps(quint8(preferenceSteps));
    ScopedPreferences scope(&preferences);
    CalibrationRig rig(false);
    CalibrateThread thread;
    rig.attach(thread);
    thread.SetTargetValue(targetWithCurve(curve));
    ThreadSignalLog log(thread);

    QVERIFY(CalibrationRig::runToEnd(thread, log, uint(operation)));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(log.argsOf("SetNumberOfSubtasks"), QStringList{QString::number(levels + 3)});
    // Red, green, blue, then the ramp from black to white.
    const QVector<QColor> shown = rig.responder.shown();
    QCOMPARE(shown.size(), 3 + levels);
    for (int i = 0; i < levels; ++i) {
        const int c = CalibrateThread::GreyLevel(i, levels);
        QCOMPARE(shown[3 + i], QColor(c, c, c));
    }
    QCOMPARE(thread.m_AdjustValue.m_ColorValue.m_FinalGreySteps.size(), levels);
}

void TestCalibrateThread::sensorReadings()
{
    CalibrationRig rig(false);
    CalibrateThread thread;
    CCIEXYZ reading(1.0, 2.0, 3.0);
    QCOMPARE(thread.TakeSensorMeasurement(reading, 1, true), CalibrateThread::kNoSensor);

    thread.SetSensorObject(&rig.sensor);
    const double white = rig.whiteLuminance();
    QCOMPARE(thread.TakeSensorMeasurement(reading, 0, true), 0);
    QCOMPARE(thread.TakeSensorMeasurement(reading, -3, true), 0);
    QCOMPARE(thread.TakeSensorMeasurement(reading, 4, true), 0);
    QCOMPARE(rig.sensor.measureCounts(), (QVector<unsigned>{1, 1, 4}));
    QCOMPARE(reading.Y, white);

    // A failed reading passes its code and leaves the caller's reading.
    const CCIEXYZ before(7.0, 8.0, 9.0);
    const std::function<void()> faults[] = {
        // Every try of the reading fails on the device.
        [&rig] {
            rig.device().faults().failNext(QStringLiteral("MeasureXYZ"), -1,
                                           CEyeOneDisplay3Sensor::kReadingTries);
        },
        [&rig] { rig.sensor.failNextHandOut(CSensor::kSensorDeviceFailed); },
    };
    for (const auto &fail : faults) {
        reading = before;
        fail();
        QCOMPARE(thread.TakeSensorMeasurement(reading, 1, true), CSensor::kSensorDeviceFailed);
        QCOMPARE(reading.X, before.X);
        QCOMPARE(reading.Y, before.Y);
        QCOMPARE(reading.Z, before.Z);
    }
}

void TestCalibrateThread::correctionOnlyWhenAskedAndLoaded()
{
    CalibrationRig rig(false);
    ProbeThread thread;
    thread.SetSensorObject(&rig.sensor);
    rig.screen.setColor(CalibrationRig::kDisplay, 255, 255, 255);
    const SimXYZ light = rig.sensors.light().emissive();
    const double matrix[9] = {2.0, 0.0, 0.0, 0.0, 3.0, 0.0, 0.0, 0.0, 0.5};

    CCIEXYZ reading;
    QCOMPARE(thread.TakeSensorMeasurement(reading, 1, true), 0);
    QCOMPARE(reading.Y, light.Y);   // no matrix loaded

    thread.loadMatrix(matrix);
    QCOMPARE(thread.TakeSensorMeasurement(reading, 1, false), 0);
    QCOMPARE(reading.Y, light.Y);   // not asked for
    QCOMPARE(thread.TakeSensorMeasurement(reading, 1, true), 0);
    QCOMPARE(reading.X, 2.0 * light.X);
    QCOMPARE(reading.Y, 3.0 * light.Y);
    QCOMPARE(reading.Z, 0.5 * light.Z);

    // A failed reading is not corrected either.
    const CCIEXYZ before(1.0, 1.0, 1.0);
    reading = before;
    rig.sensor.failNextHandOut(CSensor::kSensorDeviceFailed);
    QCOMPARE(thread.TakeSensorMeasurement(reading, 1, true), CSensor::kSensorDeviceFailed);
    QCOMPARE(reading.Y, 1.0);
}

void TestCalibrateThread::noMatrixIsKnown()
{
    CPreferences preferences;
    preferences.SetUseColorSensorCorrection(true);
    ScopedPreferences scope(&preferences);
    ProbeThread thread;
    const double matrix[9] = {2.0, 0.0, 0.0, 0.0, 3.0, 0.0, 0.0, 0.0, 0.5};
    thread.loadMatrix(matrix);
    // Setting up clears a matrix left from before: none is known here.
    QCOMPARE(thread.setup_sensor_correction_matrix(), 0);
    QVERIFY(!thread.correcting());
}

void TestCalibrateThread::strayWakesDoNotReleaseAHandshake()
{
    CalibrationRig rig(false);
    ProbeThread thread;
    rig.attach(thread);
    ThreadSignalLog log(thread);
    QVERIFY(rig.startBlockedInFirstHandshake(thread));
    QCOMPARE(rig.sensor.measureCounts().size(), 1);   // the first reading only

    thread.strayWake();
    thread.begin(CalibrateThread::OPERATION_PROFILE);
    QTest::qWait(200);
    QCOMPARE(rig.sensor.measureCounts().size(), 1);   // red is not measured yet
    QCOMPARE(rig.responder.shown().size(), 1);

    rig.responder.acknowledge();
    QTRY_COMPARE(rig.responder.shown().size(), 2);
    QCOMPARE(rig.sensor.measureCounts().size(), 2);   // red, once acknowledged

    rig.responder.setAutoAcknowledge(true);
    rig.responder.acknowledge();
    QTRY_VERIFY(log.ended());
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    // The second begin ran nothing: one operation, one announcement.
    QCOMPARE(log.argsOf("SetNumberOfTasks"), QStringList{"2"});
}

void TestCalibrateThread::deletingReleasesABlockedHandshake()
{
    CalibrationRig rig(false);
    auto *thread = new CalibrateThread;
    rig.attach(*thread);
    std::atomic<int> code{0};
    std::atomic<int> completions{0};
    connect(thread, &CalibrateThread::calibrationError, thread, [&code](int c) { code = c; },
            Qt::DirectConnection);
    connect(thread, &CalibrateThread::CalibrationComplete, thread, [&completions] { ++completions; },
            Qt::DirectConnection);
    QVERIFY(rig.startBlockedInFirstHandshake(*thread));

    delete thread;   // would hang if the handshake stayed blocked
    QCOMPARE(code.load(), CalibrateThread::kCancelled);
    QCOMPARE(completions.load(), 0);
    QCOMPARE(rig.sensor.measureCounts().size(), 1);   // nothing read after the abort
}

void TestCalibrateThread::stopReleasesABlockedHandshake()
{
    CalibrationRig rig(false);
    CalibrateThread thread;
    rig.attach(thread);
    ThreadSignalLog log(thread);
    QVERIFY(rig.startBlockedInFirstHandshake(thread));
    thread.stop();
    QTRY_VERIFY(log.ended());
    QCOMPARE(log.entries.last(), QStringLiteral("calibrationError(-1005)"));
    QCOMPARE(rig.sensor.measureCounts().size(), 1);
    QVERIFY(!thread.m_AdjustValue.m_IsValid);
}

void TestCalibrateThread::durationFromTheProgramClock()
{
    VirtualClock clock;
    ScopedClock scope(&clock);
    clock.advanceUs(86000LL * 1000000);   // late in the day: no midnight to cross
    const qint64 start = CalibrationStartTime();
    QCOMPARE(CalibrationDurationSeconds(start), qint16(0));
    clock.sleepMs(1999);
    QCOMPARE(CalibrationDurationSeconds(start), qint16(1));
    clock.advanceUs(3600LL * 1000000);
    QCOMPARE(CalibrationDurationSeconds(start), qint16(3601));
    clock.advanceUs(40000LL * 1000000);
    QCOMPARE(CalibrationDurationSeconds(start), qint16(32767));
    // A start in the future (a clock swapped meanwhile) counts as 0.
    QCOMPARE(CalibrationDurationSeconds(clock.nowUs() + 5000000), qint16(0));
}

QTEST_MAIN(TestCalibrateThread)
#include "tst_calibratethread.moc"
