// The sensor selector on the simulated devices: the order of automatic
// detection and its signals, selection by type, list names, and the thread
// an adapter kept by a detection on another thread belongs to.

#include "CPreferences.h"
#include "CTargetSensor.h"
#include "PreferencesRegistry.h"
#include "SimSensorRig.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace pz;

namespace {

// Which family's library was asked, in order: the connection tests of the
// i1 library, the Spyder2's Startup and the USB bus listings (the Spyder3
// and Spyder4), passed on to the simulated devices. The i1 Display Pro and
// ColorMunki libraries log their own calls; whether they were asked since
// the last entry is noted before each entry, and by catchUp().
struct ProbeLog {
    SimSensors &sensors;
    QStringList entries;
    int i1d3Calls = 0;
    int munkiCalls = 0;

    void add(const QString &entry)
    {
        catchUp();
        entries << entry;
    }
    void catchUp()
    {
        noteGrowth(QStringLiteral("munki"), int(sensors.munki().calls().size()), munkiCalls);
        noteGrowth(QStringLiteral("i1d3"), int(sensors.i1d3().calls().size()), i1d3Calls);
    }

private:
    void noteGrowth(const QString &name, int calls, int &seen)
    {
        if (calls > seen)
            entries << name;
        seen = calls;
    }
};

class LoggedEyeOneLibrary : public IEyeOneLibrary {
public:
    LoggedEyeOneLibrary(IEyeOneLibrary &inner, ProbeLog &log) : m_inner(inner), m_log(log) {}
    int IsConnected() override
    {
        m_log.add("i1 " + QString::fromLatin1(m_inner.GetOption("DeviceType")));
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
        m_log.add("Spyder2");
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

class LoggedUsbBackend : public IUsbBackend {
public:
    LoggedUsbBackend(IUsbBackend &inner, ProbeLog &log) : m_inner(inner), m_log(log) {}
    QVector<UsbDeviceInfo> listDevices(quint16 vendorId) override
    {
        m_log.add("USB");
        return m_inner.listDevices(vendorId);
    }
    int open(const UsbDeviceInfo &info, std::unique_ptr<IUsbDevice> &device) override
    {
        return m_inner.open(info, device);
    }

private:
    IUsbBackend &m_inner;
    ProbeLog &m_log;
};

// Every simulated sensor family, none attached, with the probes logged, and
// preferences of the program's own.
struct SelectorRig {
    test::SimSensorRig sim;
    SimSensors &sensors = sim.sensors;
    CPreferences preferences;
    ScopedPreferences preferencesScope{&preferences};
    ProbeLog log{sensors};
    LoggedEyeOneLibrary loggedEyeOne{sensors.eyeOne(), log};
    ScopedEyeOneLibrary loggedEyeOneSeam{&loggedEyeOne};
    LoggedSpyder2Library loggedSpyder2{sensors.spyder2(), log};
    ScopedSpyder2Library loggedSpyder2Seam{&loggedSpyder2};
    LoggedUsbBackend loggedUsb{sensors.spyderBus().usb(), log};
    ScopedUsbBackend loggedUsbSeam{&loggedUsb};

    void attach(const QString &text) { QVERIFY(sensors.attachFromText(text)); }
    SimEyeOneLibrary &eyeOne() { return sensors.eyeOne(); }
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
        rig.log.catchUp();
        // i1 Pro, i1 Display, ColorMunki, Spyder (Spyder4 and Spyder3 on the
        // USB bus, then the Spyder2), i1 Display Pro; one adapter each.
        QCOMPARE(rig.log.entries, QStringList({"i1 EyeOne", "i1 EyeOneDisplay", "munki", "USB",
                                               "USB", "Spyder2", "i1d3"}));
        QCOMPARE(rig.eyeOne().connectionTests(SimEyeOneLibrary::Pro), 1);
        QCOMPARE(rig.eyeOne().connectionTests(SimEyeOneLibrary::Display), 1);
        QCOMPARE(rig.sensors.spyder2().startups(), 1);
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
        QTest::addColumn<QString>("attached");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("probes");

        const QStringList i1 = {"i1 EyeOne", "i1 EyeOneDisplay"};
        const QStringList spyders = i1 + QStringList{"munki", "USB"};
        QTest::newRow("everything")
            << "i1d3+munki+i1display+i1pro+spyder2+spyder3+spyder4" << 2 << "X-Rite EyeOne"
            << QStringList({"i1 EyeOne"});
        QTest::newRow("i1 Pro and ColorMunki") << "munki+i1pro" << 2 << "X-Rite EyeOne"
                                               << QStringList({"i1 EyeOne"});
        QTest::newRow("i1 Display and Spyder2") << "i1display:serial=100+spyder2" << 1
                                                << "X-Rite iOne Display v2" << i1;
        QTest::newRow("ColorMunki and Spyder4") << "munki+spyder4" << 4 << "X-Rite ColorMunki"
                                                << i1 + QStringList{"munki"};
        QTest::newRow("Spyder4 and i1 Display Pro")
            << "spyder4+i1d3" << 5 << "Datacolor Spyder4" << spyders;
        QTest::newRow("Spyder3") << "spyder3" << 5 << "Datacolor Spyder3"
                                 << spyders + QStringList{"USB"};
        QTest::newRow("Spyder2") << "spyder2" << 5 << "Datacolor Spyder2"
                                 << spyders + QStringList{"USB", "Spyder2"};
        QTest::newRow("i1 Display Pro") << "i1d3" << 3 << "X-Rite i1 Display Pro"
                                        << spyders + QStringList{"USB", "Spyder2", "i1d3"};
    }
    void autoSelectKeepsTheFirstFound()
    {
        QFETCH(QString, attached);
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QStringList, probes);

        SelectorRig rig;
        rig.attach(attached);
        CTargetSensor selector;
        QSignalSpy detected(&selector, &CTargetSensor::detectedSensor);
        QSignalSpy complete(&selector, &CTargetSensor::sensorDetectionComplete);
        QVERIFY(selector.AutoSelect());
        rig.log.catchUp();
        QCOMPARE(rig.log.entries, probes);
        QCOMPARE(int(selector.m_CurrentType), type);
        QVERIFY(selector.m_pCurrentSensor && selector.m_pCurrentSensor->m_Connected);
        QCOMPARE(names(detected), QStringList({name}));
        QCOMPARE(complete.count(), 1);
    }

    void failedSelectionLeavesNoSensor()
    {
        SelectorRig rig;
        rig.attach("i1display:serial=100");
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
        QCOMPARE(rig.eyeOne().storedOption("EyeOneDisplay", "MeasurementMode"), QByteArray("Cleanup"));
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
        rig.attach("i1pro");
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
        rig.attach("i1pro");
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
        rig.attach("spyder2");
        {
            CTargetSensor selector;
            QCOMPARE(selector.SelectType(CTargetSensor::kSensorSpyder), 0);
            QVERIFY(rig.sensors.spyder2().started());
        }
        QVERIFY(!rig.sensors.spyder2().started());
    }
};

QTEST_MAIN(TestTargetSensor)
#include "tst_targetsensor.moc"
