#pragma once
// The linear RGB <-> XYZ matrices of a display, built from the measured XYZ
// of its red, green and blue primaries. RGB (1, 1, 1) maps to the sum of the
// three primaries as measured: no white-point scaling is applied.

#include "CCIEXYZ.h"

struct xyzColor {
    double X;
    double Y;
    double Z;
};

struct xyYColor {
    double x;
    double y;
    double Y;
};

// Linear drive; 1.0 is the full primary as measured.
struct rgbColor {
    double R;
    double G;
    double B;
};

// Row-major 3×3.
struct Matrix3Struct {
    double m[3][3];
};

// Row-major 4×4, used as an affine matrix on row vectors: the translation
// is the fourth row.
struct Matrix4Struct {
    double m[4][4];
};

class CXYZ2RGBTransform {
public:
    CXYZ2RGBTransform();
    virtual ~CXYZ2RGBTransform() = default;

    // 0 and valid; or -1 for primaries that give no invertible matrix, and
    // the transform is then invalid with both matrices zero (also when it
    // was valid before).
    int InitializeRGBXYZTransforms(xyzColor red, xyzColor green, xyzColor blue);
    int InitializeRGBXYZTransforms(xyYColor red, xyYColor green, xyYColor blue);
    int InitializeRGBXYZTransforms(CCIEXYZ red, CCIEXYZ green, CCIEXYZ blue);

    bool IsValid() const { return m_Valid; }

    // (0, 0, 0) while the transform is not valid.
    rgbColor XYZ2RGB(const xyzColor &c) const;
    rgbColor XYZ2RGB(const CCIEXYZ &c) const;
    xyzColor RGB2XYZ(const rgbColor &c) const;
    rgbColor xyY2RGB(const xyYColor &c) const;

    // All three 0 when y is 0 (unlike CCIEXYZ(CCIEYxy), which keeps Y).
    static xyzColor xyY2XYZ(xyYColor c);

    static void ThreeBy2FourBy(Matrix3Struct in, Matrix4Struct *out);
    static void FourBy2ThreeBy(Matrix4Struct in, Matrix3Struct *out);
    static void ThreeBy2ThreeBy(Matrix3Struct in, Matrix3Struct *out);
    // Inverse of an affine 4×4; -1 (out untouched) when the upper-left
    // block is singular or nearly so (pz::invertMatrix3).
    static int affine_matrix4_inverse(const Matrix4Struct *in, Matrix4Struct *out);

    const Matrix3Struct &XYZToRGBMatrix() const { return m_XYZ2RGB; }
    const Matrix3Struct &RGBToXYZMatrix() const { return m_RGB2XYZ; }

private:
    void invalidate();

    Matrix3Struct m_XYZ2RGB;
    Matrix3Struct m_RGB2XYZ;
    bool m_Valid = false;
};
