#include "colorimeterMeasurementTarget.h"

#include "UnmanagedFill.h"

#include <QMouseEvent>
#include <QPainter>

colorimeterMeasurementTarget::colorimeterMeasurementTarget(QWidget *parent)
    : QWidget(parent)
{
    // The owner's background shows around the circle.
    setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    setMouseTracking(true);
}

QSize colorimeterMeasurementTarget::sizeHint() const
{
    return QSize(300, 300);
}

QSize colorimeterMeasurementTarget::minimumSizeHint() const
{
    return QSize(200, 200);
}

QRect colorimeterMeasurementTarget::patchSquare(const QSize &size)
{
    // In integer arithmetic: s = min(w, h) - 1, the square begins 2 pixels
    // in from the centred s x s square and is s - 5 wide.
    const int s = qMin(size.width(), size.height()) - 1;
    return QRect(size.width() / 2 - s / 2 + 2, size.height() / 2 - s / 2 + 2, s - 5, s - 5);
}

bool colorimeterMeasurementTarget::insideCursorCircle(const QSize &size, const QPoint &point)
{
    const int s = qMin(size.width(), size.height()) - 1;
    const qint64 dx = point.x() - size.width() / 2;
    const qint64 dy = point.y() - size.height() / 2;
    return dx * dx + dy * dy <= qint64(s) * s / 4;
}

void colorimeterMeasurementTarget::setPatchColor(const QColor &colour)
{
    patchColor = colour;
    update();
}

void colorimeterMeasurementTarget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(insideCursorCircle(size(), event->position().toPoint()) ? Qt::BlankCursor
                                                                       : Qt::ArrowCursor);
}

void colorimeterMeasurementTarget::paintEvent(QPaintEvent *)
{
    const QRect square = patchSquare(size());
    // The colour's 8-bit channels, for both fills alike.
    const QColor colour(patchColor.red(), patchColor.green(), patchColor.blue(), patchColor.alpha());

    QPainter p(this);
    p.setBrush(QBrush(colour, Qt::SolidPattern));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(square);

    pz::UnmanagedFill fill(p, *this);
    fill.fillEllipse(QRectF(square), colour);
}
