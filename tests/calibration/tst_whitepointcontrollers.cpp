// The white point and luminance controllers, one step at a time on scripted
// readings, against the simulated gain monitor through its LCDT4 object.

#include "CalibrateThread.h"
#include "GainMonitorRig.h"

#include <QtTest>
#include <cmath>
#include <functional>

using namespace pz;
using namespace pz::test;

namespace {

// A thread whose readings come from a script (then from the sensor), with
// the controllers' state open to the test.
class ControllerThread : public CalibrateThread {
public:
    ~ControllerThread() override { stopAndWait(); }

    QVector<CCIEXYZ> script;
    int scriptedTaken = 0;
    int TakeSensorMeasurement(CCIEXYZ &reading, int count, bool correct) override
    {
        if (!script.isEmpty()) {
            reading = script.takeFirst();
            ++scriptedTaken;
            return 0;
        }
        return CalibrateThread::TakeSensorMeasurement(reading, count, correct);
    }

    // When set, a controller step answers this instead of running.
    int gainStepAnswer = 0;
    int luminanceStepAnswer = 0;
    int AdjustGainsByRGBRatio(rgbColor target, double tolerance, xyYColor white) override
    {
        return gainStepAnswer != 0 ? gainStepAnswer
                                   : CalibrateThread::AdjustGainsByRGBRatio(target, tolerance, white);
    }
    int AdjustLuminanceToTarget(double target, int useContrast, double tolerance) override
    {
        return luminanceStepAnswer != 0
                   ? luminanceStepAnswer
                   : CalibrateThread::AdjustLuminanceToTarget(target, useContrast, tolerance);
    }

    std::function<int(ControllerThread &)> task;
    void calibrate() override
    {
        const int result = task(*this);
        if (result != 0)
            handleError(result);
        else
            emit CalibrationComplete();
    }

    // Primaries on the axes: linear RGB equals XYZ.
    void identityTransform()
    {
        m_Transform.InitializeRGBXYZTransforms(CCIEXYZ(1, 0, 0), CCIEXYZ(0, 1, 0), CCIEXYZ(0, 0, 1));
    }
    void gains(qint32 red, qint32 green, qint32 blue, qint32 maximum = 255)
    {
        m_CurrentRedGain = red;
        m_CurrentGreenGain = green;
        m_CurrentBlueGain = blue;
        m_MaxRedGain = m_MaxGreenGain = m_MaxBlueGain = maximum;
    }
    void addTrial(float error)
    {
        _Readings_taken r;
        r.red = int(m_Readings.size());
        r.error = error;
        m_Readings.push_back(r);
    }

    using CalibrateThread::m_CurrentBlueGain;
    using CalibrateThread::m_CurrentBrightness;
    using CalibrateThread::m_CurrentGreenGain;
    using CalibrateThread::m_CurrentRedGain;
    using CalibrateThread::m_DDCFailures;
    using CalibrateThread::m_Direction;
    using CalibrateThread::m_ReversalCount;
    using CalibrateThread::m_InToleranceCount;
    using CalibrateThread::m_Iterations;
    using CalibrateThread::m_LimitHitCount;
    using CalibrateThread::m_LimitingChannel;
    using CalibrateThread::m_MaxBrightness;
    using CalibrateThread::m_MinimumGainStep;
    using CalibrateThread::m_ProportionalGain;
    using CalibrateThread::m_Readings;
    using CalibrateThread::m_ReuseReadings;
};

const rgbColor kTarget{100.0, 100.0, 100.0};
// A chromaticity no scripted reading comes near.
const xyYColor kFarWhite{0.1, 0.1, -1.0};

struct ControllerBench {
    ControllerBench()
    {
        rig.attach(thread);
        thread.identityTransform();
        rig.sim->clearLog();
    }
    // The values written to a standard control (page 0 of the paged
    // Set VCP), in order.
    QVector<uint> writesOf(int code)
    {
        QVector<uint> out;
        for (const QByteArray &r : rig.sim->requests())
            if (r.size() == 5 && quint8(r[0]) == 0xC8 && quint8(r[1]) == 0 && quint8(r[2]) == code)
                out.append(uint(quint8(r[3])) << 8 | quint8(r[4]));
        return out;
    }
    GainMonitorRig rig;
    ControllerThread thread;
};

// A D65 target at a luminance level.
CTargetValue d65AtLevel(double intensity)
{
    CTargetValue target;
    target.CreateDefault();
    target.m_WhitePoint = CColorTemperature(_CIExy{0.3127, 0.3290});
    target.m_IntensityType = CTargetValue::kIntensityLevel;
    target.m_Intensity = intensity;
    return target;
}

// The calibration run up to the white point: set-up, native primaries and
// the adjustment.
int setUpMeasureAndAdjust(ControllerThread &t)
{
    int status = t.SetupMonitorForCalibration();
    if (status == 0)
        status = t.MeasureNativePrimaries(true, true);
    return status != 0 ? status : t.AdjustDisplayWhitePoint();
}

} // namespace

