// White point and luminance adjustment: the gain controller, the luminance
// controller, the list of gain trials and the task that runs them.

#include "CalibrateThread.h"

#include "CDDCMonitor.h"
#include "CSensor.h"
#include "CalibrationPreferences.h"
#include "Clock.h"

#include <cmath>

namespace {

// Proportional gain of a gain channel: (maximum x 60) / 256.
constexpr quint32 kGainProportionalFactor = 60;
constexpr double kGainProportionalScale = 0.00390625;
constexpr quint32 kMinimumStepDivisor = 400;

constexpr double kGainRatioTolerance = 0.004;
constexpr double kChromaticityTolerance = 0.0005;
constexpr double kGainLuminanceTolerance = 0.8;
// Relative gains only: the target RGB is taken at this luminance and the
// controller gets no luminance aim.
constexpr double kRelativeAimLuminance = 1000.0;
constexpr double kNoLuminanceAim = -1.0;
// The plain wait before a converged reading is confirmed.
constexpr int kConfirmationWaitMs = 5000;

constexpr double kReversalFactor = 0.75;
constexpr int kGainProportionalReversals = 2;
constexpr int kLuminanceProportionalReversals = 3;
// A channel is held once it has reversed more often than this (red, green,
// blue; luminance).
constexpr int kGainHoldReversals[3] = {5, 6, 7};
constexpr int kLuminanceHoldReversals = 6;
constexpr int kMaxSteps = 99;
constexpr int kMaxLimitHits = 4;
constexpr int kMaxDDCFailures = 23;
constexpr int kGainDoneInTolerance = 2;
constexpr int kLuminanceDoneInTolerance = 1;
constexpr int kLuminanceChannel = 3;
constexpr double kLuminanceStep = 1.0;

// Readings between these fractions of the luminance target are followed by
// a stabilisation wait.
constexpr double kStabilizeLow = 0.8;
constexpr double kStabilizeHigh = 1.2;
// The brightness loop aims this far above the target and leaves the rest to
// the gains; with auto-luminance it keeps this far above the darkest white.
constexpr double kBrightnessAimFactor = 1.1;
constexpr double kAutoLuminanceAimFactor = 1.05;
constexpr double kLuminanceLoopTolerance = 1.0;

constexpr uint kAutoLuminanceOff = 2;
constexpr qint32 kStepContinue = 1;

constexpr float kNoErrorYet = 999999.0f;

} // namespace

int CalibrateThread::takeWhiteReading(CCIEXYZ &reading)
{
    CCIEXYZ fresh;
    const int status = TakeSensorMeasurement(fresh, 0, true);
    if (status != 0)
        return status;
    if (!std::isfinite(fresh.X) || !std::isfinite(fresh.Y) || !std::isfinite(fresh.Z)
        || !(fresh.Y > 0.0) || m_Sensor->validate_phopshor_colors(fresh, SUBTASK_WHITE) != 0)
        return kImplausibleReading;
    reading = fresh;
    return 0;
}

qint32 CalibrateThread::moveControl(int channel, int direction, double error, qint32 current,
                                    qint32 maximum, qint32 minimumStep, int proportionalReversals)
{
    // A reversal is counted (and the gain cut) before the test below, so
    // the move that makes the limit already goes without the term.
    if (m_Direction[channel] == -direction) {
        ++m_ReversalCount[channel];
        m_ProportionalGain[channel] *= kReversalFactor;
    }
    m_Direction[channel] = direction;
    double step = minimumStep;
    if (m_ReversalCount[channel] <= proportionalReversals)
        step += std::trunc(error * m_ProportionalGain[channel]);
    const double next = double(current) + direction * step;
    m_InToleranceCount[channel] = 0;
    if (direction > 0 && !(next < double(maximum))) {
        ++m_LimitHitCount[channel];
        return maximum;
    }
    if (direction < 0 && !(next > 0.0)) {
        ++m_LimitHitCount[channel];
        return 0;
    }
    return qint32(next);
}

int CalibrateThread::SetupRGBAdjustmentParameters()
{
    const qint32 maxima[3] = {m_MaxRedGain, m_MaxGreenGain, m_MaxBlueGain};
    for (int c = 0; c < 3; ++c)
        m_ProportionalGain[c] =
            double(quint32(maxima[c]) * kGainProportionalFactor) * kGainProportionalScale;
    m_MinimumGainStep = qint32(quint32(m_MaxRedGain) / kMinimumStepDivisor);
    if (m_MinimumGainStep == 0)
        m_MinimumGainStep = 1;
    return 0;
}

