// Calibrates the simulated HX monitor (HXSIM24 on its I2C bus) with the
// simulated i1 Display Pro, prepared as the calibration flow prepares it,
// and the headless patch responder on the virtual clock: the HX calibration
// (operation 0), then a validation (operation 3) on the same display. Target:
// D65, the luminance asked for (120 cd/m² unless told), gamma 2.2, contrast
// ratio 0, native gamut, 32 steps, a profile measurement after calibrating.
//
// It prints the simulated minutes per task and in total, the sensor calls
// (Measure) and physical readings (device readings), the DDC/CI requests of
// the calibration, the reached white's Δx, Δy and luminance error, and the
// validation grey ΔE2000 mean and maximum. It exits with 1 when a target is
// missed: white within ±0.0005 in x and y and ±0.75 cd/m²; grey ΔE2000 mean
// at most 0.5 and maximum at most 1.5.
//
//   bench_hx_calibration [--noise] [--bias-x 0.003] [--bias-y -0.002]
//                        [--per-step 0.96] [--luminance 120] [--reading-time 3]

#include "CDDCMonitor.h"
#include "CEyeOneDisplay3Sensor.h"
#include "CMonAPIDummy.h"
#include "CMultiMonitor.h"
#include "CPreferences.h"
#include "CTargetDisplay.h"
#include "CColorCalcUtils.h"
#include "CalibrateThread.h"
#include "CalibrateThread_HXSeries.h"
#include "Clock.h"
#include "PreferencesRegistry.h"
#include "SimDesktop.h"
#include "SimFixedScreen.h"
#include "SimPatchResponder.h"
#include "SimSensors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMap>

#include <atomic>
#include <cmath>
#include <cstdio>

using namespace pz;

namespace {

constexpr quint32 kDisplayId = 1;
constexpr double kWhiteTolerance = 0.0005;
constexpr double kLuminanceTolerance = 0.75;
constexpr double kMeanDeltaE = 0.5;
constexpr double kMaxDeltaE = 1.5;

// The adapter, counting the readings asked of it.
class CountingSensor : public CEyeOneDisplay3Sensor {
public:
    int Measure(unsigned count) override
    {
        ++calls;
        return CEyeOneDisplay3Sensor::Measure(count);
    }
    std::atomic<int> calls{0};
};

struct Options {
    bool noise = false;
    double biasX = 0.003;
    double biasY = -0.002;
    double perStep = 0.96;
    double luminance = 120.0;
    double readingSeconds = 0.0;   // 0: what the adapter chooses
};

bool parse(const QCoreApplication &app, Options &o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("HX calibration accuracy on the simulated monitor and i1 Display Pro."));
    parser.addHelpOption();
    const QCommandLineOption noise(QStringLiteral("noise"), QStringLiteral("Sensor noise on."));
    const QCommandLineOption biasX(QStringLiteral("bias-x"),
                                   QStringLiteral("The engine's white bias in x."),
                                   QStringLiteral("x"), QString::number(o.biasX));
    const QCommandLineOption biasY(QStringLiteral("bias-y"),
                                   QStringLiteral("The engine's white bias in y."),
                                   QStringLiteral("y"), QString::number(o.biasY));
    const QCommandLineOption perStep(QStringLiteral("per-step"),
                                     QStringLiteral("cd/m² per step of the luminance target."),
                                     QStringLiteral("k"), QString::number(o.perStep));
    const QCommandLineOption luminance(QStringLiteral("luminance"),
                                       QStringLiteral("Target luminance, cd/m²."),
                                       QStringLiteral("L"), QString::number(o.luminance));
    const QCommandLineOption reading(QStringLiteral("reading-time"),
                                     QStringLiteral("Seconds per device reading."),
                                     QStringLiteral("s"));
    parser.addOptions({noise, biasX, biasY, perStep, luminance, reading});
    parser.process(app);
    bool ok = true, each = true;
    o.noise = parser.isSet(noise);
    o.biasX = parser.value(biasX).toDouble(&each);
    ok = ok && each;
    o.biasY = parser.value(biasY).toDouble(&each);
    ok = ok && each;
    o.perStep = parser.value(perStep).toDouble(&each);
    ok = ok && each && o.perStep > 0.0;
    o.luminance = parser.value(luminance).toDouble(&each);
    ok = ok && each && o.luminance > 0.0;
    if (parser.isSet(reading)) {
        o.readingSeconds = parser.value(reading).toDouble(&each);
        ok = ok && each && o.readingSeconds > 0.0;
    }
    return ok;
}

