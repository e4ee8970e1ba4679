// The screen sampler reads what the application's own windows show where the
// sensor lies, offscreen: plain windows, stacking, the measurement patch,
// lifting the sensor, and the patch handshake with a worker thread.

#include "Clock.h"
#include "SimDesktop.h"
#include "SimHost.h"
#include "SimLightChecks.h"
#include "SimScreenSampler.h"
#include "SimSensorLight.h"
#include "SimSensorNoise.h"

#include <QApplication>
#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QWidget>
#include <QtTest>
#include <cmath>
#include <memory>
#include <random>

using namespace pz;
using test::sameXYZ;

// A window or child that paints itself in one colour.
class FilledWidget : public QWidget {
    Q_OBJECT
public:
    explicit FilledWidget(const QColor &color, QWidget *parent = nullptr)
        : QWidget(parent), m_color(color)
    {
    }
    void setColor(const QColor &color)
    {
        m_color = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_color);
    }

private:
    QColor m_color;
};

// Stands in for the windows' measurement patch: the sampler finds it by its
// class name.
class colorimeterMeasurementTarget : public FilledWidget {
    Q_OBJECT
public:
    using FilledWidget::FilledWidget;
};

namespace {

bool sameColor(const SimScreenSample &s, int r, int g, int b)
{
    return s.r == r && s.g == g && s.b == b;
}

const QRect kDisplay1(0, 0, 1920, 1200);
const QRect kDisplay2(1920, 0, 1920, 1080);

} // namespace

class TestSimScreenSampler : public QObject {
    Q_OBJECT

    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_clockScope;
    std::unique_ptr<SimDesktop> m_desk;
    std::unique_ptr<SimScreenSampler> m_sampler;
    std::unique_ptr<SimSensorLight> m_light;

    SimXYZ lightOf(quint32 display, int r, int g, int b)
    {
        return m_desk->measure(display, r / 255.0, g / 255.0, b / 255.0);
    }

private slots:
    void init()
    {
        m_clockScope = std::make_unique<ScopedClock>(&m_clock);
        m_desk = std::make_unique<SimDesktop>();
        m_desk->addMonitor(1, kDisplay1);
        m_desk->addPlainDisplay(2, kDisplay2, QByteArray());
        m_sampler = std::make_unique<SimScreenSampler>(*m_desk);
        m_light = std::make_unique<SimSensorLight>(*m_desk, m_sampler.get());
    }
    void cleanup()
    {
        m_light.reset();
        m_sampler.reset();
        m_desk.reset();
        m_clockScope.reset();
    }

    void noWindowReadsBlack()
    {
        const SimScreenSample s = m_sampler->sample(1);
        QCOMPARE(s.displayId, 1u);
        QVERIFY(sameColor(s, 0, 0, 0));
        QVERIFY(sameXYZ(m_light->emissive(), lightOf(1, 0, 0, 0)));
    }

    void plainWindowReadsItsColour()
    {
        FilledWidget w(QColor(200, 100, 50));
        w.setGeometry(kDisplay1);
        w.show();
        const SimScreenSample s = m_sampler->sample(1);
        QCOMPARE(s.displayId, 1u);
        QVERIFY(sameColor(s, 200, 100, 50));
        const SimXYZ light = m_light->emissive();
        QVERIFY(sameXYZ(light, lightOf(1, 200, 100, 50)));
        QVERIFY(light.Y > 10.0);

        // The light follows a card ramp and the monitor's gains.
        GammaRampTables ramp;
        for (int i = 0; i < IGammaRamps::kEntries; ++i) {
            const float v = float(std::pow(i / 255.0, 1.3));
            ramp.red.append(v);
            ramp.green.append(v * 0.9f);
            ramp.blue.append(v);
        }
        QVERIFY(m_desk->ramps().setRamp(1, ramp));
        const SimXYZ ramped = m_light->emissive();
        QVERIFY(ramped.Y < light.Y * 0.95);
        SimOrvaneMonitor *monitor = m_desk->monitor(1);
        QVERIFY(!test::exchange(*monitor, test::pagedSet(0x0016, 180)).isEmpty());
        QCOMPARE(monitor->registerValue(0x16), quint16(180));
        const SimXYZ gained = m_light->emissive();
        QVERIFY(gained.X < ramped.X * 0.95);
        QVERIFY(sameXYZ(gained, lightOf(1, 200, 100, 50)));

        // Off the screen: nothing but the noise of the device.
        m_light->liftOff();
        QVERIFY(sameXYZ(m_light->emissive(), SimXYZ()));
        SimSensorFigures figures;
        figures.relativeNoise = 0.003;
        figures.noiseFloor = 0.03;
        SimSensorNoise noise(figures);
        noise.setEnabled(true);
        const SimXYZ lifted = noise.emissive(m_light->emissive());
        QVERIFY(lifted.Y != 0.0 && std::fabs(lifted.Y) < 0.2);
        m_light->placeOn(1);
        QVERIFY(sameXYZ(m_light->emissive(), lightOf(1, 200, 100, 50)));
    }

