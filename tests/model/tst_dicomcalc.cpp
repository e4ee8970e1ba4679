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
