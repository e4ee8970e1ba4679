#include "CVideoCardGamma.h"
#include "GammaRamp.h"
#include "SimGammaRamps.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace pz;

namespace {

// A card that records what it was given and answers reads with a ramp the
// test chooses, whatever its length.
class RecordingRamps : public IGammaRamps {
public:
    bool setRamp(quint32 displayId, const GammaRampTables &tables) override
    {
        ++sets;
        lastId = displayId;
        loaded = tables;
        return true;
    }
    bool getRamp(quint32, GammaRampTables &tables) override
    {
        tables = answer;
        return true;
    }
    int sets = 0;
    quint32 lastId = 0;
    GammaRampTables loaded;
    GammaRampTables answer;
};

_MonitorData display(quint32 id)
{
    _MonitorData d;
    d.m_DisplayID = id;
    return d;
}

QVector<unsigned int> table(unsigned int value, int n = 256)
{
    return QVector<unsigned int>(n, value);
}

CSpline gammaCurve(double gamma)
{
    CSpline s;
    s.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    s.SetSplineGamma(gamma);
    s.SetValid(true);
    return s;
}

} // namespace

class TestVideoCardGamma : public QObject {
    Q_OBJECT
private slots:
    void lutSizeIsFixed()
    {
        CVideoCardGamma card(display(1));
        int maximum = 0, size = 0;
        card.GetLUTSize(maximum, size);
        QCOMPARE(maximum, 65535);
        QCOMPARE(size, 256);
    }

