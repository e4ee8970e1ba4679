#pragma once
// Comparisons of simulated light for the simulator's tests.

#include "SimLightModel.h"

#include <cmath>

namespace pz::test {

inline bool near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// Exactly the same light.
inline bool sameXYZ(const SimXYZ &a, const SimXYZ &b)
{
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

} // namespace pz::test
