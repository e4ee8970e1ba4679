#include "Matrix3d.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>

namespace pz {

bool invertMatrix3(const double *in, double *out)
{
    // The six products of the determinant, summed by sign, so that the
    // cancellation between them can be judged against their magnitude.
    double positive = 0.0;
    double negative = 0.0;
    for (double term : {in[0] * in[4] * in[8], in[1] * in[5] * in[6], in[2] * in[3] * in[7],
                        -in[2] * in[4] * in[6], -in[1] * in[3] * in[8], -in[0] * in[5] * in[7]}) {
        if (term >= 0.0)
            positive += term;
        else
            negative += term; // a NaN lands here and makes the determinant NaN
    }
    const double det = positive + negative;
    if (!std::isfinite(det) || det == 0.0
        || !(std::fabs(det / (positive - negative)) >= kSingularMatrixLimit))
        return false;

    // Transposed cofactors.
    const double result[9] = {
        (in[4] * in[8] - in[5] * in[7]) / det, (in[2] * in[7] - in[1] * in[8]) / det,
        (in[1] * in[5] - in[2] * in[4]) / det, (in[5] * in[6] - in[3] * in[8]) / det,
        (in[0] * in[8] - in[2] * in[6]) / det, (in[2] * in[3] - in[0] * in[5]) / det,
        (in[3] * in[7] - in[4] * in[6]) / det, (in[1] * in[6] - in[0] * in[7]) / det,
        (in[0] * in[4] - in[1] * in[3]) / det,
    };
    if (!std::all_of(result, result + 9, [](double v) { return std::isfinite(v); }))
        return false;
    std::copy(result, result + 9, out);
    return true;
}

} // namespace pz

Matrix3d::Matrix3d() : Matrix3d(1, 0, 0, 0, 1, 0, 0, 0, 1) {}

Matrix3d::Matrix3d(double m00, double m01, double m02, double m10, double m11, double m12,
                   double m20, double m21, double m22)
    : m{{m00, m01, m02}, {m10, m11, m12}, {m20, m21, m22}}
{
}

double Matrix3d::Determinant() const
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
           - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
           + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Matrix3d Matrix3d::operator*(double s) const
{
    Matrix3d r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = m[i][j] * s;
    return r;
}

Matrix3d Matrix3d::Inverse() const
{
    Matrix3d inverse;
    if (!pz::invertMatrix3(&m[0][0], &inverse.m[0][0])) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        inverse = Matrix3d(nan, nan, nan, nan, nan, nan, nan, nan, nan);
    }
    return inverse;
}

Vector3d Matrix3d::operator*(const Vector3d &v) const
{
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

std::ostream &operator<<(std::ostream &out, const CIEXYZ &c)
{
    return out << c.X << " " << c.Y << " " << c.Z;
}

std::ostream &operator<<(std::ostream &out, const DPX &d)
{
    return out << d.triple[0] << " " << d.triple[1] << " " << d.triple[2];
}
