// The HX series calibration: its register arithmetic, and whole runs on the
// simulated HX monitor with the simulated i1 Display Pro and the headless
// patch responder, on the virtual clock.

#include "CDDCMonitor.h"
#include "CPreferences.h"
#include "CalibrateThread_HXSeries.h"
#include "CalibrationRig.h"
#include "CheckRestoreMonitorSettingsThread.h"
#include "PreferencesRegistry.h"

#include <QtTest>
#include <cmath>
#include <functional>
#include <utility>

using namespace pz;
using namespace pz::test;

namespace {

// An HXSIM24 left in another state than any target here asks for, so every
// entry of the set-up batch is written.
SimMonitorConfig movedMonitor()
{
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    const QPair<quint16, quint16> moved[] = {{0x2B3, 90},   {0x1054, 5},   {0x14, 2},
                                             {0x1052, 300}, {0x1053, 310}, {0x268, 6},
                                             {0x2E8, 220}};
    for (const auto &r : moved)
        config.registerValues[r.first] = r.second;
    return config;
}

// The Set VCP writes, plain and paged, in the monitor's request log, in
// order, as (page << 8 | code, value).
QVector<QPair<int, uint>> vcpWrites(const SimOrvaneMonitor &sim)
{
    QVector<QPair<int, uint>> writes;
    for (const QByteArray &r : sim.requests()) {
        const auto byte = [&r](int i) { return uint(quint8(r[i])); };
        if (r.size() == 5 && byte(0) == 0xC8)
            writes.append({int(byte(1) << 8 | byte(2)), byte(3) << 8 | byte(4)});
        else if (r.size() == 4 && byte(0) == 0x03)
            writes.append({int(byte(1)), byte(2) << 8 | byte(3)});
    }
    return writes;
}

// Every well-formed request the monitor received, with the program-clock
// time it arrived.
QVector<QPair<QByteArray, qint64>> timedRequests(const SimOrvaneMonitor &sim)
{
    QVector<QPair<QByteArray, qint64>> out;
    for (const SimFrame &f : sim.frames()) {
        if ((f.address & 0xFE) != 0x6E || f.bytes.size() < 3)
            continue;
        const int n = quint8(f.bytes.at(1)) & 0x7F;
        if (quint8(f.bytes.at(0)) == 0x51 && f.bytes.size() == n + 3)
            out.append({f.bytes.mid(2, n), f.timeUs});
    }
    return out;
}

QVector<uint> valuesWritten(const SimOrvaneMonitor &sim, int code)
{
    QVector<uint> out;
    for (const auto &w : vcpWrites(sim))
        if (w.first == code)
            out.append(w.second);
    return out;
}

// A calibration bench: preferences of a profile calibration with 32 steps,
// the rig, and a thread on it.
struct HXBench {
    explicit HXBench(const CTargetValue &target = standardTarget(),
                     const SimMonitorConfig &config = movedMonitor(), bool overUsbBridge = false)
        : rig(true, config, overUsbBridge)
    {
        preferences.SetCalibrationSteps(32);
        preferences.SetICCAfterCalibration(true);
        thread = std::make_unique<CalibrateThread_HXSeries>();
        rig.attach(*thread);
        thread->SetTargetValue(target);
        log = std::make_unique<ThreadSignalLog>(*thread);
    }
    QString run(unsigned operation = CalibrateThread::OPERATION_CALIBRATE)
    {
        if (!CalibrationRig::runToEnd(*thread, *log, operation))
            return QStringLiteral("did not end");
        QCoreApplication::processEvents();
        return log->entries.last();
    }
    const CAdjustValue &result() const { return thread->m_AdjustValue; }
    // A new thread for the target, taking the preferences as they are now.
    void renewThread(const CTargetValue &target)
    {
        log.reset();
        thread = std::make_unique<CalibrateThread_HXSeries>();
        rig.attach(*thread);
        thread->SetTargetValue(target);
        log = std::make_unique<ThreadSignalLog>(*thread);
    }

    CPreferences preferences;
    ScopedPreferences scope{&preferences};
    CalibrationRig rig;
    std::unique_ptr<CalibrateThread_HXSeries> thread;
    std::unique_ptr<ThreadSignalLog> log;
};

// Runs one controller step (or anything else) as the operation, with the
// controller state open to the test.
class StepThread : public CalibrateThread_HXSeries {
public:
    ~StepThread() override { stopAndWait(); }
    std::function<int(StepThread &)> task;
    int result = 0;
    void calibrate() override
    {
        result = task(*this);
        emit CalibrationComplete();
    }
    using CalibrateThread_HXSeries::m_CurrentBrightness;
    using CalibrateThread_HXSeries::m_InToleranceCount;
    using CalibrateThread_HXSeries::m_Iterations;
    using CalibrateThread_HXSeries::m_LimitHitCount;
    using CalibrateThread_HXSeries::m_MaxBrightness;
    using CalibrateThread_HXSeries::m_ProportionalGain;
};

// The readings of a white of chromaticity (x, y) and luminance Y, as the
// device gives them: two per measurement.
QVector<SimXYZ> readingsOf(double x, double y, double Y, int measurements = 1)
{
    const SimXYZ xyz{x / y * Y, Y, (1.0 - x - y) / y * Y};
    return QVector<SimXYZ>(2 * measurements, xyz);
}

// A controller bench: the rig with a thread whose state the test sets.
struct StepBench {
    explicit StepBench(const SimMonitorConfig &config = SimMonitorConfig::hxsim24())
        : rig(true, config)
    {
        rig.attach(thread);
        thread.SetTargetValue(standardTarget());
        log = std::make_unique<ThreadSignalLog>(thread);
    }
    int run(std::function<int(StepThread &)> task)
    {
        thread.task = std::move(task);
        rig.sim->clearLog();
        rig.rig.clock.clearWaits();
        if (!CalibrationRig::runToEnd(thread, *log, CalibrateThread::OPERATION_CALIBRATE))
            return -9999;
        return thread.result;
    }
    int whiteStep() { return run([](StepThread &t) { return t.AdjustWhitePointxy({0.3127, 0.3290}, 0.0005); }); }
    int luminanceStep() { return run([](StepThread &t) { return t.AdjustLuminanceToTarget(120.0, 0.75); }); }

