#pragma once
// Builds the bytes of an ICC version 2.1 display profile (class 'mntr', RGB
// to XYZ) with Little CMS 2, from values that are already computed: the
// D50-adapted colorants, the adaptation matrix, the measured white, the tone
// curves and the raw private tags. The record-to-values work is the profile
// writer's (CICCDisplayProfile).
//
// Tags, in this order: desc, cprt, rXYZ, gXYZ, bXYZ, chad, wtpt, lumi, rTRC,
// gTRC, bTRC, vcgt, mmod. The header carries CMM and platform 'APPL',
// creator 'Orvd', the given date and a zero profile ID (never computed).

#include "CCIEXYZ.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

namespace pz {

struct DisplayProfileContent {
    // The header date and time, taken as the value holds them (its own time spec).
    QDateTime created;
    QString description;
    // 7-bit ASCII (the v2 text type allows nothing else).
    QString copyright;
    // Colorants adapted to D50, Y of white = 1.
    CCIEXYZ red, green, blue;
    // The Bradford matrix from the display white to D50, row by row.
    double adaptation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    // The measured white (Y in cd/m², above 0).
    CCIEXYZ white;
    // Either one gamma value for all three curves (gamma > 0), or a table
    // per channel of drive level -> relative luminance (values are clamped
    // to 0..1, NaN taken as 0).
    double gamma = 0.0;
    QVector<double> curves[3];
    // Raw tag elements, written as they are.
    QByteArray vcgt;
    QByteArray mmod;
};

// The profile, or an empty array when Little CMS refused to build it.
QByteArray buildDisplayProfile(const DisplayProfileContent &content);

// The raw textDescriptionType element of a text: 'desc', 0, ASCII count
// n + 1, the text in 7-bit ASCII (every other character as '?') and NUL,
// language 0, Unicode count m + 1, the UTF-16BE units and 0000, ScriptCode
// 0 and count 0, 67 zero bytes: 93 + n + 2m bytes.
QByteArray textDescriptionElement(const QString &text);

// A curve value as a 16-bit table entry: clamped to 0..1, NaN as 0.
quint16 curveEntry16(double value);

// The gamma a one-entry 'curv' holds for a gamma value: the nearest u8Fixed8
// (2.3 is stored as 0x024D, 2.30078125), within 1/256 .. 255 + 255/256.
double storedCurveGamma(double gamma);

} // namespace pz
