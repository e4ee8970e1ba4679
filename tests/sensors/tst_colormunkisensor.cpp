// The ColorMunki adapter on the simulated device: dial and button, the
// measurement modes and their options, zero calibration, readings with the
// low-light rule and clamping, the composed dial picture, and the dial
// callback from the library's thread.

#include "CColorMunkiSensor.h"
#include "CPreferences.h"
#include "PreferencesRegistry.h"
#include "SimSensorRig.h"

#include <QSemaphore>
#include <QThread>
#include <QtTest>
#include <memory>

using namespace pz;
using test::SimSensorRig;

namespace {

// A listener on the GUI thread: what it heard and on which thread.
class Listener : public QObject {
    Q_OBJECT
public:
    QVector<int> heard;
    bool offThread = false;

public slots:
    void positionChanged(int value)
    {
        heard.append(value);
        offThread = offThread || QThread::currentThread() != thread();
    }
};

QString resource(const char *name)
{
    return QStringLiteral(":/images/Resources/") + QLatin1String(name);
}

// Overlays and arrows the composed picture can hold.
const char *const kLayers[] = {"TargetEmissive.png",          "TargetCalibrate.png",
                               "TargetAmbient.png",           "ArrowCalibrateFromBelow.png",
                               "ArrowCalibrateFromAbove.png", "ArrowAmbientFromBelow.png",
                               "ArrowEmissiveFromAbove.png"};

// A pixel opaque in this layer and transparent in every other: its mark.
QPoint findMark(const QString &layer)
{
    const QImage own = QImage(resource(layer.toLatin1())).convertToFormat(QImage::Format_ARGB32);
    QVector<QImage> others;
    for (const char *name : kLayers)
        if (layer != QLatin1String(name))
            others.append(QImage(resource(name)).convertToFormat(QImage::Format_ARGB32));
    for (int y = own.height() - 1; y >= 0; --y)
        for (int x = 0; x < own.width(); ++x) {
            if (qAlpha(own.pixel(x, y)) != 255)
                continue;
            bool alone = true;
            for (const QImage &o : others)
                alone = alone && qAlpha(o.pixel(x, y)) == 0;
            if (alone)
                return QPoint(x, y);
        }
    return QPoint(-1, -1);
}

QPoint markOf(const QString &layer)
{
    static QHash<QString, QPoint> marks;
    if (!marks.contains(layer))
        marks.insert(layer, findMark(layer));
    return marks.value(layer);
}

// The layers whose marks show in a composed picture.
QStringList layersIn(const QImage &composed)
{
    const QImage image = composed.convertToFormat(QImage::Format_ARGB32);
    QStringList found;
    for (const char *name : kLayers) {
        const QPoint mark = markOf(QLatin1String(name));
        const QRgb want = QImage(resource(name)).convertToFormat(QImage::Format_ARGB32).pixel(mark);
        if (image.pixel(mark) == want)
            found.append(QLatin1String(name));
    }
    return found;
}

} // namespace

class TestColorMunkiSensor : public QObject {
    Q_OBJECT

    std::unique_ptr<SimSensorRig> m_rig;
    SimColorMunkiLibrary *m_device = nullptr;

    std::unique_ptr<CColorMunkiSensor> connect()
    {
        return m_rig->connect<CColorMunkiSensor>(SimSensors::ColorMunki);
    }

