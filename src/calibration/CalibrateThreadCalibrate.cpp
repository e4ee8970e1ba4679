// The calibration run: the first reading, the monitor set-up, the native
// primaries, the white point and luminance adjustment, the grey ramp and the
// correction table loaded into the monitor, the final measurement and the
// result record.

#include "CalibrateThread.h"

#include "CDDCMonitor.h"
#include "CSensor.h"
#include "CTargetDisplay.h"
#include "CalibrationDuration.h"
#include "CalibrationPreferences.h"
#include "Clock.h"
#include "ToneCurves.h"

#include <QDateTime>

namespace {

// The first reading (whatever the window shows) must reach this (cd/m²).
constexpr double kMinimumFirstWhite = 10.0;
// VCP 0x14 value of the first user colour preset.
constexpr uint kCalibrationColorPreset = 11;
constexpr uint kAutoLuminanceOff = 2;
constexpr uint kAutoLuminanceOn = 3;
// Set-up sub-tasks beyond those of the tone-response set-up.
constexpr int kSetupSubtasks = 18;
// Sub-tasks of a table load beyond one per 16-entry chunk.
constexpr int kTableLoadSubtasks = 7;
constexpr uint kTableChunkEntries = 16;
// The luminance the set-up's settling time is chosen for (cd/m²).
constexpr double kSetupStabilizationLuminance = 200.0;
// Analogue auto-contrast: the pattern shows this long before and after.
constexpr int kAutoContrastLeadMs = 500;
constexpr int kAutoContrastTrailMs = 1500;
constexpr int kAutoContrastPattern = 0;
constexpr int kNoTestPattern = -1;

const int kCorrectionCurves[] = {
    CColorValue::kUncorrectedRed, CColorValue::kUncorrectedGreen, CColorValue::kUncorrectedBlue,
    CColorValue::kInverseRed,    CColorValue::kInverseGreen,  CColorValue::kInverseBlue,
    CColorValue::kCorrectionRed, CColorValue::kCorrectionGreen, CColorValue::kCorrectionBlue};

} // namespace

void CalibrateThread::linearTableFromGains()
{
    emit StartingTask(TASK_UPDATING_MONITOR_LUTS);
    uint size = 0;
    if (m_Monitor->GetLUTSize(&size) != 0)
        size = 0;
    emit SetNumberOfSubtasks(int(size / kTableChunkEntries) + kTableLoadSubtasks);
    m_Monitor->SetMonitorToLinearLUTUsingRGBGains();
}

void CalibrateThread::completeResult()
{
    const pz::CalibrationPreferences preferences = pz::CalibrationPreferences::current();
    double hours = 0.0;
    if (m_Monitor->GetPowerOnHours(&hours) != 0)
        hours = 0.0;
    m_AdjustValue.SetIsHoursOnWhenCalibrated(hours);
    m_Monitor->SetOSDLock(preferences.osdLockLevel);
    m_Monitor->CollectMonitorSpecificData(&m_AdjustValue);
    uint preset = 0, presets = 0;
    if (m_Monitor->GetColorPreset(&preset, &presets) == 0)
        m_AdjustValue.m_ColorPreset = quint16(preset);
    markResultValid();

    // Wide-gamut panels get their primaries from the factory data when the
    // sensor cannot measure them well.
    const CTargetDisplay::typeMonitorColorGamutType gamut =
        m_TargetDisplay ? m_TargetDisplay->GetMonitorColorGamutType()
                        : CTargetDisplay::kGamutUndetermined;
    const bool wide =
        gamut == CTargetDisplay::kGamutWideCCFL || gamut == CTargetDisplay::kGamutWideRGBLED;
    m_AdjustValue.SetAutomaticSensorColorPrimariesSource(
        wide && !m_Sensor->IsSensorAccurateOnWideGamutDisplays() ? 1 : 0);
}

