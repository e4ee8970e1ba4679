// The tone curve a calibration aims at for a target.

#include "ToneCurves.h"

#include "CColorValue.h"
#include "CDICOMCalc.h"
#include "CSpline.h"
#include "CTargetValue.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kCurvePoints = 256;
constexpr int kLastPoint = kCurvePoints - 1;

// Luminance used for a DICOM curve when nothing usable was measured.
constexpr double kFallbackBlack = 0.5;
constexpr double kFallbackWhite = 200.0;

void fillDICOMCurve(CSpline *curve, const pz::DICOMRange &range)
{
    curve->InitSpline(SPLINE_CATMULL_ROM, kCurvePoints, 0.0, 1.0);
    CDICOMCalc gsdf(static_cast<float>(range.black), static_cast<float>(range.white), kLastPoint);
    for (int i = 0; i < kCurvePoints; ++i)
        curve->SetY(i, gsdf.GetLutIndex(i, 65535) / 65535.0);
}

void fillGammaCurve(CSpline *curve, double gamma)
{
    curve->InitSpline(SPLINE_CATMULL_ROM, kCurvePoints, 0.0, 1.0);
    curve->SetSplineGamma(gamma);
}

} // namespace

namespace pz {

DICOMRange dicomTargetRange(const CColorValue *measurements, const CTargetValue &target)
{
    double black = kFallbackBlack;
    double white = kFallbackWhite;
    bool measured = false;
    if (measurements) {
        const double finalBlack = measurements->m_FinalPatches[CColorValue::kBlackPatch].Y;
        const double finalWhite = measurements->m_FinalPatches[CColorValue::kWhitePatch].Y;
        const auto &ramp = measurements->m_UncorrectedGreySteps;
        if (finalBlack > 0.0 && finalWhite > 0.0) {
            black = finalBlack;
            white = finalWhite;
            measured = true;
        } else if (ramp.size() >= 2 && ramp.back().Y > 0.0) {
            white = ramp.back().Y;
            black = measurements->m_AdjustedPatches[CColorValue::kBlackPatch].Y;
            measured = true;
        }
    }
    // A contrast ratio only ever raises a measured black.
    if (measured && target.m_ContrastRatio != 0) {
        const double ratioBlack = white / static_cast<double>(static_cast<quint32>(target.m_ContrastRatio));
        if (ratioBlack > black)
            black = ratioBlack;
    }
    if (target.m_UseDICOMScaleFactor) {
        black *= target.m_DICOMScaleFactor;
        white *= target.m_DICOMScaleFactor;
    }
    // The grayscale function has no JND index near zero luminance (a real
    // black at a low target luminance gets there), and the steps divide by
    // white - black: keep the pair inside what the function can step.
    if (!(black >= kDICOMMinimumBlack))
        black = kDICOMMinimumBlack;
    if (!(white > black) || !(white <= std::numeric_limits<float>::max()))
        return {kFallbackBlack, kFallbackWhite};
    return {black, white};
}

} // namespace pz

int CreateTargetSpline(const CColorValue *measurements, CTargetValue *target, CSpline *curve)
{
    switch (target->m_GammaCurveType) {
    case CTargetValue::kCurveDICOM:
        fillDICOMCurve(curve, pz::dicomTargetRange(measurements, *target));
        break;
    case CTargetValue::kCurveCustom: // kind mapped as assignment maps it
        *curve = target->m_CustomCurve;
        break;
    case CTargetValue::kCurveGamma:
        fillGammaCurve(curve, target->m_Gamma);
        break;
    default: // native and unknown types: the identity
        fillGammaCurve(curve, 1.0);
        break;
    }
    curve->SetValid(true);
    return 0;
}