class TestWhitePointControllers : public QObject {
    Q_OBJECT
private slots:
    void proportionalGains_data();
    void proportionalGains();
    void gainMovesUpByRatio();
    void limitingChannelSetsTheScale();
    void storedTrialIsReused();
    void leastErrorTrial();
    void settingNumberOutOfRange();
    void hundredthStep_data();
    void hundredthStep();
    void relativeLoopEndsOnToleranceOnly();
    void luminanceToleranceOfTheGainLoop_data();
    void luminanceToleranceOfTheGainLoop();
    void failedWritesEndTheLoop();
    void implausibleReadings_data();
    void implausibleReadings();
    void luminanceSteps();
    void luminanceStepIsClamped();
    void displayTooDimForTarget();
    void gainHoldLimits_data();
    void gainHoldLimits();
    void reversalCountedBeforeTest();
    void luminancePhase_data();
    void luminancePhase();
    void controllerFailuresReported_data();
    void controllerFailuresReported();
};

void TestWhitePointControllers::proportionalGains_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<double>("gain");
    QTest::addColumn<int>("step");
    QTest::newRow("255") << 255 << 59.765625 << 1;
    QTest::newRow("1023") << 1023 << 239.765625 << 2;
}

void TestWhitePointControllers::proportionalGains()
{
    QFETCH(int, maximum);
    QFETCH(double, gain);
    QFETCH(int, step);
    ControllerThread thread;
    thread.gains(0, 0, 0, maximum);
    QCOMPARE(thread.SetupRGBAdjustmentParameters(), 0);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(thread.m_ProportionalGain[c], gain);
    QCOMPARE(thread.m_MinimumGainStep, step);
}

void TestWhitePointControllers::gainMovesUpByRatio()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.script = {CCIEXYZ(90.0, 100.0, 100.0)};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite), 1);
    QCOMPARE(t.m_CurrentRedGain, 206);
    QCOMPARE(bench.writesOf(0x16), QVector<uint>{206});
    QVERIFY(bench.writesOf(0x18).isEmpty());
    QCOMPARE(t.m_InToleranceCount[1], 1);
    QCOMPARE(t.m_LimitingChannel, 0);
    QCOMPARE(int(t.m_Readings.size()), 1);
    QCOMPARE(t.m_Readings[0].red, 200);
    QVERIFY(std::fabs(t.m_Readings[0].error - 0.01f) < 1e-6f);
}

void TestWhitePointControllers::limitingChannelSetsTheScale()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(255, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.script = {CCIEXYZ(80.0, 90.0, 110.0)};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite), 1);
    QCOMPARE(t.m_LimitingChannel, 1);
    // Ratios 1.0, 1.125, 1.375: red held, the others down.
    QCOMPARE(t.m_InToleranceCount[0], 1);
    QCOMPARE(t.m_CurrentRedGain, 255);
    QCOMPARE(t.m_CurrentGreenGain, 200 - 1 - 7);
    QCOMPARE(t.m_CurrentBlueGain, 200 - 1 - 22);
    QVERIFY(bench.writesOf(0x16).isEmpty());
    QVERIFY(std::fabs(t.m_Readings[0].error - float(0.125 * 0.125 + 0.375 * 0.375)) < 1e-5f);
}

