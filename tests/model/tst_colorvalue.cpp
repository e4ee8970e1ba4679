#include "CColorValue.h"
#include "CTargetValue.h"
#include "RecordFixtures.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>

using pz::test::hex;

namespace {

QByteArray bytesOf(const CColorValue &v)
{
    return pz::test::recordBytes([&](QDataStream &s) { s << v; });
}

// A fresh curve record: kind 5, range 0..1, tension 1, bias 0, not valid, no points.
const char *const kFreshCurve = "0000fade 00000065 00000005"
                                "0000000000000000 3ff0000000000000"
                                "3ff0000000000000 0000000000000000 00 00000000";
const char *const kIdentityMatrix = "3ff0000000000000 0000000000000000 0000000000000000"
                                    "0000000000000000 3ff0000000000000 0000000000000000"
                                    "0000000000000000 0000000000000000 3ff0000000000000";

QByteArray defaultRecord()
{
    const QByteArray patches(5 * 24, '\0');
    QByteArray r = hex("0000beef 00000068");
    r += patches;                   // final patches
    r += hex("00000000 00000000"); // no final, no uncorrected grey steps
    r += patches;                   // adjusted
    r += patches;                   // native
    r += hex(kFreshCurve).repeated(15);
    r += QByteArray(3 * 24, '\0'); // EDID primaries
    r += hex(kFreshCurve);         // target curve
    r += hex(kIdentityMatrix);
    r += hex("00");
    return r;
}

// Primaries on the XYZ axes make RGB equal XYZ, so the responses can be
// read straight from the grey steps.
void setAxisPrimaries(CCIEXYZ *patches, double whiteY = 100, double blackY = 0.1)
{
    patches[CColorValue::kRedPatch] = CCIEXYZ(1, 0, 0);
    patches[CColorValue::kGreenPatch] = CCIEXYZ(0, 1, 0);
    patches[CColorValue::kBluePatch] = CCIEXYZ(0, 0, 1);
    patches[CColorValue::kWhitePatch] = CCIEXYZ(95, whiteY, 108);
    patches[CColorValue::kBlackPatch] = CCIEXYZ(0.09, blackY, 0.11);
}

QVector<CCIEXYZ> greyRamp(int n, double gamma, CCIEXYZ black = CCIEXYZ())
{
    QVector<CCIEXYZ> steps;
    for (int i = 0; i < n; ++i) {
        const double v = std::pow(double(i) / (n - 1), gamma);
        steps.append(CCIEXYZ(black.X + v * (1 - black.X), black.Y + v * (1 - black.Y),
                             black.Z + v * (1 - black.Z)));
    }
    return steps;
}

CColorValue measuredRecord()
{
    CColorValue v;
    setAxisPrimaries(v.m_AdjustedPatches);
    setAxisPrimaries(v.m_FinalPatches);
    setAxisPrimaries(v.m_NativePatches, 120, 0.2);
    v.m_UncorrectedGreySteps = greyRamp(9, 2.4);
    v.m_FinalGreySteps = greyRamp(9, 2.2);
    v.m_TargetCurve.InitSpline(SPLINE_CATMULL_ROM, 256, 0, 1);
    v.m_TargetCurve.SetSplineGamma(2.2);
    v.m_TargetCurve.SetValid(true);
    v.m_EDIDRed = CCIEXYZ(0.41, 0.21, 0.02);
    v.m_EDIDBlue = CCIEXYZ(0.18, 0.07, 0.95);
    v.m_SensorCorrectionMatrix[1] = 0.25;
    v.m_UseSensorCorrectionMatrix = true;
    return v;
}

bool sameCurves(const CColorValue &a, const CColorValue &b)
{
    for (int i = 0; i < CColorValue::kCurveCount; ++i) {
        if (a.m_Splines[i] != b.m_Splines[i] || a.m_Splines[i].IsValid() != b.m_Splines[i].IsValid())
            return false;
    }
    return true;
}

} // namespace

