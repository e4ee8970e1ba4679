#include "ControllerRig.h"

#include "ApplicationHooks.h"
#include "CDDCMonitor.h"
#include "CMonAPIDummy.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "PZ_Main_Dialog.h"
#include "PreferencesRegistry.h"
#include "Resources.h"
#include "SimOrvaneMonitor.h"
#include "SummaryReport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSplashScreen>
#include <QtTest>

using pz::test::ControllerRig;

namespace {

// The splash on screen (a closed one waits for its deletion).
QSplashScreen *splash()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *s = qobject_cast<QSplashScreen *>(w); s && s->isVisible())
            return s;
    return nullptr;
}

QString head()
{
    return "<img src=\":/images/Resources/splashpz.png\"><br>" + GetVersionString();
}

const QString kLookingForDisplays = "<br>Detecting displays...";
const QString kLookingForSensor = "<br>Detecting calibration sensor...";
const QString kNoSensor =
    "<br><img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;No calibration "
    "sensor detected";

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The virtual clock, with the waits of worker threads counted; it can hold
// a worker at one of its waits, as a monitor that is slow to answer holds
// the detection there, until that thread's work is abandoned.
class GateClock : public pz::VirtualClock {
public:
    explicit GateClock(int holdAtWorkerWait = -1) : m_holdAt(holdAtWorkerWait) {}

    void sleepUs(qint64 us) override
    {
        pz::VirtualClock::sleepUs(us);
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            return;
        if (m_workerWaits.fetchAndAddOrdered(1) + 1 != m_holdAt)
            return;
        m_held.storeRelease(1);
        // A thread nobody stops is let go after a while: the test then fails
        // on what it does next instead of hanging.
        QElapsedTimer held;
        held.start();
        while (!pz::workAbandoned() && held.elapsed() < 10000)
            QThread::msleep(1);
    }
    int workerWaits() const { return m_workerWaits.loadAcquire(); }
    bool waitHeld(int ms = 30000) const
    {
        return QTest::qWaitFor([this] { return m_held.loadAcquire() == 1; }, ms);
    }

private:
    const int m_holdAt;
    QAtomicInt m_workerWaits{0};
    QAtomicInt m_held{0};
};

// The payload of a DDC/CI request frame the host wrote, empty for other
// frames.
QByteArray requestPayload(const pz::SimFrame &frame)
{
    if ((frame.address & 0xFE) != 0x6E || frame.bytes.size() < 3 || quint8(frame.bytes[0]) != 0x51)
        return QByteArray();
    return frame.bytes.mid(2, quint8(frame.bytes[1]) & 0x7F);
}

} // namespace

