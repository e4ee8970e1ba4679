// White-point difference and grey-scale tracking report.

#include "CColorCalcUtils.h"
#include "CColorValue.h"
#include "CSpline.h"
#include "CTargetValue.h"
#include "ToneCurves.h"

#include <QtTest>
#include <cmath>

namespace {

constexpr double kD65x = 0.3127;
constexpr double kD65y = 0.3290;

CCIEXYZ colourAt(double Y, double x = kD65x, double y = kD65y)
{
    return CCIEXYZ(CCIEYxy(Y, x, y));
}

// A gamma-2.2 target at D65 with maximum luminance.
CTargetValue defaultTarget()
{
    CTargetValue target;
    target.CreateDefault();
    return target;
}

// A final grey ramp that meets the target exactly: at each step the
// luminance the target curve prescribes between black and white.
CColorValue rampMeeting(CTargetValue target, int n, double black, double white,
                        double x = kD65x, double y = kD65y)
{
    CColorValue m;
    CSpline curve;
    CreateTargetSpline(&m, &target, &curve);
    for (int i = 0; i < n; ++i) {
        const double v = curve.GetYValX(static_cast<double>(i) / (n - 1));
        m.m_FinalGreySteps.push_back(colourAt(black + (white - black) * v, x, y));
    }
    return m;
}

double worstOf(const QList<delta_e_point> &points)
{
    delta_e_max_avg_results r;
    CColorCalcUtils().CalculateAvgMaxValues(points, r);
    return std::max({r.maxDeltaEab, r.maxDeltaE94, r.maxDeltaE2000});
}

// ΔE*ab and ΔE94 of a neutral colour against the white it is measured
// relative to, when it is brighter or darker by a factor: ΔL only.
double lightnessDifference(double factor) { return 116.0 * (std::cbrt(factor) - 1.0); }

} // namespace

class TestGreyTracking : public QObject {
    Q_OBJECT

private slots:
    void presetGamutPrimaries_data();
    void presetGamutPrimaries();
    void whitePointDifference();
    void whitePointRefusals_data();
    void whitePointRefusals();
    void rampMeetingTheTargetHasNoDifference();
    void contrastRatioSetsTheBlack();
    void minimumLuminanceFiltersSteps();
    void knownDifferenceAtWhite();
    void nativeWhiteUsesTheMeasuredWhite();
    void gamutPrimariesDoNotChangeTheReport();
    void reportRefusals();
    void maximaAndMeans();
};

void TestGreyTracking::presetGamutPrimaries_data()
{
    QTest::addColumn<int>("gamut");
    QTest::addColumn<QVector<double>>("primaries"); // red, green, blue x, y
    QTest::newRow("1 sRGB") << 1 << QVector<double>{0.64, 0.33, 0.30, 0.60, 0.15, 0.06};
    QTest::newRow("2 AdobeRGB") << 2 << QVector<double>{0.64, 0.33, 0.21, 0.71, 0.15, 0.06};
    QTest::newRow("3 EBU/ITU") << 3 << QVector<double>{0.64, 0.33, 0.29, 0.60, 0.15, 0.06};
    QTest::newRow("4 SMPTE-C") << 4 << QVector<double>{0.63, 0.34, 0.31, 0.595, 0.155, 0.07};
    QTest::newRow("5 DCI") << 5 << QVector<double>{0.68, 0.32, 0.265, 0.69, 0.15, 0.06};
    QTest::newRow("6 ECI/NTSC") << 6 << QVector<double>{0.67, 0.33, 0.21, 0.71, 0.14, 0.08};
    QTest::newRow("7 ColorMatch") << 7 << QVector<double>{0.63, 0.34, 0.295, 0.605, 0.15, 0.075};
    QTest::newRow("8 CRT") << 8 << QVector<double>{0.625, 0.34, 0.28, 0.595, 0.155, 0.07};
}