void TestWhitePointControllers::storedTrialIsReused()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.m_ReuseReadings = true;
    _Readings_taken stored;
    stored.red = stored.green = stored.blue = 200;
    stored.xyz = CCIEXYZ(90.0, 100.0, 100.0);
    t.m_Readings.push_back(stored);
    QSignalSpy shown(&t, &CalibrateThread::SetWhitePointMeasuredValue);
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite), 1);
    QCOMPARE(t.scriptedTaken, 0);
    QCOMPARE(bench.rig.sensor.measureCounts().size(), 0);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(int(t.m_Readings.size()), 1);
    QCOMPARE(t.m_CurrentRedGain, 206);
}

void TestWhitePointControllers::leastErrorTrial()
{
    ControllerThread t;
    QCOMPARE(t.GetLeastRGBErrorGainSettings(), -1);
    for (float e : {0.5f, 0.2f, 0.2f, 0.3f})
        t.addTrial(e);
    QCOMPARE(t.GetLeastRGBErrorGainSettings(), 1);
    QCOMPARE(t.WasGainMeasurementWithSettingsTaken(2, 0, 0), 2);
    QCOMPARE(t.WasGainMeasurementWithSettingsTaken(9, 0, 0), -1);
}

void TestWhitePointControllers::settingNumberOutOfRange()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(255, 255, 255);
    for (float e : {0.5f, 0.2f})
        t.addTrial(e);
    QCOMPARE(t.SetGainToSettingNumber(2), -1);
    QCOMPARE(t.SetGainToSettingNumber(-1), -1);
    QVERIFY(bench.rig.sim->requests().isEmpty());
    t.m_Readings[1].green = 17;
    t.m_Readings[1].blue = 33;
    QCOMPARE(t.SetGainToSettingNumber(1), 0);
    QCOMPARE(bench.writesOf(0x16), QVector<uint>{1});
    QCOMPARE(bench.writesOf(0x18), QVector<uint>{17});
    QCOMPARE(bench.writesOf(0x1A), QVector<uint>{33});
    QCOMPARE(t.m_CurrentBlueGain, 33);
}

void TestWhitePointControllers::hundredthStep_data()
{
    QTest::addColumn<bool>("converges");
    QTest::addColumn<int>("result");
    QTest::newRow("in tolerance") << false << int(CalibrateThread::kWhitePointNotConverged);
    QTest::newRow("confirmed convergence") << true << 0;
}

void TestWhitePointControllers::hundredthStep()
{
    QFETCH(bool, converges);
    QFETCH(int, result);
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.m_Iterations = 99;
    for (int c = 0; c < 3; ++c)
        t.m_InToleranceCount[c] = 3;
    const CCIEXYZ white(100.0, 100.0, 100.0);
    const CCIEYxy c = white.GetCIEYxy();
    const xyYColor aim = converges ? xyYColor{c.x, c.y, 100.0} : kFarWhite;
    t.script = {white, white};
    QSignalSpy countdown(&t, &CalibrateThread::SleepTime);
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, aim), result);
    QCOMPARE(t.m_Iterations, 100);
    QCOMPARE(t.scriptedTaken, converges ? 2 : 1);
    // The confirmation waits plainly, without a countdown.
    QCOMPARE(bench.rig.rig.clock.waitsMs().contains(5000), converges);
    QCOMPARE(countdown.count(), 0);
}

void TestWhitePointControllers::relativeLoopEndsOnToleranceOnly()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    const CCIEXYZ white(100.0, 100.0, 100.0);
    const CCIEYxy c = white.GetCIEYxy();
    t.script = {white, white, white, white};
    const xyYColor relative{c.x, c.y, -1.0};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, relative), 1);
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, relative), 1);
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, relative), 0);
    // No confirmation reading: the chromaticity alone never converges.
    QCOMPARE(t.scriptedTaken, 3);
    QCOMPARE(int(t.m_Readings.size()), 3);
    QVERIFY(bench.rig.rig.clock.waitsMs().indexOf(5000) < 0);
}

void TestWhitePointControllers::luminanceToleranceOfTheGainLoop_data()
{
    QTest::addColumn<double>("miss");   // reading minus aim, cd/m²
    QTest::addColumn<int>("result");
    QTest::newRow("0.7 above") << 0.7 << 0;
    QTest::newRow("0.7 below") << -0.7 << 0;
    QTest::newRow("1.0 above") << 1.0 << 1;
    QTest::newRow("1.0 below") << -1.0 << 1;
}

