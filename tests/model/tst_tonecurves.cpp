// The standard tone curves and the target tone curve of a calibration.

#include "CSpline.h"
#include "ToneCurves.h"

#include <QtTest>
#include <cmath>

using CurveBuilder = int (*)(CSpline *);
Q_DECLARE_METATYPE(CurveBuilder)

class TestToneCurves : public QObject {
    Q_OBJECT

private slots:
    void presetCurves_data();
    void presetCurves();
    void presetCurveShape_data();
    void presetCurveShape();
};

void TestToneCurves::presetCurves_data()
{
    QTest::addColumn<CurveBuilder>("build");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("signal");
    // Points lie at luminance i/255; x is the signal of the standard, taken
    // from the linear segment at or below its threshold.
    QTest::newRow("sRGB 0") << CurveBuilder(CreatesRGBCurveSpline) << 0 << 0.0;
    QTest::newRow("sRGB 1 power") << CurveBuilder(CreatesRGBCurveSpline) << 1 << 0.04984008984501271;
    QTest::newRow("sRGB 128") << CurveBuilder(CreatesRGBCurveSpline) << 128 << 0.7366469419515869;
    QTest::newRow("sRGB 255") << CurveBuilder(CreatesRGBCurveSpline) << 255 << 1.0;
    QTest::newRow("170M 4 linear") << CurveBuilder(CreateNTSC_SMPTE170M_CurveSpline) << 4 << 4.5 * 4 / 255;
    QTest::newRow("170M 5 power") << CurveBuilder(CreateNTSC_SMPTE170M_CurveSpline) << 5 << 0.08832300376815552;
    QTest::newRow("170M 128") << CurveBuilder(CreateNTSC_SMPTE170M_CurveSpline) << 128 << 0.7069332944441298;
    QTest::newRow("240M 5 linear") << CurveBuilder(CreateHDTV_SMPTE240M_CurveSpline) << 5 << 4.0 * 5 / 255;
    QTest::newRow("240M 6 power") << CurveBuilder(CreateHDTV_SMPTE240M_CurveSpline) << 6 << 0.09415271553551809;
    QTest::newRow("240M 128") << CurveBuilder(CreateHDTV_SMPTE240M_CurveSpline) << 128 << 0.7035999606684714;
    QTest::newRow("L* 2 linear") << CurveBuilder(CreateLStarCurveSpline) << 2 << 9.03296 * 2 / 255;
    QTest::newRow("L* 3 power") << CurveBuilder(CreateLStarCurveSpline) << 3 << 0.10382645826501062;
    QTest::newRow("L* 128") << CurveBuilder(CreateLStarCurveSpline) << 128 << 0.7618945600835189;
    QTest::newRow("L* 255") << CurveBuilder(CreateLStarCurveSpline) << 255 << 1.0;
}

void TestToneCurves::presetCurves()
{
    QFETCH(CurveBuilder, build);
    QFETCH(int, index);
    QFETCH(double, signal);
    CSpline curve;
    QCOMPARE(build(&curve), 0);
    QCOMPARE(curve.GetY(index), index / 255.0);
    QVERIFY2(std::fabs(curve.GetX(index) - signal) < 1e-12,
             qPrintable(QString::number(curve.GetX(index), 'g', 17)));
}

void TestToneCurves::presetCurveShape_data()
{
    QTest::addColumn<CurveBuilder>("build");
    QTest::newRow("sRGB") << CurveBuilder(CreatesRGBCurveSpline);
    QTest::newRow("SMPTE-170M") << CurveBuilder(CreateNTSC_SMPTE170M_CurveSpline);
    QTest::newRow("SMPTE-240M") << CurveBuilder(CreateHDTV_SMPTE240M_CurveSpline);
    QTest::newRow("L*") << CurveBuilder(CreateLStarCurveSpline);
}

void TestToneCurves::presetCurveShape()
{
    QFETCH(CurveBuilder, build);
    // A curve that had other content is replaced whole.
    CSpline curve;
    curve.InitSpline(SPLINE_BSPLINE, 5, 0.0, 2.0);
    build(&curve);
    QCOMPARE(curve.GetSplineType(), SPLINE_CATMULL_ROM);
    QCOMPARE(curve.GetNumberOfPoints(), 256);
    QCOMPARE(curve.GetRangeMin(), 0.0);
    QCOMPARE(curve.GetRangeMax(), 1.0);
    // Signals rise strictly with luminance, so the curve is a function of x.
    for (int i = 1; i < 256; ++i)
        QVERIFY(curve.GetX(i) > curve.GetX(i - 1));
    // Between the points it decodes: the signal of a grid point gives its luminance.
    QVERIFY(std::fabs(curve.GetYValX(curve.GetX(100)) - 100 / 255.0) < 1e-12);
}

QTEST_GUILESS_MAIN(TestToneCurves)
#include "tst_tonecurves.moc"
