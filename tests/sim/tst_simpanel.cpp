// The simulated panel that behaves like a real one: seeded, its white
// registers curved and cross-coupled, its luminance steps uneven, its
// channels off their tone curve, its gains pulling the backlight, and its
// light settling during warm-up.

#include "Clock.h"
#include "SimLightModel.h"
#include "SimOrvaneMonitor.h"
#include "SimPanelResponse.h"

#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace pz;

namespace {

SimLightParams realLight(quint32 seed = 1)
{
    SimLightParams light;
    light.flaws = SimPanelResponse::real(seed);
    return light;
}

SimEngineState userWhite(int x, int y, int luminance = 120)
{
    SimEngineState s;
    s.preset = 11;
    s.whiteX = x;
    s.whiteY = y;
    s.luminance = luminance;
    return s;
}

SimChromaticity xyOf(const SimXYZ &v)
{
    const double sum = v.X + v.Y + v.Z;
    return SimChromaticity{v.X / sum, v.Y / sum};
}

// Every drawn figure, in order, to compare two panels.
QVector<double> figuresOf(const SimPanelFlaws &f)
{
    QVector<double> v{f.whiteGain[0], f.whiteGain[1], f.whiteCross[0], f.whiteCross[1],
                      f.whiteBow[0], f.whiteBow[1], f.whiteRipple, f.luminanceSlope,
                      f.luminanceWhiteLoss, f.gainBacklight, f.warmLuminance, f.warmWhite[0],
                      f.warmWhite[1], f.warmMinutes};
    for (int c = 0; c < 3; ++c)
        v << f.toneBow[c] << f.toneWave[c];
    return v;
}

} // namespace

class TestSimPanel : public QObject {
    Q_OBJECT
private slots:
    void aSeedPicksOnePanel();
    void whiteRegistersAreCurvedAndCoupled();
    void luminancePerStepVaries();
    void channelsLeaveTheirToneCurve();
    void gainsPullTheBacklight();
    void warmUpSettlesInHalfAnHour();
};

void TestSimPanel::aSeedPicksOnePanel()
{
    QVERIFY(!SimLightParams().flaws.enabled);
    const SimPanelFlaws a = SimPanelResponse::real(7);
    QVERIFY(a.enabled);
    QCOMPARE(figuresOf(SimPanelResponse::real(7)), figuresOf(a));
    QVERIFY(figuresOf(SimPanelResponse::real(8)) != figuresOf(a));
}

void TestSimPanel::whiteRegistersAreCurvedAndCoupled()
{
    const SimLightParams light = realLight();
    const auto white = [&light](int x, int y) {
        return SimLightModel::whitePoint(light, userWhite(x, y));
    };
    // Moving the x register moves y a little, and the other way round.
    QVERIFY(std::fabs(white(333, 329).y - white(313, 329).y) > 0.0003);
    QVERIFY(std::fabs(white(313, 349).x - white(313, 329).x) > 0.0003);
    // The size of one x step varies across the range, around a thousandth.
    double smallest = 1.0, largest = 0.0;
    for (int x = 280; x < 350; ++x) {
        const double step = white(x + 1, 329).x - white(x, 329).x;
        smallest = std::min(smallest, step);
        largest = std::max(largest, step);
    }
    QVERIFY2(smallest > 0.0006 && largest < 0.0012 && largest - smallest > 0.0001,
             qPrintable(QStringLiteral("%1 %2").arg(smallest).arg(largest)));
    // The ideal panel: the registers and the bias, nothing else.
    const SimChromaticity ideal = SimLightModel::whitePoint(SimLightParams(), userWhite(333, 349));
    QCOMPARE(ideal.x, 0.333 + 0.003);
    QCOMPARE(ideal.y, 0.349 - 0.002);
}

