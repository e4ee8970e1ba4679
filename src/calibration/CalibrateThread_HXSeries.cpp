// The HX series calibration: set-up of the colour engine, the white-point
// and luminance controllers and the calibrate operation.

#include "CalibrateThread_HXSeries.h"

#include "CDDCMonitor.h"
#include "CPreferences.h"
#include "CSensor.h"
#include "CTargetDisplay.h"
#include "CalibrationDuration.h"
#include "Clock.h"
#include "PreferencesRegistry.h"
#include "ToneCurves.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kRegisterMaximum = 65535.0;
constexpr double kWhiteRegisterMaximum = 1000.0;
constexpr int kLuminance = 3;   // the luminance entry of the controller arrays

// Set-up.
constexpr int kExtraSettleSecondsPerMultiple = 20;
constexpr int kExtraSettleSecondsMaximum = 120;
constexpr uint kNativeGammaValue = 170;
constexpr uint kGammaModeValue = 9;
constexpr uint kGammaModeDICOM = 5;
constexpr uint kGammaModeTable = 6;
constexpr uint kGammaModeSRGB = 11;
constexpr uint kGammaModeLStar = 12;
constexpr int kRefreshSettleMs = 2000;
constexpr double kSetupStabilizationLuminance = 200.0;

// White-point controller.
constexpr int kWhiteTargetSettleMs = 200;
constexpr int kWhiteConfirmationMs = 8000;
constexpr int kWhiteReadings = 2;
constexpr int kMaximumIterations = 99;
constexpr int kProportionalReversals = 2;   // then steps of one
constexpr int kWhiteChannelGivesUp = 5;     // reversals after which a channel stays
constexpr int kUnchangedStepsToStop = 3;

// Luminance controller.
constexpr int kLuminanceStopsSteering = 6;   // reversals, then every reading counts as in tolerance
constexpr double kGainAfterReversal = 0.75;
constexpr int kMaximumLimitHits = 4;
constexpr int kStabilizationMs = 4000;
constexpr double kStabilizeBelow = 0.8;
constexpr double kStabilizeAbove = 1.2;
constexpr int kMaximumLuminanceSettleMs = 10000;

// The programmable name of picture mode 3 after a calibration.
constexpr char kPictureModeName[] = "PZR";
constexpr int kPictureModeNameLength = 16;
constexpr uchar kPictureMode = 3;

// Curves the pass re-measures: responses, inverses and correction curves.
constexpr int kStaleCurves[] = {0, 1, 2, 3, 4, 5, 9, 10, 11};

uint clampedRegister(double v, double maximum = kRegisterMaximum)
{
    if (!(v > 0.0))   // also NaN
        return 0;
    return uint(std::min(v, maximum));
}

qint16 storedValue(uint v) { return qint16(std::min<uint>(v, 32767)); }

bool withinWindow(double d, double tolerance) { return -tolerance <= d && d <= tolerance; }

} // namespace

CalibrateThread_HXSeries::CalibrateThread_HXSeries(QObject *parent) : CalibrateThread(parent) {}

CalibrateThread_HXSeries::~CalibrateThread_HXSeries() { stopAndWait(); }

// ---- register arithmetic ---------------------------------------------------------

uint CalibrateThread_HXSeries::WhiteRegister(double chromaticity)
{
    return clampedRegister(1000.0 * chromaticity + 0.5, kWhiteRegisterMaximum);
}

uint CalibrateThread_HXSeries::GammaRegister(double gamma)
{
    return 10 * clampedRegister((gamma - 0.5) * 10.0 + 0.5, kRegisterMaximum / 10.0);
}

double CalibrateThread_HXSeries::RegisterGamma(double gamma)
{
    return GammaRegister(gamma) / 100.0 + 0.5;
}

uint CalibrateThread_HXSeries::BlackLevelRegister(double luminance, int contrastRatio)
{
    if (contrastRatio == 0)
        return 0;
    return clampedRegister(luminance * 10.0 / contrastRatio + 0.5);
}

