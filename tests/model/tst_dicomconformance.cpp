// DICOM conformance figures of a measured grey ramp.

#include "CColorCalcUtils.h"
#include "CColorValue.h"
#include "CDICOMCalc.h"

#include <QtTest>
#include <cmath>

namespace {

// A final grey ramp of the given luminances (neutral chromaticity).
CColorValue rampOf(const QVector<double> &luminances)
{
    CColorValue measurements;
    for (double L : luminances)
        measurements.m_FinalGreySteps.push_back(CCIEXYZ(0.9505 * L, L, 1.089 * L));
    return measurements;
}

// n steps that follow the grayscale function exactly: equal JND steps
// between black and white.
QVector<double> gsdfRamp(int n, float black, float white)
{
    CDICOMCalc gsdf(black, white, 255);
    const double j0 = gsdf.LumToIndex(black);
    const double j1 = gsdf.LumToIndex(white);
    QVector<double> luminances;
    for (int i = 0; i < n; ++i)
        luminances.append(gsdf.IndexToLum(static_cast<float>(j0 + i * (j1 - j0) / (n - 1))));
    return luminances;
}

struct Results {
    double values[CColorCalcUtils::kMaxDICOMIntervals];
    int count = -7;
    double mean = -7, stdDev = -7, intercept = -7, slope = -7;
    int run(const CColorValue &m)
    {
        std::fill(std::begin(values), std::end(values), -7.0);
        return CColorCalcUtils().CalculateDICOMResults(&m, values, &count, &mean, &stdDev,
                                                       &intercept, &slope);
    }
};

struct ContrastResponse {
    double positions[CColorCalcUtils::kMaxDICOMIntervals];
    double measured[CColorCalcUtils::kMaxDICOMIntervals];
    double deviation[CColorCalcUtils::kMaxDICOMIntervals];
    double expectedMid[CColorCalcUtils::kMaxDICOMIntervals];
    double expected[CColorCalcUtils::kMaxDICOMIntervals];
    int count = -7;
    double maxDeviation = -7, maxPosition = -7;
    int run(const CColorValue &m)
    {
        for (double *a : {positions, measured, deviation, expectedMid, expected})
            std::fill(a, a + CColorCalcUtils::kMaxDICOMIntervals, -7.0);
        return CColorCalcUtils().CalculateDICOMContrastResponse(
            &m, positions, measured, deviation, expectedMid, expected, &count, &maxDeviation,
            &maxPosition);
    }
};

} // namespace

class TestDICOMConformance : public QObject {
    Q_OBJECT

private slots:
    void seventeenStepsFollowingTheFunction();
    void figuresOfAKnownRamp();
    void oneAndTwoSteps();
    void unusableRamps_data();
    void unusableRamps();
    void contrastResponseRefusals();
    void zeroSizeExpectedIntervalsAreSkipped();
};

void TestDICOMConformance::seventeenStepsFollowingTheFunction()
{
    const CColorValue m = rampOf(gsdfRamp(17, 0.5f, 200.0f));

    Results r;
    QCOMPARE(r.run(m), 0);
    QCOMPARE(r.count, 16);
    // Driving levels 0, 16, ..., 128, 143, ..., 255: fifteen intervals of
    // 16 levels and the ninth of 15, each about 525.6 / 16 JNDs.
    for (int k = 0; k < 16; ++k) {
        const double expected = k == 8 ? 2.190 : 2.053;
        QVERIFY2(std::fabs(r.values[k] - expected) < 0.01, qPrintable(QString::number(r.values[k])));
    }
    double sum = 0;
    for (int k = 0; k < 16; ++k)
        sum += r.values[k];
    QVERIFY(std::fabs(r.mean - sum / 16) < 1e-12);
    QVERIFY(r.stdDev > 0.03 && r.stdDev < 0.04); // one value 0.137 off fifteen equal ones
    QVERIFY(std::fabs(r.intercept + r.slope * 135.5 - r.mean) < 1e-9);
    // The figures themselves, to the digits they are known to.
    QVERIFY2(std::fabs(r.mean - 2.06167) < 5e-6, qPrintable(QString::number(r.mean, 'g', 10)));
    QVERIFY2(std::fabs(r.stdDev - 0.03397) < 5e-6, qPrintable(QString::number(r.stdDev, 'g', 10)));
    QVERIFY2(std::fabs(r.slope - 1.76e-5) < 5e-8, qPrintable(QString::number(r.slope, 'g', 10)));

    ContrastResponse c;
    QCOMPARE(c.run(m), 0);
    QCOMPARE(c.count, 16);
    for (int k = 0; k < 16; ++k) {
        QVERIFY2(c.deviation[k] < 0.5, qPrintable(QString::number(c.deviation[k])));
        QCOMPARE(c.positions[k], c.expectedMid[k]);
    }
    QVERIFY2(std::fabs(c.maxDeviation - 0.145) < 5e-4,
             qPrintable(QString::number(c.maxDeviation, 'g', 10)));
    // Expected midpoints lie half a step (about 16.4 JND) into each interval.
    QVERIFY(std::fabs(c.expectedMid[0] - (46.56 + 525.6 / 32)) < 0.1);
}

