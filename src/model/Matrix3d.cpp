#include "Matrix3d.h"

#include <ostream>

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
    // Transposed cofactors.
    const Matrix3d adjugate(
        m[1][1] * m[2][2] - m[1][2] * m[2][1], m[0][2] * m[2][1] - m[0][1] * m[2][2],
        m[0][1] * m[1][2] - m[0][2] * m[1][1],
        m[1][2] * m[2][0] - m[1][0] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
        m[0][2] * m[1][0] - m[0][0] * m[1][2],
        m[1][0] * m[2][1] - m[1][1] * m[2][0], m[0][1] * m[2][0] - m[0][0] * m[2][1],
        m[0][0] * m[1][1] - m[0][1] * m[1][0]);
    return adjugate * (1.0 / Determinant());
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
