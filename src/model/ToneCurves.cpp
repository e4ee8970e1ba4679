#include "ToneCurves.h"

#include "CSpline.h"

#include <cmath>

namespace {

constexpr int kCurvePoints = 256;
constexpr int kLastPoint = kCurvePoints - 1;

// Signal that encodes relative luminance Y in each standard. The power
// branch applies strictly above the threshold.
double encodesRGB(double Y)
{
    // The linear segment ends at 0.00304, as the stored curves were built.
    return Y > 0.00304 ? 1.055 * std::pow(Y, 1.0 / 2.4) - 0.055 : 12.92 * Y;
}

double encodeSMPTE170M(double Y)
{
    return Y > 0.018 ? 1.099 * std::pow(Y, 0.45) - 0.099 : 4.5 * Y;
}

double encodeSMPTE240M(double Y)
{
    return Y > 0.0228 ? 1.1115 * std::pow(Y, 0.45) - 0.1115 : 4.0 * Y;
}

double encodeLStar(double Y)
{
    if (Y > 0.0088564517)
        return (116.0 * std::pow(Y, 1.0 / 3.0) - 16.0) / 100.0;
    // The linear part of L*: f = (903.296 Y + 16) / 116, L* = 116 f - 16.
    const double f = (903.296 * Y + 16.0) / 116.0;
    return (116.0 * f - 16.0) / 100.0;
}

int fillEncodedCurve(CSpline *curve, double (*encode)(double))
{
    curve->InitSpline(SPLINE_CATMULL_ROM, kCurvePoints, 0.0, 1.0);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double Y = static_cast<double>(i) / kLastPoint;
        curve->SetXY(i, encode(Y), Y);
    }
    return 0;
}

} // namespace

int CreatesRGBCurveSpline(CSpline *curve) { return fillEncodedCurve(curve, encodesRGB); }

int CreateNTSC_SMPTE170M_CurveSpline(CSpline *curve)
{
    return fillEncodedCurve(curve, encodeSMPTE170M);
}

int CreateHDTV_SMPTE240M_CurveSpline(CSpline *curve)
{
    return fillEncodedCurve(curve, encodeSMPTE240M);
}

int CreateLStarCurveSpline(CSpline *curve) { return fillEncodedCurve(curve, encodeLStar); }

