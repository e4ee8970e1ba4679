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

// A dark round body, lit from the upper left.
void drawShadedDisc(QPainter &p, const QPointF &centre, double radius)
{
    QRadialGradient shade(centre - QPointF(radius * 0.18, radius * 0.18), radius * 1.4);
    shade.setColorAt(0.0, kBody.lighter(150));
    shade.setColorAt(1.0, kBody);
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
}

// The i1 Display Pro seen from below, on a 100 x 100 grid: the round body,
// the lens in its middle, and the white diffuser arm, either swung aside or
// turned over the lens.
void drawI1d3FromBelow(QPainter &p, bool diffuserOverLens)
{
    p.setPen(QPen(kBodyEdge, 1.5));
    drawShadedDisc(p, QPointF(50, 50), 34);

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

// An arrow's head at `tip`, pointing along the angle `along` (radians,
// counter-clockwise from the x axis).
void drawArrowHead(QPainter &p, const QPointF &tip, double along, double length, double halfWidth)
{
    const QPointF dir(std::cos(along), -std::sin(along));
    const QPointF side(-dir.y(), dir.x());
    QPolygonF head;
    head << tip + dir * length << tip + side * halfWidth << tip - side * halfWidth;
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawPolygon(head);
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
    drawArrowHead(p, tip, end + (clockwise ? -M_PI / 2 : M_PI / 2), 8, 6);
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
    drawShadedDisc(p, QPointF(40, 60), 32);
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

namespace {

// The ColorMunki's dial, on a 100 x 100 grid: the device's round end with
// the dial, its four positions up the right-hand side from display at the
// bottom to ambient at the top, and the pointer at one of them.
constexpr double kDialAngles[] = {-60, -20, 20, 60};   // display, calibrate, projector, ambient
const QPointF kDialCentre(46, 50);
constexpr double kDialRadius = 30;

QPointF onDial(double angleDegrees, double radius)
{
    const double a = qDegreesToRadians(angleDegrees);
    return kDialCentre + QPointF(radius * std::cos(a), -radius * std::sin(a));
}

void drawMunkiDial(QPainter &p, const QSize &size, int position)
{
    scaleTo100(p, size);
    p.setPen(QPen(kBodyEdge, 1.5));
    p.setBrush(QColor(232, 232, 236));
    p.drawRoundedRect(QRectF(4, 8, 78, 84), 30, 30);   // the body's end
    drawShadedDisc(p, kDialCentre, kDialRadius - 6);
    // The position symbols: a screen, a white tile, a projector beam, a sun.
    const QColor symbols[] = {kLens, Qt::white, QColor(120, 160, 90), QColor(230, 190, 40)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(symbols[i]);
        p.drawEllipse(onDial(kDialAngles[i], kDialRadius + 8), 4.5, 4.5);
    }
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(kDialCentre, onDial(kDialAngles[position], kDialRadius - 9));
}

// A layer's own mark: a small square of its own colour in its own place, so
// a composed picture shows which layers were drawn.
void drawMark(QPainter &p, const QSize &size, int slot, const QColor &color)
{
    p.resetTransform();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(QRectF(size.width() - 8.0 - 8 * slot, size.height() - 8.0, 6, 6));
}

// The ring around the wanted position.
void drawTarget(QPainter &p, const QSize &size, int position, int slot, const QColor &mark)
{
    scaleTo100(p, size);
    p.setPen(QPen(QColor(20, 160, 60), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(onDial(kDialAngles[position], kDialRadius + 8), 8, 8);
    drawMark(p, size, slot, mark);
}

// A curved arrow outside the positions, from one angle to another.
void drawDialArrow(QPainter &p, const QSize &size, double fromAngle, double toAngle, int slot,
                   const QColor &mark)
{
    scaleTo100(p, size);
    const double radius = kDialRadius + 18;
    p.setPen(QPen(kArrow, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(kDialCentre.x() - radius, kDialCentre.y() - radius, 2 * radius, 2 * radius);
    p.drawArc(arc, int(fromAngle * 16), int((toAngle - fromAngle) * 16));
    const QPointF tip = onDial(toAngle, radius);
    drawArrowHead(p, tip, qDegreesToRadians(toAngle) + (toAngle > fromAngle ? M_PI / 2 : -M_PI / 2),
                  6, 4.5);
    drawMark(p, size, slot, mark);
}

} // namespace

void drawMunkiDialDisplay(QPainter &p, const QSize &size) { drawMunkiDial(p, size, 0); }
void drawMunkiDialCalibrate(QPainter &p, const QSize &size) { drawMunkiDial(p, size, 1); }
void drawMunkiDialProjector(QPainter &p, const QSize &size) { drawMunkiDial(p, size, 2); }
void drawMunkiDialAmbient(QPainter &p, const QSize &size) { drawMunkiDial(p, size, 3); }

void drawMunkiTargetEmissive(QPainter &p, const QSize &size)
{
    drawTarget(p, size, 0, 0, QColor(255, 0, 128));
}

void drawMunkiTargetCalibrate(QPainter &p, const QSize &size)
{
    drawTarget(p, size, 1, 1, QColor(0, 255, 128));
}

void drawMunkiTargetAmbient(QPainter &p, const QSize &size)
{
    drawTarget(p, size, 3, 2, QColor(128, 0, 255));
}

void drawMunkiArrowCalibrateFromBelow(QPainter &p, const QSize &size)
{
    drawDialArrow(p, size, kDialAngles[0], kDialAngles[1], 3, QColor(255, 255, 0));
}

void drawMunkiArrowCalibrateFromAbove(QPainter &p, const QSize &size)
{
    drawDialArrow(p, size, kDialAngles[3], kDialAngles[1], 4, QColor(0, 255, 255));
}

void drawMunkiArrowAmbientFromBelow(QPainter &p, const QSize &size)
{
    drawDialArrow(p, size, kDialAngles[0], kDialAngles[3], 5, QColor(0, 0, 255));
}

void drawMunkiArrowEmissiveFromAbove(QPainter &p, const QSize &size)
{
    drawDialArrow(p, size, kDialAngles[3], kDialAngles[0], 6, QColor(255, 0, 0));
}

void drawMunkiOutline(QPainter &p, const QSize &size)
{
    // 17.5 cm long, the aperture at 0.56 of the length.
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 175.0, size.height() / 100.0);
    p.setPen(QPen(kBodyEdge, 1.5));
    p.setBrush(QColor(232, 232, 236));
    p.drawRoundedRect(QRectF(4, 22, 167, 56), 28, 28);
    p.setBrush(kBody);
    p.drawEllipse(QPointF(150, 50), 18, 18);   // the dial
    p.setBrush(kLens);
    p.drawEllipse(QPointF(98, 50), 10, 10);    // the aperture
}

void drawMunkiAmbientMeasure(QPainter &p, const QSize &size)
{
    scaleTo100(p, size);
    // Out of its bag, the diffuser on top pointing away from the display.
    p.setPen(QPen(kBodyEdge, 1.5));
    p.setBrush(QColor(232, 232, 236));
    p.drawRoundedRect(QRectF(38, 40, 24, 56), 12, 12);
    p.setBrush(kDiffuser);
    p.drawEllipse(QPointF(50, 44), 8, 5);
    p.setPen(QPen(QColor(230, 190, 40), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = -2; i <= 2; ++i)
        p.drawLine(QPointF(50 + i * 14, 6), QPointF(50 + i * 5, 30));
}

} // namespace images
