#include "SummaryReport.h"

#include "CAdjustValue.h"
#include "CColorCalcUtils.h"
#include "CDDCMonitor.h"
#include "CTargetValue.h"
#include "LuminanceUnits.h"
#include "StringResources.h"

#include <QLocale>

#include <cmath>

namespace {

const unsigned kNotAvailable = 500;
const unsigned kHoursUsage = 600;
const unsigned kHoursUsageAgo = 601;
const unsigned kCalibrationSensorSource = 902;
const unsigned kFactorySource = 903;

const signed char kFactoryPrimaries = 1;
const unsigned char kAutomaticPrimaries = 2;

// A white point whose ΔE lies above this gets the warning sign.
const double kDeltaEWarningLimit = 3.0;
// Below this a correlated colour temperature is not shown.
const unsigned kLowestShownKelvin = 1000;

const char *const kFieldNames[kSummaryFieldCount] = {
    "summary_Display_Model_Name",
    "summary_Display_Serial_Number",
    "summary_Display_Firmware_Version",
    "summary_Display_Current_Usage",
    "summary_Display_Last_Calibration",
    "summary_Display_Calibration_Date",
    "summary_IC_Profile_File_Name",
    "summary_IC_Profile_Description",
    "summary_Display_Contrast_Ratio_Target",
    "summary_Display_Contrast_Ratio_Calibrated",
    "summary_Display_Luminance_Black_Level_Target",
    "summary_Display_Luminance_Intensity_Target",
    "summary_Display_Luminance_Black_Level_Calibrated",
    "summary_Display_Luminance_Intensity_Calibrated",
    "summary_Display_Gamma_Curve_Target",
    "summary_White_Point_Calibrated_K",
    "summary_White_Point_Calibrated_xy",
    "summary_White_Point_DeltaE",
    "summary_Sensor_Model_Name",
    "summary_Sensor_Serial_Number",
    "summary_Display_Gamma_Curve_CalibrationSteps",
    "summary_Primary_Color_source",
    "summary_White_Point_Target_K",
    "summary_White_Point_Target_xy",
    "summary_Primary_Color_Red_xy",
    "summary_Primary_Color_Green_xy",
    "summary_Primary_Color_Blue_xy",
};

QString kelvinText(unsigned kelvin)
{
    return QStringLiteral("%1 K").arg(kelvin, 10);
}

QString bracketedXy(double x, double y)
{
    return QStringLiteral("( %1 , %2 )").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
}

QString primaryText(const CCIEYxy &primary)
{
    if (primary.x > 0 && std::isfinite(primary.x) && std::isfinite(primary.y))
        return QStringLiteral("%1 , %2").arg(primary.x, 0, 'f', 3).arg(primary.y, 0, 'f', 3);
    return QStringLiteral(" - , - ");
}

// The target gamut the graph shows: a preset's primaries, the custom ones,
// or none (native, or a type no stored target carries).
bool targetGamut(const CTargetValue &target, _CIExy rgb[3])
{
    const int type = target.m_ColorGamutType;
    if (type >= CTargetValue::kGamutSRGB && type < CTargetValue::kGamutSRGB + kPresetGamutCount) {
        const double *row = presets_gamuts[type - CTargetValue::kGamutSRGB];
        for (int i = 0; i < 3; ++i)
            rgb[i] = {row[2 * i], row[2 * i + 1]};
        return true;
    }
    if (type == CTargetValue::kGamutCustom) {
        CCIEYxy red, green, blue;
        target.GetCustomColorGamutValues(red, green, blue);
        rgb[0] = {red.x, red.y};
        rgb[1] = {green.x, green.y};
        rgb[2] = {blue.x, blue.y};
        return true;
    }
    return false;
}

// A target figure's text, or the not-available text when the figure is not
// a number (a damaged record): a report never shows "nan" or "inf".
QString finiteText(double value, const QString &text)
{
    return std::isfinite(value) ? text : GetStringResource(kNotAvailable);
}

bool finiteXy(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}

void fillTargetTexts(const CTargetValue &target, SummaryView &v)
{
    v.targetGamutBox = target.m_ColorGamutType != CTargetValue::kGamutNative;
    v.targetGamutShown = targetGamut(target, v.targetGamut);
    for (const _CIExy &primary : v.targetGamut)
        v.targetGamutShown = v.targetGamutShown && finiteXy(primary.x, primary.y);

    const bool gammaCurve = target.m_GammaCurveType == CTargetValue::kCurveGamma;
    v.texts[kGammaCurveTarget] =
        finiteText(gammaCurve ? target.m_Gamma : 0.0, target.GetGammaCurveString(false));
    const bool level = target.m_IntensityType == CTargetValue::kIntensityLevel;
    v.texts[kIntensityTarget] =
        finiteText(level ? target.m_Intensity : 0.0, target.GetTargetIntensityString(true));
    v.texts[kContrastRatioTarget] = target.GetContrastRatioString();
    const QString blackLevel = target.GetTargetBlackLevelString();
    if (!blackLevel.isEmpty())
        v.texts[kBlackLevelTarget] = finiteText(target.m_Intensity, blackLevel);

    const CColorTemperature &white = target.m_WhitePoint;
    const bool whiteKnown = finiteXy(white.m_CIExy.x, white.m_CIExy.y);
    if (white.m_Native) {
        v.texts[kWhitePointTargetK] = GetStringResource(kNotAvailable);
        v.texts[kWhitePointTargetXy] = GetStringResource(kNotAvailable);
    } else {
        v.texts[kWhitePointTargetK] = kelvinText(white.m_Kelvin);
        v.texts[kWhitePointTargetXy] = whiteKnown
                                           ? bracketedXy(white.m_CIExy.x, white.m_CIExy.y)
                                           : GetStringResource(kNotAvailable);
    }
    v.targetWhiteShown = !white.m_Native && whiteKnown;
    v.targetWhite = white.m_CIExy;
    v.targetWhiteBox = !white.m_Native;
}

void fillResultTexts(const CTargetValue &target, const CAdjustValue &result, SummaryView &v)
{
    if (result.m_CalibrationDateTime.isValid())
        v.texts[kCalibrationDate] =
            QLocale::system().toString(result.m_CalibrationDateTime, QLocale::ShortFormat);
    if (!result.GetSensorModelName().isEmpty()) {
        v.texts[kSensorModelName] = result.GetSensorModelName();
        v.texts[kSensorSerialNumber] = result.GetSensorSerial();
    }
    const CColorValue &m = result.m_ColorValue;
    if (!m.m_UncorrectedGreySteps.isEmpty())
        v.texts[kCalibrationSteps] = QString::number(m.m_UncorrectedGreySteps.size());

    v.curvesTargetBox = target.m_GammaCurveType != CTargetValue::kCurveNative;
    v.curvesUncalibratedBox = m.m_Splines[CColorValue::kUncorrectedRed].IsValid();
    v.curvesCalibratedBox = m.m_Splines[CColorValue::kCorrectedRed].IsValid();
    v.curvesCorrectionBox = m.m_Splines[CColorValue::kCorrectionRed].IsValid();

    if (!result.GetProfileName().isEmpty())
        v.texts[kProfileFileName] = result.GetProfileName();
    if (!result.GetProfileDescription().isEmpty())
        v.texts[kProfileDescription] = result.GetProfileDescription();
}

void fillMeasuredTexts(const CTargetValue &target, const CAdjustValue &result, SummaryView &v)
{
    const CColorValue &m = result.m_ColorValue;
    const CCIEXYZ &white = m.m_FinalPatches[CColorValue::kWhitePatch];
    const double W = white.Y;
    const double K = m.m_FinalPatches[CColorValue::kBlackPatch].Y;
    if (K > 0 && std::isfinite(W / K))
        v.texts[kContrastRatioCalibrated] = QStringLiteral("%1:1").arg(W / K, 0, 'f', 0);
    if (W > 0 && std::isfinite(W))
        v.texts[kIntensityCalibrated] = CandelasToDisplayText(W, 1, true);
    if (K > 0 && std::isfinite(K))
        v.texts[kBlackLevelCalibrated] = CandelasToDisplayText(K, 2, true);

    const unsigned kelvin = white.GetTemperature();
    if (kelvin > kLowestShownKelvin)
        v.texts[kWhitePointCalibratedK] = kelvinText(kelvin);
    const _CIExy whiteXy = white.GetCIExy();
    if (whiteXy.x > 0 && finiteXy(whiteXy.x, whiteXy.y))
        v.texts[kWhitePointCalibratedXy] = bracketedXy(whiteXy.x, whiteXy.y);

    if (!target.m_WhitePoint.m_Native) {
        CTargetValue working = target;
        double deltaE = 0.0;
        if (CColorCalcUtils().CalculateWhitePointDeltaE(&m, &working, &deltaE) == 0)
            v.texts[kWhitePointDeltaE] = whitePointDeltaEText(deltaE, v.deltaEWarning);
    }
}

// Steps 11, 14 and 15: the display primaries for labels and graph.
void fillDisplayGamut(const CAdjustValue &result, bool factory, ReportFlavor flavor,
                      SummaryView &v)
{
    const CColorValue &m = result.m_ColorValue;
    CCIEYxy *gamut = v.displayGamut;
    if (factory) {
        const bool stored = m.m_EDIDRed.X > 0 && m.m_EDIDGreen.X > 0 && m.m_EDIDBlue.X > 0;
        if (stored || flavor == ReportFlavor::Browser) {
            gamut[0] = m.m_EDIDRed.GetCIEYxy();
            gamut[1] = m.m_EDIDGreen.GetCIEYxy();
            gamut[2] = m.m_EDIDBlue.GetCIEYxy();
        }
    } else {
        for (int i = 0; i < 3; ++i)
            gamut[i] = m.m_FinalPatches[CColorValue::kRedPatch + i].GetCIEYxy();
    }
    v.texts[kPrimaryRedXy] = primaryText(gamut[0]);
    v.texts[kPrimaryGreenXy] = primaryText(gamut[1]);
    v.texts[kPrimaryBlueXy] = primaryText(gamut[2]);

    v.displayGamutValid = gamut[0].x > 0 && gamut[1].x > 0 && gamut[2].x > 0;
    const _CIExy white = m.m_FinalPatches[CColorValue::kWhitePatch].GetCIExy();
    const bool whiteShown = v.displayGamutValid && white.x > 0 && white.y > 0;
    gamut[3].x = whiteShown ? white.x : 0.0;
    gamut[3].y = whiteShown ? white.y : 0.0;
    v.displayGamutBox = v.displayGamutValid;
}

} // namespace