class TestMasterControl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    // Both detections end; the first monitor becomes the target display,
    // the signals come once, also when the completions come again.
    void opensOnce()
    {
        ControllerRig rig;
        MasterControl &c = rig.start();
        QCOMPARE(pz::applicationPreferences(), c.GetPreferences());
        QSignalSpy checkDisplays(&c, &MasterControl::start_check_display_settings);
        QSignalSpy checkSensor(&c, &MasterControl::start_check_calibration_sensor);
        QVERIFY(rig.waitOpened(c));
        c.monitorDetectionCompleteIn();
        c.sensorDetectionCompleteIn();
        QTest::qWait(50);
        QCOMPARE(rig.opened->size(), 1);
        QCOMPARE(checkDisplays.size(), 1);
        QCOMPARE(checkSensor.size(), 1);
        QVERIFY(!splash());

        QCOMPARE(c.GetMultiMonitor()->GetDisplayCount(), 2);
        QCOMPARE(c.GetTargetDisplay()->GetMonitorData().m_ModelName, QString("HXSIM24"));
        QVERIFY(c.GetTargetDisplay()->m_pDDCMonitor);
        QVERIFY(information_window);
        QVERIFY(!information_window->isVisible());

        // The sensor the selector kept lives on the GUI thread, not on the
        // detection thread that found it.
        QVERIFY(pTargetSensor->m_pCurrentSensor);
        QCOMPARE(pTargetSensor->m_pCurrentSensor->thread(), QThread::currentThread());
        QCOMPARE(c.GetTargetSensor(), pTargetSensor);

        rig.stop();
        QVERIFY(!pTargetSensor);
        QVERIFY(!pCMonAPIDummy);
        QVERIFY(!information_window);
        QVERIFY(!pz::applicationPreferences());
    }

    // The display check comes before the sensor check.
    void startupChecksInOrder()
    {
        ControllerRig rig;
        MasterControl &c = rig.build();
        QStringList order;
        connect(&c, &MasterControl::start_check_display_settings, this,
                [&] { order << "display"; });
        connect(&c, &MasterControl::start_check_calibration_sensor, this,
                [&] { order << "sensor"; });
        pz::test::ModalBoxAnswer summary;
        c.Startup(false);
        QVERIFY(rig.waitOpened(c));
        QCOMPARE(order, QStringList({"display", "sensor"}));
    }

    void splashSize()
    {
        ControllerRig rig;
        rig.start();
        QSplashScreen *s = splash();
        QVERIFY(s);
        const QPixmap logo(":/images/Resources/splashpz.png");
        QVERIFY(!logo.isNull());
        QCOMPARE(s->size(), QSize(logo.width() + 10,
                                  logo.height() + 3 * QFontMetrics(s->font()).height() + 10));
        QVERIFY(rig.waitOpened(*rig.controller));
    }

    // The lines from the names known when the splash first shows them (the
    // slots only keep the names while there is no splash; the detection
    // threads start after the first message).
    void splashMessages_data()
    {
        QTest::addColumn<bool>("autoMode");
        QTest::addColumn<QStringList>("monitors");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<QString>("expected");
        const QString nl = "\n";
        QTest::newRow("at first") << false << QStringList() << QString()
                                  << head() + kLookingForDisplays + nl + kLookingForSensor;
        QTest::newRow("sensor before the monitors")
            << false << QStringList() << "i1 Display Pro"
            << head() + kLookingForDisplays + nl + "<br>Detected i1 Display Pro";
        QTest::newRow("no sensor") << false << QStringList() << "-"
                                   << head() + kLookingForDisplays + nl + kNoSensor;
        QTest::newRow("last monitor named")
            << false << QStringList{"HXSIM24", "Display 2"} << "-"
            << head() + "<br>Detected Display 2" + nl + kNoSensor;
        QTest::newRow("auto mode") << true << QStringList{"HXSIM24"} << "i1 Display Pro"
                                   << head() + "<br>Detected HXSIM24" + nl;
    }
    void splashMessages()
    {
        QFETCH(bool, autoMode);
        QFETCH(QStringList, monitors);
        QFETCH(QString, sensor);
        QFETCH(QString, expected);
        ControllerRig rig;
        MasterControl &c = rig.build();
        QVERIFY(!splash());
        for (const QString &m : monitors)
            c.detectedMonitorIn(m);
        if (!sensor.isEmpty())
            c.detectedSensorIn(sensor);
        c.displayDetectionMessage();
        // Both modes end with the display check's summary.
        pz::test::ModalBoxAnswer summary;
        c.Startup(autoMode);
        QSplashScreen *s = splash();
        QVERIFY(s);
        QCOMPARE(s->message(), expected);
        QVERIFY(rig.waitOpened(c));
    }

    // What the detection threads report ends up on the splash.
    void detectedNames_data()
    {
        QTest::addColumn<bool>("withSensor");
        QTest::addColumn<QString>("sensorLine");
        QTest::newRow("sensor") << true << "<br>Detected X-Rite i1 Display Pro";
        QTest::newRow("no sensor") << false << kNoSensor;
    }
    void detectedNames()
    {
        QFETCH(bool, withSensor);
        QFETCH(QString, sensorLine);
        ControllerRig rig(withSensor);
        MasterControl &c = rig.start();
        QSplashScreen *s = splash();
        QSignalSpy changed(s, &QSplashScreen::messageChanged);
        QVERIFY(rig.waitOpened(c));
        QVERIFY(!changed.isEmpty());
        const QString last = changed.last().at(0).toString();
        QVERIFY2(last.endsWith(sensorLine) || last.contains("<br>Detected "), qPrintable(last));
        bool sawSensorLine = false;
        for (const QList<QVariant> &args : changed)
            sawSensorLine = sawSensorLine || args.at(0).toString().endsWith(sensorLine);
        QVERIFY(sawSensorLine);
        // Each display's name replaces the one before: the demo's bridge
        // monitor, then its plain second display, which ends the line.
        bool sawMonitor = false;
        for (const QList<QVariant> &args : changed)
            sawMonitor = sawMonitor || args.at(0).toString().contains("<br>Detected HXSIM24 (USB)\n");
        QVERIFY(sawMonitor);
        QVERIFY2(last.contains("<br>Detected Unknown Display\n"), qPrintable(last));
        QCOMPARE(bool(pTargetSensor->m_pCurrentSensor), withSensor);
    }

    // Auto mode: only the monitors are detected, no window is made.
    void autoMode()
    {
        ControllerRig rig;
        MasterControl &c = rig.start(true);
        QVERIFY(rig.waitOpened(c));
        QVERIFY(!information_window);
        QVERIFY(!test_pattern_window);
        QVERIFY(!pTargetSensor->m_pCurrentSensor);
        QVERIFY(c.GetTargetDisplay()->m_pDDCMonitor);
        QVERIFY(!splash());
    }

    void classifiers_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<bool>("plainDisplay");
        QTest::addColumn<bool>("autoLuminance");
        QTest::addColumn<bool>("lutPriority");
        QTest::newRow("HXSIM24") << quint16(0x2441) << false << false << false;
        QTest::newRow("HXSIM24 and a plain display") << quint16(0x2441) << true << false << true;
        QTest::newRow("auto-luminance model") << quint16(0x2301) << false << true << true;
    }
    void classifiers()
    {
        QFETCH(quint16, product);
        QFETCH(bool, plainDisplay);
        QFETCH(bool, autoLuminance);
        QFETCH(bool, lutPriority);
        QVERIFY(!isDisplaySupportingAutoLuminancePresent());
        auto desk = std::make_unique<pz::SimDesktop>();
        pz::SimMonitorConfig config = pz::SimMonitorConfig::hxsim24();
        config.product = product;
        desk->addMonitor(1, QRectF(0, 0, 1920, 1200), config);
        if (plainDisplay)
            desk->addPlainDisplay(2, QRectF(1920, 0, 1920, 1080), QByteArray());
        ControllerRig rig(false, std::move(desk));
        QVERIFY(rig.waitOpened(rig.start(true)));
        QCOMPARE(isDisplaySupportingAutoLuminancePresent(), autoLuminance);
        QCOMPARE(isDisplaySupportingLUTCalibrationPriorityPresent(), lutPriority);
    }

    // First start: no file (-1500), created at exit; the next start reads
    // it and writes the same bytes.
    void dataFileRoundTrip()
    {
        ControllerRig rig;
        QVERIFY(!QFile::exists(rig.dataFile()));
        {
            MasterControl &c = rig.start();
            QCOMPARE(c.GetMasterControlFileNameAndPath(), rig.dataFile());
            QCOMPARE(c.ReadMasterControlData(), -1500);
            QVERIFY(c.WillWriteDataAtExit());
            QVERIFY(rig.waitOpened(c));
            rig.stop();
        }
        const QByteArray first = fileBytes(rig.dataFile());
        QVERIFY(!first.isEmpty());
        MasterControl &again = rig.start();
        QCOMPARE(again.ReadMasterControlData(), 0);
        QCOMPARE(again.GetMultiMonitor()->GetStoredCount(), 2);
        QVERIFY(rig.waitOpened(again));
        rig.stop();
        QCOMPARE(fileBytes(rig.dataFile()), first);
    }

    void damagedDataFileKeptAside()
    {
        ControllerRig rig;
        QVERIFY(QDir().mkpath(rig.home.filePath("config")));
        const QByteArray damage("\x00\x00\xde\xab garbage", 12);
        QFile f(rig.dataFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(damage);
        f.close();
        // The user is told once, when the windows open, before the display
        // check's summary.
        const auto firstTwoBoxes = [&](MasterControl &c) {
            QStringList texts;
            std::unique_ptr<pz::test::ModalBoxAnswer> second;
            pz::test::ModalBoxAnswer first([&](QMessageBox &box) {
                texts << box.text();
                box.button(QMessageBox::Ok)->click();
                second = std::make_unique<pz::test::ModalBoxAnswer>([&](QMessageBox &next) {
                    texts << next.text();
                    next.button(QMessageBox::Ok)->click();
                });
            });
            c.Startup(false);
            if (!rig.waitOpened(c))
                texts << "not opened";
            return texts;
        };
        MasterControl &c = rig.build();
        QCOMPARE(fileBytes(rig.dataFile() + ".bad"), damage);
        QCOMPARE(c.GetMonitorTracker()->GetCount(), 0);
        QCOMPARE(c.GetMultiMonitor()->GetStoredCount(), 0);
        QVERIFY(c.WillWriteDataAtExit());
        QStringList boxes = firstTwoBoxes(c);
        QCOMPARE(boxes.size(), 2);
        QVERIFY2(boxes[0].contains(QDir::toNativeSeparators(rig.dataFile() + ".bad"))
                     && boxes[0].contains("Open Previous Calibration"),
                 qPrintable(boxes[0]));
        QCOMPARE(boxes[1], QString("Display 1 - HXSIM24 is not calibrated.<br>"));
        rig.stop();
        QVERIFY(fileBytes(rig.dataFile()).startsWith(QByteArray("\x00\x00\xde\xab", 4)));
        QCOMPARE(fileBytes(rig.dataFile() + ".bad"), damage);

        boxes = firstTwoBoxes(rig.build());
        QCOMPARE(boxes.value(0), QString("Display 1 - HXSIM24 is not calibrated.<br>"));
    }

    // Ending the program while the monitors are detected: the detection is
    // given up at its next step (nothing more goes to the monitor), and the
    // data file keeps the list from before. The detection is held at
    // several of its waits in turn.
    void endedDuringDetection_data()
    {
        QTest::addColumn<double>("when");
        QTest::newRow("first wait") << 0.0;
        QTest::newRow("a quarter in") << 0.25;
        QTest::newRow("half way") << 0.5;
        QTest::newRow("last wait") << 1.0;
    }
    void endedDuringDetection()
    {
        QFETCH(double, when);
        ControllerRig rig(false);
        int detectionWaits = 0;
        {
            GateClock counting;
            pz::ScopedClock scope(&counting);
            QVERIFY(rig.waitOpened(rig.start(true)));
            detectionWaits = counting.workerWaits();
            rig.stop();
        }
        QVERIFY(detectionWaits > 4);
        const QByteArray before = fileBytes(rig.dataFile());
        QVERIFY(!before.isEmpty());

        GateClock gate(1 + int(when * (detectionWaits - 1)));
        pz::ScopedClock scope(&gate);
        MasterControl &c = rig.start(true);
        QVERIFY(gate.waitHeld());
        pz::SimOrvaneMonitor *monitor = rig.desktop->monitor(1);
        const int sent = monitor->frames().size();
        rig.stop();
        QCOMPARE(monitor->frames().size(), sent);
        QCOMPARE(fileBytes(rig.dataFile()), before);
        Q_UNUSED(c);
    }

    // The Summary's monitor fields come from the detection: the detection
    // thread reads them, and filling the information window asks the
    // monitor nothing on the GUI thread.
    void summaryReadOffTheGuiThread()
    {
        ControllerRig rig;
        pz::SimOrvaneMonitor *monitor = rig.desktop->monitor(1);
        MasterControl &c = rig.start();
        QVERIFY(rig.waitOpened(c));
        const QThread *gui = QThread::currentThread();
        int capabilityRequests = 0;
        for (const pz::SimFrame &frame : monitor->frames()) {
            const QByteArray payload = requestPayload(frame);
            if (payload.isEmpty() || quint8(payload[0]) != 0xF3)
                continue;
            ++capabilityRequests;
            QVERIFY(frame.thread != gui);
        }
        QVERIFY(capabilityRequests > 0);

        PZ_Main_Dialog *window = p_PZ_Main_Dialog;
        QVERIFY(window);
        monitor->clearLog();
        window->updateInformationWindow();
        QVERIFY(monitor->frames().isEmpty());
        QLabel *firmware = information_window->findChild<QLabel *>(
            summaryFieldName(kFirmwareVersion));
        QLabel *usage = information_window->findChild<QLabel *>(summaryFieldName(kCurrentUsage));
        QVERIFY(firmware && usage);
        QCOMPARE(firmware->text(), c.GetTargetDisplay()->m_pDDCMonitor->GetKnownMPUVersion());
        QVERIFY(!firmware->text().isEmpty());
        QVERIFY2(usage->text().endsWith("hours usage"), qPrintable(usage->text()));
    }

    // Without a preferences folder nothing is read or written anywhere else.
    void noPreferencesFolder()
    {
        ControllerRig rig;
        QFile blocker(rig.home.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName() + "/config"));
        MasterControl &c = rig.start();
        QVERIFY(rig.waitOpened(c));
        const QString inRoot = "/" + GetStringResource(13);
        QCOMPARE(c.GetMasterControlFileNameAndPath(), inRoot);
        QCOMPARE(c.ReadMasterControlData(), -1500);
        QCOMPARE(c.WriteMasterControlData(), -1500);
        rig.stop();
        QVERIFY(!QFile::exists(inRoot));
    }

    // A directory where the file belongs cannot be read or kept aside: the
    // exit leaves it alone.
    void directoryAtDataPathUntouched()
    {
        ControllerRig rig;
        QVERIFY(QDir().mkpath(rig.dataFile() + "/inside"));
        MasterControl &c = rig.start();
        QVERIFY(!c.WillWriteDataAtExit());
        QVERIFY(rig.waitOpened(c));
        rig.stop();
        QVERIFY(QFileInfo(rig.dataFile()).isDir());
        QVERIFY(QFileInfo::exists(rig.dataFile() + "/inside"));
        QVERIFY(!QFileInfo::exists(rig.dataFile() + ".bad"));
    }
};

QTEST_MAIN(TestMasterControl)
#include "tst_mastercontrol.moc"
