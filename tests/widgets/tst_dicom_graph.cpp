// The DICOM graph: the axes both modes derive from their data, where the
// JND points land, which lines are drawn, the colours of deviating points,
// the mode switch, and data that is too long or cannot lie on the axis.

#include "GraphProbe.h"
#include "GraphSupport.h"
#include "PZ_dicom_graph.h"
#include "Resources.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using DicomProbe = GraphProbe<PZ_dicom_graph>;
using graphpixels::around;
using graphpixels::count;
using graphpixels::near;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Contrast data of equal reference and measured values, deviation 0.
struct ContrastData {
    std::vector<double> refX, refY, measX, measY, deviation;
    void add(double x, double y, double dev = 0.0)
    {
        refX.push_back(x);
        refY.push_back(y);
        measX.push_back(x);
        measY.push_back(y);
        deviation.push_back(dev);
    }
    void load(PZ_dicom_graph &graph, long count)
    {
        graph.SetDICOMContrastGraphData(refX.data(), refY.data(), measX.data(), measY.data(),
                                        deviation.data(), count);
    }
    void load(PZ_dicom_graph &graph) { load(graph, long(refX.size())); }
};

bool whiteish(const QColor &c)
{
    return c.red() > 200 && c.green() > 200 && c.blue() > 200;
}

// Columns of the square outlines found along one row band of the plot.
QList<int> squareCentres(const QImage &image, const QRect &band)
{
    QList<int> centres;
    int first = -1;
    for (int x = band.left(); x <= band.right() + 1; ++x) {
        const bool hit = x <= band.right()
                         && count(image, QRect(x, band.top(), 1, band.height()), whiteish) > 0;
        if (hit && first < 0)
            first = x;
        if (!hit && first >= 0) {
            centres << (first + x - 1) / 2;
            first = -1;
        }
    }
    return centres;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<double>)

