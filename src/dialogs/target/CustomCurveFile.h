#pragma once
// The custom tone-curve text file: one number per line, 3 to 256 values,
// the first exactly 0, none smaller than the one before, in any unit. Value
// k of n is the output at input level k / (n - 1), scaled by the last value
// so the curve runs from (0, 0) to (1, 1). The program reads such files and
// never writes them.

#include <QString>

class CSpline;

namespace pz {

// Result codes of readCustomCurveFile (DisplayErrorMessage knows all but
// kCurveFileNotFromZero, which it shows as "Unknown Error #-1034").
enum CurveFileResult {
    kCurveFileRead = 0,
    kCurveFileCannotOpen = -1500,
    kCurveFileTooFewValues = -1030,
    kCurveFileTooManyValues = -1031,
    kCurveFileInvalidData = -1032,
    kCurveFileNotMonotonic = -1033,
    kCurveFileNotFromZero = -1034,
};

constexpr int kCurveFileMinValues = 3;
constexpr int kCurveFileMaxValues = 256;
// A file larger than this is refused as too many values without being
// read; a line longer than this (no number is) is invalid data.
constexpr qint64 kCurveFileMaxBytes = 256 * 1024;
constexpr int kCurveFileMaxLineLength = 256;

// Reads the file into curve as a valid Catmull-Rom curve of n points on 0 to
// 1 and returns 0; on any failure returns its code and leaves curve as it
// was. Anything but a regular file (a pipe, a directory, a device) cannot be
// opened, without waiting. Lines end at "\n" or "\r\n"; empty lines and lines
// of blanks are skipped anywhere. A line that is not a finite number ends the
// list as invalid data, as does a file whose last value gives no scale (one
// that is not a normal single-precision number: 0, denormal or out of range).
// A file beyond kCurveFileMaxBytes gives too many values. When a file breaks
// several rules, too few values come before a first value other than 0, that
// before a decrease, and that before too many values or invalid data.
int readCustomCurveFile(const QString &fileName, CSpline *curve);

} // namespace pz
