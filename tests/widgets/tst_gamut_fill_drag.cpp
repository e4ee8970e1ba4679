// The shaded fill of the display gamut (colours at its corners and white
// point, the shading formula, the inside test) and dragging the primaries
// (grab reach, the later primary, the signal while dragging, the release,
// the cursors).

#include "GraphProbe.h"
#include "PZ_gamut_graph.h"
#include "Resources.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

using GamutProbe = GraphProbe<PZ_gamut_graph>;
using graphpixels::near;

// The display gamut of sRGB with the given white, shown; points adjustable.
void showDisplay(GamutProbe &graph, double whiteX, double whiteY, bool adjustable = false,
                 const CCIEYxy *rgb = nullptr)
{
    const _CIExy *srgb = PZ_gamut_graph::sRGB;
    CCIEYxy rgbw[4] = {CCIEYxy(0, srgb[0].x, srgb[0].y), CCIEYxy(0, srgb[1].x, srgb[1].y),
                       CCIEYxy(0, srgb[2].x, srgb[2].y), CCIEYxy(0, whiteX, whiteY)};
    if (rgb)
        for (int i = 0; i < 3; ++i)
            rgbw[i] = rgb[i];
    graph.SetHasAdjustablePoints(adjustable);
    graph.SetOnlyAdjustRGB(adjustable);
    graph.SetShowGamutDisplay(true);
    graph.SetMonitorData(true, rgbw);
}

// The fill's pixel of a mapped point: the coordinates rounded down.
QPoint fillPixel(const QPointF &q)
{
    return QPoint(qRound(q.x() - 0.5), qRound(q.y() - 0.5));
}

} // namespace