class TestDicomGraph : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void contrastAxesFollowTheData_data()
    {
        QTest::addColumn<std::vector<double>>("x");
        QTest::addColumn<std::vector<double>>("y");
        QTest::addColumn<int>("xMax");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("decades");
        QTest::newRow("JND 612") << std::vector<double>{10, 612} << std::vector<double>{0.01, 0.05}
                                 << 700 << -3 << 2;
        QTest::newRow("JND 700") << std::vector<double>{10, 700} << std::vector<double>{0.01, 0.05}
                                 << 700 << -3 << 2;
        QTest::newRow("0.0025 to 0.04") << std::vector<double>{1, 2, 3}
                                        << std::vector<double>{0.0025, 0.01, 0.04} << 100 << -3
                                        << 2;
        QTest::newRow("maximum 2.0") << std::vector<double>{1, 2} << std::vector<double>{0.01, 2.0}
                                     << 100 << -3 << 3;
        QTest::newRow("no data") << std::vector<double>{} << std::vector<double>{} << 400 << -3
                                 << 2;
        QTest::newRow("values that are not finite")
            << std::vector<double>{kInf, 250, kNaN} << std::vector<double>{kNaN, 0.02, -kInf}
            << 300 << -2 << 1;
        QTest::newRow("responses above 1000") << std::vector<double>{50}
                                              << std::vector<double>{5000} << 100 << 2 << 1;
    }
    void contrastAxesFollowTheData()
    {
        QFETCH(std::vector<double>, x);
        QFETCH(std::vector<double>, y);
        QFETCH(int, xMax);
        QFETCH(int, lowest);
        QFETCH(int, decades);
        DicomProbe graph;
        showGraph(graph);
        ContrastData data;
        for (size_t i = 0; i < x.size(); ++i)
            data.add(x[i], y[i]);
        // The setters only store.
        const qint64 before = graph.pictureKey();
        std::vector<double> jnd(x.size(), 1.0);
        graph.SetDICOMGraphData(jnd.data(), long(jnd.size()), 1, 0, 1, 0);
        data.load(graph);
        QCOMPARE(graph.pictureKey(), before);
        QCOMPARE(graph.GetContrastXMax(), xMax);
        QCOMPARE(graph.GetLowestDecade(), lowest);
        QCOMPARE(graph.GetDecadeCount(), decades);

        graph.SetGraphTypeJND_PER_DDL(false);
        QVERIFY(graph.pictureKey() != before);
        QVERIFY(!graph.IsJndPerDdlMode());
        const PlotSettings &s = graph.shown();
        QCOMPARE(s.maxX, double(xMax));
        QCOMPARE(s.numXTicks, 10);
        QCOMPARE(s.minY, double(lowest));
        QCOMPARE(s.maxY, double(lowest + decades));
        QCOMPARE(s.numYTicks, decades);
    }

    void jndPointsSitAtTheirDdl_data()
    {
        QTest::addColumn<int>("intervals");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<QList<int>>("ddl");
        QTest::newRow("255 intervals") << 255 << QList<int>{0, 100, 254} << QList<int>{1, 101, 255};
        QList<int> all, ddl;
        for (int i = 0; i < 15; ++i) {
            all << i;
            ddl << 17 * (i + 1);
        }
        QTest::newRow("15 intervals") << 15 << all << ddl;
    }
    void jndPointsSitAtTheirDdl()
    {
        QFETCH(int, intervals);
        QFETCH(QList<int>, shown);
        QFETCH(QList<int>, ddl);
        DicomProbe graph;
        showGraph(graph, 700);
        // Only the chosen intervals lie on the axis; the others are far above.
        std::vector<double> values(size_t(intervals), 50.0);
        for (int i : shown)
            values[size_t(i)] = 2.0;
        graph.SetDICOMGraphData(values.data(), intervals, 0, 0, 0, 0);
        graph.SetGraphTypeJND_PER_DDL(true);
        QVERIFY(graph.IsJndPerDdlMode());
        QCOMPARE(graph.GetJndCount(), intervals);
        const QRect area = graph.plotArea();
        const int row = int(graph.DataToDrawPoint(0, 2.0, area).y());
        const QList<int> centres = squareCentres(
            graph.picture(), QRect(area.left() + 1, row - 3, area.width() - 2, 7));
        QCOMPARE(centres.size(), ddl.size());
        for (int i = 0; i < ddl.size(); ++i) {
            const double expected = graph.DataToDrawPoint(ddl[i], 2.0, area).x();
            QVERIFY2(std::fabs(centres[i] - expected) <= 1.5,
                     qPrintable(QString("%1 at %2, expected %3").arg(ddl[i]).arg(centres[i]).arg(expected)));
        }
    }

    // Each mode names its own axes: DDL and JND per DDL, JND index and the
    // contrast threshold.
    void captionsOfBothModes()
    {
        DicomProbe graph;
        graph.SetGraphTypeJND_PER_DDL(false);
        QCOMPARE(graph.xAxisLabel, QString("JND Index"));
        QCOMPARE(graph.yAxisLabel, QString("dL/L for a JND"));
        graph.SetGraphTypeJND_PER_DDL(true);
        QCOMPARE(graph.xAxisLabel, QString("Digital Driving Level"));
        QCOMPARE(graph.yAxisLabel, QString("JND per DDL"));
    }

    // The marker at level 255 sits on the plot's right edge and at the top
    // of the axis: it is drawn whole (a full square outline), inside the
    // frame, at the size the report window shows the graph.
    void markerAtTheEdgeIsWhole()
    {
        DicomProbe graph;
        showGraph(graph, 260);
        double values[] = {1.0, 2.0, 4.0};
        graph.SetDICOMGraphData(values, 3, 0, 0, 0, 0);
        graph.SetGraphTypeJND_PER_DDL(true);
        const QRect area = graph.plotArea();
        const QImage image = graph.picture();
        const QPointF last = graph.DataToDrawPoint(255, 4.0, area);
        const QRect box = around(last, 8).intersected(area.adjusted(1, 1, -1, -1));
        QRect found;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (whiteish(image.pixelColor(x, y)))
                    found |= QRect(x, y, 1, 1);
        QCOMPARE(found.size(), QSize(6, 6));
        QVERIFY(std::fabs(found.center().x() - last.x()) <= 4);
        QVERIFY(std::fabs(found.center().y() - last.y()) <= 4);
    }

    void valuesAboveTheAxisAreClipped()
    {
        DicomProbe graph;
        showGraph(graph);
        graph.ShowZoomButtons(false);
        double values[] = {4.1, 4.1, 4.1};
        graph.SetDICOMGraphData(values, 3, 0, 0, 0, 0);
        graph.SetGraphTypeJND_PER_DDL(true);
        QCOMPARE(graph.shown().maxY, 4.0);
        const QRect area = graph.plotArea();
        // The squares would reach into the top margin without the clip.
        const QPointF p = graph.DataToDrawPoint(170, 4.1, area);
        QVERIFY(p.y() < area.top() - 3);
        const QImage image = graph.picture();
        const QRect margin(QPoint(area.left() + 1, 2), QPoint(area.right() - 1, area.top() - 1));
        QCOMPARE(count(image, margin, [](const QColor &c) { return c != QColor(Qt::white); }), 0);
    }

    void averageAndFitLines_data()
    {
        QTest::addColumn<double>("average");
        QTest::addColumn<double>("intercept");
        QTest::addColumn<bool>("averageDrawn");
        QTest::addColumn<bool>("fitDrawn");
        QTest::newRow("both") << 1.5 << 0.5 << true << true;
        QTest::newRow("average 0") << 0.0 << 0.5 << false << true;
        QTest::newRow("average below 0") << -0.5 << 0.5 << false << true;
        QTest::newRow("intercept exactly 0") << 1.5 << 0.0 << true << false;
    }
    void averageAndFitLines()
    {
        QFETCH(double, average);
        QFETCH(double, intercept);
        QFETCH(bool, averageDrawn);
        QFETCH(bool, fitDrawn);
        DicomProbe graph;
        showGraph(graph);
        double values[] = {1.0, 1.0};
        graph.SetDICOMGraphData(values, 2, average, 0.1, intercept, 0.004);
        graph.SetGraphTypeJND_PER_DDL(true);
        // Below zero as well, so a line at or under 0 would show.
        graph.showRange(pz::plotLevel(0, 256, 8, -1, 4, 10));
        graph.SetShow_Average_JND_PER_DDL(true);
        graph.SetShow_Linear_Fit_JND_PER_DDL(true);
        const QImage image = graph.picture();
        const QRect area = graph.plotArea();
        // The lines' hues, at any coverage of their antialiased pixels.
        const auto magenta = [](const QColor &c) {
            return c.red() > 60 && std::abs(c.red() - c.blue()) < 12
                   && std::abs(2 * c.green() - c.red()) < 24;
        };
        const auto cyan = [](const QColor &c) {
            return c.green() > 60 && std::abs(c.green() - c.blue()) < 12
                   && std::abs(2 * c.red() - c.green()) < 24;
        };
        QCOMPARE(count(image, area, magenta) > 50, averageDrawn);
        QCOMPARE(count(image, area, cyan) > 50, fitDrawn);
        if (averageDrawn) {
            const QPointF p = graph.DataToDrawPoint(128, average, area) + QPointF(0.5, 0.5);
            QVERIFY(count(image, around(p, 1), magenta) > 0);
        }
    }

    void deviatingPointsAreLightRed_data()
    {
        QTest::addColumn<double>("deviation");
        QTest::addColumn<bool>("white");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("10.0 on black") << 10.0 << false << QColor(255, 255, 255);
        QTest::newRow("10.0 on white") << 10.0 << true << QColor(0, 0, 0);
        QTest::newRow("10.01 on black") << 10.01 << false << QColor(255, 128, 128);
        QTest::newRow("10.01 on white") << 10.01 << true << QColor(255, 128, 128);
    }
    void deviatingPointsAreLightRed()
    {
        QFETCH(double, deviation);
        QFETCH(bool, white);
        QFETCH(QColor, colour);
        DicomProbe graph;
        showGraph(graph);
        ContrastData data;
        data.add(200, 0.01, deviation);
        data.add(400, 0.5); // so that the first lies inside the axes
        data.load(graph);
        graph.SetGraphTypeJND_PER_DDL(false);
        graph.WhiteBackground(white);
        const QRect area = graph.plotArea();
        const QPointF p = graph.DataToDrawPoint(200, 0.01, area);
        const int n = count(graph.picture(), around(p, 3),
                            [&](const QColor &c) { return c == colour; });
        QVERIFY2(n >= 12, qPrintable(QString::number(n))); // the outline of a 4-pixel square
    }

    void limitsAndReferenceCurveLieOverThePoints()
    {
        DicomProbe graph;
        showGraph(graph);
        ContrastData data;
        for (int i = 1; i <= 20; ++i)
            data.add(30.0 * i, 0.02 / (1 + i / 5.0), 0.0);
        data.load(graph);
        graph.SetGraphTypeJND_PER_DDL(false);
        graph.SetShow_Barten_model(true);
        QImage image = graph.picture();
        const QRect area = graph.plotArea();
        const QPointF p = graph.DataToDrawPoint(300, 0.02 / 3.0, area);
        // The reference curve runs through the measured points, over them
        // (antialiased over the white outline: shades of its magenta).
        const auto magenta = [](const QColor &c) {
            return c.red() > 150 && std::abs(c.red() - c.blue()) < 20 && c.green() < c.red() / 2;
        };
        QVERIFY(count(image, around(p, 1), magenta) > 0);
        const auto cyan = [](const QColor &c) { return near(c, QColor(0, 255, 255), 40); };
        QCOMPARE(count(image, area, cyan), 0);
        graph.SetShow_10Percent_Limits(true);
        const int ten = count(graph.picture(), area, cyan);
        graph.SetShow_10Percent_Limits(false);
        graph.SetShow_20Percent_Limits(true);
        const int twenty = count(graph.picture(), area, cyan);
        QVERIFY(ten > 100);
        QVERIFY(twenty > 100);
    }

    void modeSwitchRestoresTheJndAxes()
    {
        DicomProbe graph;
        showGraph(graph);
        ContrastData data;
        data.add(612, 0.01);
        data.load(graph);
        graph.SetGraphTypeJND_PER_DDL(true);
        graph.zoomTo(pz::plotLevel(10, 100, 5, 1, 2, 5));
        QCOMPARE(graph.zoomLevels.size(), 2);
        graph.SetGraphTypeJND_PER_DDL(false);
        QCOMPARE(graph.shown().maxX, 700.0);
        graph.SetGraphTypeJND_PER_DDL(true);
        QCOMPARE(graph.zoomLevels.size(), 1);
        QCOMPARE(graph.currentZoom, 0);
        const PlotSettings &s = graph.shown();
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 256.0);
        QCOMPARE(s.numXTicks, 8);
        QCOMPARE(s.minY, 0.0);
        QCOMPARE(s.maxY, 4.0);
        QCOMPARE(s.numYTicks, 10);
    }

    // A stored calibration can carry more grey steps than the arrays hold:
    // the first 257 are kept, and a negative count is none.
    void countsAreHeldToTheArrays_data()
    {
        QTest::addColumn<long>("count");
        QTest::addColumn<int>("kept");
        QTest::newRow("300") << 300L << 257;
        QTest::newRow("257") << 257L << 257;
        QTest::newRow("-5") << -5L << 0;
    }
    void countsAreHeldToTheArrays()
    {
        QFETCH(long, count);
        QFETCH(int, kept);
        DicomProbe graph;
        showGraph(graph);
        ContrastData data;
        std::vector<double> values;
        for (int i = 0; i < 300; ++i) {
            data.add(i * 2.0, 0.01 + i * 0.0001, i % 20);
            values.push_back(1.0 + (i % 7) * 0.1);
        }
        graph.SetDICOMGraphData(values.data(), count, 1.2, 0.1, 1.0, 0.001);
        data.load(graph, count);
        QCOMPARE(graph.GetJndCount(), kept);
        QCOMPARE(graph.GetContrastCount(), kept);
        graph.SetShow_Barten_model(true);
        graph.SetShow_10Percent_Limits(true);
        graph.SetGraphTypeJND_PER_DDL(false);
        graph.SetGraphTypeJND_PER_DDL(true);
    }

    // Values that cannot lie on the axis (not finite; zero or negative on
    // the logarithmic one) are left out and the lines break there.
    void valuesOffTheAxisAreNotDrawn()
    {
        DicomProbe graph;
        showGraph(graph);
        ContrastData data;
        // 20 stretches the axis to 10^1, so 10^0 lies inside it.
        const double responses[] = {0.01, 0.0, -0.02, kNaN, kInf, 0.008, 20.0, 0.006};
        for (int i = 0; i < 8; ++i)
            data.add(50.0 * (i + 1), responses[i], 0);
        data.refX[3] = kInf;
        data.load(graph);
        graph.SetShow_Barten_model(true);
        graph.SetShow_10Percent_Limits(true);
        graph.SetShow_20Percent_Limits(true);
        graph.SetGraphTypeJND_PER_DDL(false);
        const QRect area = graph.plotArea();
        const QImage image = graph.picture();
        // Where 0 would have been taken as 10^0, nothing.
        QCOMPARE(count(image, around(graph.DataToDrawPoint(100, 1.0, area), 3), whiteish), 0);
        double jnd[] = {kNaN, 1.0, -kInf, 2.0};
        graph.SetDICOMGraphData(jnd, 4, kInf, 0, kNaN, kInf);
        graph.SetShow_Average_JND_PER_DDL(true);
        graph.SetShow_Linear_Fit_JND_PER_DDL(true);
        graph.SetGraphTypeJND_PER_DDL(true);
        QVERIFY(count(graph.picture(), area, whiteish) > 0);
    }
};

QTEST_MAIN(TestDicomGraph)
#include "tst_dicom_graph.moc"
