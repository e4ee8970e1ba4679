#include "CDICOMCalc.h"

#include <cmath>
#include <limits>

namespace {

// Luminance to JND index, PS 3.14 coefficients.
constexpr double kA = 71.498068;
constexpr double kB = 94.593053;
constexpr double kC = 41.912053;
constexpr double kD = 9.8247004;
constexpr double kE = 0.28175407;
constexpr double kF = -1.1878455;
constexpr double kG = -0.18014349;
constexpr double kH = 0.14710899;
constexpr float kI = -0.017046845f;

// JND index to luminance, PS 3.14 coefficients.
constexpr double ka = -1.3011877;
constexpr double kb = -0.02584019;
constexpr double kc = 0.080242636;
constexpr double kd = -0.10320229;
constexpr double ke = 0.13646699;
constexpr double kf = 0.02874562;
constexpr double kg = -0.025468404;
constexpr double kh = -0.003197898;
constexpr double kk = 0.000129926;
constexpr double km = 0.001363533;

// Rounds to float; values beyond the float range become infinite instead
// of an undefined narrowing.
float toFloat(double v)
{
    if (v > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (v < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

} // namespace

CDICOMCalc::CDICOMCalc(float black, float white, int steps)
    : m_BlackLum(black), m_WhiteLum(white), m_Steps(steps)
{
    m_BlackIndex = LumToIndex(black);
    m_WhiteIndex = LumToIndex(white);
    if (m_BlackIndex > 0.0f && m_WhiteIndex > 0.0f && steps > 0) {
        m_TotalJNDs = m_WhiteIndex - m_BlackIndex;
        m_JNDsPerStep = m_TotalJNDs / static_cast<float>(steps);
        m_Valid = std::isfinite(m_TotalJNDs) && m_TotalJNDs > 0.0f;
    }
    // The relative table also needs distinct end luminances after the two
    // formulas' rounding.
    if (m_Valid) {
        const float span = GetLumAtLutOffset(m_Steps) - GetLumAtLutOffset(0);
        m_Valid = std::isfinite(span) && span > 0.0f;
    }
}

float CDICOMCalc::LumToIndex(float L) const
{
    if (L <= 0.0f)
        return 0.0f;
    const float x = std::log10(L);
    const double xd = x;
    const double x2 = xd * xd;
    const double x3 = x2 * xd;
    const double x4 = x3 * xd;
    const double x5 = x4 * xd;
    const double x6 = x5 * xd;
    const double x7 = x6 * xd;
    double j = kA + kB * xd + kC * x2 + kD * x3 + kE * x4 + kF * x5 + kG * x6 + kH * x7;
    // The last term entirely in single precision.
    const float xf2 = x * x;
    const float xf4 = xf2 * xf2;
    const float termI = kI * (xf4 * xf4);
    j += termI;
    return toFloat(j);
}

float CDICOMCalc::IndexToLum(float j) const
{
    if (j <= 0.0f)
        return 0.0f;
    const double u = std::log(j); // single-precision logarithm, widened
    const double u2 = u * u;
    const double u3 = u2 * u;
    const double u4 = u3 * u;
    const double u5 = u4 * u;
    const float denominator = toFloat(1.0 + kb * u + kd * u2 + kf * u3 + kh * u4 + kk * u5);
    if (denominator == 0.0f)
        return 0.0f;
    const float numerator = toFloat(ka + kc * u + ke * u2 + kg * u3 + km * u4);
    const float exponent = numerator / denominator;
    return toFloat(std::pow(10.0, static_cast<double>(exponent)));
}

float CDICOMCalc::GetLumAtLutOffset(int i) const
{
    return IndexToLum(static_cast<float>(i) * m_JNDsPerStep + m_BlackIndex);
}

float CDICOMCalc::ratio(int i) const
{
    if (!m_Valid)
        return static_cast<float>(i) / static_cast<float>(m_Steps);
    const float black = GetLumAtLutOffset(0);
    return (GetLumAtLutOffset(i) - black) / (GetLumAtLutOffset(m_Steps) - black);
}

float CDICOMCalc::GetLutIndexFloatRatio(int i) const
{
    if (i > m_Steps || i < 0 || m_Steps <= 0)
        return 0.0f;
    return ratio(i);
}

int CDICOMCalc::GetLutIndex(int i, int scale) const
{
    if (i > m_Steps || i < 0 || m_Steps <= 0)
        return 0;
    float scaled;
    if (m_Valid) {
        const float black = GetLumAtLutOffset(0);
        scaled = static_cast<float>(scale) * (GetLumAtLutOffset(i) - black)
                 / (GetLumAtLutOffset(m_Steps) - black);
    } else {
        scaled = static_cast<float>(scale) * ratio(i);
    }
    const double rounded = std::trunc(static_cast<double>(scaled) + 0.5);
    // Only values an int holds are converted.
    if (!(rounded > -2147483648.0 && rounded < 2147483648.0))
        return 0;
    return static_cast<int>(rounded);
}
