// Calibrates a simulated monitor with the simulated i1 Display Pro, prepared
// as the calibration flow prepares it, and the headless patch responder on
// the virtual clock, then validates the display. Target: D65, the luminance
// asked for (120 cd/m² unless told), the gamma asked for (2.2 unless told),
// contrast ratio 0, native gamut, 32 steps, a profile measurement after
// calibrating.
//
//   --monitor hx    the HXSIM24 through its colour engine: the HX calibration
//                   (operation 0), then a validation (operation 3);
//   --monitor gain  the gain monitor (LCDSIM21) through its gains, brightness
//                   and correction table: a validation of the display as
//                   found, the gain-and-table calibration, a validation.
//   --panel ideal   the simulator's ideal panel (the default);
//   --panel real    the same run on the ideal panel and on a panel that
//                   behaves like a real one (curved, cross-coupled white
//                   registers, uneven luminance steps, channel tone
//                   deviations, warm-up drift; --seed picks the panel),
//                   printed side by side.
//
// It prints the simulated minutes per task and in total, the sensor calls
// (Measure) and physical readings (device readings), the DDC/CI requests of
// the calibration, the white-point and luminance controller steps, the
// reached white's Δx, Δy and luminance error, how far the profile's TRC lies
// from the final grey ramp at grey 32-192, and the validation grey ΔE2000
// mean and maximum. It exits with 1 when a target is missed: white within
// ±0.0005 in x and y and ±0.75 cd/m² (HX) or ±0.8 cd/m² (gains); grey
// ΔE2000 mean at most 0.5 and maximum at most 1.5.
//
// For every missed target it says why, from the run: the panel still
// warming up between the loops' last reading and the final measurement; or,
// for a white or luminance the loops left outside, a search of the panel
// model as it was at the end over the settings within ±4 counts of where
// the loops left the controls. Where some setting would have landed inside,
// the loop's own stopping rule ended it, and the line names the rule (gains:
// the ±0.004 channel-ratio tolerance, or the best-trial pick by ratio error;
// HX: both white registers unchanged on three steps); where none would, the
// controls cannot reach the target from there (for the gains the nearest
// setting found is then set on the monitor and its white read with the
// sensor, a check of the search). A gain-and-table profile
// whose TRC misses the measured grey by more than 1 % is noted with the
// panel model's grey through the loaded table.
//
//   bench_hx_calibration [--monitor hx|gain] [--panel ideal|real] [--seed 1]
//                        [--on-minutes 0] [--noise] [--bias-x 0.003]
//                        [--bias-y -0.002] [--per-step 0.96] [--luminance 120]
//                        [--gamma 2.2] [--reading-time 3]

#include "CDDCMonitor.h"
#include "CDDCMonitor_LCDT4Series.h"
#include "CEyeOneDisplay3Sensor.h"
#include "CMonAPIDummy.h"
#include "CMultiMonitor.h"
#include "CPreferences.h"
#include "CTargetDisplay.h"
#include "CColorCalcUtils.h"
#include "CalibrateThread.h"
#include "CalibrateThread_HXSeries.h"
#include "CalibrationBenchOutcome.h"
#include "Clock.h"
#include "DisplayProfileBuilder.h"
#include "PreferencesRegistry.h"
#include "SimDesktop.h"
#include "SimFixedScreen.h"
#include "SimLightModel.h"
#include "SimPatchResponder.h"
#include "SimSensors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMap>
#include <QStringList>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace pz;
using namespace calibration_bench;

