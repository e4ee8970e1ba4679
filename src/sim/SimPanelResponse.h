#pragma once
// How a real LCD panel departs from the ideal light model: the colour
// engine's white registers act through a slightly curved, cross-coupled map
// whose step size varies across the range, the light per luminance step
// changes with the level and with the white, each channel's tone response
// bows away from the curve asked for by a few percent, the gains of a panel
// without a colour engine pull its backlight, and the light settles over
// the first half hour of on-time. Off by default: the simulated desktop and
// the tests see the ideal panel unless a configuration switches this on.
// The nominal figures and how far a panel may stray from them live in
// SimPanelResponse.cpp; a seed picks one panel, so a run repeats exactly.

#include <QtGlobal>

namespace pz {

struct SimXYZ;
struct SimChromaticity;

// One panel's flaws, as drawn from its seed (see SimPanelResponse::real).
struct SimPanelFlaws {
    bool enabled = false;
    quint32 seed = 0;
    // White registers (thousandths) to chromaticity, around the register
    // centre: gain of each axis, how far x moves y and y moves x, a bow
    // growing with the square of the distance, and a ripple of the step size.
    double whiteGain[2] = {1.0, 1.0};
    double whiteCross[2] = {0.0, 0.0};    // [0]: x per unit of y, [1]: y per unit of x
    double whiteBow[2] = {0.0, 0.0};
    double whiteRipple = 0.0;              // chromaticity
    double whiteRipplePeriod = 1.0;        // register counts
    // Luminance per step: relative slope per cd/m² of the target, and the
    // relative loss per unit of xy distance of the white from the native.
    double luminanceSlope = 0.0;
    double luminanceWhiteLoss = 0.0;
    // Tone deviation of each channel: a bow (sin πv) and a wave (sin 2πv),
    // relative to the light asked for.
    double toneBow[3] = {0, 0, 0};
    double toneWave[3] = {0, 0, 0};
    // Backlight boost per unit of mean gain taken off (gain panels).
    double gainBacklight = 0.0;
    // Warm-up: relative luminance and white offset at switch-on, settling
    // with this time constant.
    double warmLuminance = 0.0;
    double warmWhite[2] = {0.0, 0.0};
    double warmMinutes = 1.0;
};

class SimPanelResponse {
public:
    // The flaws of the panel this seed picks.
    static SimPanelFlaws real(quint32 seed);

    // The white the engine gives for its white registers (thousandths),
    // before the panel's bias.
    static SimChromaticity userWhite(const SimPanelFlaws &flaws, int whiteX, int whiteY);
    // The factor on the ideal luminance (per step × target) at this target
    // and white; native is the panel's own white.
    static double luminanceFactor(const SimPanelFlaws &flaws, int target, SimChromaticity white,
                                  SimChromaticity native);
    // One channel's light relative to full for the ideal response t at drive v.
    static double tone(const SimPanelFlaws &flaws, int channel, double v, double t);
    // The factor on the light of a gain panel for the drive white gives each
    // channel through its gain (0..1 each).
    static double gainBacklight(const SimPanelFlaws &flaws, const double whiteDrive[3]);
    // The light after minutesOn of on-time, from the settled light.
    static SimXYZ warmUp(const SimPanelFlaws &flaws, double minutesOn, const SimXYZ &settled);
};

} // namespace pz
