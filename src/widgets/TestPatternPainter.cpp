#include "TestPatternPainter.h"

#include "UnmanagedFill.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <cmath>

namespace pz {

namespace {

// The solid patterns 1 to 11.
const QColor kSolids[] = {
    QColor(0, 0, 0),       QColor(64, 64, 64),   QColor(128, 128, 128), QColor(191, 191, 191),
    QColor(255, 255, 255), QColor(255, 0, 0),    QColor(0, 255, 0),     QColor(0, 0, 255),
    QColor(255, 255, 0),   QColor(0, 255, 255),  QColor(255, 0, 255),
};
constexpr int kFirstSolid = 1;
constexpr int kLastSolid = 11;

enum Pattern {
    kTG18QC = 0,
    kColourRamps = 12,
    kGreyRamp = 13,
    kDoubleRamp = 14,
    kDoubleQuarterRamp = 15,
    kBlackQualityControl = 16,
    kWhiteQualityControl = 17,
};

// The channels of the seven pairs of bands of the colour ramps, top down:
// grey, red, green, blue, yellow, cyan, magenta.
struct Channels {
    bool r, g, b;
};
const Channels kRampColours[] = {
    {true, true, true},  {true, false, false}, {false, true, false}, {false, false, true},
    {true, true, false}, {false, true, true},  {true, false, true},
};

QColor greyLevel(int level)
{
    return QColor(level, level, level);
}

// The TG18-QC layout: 1024 x 1024 pixels, rectangles by inclusive corners.
constexpr int kLayoutSize = 1024;
constexpr int kGridPitch = 102;
const QColor kLinePen(191, 191, 191);

// The first of the values through + pitch k (k any integer) that is not
// above 0.
int firstGridLine(int through, int pitch)
{
    int first = through % pitch;
    return first > 0 ? first - pitch : first;
}

} // namespace

RampGeometry::RampGeometry(int areaWidth)
    : width(areaWidth >= kLevels ? areaWidth / kLevels * kLevels : 0),
      step(width / kLevels),
      left(areaWidth / 2 - width / 2)
{
}

TestPatternPainter::TestPatternPainter(QPainter &painter, UnmanagedFill &fill, const QSize &area,
                                       const TestPatternImages &images)
    : m_p(painter), m_fill(fill), m_w(area.width()), m_h(area.height()), m_images(images)
{
}

void TestPatternPainter::paint(int pattern)
{
    if (pattern >= kFirstSolid && pattern <= kLastSolid) {
        drawSolid(pattern);
        return;
    }
    switch (pattern) {
    case kTG18QC:
        drawDICOM();
        break;
    case kColourRamps:
        drawRamps();
        break;
    case kGreyRamp:
        drawGreyRamp();
        break;
    case kDoubleRamp:
        drawGreyRampReversed(255);
        break;
    case kDoubleQuarterRamp:
        drawGreyRampReversed(64);
        break;
    case kBlackQualityControl:
    case kWhiteQualityControl:
        drawQualityControlTile(pattern == kWhiteQualityControl);
        break;
    default:
        break;   // the widget's background stays
    }
}

QColor TestPatternPainter::background(int pattern)
{
    if (pattern >= kFirstSolid && pattern <= kLastSolid)
        return kSolids[pattern - kFirstSolid];
    switch (pattern) {
    case kTG18QC:
        return greyLevel(128);
    case kColourRamps:
        // Four of the seven band colours carry each channel.
        return greyLevel(128 * 4 / 7);
    case kGreyRamp:
    case kDoubleRamp:
        return greyLevel(128);
    case kDoubleQuarterRamp:
        return greyLevel(32);
    case kWhiteQualityControl:
        return greyLevel(255);
    default:
        return greyLevel(0);
    }
}

double relativeLuminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
           + 0.0722 * linear(colour.blueF());
}

bool captionIsLight(const QColor &background)
{
    const double l = relativeLuminance(background);
    // Contrast ratios (lighter + 0.05) / (darker + 0.05) against white and black.
    return (1.0 + 0.05) / (l + 0.05) >= (l + 0.05) / 0.05;
}