void TestWhitePointControllers::luminanceToleranceOfTheGainLoop()
{
    // An absolute aim with no limiting channel: the white on its
    // chromaticity converges only within 0.8 cd/m² of the aim.
    QFETCH(double, miss);
    QFETCH(int, result);
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    const CCIEXYZ white(100.0, 100.0, 100.0);
    const CCIEYxy c = white.GetCIEYxy();
    t.script = {white, white};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, xyYColor{c.x, c.y, 100.0 - miss}), result);
    // Converged: confirmed by a second reading after the wait.
    QCOMPARE(t.scriptedTaken, result == 0 ? 2 : 1);
    QCOMPARE(bench.rig.rig.clock.waitsMs().contains(5000), result == 0);
}

void TestWhitePointControllers::failedWritesEndTheLoop()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.m_DDCFailures = 23;
    bench.rig.sim->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    t.script = {CCIEXYZ(90.0, 100.0, 100.0)};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite),
             CalibrateThread::kMonitorWriteFailed);
    QCOMPARE(t.m_DDCFailures, 24);
    // The value counts as written all the same.
    QCOMPARE(t.m_CurrentRedGain, 206);
}

void TestWhitePointControllers::implausibleReadings_data()
{
    QTest::addColumn<double>("X");
    QTest::addColumn<double>("Y");
    QTest::addColumn<double>("Z");
    QTest::addColumn<bool>("redAtMaximum");
    const double nan = std::nan("");
    QTest::newRow("not a number") << nan << 100.0 << 100.0 << false;
    QTest::newRow("dark") << 0.0 << 0.0 << 0.0 << false;
    QTest::newRow("too dim for white") << 3.0 << 3.0 << 3.0 << false;
    QTest::newRow("limiting ratio below zero") << -10.0 << 100.0 << 100.0 << true;
}

void TestWhitePointControllers::implausibleReadings()
{
    QFETCH(double, X);
    QFETCH(double, Y);
    QFETCH(double, Z);
    QFETCH(bool, redAtMaximum);
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(redAtMaximum ? 255 : 200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.script = {CCIEXYZ(X, Y, Z)};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite),
             CalibrateThread::kImplausibleReading);
    QVERIFY(bench.rig.sim->requests().isEmpty());
    if (!redAtMaximum) {
        t.m_MaxBrightness = 100;
        t.m_CurrentBrightness = 50;
        t.script = {CCIEXYZ(X, Y, Z)};
        QCOMPARE(t.AdjustLuminanceToTarget(200.0, 0, 1.0), CalibrateThread::kImplausibleReading);
        QVERIFY(bench.rig.sim->requests().isEmpty());
    }
}

void TestWhitePointControllers::luminanceSteps()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.m_MaxBrightness = 100;
    t.m_CurrentBrightness = 50;
    t.m_ProportionalGain[3] = 2.0;
    const auto grey = [](double Y) { return CCIEXYZ(Y * 0.9505, Y, Y * 1.089); };
    t.script = {grey(190.0), grey(210.0)};
    QSignalSpy waits(&t, &CalibrateThread::SleepTime);
    QCOMPARE(t.AdjustLuminanceToTarget(200.0, 0, 1.0), 1);
    QCOMPARE(t.m_CurrentBrightness, 71);
    QCOMPARE(t.AdjustLuminanceToTarget(200.0, 0, 1.0), 1);
    QCOMPARE(t.m_ProportionalGain[3], 1.5);
    QCOMPARE(t.m_CurrentBrightness, 55);
    QCOMPARE(bench.writesOf(0x10), (QVector<uint>{71, 55}));
    // Both readings lay near the target: each was followed by the wait.
    int fullWaits = 0;
    for (const QList<QVariant> &w : waits)
        fullWaits += w.at(0).toInt() == 4000 ? 1 : 0;
    QCOMPARE(fullWaits, 2);
}

