#include "CalculateSensorCorrectionMatrix.h"

#include "SensorMatrixCorrection.h"

#include <algorithm>
#include <cmath>

namespace {

bool allFinite(const double *values, int n)
{
    return std::all_of(values, values + n, [](double v) { return std::isfinite(v); });
}

// One primary per column: (x, y, 1 - x - y).
void chromaticityColumns(const CCIEYxy *primaries, double *P)
{
    for (int j = 0; j < 3; ++j) {
        P[j] = primaries[j].x;
        P[3 + j] = primaries[j].y;
        P[6 + j] = 1.0 - primaries[j].x - primaries[j].y;
    }
}

} // namespace

void CalculateSensorCorrectionMatrix::adjoint(const double *in, double *out)
{
    double t[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            t[3 * c + r] = in[3 * r + c];
    std::copy(t, t + 9, out);
}

void CalculateSensorCorrectionMatrix::vect_mult(const double *matrix, const double *in, double *out)
{
    SensorMatrixCorrection::vect_mult(matrix, in, out);
}

double CalculateSensorCorrectionMatrix::det(const double *m)
{
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6])
         + m[2] * (m[3] * m[7] - m[4] * m[6]);
}

int CalculateSensorCorrectionMatrix::inverse(const double *in, double *out)
{
    const double d = det(in);
    if (d == 0.0)
        return 0;
    // Cofactor C_rc, stored transposed: out[c][r] = C_rc / d.
    const double cof[9] = {
        in[4] * in[8] - in[5] * in[7], -(in[3] * in[8] - in[5] * in[6]), in[3] * in[7] - in[4] * in[6],
        -(in[1] * in[8] - in[2] * in[7]), in[0] * in[8] - in[2] * in[6], -(in[0] * in[7] - in[1] * in[6]),
        in[1] * in[5] - in[2] * in[4], -(in[0] * in[5] - in[2] * in[3]), in[0] * in[4] - in[1] * in[3],
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out[3 * c + r] = cof[3 * r + c] / d;
    return 1;
}

void CalculateSensorCorrectionMatrix::matrix_multiply(const double *a, const double *b, double *out)
{
    double result[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            result[3 * r + c] = a[3 * r] * b[c] + a[3 * r + 1] * b[3 + c] + a[3 * r + 2] * b[6 + c];
    std::copy(result, result + 9, out);
}

bool CalculateSensorCorrectionMatrix::normalisedToWhite(const double *P, const double *W, double *M)
{
    double inv[9];
    if (!inverse(P, inv))
        return false;
    double S[3];
    vect_mult(inv, W, S);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            M[3 * r + c] = P[3 * r + c] * S[c];
    return true;
}

int CalculateSensorCorrectionMatrix::calculate_conversion_matrix(_CIExy white,
                                                                 const CCIEYxy *primariesA,
                                                                 const CCIEYxy *primariesB,
                                                                 const double *in, double *out)
{
    if (white.y == 0.0)
        return 0;
    const double W[3] = {white.x / white.y, 1.0, (1.0 - white.x - white.y) / white.y};
    double PA[9], PB[9], MA[9], MB[9], MAinv[9];
    chromaticityColumns(primariesA, PA);
    chromaticityColumns(primariesB, PB);
    if (!normalisedToWhite(PA, W, MA) || !normalisedToWhite(PB, W, MB) || !inverse(MA, MAinv))
        return 0;
    double result[9];
    matrix_multiply(MAinv, in, result);
    matrix_multiply(MB, result, result);
    if (!allFinite(result, 9))
        return 0;
    std::copy(result, result + 9, out);
    return 1;
}

int CalculateSensorCorrectionMatrix::calculate_correction_matrix(CCIEXYZ measuredWhite,
                                                                 const CCIEXYZ *measuredPrimaries,
                                                                 CCIEXYZ referenceWhite,
                                                                 const CCIEYxy *referencePrimaries,
                                                                 double *out)
{
    if (!(referenceWhite.Y > 0.0))
        return 0;
    double Pm[9];
    for (int j = 0; j < 3; ++j) {
        Pm[j] = measuredPrimaries[j].X;
        Pm[3 + j] = measuredPrimaries[j].Y;
        Pm[6 + j] = measuredPrimaries[j].Z;
    }
    const double Wm[3] = {measuredWhite.X / referenceWhite.Y, measuredWhite.Y / referenceWhite.Y,
                          measuredWhite.Z / referenceWhite.Y};
    double Pr[9];
    chromaticityColumns(referencePrimaries, Pr);
    const double Wr[3] = {referenceWhite.X / referenceWhite.Y, 1.0,
                          referenceWhite.Z / referenceWhite.Y};

    double Mm[9], Mr[9], MmInv[9];
    if (!normalisedToWhite(Pm, Wm, Mm) || !normalisedToWhite(Pr, Wr, Mr) || !inverse(Mm, MmInv))
        return 0;
    double result[9];
    matrix_multiply(Mr, MmInv, result);
    if (!allFinite(result, 9))
        return 0;
    std::copy(result, result + 9, out);
    return 1;
}