int CalibrateThread::SetupMonitorForCalibration()
{
    const pz::CalibrationPreferences preferences = pz::CalibrationPreferences::current();
    if (!m_Monitor)
        return kNoMonitor;
    CDDCMonitor &monitor = *m_Monitor;
    monitor.SetRGBGainOperationMode(0);

    const bool nativeCurve = m_Target.m_GammaCurveType == CTargetValue::kCurveNative;
    const bool nativeGamma = nativeCurve && monitor.MonitorSupportsColorAdjustmentInNativeGammaMode();
    bool gainTable = false;
    int toneSteps = 0;
    if (nativeGamma) {
        toneSteps = monitor.GetSetGammaToNativeSteps();
    } else {
        gainTable = preferences.useAutoLuminance
                    && monitor.MonitorNeedsLinearLUTsSendingInAutoLuminanceMode()
                    && monitor.IsAutoLumianceModeSupported();
        toneSteps = monitor.GetSetMonitorToLinearLUTSteps(gainTable);
    }
    emit StartingTask(TASK_SETUP_MONITOR_FOR_CALIBRATION);
    emit SetNumberOfSubtasks(toneSteps + kSetupSubtasks);

    int status = monitor.ConfigureMonitorControlsForCalibration(&m_Target);
    if (status != 0)
        return status;
    emit StepSubTaskCounter();
    if ((status = monitor.SetColorPreset(kCalibrationColorPreset)) != 0)
        return status;
    emit StepSubTaskCounter();
    if (!m_Target.m_WhitePoint.m_Native) {
        if ((status = monitor.BeginColorAdjustment()) != 0)
            return status;
        emit StepSubTaskCounter();
    }

    if ((status = setLuminanceControlsForCalibration(preferences.useAutoLuminance)) != 0)
        return status;

    uint current = 0, maximum = 0;

    uint maxima[3] = {0, 0, 0};
    if ((status = monitor.SetMaximumRGBGain(&maxima[0], &maxima[1], &maxima[2])) != 0)
        return status;
    if (m_Abort)
        return kCancelled;
    m_CurrentRedGain = m_MaxRedGain = qint32(maxima[0]);
    m_CurrentGreenGain = m_MaxGreenGain = qint32(maxima[1]);
    m_CurrentBlueGain = m_MaxBlueGain = qint32(maxima[2]);
    m_AdjustValue.m_RedGain = quint16(maxima[0]);
    m_AdjustValue.m_GreenGain = quint16(maxima[1]);
    m_AdjustValue.m_BlueGain = quint16(maxima[2]);

    status = nativeGamma ? monitor.SetGammaToNative() : monitor.SetMonitorToLinearLUT(gainTable);
    if (status != 0)
        return status;
    emit StepSubTaskCounter();

    if (monitor.MonitorAlwaysUsesLUTs()) {
        // The gains as the monitor reports them with its tables in use.
        const auto read = [&monitor](int channel, uint *value, uint *top) {
            return channel == 0   ? monitor.GetRedGain(value, top)
                   : channel == 1 ? monitor.GetGreenGain(value, top)
                                  : monitor.GetBlueGain(value, top);
        };
        qint32 *maxOf[3] = {&m_MaxRedGain, &m_MaxGreenGain, &m_MaxBlueGain};
        qint32 *currentOf[3] = {&m_CurrentRedGain, &m_CurrentGreenGain, &m_CurrentBlueGain};
        for (int c = 0; c < 3; ++c) {
            if ((status = read(c, &current, &maximum)) != 0)
                return status;
            *maxOf[c] = *currentOf[c] = qint32(maximum);
        }
    }

    if (monitor.GetIsDigitalVideoInterface() == 0 && monitor.IsAutoContrastSupported()) {
        emit ShowTestPattern(kAutoContrastPattern);
        pz::programClock().sleepMs(kAutoContrastLeadMs);
        monitor.PerformAutoContrast();
        pz::programClock().sleepMs(kAutoContrastTrailMs);
        emit ShowTestPattern(kNoTestPattern);
    }
    emit StepSubTaskCounter();

    storeEDIDPrimaries();

    if (m_Abort)
        return kCancelled;
    if (sleep_ms(monitor.GetDisplayStablizationTime(kSetupStabilizationLuminance)) != 0 || m_Abort)
        return kCancelled;
    emit StepSubTaskCounter();
    return 0;
}

