// The chromaticity diagram: its tables, the u',v' conversion and the
// mappings, the axes of both diagrams, and what it draws: display white and
// its mark, hatching beyond the native gamut, the target gamut, reference
// marks and the colour-temperature labels.

#include "GraphProbe.h"
#include "TestSupport.h"
#include "GraphSupport.h"
#include "PZ_gamut_graph.h"
#include "Resources.h"

#include <QtTest>

#include <cmath>

namespace {

using GamutProbe = GraphProbe<PZ_gamut_graph>;
using graphpixels::around;
using graphpixels::count;
using graphpixels::near;

// Display (or native) primaries from a reference table, white as given.
void primaries(const _CIExy *table, CCIEYxy *out, double whiteX = 0, double whiteY = 0)
{
    for (int i = 0; i < 3; ++i)
        out[i] = CCIEYxy(0, table[i].x, table[i].y);
    out[3] = CCIEYxy(0, whiteX, whiteY);
}

// Mapped pixel of an x,y chromaticity in the shown diagram.
QPointF pixelOf(GamutProbe &graph, double x, double y)
{
    return graph.DataToDrawPoint(graph.CIExy_to_Screen_CIE(QPointF(x, y)), graph.plotArea());
}

bool black(const QColor &c)
{
    return c == QColor(0, 0, 0);
}

} // namespace