int CalibrateThread::GetLeastRGBErrorGainSettings()
{
    int best = -1;
    float least = kNoErrorYet;
    for (size_t i = 0; i < m_Readings.size(); ++i) {
        if (m_Readings[i].error < least) {
            least = m_Readings[i].error;
            best = int(i);
        }
    }
    return best;
}

int CalibrateThread::WasGainMeasurementWithSettingsTaken(int red, int green, int blue)
{
    for (size_t i = 0; i < m_Readings.size(); ++i) {
        const _Readings_taken &r = m_Readings[i];
        if (r.red == red && r.green == green && r.blue == blue)
            return int(i);
    }
    return -1;
}

int CalibrateThread::SetGainToSettingNumber(int index)
{
    if (index < 0 || size_t(index) >= m_Readings.size())
        return kFailed;
    if (!m_Monitor)
        return kNoMonitor;
    const _Readings_taken &r = m_Readings[size_t(index)];
    int status = m_Monitor->SetRedGain(uint(r.red));
    if (status != 0)
        return status;
    m_CurrentRedGain = r.red;
    if ((status = m_Monitor->SetGreenGain(uint(r.green))) != 0)
        return status;
    m_CurrentGreenGain = r.green;
    if ((status = m_Monitor->SetBlueGain(uint(r.blue))) != 0)
        return status;
    m_CurrentBlueGain = r.blue;
    return 0;
}

int CalibrateThread::AdjustGainsByRGBRatio(rgbColor target, double tolerance, xyYColor targetWhite)
{
    if (!(target.R > 0.0) || !(target.G > 0.0) || !(target.B > 0.0))
        return kFailed;
    if (!m_Monitor)
        return kNoMonitor;

    qint32 *current[3] = {&m_CurrentRedGain, &m_CurrentGreenGain, &m_CurrentBlueGain};
    const qint32 maxima[3] = {m_MaxRedGain, m_MaxGreenGain, m_MaxBlueGain};

    CCIEXYZ reading;
    const int stored = m_ReuseReadings
                           ? WasGainMeasurementWithSettingsTaken(*current[0], *current[1], *current[2])
                           : -1;
    const bool fresh = stored < 0;
    if (fresh) {
        const int status = takeWhiteReading(reading);
        if (status != 0)
            return status;
        UpdateWhitePointMeasuredValue(reading.GetCIEYxy());
    } else {
        reading = m_Readings[size_t(stored)].xyz;
    }
    ++m_Iterations;

    const rgbColor rgb = m_Transform.XYZ2RGB(reading);
    double ratio[3] = {rgb.R / target.R, rgb.G / target.G, rgb.B / target.B};

    // A channel at its maximum that is still too weak cannot rise: the
    // weakest such channel sets the scale and the others follow it.
    float v = 1.0f;
    int w = 0;
    bool anyAtMaximum = false;
    for (int c = 0; c < 3; ++c) {
        if (*current[c] < maxima[c])
            continue;
        anyAtMaximum = true;
        if (ratio[c] < 1.0 && ratio[c] < double(v)) {
            v = float(ratio[c]);
            w = c + 1;
        }
    }
    if (anyAtMaximum) {
        if (!(v > 0.0f))
            return kImplausibleReading;
        for (double &r : ratio)
            r /= double(v);
    }
    m_LimitingChannel = w;

    const auto record = [&](const CCIEXYZ &xyz, float error) {
        _Readings_taken r;
        r.red = *current[0];
        r.green = *current[1];
        r.blue = *current[2];
        r.brightness = m_CurrentBrightness;
        r.contrast = m_CurrentContrast;
        r.xyz = xyz;
        r.error = error;
        m_Readings.push_back(r);
    };
    if (fresh) {
        double error = 0.0;
        for (double r : ratio)
            error += (1.0 - r) * (1.0 - r);
        record(reading, float(error));
    }

    const auto converged = [&](const CCIEXYZ &xyz) {
        const CCIEYxy c = xyz.GetCIEYxy();
        const bool chromaticity = std::fabs(targetWhite.x - c.x) <= kChromaticityTolerance
                                  && std::fabs(targetWhite.y - c.y) <= kChromaticityTolerance;
        const bool luminance = targetWhite.Y > 0.0
                               && std::fabs(targetWhite.Y - c.Y) <= kGainLuminanceTolerance;
        return chromaticity && (w != 0 || luminance);
    };
    if (converged(reading)) {
        // Plain on purpose: the white must settle before it is confirmed.
        pz::programClock().sleepMs(kConfirmationWaitMs);
        CCIEXYZ confirmation;
        const int status = takeWhiteReading(confirmation);
        if (status != 0)
            return status;
        UpdateWhitePointMeasuredValue(confirmation.GetCIEYxy());
        if (converged(confirmation)) {
            record(confirmation, 0.0f);
            return 0;
        }
    }

    qint32 next[3] = {*current[0], *current[1], *current[2]};
    for (int c = 0; c < 3; ++c) {
        if (w == c + 1 || m_ReversalCount[c] > kGainHoldReversals[c]) {
            ++m_InToleranceCount[c];
        } else if (ratio[c] < 1.0 - tolerance) {
            next[c] = moveControl(c, 1, 1.0 - ratio[c], *current[c], maxima[c], m_MinimumGainStep,
                                  kGainProportionalReversals);
        } else if (ratio[c] > 1.0 + tolerance) {
            next[c] = moveControl(c, -1, ratio[c] - 1.0, *current[c], maxima[c], m_MinimumGainStep,
                                  kGainProportionalReversals);
        } else {
            ++m_InToleranceCount[c];
        }
    }

    const auto write = [this](int channel, uint value) {
        return channel == 0   ? m_Monitor->SetRedGain(value)
               : channel == 1 ? m_Monitor->SetGreenGain(value)
                              : m_Monitor->SetBlueGain(value);
    };
    for (int c = 0; c < 3; ++c) {
        if (next[c] == *current[c])
            continue;
        if (write(c, uint(next[c])) != 0)
            ++m_DDCFailures;
        *current[c] = next[c];
    }

    bool limitsHit = false;
    bool done = true;
    for (int c = 0; c < 3; ++c) {
        limitsHit = limitsHit || m_LimitHitCount[c] > kMaxLimitHits;
        done = done && m_InToleranceCount[c] > kGainDoneInTolerance;
    }
    if (m_Iterations > kMaxSteps || limitsHit)
        return kWhitePointNotConverged;
    if (m_DDCFailures > kMaxDDCFailures)
        return kMonitorWriteFailed;
    return done ? 0 : kStepContinue;
}

