// Stored calibrations from the main window: Open Previous Calibration after
// two real calibrations on the simulated monitor (the first one chosen in
// the browser and restored), then, from the first calibration's records,
// what loading a calibration-settings file does with files that cannot be
// used, an overdue calibration, a target that is not listed, a restore that
// fails, a change of target and a device-change refresh that was counting
// down. Last the display check the window runs after its start-up.

#include "FlowUser.h"
#include "TestSupport.h"
#include "MainWindowRig.h"
#include "ModalBox.h"
#include "ProgramRig.h"

#include "CDDCMonitor.h"
#include "CalibrationSettingsFile.h"
#include "DisplayChanges.h"
#include "PZ_Open_MCS_File_Dialog.h"
#include "PZ_restore_monitor_settings_dialog.h"
#include "SimOrvaneMonitor.h"
#include "UnwrittenFifo.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeView>
#include <QtEndian>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

const QString kSerial = QStringLiteral("SIM0001");
const quint32 kProfileIdAddress = 0xFF13 + 2;
const unsigned kPhotoEditing = 206;
const unsigned kPrintStandard = 205;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the simulated monitor's colour engine holds once it has taken what
// was written: white, luminance, tone curve, gamut, gains, curve memory and
// table.
QString engineState(SimOrvaneMonitor &monitor)
{
    programClock().sleepMs(5000);
    const SimEngineState s = monitor.appliedEngineState();
    QStringList parts;
    for (int v : {s.preset, s.whiteX, s.whiteY, s.luminance, s.blackTenths, s.gammaMode,
                  s.gammaValue, int(s.customGamut), s.gamut[0], s.gamut[1], s.gamut[2], s.gamut[3],
                  s.gamut[4], s.gamut[5], s.gains[0], s.gains[1], s.gains[2], s.brightness})
        parts << QString::number(v);
    QByteArray tables;
    for (quint16 v : s.curve + s.lut)
        tables += QByteArray::number(v) + ',';
    return parts.join(',') + QLatin1Char('|') + QString::fromLatin1(tables.toBase64());
}

bool trackedRecord(MasterControl &controller, _MonitorTrackerRecord &record)
{
    record = _MonitorTrackerRecord();
    record.m_Key = kSerial;
    return controller.GetMonitorTracker()->GetMonitorTrackerRecord(record) >= 0;
}

// Writes a settings file whose target or result record carries another version.
void writeWithVersion(const QString &path, const CTargetValue &target, const CAdjustValue &result,
                      quint32 magic, quint32 version)
{
    QByteArray bytes = settingsBytes(target, result);
    QByteArray magicBytes(4, 0);
    qToBigEndian(magic, magicBytes.data());
    const int at = bytes.indexOf(magicBytes);
    QVERIFY(at >= 0);
    qToBigEndian(version, bytes.data() + at + 4);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Records every modal window a command opens: the browser chooses the row
// of `choose` and presses Open (Cancel without one); message boxes get
// `answer`. When the
// restore box shows, `onRestore` runs (before its thread can end it).
class ModalWindows : public ModalAnswerer {
public:
    explicit ModalWindows(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : m_answer(answer)
    {
        qApp->installEventFilter(this);
    }

    QString choose;
    std::function<void()> onRestore;
    int restoreBoxes = 0;
    int browsers = 0;
    QStringList boxTexts;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show
            && qobject_cast<PZ_restore_monitor_settings_dialog *>(object)) {
            ++restoreBoxes;
            if (onRestore)
                onRestore();
        }
        return false;
    }

    bool takes(QWidget &modal) override
    {
        return qobject_cast<PZ_Open_MCS_File_Dialog *>(&modal) || qobject_cast<QMessageBox *>(&modal);
    }
    void answer(QWidget &modal, bool first) override
    {
        if (!first)
            return;
        if (auto *browser = qobject_cast<PZ_Open_MCS_File_Dialog *>(&modal)) {
            ++browsers;
            auto *view = browser->findChild<QTreeView *>(QStringLiteral("treeView"));
            const QAbstractItemModel *model = view->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                if (model->index(row, 3).data().toString() == choose)
                    view->setCurrentIndex(model->index(row, 0));
            }
            auto *buttons = browser->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
            QPushButton *open = buttons->button(QDialogButtonBox::Open);
            if (!choose.isEmpty() && open->isEnabled())
                open->click();
            else
                buttons->button(QDialogButtonBox::Cancel)->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
            boxTexts << box->text();
            QAbstractButton *button = box->button(m_answer);
            if (!button)
                button = box->button(QMessageBox::Ok);
            button->click();
        }
    }