void TestDICOMConformance::figuresOfAKnownRamp()
{
    // Three steps at driving levels 0, 128, 255; the JND indices fix the
    // expected figures exactly.
    const QVector<double> L{1.0, 10.0, 100.0};
    CDICOMCalc gsdf(1.0f, 100.0f, 255);
    const double j0 = gsdf.LumToIndex(1.0f), j1 = gsdf.LumToIndex(10.0f), j2 = gsdf.LumToIndex(100.0f);
    const double v1 = (j1 - j0) / 128.0, v2 = (j2 - j1) / 127.0;

    Results r;
    QCOMPARE(r.run(rampOf(L)), 0);
    QCOMPARE(r.count, 2);
    QCOMPARE(r.values[0], v1);
    QCOMPARE(r.values[1], v2);
    QCOMPARE(r.values[2], -7.0); // nothing written past the intervals
    QVERIFY(std::fabs(r.mean - (v1 + v2) / 2) < 1e-12);
    QVERIFY(std::fabs(r.stdDev - std::fabs(v1 - v2) / std::sqrt(2.0)) < 1e-12);
    // Two points (128, v1), (255, v2) lie on the line exactly.
    QVERIFY(std::fabs(r.slope - (v2 - v1) / 127.0) < 1e-12);
    QVERIFY(std::fabs(r.intercept + r.slope * 128.0 - v1) < 1e-9);

    ContrastResponse c;
    QCOMPARE(c.run(rampOf(L)), 0);
    QCOMPARE(c.count, 2);
    QVERIFY(std::fabs(c.measured[0] - 2 * 9.0 / (11.0 * (j1 - j0))) < 1e-12);
    QVERIFY(std::fabs(c.measured[1] - 2 * 90.0 / (110.0 * (j2 - j1))) < 1e-12);
    const int worst = c.deviation[0] >= c.deviation[1] ? 0 : 1;
    QCOMPARE(c.maxDeviation, c.deviation[worst]);
    QCOMPARE(c.maxPosition, c.expectedMid[worst]);
}

void TestDICOMConformance::oneAndTwoSteps()
{
    // One step: no interval and no figures, and no 0/0.
    Results one;
    QCOMPARE(one.run(rampOf({50.0})), 0);
    QCOMPARE(one.count, 0);
    QCOMPARE(one.mean, 0.0);
    QCOMPARE(one.stdDev, 0.0);
    QCOMPARE(one.intercept, 0.0);
    QCOMPARE(one.slope, 0.0);
    ContrastResponse oneC;
    QCOMPARE(oneC.run(rampOf({50.0})), 0);
    QCOMPARE(oneC.count, 0);
    QCOMPARE(oneC.maxDeviation, 0.0);
    QCOMPARE(oneC.maxPosition, 0.0);

    // Two steps: one interval has no spread and no trend.
    Results two;
    QCOMPARE(two.run(rampOf({0.5, 200.0})), 0);
    QCOMPARE(two.count, 1);
    QCOMPARE(two.stdDev, 0.0);
    QCOMPARE(two.slope, 0.0);
    QCOMPARE(two.mean, two.values[0]);
    QCOMPARE(two.intercept, two.values[0]);
    QVERIFY(std::fabs(two.values[0] - 525.6 / 255) < 0.001);
}

void TestDICOMConformance::unusableRamps_data()
{
    QTest::addColumn<QVector<double>>("luminances");
    QVector<double> tooMany;
    for (int i = 0; i < 257; ++i)
        tooMany.append(0.5 + i);
    QTest::newRow("none") << QVector<double>();
    QTest::newRow("257") << tooMany;
    // Luminances the single-precision function cannot take.
    QTest::newRow("not a number") << QVector<double>{0.5, qQNaN(), 100.0};
    QTest::newRow("beyond float") << QVector<double>{0.5, 50.0, 1e300};
}

void TestDICOMConformance::unusableRamps()
{
    QFETCH(QVector<double>, luminances);
    const QVector<double> &L = luminances;
    Results r;
    QCOMPARE(r.run(rampOf(L)), -1);
    QCOMPARE(r.count, 0);
    ContrastResponse c;
    QCOMPARE(c.run(rampOf(L)), -1);
    QCOMPARE(c.count, 0);
    QCOMPARE(c.maxDeviation, 0.0);
}

void TestDICOMConformance::contrastResponseRefusals()
{
    ContrastResponse equal;
    QCOMPARE(equal.run(rampOf({1.0, 5.0, 5.0, 20.0})), -1);
    QCOMPARE(equal.count, 0);

    // A ramp that ends darker than it starts: every output written, then -1.
    ContrastResponse falling;
    QCOMPARE(falling.run(rampOf({100.0, 30.0, 1.0})), -1);
    QCOMPARE(falling.count, 2);
    QVERIFY(std::isfinite(falling.deviation[0]) && std::isfinite(falling.deviation[1]));
}

void TestDICOMConformance::zeroSizeExpectedIntervalsAreSkipped()
{
    // Black and white equal: every expected interval has no size. The
    // measured intervals are still reported; no NaN reaches the outputs.
    ContrastResponse c;
    QCOMPARE(c.run(rampOf({2.0, 8.0, 2.0})), -1);
    QCOMPARE(c.count, 2);
    for (int k = 0; k < 2; ++k) {
        QVERIFY(std::isfinite(c.measured[k]));
        QCOMPARE(c.expected[k], 0.0);
        QCOMPARE(c.deviation[k], 0.0);
    }
    QCOMPARE(c.maxDeviation, 0.0);
}

QTEST_GUILESS_MAIN(TestDICOMConformance)
#include "tst_dicomconformance.moc"
