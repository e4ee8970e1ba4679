// The images of the test pattern window: the caption, the quality-control
// panels and the resolution chart of the TG18-QC layout, and the three arrow
// buttons of its overlay controls.
//
// The TG18-QC layout and the quality-control tiles are judged by eye and
// probed by pixel: every panel keeps a border of kBorder pixels at exactly
// its level, so that anything drawn on it stays inside.

#include "Images.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <QtMath>

#include <cmath>
#include <vector>

namespace images {
namespace {

constexpr int kBorder = 10;

QColor grey(int level)
{
    return QColor(level, level, level);
}

QFont pixelFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A panel: its level, with `text` centred inside the border in `textLevel`.
void drawPanel(QPainter &p, const QRect &panel, int level, int textLevel, const QString &text)
{
    p.fillRect(panel, grey(level));
    const QRect inner = panel.adjusted(kBorder, kBorder, -kBorder, -kBorder);
    p.save();
    p.setClipRect(inner);
    p.setPen(grey(textLevel));
    p.setFont(pixelFont(30, true));
    p.drawText(inner, Qt::AlignCenter, text);
    p.restore();
}

// Gaussian blur of a grey image (the red channel is read, all three are
// written); sigma 0 returns the image unchanged.
QImage blurred(const QImage &source, double sigma)
{
    if (sigma <= 0.0)
        return source;
    const int radius = int(std::ceil(3.0 * sigma));
    std::vector<double> kernel(2 * radius + 1);
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[i + radius] = std::exp(-(i * i) / (2.0 * sigma * sigma));
        sum += kernel[i + radius];
    }
    for (double &k : kernel)
        k /= sum;

    const int w = source.width();
    const int h = source.height();
    std::vector<double> level(size_t(w) * h), pass(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            level[size_t(y) * w + x] = qRed(source.pixel(x, y));
    // Edges repeat the outermost pixel.
    auto at = [&](const std::vector<double> &v, int x, int y) {
        return v[size_t(qBound(0, y, h - 1)) * w + qBound(0, x, w - 1)];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double acc = 0.0;
            for (int i = -radius; i <= radius; ++i)
                acc += kernel[i + radius] * at(level, x + i, y);
            pass[size_t(y) * w + x] = acc;
        }
    QImage out(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double acc = 0.0;
            for (int i = -radius; i <= radius; ++i)
                acc += kernel[i + radius] * at(pass, x, y + i);
            const int v = qBound(0, int(std::lround(acc)), 255);
            out.setPixel(x, y, qRgb(v, v, v));
        }
    return out;
}

// The target of one ring cell: a white, letter-like comb (a spine and three
// teeth of falling width) on black, inside a square of `side`.
QImage ringTarget(int side)
{
    QImage target(side, side, QImage::Format_ARGB32);
    target.fill(Qt::black);
    QPainter p(&target);
    const int s = side / 8;
    const QColor white = grey(255);
    p.fillRect(QRect(s, s, s, 6 * s), white);                   // spine
    p.fillRect(QRect(2 * s, s, 5 * s, s), white);               // top tooth
    p.fillRect(QRect(2 * s, 3 * s + s / 4, 4 * s, s / 2 + 1), white);
    p.fillRect(QRect(2 * s, 6 * s, 5 * s, s), white);           // bottom tooth
    // Fine bars beside the middle tooth, one pixel apart.
    for (int x = 0; x < s; x += 2)
        p.fillRect(QRect(6 * s + x, 2 * s + s / 2, 1, 3 * s), white);
    return target;
}

// A block of line pairs: black and white bars of `width` pixels, vertical
// bars when `vertical`, else horizontal.
void drawLinePairs(QPainter &p, const QRect &block, int width, bool vertical)
{
    p.fillRect(block, grey(255));
    const int extent = vertical ? block.width() : block.height();
    for (int i = 0; i < extent; i += 2 * width) {
        const int n = qMin(width, extent - i);
        if (vertical)
            p.fillRect(QRect(block.left() + i, block.top(), n, block.height()), grey(0));
        else
            p.fillRect(QRect(block.left(), block.top() + i, block.width(), n), grey(0));
    }
}

// Concentric rings of one-pixel lines, black on white.
void drawRingTarget(QPainter &p, const QPoint &centre, int radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int r = radius; r > 0; r -= 2) {
        p.setBrush((radius - r) % 4 == 0 ? grey(0) : grey(255));
        p.drawEllipse(QPointF(centre) + QPointF(0.5, 0.5), r, r);
    }
    p.restore();
}

// The centre group of the resolution chart (188 x 142, grey 128): line
// pairs of 1 to 4 pixels, vertical above and horizontal below, and a ring
// target on the right.
void drawCentreGroup(QPainter &p, const QRect &group)
{
    p.fillRect(group, grey(128));
    const int left = group.left() + kBorder;
    const int top = group.top() + kBorder;
    for (int i = 0; i < 4; ++i) {
        const int width = i + 1;
        const int x = left + i * 30;
        drawLinePairs(p, QRect(x, top, 24, 50), width, true);
        drawLinePairs(p, QRect(x, top + 62, 24, 50), width, false);
    }
    drawRingTarget(p, QPoint(group.right() - kBorder - 24, group.center().y()), 24);
}

} // namespace

