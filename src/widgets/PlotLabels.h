#pragma once
// The number texts of a graph's axes, shared by the grid (which draws them)
// and the margins (which make room for them).

#include <QRect>
#include <QString>
#include <QVector>

namespace pz {

// Value of tick i of count equal steps from min to max.
double tickValue(double min, double max, qint64 i, int count);

// Decimals of the tick labels of an axis spanning span: 0 for a span of 10
// or more (or none at all), 1 for spans from 1 up to 10, 2 below 1, and so
// on (0.05 gives 3).
int labelDecimals(double span);

// A tick value with the given decimals. Values just below zero (above
// -0.00001) print as zero, without a minus sign.
QString tickLabel(double value, int decimals);

// Decimals of a decade label on a logarithmic axis: as many as the decade
// lies below 1 (exponent -2 gives 2, so 0.01), none from exponent 0 up.
int decadeDecimals(double exponent);

// The label of decade 10^exponent: -2 gives "0.01", 0 gives "1", 2 "100".
QString decadeLabel(double exponent);

// Which of an axis' labels to draw so that none touches the next: the
// smallest stride of 1, 2, 5, 10, 20, 50... at which labels 0, stride,
// 2 x stride... (their rectangles given in axis order) keep at least gap
// pixels apart. A stride beyond the last label leaves only the first.
int labelStride(const QVector<QRect> &labels, int gap);

// Whether two label rectangles lie closer than gap pixels.
bool labelsCollide(const QRect &a, const QRect &b, int gap);

} // namespace pz
