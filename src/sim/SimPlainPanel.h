#pragma once
// The panel of a simulated display without a DDC/CI monitor: sRGB primaries,
// a D65 white of 120 cd/m², a pure 2.2 power response and no black light.
// Fixed, so a sensor placed on such a display reads something plausible.

#include "SimLightModel.h"

namespace pz {

struct SimPlainPanel {
    static constexpr double kWhiteLuminance = 120.0;
    static constexpr double kGamma = 2.2;
    // XYZ (Y in cd/m²) for a drive signal in [0, 1] per channel as it
    // reaches the panel; values outside are clamped.
    static SimXYZ emitted(double r, double g, double b);
};

} // namespace pz