CTargetValue benchTarget(double luminance)
{
    CTargetValue t;
    t.CreateDefault();
    t.m_IntensityType = CTargetValue::kIntensityLevel;
    t.m_Intensity = luminance;
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_Gamma = 2.2;
    t.m_ContrastRatio = 0;
    return t;
}

// Simulated time per task, taken in the worker as each task starts.
class TaskClock : public QObject {
public:
    explicit TaskClock(CalibrateThread &thread)
    {
        m_last = programClock().nowUs();
        connect(&thread, &CalibrateThread::StartingTask, this, [this](int task) { enter(task); },
                Qt::DirectConnection);
    }
    void finish() { enter(-1); }
    QMap<int, qint64> perTaskUs;

private:
    void enter(int task)
    {
        const qint64 now = programClock().nowUs();
        perTaskUs[m_task] += now - m_last;
        m_task = task;
        m_last = now;
    }
    int m_task = 0;   // before the first task: the first reading
    qint64 m_last = 0;
};

// Runs one operation to its end: 0, or the code it failed with.
int runOperation(CalibrateThread &thread, unsigned operation)
{
    QEventLoop loop;
    int code = 0;
    QObject::connect(&thread, &CalibrateThread::CalibrationComplete, &loop, &QEventLoop::quit);
    QObject::connect(&thread, &CalibrateThread::calibrationError, &loop, [&](int c) {
        code = c;
        loop.quit();
    });
    thread.begin(operation);
    loop.exec();
    thread.wait();
    return code;
}

void attach(CalibrateThread &thread, CTargetDisplay &display, CSensor &sensor,
            SimPatchResponder &responder, const CTargetValue &target)
{
    thread.SetTargetDisplay(&display);
    thread.SetSensorObject(&sensor);
    thread.SetTargetValue(target);
    QObject::connect(&thread, &CalibrateThread::SetMeasurementAreaPatchColor, &responder,
                     &SimPatchResponder::showPatch, Qt::QueuedConnection);
    QObject::connect(&responder, &SimPatchResponder::patchShown, &thread,
                     &CalibrateThread::patchChanged);
}

