#pragma once
// Derivation of sensor correction matrices (the four-colour method) and the
// conversion of a matrix between two sets of primaries, with the 3x3
// operations they are built from. Matrices are nine doubles row by row,
// vectors three doubles, primary arrays red, green, blue. Outputs may not
// alias inputs of the same call except where noted.

#include "CCIEXYZ.h"

class CalculateSensorCorrectionMatrix {
public:
    // out = the transpose of in (only that: not the adjugate).
    static void adjoint(const double *in, double *out);
    // out = matrix × in; out may be in.
    static void vect_mult(const double *matrix, const double *in, double *out);
    // Expansion along the first row.
    static double det(const double *m);
    // out = the transposed cofactors of in divided by its determinant; 1.
    // A determinant of exactly 0 answers 0 and leaves out untouched.
    static int inverse(const double *in, double *out);
    // out = a × b; out may be a or b.
    static void matrix_multiply(const double *a, const double *b, double *out);

    // out = M_B × M_A⁻¹ × in, M_A and M_B being the primaries' matrices
    // (chromaticities only) normalised to the white. 1, or 0 with out
    // untouched when the white's y is 0, a set of primaries is degenerate
    // or the result is not finite.
    static int calculate_conversion_matrix(_CIExy white, const CCIEYxy *primariesA,
                                           const CCIEYxy *primariesB, const double *in,
                                           double *out);

    // The matrix that takes the measured primaries' directions onto the
    // reference primaries and the measured white exactly onto the reference
    // white: out × measuredWhite = referenceWhite. 1, or 0 with out
    // untouched when the reference white's Y is not positive, a matrix
    // cannot be inverted or the result is not finite.
    static int calculate_correction_matrix(CCIEXYZ measuredWhite, const CCIEXYZ *measuredPrimaries,
                                           CCIEXYZ referenceWhite,
                                           const CCIEYxy *referencePrimaries, double *out);

private:
    // P (one primary per column) scaled column by column so that RGB
    // (1, 1, 1) maps onto the white W; false when P cannot be inverted.
    static bool normalisedToWhite(const double *P, const double *W, double *M);
};
