#include "SimPanelResponse.h"

#include "SimLightModel.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace pz {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A flaw's size on the typical panel and how far one panel strays from it
// (uniformly, either way).
struct Figure {
    double nominal;
    double spread;
};

// The figures of a mid-range office LCD panel. Every one is of the size such
// panels show when measured; the seed picks a panel within the spreads.
// White map: what one count of the white registers does to the chromaticity.
constexpr Figure kWhiteGainX{0.94, 0.02};      // x falls 6 % short of the register step
constexpr Figure kWhiteGainY{0.97, 0.02};      // y 3 % short
constexpr Figure kWhiteCrossX{0.05, 0.02};     // moving y drags x along by 5 %
constexpr Figure kWhiteCrossY{-0.04, 0.02};    // moving x pushes y back by 4 %
constexpr Figure kWhiteBowX{1.5, 0.5};         // x bows by 1.5 × (distance from centre)²
constexpr Figure kWhiteBowY{-1.0, 0.5};        // y bows the other way
constexpr Figure kWhiteRipple{0.0001, 0.00003};   // step size varies by about ±7 %...
constexpr double kWhiteRipplePeriod = 9.0;     // ...over nine counts (the engine's table steps)
// Luminance per step.
constexpr Figure kLuminanceSlope{1.5e-4, 0.5e-4};   // 1.5 % more light per step per 100 cd/m²
constexpr Figure kLuminanceWhiteLoss{1.5, 0.5};     // 1.5 % less per 0.01 of xy off the native white
// Tone: each channel's light departs from the curve asked for (relative).
constexpr Figure kToneBow[3] = {{0.030, 0.010},     // red a little strong in the mid-tones
                                {-0.010, 0.010},    // green a little weak
                                {-0.035, 0.010}};   // blue weaker still
constexpr Figure kToneWave[3] = {{-0.010, 0.005},   // and an S of about 1 % each
                                 {0.015, 0.005},
                                 {0.010, 0.005}};
// A gain panel's backlight regulation gives back 5 % of the light per unit
// of mean white drive taken off (by the gains or the table).
constexpr Figure kGainBacklight{0.05, 0.02};
// Warm-up from switch-on: 4 % dim and a little blue-green, settling with a
// time constant of 8 minutes (within 0.1 % after half an hour).
constexpr Figure kWarmLuminance{-0.04, 0.01};
constexpr Figure kWarmWhiteX{-0.0015, 0.0005};
constexpr Figure kWarmWhiteY{-0.0020, 0.0005};
constexpr Figure kWarmMinutes{8.0, 1.0};

// Register centre of the white map (thousandths).
constexpr double kCentreX = 0.313;
constexpr double kCentreY = 0.329;
// Target luminance at which the per-step figure holds exactly.
constexpr double kReferenceLuminance = 160.0;

class Draw {
public:
    explicit Draw(quint32 seed) : m_rng(seed) {}
    // Drawn by hand from the generator's raw output, so a seed gives the
    // same panel with every standard library.
    double operator()(const Figure &f)
    {
        const double u = (double(m_rng()) + 0.5) / 4294967296.0;
        return f.nominal + f.spread * (2.0 * u - 1.0);
    }

private:
    std::mt19937 m_rng;
};

} // namespace

SimPanelFlaws SimPanelResponse::real(quint32 seed)
{
    Draw draw(seed);
    SimPanelFlaws f;
    f.enabled = true;
    f.seed = seed;
    f.whiteGain[0] = draw(kWhiteGainX);
    f.whiteGain[1] = draw(kWhiteGainY);
    f.whiteCross[0] = draw(kWhiteCrossX);
    f.whiteCross[1] = draw(kWhiteCrossY);
    f.whiteBow[0] = draw(kWhiteBowX);
    f.whiteBow[1] = draw(kWhiteBowY);
    f.whiteRipple = draw(kWhiteRipple);
    f.whiteRipplePeriod = kWhiteRipplePeriod;
    f.luminanceSlope = draw(kLuminanceSlope);
    f.luminanceWhiteLoss = draw(kLuminanceWhiteLoss);
    for (int c = 0; c < 3; ++c) {
        f.toneBow[c] = draw(kToneBow[c]);
        f.toneWave[c] = draw(kToneWave[c]);
    }
    f.gainBacklight = draw(kGainBacklight);
    f.warmLuminance = draw(kWarmLuminance);
    f.warmWhite[0] = draw(kWarmWhiteX);
    f.warmWhite[1] = draw(kWarmWhiteY);
    f.warmMinutes = draw(kWarmMinutes);
    return f;
}

SimChromaticity SimPanelResponse::userWhite(const SimPanelFlaws &f, int whiteX, int whiteY)
{
    const double u = whiteX / 1000.0 - kCentreX;
    const double w = whiteY / 1000.0 - kCentreY;
    const double period = f.whiteRipplePeriod > 0 ? f.whiteRipplePeriod : 1.0;
    return SimChromaticity{
        kCentreX + f.whiteGain[0] * u + f.whiteCross[0] * w + f.whiteBow[0] * u * u
            + f.whiteRipple * std::sin(2.0 * kPi * whiteX / period),
        kCentreY + f.whiteGain[1] * w + f.whiteCross[1] * u + f.whiteBow[1] * w * w
            + f.whiteRipple * std::sin(2.0 * kPi * whiteY / period + 1.0)};
}

double SimPanelResponse::luminanceFactor(const SimPanelFlaws &f, int target, SimChromaticity white,
                                         SimChromaticity native)
{
    const double distance = std::hypot(white.x - native.x, white.y - native.y);
    const double factor = (1.0 + f.luminanceSlope * (target - kReferenceLuminance))
                        * (1.0 - f.luminanceWhiteLoss * distance);
    return std::max(0.0, factor);
}

double SimPanelResponse::tone(const SimPanelFlaws &f, int channel, double v, double t)
{
    channel = std::clamp(channel, 0, 2);
    v = std::clamp(v, 0.0, 1.0);
    const double deviation =
        f.toneBow[channel] * std::sin(kPi * v) + f.toneWave[channel] * std::sin(2.0 * kPi * v);
    return std::clamp(t * (1.0 + deviation), 0.0, 1.0);
}

double SimPanelResponse::gainBacklight(const SimPanelFlaws &f, const double whiteDrive[3])
{
    const double mean = (whiteDrive[0] + whiteDrive[1] + whiteDrive[2]) / 3.0;
    return 1.0 + f.gainBacklight * (1.0 - std::clamp(mean, 0.0, 1.0));
}

SimXYZ SimPanelResponse::warmUp(const SimPanelFlaws &f, double minutesOn, const SimXYZ &settled)
{
    const double sum = settled.X + settled.Y + settled.Z;
    if (!(sum > 0.0) || !(f.warmMinutes > 0.0))
        return settled;
    const double left = std::exp(-std::max(0.0, minutesOn) / f.warmMinutes);
    const double Y = settled.Y * (1.0 + f.warmLuminance * left);
    const double x = settled.X / sum + f.warmWhite[0] * left;
    const double y = std::max(1e-6, settled.Y / sum + f.warmWhite[1] * left);
    return SimXYZ{x * Y / y, Y, (1.0 - x - y) * Y / y};
}

} // namespace pz