class TestGamutFillDrag : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    // On the black plot area the corners are their primaries at alpha 192,
    // and the white point (given as (0, 0), so no mark covers it) is grey.
    void cornersAreSaturatedAndTheWhiteIsGrey()
    {
        GamutProbe graph;
        showGraph(graph);
        showDisplay(graph, 0, 0);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const QVector<QPointF> corners = graph.GetPointPositions();
        QCOMPARE(corners.size(), 3);
        const QPointF mean(graph.DataToDrawPoint(graph.GetDisplayWhite().x, graph.GetDisplayWhite().y, area));
        const QPoint white = fillPixel(mean);
        for (int i = 0; i < 3; ++i) {
            const QPoint corner = fillPixel(corners[i]);
            const QPointF towards = QPointF(white - corner);
            const double length = std::hypot(towards.x(), towards.y());
            const QPoint p = corner + (towards * (3.0 / length)).toPoint();
            const QColor c = image.pixelColor(p);
            const int channels[3] = {c.red(), c.green(), c.blue()};
            for (int k = 0; k < 3; ++k) {
                if (k == i)
                    QCOMPARE(channels[k], 192);
                else
                    QVERIFY2(channels[k] < 20, qPrintable(c.name()));
            }
        }
        QVERIFY2(near(image.pixelColor(white), QColor(192, 192, 192), 2),
                 qPrintable(image.pixelColor(white).name()));
    }

    // Triangle (0, 0), (10, 0), (0, 10) in red, green and blue; pixel (2, 3)
    // has s = 0.2, t = 0.3, u = 0.5: red trunc(127.5), green trunc(51.0),
    // blue trunc(76.5), alpha 0xC0.
    void subTriangleShadingFormula()
    {
        GamutProbe graph;
        QPoint triangle[3] = {QPoint(0, 0), QPoint(10, 0), QPoint(0, 10)};
        QColor colours[3] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
        QImage image(20, 20, QImage::Format_ARGB32);
        image.fill(0);
        graph.DrawColorSubTriangles(triangle, QRect(0, 0, 20, 20), colours, &image, 0, 0);
        QCOMPARE(image.pixel(2, 3), 0xC07F334Cu);
        QCOMPARE(image.pixel(0, 0), 0xC0FF0000u);
        QCOMPARE(image.pixel(5, 5), 0xC0007F7Fu); // on the edge: inside
        QCOMPARE(image.pixel(6, 5), 0u);           // beyond it
        // With offsets, and clipped to the area and the image.
        QImage shifted(4, 4, QImage::Format_ARGB32);
        shifted.fill(0);
        graph.DrawColorSubTriangles(triangle, QRect(1, 2, 100, 100), colours, &shifted, 1, 2);
        QCOMPARE(shifted.pixel(1, 1), 0xC07F334Cu); // widget pixel (2, 3)
        QCOMPARE(shifted.pixel(0, 0), image.pixel(1, 2));
    }

    void insideTestAndWeights_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<bool>("inside");
        QTest::newRow("interior") << 1 << QPoint(2, 3) << true;
        QTest::newRow("vertex") << 1 << QPoint(10, 0) << true;
        QTest::newRow("hypotenuse") << 1 << QPoint(5, 5) << true;
        QTest::newRow("beyond") << 1 << QPoint(6, 5) << false;
        QTest::newRow("left of it") << 1 << QPoint(-1, 3) << false;
        // Products beyond 32 bits.
        QTest::newRow("large, on the edge") << 100000 << QPoint(500000, 500000) << true;
        QTest::newRow("large, beyond") << 100000 << QPoint(500001, 500000) << false;
    }
    void insideTestAndWeights()
    {
        QFETCH(int, scale);
        QFETCH(QPoint, pixel);
        QFETCH(bool, inside);
        GamutProbe graph;
        QPoint triangle[3] = {QPoint(0, 0), QPoint(10 * scale, 0), QPoint(0, 10 * scale)};
        double s = -1, t = -1, u = -1;
        QCOMPARE(graph.CaclulateST(triangle, pixel.x(), pixel.y(), &s, &t, &u), inside);
        QCOMPARE(s, pixel.x() / (10.0 * scale));
        QCOMPARE(t, pixel.y() / (10.0 * scale));
        QCOMPARE(u, 1.0 - s - t);
    }

    // A white on an edge, coincident points: a triangle without area.
    void triangleWithoutAreaDrawsNothing()
    {
        GamutProbe graph;
        QPoint line[3] = {QPoint(0, 0), QPoint(4, 4), QPoint(8, 8)};
        QColor colours[3] = {Qt::red, Qt::green, Qt::blue};
        QImage image(10, 10, QImage::Format_ARGB32);
        image.fill(0);
        graph.DrawColorSubTriangles(line, QRect(0, 0, 10, 10), colours, &image, 0, 0);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                QCOMPARE(image.pixel(x, y), 0u);
        double s, t, u;
        QVERIFY(!graph.CaclulateST(line, 4, 4, &s, &t, &u));
    }

    // A fixed white outside the primaries and a white on an edge: the fill
    // stays inside the primaries' box, and nothing runs out of bounds.
    void whitesOutsideAndOnAnEdge_data()
    {
        QTest::addColumn<QPointF>("white");
        QTest::newRow("outside the box") << QPointF(0.05, 0.80);
        QTest::newRow("on the red-green edge") << QPointF(0.47, 0.465);
        QTest::newRow("on the red primary") << QPointF(0.64, 0.33);
    }
    void whitesOutsideAndOnAnEdge()
    {
        QFETCH(QPointF, white);
        GamutProbe graph;
        showGraph(graph);
        graph.SetShowFixedWhiteDiagram(true);
        graph.SetFixedWhiteDiagramWhitePoint(CCIEYxy(0, white.x(), white.y()));
        showDisplay(graph, 0.3127, 0.329);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        // Left of the blue primary (outside the box) the plot stays black.
        const QPointF outside = graph.DataToDrawPoint(0.12, 0.5, area);
        QCOMPARE(image.pixelColor(outside.toPoint()), QColor(0, 0, 0));
        // Inside the triangle near green, something is shaded.
        const QPointF inside = graph.DataToDrawPoint(0.30, 0.55, area);
        const QColor c = image.pixelColor(inside.toPoint());
        QVERIFY2(c.green() > 60, qPrintable(c.name()));
    }

    void pressGrabsWithinNinePixels_data()
    {
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<bool>("grabbed");
        QTest::newRow("8, 8") << QPoint(8, 8) << true;
        QTest::newRow("-8, 8") << QPoint(-8, 8) << true;
        QTest::newRow("9, 0") << QPoint(9, 0) << false;
        QTest::newRow("0, -9") << QPoint(0, -9) << false;
    }
    void pressGrabsWithinNinePixels()
    {
        QFETCH(QPoint, offset);
        QFETCH(bool, grabbed);
        GamutProbe graph;
        showGraph(graph);
        showDisplay(graph, 0.3127, 0.329, true);
        QSignalSpy spy(&graph, &PZ_gamut_graph::dragging_point);
        const QPointF green = graph.GetPointPositions().at(1);
        // Whole pixels whose distance from the point is offset rounded
        // towards it (grabbed) or away from it (not grabbed).
        const auto axis = [&](double at, int d) {
            if (grabbed || d == 0)
                return double(qRound(at) + d);
            return d > 0 ? std::ceil(at) + d : std::floor(at) + d;
        };
        const QPointF press(axis(green.x(), offset.x()), axis(green.y(), offset.y()));
        graphinput::press(&graph, press);
        QCOMPARE(graph.rubberBandActive, !grabbed);
        QCOMPARE(graph.cursor().shape(), grabbed ? Qt::ClosedHandCursor : Qt::CrossCursor);
        graphinput::move(&graph, press + QPointF(3, 3));
        QCOMPARE(spy.count(), grabbed ? 1 : 0);
        if (grabbed)
            QCOMPARE(spy.at(0).at(0).toInt(), 2);
    }

    void laterPrimaryWins()
    {
        GamutProbe graph;
        showGraph(graph);
        // Green and blue 2 pixels apart or so.
        const CCIEYxy rgb[3] = {CCIEYxy(0, 0.64, 0.33), CCIEYxy(0, 0.20, 0.30),
                                CCIEYxy(0, 0.205, 0.305)};
        showDisplay(graph, 0.3127, 0.329, true, rgb);
        QSignalSpy spy(&graph, &PZ_gamut_graph::dragging_point);
        const QVector<QPointF> points = graph.GetPointPositions();
        graphinput::press(&graph, (points[1] + points[2]) / 2);
        graphinput::move(&graph, points[1] + QPointF(10, 0));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
    }

    void draggingRedReportsEveryMove()
    {
        GamutProbe graph;
        showGraph(graph);
        showDisplay(graph, 0.3127, 0.329, true);
        QSignalSpy spy(&graph, &PZ_gamut_graph::dragging_point);
        const QPointF red = graph.GetPointPositions().at(0);
        const QPointF start(qRound(red.x()), qRound(red.y()));
        graphinput::press(&graph, start);
        double lastX = 0.64 - 0.01;
        for (int step = 1; step <= 4; ++step) {
            graphinput::move(&graph, start + QPointF(10 * step, 0));
            QCOMPARE(spy.count(), step);
            QCOMPARE(spy.last().at(0).toInt(), 1);
            const QPointF xy = spy.last().at(1).toPointF();
            QVERIFY(xy.x() > lastX);
            QVERIFY(std::fabs(xy.y() - 0.33) < 0.005);
            lastX = xy.x();
        }
        // Beyond the plot area: not clamped.
        graphinput::move(&graph, QPointF(graph.width() + 20, start.y()));
        QVERIFY(spy.last().at(1).toPointF().x() > 0.9);
        // A right release keeps the drag; only the left one ends it.
        graphinput::release(&graph, start, Qt::RightButton);
        graphinput::move(&graph, start + QPointF(5, 5));
        QCOMPARE(spy.count(), 6);
        QCOMPARE(graph.cursor().shape(), Qt::ClosedHandCursor);
        graphinput::release(&graph, start);
        QCOMPARE(graph.cursor().shape(), Qt::ArrowCursor);
        graphinput::move(&graph, start + QPointF(8, 8));
        QCOMPARE(spy.count(), 6);
    }

    void hoverCursor_data()
    {
        QTest::addColumn<bool>("adjustable");
        QTest::newRow("adjustable") << true;
        QTest::newRow("not adjustable") << false;
    }
    void hoverCursor()
    {
        QFETCH(bool, adjustable);
        GamutProbe graph;
        showGraph(graph);
        graph.setMouseTracking(true); // as the editor's form sets it
        showDisplay(graph, 0.3127, 0.329, adjustable);
        const QPointF blue = graph.GetPointPositions().at(2);
        graphinput::move(&graph, blue + QPointF(2, -2), Qt::NoButton);
        QCOMPARE(graph.cursor().shape(), adjustable ? Qt::OpenHandCursor : Qt::ArrowCursor);
        // Away from the primaries the cursor is the normal one again.
        graphinput::move(&graph, graph.DataToDrawPoint(0.5, 0.7, graph.plotArea()), Qt::NoButton);
        QCOMPARE(graph.cursor().shape(), Qt::ArrowCursor);
        // A press without adjustable points starts a rubber band.
        if (!adjustable) {
            graphinput::press(&graph, blue);
            QVERIFY(graph.rubberBandActive);
        }
    }

    // The control ball covers the primaries' marks in the editor's set-up;
    // the white gets none.
    void controlBallOverThePrimaries()
    {
        QCOMPARE(QImage(":/images/Resources/control ball.png").size(), QSize(17, 17));
        GamutProbe graph;
        showGraph(graph);
        showDisplay(graph, 0.313, 0.329, true);
        const QImage image = graph.picture();
        const QPointF green = graph.GetPointPositions().at(1);
        const QColor ball = image.pixelColor(int(green.x()) - 2, int(green.y()) - 2);
        // The ball's grey highlight, not the fill's green.
        QVERIFY2(std::abs(ball.red() - ball.green()) < 30 && ball.red() > 120, qPrintable(ball.name()));
        const QPointF white = graph.DataToDrawPoint(0.313, 0.329, graph.plotArea());
        QVERIFY(std::max({image.pixelColor(white.toPoint()).red(), image.pixelColor(white.toPoint()).green(),
                          image.pixelColor(white.toPoint()).blue()})
                <= 194);
    }
};

QTEST_MAIN(TestGamutFillDrag)
#include "tst_gamut_fill_drag.moc"
