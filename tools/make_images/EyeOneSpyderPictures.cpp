// The i1 Display, i1 Pro and Spyder pictures. Each is drawn on a grid of
// 100 units across; the pictures placed on the screen put the lens at the
// fraction of the width the adapter gives (the i1 Display 0.6, the i1 Pro
// 0.35, the Spyder2 0.7, the Spyder3 0.4).

#include "Images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <cmath>

namespace images {
namespace {

const QColor kEdge(30, 32, 38);
const QColor kGrey(150, 152, 158);
const QColor kLightGrey(214, 216, 220);
const QColor kDark(52, 56, 64);
const QColor kLens(40, 70, 110);
const QColor kDiffuser(238, 238, 232);
const QColor kArrow(214, 120, 20);
const QColor kOrvaneAccent(0, 120, 170);
const QColor kVoredirive(150, 30, 40);
const QColor kSpyderRed(190, 30, 36);
const QColor kScreen(70, 90, 120);

// Scales the painter to a grid 100 units wide and `height` units high.
void grid(QPainter &p, const QSize &size, double height = 100)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 100.0, size.height() / height);
}

void lens(QPainter &p, const QPointF &centre, double radius)
{
    p.setPen(QPen(kEdge, 1));
    p.setBrush(kLens);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre - QPointF(radius * 0.35, radius * 0.35), radius * 0.25, radius * 0.25);
}

void arrow(QPainter &p, const QPointF &from, const QPointF &to)
{
    p.setPen(QPen(kArrow, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF side(-d.y(), d.x());
    QPolygonF head;
    head << to + d * 6 << to + side * 5 << to - side * 5;
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawPolygon(head);
}

// A strip of desk under a device.
void desk(QPainter &p, double y)
{
    p.setPen(QPen(kEdge, 1));
    p.setBrush(kLightGrey);
    p.drawRect(QRectF(4, y, 92, 6));
}

// Room light falling from above onto a point.
void roomLight(QPainter &p, const QPointF &onto)
{
    p.setPen(QPen(QColor(230, 190, 40), 2, Qt::DashLine, Qt::RoundCap));
    for (int i = -2; i <= 2; ++i)
        p.drawLine(QPointF(onto.x() + i * 12, 4), QPointF(onto.x() + i * 4, onto.y() - 6));
}

// The i1 Display from the front on the screen: the rounded body with the
// lens at x = 60, its cable over the top, the counterweight's shadow; the
// band shows whose it is.
void eyeOneDisplayOnScreen(QPainter &p, const QSize &size, const QColor &band)
{
    grid(p, size, 120);
    p.setPen(QPen(kEdge, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(60, 0), QPointF(60, 26));
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(kLightGrey);
    QPainterPath body;
    body.addRoundedRect(QRectF(26, 24, 68, 88), 30, 30);
    p.drawPath(body);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(34, 34, 52, 10), 5, 5);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(60, 80), 22, 22);
    lens(p, QPointF(60, 80), 9);
}

// The i1 Display from the side, lens down (zero calibration) or with its
// white diffuser on, facing up (ambient).
void eyeOneDisplaySide(QPainter &p, bool diffuserUp)
{
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(kLightGrey);
    p.drawRoundedRect(QRectF(24, 58, 52, 22), 10, 10);
    if (diffuserUp) {
        p.setBrush(kDiffuser);
        p.drawChord(QRectF(36, 44, 28, 26), 0, 180 * 16);
    } else {
        p.setBrush(kDark);
        p.drawRect(QRectF(38, 80, 24, 4));   // the lens against the desk
    }
}

// The i1 Pro from the side: the long body, its aperture at x = 35.
void eyeOnePro(QPainter &p, double baseY, bool cap)
{
    p.setPen(QPen(kEdge, 1.2));
    QLinearGradient shade(0, baseY - 30, 0, baseY);
    shade.setColorAt(0, kLightGrey);
    shade.setColorAt(1, kGrey);
    p.setBrush(shade);
    QPainterPath body;
    body.moveTo(10, baseY);
    body.lineTo(10, baseY - 16);
    body.cubicTo(20, baseY - 32, 70, baseY - 34, 92, baseY - 18);
    body.lineTo(92, baseY);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(kDark);
    p.drawRect(QRectF(29, baseY - 2, 12, 4));   // the aperture
    if (cap) {
        p.setBrush(kDiffuser);
        p.drawRoundedRect(QRectF(25, baseY, 20, 8), 3, 3);
    }
}

// The Spyder: the body with its lens at x = lensX and its arms.
void spyder(QPainter &p, double lensX, bool spyder2)
{
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(spyder2 ? kDark : kGrey);
    for (int i = 0; i < 3; ++i) {   // the legs
        p.save();
        p.translate(lensX, 55);
        p.rotate(-30 + 120 * i);
        p.drawRoundedRect(QRectF(12, -5, 16, 10), 5, 5);
        p.restore();
    }
    p.setBrush(spyder2 ? kGrey : kDark);
    p.drawEllipse(QPointF(lensX, 55), 20, 20);
    p.setBrush(kSpyderRed);
    p.drawEllipse(QPointF(lensX, 55), 13, 13);
    lens(p, QPointF(lensX, 55), 7);
}

} // namespace