void TestPatternPainter::fillGrey(const QRect &r, int level)
{
    m_fill.fillRect(r, greyLevel(level));
}

void TestPatternPainter::drawSolid(int pattern)
{
    m_fill.fillRect(QRect(0, 0, m_w, m_h), kSolids[pattern - kFirstSolid]);
}

void TestPatternPainter::drawGreyRamp()
{
    const RampGeometry ramp(m_w);
    m_p.fillRect(QRect(0, 0, m_w, m_h), Qt::black);
    // White at the left, black at the right, one stripe per level.
    int x = ramp.left;
    for (int level = RampGeometry::kLevels - 1; level >= 0; --level) {
        fillGrey(QRect(x, 0, ramp.step, m_h), level);
        x += ramp.step;
    }
}

void TestPatternPainter::drawGreyRampReversed(int maximum)
{
    const RampGeometry ramp(m_w);
    m_p.fillRect(QRect(0, 0, m_w, m_h), Qt::black);
    // Each half takes 256 stripes of half a step. An odd step makes the
    // half step end in .5: stripes are then one pixel wider than their
    // pitch every other time, and the later one covers the overlap.
    const double halfStep = ramp.step / 2.0;
    const int stripe = int(halfStep + 0.5);
    const auto levelAt = [maximum](int i) { return int(i / 255.0 * maximum + 0.5); };
    double x = ramp.left;
    for (int i = 0; i < RampGeometry::kLevels; ++i) {
        fillGrey(QRect(int(x), 0, stripe, m_h), maximum - levelAt(i));
        x += halfStep;
    }
    x = m_w / 2;
    for (int i = 0; i < RampGeometry::kLevels; ++i) {
        fillGrey(QRect(int(x), 0, stripe, m_h), levelAt(i));
        x += halfStep;
    }
}

void TestPatternPainter::drawRamps()
{
    const RampGeometry ramp(m_w);
    m_p.fillRect(QRect(0, 0, m_w, m_h), Qt::black);
    constexpr int kBands = 14;
    const int bandH = m_h / kBands;
    const int stripe = int(ramp.step + 0.5);
    double x = ramp.left;
    for (int i = 0; i < RampGeometry::kLevels; ++i) {
        for (int band = 0; band < kBands; ++band) {
            const Channels &c = kRampColours[band / 2];
            // The upper band of a pair falls from 255, the lower one rises.
            const int level = band % 2 == 0 ? RampGeometry::kLevels - 1 - i : i;
            const int top = m_h / 2 + (band - kBands / 2) * bandH;
            m_fill.fillRect(QRect(int(x), top, stripe, bandH),
                            QColor(c.r ? level : 0, c.g ? level : 0, c.b ? level : 0));
        }
        x += ramp.step;
    }
}

void TestPatternPainter::drawQualityControlTile(bool white)
{
    // The black panel, or the inside of the white one.
    const QPixmap &panels = m_images.qualityControl;
    const int third = panels.width() / 3;
    const QRect source = white ? QRect(2 * panels.width() / 3 + 1, 0, third - 2, panels.height())
                               : QRect(0, 0, third, panels.height());
    const QPixmap tile = panels.copy(source);
    if (!tile.isNull())
        m_p.drawTiledPixmap(QRect(0, 0, m_w, m_h), tile, QPoint(0, 0));
}

