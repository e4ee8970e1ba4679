// The pictures of the calibration report: the tab icons, the pictures at the
// head of each summary group and the red alert sign.

#include "Images.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSize>

#include <cmath>

namespace images {
namespace {

// Every drawing below is made on a 32 x 32 grid (16 x 16 for the tab icons)
// and scaled to the image.
void scaleTo(QPainter &p, const QSize &size, double grid)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / grid, size.height() / grid);
}

// A horseshoe of the spectral colours with a white centre, like a
// chromaticity diagram.
void drawHorseshoe(QPainter &p, const QRectF &r)
{
    QPainterPath shoe;
    shoe.moveTo(r.left() + r.width() * 0.12, r.bottom());
    shoe.cubicTo(r.left() - r.width() * 0.05, r.top() + r.height() * 0.35,
                 r.left() + r.width() * 0.25, r.top() - r.height() * 0.05,
                 r.left() + r.width() * 0.45, r.top());
    shoe.cubicTo(r.left() + r.width() * 0.75, r.top() + r.height() * 0.1,
                 r.right(), r.top() + r.height() * 0.55, r.right(), r.bottom() - r.height() * 0.2);
    shoe.closeSubpath();
    QConicalGradient hues(r.center(), 0);
    hues.setColorAt(0.0, QColor(255, 40, 40));
    hues.setColorAt(0.2, QColor(255, 220, 0));
    hues.setColorAt(0.35, QColor(40, 220, 40));
    hues.setColorAt(0.55, QColor(0, 200, 255));
    hues.setColorAt(0.75, QColor(60, 60, 255));
    hues.setColorAt(1.0, QColor(255, 40, 40));
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(hues);
    p.drawPath(shoe);
    QRadialGradient white(r.center() + QPointF(0, r.height() * 0.1), r.width() * 0.3);
    white.setColorAt(0.0, QColor(255, 255, 255, 255));
    white.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawPath(shoe);
}

// A rising gamma curve on a square plot in the given colour.
void drawGammaPlot(QPainter &p, double side, const QColor &curve)
{
    const double m = side * 0.1;
    p.setPen(QPen(QColor(80, 80, 80), side / 32.0));
    p.setBrush(QColor(245, 245, 250));
    p.drawRect(QRectF(m, m, side - 2 * m, side - 2 * m));
    QPainterPath path;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const QPointF pt(m + t * (side - 2 * m), side - m - std::pow(t, 2.2) * (side - 2 * m));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    p.setPen(QPen(curve, side / 12.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

} // namespace

// A blue disc with a white "i".
void drawInfoSmall(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 16.0);
    QRadialGradient disc(QPointF(6, 5), 9);
    disc.setColorAt(0.0, QColor(120, 170, 240));
    disc.setColorAt(1.0, QColor(20, 70, 170));
    p.setPen(QPen(QColor(10, 40, 110), 0.8));
    p.setBrush(disc);
    p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7.0, 3.2, 2.0, 2.0));
    p.drawRoundedRect(QRectF(7.0, 6.3, 2.0, 6.5), 0.6, 0.6);
}

// A small chromaticity horseshoe with a triangle over it.
void drawGamutTriangleSmall(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 16.0);
    drawHorseshoe(p, QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({QPointF(12.5, 11.5), QPointF(5.5, 3.5), QPointF(3.5, 14.0)}));
}

void drawGammaBlueSmall(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 16.0);
    drawGammaPlot(p, 16.0, QColor(30, 80, 220));
}

void drawGammaBlue(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    drawGammaPlot(p, 32.0, QColor(30, 80, 220));
}

// The chromaticity horseshoe in full colour with a white point mark.
void drawGamutWhiteLarge(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    drawHorseshoe(p, QRectF(2, 2, 28, 28));
    p.setPen(QPen(Qt::black, 1.4));
    p.drawLine(QPointF(14, 17), QPointF(18, 21));
    p.drawLine(QPointF(18, 17), QPointF(14, 21));
}

// The chromaticity horseshoe in full colour with a black gamut triangle
// over it: the colour gamut group of the target editor.
void drawGamutBlackLarge(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    drawHorseshoe(p, QRectF(2, 2, 28, 28));
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({QPointF(25.0, 22.0), QPointF(11.0, 7.0), QPointF(7.0, 28.0)}));
}