    CalibrationRig rig;
    StepThread thread;
    std::unique_ptr<ThreadSignalLog> log;
};

// k = 1 cd/m² per step, the luminance register at 120.
SimMonitorConfig unitStepMonitor(double maxLuminance = 350.0)
{
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.light.luminancePerStep = 1.0;
    config.light.maxLuminance = maxLuminance;
    config.registerValues[0x2B3] = 120;
    return config;
}

} // namespace

class TestHXCalibration : public QObject {
    Q_OBJECT
private slots:
    void whiteRegisters_data();
    void whiteRegisters();
    void gammaRegister_data();
    void gammaRegister();
    void blackLevelRegister_data();
    void blackLevelRegister();
    void extraSettle_data();
    void extraSettle();
    void whiteStep_data();
    void whiteStep();

    void whiteLoopSteps();
    void whiteLoopConfirmsInsideTheWindow();
    void whiteLoopStopsWhenRegistersStay();
    void whiteLoopGivesUpAfter99Steps();
    void stopDuringTheConfirmation();
    void readingsWithoutLight_data();
    void readingsWithoutLight();
    void luminanceSteps_data();
    void luminanceSteps();
    void luminanceLimitedByADrive();
    void luminanceGivesUpAfterFiveLimitHits();

    void calibratesEndToEnd_data();
    void calibratesEndToEnd();
    void maximumLuminance();
    void slowPanelWaitsLonger_data();
    void slowPanelWaitsLonger();
    void firstReadingFloor_data();
    void firstReadingFloor();
    void cancelInTheWhiteLoop();
    void luminanceOutOfReachStillCompletes();
    void extraSettleOnlyWhenPreferred_data();
    void extraSettleOnlyWhenPreferred();
    void secondPassWhenTheWhiteDrifts();
    void customCurveGoesIntoTheCurveMemory_data();
    void customCurveGoesIntoTheCurveMemory();
    void variants_data();
    void variants();
    void zeroLuminanceWritesNothing();
    void failures_data();
    void failures();
    void restoreOfAStillSilentMonitor();
    void failedReadBackStoresNothing();
    void storedSettingsAfterACalibration();
};

// ---- register arithmetic --------------------------------------------------------

void TestHXCalibration::whiteRegisters_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<uint>("X");
    QTest::addColumn<uint>("Y");
    QTest::newRow("D65") << 0.3127 << 0.3290 << 313u << 329u;
    QTest::newRow("D50") << 0.3457 << 0.3585 << 346u << 359u;
    QTest::newRow("clamped") << -0.2 << 1.7 << 0u << 1000u;
}

void TestHXCalibration::whiteRegisters()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QTEST(CalibrateThread_HXSeries::WhiteRegister(x), "X");
    QTEST(CalibrateThread_HXSeries::WhiteRegister(y), "Y");
}

void TestHXCalibration::gammaRegister_data()
{
    QTest::addColumn<double>("gamma");
    QTest::addColumn<uint>("reg");
    const double gammas[] = {1.0, 1.8, 2.2, 2.25, 2.35, 2.4, 3.0};
    const uint regs[] = {50, 130, 170, 180, 190, 190, 250};
    for (int i = 0; i < 7; ++i)
        QTest::addRow("%g", gammas[i]) << gammas[i] << regs[i];
}

void TestHXCalibration::gammaRegister()
{
    QFETCH(double, gamma);
    QTEST(CalibrateThread_HXSeries::GammaRegister(gamma), "reg");
}

void TestHXCalibration::blackLevelRegister_data()
{
    QTest::addColumn<double>("luminance");
    QTest::addColumn<int>("ratio");
    QTest::addColumn<uint>("reg");
    QTest::newRow("120 1000") << 120.0 << 1000 << 1u;
    QTest::newRow("120 500") << 120.0 << 500 << 2u;
    QTest::newRow("120 300") << 120.0 << 300 << 4u;
    QTest::newRow("400 1000") << 400.0 << 1000 << 4u;
    QTest::newRow("80 2000") << 80.0 << 2000 << 0u;
    QTest::newRow("CR 0") << 120.0 << 0 << 0u;
    QTest::newRow("negative ratio") << 120.0 << -50 << 0u;
    QTest::newRow("huge") << 1e9 << 1 << 65535u;
}

void TestHXCalibration::blackLevelRegister()
{
    QFETCH(double, luminance);
    QFETCH(int, ratio);
    QTEST(CalibrateThread_HXSeries::BlackLevelRegister(luminance, ratio), "reg");
}

