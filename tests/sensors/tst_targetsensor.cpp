// The sensor selector on the simulated devices: the order of automatic
// detection and its signals, selection by type, list names, and the thread
// an adapter kept by a detection on another thread belongs to.

#include "CTargetSensor.h"
#include "EyeOneRig.h"
#include "SimSpyder2Library.h"
#include "UsbDevice.h"
#include "SimUsbBackend.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace pz;

namespace {

// Which family's library was asked, in order: the first call of each
// probe of the i1 and Spyder2 libraries, passed on to the simulated ones.
struct ProbeLog {
    QStringList entries;
};

class LoggedEyeOneLibrary : public IEyeOneLibrary {
public:
    LoggedEyeOneLibrary(IEyeOneLibrary &inner, ProbeLog &log) : m_inner(inner), m_log(log) {}
    int IsConnected() override
    {
        m_log.entries << "i1 " + QString::fromLatin1(m_inner.GetOption("DeviceType"));
        return m_inner.IsConnected();
    }
    int SetOption(const QByteArray &k, const QByteArray &v) override { return m_inner.SetOption(k, v); }
    QByteArray GetOption(const QByteArray &k) override { return m_inner.GetOption(k); }
    int Calibrate() override { return m_inner.Calibrate(); }
    int TriggerMeasurement() override { return m_inner.TriggerMeasurement(); }
    int GetTriStimulus(float xyz[3], int i) override { return m_inner.GetTriStimulus(xyz, i); }

private:
    IEyeOneLibrary &m_inner;
    ProbeLog &m_log;
};

class LoggedSpyder2Library : public ISpyder2Library {
public:
    LoggedSpyder2Library(ISpyder2Library &inner, ProbeLog &log) : m_inner(inner), m_log(log) {}
    int Startup(quint8 record[kCvRecordSize]) override
    {
        m_log.entries << "Spyder2";
        return m_inner.Startup(record);
    }
    int UseCalibration(qint32 c) override { return m_inner.UseCalibration(c); }
    int GetXYZ(int t, qint32 *X, qint32 *Y, qint32 *Z) override { return m_inner.GetXYZ(t, X, Y, Z); }
    int GetRefreshRate(double &rate) override { return m_inner.GetRefreshRate(rate); }
    qint32 GetDetailedError(quint8 *system) override { return m_inner.GetDetailedError(system); }
    int Shutdown() override { return m_inner.Shutdown(); }

private:
    ISpyder2Library &m_inner;
    ProbeLog &m_log;
};

// The i1 rig with the Spyder2 library and an empty USB bus beside it, the
// probes logged.
struct SelectorRig : test::EyeOneRig {
    SimUsbBackend usb;
    ScopedUsbBackend usbScope{&usb};
    SimSpyder2Library spyder2;
    ProbeLog log;
    LoggedEyeOneLibrary loggedEyeOne{library, log};
    ScopedEyeOneLibrary loggedEyeOneSeam{&loggedEyeOne};
    LoggedSpyder2Library loggedSpyder2{spyder2, log};
    ScopedSpyder2Library spyder2Seam{&loggedSpyder2};

    void attachPro() { library.setAttached(SimEyeOneLibrary::Pro, true); }
};

QStringList names(const QSignalSpy &spy)
{
    QStringList found;
    for (const QList<QVariant> &args : spy)
        found << args.at(0).toString();
    return found;
}

} // namespace

