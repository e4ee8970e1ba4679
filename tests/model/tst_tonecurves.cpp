// The standard tone curves and the target tone curve of a calibration.

#include "CColorValue.h"
#include "CSpline.h"
#include "CTargetValue.h"
#include "ToneCurves.h"

#include <QtTest>
#include <cmath>

using CurveBuilder = int (*)(CSpline *);
Q_DECLARE_METATYPE(CurveBuilder)
Q_DECLARE_METATYPE(CColorValue)
Q_DECLARE_METATYPE(CTargetValue)

namespace {

CTargetValue dicomTarget(qint32 contrastRatio = 0, double scale = 1.0, bool useScale = false)
{
    CTargetValue target;
    target.CreateDefault();
    target.m_GammaCurveType = CTargetValue::kCurveDICOM;
    target.m_ContrastRatio = contrastRatio;
    target.m_DICOMScaleFactor = scale;
    target.m_UseDICOMScaleFactor = useScale;
    return target;
}

// Measurements whose final black and white are given.
CColorValue finalBlackWhite(double black, double white)
{
    CColorValue m;
    m.m_FinalPatches[CColorValue::kBlackPatch] = CCIEXYZ(0.95 * black, black, 1.09 * black);
    m.m_FinalPatches[CColorValue::kWhitePatch] = CCIEXYZ(0.95 * white, white, 1.09 * white);
    return m;
}

CSpline targetCurve(const CColorValue &m, CTargetValue target)
{
    CSpline curve;
    curve.InitSpline(SPLINE_BSPLINE, 3, 0.0, 5.0); // replaced whole
    const int result = CreateTargetSpline(&m, &target, &curve);
    Q_ASSERT(result == 0);
    return curve;
}

// The DICOM curve between the given black and white, no ratio or scale.
CSpline dicomCurve(double black, double white)
{
    return targetCurve(finalBlackWhite(black, white), dicomTarget());
}

} // namespace

