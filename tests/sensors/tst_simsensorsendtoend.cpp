// The adapters end to end on the simulated desktop: a measurement patch
// window under the screen sampler, the simulated device with its noise and
// its automatic hand, and the adapter taking the set-up flow's steps. Once
// built by hand, once the way PELZORA_SIMULATE=1 builds it.

#include "CColorMunkiSensor.h"
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

// Within a device's noise (relative, and its floor in cd/m²) at five
// standard deviations.
bool withinNoise(const CCIEXYZ &measured, const SimXYZ &light, double relative, double floor)
{
    const auto near = [&](double m, double l) {
        return std::fabs(m - l) <= 5 * (relative * std::fabs(l) + floor);
    };
    return near(measured.X, light.X) && near(measured.Y, light.Y) && near(measured.Z, light.Z);
}

QString describe(const CCIEXYZ &measured, const SimXYZ &light)
{
    return QString("%1 %2 %3 for %4 %5 %6")
        .arg(measured.X).arg(measured.Y).arg(measured.Z)
        .arg(light.X).arg(light.Y).arg(light.Z);
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
        QVERIFY2(withinNoise(out, light, 0.001, 0.01), qPrintable(describe(out, light)));
        QVERIFY(out.Y != light.Y);   // the noise is on
        // The integration time of the wide-gamut calibration, on the program clock.
        QCOMPARE(m_clock.waitsUs().constLast(), qint64(3'000'000));
    }

    // The ColorMunki's set-up and one reading: the hand turns the dial to
    // calibrate on the mode change and to display after the zero
    // calibration; the dial moves reach the GUI thread.
    void measureWithMunki(SimDesktop &desktop, SimSensors &sensors)
    {
        colorimeterMeasurementTarget patch(kPatch);
        patch.setGeometry(QRect(860, 500, 200, 200));
        patch.show();
        const SimXYZ light = desktop.measure(1, kPatch.redF(), kPatch.greenF(), kPatch.blueF());

        CColorMunkiSensor sensor;
        QVERIFY(sensor.m_Connected);
        QVector<int> heard;
        QObject::connect(&sensor, &CColorMunkiSensor::SensorMeasurementSelectorPositionChanged,
                         this, [&](int dial) { heard.append(dial); });
        // Init set the display mode: the hand has turned the dial to calibrate.
        QCOMPARE(sensor.GetSensorMeasurementSelectorPosition(), int(CSensor::kSelectorCalibrate));
        sensors.munki().setDial(pz::kMunkiDialDisplay);
        sensors.munki().waitForDeliveries();
        QCoreApplication::processEvents();
        heard.clear();
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeDisplay), CSensor::kSensorOK);
        sensors.munki().waitForDeliveries();
        QTRY_VERIFY(!heard.isEmpty());
        QCOMPARE(heard.constLast(), pz::kMunkiDialCalibrate);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorWrongPosition);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        QCOMPARE(sensor.GetSensorMeasurementSelectorPosition(), int(CSensor::kSelectorDisplay));
        QTRY_COMPARE(heard.constLast(), pz::kMunkiDialDisplay);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor.GetXYZData(out), CSensor::kSensorOK);
        QVERIFY2(withinNoise(out, light, 0.003, 0.05), qPrintable(describe(out, light)));
        QVERIFY(out.Y != light.Y);   // the noise is on
    }

    static void addFamilies()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("name");   // as PELZORA_SIM_SENSOR names it
        QTest::newRow("i1 Display Pro") << int(SimSensors::I1d3) << "i1d3";
        QTest::newRow("ColorMunki") << int(SimSensors::ColorMunki) << "munki";
    }

    void measure(SimSensors::Family family, SimDesktop &desktop, SimSensors &sensors)
    {
        if (family == SimSensors::I1d3)
            measureWithI1d3(desktop, sensors);
        else
            measureWithMunki(desktop, sensors);
    }

private slots:
    void init() { m_clockScope = std::make_unique<ScopedClock>(&m_clock); }
    void cleanup() { m_clockScope.reset(); }

    void byHand_data() { addFamilies(); }
    void byHand()
    {
        QFETCH(int, family);
        SimDesktop desktop;
        desktop.addMonitor(1, QRectF(0, 0, 1920, 1200));
        desktop.install();
        SimScreenSampler sampler(desktop);
        SimSensors sensors(desktop, &sampler);
        // What PELZORA_SIMULATE switches on, by hand.
        sensors.i1d3().noise().setEnabled(true);
        sensors.i1d3().setAutomaticHand(true);
        sensors.munki().noise().setEnabled(true);
        sensors.munki().setAutomaticHand(true);
        sensors.attach(SimSensors::Family(family));
        measure(SimSensors::Family(family), desktop, sensors);
    }

    void fromTheEnvironment_data() { addFamilies(); }
    void fromTheEnvironment()
    {
        QFETCH(int, family);
        QFETCH(QString, name);
        qputenv("PELZORA_SIMULATE", "1");
        qputenv("PELZORA_SIM_SENSOR", name.toLatin1());
        auto desktop = SimDesktop::installFromEnvironment();
        qunsetenv("PELZORA_SIM_SENSOR");
        qunsetenv("PELZORA_SIMULATE");
        QVERIFY(desktop && desktop->sensors());
        measure(SimSensors::Family(family), *desktop, *desktop->sensors());
    }
};

QTEST_MAIN(TestSimSensorsEndToEnd)
#include "tst_simsensorsendtoend.moc"
