#include "PZ_luminance_meter_widget.h"

#include <QLinearGradient>
#include <QPainter>
#include <cmath>

namespace {

constexpr int kBarWidth = 20;
constexpr int kMeterHeight = 80;

} // namespace

PZ_luminance_meter_widget::PZ_luminance_meter_widget(QWidget *parent)
    : QWidget(parent),
      m_leftArrow(QStringLiteral(":/images/Resources/small arrow left.png")),
      m_rightArrow(QStringLiteral(":/images/Resources/small arrow right.png"))
{
    m_arrowHalf = int(m_rightArrow.height() * 0.5 + 0.5);
}

QSize PZ_luminance_meter_widget::sizeHint() const
{
    return QSize(2 * m_rightArrow.width() + 22, kMeterHeight);
}

QSize PZ_luminance_meter_widget::minimumSizeHint() const
{
    return sizeHint();
}

int PZ_luminance_meter_widget::value_to_vertical_pos(double value) const
{
    const double range = m_max - m_min;
    if (range == 0.0)
        return 0;
    const int a = m_arrowHalf;
    const int h = height();
    const double bottom = h - a - 2;        // where the minimum lies
    const double length = h - 2 * a - 3;    // pixels from minimum to maximum
    const double f = (value - m_min) / range;
    return int(bottom - std::trunc(length * f) + 0.5);
}

void PZ_luminance_meter_widget::show_target_level(bool on)
{
    m_showTarget = on;
    update();
}

void PZ_luminance_meter_widget::set_target_level(double level)
{
    m_target = level;
    if (level > m_max)
        m_max = level;
    update();
}

void PZ_luminance_meter_widget::set_value_min_max(double minimum, double maximum)
{
    m_min = minimum;
    m_max = maximum;
    update();
}

void PZ_luminance_meter_widget::set_value(double value)
{
    m_value = value;
    update();
}

void PZ_luminance_meter_widget::set_bar_graident_color(QColor colour1, QColor colour2)
{
    m_barColour1 = colour1;
    m_barColour2 = colour2;
    update();
}

void PZ_luminance_meter_widget::set_bar_background_fill_color(QColor colour)
{
    m_background = colour;
    update();
}

void PZ_luminance_meter_widget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    draw(&p);
}

void PZ_luminance_meter_widget::draw(QPainter *p)
{
    const int w = width() > 19 ? kBarWidth : width();
    const int left = width() / 2 - w / 2;
    const int right = left + w - 1;
    const int yMin = value_to_vertical_pos(m_min);
    const int yTop = value_to_vertical_pos(m_max) - 1;
    const int yValue = value_to_vertical_pos(m_value);

    // The empty scale.
    p->setPen(QColor(128, 128, 128));
    p->setBrush(QBrush(m_background));
    // Outline and fill from (left, yTop) to (right, yMin).
    p->drawRect(left, yTop, right - left, yMin - yTop);

    // The bar: colour 1 at 40 % of its width, fading to colour 2 at the edges.
    if (yValue != yMin) {
        QLinearGradient gradient(left, 0, right, 0);
        gradient.setColorAt(0.0, m_barColour2);
        gradient.setColorAt(0.4, m_barColour1);
        gradient.setColorAt(1.0, m_barColour2);
        p->fillRect(QRect(QPoint(left + 1, qMin(yValue, yMin)), QPoint(right, qMax(yValue, yMin))),
                    gradient);
    }

    if (m_showTarget) {
        const int yT = value_to_vertical_pos(m_target) + 1 - m_arrowHalf;
        p->drawPixmap(left - m_leftArrow.width() - 1, yT, m_leftArrow);
        p->drawPixmap(right + 2, yT, m_rightArrow);
    }
}