const char *summaryFieldName(SummaryField field)
{
    return field >= 0 && field < kSummaryFieldCount ? kFieldNames[field] : "";
}

QString whitePointDeltaEText(double deltaE, bool &warning)
{
    warning = false;
    if (!std::isfinite(deltaE))
        return GetStringResource(kNotAvailable);
    warning = deltaE > kDeltaEWarningLimit;
    return QStringLiteral("%1").arg(deltaE, 0, 'f', 2);
}

bool belongsToMonitor(const CAdjustValue &result, quint32 vendorProductId, const QString &serial)
{
    return result.m_MonitorVendorProductID == vendorProductId
        && result.GetMonitorSerial().compare(serial, Qt::CaseInsensitive) == 0;
}

bool usesFactoryPrimaries(unsigned char primarySourcePreference, const CAdjustValue &result)
{
    const int source = primarySourcePreference == kAutomaticPrimaries
                           ? result.GetAutomaticSensorColorPrimariesSource()
                           : primarySourcePreference;
    return source == kFactoryPrimaries;
}

LiveMonitorReading readLiveMonitor(CDDCMonitor *monitor, bool factoryPrimaries)
{
    LiveMonitorReading r;
    if (!monitor)
        return r;
    r.present = true;
    r.modelName = monitor->GetMonitorModelName();
    r.serial = monitor->GetMonitorSerialNumber();
    // What the detection read: the GUI thread does not wait for the monitor.
    r.firmware = monitor->GetKnownMPUVersion();
    r.hours = monitor->GetKnownPowerOnHours();
    if (factoryPrimaries) {
        CCIEYxy primaries[3];
        if (monitor->GetMonitorEDIDColorCoordinates(primaries) == 0) {
            r.hasPrimaries = true;
            for (int i = 0; i < 3; ++i)
                r.primaries[i] = primaries[i];
        }
    }
    return r;
}