    void windowOnTopWins()
    {
        FilledWidget first(QColor(200, 100, 50));
        first.setGeometry(kDisplay1);
        first.show();
        FilledWidget second(QColor(0, 255, 0));
        second.setGeometry(QRect(800, 500, 400, 300));
        second.show();
        QVERIFY(sameColor(m_sampler->sample(1), 0, 255, 0));

        // Activating the first window brings it to the front.
        first.activateWindow();
        QTRY_VERIFY(sameColor(m_sampler->sample(1), 200, 100, 50));
        second.activateWindow();
        QTRY_VERIFY(sameColor(m_sampler->sample(1), 0, 255, 0));

        second.hide();
        QVERIFY(sameColor(m_sampler->sample(1), 200, 100, 50));
        second.show();
        QVERIFY(sameColor(m_sampler->sample(1), 0, 255, 0));
        // A window elsewhere does not count.
        second.move(100, 100);
        QVERIFY(sameColor(m_sampler->sample(1), 200, 100, 50));
    }

    void centreOfThePlacedDisplay()
    {
        FilledWidget left(QColor(200, 100, 50));
        left.setGeometry(kDisplay1);
        left.show();
        FilledWidget right(QColor(30, 60, 90));
        right.setGeometry(kDisplay2);
        right.show();
        m_light->placeOn(2);
        QVERIFY(sameXYZ(m_light->emissive(), lightOf(2, 30, 60, 90)));
        m_light->placeOn(1);
        QVERIFY(sameXYZ(m_light->emissive(), lightOf(1, 200, 100, 50)));
    }

    void patchDrawsTheSensor()
    {
        FilledWidget display1(QColor(200, 100, 50));
        display1.setGeometry(kDisplay1);
        display1.show();
        // The patch window lies on display 2, its patch off the window's centre.
        FilledWidget window(QColor(0, 0, 0));
        window.setGeometry(kDisplay2);
        colorimeterMeasurementTarget patch(QColor(10, 220, 40), &window);
        patch.setGeometry(100, 150, 200, 200);
        window.show();
        m_light->placeOn(1);
        const SimScreenSample s = m_sampler->sample(1);
        QCOMPARE(s.displayId, 2u);
        QVERIFY(sameColor(s, 10, 220, 40));
        QVERIFY(sameXYZ(m_light->emissive(), lightOf(2, 10, 220, 40)));

        // A patch outside every display counts as on the display the sensor
        // was placed on.
        window.move(5000, 5000);
        const SimScreenSample away = m_sampler->sample(1);
        QCOMPARE(away.displayId, 1u);
        QVERIFY(sameColor(away, 10, 220, 40));

        // Hidden, it no longer draws the sensor.
        patch.hide();
        QVERIFY(sameColor(m_sampler->sample(1), 200, 100, 50));
    }

    void handshakeWithAWorker()
    {
        FilledWidget window(QColor(0, 0, 0));
        window.setGeometry(kDisplay1);
        colorimeterMeasurementTarget patch(QColor(0, 0, 0), &window);
        patch.setGeometry(760, 400, 400, 400);
        window.show();
        QVERIFY(sameColor(m_sampler->sample(1), 0, 0, 0));
        m_clock.clearWaits();

        constexpr int kRounds = 50;
        QSemaphore patchShown, measured;
        QVector<SimXYZ> readings(kRounds);
        std::unique_ptr<QThread> worker(QThread::create([&] {
            for (int i = 0; i < kRounds; ++i) {
                patchShown.acquire();
                programClock().sleepMs(200);   // the engine lets the patch settle
                readings[i] = m_light->emissive();
                measured.release();
            }
        }));
        worker->start();

        std::mt19937 random(7);
        std::uniform_int_distribution<int> level(0, 255);
        int wrong = 0;
        for (int i = 0; i < kRounds; ++i) {
            const QColor c(level(random), level(random), level(random));
            patch.setColor(c);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            patchShown.release();
            measured.acquire();
            if (!sameXYZ(readings[i], lightOf(1, c.red(), c.green(), c.blue())))
                ++wrong;
        }
        QVERIFY(worker->wait(10000));
        QCOMPARE(wrong, 0);
        QCOMPARE(m_clock.waitsUs(), QVector<qint64>(kRounds, 200000));
    }
};

QTEST_MAIN(TestSimScreenSampler)
#include "tst_simscreensampler.moc"