void TestGreyTracking::presetGamutPrimaries()
{
    QFETCH(int, gamut);
    QFETCH(QVector<double>, primaries);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(presets_gamuts[gamut - 1][i], primaries[i]);
}

void TestGreyTracking::whitePointDifference()
{
    CColorCalcUtils utils;
    CColorValue m;
    m.m_FinalPatches[CColorValue::kWhitePatch] = colourAt(87.0);
    CTargetValue target = defaultTarget();
    double dE = -1;
    QCOMPARE(utils.CalculateWhitePointDeltaE(&m, &target, &dE), 0);
    QVERIFY(std::fabs(dE) < 1e-9);

    // A specific target level twice the measured: ΔE94 is the lightness gap.
    target.m_IntensityType = 3;
    target.m_Intensity = 174.0;
    QCOMPARE(utils.CalculateWhitePointDeltaE(&m, &target, &dE), 0);
    QVERIFY(std::fabs(dE - -lightnessDifference(0.5)) < 1e-9);

    // Intensity type 2 reads as the maximum: the target level is the
    // measured white's, whatever the stored level says.
    target.m_IntensityType = 2;
    QCOMPARE(utils.CalculateWhitePointDeltaE(&m, &target, &dE), 0);
    QVERIFY(std::fabs(dE) < 1e-9);

    // A kelvin target is compared at its locus chromaticity.
    target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(6500));
    target.m_IntensityType = 1;
    QCOMPARE(utils.CalculateWhitePointDeltaE(&m, &target, &dE), 0);
    QVERIFY(dE > 0.0 && dE < 0.5);

    // A native white point is the measured white itself.
    target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(0));
    QCOMPARE(utils.CalculateWhitePointDeltaE(&m, &target, &dE), 0);
    QCOMPARE(dE, 0.0);

    // A native white measured without X or Z is no reference to divide by.
    m.m_FinalPatches[CColorValue::kWhitePatch] = CCIEXYZ(0.0, 90.0, 0.0);
    dE = 123.0;
    QCOMPARE(utils.CalculateWhitePointDeltaE(&m, &target, &dE), -1);
    QCOMPARE(dE, 123.0);
}

void TestGreyTracking::whitePointRefusals_data()
{
    QTest::addColumn<double>("measuredY");
    QTest::addColumn<int>("intensityType");
    QTest::addColumn<double>("intensity");
    QTest::addColumn<int>("kelvin"); // -1: D65 as x,y
    QTest::newRow("no measured white") << 0.0 << 1 << 0.0 << -1;
    QTest::newRow("no target luminance") << 90.0 << 3 << 0.0 << -1;
    QTest::newRow("negative target luminance") << 90.0 << 3 << -5.0 << -1;
    QTest::newRow("kelvin without chromaticity") << 90.0 << 1 << 0.0 << 30000;
}

void TestGreyTracking::whitePointRefusals()
{
    QFETCH(double, measuredY);
    QFETCH(int, intensityType);
    QFETCH(double, intensity);
    QFETCH(int, kelvin);
    CColorValue m;
    m.m_FinalPatches[CColorValue::kWhitePatch] = colourAt(measuredY);
    CTargetValue target = defaultTarget();
    target.m_IntensityType = intensityType;
    target.m_Intensity = intensity;
    if (kelvin >= 0)
        target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(kelvin));
    double dE = 123.0;
    QCOMPARE(CColorCalcUtils().CalculateWhitePointDeltaE(&m, &target, &dE), -1);
    QCOMPARE(dE, 123.0);
}

void TestGreyTracking::rampMeetingTheTargetHasNoDifference()
{
    CTargetValue target = defaultTarget();
    const CColorValue m = rampMeeting(target, 16, 0.3, 120.0);
    QList<delta_e_point> points;
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, 0.0), 0);
    QCOMPARE(points.size(), 16);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(points[i].Y, m.m_FinalGreySteps[i].Y);
    QVERIFY2(worstOf(points) < 1e-9, qPrintable(QString::number(worstOf(points))));

    // The same holds for the other tone curves.
    for (int type : {3, 4}) {
        CTargetValue other = defaultTarget();
        other.m_GammaCurveType = type;
        CreateLStarCurveSpline(&other.m_CustomCurve);
        const CColorValue ramp = rampMeeting(other, 16, 0.3, 120.0);
        QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&ramp, &other, points, 0.0), 0);
        QVERIFY(worstOf(points) < 1e-9);
    }
}

