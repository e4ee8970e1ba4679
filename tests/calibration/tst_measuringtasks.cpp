// The measuring tasks of a calibration, each run alone on the worker thread
// against the simulated HX monitor, and the small operations around them.

#include "CPreferences.h"
#include "CalibrateThread.h"
#include "CalibrationRig.h"
#include "PreferencesRegistry.h"

#include <QtTest>
#include <cmath>
#include <functional>

using namespace pz;
using namespace pz::test;

namespace {

// Runs one task as its operation 0 and reports its result like an operation.
class TaskThread : public CalibrateThread {
public:
    ~TaskThread() override { stopAndWait(); }
    std::function<int(TaskThread &)> task;
    void calibrate() override
    {
        const int result = task(*this);
        if (result != 0)
            handleError(result);
        else
            emit CalibrationComplete();
    }

    // Every counter of the controllers set to something.
    void dirtyCounters()
    {
        m_Iterations = 5;
        m_DDCFailures = 6;
        m_LimitingChannel = 2;
        for (int c = 0; c < 4; ++c) {
            m_InToleranceCount[c] = m_ReversalCount[c] = m_LimitHitCount[c] = 3 + c;
            m_Direction[c] = -1;
            m_ProportionalGain[c] = 1.5;
        }
        m_Readings.resize(2);
    }
    bool countersClear() const
    {
        bool clear = m_Iterations == 0 && m_DDCFailures == 0;
        for (int c = 0; c < 4; ++c)
            clear = clear && m_InToleranceCount[c] == 0 && m_ReversalCount[c] == 0
                    && m_LimitHitCount[c] == 0 && m_Direction[c] == 0;
        return clear;
    }
    bool restKept() const
    {
        return m_LimitingChannel == 2 && m_ProportionalGain[3] == 1.5 && m_Readings.size() == 2;
    }
};

CTargetValue target(int intensityType = CTargetValue::kIntensityLevel, int contrast = 0)
{
    CTargetValue t;
    t.CreateDefault();
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_IntensityType = intensityType;
    t.m_Intensity = 120.0;
    t.m_ContrastRatio = contrast;
    return t;
}

struct TaskBench {
    explicit TaskBench(int steps = 8, const CTargetValue &t = target())
    {
        preferences.SetCalibrationSteps(quint8(steps));
        thread = std::make_unique<TaskThread>();
        rig.attach(*thread);
        thread->SetTargetValue(t);
        log = std::make_unique<ThreadSignalLog>(*thread);
    }
    // The last entry of the run: "CalibrationComplete()" or the error.
    QString run(std::function<int(TaskThread &)> task)
    {
        thread->task = std::move(task);
        if (!CalibrationRig::runToEnd(*thread, *log, CalibrateThread::OPERATION_CALIBRATE))
            return QStringLiteral("did not end");
        return log->entries.last();
    }
    CColorValue &record() { return thread->m_AdjustValue.m_ColorValue; }

    CPreferences preferences;
    ScopedPreferences scope{&preferences};
    CalibrationRig rig;
    std::unique_ptr<TaskThread> thread;
    std::unique_ptr<ThreadSignalLog> log;
};

QStringList patchColours(const QVector<QColor> &shown)
{
    QStringList out;
    for (const QColor &c : shown)
        out.append(QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue()));
    return out;
}

} // namespace

class TestMeasuringTasks : public QObject {
    Q_OBJECT
private slots:
    void graphicsCardReset();
    void nativePrimaries_data();
    void nativePrimaries();
    void uncorrectedPrimaries();
    void uncorrectedCurves_data();
    void uncorrectedCurves();
    void correctedPrimariesWithoutCurves();
    void correctedCurvesThatCannotBeBuilt();
    void implausiblePatch_data();
    void implausiblePatch();
    void tasksWithoutSensor();
    void colourAdjustmentBrackets();
    void adjustmentCountersReset();
};