class TestToneCurves : public QObject {
    Q_OBJECT

private slots:
    void presetCurves_data();
    void presetCurves();
    void presetCurveShape_data();
    void presetCurveShape();
    void dicomTargetCurve();
    void dicomBlackAndWhiteSources_data();
    void dicomBlackAndWhiteSources();
    void dicomCurveStaysDefinedForUnusableRanges_data();
    void dicomCurveStaysDefinedForUnusableRanges();
    void gammaNativeAndCustomTargets();
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

void TestToneCurves::dicomTargetCurve()
{
    const CSpline curve = dicomCurve(0.5, 200.0);
    QVERIFY(curve.IsValid());
    QCOMPARE(curve.GetSplineType(), SPLINE_CATMULL_ROM);
    QCOMPARE(curve.GetNumberOfPoints(), 256);
    // Equal JND steps, quantised to 16 bits, from exactly 0 to exactly 1.
    QCOMPARE(curve.GetY(0), 0.0);
    QCOMPARE(curve.GetY(1), 11 / 65535.0);
    QCOMPARE(curve.GetY(128), 8294 / 65535.0);
    QCOMPARE(curve.GetY(255), 1.0);
    QCOMPARE(curve.GetX(128), 128 / 255.0);
    for (int i = 1; i < 256; ++i)
        QVERIFY(curve.GetY(i) > curve.GetY(i - 1));
}

void TestToneCurves::dicomBlackAndWhiteSources_data()
{
    QTest::addColumn<CColorValue>("measurements");
    QTest::addColumn<CTargetValue>("target");
    QTest::addColumn<double>("black");
    QTest::addColumn<double>("white");

    QTest::newRow("final patches") << finalBlackWhite(0.5, 200) << dicomTarget() << 0.5 << 200.0;
    QTest::newRow("ratio 200 raises the black") << finalBlackWhite(0.5, 200) << dicomTarget(200) << 1.0 << 200.0;
    QTest::newRow("ratio 1000 never lowers it") << finalBlackWhite(0.5, 200) << dicomTarget(1000) << 0.5 << 200.0;
    QTest::newRow("scale factor 2") << finalBlackWhite(0.5, 200) << dicomTarget(0, 2.0, true) << 1.0 << 400.0;
    QTest::newRow("scale factor not in use") << finalBlackWhite(0.5, 200) << dicomTarget(0, 2.0, false) << 0.5 << 200.0;

    // Without final patches: the uncorrected ramp's white and the adjusted black.
    CColorValue uncorrected = finalBlackWhite(0.0, 180.0);
    uncorrected.m_UncorrectedGreySteps = {CCIEXYZ(0, 0.2, 0), CCIEXYZ(0, 40, 0), CCIEXYZ(0, 150, 0)};
    uncorrected.m_AdjustedPatches[CColorValue::kBlackPatch] = CCIEXYZ(0, 0.3, 0);
    QTest::newRow("uncorrected ramp") << uncorrected << dicomTarget() << 0.3 << 150.0;
    QTest::newRow("uncorrected ramp with ratio") << uncorrected << dicomTarget(300) << 0.5 << 150.0;

    // Nothing measured: 0.5 and 200, whatever the ratio; the scale still applies.
    QTest::newRow("nothing measured") << finalBlackWhite(0.0, 0.0) << dicomTarget(50) << 0.5 << 200.0;
    QTest::newRow("nothing measured, scale 2") << finalBlackWhite(0.0, 0.0) << dicomTarget(50, 2.0, true) << 1.0 << 400.0;
}

void TestToneCurves::dicomBlackAndWhiteSources()
{
    QFETCH(CColorValue, measurements);
    QFETCH(CTargetValue, target);
    QFETCH(double, black);
    QFETCH(double, white);
    const pz::DICOMRange range = pz::dicomTargetRange(&measurements, target);
    QVERIFY(std::fabs(range.black - black) < 1e-12);
    QVERIFY(std::fabs(range.white - white) < 1e-12);
    QVERIFY(targetCurve(measurements, target) == dicomCurve(black, white));
}

void TestToneCurves::dicomCurveStaysDefinedForUnusableRanges_data()
{
    QTest::addColumn<CColorValue>("measurements");
    QTest::addColumn<CTargetValue>("target");
    QTest::addColumn<double>("black");
    QTest::addColumn<double>("white");
    // A real black below the grayscale function's floor (about 0.0455
    // cd/m²) is clamped to 0.05; a white not above the black falls back to
    // 0.5 and 200.
    QTest::newRow("black below the floor") << finalBlackWhite(0.02, 80) << dicomTarget() << 0.05 << 80.0;
    QTest::newRow("scaled below the floor") << finalBlackWhite(0.1, 80) << dicomTarget(0, 0.25, true) << 0.05 << 20.0;
    QTest::newRow("white equals black") << finalBlackWhite(0.5, 0.5) << dicomTarget() << 0.5 << 200.0;
    QTest::newRow("white at the floor") << finalBlackWhite(0.01, 0.04) << dicomTarget() << 0.5 << 200.0;
    QTest::newRow("scale factor 0") << finalBlackWhite(0.5, 200) << dicomTarget(0, 0.0, true) << 0.5 << 200.0;
    QTest::newRow("white not finite") << finalBlackWhite(0.5, qInf()) << dicomTarget() << 0.5 << 200.0;
}

void TestToneCurves::dicomCurveStaysDefinedForUnusableRanges()
{
    QFETCH(CColorValue, measurements);
    QFETCH(CTargetValue, target);
    QFETCH(double, black);
    QFETCH(double, white);
    const pz::DICOMRange range = pz::dicomTargetRange(&measurements, target);
    QCOMPARE(range.black, black);
    QCOMPARE(range.white, white);
    const CSpline curve = targetCurve(measurements, target);
    QCOMPARE(curve.GetY(0), 0.0);
    QCOMPARE(curve.GetY(255), 1.0);
    for (int i = 1; i < 256; ++i)
        QVERIFY(curve.GetY(i) > curve.GetY(i - 1));
}

void TestToneCurves::gammaNativeAndCustomTargets()
{
    CTargetValue target;
    target.CreateDefault();
    const CColorValue nothing;

    // Gamma 2.2: Catmull-Rom between the grid points.
    CSpline gamma = targetCurve(nothing, target);
    QVERIFY(gamma.IsValid());
    QCOMPARE(gamma.GetY(128), std::pow(128 / 255.0, 2.2));
    QVERIFY(std::fabs(gamma.GetYValX(0.5) - 0.2176) < 0.0001);

    // Native and unknown types give the identity; the measurements may be null.
    for (qint32 type : {qint32(CTargetValue::kCurveNative), 0, 77}) {
        target.m_GammaCurveType = type;
        CSpline identity;
        QCOMPARE(CreateTargetSpline(nullptr, &target, &identity), 0);
        QVERIFY(identity.IsValid());
        for (double x : {0.0, 0.1, 0.5, 0.77, 1.0})
            QVERIFY(std::fabs(identity.GetYValX(x) - x) < 1e-12);
    }

    // A custom curve is copied whole and marked valid.
    target.m_GammaCurveType = CTargetValue::kCurveCustom;
    CreateLStarCurveSpline(&target.m_CustomCurve);
    target.m_CustomCurve.SetValid(false);
    const CSpline custom = targetCurve(nothing, target);
    QVERIFY(custom == target.m_CustomCurve);
    QVERIFY(custom.IsValid());
}

QTEST_GUILESS_MAIN(TestToneCurves)
#include "tst_tonecurves.moc"
