#include "Images.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSize>

namespace images {
namespace {

const QColor kOrvaneBlue(22, 74, 140);
const QColor kOrvaneLight(96, 160, 220);

// The Orvane mark: a rounded square holding three stacked bars of a colour
// ramp, like a monitor showing a calibration patch strip. Drawn in the rect.
void drawMark(QPainter &p, const QRectF &rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = rect.width() * 0.18;
    QLinearGradient body(rect.topLeft(), rect.bottomLeft());
    body.setColorAt(0.0, kOrvaneLight);
    body.setColorAt(1.0, kOrvaneBlue);
    p.setPen(QPen(kOrvaneBlue.darker(130), qMax(1.0, rect.width() / 32.0)));
    p.setBrush(body);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    const QColor bars[] = {QColor(230, 60, 50), QColor(70, 190, 80), QColor(60, 110, 230)};
    const double margin = rect.width() * 0.2;
    const double barHeight = (rect.height() - 2 * margin) / 4.0;
    for (int i = 0; i < 3; ++i) {
        const QRectF bar(rect.left() + margin, rect.top() + margin + i * barHeight * 1.5,
                         rect.width() - 2 * margin, barHeight);
        QLinearGradient ramp(bar.topLeft(), bar.topRight());
        ramp.setColorAt(0.0, Qt::black);
        ramp.setColorAt(1.0, bars[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(ramp);
        p.drawRect(bar);
    }
    p.restore();
}

} // namespace

// Plain white ground; the splash text and logo are drawn over it. The
// splash is sized to its text, so the ground is larger and has no border.
void drawSplashBlank(QPainter &p, const QSize &size)
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
}

// The mark on the left, the product name to its right.
void drawSplashLogo(QPainter &p, const QSize &size)
{
    const double side = size.height() * 0.8;
    const double top = (size.height() - side) / 2.0;
    drawMark(p, QRectF(top, top, side, side));

    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(int(size.height() * 0.5));
    font.setBold(true);
    p.setFont(font);
    p.setPen(kOrvaneBlue);
    const QRectF text(top * 2 + side, 0, size.width() - (top * 2 + side), size.height());
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Pelzora"));
}

// A yellow warning triangle with an exclamation mark.
void drawAlertYellow(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 12.0, size.height() / 12.0);
    QPainterPath triangle;
    triangle.moveTo(6.0, 0.7);
    triangle.lineTo(11.5, 11.2);
    triangle.lineTo(0.5, 11.2);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 0), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(250, 204, 20));
    p.drawPath(triangle);
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.0, 4.2), QPointF(6.0, 7.4));
    p.drawPoint(QPointF(6.0, 9.5));
}

void drawOrvaneIcon(QPainter &p, const QSize &size)
{
    drawMark(p, QRectF(QPointF(0, 0), QSizeF(size)));
}

// Grey ground, the mark on the left, the product name and a thin rule with
// the line of business under it.
void drawAboutLogo(QPainter &p, const QSize &size)
{
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QLinearGradient ground(all.topLeft(), all.bottomLeft());
    ground.setColorAt(0.0, QColor(236, 236, 236));
    ground.setColorAt(1.0, QColor(206, 206, 206));
    p.fillRect(all, ground);

    const double side = size.height() * 0.62;
    const double top = (size.height() - side) / 2.0;
    drawMark(p, QRectF(top, top, side, side));

    p.setRenderHint(QPainter::TextAntialiasing);
    const double left = top * 2 + side;
    QFont name(QStringLiteral("Sans Serif"));
    name.setPixelSize(int(size.height() * 0.36));
    name.setBold(true);
    p.setFont(name);
    p.setPen(kOrvaneBlue);
    p.drawText(QRectF(left, top - size.height() * 0.04, size.width() - left, side * 0.62),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pelzora"));

    p.setPen(QPen(kOrvaneLight, 2));
    const double rule = top + side * 0.66;
    p.drawLine(QPointF(left, rule), QPointF(size.width() - top, rule));

    QFont line(QStringLiteral("Sans Serif"));
    line.setPixelSize(int(size.height() * 0.12));
    p.setFont(line);
    p.setPen(QColor(70, 70, 70));
    p.drawText(QRectF(left, rule + 2, size.width() - left, top + side - rule),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Display calibration by Orvane"));
}

} // namespace images