class TestGamutGraph : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void spectralLocusTable_data()
    {
        QTest::addColumn<int>("nm");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("380") << 380 << 0.1741 << 0.0050;
        QTest::newRow("450") << 450 << 0.1566 << 0.0177;
        QTest::newRow("500") << 500 << 0.0082 << 0.5384;
        QTest::newRow("505") << 505 << 0.0039 << 0.6548;
        QTest::newRow("520") << 520 << 0.0743 << 0.8338;
        QTest::newRow("550") << 550 << 0.3016 << 0.6923;
        QTest::newRow("600") << 600 << 0.6270 << 0.3725;
        QTest::newRow("700") << 700 << 0.7347 << 0.2653;
    }
    void spectralLocusTable()
    {
        QFETCH(int, nm);
        QFETCH(double, x);
        QFETCH(double, y);
        const auto &point = PZ_gamut_graph::cie_w_xy[(nm - 380) / 5];
        QCOMPARE(point.nm, nm);
        QCOMPARE(point.x, x);
        QCOMPARE(point.y, y);
    }

    void spectralLocusShape()
    {
        const auto *table = PZ_gamut_graph::cie_w_xy;
        int smallestX = 0, largestY = 0;
        for (int i = 0; i < PZ_gamut_graph::kSpectralPointCount; ++i) {
            QCOMPARE(table[i].nm, 380 + 5 * i);
            QVERIFY(table[i].x + table[i].y <= 1.0);
            if (table[i].x < table[smallestX].x)
                smallestX = i;
            if (table[i].y > table[largestY].y)
                largestY = i;
        }
        QCOMPARE(table[smallestX].nm, 505);
        QCOMPARE(table[largestY].nm, 520);
    }

    void uvConversion_data()
    {
        QTest::addColumn<QPointF>("xy");
        QTest::addColumn<QPointF>("uv");
        QTest::newRow("sRGB red") << QPointF(0.64, 0.33) << QPointF(0.4507, 0.5229);
        QTest::newRow("D65") << QPointF(0.3127, 0.3290) << QPointF(0.1978, 0.4683);
        QTest::newRow("denominator 0") << QPointF(1.5, 0.0) << QPointF(0, 0);
    }
    void uvConversion()
    {
        QFETCH(QPointF, xy);
        QFETCH(QPointF, uv);
        GamutProbe graph;
        QCOMPARE(graph.CIExy_to_Screen_CIE(xy), xy);
        graph.SetColorspace(true);
        QVERIFY(graph.IsUVDiagram());
        const QPointF got = graph.CIExy_to_Screen_CIE(xy);
        QVERIFY2(std::fabs(got.x() - uv.x()) < 5e-5 && std::fabs(got.y() - uv.y()) < 5e-5,
                 qPrintable(QString("%1 %2").arg(got.x()).arg(got.y())));
    }

    void axesOfBothDiagrams_data()
    {
        QTest::addColumn<bool>("uv");
        QTest::addColumn<double>("end");
        QTest::addColumn<int>("ticks");
        QTest::newRow("x,y") << false << 0.9 << 9;
        QTest::newRow("u',v'") << true << 0.7 << 7;
    }
    void axesOfBothDiagrams()
    {
        QFETCH(bool, uv);
        QFETCH(double, end);
        QFETCH(int, ticks);
        GamutProbe graph;
        graph.zoomTo(pz::plotLevel(0.2, 0.4, 4, 0.2, 0.4, 4));
        graph.SetColorspace(uv);
        QCOMPARE(graph.zoomLevels.size(), 1);
        const PlotSettings &s = graph.shown();
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, end);
        QCOMPARE(s.numXTicks, ticks);
        QCOMPARE(s.minY, 0.0);
        QCOMPARE(s.maxY, end);
        QCOMPARE(s.numYTicks, ticks);
    }

    void mappingIsLinearBothWays()
    {
        GamutProbe graph;
        const QRect area(10, 20, 301, 201);
        // 0.45 on an axis 0 to 0.9 is the middle: no logarithmic step.
        QCOMPARE(graph.DataToDrawPoint(0.45, 0.45, area), QPointF(160, 120));
        QCOMPARE(graph.DataToDrawPoint(QPointF(0.9, 0.0), area), QPointF(310, 220));
        const QPointF back = graph.DrawPointToData(QPointF(160, 120), area);
        QVERIFY(std::fabs(back.x() - 0.45) < 1e-12 && std::fabs(back.y() - 0.45) < 1e-12);
        // Outside the area is not clamped.
        QVERIFY(graph.DrawPointToData(QPointF(400, 0), area).x() > 0.9);
        QCOMPARE(graph.DrawPointToData(QPointF(5, 5), QRect(10, 20, 1, 50)), QPointF(0, 0));
        QCOMPARE(graph.DrawPointToData(QPointF(5, 5), QRect(10, 20, 50, 1)), QPointF(0, 0));
    }

    void displayWhiteGivenOrMean()
    {
        GamutProbe graph;
        showGraph(graph);
        graph.SetShowGamutDisplay(true);
        CCIEYxy rgbw[4];
        primaries(PZ_gamut_graph::sRGB, rgbw, 0.3127, 0.3290);
        graph.SetMonitorData(true, rgbw);
        QVERIFY(graph.IsDisplayWhiteGiven());
        const QPointF given = pixelOf(graph, 0.3127, 0.3290);
        const auto bright = [](const QColor &c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
        QVERIFY(count(graph.picture(), around(given, 3), bright) > 0); // the white X

        primaries(PZ_gamut_graph::sRGB, rgbw);
        graph.SetMonitorData(true, rgbw);
        QVERIFY(graph.HasDisplayGamut());
        QVERIFY(!graph.IsDisplayWhiteGiven());
        QCOMPARE(graph.GetDisplayWhite().x, (0.64 + 0.30 + 0.15) / 3);
        QCOMPARE(graph.GetDisplayWhite().y, (0.33 + 0.60 + 0.06) / 3);
        // No mark: the fill alone, at most 192 in any channel.
        const QPointF mean = pixelOf(graph, (0.64 + 0.30 + 0.15) / 3, (0.33 + 0.60 + 0.06) / 3);
        QCOMPARE(count(graph.picture(), around(mean, 4),
                       [](const QColor &c) { return std::max({c.red(), c.green(), c.blue()}) > 194; }),
                 0);
        graph.SetMonitorData(false, nullptr);
        QVERIFY(!graph.HasDisplayGamut());
    }

    // A display green beyond the native green hatches the sliver between
    // them; a display gamut inside the native one has none.
    void hatchingBeyondTheNativeGamut()
    {
        GamutProbe graph;
        showGraph(graph);
        graph.SetShowGamutDisplay(true);
        graph.SetShowMonitorNativeGamut(true);
        CCIEYxy native[4], display[4];
        primaries(PZ_gamut_graph::sRGB, native);
        graph.SetMonitorNativeGamutData(true, native);
        QVERIFY(graph.HasNativeGamut());
        primaries(PZ_gamut_graph::AdobeRGB, display);
        graph.SetMonitorData(true, display);
        const QPointF sliver = pixelOf(graph, 0.255, 0.655);
        QVERIFY(count(graph.picture(), around(sliver, 2), black) >= 15);

        graph.SetShowMonitorNativeGamut(false);
        QCOMPARE(count(graph.picture(), around(sliver, 2), black), 0);

        primaries(PZ_gamut_graph::AdobeRGB, native);
        graph.SetMonitorNativeGamutData(true, native);
        graph.SetShowMonitorNativeGamut(true);
        primaries(PZ_gamut_graph::sRGB, display);
        graph.SetMonitorData(true, display);
        const QPointF centre = pixelOf(graph, (0.64 + 0.30 + 0.15) / 3, (0.33 + 0.60 + 0.06) / 3);
        const QPointF nearGreen = pixelOf(graph, 0.30, 0.56);
        const QImage image = graph.picture();
        QCOMPARE(count(image, around(centre, 10), black), 0);
        QCOMPARE(count(image, around(nearGreen, 3), black), 0);
        // The native triangle is yellow.
        const QPointF nativeEdge = pixelOf(graph, (0.21 + 0.15) / 2, (0.71 + 0.06) / 2);
        QVERIFY(count(image, around(nativeEdge, 1),
                      [](const QColor &c) { return c.red() > 150 && c.green() > 150 && c.blue() < 60; })
                > 0);
    }

    void targetGamutShownOnlyWhenValid()
    {
        GamutProbe graph;
        showGraph(graph);
        const auto grey = [](const QColor &c) { return near(c, QColor(192, 192, 192), 10); };
        _CIExy target[3] = {{0.60, 0.35}, {0.32, 0.55}, {0.16, 0.08}};
        graph.SetTargetGamutData(false, target);
        graph.SetShowGamutTarget(true);
        QVERIFY(!graph.HasTargetGamut());
        const QPointF edge = pixelOf(graph, (0.60 + 0.16) / 2, (0.35 + 0.08) / 2);
        QCOMPARE(count(graph.picture(), around(edge, 1), grey), 0);
        graph.SetTargetGamutData(true, target);
        QVERIFY(count(graph.picture(), around(edge, 1), grey) > 0);
    }

    void referenceGamutMarks_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QPointF>("white");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("HDTV") << 0 << QPointF(0.3127, 0.3290) << QColor(128, 128, 255);
        QTest::newRow("Digital Cinema") << 1 << QPointF(0.314, 0.351) << QColor(0, 128, 255);
    }
    void referenceGamutMarks()
    {
        QFETCH(int, which);
        QFETCH(QPointF, white);
        QFETCH(QColor, colour);
        GamutProbe graph;
        showGraph(graph);
        if (which == 0)
            graph.SetShowGamutHDTV(true);
        else
            graph.SetShowGamutDigitalCinema(true);
        const QImage image = graph.picture();
        // Pixels of the pen's hue (antialiased lines are darker shades of it).
        const auto hue = [&](const QColor &c) {
            return c.blue() > 100 && std::abs(c.red() * 255 - colour.red() * c.blue()) < 30 * 255
                   && std::abs(c.green() * 255 - colour.green() * c.blue()) < 30 * 255;
        };
        const QPointF mark = pixelOf(graph, white.x(), white.y());
        const QRect box = around(mark, 6);
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (hue(image.pixelColor(x, y))) {
                    sx += x + 0.5;
                    sy += y + 0.5;
                    ++n;
                }
        QVERIFY(n >= 8);
        const QPointF centre(sx / n, sy / n);
        const QPointF expected(int(mark.x()), int(mark.y()));
        QVERIFY2(std::fabs(centre.x() - expected.x()) <= 1.0 && std::fabs(centre.y() - expected.y()) <= 1.0,
                 qPrintable(QString("%1,%2 vs %3,%4").arg(centre.x()).arg(centre.y())
                                .arg(expected.x()).arg(expected.y())));
        // The triangle is there too, at its red primary.
        const _CIExy red = which == 0 ? PZ_gamut_graph::HDTV[0] : PZ_gamut_graph::DigitalCinema[0];
        QVERIFY(count(image, around(pixelOf(graph, red.x, red.y), 2), hue) > 0);
    }

    // Labels are black and ticks white on both backgrounds: on white the
    // labels show, on black the ticks.
    void colourTemperatureLabelsAndTicks()
    {
        GamutProbe graph;
        showGraph(graph, 500);
        graph.SetShowPlankianLocus(true);
        const QPointF at6500 = pixelOf(graph, 0.3135, 0.3237);
        const QRect label(int(at6500.x()), int(at6500.y()) - 12, 40, 12);
        const auto white = [](const QColor &c) { return std::min({c.red(), c.green(), c.blue()}) > 180; };
        QVERIFY(count(graph.picture(), around(at6500, 3), white) > 0);
        graph.WhiteBackground(true);
        QVERIFY(count(graph.picture(), label, black) > 5);
        // The locus itself, in light yellow.
        const QPointF at10000 = pixelOf(graph, 0.2807, 0.2883);
        QVERIFY(count(graph.picture(), around(at10000, 2),
                      [](const QColor &c) { return c.red() > 200 && c.blue() < 200 && c.blue() > 50; })
                > 0);
    }

    // The display white's mark takes the pen last set: the outline's
    // black on a white background, the ticks' white after the
    // colour-temperature locus.
    void displayMarkTakesThePenLastSet()
    {
        GamutProbe graph;
        showGraph(graph, 500);
        graph.WhiteBackground(true);
        graph.SetShowGamutDisplay(true);
        CCIEYxy rgbw[4];
        primaries(PZ_gamut_graph::sRGB, rgbw, 0.29, 0.37);
        graph.SetMonitorData(true, rgbw);
        const QPointF mark = pixelOf(graph, 0.29, 0.37);
        const auto dark = [](const QColor &c) { return std::max({c.red(), c.green(), c.blue()}) < 170; };
        QVERIFY(count(graph.picture(), around(mark, 3), dark) >= 4);
        graph.SetShowPlankianLocus(true);
        QCOMPARE(count(graph.picture(), around(mark, 3), dark), 0);
    }

    void picturesForALook()
    {
        const QString folder = pz::test::picturesFolder();
        for (bool uv : {false, true}) {
            for (bool white : {false, true}) {
                GamutProbe graph;
                showGraph(graph, 500);
                graph.SetBlockUpdates(true);
                graph.SetGraphLabelString(uv ? "CIE 1976 u'v'" : "CIE 1931 xy");
                graph.SetShowGraphLabel(true);
                graph.SetColorspace(uv);
                CCIEYxy native[4], display[4];
                primaries(PZ_gamut_graph::sRGB, native);
                display[0] = CCIEYxy(0, 0.66, 0.32);
                display[1] = CCIEYxy(0, 0.24, 0.68);
                display[2] = CCIEYxy(0, 0.15, 0.06);
                display[3] = CCIEYxy(0, 0.3127, 0.329);
                graph.SetMonitorNativeGamutData(true, native);
                graph.SetShowMonitorNativeGamut(true);
                graph.SetMonitorData(true, display);
                graph.SetShowGamutDisplay(true);
                graph.SetShowGamutAdobeRGB(!uv);
                graph.SetShowGamutNTSC(uv);
                graph.SetShowGamutDigitalCinema(true);
                graph.SetTargetData(true, _CIExy{0.3457, 0.3585});
                graph.SetShowTargetWhitePoint(true);
                graph.SetShowPlankianLocus(true);
                graph.WhiteBackground(white);
                graph.SetBlockUpdates(false);
                const QString name =
                    QString("gamut_%1_%2.png").arg(uv ? "uv" : "xy", white ? "white" : "black");
                QVERIFY(graph.grab().save(QDir(folder).filePath(name)));
            }
        }
    }

};

QTEST_MAIN(TestGamutGraph)
#include "tst_gamut_graph.moc"
