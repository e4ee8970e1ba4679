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

} // namespace pz
