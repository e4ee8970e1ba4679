#include "PlotSettings.h"

#include <climits>
#include <cmath>

namespace {

// One axis of scroll(): taken only when both new ends stay within half a
// step of the limits.
void scrollAxis(double &min, double &max, int numTicks, int ticks, double limitLow,
                double limitHigh)
{
    if (ticks == 0 || numTicks < 1)
        return;
    const double step = (max - min) / numTicks;
    const double newMin = min + ticks * step;
    const double newMax = max + ticks * step;
    if (newMax <= limitHigh + step / 2 && newMin >= limitLow - step / 2) {
        min = newMin;
        max = newMax;
    }
}

bool isFinite(double a, double b)
{
    return std::isfinite(a) && std::isfinite(b);
}

} // namespace

void PlotSettings::adjustAxis(double &min, double &max, int &numTicks)
{
    const double grossStep = (max - min) * 0.25;
    double step = grossStep > 0 ? std::pow(10.0, std::floor(std::log10(grossStep))) : 1.0;
    if (5 * step < grossStep)
        step *= 5;
    else if (2 * step < grossStep)
        step *= 2;

    // A NaN or an absurd count (from non-finite ends) falls back to the
    // minimum instead of reaching an int conversion it cannot survive.
    const double ticks = std::ceil(max / step) - std::floor(min / step);
    numTicks = (ticks > 4 && ticks <= INT_MAX) ? int(ticks) : 4;

    min = std::floor(min / step) * step;
    max = std::ceil(max / step) * step;
}

void PlotSettings::adjust()
{
    adjustAxis(minX, maxX, numXTicks);
    adjustAxis(minY, maxY, numYTicks);
}

void PlotSettings::scroll(int dx, int dy)
{
    scrollAxis(minY, maxY, numYTicks, dy, yMin, yMax);
    scrollAxis(minX, maxX, numXTicks, dx, xMin, xMax);
}

bool PlotSettings::isDrawable() const
{
    return numXTicks >= 1 && numYTicks >= 1 && isFinite(minX, maxX) && isFinite(minY, maxY)
           && minX != maxX && minY != maxY && isFinite(xMin, xMax) && isFinite(yMin, yMax);
}