namespace {

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

// The controller steps of each calibration, and how its loops ended.
struct ControllerSteps {
    std::atomic<int> white{0};
    std::atomic<int> luminance{0};
    ControllerStops stops;
};

class CountingHXCalibration : public CalibrateThread_HXSeries {
public:
    explicit CountingHXCalibration(ControllerSteps &steps) : m_steps(steps) {}
    using CalibrateThread_HXSeries::AdjustLuminanceToTarget;
    int AdjustWhitePointxy(_CIExy target, double tolerance) override
    {
        ++m_steps.white;
        const int result = CalibrateThread_HXSeries::AdjustWhitePointxy(target, tolerance);
        m_steps.stops.reversals[0] = m_XReversals;
        m_steps.stops.reversals[1] = m_YReversals;
        return result;
    }
    int AdjustLuminanceToTarget(double target, double tolerance) override
    {
        ++m_steps.luminance;
        const int result = CalibrateThread_HXSeries::AdjustLuminanceToTarget(target, tolerance);
        m_steps.stops.luminanceResult = result;
        m_steps.stops.luminanceReversals = m_ReversalCount[3];
        m_steps.stops.luminanceLimitHits = m_LimitHitCount[3];
        return result;
    }

private:
    ControllerSteps &m_steps;
};

class CountingGainCalibration : public CalibrateThread {
public:
    explicit CountingGainCalibration(ControllerSteps &steps) : m_steps(steps) {}
    int AdjustGainsByRGBRatio(rgbColor target, double tolerance, xyYColor targetWhite) override
    {
        ++m_steps.white;
        const int result = CalibrateThread::AdjustGainsByRGBRatio(target, tolerance, targetWhite);
        if (m_Iterations == 1)   // the counters start afresh with every pass
            ++m_steps.stops.gainPasses;
        if (result == 0) {
            // The confirmed white is the one trial stored with error 0.
            m_steps.stops.confirmed = !m_Readings.empty() && m_Readings.back().error == 0.0f;
            for (int c = 0; c < 3; ++c)
                m_steps.stops.reversals[c] = m_ReversalCount[c];
            m_steps.stops.limiting = m_LimitingChannel;
        }
        return result;
    }
    int AdjustLuminanceToTarget(double target, int useContrast, double tolerance) override
    {
        ++m_steps.luminance;
        return CalibrateThread::AdjustLuminanceToTarget(target, useContrast, tolerance);
    }

private:
    ControllerSteps &m_steps;
};

bool parse(const QCoreApplication &app, Options &o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Calibration accuracy on a simulated monitor and i1 Display Pro.\n"
        "For every missed target it says why, from the run: the panel still warming up, or, for a\n"
        "white or luminance the loops left outside, a search of the panel model as it was at the\n"
        "end over the settings within ±4 counts of where the loops left the controls: where one\n"
        "would have landed inside, the loop's stopping rule ended it (gains: the ±0.004\n"
        "channel-ratio tolerance, or the best-trial pick by ratio error; HX: both white registers\n"
        "unchanged on three steps); where none would, the controls cannot reach it from there.\n"
        "A gain-and-table profile whose TRC misses the measured grey 32-192 by more than 1 % is\n"
        "noted with the panel model's grey through the table the calibration loaded."));
    parser.addHelpOption();
    const QCommandLineOption monitor(QStringLiteral("monitor"),
                                     QStringLiteral("hx (colour engine) or gain (gains and table)."),
                                     QStringLiteral("kind"), QStringLiteral("hx"));
    const QCommandLineOption panel(QStringLiteral("panel"),
                                   QStringLiteral("ideal, or real (printed beside the ideal)."),
                                   QStringLiteral("kind"), QStringLiteral("ideal"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Which real panel."),
                                  QStringLiteral("n"), QString::number(o.seed));
    const QCommandLineOption onMinutes(QStringLiteral("on-minutes"),
                                       QStringLiteral("Minutes the panel has been on before the run."),
                                       QStringLiteral("min"), QString::number(o.onMinutes));
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
    const QCommandLineOption gamma(QStringLiteral("gamma"), QStringLiteral("Target gamma."),
                                   QStringLiteral("g"), QString::number(o.gamma));
    const QCommandLineOption reading(QStringLiteral("reading-time"),
                                     QStringLiteral("Seconds per device reading."),
                                     QStringLiteral("s"));
    parser.addOptions({monitor, panel, seed, onMinutes, noise, biasX, biasY, perStep, luminance,
                       gamma, reading});
    parser.process(app);
    bool ok = true, each = true;
    const QString kind = parser.value(monitor);
    ok = kind == QLatin1String("hx") || kind == QLatin1String("gain");
    o.gainMonitor = kind == QLatin1String("gain");
    const QString panelKind = parser.value(panel);
    ok = ok && (panelKind == QLatin1String("ideal") || panelKind == QLatin1String("real"));
    o.realPanel = panelKind == QLatin1String("real");
    o.seed = parser.value(seed).toUInt(&each);
    ok = ok && each;
    o.onMinutes = parser.value(onMinutes).toDouble(&each);
    ok = ok && each && o.onMinutes >= 0.0;
    o.noise = parser.isSet(noise);
    o.biasX = parser.value(biasX).toDouble(&each);
    ok = ok && each;
    o.biasY = parser.value(biasY).toDouble(&each);
    ok = ok && each;
    o.perStep = parser.value(perStep).toDouble(&each);
    ok = ok && each && o.perStep > 0.0;
    o.luminance = parser.value(luminance).toDouble(&each);
    ok = ok && each && o.luminance > 0.0;
    o.gamma = parser.value(gamma).toDouble(&each);
    ok = ok && each && o.gamma >= 1.0 && o.gamma <= 3.0;
    if (parser.isSet(reading)) {
        o.readingSeconds = parser.value(reading).toDouble(&each);
        ok = ok && each && o.readingSeconds > 0.0;
    }
    return ok;
}

