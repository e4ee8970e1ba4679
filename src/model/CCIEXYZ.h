#pragma once
// The colour value types every part of the program passes around:
// CIE 1931 tristimulus values (CCIEXYZ), luminance with chromaticity
// (CCIEYxy) and chromaticity alone (_CIExy). Luminance is in cd/m² when it
// comes from a measurement or a target; a colour built from a chromaticity
// alone has Y = 1. Inside records they are streamed without any header.

class QDataStream;
class CCIEYxy;

// Chromaticity x, y. A plain aggregate: its fields hold what the creator writes.
struct _CIExy {
    double x;
    double y;
};

class CCIEXYZ {
public:
    CCIEXYZ() = default;
    CCIEXYZ(double x, double y, double z) : X(x), Y(y), Z(z) {}
    // The chromaticity at unit luminance; y = 0 gives (0, 1, 0).
    explicit CCIEXYZ(const _CIExy &xy);
    // y = 0 gives (0, Y, 0).
    explicit CCIEXYZ(const CCIEYxy &Yxy);
    CCIEXYZ(const CCIEXYZ &) = default;
    CCIEXYZ &operator=(const CCIEXYZ &) = default;
    virtual ~CCIEXYZ() = default;

    // (X/S, Y/S) with S = X+Y+Z; (0, 0) when S is 0.
    _CIExy GetCIExy() const;
    // (Y, X/S, Y/S); when S is 0 the luminance stays and x = y = 0.
    CCIEYxy GetCIEYxy() const;
    // Correlated colour temperature in whole kelvin; 0 when there is none.
    unsigned short GetTemperature() const;

    // Equal when every component differs by at most 0.1 (inclusive).
    bool operator==(const CCIEXYZ &other) const;
    bool operator!=(const CCIEXYZ &other) const { return !(*this == other); }

    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

class CCIEYxy {
public:
    CCIEYxy() = default;
    CCIEYxy(double lum, double cx, double cy) : Y(lum), x(cx), y(cy) {}
    explicit CCIEYxy(const CCIEXYZ &xyz);
    CCIEYxy(const CCIEYxy &) = default;
    CCIEYxy &operator=(const CCIEYxy &) = default;
    virtual ~CCIEYxy() = default;

    CCIEXYZ GetCIEXYZ() const { return CCIEXYZ(*this); }

    // Equal when Y differs by at most 0.1 and x, y by at most 0.0001 (inclusive).
    bool operator==(const CCIEYxy &other) const;
    bool operator!=(const CCIEYxy &other) const { return !(*this == other); }

    double Y = 0.0;
    double x = 0.0;
    double y = 0.0;
};

// Scalar-first arithmetic, component by component. There is deliberately no
// colour-first form, and nothing is guarded: s / 0 is infinite.
CCIEXYZ operator+(double s, const CCIEXYZ &c);
CCIEXYZ operator-(double s, const CCIEXYZ &c);
CCIEXYZ operator*(double s, const CCIEXYZ &c);
CCIEXYZ operator/(double s, const CCIEXYZ &c);

// Headerless stream forms, 24 bytes each: X, Y, Z and Y, x, y. A short
// stream shows only in the stream status, for the enclosing record to test.
QDataStream &operator<<(QDataStream &stream, const CCIEXYZ &c);
QDataStream &operator>>(QDataStream &stream, CCIEXYZ &c);
QDataStream &operator<<(QDataStream &stream, const CCIEYxy &c);
QDataStream &operator>>(QDataStream &stream, CCIEYxy &c);
