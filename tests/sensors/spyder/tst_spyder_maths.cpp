// The Spyder3/4 calibration maths on their own: checksum, clock, the level-1
// and level-2 sums, the matrix inversion and regression, the Spyder4 fit,
// and the two fixed tables it rests on (the CIE observer and the display
// weightings).

#include "SimSpyderEeprom.h"
#include "spyder_calibration.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace spyder;

namespace {

int indexOf(int nm)
{
    return (nm - 380) / 10;
}

bool isStrictMaximum(const double *row, int i)
{
    return i > 0 && i < kSpectralSamples - 1 && row[i] > row[i - 1] && row[i] > row[i + 1];
}

// The sensitivities the simulated Spyder4's image carries.
void imageSensitivities(double s[kS4Channels][kSpectralSamples])
{
    const QByteArray image = pz::SimSpyderEeprom::spyder4();
    for (int k = 0; k < kS4Channels; ++k) {
        for (int i = 0; i < kSpectralSamples; ++i) {
            const int at = 170 + 2 * (k * kSpectralSamples + i);
            s[k][i] = ((quint8(image[at]) << 8) | quint8(image[at + 1])) / 100.0;
        }
    }
}

} // namespace

class TestSpyderMaths : public QObject {
    Q_OBJECT

private slots:
    void crc32()
    {
        const QByteArray text("123456789");
        const quint32 crc = CRC32_Fini(CRC32_Calc(
            CRC32_Init(), reinterpret_cast<const quint8 *>(text.constData()), 9));
        QCOMPARE(crc, 0xCBF43926u);
        QCOMPARE(CRC32_TABLE[1], 0x77073096u);
        QCOMPARE(CRC32_TABLE[255], 0x2D02EF8Du);
        // The simulator seals its images with its own bitwise CRC.
        QCOMPARE(pz::SimSpyderEeprom::crc32(text.constData(), 9), 0xCBF43926u);
    }

    void clockForTime_data()
    {
        QTest::addColumn<int>("time");
        QTest::addColumn<quint32>("clock");
        QTest::newRow("6") << 6 << 100000u;
        QTest::newRow("90") << 90 << 1500000u;
        QTest::newRow("300") << 300 << 5000000u;
        QTest::newRow("7") << 7 << 116666u;
        QTest::newRow("1100 limited") << 1100 << 0xFFFFFFu;
        QTest::newRow("65535 limited") << 65535 << 0xFFFFFFu;
    }

    void clockForTime()
    {
        QFETCH(int, time);
        QFETCH(quint32, clock);
        QCOMPARE(spyder::clockForTime(quint32(time)), clock);
    }

    void level1SkipsElement1()
    {
        float set[kSetSize] = {0.5f, 99.0f, 0.001f, 0.002f, 0.003f, 0.004f, 0.005f, 0.006f, 0.007f};
        set[9] = 1.0f;                  // Y constant
        set[kRowSize + 1] = 50.0f;      // unused
        set[kRowSize + 3] = 0.01f;      // channel 2
        set[2 * kRowSize + 8] = 0.02f;  // channel 7
        const float f[8] = {777, 1000, 1000, 1000, 1000, 1000, 1000, 1000};
        const Tristimulus t = CalcLevel1(set, f, false, 0, 4);
        QVERIFY(std::fabs(t.X - 28.5) < 1e-6);   // the weights are single precision
        QCOMPARE(t.Y, 1.0 + 1000 * double(0.01f));
        QCOMPARE(t.Z, 1000 * double(0.02f));
    }

    void europaUsesChannels0To3ScaledByGain_data()
    {
        QTest::addColumn<int>("reference");
        QTest::addColumn<int>("gain");
        QTest::addColumn<double>("factor");
        QTest::newRow("equal") << 4 << 4 << 1.0;
        QTest::newRow("reference twice the gain") << 8 << 4 << 2.0;
        QTest::newRow("gain 16") << 4 << 16 << 0.25;
    }

