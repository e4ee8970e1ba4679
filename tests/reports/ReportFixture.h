#pragma once
// Calibration records for the report tests: targets of each tone-curve kind
// and the result of a simulated calibration of a display with sRGB-like
// primaries, a native gamma of 2.4 and a final grey ramp that follows the
// target with a small ripple, with every curve the calibration computes.

#include "CAdjustValue.h"
#include "CTargetValue.h"

#include <QVector>

namespace pz::test {

// D65 (6500 K), 160 cd/m², gamma 2.2, sRGB gamut, contrast ratio 800.
CTargetValue gammaTarget();
// The same with the DICOM tone curve.
CTargetValue dicomTarget();

// Final grey steps of n luminances (cd/m²) at the D65 chromaticity.
QVector<CCIEXYZ> greySteps(const QVector<double> &luminances);
// n luminances equally spaced in JND index between black and white.
QVector<double> gsdfLuminances(int n, double black, double white);

// A calibration to target: patches, grey ramps (17 steps), EDID primaries,
// every response and correction curve; monitor "HXSIM24" "SIM0001", sensor,
// profile, date and the hours at calibration set.
CAdjustValue simulatedCalibration(const CTargetValue &target);

} // namespace pz::test