private:
    QMessageBox::StandardButton m_answer;
};

// The first of two real calibrations, as stored.
struct StoredCalibration {
    CTargetValue target;
    CAdjustValue result;
    bool valid = false;
};
StoredCalibration g_first;

// The main window over the demo desktop with the settings files and the
// tracker record put in before it opens.
struct LoadRig : MainWindowRig {
    LoadRig() { controller->GetPreferences()->SetICCAfterCalibration(false); }
    SimOrvaneMonitor &monitor() { return *desktop->monitor(1); }
    QString writeSettings(const QString &name, const CTargetValue &target,
                          const CAdjustValue &result)
    {
        const QString path = settingsFolder() + name;
        if (WriteCalibrationSettingsFile(path, target, result) != 0)
            return QString();
        return path;
    }
    void track(const CTargetValue &target, const CAdjustValue &result)
    {
        _MonitorTrackerRecord record;
        record.m_ID = qint32(result.m_MonitorVendorProductID);
        record.m_Key = result.GetMonitorSerial();
        record.m_Target = target;
        record.m_Adjust = result;
        controller->GetMonitorTracker()->UpdateMonitorTrackerRecord(record);
    }
};

CTargetValue renamed(CTargetValue target, const QString &name)
{
    target.m_Name = name;
    return target;
}

} // namespace

class tst_StoredCalibrations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        Q_INIT_RESOURCE(sensors);
    }

    void openPreviousCalibrationRestoresTheFirstOfTwo();
    void filesThatCannotBeUsedChangeNothing_data();
    void filesThatCannotBeUsedChangeNothing();
    void anOverdueCalibrationIsLoadedOnlyOnYes();
    void anUnlistedTargetGetsItsFileInTheTargetsFolder_data();
    void anUnlistedTargetGetsItsFileInTheTargetsFolder();
    void aFailedRestoreLeavesTheCalibrationOff();
    void aTargetChangeLoadsTheNewestCalibrationOnce();
    void aCountdownWaitsUntilTheRestoreIsOver();
    void startupCheckFollowsItsPreference();
    void startupCheckHoldsRefreshesAndReloadsTheDisplay();
};