int CalibrateThread_HXSeries::ExtraSettleSeconds(double target, uint current)
{
    if (!(target > 0.0) || current == 0)
        return 0;
    const double multiples = std::trunc((target - double(current)) / target);
    return int(std::min<double>(kExtraSettleSecondsMaximum,
                                kExtraSettleSecondsPerMultiple * std::abs(multiples)));
}

uint CalibrateThread_HXSeries::WhiteStep(uint reg, double d)
{
    const double step = d > 0.0 ? 1000.0 * d + 0.5 : 1000.0 * d - 0.5;
    return clampedRegister(std::trunc(double(reg) - step), kWhiteRegisterMaximum);
}

// ---- set-up --------------------------------------------------------------------

int CalibrateThread_HXSeries::SetupMonitorForCalibration()
{
    if (!m_Monitor)
        return kNoMonitor;
    emit StartingTask(TASK_SETUP_MONITOR_FOR_CALIBRATION);
    const bool specific = m_Target.m_IntensityType == CTargetValue::kIntensityLevel;
    // The target check lets a luminance of 0 through; everything below
    // divides by it.
    if (specific && !(std::isfinite(m_Target.m_Intensity) && m_Target.m_Intensity > 0.0))
        return kFailed;

    int status = m_Monitor->ConfigureMonitorControlsForCalibration(&m_Target);
    if (status != 0)
        return status;

    // A panel driven far below where it stood needs longer to settle.
    uint current = 0, maximum = 0;
    if (m_Monitor->GetVCP(kRegLuminance, &current, &maximum) == 0 && specific && current != 0)
        m_ExtraSettleSeconds = ExtraSettleSeconds(m_Target.m_Intensity, current);

    QList<set_get_vcp_list> list;
    list << set_get_vcp_list::write(kRegProcessing, kProcessingLoading, true);
    const uint luminance =
        specific ? clampedRegister(m_Target.m_Intensity) : kMaximumLuminanceStart;
    m_CurrentBrightness = qint32(luminance);
    list << set_get_vcp_list::write(kRegLuminance, luminance, true);
    const uint black = BlackLevelRegister(luminance, m_Target.m_ContrastRatio);
    m_AdjustValue.m_MonitorSpecificValues[kBlackLevelElement] = storedValue(black);
    list << set_get_vcp_list::write(kRegBlackLevel, black, true);

    if (m_Target.m_WhitePoint.m_Native) {
        list << set_get_vcp_list::write(kRegColorPreset, kPresetNative, true);
    } else {
        m_WhiteXRegister = WhiteRegister(m_Target.m_WhitePoint.m_CIExy.x);
        m_WhiteYRegister = WhiteRegister(m_Target.m_WhitePoint.m_CIExy.y);
        list << set_get_vcp_list::write(kRegColorPreset, kPresetUser, true)
             << set_get_vcp_list::write(kRegWhiteX, m_WhiteXRegister, true)
             << set_get_vcp_list::write(kRegWhiteY, m_WhiteYRegister, true);
    }

    bool uploadTable = false;
    switch (m_Target.m_GammaCurveType) {
    case CTargetValue::kCurveNative:
        list << set_get_vcp_list::write(kRegGammaMode, kGammaModeValue, true)
             << set_get_vcp_list::write(kRegGammaValue, kNativeGammaValue, true);
        break;
    case CTargetValue::kCurveGamma:
        list << set_get_vcp_list::write(kRegGammaMode, kGammaModeValue, true)
             << set_get_vcp_list::write(kRegGammaValue, GammaRegister(m_Target.m_Gamma), true);
        break;
    case CTargetValue::kCurveDICOM:
        list << set_get_vcp_list::write(kRegGammaMode, kGammaModeDICOM, true);
        break;
    case CTargetValue::kCurveCustom:
        if (m_Target.m_CustomCurveType == CTargetValue::kCustomSRGB) {
            list << set_get_vcp_list::write(kRegGammaMode, kGammaModeSRGB, true);
        } else if (m_Target.m_CustomCurveType == CTargetValue::kCustomLStar) {
            list << set_get_vcp_list::write(kRegGammaMode, kGammaModeLStar, true);
        } else {
            list << set_get_vcp_list::write(kRegGammaMode, kGammaModeTable, true);
            uploadTable = true;
        }
        break;
    default:
        break;
    }
    if ((status = m_Monitor->SetGetVCPList(&list, true)) != 0)
        return status;

    uint contrast = 0, contrastMaximum = 0;
    if (m_Monitor->GetContrast(&contrast, &contrastMaximum) != 0) {
        m_CurrentContrast = 0;
    } else {
        m_MaxContrast = qint32(contrastMaximum);
        if (contrast != contrastMaximum)
            m_Monitor->SetContrast(contrastMaximum);
        m_CurrentContrast = qint32(contrastMaximum);
    }
    emit StepTaskCounter();

    if (uploadTable) {
        emit StartingTask(TASK_UPDATING_MONITOR_LUTS);
        std::vector<uint> table;
        const CSpline &curve = m_Target.m_CustomCurve;
        if ((status = m_Monitor->CalculateTargetGammaTable(curve, curve, curve, table)) != 0)
            return status;
        if ((status = m_Monitor->SetTargetGammaTable(table)) != 0)
            return status;
    }
    if (m_Abort)
        return kCancelled;

    m_Monitor->RefreshGammaTable();
    m_Monitor->WaitMS(kRefreshSettleMs);
    uint start = kProcessingStart;
    if ((status = m_Monitor->SetVCP(kRegProcessing, &start)) != 0)
        return status;
    m_Monitor->WaitForColorProcessingFinished();

    CCIEYxy primaries[3];
    if (m_Monitor->GetMonitorEDIDColorCoordinates(primaries) == 0) {
        CColorValue &record = m_AdjustValue.m_ColorValue;
        record.m_EDIDRed = primaries[0].GetCIEXYZ();
        record.m_EDIDGreen = primaries[1].GetCIEXYZ();
        record.m_EDIDBlue = primaries[2].GetCIEXYZ();
    }
    if (m_Abort)
        return kCancelled;
    pz::programClock().sleepMs(m_Monitor->GetDisplayStablizationTime(kSetupStabilizationLuminance));
    return 0;
}

