#include "Images.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QSize>

#include <cmath>

// The calibration window's pictures: the task pictures (drawn on a 128 x 128
// grid and scaled to the canvas), the small arrows of the luminance meters,
// the ground of the white point crosshair and the maker's logo.

namespace images {
namespace {

const QColor kBezel(46, 50, 58);
const QColor kScreen(28, 34, 48);
const QColor kInk(236, 236, 240);

void grid128(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 128.0, size.height() / 128.0);
}

// A monitor front on its stand; the screen area is returned.
QRectF drawMonitor(QPainter &p)
{
    p.setPen(QPen(kBezel.darker(140), 2.0));
    p.setBrush(kBezel);
    p.drawRoundedRect(QRectF(10, 16, 108, 78), 6, 6);
    p.drawRect(QRectF(56, 94, 16, 12));
    p.drawRoundedRect(QRectF(36, 106, 56, 8), 3, 3);
    const QRectF screen(17, 23, 94, 64);
    p.setPen(Qt::NoPen);
    p.setBrush(kScreen);
    p.drawRect(screen);
    return screen;
}

// The CIE horseshoe in the screen with one corner or the centre marked.
void drawGamut(QPainter &p, const QColor &mark, const QPointF &where)
{
    const QRectF s = drawMonitor(p);
    QPainterPath locus;
    locus.moveTo(s.left() + 14, s.bottom() - 8);
    locus.cubicTo(s.left() + 2, s.top() + 20, s.left() + 24, s.top() - 2, s.left() + 36, s.top() + 6);
    locus.cubicTo(s.left() + 56, s.top() + 18, s.right() - 8, s.center().y(), s.right() - 10, s.bottom() - 10);
    locus.closeSubpath();
    QLinearGradient fill(s.topLeft(), s.bottomRight());
    fill.setColorAt(0.0, QColor(60, 200, 90, 150));
    fill.setColorAt(0.5, QColor(220, 220, 220, 150));
    fill.setColorAt(1.0, QColor(220, 60, 60, 150));
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(fill);
    p.drawPath(locus);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(mark);
    p.drawEllipse(QPointF(s.left() + where.x(), s.top() + where.y()), 9, 9);
}

// Three curves (or one) in the screen, optionally with a straight target.
void drawCurves(QPainter &p, const QColor *colours, int count, double gamma, bool target)
{
    const QRectF s = drawMonitor(p).adjusted(8, 6, -8, -6);
    p.setPen(QPen(QColor(90, 96, 110), 1.0));
    p.drawRect(s);
    if (target) {
        p.setPen(QPen(kInk, 1.5, Qt::DashLine));
        p.drawLine(s.bottomLeft(), s.topRight());
    }
    for (int c = 0; c < count; ++c) {
        QPainterPath curve;
        const double g = gamma + 0.25 * c;
        for (int i = 0; i <= 20; ++i) {
            const double x = i / 20.0;
            const QPointF pt(s.left() + x * s.width(), s.bottom() - std::pow(x, g) * s.height());
            if (i == 0)
                curve.moveTo(pt);
            else
                curve.lineTo(pt);
        }
        p.setPen(QPen(colours[c], 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
    }
}

// A spanner crossing the monitor's lower right corner.
void drawSpanner(QPainter &p)
{
    p.save();
    p.translate(92, 86);
    p.rotate(-45);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(190, 194, 200));
    p.drawRoundedRect(QRectF(-6, -4, 40, 8), 3, 3);
    QPainterPath head;
    head.addEllipse(QPointF(-10, 0), 12, 12);
    QPainterPath jaw;
    jaw.addRect(QRectF(-26, -5, 14, 10));
    p.drawPath(head.subtracted(jaw));
    p.restore();
}

// A sun: the screen's brightness.
void drawSun(QPainter &p, const QPointF &c, double r)
{
    p.setPen(QPen(QColor(250, 210, 60), 3.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4.0;
        p.drawLine(QPointF(c.x() + std::cos(a) * (r + 4), c.y() + std::sin(a) * (r + 4)),
                   QPointF(c.x() + std::cos(a) * (r + 11), c.y() + std::sin(a) * (r + 11)));
    }
    QRadialGradient g(c, r);
    g.setColorAt(0.0, QColor(255, 250, 200));
    g.setColorAt(1.0, QColor(250, 200, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

} // namespace

void drawMonitorAdjust(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QRectF s = drawMonitor(p);
    // Control sliders on the screen.
    for (int i = 0; i < 3; ++i) {
        const double y = s.top() + 16 + i * 16;
        p.setPen(QPen(QColor(150, 156, 170), 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s.left() + 12, y), QPointF(s.right() - 12, y));
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(kInk);
        p.drawEllipse(QPointF(s.left() + 24 + i * 22, y), 5, 5);
    }
    drawSpanner(p);
}

void drawGamutRed(QPainter &p, const QSize &size)
{
    grid128(p, size);
    drawGamut(p, QColor(230, 30, 30), QPointF(72, 48));
}

void drawGamutGreen(QPainter &p, const QSize &size)
{
    grid128(p, size);
    drawGamut(p, QColor(30, 200, 60), QPointF(30, 14));
}

void drawGamutBlue(QPainter &p, const QSize &size)
{
    grid128(p, size);
    drawGamut(p, QColor(40, 70, 240), QPointF(16, 54));
}

void drawGamutBlack(QPainter &p, const QSize &size)
{
    grid128(p, size);
    drawGamut(p, QColor(0, 0, 0), QPointF(46, 36));
}

void drawGamutWhite(QPainter &p, const QSize &size)
{
    grid128(p, size);
    drawGamut(p, QColor(255, 255, 255), QPointF(46, 36));
}

void drawGammaTask(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QColor blue(80, 130, 255);
    drawCurves(p, &blue, 1, 2.2, true);
}

void drawGammaUncorrected(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QColor rgb[] = {QColor(240, 70, 60), QColor(70, 210, 90), QColor(80, 130, 255)};
    drawCurves(p, rgb, 3, 1.8, false);
}

void drawGammaAdjust(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QColor rgb[] = {QColor(240, 70, 60), QColor(70, 210, 90), QColor(80, 130, 255)};
    drawCurves(p, rgb, 3, 1.8, true);
    drawSpanner(p);
}

void drawRgbGainAdjust(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QRectF s = drawMonitor(p);
    const QColor rgb[] = {QColor(240, 70, 60), QColor(70, 210, 90), QColor(80, 130, 255)};
    const double heights[] = {40, 30, 48};
    for (int i = 0; i < 3; ++i) {
        const QRectF bar(s.left() + 16 + i * 24, s.bottom() - 6 - heights[i], 14, heights[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb[i]);
        p.drawRect(bar);
        // Up and down arrows beside each bar.
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(bar.right() + 2, bar.top() + 4), QPointF(bar.right() + 8, bar.top() + 4),
                                 QPointF(bar.right() + 5, bar.top() - 2)}));
    }
}

void drawBrightnessWait(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QRectF s = drawMonitor(p);
    // A clock face behind the countdown digits.
    const QPointF c = s.center();
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(QColor(60, 68, 90));
    p.drawEllipse(c, 26, 26);
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6.0;
        p.drawLine(QPointF(c.x() + std::cos(a) * 21, c.y() + std::sin(a) * 21),
                   QPointF(c.x() + std::cos(a) * 25, c.y() + std::sin(a) * 25));
    }
    drawSun(p, QPointF(104, 20), 8);
}

void drawBrightnessAdjust(QPainter &p, const QSize &size)
{
    grid128(p, size);
    const QRectF s = drawMonitor(p);
    drawSun(p, s.center(), 13);
    drawSpanner(p);
}

// A filled triangle pointing right (at the bar) from the meter's left side.
void drawSmallArrowLeft(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    const double w = size.width(), h = size.height();
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(w, h / 2.0), QPointF(0, h)}));
}