int CalibrateThread::CorrectDisplayGammaTable()
{
    if (!m_Monitor)
        return kNoMonitor;
    CColorValue &record = m_AdjustValue.m_ColorValue;
    if (m_Target.m_GammaCurveType == CTargetValue::kCurveNative) {
        // The monitor keeps the native state the set-up gave it.
        for (int curve : kCorrectionCurves)
            record.m_Splines[curve].SetValid(false);
        record.m_TargetCurve.SetValid(false);
        return 0;
    }
    int status = 0;
    if (!m_Target.m_WhitePoint.m_Native && m_Monitor->NeedUpdateLinearLUTonGainChange()) {
        emit StartingTask(TASK_UPDATING_MONITOR_LUTS);
        emit SetNumberOfSubtasks(m_Monitor->GetSetGammaToNativeSteps());
        if ((status = m_Monitor->SetMonitorToLinearLUT(false)) != 0)
            return status;
    }
    emit StepTaskCounter();
    if ((status = MeasureUncorrectedCurves(true)) != 0)
        return status;
    emit StepTaskCounter();

    if ((status = CreateTargetSpline(&record, &m_Target, &record.m_TargetCurve)) != 0)
        return status;
    if (record.CreateCorrectionSplines(&m_Target) != 0)
        return kCurvesNotBuilt;

    uint size = 0;
    if (m_Monitor->GetLUTSize(&size) != 0)
        size = 0;
    emit StartingTask(TASK_UPDATING_MONITOR_LUTS);
    emit SetNumberOfSubtasks(int(size / kTableChunkEntries) + kTableLoadSubtasks);
    std::vector<uint> table;
    if ((status = m_Monitor->CalculateCorrectionLUT(&m_AdjustValue, &m_Target, table)) != 0)
        return status;
    return m_Monitor->SetGammaTable(table);
}

void CalibrateThread::calibrate()
{
    const pz::CalibrationPreferences preferences = pz::CalibrationPreferences::current();
    const auto fail = [this](int code) { handleError(code); };
    int status = beginMonitorCalibration();
    if (status != 0)
        return fail(status);

    CColorValue &record = m_AdjustValue.m_ColorValue;
    const bool nativeWhite = m_Target.m_WhitePoint.m_Native;
    bool linearTableLoaded = false;
    if (nativeWhite) {
        for (int patch = 0; patch < CColorValue::kPatchCount; ++patch)
            record.m_AdjustedPatches[patch] = record.m_NativePatches[patch];
    } else {
        if ((status = AdjustDisplayWhitePoint()) != 0)
            return fail(status);
        emit StepTaskCounter();
        if (m_Monitor->GetRGBGainOperationMode() == 1) {
            linearTableFromGains();
            linearTableLoaded = true;
        }
        emit StepTaskCounter();
        if ((status = MeasureUncorrectedPrimaries(true)) != 0)
            return fail(status);
        emit StepTaskCounter();
    }
    if ((status = EndColorAdjustment()) != 0)
        return fail(status);
    emit StepTaskCounter();

    storeMonitorControls();

    const bool gainsHoldNativeCurve = m_Target.m_GammaCurveType == CTargetValue::kCurveNative
                                      && m_Monitor->MonitorHasRGBGainControlsInNativeGammaMode();
    if (!nativeWhite && !gainsHoldNativeCurve && m_Monitor->MonitorAlwaysUsesLUTs()
        && !linearTableLoaded)
        linearTableFromGains();
    emit StepTaskCounter();

    if ((status = CorrectDisplayGammaTable()) != 0)
        return fail(status);
    emit StepTaskCounter();
    if ((status = finishMonitorCalibration(preferences.iccAfterCalibration)) != 0)
        return fail(status);
}

int CalibrateThread::beginMonitorCalibration()
{
    m_ReuseReadings = true;
    m_AdjustValue.SetCalibrationDateTime(QDateTime());
    m_AdjustValue.m_CalibrationDuration = 0;
    m_AdjustValue.m_IsValid = false;
    m_StartTime = pz::CalibrationStartTime();
    emit SetNumberOfTasks(CalculateNumberOfTasks());
    emit ShowMainInformationWidget(true);

    CCIEXYZ first;
    int status = TakeSensorMeasurement(first, 0, true);
    if (status == 0 && !(first.Y >= kMinimumFirstWhite))
        status = kImplausibleReading;
    if (status != 0)
        return status;
    emit StepTaskCounter();

    if (m_Monitor) {
        ulong id = 0;
        m_Monitor->GetMonitorVendorProductID(&id);
        m_AdjustValue.m_MonitorVendorProductID = quint32(id);
        m_AdjustValue.SetMonitorName(m_Monitor->GetMonitorModelName());
        m_AdjustValue.SetMonitorSerial(m_Monitor->GetMonitorSerialNumber());
    }
    m_AdjustValue.SetSensorModelName(m_Sensor->GetModelName());
    m_AdjustValue.SetSensorSerial(m_Sensor->GetSerialNumber());

    // A display without a monitor object cannot be calibrated: it keeps its
    // card ramp (its profile's calibration) and needs no restore.
    if (!m_Monitor)
        return kNoMonitor;
    ResetGraphicCardGammaTable();
    emit StepTaskCounter();
    m_MonitorConfigured = true;

    if ((status = SetupMonitorForCalibration()) != 0)
        return status;
    emit StepTaskCounter();
    if ((status = MeasureNativePrimaries(true, true)) != 0)
        return status;
    emit ShowColorAdjustmentWidgets(true);
    emit StepTaskCounter();
    return 0;
}

