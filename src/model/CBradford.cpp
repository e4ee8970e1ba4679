#include "CBradford.h"

#include "Matrix3d.h"

#include <algorithm>
#include <cmath>

namespace {

// Bradford cone-response matrix and its inverse as published.
constexpr double kBradford[9] = {0.8951, 0.2664, -0.1614, -0.7502, 1.7135,
                                 0.0367, 0.0389, -0.0685, 1.0296};
constexpr double kBradfordInverse[9] = {0.986993, -0.14705, 0.159963, 0.432305, 0.51836,
                                        0.049291, -0.00853, 0.040043, 0.968487};
// The ICC profile connection space white.
constexpr double kD50[3] = {0.964188, 1.0, 0.82489};

bool usableLuminance(const CCIEXYZ &c)
{
    return std::isfinite(c.X) && std::isfinite(c.Y) && std::isfinite(c.Z) && c.Y > 0.0;
}

bool allFinite(const double *v, int n)
{
    return std::all_of(v, v + n, [](double d) { return std::isfinite(d); });
}

} // namespace

CBradford::CBradford()
{
    std::copy(kBradford, kBradford + 9, m_MB);
    std::copy(kBradfordInverse, kBradfordInverse + 9, m_MBInverse);
    std::copy(kD50, kD50 + 3, m_D50);
    clearDerived();
}

void CBradford::clearDerived()
{
    std::fill(m_C, m_C + 9, 0.0);
    std::fill(m_CInverse, m_CInverse + 9, 0.0);
    std::fill(m_T, m_T + 9, 0.0);
    std::fill(m_S, m_S + 3, 0.0);
    std::fill(m_M, m_M + 9, 0.0);
    std::fill(m_W, m_W + 3, 0.0);
    std::fill(m_R, m_R + 9, 0.0);
}

int CBradford::fill_in_c_matrix(CCIEXYZ *red, CCIEXYZ *green, CCIEXYZ *blue, CCIEXYZ *white)
{
    clearDerived();
    if (!usableLuminance(*red) || !usableLuminance(*green) || !usableLuminance(*blue)
        || !usableLuminance(*white))
        return -1;
    XYZNormalize(*red);
    XYZNormalize(*green);
    XYZNormalize(*blue);
    XYZNormalize(*white);

    const CCIEXYZ *columns[3] = {red, green, blue};
    for (int c = 0; c < 3; ++c) {
        m_C[0 * 3 + c] = columns[c]->X;
        m_C[1 * 3 + c] = columns[c]->Y;
        m_C[2 * 3 + c] = columns[c]->Z;
    }
    m_W[0] = white->X;
    m_W[1] = white->Y;
    m_W[2] = white->Z;
    if (!inverse(m_C, m_CInverse) || !allFinite(m_CInverse, 9)) {
        clearDerived();
        return -1;
    }
    calculate_T_matrix();
    calculate_bradford_matrix();
    matrix_multiply(m_M, m_T, m_R);
    if (!allFinite(m_M, 9) || !allFinite(m_R, 9)) {
        clearDerived();
        return -1;
    }
    return 0;
}

void CBradford::get_result_matrix(CCIEXYZ *red, CCIEXYZ *green, CCIEXYZ *blue) const
{
    CCIEXYZ *columns[3] = {red, green, blue};
    for (int c = 0; c < 3; ++c)
        *columns[c] = CCIEXYZ(m_R[0 * 3 + c], m_R[1 * 3 + c], m_R[2 * 3 + c]);
}

void CBradford::get_bradford_matrix(double *out) const
{
    std::copy(m_M, m_M + 9, out);
}

void CBradford::XYZNormalize(CCIEXYZ &c)
{
    c = CCIEXYZ(c.X / c.Y, 1.0, c.Z / c.Y);
}

double CBradford::det(const double *m)
{
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6])
           + m[2] * (m[3] * m[7] - m[4] * m[6]);
}

int CBradford::inverse(const double *in, double *out)
{
    return pz::invertMatrix3(in, out) ? 1 : 0;
}

void CBradford::vect_mult(const double *m, const double *v, double *out)
{
    const double result[3] = {m[0] * v[0] + m[1] * v[1] + m[2] * v[2],
                              m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
                              m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
    std::copy(result, result + 3, out);
}

void CBradford::matrix_multiply(const double *a, const double *b, double *out)
{
    double result[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            result[i * 3 + j] =
                a[i * 3 + 0] * b[0 * 3 + j] + a[i * 3 + 1] * b[1 * 3 + j] + a[i * 3 + 2] * b[2 * 3 + j];
    std::copy(result, result + 9, out);
}

void CBradford::adjoint(const double *in, double *out)
{
    double result[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            result[j * 3 + i] = in[i * 3 + j];
    std::copy(result, result + 9, out);
}

void CBradford::calculate_T_matrix()
{
    vect_mult(m_CInverse, m_W, m_S);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_T[i * 3 + j] = m_C[i * 3 + j] * m_S[j];
}

void CBradford::calculate_bradford_matrix()
{
    double destination[3];
    double source[3];
    vect_mult(m_MB, m_D50, destination);
    vect_mult(m_MB, m_W, source);
    double scaled[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 3; ++i)
        scaled[i * 4] = destination[i] / source[i];
    double step[9];
    matrix_multiply(scaled, m_MB, step);
    matrix_multiply(m_MBInverse, step, m_M);
}
