#include "CColorTemperature.h"
#include "TestSupport.h"

#include <QtTest>
#include <cmath>

using pz::test::hex;

class TestColorTemperature : public QObject {
    Q_OBJECT
private slots:
    void kelvinToChromaticity_data()
    {
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("1666") << 1666 << false << 0.0 << 0.0;
        QTest::newRow("1667") << 1667 << true << 0.56464 << 0.40289;
        QTest::newRow("3999") << 3999 << true << 0.380573 << 0.3768;
        QTest::newRow("4000") << 4000 << true << 0.382344 << 0.383766;
        QTest::newRow("6500") << 6500 << true << 0.31278 << 0.32918;
        QTest::newRow("7000") << 7000 << true << 0.305357 << 0.321646;
        QTest::newRow("7001") << 7001 << true << 0.305343 << 0.321632;
        QTest::newRow("25000") << 25000 << true << 0.249854 << 0.254799;
        QTest::newRow("25001") << 25001 << false << 0.0 << 0.0;
        QTest::newRow("65535") << 65535 << false << 0.0 << 0.0;
    }
    void kelvinToChromaticity()
    {
        QFETCH(int, kelvin);
        QFETCH(bool, ok);
        QFETCH(double, x);
        QFETCH(double, y);
        _CIExy xy{9, 9};
        QCOMPARE(CColorTemperature::CalcCIExy(static_cast<unsigned short>(kelvin), xy), ok);
        if (!ok) {
            QCOMPARE(xy.x, 0.0);
            QCOMPARE(xy.y, 0.0);
            return;
        }
        QVERIFY2(std::fabs(xy.x - x) < 6e-6, qPrintable(QString::number(xy.x, 'f', 7)));
        QVERIFY2(std::fabs(xy.y - y) < 1e-4, qPrintable(QString::number(xy.y, 'f', 7)));
    }

    // The y cubic switches at 2222 K and the locus at 4000 K.
    void locusBranches()
    {
        auto planckY = [](double x, bool low) {
            return low ? -1.1063814 * x * x * x - 1.3481102 * x * x + 2.18555832 * x - 0.20219683
                       : -0.9549476 * x * x * x - 1.37418593 * x * x + 2.09137015 * x - 0.16748867;
        };
        _CIExy a, b;
        QVERIFY(CColorTemperature::CalcCIExy(2221, a));
        QVERIFY(CColorTemperature::CalcCIExy(2222, b));
        QVERIFY(std::fabs(a.y - planckY(a.x, true)) < 1e-12);
        QVERIFY(std::fabs(b.y - planckY(b.x, false)) < 1e-12);

        _CIExy c3999, c4000;
        QVERIFY(CColorTemperature::CalcCIExy(3999, c3999));
        QVERIFY(CColorTemperature::CalcCIExy(4000, c4000));
        QVERIFY(std::fabs(c3999.y - 0.3768) < 1e-4);
        QVERIFY(std::fabs(c4000.y - 0.3838) < 1e-4);
    }