    void europaUsesChannels0To3ScaledByGain()
    {
        QFETCH(int, reference);
        QFETCH(int, gain);
        QFETCH(double, factor);
        float set[kSetSize] = {};
        set[1] = set[kRowSize + 1] = set[2 * kRowSize + 1] = 1000.0f;   // never used
        set[0] = 1.0f;
        set[2] = 0.5f;                  // channel 0
        set[5] = 0.25f;                 // channel 3
        set[6] = 1000.0f;               // channel 4: not used on version 5
        set[kRowSize + 3] = 0.5f;       // channel 1
        set[2 * kRowSize + 4] = 0.5f;   // channel 2
        const float f[8] = {10, 20, 30, 40, 50, 60, 70, 80};
        const Tristimulus t = CalcLevel1(set, f, true, quint8(reference), quint8(gain));
        QCOMPARE(t.X, (1.0 + 5.0 + 10.0) * factor);
        QCOMPARE(t.Y, 10.0 * factor);
        QCOMPARE(t.Z, 15.0 * factor);
    }

    void level2HasNineTerms()
    {
        float set[kSetSize] = {1, 0, 0, 0.1f};
        // Y row: Y² only; Z row: XZ and YZ.
        set[kRowSize + 7] = 1.0f;
        set[2 * kRowSize + 4] = 1.0f;
        set[2 * kRowSize + 5] = 2.0f;
        const Tristimulus t = CalcLevel2(set, Tristimulus{2, 3, 4});
        QCOMPARE(t.X, 2.0 + double(0.1f) * 6.0);
        QVERIFY(std::fabs(t.X - 2.6) < 1e-7);
        QCOMPARE(t.Y, 9.0);
        QCOMPARE(t.Z, 8.0 + 2.0 * 12.0);
    }

    void spyder4Level1UsesChannels1To7()
    {
        float coeff[21] = {};
        coeff[0] = 1.0f;      // X from channel 1
        coeff[7 + 6] = 2.0f;  // Y from channel 7
        coeff[14 + 2] = 0.5f; // Z from channel 3
        const float f[8] = {1e6f, 10, 20, 30, 40, 50, 60, 70};
        const Tristimulus t = CalcS4Level1(coeff, f);
        QCOMPARE(t.X, 10.0);
        QCOMPARE(t.Y, 140.0);
        QCOMPARE(t.Z, 15.0);
    }

