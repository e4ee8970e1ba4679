#include "PZ_tracking_graph.h"

#include "GraphSupport.h"
#include "LuminanceUnits.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDeltaEAxisEnd = 10.0;
constexpr int kAxisTicks = 10;
// Luminance axis without data, and the step it is rounded up to.
constexpr double kDefaultLuminanceTop = 100.0;
constexpr double kLuminanceStep = 100.0;
// A last luminance beyond this (only from garbage data) is held here.
constexpr double kMaxLuminance = 1.0e6;
// Bar height in pixels.
constexpr double kBarHeight = 6.0;

// The ΔE scale, stop position (ΔE / 10) and colour.
struct ScaleStop {
    double position;
    QColor colour;
};
const ScaleStop kScale[] = {
    {0.0, QColor(0, 255, 0)},   {0.1, QColor(0, 255, 0)}, {0.2, QColor(192, 255, 0)},
    {0.3, QColor(255, 255, 0)}, {0.4, QColor(255, 192, 0)}, {0.6, QColor(255, 0, 0)},
    {1.0, QColor(255, 0, 0)},
};

double luminanceAxisTop(const double *luminance, unsigned int count)
{
    if (count == 0)
        return kDefaultLuminanceTop;
    double last = CandelasToUIUnits(luminance[count - 1]);
    if (std::isnan(last))
        last = 0.0;
    last = std::clamp(last, -kMaxLuminance, kMaxLuminance);
    return std::trunc(last / kLuminanceStep + 1.0) * kLuminanceStep;
}

} // namespace

PZ_tracking_graph::PZ_tracking_graph(QWidget *parent)
    : Plotter(parent)
{
    setPlotSettings(pz::plotLevel(0.0, kDeltaEAxisEnd, kAxisTicks, 0.0, 200.0, kAxisTicks));
}

PZ_tracking_graph::~PZ_tracking_graph() = default;

double PZ_tracking_graph::GetLuminanceAxisTop() const
{
    return zoomLevels.isEmpty() ? 0.0 : zoomLevels.first().maxY;
}

void PZ_tracking_graph::SetAverage(double average)
{
    averageDeltaE = average;
}

void PZ_tracking_graph::SetShowAverage(bool show)
{
    showAverage = show;
}

void PZ_tracking_graph::SetColorTrackingGraphData(double *deltaE, double *luminance,
                                                  unsigned int count)
{
    pointCount = deltaE && luminance ? std::min(count, kMaxSteps) : 0;
    for (unsigned int i = 0; i < pointCount; ++i) {
        deltaEValues[i] = deltaE[i];
        luminanceValues[i] = CandelasToUIUnits(luminance[i]);
    }
    setPlotSettings(pz::plotLevel(0.0, kDeltaEAxisEnd, kAxisTicks, 0.0,
                                  luminanceAxisTop(luminance, pointCount), kAxisTicks));
}

void PZ_tracking_graph::drawCurves(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const PlotSettings &shown = zoomLevels[currentZoom];
    const QRect area = plotArea();
    const int L = area.left(), R = area.right(), T = area.top(), B = area.bottom();
    if (R < L || B < T || pointCount == 0)
        return;
    const QRect clip(QPoint(L + 1, T + 1), QPoint(R - 1, B - 1));
    painter->setClipRect(clip);

    // In pixels of the shown level, so after a zoom the colours still
    // belong to the same ΔE values; padded beyond both ends.
    const double x0 = DataToDrawPoint(0, 0, area).x();
    const double x10 = DataToDrawPoint(kDeltaEAxisEnd, 0, area).x();
    QLinearGradient scale(x0, 0, x10, 0);
    for (const ScaleStop &stop : kScale)
        scale.setColorAt(stop.position, stop.colour);
    const QBrush brush(scale);

    // Only the part of a rectangle inside the clip is filled: the picture
    // is the same, and a far-away end never reaches the paint engine. A
    // value that is not finite is not drawn.
    const QRectF visible(clip);
    const auto fill = [&](const QPointF &topLeft, const QPointF &bottomRight) {
        for (double v : {topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()})
            if (!std::isfinite(v))
                return;
        const QRectF part = QRectF(topLeft, bottomRight).normalized().intersected(visible);
        if (!part.isEmpty())
            painter->fillRect(part, brush);
    };

    for (unsigned int i = 0; i < pointCount; ++i) {
        const QPointF p1 = DataToDrawPoint(deltaEValues[i], luminanceValues[i], area);
        const QPointF p0 = DataToDrawPoint(0, luminanceValues[i], area);
        fill(QPointF(p0.x(), p0.y() - kBarHeight / 2), QPointF(p1.x(), p0.y() + kBarHeight / 2));
    }
    if (showAverage) {
        const QPointF a1 = DataToDrawPoint(averageDeltaE, shown.maxY, area);
        const QPointF a0 = DataToDrawPoint(averageDeltaE, 0, area);
        fill(QPointF(a0.x() - 0.5, a1.y()), QPointF(a0.x() - 0.5 + (a1.x() - a0.x()) + 1, a0.y()));
    }
}