void TestHXCalibration::extraSettle_data()
{
    QTest::addColumn<double>("target");
    QTest::addColumn<uint>("current");
    QTest::addColumn<int>("seconds");
    QTest::newRow("120 400") << 120.0 << 400u << 40;
    QTest::newRow("120 250") << 120.0 << 250u << 20;
    QTest::newRow("120 240") << 120.0 << 240u << 20;
    QTest::newRow("120 239") << 120.0 << 239u << 0;
    QTest::newRow("120 160") << 120.0 << 160u << 0;
    QTest::newRow("10 400") << 10.0 << 400u << 120;
}

void TestHXCalibration::extraSettle()
{
    QFETCH(double, target);
    QFETCH(uint, current);
    QTEST(CalibrateThread_HXSeries::ExtraSettleSeconds(target, current), "seconds");
}

void TestHXCalibration::whiteStep_data()
{
    QTest::addColumn<double>("d");
    QTest::addColumn<uint>("reg");
    QTest::newRow("+0.0012") << 0.0012 << 311u;
    QTest::newRow("-0.0012") << -0.0012 << 314u;
    QTest::newRow("+0.0006") << 0.0006 << 311u;
    QTest::newRow("-0.0006") << -0.0006 << 314u;
}

void TestHXCalibration::whiteStep()
{
    QFETCH(double, d);
    QTEST(CalibrateThread_HXSeries::WhiteStep(313, d), "reg");
}

// ---- controllers ------------------------------------------------------------------

void TestHXCalibration::whiteLoopSteps()
{
    StepBench bench;
    bench.thread.m_WhiteXRegister = 313;
    bench.thread.m_WhiteYRegister = 329;
    bench.rig.device().scriptReadings(readingsOf(0.3127 + 0.0012, 0.3290 - 0.0012, 120.0));
    QCOMPARE(bench.whiteStep(), 1);
    QCOMPARE(bench.thread.m_WhiteXRegister, 311u);
    QCOMPARE(bench.thread.m_WhiteYRegister, 330u);
    QCOMPARE(valuesWritten(*bench.rig.sim, 0x1052), QVector<uint>{311});
    QCOMPARE(valuesWritten(*bench.rig.sim, 0x1053), QVector<uint>{330});
    QCOMPARE(bench.thread.m_XDirection, 1);
    QCOMPARE(bench.thread.m_YDirection, -1);
    QCOMPARE(bench.thread.m_Iterations, 1);
    QVERIFY(!bench.log->names().contains(QStringLiteral("SleepTime")));
}

void TestHXCalibration::whiteLoopConfirmsInsideTheWindow()
{
    StepBench bench;
    bench.thread.m_WhiteXRegister = 313;
    bench.thread.m_WhiteYRegister = 329;
    bench.rig.device().scriptReadings(readingsOf(0.3127 + 0.0004, 0.3290 - 0.0004, 120.0, 2));
    QCOMPARE(bench.whiteStep(), 0);
    QCOMPARE(bench.log->argsOf("SleepTime"),
             (QStringList{"8000", "7000", "6000", "5000", "4000", "3000", "2000", "1000"}));
    QVERIFY(vcpWrites(*bench.rig.sim).isEmpty());
    QCOMPARE(bench.thread.m_Iterations, 0);
    // Both readings reached the window.
    QCOMPARE(bench.log->argsOf("SetWhitePointMeasuredValue").size(), 2);
}

void TestHXCalibration::whiteLoopStopsWhenRegistersStay()
{
    StepBench bench;
    bench.thread.m_WhiteXRegister = 313;
    bench.thread.m_WhiteYRegister = 329;
    // Both channels have given up: the registers stay, the white stays off.
    bench.thread.m_XReversals = bench.thread.m_YReversals = 6;
    bench.rig.device().scriptReadings(readingsOf(0.3160, 0.3260, 120.0, 3));
    QCOMPARE(bench.whiteStep(), 1);
    QCOMPARE(bench.whiteStep(), 1);
    QCOMPARE(bench.whiteStep(), 0);
    QCOMPARE(bench.thread.m_XUnchangedCount, 3);
    QVERIFY(vcpWrites(*bench.rig.sim).isEmpty());
}

void TestHXCalibration::whiteLoopGivesUpAfter99Steps()
{
    StepBench bench;
    bench.thread.m_WhiteXRegister = 313;
    bench.thread.m_WhiteYRegister = 329;
    bench.thread.m_Iterations = 98;
    bench.rig.device().scriptReadings(readingsOf(0.3160, 0.3260, 120.0, 2));
    QCOMPARE(bench.whiteStep(), 1);   // the 99th
    QCOMPARE(bench.whiteStep(), CalibrateThread::kWhitePointNotConverged);
}

void TestHXCalibration::stopDuringTheConfirmation()
{
    StepBench bench;
    bench.thread.m_WhiteXRegister = 313;
    bench.thread.m_WhiteYRegister = 329;
    bench.rig.device().scriptReadings(readingsOf(0.3127, 0.3290, 120.0, 2));
    connect(&bench.thread, &CalibrateThread::SleepTime, &bench.thread,
            [&bench](int) { bench.thread.stop(); }, Qt::DirectConnection);
    QCOMPARE(bench.whiteStep(), CalibrateThread::kCancelled);
    // Cancelled after the first second of the wait, before a second reading.
    QCOMPARE(bench.log->argsOf("SleepTime"), QStringList{"8000"});
    QCOMPARE(bench.rig.rig.clock.waitsMs().last(), 1000);
    QCOMPARE(bench.log->argsOf("SetWhitePointMeasuredValue").size(), 1);
}

void TestHXCalibration::readingsWithoutLight_data()
{
    QTest::addColumn<bool>("luminanceLoop");
    QTest::addColumn<double>("Y");
    QTest::newRow("white loop, black") << false << 0.0;
    QTest::newRow("white loop, negative") << false << -0.2;
    QTest::newRow("luminance loop, black") << true << 0.0;
}