void TestMeasuringTasks::graphicsCardReset()
{
    TaskBench bench;
    SimGammaRamps &card = bench.rig.rig.desk.ramps();
    GammaRampTables dark = identityGammaRamp();
    for (float &v : dark.red)
        v *= 0.5f;
    QVERIFY(card.setRamp(CalibrationRig::kDisplay, dark));
    QSignalSpy steps(bench.thread.get(), &CalibrateThread::StepTaskCounter);

    QCOMPARE(bench.thread->ResetGraphicCardGammaTable(), 0);
    QCOMPARE(steps.count(), 1);
    for (int c = CColorValue::kCardRampRed; c <= CColorValue::kCardRampBlue; ++c) {
        const CSpline &curve = bench.record().m_Splines[c];
        QVERIFY(curve.IsValid());
        QCOMPARE(curve.GetNumberOfPoints(), 256);
        for (int i : {0, 51, 128, 255})
            QVERIFY(std::abs(curve.GetY(i) - i / 255.0) < 1e-9);
    }
    GammaRampTables now;
    QVERIFY(card.getRamp(CalibrationRig::kDisplay, now));
    for (int i : {0, 51, 128, 255})
        QVERIFY(std::abs(now.red[i] - i / 255.0) < 1e-6);

    // A card that refuses the ramp does not stop the run.
    card.setRefuses(CalibrationRig::kDisplay, true);
    QCOMPARE(bench.thread->ResetGraphicCardGammaTable(), 0);
    QCOMPARE(steps.count(), 2);
}

void TestMeasuringTasks::nativePrimaries_data()
{
    QTest::addColumn<bool>("measureBlack");
    QTest::addColumn<int>("intensityType");
    QTest::newRow("with black, luminance level") << true << int(CTargetValue::kIntensityLevel);
    QTest::newRow("without black, maximum") << false << int(CTargetValue::kIntensityMaximum);
}

void TestMeasuringTasks::nativePrimaries()
{
    QFETCH(bool, measureBlack);
    QFETCH(int, intensityType);
    TaskBench bench(8, target(intensityType));
    QCOMPARE(bench.run([measureBlack](TaskThread &t) {
        return t.MeasureNativePrimaries(measureBlack, true);
    }),
             QStringLiteral("CalibrationComplete()"));

    const CCIEXYZ *native = bench.record().m_NativePatches;
    const CCIEYxy white = native[CColorValue::kWhitePatch].GetCIEYxy();
    const QString whiteY = QString::number(white.Y, 'g', 6);
    QStringList expected{"ShowMeasurementAreaPatch(true)",
                         measureBlack ? "SetNumberOfSubtasks(5)" : "SetNumberOfSubtasks(4)",
                         "StartingTask(2)",
                         "StartingSubTask(1)", "SetMeasurementAreaPatchColor(255,0,0)",
                         "StepSubTaskCounter()", "StepSubTaskCounter()",
                         "StartingSubTask(2)", "SetMeasurementAreaPatchColor(0,255,0)",
                         "StepSubTaskCounter()",
                         "StartingSubTask(3)", "SetMeasurementAreaPatchColor(0,0,255)",
                         "StepSubTaskCounter()"};
    if (measureBlack)
        expected << "StartingSubTask(4)" << "SetMeasurementAreaPatchColor(0,0,0)"
                 << QStringLiteral("SetBlackLevelMeasuredValue(%1)")
                        .arg(native[CColorValue::kBlackPatch].Y, 0, 'g', 6)
                 << "StepSubTaskCounter()";
    expected << "StartingSubTask(5)" << "SetMeasurementAreaPatchColor(255,255,255)"
             << QStringLiteral("SetWhiteLevelTargetMinMax(0,%1)").arg(whiteY);
    if (intensityType == CTargetValue::kIntensityLevel)
        expected << "SetWhiteLevelTarget(120)" << "ShowWhiteLevelTarget(true)";
    expected << QStringLiteral("SetWhitePointMeasuredValue(%1,%2,%3)")
                    .arg(white.x, 0, 'g', 6)
                    .arg(white.y, 0, 'g', 6)
                    .arg(whiteY)
             << QStringLiteral("SetWhiteLevelMeasuredValue(%1)").arg(whiteY)
             << "StepSubTaskCounter()" << "CalibrationComplete()";
    QCOMPARE(bench.log->entries, expected);

    QCOMPARE(bench.rig.sensor.testedPatches(),
             (measureBlack ? QVector<int>{1, 2, 3, 4, 5} : QVector<int>{1, 2, 3, 5}));
    QVERIFY(native[CColorValue::kRedPatch].X > native[CColorValue::kRedPatch].Z);
    QVERIFY(native[CColorValue::kGreenPatch].Y > native[CColorValue::kGreenPatch].X);
    QVERIFY(native[CColorValue::kBluePatch].Z > native[CColorValue::kBluePatch].Y);
    QVERIFY(white.Y > 20.0);
    if (measureBlack)
        QVERIFY(native[CColorValue::kBlackPatch].Y > 0.0);
    else
        QCOMPARE(native[CColorValue::kBlackPatch].Y, 0.0);
}