void CalibrateThread_HXSeries::ResetAdjustmentCounters()
{
    CalibrateThread::ResetAdjustmentCounters();
    m_XDirection = m_YDirection = 0;
    m_XReversals = m_YReversals = 0;
    m_XUnchangedCount = m_YUnchangedCount = 0;
}

// ---- controllers -------------------------------------------------------------------

int CalibrateThread_HXSeries::measureWhite(CCIEYxy &reading)
{
    CCIEXYZ xyz;
    if (const int status = TakeSensorMeasurement(xyz, kWhiteReadings, true))
        return status;
    const CCIEYxy yxy = xyz.GetCIEYxy();
    // No light, or no chromaticity: nothing to steer by (and a NaN must
    // never reach a register value).
    if (!(yxy.Y > 0.0) || !std::isfinite(yxy.Y) || !std::isfinite(yxy.x) || !std::isfinite(yxy.y))
        return kImplausibleReading;
    UpdateWhitePointMeasuredValue(yxy);
    reading = yxy;
    return 0;
}

uint CalibrateThread_HXSeries::stepChannel(Channel channel, uint value, double d, double tolerance)
{
    if (channel.reversals > kWhiteChannelGivesUp || std::abs(d) < tolerance)
        return value;
    const int direction = d > 0.0 ? 1 : -1;
    if (channel.direction == -direction)
        ++channel.reversals;
    channel.direction = direction;
    if (channel.reversals <= kProportionalReversals)
        return WhiteStep(value, d);
    // Measured too high: lower the register by one, else raise it.
    return direction > 0 ? (value > 0 ? value - 1 : 0)
                         : std::min<uint>(value + 1, uint(kWhiteRegisterMaximum));
}