void TestHXCalibration::readingsWithoutLight()
{
    QFETCH(bool, luminanceLoop);
    QFETCH(double, Y);
    StepBench bench(unitStepMonitor());
    bench.thread.m_WhiteXRegister = 313;
    bench.thread.m_WhiteYRegister = 329;
    bench.thread.m_CurrentBrightness = 120;
    bench.thread.m_MaxBrightness = 400;
    bench.thread.m_ProportionalGain[3] = 1.0;
    // A sensor off the screen: no light, so no chromaticity either (as many
    // readings as low-light averaging takes).
    bench.rig.device().scriptReadings(QVector<SimXYZ>(16, SimXYZ{0.0, Y, 0.0}));
    QCOMPARE(luminanceLoop ? bench.luminanceStep() : bench.whiteStep(),
             CalibrateThread::kImplausibleReading);
    QVERIFY(vcpWrites(*bench.rig.sim).isEmpty());
    QVERIFY(bench.log->argsOf("SetWhitePointMeasuredValue").isEmpty());
}

void TestHXCalibration::luminanceSteps_data()
{
    QTest::addColumn<double>("Y");
    QTest::addColumn<QVector<uint>>("written");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("sleeps");
    const QStringList stabilise{"4000", "3000", "2000", "1000"};
    QTest::newRow("110: +10") << 110.0 << QVector<uint>{130} << 1 << stabilise;
    QTest::newRow("118.9: +1") << 118.9 << QVector<uint>{121} << 1 << stabilise;
    QTest::newRow("119.5: in tolerance") << 119.5 << QVector<uint>{} << 1 << stabilise;
    QTest::newRow("150: -30") << 150.0 << QVector<uint>{90} << 1 << QStringList{};
    QTest::newRow("96: no wait at 0.8 T") << 96.0 << QVector<uint>{144} << 1 << QStringList{};
    QTest::newRow("300: floor") << 300.0 << QVector<uint>{40} << 1 << QStringList{};
}

void TestHXCalibration::luminanceSteps()
{
    QFETCH(double, Y);
    QFETCH(QVector<uint>, written);
    StepBench bench(unitStepMonitor());
    bench.thread.m_CurrentBrightness = 120;
    bench.thread.m_MaxBrightness = 400;
    bench.thread.m_LuminanceFloor = 40;
    bench.thread.m_ProportionalGain[3] = 1.0;
    bench.rig.device().scriptReadings(readingsOf(0.3127, 0.3290, Y));
    QTEST(bench.luminanceStep(), "result");
    QCOMPARE(valuesWritten(*bench.rig.sim, 0x2B3), written);
    QTEST(bench.log->argsOf("SleepTime"), "sleeps");
    QCOMPARE(bench.thread.m_LimitHitCount[3], Y == 300.0 ? 1 : 0);
    QCOMPARE(bench.thread.m_InToleranceCount[3], Y == 119.5 ? 1 : 0);
}

void TestHXCalibration::luminanceLimitedByADrive()
{
    // The panel gives 100 cd/m² at most: at 120 a channel drive stands at
    // its maximum and the monitor says 100 is what it can give.
    StepBench bench(unitStepMonitor(100.0));
    QCOMPARE(uint(bench.rig.sim->registerValue(0x27E)) == 1023
                 || bench.rig.sim->registerValue(0x27F) == 1023
                 || bench.rig.sim->registerValue(0x280) == 1023,
             true);
    bench.thread.m_CurrentBrightness = 120;
    bench.thread.m_MaxBrightness = 400;
    bench.thread.m_LuminanceFloor = 40;
    bench.thread.m_ProportionalGain[3] = 1.0;
    bench.rig.device().scriptReadings(readingsOf(0.3127, 0.3290, 99.0));
    QCOMPARE(bench.luminanceStep(), 1);
    QCOMPARE(valuesWritten(*bench.rig.sim, 0x2B3), QVector<uint>{100});
    QCOMPARE(bench.thread.m_LimitHitCount[3], 1);
}

void TestHXCalibration::luminanceGivesUpAfterFiveLimitHits()
{
    StepBench bench(unitStepMonitor(100.0));
    bench.thread.m_CurrentBrightness = 120;
    bench.thread.m_MaxBrightness = 400;
    bench.thread.m_ProportionalGain[3] = 1.0;
    bench.thread.m_LimitHitCount[3] = 4;
    bench.rig.device().scriptReadings(readingsOf(0.3127, 0.3290, 99.0));
    QCOMPARE(bench.luminanceStep(), CalibrateThread::kLuminanceNotConverged);
    QCOMPARE(bench.thread.m_LimitHitCount[3], 5);
}

// ---- whole runs -------------------------------------------------------------------

void TestHXCalibration::calibratesEndToEnd_data()
{
    QTest::addColumn<bool>("overUsbBridge");
    QTest::newRow("I2C") << false;
    QTest::newRow("USB bridge") << true;
}