void TestMeasuringTasks::uncorrectedPrimaries()
{
    TaskBench bench;
    QCOMPARE(bench.run([](TaskThread &t) { return t.MeasureUncorrectedPrimaries(true); }),
             QStringLiteral("CalibrationComplete()"));
    QStringList subTasks = bench.log->argsOf("StartingSubTask");
    QCOMPARE(subTasks, (QStringList{"1", "2", "3", "4", "5"}));
    QCOMPARE(patchColours(bench.rig.responder.shown()),
             (QStringList{"255,0,0", "0,255,0", "0,0,255", "0,0,0", "255,255,255"}));
    QCOMPARE(bench.log->argsOf("StartingTask"), QStringList{"3"});
    QCOMPARE(bench.log->argsOf("SetNumberOfSubtasks"), QStringList{"5"});
    QCOMPARE(bench.log->argsOf("StepSubTaskCounter").size(), 5);
    QCOMPARE(bench.rig.sensor.testedPatches(), (QVector<int>{1, 2, 3, 4, 5}));
    const CCIEXYZ *adjusted = bench.record().m_AdjustedPatches;
    QCOMPARE(bench.log->argsOf("SetBlackLevelMeasuredValue"),
             QStringList{QString::number(adjusted[CColorValue::kBlackPatch].Y, 'g', 6)});
    QCOMPARE(bench.log->argsOf("SetWhiteLevelMeasuredValue"),
             QStringList{QString::number(adjusted[CColorValue::kWhitePatch].Y, 'g', 6)});
    QVERIFY(adjusted[CColorValue::kWhitePatch].Y > adjusted[CColorValue::kBlackPatch].Y);
    QVERIFY(adjusted[CColorValue::kBluePatch].Z > adjusted[CColorValue::kBluePatch].X);
}

void TestMeasuringTasks::uncorrectedCurves_data()
{
    QTest::addColumn<int>("priority");
    QTest::addColumn<int>("contrast");
    QTest::addColumn<bool>("commonBlack");
    QTest::newRow("priority 1, monitor's contrast") << 1 << 0 << true;
    QTest::newRow("priority 1, contrast 300") << 1 << 300 << false;
    QTest::newRow("priority 0") << 0 << 0 << false;
}

void TestMeasuringTasks::uncorrectedCurves()
{
    QFETCH(int, priority);
    QFETCH(int, contrast);
    QFETCH(bool, commonBlack);
    TaskBench bench(8, target(CTargetValue::kIntensityLevel, contrast));
    bench.preferences.SetCalibrationPriority(quint8(priority));
    QCOMPARE(bench.run([](TaskThread &t) {
        const int status = t.MeasureUncorrectedPrimaries(true);
        return status != 0 ? status : t.MeasureUncorrectedCurves(true);
    }),
             QStringLiteral("CalibrationComplete()"));

    CColorValue &record = bench.record();
    QCOMPARE(record.m_UncorrectedGreySteps.size(), 8);
    QCOMPARE(record.m_AdjustedPatches[CColorValue::kBlackPatch].Y, record.m_UncorrectedGreySteps.first().Y);
    QCOMPARE(record.m_AdjustedPatches[CColorValue::kWhitePatch].Y, record.m_UncorrectedGreySteps.last().Y);
    QCOMPARE(bench.log->argsOf("SetNumberOfSubtasks"), (QStringList{"5", "8"}));
    QCOMPARE(bench.log->argsOf("StartingTask"), (QStringList{"3", "6"}));
    // Primaries, then the grey ramp tested as white above level 127 only.
    QCOMPARE(bench.rig.sensor.testedPatches(), (QVector<int>{1, 2, 3, 4, 5, 5, 5, 5, 5}));

    CColorValue same = record;
    CColorValue other = record;
    QCOMPARE(same.CalculateRGBMeasuredUnCorrectedSplines(commonBlack), 0);
    QCOMPARE(other.CalculateRGBMeasuredUnCorrectedSplines(!commonBlack), 0);
    bool differs = false;
    for (int c = 0; c < 6; ++c) {
        QVERIFY(record.m_Splines[c].IsValid());
        QVERIFY(record.m_Splines[c] == same.m_Splines[c]);
        differs = differs || record.m_Splines[c] != other.m_Splines[c];
    }
    QVERIFY(differs);
}

