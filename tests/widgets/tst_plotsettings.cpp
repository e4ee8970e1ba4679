// Zoom levels of the graphs: nice-number axis rounding, panning within the
// limits, and the number texts of the axes.

#include "PlotLabels.h"
#include "PlotSettings.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(PlotSettings)

class TestPlotSettings : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        const PlotSettings s;
        QCOMPARE(s.minX, 0.0);
        QCOMPARE(s.maxX, 1.0);
        QCOMPARE(s.numXTicks, 5);
        QCOMPARE(s.minY, 0.0);
        QCOMPARE(s.maxY, 1.0);
        QCOMPARE(s.xMin, 0.0);
        QCOMPARE(s.xMax, 1.0);
        QCOMPARE(s.yMin, 0.0);
        QCOMPARE(s.yMax, 1.0);
        QCOMPARE(s.numYTicks, 5);
    }

    void adjustAxis_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("newMin");
        QTest::addColumn<double>("newMax");
        QTest::addColumn<int>("ticks");
        // The step is (newMax - newMin) / ticks.
        QTest::newRow("0..1: step 0.2") << 0.0 << 1.0 << 0.0 << 1.0 << 5;
        QTest::newRow("0..256: step 50") << 0.0 << 256.0 << 0.0 << 300.0 << 6;
        QTest::newRow("0..200: step 20") << 0.0 << 200.0 << 0.0 << 200.0 << 10;
        QTest::newRow("0.12..0.53: step 0.1") << 0.12 << 0.53 << 0.1 << 0.6 << 5;
        QTest::newRow("5..5: step 1, 0 ticks raised to 4") << 5.0 << 5.0 << 5.0 << 5.0 << 4;
        QTest::newRow("-3.7..12.2: step 2") << -3.7 << 12.2 << -4.0 << 14.0 << 9;
        QTest::newRow("reversed ends: step 1") << 3.0 << 1.0 << 3.0 << 1.0 << 4;
        QTest::newRow("NaN end: 4 ticks, no trap")
            << 0.0 << std::numeric_limits<double>::quiet_NaN() << 0.0
            << std::numeric_limits<double>::quiet_NaN() << 4;
    }
    void adjustAxis()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, newMin);
        QFETCH(double, newMax);
        QFETCH(int, ticks);
        int numTicks = -1;
        PlotSettings::adjustAxis(min, max, numTicks);
        QCOMPARE(numTicks, ticks);
        if (std::isnan(newMax)) {
            QVERIFY(std::isnan(max));
            return;
        }
        QVERIFY2(qAbs(min - newMin) < 1e-12, qPrintable(QString::number(min)));
        QVERIFY2(qAbs(max - newMax) < 1e-12, qPrintable(QString::number(max)));
    }

    void adjustRoundsBothAxes()
    {
        PlotSettings s;
        s.minX = 0.12;
        s.maxX = 0.53;
        s.minY = 0;
        s.maxY = 256;
        s.xMin = -7;
        s.yMax = 9;
        s.adjust();
        QCOMPARE(s.numXTicks, 5);
        QVERIFY(qAbs(s.maxX - 0.6) < 1e-12);
        QCOMPARE(s.numYTicks, 6);
        QCOMPARE(s.maxY, 300.0);
        QCOMPARE(s.xMin, -7.0); // limits untouched
        QCOMPARE(s.yMax, 9.0);
    }

    // At the home level the range equals the limits: one step always
    // passes them by a whole step.
    void scrollAtHomeLevelMovesNothing()
    {
        PlotSettings s;
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1), QPoint(3, -2)}) {
            s.scroll(d.x(), d.y());
            QCOMPARE(s.minX, 0.0);
            QCOMPARE(s.maxX, 1.0);
            QCOMPARE(s.minY, 0.0);
            QCOMPARE(s.maxY, 1.0);
        }
    }

    // A zoomed level 2.3..4.3 (2 ticks of 1) inside limits 0..10: whole
    // steps, up to half a step past a limit.
    void scrollByWholeTicksWithinHalfAStep()
    {
        PlotSettings s;
        s.minX = 2.3;
        s.maxX = 4.3;
        s.numXTicks = 2;
        s.xMin = 0;
        s.xMax = 10;
        s.minY = 0.4;
        s.maxY = 0.6;
        s.numYTicks = 4;

        QVector<double> seen;
        for (int i = 0; i < 8; ++i) {
            s.scroll(1, 0);
            seen << s.minX;
        }
        const QVector<double> right = {3.3, 4.3, 5.3, 6.3, 7.3, 8.3, 8.3, 8.3};
        for (int i = 0; i < right.size(); ++i)
            QVERIFY2(qAbs(seen[i] - right[i]) < 1e-9, qPrintable(QString::number(seen[i])));
        QVERIFY(qAbs(s.maxX - 10.3) < 1e-9); // 0.3 past the limit, under half a step

        for (int i = 0; i < 12; ++i)
            s.scroll(-1, 0);
        QVERIFY(qAbs(s.minX - 0.3) < 1e-9); // -0.7 would pass 0 by more than 0.5
        QVERIFY(qAbs(s.maxX - 2.3) < 1e-9);
        QCOMPARE(s.minY, 0.4); // Y untouched by X steps

        // Y limits 0..1, step 0.05: up to 0.8..1.0, down to 0.0..0.2.
        for (int i = 0; i < 10; ++i)
            s.scroll(0, 1);
        QVERIFY(qAbs(s.maxY - 1.0) < 1e-9);
        for (int i = 0; i < 20; ++i)
            s.scroll(0, -1);
        QVERIFY(qAbs(s.minY - 0.0) < 1e-9);
    }

    void scrollWithoutTicksMovesNothing()
    {
        PlotSettings s;
        s.minX = 0.2;
        s.maxX = 0.4;
        s.numXTicks = 0;
        s.scroll(1, 0);
        QCOMPARE(s.minX, 0.2);
    }

    void drawable_data()
    {
        QTest::addColumn<PlotSettings>("level");
        QTest::addColumn<bool>("drawable");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        PlotSettings s;
        QTest::newRow("default") << s << true;
        s = {};
        s.numXTicks = 0;
        QTest::newRow("no X ticks") << s << false;
        s = {};
        s.numYTicks = -3;
        QTest::newRow("negative Y ticks") << s << false;
        s = {};
        s.maxX = s.minX;
        QTest::newRow("equal X ends") << s << false;
        s = {};
        s.minY = s.maxY;
        QTest::newRow("equal Y ends") << s << false;
        s = {};
        s.maxY = nan;
        QTest::newRow("NaN end") << s << false;
        s = {};
        s.minX = -inf;
        QTest::newRow("infinite end") << s << false;
        s = {};
        s.yMax = inf;
        QTest::newRow("infinite limit") << s << false;
        s = {};
        s.minY = 1;
        s.maxY = 0;
        QTest::newRow("reversed Y") << s << true;
    }
    void drawable()
    {
        QFETCH(PlotSettings, level);
        QFETCH(bool, drawable);
        QCOMPARE(level.isDrawable(), drawable);
    }

    void tickLabels_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("0..1 in 5")
            << 0.0 << 1.0 << 5 << QStringList{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"};
        QTest::newRow("0..256 in 8") << 0.0 << 256.0 << 8
                                     << QStringList{"0", "32", "64", "96", "128", "160", "192",
                                                    "224", "256"};
        QTest::newRow("0..0.5 in 2") << 0.0 << 0.5 << 2 << QStringList{"0.00", "0.25", "0.50"};
        QTest::newRow("-0.1..0.1 in 2") << -0.1 << 0.1 << 2 << QStringList{"-0.10", "0.00", "0.10"};
        QTest::newRow("0..0.05 in 1") << 0.0 << 0.05 << 1 << QStringList{"0.000", "0.050"};
    }
    void tickLabels()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(int, ticks);
        QFETCH(QStringList, labels);
        QStringList got;
        for (int i = 0; i <= ticks; ++i)
            got << pz::tickLabel(pz::tickValue(min, max, i, ticks), pz::labelDecimals(max - min));
        QCOMPARE(got, labels);
    }

    void labelDecimals_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<int>("decimals");
        QTest::newRow("1") << 1.0 << 1;
        QTest::newRow("10") << 10.0 << 0;
        QTest::newRow("256") << 256.0 << 0;
        QTest::newRow("0.5") << 0.5 << 2;
        QTest::newRow("0.9") << 0.9 << 2;
        QTest::newRow("0.05") << 0.05 << 3;
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("negative") << -2.0 << 0;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 0;
    }
    void labelDecimals()
    {
        QFETCH(double, span);
        QFETCH(int, decimals);
        QCOMPARE(pz::labelDecimals(span), decimals);
    }

    void valuesJustBelowZeroPrintAsZero()
    {
        QCOMPARE(pz::tickLabel(-0.000001, 1), QString("0.0"));
        QCOMPARE(pz::tickLabel(-0.0, 0), QString("0"));
        QCOMPARE(pz::tickLabel(-0.00002, 5), QString("-0.00002"));
    }

    void decadeLabels()
    {
        QStringList got;
        for (int e = -2; e <= 1; ++e)
            got << pz::decadeLabel(e);
        QCOMPARE(got, (QStringList{"0.01", "0.1", "1", "10"}));
        QCOMPARE(pz::decadeLabel(2), QString("100"));
        QCOMPARE(pz::decadeDecimals(-3), 3);
        QCOMPARE(pz::decadeDecimals(0.5), 0);
    }
};

QTEST_GUILESS_MAIN(TestPlotSettings)
#include "tst_plotsettings.moc"