void tst_StoredCalibrations::openPreviousCalibrationRestoresTheFirstOfTwo()
{
    ProgramRig rig;
    {
        // The display check's summary after the start-up: the monitor was
        // never calibrated.
        ModalBoxAnswer summary;
        QVERIFY(rig.start());
        QVERIFY(summary.shown());
    }
    PZ_Main_Dialog &w = rig.window();
    SimOrvaneMonitor &monitor = *rig.desktop->monitor(1);

    QVERIFY(rig.selectTarget(GetStringResource(kPhotoEditing)));
    QVERIFY(rig.calibrateOnce());
    const QStringList firstFiles = rig.filesNamed(QStringLiteral("*.mcs"));
    QCOMPARE(firstFiles.size(), 1);
    const QString firstFile = firstFiles.first();
    const CAdjustValue first = w.calibrationResult();
    const QString firstEngine = engineState(monitor);
    const QStringList profiles = rig.filesNamed(QStringLiteral("*.icc"));
    QCOMPARE(profiles.size(), 1);
    const QByteArray firstProfile = fileBytes(profiles.first());
    QVERIFY(!firstProfile.isEmpty());
    QVERIFY(ReadCalibrationSettingsFile(firstFile, g_first.target, g_first.result) == 0);
    g_first.valid = true;

    // The second calibration, of another target.
    QVERIFY(rig.selectTarget(GetStringResource(kPrintStandard)));
    QVERIFY(rig.calibrateOnce());
    QCOMPARE(rig.filesNamed(QStringLiteral("*.mcs")).size(), 2);
    QVERIFY(engineState(monitor) != firstEngine);
    QVERIFY(fileBytes(profiles.first()) != firstProfile);
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(kPrintStandard));

    // Open Previous Calibration, the first one chosen.
    {
        ModalWindows user;
        user.choose = firstFile;
        QTest::mouseClick(w.main_Calibrate_Open_MCS_pushButton, Qt::LeftButton);
        QCOMPARE(user.browsers, 1);
        QCOMPARE(user.restoreBoxes, 1);
        QVERIFY2(user.boxTexts.isEmpty(), qPrintable(user.boxTexts.join(" | ")));
    }
    QCOMPARE(engineState(monitor), firstEngine);
    // The profile is written again from the stored records and assigned.
    QCOMPARE(fileBytes(profiles.first()), firstProfile);
    QCOMPARE(rig.desktop->profiles().assignedProfile(1), firstProfile);
    QByteArray id(4, 0);
    qToBigEndian(quint32(first.m_CalibrationDateTime.toSecsSinceEpoch()), id.data());
    QCOMPARE(monitor.eeprom(kProfileIdAddress, 4), id);
    // The tracker's record is the first calibration's, switched on.
    _MonitorTrackerRecord record;
    QVERIFY(trackedRecord(*rig.controller, record));
    QCOMPARE(settingsBytes(record.m_Target, record.m_Adjust),
             settingsBytes(g_first.target, g_first.result));
    QVERIFY(record.m_Adjust.m_IsCalibrationOn);
    // The window: its target selected, calibrated.
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(kPhotoEditing));
    QVERIFY(w.currentTarget() == g_first.target);
    QVERIFY(w.calibratedTarget() == g_first.target);
    QCOMPARE(w.calibrationResult().m_CalibrationDateTime, first.m_CalibrationDateTime);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(301));
    QVERIFY(w.main_Calibration_On_checkBox->isChecked());
    QCOMPARE(rig.filesNamed(QStringLiteral("*.mcs")).size(), 2);

    w.grab().save(pz::test::picturePath("mainwindow_after_open_previous.png"));

    // The calibration held, chosen again: restored again.
    {
        ModalWindows user;
        user.choose = firstFile;
        QTest::mouseClick(w.main_Calibrate_Open_MCS_pushButton, Qt::LeftButton);
        QCOMPARE(user.restoreBoxes, 1);
    }
    // A cancelled browser loads nothing.
    {
        ModalWindows user;
        QTest::mouseClick(w.main_Calibrate_Open_MCS_pushButton, Qt::LeftButton);
        QCOMPARE(user.browsers, 1);
        QCOMPARE(user.restoreBoxes, 0);
    }
}

void tst_StoredCalibrations::filesThatCannotBeUsedChangeNothing_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("target version 101") << "target 101";
    QTest::newRow("result version 115") << "result 115";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("missing") << "missing";
    // Behind a link of the file's name: a pipe no one writes to (which
    // would hold the window in open()), a directory, a device.
    for (const QString &kind : notAFileKinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

void tst_StoredCalibrations::filesThatCannotBeUsedChangeNothing()
{
    QFETCH(QString, damage);
    QVERIFY(g_first.valid);
    LoadRig rig;
    PZ_Main_Dialog &w = rig.open();
    const QString path = rig.settingsFolder() + "damaged.mcs";
    if (damage == "target 101") {
        writeWithVersion(path, g_first.target, g_first.result, CTargetValue::kMagic, 101);
    } else if (damage == "result 115") {
        writeWithVersion(path, g_first.target, g_first.result, CAdjustValue::kMagic, 115);
    } else if (damage == "truncated") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settingsBytes(g_first.target, g_first.result).chopped(9));
    }
    std::unique_ptr<NotAFile> notAFile;
    if (notAFileKinds().contains(damage)) {
        notAFile = std::make_unique<NotAFile>(damage);
        if (notAFile->path().isEmpty())
            QSKIP("this system cannot make one");
        QVERIFY(QFile::link(notAFile->path(), path));
    }
    const QString engine = engineState(rig.monitor());
    const CTargetValue target = w.currentTarget();
    const QStringList targets = QDir(rig.targetsFolder()).entryList(QDir::Files);

    ModalWindows user;
    QCOMPARE(w.LoadMCSFile(path), -1500);
    QCOMPARE(user.restoreBoxes, 0);
    QVERIFY(user.boxTexts.isEmpty());
    QCOMPARE(engineState(rig.monitor()), engine);
    _MonitorTrackerRecord record;
    QVERIFY(!trackedRecord(*rig.controller, record));
    QVERIFY(w.currentTarget() == target);
    QVERIFY(!w.calibrationResult().m_IsValid);
    QCOMPARE(QDir(rig.targetsFolder()).entryList(QDir::Files), targets);
    // Nor is such a file found for its target.
    int status = -1;
    QCOMPARE(w.FindBestMCSForCurrentTarget(g_first.target, false, &status), 0);
    QCOMPARE(status, 0);
    QVERIFY(!notAFile || !notAFile->wasOpened());

    // Without a monitor object nothing is read at all.
    rig.controller->GetTargetDisplay()->SetMonitorData(_MonitorData());
    QCOMPARE(w.LoadMCSFile(rig.writeSettings("good.mcs", g_first.target, g_first.result)), -1);
}