void TestWhitePointControllers::luminanceStepIsClamped()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.m_MaxBrightness = 100;
    t.m_CurrentBrightness = 50;
    // What maximum / (L_max - L_min) gives for two nearly equal whites.
    t.m_ProportionalGain[3] = 1e300;
    t.script = {CCIEXYZ(95.0, 100.0, 109.0), CCIEXYZ(285.0, 300.0, 327.0)};
    QCOMPARE(t.AdjustLuminanceToTarget(200.0, 0, 1.0), 1);
    QCOMPARE(t.m_CurrentBrightness, 100);
    QCOMPARE(t.m_LimitHitCount[3], 1);
    QCOMPARE(t.AdjustLuminanceToTarget(200.0, 0, 1.0), 1);
    QCOMPARE(t.m_CurrentBrightness, 0);
    QCOMPARE(t.m_LimitHitCount[3], 2);
    QCOMPARE(bench.writesOf(0x10), (QVector<uint>{100, 0}));
}

void TestWhitePointControllers::displayTooDimForTarget()
{
    SimMonitorConfig config = SimMonitorConfig::gainMonitor();
    config.registerValues[0x2B3] = 160;   // about 150 cd/m² at full brightness
    GainMonitorRig rig(true, config);
    ControllerThread thread;
    rig.attach(thread);
    thread.SetTargetValue(d65AtLevel(200.0));
    ThreadSignalLog log(thread);
    thread.task = setUpMeasureAndAdjust;
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_CALIBRATE));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    // First gain pass, luminance phase, and no second pass.
    QCOMPARE(log.argsOf("StartingTask").mid(2), (QStringList{"4", "9"}));
    QCOMPARE(thread.m_CurrentBrightness, 100);
    QCOMPARE(rig.sim->registerValue(0x10), quint16(100));
    // The first pass ended on its best trial.
    const int best = thread.GetLeastRGBErrorGainSettings();
    QVERIFY(best >= 0);
    const _Readings_taken &trial = thread.m_Readings[size_t(best)];
    QCOMPARE(thread.m_CurrentRedGain, trial.red);
    QCOMPARE(thread.m_CurrentGreenGain, trial.green);
    QCOMPARE(thread.m_CurrentBlueGain, trial.blue);
    QCOMPARE(rig.sim->registerValue(0x18), quint16(trial.green));
}

void TestWhitePointControllers::gainHoldLimits_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("reversals");
    QTest::addColumn<bool>("held");
    QTest::newRow("red 5") << 0 << 5 << false;
    QTest::newRow("red 6") << 0 << 6 << true;
    QTest::newRow("green 6") << 1 << 6 << false;
    QTest::newRow("green 7") << 1 << 7 << true;
    QTest::newRow("blue 7") << 2 << 7 << false;
    QTest::newRow("blue 8") << 2 << 8 << true;
}

void TestWhitePointControllers::gainHoldLimits()
{
    QFETCH(int, channel);
    QFETCH(int, reversals);
    QFETCH(bool, held);
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.m_ReversalCount[channel] = reversals;
    t.m_Direction[channel] = 1;
    double xyz[3] = {100.0, 100.0, 100.0};
    xyz[channel] = 90.0;   // too weak
    t.script = {CCIEXYZ(xyz[0], xyz[1], xyz[2])};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite), 1);
    const qint32 now[3] = {t.m_CurrentRedGain, t.m_CurrentGreenGain, t.m_CurrentBlueGain};
    // Past the proportional reversals a move is the minimum step.
    QCOMPARE(now[channel], held ? 200 : 201);
    QCOMPARE(t.m_InToleranceCount[channel], held ? 1 : 0);
}

void TestWhitePointControllers::reversalCountedBeforeTest()
{
    ControllerBench bench;
    ControllerThread &t = bench.thread;
    t.gains(200, 200, 200);
    t.SetupRGBAdjustmentParameters();
    t.m_ReversalCount[0] = 2;
    t.m_Direction[0] = -1;
    t.script = {CCIEXYZ(90.0, 100.0, 100.0)};
    QCOMPARE(t.AdjustGainsByRGBRatio(kTarget, 0.004, kFarWhite), 1);
    // The third reversal already goes without the proportional term.
    QCOMPARE(t.m_ReversalCount[0], 3);
    QCOMPARE(t.m_CurrentRedGain, 201);
    QCOMPARE(t.m_ProportionalGain[0], 59.765625 * 0.75);
}