void TestHXCalibration::calibratesEndToEnd()
{
    QFETCH(bool, overUsbBridge);
    HXBench bench(standardTarget(), movedMonitor(), overUsbBridge);
    QVERIFY(bench.rig.display.m_pDDCMonitor);
    QCOMPARE(bench.rig.display.m_pDDCMonitor->GetIsUSBConnection(), overUsbBridge);
    SimOrvaneMonitor &sim = *bench.rig.sim;
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.log->entries.first(), QStringLiteral("SetNumberOfTasks(13)"));
    QCOMPARE(bench.log->entries.count(QStringLiteral("CalibrationComplete()")), 1);
    QVERIFY(!bench.log->names().contains(QStringLiteral("calibrationError")));

    // The white the final measurement found.
    const CAdjustValue &result = bench.result();
    const CCIEYxy white =
        result.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].GetCIEYxy();
    QVERIFY2(std::abs(white.x - 0.3127) <= 0.0005, qPrintable(QString::number(white.x)));
    QVERIFY2(std::abs(white.y - 0.3290) <= 0.0005, qPrintable(QString::number(white.y)));
    QVERIFY2(std::abs(white.Y - 120.0) <= 0.75, qPrintable(QString::number(white.Y)));

    // What the record keeps of the monitor's engine.
    const int codes[] = {0x1055, 0x1056, 0x1057, 0x1058, 0x1059, 0x105A, 0x1052, 0x1053};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(result.m_MonitorSpecificValues[i]), int(sim.registerValue(quint16(codes[i]))));
    QCOMPARE(int(result.m_MonitorSpecificValues[8]), 0);   // black level, CR 0
    QCOMPARE(int(result.m_MonitorSpecificValues[9]), int(sim.registerValue(0x242)));
    QCOMPARE(int(result.m_MonitorSpecificValues[10]), int(sim.registerValue(0x1068)));
    QCOMPARE(result.m_ColorValue.m_EDIDRed.GetCIExy().x, sim.registerValue(0x1055) / 1000.0);
    QCOMPARE(result.m_Brightness, quint16(sim.registerValue(0x2B3)));
    QVERIFY(result.m_IsValid);
    QVERIFY(result.m_IsCalibrationOn);
    QVERIFY(result.m_CalibrationDateTime.isValid());
    QVERIFY(bench.thread->m_MonitorConfigured);
    // "PZR" padded; the monitor keeps 13 characters of it.
    QCOMPARE(sim.pictureModeName(3), QByteArray("PZR          "));
    // The grey ramp of the profile.
    QCOMPARE(result.m_ColorValue.m_FinalGreySteps.size(), 32);

    // The set-up batch, in order, after the monitor's own preparation.
    const QVector<QPair<int, uint>> writes = vcpWrites(sim);
    const int start = writes.indexOf({0x1067, 3});
    QVERIFY(start > 0);
    const QVector<QPair<int, uint>> setup{{0x1067, 3},   {0x2B3, 120},  {0x1054, 0},
                                          {0x14, 11},    {0x1052, 313}, {0x1053, 329},
                                          {0x268, 9},    {0x2E8, 170}};
    QCOMPARE(writes.mid(start, setup.size()), setup);
    // Each write of the batch is followed by the wait its register needs
    // before the next request goes out.
    const QVector<QPair<QByteArray, qint64>> timed = timedRequests(sim);
    const qint64 settleMs[] = {0, 1000, 2000, 2000, 0, 0, 2000, 2000};
    int found = 0;
    for (int i = 0; i + 1 < timed.size() && found < setup.size(); ++i) {
        const QByteArray &r = timed[i].first;
        const bool paged = r.size() == 5 && quint8(r[0]) == 0xC8;
        const bool plain = r.size() == 4 && quint8(r[0]) == 0x03;
        if (!paged && !plain)
            continue;
        const int code = paged ? (quint8(r[1]) << 8 | quint8(r[2])) : quint8(r[1]);
        if (found == 0 && code != 0x1067)
            continue;
        QCOMPARE(code, setup[found].first);
        const qint64 gapMs = (timed[i + 1].second - timed[i].second) / 1000;
        QVERIFY2(gapMs >= settleMs[found] && gapMs < settleMs[found] + 200,
                 qPrintable(QStringLiteral("0x%1: %2 ms").arg(code, 0, 16).arg(gapMs)));
        ++found;
    }
    QCOMPARE(found, setup.size());
    // Then the contrast to its maximum and the start of the engine.
    QCOMPARE(writes.at(start + setup.size() + 1), (QPair<int, uint>(0x1067, 1)));
}

void TestHXCalibration::maximumLuminance()
{
    CTargetValue target = standardTarget();
    target.m_IntensityType = CTargetValue::kIntensityMaximum;
    HXBench bench(target);
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    // 400 first, then what the monitor says it can give: 350 / 0.96.
    const uint attainable = bench.rig.sim->registerValue(0x2B4);
    QCOMPARE(attainable, 364u);
    QCOMPARE(valuesWritten(*bench.rig.sim, 0x2B3), (QVector<uint>{400, attainable}));
    QCOMPARE(bench.result().m_Brightness, quint16(attainable));
    QVERIFY(bench.log->argsOf("SleepTime").contains(QStringLiteral("10000")));
}

void TestHXCalibration::luminanceOutOfReachStillCompletes()
{
    // A panel that gives 100 cd/m² at most: the luminance controller keeps
    // hitting the limit and gives up, and the calibration goes on.
    SimMonitorConfig config = movedMonitor();
    config.light.maxLuminance = 100.0;
    HXBench bench(standardTarget(), config);
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    const CCIEYxy white =
        bench.result().m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].GetCIEYxy();
    QVERIFY2(white.Y < 101.0, qPrintable(QString::number(white.Y)));
    QVERIFY(bench.result().m_IsValid);
}

void TestHXCalibration::slowPanelWaitsLonger_data()
{
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QString>("wait");
    QTest::newRow("plain") << false << "SleepTime(16000)";
    QTest::newRow("extended stabilisation: six times") << true << "SleepTime(96000)";
}

