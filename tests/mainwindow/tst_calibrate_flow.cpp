// The calibrate flow's endings with a calibration thread that completes at
// once with a prepared result: the summary's intensity line, the
// calibration-settings file (its failure reported, a second one in the same
// minute kept apart), cancellation, a run without a calibrated result and
// the warm-up warning. Profiles are switched off here; the end-to-end test
// writes them. Also the start-up display check on a desktop without a
// supported monitor.

#include "CalibrateThreadFactory.h"
#include "CalibrationSettingsFile.h"
#include "DisplaySettingsCheck.h"
#include "FlowUser.h"
#include "MainWindowRig.h"
#include "Messages.h"
#include "ModalBox.h"
#include "MyCustomMessageBox.h"
#include "SimOrvaneMonitor.h"

#include <QComboBox>
#include <QDirIterator>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

const QString kSerial = QStringLiteral("SIM0001");

// Completes at once with the result it was given.
class PreparedThread : public CalibrateThread {
public:
    explicit PreparedThread(const CAdjustValue &result) : CalibrateThread(nullptr), m_result(result) {}
    ~PreparedThread() override { stopAndWait(); }
    void calibrate() override
    {
        m_AdjustValue = m_result;
        emit CalibrationComplete();
    }

private:
    CAdjustValue m_result;
};

CAdjustValue prepared(double whiteY, bool valid = true)
{
    CAdjustValue r;
    r.m_IsValid = valid;
    r.SetIsCalibrationOn(valid);
    r.SetMonitorName(QStringLiteral("HXSIM24"));
    r.SetMonitorSerial(kSerial);
    r.m_MonitorVendorProductID = 0x4F525634;
    r.SetCalibrationDateTime(QDateTime(QDate(2026, 12, 1), QTime(10, 20, 30)));
    r.m_ColorValue.m_AdjustedPatches[CColorValue::kWhitePatch].Y = whiteY;
    return r;
}

// The demo desktop with the HX monitor's backlight-on counter (half hours)
// at `halfHours`.
std::unique_ptr<SimDesktop> desktopWithBacklight(quint16 halfHours,
                                                const QString &serial = kSerial)
{
    auto d = std::make_unique<SimDesktop>();
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.registerValues[0x2A8] = halfHours;
    config.serial = serial;
    d->addMonitor(1, QRectF(0, 0, 1920, 1200), config);
    d->plugBridge(1);
    d->addPlainDisplay(2, QRectF(1920, 0, 1920, 1080), QByteArray());
    return d;
}

struct FlowCaseRig : MainWindowRig {
    CAdjustValue result = prepared(150.0);
    ScopedCalibrateThreadFactory factory{[this](CalibrateThreadKind) {
        return new PreparedThread(result);
    }};

    // A monitor on for a while by default: no warm-up warning.
    explicit FlowCaseRig(quint16 backlightHalfHours = 40, const QString &serial = kSerial)
        : MainWindowRig(desktopWithBacklight(backlightHalfHours, serial))
    {
        controller->GetPreferences()->SetICCAfterCalibration(false);
        open();
        pTargetSensor->m_pCurrentSensor = new StubSensor(true, false);
    }

