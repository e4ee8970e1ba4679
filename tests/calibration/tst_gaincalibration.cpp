// A whole calibration on the simulated gain monitor through its LCDT4 series
// object: white point and luminance through gains and brightness, the grey
// ramp, the correction table in the monitor, and the runs that skip parts.

#include "CColorCalcUtils.h"
#include "CalibrateThread.h"
#include "GainMonitorRig.h"

#include <QtTest>
#include <cmath>
#include <functional>

using namespace pz;
using namespace pz::test;

namespace {

CTargetValue d65Target(double luminance = 120.0)
{
    CTargetValue t;
    t.CreateDefault();
    t.m_WhitePoint = CColorTemperature(_CIExy{0.3127, 0.3290});
    t.m_IntensityType = CTargetValue::kIntensityLevel;
    t.m_Intensity = luminance;
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_Gamma = 2.2;
    t.m_ContrastRatio = 0;
    return t;
}

CTargetValue nativeTarget()
{
    CTargetValue t = d65Target();
    t.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(0));
    t.m_GammaCurveType = CTargetValue::kCurveNative;
    return t;
}

// A calibration thread whose operation 0 can be replaced by a task, with
// the members the tests look at.
class RunThread : public CalibrateThread {
public:
    ~RunThread() override { stopAndWait(); }
    std::function<int(RunThread &)> task;
    void calibrate() override
    {
        if (!task)
            return CalibrateThread::calibrate();
        const int result = task(*this);
        if (result != 0)
            handleError(result);
        else
            emit CalibrationComplete();
    }
    using CalibrateThread::m_CurrentContrast;
    using CalibrateThread::m_MaxContrast;
};

struct Bench {
    explicit Bench(const CTargetValue &t = d65Target(), bool withMonitor = true)
        : rig(withMonitor), target(t)
    {
        thread = std::make_unique<RunThread>();
        rig.attach(*thread);
        thread->SetTargetValue(target);
        log = std::make_unique<ThreadSignalLog>(*thread);
    }
    bool run(unsigned operation = CalibrateThread::OPERATION_CALIBRATE)
    {
        log->entries.clear();
        return CalibrationRig::runToEnd(*thread, *log, operation);
    }
    QString last() const { return log->entries.isEmpty() ? QString() : log->entries.last(); }
    // Mean grey-tracking ΔE2000 of a validation of the display as it is now
    // (a thread of its own: a validation keeps its shorter ramp), or -1.
    double validatedGreyDeltaE()
    {
        RunThread validation;
        rig.attach(validation);
        validation.SetTargetValue(target);
        ThreadSignalLog validationLog(validation);
        if (!CalibrationRig::runToEnd(validation, validationLog, CalibrateThread::OPERATION_VALIDATE)
            || validationLog.entries.last() != QLatin1String("CalibrationComplete()"))
            return -1.0;
        CColorCalcUtils utils;
        QList<delta_e_point> points;
        if (utils.CalculateAllDeltaEResults(&validation.m_AdjustValue.m_ColorValue, &target, points,
                                            0.0)
            != 0)
            return -1.0;
        delta_e_max_avg_results figures{};
        utils.CalculateAvgMaxValues(points, figures);
        return figures.avgDeltaE2000;
    }

    GainMonitorRig rig;
    CTargetValue target;
    std::unique_ptr<RunThread> thread;
    std::unique_ptr<ThreadSignalLog> log;
};

// Index of the first request at or after `from` that starts with `prefix`.
int indexOf(const QVector<QByteArray> &requests, const QByteArray &prefix, int from = 0)
{
    for (int i = from; i < requests.size(); ++i)
        if (requests[i].startsWith(prefix))
            return i;
    return -1;
}

int lastIndexOf(const QVector<QByteArray> &requests, const QByteArray &prefix)
{
    for (int i = requests.size() - 1; i >= 0; --i)
        if (requests[i].startsWith(prefix))
            return i;
    return -1;
}

} // namespace

class TestGainCalibration : public QObject {
    Q_OBJECT
private slots:
    void reachesTheTarget();
    void nativeTargetSkipsAdjustmentAndTable();
    void withoutProfileMeasuresFivePatches();
    void linearTableStep_data();
    void linearTableStep();
    void unreadableContrast();
    void cancelledWhileSettingUp();
    void withoutMonitorObject();
};

