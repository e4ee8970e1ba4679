#include "PZ_color_xy_widget.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kSide = 60;
constexpr int kBorder = 10;            // the frame's room around the square
constexpr double kPixelsPerUnit = 1000.0;
constexpr int kCrossArm = 5;

} // namespace

PZ_color_xy_widget::PZ_color_xy_widget(QWidget *parent)
    : QWidget(parent), m_background(QStringLiteral(":/images/Resources/white point adjustment xy.png"))
{
}

QSize PZ_color_xy_widget::sizeHint() const
{
    return QSize(kSide, kSide);
}

QSize PZ_color_xy_widget::minimumSizeHint() const
{
    return sizeHint();
}

QRect PZ_color_xy_widget::square(const QSize &size)
{
    const int side = std::max(0, std::min(size.width(), size.height()) - kBorder);
    return QRect(size.width() / 2 - side / 2, size.height() / 2 - side / 2, side, side);
}

void PZ_color_xy_widget::SetMeasured_xy(double x, double y)
{
    m_measuredX = x;
    m_measuredY = y;
    update();
}

void PZ_color_xy_widget::SetTarget_xy(double x, double y)
{
    m_targetX = x;
    m_targetY = y;
    update();
}

void PZ_color_xy_widget::SetFinalMeasurement(bool final)
{
    m_final = final;
    update();
}

void PZ_color_xy_widget::paintEvent(QPaintEvent *)
{
    const QRect sq = square(size());
    const int side = sq.width();
    const int left = sq.left();
    const int top = sq.top();
    const int right = left + side - 1;
    const int bottom = top + side - 1;
    const int c = (side - 1) / 2;
    const int cx = left + c;
    const int cy = top + c;

    QPainter p(this);
    p.drawPixmap(sq, m_background);

    p.setPen(QColor(128, 128, 128));
    // Outline from (left - 1, top - 1) to (right, bottom).
    p.drawRect(left - 1, top - 1, side, side);

    p.setPen(QColor(237, 0, 0));
    p.drawLine(left, cy, right, cy);
    p.drawLine(cx, top, cx, bottom);
    p.drawLine(cx - kCrossArm, cy - kCrossArm, cx + kCrossArm, cy + kCrossArm);
    p.drawLine(cx - kCrossArm, cy + kCrossArm, cx + kCrossArm, cy - kCrossArm);

    if (m_targetX > 0.0) {
        const double limit = side - 1;
        const double dx = std::min(limit, std::max(0.0, (m_measuredX - m_targetX) * kPixelsPerUnit + c + 0.5));
        const double dy = std::min(limit, std::max(0.0, (m_measuredY - m_targetY) * kPixelsPerUnit + c + 0.5));
        QPen pen(QColor(0, 0, 0));
        pen.setWidth(m_final ? 1 : 0);
        p.setPen(pen);
        p.drawLine(int(left + dx), top, int(left + dx), bottom);
        p.drawLine(left, int(top + dy), right, int(top + dy));
    }
}