    void linearRampLoadsAndReadsBack()
    {
        SimGammaRamps sim;
        sim.addDisplay(3);
        RecordingRamps rec;
        {
            ScopedGammaRamps scope(&rec);
            CVideoCardGamma card(display(3));
            QCOMPARE(card.SetLinearVideoCardGamma(), 0);
            QCOMPARE(rec.lastId, 3u);
            for (int i = 0; i < 256; ++i) {
                QCOMPARE(rec.loaded.red[i], float(i / 255.0));
                QCOMPARE(rec.loaded.green[i], float(i / 255.0));
                QCOMPARE(rec.loaded.blue[i], float(i / 255.0));
            }
        }
        ScopedGammaRamps scope(&sim);
        CVideoCardGamma card(display(3));
        QVector<unsigned int> r, g, b;
        QCOMPARE(card.SetLinearVideoCardGamma(), 0);
        QCOMPARE(card.GetVideoCardGamma(r, g, b), 0);
        QCOMPARE(r.size(), 256);
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(r[i], 257u * i);
            QCOMPARE(b[i], 257u * i);
        }
    }

    void integerTablesRoundTripExactly()
    {
        // Every integer read back as it was loaded (truncating the card's
        // float entries would lose one step on about half of all values).
        SimGammaRamps sim;
        sim.addDisplay(1);
        ScopedGammaRamps scope(&sim);
        CVideoCardGamma card(display(1));
        for (unsigned int start = 0; start < 65536; start += 256) {
            QVector<unsigned int> r, g, b;
            for (unsigned int i = 0; i < 256; ++i) {
                r.append(start + i);
                g.append(65535 - start - i);
                b.append((start * 7 + i * 13) % 65536);
            }
            QCOMPARE(card.SetVideoCardGamma(r, g, b), 0);
            QVector<unsigned int> r2, g2, b2;
            QCOMPARE(card.GetVideoCardGamma(r2, g2, b2), 0);
            QCOMPARE(r2, r);
            QCOMPARE(g2, g);
            QCOMPARE(b2, b);
        }
        // 32768 is loaded as 32768 / 65535.
        RecordingRamps rec;
        ScopedGammaRamps scope2(&rec);
        QCOMPARE(card.SetVideoCardGamma(table(32768), table(0), table(65535)), 0);
        QCOMPARE(rec.loaded.red[0], float(32768 / 65535.0));
        QCOMPARE(rec.loaded.blue[255], 1.0f);
    }

    void badInputLeavesTheCardAlone_data()
    {
        QTest::addColumn<int>("redSize");
        QTest::addColumn<int>("greenSize");
        QTest::addColumn<int>("blueSize");
        QTest::newRow("255 values") << 255 << 255 << 255;
        QTest::newRow("short green") << 256 << 255 << 256;
        QTest::newRow("long blue") << 256 << 256 << 257;
        QTest::newRow("empty green") << 256 << 0 << 256;
    }
    void badInputLeavesTheCardAlone()
    {
        QFETCH(int, redSize);
        QFETCH(int, greenSize);
        QFETCH(int, blueSize);
        RecordingRamps rec;
        ScopedGammaRamps scope(&rec);
        CVideoCardGamma card(display(1));
        QCOMPARE(card.SetVideoCardGamma(table(1, redSize), table(1, greenSize), table(1, blueSize)),
                 -3);
        QCOMPARE(rec.sets, 0);
    }

    void invalidCurveIsRefused()
    {
        RecordingRamps rec;
        ScopedGammaRamps scope(&rec);
        CVideoCardGamma card(display(1));
        CSpline invalid = gammaCurve(2.2);
        invalid.SetValid(false);
        QCOMPARE(card.SetVideoCardGamma(gammaCurve(2.2), invalid, gammaCurve(2.2)), -3);
        QCOMPARE(rec.sets, 0);
    }

    void curvesLoadSampledAndReadBackAsCurves()
    {
        SimGammaRamps sim;
        sim.addDisplay(2);
        RecordingRamps rec;
        {
            ScopedGammaRamps scope(&rec);
            CVideoCardGamma card(display(2));
            const CSpline g22 = gammaCurve(2.2);
            QCOMPARE(card.SetVideoCardGamma(g22, gammaCurve(1.0), gammaCurve(0.5)), 0);
            for (int i = 0; i < 256; ++i)
                QCOMPARE(rec.loaded.red[i], float(g22.GetYValX(i / 255.0)));
        }
        ScopedGammaRamps scope(&sim);
        CVideoCardGamma card(display(2));
        QCOMPARE(card.SetVideoCardGamma(gammaCurve(2.2), gammaCurve(1.0), gammaCurve(0.5)), 0);
        QVector<unsigned int> r, g, b;
        QCOMPARE(card.GetVideoCardGamma(r, g, b), 0);
        CSpline red, green, blue;
        QCOMPARE(card.GetVideoCardGamma(red, green, blue), 0);
        QVERIFY(red.IsValid() && green.IsValid() && blue.IsValid());
        QCOMPARE(red.GetSplineType(), SPLINE_CATMULL_ROM);
        QCOMPARE(red.GetNumberOfPoints(), 256);
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(red.GetY(i), r[i] / 65535.0);
            QCOMPARE(blue.GetY(i), b[i] / 65535.0);
            QCOMPARE(red.GetX(i), i / 255.0);
        }
    }

    void platformFailuresGiveMinusOne()
    {
        SimGammaRamps sim;
        sim.addDisplay(1);
        sim.setRefuses(1, true);
        ScopedGammaRamps scope(&sim);
        CVideoCardGamma refused(display(1));
        QCOMPARE(refused.SetLinearVideoCardGamma(), -1);
        QCOMPARE(refused.SetVideoCardGamma(gammaCurve(2.2), gammaCurve(2.2), gammaCurve(2.2)), -1);

        // A display the card does not know: nothing read, curves untouched.
        CVideoCardGamma unknown(display(42));
        QVector<unsigned int> r{1}, g{2}, b{3};
        QCOMPARE(unknown.GetVideoCardGamma(r, g, b), -1);
        QVERIFY(r.isEmpty() && g.isEmpty() && b.isEmpty());
        CSpline red = gammaCurve(1.8), green, blue;
        const CSpline before = red;
        QCOMPARE(unknown.GetVideoCardGamma(red, green, blue), -1);
        QCOMPARE(red, before);

        // No backend at all: the program's default answers like an unknown display.
        ScopedGammaRamps none(nullptr);
        QCOMPARE(unknown.SetLinearVideoCardGamma(), -1);
        QCOMPARE(unknown.GetVideoCardGamma(r, g, b), -1);
    }

    void shortOrWildRampsFromThePlatform()
    {
        RecordingRamps rec;
        ScopedGammaRamps scope(&rec);
        CVideoCardGamma card(display(1));
        QVector<unsigned int> r, g, b;
        // Fewer entries than the tables need: refused, nothing invented.
        rec.answer = identityGammaRamp();
        rec.answer.green.removeLast();
        QCOMPARE(card.GetVideoCardGamma(r, g, b), -1);
        QVERIFY(r.isEmpty() && g.isEmpty() && b.isEmpty());

        // Entries outside 0..1 or not numbers are clamped to the scale.
        rec.answer = identityGammaRamp();
        rec.answer.red[0] = -0.25f;
        rec.answer.red[1] = 1.5f;
        rec.answer.red[2] = std::numeric_limits<float>::quiet_NaN();
        rec.answer.red[3] = std::numeric_limits<float>::infinity();
        rec.answer.red[4] = 1e30f;
        QCOMPARE(card.GetVideoCardGamma(r, g, b), 0);
        QCOMPARE(r.mid(0, 6), (QVector<unsigned int>{0, 65535, 0, 65535, 65535, 5 * 257}));
    }
};

QTEST_GUILESS_MAIN(TestVideoCardGamma)
#include "tst_videocardgamma.moc"