    void chromaticityToKelvin_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("minKelvin");
        QTest::addColumn<int>("maxKelvin");
        QTest::newRow("D65") << 0.3127 << 0.3290 << true << 6505 << 6505;
        QTest::newRow("D50") << 0.3457 << 0.3585 << true << 5001 << 5001;
        QTest::newRow("D75") << 0.2990 << 0.3149 << true << 7501 << 7520;
        QTest::newRow("warm") << 0.45 << 0.41 << true << 2838 << 2838;
        QTest::newRow("x too large") << 0.61 << 0.35 << false << 0 << 0;
        QTest::newRow("y too small") << 0.30 << 0.19 << false << 0 << 0;
        QTest::newRow("beyond 640 mired") << 0.58 << 0.39 << false << 0 << 0;
        QTest::newRow("nan") << qQNaN() << 0.3 << false << 0 << 0;
    }
    void chromaticityToKelvin()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, ok);
        QFETCH(int, minKelvin);
        QFETCH(int, maxKelvin);
        unsigned short kelvin = 1;
        double duv = 1;
        QCOMPARE(CColorTemperature::CalcColorTemperature(_CIExy{x, y}, kelvin, duv), ok);
        QVERIFY2(kelvin >= minKelvin && kelvin <= maxKelvin, qPrintable(QString::number(kelvin)));
        if (!ok)
            QCOMPARE(duv, 0.0);
    }

    void deltaUVFromLocusPoint()
    {
        unsigned short kelvin = 0;
        double duv = 0;
        QVERIFY(CColorTemperature::CalcColorTemperature(_CIExy{0.3127, 0.3290}, kelvin, duv));
        QVERIFY2(std::fabs(duv - 0.0000543) < 0.000003, qPrintable(QString::number(duv, 'g', 8)));

        // Above 25000 K no kelvin target exists: the interpolated, signed
        // locus distance stays.
        QVERIFY(CColorTemperature::CalcColorTemperature(_CIExy{0.25, 0.25}, kelvin, duv));
        QVERIFY(kelvin > 25000);
        QVERIFY2(std::fabs(std::fabs(duv) - 0.00066) < 0.00005,
                 qPrintable(QString::number(duv, 'g', 8)));
    }

    // Chromaticities hotter than 65535 K (below about 15.3 mired) have a
    // temperature the 16-bit field cannot hold: they get none.
    void temperatureAbove16BitsIsRefused()
    {
        // Points on the locus between rows 0 and 2 (infinite to 50000 K).
        for (double mired : {2.0, 8.0, 12.0, 15.0, 16.0}) {
            const double r = mired / 10.0;
            const double uA = 0.180046, vA = 0.263577; // row 0
            const double uB = 0.180638, vB = 0.265948; // row 1
            const double uC = 0.181309, vC = 0.268506; // row 2
            const double u = r <= 1 ? uA + (uB - uA) * r : uB + (uC - uB) * (r - 1);
            const double v = r <= 1 ? vA + (vB - vA) * r : vB + (vC - vB) * (r - 1);
            // back to x, y
            const double x = 3 * u / (2 * u - 8 * v + 4);
            const double y = 2 * v / (2 * u - 8 * v + 4);
            unsigned short kelvin = 7;
            double duv = 7;
            const bool ok = CColorTemperature::CalcColorTemperature(_CIExy{x, y}, kelvin, duv);
            if (mired <= 15.0) {
                QVERIFY2(!ok, qPrintable(QString::number(mired)));
                QCOMPARE(int(kelvin), 0);
                QCOMPARE(duv, 0.0);
            } else {
                QVERIFY(ok);
                QVERIFY(kelvin > 60000);
            }
        }
        unsigned short kelvin = 7;
        double duv = 7;
        QVERIFY(!CColorTemperature::CalcColorTemperatureOnLine(0.18, 0.27, 1, kelvin, duv));
        QVERIFY(!CColorTemperature::CalcColorTemperatureOnLine(0.18, 0.27, 0, kelvin, duv));
        QVERIFY(CColorTemperature::CalcColorTemperatureOnLine(0.18, 0.27, 2, kelvin, duv));
        QCOMPARE(int(kelvin), 50000);
    }

    // Between 1562 and about 1574 K the interpolation centres on the last
    // row; it must stay inside the table and continue its neighbours.
    void warmestRowsStayInsideTable()
    {
        const double u63 = 0.346646, v63 = 0.360515;
        const double u64 = 0.349746, v64 = 0.360483;
        double previousDuv = 0;
        int previousKelvin = 0;
        for (int step = 0; step <= 20; ++step) {
            // From halfway between the two warmest lines up to the last one,
            // slightly above the locus.
            const double f = 0.5 + step * 0.0245;
            const double u = u63 + (u64 - u63) * f;
            const double v = v63 + (v64 - v63) * f + 0.002;
            const double d = 2 * u - 8 * v + 4;
            unsigned short kelvin = 0;
            double duv = 0;
            QVERIFY(CColorTemperature::CalcColorTemperature(_CIExy{3 * u / d, 2 * v / d}, kelvin,
                                                            duv));
            QVERIFY(kelvin >= 1562 && kelvin <= 1588);
            QVERIFY(std::isfinite(duv));
            QVERIFY2(std::fabs(std::fabs(duv) - 0.002) < 0.0002,
                     qPrintable(QString::number(duv, 'g', 8)));
            if (previousKelvin) {
                QVERIFY(kelvin <= previousKelvin);
                QVERIFY(std::fabs(duv - previousDuv) < 0.00005);
            }
            previousKelvin = kelvin;
            previousDuv = duv;
        }
    }

    void constructors()
    {
        const CColorTemperature native(static_cast<unsigned short>(0));
        QVERIFY(native.m_Native);
        QVERIFY(native.m_KelvinForm);
        QCOMPARE(native.m_CIExy.x, 0.0);

        const CColorTemperature k6500(static_cast<unsigned short>(6500));
        QVERIFY(k6500.m_KelvinForm);
        QVERIFY(!k6500.m_Native);
        QCOMPARE(k6500.m_DeltaUV, 0.0);
        QVERIFY(std::fabs(k6500.m_CIExy.x - 0.31278) < 1e-5);

        const CColorTemperature free(CCIEYxy(120, 0.3127, 0.3290));
        QVERIFY(!free.m_KelvinForm);
        QVERIFY(!free.m_Native);
        QCOMPARE(int(free.m_Kelvin), 6505);
        QCOMPARE(free.m_CIExy.x, 0.3127);

        const CColorTemperature outside(_CIExy{0.61, 0.3});
        QCOMPARE(int(outside.m_Kelvin), 0);
        QCOMPARE(outside.m_DeltaUV, 0.0);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("native") << CColorTemperature(static_cast<unsigned short>(0)).GetCaptionStr()
                                << "Native";
        QTest::newRow("6500K") << CColorTemperature(static_cast<unsigned short>(6500)).GetCaptionStr()
                               << "6500K";
        QTest::newRow("900K") << CColorTemperature(static_cast<unsigned short>(900)).GetCaptionStr()
                              << "900K";
        QTest::newRow("D50") << CColorTemperature(_CIExy{0.3457, 0.3585}).GetCaptionStr() << "D50";
        QTest::newRow("D55") << CColorTemperature(_CIExy{0.3324, 0.3474}).GetCaptionStr() << "D55";
        QTest::newRow("D65") << CColorTemperature(_CIExy{0.3127, 0.3290}).GetCaptionStr() << "D65";
        QTest::newRow("D75") << CColorTemperature(_CIExy{0.2990, 0.3149}).GetCaptionStr() << "D75";
        QTest::newRow("near D65") << CColorTemperature(_CIExy{0.31271, 0.3290}).GetCaptionStr()
                                  << "x=0.313 y=0.329";
        QTest::newRow("x zero") << CColorTemperature(_CIExy{0, 0.33}).GetCaptionStr() << "";
        QTest::newRow("default") << CColorTemperature().GetCaptionStr() << "";
    }
    void captions()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        QCOMPARE(caption, expected);
    }

    void equality()
    {
        const CColorTemperature native(static_cast<unsigned short>(0));
        CColorTemperature otherNative(_CIExy{0.3, 0.3});
        otherNative.m_Native = true;
        QVERIFY(native == otherNative);
        QVERIFY(native != CColorTemperature(static_cast<unsigned short>(6500)));

        const CColorTemperature k6500(static_cast<unsigned short>(6500));
        QVERIFY(k6500 == CColorTemperature(static_cast<unsigned short>(6500)));
        QVERIFY(k6500 != CColorTemperature(static_cast<unsigned short>(6501)));
        QVERIFY(k6500 != CColorTemperature(k6500.m_CIExy));
        QVERIFY(CColorTemperature(k6500.m_CIExy) != k6500);

        QVERIFY(CColorTemperature(_CIExy{0.31249, 0.329}) != CColorTemperature(_CIExy{0.3125, 0.329}));
        QVERIFY(CColorTemperature(_CIExy{0.3124, 0.329}) == CColorTemperature(_CIExy{0.31249, 0.329}));
        // Absurd values compare without an overflowing conversion.
        QVERIFY(CColorTemperature(_CIExy{1e300, 0.3}) != CColorTemperature(_CIExy{-1e300, 0.3}));
    }

    void kelvinRecordBytes()
    {
        const QByteArray bytes = pz::test::recordBytes([](QDataStream &s) {
            QCOMPARE(CColorTemperature(static_cast<unsigned short>(5000)).WriteToFile(s), 0);
        });
        QCOMPARE(bytes, hex("0000fadf 00000065 01 1388 00"));

        CColorTemperature back(_CIExy{0.3, 0.3});
        QCOMPARE(pz::test::readRecordBytes(bytes, [&](QDataStream &s) {
                     QCOMPARE(back.ReadFromFile(s), 0);
                 }),
                 QDataStream::Ok);
        QVERIFY(back.m_KelvinForm);
        QCOMPARE(int(back.m_Kelvin), 5000);
        QVERIFY(std::fabs(back.m_CIExy.x - 0.345741) < 1e-6);
        QVERIFY(!back.m_Native);
    }

    void freeRecordRoundTrip()
    {
        CColorTemperature white(_CIExy{0.3127, 0.3290});
        white.m_Native = true;
        const QByteArray bytes = pz::test::recordBytes([&](QDataStream &s) { s << white; });
        QCOMPARE(bytes, hex("0000fadf 00000065 00 3fd40346dc5d6388 3fd50e5604189375 01"));
        QCOMPARE(bytes.size(), 26);
        CColorTemperature back;
        QCOMPARE(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QCOMPARE(back.m_CIExy.x, 0.3127);
        QCOMPARE(back.m_CIExy.y, 0.3290);
        QCOMPARE(int(back.m_Kelvin), 6505);
        QCOMPARE(back.m_DeltaUV, white.m_DeltaUV);
        QVERIFY(back.m_Native);
        QVERIFY(!back.m_KelvinForm);
    }

    void refusedRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("status");
        QTest::newRow("version 100") << hex("0000fadf 00000064 01 1388 00") << -1501
                                     << int(QDataStream::ReadCorruptData);
        QTest::newRow("version 102") << hex("0000fadf 00000066 01 1388 00") << -1501
                                     << int(QDataStream::ReadCorruptData);
        QTest::newRow("wrong magic") << hex("0000fade 00000065 01 1388 00") << -1502
                                     << int(QDataStream::ReadCorruptData);
        QTest::newRow("wrong magic, nothing after it") << hex("0000fade") << -1502
                                                       << int(QDataStream::ReadCorruptData);
        QTest::newRow("truncated") << hex("0000fadf 00000065 00 3fd4031ce0f3") << -1503
                                   << int(QDataStream::ReadPastEnd);
        QTest::newRow("no native byte") << hex("0000fadf 00000065 01 1388") << -1503
                                        << int(QDataStream::ReadPastEnd);
        QTest::newRow("empty") << QByteArray() << -1503 << int(QDataStream::ReadPastEnd);
    }
    void refusedRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        QFETCH(int, status);
        const CColorTemperature before(static_cast<unsigned short>(6500));

        CColorTemperature viaRead = before;
        QCOMPARE(int(pz::test::readRecordBytes(bytes, [&](QDataStream &s) {
                     QCOMPARE(viaRead.ReadFromFile(s), result);
                 })),
                 status);
        QVERIFY(viaRead == before);
        QCOMPARE(viaRead.m_CIExy.x, before.m_CIExy.x);

        CColorTemperature viaOperator = before;
        QCOMPARE(int(pz::test::readRecordBytes(bytes, [&](QDataStream &s) { s >> viaOperator; })),
                 status);
        QVERIFY(viaOperator == before);
    }

    void writeFailureIsReported()
    {
        QByteArray full;
        QDataStream s(&full, QIODevice::ReadOnly); // not writable
        s.setStatus(QDataStream::WriteFailed);
        QCOMPARE(CColorTemperature(static_cast<unsigned short>(6500)).WriteToFile(s), -1504);
    }
};

QTEST_GUILESS_MAIN(TestColorTemperature)
#include "tst_colortemperature.moc"
