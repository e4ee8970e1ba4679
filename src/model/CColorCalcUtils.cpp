#include "CColorCalcUtils.h"

#include <cmath>

namespace {

// pi as the stored reports were computed with it.
constexpr double kPi = 3.141592;
// 25^7, the chroma weight constant of CIEDE2000.
constexpr double k25Pow7 = 6103515625.0;

double square(double v) { return v * v; }

// C^7 / (C^7 + 25^7), shared by the G factor and the rotation term.
double chromaWeight(double c)
{
    const double c7 = std::pow(c, 7.0);
    return c7 / (c7 + k25Pow7);
}

// Hue angle in degrees, 0 to 360.
double hueDegrees(double b, double a)
{
    double h = CColorCalcUtils::radians2degrees(std::atan2(b, a));
    if (h < 0.0)
        h += 360.0;
    return h;
}

double cosDegrees(double degrees) { return std::cos(CColorCalcUtils::degrees2radians(degrees)); }
double sinDegrees(double degrees) { return std::sin(CColorCalcUtils::degrees2radians(degrees)); }

} // namespace

const double presets_gamuts[kPresetGamutCount][6] = {
    {0.64, 0.33, 0.30, 0.60, 0.15, 0.06},    // sRGB
    {0.64, 0.33, 0.21, 0.71, 0.15, 0.06},    // AdobeRGB
    {0.64, 0.33, 0.29, 0.60, 0.15, 0.06},    // EBU/ITU
    {0.63, 0.34, 0.31, 0.595, 0.155, 0.07},  // SMPTE-C
    {0.68, 0.32, 0.265, 0.69, 0.15, 0.06},   // DCI
    {0.67, 0.33, 0.21, 0.71, 0.14, 0.08},    // ECI/NTSC (1953)
    {0.63, 0.34, 0.295, 0.605, 0.15, 0.075}, // ColorMatch
    {0.625, 0.34, 0.28, 0.595, 0.155, 0.07}, // CRT display
};

double CColorCalcUtils::degrees2radians(double degrees) { return kPi * degrees / 180.0; }

double CColorCalcUtils::radians2degrees(double radians) { return 180.0 * radians / kPi; }

double CColorCalcUtils::f(double t)
{
    if (t > 0.008856)
        return std::pow(t, 1.0 / 3.0);
    return 7.787 * t + 16.0 / 116.0;
}

LabColor CColorCalcUtils::XYZ2LabReference(const CCIEXYZ &sample, const CCIEXYZ &white)
{
    const double yr = sample.Y / white.Y;
    LabColor lab;
    // The L threshold is inclusive while f's is not: kept as computed before.
    lab.L = yr >= 0.008856 ? 116.0 * std::pow(yr, 1.0 / 3.0) - 16.0 : 903.3 * yr;
    const double fy = f(yr);
    lab.a = 500.0 * (f(sample.X / white.X) - fy);
    lab.b = 200.0 * (fy - f(sample.Z / white.Z));
    return lab;
}

double CColorCalcUtils::CalculateLabDeltaEab(const LabColor &lab1, const LabColor &lab2)
{
    return std::sqrt(square(lab1.L - lab2.L) + square(lab1.a - lab2.a) + square(lab1.b - lab2.b));
}

double CColorCalcUtils::CalculateLabDeltaE94(const LabColor &reference, const LabColor &sample)
{
    const double c1 = std::sqrt(square(reference.a) + square(reference.b));
    const double c2 = std::sqrt(square(sample.a) + square(sample.b));
    const double dL = reference.L - sample.L;
    const double dC = c1 - c2;
    double dH2 = square(reference.a - sample.a) + square(reference.b - sample.b) - square(dC);
    if (!(dH2 > 0.0))
        dH2 = 0.0;
    const double sC = 1.0 + 0.045 * c1;
    const double sH = 1.0 + 0.015 * c1;
    const double dH = std::sqrt(dH2);
    const double sum = square(dL) + square(dC / sC) + square(dH / sH);
    return sum > 0.0 ? std::sqrt(sum) : 0.0;
}

double CColorCalcUtils::CalculateLabDeltaE2000(const LabColor &lab1, const LabColor &lab2)
{
    const double cMean =
        (std::sqrt(square(lab1.a) + square(lab1.b)) + std::sqrt(square(lab2.a) + square(lab2.b))) / 2.0;
    const double g = 0.5 * (1.0 - std::sqrt(chromaWeight(cMean)));
    const double a1 = lab1.a * (1.0 + g);
    const double a2 = lab2.a * (1.0 + g);

    const double c1 = std::sqrt(square(a1) + square(lab1.b));
    const double c2 = std::sqrt(square(a2) + square(lab2.b));
    const double h1 = hueDegrees(lab1.b, a1);
    const double h2 = hueDegrees(lab2.b, a2);

    // Mean hue without the -360 branch: it may exceed 360, which only moves
    // the rotation term; the published test pairs are reproduced either way.
    const double hMean = std::fabs(h1 - h2) > 180.0 ? (h1 + h2 + 360.0) / 2.0 : (h1 + h2) / 2.0;

    double dh = h2 - h1;
    if (std::fabs(dh) > 180.0)
        dh += h1 >= h2 ? 360.0 : -360.0;
    const double dH = 2.0 * std::sqrt(c1 * c2) * sinDegrees(dh / 2.0);

    const double t = 1.0 - 0.17 * cosDegrees(hMean - 30.0) + 0.24 * cosDegrees(2.0 * hMean)
                     + 0.32 * cosDegrees(3.0 * hMean + 6.0) - 0.20 * cosDegrees(4.0 * hMean - 63.0);

    const double cPrimeMean = (c1 + c2) / 2.0;
    const double sC = 1.0 + 0.045 * cPrimeMean;
    const double sH = 1.0 + 0.015 * cPrimeMean * t;
    const double lMean = (lab1.L + lab2.L) / 2.0;
    const double sL = 1.0 + 0.015 * square(lMean - 50.0) / std::sqrt(20.0 + square(lMean - 50.0));

    const double dTheta = 30.0 * std::exp(-square((hMean - 275.0) / 25.0));
    const double rT = -2.0 * std::sqrt(chromaWeight(cPrimeMean)) * sinDegrees(2.0 * dTheta);

    const double dL = lab2.L - lab1.L;
    const double dC = c2 - c1;
    const double termC = dC / sC;
    const double termH = dH / sH;
    return std::sqrt(square(termC) + square(dL / sL) + square(termH) + rT * termC * termH);
}