void TestWhitePointControllers::luminancePhase_data()
{
    QTest::addColumn<int>("luminanceRegister");
    QTest::addColumn<double>("target");
    QTest::addColumn<bool>("autoLuminance");
    QTest::addColumn<QStringList>("tasks");
    // The brightness the phase leaves: 100 its maximum, 0, or -1 between.
    QTest::addColumn<int>("brightness");
    const QStringList secondPass{"4", "9", "4"};
    const QStringList darkest{"4", "9", "8", "9", "8", "9", "4"};
    // About 150 cd/m² at full brightness: below 1.1 x 140.
    QTest::newRow("within 10 % of the target") << 160 << 140.0 << false << secondPass << 100;
    // 240 cd/m², 48 at brightness 0.
    QTest::newRow("darkest white too bright") << 250 << 20.0 << false << darkest << 0;
    QTest::newRow("darkest white, auto-luminance")
        << 250 << 20.0 << true << QStringList{"4", "9", "8", "9", "8", "9"} << -1;
}

void TestWhitePointControllers::luminancePhase()
{
    QFETCH(int, luminanceRegister);
    QFETCH(double, target);
    QFETCH(bool, autoLuminance);
    QFETCH(QStringList, tasks);
    QFETCH(int, brightness);
    SimMonitorConfig config = SimMonitorConfig::gainMonitor();
    config.registerValues[0x2B3] = quint16(luminanceRegister);
    GainMonitorRig rig(true, config);
    rig.monitor->offersAutoLuminance = autoLuminance;
    ControllerThread thread;
    rig.attach(thread);
    thread.SetTargetValue(d65AtLevel(target));
    ThreadSignalLog log(thread);
    thread.task = setUpMeasureAndAdjust;
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_CALIBRATE));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    const QStringList started = log.argsOf("StartingTask").mid(2);
    QCOMPARE(started.mid(0, tasks.size()), tasks);
    QCOMPARE(started.last(), QStringLiteral("4"));
    if (brightness >= 0)
        QCOMPARE(thread.m_CurrentBrightness, brightness);
    else
        QVERIFY(thread.m_CurrentBrightness > 0 && thread.m_CurrentBrightness < 100);
    const CCIEYxy white = rig.whiteNow();
    QVERIFY2(std::fabs(white.Y - target) <= 1.0, qPrintable(QString::number(white.Y)));
}

void TestWhitePointControllers::controllerFailuresReported_data()
{
    QTest::addColumn<int>("gainAnswer");
    QTest::addColumn<int>("luminanceAnswer");
    QTest::addColumn<int>("result");
    const int writeFailed = CalibrateThread::kMonitorWriteFailed;
    QTest::newRow("gain writes") << writeFailed << 0 << int(CalibrateThread::kWhitePointNotConverged);
    QTest::newRow("gain target") << -1 << 0 << int(CalibrateThread::kWhitePointNotConverged);
    QTest::newRow("brightness writes") << 0 << writeFailed << int(CalibrateThread::kLuminanceNotConverged);
    // A controller that gives up leaves the rest to the second gain pass.
    QTest::newRow("brightness gives up") << 0 << int(CalibrateThread::kLuminanceNotConverged) << 0;
}

void TestWhitePointControllers::controllerFailuresReported()
{
    QFETCH(int, gainAnswer);
    QFETCH(int, luminanceAnswer);
    QFETCH(int, result);
    GainMonitorRig rig;
    ControllerThread thread;
    rig.attach(thread);
    thread.SetTargetValue(d65AtLevel(120.0));
    thread.gainStepAnswer = gainAnswer;
    thread.luminanceStepAnswer = luminanceAnswer;
    ThreadSignalLog log(thread);
    thread.task = setUpMeasureAndAdjust;
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_CALIBRATE));
    QCOMPARE(log.entries.last(), result == 0 ? QStringLiteral("CalibrationComplete()")
                                             : QStringLiteral("calibrationError(%1)").arg(result));
}

QTEST_MAIN(TestWhitePointControllers)
#include "tst_whitepointcontrollers.moc"
