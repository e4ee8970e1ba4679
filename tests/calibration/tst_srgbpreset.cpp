// The sRGB preset calibration on the simulated gain monitor: its set-up, the
// brightness-only luminance phase and the run around them.

#include "CalibrateThread_sRGB_Preset.h"
#include "GainMonitorRig.h"

#include <QtTest>
#include <cmath>

using namespace pz;
using namespace pz::test;

namespace {

CTargetValue srgbTarget(int intensityType, double luminance)
{
    CTargetValue t;
    t.CreateDefault();
    t.m_WhitePoint = CColorTemperature(_CIExy{0.3127, 0.3290});
    t.m_IntensityType = intensityType;
    t.m_Intensity = luminance;
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_Gamma = 2.2;
    t.m_ColorGamutType = CTargetValue::kGamutSRGB;
    return t;
}

class SrgbThread : public CalibrateThread_sRGB_Preset {
public:
    ~SrgbThread() override { stopAndWait(); }
    int AdjustLuminanceToTarget(double target, int useContrast, double tolerance) override
    {
        ++controllerSteps;
        if (controllerGivesUp)
            return kLuminanceNotConverged;
        return CalibrateThread_sRGB_Preset::AdjustLuminanceToTarget(target, useContrast, tolerance);
    }
    bool controllerGivesUp = false;
    int controllerSteps = 0;
};

struct SrgbBench {
    explicit SrgbBench(const CTargetValue &target, bool withMonitor = true) : rig(withMonitor)
    {
        rig.preferences.SetICCAfterCalibration(false);
        rig.attach(thread);
        thread.SetTargetValue(target);
        log = std::make_unique<ThreadSignalLog>(thread);
    }
    bool run() { return CalibrationRig::runToEnd(thread, *log, CalibrateThread::OPERATION_CALIBRATE); }
    QString last() const { return log->entries.last(); }
    // The native white at full brightness, as the run will measure it.
    double nativeWhite()
    {
        const quint16 before = rig.sim->registerValue(0x10);
        rig.sim->setRegister(0x10, 100);
        const double Y = rig.whiteNow().Y;
        rig.sim->setRegister(0x10, before);
        return Y;
    }
    int readings() const { return rig.sensor.measureCounts().size(); }

    GainMonitorRig rig;
    SrgbThread thread;
    std::unique_ptr<ThreadSignalLog> log;
};

// First white, five native patches, five final patches.
constexpr int kRunReadings = 11;

} // namespace

class TestSrgbPreset : public QObject {
    Q_OBJECT
private slots:
    void maximumLuminanceAdjustsNothing();
    void targetAboveNativeWhite_data();
    void targetAboveNativeWhite();
    void nativeWhiteJustAboveTarget();
    void brightnessZeroStillTooBright();
    void brightnessReachesTarget();
    void controllerGivingUpCompletes();
    void cancelledInLuminancePhase();
    void withoutMonitorObject();
};

void TestSrgbPreset::maximumLuminanceAdjustsNothing()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityMaximum, 0.0));
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.rig.sim->registerValue(0x10), quint16(100));
    QCOMPARE(bench.rig.sim->registerValue(0x12), quint16(50));
    QVERIFY(!bench.log->argsOf("StartingTask").contains("9"));
    QCOMPARE(bench.readings(), kRunReadings);
    // The set-up's settling wait is plain: no countdown, whole.
    QVERIFY(bench.log->argsOf("SleepTime").isEmpty());
    QVERIFY(bench.rig.rig.clock.waitsMs().contains(4000));
    // Nine sub-tasks announced, five completed by the set-up.
    QCOMPARE(bench.log->argsOf("SetNumberOfSubtasks").first(), QStringLiteral("9"));
    const CAdjustValue &result = bench.thread.m_AdjustValue;
    QVERIFY(result.m_IsValid);
    QCOMPARE(result.m_Brightness, quint16(100));
    QCOMPARE(result.m_Contrast, quint16(50));
    QVERIFY(result.m_ColorValue.m_TargetCurve.IsValid());
    QVERIFY(!result.m_ColorValue.m_Splines[CColorValue::kCorrectionRed].IsValid());
    // No table, no gamma mode: the monitor's own sRGB mode does the work.
    for (const QByteArray &r : bench.rig.sim->requests())
        QVERIFY(!r.startsWith(QByteArray("\xC2\x05", 2)));
}

