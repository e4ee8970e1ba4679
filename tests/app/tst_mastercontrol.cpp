#include "ControllerRig.h"

#include "ApplicationHooks.h"
#include "CMonAPIDummy.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "PreferencesRegistry.h"
#include "Resources.h"

#include <QApplication>
#include <QDir>
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
        MasterControl &c = rig.start();
        QCOMPARE(fileBytes(rig.dataFile() + ".bad"), damage);
        QCOMPARE(c.GetMonitorTracker()->GetCount(), 0);
        QCOMPARE(c.GetMultiMonitor()->GetStoredCount(), 0);
        QVERIFY(c.WillWriteDataAtExit());
        QVERIFY(rig.waitOpened(c));
        rig.stop();
        QVERIFY(fileBytes(rig.dataFile()).startsWith(QByteArray("\x00\x00\xde\xab", 4)));
        QCOMPARE(fileBytes(rig.dataFile() + ".bad"), damage);
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
