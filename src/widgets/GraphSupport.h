#pragma once
// Small helpers shared by the graphs: their axes, and painting of data that
// may not map to a pixel. Graph data can come from files (stored
// calibrations), so a value may be infinite, not a number or absurdly far
// away; such points never reach the paint engine or an integer conversion.

#include "PlotSettings.h"

#include <QPointF>

class QPainter;
class QPolygonF;

namespace pz {

// A zoom level showing minX..maxX in xTicks intervals and minY..maxY in
// yTicks intervals.
PlotSettings plotLevel(double minX, double maxX, int xTicks, double minY, double maxY, int yTicks);

// Furthest a mapped point may lie from the widget, in pixels, to be drawn.
constexpr double kMaxDrawCoordinate = 1.0e6;

// Whether p is finite and within kMaxDrawCoordinate on both axes.
bool isDrawablePoint(const QPointF &p);

// Draws the polyline through points, broken at every point that is not
// drawable: each run of two or more drawable points becomes one polyline.
void drawDrawablePolylines(QPainter *painter, const QPolygonF &points);

} // namespace pz
