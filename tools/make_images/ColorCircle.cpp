#include "Images.h"

#include "ColorCircleGeometry.h"

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSize>

#include <cmath>

namespace images {

// The colour picker's circle: every pixel of the active circle takes the
// hue and saturation the picker reports for a press on it, at value 1; the
// rim fades out over one pixel. Outside, the canvas stays transparent.
void drawColorCircle(QPainter &p, const QSize &size)
{
    namespace cc = pz::colorcircle;
    const int d = cc::diameter(size.width(), size.height());
    const int c0 = cc::centre(d);
    const double r = d * 0.5;
    QImage circle(size, QImage::Format_ARGB32);
    circle.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int dx = x - c0;
            const int dy = y - c0;
            const double distance = std::sqrt(double(dx * dx + dy * dy));
            double alpha = cc::inside(dx, dy, d) ? 1.0 : std::clamp(r + 1.0 - distance, 0.0, 1.0);
            if (alpha <= 0.0)
                continue;
            double hue = 0.0;
            double saturation = 0.0;
            cc::hueSaturation(dx, dy, r, hue, saturation);
            QColor colour = QColor::fromHsvF(std::clamp(hue, 0.0, 1.0), saturation, 1.0);
            colour.setAlphaF(alpha);
            circle.setPixelColor(x, y, colour);
        }
    }
    p.drawImage(0, 0, circle);
}

// The grey ramp beside the colorimeter's brightness slider: white at the
// top down to black.
void drawGreyRampVertical(QPainter &p, const QSize &size)
{
    QLinearGradient ramp(0, 0, 0, size.height());
    ramp.setColorAt(0.0, Qt::white);
    ramp.setColorAt(1.0, Qt::black);
    p.fillRect(QRect(QPoint(0, 0), size), ramp);
}

} // namespace images