void TestHXCalibration::slowPanelWaitsLonger()
{
    QFETCH(bool, extended);
    QFETCH(QString, wait);
    // No internal luminance sensor: the panel's own stabilisation time.
    CTargetValue target = standardTarget();
    target.m_Intensity = 80.0;
    HXBench bench(target, SimMonitorConfig::hx520r());
    bench.preferences.SetUseExtendedLuminanceStabilizationTime(extended ? 1 : 0);
    bench.renewThread(target);
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    // Every wait to stabilise in the luminance phase starts at 16 s (4 s on
    // a panel with its own luminance sensor).
    const QStringList &entries = bench.log->entries;
    int waits = 0;
    for (int i = int(entries.indexOf(QStringLiteral("StartingTask(9)"))); i >= 0 && i + 1 < entries.size(); ++i) {
        if (entries[i] == QLatin1String("StartingTask(8)")) {
            QCOMPARE(entries[i + 1], wait);
            ++waits;
        }
    }
    QVERIFY(waits > 0);
}

void TestHXCalibration::firstReadingFloor_data()
{
    QTest::addColumn<double>("Y");
    QTest::newRow("9.9 cd/m²") << 9.9;
    QTest::newRow("no number") << std::nan("");
}

void TestHXCalibration::firstReadingFloor()
{
    QFETCH(double, Y);
    HXBench bench;
    // As many readings as the sensor's low-light averaging takes.
    bench.rig.device().scriptReadings(QVector<SimXYZ>(16, SimXYZ{0.95 * Y, Y, 1.08 * Y}));
    bench.rig.sim->clearLog();
    QCOMPARE(bench.run(), QStringLiteral("calibrationError(-1004)"));
    QCOMPARE(bench.rig.sensor.measureCounts().size(), 1);
    QVERIFY(vcpWrites(*bench.rig.sim).isEmpty());
    QVERIFY(!bench.thread->m_MonitorConfigured);
}

void TestHXCalibration::cancelInTheWhiteLoop()
{
    HXBench bench;
    CalibrateThread_HXSeries &t = *bench.thread;
    // Cancelled as the first white-point step begins: the run ends as a
    // cancellation, not as a white point that did not converge.
    connect(&t, &CalibrateThread::SetWhitePointTargetxy, &t, [&t] { t.stop(); },
            Qt::DirectConnection);
    QCOMPARE(bench.run(), QStringLiteral("calibrationError(-1005)"));
    QVERIFY(!bench.log->entries.contains(QStringLiteral("StartingTask(9)")));
}

void TestHXCalibration::extraSettleOnlyWhenPreferred_data()
{
    QTest::addColumn<bool>("extended");
    QTest::newRow("plain") << false;
    QTest::newRow("extended stabilisation") << true;
}

void TestHXCalibration::extraSettleOnlyWhenPreferred()
{
    QFETCH(bool, extended);
    // The luminance register stands at 400 for a target of 120: 40 s more.
    SimMonitorConfig config = movedMonitor();
    config.registerValues[0x2B3] = 400;
    HXBench bench(standardTarget(), config);
    bench.preferences.SetUseExtendedLuminanceStabilizationTime(extended ? 1 : 0);
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.thread->m_ExtraSettleSeconds, 40);
    const QStringList &entries = bench.log->entries;
    const int white = entries.indexOf(QStringLiteral("StartingTask(4)"));
    QVERIFY(white >= 0);
    const QStringList settle{"StartingTask(8)", "SleepTime(40000)"};
    // After the white patch, before the white-point loop.
    QCOMPARE(entries.at(white + 2), QStringLiteral("SetMeasurementAreaPatchColor(255,255,255)"));
    QCOMPARE(entries.mid(white + 3, 2) == settle, extended);
}

void TestHXCalibration::secondPassWhenTheWhiteDrifts()
{
    HXBench bench;
    SimOrvaneMonitor &sim = *bench.rig.sim;
    // The panel drifts after the first save: the final white lands 0.003
    // off, which takes a second pass.
    int measurements = 0;
    connect(bench.thread.get(), &CalibrateThread::StartingTask, bench.thread.get(),
            [&sim, &measurements](int task) {
                if (task == CalibrateThread::TASK_MEASURING_CORRECTED_PRIMARIES && ++measurements == 1) {
                    SimChromaticity bias = sim.config().light.whiteBias;
                    bias.x += 0.003;
                    sim.setWhiteBias(bias);
                }
            },
            Qt::DirectConnection);
    sim.clearLog();
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.log->entries.count(QStringLiteral("StartingTask(4)")), 2);
    QCOMPARE(measurements, 2);
    int saves = 0;
    for (const QByteArray &r : sim.requests())
        saves += quint8(r.at(0)) == 0x0C ? 1 : 0;
    QCOMPARE(saves, 2);
    const CCIEYxy white =
        bench.result().m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].GetCIEYxy();
    QVERIFY(std::abs(white.x - 0.3127) <= 0.0005);
    QVERIFY(std::abs(white.y - 0.3290) <= 0.0005);
}

void TestHXCalibration::customCurveGoesIntoTheCurveMemory_data()
{
    QTest::addColumn<int>("inputSource");
    QTest::addColumn<int>("chunks");
    QTest::newRow("DVI") << 3 << 96;
    QTest::newRow("DisplayPort") << 15 << 384;   // smaller chunks
}