CTargetValue benchTarget(double luminance, double gamma)
{
    CTargetValue t;
    t.CreateDefault();
    t.m_WhitePoint = CColorTemperature(_CIExy{kTargetWhiteX, kTargetWhiteY});
    t.m_IntensityType = CTargetValue::kIntensityLevel;
    t.m_Intensity = luminance;
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_Gamma = gamma;
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

// The whites the controllers saw last before the final measurement: the
// white-point loop's, and the last of all (the luminance loop's).
class LoopWhite : public QObject {
public:
    explicit LoopWhite(CalibrateThread &thread)
    {
        connect(&thread, &CalibrateThread::SetWhitePointMeasuredValue, this,
                [this](double x, double y, double Y) {
                    m_last.x = x;
                    m_last.y = y;
                    m_last.Y = Y;
                    if (m_task == CalibrateThread::TASK_ADJUSTING_WHITE_POINT)
                        m_lastOfWhiteLoop = m_last;
                },
                Qt::DirectConnection);
        connect(&thread, &CalibrateThread::StartingTask, this,
                [this](int task) {
                    m_task = task;
                    if (task == CalibrateThread::TASK_MEASURING_CORRECTED_PRIMARIES) {
                        whiteLoopEnd = m_lastOfWhiteLoop;
                        luminanceLoopEnd = m_last;
                    }
                },
                Qt::DirectConnection);
    }
    CCIEYxy whiteLoopEnd;
    CCIEYxy luminanceLoopEnd;

private:
    int m_task = 0;
    CCIEYxy m_last;
    CCIEYxy m_lastOfWhiteLoop;
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
    case CalibrateThread::TASK_MEASURING_NATIVE_PRIMARIES: return "native primaries";
    case CalibrateThread::TASK_MEASURING_UNCORRECTED_PRIMARIES: return "uncorrected primaries";
    case CalibrateThread::TASK_ADJUSTING_WHITE_POINT: return "white point";
    case CalibrateThread::TASK_MEASURING_UNCORRECTED_RESPONSE_CURVES: return "response curves";
    case CalibrateThread::TASK_MEASURING_CORRECTED_PRIMARIES: return "final measurement";
    case CalibrateThread::TASK_UPDATING_MONITOR_LUTS: return "table upload";
    case CalibrateThread::TASK_WAITING_TO_STABILIZE: return "stabilising";
    case CalibrateThread::TASK_ADJUSTING_LUMINANCE: return "luminance";
    default: return "other";
    }
}

// One whole run on a fresh simulated desktop whose clock starts when the
// monitor is switched on.
class BenchRun {
public:
    BenchRun(const Options &o, bool realPanel) : m_options(o), m_realPanel(realPanel) {}