    void selectTarget(unsigned nameId)
    {
        window->main_Target_comboBox->setCurrentIndex(
            window->main_Target_comboBox->findText(GetStringResource(nameId)));
        QCOMPARE(window->currentTarget().m_Name, GetStringResource(nameId));
    }
    QStringList settingsFiles() const
    {
        QStringList found;
        QDirIterator it(home.path(), {QStringLiteral("*.mcs")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QFileInfo(it.next()).fileName();
        found.sort();
        return found;
    }
    bool tracked(_MonitorTrackerRecord &record)
    {
        record.m_Key = kSerial;
        return controller->GetMonitorTracker()->GetMonitorTrackerRecord(record) >= 0;
    }
};

const QString kRed = QStringLiteral("red circle icon.png");

// A sensor with a notice to show before its first display readings.
class NoticeSensor : public StubSensor {
public:
    static QString notice() { return QStringLiteral("Let the sensor rest on the screen first."); }
    NoticeSensor() : StubSensor(true, false) {}
    bool GetSensorSupportsUserPreparationWarning() override { return true; }
    int GetSensorPhyscalData(sensor_physical_data &data) override
    {
        data.m_PreparationWarningText = notice();
        return 0;
    }
};

// A calibration of the monitor kSerial in the tracker, switched on, made at
// `when`; its settings are the defaults, which the monitor does not hold.
void storeCalibrated(MasterControl &controller, const QDateTime &when)
{
    _MonitorTrackerRecord record;
    record.m_ID = qint32(0x4F525634);
    record.m_Key = kSerial;
    record.m_Adjust = prepared(150.0);
    record.m_Adjust.SetCalibrationDateTime(when);
    controller.GetMonitorTracker()->UpdateMonitorTrackerRecord(record);
}

} // namespace

class TestCalibrateFlow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        Q_INIT_RESOURCE(sensors);
    }

    // Photo Editing aims at 140 cd/m²: the line comes when that is more
    // than 1.1 times the measured white.
    void intensityLine_data()
    {
        QTest::addColumn<bool>("maximum");
        QTest::addColumn<double>("white");
        QTest::addColumn<bool>("line");
        QTest::newRow("140 at 127") << false << 127.0 << true;
        QTest::newRow("140 at 128") << false << 128.0 << false;
        QTest::newRow("140 at 0") << false << 0.0 << false;
        QTest::newRow("maximum at 50") << true << 50.0 << false;
    }
    void intensityLine()
    {
        QFETCH(bool, maximum);
        QFETCH(double, white);
        QFETCH(bool, line);
        FlowCaseRig rig;
        QCOMPARE(rig.window->currentTarget().m_Intensity, 140.0);
        if (maximum)
            rig.selectTarget(203);   // Broadcast Video
        rig.result = prepared(white);
        FlowUser user;
        rig.window->calibrate();
        QCOMPARE(user.calibrationResult, int(QDialog::Accepted));
        QCOMPARE(user.boxTexts.size(), 1);
        const QString summary = user.boxTexts.first();
        QVERIFY(summary.contains(GetStringResource(800)));
        QCOMPARE(summary.contains(QStringLiteral("Target Intensity of")), line);
        // No profile asked for: no profile lines, and the box counts down.
        QVERIFY(!summary.contains(GetStringResource(801)));
        QVERIFY(user.countdowns.first());
        if (line)
            QVERIFY(summary.contains(QStringLiteral("Target Intensity of 140")));
        QCOMPARE(rig.settingsFiles().size(), 1);
        _MonitorTrackerRecord record;
        QVERIFY(rig.tracked(record));
        QCOMPARE(record.m_Adjust.m_CalibrationDateTime, rig.result.m_CalibrationDateTime);
        QCOMPARE(rig.window->main_Calibration_Status_Text->text(), GetStringResource(301));
    }

    void sameMinuteTwice()
    {
        FlowCaseRig rig;
        for (int run = 0; run < 3; ++run) {
            FlowUser user;
            rig.window->calibrate();
            QCOMPARE(user.boxTexts.size(), 1);
            QVERIFY(!user.boxTexts.first().contains(kRed));
        }
        const QStringList files = rig.settingsFiles();
        QCOMPARE(files.size(), 3);
        QVERIFY(files.at(0).endsWith(QStringLiteral(" (2).mcs")));
        QVERIFY(files.at(1).endsWith(QStringLiteral(" (3).mcs")));
        QVERIFY(!files.at(2).contains(QStringLiteral(" (")));
    }

    void settingsFolderUnwritable()
    {
        FlowCaseRig rig;
        // A file where the folder should be.
        const QString folder = rig.settingsFolder();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(QDir::cleanPath(folder));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QStringList before = QDir::current().entryList(QDir::Files);
        FlowUser user;
        rig.window->calibrate();
        QCOMPARE(user.boxTexts.size(), 1);
        const QString summary = user.boxTexts.first();
        QVERIFY(summary.contains(GetStringResource(800)));
        QVERIFY(summary.contains(kRed + QStringLiteral("\">&nbsp;") + GetStringResource(101)));
        QVERIFY(!user.countdowns.first());
        QCOMPARE(QDir::current().entryList(QDir::Files), before);
        // Everything else as usual.
        _MonitorTrackerRecord record;
        QVERIFY(rig.tracked(record));
    }

    // The monitor records cannot be written after a calibration: the user
    // is told, as for every file that cannot be written.
    void trackerFileUnwritable()
    {
        FlowCaseRig rig;
        const QString file = rig.controller->GetMasterControlFileNameAndPath();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        FlowUser user;
        rig.window->calibrate();
        QCOMPARE(user.boxTexts.size(), 2);
        QCOMPARE(user.boxTexts.first(), errorMessageText(-1500));
        QVERIFY(user.boxTexts.last().contains(GetStringResource(800)));
        QVERIFY(QFileInfo(file).isDir());
    }

    // The profile's file name is taken by a folder: the profile is not
    // written, the rest of the calibration is kept.
    void profileCannotBeWritten()
    {
        FlowCaseRig rig;
        rig.controller->GetPreferences()->SetICCAfterCalibration(true);
        // Primaries and white a profile can be built from (sRGB at 150 cd/m²).
        CCIEXYZ *patches = rig.result.m_ColorValue.m_FinalPatches;
        patches[CColorValue::kRedPatch] = CCIEXYZ(61.9, 31.9, 2.9);
        patches[CColorValue::kGreenPatch] = CCIEXYZ(53.6, 107.3, 17.9);
        patches[CColorValue::kBluePatch] = CCIEXYZ(27.1, 10.8, 142.6);
        patches[CColorValue::kWhitePatch] = CCIEXYZ(142.6, 150.0, 163.4);
        {
            FlowUser user;
            rig.window->calibrate();
            QVERIFY(user.boxTexts.first().contains(GetStringResource(801)));
        }
        const QString path = rig.controller->GetPreferences()->GetICCProfileLocation()
            + QStringLiteral("/HXSIM24 SIM0001.icc");
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path));
        FlowUser user;
        rig.window->calibrate();
        QCOMPARE(user.boxTexts.size(), 1);
        const QString summary = user.boxTexts.first();
        QVERIFY(summary.contains(GetStringResource(800)));
        QVERIFY2(summary.contains(kRed + QStringLiteral("\">&nbsp;") + GetStringResource(123)),
                 qPrintable(summary));
        QVERIFY(!summary.contains(GetStringResource(801)));
        QVERIFY(!user.countdowns.first());
        QCOMPARE(rig.settingsFiles().size(), 2);
        _MonitorTrackerRecord record;
        QVERIFY(rig.tracked(record));
        QVERIFY(record.m_Adjust.m_IsCalibrationOn);
    }

    // A monitor that reports no serial number has no tracker record: the
    // calibration shows until the display is chosen again.
    void monitorWithoutSerial()
    {
        FlowCaseRig rig(40, QString());
        rig.result.SetMonitorSerial(QString());
        const int records = rig.controller->GetMonitorTracker()->GetCount();
        FlowUser user;
        rig.window->calibrate();
        QVERIFY(user.boxTexts.first().contains(GetStringResource(800)));
        QCOMPARE(rig.controller->GetMonitorTracker()->GetCount(), records);
        QCOMPARE(rig.window->main_Calibration_Status_Text->text(), GetStringResource(301));
        rig.window->onDisplaySelectionChanged(rig.window->main_Display_comboBox->currentIndex());
        QCOMPARE(rig.window->main_Calibration_Status_Text->text(), GetStringResource(300));
        QVERIFY(!rig.window->main_Calibration_On_checkBox->isEnabled());
    }

    // Before the calibration window runs: the sensor's notice, the
    // information window closed and device-change refreshes held back (a
    // refresh would replace the monitor object under the running thread).
    void beforeTheRun()
    {
        FlowCaseRig rig;
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = new NoticeSensor;
        rig.information()->show();
        bool informationShown = true;
        bool refreshHeld = false;
        QStringList boxesBefore;
        FlowUser user;
        user.onCalibrationWindow = [&](PZ_Calibrate_Dialog &) {
            informationShown = rig.information()->isVisible();
            refreshHeld = rig.window->isRefreshHeld();
            boxesBefore = user.boxTexts;
        };
        rig.window->calibrate();
        QCOMPARE(user.calibrationWindows, 1);
        QCOMPARE(boxesBefore, QStringList{NoticeSensor::notice()});
        QVERIFY(!informationShown);
        QVERIFY(refreshHeld);
        // Afterwards the refreshes go on and the report is back.
        QVERIFY(!rig.window->isRefreshHeld());
        QVERIFY(rig.information()->isVisible());
    }

    void cancelled()
    {
        FlowCaseRig rig;
        FlowUser user;
        user.cancelCalibration = true;
        rig.window->calibrate();
        QCOMPARE(user.calibrationResult, int(QDialog::Rejected));
        QCOMPARE(user.boxTexts, QStringList{GetStringResource(115)});
        QVERIFY(user.countdowns.first());
        QVERIFY(rig.settingsFiles().isEmpty());
    }

    void noCalibratedResult()
    {
        FlowCaseRig rig;
        rig.result = prepared(150.0, false);
        FlowUser user;
        rig.window->calibrate();
        QCOMPARE(user.calibrationResult, int(QDialog::Accepted));
        QCOMPARE(user.boxTexts.size(), 1);
        QVERIFY(user.boxTexts.first().contains(GetStringResource(150)));
        QVERIFY(user.boxTexts.first().contains(kRed));
        QVERIFY(!user.countdowns.first());
        _MonitorTrackerRecord record;
        QVERIFY(!rig.tracked(record));
        QVERIFY(rig.settingsFiles().isEmpty());
    }

    void warmUpDeclined()
    {
        FlowCaseRig rig(0);
        {
            FlowUser user;
            user.declineWarmUp = true;
            rig.window->calibrate();
            QCOMPARE(user.boxTexts, QStringList{GetStringResource(807)});
            QCOMPARE(user.calibrationWindows, 0);
        }
        QVERIFY(rig.controller->GetPreferences()->IsDontShowAgainMessageSet(2));
        {
            FlowUser user;
            rig.window->calibrate();
            QCOMPARE(user.calibrationWindows, 1);
            QCOMPARE(user.boxTexts.size(), 1);
            QVERIFY(user.boxTexts.first().contains(GetStringResource(800)));
        }
    }


    void startupCheckWithoutSupportedMonitors_data()
    {
        QTest::addColumn<bool>("plainDisplay");
        QTest::newRow("no monitors") << false;
        QTest::newRow("a plain display") << true;
    }
    void startupCheckWithoutSupportedMonitors()
    {
        QFETCH(bool, plainDisplay);
        auto desk = std::make_unique<SimDesktop>();
        if (plainDisplay)
            desk->addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
        MainWindowRig rig(std::move(desk));
        rig.detect();
        QCOMPARE(rig.controller->GetMultiMonitor()->GetDisplayCount(), plainDisplay ? 1 : 0);
        ModalBoxAnswer answer;
        QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
        QCOMPARE(answer.text(),
                 QStringLiteral("No supported Orvane monitors were detected. Verify that a supported "
                                "model of display monitor is connected. See the README file and "
                                "Users Guide for more information.<br>"));
    }

    // The summary of the start-up display check: one line per finding, in a
    // box that closes itself after 60 seconds.
    void startupCheckSummary_data()
    {
        QTest::addColumn<bool>("bridge");
        QTest::addColumn<int>("calibratedDaysAgo");
        QTest::addColumn<QString>("expected");
        const QString name = QStringLiteral("Display 1 - HXSIM24");
        QTest::newRow("one day past") << true << 15 << GetStringResource(603).arg(name).arg(1);
        QTest::newRow("two days past") << true << 16 << GetStringResource(602).arg(name).arg(2);
        // Without its bridge the monitor is supported but cannot be talked to.
        QTest::newRow("no monitor answers") << false << 15 << GetStringResource(173);
    }
    void startupCheckSummary()
    {
        QFETCH(bool, bridge);
        QFETCH(int, calibratedDaysAgo);
        QFETCH(QString, expected);
        auto desk = std::make_unique<SimDesktop>();
        desk->addMonitor(1, QRectF(0, 0, 1920, 1200), hxConfig(kSerial));
        if (bridge)
            desk->plugBridge(1);
        MainWindowRig rig(std::move(desk));
        rig.detect();
        storeCalibrated(*rig.controller, QDateTime::currentDateTime().addDays(-calibratedDaysAgo));
        rig.controller->GetPreferences()->SetRecalibrationPeriod(14);
        // The settings cannot be read: no question, the due date is still
        // looked at.
        rig.desktop->monitor(1)->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
        int counter = -1;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalBoxAnswer answer([&](QMessageBox &box) {
            counter = static_cast<MyCustomMessageBox &>(box).counter();
            icon = box.icon();
            box.button(QMessageBox::Ok)->click();
        });
        QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
        QCOMPARE(answer.text(), expected);
        QCOMPARE(counter, 59);
        QCOMPARE(icon, QMessageBox::Information);
    }

    // The settings changed, the user wants them back, and putting them back
    // fails: the user is told, and the calibration goes off as after No.
    void startupCheckFailedRestore()
    {
        FlowCaseRig rig;
        storeCalibrated(*rig.controller, QDateTime::currentDateTime());
        SimOrvaneMonitor *monitor = rig.desktop->monitor(1);
        QString question;
        QString error;
        std::unique_ptr<ModalBoxAnswer> errorAnswer;
        ModalBoxAnswer questionAnswer([&](QMessageBox &box) {
            question = box.text();
            monitor->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
            errorAnswer = std::make_unique<ModalBoxAnswer>([&](QMessageBox &next) {
                error = next.text();
                next.button(QMessageBox::Ok)->click();
            });
            box.button(QMessageBox::Yes)->click();
        });
        QVERIFY(CheckAllSupportedDisplaySettings(nullptr));
        monitor->clearFaults();
        QVERIFY(question.startsWith("Settings for Display 1 - HXSIM24 have changed."));
        QCOMPARE(error, GetStringResource(144));
        _MonitorTrackerRecord record;
        QVERIFY(rig.tracked(record));
        QVERIFY(!record.m_Adjust.m_IsCalibrationOn);
    }
};

QTEST_MAIN(TestCalibrateFlow)
#include "tst_calibrate_flow.moc"