int CalibrateThread::AdjustLuminanceToTarget(double target, int useContrast, double tolerance)
{
    if (!(target > 0.0))
        return kFailed;
    if (!m_Monitor)
        return kNoMonitor;
    qint32 &current = useContrast ? m_CurrentContrast : m_CurrentBrightness;
    const qint32 maximum = useContrast ? m_MaxContrast : m_MaxBrightness;

    CCIEXYZ reading;
    const int status = takeWhiteReading(reading);
    if (status != 0)
        return status;
    UpdateWhitePointMeasuredValue(reading.GetCIEYxy());
    const double Y = reading.Y;
    ++m_Iterations;

    const int L = kLuminanceChannel;
    qint32 next = current;
    if (m_ReversalCount[L] > kLuminanceHoldReversals)
        ++m_InToleranceCount[L];
    else if (Y < target - tolerance)
        next = moveControl(L, 1, target - Y, current, maximum, qint32(kLuminanceStep),
                           kLuminanceProportionalReversals);
    else if (Y > target + tolerance)
        next = moveControl(L, -1, Y - target, current, maximum, qint32(kLuminanceStep),
                           kLuminanceProportionalReversals);
    else
        ++m_InToleranceCount[L];

    if (next != current) {
        const int written = useContrast ? m_Monitor->SetContrast(uint(next))
                                        : m_Monitor->SetBrightness(uint(next));
        if (written != 0)
            return kMonitorWriteFailed;
        current = next;
    }

    if (Y > kStabilizeLow * target && Y < kStabilizeHigh * target) {
        emit StartingTask(TASK_WAITING_TO_STABILIZE);
        sleep_ms(m_Monitor->GetDisplayStablizationTime(target) * m_StabilizationMultiplier);
        if (m_Abort)
            return kCancelled;
        emit StartingTask(TASK_ADJUSTING_LUMINANCE);
    }

    if (m_Iterations > kMaxSteps || m_LimitHitCount[L] > kMaxLimitHits)
        return kLuminanceNotConverged;
    return m_InToleranceCount[L] > kLuminanceDoneInTolerance ? 0 : kStepContinue;
}

int CalibrateThread::brightnessToMaximum()
{
    uint current = 0, maximum = 0;
    int status = m_Monitor->GetBrightness(&current, &maximum);
    if (status != 0)
        return status;
    m_MaxBrightness = qint32(maximum);
    if ((status = m_Monitor->SetBrightness(maximum)) != 0)
        return status;
    m_CurrentBrightness = qint32(maximum);
    return 0;
}