void TestGainCalibration::reachesTheTarget()
{
    Bench bench;
    const double uncalibrated = bench.validatedGreyDeltaE();
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    const CAdjustValue &result = bench.thread->m_AdjustValue;
    QVERIFY(result.m_IsValid);
    QVERIFY(result.m_IsCalibrationOn);
    QVERIFY(result.m_CalibrationDateTime.isValid());
    QCOMPARE(result.m_MonitorName, QStringLiteral("LCDSIM21"));
    QCOMPARE(result.m_SensorModelName, bench.rig.sensor.GetModelName());
    QVERIFY(!result.m_SensorModelName.isEmpty());
    QCOMPARE(bench.log->argsOf("SetNumberOfTasks"), QStringList{"17"});
    // The tasks that count their own steps make one more than announced.
    QCOMPARE(bench.log->argsOf("StepTaskCounter").size(), 18);
    // Set-up: the programmable table reset (two steps) and 18 of its own.
    QCOMPARE(bench.log->argsOf("SetNumberOfSubtasks").first(), QStringLiteral("20"));
    // The white after the luminance phase: brightness below its maximum,
    // gains below theirs.
    QVERIFY(result.m_Brightness < 100);
    QVERIFY(result.m_RedGain <= 255 && result.m_BlueGain <= 255);

    // The final white, measured through the loaded table.
    const CCIEYxy white = result.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].GetCIEYxy();
    QVERIFY2(std::fabs(white.x - 0.3127) <= 0.002 && std::fabs(white.y - 0.3290) <= 0.002,
             qPrintable(QStringLiteral("x %1 y %2").arg(white.x).arg(white.y)));
    QVERIFY2(std::fabs(white.Y - 120.0) <= 1.0, qPrintable(QString::number(white.Y)));
    QCOMPARE(result.m_ColorValue.m_FinalGreySteps.size(), 32);

    // The table in the monitor is the one the recorded curves give.
    std::vector<uint> expected;
    CAdjustValue copy = result;
    QCOMPARE(bench.rig.monitor->CalculateCorrectionLUT(&copy, &bench.target, expected), 0);
    QCOMPARE(int(expected.size()), 768);
    QCOMPARE(bench.rig.gammaMemory(), QVector<uint>(expected.begin(), expected.end()));

    // Written, verified, refreshed, stored, then the settings saved.
    const QVector<QByteArray> requests = bench.rig.sim->requests();
    const int written = lastIndexOf(requests, QByteArray("\xC2\x05", 2));
    QVERIFY(written >= 0);
    const int verified = indexOf(requests, QByteArray("\xC2\x04", 2), written);
    const int refreshed = indexOf(requests, QByteArray("\xC2\x06", 2), written);
    const int stored = indexOf(requests, QByteArray("\xC2\x07", 2), refreshed);
    const int saved = indexOf(requests, QByteArray("\x0C", 1), stored);
    QVERIFY(verified > written);
    QVERIFY(refreshed > verified);
    QVERIFY(stored > refreshed);
    QVERIFY(saved > stored);

    // Grey tracking of the calibrated display, against the display as found.
    const double after = bench.validatedGreyDeltaE();
    QVERIFY2(after >= 0.0 && after <= 1.5, qPrintable(QString::number(after)));
    QVERIFY2(after <= uncalibrated / 3.0, qPrintable(QStringLiteral("%1 %2").arg(after).arg(uncalibrated)));
}

void TestGainCalibration::nativeTargetSkipsAdjustmentAndTable()
{
    Bench bench(nativeTarget());
    GammaRampTables dark = identityGammaRamp();
    for (float &v : dark.blue)
        v *= 0.5f;
    QVERIFY(bench.rig.rig.desk.ramps().setRamp(GainMonitorRig::kDisplay, dark));
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.log->argsOf("SetNumberOfTasks"), QStringList{"14"});
    QCOMPARE(bench.log->argsOf("StepTaskCounter").size(), 11);
    const QStringList tasks = bench.log->argsOf("StartingTask");
    QVERIFY(!tasks.contains("4"));
    QVERIFY(!tasks.contains("6"));
    QVERIFY(!tasks.contains("7"));
    const CColorValue &record = bench.thread->m_AdjustValue.m_ColorValue;
    for (int p = 0; p < CColorValue::kPatchCount; ++p)
        QCOMPARE(record.m_AdjustedPatches[p].Y, record.m_NativePatches[p].Y);
    QVERIFY(!record.m_TargetCurve.IsValid());
    QVERIFY(!record.m_Splines[CColorValue::kCorrectionRed].IsValid());
    QVERIFY(record.m_UncorrectedGreySteps.isEmpty());
    const QVector<QByteArray> requests = bench.rig.sim->requests();
    QCOMPARE(lastIndexOf(requests, QByteArray("\xC2\x05", 2)), -1);
    QVERIFY(lastIndexOf(requests, QByteArray("\x0C", 1)) >= 0);
    QCOMPARE(record.m_FinalGreySteps.size(), 32);
    // The card ramp was reset to the identity.
    GammaRampTables now;
    QVERIFY(bench.rig.rig.desk.ramps().getRamp(GainMonitorRig::kDisplay, now));
    QVERIFY(std::fabs(now.blue[255] - 1.0f) < 1e-6);
}