void TestSrgbPreset::targetAboveNativeWhite_data()
{
    QTest::addColumn<bool>("offered");
    QTest::newRow("without auto-luminance") << false;
    QTest::newRow("with auto-luminance") << true;
}

void TestSrgbPreset::targetAboveNativeWhite()
{
    QFETCH(bool, offered);
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 400.0));
    bench.rig.monitor->offersAutoLuminance = offered;
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.rig.sim->registerValue(0x10), quint16(100));
    QCOMPARE(bench.rig.monitor->autoLuminanceModes, offered ? (QVector<int>{3, 2}) : QVector<int>{});
    QCOMPARE(int(bench.thread.m_AdjustValue.m_AutoLuminanceState), offered ? 1 : 0);
    QCOMPARE(bench.readings(), kRunReadings);
}

void TestSrgbPreset::nativeWhiteJustAboveTarget()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 0.0));
    const double N = bench.nativeWhite();
    CTargetValue target = srgbTarget(CTargetValue::kIntensityLevel, N / 1.05);
    bench.thread.SetTargetValue(target);
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.readings(), kRunReadings);
    QCOMPARE(bench.thread.controllerSteps, 0);
    QCOMPARE(bench.rig.sim->registerValue(0x10), quint16(100));
    QCOMPARE(int(bench.thread.m_AdjustValue.m_AutoLuminanceState), 1);
}

void TestSrgbPreset::brightnessZeroStillTooBright()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 20.0));
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.rig.sim->registerValue(0x10), quint16(0));
    QCOMPARE(bench.thread.m_AdjustValue.m_Brightness, quint16(0));
    QCOMPARE(bench.readings(), kRunReadings + 1);
    QCOMPARE(bench.thread.controllerSteps, 0);
}

void TestSrgbPreset::brightnessReachesTarget()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 120.0));
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QVERIFY(bench.thread.controllerSteps > 0);
    const double Y = bench.thread.m_AdjustValue.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].Y;
    // One brightness step moves the white by about 2 cd/m².
    QVERIFY2(std::fabs(Y - 120.0) <= 2.0, qPrintable(QString::number(Y)));
    QCOMPARE(int(bench.thread.m_AdjustValue.m_Brightness), int(bench.rig.sim->registerValue(0x10)));
}

void TestSrgbPreset::controllerGivingUpCompletes()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 120.0));
    bench.thread.controllerGivesUp = true;
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("CalibrationComplete()"));
    QCOMPARE(bench.thread.controllerSteps, 1);
    QVERIFY(bench.thread.m_AdjustValue.m_IsValid);
}

void TestSrgbPreset::cancelledInLuminancePhase()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 120.0));
    QObject::connect(&bench.thread, &CalibrateThread::StartingTask, &bench.thread,
                     [&](int task) {
                         if (task == CalibrateThread::TASK_WAITING_TO_STABILIZE)
                             bench.thread.stop();
                     },
                     Qt::DirectConnection);
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("calibrationError(-1005)"));
    QVERIFY(bench.thread.m_MonitorConfigured);
    QCOMPARE(bench.thread.controllerSteps, 0);
}

void TestSrgbPreset::withoutMonitorObject()
{
    SrgbBench bench(srgbTarget(CTargetValue::kIntensityLevel, 120.0), false);
    GammaRampTables dark = identityGammaRamp();
    for (float &v : dark.red)
        v *= 0.5f;
    QVERIFY(bench.rig.rig.desk.ramps().setRamp(GainMonitorRig::kDisplay, dark));
    QVERIFY(bench.run());
    QCOMPARE(bench.last(), QStringLiteral("calibrationError(-1001)"));
    QVERIFY(!bench.thread.m_MonitorConfigured);
    GammaRampTables now;
    QVERIFY(bench.rig.rig.desk.ramps().getRamp(GainMonitorRig::kDisplay, now));
    QCOMPARE(now.red, dark.red);
}

QTEST_MAIN(TestSrgbPreset)
#include "tst_srgbpreset.moc"
