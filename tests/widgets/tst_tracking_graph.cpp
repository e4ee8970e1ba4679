// The colour-tracking graph: the axes its data sets (in the user's
// luminance unit), the bars' colours along the ΔE scale, clipping, the
// average line, and data that is too long or absurd.

#include "CPreferences.h"
#include "GraphProbe.h"
#include "GraphSupport.h"
#include "PZ_tracking_graph.h"
#include "PreferencesRegistry.h"
#include "Resources.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(std::vector<double>)

namespace {

using TrackingProbe = GraphProbe<PZ_tracking_graph>;
using graphpixels::count;
using graphpixels::near;

const QColor kBlack(0, 0, 0);
const QColor kGrid(50, 50, 50);

bool plain(const QColor &c)
{
    return c == kBlack || c == kGrid;
}

} // namespace

class TestTrackingGraph : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void noDataDrawsOnlyTheGrid()
    {
        TrackingProbe graph;
        showGraph(graph);
        graph.SetAverage(2.0);
        graph.SetShowAverage(true);
        graph.SetColorTrackingGraphData(nullptr, nullptr, 0);
        QCOMPARE(graph.GetPointCount(), 0u);
        const PlotSettings &s = graph.shown();
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 10.0);
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.minY, 0.0);
        QCOMPARE(s.maxY, 100.0);
        QCOMPARE(s.numYTicks, 10);
        const QRect inside = graph.plotArea().adjusted(1, 1, -1, -1);
        QCOMPARE(count(graph.picture(), inside, [](const QColor &c) { return !plain(c); }), 0);
    }

    // The top is the next hundred above the last step's luminance in the
    // user's unit, however the earlier steps lie.
    void luminanceAxisFromTheLastStep_data()
    {
        QTest::addColumn<std::vector<double>>("luminance");
        QTest::addColumn<bool>("footLamberts");
        QTest::addColumn<double>("top");
        QTest::newRow("white 160 cd") << std::vector<double>{20, 80, 160} << false << 200.0;
        QTest::newRow("white 160 cd in fL (46.7)")
            << std::vector<double>{20, 80, 160} << true << 100.0;
        QTest::newRow("150") << std::vector<double>{150} << false << 200.0;
        QTest::newRow("200") << std::vector<double>{200} << false << 300.0;
        QTest::newRow("99.9") << std::vector<double>{99.9} << false << 100.0;
        QTest::newRow("descending") << std::vector<double>{300, 50} << false << 100.0;
        // Garbage from a file: the axis stays finite and the int is safe.
        QTest::newRow("absurd") << std::vector<double>{1e300} << false << 1000100.0;
        QTest::newRow("infinite")
            << std::vector<double>{std::numeric_limits<double>::infinity()} << false << 1000100.0;
        QTest::newRow("not a number")
            << std::vector<double>{std::numeric_limits<double>::quiet_NaN()} << false << 100.0;
    }
    void luminanceAxisFromTheLastStep()
    {
        QFETCH(std::vector<double>, luminance);
        QFETCH(bool, footLamberts);
        QFETCH(double, top);
        CPreferences preferences;
        preferences.SetLuminanceUnits(footLamberts ? 1 : 0);
        pz::ScopedPreferences scope(&preferences);
        TrackingProbe graph;
        showGraph(graph);
        std::vector<double> deltaE(luminance.size(), 1.0);
        graph.SetColorTrackingGraphData(deltaE.data(), luminance.data(), uint(luminance.size()));
        QCOMPARE(graph.GetLuminanceAxisTop(), top);
        QCOMPARE(graph.shown().maxY, top);
        QCOMPARE(graph.shown().numYTicks, 10);
    }

    void setDataReplacesTheZoomAndRedraws()
    {
        TrackingProbe graph;
        showGraph(graph);
        graph.zoomTo(pz::plotLevel(1, 5, 4, 10, 50, 4));
        const qint64 before = graph.pictureKey();
        graph.SetAverage(1.0);
        graph.SetShowAverage(true);
        QCOMPARE(graph.pictureKey(), before);
        double deltaE[] = {1.0};
        double luminance[] = {50.0};
        graph.SetColorTrackingGraphData(deltaE, luminance, 1);
        QVERIFY(graph.pictureKey() != before);
        QCOMPARE(graph.zoomLevels.size(), 1);
    }

    // Bars brighter than the top of the axis are cut at the plot area.
    void barsAboveTheTopAreClipped()
    {
        TrackingProbe graph;
        graph.ShowZoomButtons(false);
        showGraph(graph);
        double deltaE[] = {5.0, 5.0};
        double luminance[] = {104.0, 50.0};
        graph.SetColorTrackingGraphData(deltaE, luminance, 2);
        const QRect area = graph.plotArea();
        const QPointF p = graph.DataToDrawPoint(2.0, 104.0, area);
        QVERIFY(p.y() > 4 && p.y() + 3 < area.top());
        const QImage image = graph.picture();
        const QRect margin(QPoint(area.left() + 1, 2), QPoint(area.right() - 1, area.top() - 1));
        QCOMPARE(count(image, margin, [](const QColor &c) { return c != QColor(Qt::white); }), 0);
        // The step at 50 is drawn.
        const QPointF q = graph.DataToDrawPoint(2.0, 50.0, area);
        QVERIFY(!plain(image.pixelColor(int(q.x()), int(q.y()))));
    }

    void barsFollowTheDeltaEScale_data()
    {
        QTest::addColumn<double>("deltaE");
        QTest::addColumn<double>("at");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<double>("beyond");
        QTest::newRow("12 at 8") << 12.0 << 8.0 << QColor(255, 0, 0) << -1.0;
        QTest::newRow("12 at the right edge") << 12.0 << 9.97 << QColor(255, 0, 0) << -1.0;
        QTest::newRow("0.5") << 0.5 << 0.3 << QColor(0, 255, 0) << 0.7;
        QTest::newRow("6 at 3") << 6.0 << 3.0 << QColor(255, 255, 0) << 6.3;
    }
    void barsFollowTheDeltaEScale()
    {
        QFETCH(double, deltaE);
        QFETCH(double, at);
        QFETCH(QColor, colour);
        QFETCH(double, beyond);
        TrackingProbe graph;
        showGraph(graph);
        double values[] = {deltaE};
        double luminance[] = {55.0};
        graph.SetColorTrackingGraphData(values, luminance, 1);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const QPointF p = graph.DataToDrawPoint(at, 55.0, area);
        QVERIFY(near(image.pixelColor(int(p.x()), int(p.y())), colour, 2));
        // Six rows high.
        QVERIFY(near(image.pixelColor(int(p.x()), int(p.y()) - 2), colour, 2));
        QVERIFY(near(image.pixelColor(int(p.x()), int(p.y()) + 2), colour, 2));
        QVERIFY(plain(image.pixelColor(int(p.x()), int(p.y()) - 5)));
        QVERIFY(plain(image.pixelColor(int(p.x()), int(p.y()) + 5)));
        if (beyond > 0) {
            const QPointF q = graph.DataToDrawPoint(beyond, 55.0, area);
            QVERIFY(plain(image.pixelColor(int(q.x()), int(q.y()))));
        }
    }

    // In foot-lamberts the bars stand at their luminance in fL on the fL
    // axis: 80 cd/m² at 23.35 fL, not at 80.
    void barsInFootLamberts()
    {
        CPreferences preferences;
        preferences.SetLuminanceUnits(1);
        pz::ScopedPreferences scope(&preferences);
        TrackingProbe graph;
        showGraph(graph);
        double values[] = {1.0, 1.0};
        double luminance[] = {80.0, 160.0};
        graph.SetColorTrackingGraphData(values, luminance, 2);
        QCOMPARE(graph.shown().maxY, 100.0);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const auto bar = [](const QColor &c) { return !plain(c) && c != QColor(Qt::white); };
        const auto barAt = [&](double fL) {
            const QPointF p = graph.DataToDrawPoint(0.5, fL, area);
            return count(image, QRect(int(p.x()), int(p.y()) - 1, 1, 3), bar) > 0;
        };
        QVERIFY(barAt(80.0 / 3.4262591));
        QVERIFY(barAt(160.0 / 3.4262591));
        QVERIFY(!barAt(80.0));
    }

    // The scale belongs to ΔE values, not to pixels: after a zoom to ΔE 2-4
    // the bar is yellow at 3 and still green-yellow at 2.
    void scaleFollowsTheZoom()
    {
        TrackingProbe graph;
        showGraph(graph);
        double values[] = {12.0};
        double luminance[] = {55.0};
        graph.SetColorTrackingGraphData(values, luminance, 1);
        graph.zoomTo(pz::plotLevel(2, 4, 4, 0, 100, 10));
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const QPointF at3 = graph.DataToDrawPoint(3.0, 55.0, area);
        QVERIFY(near(image.pixelColor(at3.toPoint()), QColor(255, 255, 0), 3));
        const QPointF at25 = graph.DataToDrawPoint(2.5, 55.0, area);
        QVERIFY(near(image.pixelColor(at25.toPoint()), QColor(224, 255, 0), 3));
    }

    void zeroDeltaEDrawsNothing()
    {
        TrackingProbe graph;
        showGraph(graph);
        double values[] = {0.0};
        double luminance[] = {55.0};
        graph.SetColorTrackingGraphData(values, luminance, 1);
        const QRect inside = graph.plotArea().adjusted(1, 1, -1, -1);
        QCOMPARE(count(graph.picture(), inside, [](const QColor &c) { return !plain(c); }), 0);
    }

    // One pixel wide, luminance 0 to the top, in the scale's colour at 2.5:
    // halfway between (192, 255, 0) and (255, 255, 0).
    void averageLineIsOnePixelInTheScaleColour()
    {
        TrackingProbe graph;
        // A size that puts the line's left edge on a pixel boundary.
        int side = 400;
        for (;; ++side) {
            graph.resize(side, side);
            const QRect area = graph.plotArea();
            if ((area.right() - area.left()) % 4 == 2)
                break;
        }
        showGraph(graph, side);
        double values[] = {1.0};
        double luminance[] = {30.0};
        graph.SetAverage(2.5);
        graph.SetShowAverage(true);
        graph.SetColorTrackingGraphData(values, luminance, 1);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const double x = graph.DataToDrawPoint(2.5, 0, area).x();
        QCOMPARE(x - 0.5, std::floor(x));
        const int column = int(std::floor(x));
        const QColor halfway(224, 255, 0);
        for (int y : {area.top() + 2, (area.top() + area.bottom()) / 2, area.bottom() - 2}) {
            QVERIFY2(near(image.pixelColor(column, y), halfway, 2),
                     qPrintable(image.pixelColor(column, y).name()));
            QVERIFY(plain(image.pixelColor(column - 1, y)));
            QVERIFY(plain(image.pixelColor(column + 1, y)));
        }
    }

    void countsAndValuesFromFiles()
    {
        TrackingProbe graph;
        showGraph(graph);
        std::vector<double> deltaE(400, 3.0), luminance(400, 40.0);
        deltaE[1] = std::numeric_limits<double>::quiet_NaN();
        deltaE[2] = 1e300;
        luminance[3] = -std::numeric_limits<double>::infinity();
        luminance[4] = 1e300;
        graph.SetAverage(1e300);
        graph.SetShowAverage(true);
        graph.SetColorTrackingGraphData(deltaE.data(), luminance.data(), 400);
        QCOMPARE(graph.GetPointCount(), 257u);
        QCOMPARE(graph.GetLuminanceAxisTop(), 100.0);
        const QRect area = graph.plotArea();
        const QPointF p = graph.DataToDrawPoint(1.0, 40.0, area);
        QVERIFY(!plain(graph.picture().pixelColor(int(p.x()), int(p.y()))));
    }

};

QTEST_MAIN(TestTrackingGraph)
#include "tst_tracking_graph.moc"