void TestHXCalibration::customCurveGoesIntoTheCurveMemory()
{
    QFETCH(int, inputSource);
    CTargetValue target = standardTarget();
    target.m_GammaCurveType = CTargetValue::kCurveCustom;
    target.m_CustomCurveType = CTargetValue::kCustomCurve;
    target.m_CustomCurve.InitSpline(SPLINE_CATMULL_ROM, 32, 0.0, 1.0);
    target.m_CustomCurve.SetSplineGamma(2.0);
    target.m_CustomCurve.SetValid(true);
    SimMonitorConfig config = movedMonitor();
    config.registerValues[0x60] = quint16(inputSource);
    HXBench bench(target, config);
    SimOrvaneMonitor &sim = *bench.rig.sim;
    sim.clearLog();
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(sim.registerValue(0x268), quint16(6));
    QVERIFY(bench.log->entries.contains(QStringLiteral("StartingTask(7)")));

    int chunks = 0;
    for (const QByteArray &r : sim.requests())
        chunks += r.size() > 2 && quint8(r[0]) == 0xC2 && quint8(r[1]) == 0x0B ? 1 : 0;
    QTEST(chunks, "chunks");
    // The curve memory holds the table made from the target's curve.
    std::vector<uint> table;
    const CSpline &curve = target.m_CustomCurve;
    QCOMPARE(bench.rig.display.m_pDDCMonitor->CalculateTargetGammaTable(curve, curve, curve, table), 0);
    const QVector<quint16> memory = sim.curveMemory();   // channels at 0x000, 0x400, 0x800
    QCOMPARE(table.size(), size_t(3 * 256));
    QCOMPARE(memory.size(), 3 * 0x400);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i)
            QCOMPARE(uint(memory[c * 0x400 + i]), table[size_t(c * 256 + i)]);
}

void TestHXCalibration::variants_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("code");
    QTest::addColumn<QVector<uint>>("written");
    QTest::addColumn<int>("absentCode");
    QTest::addColumn<uint>("finalValue");
    QTest::newRow("native white") << 0 << 0x14 << QVector<uint>{} << 0x1052 << 2u;
    QTest::newRow("CR 1000") << 1 << 0x1054 << QVector<uint>{1} << -1 << 1u;
    QTest::newRow("DICOM") << 2 << 0x268 << QVector<uint>{5} << 0x2E8 << 5u;
    QTest::newRow("sRGB curve") << 3 << 0x268 << QVector<uint>{11} << 0x2E8 << 11u;
    QTest::newRow("L* curve") << 4 << 0x268 << QVector<uint>{12} << 0x2E8 << 12u;
}

void TestHXCalibration::variants()
{
    QFETCH(int, variant);
    QFETCH(int, code);
    QFETCH(QVector<uint>, written);
    QFETCH(int, absentCode);
    CTargetValue target = standardTarget();
    switch (variant) {
    case 0:
        target.m_WhitePoint = CColorTemperature(quint16(0));
        target.m_WhitePoint.m_Native = true;
        break;
    case 1:
        target.m_ContrastRatio = 1000;
        break;
    case 2:
        target.m_GammaCurveType = CTargetValue::kCurveDICOM;
        break;
    default:
        target.m_GammaCurveType = CTargetValue::kCurveCustom;
        target.m_CustomCurveType =
            variant == 3 ? CTargetValue::kCustomSRGB : CTargetValue::kCustomLStar;
        break;
    }
    HXBench bench(target);
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(valuesWritten(*bench.rig.sim, code), written);
    QTEST(uint(bench.rig.sim->registerValue(quint16(code))), "finalValue");
    if (absentCode >= 0)
        QVERIFY(valuesWritten(*bench.rig.sim, absentCode).isEmpty());
}

void TestHXCalibration::zeroLuminanceWritesNothing()
{
    CTargetValue target = standardTarget();
    target.m_Intensity = 0.0;
    HXBench bench(target);
    bench.rig.sim->clearLog();
    QCOMPARE(bench.run(), QStringLiteral("calibrationError(-1)"));
    QVERIFY(vcpWrites(*bench.rig.sim).isEmpty());
}

// Where in the run a fault strikes, and what it is.
enum FaultMoment { AtStart, InWhiteLoop, InLuminanceLoop, InGreyRamp };
enum FaultKind { Unplug, MonitorSilent, LuminanceWriteRefused, LuminanceReadRefused,
                 FloorReadRefused };

void TestHXCalibration::failures_data()
{
    QTest::addColumn<int>("moment");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::newRow("sensor lost in the white loop") << int(InWhiteLoop) << int(Unplug) << -1011;
    QTest::newRow("sensor lost in the luminance loop") << int(InLuminanceLoop) << int(Unplug) << -1003;
    QTest::newRow("sensor lost in the grey ramp") << int(InGreyRamp) << int(Unplug) << -1003;
    QTest::newRow("monitor silent in set-up") << int(AtStart) << int(MonitorSilent) << -12;
    QTest::newRow("monitor silent in the white loop") << int(InWhiteLoop) << int(MonitorSilent) << -1011;
    QTest::newRow("luminance write refused")
        << int(InLuminanceLoop) << int(LuminanceWriteRefused) << -1023;
    // The registers the luminance loop starts from cannot be read.
    QTest::newRow("luminance read refused")
        << int(InLuminanceLoop) << int(LuminanceReadRefused) << -1011;
    QTest::newRow("luminance floor read refused")
        << int(InLuminanceLoop) << int(FloorReadRefused) << -1011;
}