    bool run(Outcome &out)
    {
        VirtualClock clock;
        ScopedClock clockScope(&clock);
        SimDesktop desk;
        ScopedDesktop desktopScope(&desk);
        ScopedHidBackend hidScope(&desk.hid());
        ScopedGammaRamps rampScope(&desk.ramps());
        SimMonitorConfig config =
            m_options.gainMonitor ? SimMonitorConfig::gainMonitor() : SimMonitorConfig::hxsim24();
        config.light.whiteBias = SimChromaticity{m_options.biasX, m_options.biasY};
        config.light.luminancePerStep = m_options.perStep;
        if (m_realPanel)
            config.light.flaws = SimPanelResponse::real(m_options.seed);
        SimOrvaneMonitor &sim = desk.addMonitor(kDisplayId, QRectF(0, 0, 1920, 1200), config);
        CMonAPIDummy api;
        pCMonAPIDummy = &api;
        const bool ran = runOn(clock, desk, sim, api, out);
        pCMonAPIDummy = nullptr;
        return ran;
    }

private:
    bool runOn(VirtualClock &clock, SimDesktop &desk, SimOrvaneMonitor &sim, CMonAPIDummy &api,
               Outcome &out)
    {
        CPreferences preferences;
        preferences.SetCalibrationSteps(kCalibrationSteps);
        preferences.SetICCAfterCalibration(true);
        ScopedPreferences preferencesScope(&preferences);

        CTargetDisplay display;
        {
            CMultiMonitor list;
            list.EnumerateDesktop();
            display.SetMonitorData(list.GetMonitorData(0));
        }
        if (m_options.gainMonitor && !display.m_pDDCMonitor) {
            // The program makes monitor objects for the HX series only; the
            // gain monitor is driven as an LCDT4 series monitor.
            INTERFACE_INFO info;
            if (api.GetDisplayInterfaceInfo(0, &info) == 0) {
                auto *monitor = new CDDCMonitor_LCDT4Series();
                monitor->InitInterface(info.m_DisplayID, info.m_InterfaceNumber);
                display.m_pDDCMonitor = monitor;
            }
        }
        if (!display.m_pDDCMonitor) {
            std::fprintf(stderr, "bench_hx_calibration: the simulated monitor was not found\n");
            return false;
        }

        SimFixedScreen screen;
        SimSensors sensors(desk, &screen);
        sensors.attach(SimSensors::I1d3);
        sensors.i1d3().noise().setEnabled(m_options.noise);
        CountingSensor sensor;
        // As the calibration flow prepares it.
        sensor.SetScreenType(CSensor::kSensorScreenLCD, display.GetMonitorColorGamutType());
        sensor.SetSensorMeasurementMode(CSensor::kSensorModeDisplay);
        if (m_options.readingSeconds > 0.0) {
            I1d3Handle handle = 0;
            if (sensors.i1d3().GetDeviceHandle(0, handle) == kI1d3Success)
                sensors.i1d3().SetIntegrationTime(handle, m_options.readingSeconds);
        }
        SimPatchResponder responder(screen, kDisplayId);
        const CTargetValue target = benchTarget(m_options.luminance, m_options.gamma);
        clock.advanceUs(qint64(m_options.onMinutes * 60e6));

        if (m_options.gainMonitor)
            out.before = validate(display, sensor, responder, target, nullptr);

        // The calibration.
        sim.clearLog();
        sensors.i1d3().clearCalls();
        sensor.calls = 0;
        ControllerSteps steps;
        std::unique_ptr<CalibrateThread> calibration;
        if (m_options.gainMonitor)
            calibration = std::make_unique<CountingGainCalibration>(steps);
        else
            calibration = std::make_unique<CountingHXCalibration>(steps);
        const qint64 start = clock.nowUs();
        attach(*calibration, display, sensor, responder, target);
        TaskClock tasks(*calibration);
        LoopWhite loopWhite(*calibration);
        out.calibrated = runOperation(*calibration, CalibrateThread::OPERATION_CALIBRATE);
        tasks.finish();
        out.perTaskUs = tasks.perTaskUs;
        out.calibrationUs = clock.nowUs() - start;
        out.measureCalls = sensor.calls;
        out.readings = int(sensors.i1d3().calls().count(QStringLiteral("MeasureXYZ")));
        out.requests = int(sim.requests().size());
        out.whiteSteps = steps.white;
        out.luminanceSteps = steps.luminance;
        out.whiteLoopEnd = loopWhite.whiteLoopEnd;
        out.luminanceLoopEnd = loopWhite.luminanceLoopEnd;
        out.minutesOnAtEnd = clock.nowUs() / 60e6;
        out.stops = steps.stops;
        searchEnd(sim, *calibration, target, out);

        out.white = calibration->m_AdjustValue.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch]
                        .GetCIEYxy();
        trcFit(calibration->m_AdjustValue.m_ColorValue, target.m_Gamma, out);
        modelGrey(sim, target.m_Gamma, out);
        out.dx = out.white.x - kTargetWhiteX;
        out.dy = out.white.y - kTargetWhiteY;
        out.dY = out.white.Y - target.m_Intensity;
        const double luminanceTolerance =
            m_options.gainMonitor ? kGainLuminanceTolerance : kHxLuminanceTolerance;
        out.whiteMissed = std::abs(out.dx) > kWhiteTolerance || std::abs(out.dy) > kWhiteTolerance;
        out.luminanceMissed = std::abs(out.dY) > luminanceTolerance;