class TestTargetSensor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void autoSelectWithNothingAttached()
    {
        SelectorRig rig;
        CTargetSensor selector;
        QSignalSpy detected(&selector, &CTargetSensor::detectedSensor);
        QSignalSpy complete(&selector, &CTargetSensor::sensorDetectionComplete);
        QVector<QString> order;
        connect(&selector, &CTargetSensor::detectedSensor, this, [&] { order << "detected"; });
        connect(&selector, &CTargetSensor::sensorDetectionComplete, this, [&] { order << "complete"; });

        QVERIFY(!selector.AutoSelect());
        QCOMPARE(rig.log.entries, QStringList({"i1 EyeOne", "i1 EyeOneDisplay", "Spyder2"}));
        QCOMPARE(rig.library.connectionTests(SimEyeOneLibrary::Pro), 1);
        QCOMPARE(rig.library.connectionTests(SimEyeOneLibrary::Display), 1);
        QCOMPARE(rig.spyder2.startups(), 1);
        QCOMPARE(names(detected), QStringList({"-"}));
        QCOMPARE(complete.count(), 1);
        QCOMPARE(order, QVector<QString>({"detected", "complete"}));
        QVERIFY(!selector.m_pCurrentSensor);
        QCOMPARE(int(selector.m_CurrentType), 0);
        QString name = "x";
        QVERIFY(selector.GetSensorName(name));
        QCOMPARE(name, QString());
    }

    void autoSelectKeepsTheFirstFound_data()
    {
        QTest::addColumn<bool>("pro");
        QTest::addColumn<bool>("display");
        QTest::addColumn<bool>("spyder2");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("probes");

        QTest::newRow("everything") << true << true << true << 2 << "X-Rite EyeOne"
                                    << QStringList({"i1 EyeOne"});
        QTest::newRow("display and Spyder2") << false << true << true << 1
                                             << "X-Rite iOne Display v2"
                                             << QStringList({"i1 EyeOne", "i1 EyeOneDisplay"});
        QTest::newRow("Spyder2") << false << false << true << 5 << "Datacolor Spyder2"
                                 << QStringList({"i1 EyeOne", "i1 EyeOneDisplay", "Spyder2"});
    }
    void autoSelectKeepsTheFirstFound()
    {
        QFETCH(bool, pro);
        QFETCH(bool, display);
        QFETCH(bool, spyder2);
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QStringList, probes);

        SelectorRig rig;
        rig.library.setAttached(SimEyeOneLibrary::Pro, pro);
        if (display)
            rig.attachDisplay("100");
        rig.spyder2.setAttached(spyder2);
        CTargetSensor selector;
        QSignalSpy detected(&selector, &CTargetSensor::detectedSensor);
        QSignalSpy complete(&selector, &CTargetSensor::sensorDetectionComplete);
        QVERIFY(selector.AutoSelect());
        QCOMPARE(rig.log.entries, probes);
        QCOMPARE(int(selector.m_CurrentType), type);
        QVERIFY(selector.m_pCurrentSensor && selector.m_pCurrentSensor->m_Connected);
        QCOMPARE(names(detected), QStringList({name}));
        QCOMPARE(complete.count(), 1);
    }

    void failedSelectionLeavesNoSensor()
    {
        SelectorRig rig;
        rig.attachDisplay("100");
        CTargetSensor selector;
        QCOMPARE(selector.SelectType(CTargetSensor::kSensorEyeOneDisplay), 0);
        QCOMPARE(int(selector.m_CurrentType), 1);
        QSignalSpy detected(&selector, &CTargetSensor::detectedSensor);
        QSignalSpy complete(&selector, &CTargetSensor::sensorDetectionComplete);
        QCOMPARE(selector.SelectType(CTargetSensor::kSensorColorMunki), CSensor::kSensorNotConnected);
        QVERIFY(!selector.m_pCurrentSensor);
        QCOMPARE(int(selector.m_CurrentType), 0);
        QCOMPARE(detected.count(), 0);
        QCOMPARE(complete.count(), 0);
        // The i1 Display adapter was released: its library is in Cleanup.
        QCOMPARE(rig.library.storedOption("EyeOneDisplay", "MeasurementMode"), QByteArray("Cleanup"));
    }

    void noneOrUndefinedTypeDropsTheSensor_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("0") << 0;
        QTest::newRow("-1") << -1;
        QTest::newRow("6") << 6;
    }
    void noneOrUndefinedTypeDropsTheSensor()
    {
        QFETCH(int, type);
        SelectorRig rig;
        rig.attachPro();
        CTargetSensor selector;
        QCOMPARE(selector.SelectType(CTargetSensor::kSensorEyeOnePro), 0);
        QSignalSpy detected(&selector, &CTargetSensor::detectedSensor);
        QSignalSpy complete(&selector, &CTargetSensor::sensorDetectionComplete);
        QCOMPARE(selector.SelectType(CTargetSensor::typeTargetSensor(type)),
                 CSensor::kSensorNotConnected);
        QVERIFY(!selector.m_pCurrentSensor);
        QCOMPARE(int(selector.m_CurrentType), 0);
        QCOMPARE(names(detected), QStringList({"-"}));
        QCOMPARE(complete.count(), 1);
    }

    void listNames_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << true << "None";
        QTest::newRow("1") << 1 << true << "XRite iOne Display (i1D/i1D2)";
        QTest::newRow("2") << 2 << true << "XRite iOne Pro";
        QTest::newRow("3") << 3 << true << "XRite iOne Display Pro (i1D3)";
        QTest::newRow("4") << 4 << true << "XRite ColorMunki";
        QTest::newRow("5") << 5 << true << "Datacolor Spyder2/3/4";
        QTest::newRow("6") << 6 << false << "unchanged";
        QTest::newRow("-1") << -1 << false << "unchanged";
    }
    void listNames()
    {
        QFETCH(int, type);
        QFETCH(bool, known);
        QFETCH(QString, name);
        CTargetSensor selector;
        QString s = "unchanged";
        QCOMPARE(selector.GetSensorListNames(CTargetSensor::typeTargetSensor(type), s), known);
        QCOMPARE(s, name);
    }

    // Start-up detection runs on a thread that ends afterwards.
    void keptSensorBelongsToTheSelectorsThread()
    {
        SelectorRig rig;
        rig.attachPro();
        CTargetSensor selector;
        QSignalSpy complete(&selector, &CTargetSensor::sensorDetectionComplete);
        bool found = false;
        std::unique_ptr<QThread> detection(QThread::create([&] { found = selector.AutoSelect(); }));
        detection->start();
        QVERIFY(detection->wait(10000));
        detection.reset();
        QVERIFY(found);
        QVERIFY(selector.m_pCurrentSensor);
        QCOMPARE(selector.m_pCurrentSensor->thread(), selector.thread());
        QCOMPARE(complete.count(), 1);
    }

    void destructorReleasesTheSensor()
    {
        SelectorRig rig;
        rig.spyder2.setAttached(true);
        {
            CTargetSensor selector;
            QCOMPARE(selector.SelectType(CTargetSensor::kSensorSpyder), 0);
            QVERIFY(rig.spyder2.started());
        }
        QVERIFY(!rig.spyder2.started());
    }
};

QTEST_MAIN(TestTargetSensor)
#include "tst_targetsensor.moc"