void CalibrateThread::storeMonitorControls()
{
    m_AdjustValue.m_Brightness = quint16(m_CurrentBrightness);
    m_AdjustValue.m_Contrast = quint16(m_CurrentContrast);
    m_AdjustValue.m_RedGain = quint16(m_CurrentRedGain);
    m_AdjustValue.m_GreenGain = quint16(m_CurrentGreenGain);
    m_AdjustValue.m_BlueGain = quint16(m_CurrentBlueGain);
    m_AdjustValue.SetAutoLuminanceState(
        CAdjustValue::typeAutoLuminanceState(m_CurrentAutoLuminanceState));
    m_AdjustValue.SetRGBGainOperationMode(
        static_cast<signed char>(m_Monitor->GetRGBGainOperationMode()));
}

int CalibrateThread::finishMonitorCalibration(bool profileAfterCalibration)
{
    int status = m_Monitor->SaveCurrentSettings();
    if (status != 0)
        return status;
    emit StepTaskCounter();
    if ((status = MeasureCorrectedPrimaries(profileAfterCalibration, true)) != 0)
        return status;
    emit StepTaskCounter();

    completeResult();
    emit StepTaskCounter();
    emit CalibrationComplete();
    return 0;
}

void CalibrateThread::markResultValid()
{
    CColorValue &record = m_AdjustValue.m_ColorValue;
    record.m_UseSensorCorrectionMatrix = m_UseSensorCorrection;
    if (m_UseSensorCorrection)
        m_SensorCorrection.GetCorrectionMatrixValues(record.m_SensorCorrectionMatrix);

    m_AdjustValue.SetIsCalibrationOn(true);
    m_AdjustValue.SetCalibrationDateTime(QDateTime::currentDateTime());
    m_AdjustValue.m_CalibrationDuration = pz::CalibrationDurationSeconds(m_StartTime);
    m_AdjustValue.m_IsValid = true;
}

int CalibrateThread::setLuminanceControlsForCalibration(bool useAutoLuminance)
{
    CDDCMonitor &monitor = *m_Monitor;
    const bool nativeCurve = m_Target.m_GammaCurveType == CTargetValue::kCurveNative;
    int status = 0;
    m_CurrentAutoLuminanceState = 0;
    if (monitor.IsAutoLumianceModeSupported()) {
        m_CurrentAutoLuminanceState = 1;
        if ((!monitor.MonitorSupportsAutoLuminanceInNativeGammaMode() && nativeCurve)
            || m_Target.m_IntensityType == CTargetValue::kIntensityMaximum
            || !useAutoLuminance) {
            monitor.SetAutoLumianceMode(kAutoLuminanceOff);
        } else {
            monitor.SetAutoLumianceMode(kAutoLuminanceOn);
            m_CurrentAutoLuminanceState = 2;
        }
    }

    if ((status = brightnessToMaximum()) != 0)
        return status;
    emit StepSubTaskCounter();

    uint current = 0, maximum = 0;
    if (monitor.GetContrast(&current, &maximum) != 0) {
        m_CurrentContrast = 0;
    } else {
        m_MaxContrast = qint32(maximum);
        monitor.SetContrast(maximum / 2);
        m_CurrentContrast = qint32(maximum / 2);
    }
    emit StepSubTaskCounter();
    if (m_Abort)
        return kCancelled;
    return 0;
}

void CalibrateThread::storeEDIDPrimaries()
{
    CCIEYxy edid[3];
    m_Monitor->GetMonitorEDIDColorCoordinates(edid);
    CColorValue &record = m_AdjustValue.m_ColorValue;
    record.m_EDIDRed = edid[0].GetCIEXYZ();
    record.m_EDIDGreen = edid[1].GetCIEXYZ();
    record.m_EDIDBlue = edid[2].GetCIEXYZ();
}
