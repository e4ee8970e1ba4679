// L*a*b* conversion and the three colour differences.

#include "CColorCalcUtils.h"

#include <QtTest>
#include <cmath>

Q_DECLARE_METATYPE(LabColor)

namespace {

// Agreement to four decimals, as published colour-difference data is given.
bool sameTo4Decimals(double actual, double expected) { return std::fabs(actual - expected) < 0.00005; }

} // namespace

class TestColorDifference : public QObject {
    Q_OBJECT

private slots:
    void labOfReferenceWhite();
    void labBranches();
    void angleConversionUsesStoredPi();
    void deltaEab();
    void deltaE94IsAsymmetric();
    void deltaE2000PublishedPairs_data();
    void deltaE2000PublishedPairs();
};

void TestColorDifference::labOfReferenceWhite()
{
    const CCIEXYZ white(95.05, 100.0, 108.9);
    const LabColor lab = CColorCalcUtils::XYZ2LabReference(white, white);
    QCOMPARE(lab.L, 100.0);
    QCOMPARE(lab.a, 0.0);
    QCOMPARE(lab.b, 0.0);
}

void TestColorDifference::labBranches()
{
    // Below 0.008856 L is linear with the older constant 903.3.
    const LabColor dark =
        CColorCalcUtils::XYZ2LabReference(CCIEXYZ(0.001, 0.001, 0.001), CCIEXYZ(1, 1, 1));
    QCOMPARE(dark.L, 0.9033);
    QCOMPARE(dark.a, 0.0);
    QCOMPARE(dark.b, 0.0);

    // A mid grey with a tint: L from the cube root, a and b from f().
    const LabColor tinted =
        CColorCalcUtils::XYZ2LabReference(CCIEXYZ(0.2, 0.18, 0.1), CCIEXYZ(0.9505, 1.0, 1.089));
    QVERIFY(sameTo4Decimals(tinted.L, 116.0 * std::cbrt(0.18) - 16.0));
    QVERIFY(sameTo4Decimals(tinted.a, 500.0 * (std::cbrt(0.2 / 0.9505) - std::cbrt(0.18))));
    QVERIFY(sameTo4Decimals(tinted.b, 200.0 * (std::cbrt(0.18) - std::cbrt(0.1 / 1.089))));
    QCOMPARE(CColorCalcUtils::f(0.008856), 7.787 * 0.008856 + 16.0 / 116.0);
}

void TestColorDifference::angleConversionUsesStoredPi()
{
    QCOMPARE(CColorCalcUtils::degrees2radians(180.0), 3.141592);
    QCOMPARE(CColorCalcUtils::radians2degrees(3.141592), 180.0);
}

void TestColorDifference::deltaEab()
{
    QCOMPARE(CColorCalcUtils::CalculateLabDeltaEab({50, 0, 0}, {50, -1, 2}), std::sqrt(5.0));
    QCOMPARE(CColorCalcUtils::CalculateLabDeltaEab({50, -1, 2}, {50, 0, 0}), std::sqrt(5.0));
}

void TestColorDifference::deltaE94IsAsymmetric()
{
    const LabColor a{50, 2.6772, -79.7751};
    const LabColor b{50, 0, -82.7485};
    QVERIFY(sameTo4Decimals(CColorCalcUtils::CalculateLabDeltaE94(a, b), 1.3950));
    QVERIFY(sameTo4Decimals(CColorCalcUtils::CalculateLabDeltaE94(b, a), 1.3653));
    QCOMPARE(CColorCalcUtils::CalculateLabDeltaE94(a, a), 0.0);
}

void TestColorDifference::deltaE2000PublishedPairs_data()
{
    QTest::addColumn<LabColor>("first");
    QTest::addColumn<LabColor>("second");
    QTest::addColumn<double>("expected");
    // The published CIEDE2000 test data (Sharma, Wu and Dalal), all 34 pairs;
    // they include the hue-angle corner cases of the mean-hue rule.
    const struct {
        LabColor first, second;
        double expected;
    } pairs[] = {
        {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
        {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
        {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
        {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
        {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
        {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
        {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
        {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
        {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
        {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
        {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
        {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
        {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
        {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
        {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
        {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
        {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
        {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
        {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
        {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
        {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
        {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
        {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
        {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
        {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
        {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
        {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
        {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
        {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
        {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
        {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
        {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
    };
    int row = 1;
    for (const auto &p : pairs)
        QTest::addRow("pair %d", row++) << p.first << p.second << p.expected;
}

void TestColorDifference::deltaE2000PublishedPairs()
{
    QFETCH(LabColor, first);
    QFETCH(LabColor, second);
    QFETCH(double, expected);
    const double forward = CColorCalcUtils::CalculateLabDeltaE2000(first, second);
    const double backward = CColorCalcUtils::CalculateLabDeltaE2000(second, first);
    QVERIFY2(sameTo4Decimals(forward, expected), qPrintable(QString::number(forward, 'f', 6)));
    QVERIFY2(sameTo4Decimals(backward, expected), qPrintable(QString::number(backward, 'f', 6)));
}

QTEST_GUILESS_MAIN(TestColorDifference)
#include "tst_colordifference.moc"
