#include "PZ_color_picker_circle_widget.h"

#include "ColorCircleGeometry.h"

#include <QAbstractSlider>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace cc = pz::colorcircle;

PZ_color_picker_circle_widget::PZ_color_picker_circle_widget(QWidget *parent) : QWidget(parent)
{
    circlePicture = QPixmap(QStringLiteral(":/images/Resources/white point color circle.png"));
    disabledCirclePicture =
        QIcon(circlePicture).pixmap(circlePicture.size(), QIcon::Disabled, QIcon::Off);
    ballPicture = QPixmap(QStringLiteral(":/images/Resources/control ball.png"));
    // Moves without a button arrive too: they set the cursor.
    setAttribute(Qt::WA_MouseTracking);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

QSize PZ_color_picker_circle_widget::sizeHint() const
{
    return circlePicture.size();
}

QSize PZ_color_picker_circle_widget::minimumSizeHint() const
{
    return circlePicture.size();
}

void PZ_color_picker_circle_widget::GetHueSaturation(double *hue, double *saturation) const
{
    *hue = m_hue;
    *saturation = m_saturation;
}

void PZ_color_picker_circle_widget::SetHueSaturation(double hue, double saturation)
{
    m_hue = hue;
    m_saturation = saturation;
    update();
}

double PZ_color_picker_circle_widget::AngleFromPoint(double x, double y)
{
    return cc::angleFromPoint(x, y);
}

int PZ_color_picker_circle_widget::activeDiameter() const
{
    return cc::diameter(width(), height());
}

int PZ_color_picker_circle_widget::activeCentre() const
{
    return cc::centre(activeDiameter());
}

bool PZ_color_picker_circle_widget::insideCircle(const QPoint &point) const
{
    const int c0 = activeCentre();
    return cc::inside(point.x() - c0, point.y() - c0, activeDiameter());
}

void PZ_color_picker_circle_widget::emitPoint(const QPoint &point)
{
    const int d = activeDiameter();
    const int c0 = activeCentre();
    double hue = 0.0;
    double saturation = 0.0;
    cc::hueSaturation(point.x() - c0, point.y() - c0, d * 0.5, hue, saturation);
    emit HueSatChanged(hue, saturation);
}

void PZ_color_picker_circle_widget::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (!insideCircle(point))
        return;
    dragging = true;
    if (activeDiameter() > 0)
        emitPoint(point);
}

void PZ_color_picker_circle_widget::mouseReleaseEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        dragging = false;
}

void PZ_color_picker_circle_widget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (!insideCircle(point))
        setCursor(Qt::ArrowCursor);
    else
        setCursor(dragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);

    // A drag keeps reporting outside the circle, with saturation 1.
    if ((event->buttons() & Qt::LeftButton) && dragging && activeDiameter() > 0)
        emitPoint(point);
}

void PZ_color_picker_circle_widget::keyPressEvent(QKeyEvent *event)
{
    const double R = double(activeDiameter() / 2);
    double ox = 0.0;
    double oy = 0.0;
    cc::offsetOf(m_hue, m_saturation, R, ox, oy);
    switch (event->key()) {
    case Qt::Key_Left:
        ox -= 0.25;
        break;
    case Qt::Key_Right:
        ox += 0.25;
        break;
    case Qt::Key_Up:
        oy -= 0.25;
        break;
    case Qt::Key_Down:
        oy += 0.25;
        break;
    default:
        event->ignore();   // for the parent
        return;
    }
    // A widget too small for a circle has no position to move to.
    if (R <= 0.0) {
        event->accept();
        return;
    }
    // The ball's offset, seen from the centre as the mouse sees a point.
    double hue = 0.0;
    double saturation = 0.0;
    cc::hueSaturation(ox, oy, R, hue, saturation);
    SetHueSaturation(hue, saturation);
    emit HueSatChanged(hue, saturation);
    event->accept();
}

void PZ_color_picker_circle_widget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int side = qMin(width(), height());
    const QRect square(0, 0, side, side);
    if (!isEnabled()) {
        painter.drawPixmap(square, disabledCirclePicture);
        return;
    }
    painter.drawPixmap(square, circlePicture);

    const double R = double(activeDiameter() / 2);
    const double c = R + cc::kMargin;
    const double angle = cc::kTurn * m_hue;
    const int x = int(std::sin(angle) * R * m_saturation + c) - ballPicture.width() / 2;
    const int y = int(c + std::cos(angle) * R * m_saturation) - ballPicture.height() / 2;
    painter.drawPixmap(x, y, ballPicture);
}

void PZ_color_picker_circle_widget::ShowColor(const QColor &colour, QAbstractSlider *brightness)
{
    int h = 0, s = 0, v = 0;
    colour.getHsv(&h, &s, &v);
    brightness->setValue(v);
    float hue = 0, saturation = 0, value = 0;
    colour.getHsvF(&hue, &saturation, &value);
    // A grey has no hue (-1): the centre of the circle.
    SetHueSaturation(hue < 0 ? 0.0 : double(hue), double(saturation));
}