void TestSimPanel::luminancePerStepVaries()
{
    const SimLightParams light = realLight();
    const auto perStep = [&light](int level, int x = 313) {
        return SimLightModel::whiteLuminance(light, userWhite(x, 329, level + 1))
               - SimLightModel::whiteLuminance(light, userWhite(x, 329, level));
    };
    QVERIFY(perStep(300) > perStep(80) * 1.02);
    QVERIFY(std::fabs(perStep(120) - 0.96) < 0.05);
    // A white further from the native costs light.
    QVERIFY(SimLightModel::whiteLuminance(light, userWhite(290, 300))
            < SimLightModel::whiteLuminance(light, userWhite(313, 329)) * 0.99);
}

void TestSimPanel::channelsLeaveTheirToneCurve()
{
    const SimLightParams light = realLight();
    const SimEngineState engine = userWhite(313, 329);
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(SimLightModel::tone(light, engine, c, 0.0), 0.0);
        QCOMPARE(SimLightModel::tone(light, engine, c, 1.0), 1.0);
    }
    // At mid grey the channels differ from the curve asked for by a few
    // percent, each its own way.
    const double ideal = std::pow(0.5, 2.2);
    double deviation[3];
    for (int c = 0; c < 3; ++c)
        deviation[c] = SimLightModel::tone(light, engine, c, 0.5) / ideal - 1.0;
    QVERIFY2(deviation[0] > 0.01 && deviation[2] < -0.01 && std::fabs(deviation[1]) < 0.05,
             qPrintable(QStringLiteral("%1 %2 %3").arg(deviation[0]).arg(deviation[1]).arg(deviation[2])));
    QCOMPARE(SimLightModel::tone(SimLightParams(), engine, 2, 0.5), ideal);
}

void TestSimPanel::gainsPullTheBacklight()
{
    const auto whiteAt = [](const SimLightParams &light, int gain) {
        SimEngineState s;
        s.gains[0] = s.gains[1] = s.gains[2] = gain;
        return SimLightModel::emitted(light, s, 1, 1, 1).Y;
    };
    SimLightParams ideal;
    ideal.gainLutPanel = true;
    SimLightParams real = realLight();
    real.gainLutPanel = true;
    const double idealRatio = whiteAt(ideal, 200) / whiteAt(ideal, 255);
    const double realRatio = whiteAt(real, 200) / whiteAt(real, 255);
    QVERIFY2(realRatio > idealRatio * 1.005, qPrintable(QStringLiteral("%1 %2").arg(realRatio).arg(idealRatio)));
}

void TestSimPanel::warmUpSettlesInHalfAnHour()
{
    VirtualClock clock;
    ScopedClock scope(&clock);
    SimMonitorConfig config;
    config.light.flaws = SimPanelResponse::real(1);
    SimOrvaneMonitor monitor(config);
    const SimXYZ cold = monitor.emittedXYZ(1, 1, 1);
    clock.advanceUs(qint64(30 * 60e6));
    const SimXYZ halfHour = monitor.emittedXYZ(1, 1, 1);
    clock.advanceUs(qint64(90 * 60e6));
    const SimXYZ settled = monitor.emittedXYZ(1, 1, 1);

    QVERIFY(cold.Y < settled.Y * 0.97);
    QVERIFY(std::fabs(halfHour.Y / settled.Y - 1.0) < 0.002);
    QVERIFY(std::fabs(xyOf(cold).y - xyOf(settled).y) > 0.001);
    QVERIFY(std::fabs(xyOf(halfHour).x - xyOf(settled).x) < 0.0001);
    QVERIFY(std::fabs(xyOf(halfHour).y - xyOf(settled).y) < 0.0001);

    // The ideal panel does not drift.
    SimOrvaneMonitor steady;
    const double before = steady.emittedXYZ(1, 1, 1).Y;
    clock.advanceUs(qint64(10 * 60e6));
    QCOMPARE(steady.emittedXYZ(1, 1, 1).Y, before);
}

QTEST_MAIN(TestSimPanel)
#include "tst_simpanel.moc"
