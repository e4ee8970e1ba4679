// DICOM conformance figures of a measured grey ramp: JNDs per driving level
// and the contrast response against equal JND steps.

#include "CColorCalcUtils.h"

#include "CColorValue.h"
#include "CDICOMCalc.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int kMaxGreySteps = 256;
constexpr int kLutSteps = 255;

// The luminance of every final grey step and its JND index, when the ramp
// has between 1 and 256 steps, each a luminance the single-precision
// grayscale function can take.
struct MeasuredRamp {
    std::vector<double> luminance;
    std::vector<double> jnd;
    int intervals() const { return static_cast<int>(luminance.size()) - 1; }
};

bool readRamp(const CColorValue *measurements, MeasuredRamp &ramp)
{
    const auto &steps = measurements->m_FinalGreySteps;
    const int n = static_cast<int>(steps.size());
    if (n < 1 || n > kMaxGreySteps)
        return false;
    for (const CCIEXYZ &step : steps) {
        if (!(std::fabs(step.Y) <= std::numeric_limits<float>::max()))
            return false;
    }
    CDICOMCalc gsdf(static_cast<float>(steps.front().Y), static_cast<float>(steps.back().Y), kLutSteps);
    for (const CCIEXYZ &step : steps) {
        ramp.luminance.push_back(step.Y);
        ramp.jnd.push_back(static_cast<double>(gsdf.LumToIndex(static_cast<float>(step.Y))));
    }
    return true;
}

// 2 (L1 - L0) / ((L1 + L0)(j1 - j0)): the relative luminance change per JND.
double contrastResponse(double l0, double l1, double j0, double j1)
{
    return 2.0 * (l1 - l0) / ((l1 + l0) * (j1 - j0));
}

} // namespace

int CColorCalcUtils::CalculateDICOMResults(const CColorValue *measurements, double *jndPerDDL,
                                           int *count, double *mean, double *stdDev,
                                           double *intercept, double *slope)
{
    *count = 0;
    *mean = *stdDev = *intercept = *slope = 0.0;
    MeasuredRamp ramp;
    if (!readRamp(measurements, ramp))
        return -1;
    const int m = ramp.intervals();
    if (m < 1)
        return 0; // a single step has no interval and no figures

    auto drivingLevel = [m](int i) {
        return static_cast<int>(static_cast<double>(i) * kLutSteps / m + 0.5);
    };
    double sumX = 0.0, sumY = 0.0, sumXY = 0.0, sumXX = 0.0;
    for (int k = 1; k <= m; ++k) {
        const int d0 = drivingLevel(k - 1);
        const int d1 = drivingLevel(k);
        const double value = (ramp.jnd[k] - ramp.jnd[k - 1]) / (d1 - d0);
        jndPerDDL[k - 1] = value;
        sumX += d1;
        sumY += value;
        sumXY += d1 * value;
        sumXX += static_cast<double>(d1) * d1;
    }
    *count = m;
    *mean = sumY / m;
    // One interval has no spread and no trend.
    const double denominator = m * sumXX - sumX * sumX;
    *slope = denominator != 0.0 ? (m * sumXY - sumX * sumY) / denominator : 0.0;
    *intercept = (sumY - *slope * sumX) / m;
    if (m > 1) {
        double squares = 0.0;
        for (int k = 0; k < m; ++k)
            squares += (*mean - jndPerDDL[k]) * (*mean - jndPerDDL[k]);
        *stdDev = std::sqrt(squares / (m - 1));
    }
    return 0;
}

int CColorCalcUtils::CalculateDICOMContrastResponse(
    const CColorValue *measurements, double *positions, double *measuredResponse,
    double *deviationPercent, double *expectedMidpoints, double *expectedResponse, int *count,
    double *maxDeviation, double *maxDeviationPosition)
{
    *count = 0;
    *maxDeviation = 0.0;
    *maxDeviationPosition = 0.0;
    MeasuredRamp ramp;
    if (!readRamp(measurements, ramp))
        return -1;
    const int m = ramp.intervals();
    const std::vector<double> &L = ramp.luminance;
    const std::vector<double> &j = ramp.jnd;

    for (int k = 1; k <= m; ++k) {
        if (L[k] + L[k - 1] == 0.0 || j[k] == j[k - 1])
            return -1;
        measuredResponse[k - 1] = contrastResponse(L[k - 1], L[k], j[k - 1], j[k]);
    }
    *count = m;
    if (m < 1)
        return 0;

    // Equal JND steps between the measured black and white.
    CDICOMCalc gsdf(static_cast<float>(L.front()), static_cast<float>(L.back()), kLutSteps);
    std::vector<double> J(m + 1);
    std::vector<double> lum(m + 1);
    for (int i = 0; i <= m; ++i) {
        J[i] = j[0] + i * (j[m] - j[0]) / m;
        lum[i] = gsdf.IndexToLum(static_cast<float>(J[i]));
    }

    bool brighterSteps = true;
    for (int k = 1; k <= m; ++k) {
        const double size = (lum[k] + lum[k - 1]) * (J[k] - J[k - 1]);
        const double midpoint = (J[k] + J[k - 1]) / 2.0;
        positions[k - 1] = midpoint;
        expectedMidpoints[k - 1] = midpoint;
        if (!(size > 0.0))
            brighterSteps = false;
        if (size == 0.0) {
            // An interval of no expected size has no expected response.
            expectedResponse[k - 1] = 0.0;
            deviationPercent[k - 1] = 0.0;
            continue;
        }
        expectedResponse[k - 1] = contrastResponse(lum[k - 1], lum[k], J[k - 1], J[k]);
        const double deviation =
            std::fabs((measuredResponse[k - 1] - expectedResponse[k - 1]) / measuredResponse[k - 1]) * 100.0;
        deviationPercent[k - 1] = deviation;
        if (deviation > *maxDeviation) {
            *maxDeviation = deviation;
            *maxDeviationPosition = midpoint;
        }
    }
    return brighterSteps ? 0 : -1;
}