    // The dial at calibrate, a zero calibration, then the dial at `dial`.
    void calibrate(CColorMunkiSensor &sensor, int dial)
    {
        m_device->setDial(kMunkiDialCalibrate);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorOK);
        m_device->setDial(dial);
        // The adapter reads the dial when it hears of the move.
        m_device->waitForDeliveries();
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(sensors); }
    void init()
    {
        m_rig = std::make_unique<SimSensorRig>();
        m_device = &m_rig->sensors.munki();
        m_rig->show(255, 255, 255);
    }
    void cleanup() { m_rig.reset(); }

    void withoutDevice()
    {
        CColorMunkiSensor sensor;
        QVERIFY(!sensor.m_Connected);
        QVERIFY(!sensor.DoesSupportAmbientLightMeasurement());
        QCOMPARE(sensor.GetSensorMeasurementSelectorPosition(), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.GetSensorMeasurementButtonStatus(), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.ZeroCal(), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.Measure(1), CSensor::kSensorNotConnected);
        QCOMPARE(sensor.MeasureAmbientLight(), CSensor::kSensorNotConnected);
        // No callback registered, nothing reset.
        QVERIFY(!m_device->calls().contains("AddDeviceMessageHandler"));
    }

    void initSetsDisplayMode()
    {
        m_rig->sensors.attach(SimSensors::ColorMunki);
        {
            CColorMunkiSensor sensor;
            QVERIFY(sensor.m_Connected);
            QVERIFY(sensor.DoesSupportAmbientLightMeasurement());
            QCOMPARE(sensor.m_MeasurementMode, int(CSensor::kSensorModeDisplay));
            QCOMPARE(sensor.GetSerialNumber(), QString("CM123456"));
            QCOMPARE(m_device->calls(),
                     QStringList({"IsConnected", "SetOption Colorimetric.Illumination=Emission",
                                  "SetOption Colorimetric.Observer=TwoDegree",
                                  "SetOption ColorSpaceDescription.Type=CIEXYZ",
                                  "SetOption MeasurementMode=SingleEmission",
                                  "AddDeviceMessageHandler", "GetOption SerialNumber"}));
            m_device->clearCalls();
        }
        // The handler goes first, then the options are reset.
        QCOMPARE(m_device->calls(),
                 QStringList({"RemoveDeviceMessageHandler", "SetOption Reset=All"}));
        QVERIFY(m_device->options().isEmpty());

        // A device that refuses the display mode is not connected.
        m_device->faults().failNext(SimColorMunkiLibrary::optionCall("ColorSpaceDescription.Type"), -5);
        CColorMunkiSensor refused;
        QVERIFY(!refused.m_Connected);
    }

    void dialAndButton_data()
    {
        QTest::addColumn<int>("dial");
        QTest::addColumn<int>("position");
        QTest::newRow("display") << 2000 << 0;
        QTest::newRow("calibrate") << 2001 << 1;
        QTest::newRow("projector") << 2002 << 2;
        QTest::newRow("ambient") << 2003 << 3;
        QTest::newRow("below") << 1999 << -1;
        QTest::newRow("above") << 2004 << -1;
    }
    void dialAndButton()
    {
        QFETCH(int, dial);
        QFETCH(int, position);
        auto sensor = connect();
        m_device->setDial(dial);
        QCOMPARE(sensor->GetSensorMeasurementSelectorPosition(), position);

        QCOMPARE(sensor->GetSensorMeasurementButtonStatus(), int(CSensor::kButtonReleased));
        m_device->pressButton();
        QCOMPARE(sensor->GetSensorMeasurementButtonStatus(), int(CSensor::kButtonPressed));
        m_device->faults().failNext("ButtonPressed", 1002);
        QCOMPARE(sensor->GetSensorMeasurementButtonStatus(), int(CSensor::kButtonUndetermined));
    }

    void modeChanges()
    {
        auto sensor = connect();
        calibrate(*sensor, kMunkiDialDisplay);
        QVERIFY(sensor->m_ZeroCalibrationDone);
        m_device->clearCalls();

        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::kSensorModeDisplay), CSensor::kSensorOK);
        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::typeSensorMeasurementMode(3)),
                 CSensor::kSensorRefused);
        QVERIFY(m_device->calls().isEmpty());
        QVERIFY(sensor->m_ZeroCalibrationDone);

        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        QCOMPARE(m_device->calls(),
                 QStringList({"SetOption MeasurementMode=SingleAmbientLight",
                              "SetOption Colorimetric.Illumination=Emission",
                              "SetOption ColorSpaceDescription.Type=CIEXYZ"}));
        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::kSensorModeDisplay), CSensor::kSensorOK);
        QVERIFY(!sensor->m_ZeroCalibrationDone);
        QCOMPARE(sensor->m_MeasurementMode, int(CSensor::kSensorModeDisplay));
    }

    void refusedOptions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("observer") << 1 << QByteArray("Colorimetric.Observer")
                                  << CSensor::kSensorNotConnected;
        QTest::newRow("display mode") << 1 << QByteArray("MeasurementMode") << CSensor::kSensorRefused;
        QTest::newRow("ambient mode") << 2 << QByteArray("MeasurementMode") << CSensor::kSensorRefused;
        QTest::newRow("ambient illumination") << 2 << QByteArray("Colorimetric.Illumination")
                                              << CSensor::kSensorRefused;
        QTest::newRow("ambient colour space") << 2 << QByteArray("ColorSpaceDescription.Type")
                                              << CSensor::kSensorRefused;
    }
    void refusedOptions()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, key);
        QFETCH(int, result);
        auto sensor = connect();
        const int other = mode == 1 ? 2 : 1;
        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::typeSensorMeasurementMode(other)),
                 CSensor::kSensorOK);
        const QByteArray before = m_device->options().value("MeasurementMode");
        m_device->faults().failNext(SimColorMunkiLibrary::optionCall(key), -5);
        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::typeSensorMeasurementMode(mode)), result);
        QCOMPARE(sensor->m_MeasurementMode, other);
        // The library stays in the mode the adapter knows.
        QCOMPARE(m_device->options().value("MeasurementMode"), before);
    }

    void failedSwitchToAmbientKeepsDisplayReadings()
    {
        auto sensor = connect();
        m_device->faults().failNext(SimColorMunkiLibrary::optionCall("Colorimetric.Illumination"), -5);
        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::kSensorModeAmbient),
                 CSensor::kSensorRefused);
        calibrate(*sensor, kMunkiDialDisplay);
        const SimXYZ light = m_rig->show(255, 255, 255);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(qAbs(out.Y - light.Y) < 1e-3 * light.Y);
    }

    void zeroCalibration()
    {
        auto sensor = connect();
        m_device->setDial(kMunkiDialDisplay);
        QCOMPARE(sensor->ZeroCal(), CSensor::kSensorWrongPosition);
        m_device->setDial(kMunkiDialCalibrate);
        m_device->faults().failNext("Calibrate", -5);
        QCOMPARE(sensor->ZeroCal(), CSensor::kSensorZeroCalFailed);
        QVERIFY(!sensor->m_ZeroCalibrationDone);
        QCOMPARE(sensor->ZeroCal(), CSensor::kSensorOK);
        QVERIFY(sensor->m_ZeroCalibrationDone);
    }

    void readings_data()
    {
        QTest::addColumn<bool>("preference");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<int>("readings");
        QTest::newRow("bright") << true << 120.0 << 1;
        QTest::newRow("Y 10") << true << 10.0 << 1;
        QTest::newRow("Y 9.9") << true << 9.9 << 2;
        QTest::newRow("Y 2.5") << true << 2.5 << 3;
        QTest::newRow("Y 2.5, preference off") << false << 2.5 << 1;
    }
    void readings()
    {
        QFETCH(bool, preference);
        QFETCH(double, firstY);
        QFETCH(int, readings);
        CPreferences prefs;
        prefs.SetAverageLowLightMeasurements(preference ? 1 : 0);
        ScopedPreferences scope(&prefs);
        auto sensor = connect();
        calibrate(*sensor, kMunkiDialDisplay);
        m_device->clearCalls();
        m_device->scriptReadings({SimXYZ{1.0, firstY, 2.0}, SimXYZ{3.0, 1.5, 2.0},
                                  SimXYZ{5.0, 1.5, 2.0}});
        // The count asked for does not matter.
        QCOMPARE(sensor->Measure(5), CSensor::kSensorOK);
        QCOMPARE(m_device->calls().count("TriggerMeasurement"), readings);
        QCOMPARE(m_device->calls().count("GetTriStimulus"), readings);
        QCOMPARE(int(sensor->m_ReadingCount), readings);
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.X, double(readings));   // mean of 1, 3, 5
        QVERIFY(qAbs(out.Y - (firstY + 1.5 * (readings - 1)) / readings) < 1e-5);
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorDeviceFailed);
    }

    void readingFailures()
    {
        auto sensor = connect();
        m_device->setDial(kMunkiDialCalibrate);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorWrongPosition);
        calibrate(*sensor, kMunkiDialDisplay);
        // Negative averages near black are reported as 0 (three readings:
        // the low-light rule).
        m_device->scriptReadings(QVector<SimXYZ>(3, SimXYZ{-0.02, 0.01, -0.04}));
        QCOMPARE(sensor->Measure(1), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QCOMPARE(out.X, 0.0);
        QVERIFY(out.Y > 0.0099 && out.Y < 0.0101);
        QCOMPARE(out.Z, 0.0);

        m_device->faults().failNext("TriggerMeasurement", -5);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorDeviceFailed);
        m_device->faults().failNext("GetTriStimulus", -5);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorDeviceFailed);
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorDeviceFailed);
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorWrongPosition);
        m_device->setDial(kMunkiDialAmbient);
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorRefused);   // display mode
    }

    void ambientReading()
    {
        auto sensor = connect();
        m_rig->sensors.light().setAmbient(SimAmbientLight{150, 0.3127, 0.3290});
        QCOMPARE(sensor->SetSensorMeasurementMode(CSensor::kSensorModeAmbient), CSensor::kSensorOK);
        calibrate(*sensor, kMunkiDialAmbient);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorWrongPosition);
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorOK);
        CCIEXYZ out;
        QCOMPARE(sensor->GetXYZData(out), CSensor::kSensorOK);
        QVERIFY(qAbs(out.Y - 150) < 1e-3);
        QVERIFY(qAbs(out.X - 150 * 0.3127 / 0.3290) < 1e-3);
        m_device->faults().failNext("TriggerMeasurement", -5);
        QCOMPARE(sensor->MeasureAmbientLight(), CSensor::kSensorDeviceFailed);
        m_device->setDial(kMunkiDialDisplay);
        QCOMPARE(sensor->Measure(1), CSensor::kSensorRefused);   // ambient mode
    }

    void composedPicture_data()
    {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("dial");
        QTest::addColumn<QStringList>("layers");
        QTest::newRow("calibrate from display")
            << 1 << 2000 << QStringList({"TargetCalibrate.png", "ArrowCalibrateFromBelow.png"});
        QTest::newRow("calibrate from ambient")
            << 1 << 2003 << QStringList({"TargetCalibrate.png", "ArrowCalibrateFromAbove.png"});
        QTest::newRow("calibrate there") << 1 << 2001 << QStringList({"TargetCalibrate.png"});
        QTest::newRow("ambient from display")
            << 3 << 2000 << QStringList({"TargetAmbient.png", "ArrowAmbientFromBelow.png"});
        QTest::newRow("display from calibrate")
            << 0 << 2001 << QStringList({"TargetEmissive.png", "ArrowEmissiveFromAbove.png"});
        QTest::newRow("display from an unknown dial") << 0 << 1999
                                                      << QStringList({"TargetEmissive.png"});
        QTest::newRow("projector") << 2 << 2000 << QStringList();
    }
    void composedPicture()
    {
        QFETCH(int, wanted);
        QFETCH(int, dial);
        QFETCH(QStringList, layers);
        auto sensor = connect();
        m_device->setDial(dial);
        const QImage picture = sensor->GetPixmapForCurrentPosition(wanted).toImage();
        QCOMPARE(picture.size(), QImage(CColorMunkiSensor::DialPicture(dial)).size());
        QCOMPARE(layersIn(picture), layers);
    }

    void picturesExist()
    {
        auto sensor = connect();
        sensor_physical_data data;
        QCOMPARE(sensor->GetSensorPhyscalData(data), 0);
        for (const QString &path :
             {data.m_ZeroCalibrationPicture, data.m_OnDisplayPicture, data.m_TurnToAmbientPicture,
              data.m_TurnToDisplayPicture, data.m_AmbientMeasurementPicture,
              CColorMunkiSensor::DialPicture(kMunkiDialProjector)})
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        for (const char *name : kLayers)
            QVERIFY2(markOf(QLatin1String(name)) != QPoint(-1, -1), name);
    }

    void dialMovesReachTheGuiThread()
    {
        auto sensor = connect();
        Listener derived, base, byName;
        QObject::connect(sensor.get(), &CColorMunkiSensor::SensorMeasurementSelectorPositionChanged,
                         &derived, &Listener::positionChanged);
        CSensor *asSensor = sensor.get();
        QObject::connect(asSensor, &CSensor::SensorMeasurementSelectorPositionChanged, &base,
                         &Listener::positionChanged);
        QObject::connect(sensor.get(), SIGNAL(SensorMeasurementSelectorPositionChanged(int)),
                         &byName, SLOT(positionChanged(int)));

        m_device->setDial(kMunkiDialCalibrate);
        m_device->pressButton();   // message 1: nothing
        m_device->waitForDeliveries();
        QTRY_COMPARE(derived.heard, QVector<int>({2001}));
        QTRY_COMPARE(base.heard, QVector<int>({2001}));
        QTRY_COMPARE(byName.heard, QVector<int>({2001}));
        QCoreApplication::processEvents();
        QCOMPARE(derived.heard.size() + base.heard.size() + byName.heard.size(), 3);
        QVERIFY(!derived.offThread && !base.offThread && !byName.offThread);

        m_device->deliver(kMunkiMessageButton);
        m_device->deliver(7);
        m_device->waitForDeliveries();
        QCoreApplication::processEvents();
        QCOMPARE(derived.heard.size(), 1);
    }

    void destroyedWhileACallbackRuns()
    {
        auto sensor = connect();
        QSemaphore entered, release;
        // A listener on the library's thread holds the callback up.
        QObject::connect(
            sensor.get(), &CColorMunkiSensor::SensorMeasurementSelectorPositionChanged, sensor.get(),
            [&](int) {
                entered.release();
                release.tryAcquire(1, 50);
            },
            Qt::DirectConnection);
        m_device->setDial(kMunkiDialAmbient);
        QVERIFY(entered.tryAcquire(1, 5000));
        sensor.reset();   // waits for the callback to end
        m_device->setDial(kMunkiDialDisplay);
        m_device->waitForDeliveries();
        QCOMPARE(entered.available(), 0);
    }
};

QTEST_MAIN(TestColorMunkiSensor)
#include "tst_colormunkisensor.moc"
