#include "CXYZ2RGBTransform.h"

#include "Matrix3d.h"

namespace {

rgbColor multiply(const Matrix3Struct &a, double v0, double v1, double v2)
{
    return {a.m[0][0] * v0 + a.m[0][1] * v1 + a.m[0][2] * v2,
            a.m[1][0] * v0 + a.m[1][1] * v1 + a.m[1][2] * v2,
            a.m[2][0] * v0 + a.m[2][1] * v1 + a.m[2][2] * v2};
}

} // namespace

CXYZ2RGBTransform::CXYZ2RGBTransform()
{
    invalidate();
}

void CXYZ2RGBTransform::invalidate()
{
    m_Valid = false;
    m_XYZ2RGB = Matrix3Struct{};
    m_RGB2XYZ = Matrix3Struct{};
}

int CXYZ2RGBTransform::InitializeRGBXYZTransforms(xyzColor red, xyzColor green, xyzColor blue)
{
    const xyzColor primaries[3] = {red, green, blue};
    Matrix3Struct rgbToXyz{};
    for (int c = 0; c < 3; ++c) {
        const xyzColor &p = primaries[c];
        const double sum = p.X + p.Y + p.Z;
        const double x = p.X / sum;
        const double y = p.Y / sum;
        rgbToXyz.m[0][c] = x * sum;
        rgbToXyz.m[1][c] = y * sum;
        rgbToXyz.m[2][c] = (1.0 - x - y) * sum;
    }

    Matrix4Struct wide;
    ThreeBy2FourBy(rgbToXyz, &wide);
    Matrix4Struct inverse;
    const int result = affine_matrix4_inverse(&wide, &inverse);
    if (result != 0) {
        invalidate();
        return result;
    }
    m_RGB2XYZ = rgbToXyz;
    FourBy2ThreeBy(inverse, &m_XYZ2RGB);
    m_Valid = true;
    return 0;
}

int CXYZ2RGBTransform::InitializeRGBXYZTransforms(xyYColor red, xyYColor green, xyYColor blue)
{
    return InitializeRGBXYZTransforms(xyY2XYZ(red), xyY2XYZ(green), xyY2XYZ(blue));
}

int CXYZ2RGBTransform::InitializeRGBXYZTransforms(CCIEXYZ red, CCIEXYZ green, CCIEXYZ blue)
{
    return InitializeRGBXYZTransforms(xyzColor{red.X, red.Y, red.Z},
                                      xyzColor{green.X, green.Y, green.Z},
                                      xyzColor{blue.X, blue.Y, blue.Z});
}

rgbColor CXYZ2RGBTransform::XYZ2RGB(const xyzColor &c) const
{
    if (!m_Valid)
        return {0.0, 0.0, 0.0};
    return multiply(m_XYZ2RGB, c.X, c.Y, c.Z);
}

rgbColor CXYZ2RGBTransform::XYZ2RGB(const CCIEXYZ &c) const
{
    return XYZ2RGB(xyzColor{c.X, c.Y, c.Z});
}

xyzColor CXYZ2RGBTransform::RGB2XYZ(const rgbColor &c) const
{
    if (!m_Valid)
        return {0.0, 0.0, 0.0};
    const rgbColor r = multiply(m_RGB2XYZ, c.R, c.G, c.B);
    return {r.R, r.G, r.B};
}

rgbColor CXYZ2RGBTransform::xyY2RGB(const xyYColor &c) const
{
    return XYZ2RGB(xyY2XYZ(c));
}

xyzColor CXYZ2RGBTransform::xyY2XYZ(xyYColor c)
{
    if (c.y == 0.0)
        return {0.0, 0.0, 0.0};
    return {c.x / c.y * c.Y, c.Y, c.Y * (1.0 - c.x - c.y) / c.y};
}

void CXYZ2RGBTransform::ThreeBy2FourBy(Matrix3Struct in, Matrix4Struct *out)
{
    *out = Matrix4Struct{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out->m[i][j] = in.m[i][j];
    out->m[3][3] = 1.0;
}

void CXYZ2RGBTransform::FourBy2ThreeBy(Matrix4Struct in, Matrix3Struct *out)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out->m[i][j] = in.m[i][j];
}

void CXYZ2RGBTransform::ThreeBy2ThreeBy(Matrix3Struct in, Matrix3Struct *out)
{
    *out = in;
}

int CXYZ2RGBTransform::affine_matrix4_inverse(const Matrix4Struct *in, Matrix4Struct *out)
{
    const auto &a = in->m;
    const double block[9] = {a[0][0], a[0][1], a[0][2], a[1][0], a[1][1],
                             a[1][2], a[2][0], a[2][1], a[2][2]};
    double inverse[9];
    if (!pz::invertMatrix3(block, inverse))
        return -1;

    Matrix4Struct r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = inverse[i * 3 + j];
    // The translation row, carried through the inverted block.
    for (int j = 0; j < 3; ++j)
        r.m[3][j] = -(a[3][0] * r.m[0][j] + a[3][1] * r.m[1][j] + a[3][2] * r.m[2][j]);
    r.m[3][3] = 1.0;
    *out = r;
    return 0;
}
