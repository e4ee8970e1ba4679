// PZ_gamut_graph: grabbing and dragging the primaries. Without adjustable
// points, or with no primary in reach, the mouse is Plotter's.

#include "PZ_gamut_graph.h"

#include <QMouseEvent>

#include <cmath>

namespace {

// A primary is in reach when the pointer is less than this many pixels
// from it, in x and in y.
constexpr double kGrabReach = 9.0;

} // namespace

int PZ_gamut_graph::primaryInReach(const QPointF &pos) const
{
    // Every primary is tested, so where two are in reach the later wins.
    int found = 0;
    for (int i = 0; i < pointPositions.size(); ++i) {
        const QPointF &entry = pointPositions[i];
        if (std::fabs(pos.x() - entry.x()) < kGrabReach && std::fabs(pos.y() - entry.y()) < kGrabReach)
            found = i + 1;
    }
    return found;
}

void PZ_gamut_graph::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (hasAdjustablePoints && event->button() == Qt::LeftButton && plotArea().contains(pos)) {
        const int primary = primaryInReach(pos);
        if (primary != 0) {
            grabbedPoint = primary;
            setCursor(Qt::ClosedHandCursor);
        }
    }
    if (grabbedPoint == 0)
        Plotter::mousePressEvent(event);
}

void PZ_gamut_graph::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QRect area = plotArea();
    if (grabbedPoint != 0) {
        // Not clamped: beyond the plot area lies a chromaticity beyond the
        // shown range, and the editor decides what to make of it.
        emit dragging_point(grabbedPoint, DrawPointToData(QPointF(pos), area));
    } else if (!area.isEmpty() && area.contains(pos)) {
        unsetCursor();
        if (hasAdjustablePoints && primaryInReach(pos) != 0)
            setCursor(Qt::OpenHandCursor);
    }
    Plotter::mouseMoveEvent(event);
}

void PZ_gamut_graph::mouseReleaseEvent(QMouseEvent *event)
{
    if (grabbedPoint == 0) {
        Plotter::mouseReleaseEvent(event);
        return;
    }
    // Only the left button ends a drag.
    if (event->button() == Qt::LeftButton) {
        unsetCursor();
        grabbedPoint = 0;
    }
}
