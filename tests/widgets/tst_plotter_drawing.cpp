// What the plotting base draws: grid, frame, gradient strips, curves, the
// logarithmic grid, the margins, which setters redraw, and what a graph's
// own drawCurves finds on its painter. Pixels are read from the off-screen
// image; text is never compared as pixels. The linear and logarithmic plots
// are also written as PNGs into the pictures folder for a look.

#include "PlotterProbe.h"
#include "TestSupport.h"
#include "Resources.h"
#include "TickLabels.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>
#include <set>

Q_DECLARE_METATYPE(PlotSettings)

namespace {

const QColor kGrid(50, 50, 50);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Rows of one column (frame rows excluded) that hold the grid colour.
std::set<int> gridRows(const QImage &image, int x, const QRect &area)
{
    std::set<int> rows;
    for (int y = area.top() + 1; y < area.bottom(); ++y)
        if (at(image, x, y) == kGrid)
            rows.insert(y);
    return rows;
}

// A graph with a logarithmic Y axis (as the DICOM graph sets it up) that
// notes what its drawCurves finds on the painter.
class LogGraph : public PlotterProbe {
public:
    explicit LogGraph(const QFont &font)
    {
        setFont(font);
        logY = true;
        setPlotSettings(level(0, 1, 5, -2, 1, 3));
    }

    QFont seenFont;
    QPen seenPen;
    bool seenClip = true;
    QPaintDevice *seenDevice = nullptr;
    QPaintDevice *pixmap() { return &offscreenPixmap; }

protected:
    void drawCurves(QPainter *painter) override
    {
        seenFont = painter->font();
        seenPen = painter->pen();
        seenClip = painter->hasClipping();
        seenDevice = painter->device();
    }
};

} // namespace