int CalibrateThread_HXSeries::AdjustWhitePointxy(_CIExy target, double tolerance)
{
    CCIEYxy reading;
    int status = measureWhite(reading);
    if (status != 0)
        return status;
    double dx = reading.x - target.x;
    double dy = reading.y - target.y;

    if (withinWindow(dx, tolerance) && withinWindow(dy, tolerance)) {
        // Confirmed only by a second look after the engine has settled.
        if ((status = sleep_ms(kWhiteConfirmationMs)) != 0)
            return status;
        if ((status = measureWhite(reading)) != 0)
            return status;
        dx = reading.x - target.x;
        dy = reading.y - target.y;
        if (withinWindow(dx, tolerance) && withinWindow(dy, tolerance))
            return 0;
    }
    ++m_Iterations;

    const uint x = stepChannel(Channel{m_XDirection, m_XReversals}, m_WhiteXRegister, dx, tolerance);
    const uint y = stepChannel(Channel{m_YDirection, m_YReversals}, m_WhiteYRegister, dy, tolerance);

    QList<set_get_vcp_list> list;
    if (x != m_WhiteXRegister) {
        list << set_get_vcp_list::write(kRegWhiteX, x, true);
        m_XUnchangedCount = 0;
    } else {
        ++m_XUnchangedCount;
    }
    if (y != m_WhiteYRegister) {
        list << set_get_vcp_list::write(kRegWhiteY, y, true);
        m_YUnchangedCount = 0;
    } else {
        ++m_YUnchangedCount;
    }
    if (!list.isEmpty()) {
        if ((status = m_Monitor->SetGetVCPList(&list, false)) != 0)
            return status;
        m_Monitor->WaitForColorProcessingFinished();
    }
    m_WhiteXRegister = x;
    m_WhiteYRegister = y;

    if (m_Iterations > kMaximumIterations)
        return kWhitePointNotConverged;
    const bool stuck = m_XUnchangedCount >= kUnchangedStepsToStop
                       && m_YUnchangedCount >= kUnchangedStepsToStop;
    return stuck ? 0 : 1;
}

int CalibrateThread_HXSeries::GetLimitingLuminanceIfLimitied()
{
    bool limited = false;
    for (int code = kRegRedDrive; code < kRegRedDrive + 3; ++code) {
        uint current = 0, maximum = 0;
        if (m_Monitor->GetVCP(uint(code), &current, &maximum) != 0)
            return -1;
        limited = limited || current == maximum;
    }
    uint attainable = 0, maximum = 0;
    if (m_Monitor->GetVCP(kRegAttainableLuminance, &attainable, &maximum) != 0)
        return -1;
    return limited ? int(attainable) : -1;
}

int CalibrateThread_HXSeries::AdjustLuminanceToTarget(double target, double tolerance)
{
    if (!(target > 0.0))
        return kFailed;
    CCIEYxy reading;
    int status = measureWhite(reading);
    if (status != 0)
        return status;
    const double Y = reading.Y;
    ++m_Iterations;

    if (m_ReversalCount[kLuminance] > kLuminanceStopsSteering || std::abs(Y - target) < tolerance) {
        ++m_InToleranceCount[kLuminance];
    } else {
        const int direction = Y < target ? 1 : -1;
        if (m_Direction[kLuminance] == -direction) {
            ++m_ReversalCount[kLuminance];
            m_ProportionalGain[kLuminance] *= kGainAfterReversal;
        }
        m_Direction[kLuminance] = direction;
        int step = 0;
        if (m_ReversalCount[kLuminance] <= kProportionalReversals)
            step = int(clampedRegister(std::abs(target - Y) * m_ProportionalGain[kLuminance]));
        if (step < 2)
            step = 1;

        qint64 next;
        if (direction > 0) {
            next = std::min<qint64>(qint64(m_CurrentBrightness) + step, m_MaxBrightness);
            const int limit = GetLimitingLuminanceIfLimitied();
            if (limit > 0) {
                ++m_LimitHitCount[kLuminance];
                next = limit;
            }
        } else {
            next = qint64(m_CurrentBrightness) - step;
            if (next <= qint64(m_LuminanceFloor)) {
                ++m_LimitHitCount[kLuminance];
                next = m_LuminanceFloor;
            }
        }
        m_InToleranceCount[kLuminance] = 0;

        if (next != m_CurrentBrightness) {
            QList<set_get_vcp_list> list{set_get_vcp_list::write(kRegLuminance, uint(next), true)};
            if (m_Monitor->SetGetVCPList(&list, false) != 0)
                return kMonitorWriteFailed;
            m_CurrentBrightness = qint32(next);
            m_Monitor->WaitForColorProcessingFinished();
        }
    }

    if (kStabilizeBelow * target < Y && Y < kStabilizeAbove * target) {
        emit StartingTask(TASK_WAITING_TO_STABILIZE);
        const int ms = m_Monitor->NoInternalLuminanceSensor()
                           ? m_Monitor->GetDisplayStablizationTime(target) * m_StabilizationMultiplier
                           : kStabilizationMs;
        sleep_ms(ms);
        if (m_Abort)
            return kCancelled;
        emit StartingTask(TASK_ADJUSTING_LUMINANCE);
    }

    if (m_Iterations > kMaximumIterations || m_LimitHitCount[kLuminance] > kMaximumLimitHits)
        return kLuminanceNotConverged;
    return m_InToleranceCount[kLuminance] > 1 ? 0 : 1;
}