void tst_StoredCalibrations::anOverdueCalibrationIsLoadedOnlyOnYes()
{
    QVERIFY(g_first.valid);
    LoadRig rig;
    rig.controller->GetPreferences()->SetRecalibrationPeriod(28);
    PZ_Main_Dialog &w = rig.open();
    CAdjustValue old = g_first.result;
    old.SetCalibrationDateTime(QDateTime::currentDateTime().addDays(-31));
    const QString path = rig.writeSettings("old.mcs", g_first.target, old);
    const QString engine = engineState(rig.monitor());
    const QString status = w.main_Calibration_Status_Text->text();

    {
        ModalWindows user(QMessageBox::No);
        QCOMPARE(w.LoadMCSFile(path), 0);
        QCOMPARE(user.boxTexts, QStringList{GetStringResource(700).arg(31).arg(3)});
        QCOMPARE(user.restoreBoxes, 0);
    }
    QCOMPARE(engineState(rig.monitor()), engine);
    _MonitorTrackerRecord record;
    QVERIFY(!trackedRecord(*rig.controller, record));
    QVERIFY(!w.calibrationResult().m_IsValid);
    QCOMPARE(w.main_Calibration_Status_Text->text(), status);

    {
        ModalWindows user(QMessageBox::Yes);
        QVERIFY(w.LoadMCSFile(path) >= 0);
        QCOMPARE(user.boxTexts.size(), 1);
        QCOMPARE(user.restoreBoxes, 1);
    }
    QVERIFY(engineState(rig.monitor()) != engine);
    QVERIFY(trackedRecord(*rig.controller, record));
    QCOMPARE(record.m_Adjust.m_CalibrationDateTime, old.m_CalibrationDateTime);
}

void tst_StoredCalibrations::anUnlistedTargetGetsItsFileInTheTargetsFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Unlisted" << "Unlisted.tgt";
    QTest::newRow("parent folder") << "../evil" << ".._evil.tgt";
}

void tst_StoredCalibrations::anUnlistedTargetGetsItsFileInTheTargetsFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QVERIFY(g_first.valid);
    LoadRig rig;
    PZ_Main_Dialog &w = rig.open();
    // Values of no listed target, so that no list entry stands for it.
    CTargetValue target = renamed(g_first.target, name);
    target.m_Intensity += 3.0;
    const QString path = rig.writeSettings("unlisted.mcs", target, g_first.result);
    const QString outside = QFileInfo(rig.targetsFolder() + "../evil.tgt").absoluteFilePath();

    ModalWindows user;
    QVERIFY(w.LoadMCSFile(path) < 0);
    QCOMPARE(user.restoreBoxes, 1);
    QVERIFY2(user.boxTexts.isEmpty(), qPrintable(user.boxTexts.join(" | ")));
    CTargetValue written;
    QCOMPARE(written.ReadFile(rig.targetsFolder() + file), 0);
    QVERIFY(written == target);
    QVERIFY(!QFileInfo::exists(outside));
    const QString listed = QFileInfo(file).completeBaseName();
    QCOMPARE(w.main_Target_comboBox->currentText(), listed);
    QCOMPARE(w.currentTarget().m_Name, listed);
    _MonitorTrackerRecord record;
    QVERIFY(trackedRecord(*rig.controller, record));
    QCOMPARE(record.m_Target.m_Name, listed);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(301));
}