const char *taskName(int task)
{
    switch (task) {
    case 0: return "first reading";
    case CalibrateThread::TASK_SETUP_MONITOR_FOR_CALIBRATION: return "set-up";
    case CalibrateThread::TASK_ADJUSTING_WHITE_POINT: return "white point";
    case CalibrateThread::TASK_MEASURING_CORRECTED_PRIMARIES: return "final measurement";
    case CalibrateThread::TASK_UPDATING_MONITOR_LUTS: return "table upload";
    case CalibrateThread::TASK_WAITING_TO_STABILIZE: return "stabilising";
    case CalibrateThread::TASK_ADJUSTING_LUMINANCE: return "luminance";
    default: return "other";
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(app, options)) {
        std::fprintf(stderr, "bench_hx_calibration: a value is not a usable number\n");
        return 2;
    }

    VirtualClock clock;
    ScopedClock clockScope(&clock);
    SimDesktop desk;
    ScopedDesktop desktopScope(&desk);
    ScopedHidBackend hidScope(&desk.hid());
    ScopedGammaRamps rampScope(&desk.ramps());
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.light.whiteBias = SimChromaticity{options.biasX, options.biasY};
    config.light.luminancePerStep = options.perStep;
    SimOrvaneMonitor &sim = desk.addMonitor(kDisplayId, QRectF(0, 0, 1920, 1200), config);
    CMonAPIDummy api;
    pCMonAPIDummy = &api;

    CPreferences preferences;
    preferences.SetCalibrationSteps(32);
    preferences.SetICCAfterCalibration(true);
    ScopedPreferences preferencesScope(&preferences);

    CTargetDisplay display;
    {
        CMultiMonitor list;
        list.EnumerateDesktop();
        display.SetMonitorData(list.GetMonitorData(0));
    }
    if (!display.m_pDDCMonitor) {
        std::fprintf(stderr, "bench_hx_calibration: the simulated monitor was not found\n");
        return 2;
    }

    SimFixedScreen screen;
    SimSensors sensors(desk, &screen);
    sensors.attach(SimSensors::I1d3);
    sensors.i1d3().noise().setEnabled(options.noise);
    CountingSensor sensor;
    // As the calibration flow prepares it.
    sensor.SetScreenType(CSensor::kSensorScreenLCD, display.GetMonitorColorGamutType());
    sensor.SetSensorMeasurementMode(CSensor::kSensorModeDisplay);
    if (options.readingSeconds > 0.0) {
        I1d3Handle handle = 0;
        if (sensors.i1d3().GetDeviceHandle(0, handle) == kI1d3Success)
            sensors.i1d3().SetIntegrationTime(handle, options.readingSeconds);
    }
    SimPatchResponder responder(screen, kDisplayId);
    const CTargetValue target = benchTarget(options.luminance);

    // The calibration.
    sim.clearLog();
    sensors.i1d3().clearCalls();
    const qint64 start = clock.nowUs();
    CalibrateThread_HXSeries calibration;
    attach(calibration, display, sensor, responder, target);
    TaskClock tasks(calibration);
    const int calibrated = runOperation(calibration, CalibrateThread::OPERATION_CALIBRATE);
    tasks.finish();
    const qint64 calibrationUs = clock.nowUs() - start;
    const int measureCalls = sensor.calls;
    const int readings = int(sensors.i1d3().calls().count(QStringLiteral("MeasureXYZ")));
    const int requests = int(sim.requests().size());

    std::printf("HX calibration: %s\n",
                calibrated == 0 ? "complete" : qPrintable(QStringLiteral("failed (%1)").arg(calibrated)));
    for (auto it = tasks.perTaskUs.cbegin(); it != tasks.perTaskUs.cend(); ++it)
        std::printf("  %-18s %7.2f min\n", taskName(it.key()), it.value() / 60e6);
    std::printf("  %-18s %7.2f min (%.1f s)\n", "total", calibrationUs / 60e6, calibrationUs / 1e6);
    std::printf("sensor calls %d, physical readings %d, DDC/CI requests %d\n", measureCalls,
                readings, requests);

    bool missed = calibrated != 0;
    const CCIEYxy white =
        calibration.m_AdjustValue.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch].GetCIEYxy();
    const double dx = white.x - target.m_WhitePoint.m_CIExy.x;
    const double dy = white.y - target.m_WhitePoint.m_CIExy.y;
    const double dY = white.Y - target.m_Intensity;
    std::printf("white (%.4f, %.4f) at %.2f cd/m2: dx %+.4f dy %+.4f dY %+.2f cd/m2\n", white.x,
                white.y, white.Y, dx, dy, dY);
    missed = missed || std::abs(dx) > kWhiteTolerance || std::abs(dy) > kWhiteTolerance
             || std::abs(dY) > kLuminanceTolerance;

    // The validation on the same display.
    const qint64 validationStart = clock.nowUs();
    CalibrateThread validation;
    attach(validation, display, sensor, responder, target);
    const int validated = runOperation(validation, CalibrateThread::OPERATION_VALIDATE);
    std::printf("validation: %s, %.2f min\n",
                validated == 0 ? "complete" : qPrintable(QStringLiteral("failed (%1)").arg(validated)),
                (clock.nowUs() - validationStart) / 60e6);
    missed = missed || validated != 0;

    CColorCalcUtils utils;
    QList<delta_e_point> points;
    CTargetValue validationTarget = target;
    delta_e_max_avg_results deltaE{};
    const int computed = utils.CalculateAllDeltaEResults(&validation.m_AdjustValue.m_ColorValue,
                                                        &validationTarget, points, 0.0);
    utils.CalculateAvgMaxValues(points, deltaE);
    std::printf("grey dE2000: mean %.3f, max %.3f over %lld levels\n", deltaE.avgDeltaE2000,
                deltaE.maxDeltaE2000, static_cast<long long>(points.size()));
    missed = missed || computed != 0 || deltaE.avgDeltaE2000 > kMeanDeltaE
             || deltaE.maxDeltaE2000 > kMaxDeltaE;

    pCMonAPIDummy = nullptr;
    std::printf("%s\n", missed ? "TARGET MISSED" : "all targets met");
    return missed ? 1 : 0;
}