class TestColorValue : public QObject {
    Q_OBJECT
private slots:
    void defaultRecordBytes()
    {
        const CColorValue v;
        QCOMPARE(bytesOf(v), defaultRecord());
        CColorValue back;
        QCOMPARE(pz::test::readRecordBytes(defaultRecord(), [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QVERIFY(!back.m_ReadFailed);
        QCOMPARE(bytesOf(back), defaultRecord());
    }

    void roundTrip()
    {
        CColorValue v = measuredRecord();
        QCOMPARE(v.CalculateRGBMeasuredUnCorrectedSplines(true), 0);
        QCOMPARE(v.CalculateRGBMeasuredCorrectedSplines(), 0);
        const QByteArray bytes = bytesOf(v);
        CColorValue back;
        QCOMPARE(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QVERIFY(!back.m_ReadFailed);
        QCOMPARE(bytesOf(back), bytes);
        QCOMPARE(back.m_UncorrectedGreySteps.size(), 9);
        QCOMPARE(back.m_FinalGreySteps[4].Y, v.m_FinalGreySteps[4].Y);
        QCOMPARE(back.m_SensorCorrectionMatrix[1], 0.25);
        QVERIFY(back.m_UseSensorCorrectionMatrix);
        QVERIFY(sameCurves(back, v));
        QCOMPARE(back.m_EDIDBlue.Z, 0.95);
        QCOMPARE(back.m_NativePatches[CColorValue::kWhitePatch].Y, 120.0);
    }

    // Every field with a value of its own at its offset: a writer or reader
    // that puts a field in another's place fails here.
    void distinctFieldsAtTheirOffsets()
    {
        pz::test::Distinct d;
        const CColorValue written = pz::test::distinctMeasurements(d);
        pz::test::RecordLayout layout;
        const qint64 end = pz::test::layMeasurements(layout, 0, written);
        QCOMPARE(layout.end(), end);
        QVERIFY(layout.misplaced().isEmpty());
        QCOMPARE(bytesOf(written).toHex(), layout.bytes().toHex());

        CColorValue read;
        QCOMPARE(pz::test::readRecordBytes(layout.bytes(), [&](QDataStream &s) { s >> read; }),
                 QDataStream::Ok);
        pz::test::compareMeasurements(read, written);
    }

    void copiesWriteTheSameBytes()
    {
        const CColorValue fresh;
        const CColorValue freshCopy(fresh);
        QCOMPARE(bytesOf(freshCopy), bytesOf(fresh));
        CColorValue assigned = measuredRecord();
        assigned = fresh;
        QCOMPARE(bytesOf(assigned), bytesOf(fresh));
        QCOMPARE(assigned.m_Version, 104);

        CColorValue measured = measuredRecord();
        measured.CalculateRGBMeasuredUnCorrectedSplines(false);
        measured.m_ReadFailed = true;
        CColorValue copy;
        copy = measured;
        QCOMPARE(bytesOf(copy), bytesOf(measured));
        QVERIFY(copy.m_ReadFailed);
    }

    void olderAndNewerVersions()
    {
        CColorValue v = measuredRecord();
        // Version 103: the same record without the matrix and its flag.
        QByteArray old = bytesOf(v);
        old.chop(9 * 8 + 1);
        old[7] = 0x67;
        CColorValue back;
        back.m_SensorCorrectionMatrix[0] = 5;
        back.m_UseSensorCorrectionMatrix = true;
        QCOMPARE(pz::test::readRecordBytes(old, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QCOMPARE(bytesOf(back).left(old.size()).mid(8), old.mid(8));
        QCOMPARE(back.m_SensorCorrectionMatrix[0], 1.0);
        QCOMPARE(back.m_SensorCorrectionMatrix[1], 0.0);
        QVERIFY(!back.m_UseSensorCorrectionMatrix);
        QCOMPARE(back.m_Version, 104);

        QByteArray v0 = old;
        v0[7] = 0x00;
        QCOMPARE(pz::test::readRecordBytes(v0, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
    }

    void refusedRecords_data()
    {
        const QByteArray good = bytesOf(measuredRecord());
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("flagged");
        QByteArray newer = good;
        newer[7] = 0x69;
        QTest::newRow("version 105") << newer << int(QDataStream::ReadCorruptData) << false;
        QByteArray negative = good;
        negative[4] = char(0x80);
        QTest::newRow("version 0x80000068") << negative << int(QDataStream::ReadCorruptData) << false;
        QByteArray magic = good;
        magic[2] = char(0xbe);
        magic[3] = char(0xee);
        QTest::newRow("wrong magic") << magic << int(QDataStream::ReadCorruptData) << false;
        QByteArray steps = good;
        steps.replace(8 + 120, 4, hex("ffffffff"));
        QTest::newRow("absurd grey-step count") << steps << int(QDataStream::ReadCorruptData) << true;
        QByteArray manySteps = good;
        manySteps.replace(8 + 120, 4, hex("00010000"));
        QTest::newRow("count beyond the data") << manySteps << int(QDataStream::ReadPastEnd) << true;
        QTest::newRow("truncated") << good.left(good.size() / 2) << int(QDataStream::ReadPastEnd)
                                   << true;
        QTest::newRow("no flag byte") << good.left(good.size() - 1) << int(QDataStream::ReadPastEnd)
                                      << true;
        QByteArray curve = good;
        const int curveAt = good.indexOf(hex("0000fade"));
        curve[curveAt + 3] = char(0xdf);
        QTest::newRow("nested curve magic") << curve << int(QDataStream::ReadCorruptData) << true;
    }
    void refusedRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(bool, flagged);
        CColorValue v = measuredRecord();
        v.CalculateRGBMeasuredUnCorrectedSplines(false);
        const QByteArray before = bytesOf(v);
        QCOMPARE(int(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> v; })), status);
        QCOMPARE(bytesOf(v), before);
        QCOMPARE(v.m_ReadFailed, flagged);
    }

    void mutatedRecordsFuzz()
    {
        CColorValue seed = measuredRecord();
        seed.CalculateRGBMeasuredUnCorrectedSplines(false);
        const QByteArray good = bytesOf(seed);
        const QByteArray reference = bytesOf(CColorValue());
        QRandomGenerator rng(1109);
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = good;
            const int edits = 1 + int(rng.bounded(5));
            for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
                const int at = int(rng.bounded(qint64(bytes.size())));
                if (rng.bounded(5) == 0)
                    bytes.truncate(at);
                else
                    bytes[at] = char(rng.bounded(256));
            }
            CColorValue v;
            const QDataStream::Status st =
                pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> v; });
            if (st != QDataStream::Ok)
                QCOMPARE(bytesOf(v), reference);
            // Whatever was accepted can be worked on safely.
            v.CalculateRGBMeasuredUnCorrectedSplines(true);
            v.CalculateRGBMeasuredCorrectedSplines();
            v.CreateCorrectionSplines(nullptr);
        }
    }

    void uncorrectedResponses()
    {
        CColorValue v = measuredRecord();
        QCOMPARE(v.CalculateRGBMeasuredUnCorrectedSplines(false), 0);
        for (int c = 0; c < 6; ++c) {
            QVERIFY(v.m_Splines[c].IsValid());
            QCOMPARE(v.m_Splines[c].GetNumberOfPoints(), 9);
            QCOMPARE(v.m_Splines[c].GetSplineType(), SPLINE_CATMULL_ROM);
        }
        for (int i = 0; i < 9; ++i) {
            const double level = i / 8.0;
            const double response = std::pow(level, 2.4);
            QCOMPARE(v.m_Splines[CColorValue::kUncorrectedGreen].GetX(i), level);
            QVERIFY(std::fabs(v.m_Splines[CColorValue::kUncorrectedGreen].GetY(i) - response) < 1e-12);
            QVERIFY(std::fabs(v.m_Splines[CColorValue::kInverseBlue].GetX(i) - response) < 1e-12);
            QCOMPARE(v.m_Splines[CColorValue::kInverseBlue].GetY(i), level);
        }
        QVERIFY(!v.m_Splines[CColorValue::kCorrectedRed].IsValid());
    }

    void commonBlack_data()
    {
        QTest::addColumn<bool>("common");
        QTest::newRow("common black") << true;
        QTest::newRow("own blacks") << false;
    }
    void commonBlack()
    {
        QFETCH(bool, common);
        CColorValue v = measuredRecord();
        v.m_UncorrectedGreySteps = greyRamp(5, 2.2, CCIEXYZ(-0.001, 0.002, 0.004));
        QCOMPARE(v.CalculateRGBMeasuredUnCorrectedSplines(common), 0);
        const double blacks[3] = {-0.001, 0.002, 0.004};
        for (int c = 0; c < 3; ++c) {
            const double black = common ? 0.004 : blacks[c];
            const double expected = (blacks[c] - black) / (1.0 - black);
            QVERIFY(std::fabs(v.m_Splines[c].GetY(0) - expected) < 1e-12);
            QVERIFY(std::fabs(v.m_Splines[c].GetY(4) - 1.0) < 1e-12);
        }
    }

    // No curve is built from unusable measurements, and none changes.
    void unusableMeasurements_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("result");
        QTest::newRow("no grey steps") << 0 << -1;
        QTest::newRow("one grey step") << 1 << -1;
        QTest::newRow("equal primaries") << 2 << -2;
        QTest::newRow("white equals black") << 3 << -2;
        QTest::newRow("white below black in one channel") << 4 << -2;
        QTest::newRow("nan reading") << 5 << -2;
        QTest::newRow("infinite reading") << 6 << -2;
    }
    void unusableMeasurements()
    {
        QFETCH(int, variant);
        QFETCH(int, result);
        for (bool corrected : {false, true}) {
            CColorValue v = measuredRecord();
            QCOMPARE(v.CalculateRGBMeasuredUnCorrectedSplines(false), 0);
            QCOMPARE(v.CalculateRGBMeasuredCorrectedSplines(), 0);
            const CColorValue before(v);
            QVector<CCIEXYZ> &steps = corrected ? v.m_FinalGreySteps : v.m_UncorrectedGreySteps;
            CCIEXYZ *patches = corrected ? v.m_FinalPatches : v.m_AdjustedPatches;
            switch (variant) {
            case 0: steps.clear(); break;
            case 1: steps.resize(1); break;
            case 2: patches[CColorValue::kGreenPatch] = patches[CColorValue::kRedPatch]; break;
            case 3: steps.last() = steps.first(); break;
            case 4: steps.last().Z = -0.5; break;
            case 5: steps[3].Y = qQNaN(); break;
            case 6: steps[2].X = qInf(); break;
            }
            const int got = corrected ? v.CalculateRGBMeasuredCorrectedSplines()
                                      : v.CalculateRGBMeasuredUnCorrectedSplines(true);
            QCOMPARE(got, result);
            QVERIFY(sameCurves(v, before));
        }
    }