    void symmetricInverse()
    {
        // A symmetric matrix whose largest diagonal is not first.
        double m[9] = {2, 1, 0, 1, 5, 2, 0, 2, 3};
        const double original[9] = {2, 1, 0, 1, 5, 2, 0, 2, 3};
        QCOMPARE(SymmetricMatrixInvert(m, 3), 1);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                double sum = 0;
                for (int k = 0; k < 3; ++k)
                    sum += original[i * 3 + k] * m[k * 3 + j];
                QVERIFY2(std::fabs(sum - (i == j ? 1.0 : 0.0)) < 1e-12, qPrintable(QString::number(sum)));
            }
            for (int j = 0; j < 3; ++j)
                QCOMPARE(m[i * 3 + j], m[j * 3 + i]);
        }
        // det = 2(15 - 4) - 1(3 - 0) = 19; (inverse)[0][0] = 11/19.
        QVERIFY(std::fabs(m[0] - 11.0 / 19.0) < 1e-15);
    }

    void symmetricInverseOfRandomMatrices()
    {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> u(-1, 1);
        for (int round = 0; round < 50; ++round) {
            const int n = 2 + round % 7;
            std::vector<double> b(size_t(n * n)), a(size_t(n * n), 0.0);
            for (double &v : b)
                v = u(rng);
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    for (int k = 0; k < n; ++k)
                        a[size_t(i * n + j)] += b[size_t(k * n + i)] * b[size_t(k * n + j)];
            for (int i = 0; i < n; ++i)
                a[size_t(i * n + i)] += 0.1;
            std::vector<double> inv = a;
            QCOMPARE(SymmetricMatrixInvert(inv.data(), n), 1);
            for (int i = 0; i < n; ++i) {
                for (int j = 0; j < n; ++j) {
                    double sum = 0;
                    for (int k = 0; k < n; ++k)
                        sum += a[size_t(i * n + k)] * inv[size_t(k * n + j)];
                    QVERIFY(std::fabs(sum - (i == j ? 1.0 : 0.0)) < 1e-8);
                }
            }
        }
    }

    void singularMatricesAreRefused_data()
    {
        QTest::addColumn<QVector<double>>("matrix");
        QTest::newRow("zero") << QVector<double>{0, 0, 0, 0};
        QTest::newRow("rank 1") << QVector<double>{1, 2, 2, 4};
        QTest::newRow("zero row") << QVector<double>{3, 0, 0, 0};
        QTest::newRow("not a number") << QVector<double>{qQNaN(), 0, 0, qQNaN()};
    }

    void singularMatricesAreRefused()
    {
        QFETCH(QVector<double>, matrix);
        QCOMPARE(SymmetricMatrixInvert(matrix.data(), 2), 0);
    }

    // Each pivot is judged against its own row's size: a row that repeats
    // another within rounding is refused at any scale, a small row that
    // stands on its own is not.
    void pivotsAreJudgedAgainstTheirRow_data()
    {
        QTest::addColumn<QVector<double>>("matrix");
        QTest::addColumn<int>("result");
        QTest::newRow("rows equal within 1e-10") << QVector<double>{1, 1, 1, 1 + 1e-10} << 0;
        QTest::newRow("rows apart by 1e-7") << QVector<double>{1, 1, 1, 1 + 1e-7} << 1;
        QTest::newRow("scaled down, apart by 1e-7")
            << QVector<double>{1e-12, 1e-12, 1e-12, 1e-12 + 1e-19} << 1;
        QTest::newRow("scaled up, equal within 1e-10")
            << QVector<double>{1e12, 1e12, 1e12, 1e12 + 100} << 0;
        QTest::newRow("a tiny row of its own") << QVector<double>{1e-12, 0, 0, 1} << 1;
    }

    void pivotsAreJudgedAgainstTheirRow()
    {
        QFETCH(QVector<double>, matrix);
        QFETCH(int, result);
        const QVector<double> original = matrix;
        QCOMPARE(SymmetricMatrixInvert(matrix.data(), 2), result);
        if (result == 1) {
            const double det = original[0] * original[3] - original[1] * original[2];
            QVERIFY(std::fabs(matrix[0] * det / original[3] - 1) < 1e-6);
        }
    }

    // Counts, periods and stamps that no measurement window can hold.
    void plausibleCounts_data()
    {
        QTest::addColumn<quint32>("count");
        QTest::addColumn<quint32>("period");
        QTest::addColumn<quint32>("span");   // last stamp minus first, µs
        QTest::addColumn<bool>("plausible");
        const quint32 clock = 1500000;
        QTest::newRow("sound") << 21000u << 1495000u << 1495000u << true;
        QTest::newRow("no pulses") << 0u << clock << 0u << true;
        QTest::newRow("no pulses, stamps apart") << 0u << clock << 1495000u << false;
        QTest::newRow("no pulses, stamps one unit apart") << 0u << clock << 8u << false;
        QTest::newRow("one pulse, no period") << 1u << 0u << 0u << true;
        QTest::newRow("one pulse, stamps apart") << 1u << 8u << 8u << false;
        QTest::newRow("two pulses, no period") << 2u << 0u << 0u << false;
        QTest::newRow("pulses, no period") << 21000u << 0u << 0u << false;
        QTest::newRow("period 1 % over the window")
            << 21000u << clock + 15000 + 16 << clock + 15000 + 16 << true;
        QTest::newRow("period beyond that")
            << 21000u << clock + 15000 + 17 << clock + 15000 + 17 << false;
        QTest::newRow("1.5 MHz") << 2242501u << 1495000u << 1495000u << true;
        QTest::newRow("above 1.5 MHz") << 2242502u << 1495000u << 1495000u << false;
        QTest::newRow("24-bit count in 1.5 s") << 0xFFFFFFu << 1495000u << 1495000u << false;
        // n pulses span (window − 2 lag)(n − 1)/(n + 1) − 2 lag at least.
        const double lag = kMaxRefreshLagUs;
        auto shortest = [&](double n) {
            return quint32(std::ceil((clock - 2 * lag) * (n - 1) / (n + 1) - 2 * lag -
                                     kStampSlackUs));
        };
        QTest::newRow("two pulses, shortest span") << 2u << shortest(2) << shortest(2) << true;
        QTest::newRow("two pulses, shorter") << 2u << shortest(2) - 1 << shortest(2) - 1 << false;
        QTest::newRow("ten pulses, shortest span") << 10u << shortest(10) << shortest(10) << true;
        QTest::newRow("ten pulses over half the window") << 10u << clock / 2 << clock / 2 << false;
        QTest::newRow("21000 pulses, shortest span")
            << 21000u << shortest(21000) << shortest(21000) << true;
        QTest::newRow("21000 pulses over 95 %") << 21000u << clock / 100 * 95 << clock / 100 * 95
                                               << false;
    }

    void plausibleCounts()
    {
        QFETCH(quint32, count);
        QFETCH(quint32, period);
        QFETCH(quint32, span);
        QFETCH(bool, plausible);
        // The damage shows in any channel.
        for (int damaged = 0; damaged < 8; ++damaged) {
            quint32 counts[8], periods[8], spans[8];
            std::fill(counts, counts + 8, 21000u);
            std::fill(periods, periods + 8, 1495000u);
            std::fill(spans, spans + 8, 1495000u);
            counts[damaged] = count;
            periods[damaged] = period;
            spans[damaged] = span;
            QCOMPARE(countsArePlausible(counts, periods, spans, 1500000), plausible);
        }
    }

    // What a light can be: each bound of the locus box, negatives and
    // black, each allowed the reading's noise.
    void lights_data()
    {
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::addColumn<double>("noise");   // of each component
        QTest::addColumn<bool>("luminanceOnly");
        QTest::addColumn<bool>("lightShown");
        QTest::addColumn<bool>("light");
        // x, y as XYZ of Y = 1 (Z = (1 − x − y)/y).
        auto row = [](const char *name, double x, double y, double noise, bool light) {
            QTest::newRow(name) << x / y << 1.0 << (1 - x - y) / y << noise << false << true
                                << light;
        };
        row("D65", 0.3127, 0.3290, 0, true);
        // 99 % and 101 % of the way from D65 to the locus, at 400, 505 (the
        // least x), 520 (the most y) and 700 nm (the most x).
        auto towards = [&](const char *name, double lx, double ly, double share, bool light) {
            row(name, 0.3127 + share * (lx - 0.3127), 0.3290 + share * (ly - 0.3290), 0, light);
        };
        towards("400 nm, inside", 0.1733, 0.0048, 0.99, true);
        towards("400 nm, outside", 0.1733, 0.0048, 1.03, false);
        towards("505 nm, inside", 0.0039, 0.6548, 0.99, true);
        towards("505 nm, outside", 0.0039, 0.6548, 1.03, false);
        towards("520 nm, inside", 0.0743, 0.8338, 0.99, true);
        towards("520 nm, outside", 0.0743, 0.8338, 1.03, false);
        towards("700 nm, inside", 0.7347, 0.2653, 0.99, true);
        towards("700 nm, outside", 0.7347, 0.2653, 1.03, false);
        row("above the purple line", 0.45, 0.2, 0, true);
        row("below the purple line", 0.45, 0.1, 0, false);
        row("below the purple line, within the noise", 0.45, 0.1, 0.5, true);
        row("x + y above 1", 0.3, 0.7001, 0, false);
        row("x + y above 1, within the noise", 0.3, 0.7001, 0.001, true);
        QTest::newRow("X below zero") << -0.02 << 1.0 << 1.0 << 0.01 << false << true << false;
        QTest::newRow("X below zero within the noise")
            << -0.01 << 1.0 << 1.0 << 0.05 << false << true << true;
        QTest::newRow("Y below zero") << 1.0 << -0.02 << 1.0 << 0.01 << false << true << false;
        QTest::newRow("Y 0, X and Z lit") << 95.0 << 0.0 << 109.0 << 0.01 << false << true
                                          << false;
        QTest::newRow("black, counts lit") << 0.0 << 0.0 << 0.0 << 0.0 << false << true << false;
        QTest::newRow("black within the noise, counts lit")
            << 0.005 << 0.005 << 0.005 << 0.01 << false << true << false;
        QTest::newRow("black, counts dark") << 0.0 << 0.0 << 0.0 << 0.0 << false << false << true;
        QTest::newRow("not a number") << qQNaN() << 1.0 << 1.0 << 0.0 << false << true << false;
        QTest::newRow("luminance") << 0.0 << 1.0 << 0.0 << 0.0 << true << true << true;
        QTest::newRow("luminance black") << 0.0 << 0.0 << 0.0 << 0.01 << true << true << false;
        QTest::newRow("luminance below zero") << 0.0 << -0.02 << 0.0 << 0.01 << true << false
                                              << false;
    }

    void lights()
    {
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        QFETCH(double, noise);
        QFETCH(bool, luminanceOnly);
        QFETCH(bool, lightShown);
        QFETCH(bool, light);
        QCOMPARE(isALight(Tristimulus{X, Y, Z}, Tristimulus{noise, noise, noise}, luminanceOnly,
                          lightShown),
                 light);
    }

    void regressFitsAndRefuses()
    {
        // y = 2 a + 3 b over five samples.
        const double a[5] = {1, 2, 3, 4, 5}, b[5] = {1, 0, 2, 1, 3};
        double predictors[10], targets[5];
        const double weights[5] = {1, 1, 1, 1, 1};
        for (int s = 0; s < 5; ++s) {
            predictors[s] = a[s];
            predictors[5 + s] = b[s];
            targets[s] = 2 * a[s] + 3 * b[s];
        }
        double c[2] = {-1, -1};
        QCOMPARE(Regress(targets, predictors, weights, c, 2, 5), 1);
        QVERIFY(std::fabs(c[0] - 2) < 1e-12 && std::fabs(c[1] - 3) < 1e-12);

        // No more samples than predictors, or collinear predictors: refused,
        // coefficients untouched.
        c[0] = c[1] = -1;
        QCOMPARE(Regress(targets, predictors, weights, c, 2, 2), 0);
        for (int s = 0; s < 5; ++s)
            predictors[5 + s] = 2 * a[s];
        QCOMPARE(Regress(targets, predictors, weights, c, 2, 5), 0);
        QCOMPARE(c[0], -1.0);
    }

    void observerSpotValues_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("nm");
        QTest::addColumn<double>("value");
        QTest::newRow("x 380") << 0 << 380 << 0.0014;
        QTest::newRow("z 380") << 2 << 380 << 0.0065;
        QTest::newRow("z 450") << 2 << 450 << 1.7721;
        QTest::newRow("y 550") << 1 << 550 << 0.9950;
        QTest::newRow("y 560") << 1 << 560 << 0.9950;
        QTest::newRow("x 600") << 0 << 600 << 1.0622;
        QTest::newRow("y 780") << 1 << 780 << 0.0;
        QTest::newRow("x 440") << 0 << 440 << 0.3483;
        QTest::newRow("x 500 (minimum)") << 0 << 500 << 0.0049;
        QTest::newRow("y 500") << 1 << 500 << 0.3230;
    }

    void observerSpotValues()
    {
        QFETCH(int, row);
        QFETCH(int, nm);
        QFETCH(double, value);
        QCOMPARE(xyz_bar_[row][indexOf(nm)], value);
    }

    void observerShape()
    {
        // Sums of the 10 nm table (equal-energy white: nearly equal), and
        // chromaticities of the spectral locus.
        const double sums[3] = {10.6837, 10.6856, 10.6771};
        for (int r = 0; r < 3; ++r) {
            double sum = 0;
            for (double v : xyz_bar_[r])
                sum += v;
            QVERIFY2(std::fabs(sum - sums[r]) < 0.002, qPrintable(QString::number(sum)));
        }
        const struct { int nm; double x, y; } locus[] = {
            {450, 0.1566, 0.0177}, {520, 0.0743, 0.8338}, {560, 0.3731, 0.6245},
            {600, 0.6270, 0.3725}};
        for (const auto &p : locus) {
            const int i = indexOf(p.nm);
            const double s = xyz_bar_[0][i] + xyz_bar_[1][i] + xyz_bar_[2][i];
            QVERIFY(std::fabs(xyz_bar_[0][i] / s - p.x) < 0.0005);
            QVERIFY(std::fabs(xyz_bar_[1][i] / s - p.y) < 0.0005);
        }
        // ȳ peaks at 550-560; x̄ has its two humps at 440 and 600; z̄ at 450.
        QVERIFY(isStrictMaximum(xyz_bar_[0], indexOf(440)));
        QVERIFY(isStrictMaximum(xyz_bar_[0], indexOf(600)));
        QVERIFY(isStrictMaximum(xyz_bar_[2], indexOf(450)));
    }

    // The display weightings: every stated fact of each row. Wavelengths up
    // to 420 nm hold given starting values, whose small bumps do not count
    // as the row's maxima.
    void weightingRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("peakNm");
        QTest::addColumn<double>("peak");
        QTest::addColumn<QVector<int>>("maxima");   // every maximum from 430 nm on
        QTest::addColumn<QVector<double>>("start"); // 380-420 nm, when given
        QTest::newRow("1") << 1 << 610 << 0.092 << QVector<int>{460, 490, 540, 590, 610}
                           << QVector<double>{};
        QTest::newRow("2") << 2 << 660 << 0.1114 << QVector<int>{450, 520, 610, 630, 660}
                           << QVector<double>{0.0003, 0.0015, 0.0012, 0.0041, 0.0173};
        QTest::newRow("3") << 3 << 460 << 0.0784 << QVector<int>{460, 540, 590}
                           << QVector<double>{0, 0.0009, 0, 0, 0.0057};
        QTest::newRow("4") << 4 << 640 << 0.0961 << QVector<int>{450, 520, 640}
                           << QVector<double>{0, 0.001, 0, 0, 0.0043};
        QTest::newRow("5") << 5 << 620 << 0.1575 << QVector<int>{440, 520, 620, 700}
                           << QVector<double>{};
    }

    void weightingRows()
    {
        QFETCH(int, row);
        QFETCH(int, peakNm);
        QFETCH(double, peak);
        QFETCH(QVector<int>, maxima);
        QFETCH(QVector<double>, start);
        const double *w = weight_val_[row];
        double sum = 0;
        for (int i = 0; i < kSpectralSamples; ++i) {
            QVERIFY(w[i] >= 0.0);
            QVERIFY(w[i] <= peak);
            sum += w[i];
        }
        QVERIFY2(sum >= 1.1 && sum <= 1.6, qPrintable(QString::number(sum)));
        QCOMPARE(w[indexOf(peakNm)], peak);
        QVector<int> found;
        for (int nm = 430; nm < 780; nm += 10) {
            if (isStrictMaximum(w, indexOf(nm)))
                found.append(nm);
        }
        QCOMPARE(found, maxima);
        for (int i = 0; i < start.size(); ++i)
            QCOMPARE(w[i], start[i]);
        if (row == 4) {   // the other two maxima's values
            QCOMPARE(w[indexOf(450)], 0.0736);
            QCOMPARE(w[indexOf(520)], 0.0705);
        }
    }

    void flatWeighting()
    {
        for (double v : weight_val_[0])
            QCOMPARE(v, 1.0);
    }

    // The simulated Spyder4's sensitivities are x̄, ȳ, z̄ themselves on
    // channels 1-3, so every weighting fits 0.00683 on the diagonal.
    void fitOfTheSimulatedSensitivities_data()
    {
        QTest::addColumn<int>("row");
        for (int r = 0; r < kWeightingRows; ++r)
            QTest::newRow(qPrintable(QStringLiteral("row %1").arg(r))) << r;
    }

    void fitOfTheSimulatedSensitivities()
    {
        QFETCH(int, row);
        double s[kS4Channels][kSpectralSamples];
        imageSensitivities(s);
        float coeff[21];
        QCOMPARE(S4_FitCoefficients(s, 300 / 100000.0, row, coeff), 1);
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < kS4Channels; ++k) {
                const double c = coeff[j * kS4Channels + k];
                if (k == j)
                    QVERIFY2(std::fabs(c - 0.00683) < 1e-8, qPrintable(QString::number(c, 'g', 12)));
                else
                    QVERIFY2(std::fabs(c) < 1e-8, qPrintable(QString::number(c, 'g', 12)));
            }
        }
    }

    void fitWithoutAUniqueSolutionKeepsTheCoefficients()
    {
        double s[kS4Channels][kSpectralSamples];
        imageSensitivities(s);
        for (int i = 0; i < kSpectralSamples; ++i)
            s[4][i] = s[3][i];   // two identical channels
        float coeff[21];
        std::fill(std::begin(coeff), std::end(coeff), 7.0f);
        QCOMPARE(S4_FitCoefficients(s, 0.003, 0, coeff), 0);
        QCOMPARE(S4_FitCoefficients(s, 0.003, 6, coeff), 0);
        for (float c : coeff)
            QCOMPARE(c, 7.0f);
    }
};

QTEST_GUILESS_MAIN(TestSpyderMaths)
#include "tst_spyder_maths.moc"