void drawTestPatternCaption(QPainter &p, const QSize &size)
{
    p.fillRect(QRect(QPoint(0, 0), size), grey(128));
    p.setPen(grey(24));
    p.setFont(pixelFont(9, false));
    p.drawText(QPoint(kBorder, kBorder + 8), QStringLiteral("Synthetic pattern after TG18-QC"));
}

void drawQualityControlPanels(QPainter &p, const QSize &size)
{
    // Three panels of 203, 205 and 203 pixels: black, mid grey and white,
    // with their words a few levels off the panel.
    const QString words = QStringLiteral("QUALITY\nCONTROL");
    p.setRenderHint(QPainter::TextAntialiasing);
    drawPanel(p, QRect(0, 0, 203, size.height()), 0, 4, words);
    drawPanel(p, QRect(203, 0, 205, size.height()), 128, 133, words);
    drawPanel(p, QRect(408, 0, size.width() - 408, size.height()), 255, 250, words);
}

void drawResolutionChart(QPainter &p, const QSize &size)
{
    const QRect whole(QPoint(0, 0), size);
    const QPointF centre = QRectF(whole).center();
    p.fillRect(whole, grey(0));

    // The grey centre, a disc that holds the centre group.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(grey(128));
    p.drawEllipse(centre, 122.0, 122.0);
    p.restore();
    drawCentreGroup(p, QRect(109, 132, 188, 142));

    // The ring: twelve cells, -2 at the top and clockwise, the target ever
    // more blurred.
    constexpr int kCell = 52;
    constexpr double kRadius = 164.0;
    const QImage sharp = ringTarget(40);
    p.setFont(pixelFont(10, true));
    for (int i = 0; i < 12; ++i) {
        const int number = i - 2;
        const double angle = qDegreesToRadians(-90.0 + 30.0 * i);
        const QPoint cellCentre = (centre + kRadius * QPointF(std::cos(angle), std::sin(angle))).toPoint();
        const QRect cell(cellCentre - QPoint(kCell / 2, kCell / 2), QSize(kCell, kCell));
        p.drawImage(cell.topLeft() + QPoint(2, 2), blurred(sharp, 0.45 * (number + 2)));
        p.setPen(grey(200));
        p.drawText(QRect(cell.left(), cell.bottom() - 12, kCell, 14), Qt::AlignRight | Qt::AlignBottom,
                   QString::number(number));
    }
}

// The overlay buttons: a dark disc with a light rim and a light sign, so
// that they show on black, white and every colour of the patterns.
namespace {

void drawButtonDisc(QPainter &p, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 32.0, size.height() / 32.0);
    p.setPen(QPen(QColor(235, 235, 235), 2.0));
    p.setBrush(QColor(70, 70, 78));
    p.drawEllipse(QPointF(16, 16), 14.0, 14.0);
}

void drawArrow(QPainter &p, const QSize &size, bool left)
{
    drawButtonDisc(p, size);
    QPainterPath arrow;
    arrow.moveTo(9, 16);
    arrow.lineTo(16, 9);
    arrow.lineTo(16, 13);
    arrow.lineTo(23, 13);
    arrow.lineTo(23, 19);
    arrow.lineTo(16, 19);
    arrow.lineTo(16, 23);
    arrow.closeSubpath();
    if (!left) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 245));
    p.drawPath(arrow);
}

} // namespace

void drawArrowLeft(QPainter &p, const QSize &size)
{
    drawArrow(p, size, true);
}

void drawArrowRight(QPainter &p, const QSize &size)
{
    drawArrow(p, size, false);
}

void drawArrowCancel(QPainter &p, const QSize &size)
{
    drawButtonDisc(p, size);
    p.setPen(QPen(QColor(245, 245, 245), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
}

} // namespace images
