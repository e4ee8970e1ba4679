#include "ControllerRig.h"

#include "ApplicationHooks.h"
#include "CDDCMonitor.h"
#include "CMonAPIDummy.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "MasterControlDataFile.h"
#include "PZ_Main_Dialog.h"
#include "PreferencesRegistry.h"
#include "Resources.h"
#include "SimOrvaneMonitor.h"
#include "SummaryReport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && f.open(QIODevice::WriteOnly)
        && f.write(bytes) == bytes.size();
}

// Starts the controller with its windows and answers the first count
// message boxes with OK, in turn; their texts, then "not opened" when the
// windows did not open.
QStringList firstBoxes(ControllerRig &rig, MasterControl &c, int count)
{
    QStringList texts;
    std::vector<std::unique_ptr<pz::test::ModalBoxAnswer>> answers;
    std::function<void()> answerNext = [&] {
        if (int(answers.size()) == count)
            return;
        answers.push_back(std::make_unique<pz::test::ModalBoxAnswer>([&](QMessageBox &box) {
            texts << box.text();
            box.button(QMessageBox::Ok)->click();
            answerNext();
        }));
    };
    answerNext();
    c.Startup(false);
    if (!rig.waitOpened(c))
        texts << "not opened";
    return texts;
}

const QString kNotCalibrated = "Display 1 - HXSIM24 is not calibrated.<br>";

// The virtual clock, with the waits of worker threads counted; it can hold
// a worker at one of its waits, as a monitor that is slow to answer holds
// the detection there, until that thread's work is abandoned. It notes
// whether a file (the data file) was there while a worker still waited,
// let go included.
class GateClock : public pz::VirtualClock {
public:
    explicit GateClock(int holdAtWorkerWait = -1, const QString &watchedFile = QString())
        : m_holdAt(holdAtWorkerWait), m_watchedFile(watchedFile)
    {
    }

    void sleepUs(qint64 us) override
    {
        pz::VirtualClock::sleepUs(us);
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            return;
        noteWatchedFile();
        if (m_workerWaits.fetchAndAddOrdered(1) + 1 != m_holdAt)
            return;
        m_held.storeRelease(1);
        // A thread nobody stops is let go after a while: the test then fails
        // on what it does next instead of hanging.
        QElapsedTimer held;
        held.start();
        while (!pz::workAbandoned() && held.elapsed() < 10000)
            QThread::msleep(1);
        noteWatchedFile();
    }
    int workerWaits() const { return m_workerWaits.loadAcquire(); }
    bool waitHeld(int ms = 30000) const
    {
        return QTest::qWaitFor([this] { return m_held.loadAcquire() == 1; }, ms);
    }
    bool fileSeenByWorker() const { return m_fileSeen.loadAcquire() == 1; }

private:
    const int m_holdAt;
    const QString m_watchedFile;
    QAtomicInt m_workerWaits{0};
    QAtomicInt m_held{0};
    QAtomicInt m_fileSeen{0};

    void noteWatchedFile()
    {
        if (!m_watchedFile.isEmpty() && QFileInfo::exists(m_watchedFile))
            m_fileSeen.storeRelease(1);
    }
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
        MasterControl &c = rig.build();
        QCOMPARE(fileBytes(rig.dataFile() + ".bad"), damage);
        QCOMPARE(c.GetMonitorTracker()->GetCount(), 0);
        QCOMPARE(c.GetMultiMonitor()->GetStoredCount(), 0);
        QVERIFY(c.WillWriteDataAtExit());
        QStringList boxes = firstBoxes(rig, c, 2);
        QCOMPARE(boxes.size(), 2);
        QVERIFY2(boxes[0].contains(QDir::toNativeSeparators(rig.dataFile() + ".bad"))
                     && boxes[0].contains("Open Previous Calibration"),
                 qPrintable(boxes[0]));
        QCOMPARE(boxes[1], kNotCalibrated);
        rig.stop();
        QVERIFY(fileBytes(rig.dataFile()).startsWith(QByteArray("\x00\x00\xde\xab", 4)));
        QCOMPARE(fileBytes(rig.dataFile() + ".bad"), damage);