class TestPlotterDrawing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        pz::initResources();
    }

    void gridAtComputedColumnsAndRows_data()
    {
        QTest::addColumn<bool>("white");
        QTest::newRow("black background") << false;
        QTest::newRow("white background") << true;
    }
    void gridAtComputedColumnsAndRows()
    {
        QFETCH(bool, white);
        PlotterProbe plot;
        showPlot(plot);
        plot.setPlotSettings(level(0, 10, 5, 0, 1, 4));
        plot.WhiteBackground(white);
        const QImage image = plot.picture();
        const QRect area = plot.plotArea();
        const QColor background = white ? kWhite : kBlack;
        const int L = area.left(), R = area.right(), T = area.top(), B = area.bottom();
        QCOMPARE(R, plot.width() - 1 - plot.rightMargin);
        QCOMPARE(B, plot.height() - 1 - plot.bottomMargin);

        const int betweenRows = T + (B - T) / 8;
        for (int i = 0; i <= 5; ++i) {
            const int x = L + (i * (R - L)) / 5;
            QCOMPARE(at(image, x, B + 3), kBlack); // tick below the axis
            if (i == 0 || i == 5)
                continue;
            QCOMPARE(at(image, x, betweenRows), kGrid);
            QCOMPARE(at(image, x + 2, betweenRows), background);
        }
        const int betweenColumns = L + (R - L) / 10;
        for (int j = 1; j < 4; ++j) {
            const int y = B - (j * (B - T)) / 4;
            QCOMPARE(at(image, betweenColumns, y), kGrid);
            QCOMPARE(at(image, betweenColumns, y + 2), background);
            QCOMPARE(at(image, L - 3, y), kBlack); // tick left of the axis
        }
        // Only the computed rows are grid rows.
        std::set<int> rows;
        for (int j = 1; j < 4; ++j)
            rows.insert(B - (j * (B - T)) / 4);
        QCOMPARE(gridRows(image, betweenColumns, area), rows);

        // The margins stay white; the frame is black on the outermost
        // pixels of the plot area.
        QCOMPARE(at(image, L - 1, betweenRows), kWhite);
        QCOMPARE(at(image, R + 1, betweenRows), kWhite);
        for (QPoint p : {QPoint(L, betweenRows), QPoint(R, betweenRows),
                         QPoint(betweenColumns, T), QPoint(betweenColumns, B)})
            QCOMPARE(at(image, p.x(), p.y()), kBlack);
        if (white)
            QCOMPARE(at(image, L + 1, betweenRows), kWhite);
    }

    void gradientStripsRunFromBlackToTheHighColour()
    {
        PlotterProbe plot;
        showPlot(plot);
        plot.SetBlockUpdates(true);
        plot.setPlotSettings(level(0, 1, 5, 0, 1, 5));
        plot.SetShowUnitLabels(false);
        plot.SetShowXGradient(true);
        plot.SetShowYGradient(true);
        plot.SetGradientColor(kBlack, QColor(0, 255, 0));
        plot.SetBlockUpdates(false);
        const QImage image = plot.picture();
        const QRect area = plot.plotArea();
        const int L = area.left(), R = area.right(), T = area.top(), B = area.bottom();

        // The vertical strip, columns L - 12 to L - 2: black at the bottom,
        // green at the top, rising steadily.
        const int x = L - 8;
        QVERIFY(at(image, x, B - 2).green() < 10);
        QVERIFY(at(image, x, T + 2).green() > 245);
        int last = -1;
        for (int y = B - 2; y > T + 2; y -= 20) {
            const QColor c = at(image, x, y);
            QCOMPARE(c.red(), 0);
            QCOMPARE(c.blue(), 0);
            QVERIFY(c.green() >= last);
            last = c.green();
        }
        const int middleRow = T + (B - T) / 2 + 7;
        QVERIFY(at(image, L - 12, middleRow).green() > 100);
        QVERIFY(at(image, L - 2, middleRow).green() > 100);
        QCOMPARE(at(image, L - 13, middleRow), kWhite);
        QCOMPARE(at(image, L - 1, middleRow), kWhite);

        // The horizontal strip, rows B + 2 to B + 12: black at the left,
        // green at the right.
        const int y = B + 7;
        QVERIFY(at(image, L + 2, y).green() < 10);
        QVERIFY(at(image, R - 2, y).green() > 245);
        const int middleColumn = L + (R - L) / 10;
        QVERIFY(at(image, middleColumn, B + 2).green() > 0);
        QVERIFY(at(image, middleColumn, B + 12).green() > 0);
        QCOMPARE(at(image, middleColumn, B + 13), kWhite);
    }

    void curveColourById_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0 red") << 0 << QColor(Qt::red);
        QTest::newRow("7 green") << 7 << QColor(Qt::green);
        QTest::newRow("2 blue") << 2 << QColor(Qt::blue);
        QTest::newRow("11 yellow") << 11 << QColor(Qt::yellow);
        // Taken as unsigned: 4294967295 mod 6 is 3.
        QTest::newRow("-1 cyan") << -1 << QColor(Qt::cyan);
    }
    void curveColourById()
    {
        QFETCH(int, id);
        QFETCH(QColor, colour);
        PlotterProbe plot;
        showPlot(plot);
        plot.setCurveData(id, {QPointF(0, 0.5), QPointF(1, 0.5)});
        const QImage image = plot.picture();
        const QRect area = plot.plotArea();
        const int x = area.left() + area.width() / 3;
        const double row = area.bottom() - 0.5 * (area.bottom() - area.top());
        int found = -1;
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (at(image, x, y) == colour)
                found = y;
        QVERIFY(found >= 0);
        QVERIFY(qAbs(found - row) <= 1);

        plot.clearCurve(id);
        QVERIFY(at(plot.picture(), x, found) != colour);
    }

    // Curves are clipped one pixel inside the plot area: one along the
    // bottom edge leaves the frame black.
    void curvesStayInsideTheFrame()
    {
        PlotterProbe plot;
        showPlot(plot);
        plot.WhiteBackground(true);
        plot.setCurveData(1, {QPointF(0, 0), QPointF(1, 0)});
        const QImage image = plot.picture();
        const QRect area = plot.plotArea();
        const int x = area.left() + area.width() / 3;
        QCOMPARE(at(image, x, area.bottom()), kBlack);
        QCOMPARE(at(image, x, area.bottom() - 1), kWhite);
    }

    // Data far outside the shown range, or not numbers at all, is clipped
    // away; the points inside are still drawn.
    void curvesWithWildPoints()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        PlotterProbe plot;
        showPlot(plot);
        plot.setCurveData(7, {QPointF(0, 0.5), QPointF(1, 0.5), QPointF(1e300, -1e300),
                              QPointF(inf, 0.5), QPointF(0.5, nan), QPointF(-inf, -inf)});
        plot.setCurveData(1, {QPointF(0, 0.5), QPointF(1e12, 0.5)});
        const QRect area = plot.plotArea();
        const int x = area.left() + area.width() / 3;
        bool green = false;
        for (int y = area.top(); y <= area.bottom(); ++y)
            green = green || at(plot.picture(), x, y) == QColor(Qt::green);
        QVERIFY(green);
    }

    // Decades -2 to 1 on a plot whose limits reach further: lines at every
    // multiple inside the shown range and nowhere else.
    void logarithmicGrid_data()
    {
        QTest::addColumn<double>("yMin");
        QTest::addColumn<double>("yMax");
        QTest::newRow("limits as shown") << -2.0 << 1.0;
        QTest::newRow("limits beyond the shown range") << -5.0 << 3.0;
        QTest::newRow("first decade far below") << -1.0e6 << 1.0;
    }
    void logarithmicGrid()
    {
        QFETCH(double, yMin);
        QFETCH(double, yMax);
        LogGraph plot{QFont()};
        showPlot(plot);
        plot.zoomLevels[0].yMin = yMin;
        plot.zoomLevels[0].yMax = yMax;
        plot.refreshPixmap();
        const QImage image = plot.picture();
        const QRect area = plot.plotArea();
        const int T = area.top(), B = area.bottom();
        const auto row = [&](double value) {
            return B - (std::log10(value) - -2.0) * (B - T) / 3.0;
        };

        std::set<int> expected;
        for (int e = -2; e <= 1; ++e)
            for (int m = 1; m <= 9; ++m) {
                const double y = row(m * std::pow(10.0, e));
                if (y > T && y < B)
                    expected.insert(int(y));
            }
        const int x = area.left() + (area.right() - area.left()) / 10;
        const std::set<int> rows = gridRows(image, x, area);
        QCOMPARE(rows, expected);
        QVERIFY(rows.count(int(row(0.2))));
        QVERIFY(rows.count(int(row(2.0))));
        QCOMPARE(int(expected.size()), 3 * 9 - 1); // decade 1 shows only 10, on the frame
    }

    void logarithmicGridWithReversedLimitsDrawsNoYGrid()
    {
        LogGraph plot{QFont()};
        showPlot(plot);
        plot.zoomLevels[0].yMin = 1;
        plot.zoomLevels[0].yMax = -2;
        plot.refreshPixmap();
        const QRect area = plot.plotArea();
        const int x = area.left() + (area.right() - area.left()) / 10;
        QVERIFY(gridRows(plot.picture(), x, area).empty());
        // The X grid is still there.
        QCOMPARE(at(plot.picture(), area.left() + (area.right() - area.left()) / 5,
                    area.top() + area.height() / 2),
                 kGrid);
    }

    // A graph's drawCurves runs on the off-screen painter right after the
    // grid: the widget's font, the black axis pen, no clip.
    void subclassFindsGridFontAndAxisPen()
    {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(17);
        LogGraph plot(font);
        showPlot(plot);
        plot.refreshPixmap();
        QCOMPARE(plot.seenDevice, plot.pixmap());
        QCOMPARE(plot.seenFont, plot.font());
        QCOMPARE(plot.seenFont.pixelSize(), 17);
        QCOMPARE(plot.seenPen.color(), kBlack);
        QCOMPARE(plot.seenPen.width(), 1);
        QVERIFY(!plot.seenClip);
        const QRect area = plot.plotArea();
        const int B = area.bottom(), T = area.top();
        const int y = int(B - (std::log10(0.02) + 2.0) * (B - T) / 3.0);
        QCOMPARE(at(plot.picture(), area.left() + (area.right() - area.left()) / 10, y), kGrid);
    }

    // Margins come from the widget font: the Y labels are the range's ends,
    // with the decade decimals on a logarithmic axis.
    void margins_data()
    {
        QTest::addColumn<bool>("log");
        QTest::addColumn<PlotSettings>("settings");
        QTest::addColumn<QStringList>("yLabels");
        QTest::addColumn<QStringList>("xLabels");
        QTest::newRow("linear 0..1") << false << level(0, 1, 5, 0, 1, 5)
                                     << QStringList{"0.0", "1.0"} << QStringList{"0.0", "1.0"};
        QTest::newRow("linear 0..256") << false << level(0, 256, 8, -10, 256, 8)
                                       << QStringList{"-10", "256"} << QStringList{"0", "256"};
        QTest::newRow("log -3..2") << true << level(0, 0.5, 5, -3, 2, 5)
                                   << QStringList{"-3.000", "2.000"}
                                   << QStringList{"0.00", "0.50"};
        QTest::newRow("log 0..3") << true << level(0, 1, 5, 0, 3, 3) << QStringList{"0", "3"}
                                  << QStringList{"0.0", "1.0"};
    }
    void margins()
    {
        QFETCH(bool, log);
        QFETCH(PlotSettings, settings);
        QFETCH(QStringList, yLabels);
        QFETCH(QStringList, xLabels);
        PlotterProbe plot;
        plot.logY = log;
        plot.setPlotSettings(settings);
        const QFontMetrics metrics(plot.font());
        const auto widest = [&](const QStringList &labels) {
            return std::max(metrics.horizontalAdvance(labels[0]),
                            metrics.horizontalAdvance(labels[1]));
        };
        // Captions keep 4 pixels from the numbers beside them.
        QCOMPARE(plot.leftMargin, metrics.height() + 5 + 4 + widest(yLabels));
        QCOMPARE(plot.rightMargin, 3 + widest(xLabels) / 2);
        QCOMPARE(plot.topMargin, plot.zoomInButton->height() + 4);
        QCOMPARE(plot.bottomMargin, 2 * metrics.height() + 5 + 4);

        plot.SetBlockUpdates(true);
        plot.SetShowUnitLabels(false);
        plot.SetShowYAxisLabel(false);
        plot.SetShowXAxisLabel(false);
        plot.SetShowXGradient(true);
        plot.SetShowYGradient(true);
        QCOMPARE(plot.leftMargin, 5 + 10);
        QCOMPARE(plot.rightMargin, 3);
        QCOMPARE(plot.bottomMargin, 5 + 10);
    }

    // Which setters redraw and which recalculate the margins. The level is
    // -3..2 with the axis switched to logarithmic behind the plot's back,
    // so a recalculation shows as a changed left margin.
    void settersRedrawOrRecalculate()
    {
        struct Case {
            const char *name;
            std::function<void(Plotter &)> set;
            bool redraws;
            bool recalculates;
        };
        const QVector<Case> cases = {
            {"WhiteBackground", [](Plotter &p) { p.WhiteBackground(true); }, true, false},
            {"setCurveData", [](Plotter &p) { p.setCurveData(3, {QPointF(0, 0)}); }, true, false},
            {"clearCurve", [](Plotter &p) { p.clearCurve(3); }, true, false},
            {"SetGradientColor", [](Plotter &p) { p.SetGradientColor(Qt::black, Qt::blue); }, false,
             false},
            {"SetShowXGradient", [](Plotter &p) { p.SetShowXGradient(false); }, false, true},
            {"SetShowYGradient", [](Plotter &p) { p.SetShowYGradient(false); }, false, true},
            {"SetShowUnitLabels", [](Plotter &p) { p.SetShowUnitLabels(true); }, false, true},
            {"SetShowXAxisLabel", [](Plotter &p) { p.SetShowXAxisLabel(true); }, false, true},
            {"SetShowYAxisLabel", [](Plotter &p) { p.SetShowYAxisLabel(true); }, false, true},
            {"SetShowGraphLabel", [](Plotter &p) { p.SetShowGraphLabel(true); }, false, true},
            {"SetXAxisLabelString", [](Plotter &p) { p.SetXAxisLabelString("x"); }, false, true},
            {"SetGraphLabelString", [](Plotter &p) { p.SetGraphLabelString("t"); }, false, true},
            {"SetYAxisLabelString", [](Plotter &p) { p.SetYAxisLabelString("y"); }, false, false},
            {"ShowZoomButtons", [](Plotter &p) { p.ShowZoomButtons(false); }, false, false},
        };
        for (const Case &c : cases) {
            PlotterProbe plot;
            showPlot(plot);
            plot.setPlotSettings(level(0, 1, 5, -3, 2, 5));
            plot.logY = true;
            const int left = plot.leftMargin;
            const int drawings = plot.drawings;
            c.set(plot);
            QVERIFY2((plot.drawings == drawings + 1) == c.redraws, c.name);
            QVERIFY2((plot.leftMargin != left) == c.recalculates, c.name);
        }
    }

    void blockedUpdatesRedrawOnceWhenReleased()
    {
        PlotterProbe plot;
        showPlot(plot);
        const int drawings = plot.drawings;
        plot.SetBlockUpdates(true);
        plot.WhiteBackground(true);
        plot.setCurveData(1, {QPointF(0, 0), QPointF(1, 1)});
        plot.setPlotSettings(level(0, 2, 4, 0, 2, 4));
        QCOMPARE(plot.drawings, drawings);
        plot.SetBlockUpdates(false);
        QCOMPARE(plot.drawings, drawings + 1);
        QCOMPARE(at(plot.picture(), plot.plotArea().left() + 3, plot.plotArea().top() + 3), kWhite);
    }

    // Ranges the graphs may compute from data: nothing is drawn, nothing
    // divides by zero, the mapping gives (0, 0), input changes nothing.
    void levelsThatCannotBeDrawn_data()
    {
        QTest::addColumn<PlotSettings>("settings");
        QTest::addColumn<bool>("log");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("no X ticks") << level(0, 1, 0, 0, 1, 5) << false;
        QTest::newRow("negative Y ticks") << level(0, 1, 5, 0, 1, -1) << false;
        QTest::newRow("equal X ends") << level(3, 3, 5, 0, 1, 5) << false;
        QTest::newRow("equal Y ends, log") << level(0, 1, 5, 2, 2, 5) << true;
        QTest::newRow("NaN end") << level(0, nan, 5, 0, 1, 5) << false;
        QTest::newRow("infinite end, log") << level(0, 1, 5, -inf, 1, 5) << true;
    }
    void levelsThatCannotBeDrawn()
    {
        QFETCH(PlotSettings, settings);
        QFETCH(bool, log);
        PlotterProbe plot;
        showPlot(plot);
        plot.logY = log;
        plot.setCurveData(0, {QPointF(0, 0), QPointF(1, 1)});
        plot.setPlotSettings(settings);
        const QImage image = plot.picture();
        QCOMPARE(image.size(), plot.size());
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                QCOMPARE(at(image, x, y), kWhite);
        QCOMPARE(plot.DataToDrawPoint(0.5, 0.5, plot.plotArea()), QPointF(0, 0));

        const QRect area = plot.plotArea();
        plotinput::drag(&plot, area.center(), area.center() + QPoint(60, 60));
        plotinput::key(&plot, Qt::Key_Right);
        plotinput::key(&plot, Qt::Key_Up);
        plotinput::wheel(&plot, QPoint(0, 240));
        QCOMPARE(plot.zoomLevels.size(), 1);
    }

    void dataToDrawPoint_data()
    {
        QTest::addColumn<bool>("log");
        QTest::addColumn<QPointF>("data");
        QTest::addColumn<QPointF>("fraction"); // of the area, from its bottom left
        QTest::newRow("linear") << false << QPointF(2.5, 25) << QPointF(0.25, 0.25);
        QTest::newRow("log 100") << true << QPointF(10, 100) << QPointF(1, 0.75);
        QTest::newRow("log of 0 taken as 0") << true << QPointF(0, 0) << QPointF(0, 0.25);
    }
    void dataToDrawPoint()
    {
        QFETCH(bool, log);
        QFETCH(QPointF, data);
        QFETCH(QPointF, fraction);
        PlotterProbe plot;
        plot.logY = log;
        plot.setPlotSettings(log ? level(0, 10, 5, -1, 3, 4) : level(0, 10, 5, 0, 100, 5));
        const QRect area(10, 20, 401, 201);
        const QPointF p = plot.DataToDrawPoint(data.x(), data.y(), area);
        QCOMPARE(p, QPointF(10 + fraction.x() * 400, 220 - fraction.y() * 200));
    }

    // At any size the tick numbers stand apart: where they would crowd,
    // every second (fifth...) is drawn, the grid stays whole, and the
    // lowest numbers of the two axes do not meet at the corner.
    void tickNumbersStandApart_data()
    {
        QTest::addColumn<bool>("log");
        QTest::addColumn<PlotSettings>("settings");
        QTest::newRow("chromaticity 0..0.9") << false << level(0, 0.9, 9, 0, 0.9, 9);
        QTest::newRow("DDL 0..256") << false << level(0, 256, 8, 0, 4, 10);
        QTest::newRow("JND index 0..1000") << false << level(0, 1000, 10, 0, 1, 5);
        QTest::newRow("many ticks") << false << level(0, 100000, 50, -5000, 5000, 40);
        QTest::newRow("decades -6..1") << true << level(0, 1000, 10, -6, 1, 7);
    }
    void tickNumbersStandApart()
    {
        QFETCH(bool, log);
        QFETCH(PlotSettings, settings);
        for (int side : {180, 260, 340, 420, 600}) {
            PlotterProbe plot;
            plot.logY = log;
            plot.SetXAxisLabelString("Input level");
            plot.SetYAxisLabelString("Output level");
            plot.setPlotSettings(settings);
            showPlot(plot, side);
            QVERIFY2(ticklabels::overlapping(plot).isEmpty(),
                     qPrintable(QString("%1 px: %2").arg(side).arg(ticklabels::overlapping(plot))));
            // Both axes keep numbers: at least the lowest Y and one X.
            QVERIFY2(plot.TickLabelPlaces().size() >= 3, qPrintable(QString::number(side)));
            // Every grid line is still drawn (the outer two are the frame).
            const QRect area = plot.plotArea();
            if (!log && area.height() > 4 * settings.numYTicks
                && area.width() > 4 * settings.numXTicks)
                QCOMPARE(int(gridRows(plot.picture(), area.left() + 1, area).size()),
                         settings.numYTicks - 1);
        }
    }

    // With room, every tick has its number but the X number at the corner,
    // which gives way to the lowest Y number; where the ten numbers
    // 0.00..0.90 are one pixel too close for the gap, every second one is
    // drawn.
    void tickNumbersThinOnlyWhereTheyCrowd()
    {
        PlotterProbe plot;
        plot.SetShowXAxisLabel(false);
        plot.SetShowYAxisLabel(false);
        plot.setPlotSettings(level(0, 0.9, 9, 0, 0.9, 9));
        showPlot(plot, 900);
        QCOMPARE(plot.TickLabelPlaces().size(), 19);

        const int width = QFontMetrics(plot.font()).horizontalAdvance("0.00");
        // Ticks (width + 3) apart: one short of the 4-pixel gap.
        showPlot(plot, 9 * (width + 3) + 1 + plot.leftMargin + plot.rightMargin);
        QVERIFY(ticklabels::overlapping(plot).isEmpty());
        const QRect area = plot.plotArea();
        QVector<int> xCentres;
        for (const QRect &r : plot.TickLabelPlaces())
            if (r.top() > area.bottom())
                xCentres << r.center().x();
        // Every second tick from 0.20 (0.00 gives way to the Y number at
        // the corner) up to 0.80.
        QCOMPARE(xCentres.size(), 4);
        const double step = (area.right() - area.left()) / 9.0;
        for (int k = 0; k < xCentres.size(); ++k)
            QVERIFY2(std::abs(xCentres[k] - (area.left() + 2 * (k + 1) * step)) <= 2,
                     qPrintable(QString("%1: %2").arg(k).arg(xCentres[k])));
    }

    // Pictures to look at: a linear and a logarithmic plot on both
    // backgrounds, and the gradient strips, in the pictures folder.
    void picturesForALook()
    {
        const QString folder = pz::test::picturesFolder();
        for (bool log : {false, true}) {
            for (bool white : {false, true}) {
                PlotterProbe plot;
                plot.logY = log;
                plot.SetBlockUpdates(true);
                showPlot(plot, 360);
                plot.SetShowGraphLabel(true);
                plot.SetGraphLabelString(log ? "Contrast response" : "Tone curves");
                plot.SetXAxisLabelString(log ? "JND index" : "Input level");
                plot.SetYAxisLabelString(log ? "dL/L" : "Output level");
                if (log) {
                    plot.setPlotSettings(level(0, 600, 6, -3, 0, 3));
                    QVector<QPointF> curve;
                    for (int i = 1; i <= 600; i += 10)
                        curve << QPointF(i, std::log10(0.4 / (1 + i / 20.0)));
                    plot.setCurveData(0, curve);
                } else {
                    plot.setPlotSettings(level(0, 1, 5, 0, 1, 5));
                    for (int id = 0; id < 3; ++id) {
                        QVector<QPointF> curve;
                        for (int i = 0; i <= 50; ++i)
                            curve << QPointF(i / 50.0, std::pow(i / 50.0, 1.8 + 0.2 * id));
                        plot.setCurveData(id, curve);
                    }
                }
                plot.WhiteBackground(white);
                plot.SetBlockUpdates(false);
                const QString name = QString("plotter_%1_%2.png")
                                         .arg(log ? "log" : "linear", white ? "white" : "black");
                QVERIFY(plot.grab().save(QDir(folder).filePath(name)));
            }
        }
        PlotterProbe plot;
        showPlot(plot, 300);
        plot.SetBlockUpdates(true);
        plot.SetShowUnitLabels(false);
        plot.SetShowXGradient(true);
        plot.SetShowYGradient(true);
        plot.SetGradientColor(Qt::black, Qt::red);
        QVector<QPointF> curve;
        for (int i = 0; i <= 50; ++i)
            curve << QPointF(i / 50.0, std::pow(i / 50.0, 2.2));
        plot.setCurveData(0, curve);
        plot.SetBlockUpdates(false);
        QVERIFY(plot.grab().save(QDir(folder).filePath("plotter_gradients.png")));
    }
};

QTEST_MAIN(TestPlotterDrawing)
#include "tst_plotter_drawing.moc"