void TestGreyTracking::contrastRatioSetsTheBlack()
{
    // With a ratio of 200 the target black is 0.6; the display's own black of
    // 0.3 is the only step that misses.
    CTargetValue target = defaultTarget();
    target.m_ContrastRatio = 200;
    CColorValue m = rampMeeting(target, 16, 0.6, 120.0);
    m.m_FinalGreySteps[0] = colourAt(0.3);
    QList<delta_e_point> points;
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, 0.0), 0);
    // Both below the linear limit of L*: ΔL = 903.3 (0.6 - 0.3) / 120, no colour.
    QVERIFY(std::fabs(points[0].deltaEab - 903.3 * (0.6 - 0.3) / 120.0) < 1e-9);
    for (int i = 1; i < 16; ++i)
        QVERIFY(points[i].deltaEab < 1e-9);
}

void TestGreyTracking::minimumLuminanceFiltersSteps()
{
    CTargetValue target = defaultTarget();
    const CColorValue m = rampMeeting(target, 16, 0.3, 120.0);
    // Steps 0 (0.3) and 1 (about 0.61) lie below 1 cd/m²; step 2 (about 1.72) does not.
    QList<delta_e_point> points;
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, 1.0), 0);
    QCOMPARE(points.size(), 14);
    QCOMPARE(points.first().Y, m.m_FinalGreySteps[2].Y);
    QCOMPARE(points.last().Y, m.m_FinalGreySteps[15].Y);
}

void TestGreyTracking::knownDifferenceAtWhite()
{
    // Target level 120 cd/m², measured white 10 % brighter at the target's
    // chromaticity: only the lightness differs.
    CTargetValue target = defaultTarget();
    target.m_IntensityType = 3;
    target.m_Intensity = 120.0;
    CColorValue m = rampMeeting(target, 16, 0.3, 120.0);
    m.m_FinalGreySteps[15] = colourAt(132.0);
    QList<delta_e_point> points;
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, 0.0), 0);
    QVERIFY(std::fabs(points[15].deltaEab - lightnessDifference(1.1)) < 1e-9);
    QVERIFY(std::fabs(points[15].deltaE94 - lightnessDifference(1.1)) < 1e-9);
    // ΔE2000 weighs lightness far from 50 down: S_L at L = 101.87.
    const double lMean = (100.0 + 100.0 + lightnessDifference(1.1)) / 2.0;
    const double sL = 1.0 + 0.015 * (lMean - 50) * (lMean - 50) / std::sqrt(20 + (lMean - 50) * (lMean - 50));
    QVERIFY(std::fabs(points[15].deltaE2000 - lightnessDifference(1.1) / sL) < 1e-9);
    QVERIFY(points[14].deltaEab < 1e-9);
}

void TestGreyTracking::nativeWhiteUsesTheMeasuredWhite()
{
    CTargetValue target = defaultTarget();
    target.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(0));
    const CColorValue m = rampMeeting(target, 8, 0.5, 100.0, 0.30, 0.32);
    QList<delta_e_point> points;
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, 0.0), 0);
    QVERIFY(worstOf(points) < 1e-9);

    // Against D65 the same ramp is off in colour.
    CTargetValue d65 = defaultTarget();
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &d65, points, 0.0), 0);
    QVERIFY(points.last().deltaE2000 > 1.0);
}

