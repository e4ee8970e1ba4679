#include "CustomCurveFile.h"

#include "CSpline.h"
#include "RegularFile.h"

#include <QFile>
#include <QTextStream>
#include <QVector>

#include <cfloat>
#include <cmath>

namespace pz {

namespace {

// The values of the file up to the first line that ends the list, and the
// code that line leaves pending.
struct CurveValues {
    QVector<double> values;
    int pending = kCurveFileRead;
};

CurveValues readValues(QTextStream &in)
{
    CurveValues read;
    QString line;
    while (in.readLineInto(&line)) {
        if (line.trimmed().isEmpty())
            continue;
        if (line.size() > kCurveFileMaxLineLength) {
            read.pending = kCurveFileInvalidData;
            break;
        }
        bool ok = false;
        const double value = line.toDouble(&ok);
        // "nan" and "inf" convert, but no curve can be scaled by them.
        if (!ok || !std::isfinite(value)) {
            read.pending = kCurveFileInvalidData;
            break;
        }
        if (read.values.size() == kCurveFileMaxValues) {
            read.pending = kCurveFileTooManyValues;
            break;
        }
        read.values.append(value);
    }
    return read;
}

int checkValues(const CurveValues &read)
{
    const QVector<double> &v = read.values;
    if (v.size() < kCurveFileMinValues)
        return kCurveFileTooFewValues;
    if (v.first() != 0.0) // -0 passes
        return kCurveFileNotFromZero;
    for (int k = 1; k < v.size(); ++k)
        if (v[k] < v[k - 1])
            return kCurveFileNotMonotonic;
    return read.pending;
}

} // namespace

int readCustomCurveFile(const QString &fileName, CSpline *curve)
{
    QFile file(fileName);
    if (!openRegularFile(file))
        return kCurveFileCannotOpen;
    // Read at most one byte beyond what any curve file can hold, whatever
    // the file claimed its size to be (it may still be growing).
    if (file.size() > kCurveFileMaxBytes)
        return kCurveFileTooManyValues;
    const QByteArray bytes = file.read(kCurveFileMaxBytes + 1);
    if (bytes.size() > kCurveFileMaxBytes)
        return kCurveFileTooManyValues;
    QTextStream in(bytes);
    const CurveValues read = readValues(in);
    const int checked = checkValues(read);
    if (checked != kCurveFileRead)
        return checked;

    // The scale is the last value as single precision holds it: it must be
    // a normal single-precision number. Zero leaves nothing to scale by,
    // and a denormal one has lost the digits the curve's end relies on.
    const double lastValue = read.values.last();
    if (!(std::fabs(lastValue) <= FLT_MAX))
        return kCurveFileInvalidData;
    const float lastSingle = static_cast<float>(lastValue);
    if (!std::isnormal(lastSingle))
        return kCurveFileInvalidData;
    const double last = lastSingle;

    const int n = read.values.size();
    curve->InitSpline(SPLINE_CATMULL_ROM, n, 0.0, 1.0);
    for (int k = 0; k < n; ++k)
        curve->SetXY(k, double(k) / double(n - 1), read.values[k] / last);
    curve->SetValid(true);
    return kCurveFileRead;
}

} // namespace pz