void tst_StoredCalibrations::aFailedRestoreLeavesTheCalibrationOff()
{
    QVERIFY(g_first.valid);
    LoadRig rig;
    PZ_Main_Dialog &w = rig.open();
    const QString path = rig.writeSettings("first.mcs", g_first.target, g_first.result);
    rig.monitor().addFault({SimFaultKind::NakWrite, -1, -1, 100000});

    ModalWindows user;
    w.LoadMCSFile(path);
    rig.monitor().clearFaults();
    QCOMPARE(user.restoreBoxes, 1);
    QCOMPARE(user.boxTexts, QStringList{GetStringResource(144)});
    QVERIFY(w.calibrationResult().m_IsValid);
    QVERIFY(!w.calibrationResult().m_IsCalibrationOn);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(302));
    QVERIFY(!w.main_Calibration_On_checkBox->isChecked());
    _MonitorTrackerRecord record;
    QVERIFY(trackedRecord(*rig.controller, record));
    QVERIFY(!record.m_Adjust.m_IsCalibrationOn);
}

void tst_StoredCalibrations::aTargetChangeLoadsTheNewestCalibrationOnce()
{
    QVERIFY(g_first.valid);
    LoadRig rig;
    rig.controller->GetPreferences()->SetRecalibrationPeriod(0);
    QVERIFY(rig.controller->GetPreferences()->m_AutoLoadMCSOnTargetChange);
    const CTargetValue target = renamed(g_first.target, QStringLiteral("Mine"));
    QCOMPARE(target.WriteFile(rig.targetsFolder() + "Mine.tgt"), 0);
    // Long ago, but without a recalibration period nothing is overdue.
    CAdjustValue older = g_first.result, newer = g_first.result, oldest = g_first.result;
    older.SetCalibrationDateTime(g_first.result.m_CalibrationDateTime.addDays(-401));
    newer.SetCalibrationDateTime(g_first.result.m_CalibrationDateTime.addDays(-400));
    oldest.SetCalibrationDateTime(g_first.result.m_CalibrationDateTime.addDays(-402));
    // The newest between the others in name and order, its serial in
    // another letter case.
    newer.SetMonitorSerial(kSerial.toLower());
    QVERIFY(!rig.writeSettings("a-older.mcs", target, older).isEmpty());
    QVERIFY(!rig.writeSettings("b-newest.mcs", target, newer).isEmpty());
    QVERIFY(!rig.writeSettings("c-oldest.mcs", target, oldest).isEmpty());
    PZ_Main_Dialog &w = rig.open();
    QVERIFY(!w.calibrationResult().m_IsValid);

    auto choose = [&](const QString &text) {
        w.main_Target_comboBox->setCurrentIndex(w.main_Target_comboBox->findText(text));
    };
    // "Mine" holds Photo Editing's values and is listed first: go elsewhere.
    choose(GetStringResource(200));
    {
        ModalWindows user;
        choose(QStringLiteral("Mine"));
        QCOMPARE(user.restoreBoxes, 1);
        QVERIFY(user.boxTexts.isEmpty());
    }
    int status = -1;
    QCOMPARE(w.FindBestMCSForCurrentTarget(target, false, &status), 0);
    QCOMPARE(status, 2);
    QCOMPARE(w.calibrationResult().m_CalibrationDateTime, newer.m_CalibrationDateTime);
    QCOMPARE(w.main_Target_comboBox->currentText(), QStringLiteral("Mine"));
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(301));

    // Away and back: the calibration held is the newest, nothing is loaded.
    {
        ModalWindows user;
        choose(GetStringResource(200));
        choose(QStringLiteral("Mine"));
        QCOMPARE(user.restoreBoxes, 0);
    }
    QCOMPARE(w.calibrationResult().m_CalibrationDateTime, newer.m_CalibrationDateTime);

    // With the preference off nothing is loaded either.
    w.LoadMCSFile(rig.settingsFolder() + "a-older.mcs");
    rig.controller->GetPreferences()->SetAutoLoadMCSOnTargetChange(false);
    {
        ModalWindows user;
        choose(GetStringResource(200));
        choose(QStringLiteral("Mine"));
        QCOMPARE(user.restoreBoxes, 0);
    }
    QCOMPARE(w.calibrationResult().m_CalibrationDateTime, older.m_CalibrationDateTime);
}

