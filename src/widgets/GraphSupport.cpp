#include "GraphSupport.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace pz {

PlotSettings plotLevel(double minX, double maxX, int xTicks, double minY, double maxY, int yTicks)
{
    PlotSettings s;
    s.minX = minX;
    s.maxX = maxX;
    s.numXTicks = xTicks;
    s.minY = minY;
    s.maxY = maxY;
    s.numYTicks = yTicks;
    return s;
}

bool isDrawablePoint(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::fabs(p.x()) <= kMaxDrawCoordinate
           && std::fabs(p.y()) <= kMaxDrawCoordinate;
}

void drawDrawablePolylines(QPainter *painter, const QPolygonF &points)
{
    QPolygonF run;
    for (const QPointF &p : points) {
        if (isDrawablePoint(p)) {
            run << p;
            continue;
        }
        if (run.size() > 1)
            painter->drawPolyline(run);
        run.clear();
    }
    if (run.size() > 1)
        painter->drawPolyline(run);
}

} // namespace pz