void TestGreyTracking::gamutPrimariesDoNotChangeTheReport()
{
    // A neutral target has the white's chromaticity in every gamut, so
    // unmeasured primaries, coinciding custom primaries or an unknown gamut
    // type give the same report as a preset.
    CTargetValue target = defaultTarget();
    CColorValue m = rampMeeting(target, 16, 0.3, 120.0);
    for (int i = 0; i < 16; ++i)
        m.m_FinalGreySteps[i].Z *= 1.0 + 0.01 * i; // some drift towards blue
    target.m_ColorGamutType = static_cast<CTargetValue::typeColorGamutType>(1);
    QList<delta_e_point> reference;
    QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, reference, 0.0), 0);
    QVERIFY(reference.last().deltaE2000 > 1.0);

    const CCIEYxy same(1.0, 0.3, 0.3);
    target.SetCustomColorGamutValues(same, same, same);
    for (int gamut : {0, 9, 42}) {
        target.m_ColorGamutType = static_cast<CTargetValue::typeColorGamutType>(gamut);
        QList<delta_e_point> points;
        QCOMPARE(CColorCalcUtils().CalculateAllDeltaEResults(&m, &target, points, 0.0), 0);
        QCOMPARE(points.size(), reference.size());
        for (int i = 0; i < points.size(); ++i) {
            QCOMPARE(points[i].deltaEab, reference[i].deltaEab);
            QCOMPARE(points[i].deltaE2000, reference[i].deltaE2000);
        }
    }
}

void TestGreyTracking::reportRefusals()
{
    CColorCalcUtils utils;
    const delta_e_point stale{1, 2, 3, 4};
    CTargetValue target = defaultTarget();
    QList<delta_e_point> points{stale};

    CColorValue none;
    QCOMPARE(utils.CalculateAllDeltaEResults(&none, &target, points, 0.0), -1);
    QVERIFY(points.isEmpty());

    CColorValue one;
    one.m_FinalGreySteps.push_back(colourAt(100.0));
    points = {stale};
    QCOMPARE(utils.CalculateAllDeltaEResults(&one, &target, points, 0.0), -1);
    QVERIFY(points.isEmpty());

    const CColorValue ramp = rampMeeting(target, 16, 0.3, 120.0);
    CTargetValue native = target;
    native.m_GammaCurveType = 1;
    points = {stale};
    QCOMPARE(utils.CalculateAllDeltaEResults(&ramp, &native, points, 0.0), -3);
    QVERIFY(points.isEmpty());

    CTargetValue noLuminance = target;
    noLuminance.m_IntensityType = 3;
    noLuminance.m_Intensity = 0.0;
    QCOMPARE(utils.CalculateAllDeltaEResults(&ramp, &noLuminance, points, 0.0), -1);

    CTargetValue noChromaticity = target;
    noChromaticity.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(30000));
    QCOMPARE(utils.CalculateAllDeltaEResults(&ramp, &noChromaticity, points, 0.0), -1);
    QVERIFY(points.isEmpty());
}

void TestGreyTracking::maximaAndMeans()
{
    CColorCalcUtils utils;
    delta_e_max_avg_results r{9, 9, 9, 9, 9, 9};
    QCOMPARE(utils.CalculateAvgMaxValues({}, r), 0);
    QCOMPARE(r.maxDeltaEab + r.maxDeltaE94 + r.maxDeltaE2000, 0.0);
    QCOMPARE(r.avgDeltaEab + r.avgDeltaE94 + r.avgDeltaE2000, 0.0);

    QCOMPARE(utils.CalculateAvgMaxValues({{10, 1, 4, 2}, {20, 3, 2, 6}, {30, 2, 0, 1}}, r), 0);
    QCOMPARE(r.maxDeltaEab, 3.0);
    QCOMPARE(r.maxDeltaE94, 4.0);
    QCOMPARE(r.maxDeltaE2000, 6.0);
    QCOMPARE(r.avgDeltaEab, 2.0);
    QCOMPARE(r.avgDeltaE94, 2.0);
    QCOMPARE(r.avgDeltaE2000, 3.0);
}

QTEST_GUILESS_MAIN(TestGreyTracking)
#include "tst_greytracking.moc"