void TestHXCalibration::failures()
{
    QFETCH(int, moment);
    QFETCH(int, kind);
    QFETCH(int, code);
    HXBench bench;
    CalibrationRig &rig = bench.rig;
    bool struck = false;
    auto strike = [&rig, &struck, kind] {
        if (std::exchange(struck, true))
            return;
        if (kind == Unplug)   // in the middle of the next reading
            rig.device().faults().loseAfterUs(500000);
        else if (kind == MonitorSilent)
            rig.sim->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
        else if (kind == LuminanceWriteRefused)
            rig.sim->addFault({SimFaultKind::NakWrite, 0xC8, 0x2B3, 100000});
        else
            rig.sim->addFault({SimFaultKind::NakRead, 0xC6,
                               kind == LuminanceReadRefused ? 0x2B3 : 0x106F, 100000});
    };
    // In the worker, so the fault is in place before its next step.
    CalibrateThread_HXSeries &t = *bench.thread;
    if (moment == AtStart)
        strike();
    else if (moment == InWhiteLoop)
        connect(&t, &CalibrateThread::SetWhitePointTargetxy, &t, strike, Qt::DirectConnection);
    else if (moment == InLuminanceLoop)
        connect(&t, &CalibrateThread::StartingTask, &t,
                [strike](int task) { if (task == CalibrateThread::TASK_ADJUSTING_LUMINANCE) strike(); },
                Qt::DirectConnection);
    else
        connect(&t, &CalibrateThread::StartingSubTask, &t,
                [strike](int sub) { if (sub == CalibrateThread::SUBTASK_GREY_RAMP) strike(); },
                Qt::DirectConnection);
    rig.sim->clearLog();

    QCOMPARE(bench.run(), QStringLiteral("calibrationError(%1)").arg(code));
    QCOMPARE(bench.log->entries.count(QStringLiteral("CalibrationComplete()")), 0);
    const CAdjustValue &result = bench.result();
    QVERIFY(!result.m_IsValid);
    QVERIFY(!result.m_IsCalibrationOn);
    QVERIFY(t.m_MonitorConfigured);
    if (moment == InLuminanceLoop || moment == InWhiteLoop) {
        // Nothing saved with an unchecked white or luminance.
        for (const QByteArray &r : rig.sim->requests())
            QVERIFY(quint8(r.at(0)) != 0x0C);
    }
    if (moment == InGreyRamp) {
        const CColorValue &record = result.m_ColorValue;
        for (int p : {CColorValue::kRedPatch, CColorValue::kGreenPatch, CColorValue::kBluePatch})
            QVERIFY(record.m_FinalPatches[p].Y > 0.0);
        QVERIFY(record.m_FinalGreySteps.isEmpty());
    }

    // The window then puts the monitor back, answering again.
    rig.sim->clearFaults();
    bench.log->entries.clear();
    QCOMPARE(bench.run(CalibrateThread::OPERATION_RESTORE_MONITOR),
             QStringLiteral("CalibrationComplete()"));
    QCOMPARE(t.m_RestoreResult, 0);
    QCOMPARE(int(rig.sim->registerValue(0x2B3)), 160);
    QCOMPARE(int(rig.sim->registerValue(0x1052)), 313);
}

void TestHXCalibration::restoreOfAStillSilentMonitor()
{
    HXBench bench;
    bench.rig.sim->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    QCOMPARE(bench.run(), QStringLiteral("calibrationError(-12)"));
    bench.log->entries.clear();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Restoring the monitor.*-12"));
    QCOMPARE(bench.run(CalibrateThread::OPERATION_RESTORE_MONITOR),
             QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.thread->m_RestoreResult, -12);
}

void TestHXCalibration::failedReadBackStoresNothing()
{
    SimMonitorConfig config = movedMonitor();
    config.unsupportedCodes.insert(0x242);
    HXBench bench(standardTarget(), config);
    const QString end = bench.run();
    QVERIFY2(end.startsWith(QLatin1String("calibrationError(")), qPrintable(end));
    QVERIFY(end != QLatin1String("calibrationError(0)"));
    const CAdjustValue &result = bench.result();
    QVERIFY(!result.m_IsValid);
    QVERIFY(!result.m_IsCalibrationOn);
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10})
        QCOMPARE(int(result.m_MonitorSpecificValues[i]), 0);
}

void TestHXCalibration::storedSettingsAfterACalibration()
{
    HXBench bench;
    QCOMPARE(bench.run(), QStringLiteral("CalibrationComplete()"));
    CTargetValue target = standardTarget();
    CAdjustValue stored = bench.result();
    auto verify = [&](unsigned mode) {
        CheckRestoreMonitorSettingsThread check;
        check.SetObjects(&bench.rig.display, &target, &stored);
        QSignalSpy finished(&check, &CheckRestoreMonitorSettingsThread::Finished);
        check.begin(mode);
        check.wait();
        QCoreApplication::processEvents();
        return finished.size() == 1 ? finished.at(0).at(0).toInt() : -9999;
    };
    QCOMPARE(verify(CheckRestoreMonitorSettingsThread::MODE_VERIFY), 1);
    bench.rig.sim->setRegister(0x2B3, quint16(bench.rig.sim->registerValue(0x2B3) + 7));
    QCOMPARE(verify(CheckRestoreMonitorSettingsThread::MODE_VERIFY), 0);
    QCOMPARE(verify(CheckRestoreMonitorSettingsThread::MODE_RESTORE), 0);
    QCOMPARE(verify(CheckRestoreMonitorSettingsThread::MODE_VERIFY), 1);
}

QTEST_MAIN(TestHXCalibration)
#include "tst_hxcalibration.moc"
