// What a simulated sensor on display 1 reads through the screen sampler
// from the measurement patch and the test pattern window, placed as their
// users place them.

#include "Clock.h"
#include "DisplayPlacement.h"
#include "Resources.h"
#include "SimDesktop.h"
#include "SimLightChecks.h"
#include "SimScreenSampler.h"
#include "SimSensorLight.h"
#include "SimulatedScreens.h"
#include "colorimeterMeasurementTarget.h"
#include "pz_test_pattern_dialog.h"

#include <QtTest>
#include <memory>

using namespace pz;
using test::kDisplay1;
using test::kDisplay2;
using test::recordBounds;
using test::sameXYZ;

class TestWindowsOnTheSensor : public QObject {
    Q_OBJECT

    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_clockScope;
    std::unique_ptr<SimDesktop> m_desk;
    std::unique_ptr<SimScreenSampler> m_sampler;
    std::unique_ptr<SimSensorLight> m_light;

    SimXYZ white() { return m_desk->measure(1, 1.0, 1.0, 1.0); }
    SimXYZ black() { return m_desk->measure(1, 0.0, 0.0, 0.0); }

private slots:
    void initTestCase()
    {
        initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void init()
    {
        m_clockScope = std::make_unique<ScopedClock>(&m_clock);
        m_desk = std::make_unique<SimDesktop>();
        m_desk->addMonitor(1, kDisplay1);
        m_desk->addPlainDisplay(2, kDisplay2, QByteArray());
        m_sampler = std::make_unique<SimScreenSampler>(*m_desk);
        m_light = std::make_unique<SimSensorLight>(*m_desk, m_sampler.get());
        m_light->placeOn(1);
    }

    void cleanup()
    {
        m_light.reset();
        m_sampler.reset();
        m_desk.reset();
        m_clockScope.reset();
    }

    void patchThenTestPatternOverIt()
    {
        QVERIFY(!sameXYZ(white(), black()));
        // The patch in a full-screen window, as the calibration window shows it.
        QWidget patchWindow;
        auto *patch = new colorimeterMeasurementTarget(&patchWindow);
        patch->setGeometry(810, 450, 300, 300);
        patch->setPatchColor(QColor(255, 255, 255));
        placeOnDisplay(patchWindow, recordBounds(kDisplay1));
        patchWindow.show();
        QVERIFY(sameXYZ(m_light->emissive(), white()));

        // The black test pattern over it, then gone again.
        pz_test_pattern_dialog testPattern;
        placeOnDisplay(testPattern, recordBounds(kDisplay1));
        testPattern.enable_controls(false);
        testPattern.SetTestPattern(1);
        testPattern.show();
        QVERIFY(sameXYZ(m_light->emissive(), black()));
        testPattern.hide();
        QVERIFY(sameXYZ(m_light->emissive(), white()));
    }

    void testPatternAlone()
    {
        pz_test_pattern_dialog testPattern;
        placeOnDisplay(testPattern, recordBounds(kDisplay1));
        testPattern.enable_controls(false);
        testPattern.SetTestPattern(5);
        testPattern.show();
        QVERIFY(sameXYZ(m_light->emissive(), white()));
        // On the other display it no longer lies under the sensor.
        placeOnDisplay(testPattern, recordBounds(kDisplay2));
        QVERIFY(sameXYZ(m_light->emissive(), black()));
    }
};

QTEST_MAIN(TestWindowsOnTheSensor)
#include "tst_windows_on_the_sensor.moc"