void tst_StoredCalibrations::aCountdownWaitsUntilTheRestoreIsOver()
{
    QVERIFY(g_first.valid);
    LoadRig rig;
    PZ_Main_Dialog &w = rig.open();
    const QString path = rig.writeSettings("first.mcs", g_first.target, g_first.result);
    rig.showActive();
    w.setDeviceChangeDelay(20);
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(),
                            &CMultiMonitor::monitorDetectionComplete);
    displayChanges().notify();
    QVERIFY(w.isRefreshCounting());

    bool countingDuringRestore = true;
    ModalWindows user;
    user.onRestore = [&] {
        countingDuringRestore = w.isRefreshCounting();
        // A notice during the restore waits as well.
        displayChanges().notify();
    };
    w.LoadMCSFile(path);
    QCOMPARE(user.restoreBoxes, 1);
    QVERIFY(!countingDuringRestore);
    QCOMPARE(enumerations.count(), 0);
    // Released afterwards (once the window is active again): one refresh.
    QVERIFY(w.isRefreshCounting() || w.isRefreshPending());
    w.activateWindow();
    QTRY_COMPARE(enumerations.count(), 2);
    QTest::qWait(100);
    QCOMPARE(enumerations.count(), 2);
}

void tst_StoredCalibrations::startupCheckFollowsItsPreference()
{
    QVERIFY(g_first.valid);
    LoadRig rig;
    rig.track(g_first.target, g_first.result);
    rig.controller->GetPreferences()->SetCheckCalibrationStatusOnLaunch(0);
    PZ_Main_Dialog &w = rig.open();
    ModalWindows user(QMessageBox::No);
    emit rig.controller->start_check_display_settings();
    QTest::qWait(50);
    QVERIFY(user.boxTexts.isEmpty());
    QCOMPARE(user.restoreBoxes, 0);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(301));
}

void tst_StoredCalibrations::startupCheckHoldsRefreshesAndReloadsTheDisplay()
{
    QVERIFY(g_first.valid);
    LoadRig rig;
    // The monitor is not in the tracked calibration's state: the check
    // finds the settings changed and asks; No switches the calibration off.
    rig.track(g_first.target, g_first.result);
    rig.controller->GetPreferences()->SetCheckCalibrationStatusOnLaunch(1);
    PZ_Main_Dialog &w = rig.open();
    rig.showActive();
    w.setDeviceChangeDelay(20);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(301));
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(),
                            &CMultiMonitor::monitorDetectionComplete);
    displayChanges().notify();
    QVERIFY(w.isRefreshCounting());

    bool countingDuringCheck = true;
    ModalWindows user(QMessageBox::No);
    user.onRestore = [&] {
        countingDuringCheck = w.isRefreshCounting();
        displayChanges().notify();
    };
    emit rig.controller->start_check_display_settings();
    QCOMPARE(user.restoreBoxes, 1); // the verification
    QVERIFY(!user.boxTexts.isEmpty());
    QVERIFY(user.boxTexts.first().startsWith(QStringLiteral("Settings for Display 1 - HXSIM24")));
    QVERIFY(!countingDuringCheck);
    QCOMPARE(enumerations.count(), 0);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(302));
    QVERIFY(!w.calibrationResult().m_IsCalibrationOn);
    QVERIFY(w.isRefreshCounting() || w.isRefreshPending());
    w.activateWindow();
    QTRY_COMPARE(enumerations.count(), 2);
}

QTEST_MAIN(tst_StoredCalibrations)
#include "tst_stored_calibrations.moc"
