#include "Images.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSize>
#include <QtMath>

namespace images {
namespace {

const QColor kBody(58, 62, 70);
const QColor kBodyEdge(30, 32, 38);
const QColor kDiffuser(236, 236, 230);
const QColor kLens(40, 70, 110);
const QColor kArrow(214, 120, 20);

// The i1 Display Pro seen from below, on a 100 x 100 grid: the round body,
// the lens in its middle, and the white diffuser arm, either swung aside or
// turned over the lens.
void drawI1d3FromBelow(QPainter &p, bool diffuserOverLens)
{
    p.setPen(QPen(kBodyEdge, 1.5));
    QRadialGradient shade(QPointF(44, 44), 48);
    shade.setColorAt(0.0, kBody.lighter(140));
    shade.setColorAt(1.0, kBody);
    p.setBrush(shade);
    p.drawEllipse(QPointF(50, 50), 34, 34);

    p.setBrush(kLens);
    p.drawEllipse(QPointF(50, 50), 9, 9);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(47, 47), 2.5, 2.5);

    // The arm turns about a pivot inside the body's left edge; turned in,
    // its dome sits over the lens.
    p.save();
    p.translate(26, 50);
    p.rotate(diffuserOverLens ? 0 : -115);
    p.setPen(QPen(kBodyEdge, 1.5));
    p.setBrush(kDiffuser);
    QPainterPath arm;
    arm.addRoundedRect(QRectF(-10, -13, 48, 26), 13, 13);
    p.drawPath(arm);
    p.setBrush(kDiffuser.darker(110));
    p.drawEllipse(QPointF(24, 0), 10, 10);
    p.restore();
}

// A curved arrow around the body, clockwise or not.
void drawTurnArrow(QPainter &p, bool clockwise)
{
    p.setPen(QPen(kArrow, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(8, 8, 84, 84);
    const double start = 100, span = clockwise ? -70 : 70;
    p.drawArc(arc, int(start * 16), int(span * 16));
    // The head at the arc's end, pointing along it.
    const double end = qDegreesToRadians(start + span);
    const QPointF tip(50 + 42 * std::cos(end), 50 - 42 * std::sin(end));
    const double along = end + (clockwise ? -M_PI / 2 : M_PI / 2);
    const QPointF dir(std::cos(along), -std::sin(along));
    const QPointF side(-dir.y(), dir.x());
    QPolygonF head;
    head << tip + dir * 8 << tip + side * 6 << tip - side * 6;
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawPolygon(head);
}

void scaleTo100(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 100.0, size.height() / 100.0);
}

} // namespace

void drawI1d3OnDisplay(QPainter &p, const QSize &size)
{
    // 8 cm wide; the lens sits at 0.6 of the height from the top.
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 80.0, size.height() / 100.0);
    p.setPen(QPen(kBodyEdge, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 0), QPointF(40, 22));   // the cable over the top of the screen
    p.setPen(QPen(kBodyEdge, 1.2));
    p.setBrush(QColor(120, 120, 120, 90));           // the counterweight's shadow
    p.drawRoundedRect(QRectF(28, 16, 24, 12), 4, 4);
    QRadialGradient shade(QPointF(34, 54), 40);
    shade.setColorAt(0.0, kBody.lighter(140));
    shade.setColorAt(1.0, kBody);
    p.setBrush(shade);
    p.drawEllipse(QPointF(40, 60), 32, 32);
    p.setBrush(kDiffuser);
    p.drawEllipse(QPointF(40, 60), 12, 12);
}

void drawI1d3PlacementAmbient(QPainter &p, const QSize &size)
{
    scaleTo100(p, size);
    // Lying on its back, the diffuser facing up, away from the display.
    p.setPen(QPen(kBodyEdge, 1.5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(6, 78, 88, 6));   // the desk
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(22, 56, 56, 22), 10, 10);
    p.setBrush(kDiffuser);
    p.drawChord(QRectF(34, 44, 32, 24), 0, 180 * 16);
    p.setPen(QPen(QColor(230, 190, 40), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = -2; i <= 2; ++i) {   // the room light falling on the diffuser
        const double x = 50 + i * 12;
        p.drawLine(QPointF(x + i * 4, 10), QPointF(x + i * 1.5, 34));
    }
}

void drawI1d3RotateToEmissive(QPainter &p, const QSize &size)
{
    scaleTo100(p, size);
    drawI1d3FromBelow(p, false);
    drawTurnArrow(p, false);
}

void drawI1d3RotateToAmbient(QPainter &p, const QSize &size)
{
    scaleTo100(p, size);
    drawI1d3FromBelow(p, true);
    drawTurnArrow(p, true);
}

} // namespace images
