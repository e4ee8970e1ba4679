// The adapters end to end on the simulated desktop: a measurement patch
// window under the screen sampler, the simulated device with its noise and
// its automatic hand, and the adapter taking the set-up flow's steps. The
// i1 Display Pro's diffuser and the ColorMunki's dial on a set built by
// hand; then every family the way PELZORA_SIMULATE=1 builds it, found by
// the sensor selector, driven in the order every caller follows, and
// unplugged in the middle of a reading.

#include "CColorMunkiSensor.h"
#include "CEyeOneDisplay3Sensor.h"
#include "CTargetSensor.h"
#include "Clock.h"
#include "sensor_physical_data.h"
#include "SimDesktop.h"
#include "SimScreenSampler.h"
#include "SimSensors.h"

#include <QPainter>
#include <QRegularExpression>
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
    void setColor(const QColor &color)
    {
        m_color = color;
        repaint();
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
const QColor kWhite(255, 255, 255);
const QColor kDarkGrey(24, 24, 24);

// Where the sensor lies on display 1.
const QRect kPatchRect(860, 500, 200, 200);

// The mean and the standard deviation of the Y of n readings.
struct Spread {
    CCIEXYZ mean;
    double deviationY = 0;
};

// Every picture the adapter names, also in its texts, loads.
void checkPictures(CSensor &sensor)
{
    sensor_physical_data data;
    QCOMPARE(sensor.GetSensorPhyscalData(data), 0);
    QStringList paths{data.m_ZeroCalibrationPicture, data.m_OnDisplayPicture,
                      data.m_TurnToAmbientPicture,   data.m_TurnToDisplayPicture,
                      data.m_AmbientMeasurementPicture, data.m_ReadyPicture};
    const QRegularExpression source(QStringLiteral("src=\"([^\"]+)\""));
    for (const QString &text : {data.m_AmbientPositioningText, data.m_SelectorMessage,
                                data.m_ZeroCalibrationText, data.m_PreparationWarningText,
                                data.m_CoverText, data.m_ReadyText})
        for (const QRegularExpressionMatch &m : source.globalMatch(text))
            paths << m.captured(1);
    QVERIFY(!data.m_OnDisplayPicture.isEmpty());
    for (const QString &path : paths)
        if (!path.isEmpty())
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
}

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

    // One reading after the set-up steps are done.
    static CCIEXYZ readOnce(CSensor &sensor)
    {
        CCIEXYZ out;
        const int measured = sensor.Measure(1);
        if (measured != CSensor::kSensorOK) {
            qWarning("Measure: %d", measured);
            return out;
        }
        if (sensor.GetXYZData(out) != CSensor::kSensorOK)
            qWarning("GetXYZData failed");
        return out;
    }

    static Spread spreadOf(CSensor &sensor, int n)
    {
        Spread s;
        QVector<double> ys;
        for (int i = 0; i < n; ++i) {
            const CCIEXYZ r = readOnce(sensor);
            s.mean.X += r.X / n;
            s.mean.Y += r.Y / n;
            s.mean.Z += r.Z / n;
            ys << r.Y;
        }
        double sum = 0;
        for (double y : ys)
            sum += (y - s.mean.Y) * (y - s.mean.Y);
        s.deviationY = std::sqrt(sum / (n - 1));
        return s;
    }

    static bool withinRelative(const CCIEXYZ &measured, const SimXYZ &light, double relative)
    {
        return std::fabs(measured.X - light.X) <= relative * light.X
               && std::fabs(measured.Y - light.Y) <= relative * light.Y
               && std::fabs(measured.Z - light.Z) <= relative * light.Z;
    }

private slots:
    void init() { m_clockScope = std::make_unique<ScopedClock>(&m_clock); }
    void cleanup()
    {
        m_clockScope.reset();
        for (const char *name : {"PELZORA_SIMULATE", "PELZORA_SIM_SENSOR", "PELZORA_SIM_NOISE",
                                 "PELZORA_SIM_SEED"})
            qunsetenv(name);
    }
    void initTestCase() { Q_INIT_RESOURCE(sensors); }

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

    void fromTheEnvironment_data()
    {
        QTest::addColumn<QString>("name");   // PELZORA_SIM_SENSOR; empty: not set
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("type");       // what the selector finds
        QTest::addColumn<QString>("model");
        QTest::newRow("default") << "" << int(SimSensors::I1d3)
                                 << int(CTargetSensor::kSensorEyeOneDisplay3)
                                 << "X-Rite i1 Display Pro";
        QTest::newRow("i1d3") << "i1d3" << int(SimSensors::I1d3)
                              << int(CTargetSensor::kSensorEyeOneDisplay3) << "X-Rite i1 Display Pro";
        QTest::newRow("munki") << "munki" << int(SimSensors::ColorMunki)
                               << int(CTargetSensor::kSensorColorMunki) << "X-Rite ColorMunki";
        QTest::newRow("i1display") << "i1display" << int(SimSensors::I1Display)
                                   << int(CTargetSensor::kSensorEyeOneDisplay)
                                   << "Orvane iOne Display v2";
        QTest::newRow("i1display gen1") << "i1display:serial=100,gen1=1"
                                        << int(SimSensors::I1Display)
                                        << int(CTargetSensor::kSensorEyeOneDisplay)
                                        << "Gretag iOne Display";
        QTest::newRow("i1pro") << "i1pro" << int(SimSensors::I1Pro)
                               << int(CTargetSensor::kSensorEyeOnePro) << "X-Rite EyeOne";
        QTest::newRow("spyder2") << "spyder2" << int(SimSensors::Spyder2)
                                 << int(CTargetSensor::kSensorSpyder) << "Datacolor Spyder2";
        QTest::newRow("spyder3") << "spyder3" << int(SimSensors::Spyder3)
                                 << int(CTargetSensor::kSensorSpyder) << "Datacolor Spyder3";
        QTest::newRow("spyder4") << "spyder4" << int(SimSensors::Spyder4)
                                 << int(CTargetSensor::kSensorSpyder) << "Datacolor Spyder4";
    }
    void fromTheEnvironment()
    {
        QFETCH(QString, name);
        QFETCH(int, family);
        QFETCH(int, type);
        QFETCH(QString, model);
        qputenv("PELZORA_SIMULATE", "1");
        if (!name.isEmpty())
            qputenv("PELZORA_SIM_SENSOR", name.toLatin1());
        qputenv("PELZORA_SIM_NOISE", "0");
        auto desktop = SimDesktop::installFromEnvironment();
        QVERIFY(desktop && desktop->sensors());
        SimSensors &sensors = *desktop->sensors();
        const SimSensorFigures figures = sensors.noise(SimSensors::Family(family)).figures();

        colorimeterMeasurementTarget patch(kWhite);
        patch.setGeometry(kPatchRect);
        patch.show();
        const auto lightOf = [&](const QColor &c) {
            return desktop->measure(1, c.redF(), c.greenF(), c.blueF());
        };

        CTargetSensor selector;
        QVERIFY(selector.AutoSelect());
        QCOMPARE(int(selector.m_CurrentType), type);
        QVERIFY(selector.m_pCurrentSensor);
        CSensor &sensor = *selector.m_pCurrentSensor;
        QCOMPARE(sensor.GetModelName(), model);
        checkPictures(sensor);

        // The calling order every caller follows, for the simulated HX
        // monitor: an LCD with wide-gamut RGB LEDs.
        QCOMPARE(sensor.SetScreenType(CSensor::kSensorScreenLCD, CTargetDisplay::kGamutWideRGBLED),
                 CSensor::kSensorOK);
        QCOMPARE(sensor.SetSensorMeasurementMode(CSensor::kSensorModeDisplay), CSensor::kSensorOK);
        if (sensor.SupportsZeroCal() && !sensor.m_ZeroCalibrationDone)
            QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);

        // Without noise: white within 0.5 %, dark grey within the noise floor.
        const SimXYZ white = lightOf(kWhite);
        CCIEXYZ out = readOnce(sensor);
        QVERIFY2(withinRelative(out, white, 0.005), qPrintable(describe(out, white)));
        patch.setColor(kDarkGrey);
        const SimXYZ grey = lightOf(kDarkGrey);
        out = readOnce(sensor);
        QVERIFY2(withinNoise(out, grey, 0.005, figures.noiseFloor / 5),
                 qPrintable(describe(out, grey)));

        // With noise and a fixed seed: 20 readings of white spread as the
        // family's figures say.
        patch.setColor(kWhite);
        qunsetenv("PELZORA_SIM_NOISE");
        qputenv("PELZORA_SIM_SEED", "11");
        sensors.configureFromEnvironment();
        const Spread spread = spreadOf(sensor, 20);
        const double expected = std::hypot(figures.relativeNoise * white.Y, figures.noiseFloor);
        QVERIFY2(withinRelative(spread.mean, white, 0.005), qPrintable(describe(spread.mean, white)));
        QVERIFY2(spread.deviationY > expected / 2 && spread.deviationY < expected * 1.6,
                 qPrintable(QString("%1 for %2").arg(spread.deviationY).arg(expected)));

        // Unplugged in the middle of a reading: a failure at once, with no
        // further waits for a device that is gone, and then nothing to find.
        const qint64 before = m_clock.nowUs();
        sensors.unplugAfterUs(SimSensors::Family(family), 50'000);
        const int measured = sensor.Measure(1);
        QVERIFY2(measured == CSensor::kSensorDeviceFailed || measured == CSensor::kSensorNotConnected,
                 qPrintable(QString::number(measured)));
        QVERIFY2(m_clock.nowUs() - before < 1'000'000,
                 qPrintable(QString::number(m_clock.nowUs() - before)));
        CCIEXYZ unchanged(1, 2, 3);
        QCOMPARE(sensor.GetXYZData(unchanged), CSensor::kSensorDeviceFailed);
        QVERIFY(!selector.AutoSelect());
        QVERIFY(!selector.m_pCurrentSensor);
        // Plugged in again, it is found again.
        sensors.attach(SimSensors::Family(family));
        QVERIFY(selector.AutoSelect());
        QCOMPARE(int(selector.m_CurrentType), type);
    }
};

QTEST_MAIN(TestSimSensorsEndToEnd)
#include "tst_simsensorsendtoend.moc"