        // The validation on the same display.
        out.after = validate(display, sensor, responder, target, &out);
        out.greyMissed = !out.after.valid || out.after.mean > kMeanDeltaE || out.after.max > kMaxDeltaE;
        if (m_options.gainMonitor && out.whiteMissed && out.whiteReachable > 0)
            measureNearest(display, sensor, screen, out);
        return true;
    }

    // Sets the gains of the nearest white the search found, through a
    // straight table as the loops had it, and reads the white.
    static void measureNearest(CTargetDisplay &display, CSensor &sensor, SimFixedScreen &screen,
                               Outcome &out)
    {
        CDDCMonitor *monitor = display.m_pDDCMonitor;
        if (monitor->SetMonitorToLinearLUT(false) != 0 || monitor->SetRedGain(out.nearestGains[0]) != 0
            || monitor->SetGreenGain(out.nearestGains[1]) != 0
            || monitor->SetBlueGain(out.nearestGains[2]) != 0)
            return;
        screen.setColor(kDisplayId, 255, 255, 255);
        CCIEXYZ reading;
        if (sensor.Measure(2) != 0 || sensor.GetXYZData(reading) != 0)
            return;
        out.nearestReading = reading.GetCIEYxy();
        out.nearestMeasured = true;
    }

    static void trcFit(const CColorValue &record, double gamma, Outcome &out)
    {
        const QVector<CCIEXYZ> &steps = record.m_FinalGreySteps;
        const int n = int(steps.size());
        if (n < 2)
            return;
        const double stored = storedCurveGamma(gamma);
        const double black = steps.first().Y;
        const double white = steps.last().Y;
        for (int i = 0; i < n; ++i) {
            const int level = int(i / double(n - 1) * 255.0 + 0.5);
            if (level < kTrcFirstGrey || level > kTrcLastGrey)
                continue;
            const double measured = (steps[i].Y - black) / (white - black);
            const double predicted = std::pow(level / 255.0, stored);
            const double miss = (measured - predicted) / predicted;
            if (std::abs(miss) > std::abs(out.trcMiss)) {
                out.trcMiss = miss;
                out.trcMissLevel = level;
            }
        }
    }

    // The controls where the calibration left them, as the loops used them:
    // for the gain method the gains it found (before the table took them
    // over), through a straight table.
    SimEngineState endState(SimOrvaneMonitor &sim, const CalibrateThread &calibration) const
    {
        SimEngineState state = sim.appliedEngineState();
        if (m_options.gainMonitor) {
            const CAdjustValue &result = calibration.m_AdjustValue;
            state.lut.clear();
            state.gains[0] = result.m_RedGain;
            state.gains[1] = result.m_GreenGain;
            state.gains[2] = result.m_BlueGain;
        }
        return state;
    }

    // What one count of each control does to the white where the
    // calibration left it, and which settings within kSearchCounts of there
    // would have put the white (and the luminance) inside the targets, on
    // the panel as it is at the end.
    void searchEnd(SimOrvaneMonitor &sim, const CalibrateThread &calibration,
                   const CTargetValue &target, Outcome &out) const
    {
        SimEngineState state = endState(sim, calibration);
        const auto whiteOf = [&sim](const SimEngineState &s) {
            const SimXYZ w = sim.lightFor(s, 1, 1, 1);
            return CCIEXYZ(w.X, w.Y, w.Z).GetCIEYxy();
        };
        const auto move = [](const CCIEYxy &a, const CCIEYxy &b) {
            return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
        };
        const CCIEYxy here = whiteOf(state);
        out.modelEnd = here;
        // The white controls: three gains, or the x and y registers.
        const int count = m_options.gainMonitor ? 3 : 2;
        const int maximum = m_options.gainMonitor ? 255 : 1000;
        const bool gains = m_options.gainMonitor;
        const auto control = [gains](SimEngineState &s, int i) -> int & {
            return gains ? s.gains[i] : (i == 0 ? s.whiteX : s.whiteY);
        };
        for (int i = 0; i < count; ++i) {
            SimEngineState stepped = state;
            control(stepped, i) -= 1;
            out.countMoves.append(move(whiteOf(stepped), here));
        }
        SimEngineState brighter = state;
        (gains ? brighter.brightness : brighter.luminance) += 1;
        out.luminancePerCount = whiteOf(brighter).Y - here.Y;

        // The white controls' values, and the luminance control's.
        const auto settingText = [&](SimEngineState &s) {
            QStringList values;
            for (int i = 0; i < count; ++i)
                values.append(QString::number(control(s, i)));
            return QStringLiteral("%1 %2").arg(gains ? QStringLiteral("gains")
                                                     : QStringLiteral("registers x y"),
                                               values.join(QLatin1Char(' ')));
        };
        out.endLuminanceSetting = gains ? QStringLiteral("brightness %1").arg(state.brightness)
                                        : QStringLiteral("luminance register %1").arg(state.luminance);
        SimEngineState probe = state;
        out.endSetting = settingText(probe);
        const double luminanceTolerance = gains ? kGainLuminanceTolerance : kHxLuminanceTolerance;
        out.nearestWhite = 1e9;
        // Every combination of the white controls and the luminance control
        // (brightness, or the luminance register) within the counts.
        const int span = 2 * kSearchCounts + 1;
        int whiteCombinations = 1;
        for (int i = 0; i < count; ++i)
            whiteCombinations *= span;
        for (int k = 0; k < whiteCombinations * span; ++k) {
            int rest = k;
            bool usable = true;
            for (int i = 0; i < count; ++i) {
                int &value = control(probe, i);
                value = control(state, i) + rest % span - kSearchCounts;
                rest /= span;
                usable = usable && value >= 0 && value <= maximum;
            }
            int &luminanceControl = gains ? probe.brightness : probe.luminance;
            luminanceControl = (gains ? state.brightness : state.luminance) + rest - kSearchCounts;
            usable = usable && luminanceControl >= 0
                     && (!gains || luminanceControl <= state.brightnessMaximum);
            // The luminance control as left; the white controls as left (the
            // gains set the luminance too, so for them every setting counts).
            const bool luminanceAsLeft = rest == kSearchCounts;
            const bool whiteAsLeft = gains || k % whiteCombinations == whiteCombinations / 2;
            if (!usable)
                continue;
            const CCIEYxy w = whiteOf(probe);
            const double off = std::max(std::abs(w.x - kTargetWhiteX), std::abs(w.y - kTargetWhiteY));
            const bool white = off <= kWhiteTolerance;
            const bool luminance = std::abs(w.Y - target.m_Intensity) <= luminanceTolerance;
            ++out.bothTried;
            out.bothReachable += white && luminance ? 1 : 0;
            if (luminanceAsLeft) {
                ++out.whiteTried;
                out.whiteReachable += white ? 1 : 0;
            }
            if (whiteAsLeft) {
                ++out.luminanceTried;
                out.luminanceReachable += luminance ? 1 : 0;
            }
            if (luminanceAsLeft && off < out.nearestWhite) {
                out.nearestWhite = off;
                out.nearest = w;
                out.nearestSetting = settingText(probe);
                std::copy(std::begin(probe.gains), std::end(probe.gains), out.nearestGains);
            }
        }
        greyDeparture(sim, state, out);
    }

    // HX: how far the model's greys at the end lie from its white in
    // chromaticity, with the panel's channel tone deviations and without.
    void greyDeparture(SimOrvaneMonitor &sim, const SimEngineState &state, Outcome &out) const
    {
        if (m_options.gainMonitor)
            return;
        SimLightParams flat = sim.config().light;
        std::fill(std::begin(flat.flaws.toneBow), std::end(flat.flaws.toneBow), 0.0);
        std::fill(std::begin(flat.flaws.toneWave), std::end(flat.flaws.toneWave), 0.0);
        const auto xyOf = [](const SimXYZ &c) { return CCIEXYZ(c.X, c.Y, c.Z).GetCIEYxy(); };
        const SimLightParams &light = sim.config().light;
        const CCIEYxy white = xyOf(SimLightModel::emitted(light, state, 1, 1, 1));
        const CCIEYxy flatWhite = xyOf(SimLightModel::emitted(flat, state, 1, 1, 1));
        for (int level = kTrcFirstGrey; level < 255; level += 8) {
            const double v = level / 255.0;
            const CCIEYxy g = xyOf(SimLightModel::emitted(light, state, v, v, v));
            const CCIEYxy f = xyOf(SimLightModel::emitted(flat, state, v, v, v));
            const double off = std::max(std::abs(g.x - white.x), std::abs(g.y - white.y));
            if (off > out.greyDeparture) {
                out.greyDeparture = off;
                out.greyDepartureLevel = level;
            }
            out.greyDepartureWithout = std::max(
                out.greyDepartureWithout,
                std::max(std::abs(f.x - flatWhite.x), std::abs(f.y - flatWhite.y)));
        }
    }

    // The model's grey through the table the calibration left, black
    // removed, at the level of the measured TRC miss.
    static void modelGrey(SimOrvaneMonitor &sim, double gamma, Outcome &out)
    {
        if (out.trcMissLevel < 0)
            return;
        const SimEngineState state = sim.appliedEngineState();
        const double v = out.trcMissLevel / 255.0;
        const double black = sim.lightFor(state, 0, 0, 0).Y;
        const double white = sim.lightFor(state, 1, 1, 1).Y;
        const double grey = (sim.lightFor(state, v, v, v).Y - black) / (white - black);
        const double predicted = std::pow(v, storedCurveGamma(gamma));
        out.modelTrcMiss = (grey - predicted) / predicted;
    }

    static GreyFigures validate(CTargetDisplay &display, CSensor &sensor,
                                SimPatchResponder &responder, const CTargetValue &target,
                                Outcome *timed)
    {
        const qint64 start = programClock().nowUs();
        CalibrateThread validation;
        attach(validation, display, sensor, responder, target);
        const int code = runOperation(validation, CalibrateThread::OPERATION_VALIDATE);
        if (timed) {
            timed->validated = code;
            timed->validationUs = programClock().nowUs() - start;
        }
        GreyFigures grey;
        if (code != 0)
            return grey;
        CColorCalcUtils utils;
        QList<delta_e_point> points;
        CTargetValue validationTarget = target;
        delta_e_max_avg_results deltaE{};
        grey.valid = utils.CalculateAllDeltaEResults(&validation.m_AdjustValue.m_ColorValue,
                                                     &validationTarget, points, 0.0)
                     == 0;
        utils.CalculateAvgMaxValues(points, deltaE);
        grey.mean = deltaE.avgDeltaE2000;
        grey.max = deltaE.maxDeltaE2000;
        grey.levels = int(points.size());
        double brightest = -1.0;
        for (const delta_e_point &p : points)
            if (p.Y > brightest) {
                brightest = p.Y;
                grey.atWhite = p.deltaE2000;
            }
        return grey;
    }

    const Options &m_options;
    bool m_realPanel;
};