void TestPatternPainter::drawDICOM()
{
    const int ox = (m_w - kLayoutSize) / 2;
    const int oy = (m_h - kLayoutSize) / 2;
    // A rectangle of the layout by its inclusive corners, in the widget.
    const auto at = [ox, oy](int x1, int y1, int x2, int y2) {
        return QRect(QPoint(ox + x1, oy + y1), QPoint(ox + x2, oy + y2));
    };
    const auto fill = [this, &at](int x1, int y1, int x2, int y2, int level) {
        fillGrey(at(x1, y1, x2, y2), level);
    };

    // Background, then the grid: a line through the centre every 102 pixels.
    fillGrey(QRect(QPoint(0, 0), QPoint(m_w - 1, m_h - 1)), 128);
    m_p.setPen(QPen(kLinePen, 1));
    for (int x = firstGridLine(m_w / 2, kGridPitch); x < m_w; x += kGridPitch)
        m_p.drawLine(QPoint(x, 0), QPoint(x, m_h));
    for (int y = firstGridLine(m_h / 2, kGridPitch); y < m_h; y += kGridPitch)
        m_p.drawLine(QPoint(0, y), QPoint(m_w, y));

    // Sixteen luminance patches up the left column, along the top row and
    // down the right column of a 6 x 6 ring, each with four corner squares
    // 4 levels below and above.
    for (int i = 0; i < 16; ++i) {
        int px, py;
        if (i <= 5) {
            px = 207;
            py = 717 - 102 * i;
        } else if (i <= 10) {
            px = 102 * i - 303;
            py = 207;
        } else {
            px = 717;
            py = 102 * i - 813;
        }
        const int level = 12 + 16 * i;
        fill(px, py, px + 100, py + 100, level - 4);
        fill(px, py, px + 9, py + 9, level - 8);
        fill(px + 91, py + 91, px + 100, py + 100, level - 8);
        fill(px + 91, py, px + 100, py + 9, level);
        fill(px, py + 91, px + 9, py + 100, level);
    }

    // The extreme squares, with a square just off black and off white.
    fill(309, 717, 409, 817, 0);
    fill(334, 742, 384, 792, 13);
    fill(615, 717, 715, 817, 255);
    fill(640, 742, 690, 792, 242);

    // Transition bars with their insets.
    fill(105, 155, 919, 179, 255);
    fill(105, 180, 919, 204, 0);
    fill(309, 164, 715, 179, 0);
    fill(309, 180, 715, 195, 255);

    // Top blocks with their strips just off white and off black.
    fill(224, 15, 799, 57, 255);
    fill(224, 58, 799, 100, 0);
    fill(509, 15, 514, 57, 248);
    fill(509, 58, 514, 100, 6);

    // Marks of doubling width, growing outward from a 31-pixel gap: black in
    // the white block, white in the black one.
    for (int j = 0; j <= 8; ++j) {
        const int k = 1 << j;
        fill(527, 48 - 3 * j, 526 + k, 50 - 3 * j, 0);
        fill(496 - k, 48 - 3 * j, 495, 50 - 3 * j, 0);
        fill(527, 67 + 3 * j, 526 + k, 69 + 3 * j, 255);
        fill(496 - k, 67 + 3 * j, 495, 69 + 3 * j, 255);
    }

    // Vertical grey ramps, two rows per level: rising upward on the left,
    // downward on the right.
    for (int i = 0; i < 256; ++i) {
        fill(26, 768 - 2 * i, 89, 769 - 2 * i, i);
        fill(934, 256 + 2 * i, 997, 257 + 2 * i, i);
    }

    // Images: the resolution chart, its centre group in the four corners,
    // the quality-control panels and the caption.
    m_p.drawPixmap(QPoint(ox + 309, oy + 309), m_images.resolution);
    const QRect centreGroup(109, 132, 188, 142);
    for (const QPoint &corner : {QPoint(13, 13), QPoint(824, 13), QPoint(13, 870), QPoint(824, 870)})
        m_p.drawPixmap(QRect(QPoint(ox, oy) + corner, centreGroup.size()), m_images.resolution, centreGroup);
    m_p.drawPixmap(QPoint(ox + 207, oy + 820), m_images.qualityControl);
    m_p.drawPixmap(QPoint(ox + 411, oy + 717), m_images.caption);

    // Outlines: a three-pixel frame and two around the ring of patches.
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(at(10, 10, 1013, 1013));
    m_p.drawRect(at(11, 11, 1012, 1012));
    m_p.drawRect(at(12, 12, 1011, 1011));
    m_p.drawRect(at(205, 205, 818, 818));
    m_p.drawRect(at(207, 207, 816, 816));
}

} // namespace pz
