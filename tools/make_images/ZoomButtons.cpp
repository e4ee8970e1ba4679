#include "Images.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSize>

namespace images {
namespace {

// A magnifying glass: a lens in the upper left, its handle towards the lower
// right, and a plus or minus sign in the lens. Drawn on a 22 x 22 grid and
// scaled to the canvas.
void drawMagnifier(QPainter &p, const QSize &size, bool plus)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 22.0, size.height() / 22.0);

    const QPointF centre(9.0, 9.0);
    const double radius = 7.0;
    const QColor rim(52, 58, 70);

    // Handle first, so the rim covers its inner end.
    QPen handle(QColor(90, 62, 38), 4.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(handle);
    p.drawLine(QPointF(14.5, 14.5), QPointF(19.5, 19.5));

    QRadialGradient glass(centre - QPointF(2.5, 2.5), radius * 1.6);
    glass.setColorAt(0.0, QColor(255, 255, 255));
    glass.setColorAt(1.0, QColor(150, 190, 230));
    p.setBrush(glass);
    p.setPen(QPen(rim, 2.0));
    p.drawEllipse(centre, radius, radius);

    QPen sign(rim, 2.0, Qt::SolidLine, Qt::FlatCap);
    p.setPen(sign);
    p.drawLine(QPointF(centre.x() - 3.5, centre.y()), QPointF(centre.x() + 3.5, centre.y()));
    if (plus)
        p.drawLine(QPointF(centre.x(), centre.y() - 3.5), QPointF(centre.x(), centre.y() + 3.5));
}

} // namespace

void drawZoomIn(QPainter &p, const QSize &size)
{
    drawMagnifier(p, size, true);
}

void drawZoomOut(QPainter &p, const QSize &size)
{
    drawMagnifier(p, size, false);
}

} // namespace images