        boxes = firstBoxes(rig, rig.build(), 2);
        QCOMPARE(boxes.value(0), kNotCalibrated);
    }

    // A preferences file that does not read is kept aside, the defaults
    // take its place, and the user is told once when the windows open,
    // before a damaged data file's notice and the display check's summary.
    void damagedPreferencesTold_data()
    {
        QTest::addColumn<bool>("dataFileDamaged");
        QTest::newRow("preferences") << false;
        QTest::newRow("preferences and data file") << true;
    }
    void damagedPreferencesTold()
    {
        QFETCH(bool, dataFileDamaged);
        ControllerRig rig;
        const QString preferences = rig.home.filePath("config") + '/' + GetStringResource(12);
        // The preferences' magic, then a version cut short.
        const QByteArray damage("\x00\x00\xfe\xab\x00\x00", 6);
        QVERIFY(writeFile(preferences, damage));
        if (dataFileDamaged)
            QVERIFY(writeFile(rig.dataFile(), "garbage"));

        QStringList boxes = firstBoxes(rig, rig.build(), dataFileDamaged ? 3 : 2);
        QCOMPARE(boxes.size(), dataFileDamaged ? 3 : 2);
        QVERIFY2(boxes[0].contains(QDir::toNativeSeparators(preferences + ".bad"))
                     && boxes[0].contains("Edit > Preferences"),
                 qPrintable(boxes[0]));
        if (dataFileDamaged)
            QVERIFY2(boxes[1].contains(QDir::toNativeSeparators(rig.dataFile() + ".bad")),
                     qPrintable(boxes[1]));
        QCOMPARE(boxes.last(), kNotCalibrated);
        QCOMPARE(fileBytes(preferences + ".bad"), damage);
        rig.stop();

        // The exit wrote the defaults: the next start tells nothing.
        QVERIFY(fileBytes(preferences).startsWith(QByteArray("\x00\x00\xfe\xab", 4)));
        boxes = firstBoxes(rig, rig.build(), 1);
        QCOMPARE(boxes, QStringList{kNotCalibrated});
        QCOMPARE(fileBytes(preferences + ".bad"), damage);
    }

    // Ending the program while the monitors are detected: the detection is
    // given up at its next step (nothing more goes to the monitor). A data
    // file that is there keeps the list from before; on a first run, the
    // file written at exit is written after the detection has stopped,
    // reads back whole and holds no list cut short: none, or the whole
    // one. The detection is held at several of its waits in turn.
    void endedDuringDetection_data()
    {
        QTest::addColumn<double>("when");
        QTest::addColumn<bool>("firstRun");
        const QList<QPair<const char *, double>> waits{
            {"first wait", 0.0}, {"a quarter in", 0.25}, {"half way", 0.5}, {"last wait", 1.0}};
        for (bool firstRun : {false, true})
            for (const auto &[name, when] : waits)
                QTest::newRow(qPrintable(QString(name) + (firstRun ? ", no data file yet" : "")))
                    << when << firstRun;
    }
    void endedDuringDetection()
    {
        QFETCH(double, when);
        QFETCH(bool, firstRun);
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
        CMultiMonitor wholeList;
        CMonitorTracker tracker;
        QCOMPARE(pz::readMasterControlData(rig.dataFile(), wholeList, tracker), 0);
        QVERIFY(wholeList.GetStoredCount() > 1);
        if (firstRun)
            QVERIFY(QFile::remove(rig.dataFile()));

        GateClock gate(1 + int(when * (detectionWaits - 1)), firstRun ? rig.dataFile() : QString());
        pz::ScopedClock scope(&gate);
        MasterControl &c = rig.start(true);
        QVERIFY(gate.waitHeld());
        pz::SimOrvaneMonitor *monitor = rig.desktop->monitor(1);
        const int sent = monitor->frames().size();
        rig.stop();
        QCOMPARE(monitor->frames().size(), sent);
        Q_UNUSED(c);
        if (!firstRun) {
            QCOMPARE(fileBytes(rig.dataFile()), before);
            return;
        }
        QVERIFY2(!gate.fileSeenByWorker(), "the data file was written while the detection ran");
        CMultiMonitor stored;
        QCOMPARE(pz::readMasterControlData(rig.dataFile(), stored, tracker), 0);
        QVERIFY2(stored.GetStoredCount() == 0 || stored.GetStoredCount() == wholeList.GetStoredCount(),
                 qPrintable(QString::number(stored.GetStoredCount())));
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
