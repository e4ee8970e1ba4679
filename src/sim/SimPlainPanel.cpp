#include "SimPlainPanel.h"

#include "Matrix3d.h"

#include <cmath>

namespace pz {

namespace {

double clamp01(double v)
{
    if (!(v > 0.0))   // also catches NaN
        return 0.0;
    return v < 1.0 ? v : 1.0;
}

// RGB (relative luminance 0..1 per channel) to XYZ with a white of Y = 1.
Matrix3d rgbToXyz()
{
    const double px[3] = {0.64, 0.30, 0.15};
    const double py[3] = {0.33, 0.60, 0.06};
    const double wx = 0.3127, wy = 0.3290;
    const Matrix3d P(px[0], px[1], px[2], py[0], py[1], py[2], 1 - px[0] - py[0],
                     1 - px[1] - py[1], 1 - px[2] - py[2]);
    const Vector3d S = P.Inverse() * Vector3d{wx / wy, 1.0, (1 - wx - wy) / wy};
    const double s[3] = {S.x, S.y, S.z};
    Matrix3d M;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            M.m[r][c] = P.m[r][c] * s[c];
    return M;
}

} // namespace

SimXYZ SimPlainPanel::emitted(double r, double g, double b)
{
    static const Matrix3d kMatrix = rgbToXyz();
    const Vector3d linear{std::pow(clamp01(r), kGamma), std::pow(clamp01(g), kGamma),
                          std::pow(clamp01(b), kGamma)};
    const Vector3d v = kMatrix * linear;
    return SimXYZ{v.x * kWhiteLuminance, v.y * kWhiteLuminance, v.z * kWhiteLuminance};
}

} // namespace pz
