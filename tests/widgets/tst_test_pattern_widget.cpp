// What the test pattern widget paints, read from grab(): the ramps' exact
// stripes at three widths, the TG18-QC layout, the solid colours and the
// quality-control tiles. All 18 patterns at 1920 x 1200 are also written as
// PNGs into the pictures folder for a look.

#include "PZ_test_pattern_widget.h"
#include "TestSupport.h"
#include "Resources.h"
#include "SimulatedScreens.h"

#include <QCoreApplication>
#include <QDir>
#include <QPalette>
#include <QtTest>

using pz::test::rgb;
using pz::test::rgbAt;

namespace {

struct Probe {
    int x;
    int y;
    QRgb rgb;
};
using Probes = QVector<Probe>;

Probe grey(int x, int y, int level)
{
    return {x, y, rgb(level, level, level)};
}

// The same level along a row, to check stripes without caring for height.
Probes row(int y, std::initializer_list<std::pair<int, int>> xLevels)
{
    Probes probes;
    for (const auto &[x, level] : xLevels)
        probes << grey(x, y, level);
    return probes;
}

QImage grabPattern(int pattern, const QSize &size)
{
    PZ_test_pattern_widget widget;
    widget.setGeometry(QRect(QPoint(0, 0), size));
    widget.SetTestPattern(pattern);
    return widget.grab().toImage();
}

} // namespace

Q_DECLARE_METATYPE(Probes)

