// What a simulated sensor measures without windows: the light of a fixed
// screen through the desktop's ramps and monitors, the plain display's panel,
// placement and lifting, and the room light.

#include "Clock.h"
#include "SimDesktop.h"
#include "SimFixedScreen.h"
#include "SimLightChecks.h"
#include "SimSensorLight.h"

#include <QtTest>
#include <cmath>
#include <memory>

using namespace pz;
using test::near;
using test::sameXYZ;

class TestSimSensorLight : public QObject {
    Q_OBJECT

    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_clockScope;
    std::unique_ptr<SimDesktop> m_desk;

private slots:
    void init()
    {
        m_clockScope = std::make_unique<ScopedClock>(&m_clock);
        m_clock.clearWaits();
        m_desk = std::make_unique<SimDesktop>();
        m_desk->addMonitor(1, QRectF(0, 0, 1920, 1200));
        m_desk->addPlainDisplay(2, QRectF(1920, 0, 1920, 1080), QByteArray());
    }
    void cleanup()
    {
        m_desk.reset();
        m_clockScope.reset();
    }

    void plainDisplayHasAnSrgbPanel()
    {
        const SimXYZ white = m_desk->measure(2, 1, 1, 1);
        // D65 at (0.3127, 0.3290).
        QVERIFY(near(white.X, 0.3127 / 0.3290 * 120, 1e-9));
        QVERIFY(near(white.Y, 120.0, 1e-9));
        QVERIFY(near(white.Z, 0.3583 / 0.3290 * 120, 1e-9));
        const SimXYZ red = m_desk->measure(2, 1, 0, 0);
        QVERIFY(near(red.X, 0.412391 * 120, 1e-4));
        QVERIFY(near(red.Y, 0.212639 * 120, 1e-4));
        QVERIFY(near(red.Z, 0.019331 * 120, 1e-4));
        QVERIFY(near(m_desk->measure(2, 0.5, 0.5, 0.5).Y, 120 * std::pow(0.5, 2.2), 1e-5));
        QVERIFY(sameXYZ(m_desk->measure(2, 0, 0, 0), SimXYZ()));

        // Its card ramp applies: a ramp at half level halves the drive.
        GammaRampTables half;
        for (int i = 0; i < IGammaRamps::kEntries; ++i) {
            const float v = 0.5f * i / (IGammaRamps::kEntries - 1);
            half.red.append(v);
            half.green.append(v);
            half.blue.append(v);
        }
        QVERIFY(m_desk->ramps().setRamp(2, half));
        QVERIFY(near(m_desk->measure(2, 1, 1, 1).Y, 120 * std::pow(0.5, 2.2), 1e-6));

        QVERIFY(sameXYZ(m_desk->measure(9, 1, 1, 1), SimXYZ()));
    }

    void fixedScreenThroughTheLight()
    {
        SimFixedScreen screen;
        screen.setColor(1, 200, 100, 50);
        screen.setColor(2, 10, 250, 90);
        SimSensorLight light(*m_desk, &screen);

        QCOMPARE(light.placedDisplay(), 1u);
        QVERIFY(sameXYZ(light.emissive(), m_desk->measure(1, 200 / 255.0, 100 / 255.0, 50 / 255.0)));
        light.placeOn(2);
        QVERIFY(sameXYZ(light.emissive(), m_desk->measure(2, 10 / 255.0, 250 / 255.0, 90 / 255.0)));
        QVERIFY(light.emissive().Y > 50.0);

        light.liftOff();
        QVERIFY(light.isLifted());
        QVERIFY(sameXYZ(light.emissive(), SimXYZ()));
        light.placeOn(1);
        QVERIFY(!light.isLifted());
        QVERIFY(sameXYZ(light.emissive(), m_desk->measure(1, 200 / 255.0, 100 / 255.0, 50 / 255.0)));

        // A display the test set nothing for shows black.
        light.placeOn(3);
        QVERIFY(sameXYZ(light.emissive(), SimXYZ()));
        // Without screen content the screen is black too.
        SimSensorLight bare(*m_desk);
        QVERIFY(sameXYZ(bare.emissive(), m_desk->measure(1, 0, 0, 0)));
    }

    void placedByDefaultOnTheFirstMonitor()
    {
        SimDesktop desk;
        SimSensorLight light(desk);
        QCOMPARE(light.placedDisplay(), 0u);
        desk.addPlainDisplay(5, QRectF(0, 0, 800, 600), QByteArray());
        QCOMPARE(light.placedDisplay(), 5u);
        desk.addMonitor(6, QRectF(800, 0, 1920, 1200));
        desk.addMonitor(7, QRectF(2720, 0, 1920, 1200));
        QCOMPARE(light.placedDisplay(), 6u);
        light.placeOn(5);
        QCOMPARE(light.placedDisplay(), 5u);
    }

    void roomLight()
    {
        SimSensorLight light(*m_desk);
        QCOMPARE(light.ambient().lux, 40.0);
        QCOMPARE(light.ambient().x, 0.3457);
        QCOMPARE(light.ambient().y, 0.3585);
        light.setAmbient(SimAmbientLight{500.0, 0.3127, 0.3290});
        QCOMPARE(light.ambient().lux, 500.0);
        QCOMPARE(light.ambient().x, 0.3127);
        light.liftOff();
        QCOMPARE(light.ambient().lux, 500.0);
    }
};

QTEST_GUILESS_MAIN(TestSimSensorLight)
#include "tst_simsensorlight.moc"