int CalibrateThread_HXSeries::adjustLuminanceLevel()
{
    uint current = 0, maximum = 0, floor = 0;
    if (m_Monitor->GetVCP(kRegLuminance, &current, &maximum) != 0)
        return kWhitePointNotConverged;
    m_MaxBrightness = qint32(maximum);
    if (m_Monitor->GetVCP(kRegLuminanceFloor, &floor, &maximum) != 0)
        return kWhitePointNotConverged;
    m_LuminanceFloor = floor;

    ResetAdjustmentCounters();
    m_ProportionalGain[kLuminance] = 1.0;
    for (;;) {
        const int r = AdjustLuminanceToTarget(m_Target.m_Intensity, kLuminanceTolerance);
        if (m_Abort)
            return kCancelled;
        if (r == 1)
            continue;
        // Given up (or no target): the luminance stays where the loop left it.
        if (r == 0 || r == kLuminanceNotConverged || r == kFailed)
            return 0;
        // A failed write, or a reading that cannot be trusted: saving the
        // settings now would keep an unchecked luminance.
        return r;
    }
}

int CalibrateThread_HXSeries::AdjustDisplayWhitePoint()
{
    if (!m_Monitor)
        return kNoMonitor;
    const CPreferences *preferences = pz::applicationPreferences();
    emit StartingTask(TASK_ADJUSTING_WHITE_POINT);
    emit SetNumberOfSubtasks(0);
    int status = SetMeasurementAreaPatchColorLocal(QColor(255, 255, 255));
    if (status != 0)
        return status;

    if (!m_Target.m_WhitePoint.m_Native) {
        if (m_ExtraSettleSeconds != 0 && preferences
            && preferences->m_UseExtendedLuminanceStabilizationTime != 0) {
            emit StartingTask(TASK_WAITING_TO_STABILIZE);
            sleep_ms(m_ExtraSettleSeconds * 1000);
        }
        const _CIExy white = m_Target.m_WhitePoint.m_CIExy;
        emit SetWhitePointTargetxy(white.x, white.y);
        pz::programClock().sleepMs(kWhiteTargetSettleMs);
        ResetAdjustmentCounters();
        for (;;) {
            const int r = AdjustWhitePointxy(white, kWhiteTolerance);
            if (m_Abort)
                return kCancelled;
            if (r == 1)
                continue;
            if (r < 0)
                return kWhitePointNotConverged;
            break;
        }
    }

    emit StepTaskCounter();
    emit StartingTask(TASK_ADJUSTING_LUMINANCE);
    emit SetNumberOfSubtasks(0);
    if (m_Target.m_IntensityType == CTargetValue::kIntensityLevel) {
        if ((status = adjustLuminanceLevel()) != 0)
            return status;
    } else {
        emit StartingTask(TASK_WAITING_TO_STABILIZE);
        sleep_ms(kMaximumLuminanceSettleMs);
        uint attainable = 0;
        if (m_Monitor->GetVCP(kRegAttainableLuminance, &attainable) == 0
            && m_Monitor->SetVCP(kRegLuminance, &attainable) == 0)
            m_CurrentBrightness = qint32(attainable);
    }

    // The black level follows the luminance the monitor reached.
    if (m_Target.m_ContrastRatio == 0)
        return 0;
    uint attainable = 0, black = 0;
    if (m_Monitor->GetVCP(kRegAttainableLuminance, &attainable) != 0)
        return 0;
    uint wanted = BlackLevelRegister(attainable, m_Target.m_ContrastRatio);
    if (m_Monitor->GetVCP(kRegBlackLevel, &black) != 0)
        return 0;
    if (black != wanted)
        m_Monitor->SetVCP(kRegBlackLevel, &wanted);
    return 0;
}