void drawSmallArrowRight(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    const double w = size.width(), h = size.height();
    p.drawPolygon(QPolygonF({QPointF(w, 0), QPointF(0, h / 2.0), QPointF(w, h)}));
}

// The ground of the white point crosshair: a soft chromaticity wash, warm
// towards larger x (right), greener towards larger y (down), neutral in the
// middle.
void drawWhitePointAdjustmentXY(QPainter &p, const QSize &size)
{
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double fx = (x - w / 2.0) / w;
            const double fy = (y - h / 2.0) / h;
            const int r = qBound(0, int(228 + 50 * fx - 10 * fy), 255);
            const int g = qBound(0, int(228 + 30 * fy), 255);
            const int b = qBound(0, int(228 - 50 * fx - 30 * fy), 255);
            p.setPen(QColor(r, g, b));
            p.drawPoint(x, y);
        }
    }
}

// The maker's logo for the calibration window's corner: the name in light
// letters with a colour-ramp underline, on transparent ground (the window is
// black).
void drawOrvaneLogo(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(int(size.height() * 0.55));
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 110);
    p.setFont(f);
    p.setPen(QColor(200, 210, 226));
    const QRectF text(0, 0, size.width(), size.height() * 0.78);
    p.drawText(text, Qt::AlignCenter, QStringLiteral("ORVANE"));
    QLinearGradient ramp(0, 0, size.width(), 0);
    ramp.setColorAt(0.0, QColor(230, 60, 50));
    ramp.setColorAt(0.5, QColor(70, 190, 80));
    ramp.setColorAt(1.0, QColor(60, 110, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(ramp);
    p.drawRect(QRectF(size.width() * 0.1, size.height() * 0.82, size.width() * 0.8, size.height() * 0.08));
}

} // namespace images