QString status(int code)
{
    return code == 0 ? QStringLiteral("complete") : QStringLiteral("failed (%1)").arg(code);
}

// One row: a label and a value per panel.
void row(const char *label, const QStringList &values)
{
    std::printf("  %-28s", label);
    for (const QString &v : values)
        std::printf(" %22s", qPrintable(v));
    std::printf("\n");
}

template <class F>
QStringList each(const QVector<Outcome> &outcomes, F value)
{
    QStringList out;
    for (const Outcome &o : outcomes)
        out.append(value(o));
    return out;
}

QString grey(const GreyFigures &g)
{
    return g.valid ? QStringLiteral("%1 / %2").arg(fixed(g.mean, 3), fixed(g.max, 3))
                   : QStringLiteral("-");
}

void printTable(const Options &o, const QStringList &panels, const QVector<Outcome> &outcomes)
{
    std::printf("%s, target D65 %.0f cd/m2 gamma %.2f, white bias (%+.4f, %+.4f)%s\n",
                o.gainMonitor ? "Gain-and-table calibration (LCDSIM21)" : "HX calibration (HXSIM24)",
                o.luminance, o.gamma, o.biasX, o.biasY, o.noise ? ", sensor noise" : "");
    row("", panels);
    row("calibration", each(outcomes, [](const Outcome &r) { return status(r.calibrated); }));
    QMap<int, bool> taskSeen;
    for (const Outcome &r : outcomes)
        for (auto it = r.perTaskUs.cbegin(); it != r.perTaskUs.cend(); ++it)
            taskSeen[it.key()] = true;
    for (auto it = taskSeen.cbegin(); it != taskSeen.cend(); ++it) {
        const int task = it.key();
        row(qPrintable(QStringLiteral("  %1 min").arg(QLatin1String(taskName(task)))),
            each(outcomes, [task](const Outcome &r) { return fixed(r.perTaskUs.value(task) / 60e6, 2); }));
    }
    row("  total min", each(outcomes, [](const Outcome &r) { return fixed(r.calibrationUs / 60e6, 2); }));
    row("sensor calls", each(outcomes, [](const Outcome &r) { return QString::number(r.measureCalls); }));
    row("physical readings", each(outcomes, [](const Outcome &r) { return QString::number(r.readings); }));
    row("DDC/CI requests", each(outcomes, [](const Outcome &r) { return QString::number(r.requests); }));
    row(o.gainMonitor ? "gain steps" : "white-point steps",
        each(outcomes, [](const Outcome &r) { return QString::number(r.whiteSteps); }));
    row("luminance steps", each(outcomes, [](const Outcome &r) { return QString::number(r.luminanceSteps); }));
    row("white loop's end dx, dy", each(outcomes, [](const Outcome &r) {
            return QStringLiteral("%1, %2").arg(fixed(r.whiteLoopEnd.x - kTargetWhiteX, 4, true),
                                                fixed(r.whiteLoopEnd.y - kTargetWhiteY, 4, true));
        }));
    row("last loop reading Y", each(outcomes, [](const Outcome &r) {
            return fixed(r.luminanceLoopEnd.Y, 2);
        }));
    row("model at the end dx, dy, Y", each(outcomes, [](const Outcome &r) {
            return QStringLiteral("%1, %2, %3").arg(fixed(r.modelEnd.x - kTargetWhiteX, 4, true),
                                                    fixed(r.modelEnd.y - kTargetWhiteY, 4, true),
                                                    fixed(r.modelEnd.Y, 1));
        }));
    row(o.gainMonitor ? "1 gain count moves R G B" : "1 count moves x, y reg",
        each(outcomes, [](const Outcome &r) {
            QStringList moves;
            for (double m : r.countMoves)
                moves.append(fixed(m, 4));
            return moves.join(QLatin1Char(' '));
        }));
    row(o.gainMonitor ? "cd/m2 per brightness count" : "cd/m2 per luminance count",
        each(outcomes, [](const Outcome &r) { return fixed(r.luminancePerCount, 2); }));
    row("on-time at the end, min", each(outcomes, [](const Outcome &r) { return fixed(r.minutesOnAtEnd, 1); }));
    row("profile TRC vs grey 32-192", each(outcomes, [](const Outcome &r) {
            return r.trcMissLevel < 0 ? QStringLiteral("-")
                                      : QStringLiteral("%1 % at %2")
                                            .arg(fixed(100.0 * r.trcMiss, 2, true))
                                            .arg(r.trcMissLevel);
        }));
    row("white x, y", each(outcomes, [](const Outcome &r) {
            return QStringLiteral("%1, %2").arg(fixed(r.white.x, 4), fixed(r.white.y, 4));
        }));
    row("white dx, dy", each(outcomes, [](const Outcome &r) {
            return QStringLiteral("%1, %2").arg(fixed(r.dx, 4, true), fixed(r.dy, 4, true));
        }));
    row("white Y, dY cd/m2", each(outcomes, [](const Outcome &r) {
            return QStringLiteral("%1, %2").arg(fixed(r.white.Y, 2), fixed(r.dY, 2, true));
        }));
    row("validation", each(outcomes, [](const Outcome &r) {
            return QStringLiteral("%1, %2 min").arg(status(r.validated), fixed(r.validationUs / 60e6, 2));
        }));
    if (o.gainMonitor)
        row("grey dE2000 before", each(outcomes, [](const Outcome &r) { return grey(r.before); }));
    row(o.gainMonitor ? "grey dE2000 after" : "grey dE2000 mean / max",
        each(outcomes, [](const Outcome &r) { return grey(r.after); }));
    row("targets", each(outcomes, [](const Outcome &r) {
            QStringList missed;
            if (r.calibrated != 0 || r.validated != 0)
                missed << QStringLiteral("run");
            if (r.whiteMissed)
                missed << QStringLiteral("white");
            if (r.luminanceMissed)
                missed << QStringLiteral("luminance");
            if (r.greyMissed)
                missed << QStringLiteral("grey");
            return missed.isEmpty() ? QStringLiteral("met")
                                    : QStringLiteral("missed: ") + missed.join(QLatin1Char(' '));
        }));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(app, options)) {
        std::fprintf(stderr, "bench_hx_calibration: a value is not usable\n");
        return 2;
    }

    QVector<Outcome> outcomes(options.realPanel ? 2 : 1);
    QStringList panels{QStringLiteral("ideal panel")};
    if (!BenchRun(options, false).run(outcomes[0]))
        return 2;
    if (options.realPanel) {
        panels.append(QStringLiteral("real panel (seed %1)").arg(options.seed));
        if (!BenchRun(options, true).run(outcomes[1]))
            return 2;
    }
    printTable(options, panels, outcomes);
    for (int i = 0; i < outcomes.size(); ++i) {
        const QStringList why = explain(options, outcomes[i]);
        if (!why.isEmpty())
            std::printf("Why the %s missed:\n", qPrintable(panels[i]));
        for (const QString &line : why)
            std::printf("  - %s\n", qPrintable(line));
        const QString trc = trcNote(options, outcomes[i]);
        if (!trc.isEmpty())
            std::printf("Profile on the %s: %s\n", qPrintable(panels[i]), qPrintable(trc));
    }
    const Outcome &asked = outcomes.last();
    std::printf("%s\n", asked.missed() ? "TARGET MISSED" : "all targets met");
    return asked.missed() ? 1 : 0;
}
