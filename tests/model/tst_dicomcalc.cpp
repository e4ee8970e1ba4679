#include "CDICOMCalc.h"

#include <QtTest>
#include <cmath>
#include <limits>

class TestDICOMCalc : public QObject {
    Q_OBJECT
private slots:
    void luminanceToIndex()
    {
        const CDICOMCalc calc(0.5f, 200.0f, 255);
        QCOMPARE(calc.LumToIndex(0.0f), 0.0f);
        QCOMPARE(calc.LumToIndex(-1.0f), 0.0f);
        QCOMPARE(calc.LumToIndex(1.0f), 71.498068f);
        QVERIFY(std::fabs(calc.LumToIndex(0.04f) - (-1.38f)) < 0.01f);
        QVERIFY(std::fabs(calc.LumToIndex(0.05f) - 1.03f) < 0.01f);
        QVERIFY(std::fabs(calc.LumToIndex(4000.0f) - 1023.0f) < 0.5f);
        QCOMPARE(calc.IndexToLum(0.0f), 0.0f);
        QCOMPARE(calc.IndexToLum(-3.0f), 0.0f);
        QVERIFY(std::fabs(calc.IndexToLum(calc.LumToIndex(100.0f)) - 99.995f) < 0.002f);
    }

    // The two formulas are approximate inverses: within 0.3 % from 0.06
    // cd/m², within 0.6 % just above 0.05 where they drift furthest apart.
    void roundTrip()
    {
        const CDICOMCalc calc(0.5f, 200.0f, 255);
        for (double logL = std::log10(0.05); logL <= std::log10(4000.0); logL += 0.005) {
            const float L = static_cast<float>(std::pow(10.0, logL));
            const float back = calc.IndexToLum(calc.LumToIndex(L));
            const double error = std::fabs(back - L) / L;
            QVERIFY2(error < (L < 0.06f ? 0.006 : 0.003),
                     qPrintable(QStringLiteral("%1 -> %2").arg(L).arg(back)));
        }
    }

    void stepsFromHalfTo200()
    {
        const CDICOMCalc calc(0.5f, 200.0f, 255);
        QVERIFY(calc.IsValid());
        QVERIFY(std::fabs(calc.GetTotalJNDs() - 525.6f) < 0.1f);
        QVERIFY(std::fabs(calc.GetAverageJNDperDDL() - 2.061f) < 0.001f);
        QVERIFY(std::fabs(calc.LumToIndex(0.5f) - 46.56f) < 0.01f);
        QVERIFY(std::fabs(calc.LumToIndex(200.0f) - 572.15f) < 0.01f);
        QCOMPARE(calc.GetLutIndex(0, 65535), 0);
        QCOMPARE(calc.GetLutIndex(1, 65535), 11);
        QCOMPARE(calc.GetLutIndex(128, 65535), 8294);
        QCOMPARE(calc.GetLutIndex(255, 65535), 65535);
        QCOMPARE(calc.GetLutIndex(256, 65535), 0);
        int previous = -1;
        for (int i = 0; i <= 255; ++i) {
            const int v = calc.GetLutIndex(i, 65535);
            QVERIFY(v > previous);
            previous = v;
        }
        QCOMPARE(calc.GetLutIndexFloatRatio(0), 0.0f);
        QCOMPARE(calc.GetLutIndexFloatRatio(255), 1.0f);
        QCOMPARE(calc.GetLutIndexFloatRatio(256), 0.0f);
    }

