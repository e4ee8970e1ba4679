#pragma once
// A white point: native (the monitor's own white), a colour temperature in
// kelvin (chromaticity on the Planckian locus below 4000 K, on the CIE
// daylight locus from 4000 K), or a free chromaticity (correlated colour
// temperature and distance Δuv found on a table of isotemperature lines).

#include "CCIEXYZ.h"

#include <QString>

class QDataStream;

// One standard illuminant: chromaticity and its name.
struct DaylightIlluminant {
    double x;
    double y;
    char name[32];
};

// D50, D55, D65 and D75, in that order.
constexpr int kDaylightIlluminantCount = 4;
extern const DaylightIlluminant gDaylightIlluminant_tbl[kDaylightIlluminantCount];

class CColorTemperature {
public:
    static constexpr qint32 kMagic = 0xFADF;
    static constexpr qint32 kVersion = 101;

    CColorTemperature() = default;
    // Kelvin form; kelvin 0 is the native white point.
    explicit CColorTemperature(unsigned short kelvin);
    // Free form; kelvin and Δuv are 0 when no temperature is found.
    explicit CColorTemperature(const _CIExy &xy);
    // Free form from the chromaticity; the luminance is ignored.
    explicit CColorTemperature(const CCIEYxy &Yxy);
    CColorTemperature(const CColorTemperature &) = default;
    CColorTemperature &operator=(const CColorTemperature &) = default;
    virtual ~CColorTemperature() = default;

    // Kelvin to chromaticity; false with (0, 0) outside 1667-25000 K.
    static bool CalcCIExy(unsigned short kelvin, _CIExy &xy);
    // Chromaticity to kelvin and Δuv; false with both 0 when the
    // chromaticity is outside 0.2 <= x <= 0.6, 0.2 <= y <= 0.5, outside the
    // table, or hotter than a 16-bit kelvin value can hold.
    static bool CalcColorTemperature(const _CIExy &xy, unsigned short &kelvin, double &deltaUV);

    // Side of (u, v) against a row's isotemperature line: zero on it,
    // positive towards higher mired. Rows outside the table use the nearest row.
    static double DLTU(double u, double v, int row);
    // Signed perpendicular distance to a row's isotemperature line.
    static double DIST(double u, double v, int row);
    // For a point on a row's line; row 0 (infinite temperature) gives false.
    static bool CalcColorTemperatureOnLine(double u, double v, int row, unsigned short &kelvin,
                                           double &deltaUV);

    // Native equals native; otherwise the forms must match, then kelvin, or
    // x and y rounded to thousandths. Δuv is never compared.
    bool operator==(const CColorTemperature &other) const;
    bool operator!=(const CColorTemperature &other) const { return !(*this == other); }

    // "Native", "6500K", "D65", "x=0.313 y=0.329", or empty when x is 0.
    QString GetCaptionStr() const;

    // 0, or -1504 when the stream failed.
    int WriteToFile(QDataStream &stream) const;
    // 0; -1502 wrong magic; -1501 wrong version; -1503 read failure. The
    // white point changes only when the whole record was read.
    int ReadFromFile(QDataStream &stream);

    _CIExy m_CIExy{0.0, 0.0};
    unsigned short m_Kelvin = 0;
    bool m_KelvinForm = false;
    double m_DeltaUV = 0.0;
    bool m_Native = false;
};

QDataStream &operator<<(QDataStream &stream, const CColorTemperature &white);
// A wrong magic or version marks the stream ReadCorruptData; the white point
// changes only when the whole record was read.
QDataStream &operator>>(QDataStream &stream, CColorTemperature &white);
