#include "PlotLabels.h"

#include <algorithm>
#include <cmath>

namespace pz {
namespace {

// More decimals than a double can show; keeps absurd spans and exponents
// inside the range of an int.
constexpr double kMaxDecimals = 350;

int clampedDecimals(double decimals)
{
    return decimals > 0 ? int(std::min(decimals, kMaxDecimals)) : 0;
}

} // namespace

double tickValue(double min, double max, qint64 i, int count)
{
    return min + i * (max - min) / count;
}

int labelDecimals(double span)
{
    if (!(span > 0) || !std::isfinite(span))
        return 0;
    return clampedDecimals(1 - std::floor(std::log10(span)));
}

QString tickLabel(double value, int decimals)
{
    if (value > -0.00001 && value <= 0.0)
        value = 0.0; // also turns -0.0 into 0.0
    return QString::number(value, 'f', decimals);
}

int decadeDecimals(double exponent)
{
    return exponent < 1 ? clampedDecimals(std::trunc(-exponent)) : 0;
}

QString decadeLabel(double exponent)
{
    return QString::number(std::pow(10.0, exponent), 'f', decadeDecimals(exponent));
}

bool labelsCollide(const QRect &a, const QRect &b, int gap)
{
    return a.adjusted(-gap, -gap, gap, gap).intersects(b);
}

int labelStride(const QVector<QRect> &labels, int gap)
{
    static const int kMantissas[] = {1, 2, 5};
    const qint64 count = labels.size();
    qint64 power = 1;
    for (int k = 0;; ++k) {
        const qint64 stride = kMantissas[k % 3] * power;
        if (k % 3 == 2)
            power *= 10;
        bool clear = true;
        for (qint64 i = 0; clear && i + stride < count; i += stride)
            clear = !labelsCollide(labels[int(i)], labels[int(i + stride)], gap);
        if (clear)
            return int(std::min<qint64>(stride, std::max<qint64>(count, 1)));
    }
}

} // namespace pz
