#include "Images.h"

#include <QPainter>
#include <QRadialGradient>
#include <QSize>

namespace images {

// A small glossy grey ball with a dark rim, lit from the upper left: the
// handle the user drags (gamut corners in the chromaticity diagram, the
// colour picker's ball). Drawn on a 17 x 17 grid and scaled to the canvas;
// the centre is the middle of pixel (8, 8), so the ball sits centred over
// the point it marks.
void drawControlBall(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 17.0, size.height() / 17.0);

    const QPointF centre(8.5, 8.5);
    const double radius = 6.5;
    QRadialGradient shade(centre, radius, QPointF(6.0, 6.0));
    shade.setColorAt(0.0, QColor(255, 255, 255));
    shade.setColorAt(0.45, QColor(200, 204, 210));
    shade.setColorAt(1.0, QColor(96, 100, 110));
    p.setBrush(shade);
    p.setPen(QPen(QColor(40, 42, 48), 1.2));
    p.drawEllipse(centre, radius, radius);
}

} // namespace images
