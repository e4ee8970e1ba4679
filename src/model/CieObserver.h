#pragma once
// The CIE 1931 2° standard colorimetric observer: the colour-matching
// functions x̄, ȳ and z̄ from 380 to 780 nm in 10 nm steps, to four decimals
// (the published abridged table). Used wherever a spectrum becomes XYZ: the
// Spyder4's calibration fit and the simulated sensors' sensitivities.

namespace pz {

constexpr int kCieObserverFirstNm = 380;
constexpr int kCieObserverStepNm = 10;
constexpr int kCieObserverSamples = 41;

// Rows x̄, ȳ, z̄; column i is the wavelength 380 + 10·i nm.
extern const double kCie1931Observer2Deg[3][kCieObserverSamples];

} // namespace pz
