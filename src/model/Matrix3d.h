#pragma once
// Small value types for 3x3 colour matrix arithmetic, and for printing
// colour triples to a standard output stream.

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
    // Adjugate times 1/Determinant(). A singular matrix is not detected:
    // its inverse has non-finite elements, so test Determinant() first.
    Matrix3d Inverse() const;
    Vector3d operator*(const Vector3d &v) const;

    double m[3][3];
};

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
