#pragma once
// Paints one test pattern of the test pattern widget over a whole area of
// W x H pixels (the widget's size): the synthetic TG18-QC layout (0), solid
// colours (1 to 11), colour and grey ramps (12 to 15) and the two
// quality-control tiles (16, 17). An index outside 0 to 17 paints nothing.
//
// Solid areas, ramp stripes and the TG18-QC patches go through the
// UnmanagedFill; the TG18-QC grid, outlines and images and the tiles are
// ordinary Qt painting. Divisions are integer divisions that truncate toward
// zero, so a widget smaller than the 1024 x 1024 layout shows its centre.

#include <QColor>
#include <QPixmap>
#include <QSize>

class QPainter;

namespace pz {

class UnmanagedFill;

// The three images of the patterns (null ones paint nothing).
struct TestPatternImages {
    const QPixmap &caption;          // 203 x 100, the TG18-QC caption
    const QPixmap &qualityControl;   // 611 x 100, black, grey and white panels
    const QPixmap &resolution;       // 407 x 407, chart with its centre group
};

// The horizontal extent of the ramps: kLevels stripes of `step` pixels from
// `left`, centred; 0 wide when the area is narrower than kLevels.
struct RampGeometry {
    static constexpr int kLevels = 256;
    explicit RampGeometry(int areaWidth);
    int width;   // the largest multiple of 256 not above the area's width
    int step;    // width / 256
    int left;    // areaWidth/2 - width/2
};

class TestPatternPainter {
public:
    // Neither the painter nor the fill nor the images are owned.
    TestPatternPainter(QPainter &painter, UnmanagedFill &fill, const QSize &area,
                       const TestPatternImages &images);

    void paint(int pattern);

    // The colour the pattern shows as a whole, what its captions lie on: the
    // solid colour, the grey of the TG18-QC layout, the mean level of a ramp,
    // the level of a quality-control panel. Black for an index outside 0 to 17.
    static QColor background(int pattern);

private:
    void drawSolid(int pattern);
    void drawGreyRamp();
    void drawGreyRampReversed(int maximum);
    void drawRamps();
    void drawQualityControlTile(bool white);
    void drawDICOM();
    void fillGrey(const QRect &r, int level);

    QPainter &m_p;
    UnmanagedFill &m_fill;
    const int m_w;
    const int m_h;
    const TestPatternImages &m_images;
};

// The WCAG relative luminance of an sRGB colour, 0 (black) to 1 (white).
double relativeLuminance(const QColor &colour);

// Whether light (white) text stands out more than dark (black) text on the
// background: the higher of the two WCAG contrast ratios.
bool captionIsLight(const QColor &background);

} // namespace pz
