#include "CColorTemperature.h"
#include "TestSupport.h"

#include <QtTest>
#include <cmath>

using pz::test::hex;

namespace {

// The isotemperature lines as published: u, v and the slope t = du/dv of
// the line at 10·row mired.
const double kIsotemperatureLines[65][3] = {
    {0.180046, 0.263577, -4.09562}, {0.180638, 0.265948, -3.9133},  // 0, 10 mired
    {0.181309, 0.268506, -3.71055}, {0.182067, 0.271236, -3.49513},  // 20, 30 mired
    {0.182919, 0.274118, -3.2742}, {0.183872, 0.277131, -3.05386},  // 40, 50 mired
    {0.184932, 0.280251, -2.8389}, {0.186103, 0.283452, -2.63279},  // 60, 70 mired
    {0.187389, 0.286709, -2.43778}, {0.188792, 0.289997, -2.25517},  // 80, 90 mired
    {0.190312, 0.293293, -2.08544}, {0.191949, 0.296575, -1.92856},  // 100, 110 mired
    {0.193701, 0.299825, -1.78409}, {0.195566, 0.303025, -1.65136},  // 120, 130 mired
    {0.19754, 0.306162, -1.52956}, {0.199619, 0.309223, -1.41784},  // 140, 150 mired
    {0.201799, 0.312199, -1.31534}, {0.204074, 0.315083, -1.22121},  // 160, 170 mired
    {0.20644, 0.317868, -1.13468}, {0.208891, 0.32055, -1.05503},  // 180, 190 mired
    {0.211423, 0.323126, -0.981592}, {0.21403, 0.325595, -0.913771},  // 200, 210 mired
    {0.216706, 0.327956, -0.851035}, {0.219449, 0.330208, -0.792904},  // 220, 230 mired
    {0.222251, 0.332354, -0.738952}, {0.22511, 0.334393, -0.688801},  // 240, 250 mired
    {0.22802, 0.336329, -0.642113}, {0.230978, 0.338163, -0.598586},  // 260, 270 mired
    {0.233979, 0.339897, -0.557953}, {0.23702, 0.341536, -0.519975},  // 280, 290 mired
    {0.240097, 0.34308, -0.484439}, {0.243206, 0.344534, -0.451151},  // 300, 310 mired
    {0.246345, 0.345901, -0.419941}, {0.249511, 0.347183, -0.390652},  // 320, 330 mired
    {0.252699, 0.348384, -0.363145}, {0.255909, 0.349508, -0.337292},  // 340, 350 mired
    {0.259136, 0.350557, -0.312978}, {0.262379, 0.351534, -0.290097},  // 360, 370 mired
    {0.265635, 0.352443, -0.268554}, {0.268902, 0.353287, -0.248261},  // 380, 390 mired
    {0.272179, 0.354069, -0.229137}, {0.275462, 0.354791, -0.211108},  // 400, 410 mired
    {0.27875, 0.355457, -0.194104}, {0.282042, 0.35607, -0.178063},  // 420, 430 mired
    {0.285335, 0.356631, -0.162926}, {0.288629, 0.357144, -0.148638},  // 440, 450 mired
    {0.291922, 0.357611, -0.135149}, {0.295211, 0.358034, -0.122412},  // 460, 470 mired
    {0.298497, 0.358417, -0.110382}, {0.301778, 0.35876, -0.099019},  // 480, 490 mired
    {0.305053, 0.359066, -0.088284}, {0.30832, 0.359338, -0.078141},  // 500, 510 mired
    {0.311579, 0.359577, -0.068557}, {0.314829, 0.359785, -0.059499},  // 520, 530 mired
    {0.318068, 0.359964, -0.050939}, {0.321297, 0.360115, -0.042848},  // 540, 550 mired
    {0.324514, 0.36024, -0.0352}, {0.327718, 0.360342, -0.02797},  // 560, 570 mired
    {0.330909, 0.36042, -0.021135}, {0.334087, 0.360477, -0.014673},  // 580, 590 mired
    {0.33725, 0.360513, -0.008564}, {0.340397, 0.360531, -0.002787},  // 600, 610 mired
    {0.34353, 0.360531, 0.002674}, {0.346646, 0.360515, 0.007839},  // 620, 630 mired
    {0.349746, 0.360483, 0.012722},  // 640 mired
};

} // namespace

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

    // Every row of the table, through a point on its own line well below
    // the locus (Δuv -0.03): a typo in a row's u, v or t moves the line and
    // the temperature found there.
    void everyIsotemperatureLine_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 1; row < 65; ++row) {
            if (1000000 / (10 * row) <= 65535)
                QTest::newRow(qPrintable(QStringLiteral("%1 mired").arg(10 * row))) << row;
        }
    }
    void everyIsotemperatureLine()
    {
        QFETCH(int, row);
        const double *line = kIsotemperatureLines[row];
        const double length = std::sqrt(line[2] * line[2] + 1.0);
        // A hair towards the hotter side, so that rounding cannot put the
        // point on the warmest line outside the table.
        const double u = line[0] - 0.03 * line[2] / length - 1e-12;
        const double v = line[1] - 0.03 / length;
        const double d = 2 * u - 8 * v + 4;
        unsigned short kelvin = 0;
        double duv = 0;
        QVERIFY(CColorTemperature::CalcColorTemperature(_CIExy{3 * u / d, 2 * v / d}, kelvin, duv));
        // On the line the temperature is the line's own, trunc(1e6 / mired):
        // the hair above moves it by far less than a kelvin, upwards.
        QCOMPARE(int(kelvin), 1000000 / (10 * row));
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
