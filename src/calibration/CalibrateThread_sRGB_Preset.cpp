#include "CalibrateThread_sRGB_Preset.h"

#include "CDDCMonitor.h"
#include "CSensor.h"
#include "CalibrationDuration.h"
#include "CalibrationPreferences.h"
#include "Clock.h"
#include "ToneCurves.h"

#include <QDateTime>

namespace {

constexpr int kSetupSubtasks = 9;
constexpr uint kAutoLuminanceOff = 2;
constexpr double kSetupStabilizationLuminance = 200.0;
// Only a native white more than this far above the target is dimmed.
constexpr double kDimAboveFactor = 1.1;
constexpr double kLuminanceTolerance = 1.0;
constexpr int kLuminanceChannel = 3;

const int kUnusedCurves[] = {
    CColorValue::kUncorrectedRed, CColorValue::kUncorrectedGreen, CColorValue::kUncorrectedBlue,
    CColorValue::kInverseRed,     CColorValue::kInverseGreen,     CColorValue::kInverseBlue,
    CColorValue::kCorrectionRed,  CColorValue::kCorrectionGreen,  CColorValue::kCorrectionBlue};

} // namespace

CalibrateThread_sRGB_Preset::CalibrateThread_sRGB_Preset(QObject *parent)
    : CalibrateThread(parent)
{
}

CalibrateThread_sRGB_Preset::~CalibrateThread_sRGB_Preset() { stopAndWait(); }

int CalibrateThread_sRGB_Preset::SetupMonitorForCalibration()
{
    const pz::CalibrationPreferences preferences = pz::CalibrationPreferences::current();
    if (!m_Monitor)
        return kNoMonitor;
    CDDCMonitor &monitor = *m_Monitor;
    emit StartingTask(TASK_SETUP_MONITOR_FOR_CALIBRATION);
    emit SetNumberOfSubtasks(kSetupSubtasks);

    int status = monitor.ConfigureMonitorControlsForsRGBMode();
    if (status != 0)
        return status;
    emit StepSubTaskCounter();

    if ((status = setLuminanceControlsForCalibration(preferences.useAutoLuminance)) != 0)
        return status;

    if (monitor.MonitorSupportsColorAdjustmentInsRGBGamutMode()) {
        uint maxima[3] = {uint(m_MaxRedGain), uint(m_MaxGreenGain), uint(m_MaxBlueGain)};
        if ((status = monitor.SetMaximumRGBGain(&maxima[0], &maxima[1], &maxima[2])) != 0)
            return status;
        m_MaxRedGain = qint32(maxima[0]);
        m_MaxGreenGain = qint32(maxima[1]);
        m_MaxBlueGain = qint32(maxima[2]);
        if (m_Abort)
            return kCancelled;
    }
    m_CurrentRedGain = m_MaxRedGain;
    m_CurrentGreenGain = m_MaxGreenGain;
    m_CurrentBlueGain = m_MaxBlueGain;
    m_AdjustValue.m_RedGain = quint16(m_MaxRedGain);
    m_AdjustValue.m_GreenGain = quint16(m_MaxGreenGain);
    m_AdjustValue.m_BlueGain = quint16(m_MaxBlueGain);
    emit StepSubTaskCounter();

    storeEDIDPrimaries();

    if (m_Abort)
        return kCancelled;
    // Plain: a cancellation is noticed once the monitor has settled.
    pz::programClock().sleepMs(monitor.GetDisplayStablizationTime(kSetupStabilizationLuminance));
    emit StepSubTaskCounter();
    return 0;
}

int CalibrateThread_sRGB_Preset::AdjustsRGBModeLuminanceOnly()
{
    if (!m_Monitor)
        return kNoMonitor;
    emit StartingTask(TASK_ADJUSTING_LUMINANCE);
    const double L = m_Target.m_Intensity;
    const float N = float(m_AdjustValue.m_ColorValue.m_NativePatches[CColorValue::kWhitePatch].Y);
    const bool autoLuminance = m_Monitor->IsAutoLumianceModeSupported() != 0;

    if (L > N) {
        // The monitor cannot reach the target.
        if (!autoLuminance)
            return 0;
        m_Monitor->SetAutoLumianceMode(kAutoLuminanceOff);
        m_CurrentAutoLuminanceState = 1;
        return brightnessToMaximum();
    }
    if (kDimAboveFactor * L > N) {
        // Close enough below the native white: as bright as it goes.
        if (autoLuminance)
            m_Monitor->SetAutoLumianceMode(kAutoLuminanceOff);
        m_CurrentAutoLuminanceState = 1;
        return brightnessToMaximum();
    }

    int status = m_Monitor->SetBrightness(0);
    if (status != 0)
        return status;
    m_CurrentBrightness = 0;
    if ((status = SetMeasurementAreaPatchColorLocal(PatchColor(SUBTASK_WHITE))) != 0)
        return status;
    emit StartingTask(TASK_WAITING_TO_STABILIZE);
    emit SetNumberOfSubtasks(0);
    pz::programClock().sleepMs(m_Monitor->GetDisplayStablizationTime(0.0));
    if (m_Abort)
        return kCancelled;
    emit StartingTask(TASK_ADJUSTING_LUMINANCE);
    emit SetNumberOfSubtasks(0);

    CCIEXYZ darkest;
    if ((status = takeWhiteReading(darkest)) != 0)
        return status;
    const float Y0 = float(darkest.Y);
    if (!(kDimAboveFactor * L > Y0))
        return 0;   // even brightness 0 is too bright: it stays there

    const float span = N - Y0;
    m_Readings.clear();
    ResetAdjustmentCounters();
    m_ProportionalGain[kLuminanceChannel] = span > 0.0f ? float(m_MaxBrightness) / span : 1.0f;
    for (;;) {
        const int r = AdjustLuminanceToTarget(L, 0, kLuminanceTolerance);
        if (m_Abort)
            return kCancelled;
        if (r == 1)
            continue;
        if (r == 0 || r == kLuminanceNotConverged)
            return 0;
        if (r == kCancelled || r == kImplausibleReading)
            return r;
        return kLuminanceNotConverged;
    }
}

void CalibrateThread_sRGB_Preset::calibrate()
{
    const pz::CalibrationPreferences preferences = pz::CalibrationPreferences::current();
    const auto fail = [this](int code) { handleError(code); };
    int status = beginMonitorCalibration();
    if (status != 0)
        return fail(status);

    if (m_Monitor->MonitorSupportsColorAdjustmentInsRGBGamutMode()) {
        if ((status = AdjustDisplayWhitePoint()) != 0)
            return fail(status);
        emit StepTaskCounter();
    } else if (m_Target.m_IntensityType == CTargetValue::kIntensityLevel) {
        if ((status = AdjustsRGBModeLuminanceOnly()) != 0)
            return fail(status);
    }
    emit StepTaskCounter();
    if ((status = EndColorAdjustment()) != 0)
        return fail(status);
    emit StepTaskCounter();

    storeMonitorControls();
    emit StepTaskCounter();

    CColorValue &record = m_AdjustValue.m_ColorValue;
    for (int curve : kUnusedCurves)
        record.m_Splines[curve].SetValid(false);
    CreateTargetSpline(&record, &m_Target, &record.m_TargetCurve);
    emit StepTaskCounter();

    if ((status = finishMonitorCalibration(preferences.iccAfterCalibration)) != 0)
        return fail(status);
}