// A sun: a yellow disc with rays.
void drawBrightness(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    const QPointF c(16, 16);
    p.setPen(QPen(QColor(235, 160, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4.0;
        p.drawLine(c + QPointF(std::cos(a) * 10.5, std::sin(a) * 10.5),
                   c + QPointF(std::cos(a) * 14.5, std::sin(a) * 14.5));
    }
    QRadialGradient sun(QPointF(14, 14), 9);
    sun.setColorAt(0.0, QColor(255, 250, 180));
    sun.setColorAt(1.0, QColor(250, 190, 0));
    p.setPen(QPen(QColor(200, 130, 0), 1.0));
    p.setBrush(sun);
    p.drawEllipse(c, 8, 8);
}

// A page with a folded corner and a colour strip: a profile file.
void drawIcmFile(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    QPainterPath page;
    page.moveTo(6, 2);
    page.lineTo(20, 2);
    page.lineTo(27, 9);
    page.lineTo(27, 30);
    page.lineTo(6, 30);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(215, 215, 215));
    p.drawPolygon(QPolygonF({QPointF(20, 2), QPointF(20, 9), QPointF(27, 9)}));
    const QColor strip[] = {QColor(230, 40, 40), QColor(40, 190, 60), QColor(40, 80, 230)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(strip[i]);
        p.drawRect(QRectF(9 + i * 5.5, 14, 5, 5));
    }
    p.setPen(QPen(QColor(120, 120, 120), 1.0));
    p.drawLine(QPointF(9, 23), QPointF(24, 23));
    p.drawLine(QPointF(9, 26), QPointF(21, 26));
}

// Three overlapping phosphor dots, red, green and blue, lit as spheres.
void drawPhosphors(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    const struct {
        QPointF centre;
        QColor colour;
    } dots[] = {{QPointF(11, 12), QColor(230, 30, 30)},
                {QPointF(21, 12), QColor(30, 200, 50)},
                {QPointF(16, 21), QColor(40, 70, 240)}};
    p.setPen(Qt::NoPen);
    for (const auto &dot : dots) {
        QRadialGradient ball(dot.centre - QPointF(2.5, 2.5), 9);
        ball.setColorAt(0.0, dot.colour.lighter(170));
        ball.setColorAt(1.0, dot.colour.darker(140));
        p.setBrush(ball);
        p.drawEllipse(dot.centre, 7.5, 7.5);
    }
}

// A disc half white, half black, with a coloured ring.
void drawContrast(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    const QRectF disc(3, 3, 26, 26);
    QConicalGradient ring(QPointF(16, 16), 90);
    ring.setColorAt(0.0, QColor(255, 60, 60));
    ring.setColorAt(0.33, QColor(60, 220, 60));
    ring.setColorAt(0.66, QColor(60, 90, 255));
    ring.setColorAt(1.0, QColor(255, 60, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(disc);
    const QRectF inner = disc.adjusted(3.5, 3.5, -3.5, -3.5);
    p.setBrush(Qt::white);
    p.drawPie(inner, 90 * 16, 180 * 16);
    p.setBrush(Qt::black);
    p.drawPie(inner, -90 * 16, 180 * 16);
}

// A flat-panel monitor on its stand, showing a blue-to-white ramp.
void drawMonitor(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(QColor(70, 70, 75));
    p.drawRoundedRect(QRectF(1.5, 3.5, 29, 20), 1.5, 1.5);
    QLinearGradient screen(QPointF(3, 5), QPointF(29, 22));
    screen.setColorAt(0.0, QColor(30, 80, 200));
    screen.setColorAt(1.0, QColor(190, 220, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(screen);
    p.drawRect(QRectF(3.5, 5.5, 25, 16));
    p.setBrush(QColor(90, 90, 95));
    p.drawRect(QRectF(14, 23.5, 4, 4));
    p.drawRoundedRect(QRectF(8, 27.5, 16, 3), 1, 1);
}

// A round colorimeter head on its cable, lens facing the viewer.
void drawSensorIcon(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 32.0);
    p.setPen(QPen(QColor(60, 60, 60), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(16, 5);
    cable.cubicTo(16, 0, 26, 0, 28, 3);
    p.drawPath(cable);
    QRadialGradient body(QPointF(13, 14), 15);
    body.setColorAt(0.0, QColor(235, 235, 240));
    body.setColorAt(1.0, QColor(120, 120, 130));
    p.setPen(QPen(QColor(50, 50, 55), 1.0));
    p.setBrush(body);
    p.drawEllipse(QRectF(3, 5, 26, 26));
    QRadialGradient lens(QPointF(15, 17), 6);
    lens.setColorAt(0.0, QColor(120, 160, 230));
    lens.setColorAt(1.0, QColor(10, 20, 60));
    p.setBrush(lens);
    p.drawEllipse(QPointF(16, 18), 5.5, 5.5);
}

// A red warning triangle with a white exclamation mark.
void drawAlertRed(QPainter &p, const QSize &size)
{
    scaleTo(p, size, 20.0);
    QPainterPath triangle;
    triangle.moveTo(10.0, 1.2);
    triangle.lineTo(19.2, 18.6);
    triangle.lineTo(0.8, 18.6);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(120, 0, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(220, 30, 30));
    p.drawPath(triangle);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.0, 7.0), QPointF(10.0, 12.2));
    p.drawPoint(QPointF(10.0, 15.6));
}

} // namespace images