namespace {

// Runs a controller step until it stops asking for another; kCancelled as
// soon as the run is cancelled after a step.
template <class Step>
int runLoop(const std::atomic<bool> &abort, Step step)
{
    for (;;) {
        const int result = step();
        if (abort)
            return CalibrateThread::kCancelled;
        if (result != kStepContinue)
            return result;
    }
}

} // namespace

int CalibrateThread::AdjustDisplayWhitePoint()
{
    if (!m_Monitor)
        return kNoMonitor;
    const pz::CalibrationPreferences preferences = pz::CalibrationPreferences::current();
    emit StartingTask(TASK_ADJUSTING_WHITE_POINT);
    emit SetNumberOfSubtasks(0);
    int status = SetMeasurementAreaPatchColorLocal(PatchColor(SUBTASK_WHITE));
    if (status != 0)
        return status;
    m_Monitor->SetRGBGainOperationMode(0);

    const bool nativeCurve = m_Target.m_GammaCurveType == CTargetValue::kCurveNative;
    if (preferences.useAutoLuminance && m_Monitor->MonitorNeedsLinearLUTsSendingInAutoLuminanceMode()
        && m_Monitor->IsAutoLumianceModeSupported()
        && (m_Monitor->MonitorSupportsAutoLuminanceInNativeGammaMode() || !nativeCurve)) {
        const int rounds = m_Monitor->MonitorAlwaysUsesLUTs() ? 2 : 1;
        for (int round = 0; round < rounds; ++round) {
            m_Monitor->SetRGBGainOperationMode(1);
            m_Monitor->InitLUTUsingRGBGainValues();
            // A monitor that fails to report leaves the maxima as they were.
            uint maxima[3] = {uint(m_MaxRedGain), uint(m_MaxGreenGain), uint(m_MaxBlueGain)};
            m_Monitor->SetMaximumRGBGain(&maxima[0], &maxima[1], &maxima[2]);
            m_CurrentRedGain = m_MaxRedGain = qint32(maxima[0]);
            m_CurrentGreenGain = m_MaxGreenGain = qint32(maxima[1]);
            m_CurrentBlueGain = m_MaxBlueGain = qint32(maxima[2]);
            SetupRGBAdjustmentParameters();
        }
    }

    const CCIEXYZ *native = m_AdjustValue.m_ColorValue.m_NativePatches;
    if ((status = m_Transform.InitializeRGBXYZTransforms(native[CColorValue::kRedPatch],
                                                         native[CColorValue::kGreenPatch],
                                                         native[CColorValue::kBluePatch]))
        != 0)
        return status;

    const double xt = m_Target.m_WhitePoint.m_CIExy.x;
    const double yt = m_Target.m_WhitePoint.m_CIExy.y;
    emit SetWhitePointTargetxy(xt, yt);

    double aim = kRelativeAimLuminance;
    double loopLuminance = kNoLuminanceAim;
    if (m_Monitor->MonitorUsesRGBGainsForIntensity()
        && m_Target.m_IntensityType != CTargetValue::kIntensityMaximum) {
        aim = loopLuminance = m_Target.m_Intensity;
        emit SetWhiteLevelTarget(m_Target.m_Intensity);
        emit ShowWhiteLevelTarget(true);
    }
    m_TargetRGB = m_Transform.xyY2RGB({xt, yt, aim});
    m_Readings.clear();
    ResetAdjustmentCounters();
    SetupRGBAdjustmentParameters();
    if (m_Monitor->GetRGBGainOperationMode() == 1) {
        m_Monitor->SetRedGain(uint(m_CurrentRedGain));
        m_Monitor->SetGreenGain(uint(m_CurrentGreenGain));
        m_Monitor->SetBlueGain(uint(m_CurrentBlueGain));
    }

    // First pass: chromaticity, ending on the best trial.
    status = runLoop(m_Abort, [&] {
        return AdjustGainsByRGBRatio(m_TargetRGB, kGainRatioTolerance, {xt, yt, loopLuminance});
    });
    if (status == kCancelled)
        return kCancelled;
    if (status < 0)
        return kWhitePointNotConverged;
    const int best = GetLeastRGBErrorGainSettings();
    if (best >= 0 && (status = SetGainToSettingNumber(best)) != 0)
        return status;
    emit StepTaskCounter();

    if ((status = SetMeasurementAreaPatchColorLocal(PatchColor(SUBTASK_WHITE))) != 0)
        return status;
    CCIEXYZ white;
    if ((status = TakeSensorMeasurement(white, 0, true)) != 0)
        return status;
    UpdateWhitePointMeasuredValue(white.GetCIEYxy());
    if (m_Sensor->validate_phopshor_colors(white, SUBTASK_WHITE) != 0)
        return kImplausibleReading;

    if (m_Monitor->MonitorUsesRGBGainsForIntensity()
        || m_Target.m_IntensityType != CTargetValue::kIntensityLevel) {
        emit StepTaskCounter();
        return 0;
    }

    // Luminance phase: brightness brings the white near the target.
    emit StartingTask(TASK_ADJUSTING_LUMINANCE);
    const double T = m_Target.m_Intensity;
    const float maxLuminance = float(white.Y);
    const bool autoLuminance = m_Monitor->IsAutoLumianceModeSupported() != 0;
    if (T > maxLuminance) {
        // The display cannot reach the target: as bright as it goes.
        if (autoLuminance) {
            m_Monitor->SetAutoLumianceMode(kAutoLuminanceOff);
            m_CurrentAutoLuminanceState = 1;
        }
        if ((status = brightnessToMaximum()) != 0)
            return status;
        emit StepTaskCounter();
        return 0;
    }
    if (maxLuminance < kBrightnessAimFactor * T) {
        if (autoLuminance)
            m_Monitor->SetAutoLumianceMode(kAutoLuminanceOff);
        m_CurrentAutoLuminanceState = 1;
        if ((status = brightnessToMaximum()) != 0)
            return status;
    } else {
        if ((status = m_Monitor->SetBrightness(0)) != 0)
            return status;
        m_CurrentBrightness = 0;
        if ((status = SetMeasurementAreaPatchColorLocal(PatchColor(SUBTASK_WHITE))) != 0)
            return status;
        const auto settle = [&]() {
            emit StartingTask(TASK_WAITING_TO_STABILIZE);
            emit SetNumberOfSubtasks(0);
        };
        const auto resume = [&]() {
            emit StartingTask(TASK_ADJUSTING_LUMINANCE);
            emit SetNumberOfSubtasks(0);
        };
        settle();
        CCIEXYZ dark;
        if ((status = takeWhiteReading(dark)) != 0)
            return status;
        UpdateWhitePointMeasuredValue(dark.GetCIEYxy());
        sleep_ms(m_Monitor->GetDisplayStablizationTime(0.0) * m_StabilizationMultiplier);
        if (m_Abort)
            return kCancelled;
        resume();
        if ((status = takeWhiteReading(dark)) != 0)
            return status;
        UpdateWhitePointMeasuredValue(dark.GetCIEYxy());
        const float minLuminance = float(dark.Y);
        const float span = maxLuminance - minLuminance;
        const float k = span > 0.0f ? float(m_MaxBrightness) / span : 1.0f;
        const auto brightnessLoop = [&](double aimLuminance) {
            m_Readings.clear();
            ResetAdjustmentCounters();
            m_ProportionalGain[kLuminanceChannel] = k;
            return runLoop(m_Abort, [&] {
                return AdjustLuminanceToTarget(aimLuminance, 0, kLuminanceLoopTolerance);
            });
        };
        if (kBrightnessAimFactor * T > minLuminance) {
            status = brightnessLoop(kBrightnessAimFactor * T);
            if (status == kCancelled)
                return kCancelled;
            if (status != 0 && status != kLuminanceNotConverged)
                return kLuminanceNotConverged;
        } else {
            // Even the darkest white is too bright for the target.
            if (autoLuminance && preferences.useAutoLuminance) {
                status = brightnessLoop(kAutoLuminanceAimFactor * minLuminance);
                if (status == kCancelled)
                    return kCancelled;
                if (status != 0 && status != kLuminanceNotConverged)
                    return kLuminanceNotConverged;
            }
            settle();
            sleep_ms(m_Monitor->GetDisplayStablizationTime(0.0) * m_StabilizationMultiplier);
            if (m_Abort)
                return kCancelled;
            resume();
        }
    }

    // Second pass: the gains take the white to the target luminance too.
    m_ReuseReadings = false;
    emit StartingTask(TASK_ADJUSTING_WHITE_POINT);
    emit SetNumberOfSubtasks(0);
    emit SetWhiteLevelTarget(m_Target.m_Intensity);
    emit ShowWhiteLevelTarget(true);
    m_TargetRGB = m_Transform.xyY2RGB({xt, yt, m_Target.m_Intensity});
    m_Readings.clear();
    ResetAdjustmentCounters();
    SetupRGBAdjustmentParameters();
    status = runLoop(m_Abort, [&] {
        return AdjustGainsByRGBRatio(m_TargetRGB, kGainRatioTolerance,
                                     {xt, yt, m_Target.m_Intensity});
    });
    if (status == kCancelled)
        return kCancelled;
    if (status < 0)
        return kWhitePointNotConverged;
    emit StepTaskCounter();
    return 0;
}
