#include "CSpline.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>

using pz::test::hex;

namespace {

CSpline curveThrough(std::initializer_list<Point2D> points, SplineType kind = SPLINE_CATMULL_ROM)
{
    CSpline c;
    c.InitSpline(kind, 0, 0.0, 1.0);
    for (const Point2D &p : points)
        c.AddPoint(p);
    return c;
}

CSpline identity256()
{
    CSpline c;
    c.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    return c;
}

} // namespace

class TestSpline : public QObject {
    Q_OBJECT
private slots:
    void freshCurve()
    {
        CSpline c;
        QCOMPARE(c.GetSplineType(), SPLINE_NONE);
        QCOMPARE(c.GetNumberOfPoints(), 0);
        QCOMPARE(c.GetVersion(), 101);
        QVERIFY(!c.IsValid());
        QCOMPARE(c.GetTension(), 1.0);
        QCOMPARE(c.GetBias(), 0.0);
        QCOMPARE(c.GetYValX(0.5), 0.0);
        QCOMPARE(c.GetXValY(0.5), 0.0);
        QCOMPARE(c.GetX(0), 0.0);
        QCOMPARE(c.GetY(3), 0.0);
        QCOMPARE(c.GetPoint(0).x, 0.0);
    }

    void identityCurve()
    {
        CSpline c = identity256();
        QCOMPARE(c.GetSplineType(), SPLINE_CATMULL_ROM);
        QCOMPARE(c.GetNumberOfPoints(), 256);
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(c.GetX(i), i / 255.0);
            QCOMPARE(c.GetY(i), i / 255.0);
        }
        for (int k = 0; k <= 1000; ++k) {
            const double x = k / 1000.0;
            QVERIFY(std::fabs(c.GetYValX(x) - x) < 1e-12);
            QVERIFY(std::fabs(c.GetXValY(x) - x) < 1e-12);
        }
    }

    void initSplineKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("storedKind");
        QTest::newRow("bezier") << 0 << 0;
        QTest::newRow("bspline") << 1 << 1;
        QTest::newRow("beta") << 2 << 2;
        QTest::newRow("hermite") << 3 << 3;
        QTest::newRow("catmull-rom") << 4 << 4;
        QTest::newRow("none") << 5 << 4;
        QTest::newRow("unknown") << 7 << 4;
        QTest::newRow("negative") << -1 << 4;
    }
    void initSplineKinds()
    {
        QFETCH(int, kind);
        QFETCH(int, storedKind);
        CSpline c;
        QCOMPARE(c.InitSpline(static_cast<SplineType>(kind), 3, 0.0, 1.0), 0);
        QCOMPARE(int(c.GetSplineType()), storedKind);
        QCOMPARE(c.GetBias(), kind == 2 ? 1.0 : 0.0);
        QCOMPARE(c.GetTension(), kind == 2 ? 0.0 : 1.0);
    }

    void initSplineGrid()
    {
        CSpline c;
        c.InitSpline(SPLINE_CATMULL_ROM, 1, 0.0, 1.0);
        QCOMPARE(c.GetNumberOfPoints(), 0);
        // The minimum is not added: the points run from 0 to max − min.
        c.InitSpline(SPLINE_CATMULL_ROM, 3, 0.5, 1.5);
        QCOMPARE(c.GetNumberOfPoints(), 3);
        QCOMPARE(c.GetX(0), 0.0);
        QCOMPARE(c.GetX(1), 0.5);
        QCOMPARE(c.GetX(2), 1.0);
        QCOMPARE(c.GetY(2), 1.0);
    }

    void evaluation_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("inside") << 0.25 << 0.09375;
        QTest::newRow("below first") << -1.0 << 0.0;
        QTest::newRow("beyond last") << 2.0 << 1.0;
        QTest::newRow("at 1.0") << 1.0 << 1.0;
        QTest::newRow("at a point") << 0.5 << 0.25;
    }
    void evaluation()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        CSpline c = curveThrough({{0, 0}, {0.5, 0.25}, {1, 1}});
        QCOMPARE(c.GetYValX(x), y);
    }

    void twoPointCurveIsLinear()
    {
        CSpline c = curveThrough({{0, 0}, {1, 1}});
        QCOMPARE(c.GetYValX(0.5), 0.5);
        CSpline d = curveThrough({{0, 0.2}, {1, 0.8}});
        QVERIFY(std::fabs(d.GetYValX(0.25) - 0.35) < 1e-15);
        QVERIFY(std::fabs(d.GetXValY(0.35) - 0.25) < 1e-15);
    }

    void overshootIsClamped()
    {
        // A steep rise to a flat top overshoots above 1 between the points.
        CSpline c = curveThrough({{0, 0}, {0.25, 0.0}, {0.5, 1.0}, {0.75, 1.0}, {1, 0.0}});
        double top = 0;
        for (int k = 0; k <= 100; ++k)
            top = std::max(top, c.GetYValX(k / 100.0));
        QCOMPARE(top, 1.0);
        CSpline raw = c;
        double r0 = 0;
        // The same curve on a wider range shows the overshoot it clamps away.
        double lo = -1, hi = 2;
        raw.SplineRange(lo, hi);
        for (int k = 0; k <= 100; ++k)
            r0 = std::max(r0, raw.GetYValX(k / 100.0));
        QVERIFY(r0 > 1.0);
    }

    // Each kind evaluated in the middle of the segment from 0.25 to 0.5 of
    // the points (0,0), (0.25,0.1), (0.5,0.4), (0.75,0.6), (1,1): P0..P3 =
    // 0, 0.1, 0.4, 0.6 at t = 0.5.
    void kindsAtHalf_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("bias");    // Beta-spline only; NaN: as InitSpline sets it
        QTest::addColumn<double>("tension"); // likewise
        QTest::addColumn<double>("expected");
        const double init = qQNaN();
        QTest::newRow("catmull-rom") << 4 << init << init << (-0.0 + 9 * 0.1 + 9 * 0.4 - 0.6) / 16;
        QTest::newRow("bezier") << 0 << init << init << (0.0 + 3 * 0.1 + 3 * 0.4 + 0.6) / 8;
        QTest::newRow("bspline") << 1 << init << init
                                 << 0.1 * (0.0625 - 0.25 + 0.6666) + 0.4 * (-0.0625 + 0.125 + 0.25 + 0.1666)
                                        + 0.6 * 0.1666 * 0.125;
        // Beta with bias 1, tension 0 is the uniform B-spline with exact sixths.
        QTest::newRow("beta") << 2 << init << init << (0.0 * 1 + 0.1 * 23 + 0.4 * 23 + 0.6 * 1) / 48;
        // Bias 2, tension 3: delta = 45, and at t = 1/2 the four weights are
        // 2/45, 29/45, 13.75/45 and 0.25/45.
        QTest::newRow("beta, bias 2, tension 3")
            << 2 << 2.0 << 3.0 << (0.0 * 2 + 0.1 * 29 + 0.4 * 13.75 + 0.6 * 0.25) / 45;
        QTest::newRow("hermite") << 3 << init << init << (-0.0 + 9 * 0.1 + 9 * 0.4 - 0.6) / 16;
        QTest::newRow("none") << 5 << init << init << 0.0;
    }
    void kindsAtHalf()
    {
        QFETCH(int, kind);
        QFETCH(double, bias);
        QFETCH(double, tension);
        QFETCH(double, expected);
        CSpline c = curveThrough({{0, 0}, {0.25, 0.1}, {0.5, 0.4}, {0.75, 0.6}, {1, 1}},
                                 static_cast<SplineType>(kind));
        if (!std::isnan(bias))
            c.SetBiasAndTension(bias, tension);
        if (kind == 5) {
            // A stored kind-5 curve: set it through the record reader.
            QByteArray bytes = pz::test::recordBytes([&](QDataStream &s) { s << c; });
            bytes[11] = 5;
            QCOMPARE(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> c; }),
                     QDataStream::Ok);
            QCOMPARE(c.GetSplineType(), SPLINE_NONE);
        }
        QVERIFY2(std::fabs(c.GetYValX(0.375) - expected) < 1e-12,
                 qPrintable(QString::number(c.GetYValX(0.375), 'g', 17)));
    }

    void gammaAndResampling()
    {
        CSpline c = identity256();
        c.SetSplineGamma(2.2);
        QCOMPARE(c.GetY(255), 1.0);
        QCOMPARE(c.GetY(128), std::pow(128 / 255.0, 2.2));
        QCOMPARE(c.GetX(128), 128 / 255.0);
        // The inverse of the gamma curve.
        QVERIFY(std::fabs(c.GetXValY(std::pow(0.5, 2.2)) - 0.5) < 1e-5);

        c.Reset();
        QCOMPARE(c.GetY(128), 128 / 255.0);

        CSpline r = identity256();
        QCOMPARE(r.SetNumberOfPoints(5), 0);
        QCOMPARE(r.GetNumberOfPoints(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(r.GetX(i), i * 0.25);
            QVERIFY(std::fabs(r.GetY(i) - i * 0.25) < 1e-12);
        }
        // One sample has no spacing: it is the curve's start.
        CSpline one = curveThrough({{0, 0.2}, {1, 0.9}});
        one.SetNumberOfPoints(1);
        QCOMPARE(one.GetNumberOfPoints(), 1);
        QCOMPARE(one.GetX(0), 0.0);
        QCOMPARE(one.GetY(0), 0.2);
        QVERIFY(std::isfinite(one.GetYValX(0.5)));
        one.SetNumberOfPoints(0);
        QCOMPARE(one.GetNumberOfPoints(), 0);
        one.SetNumberOfPoints(-3);
        QCOMPARE(one.GetNumberOfPoints(), 0);
    }

    void pointAccess()
    {
        CSpline c = curveThrough({{0, 0}, {0.5, 0.5}, {1, 1}});
        c.SetY(0.5, 0.3);
        QCOMPARE(c.GetY(1), 0.3);
        c.SetY(0.4, 0.9); // no point at 0.4
        QCOMPARE(c.GetNumberOfPoints(), 3);
        c.SetY(7, 0.9);
        c.SetXY(-1, 0.1, 0.1);
        c.SetXY(2, 1.0, 0.8);
        QCOMPARE(c.GetY(2), 0.8);
        c.InsertPoint(Point2D{0.25, 0.2}, 1);
        QCOMPARE(c.GetX(1), 0.25);
        c.InsertPoint(Point2D{2, 2}, 99);
        QCOMPARE(c.GetX(c.GetNumberOfPoints() - 1), 2.0);
        QCOMPARE(c.GetX(99), 0.0);
        QCOMPARE(c.GetX(-1), 0.0);

        Point2D p{-0.5, 1.5};
        c.ClampPoint(p);
        QCOMPARE(p.x, 0.0);
        QCOMPARE(p.y, 1.0);
    }

    void copyAndAssignment()
    {
        CSpline fresh; // kind 5
        fresh.AddPoint(Point2D{0, 0});
        fresh.AddPoint(Point2D{1, 1});
        CSpline copied(fresh);
        QVERIFY(copied == fresh);
        QCOMPARE(copied.GetSplineType(), SPLINE_NONE);

        CSpline assigned;
        assigned = fresh;
        QCOMPARE(assigned.GetSplineType(), SPLINE_CATMULL_ROM);
        QVERIFY(assigned != fresh);
        CSpline exact = identity256();
        exact.CopyFrom(fresh);
        QCOMPARE(exact.GetSplineType(), SPLINE_NONE);
        QVERIFY(exact == fresh);

        CSpline beta;
        beta.InitSpline(SPLINE_BETA, 4, 0, 1);
        beta.SetBiasAndTension(0.7, 0.3);
        beta.SetValid(true);
        CSpline target = identity256();
        target = beta;
        QVERIFY(target == beta);
        QCOMPARE(target.GetBias(), 0.7);
        QCOMPARE(target.GetTension(), 0.3);
        QVERIFY(target.IsValid());
        target = target;
        QVERIFY(target == beta);
    }

    void difference()
    {
        CSpline a = identity256();
        CSpline b = identity256();
        QCOMPARE(CSpline::Difference(&a, &b), 0.0);
        CSpline half = curveThrough({{0, 0.5}, {1, 0.5}});
        CSpline six = curveThrough({{0, 0.6}, {1, 0.6}});
        QVERIFY(std::fabs(CSpline::Difference(&half, &six) - 0.11) < 1e-12);
    }

    void recordLayout()
    {
        CSpline c = curveThrough({{0, 0}, {1, 1}});
        c.SetValid(true);
        const QByteArray bytes = pz::test::recordBytes([&](QDataStream &s) { s << c; });
        QCOMPARE(bytes.size(), 81);
        QCOMPARE(bytes, hex("0000fade 00000065 00000004"
                            "0000000000000000 3ff0000000000000" // range
                            "3ff0000000000000 0000000000000000" // tension, bias
                            "01 00000002"
                            "0000000000000000 0000000000000000"
                            "3ff0000000000000 3ff0000000000000"));

        CSpline big = identity256();
        QCOMPARE(pz::test::recordBytes([&](QDataStream &s) { s << big; }).size(), 49 + 16 * 256);

        CSpline back;
        QCOMPARE(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QVERIFY(back == c);
        QVERIFY(back.IsValid());
    }

    void refusedRecords_data()
    {
        const QByteArray good = pz::test::recordBytes([](QDataStream &s) {
            s << curveThrough({{0, 0}, {0.5, 0.7}, {1, 1}});
        });
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QByteArray magic = good;
        magic[3] = char(0xdf);
        QTest::newRow("magic 0xFADF") << magic << int(QDataStream::ReadCorruptData);
        QByteArray version = good;
        version[7] = 0x66;
        QTest::newRow("version 102") << version << int(QDataStream::ReadCorruptData);
        QTest::newRow("truncated in points") << good.left(good.size() - 3)
                                             << int(QDataStream::ReadPastEnd);
        QTest::newRow("truncated in header") << good.left(30) << int(QDataStream::ReadPastEnd);
        QByteArray negative = good;
        negative.replace(45, 4, hex("ffffffff"));
        QTest::newRow("negative count") << negative << int(QDataStream::ReadCorruptData);
        QByteArray absurd = good;
        absurd.replace(45, 4, hex("7fffffff"));
        QTest::newRow("absurd count") << absurd << int(QDataStream::ReadCorruptData);
        QByteArray tooMany = good;
        tooMany.replace(45, 4, hex("00010001"));
        QTest::newRow("65537 points") << tooMany << int(QDataStream::ReadCorruptData);
        QByteArray manyButShort = good;
        manyButShort.replace(45, 4, hex("00010000"));
        QTest::newRow("65536 points, data short") << manyButShort << int(QDataStream::ReadPastEnd);
    }
    void refusedRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        CSpline c = identity256();
        c.SetSplineGamma(1.8);
        const CSpline before(c);
        QCOMPARE(int(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> c; })), status);
        QVERIFY(c == before);
        QCOMPARE(c.GetSplineType(), before.GetSplineType());
    }

    // Seeded mutations of stored curves: the reader never crashes, never
    // leaves a half-read curve, and evaluating whatever it accepted is safe.
    void mutatedRecordsFuzz()
    {
        CSpline seed = identity256();
        seed.SetSplineGamma(2.2);
        const QByteArray good = pz::test::recordBytes([&](QDataStream &s) { s << seed; });
        QRandomGenerator rng(20261210);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = good;
            const int edits = 1 + int(rng.bounded(6));
            for (int e = 0; e < edits; ++e) {
                const int at = int(rng.bounded(qint64(bytes.size())));
                switch (rng.bounded(3)) {
                case 0: bytes[at] = char(rng.bounded(256)); break;
                case 1: bytes.truncate(at); break;
                default: bytes[at] = char(bytes[at] ^ (1 << rng.bounded(8))); break;
                }
                if (bytes.isEmpty())
                    break;
            }
            CSpline c = identity256();
            const QDataStream::Status st =
                pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> c; });
            if (st != QDataStream::Ok)
                QVERIFY(c == identity256());
            QVERIFY(c.GetNumberOfPoints() <= CSpline::kMaxStoredPoints);
            for (double x : {-0.5, 0.0, 0.3, 0.77, 1.0, 3.0}) {
                c.GetYValX(x);
                c.GetXValY(x);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSpline)
#include "tst_spline.moc"
