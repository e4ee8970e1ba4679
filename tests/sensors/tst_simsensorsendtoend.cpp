// The adapters end to end on the simulated desktop: a measurement patch
// window under the screen sampler, the simulated device with its noise and
// its automatic hand, and the adapter taking the set-up flow's steps. Once
// built by hand, once the way PELZORA_SIMULATE=1 builds it.

#include "CEyeOneDisplay3Sensor.h"
#include "Clock.h"
#include "SimDesktop.h"
#include "SimScreenSampler.h"
#include "SimSensors.h"

#include <QPainter>
#include <QWidget>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace pz;

// Stands in for the windows' measurement patch: the sampler finds it by its
// class name.
class colorimeterMeasurementTarget : public QWidget {
    Q_OBJECT
public:
    explicit colorimeterMeasurementTarget(const QColor &color) : m_color(color) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_color);
    }

private:
    QColor m_color;
};

namespace {

// Within the device's noise: 0.1 % of the light and 0.01 cd/m², at five
// standard deviations.
bool withinNoise(double measured, double light)
{
    return std::fabs(measured - light) <= 5 * (0.001 * std::fabs(light) + 0.01);
}

const QColor kPatch(180, 120, 90);

} // namespace

class TestSimSensorsEndToEnd : public QObject {
    Q_OBJECT

    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_clockScope;

    // The i1 Display Pro's set-up and one reading: the diffuser starts over
    // the lens, the blinking light makes the hand turn it.
    void measureWithI1d3(SimDesktop &desktop, SimSensors &sensors)
    {
        colorimeterMeasurementTarget patch(kPatch);
        patch.setGeometry(QRect(860, 500, 200, 200));
        patch.show();
        const SimXYZ light = desktop.measure(1, kPatch.redF(), kPatch.greenF(), kPatch.blueF());

        sensors.i1d3().setDiffuser(true);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(sensor.m_Connected);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorWrongPosition);
        QCOMPARE(sensor.FlashLED(1), CSensor::kSensorOK);
        QCOMPARE(sensor.GetSensorMeasurementSelectorPosition(), int(CSensor::kSelectorDisplay));
        QCOMPARE(sensor.FlashLED(0), CSensor::kSensorOK);
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideRGBLED),
                 CSensor::kSensorOK);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QVERIFY2(withinNoise(out.X, light.X) && withinNoise(out.Y, light.Y)
                     && withinNoise(out.Z, light.Z),
                 qPrintable(QString("%1 %2 %3 for %4 %5 %6")
                                .arg(out.X).arg(out.Y).arg(out.Z)
                                .arg(light.X).arg(light.Y).arg(light.Z)));
        QVERIFY(out.Y != light.Y);   // the noise is on
        // The integration time of the wide-gamut calibration, on the program clock.
        QCOMPARE(m_clock.waitsUs().constLast(), qint64(3'000'000));
    }

private slots:
    void init() { m_clockScope = std::make_unique<ScopedClock>(&m_clock); }
    void cleanup() { m_clockScope.reset(); }

    void i1d3ByHand()
    {
        SimDesktop desktop;
        desktop.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desktop.install();
        SimScreenSampler sampler(desktop);
        SimSensors sensors(desktop, &sampler);
        sensors.i1d3().noise().setEnabled(true);
        sensors.i1d3().setAutomaticHand(true);
        sensors.attach(SimSensors::I1d3);
        measureWithI1d3(desktop, sensors);
    }

    void i1d3FromTheEnvironment()
    {
        qputenv("PELZORA_SIMULATE", "1");
        qputenv("PELZORA_SIM_SENSOR", "i1d3");
        auto desktop = SimDesktop::installFromEnvironment();
        qunsetenv("PELZORA_SIM_SENSOR");
        qunsetenv("PELZORA_SIMULATE");
        QVERIFY(desktop && desktop->sensors());
        measureWithI1d3(*desktop, *desktop->sensors());
    }
};

QTEST_MAIN(TestSimSensorsEndToEnd)
#include "tst_simsensorsendtoend.moc"
