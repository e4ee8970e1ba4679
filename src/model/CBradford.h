#pragma once
// Adapts a display's primaries from its own white to the D50 white of the
// ICC profile connection space with the Bradford transform. The profile
// writer takes the adapted primaries for its colorant tags and the
// adaptation matrix for its chromatic adaptation tag. Matrices are nine
// doubles, row by row.

#include "CCIEXYZ.h"

class CBradford {
public:
    CBradford();

    // Normalises the four values in place to Y = 1 and computes the
    // adaptation. Returns 0, or -1 when a value has no positive finite Y,
    // the primaries matrix is singular or the result is not finite; the
    // derived matrices are then zero and the inputs stay as they were when
    // a Y was unusable.
    int fill_in_c_matrix(CCIEXYZ *red, CCIEXYZ *green, CCIEXYZ *blue, CCIEXYZ *white);
    // The D50-adapted red, green and blue (the columns of M · T).
    void get_result_matrix(CCIEXYZ *red, CCIEXYZ *green, CCIEXYZ *blue) const;
    // The adaptation matrix M from the source white to D50, row by row.
    void get_bradford_matrix(double *out) const;

    // (X/Y, 1, Z/Y).
    static void XYZNormalize(CCIEXYZ &c);
    static double det(const double *m);
    // Adjugate divided by the determinant; 1, or 0 without writing when the
    // matrix is singular or nearly so (pz::invertMatrix3).
    static int inverse(const double *in, double *out);
    static void vect_mult(const double *m, const double *v, double *out);
    static void matrix_multiply(const double *a, const double *b, double *out);
    // Writes the transpose of in.
    static void adjoint(const double *in, double *out);

    // T = C · diag(S) with S = C⁻¹ · W.
    void calculate_T_matrix();
    // M = MB⁻¹ · diag(MB·D50 / MB·W) · MB.
    void calculate_bradford_matrix();

private:
    void clearDerived();

    double m_C[9];
    double m_CInverse[9];
    double m_T[9];
    double m_S[3];
    double m_MB[9];
    double m_MBInverse[9];
    double m_M[9];
    double m_D50[3];
    double m_W[3];
    double m_R[9];
};
