#include "Images.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSize>

namespace images {
namespace {

// Drawings are laid out on a 16 x 16 grid and scaled to the image.
void useGrid(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 16.0, size.height() / 16.0);
}

// A status dot: a shaded disc with a darker rim.
void drawCircle(QPainter &p, const QSize &size, const QColor &colour)
{
    useGrid(p, size);
    QRadialGradient shade(QPointF(6.0, 5.5), 8.0);
    shade.setColorAt(0.0, colour.lighter(150));
    shade.setColorAt(1.0, colour);
    p.setPen(QPen(colour.darker(160), 1.0));
    p.setBrush(shade);
    p.drawEllipse(QRectF(2.5, 2.5, 11.0, 11.0));
}

} // namespace

// A pencil lying from the lower left to the upper right.
void drawEditSmall(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    QPainterPath body;
    body.moveTo(2.0, 14.0);
    body.lineTo(3.0, 10.5);
    body.lineTo(11.5, 2.0);
    body.lineTo(14.0, 4.5);
    body.lineTo(5.5, 13.0);
    body.closeSubpath();
    p.setPen(QPen(QColor(90, 60, 20), 0.8));
    p.setBrush(QColor(240, 190, 60));
    p.drawPath(body);
    p.setBrush(QColor(230, 120, 130));
    p.drawPolygon(QPolygonF({QPointF(10.5, 3.0), QPointF(11.5, 2.0), QPointF(14.0, 4.5),
                             QPointF(13.0, 5.5)}));
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF({QPointF(2.0, 14.0), QPointF(2.6, 12.0), QPointF(4.0, 13.4)}));
}

// An open folder.
void drawFileOpenSmall(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    p.setPen(QPen(QColor(140, 100, 20), 0.8));
    p.setBrush(QColor(230, 190, 90));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6.0, 3.5), QPointF(7.5, 5.0),
                             QPointF(13.0, 5.0), QPointF(13.0, 13.5), QPointF(1.5, 13.5)}));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.0, 7.5), QPointF(13.0, 13.5),
                             QPointF(1.5, 13.5)}));
}

// A floppy disk.
void drawFileSaveSmall(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    p.setPen(QPen(QColor(20, 40, 90), 0.8));
    p.setBrush(QColor(60, 100, 180));
    p.drawRoundedRect(QRectF(2.0, 2.0, 12.0, 12.0), 1.0, 1.0);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.0, 2.0, 8.0, 5.0));
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(5.0, 9.5, 6.0, 4.5));
}

// A white point: a white disc inside a colour wheel.
void drawGamutWhiteSmall(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    QConicalGradient wheel(QPointF(8.0, 8.0), 90.0);
    const QColor hues[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::red};
    for (int i = 0; i < 7; ++i)
        wheel.setColorAt(i / 6.0, hues[i]);
    p.setPen(QPen(QColor(80, 80, 80), 0.6));
    p.setBrush(wheel);
    p.drawEllipse(QRectF(1.0, 1.0, 14.0, 14.0));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(5.0, 5.0, 6.0, 6.0));
}

// A sun: brightness.
void drawBrightnessSmall(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    p.setPen(QPen(QColor(230, 150, 0), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8.0, 8.0);
        p.rotate(45.0 * i);
        p.drawLine(QPointF(0.0, -5.0), QPointF(0.0, -7.0));
        p.restore();
    }
    p.setPen(QPen(QColor(200, 120, 0), 0.8));
    p.setBrush(QColor(255, 210, 40));
    p.drawEllipse(QRectF(4.0, 4.0, 8.0, 8.0));
}

// A disc half black, half white: contrast.
void drawContrastSmall(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    const QRectF disc(1.5, 1.5, 13.0, 13.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPie(disc, 90 * 16, 180 * 16);
    p.setBrush(Qt::black);
    p.drawPie(disc, -90 * 16, 180 * 16);
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(disc);
}

void drawBlankCircle(QPainter &p, const QSize &size)
{
    useGrid(p, size);
    p.setPen(QPen(QColor(150, 150, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11.0, 11.0));
}

void drawYellowCircle(QPainter &p, const QSize &size)
{
    drawCircle(p, size, QColor(235, 190, 0));
}

void drawGreenCircle(QPainter &p, const QSize &size)
{
    drawCircle(p, size, QColor(40, 170, 50));
}

void drawRedCircle(QPainter &p, const QSize &size)
{
    drawCircle(p, size, QColor(205, 40, 35));
}

} // namespace images
