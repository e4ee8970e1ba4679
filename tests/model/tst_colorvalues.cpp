#include "CCIEXYZ.h"
#include "TestSupport.h"

#include <QtTest>
#include <cmath>
#include <limits>

using pz::test::hex;

class TestColorValues : public QObject {
    Q_OBJECT
private slots:
    void conversionsGuardZeroY()
    {
        const CCIEXYZ fromYxy(CCIEYxy(100, 0.3127, 0));
        QCOMPARE(fromYxy.X, 0.0);
        QCOMPARE(fromYxy.Y, 100.0);
        QCOMPARE(fromYxy.Z, 0.0);
        const CCIEXYZ fromXy(_CIExy{0.3, 0.0});
        QCOMPARE(fromXy.X, 0.0);
        QCOMPARE(fromXy.Y, 1.0);
        QCOMPARE(fromXy.Z, 0.0);

        const CCIEXYZ unit(_CIExy{0.25, 0.5});
        QCOMPARE(unit.X, 0.5);
        QCOMPARE(unit.Y, 1.0);
        QCOMPARE(unit.Z, 0.5);
    }

    void zeroSumGivesZeroChromaticity()
    {
        const _CIExy xy = CCIEXYZ().GetCIExy();
        QCOMPARE(xy.x, 0.0);
        QCOMPARE(xy.y, 0.0);
        const CCIEYxy zero = CCIEXYZ().GetCIEYxy();
        QCOMPARE(zero.Y, 0.0);
        QCOMPARE(zero.x, 0.0);
        QCOMPARE(zero.y, 0.0);
        const CCIEYxy keepsLuminance = CCIEXYZ(-1, 2, -1).GetCIEYxy();
        QCOMPARE(keepsLuminance.Y, 2.0);
        QCOMPARE(keepsLuminance.x, 0.0);
        QCOMPARE(keepsLuminance.y, 0.0);
    }

    void roundTripThroughYxy_data()
    {
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::newRow("d65") << 95.047 << 100.0 << 108.883;
        QTest::newRow("red") << 41.24 << 21.26 << 1.93;
        QTest::newRow("dim") << 0.012 << 0.0131 << 0.0155;
        QTest::newRow("negative X") << -0.5 << 2.0 << 1.0;
    }
    void roundTripThroughYxy()
    {
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        const CCIEXYZ back = CCIEYxy(CCIEXYZ(X, Y, Z)).GetCIEXYZ();
        QVERIFY(std::fabs(back.X - X) <= 1e-12 * std::fabs(X) + 1e-15);
        QCOMPARE(back.Y, Y);
        QVERIFY(std::fabs(back.Z - Z) <= 1e-12 * std::fabs(Z) + 1e-15);
    }

    void equalityToleranceIsInclusiveAndSymmetric()
    {
        const CCIEXYZ a(10, 10, 10);
        QVERIFY(a == CCIEXYZ(10.05, 9.95, 10.1 - 0.0000001));
        QVERIFY(a != CCIEXYZ(9.8, 10, 10));
        QVERIFY(CCIEXYZ(9.8, 10, 10) != a);
        // A difference equal to the tolerance still counts as equal.
        QVERIFY(CCIEXYZ(0, 0, 0) == CCIEXYZ(0.1, -0.1, 0.1));
        QVERIFY(CCIEYxy(0, 0, 0) == CCIEYxy(0.1, 0.0001, -0.0001));

        const CCIEYxy w(100, 0.31, 0.33);
        QVERIFY(w == CCIEYxy(100.09, 0.31009, 0.32991));
        QVERIFY(CCIEYxy(100.09, 0.31009, 0.32991) == w);
        QVERIFY(w != CCIEYxy(100, 0.3098, 0.33));
        QVERIFY(w != CCIEYxy(100.2, 0.31, 0.33));
    }

    void scalarOperatorsAreUnguarded()
    {
        const CCIEXYZ q = 2.0 / CCIEXYZ(1, 0, 4);
        QCOMPARE(q.X, 2.0);
        QVERIFY(std::isinf(q.Y) && q.Y > 0);
        QCOMPARE(q.Z, 0.5);
        const CCIEXYZ d = 1.0 - CCIEXYZ(0.25, 2, -1);
        QCOMPARE(d.X, 0.75);
        QCOMPARE(d.Y, -1.0);
        QCOMPARE(d.Z, 2.0);
        const CCIEXYZ s = 0.5 + CCIEXYZ(1, 2, 3);
        QCOMPARE(s.Z, 3.5);
        const CCIEXYZ m = 3.0 * CCIEXYZ(1, 2, 3);
        QCOMPARE(m.Y, 6.0);
    }

    void streamFormsAreHeaderless()
    {
        const QByteArray xyz = pz::test::recordBytes(
            [](QDataStream &s) { s << CCIEXYZ(1.5, 2.5, 3.5); });
        QCOMPARE(xyz, hex("3ff8000000000000 4004000000000000 400c000000000000"));

        const QByteArray yxy = pz::test::recordBytes(
            [](QDataStream &s) { s << CCIEYxy(100, 0.25, 0.5); });
        QCOMPARE(yxy, hex("4059000000000000 3fd0000000000000 3fe0000000000000"));
        CCIEYxy back;
        QCOMPARE(pz::test::readRecordBytes(yxy, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QCOMPARE(back.Y, 100.0);
        QCOMPARE(back.x, 0.25);
        QCOMPARE(back.y, 0.5);

        CCIEXYZ shortRead;
        QCOMPARE(pz::test::readRecordBytes(xyz.left(20), [&](QDataStream &s) { s >> shortRead; }),
                 QDataStream::ReadPastEnd);
    }

    void temperatureOfColours()
    {
        QCOMPARE(int(CCIEXYZ().GetTemperature()), 0);
        QCOMPARE(int(CCIEXYZ(_CIExy{0.3127, 0.3290}).GetTemperature()), 6505);
        QCOMPARE(int((80.0 * CCIEXYZ(_CIExy{0.3127, 0.3290})).GetTemperature()), 6505);
        QCOMPARE(int(CCIEXYZ(41, 21, 2).GetTemperature()), 0);
    }
};

QTEST_GUILESS_MAIN(TestColorValues)
#include "tst_colorvalues.moc"