// ---- calibrate ----------------------------------------------------------------------

int CalibrateThread_HXSeries::calibrationPass()
{
    int status = AdjustDisplayWhitePoint();
    if (status != 0)
        return status;
    emit StepTaskCounter();
    m_AdjustValue.m_Brightness = quint16(clampedRegister(m_CurrentBrightness));

    CColorValue &record = m_AdjustValue.m_ColorValue;
    for (int curve : kStaleCurves)
        record.m_Splines[curve].SetValid(false);
    CreateTargetSpline(&record, &m_Target, &record.m_TargetCurve);

    if ((status = m_Monitor->SaveCurrentSettings()) != 0)
        return status;
    emit StepTaskCounter();
    const CPreferences *preferences = pz::applicationPreferences();
    const bool forProfile = preferences && preferences->m_ICCAfterCalibration;
    if ((status = MeasureCorrectedPrimaries(forProfile, true)) != 0)
        return status;
    emit StepTaskCounter();
    return 0;
}

int CalibrateThread_HXSeries::readBackRegisters()
{
    static constexpr int kCodes[] = {kRegRedX,     kRegRedX + 1, kRegRedX + 2, kRegRedX + 3,
                                     kRegRedX + 4, kRegRedX + 5, kRegWhiteX,   kRegWhiteY,
                                     kRegEngineInfo, kRegPanelInfo};
    QList<set_get_vcp_list> list;
    for (int code : kCodes)
        list << set_get_vcp_list::read(code);
    emit StepTaskCounter();
    if (const int status = m_Monitor->SetGetVCPList(&list, true))
        return status;
    // Nothing is stored from a read-back with a failed element.
    for (const set_get_vcp_list &element : list)
        if (element.result != 0)
            return element.result;

    qint16 *values = m_AdjustValue.m_MonitorSpecificValues;
    for (int i = 0; i < 8; ++i)
        values[i] = storedValue(list[i].value);
    values[9] = storedValue(list[9].value);
    values[10] = storedValue(list[8].value);

    CColorValue &record = m_AdjustValue.m_ColorValue;
    auto primary = [&list](int i) {
        return CCIEXYZ(CCIEYxy(1.0, list[i].value / 1000.0, list[i + 1].value / 1000.0));
    };
    record.m_EDIDRed = primary(0);
    record.m_EDIDGreen = primary(2);
    record.m_EDIDBlue = primary(4);
    return 0;
}

