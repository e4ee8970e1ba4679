// White-point difference and grey-scale tracking report.

#include "CColorCalcUtils.h"

#include "CColorValue.h"
#include "CSpline.h"
#include "CTargetValue.h"
#include "ToneCurves.h"

#include <algorithm>
#include <cmath>

namespace {

// Intensity type 2 is not offered, but the white-point difference reads it
// as the maximum too, as stored results were evaluated so.
constexpr int kIntensityMaximumAlt = 2;

// A chromaticity whose XYZ at any luminance has positive X, Y and Z, so
// that Lab relative to it divides by no zero.
bool usableChromaticity(const _CIExy &xy)
{
    return xy.x > 0.0 && xy.y > 0.0 && 1.0 - xy.x - xy.y > 0.0;
}

bool usableWhite(const CCIEXYZ &white)
{
    return white.X > 0.0 && white.Y > 0.0 && white.Z > 0.0 && std::isfinite(white.X)
           && std::isfinite(white.Y) && std::isfinite(white.Z);
}

// The colour of a chromaticity at a luminance.
CCIEXYZ atLuminance(const _CIExy &xy, double luminance)
{
    return CCIEXYZ(CCIEYxy(luminance, xy.x, xy.y));
}

} // namespace

int CColorCalcUtils::CalculateWhitePointDeltaE(const CColorValue *measurements,
                                               CTargetValue *target, double *deltaE)
{
    const CCIEXYZ measured = measurements->m_FinalPatches[CColorValue::kWhitePatch];
    if (!(measured.Y > 0.0))
        return -1;
    const bool fromMeasurement = target->m_IntensityType == CTargetValue::kIntensityMaximum
                                 || target->m_IntensityType == kIntensityMaximumAlt;
    const double targetY = fromMeasurement ? measured.Y : target->m_Intensity;
    if (!(targetY > 0.0))
        return -1;

    CCIEXYZ white = measured;
    if (!target->m_WhitePoint.m_Native) {
        // A white point without chromaticity (a kelvin value outside the
        // loci) has no reference white to compare with.
        if (!usableChromaticity(target->m_WhitePoint.m_CIExy))
            return -1;
        white = atLuminance(target->m_WhitePoint.m_CIExy, targetY);
    }
    if (!usableWhite(white))
        return -1;

    *deltaE = CalculateLabDeltaE94(XYZ2LabReference(white, white), XYZ2LabReference(measured, white));
    return 0;
}

int CColorCalcUtils::CalculateAllDeltaEResults(const CColorValue *measurements, CTargetValue *target,
                                               QList<delta_e_point> &points, double minimumY)
{
    points.clear();
    const auto &steps = measurements->m_FinalGreySteps;
    const int n = static_cast<int>(steps.size());
    if (n == 0)
        return -1;
    if (target->m_GammaCurveType == CTargetValue::kCurveNative)
        return -3;
    // The target level of step i lies at i / (n - 1) on the tone curve.
    if (n < 2)
        return -1;

    const CCIEXYZ &lastStep = steps.back();
    const _CIExy whiteXY =
        target->m_WhitePoint.m_Native ? lastStep.GetCIExy() : target->m_WhitePoint.m_CIExy;

    const double whiteY =
        target->m_IntensityType == CTargetValue::kIntensityMaximum ? lastStep.Y : target->m_Intensity;
    if (!(whiteY > 0.0))
        return -1;
    const double blackY =
        target->m_ContrastRatio != 0
            ? whiteY / static_cast<double>(static_cast<quint32>(target->m_ContrastRatio))
            : steps.front().Y;
    if (!usableChromaticity(whiteXY))
        return -1;

    // A neutral drive in any target gamut has the target white's
    // chromaticity, so every target colour is that chromaticity at the
    // luminance the tone curve prescribes; the gamut's primaries drop out.
    const CCIEXYZ white = atLuminance(whiteXY, whiteY);
    const double blackShare = blackY / whiteY;

    CSpline curve;
    CreateTargetSpline(measurements, target, &curve);

    for (int i = 0; i < n; ++i) {
        const double v = curve.GetYValX(static_cast<double>(i) / (n - 1));
        const double level = v * (1.0 - blackShare) + blackShare;
        const CCIEXYZ targetColour = atLuminance(whiteXY, level * whiteY);
        const LabColor labTarget = XYZ2LabReference(targetColour, white);
        const LabColor labMeasured = XYZ2LabReference(steps[i], white);
        if (steps[i].Y >= minimumY) {
            points.append({steps[i].Y, CalculateLabDeltaEab(labTarget, labMeasured),
                           CalculateLabDeltaE94(labTarget, labMeasured),
                           CalculateLabDeltaE2000(labTarget, labMeasured)});
        }
    }
    return 0;
}

int CColorCalcUtils::CalculateAvgMaxValues(QList<delta_e_point> points,
                                           delta_e_max_avg_results &results)
{
    results = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    double sumAb = 0.0;
    double sum94 = 0.0;
    double sum2000 = 0.0;
    for (const delta_e_point &p : points) {
        results.maxDeltaEab = std::max(results.maxDeltaEab, p.deltaEab);
        results.maxDeltaE94 = std::max(results.maxDeltaE94, p.deltaE94);
        results.maxDeltaE2000 = std::max(results.maxDeltaE2000, p.deltaE2000);
        sumAb += p.deltaEab;
        sum94 += p.deltaE94;
        sum2000 += p.deltaE2000;
    }
    if (!points.isEmpty()) {
        const double count = points.size();
        results.avgDeltaEab = sumAb / count;
        results.avgDeltaE94 = sum94 / count;
        results.avgDeltaE2000 = sum2000 / count;
    }
    return 0;
}
