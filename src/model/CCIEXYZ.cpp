#include "CCIEXYZ.h"

#include "CColorTemperature.h"

#include <QDataStream>
#include <cmath>

namespace {

constexpr double kXYZTolerance = 0.1;
constexpr double kLuminanceTolerance = 0.1;
constexpr double kChromaticityTolerance = 0.0001;

bool within(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}

} // namespace

CCIEXYZ::CCIEXYZ(const _CIExy &xy)
{
    if (xy.y == 0.0) {
        X = 0.0;
        Y = 1.0;
        Z = 0.0;
        return;
    }
    X = xy.x / xy.y;
    Y = 1.0;
    Z = (1.0 - xy.x - xy.y) / xy.y;
}

CCIEXYZ::CCIEXYZ(const CCIEYxy &Yxy)
{
    Y = Yxy.Y;
    if (Yxy.y == 0.0) {
        X = 0.0;
        Z = 0.0;
        return;
    }
    X = Yxy.x / Yxy.y * Yxy.Y;
    Z = (1.0 - Yxy.x - Yxy.y) / Yxy.y * Yxy.Y;
}

_CIExy CCIEXYZ::GetCIExy() const
{
    const double sum = X + Y + Z;
    if (sum == 0.0)
        return {0.0, 0.0};
    return {X / sum, Y / sum};
}

CCIEYxy CCIEXYZ::GetCIEYxy() const
{
    const _CIExy xy = GetCIExy();
    return CCIEYxy(Y, xy.x, xy.y);
}

unsigned short CCIEXYZ::GetTemperature() const
{
    const CCIEYxy Yxy = GetCIEYxy();
    if (Yxy.x == 0.0 && Yxy.y == 0.0)
        return 0;
    return CColorTemperature(_CIExy{Yxy.x, Yxy.y}).m_Kelvin;
}

bool CCIEXYZ::operator==(const CCIEXYZ &other) const
{
    return within(X, other.X, kXYZTolerance) && within(Y, other.Y, kXYZTolerance)
           && within(Z, other.Z, kXYZTolerance);
}

CCIEYxy::CCIEYxy(const CCIEXYZ &xyz) : CCIEYxy(xyz.GetCIEYxy()) {}

bool CCIEYxy::operator==(const CCIEYxy &other) const
{
    return within(Y, other.Y, kLuminanceTolerance) && within(x, other.x, kChromaticityTolerance)
           && within(y, other.y, kChromaticityTolerance);
}

CCIEXYZ operator+(double s, const CCIEXYZ &c) { return CCIEXYZ(c.X + s, c.Y + s, c.Z + s); }
CCIEXYZ operator-(double s, const CCIEXYZ &c) { return CCIEXYZ(s - c.X, s - c.Y, s - c.Z); }
CCIEXYZ operator*(double s, const CCIEXYZ &c) { return CCIEXYZ(c.X * s, c.Y * s, c.Z * s); }
CCIEXYZ operator/(double s, const CCIEXYZ &c) { return CCIEXYZ(s / c.X, s / c.Y, s / c.Z); }

QDataStream &operator<<(QDataStream &stream, const CCIEXYZ &c)
{
    return stream << c.X << c.Y << c.Z;
}

QDataStream &operator>>(QDataStream &stream, CCIEXYZ &c)
{
    return stream >> c.X >> c.Y >> c.Z;
}

QDataStream &operator<<(QDataStream &stream, const CCIEYxy &c)
{
    return stream << c.Y << c.x << c.y;
}

QDataStream &operator>>(QDataStream &stream, CCIEYxy &c)
{
    return stream >> c.Y >> c.x >> c.y;
}