int CalibrateThread_HXSeries::finishCalibration()
{
    const CPreferences *preferences = pz::applicationPreferences();
    double hours = 0.0;
    if (m_Monitor->GetPowerOnHours(&hours) != 0)
        hours = 0.0;
    m_AdjustValue.SetIsHoursOnWhenCalibrated(hours);
    m_Monitor->SetOSDLock(preferences ? preferences->m_OSDLockLevel : 0);
    char name[kPictureModeNameLength + 1];
    std::memset(name, ' ', kPictureModeNameLength);
    std::memcpy(name, kPictureModeName, sizeof kPictureModeName - 1);
    name[kPictureModeNameLength] = '\0';
    m_Monitor->set_picture_mode_programmable_name(kPictureMode, name);

    // Read back before the record is marked valid: a failed read-back must
    // not leave a valid record with values never read.
    if (const int status = readBackRegisters())
        return status;

    markResultValid();

    const CTargetDisplay::typeMonitorColorGamutType gamut =
        m_TargetDisplay ? m_TargetDisplay->GetMonitorColorGamutType()
                        : CTargetDisplay::typeMonitorColorGamutType(0);
    const bool wideGamut = gamut == 1 || gamut == 2;
    const bool fromFactory = (wideGamut && !m_Sensor->IsSensorAccurateOnWideGamutDisplays())
                             || m_Target.m_ColorGamutType != CTargetValue::kGamutNative;
    m_AdjustValue.SetAutomaticSensorColorPrimariesSource(fromFactory ? 1 : 0);
    return 0;
}

void CalibrateThread_HXSeries::calibrate()
{
    m_ReuseReadings = true;
    m_ExtraSettleSeconds = 0;
    m_AdjustValue.SetCalibrationDateTime(QDateTime());
    m_AdjustValue.m_CalibrationDuration = 0;
    m_AdjustValue.m_IsValid = false;
    m_StartTime = pz::CalibrationStartTime();
    emit SetNumberOfTasks(kTaskCount);
    emit ShowMainInformationWidget(true);

    auto fail = [this](int code) { handleError(code); };
    CCIEXYZ first;
    int status = TakeSensorMeasurement(first, 0, true);
    if (status == 0 && !(first.Y >= kMinimumCalibrationWhite)) // NaN too
        status = kImplausibleReading;
    if (status != 0)
        return fail(status);
    emit StepTaskCounter();

    if (m_Monitor) {
        ulong id = 0;
        if (m_Monitor->GetMonitorVendorProductID(&id) == 0)
            m_AdjustValue.m_MonitorVendorProductID = quint32(id);
        m_AdjustValue.SetMonitorName(m_Monitor->GetMonitorModelName());
        m_AdjustValue.SetMonitorSerial(m_Monitor->GetMonitorSerialNumber());
    }
    m_AdjustValue.SetSensorModelName(m_Sensor->GetModelName());
    m_AdjustValue.SetSensorSerial(m_Sensor->GetSerialNumber());

    if ((status = ResetGraphicCardGammaTable()) != 0)
        return fail(status);
    emit StepTaskCounter();
    m_MonitorConfigured = true;
    if ((status = SetupMonitorForCalibration()) != 0)
        return fail(status);
    emit StepTaskCounter();

    emit ShowColorAdjustmentWidgets(true);
    emit SetWhiteLevelTargetMinMax(0.0, 400.0);
    if (m_Target.m_IntensityType == CTargetValue::kIntensityLevel) {
        emit SetWhiteLevelTarget(m_Target.m_Intensity);
        emit ShowWhiteLevelTarget(true);
    }

    // A final white far from the target after the first pass gets exactly
    // one more.
    for (int pass = 0; pass < 2; ++pass) {
        if ((status = calibrationPass()) != 0)
            return fail(status);
        if (pass > 0)
            break;
        if (!m_Target.m_WhitePoint.m_Native) {
            const _CIExy reached = m_AdjustValue.m_ColorValue.m_FinalPatches[CColorValue::kWhitePatch]
                                       .GetCIExy();
            const _CIExy wanted = m_Target.m_WhitePoint.m_CIExy;
            if (std::abs(reached.x - wanted.x) > kSecondPassDistance
                || std::abs(reached.y - wanted.y) > kSecondPassDistance)
                continue;
        }
        emit StepTaskCounter();
        emit StepTaskCounter();
        emit StepTaskCounter();
        break;
    }

    if ((status = finishCalibration()) != 0)
        return fail(status);
    emit StepTaskCounter();
    emit CalibrationComplete();
}
