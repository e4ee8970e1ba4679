#pragma once
// Small value types for 3x3 colour matrix arithmetic, for printing colour
// triples to a standard output stream, and the one 3x3 inversion that every
// colour matrix of the program goes through.

#include <cstdint>
#include <iosfwd>

// A column vector of three doubles.
struct Vector3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Nine doubles, row by row.
class Matrix3d {
public:
    // The identity.
    Matrix3d();
    Matrix3d(double m00, double m01, double m02, double m10, double m11, double m12, double m20,
             double m21, double m22);

    double operator()(int row, int column) const { return m[row][column]; }

    // Expansion along the first row.
    double Determinant() const;
    Matrix3d operator*(double s) const;
    // Adjugate divided by the determinant (pz::invertMatrix3). A singular or
    // nearly singular matrix has no inverse: every element is then NaN.
    Matrix3d Inverse() const;
    Vector3d operator*(const Vector3d &v) const;

    double m[3][3];
};

namespace pz {

// Below this share of the magnitude of the products it is made of, a
// determinant is rounding noise and the matrix counts as singular.
constexpr double kSingularMatrixLimit = 1e-15;

// Inverts a 3x3 matrix of nine doubles, row by row: the adjugate divided by
// the determinant. Returns false and leaves out as it was when the matrix
// is singular or so nearly singular that its inverse would be made of
// rounding errors: a determinant that is 0, not finite, or less than
// kSingularMatrixLimit of the sum of the magnitudes of its six products.
// in and out may be the same array.
bool invertMatrix3(const double *in, double *out);

} // namespace pz

// A plain XYZ triple (the colour class is CCIEXYZ).
struct CIEXYZ {
    double X;
    double Y;
    double Z;
};

// A colour triple behind a 32-bit leading field.
struct DPX {
    std::int32_t lead;
    double triple[3];
};

// "X Y Z" with the stream's formatting, no line end.
std::ostream &operator<<(std::ostream &out, const CIEXYZ &c);
// The triple only; the leading field is not written.
std::ostream &operator<<(std::ostream &out, const DPX &d);