class TestTestPatternWidget : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        pz::initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void pixels_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<Probes>("probes");

        // Grey ramp: white at the left, one stripe of `step` pixels a level.
        QTest::newRow("grey ramp 1920: from 64, step 7") << 13 << QSize(1920, 1200)
            << row(600, {{63, 0}, {64, 255}, {70, 255}, {71, 254}, {1842, 1}, {1848, 1}, {1849, 0}, {1919, 0}});
        QTest::newRow("grey ramp 1280: from 0, step 5") << 13 << QSize(1280, 1024)
            << row(500, {{0, 255}, {4, 255}, {5, 254}, {1270, 1}, {1274, 1}, {1275, 0}});
        QTest::newRow("grey ramp 1680: from 72, step 6") << 13 << QSize(1680, 1050)
            << row(500, {{71, 0}, {72, 255}, {77, 255}, {78, 254}, {1596, 1}, {1601, 1}, {1602, 0}});
        QTest::newRow("grey ramp 200: too narrow, black") << 13 << QSize(200, 100)
            << row(50, {{0, 0}, {100, 0}, {199, 0}});

        // Double ramp at 1920: 4-pixel stripes at trunc(64 + 3.5 i); every
        // other stripe overlaps the one before by a pixel.
        QTest::newRow("double ramp 1920") << 14 << QSize(1920, 1200)
            << row(10, {{63, 0}, {64, 255}, {66, 255}, {67, 254}, {70, 254}, {71, 253}, {955, 1}, {956, 0},
                        {960, 0}, {962, 0}, {963, 1}, {1851, 254}, {1852, 255}, {1855, 255}, {1856, 0}});
        QTest::newRow("double 25% ramp 1920") << 15 << QSize(1920, 1200)
            << row(10, {{63, 0}, {64, 64}, {67, 64}, {71, 63}, {960, 0}, {1855, 64}, {1856, 0}});

        // Colour ramps: 14 bands of 85 rows from y 5; the upper band of a
        // pair falls from 255, the lower one rises.
        QTest::newRow("colour ramps 1920") << 12 << QSize(1920, 1200)
            << Probes{{64, 10, rgb(255, 255, 255)}, {1849, 50, rgb(0, 0, 0)},
                      {64, 200, rgb(255, 0, 0)},    {64, 300, rgb(0, 0, 0)},
                      {1849, 300, rgb(255, 0, 0)},  {64, 400, rgb(0, 255, 0)},
                      {1849, 650, rgb(0, 0, 255)},
                      {764, 700, rgb(155, 155, 0)}, {764, 1150, rgb(100, 0, 100)},
                      {764, 1000, rgb(0, 100, 100)}, {10, 600, rgb(0, 0, 0)},
                      {960, 4, rgb(0, 0, 0)},       {960, 1195, rgb(0, 0, 0)}};

        // TG18-QC at 1920 x 1200: the layout's origin is (448, 88).
        QTest::newRow("TG18-QC 1920x1200") << 0 << QSize(1920, 1200)
            << Probes{// The first patch, (655, 805)-(755, 905), at 8 between
                      // grid lines, its left column and bottom row under the
                      // ring's outline; corners at 4 (top left, bottom right)
                      // and 12.
                      grey(705, 855, 8), grey(656, 855, 8), grey(755, 855, 8),
                      grey(654, 855, 191), grey(756, 855, 191), grey(705, 804, 191),
                      grey(660, 810, 4), grey(750, 900, 4), grey(750, 810, 12), grey(660, 900, 12),
                      grey(665, 810, 8), grey(705, 904, 8), grey(705, 905, 191), grey(705, 906, 191),
                      // The last patch at 248.
                      grey(1215, 855, 248),
                      // Extreme squares: 13 inside black, 242 inside white.
                      grey(763, 811, 0), grey(807, 855, 13), grey(1068, 811, 255), grey(1113, 855, 242),
                      // Grid through the centre every 102 pixels.
                      grey(960, 50, 191), grey(959, 50, 128), grey(961, 50, 128), grey(858, 50, 191),
                      grey(1062, 50, 191), grey(1878, 50, 191), grey(42, 50, 191),
                      grey(50, 600, 191), grey(50, 601, 128), grey(50, 702, 191), grey(50, 498, 191),
                      // Top blocks with their strips, and the first marks.
                      grey(700, 120, 255), grey(700, 170, 0), grey(960, 120, 248), grey(960, 170, 6),
                      grey(975, 137, 0), grey(943, 137, 0), grey(976, 137, 255), grey(950, 137, 255),
                      grey(975, 156, 255), grey(976, 156, 0),
                      // Transition bars and insets.
                      grey(600, 250, 255), grey(600, 280, 0), grey(800, 260, 0), grey(800, 275, 255),
                      // Vertical ramps: two rows a level.
                      grey(500, 857, 0), grey(500, 856, 0), grey(500, 855, 1), grey(500, 347, 255),
                      grey(500, 656, 100), grey(1400, 344, 0), grey(1400, 854, 255),
                      // Images at their places, read at their borders.
                      grey(864, 810, 128), grey(660, 913, 0), grey(863, 913, 128), grey(1068, 913, 255),
                      grey(759, 399, 0), grey(869, 532, 128), grey(464, 104, 128), grey(1275, 961, 128),
                      // The frame: three lines from layout 10 to 1014.
                      grey(457, 650, 128), grey(458, 650, 191), grey(460, 650, 191), grey(461, 650, 128),
                      grey(1459, 650, 128), grey(1460, 650, 191), grey(1462, 650, 191), grey(1463, 650, 128)};
        // Narrower than the layout: its centre, the origin truncated toward
        // zero to (-111, -212).
        QTest::newRow("TG18-QC 801x600") << 0 << QSize(801, 600)
            << Probes{grey(222, 555, 0), grey(223, 555, 13), grey(273, 555, 13), grey(274, 555, 0)};

        // Solid colours, everywhere.
        const QRgb solids[] = {rgb(0, 0, 0),       rgb(64, 64, 64),  rgb(128, 128, 128), rgb(191, 191, 191),
                               rgb(255, 255, 255), rgb(255, 0, 0),   rgb(0, 255, 0),     rgb(0, 0, 255),
                               rgb(255, 255, 0),   rgb(0, 255, 255), rgb(255, 0, 255)};
        for (int n = 1; n <= 11; ++n) {
            const QRgb c = solids[n - 1];
            QTest::addRow("solid %d", n) << n << QSize(1920, 1200)
                << Probes{{0, 0, c}, {1919, 1199, c}, {960, 600, c}, {1919, 0, c}};
        }

        // Quality-control tiles, read inside the panels' 10-pixel borders:
        // the black panel tiles at 203 x 100, the inside of the white one at
        // 201 x 100.
        QTest::newRow("black quality control") << 16 << QSize(1920, 1200)
            << Probes{grey(0, 0, 0), grey(5, 5, 0), grey(208, 105, 0), grey(200, 95, 0), grey(1832, 1195, 0)};
        QTest::newRow("white quality control") << 17 << QSize(1920, 1200)
            << Probes{grey(0, 0, 255), grey(3, 3, 255), grey(204, 103, 255), grey(197, 96, 255),
                      grey(1815, 1196, 255)};
    }

    void pixels()
    {
        QFETCH(int, pattern);
        QFETCH(QSize, size);
        QFETCH(Probes, probes);
        const QImage image = grabPattern(pattern, size);
        QCOMPARE(image.size(), size);
        for (const Probe &probe : probes) {
            const QRgb seen = rgbAt(image, probe.x, probe.y);
            if (seen != probe.rgb)
                QFAIL(qPrintable(QString("(%1, %2): %3, expected %4")
                                     .arg(probe.x)
                                     .arg(probe.y)
                                     .arg(seen, 6, 16, QChar('0'))
                                     .arg(probe.rgb, 6, 16, QChar('0'))));
        }
    }

    // Every pixel inside a ramp stripe has its stripe's level: no
    // interpolation anywhere along the grey ramp.
    void greyRampIsExactStripes()
    {
        const QImage image = grabPattern(13, QSize(1920, 40));
        for (int x = 64; x < 64 + 1792; ++x) {
            const int level = 255 - (x - 64) / 7;
            if (rgbAt(image, x, 20) != rgb(level, level, level))
                QFAIL(qPrintable(QString("x %1 is not level %2").arg(x).arg(level)));
        }
    }

    void outsideTheRangeNothingIsPainted()
    {
        for (int n : {-1, 18}) {
            PZ_test_pattern_widget widget;
            widget.setGeometry(0, 0, 400, 300);
            widget.SetTestPattern(n);
            const QImage image = widget.grab().toImage();
            const QRgb base = widget.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
            QCOMPARE(rgbAt(image, 0, 0), base);
            QCOMPARE(rgbAt(image, 200, 150), base);
        }
    }

    // Pictures to look at, in the pictures folder.
    void picturesForALook()
    {
        const QDir folder(pz::test::picturesFolder());
        PZ_test_pattern_widget widget;
        widget.setGeometry(pz::test::kDisplay1);
        for (int n = 0; n < PZ_test_pattern_widget::kPatternCount; ++n) {
            widget.SetTestPattern(n);
            QVERIFY(widget.grab().save(folder.filePath(QString("test_pattern_%1.png").arg(n, 2, 10, QChar('0')))));
        }
    }
};

QTEST_MAIN(TestTestPatternWidget)
#include "tst_test_pattern_widget.moc"
