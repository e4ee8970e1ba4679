// The tone-curve graph: where its curves land, which pen draws them, how
// narrow plots and invalid curves behave, and resampling after a zoom.

#include "GraphProbe.h"
#include "GraphSupport.h"
#include "PZ_curves_graph.h"
#include "Resources.h"

#include <QtTest>

#include <cmath>

namespace {

using CurvesProbe = GraphProbe<PZ_curves_graph>;
using graphpixels::around;
using graphpixels::count;

// A 256-point Catmull-Rom curve with y = f(x).
template <typename F>
CSpline curve(F f)
{
    CSpline s;
    s.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    for (int i = 0; i < 256; ++i)
        s.SetXY(i, i / 255.0, f(i / 255.0));
    s.SetValid(true);
    return s;
}

CSpline flat(double y)
{
    return curve([y](double) { return y; });
}

QPen pen(const QColor &colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

bool reddish(const QColor &c)
{
    return c.red() > 100 && c.green() < 60 && c.blue() < 60;
}

} // namespace

class TestCurvesGraph : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void unitSquareAxes()
    {
        CurvesProbe graph;
        const PlotSettings &s = graph.shown();
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 1.0);
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.minY, 0.0);
        QCOMPARE(s.maxY, 1.0);
        QCOMPARE(s.numYTicks, 10);
        QCOMPARE(graph.GetCurveCount(), 0);
    }

    void gammaCurvePassesItsMappedPoint()
    {
        CurvesProbe graph;
        showGraph(graph);
        CSpline gamma;
        gamma.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
        gamma.SetSplineGamma(2.2);
        gamma.SetValid(true);
        graph.SetSplines({gamma}, {pen(Qt::red, 1.0)});
        QCOMPARE(graph.GetCurveCount(), 1);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const QPointF onCurve = graph.DataToDrawPoint(0.5, 0.2176, area);
        QVERIFY(count(image, around(onCurve, 1), reddish) > 0);
        QCOMPARE(count(image, around(graph.DataToDrawPoint(0.5, 0.5, area), 3), reddish), 0);
        QCOMPARE(count(image, around(graph.DataToDrawPoint(0.5, 0.1, area), 3), reddish), 0);
    }

    // With a plot area N + 1 pixels wide there are N / 2 intervals: none for
    // 3 pixels, so only the grid is drawn; 5 pixels draw the curve.
    void narrowPlotDrawsOnlyTheGrid_data()
    {
        QTest::addColumn<int>("areaWidth");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("3 pixels") << 3 << false;
        QTest::newRow("5 pixels") << 5 << true;
    }
    void narrowPlotDrawsOnlyTheGrid()
    {
        QFETCH(int, areaWidth);
        QFETCH(bool, drawn);
        CurvesProbe graph;
        // Margins that leave room for a plot area a few pixels high.
        graph.SetShowXAxisLabel(false);
        graph.SetShowYGradient(true);
        const int side = graph.leftMargin + graph.rightMargin + areaWidth;
        showGraph(graph, side);
        QCOMPARE(graph.plotArea().width(), areaWidth);
        QVERIFY(graph.plotArea().height() >= 3);
        graph.SetSplines({curve([](double x) { return x; })}, {pen(Qt::red, 3.0)});
        const QRect area = graph.plotArea();
        QCOMPARE(count(graph.picture(), area, reddish) > 0, drawn);
    }

    void whitePenTurnsBlackOnWhite_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("white");
        QTest::addColumn<QColor>("drawn");
        QTest::newRow("white on black") << QColor(Qt::white) << false << QColor(Qt::white);
        QTest::newRow("white on white") << QColor(Qt::white) << true << QColor(Qt::black);
        QTest::newRow("almost white on white")
            << QColor(254, 255, 255) << true << QColor(254, 255, 255);
        QTest::newRow("red on black") << QColor(Qt::red) << false << QColor(Qt::red);
        QTest::newRow("red on white") << QColor(Qt::red) << true << QColor(Qt::red);
    }
    void whitePenTurnsBlackOnWhite()
    {
        QFETCH(QColor, colour);
        QFETCH(bool, white);
        QFETCH(QColor, drawn);
        CurvesProbe graph;
        showGraph(graph);
        graph.WhiteBackground(white);
        graph.SetSplines({flat(0.55)}, {pen(colour, 3.0)});
        const QRect area = graph.plotArea();
        const QPointF p = graph.DataToDrawPoint(0.43, 0.55, area);
        QCOMPARE(graph.picture().pixelColor(int(p.x()), int(std::floor(p.y()))), drawn);
    }

    void invalidCurveKeepsTheLaterPens()
    {
        CurvesProbe graph;
        showGraph(graph);
        CSpline invalid = flat(0.3);
        invalid.SetValid(false);
        graph.SetSplines({invalid, flat(0.65)}, {pen(Qt::green, 3.0), pen(Qt::red, 3.0)});
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const QPointF second = graph.DataToDrawPoint(0.43, 0.65, area);
        QCOMPARE(image.pixelColor(int(second.x()), int(std::floor(second.y()))), QColor(Qt::red));
        const auto greenish = [](const QColor &c) { return c.green() > 100 && c.red() < 60; };
        QCOMPARE(count(image, area, greenish), 0);
    }

    // A spike one control point wide at x = 77/255. Resampled over the
    // zoomed range (a sample every 0.2 / N) the curve reaches near its top;
    // samples spread over the home range would miss it.
    void zoomResamplesTheShownRange()
    {
        const double peakX = 77 / 255.0;
        const CSpline spike = curve([peakX](double x) { return std::fabs(x - peakX) < 1e-9 ? 1.0 : 0.0; });
        CurvesProbe graph;
        // A size whose home-range samples pass well beside the peak.
        int side = 380;
        for (;; ++side) {
            graph.resize(side, side);
            const int n = (graph.plotArea().width() + 1) / 2;
            const double miss = std::fabs(std::round(peakX * n) / n - peakX);
            if (miss > 0.3 / 255.0)
                break;
        }
        showGraph(graph, side);
        graph.SetSplines({spike}, {pen(Qt::red, 1.0)});
        graph.zoomTo(pz::plotLevel(0.2, 0.4, 4, 0.0, 1.2, 4));
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        int top = area.bottom();
        for (int y = area.top() + 1; y < area.bottom(); ++y)
            if (count(image, QRect(area.left() + 1, y, area.width() - 2, 1), reddish) > 0) {
                top = y;
                break;
            }
        QVERIFY2(top <= graph.DataToDrawPoint(0.3, 0.9, area).y(), qPrintable(QString::number(top)));
    }

};

QTEST_MAIN(TestCurvesGraph)
#include "tst_curves_graph.moc"