    // The whole table for 0.5 to 200 cd/m², computed independently in
    // single precision with the rounding points of the function.
    void wholeTableFromHalfTo200()
    {
        const QVector<int> expected{
            0, 11, 23, 34, 47, 60, 73, 87, 101, 115, 131, 146,
            162, 179, 196, 214, 232, 251, 270, 290, 311, 331, 353, 375,
            398, 421, 445, 470, 495, 521, 547, 574, 602, 631, 660, 690,
            720, 751, 783, 816, 849, 884, 918, 954, 991, 1028, 1066, 1105,
            1145, 1185, 1226, 1269, 1312, 1356, 1401, 1446, 1493, 1541, 1589, 1639,
            1689, 1741, 1793, 1847, 1901, 1957, 2013, 2071, 2129, 2189, 2250, 2312,
            2375, 2440, 2505, 2572, 2640, 2709, 2779, 2850, 2923, 2997, 3073, 3149,
            3227, 3307, 3387, 3470, 3553, 3638, 3724, 3812, 3902, 3993, 4085, 4179,
            4274, 4371, 4470, 4570, 4672, 4776, 4881, 4988, 5097, 5207, 5320, 5434,
            5550, 5668, 5787, 5909, 6032, 6158, 6285, 6415, 6546, 6680, 6815, 6953,
            7093, 7235, 7380, 7526, 7675, 7826, 7980, 8135, 8294, 8454, 8617, 8783,
            8951, 9121, 9295, 9470, 9649, 9830, 10014, 10201, 10390, 10582, 10778, 10976,
            11177, 11381, 11588, 11798, 12011, 12227, 12447, 12670, 12896, 13125, 13358, 13594,
            13834, 14077, 14324, 14574, 14828, 15085, 15347, 15612, 15881, 16154, 16431, 16711,
            16996, 17285, 17578, 17876, 18177, 18483, 18793, 19108, 19427, 19751, 20079, 20412,
            20750, 21093, 21440, 21793, 22150, 22512, 22880, 23253, 23631, 24014, 24403, 24797,
            25197, 25602, 26013, 26430, 26853, 27281, 27716, 28157, 28603, 29057, 29516, 29982,
            30454, 30933, 31419, 31911, 32410, 32916, 33429, 33949, 34477, 35011, 35554, 36103,
            36660, 37225, 37798, 38379, 38967, 39564, 40169, 40782, 41404, 42034, 42673, 43321,
            43978, 44643, 45318, 46002, 46695, 47398, 48111, 48833, 49565, 50307, 51059, 51822,
            52595, 53378, 54172, 54977, 55793, 56620, 57458, 58308, 59169, 60042, 60927, 61824,
            62733, 63655, 64589, 65535,
        };
        const CDICOMCalc calc(0.5f, 200.0f, 255);
        QVector<int> table;
        for (int i = 0; i <= 255; ++i)
            table.append(calc.GetLutIndex(i, 65535));
        QCOMPARE(table, expected);
    }

    // Set-ups where the function has no steps fall back to a linear ramp,
    // never converting a NaN or infinity to an integer.
    void undefinedRangesAreLinear_data()
    {
        QTest::addColumn<float>("black");
        QTest::addColumn<float>("white");
        QTest::newRow("black equals white") << 100.0f << 100.0f;
        QTest::newRow("black above white") << 200.0f << 0.5f;
        QTest::newRow("black below the function") << 0.01f << 200.0f;
        QTest::newRow("black zero") << 0.0f << 200.0f;
        QTest::newRow("white infinite") << 0.5f << std::numeric_limits<float>::infinity();
        QTest::newRow("white nan") << 0.5f << std::numeric_limits<float>::quiet_NaN();
    }
    void undefinedRangesAreLinear()
    {
        QFETCH(float, black);
        QFETCH(float, white);
        const CDICOMCalc calc(black, white, 255);
        QVERIFY(!calc.IsValid());
        for (int i = 0; i <= 255; ++i) {
            QCOMPARE(calc.GetLutIndex(i, 65535), int(std::trunc(65535.0f * (i / 255.0f) + 0.5)));
            QCOMPARE(calc.GetLutIndexFloatRatio(i), i / 255.0f);
        }
        QCOMPARE(calc.GetLutIndex(256, 65535), 0);
    }

    // Far outside the function's range every value still converts safely.
    void extremeInputs()
    {
        const CDICOMCalc calc(0.5f, 200.0f, 255);
        for (float v = 1e-30f; v < 1e38f; v *= 7.0f) {
            calc.LumToIndex(v);
            calc.IndexToLum(v);
        }
        calc.LumToIndex(std::numeric_limits<float>::infinity());
        calc.IndexToLum(std::numeric_limits<float>::infinity());
        calc.IndexToLum(std::numeric_limits<float>::quiet_NaN());
        const CDICOMCalc huge(0.5f, std::numeric_limits<float>::max(), 255);
        for (int i = 0; i <= 255; ++i)
            huge.GetLutIndex(i, 65535);
    }

    void noSteps()
    {
        const CDICOMCalc calc(0.5f, 200.0f, 0);
        QVERIFY(!calc.IsValid());
        QCOMPARE(calc.GetTotalJNDs(), 0.0f);
        QCOMPARE(calc.GetAverageJNDperDDL(), 0.0f);
        QCOMPARE(calc.GetLutIndex(0, 65535), 0);
        QCOMPARE(calc.GetLutIndexFloatRatio(0), 0.0f);
    }
};

QTEST_GUILESS_MAIN(TestDICOMCalc)
#include "tst_dicomcalc.moc"
