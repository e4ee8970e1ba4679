#include "ReportFixture.h"

#include "CDICOMCalc.h"
#include "CSpline.h"

#include <cmath>

namespace pz::test {
namespace {

const double kWhiteY = 160.0;
const double kBlackY = 0.2;
// D65 white of luminance 1.
const CCIEXYZ kD65(0.9505, 1.0, 1.089);

CCIEXYZ scaled(double s, double X, double Y, double Z)
{
    return CCIEXYZ(s * X, s * Y, s * Z);
}

CCIEXYZ sum(const CCIEXYZ &a, const CCIEXYZ &b)
{
    return CCIEXYZ(a.X + b.X, a.Y + b.Y, a.Z + b.Z);
}

// The display's primaries at full drive: sRGB's, with blue a little weak
// so the white point misses D65 by a small ΔE.
void displayPatches(CCIEXYZ *patches, double scale)
{
    const CCIEXYZ black = scaled(kBlackY, kD65.X, kD65.Y, kD65.Z);
    // Full white, black included, at the target luminance.
    scale *= (kWhiteY - kBlackY) / (kWhiteY * (0.2126 + 0.7152 + 0.0722 * 0.97));
    patches[CColorValue::kRedPatch] = scaled(kWhiteY * scale, 0.4124, 0.2126, 0.0193);
    patches[CColorValue::kGreenPatch] = scaled(kWhiteY * scale, 0.3576, 0.7152, 0.1192);
    patches[CColorValue::kBluePatch] = scaled(kWhiteY * scale * 0.97, 0.1805, 0.0722, 0.9505);
    patches[CColorValue::kWhitePatch] =
        sum(sum(patches[0], patches[1]), sum(patches[2], black));
    patches[CColorValue::kBlackPatch] = black;
}

// n grey steps from black to white with response v^gamma, each channel's
// share of the white slightly tilted by tilt, and a ripple in luminance.
QVector<CCIEXYZ> ramp(int n, double gamma, double tilt, double ripple)
{
    QVector<CCIEXYZ> steps;
    for (int i = 0; i < n; ++i) {
        const double v = double(i) / (n - 1);
        const double level = std::pow(v, gamma) * (1.0 + ripple * std::sin(i * 1.7));
        const double Y = kBlackY + level * (kWhiteY - kBlackY);
        steps.append(CCIEXYZ(kD65.X * Y * (1.0 + tilt * v), Y, kD65.Z * Y * (1.0 - tilt * v)));
    }
    return steps;
}

} // namespace

CTargetValue gammaTarget()
{
    CTargetValue t;
    t.CreateDefault();
    t.m_Name = QStringLiteral("Office D65");
    t.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(6500));
    t.m_IntensityType = CTargetValue::kIntensityLevel;
    t.m_Intensity = kWhiteY;
    t.m_ContrastRatio = 800;
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_Gamma = 2.2;
    t.m_ColorGamutType = CTargetValue::kGamutSRGB;
    return t;
}

CTargetValue dicomTarget()
{
    CTargetValue t = gammaTarget();
    t.m_Name = QStringLiteral("Reading room");
    t.m_GammaCurveType = CTargetValue::kCurveDICOM;
    return t;
}

QVector<CCIEXYZ> greySteps(const QVector<double> &luminances)
{
    QVector<CCIEXYZ> steps;
    for (double Y : luminances)
        steps.append(scaled(Y, kD65.X, kD65.Y, kD65.Z));
    return steps;
}

QVector<double> gsdfLuminances(int n, double black, double white)
{
    const CDICOMCalc gsdf(float(black), float(white), 255);
    const double j0 = gsdf.LumToIndex(float(black));
    const double j1 = gsdf.LumToIndex(float(white));
    QVector<double> luminances;
    for (int i = 0; i < n; ++i)
        luminances.append(gsdf.IndexToLum(float(j0 + i * (j1 - j0) / (n - 1))));
    return luminances;
}

CAdjustValue simulatedCalibration(const CTargetValue &target)
{
    CColorValue m;
    displayPatches(m.m_NativePatches, 1.1);
    displayPatches(m.m_AdjustedPatches, 1.0);
    displayPatches(m.m_FinalPatches, 1.0);
    const int kSteps = 17;
    // The uncorrected ramp is measured in more steps than the final one:
    // the report counts the calibration steps from it.
    const int kUncorrectedSteps = 21;
    m.m_UncorrectedGreySteps = ramp(kUncorrectedSteps, 2.4, 0.03, 0.0);
    if (target.m_GammaCurveType == CTargetValue::kCurveDICOM) {
        QVector<double> L = gsdfLuminances(kSteps, kBlackY, kWhiteY);
        for (int i = 1; i + 1 < L.size(); ++i)
            L[i] *= 1.0 + 0.03 * std::sin(i * 1.3);
        m.m_FinalGreySteps = greySteps(L);
    } else {
        m.m_FinalGreySteps = ramp(kSteps, 2.2, 0.01, 0.02);
    }
    m.m_TargetCurve.InitSpline(SPLINE_CATMULL_ROM, 256, 0, 1);
    m.m_TargetCurve.SetSplineGamma(2.2);
    m.m_TargetCurve.SetValid(true);
    m.m_EDIDRed = CCIEXYZ(0.64, 0.33, 0.03);
    m.m_EDIDGreen = CCIEXYZ(0.30, 0.60, 0.10);
    m.m_EDIDBlue = CCIEXYZ(0.15, 0.06, 0.79);
    m.CalculateRGBMeasuredUnCorrectedSplines(true);
    m.CalculateRGBMeasuredCorrectedSplines();
    for (int c = 0; c < 3; ++c)
        m.m_Splines[CColorValue::kCorrectionRed + c].InitSpline(SPLINE_CATMULL_ROM, 256, 0, 1);
    CTargetValue working = target;
    m.CreateCorrectionSplines(&working);

    CAdjustValue r;
    r.SetColorValue(m);
    r.SetMonitorName(QStringLiteral("HXSIM24"));
    r.SetMonitorSerial(QStringLiteral("SIM0001"));
    r.m_MonitorVendorProductID = 0x3E5A2401;
    r.SetSensorModelName(QStringLiteral("i1 Display Pro"));
    r.SetSensorSerial(QStringLiteral("I1D3-0042"));
    r.SetProfileName(QStringLiteral("HXSIM24 Office D65.icc"));
    r.SetProfileDescription(QStringLiteral("HXSIM24 calibrated to Office D65"));
    r.SetCalibrationDateTime(QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)));
    r.SetIsHoursOnWhenCalibrated(1100.0);
    return r;
}

} // namespace pz::test
