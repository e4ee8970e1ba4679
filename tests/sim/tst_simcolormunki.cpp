// The simulated ColorMunki: options, the zero calibration each mode change
// demands, readings by dial and mode, unplug, the automatic hand and the
// device messages on the simulator's own thread.

#include "SimSensorRig.h"

#include <QSemaphore>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>

using namespace pz;

namespace {

struct Heard {
    QMutex lock;
    QVector<int> messages;
    bool offThread = false;
    QThread *testThread = nullptr;
    QSemaphore *entered = nullptr;   // released, then held up briefly
};

void record(MunkiDeviceMessage message, const char *, void *context)
{
    auto *heard = static_cast<Heard *>(context);
    if (heard->entered) {
        heard->entered->release();
        QThread::msleep(50);
    }
    QMutexLocker lock(&heard->lock);
    heard->messages.append(message);
    heard->offThread = heard->offThread || QThread::currentThread() != heard->testThread;
}

} // namespace

class TestSimColorMunki : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SimSensorRig> m_rig;

    SimColorMunkiLibrary &device() { return m_rig->sensors.munki(); }

    void setMode(const QByteArray &mode)
    {
        QCOMPARE(device().SetOption("MeasurementMode", mode), 0);
    }

private slots:
    void init()
    {
        m_rig = std::make_unique<test::SimSensorRig>();
        m_rig->show(200, 200, 200);
        m_rig->sensors.attach(SimSensors::ColorMunki);
    }
    void cleanup() { m_rig.reset(); }

    void options()
    {
        QCOMPARE(&colorMunkiLibrary(), static_cast<IColorMunkiLibrary *>(&device()));
        QCOMPARE(device().IsConnected(), 0);
        QCOMPARE(device().SetOption("Colorimetric.Observer", "TwoDegree"), 0);
        QCOMPARE(device().SetOption("Colorimetric.Observer", "TenDegree"), SimColorMunkiLibrary::kFailed);
        QCOMPARE(device().SetOption("Speed", "Fast"), SimColorMunkiLibrary::kFailed);
        device().faults().failNext(SimColorMunkiLibrary::optionCall("Colorimetric.Observer"), -9);
        QCOMPARE(device().SetOption("Colorimetric.Observer", "TwoDegree"), -9);
        QCOMPARE(device().GetOption("Colorimetric.Observer"), QByteArray("TwoDegree"));
        QCOMPARE(device().GetOption("SerialNumber"), QByteArray("CM123456"));
        QCOMPARE(device().SetOption("Reset", "All"), 0);
        QVERIFY(device().options().isEmpty());

        m_rig.reset();
        QCOMPARE(colorMunkiLibrary().IsConnected(), kMunkiNoLibrary);
    }

    void calibrationAndReadings()
    {
        setMode("SingleEmission");
        QCOMPARE(device().Calibrate(), SimColorMunkiLibrary::kFailed);   // dial at display
        QCOMPARE(device().TriggerMeasurement(), SimColorMunkiLibrary::kFailed);   // not calibrated
        device().setDial(kMunkiDialCalibrate);
        QCOMPARE(device().Calibrate(), 0);
        QCOMPARE(device().TriggerMeasurement(), SimColorMunkiLibrary::kFailed);   // dial wrong
        device().setDial(kMunkiDialDisplay);
        QCOMPARE(device().TriggerMeasurement(), 0);
        float xyz[3] = {0, 0, 0};
        QCOMPARE(device().GetTriStimulus(xyz, 0), 0);
        QCOMPARE(xyz[1], float(m_rig->sensors.light().emissive().Y));
        QCOMPARE(m_rig->clock.waitsUs(), QVector<qint64>({SimColorMunkiLibrary::kCalibrationUs,
                                                     SimColorMunkiLibrary::kMeasurementUs}));

        // A mode change demands a new zero calibration; the same mode does not.
        setMode("SingleEmission");
        QVERIFY(device().zeroCalibrated());
        setMode("SingleAmbientLight");
        QVERIFY(!device().zeroCalibrated());
        device().setDial(kMunkiDialCalibrate);
        QCOMPARE(device().Calibrate(), 0);
        device().setDial(kMunkiDialDisplay);
        QCOMPARE(device().TriggerMeasurement(), SimColorMunkiLibrary::kFailed);
        QCOMPARE(device().GetTriStimulus(xyz, 0), SimColorMunkiLibrary::kFailed);
        device().setDial(kMunkiDialAmbient);
        m_rig->sensors.light().setAmbient(SimAmbientLight{80, 0.3457, 0.3585});
        QCOMPARE(device().TriggerMeasurement(), 0);
        QCOMPARE(device().GetTriStimulus(xyz, 0), 0);
        QCOMPARE(xyz[1], 80.0f);
        QVERIFY(qAbs(xyz[0] - 80 * 0.3457 / 0.3585) < 1e-4);

        // Over its range a display reading fails.
        setMode("SingleEmission");
        device().setDial(kMunkiDialCalibrate);
        QCOMPARE(device().Calibrate(), 0);
        device().setDial(kMunkiDialDisplay);
        device().scriptReadings({SimXYZ{1900, 2001, 1800}});
        QCOMPARE(device().TriggerMeasurement(), SimColorMunkiLibrary::kFailed);
    }

    void unplugged()
    {
        device().faults().loseNow();
        QVERIFY(device().IsConnected() != 0);
        QVERIFY(device().SetOption("MeasurementMode", "SingleEmission") != 0);
        QVERIFY(device().TriggerMeasurement() != 0);
        QVERIFY(device().GetOption("SerialNumber").isEmpty());
        device().faults().replug();
        QCOMPARE(device().IsConnected(), 0);
        m_rig->sensors.detach(SimSensors::ColorMunki);
        QVERIFY(device().IsConnected() != 0);
    }

    void automaticHandAndMessages()
    {
        Heard heard;
        heard.testThread = QThread::currentThread();
        QCOMPARE(device().AddDeviceMessageHandler(record, &heard), 0);
        device().setAutomaticHand(true);
        setMode("SingleEmission");
        QCOMPARE(device().dial(), kMunkiDialCalibrate);
        QCOMPARE(device().Calibrate(), 0);
        QCOMPARE(device().dial(), kMunkiDialDisplay);
        setMode("SingleAmbientLight");
        QCOMPARE(device().Calibrate(), 0);
        QCOMPARE(device().dial(), kMunkiDialAmbient);
        device().setDial(kMunkiDialAmbient);   // no move, no message
        device().pressButton();
        device().waitForDeliveries();
        QMutexLocker lock(&heard.lock);
        QCOMPARE(heard.messages, QVector<int>({2, 2, 2, 2, 1}));
        QVERIFY(heard.offThread);
        lock.unlock();
        QCOMPARE(device().RemoveDeviceMessageHandler(record), 0);
        QCOMPARE(device().RemoveDeviceMessageHandler(record), SimColorMunkiLibrary::kFailed);
    }

    void removingWaitsForTheRunningHandler()
    {
        Heard heard;
        QSemaphore entered;
        heard.entered = &entered;
        QCOMPARE(device().AddDeviceMessageHandler(record, &heard), 0);
        device().setDial(kMunkiDialAmbient);
        QVERIFY(entered.tryAcquire(1, 5000));
        QCOMPARE(device().RemoveDeviceMessageHandler(record), 0);
        // The handler has finished: its message is recorded.
        QMutexLocker lock(&heard.lock);
        QCOMPARE(heard.messages, QVector<int>({2}));
    }
};

QTEST_MAIN(TestSimColorMunki)
#include "tst_simcolormunki.moc"
