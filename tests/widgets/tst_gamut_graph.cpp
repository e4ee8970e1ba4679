// The chromaticity diagram: its tables, the u',v' conversion and the
// mappings, the axes of both diagrams, and what it draws: display white and
// its mark, hatching beyond the native gamut, the target gamut, reference
// marks and the colour-temperature labels.

#include "CColorTemperature.h"
#include "GraphProbe.h"
#include "TestSupport.h"
#include "GraphSupport.h"
#include "PZ_gamut_graph.h"
#include "Resources.h"

#include <QtTest>

#include <cmath>

namespace {

class GamutProbe : public GraphProbe<PZ_gamut_graph> {
public:
    const QMap<int, QRect> &labelPlaces() const { return temperatureLabels; }
};
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

// A pixel of the pen colour, or (antialiased) a darker shade of it.
bool shadeOf(const QColor &c, const QColor &pen)
{
    const int top = std::max({pen.red(), pen.green(), pen.blue()});
    const int seen = std::max({c.red(), c.green(), c.blue()});
    if (seen < 100)
        return false;
    const auto close = [&](int got, int want) { return std::abs(got * top - want * seen) < 30 * top; };
    return close(c.red(), pen.red()) && close(c.green(), pen.green())
           && close(c.blue(), pen.blue());
}

// The reference gamuts in drawing order: their table and their switch.
struct ReferenceRow {
    const _CIExy *table;
    void (PZ_gamut_graph::*show)(bool);
};

const ReferenceRow *referenceRows()
{
    static const ReferenceRow rows[] = {
        {PZ_gamut_graph::AdobeRGB, &PZ_gamut_graph::SetShowGamutAdobeRGB},
        {PZ_gamut_graph::sRGB, &PZ_gamut_graph::SetShowGamutsRGB},
        {PZ_gamut_graph::NTSC, &PZ_gamut_graph::SetShowGamutNTSC},
        {PZ_gamut_graph::SMPTE_C, &PZ_gamut_graph::SetShowGamutSMPTE},
        {PZ_gamut_graph::HDTV, &PZ_gamut_graph::SetShowGamutHDTV},
        {PZ_gamut_graph::DigitalCinema, &PZ_gamut_graph::SetShowGamutDigitalCinema},
    };
    return rows;
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

    // Each reference table, its pen, and its white mark; the sRGB, NTSC
    // and SMPTE-C rows checked value by value.
    void referenceGamutMarks_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QPointF>("white");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("Adobe RGB") << 0 << QPointF(0.3127, 0.3290) << QColor(255, 255, 0);
        QTest::newRow("sRGB") << 1 << QPointF(0.3127, 0.3290) << QColor(0, 255, 255);
        QTest::newRow("NTSC") << 2 << QPointF(0.3101, 0.3161) << QColor(255, 0, 255);
        QTest::newRow("SMPTE-C") << 3 << QPointF(0.3127, 0.3290) << QColor(255, 128, 128);
        QTest::newRow("HDTV") << 4 << QPointF(0.3127, 0.3290) << QColor(128, 128, 255);
        QTest::newRow("Digital Cinema") << 5 << QPointF(0.314, 0.351) << QColor(0, 128, 255);
    }
    void referenceGamutMarks()
    {
        QFETCH(int, which);
        QFETCH(QPointF, white);
        QFETCH(QColor, colour);
        GamutProbe graph;
        showGraph(graph);
        const ReferenceRow &row = referenceRows()[which];
        (graph.*row.show)(true);
        const QImage image = graph.picture();
        const QPointF mark = pixelOf(graph, white.x(), white.y());
        const QRect box = around(mark, 6);
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (shadeOf(image.pixelColor(x, y), colour)) {
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
        // The triangle is there too, at each of its primaries.
        for (int i = 0; i < 3; ++i)
            QVERIFY(count(image, around(pixelOf(graph, row.table[i].x, row.table[i].y), 2),
                          [&](const QColor &c) { return shadeOf(c, colour); })
                    > 0);
    }

    void referenceTables_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QVector<double>>("expected");
        QTest::newRow("sRGB") << 1
                              << QVector<double>{0.64, 0.33, 0.30, 0.60, 0.15, 0.06, 0.3127, 0.3290};
        QTest::newRow("NTSC") << 2
                              << QVector<double>{0.67, 0.33, 0.21, 0.71, 0.14, 0.08, 0.3101, 0.3161};
        QTest::newRow("SMPTE-C")
            << 3 << QVector<double>{0.63, 0.34, 0.31, 0.595, 0.155, 0.07, 0.3127, 0.3290};
    }
    void referenceTables()
    {
        QFETCH(int, which);
        QFETCH(QVector<double>, expected);
        const _CIExy *table = referenceRows()[which].table;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(table[i].x, expected[2 * i]);
            QCOMPARE(table[i].y, expected[2 * i + 1]);
        }
    }

    // A reference outline lies over the display gamut's fill: showing it
    // changes the pixels of its edge inside a wide display gamut to its pen.
    void referenceOutlinesLieOverTheFill_data() { referenceGamutMarks_data(); }
    void referenceOutlinesLieOverTheFill()
    {
        QFETCH(int, which);
        QFETCH(QColor, colour);
        GamutProbe graph;
        showGraph(graph);
        CCIEYxy wide[4] = {CCIEYxy(0, 0.72, 0.28), CCIEYxy(0, 0.15, 0.80), CCIEYxy(0, 0.13, 0.03),
                           CCIEYxy(0, 0.3127, 0.3290)};
        graph.SetMonitorData(true, wide);
        graph.SetShowGamutDisplay(true);
        const QImage without = graph.picture();
        const ReferenceRow &row = referenceRows()[which];
        (graph.*row.show)(true);
        const QImage with = graph.picture();
        // The middle of the green-blue edge, well inside the display gamut.
        const QPointF edge = pixelOf(graph, (row.table[1].x + row.table[2].x) / 2,
                                     (row.table[1].y + row.table[2].y) / 2);
        // Pixels that moved towards the pen (the outline is antialiased
        // over the fill).
        const auto distance = [&](const QColor &c) {
            return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                   + std::abs(c.blue() - colour.blue());
        };
        int closer = 0;
        const QRect box = around(edge, 1);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                if (distance(with.pixelColor(x, y)) < distance(without.pixelColor(x, y)))
                    ++closer;
            }
        QVERIFY2(closer >= 2, qPrintable(QString::number(closer)));
    }

    // The five temperatures are labelled beside their place on the locus,
    // in white on black and black on white (with a rim of the background
    // around the letters), no two labels overlapping; where they crowd one
    // is left out. The ticks across the locus contrast with the background.
    void colourTemperatureLabels_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("white");
        QTest::addColumn<bool>("uv");
        for (int side : {313, 500, 1000})
            for (bool white : {false, true})
                for (bool uv : {false, true})
                    QTest::addRow("%d %s %s", side, white ? "white" : "black", uv ? "u'v'" : "xy")
                        << side << white << uv;
    }
    void colourTemperatureLabels()
    {
        QFETCH(int, side);
        QFETCH(bool, white);
        QFETCH(bool, uv);
        GamutProbe graph;
        showGraph(graph, side);
        graph.SetColorspace(uv);
        graph.WhiteBackground(white);
        CCIEYxy rgbw[4];
        primaries(PZ_gamut_graph::AdobeRGB, rgbw, 0.3127, 0.3290);
        graph.SetMonitorData(true, rgbw);
        graph.SetShowGamutDisplay(true);
        graph.SetShowPlankianLocus(true);
        const QImage image = graph.picture();
        const QMap<int, QRect> &labels = graph.labelPlaces();
        const QColor ink = white ? QColor(0, 0, 0) : QColor(255, 255, 255);

        QVERIFY(labels.size() >= 3);
        if (side >= 1000)
            QCOMPARE(labels.keys(), QList<int>({4000, 5000, 5500, 6500, 9300}));
        for (auto a = labels.cbegin(); a != labels.cend(); ++a) {
            for (auto b = std::next(a); b != labels.cend(); ++b)
                QVERIFY2(!a.value().intersects(b.value()),
                         qPrintable(QString("%1K meets %2K").arg(a.key()).arg(b.key())));
            QVERIFY(graph.plotArea().contains(a.value()));
            _CIExy xy{0, 0};
            CColorTemperature::CalcCIExy(static_cast<unsigned short>(a.key()), xy);
            const QPointF at = pixelOf(graph, xy.x, xy.y);
            const QRect beside = a.value().adjusted(-6, -6, 6, 6);
            QVERIFY2(beside.contains(at.toPoint()), qPrintable(QString::number(a.key())));
            // The letters in the ink, and around them the background.
            QVERIFY(count(image, a.value(), [&](const QColor &c) { return near(c, ink, 40); }) > 8);
        }
        // A tick across the locus at 6500 K in the ink colour.
        _CIExy d65{0, 0};
        CColorTemperature::CalcCIExy(6500, d65);
        QVERIFY(count(image, around(pixelOf(graph, d65.x, d65.y), 1),
                      [&](const QColor &c) { return near(c, ink, 90); })
                > 0);
    }

    // The display marks and outline take the colour that contrasts with
    // the background, with or without the colour-temperature locus.
    void displayMarkContrastsWithTheBackground()
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
        QVERIFY(count(graph.picture(), around(mark, 3), dark) >= 4);
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