void TestMeasuringTasks::correctedPrimariesWithoutCurves()
{
    TaskBench bench;
    QCOMPARE(bench.run([](TaskThread &t) { return t.MeasureCorrectedPrimaries(false, true); }),
             QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.log->names().mid(0, 3),
             (QStringList{"SetNumberOfSubtasks", "ShowMeasurementAreaPatch", "StartingTask"}));
    QCOMPARE(bench.log->argsOf("SetNumberOfSubtasks"), QStringList{"5"});
    QCOMPARE(bench.log->argsOf("StartingTask"), QStringList{"5"});
    QCOMPARE(bench.log->argsOf("StartingSubTask"), (QStringList{"1", "2", "3", "4", "5"}));
    // White is read with two measurements.
    QCOMPARE(bench.rig.sensor.measureCounts(), (QVector<unsigned>{1, 1, 1, 1, 2}));
    QCOMPARE(bench.rig.sensor.testedPatches(), (QVector<int>{1, 2, 3, 4, 5}));
    const CColorValue &record = bench.record();
    QVERIFY(record.m_FinalGreySteps.isEmpty());
    QVERIFY(record.m_FinalPatches[CColorValue::kWhitePatch].Y > 20.0);
    QVERIFY(!record.m_Splines[CColorValue::kCorrectedRed].IsValid());
}

void TestMeasuringTasks::correctedCurvesThatCannotBeBuilt()
{
    TaskBench bench;
    bench.rig.sensor.acceptEverything(true);
    bench.rig.sensors.light().liftOff();   // a ramp without any response
    QCOMPARE(bench.run([](TaskThread &t) { return t.MeasureCorrectedPrimaries(true, true); }),
             QStringLiteral("calibrationError(-1014)"));
    QCOMPARE(bench.record().m_FinalGreySteps.size(), 8);
}

void TestMeasuringTasks::implausiblePatch_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("patchesShown");
    QTest::newRow("native green") << 0 << 2 << 2;
    QTest::newRow("native white") << 0 << 5 << 5;
    QTest::newRow("adjusted black") << 1 << 4 << 4;
    QTest::newRow("final blue") << 2 << 3 << 3;
    QTest::newRow("final grey") << 2 << 5 << 3 + 5;   // level 146 of 8
}

void TestMeasuringTasks::implausiblePatch()
{
    QFETCH(int, task);
    QFETCH(int, refused);
    QFETCH(int, patchesShown);
    TaskBench bench;
    bench.rig.sensor.refusePatch(refused);
    QCOMPARE(bench.run([task](TaskThread &t) {
        switch (task) {
        case 0:
            return t.MeasureNativePrimaries(true, true);
        case 1:
            return t.MeasureUncorrectedPrimaries(true);
        default:
            return t.MeasureCorrectedPrimaries(true, true);
        }
    }),
             QStringLiteral("calibrationError(-1004)"));
    // The run stops on the refused patch.
    QCOMPARE(bench.rig.responder.shown().size(), patchesShown);
    QCOMPARE(bench.rig.sensor.testedPatches().last(), refused);
}

void TestMeasuringTasks::tasksWithoutSensor()
{
    CalibrateThread thread;
    QCOMPARE(thread.MeasureNativePrimaries(true, true), CalibrateThread::kNoSensor);
    QCOMPARE(thread.MeasureUncorrectedPrimaries(true), CalibrateThread::kNoSensor);
    QCOMPARE(thread.MeasureCorrectedPrimaries(true, true), CalibrateThread::kNoSensor);
}

void TestMeasuringTasks::colourAdjustmentBrackets()
{
    CalibrateThread without;
    QCOMPARE(without.BeginColorAdjustment(), CalibrateThread::kNoMonitor);
    QCOMPARE(without.EndColorAdjustment(), CalibrateThread::kNoMonitor);

    CalibrationRig rig;
    CalibrateThread thread;
    rig.attach(thread);
    QCOMPARE(thread.BeginColorAdjustment(), rig.display.m_pDDCMonitor->BeginColorAdjustment());
    QCOMPARE(thread.EndColorAdjustment(), rig.display.m_pDDCMonitor->EndColorAdjustment());
    rig.sim->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
    const int silent = rig.display.m_pDDCMonitor->EndColorAdjustment();
    QCOMPARE(thread.EndColorAdjustment(), silent);
}

void TestMeasuringTasks::adjustmentCountersReset()
{
    TaskThread thread;
    thread.dirtyCounters();
    thread.ResetAdjustmentCounters();
    QVERIFY(thread.countersClear());
    QVERIFY(thread.restKept());
}

QTEST_MAIN(TestMeasuringTasks)
#include "tst_measuringtasks.moc"