void drawEyeOneDisplayOnScreen(QPainter &p, const QSize &size)
{
    eyeOneDisplayOnScreen(p, size, kGrey);
}

void drawOrvaneEyeOneDisplayOnScreen(QPainter &p, const QSize &size)
{
    eyeOneDisplayOnScreen(p, size, kOrvaneAccent);
}

void drawVoredirivesOnScreen(QPainter &p, const QSize &size)
{
    eyeOneDisplayOnScreen(p, size, kVoredirive);
}

void drawEyeOneDisplayZeroCal(QPainter &p, const QSize &size)
{
    grid(p, size);
    desk(p, 84);
    eyeOneDisplaySide(p, false);
}

void drawEyeOneDisplayAmbient(QPainter &p, const QSize &size)
{
    grid(p, size);
    desk(p, 84);
    eyeOneDisplaySide(p, true);
    roomLight(p, QPointF(50, 44));
}

void drawEyeOneDisplayCoverRemoval(QPainter &p, const QSize &size)
{
    grid(p, size);
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(kDark);
    p.drawEllipse(QPointF(40, 60), 26, 26);
    lens(p, QPointF(40, 60), 10);
    p.setBrush(kDiffuser);
    p.drawEllipse(QPointF(74, 26), 18, 18);   // the diffuser, taken off
    arrow(p, QPointF(48, 48), QPointF(62, 36));
}

void drawEyeOneProOnBase(QPainter &p, const QSize &size)
{
    grid(p, size);
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(kDiffuser);
    p.drawRect(QRectF(6, 74, 88, 12));   // the base with its white tile
    eyeOnePro(p, 74, false);
}

void drawEyeOneProAmbientCover(QPainter &p, const QSize &size)
{
    grid(p, size);
    eyeOnePro(p, 60, true);
    arrow(p, QPointF(35, 90), QPointF(35, 74));
}

void drawEyeOneProMeasure(QPainter &p, const QSize &size)
{
    // On the screen, held by its counterweight: seen from the front, the
    // aperture at 0.35 of the width.
    grid(p, size, 60);
    p.setPen(QPen(kEdge, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(70, 0), QPointF(70, 12));
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(kLightGrey);
    p.drawRoundedRect(QRectF(6, 12, 88, 36), 16, 16);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(35, 30), 11, 11);
    lens(p, QPointF(35, 30), 5);
}

void drawEyeOneProAmbientMeasure(QPainter &p, const QSize &size)
{
    grid(p, size);
    desk(p, 76);
    // Turned over, the capped aperture towards the room.
    p.save();
    p.translate(50, 50);
    p.rotate(180);
    p.translate(-50, -50);
    eyeOnePro(p, 60, true);
    p.restore();
    roomLight(p, QPointF(65, 32));
}

void drawSpyder2(QPainter &p, const QSize &size)
{
    grid(p, size);
    spyder(p, 70, true);
}

void drawSpyder3(QPainter &p, const QSize &size)
{
    grid(p, size);
    spyder(p, 40, false);
}

void drawSpyder3AmbientMeasure(QPainter &p, const QSize &size)
{
    // Lying in the middle of the screen, its light sensor on top facing the room.
    grid(p, size);
    p.setPen(QPen(kEdge, 1.5));
    p.setBrush(kScreen);
    p.drawRect(QRectF(8, 10, 84, 62));
    p.setBrush(kDark);
    p.drawRect(QRectF(44, 72, 12, 14));
    p.drawRect(QRectF(30, 86, 40, 4));
    p.save();
    p.translate(50, 41);
    p.scale(0.6, 0.6);
    p.translate(-40, -55);
    spyder(p, 40, false);
    p.restore();
    p.setBrush(QColor(230, 190, 40));
    p.drawEllipse(QPointF(50, 41), 3, 3);
}

} // namespace images