SummaryView buildSummary(const SummaryInputs &in)
{
    SummaryView v;
    const CTargetValue &target = *in.target;
    const CAdjustValue &result = *in.result;
    const bool browser = in.flavor == ReportFlavor::Browser;
    for (int i = 0; i < kResetSummaryFieldCount; ++i)
        v.texts[i] = GetStringResource(kNotAvailable);

    const bool factory = usesFactoryPrimaries(in.primarySourcePreference, result);

    // The monitor's hours now, when known and (in the browser) when the
    // result was made on that monitor; -1 otherwise.
    double hoursNow = -1.0;
    if (browser) {
        const MonitorSnapshot &s = in.snapshot;
        if (belongsToMonitor(result, s.vendorProductId, s.serial)) {
            hoursNow = s.hours;
            if (!s.firmware.isEmpty())
                v.texts[kFirmwareVersion] = s.firmware;
        }
    } else if (in.live.present) {
        v.texts[kModelName] = in.live.modelName;
        v.texts[kSerialNumber] = in.live.serial;
        v.texts[kFirmwareVersion] = in.live.firmware;
        hoursNow = in.live.hours;
        if (factory && in.live.hasPrimaries)
            for (int i = 0; i < 3; ++i)
                v.displayGamut[i] = in.live.primaries[i];
    }
    if (hoursNow > 0)
        v.texts[kCurrentUsage] = GetStringResource(kHoursUsage).arg(hoursNow, 0, 'f', 1);

    v.texts[kPrimariesSource] = GetStringResource(factory ? kFactorySource : kCalibrationSensorSource);
    fillTargetTexts(target, v);
    if (browser) {
        v.texts[kModelName] = result.GetMonitorName();
        v.texts[kSerialNumber] = result.GetMonitorSerial();
    }
    fillResultTexts(target, result, v);

    const double hoursThen = result.m_HoursOnWhenCalibrated;
    if (hoursThen > 0 && hoursNow >= hoursThen)
        v.texts[kLastCalibration] = GetStringResource(kHoursUsageAgo).arg(hoursNow - hoursThen, 0, 'f', 1);

    fillDisplayGamut(result, factory, in.flavor, v);
    fillMeasuredTexts(target, result, v);
    return v;
}