void TestGainCalibration::withoutProfileMeasuresFivePatches()
{
    Bench bench;
    bench.rig.preferences.SetICCAfterCalibration(false);
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    const QVector<unsigned> counts = bench.rig.sensor.measureCounts();
    QCOMPARE(counts.mid(counts.size() - 5), (QVector<unsigned>{1, 1, 1, 1, 2}));
    QVERIFY(bench.thread->m_AdjustValue.m_ColorValue.m_FinalGreySteps.isEmpty());
    QCOMPARE(bench.log->argsOf("StartingSubTask").mid(bench.log->argsOf("StartingSubTask").size() - 5),
             (QStringList{"1", "2", "3", "4", "5"}));
}

void TestGainCalibration::linearTableStep_data()
{
    QTest::addColumn<bool>("gainTableMode");
    QTest::newRow("monitor always uses its tables") << false;
    QTest::newRow("gain-table mode of the adjustment") << true;
}

void TestGainCalibration::linearTableStep()
{
    QFETCH(bool, gainTableMode);
    Bench bench;
    GainSeriesMonitor &monitor = *bench.rig.monitor;
    monitor.alwaysUsesLUTs = true;
    monitor.offersAutoLuminance = gainTableMode;
    monitor.linearTablesForAutoLuminance = gainTableMode;
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    // Once, after the adjustment or before the correction, never twice.
    QCOMPARE(monitor.linearTablesFromGains, 1);
    QCOMPARE(int(bench.thread->m_AdjustValue.m_RGBGainOperationMode), gainTableMode ? 1 : 0);
    const QStringList tasks = bench.log->argsOf("StartingTask");
    const QStringList subtasks = bench.log->argsOf("SetNumberOfSubtasks");
    QVERIFY(tasks.contains("7"));
    QVERIFY(subtasks.contains("55"));   // 768 / 16 + 7
    // In gain-table mode the set-up loads a linear table itself.
    QCOMPARE(subtasks.first(), gainTableMode ? QStringLiteral("71") : QStringLiteral("20"));
}

void TestGainCalibration::unreadableContrast()
{
    SimMonitorConfig config = SimMonitorConfig::gainMonitor();
    config.unsupportedCodes.insert(0x12);
    GainMonitorRig rig(true, config);
    RunThread thread;
    rig.attach(thread);
    thread.SetTargetValue(d65Target());
    ThreadSignalLog log(thread);
    thread.task = [](RunThread &t) { return t.SetupMonitorForCalibration(); };
    rig.sim->clearLog();
    QVERIFY(CalibrationRig::runToEnd(thread, log, CalibrateThread::OPERATION_CALIBRATE));
    QCOMPARE(log.entries.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(thread.m_CurrentContrast, 0);
    for (const QByteArray &r : rig.sim->requests())
        QVERIFY(!r.startsWith(QByteArray("\xC8\x00\x12", 3)));
}

void TestGainCalibration::cancelledWhileSettingUp()
{
    Bench bench;
    bool stopped = false;
    // The first timed wait of a calibration is the set-up's stabilisation.
    QObject::connect(bench.thread.get(), &CalibrateThread::SleepTime, bench.thread.get(),
                     [&] {
                         if (!stopped) {
                             stopped = true;
                             bench.thread->stop();
                         }
                     },
                     Qt::DirectConnection);
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("calibrationError(-1005)"));
    QVERIFY(bench.thread->m_MonitorConfigured);
    QCOMPARE(bench.log->argsOf("StartingTask"), QStringList{"1"});
}

void TestGainCalibration::withoutMonitorObject()
{
    Bench bench(d65Target(), false);
    GammaRampTables dark = identityGammaRamp();
    for (float &v : dark.green)
        v *= 0.5f;
    QVERIFY(bench.rig.rig.desk.ramps().setRamp(GainMonitorRig::kDisplay, dark));
    bench.rig.sim->clearLog();
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("calibrationError(-1001)"));
    QVERIFY(!bench.thread->m_MonitorConfigured);
    GammaRampTables now;
    QVERIFY(bench.rig.rig.desk.ramps().getRamp(GainMonitorRig::kDisplay, now));
    QCOMPARE(now.green, dark.green);
    QVERIFY(bench.rig.sim->requests().isEmpty());
}

QTEST_MAIN(TestGainCalibration)
#include "tst_gaincalibration.moc"