    void correctionCurves()
    {
        CColorValue v = measuredRecord();
        QCOMPARE(v.CalculateRGBMeasuredUnCorrectedSplines(false), 0);
        for (int c = 0; c < 3; ++c)
            v.m_Splines[CColorValue::kCorrectionRed + c].InitSpline(SPLINE_CATMULL_ROM, 9, 0, 1);

        CTargetValue target;
        target.CreateDefault();
        // Ratio 0: the inverse response at the target curve itself.
        QCOMPARE(v.CreateCorrectionSplines(&target), 0);
        for (int i = 0; i < 9; ++i) {
            const double x = i / 8.0;
            const double t = v.m_TargetCurve.GetYValX(x);
            QCOMPARE(v.m_Splines[CColorValue::kCorrectionRed].GetX(i), x);
            QCOMPARE(v.m_Splines[CColorValue::kCorrectionGreen].GetY(i),
                     v.m_Splines[CColorValue::kInverseGreen].GetYValX(t));
        }
        QVERIFY(v.m_Splines[CColorValue::kCorrectionBlue].IsValid());

        // W/CR = 100/500 = 0.2 above K = 0.1: the target black is lifted by
        // (0.2 − 0.1)/(100 − 0.1).
        target.m_ContrastRatio = 500;
        QCOMPARE(v.CreateCorrectionSplines(&target), 0);
        const double d = (0.2 - 0.1) / (100 - 0.1);
        QCOMPARE(v.m_Splines[CColorValue::kCorrectionRed].GetY(0),
                 v.m_Splines[CColorValue::kInverseRed].GetYValX(0.0 * (1 - d) + d));
        QVERIFY(v.m_Splines[CColorValue::kCorrectionRed].GetY(0) > 0);

        // W/CR not above K, or a native curve: no lift.
        for (auto setUp : {+[](CTargetValue &t) { t.m_ContrastRatio = 2000; },
                           +[](CTargetValue &t) {
                               t.m_ContrastRatio = 500;
                               t.m_GammaCurveType = CTargetValue::kCurveNative;
                           }}) {
            CTargetValue t = target;
            setUp(t);
            QCOMPARE(v.CreateCorrectionSplines(&t), 0);
            QCOMPARE(v.m_Splines[CColorValue::kCorrectionRed].GetY(0),
                     v.m_Splines[CColorValue::kInverseRed].GetYValX(0.0));
        }
    }

    void correctionNeedsResponses()
    {
        CColorValue v = measuredRecord();
        for (int c = 0; c < 3; ++c) {
            v.m_Splines[CColorValue::kCorrectionRed + c].InitSpline(SPLINE_CATMULL_ROM, 9, 0, 1);
            v.m_Splines[CColorValue::kCorrectionRed + c].SetValid(true);
        }
        CTargetValue target;
        target.CreateDefault();
        QCOMPARE(v.CreateCorrectionSplines(&target), -1014);
        for (int c = 0; c < 3; ++c)
            QVERIFY(!v.m_Splines[CColorValue::kCorrectionRed + c].IsValid());

        // Valid but pointless inverses (a stored record with one point).
        for (int c = 0; c < 3; ++c) {
            v.m_Splines[CColorValue::kInverseRed + c].InitSpline(SPLINE_CATMULL_ROM, 0, 0, 1);
            v.m_Splines[CColorValue::kInverseRed + c].AddPoint(Point2D{0, 0});
            v.m_Splines[CColorValue::kInverseRed + c].SetValid(true);
        }
        QCOMPARE(v.CreateCorrectionSplines(&target), -1014);
    }
};

QTEST_GUILESS_MAIN(TestColorValue)
#include "tst_colorvalue.moc"
