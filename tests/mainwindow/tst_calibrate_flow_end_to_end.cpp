// One calibration from the main window's Calibrate button, end to end: the
// program's controller and windows on the simulated desktop (an HXSIM24
// behind its USB bridge), the simulated i1 Display Pro reading what the
// windows show, on the virtual clock, in a temporary XDG home. Every modal
// window is answered as a user would: Continue in the calibration window,
// OK (or "Proceed anyway") in the boxes. Then the same again with the
// sensor pulled out during the white point adjustment.

#include "AppGlobals.h"
#include "TestSupport.h"
#include "ApplicationWindows.h"
#include "FlowUser.h"
#include "ProgramRig.h"
#include "CDDCMonitor.h"
#include "DisplaySettingsCheck.h"
#include "Messages.h"
#include "ModalBox.h"
#include "CalibrationSettingsFile.h"
#include "Clock.h"
#include "HostSystem.h"
#include "MasterControl.h"
#include "MasterControlDataFile.h"
#include "PZ_Calibrate_Dialog.h"
#include "PZ_Information_Dialog.h"
#include "PZ_Main_Dialog.h"
#include "Resources.h"
#include "SimDesktop.h"
#include "SimOrvaneMonitor.h"
#include "SimScreenSampler.h"
#include "SimSensors.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include "CTargetDisplay.h"
#include "CTargetSensor.h"
#include "CSensor.h"
#include <QLabel>
#include <QtTest>

#include <lcms2.h>

#include <memory>

using namespace pz;
using namespace pz::test;

namespace {

using FlowRig = ProgramRig;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bigEndian32(quint32 v)
{
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (24 - 8 * i)) & 0xFF);
    return b;
}

// The stored tracker record of a serial in the master-control data file.
bool storedRecord(const QString &path, const QString &serial, _MonitorTrackerRecord &record)
{
    CMultiMonitor list;
    CMonitorTracker tracker;
    if (readMasterControlData(path, list, tracker, nullptr) != 0)
        return false;
    record.m_Key = serial;
    return tracker.GetMonitorTrackerRecord(record) >= 0;
}

const QString kSerial = QStringLiteral("SIM0001");

// One calibration through the window; false when it did not end calibrated.
bool calibrateOnce(PZ_Main_Dialog &window)
{
    FlowUser user;
    QTest::mouseClick(window.main_Calibrate__pushButton, Qt::LeftButton);
    return user.calibrationResult == QDialog::Accepted && window.calibrationResult().m_IsValid;
}

// The OSD lock registers (0xE3, 0xFB) of the simulated monitor.
QPair<int, int> osdLock(SimDesktop &desktop)
{
    SimOrvaneMonitor *m = desktop.monitor(1);
    return {m->registerValue(0xE3), m->registerValue(0xFB)};
}

// A gamut register of the calibration, changed behind the program's back.
const quint16 kGamutRegister = 0x1055;
// The request that sets a paged register.
const int kPagedSetOpcode = 0xC8;
const quint32 kProfileIdAddress = 0xFF13 + 2;

} // namespace

static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

class TestCalibrateFlowEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initSensorPictures();
    }

    void calibrateThenLoseTheSensor()
    {
        FlowRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog *window = p_PZ_Main_Dialog;
        QVERIFY(window);
        QCOMPARE(window->currentTarget().m_Name, QStringLiteral("Photo Editing"));
        QVERIFY(window->main_Calibrate__pushButton->isEnabled());

        // ---- a calibration to its end ----
        {
            FlowUser user;
            QTest::mouseClick(window->main_Calibrate__pushButton, Qt::LeftButton);
            QCOMPARE(user.calibrationWindows, 1);
            QCOMPARE(user.calibrationResult, int(QDialog::Accepted));
            QVERIFY(!user.boxTexts.isEmpty());
            const QString summary = user.boxTexts.last();
            QVERIFY2(summary.contains(GetStringResource(800)), qPrintable(user.boxTexts.join(" | ")));
            QVERIFY2(summary.contains(GetStringResource(801)), qPrintable(summary));
            QVERIFY2(summary.contains(GetStringResource(802)), qPrintable(summary));
            QVERIFY(!summary.contains(QStringLiteral("red circle")));
            QVERIFY(user.countdowns.last());
        }
        const CAdjustValue result = window->calibrationResult();
        QVERIFY(result.m_IsValid);
        QVERIFY(result.m_IsCalibrationOn);
        QCOMPARE(result.GetMonitorSerial(), kSerial);

        // The profile: one file, named without a prompt, assigned to display 1.
        const QStringList profiles = rig.filesNamed(QStringLiteral("*.icc"));
        QCOMPARE(profiles.size(), 1);
        QCOMPARE(QFileInfo(profiles.first()).fileName(), QStringLiteral("HXSIM24 SIM0001.icc"));
        const QByteArray profileBytes = readAll(profiles.first());
        QCOMPARE(rig.desktop->profiles().assignedProfile(1), profileBytes);
        {
            cmsHPROFILE h = cmsOpenProfileFromMem(profileBytes.constData(),
                                                  cmsUInt32Number(profileBytes.size()));
            QVERIFY(h);
            const auto *trc = static_cast<const cmsToneCurve *>(cmsReadTag(h, cmsSigRedTRCTag));
            QVERIFY(trc);
            QCOMPARE(cmsGetToneCurveParametricType(trc), 1);
            QVERIFY(qAbs(cmsGetToneCurveParams(trc)[0] - 2.2) < 0.005);
            cmsCloseProfile(h);
        }

        // The calibration-settings file holds the target and the result.
        const QStringList settings = rig.filesNamed(QStringLiteral("*.mcs"));
        QCOMPARE(settings.size(), 1);
        CTargetValue storedTarget;
        CAdjustValue storedResult;
        QCOMPARE(ReadCalibrationSettingsFile(settings.first(), storedTarget, storedResult), 0);
        QCOMPARE(settingsBytes(storedTarget, storedResult),
                 settingsBytes(window->currentTarget(), result));

        // The tracker, in memory and already in the data file.
        _MonitorTrackerRecord tracked;
        tracked.m_Key = kSerial;
        QVERIFY(rig.controller->GetMonitorTracker()->GetMonitorTrackerRecord(tracked) >= 0);
        QCOMPARE(settingsBytes(tracked.m_Target, tracked.m_Adjust),
                 settingsBytes(window->currentTarget(), result));
        _MonitorTrackerRecord onDisk;
        QVERIFY(storedRecord(rig.dataFile(), kSerial, onDisk));
        QCOMPARE(onDisk.m_Adjust.m_CalibrationDateTime, result.m_CalibrationDateTime);
        QVERIFY(onDisk.m_Adjust.m_IsCalibrationOn);

        // The profile's date went into the monitor.
        const QDateTime date = result.m_CalibrationDateTime;
        const QDateTime toSecond(date.date(), QTime(date.time().hour(), date.time().minute(),
                                                    date.time().second()), Qt::LocalTime);
        QCOMPARE(rig.desktop->monitor(1)->eeprom(kProfileIdAddress, 4),
                 bigEndian32(quint32(toSecond.toSecsSinceEpoch())));

        // The window's status and the information window.
        QCOMPARE(window->main_Calibration_Status_Text->text(), GetStringResource(301));
        QVERIFY(window->main_Calibration_On_checkBox->isChecked());
        QCOMPARE(window->main_Target_comboBox->itemIcon(window->main_Target_comboBox->currentIndex())
                     .pixmap(16, 16).toImage().pixelColor(8, 8),
                 QPixmap(QStringLiteral(":/images/Resources/green circle icon.png"))
                     .toImage().pixelColor(8, 8));
        QVERIFY(information_window && information_window->isVisible());
        // Its Summary reports this calibration.
        const auto summary = [](const char *name) {
            const auto *label = information_window->findChild<QLabel *>(QLatin1String(name));
            return label ? label->text() : QStringLiteral("<no label>");
        };
        for (const char *measured : {"summary_Display_Luminance_Intensity_Calibrated",
                                     "summary_Display_Contrast_Ratio_Calibrated"}) {
            QVERIFY2(!summary(measured).isEmpty() && !summary(measured).contains("N/A"),
                     qPrintable(summary(measured)));
        }
        QCOMPARE(summary("summary_Sensor_Model_Name"),
                 rig.controller->GetTargetSensor()->m_pCurrentSensor->GetModelName());
        QCOMPARE(summary("summary_IC_Profile_File_Name"), QStringLiteral("HXSIM24 SIM0001.icc"));
        QCOMPARE(summary("summary_Display_Model_Name"), QStringLiteral("HXSIM24"));
        QCOMPARE(summary("summary_Display_Serial_Number"), kSerial);
        CDDCMonitor *monitor = rig.controller->GetTargetDisplay()->m_pDDCMonitor;
        QVERIFY(monitor);
        QVERIFY(!monitor->GetMonitorMPUVersion().isEmpty());
        QCOMPARE(summary("summary_Display_Firmware_Version"), monitor->GetMonitorMPUVersion());
        window->grab().save(pz::test::picturePath("mainwindow_after_calibration.png"));

        // ---- the sensor pulled out during the white point adjustment ----
        const QByteArray settingsBefore = readAll(settings.first());
        {
            FlowUser user;
            user.onCalibrationWindow = [&](PZ_Calibrate_Dialog &d) {
                connect(d.calibrationThread(), &CalibrateThread::StartingTask, &d,
                        [&](int id) {
                            if (id == CalibrateThread::TASK_ADJUSTING_WHITE_POINT)
                                rig.sensors->unplugAfterUs(SimSensors::I1d3, 200000);
                        },
                        Qt::DirectConnection);
            };
            QTest::mouseClick(window->main_Calibrate__pushButton, Qt::LeftButton);
            QCOMPARE(user.calibrationWindows, 1);
            QCOMPARE(user.calibrationResult, int(QDialog::Accepted));
            QVERIFY2(user.boxTexts.size() >= 2, qPrintable(user.boxTexts.join(" | ")));
            const QString summary = user.boxTexts.last();
            QVERIFY2(summary.contains(GetStringResource(150)), qPrintable(summary));
            QVERIFY(summary.contains(QStringLiteral("red circle icon.png")));
            QVERIFY(!user.countdowns.last());
        }
        QCOMPARE(rig.filesNamed(QStringLiteral("*.icc")), profiles);
        QCOMPARE(rig.filesNamed(QStringLiteral("*.mcs")), settings);
        QCOMPARE(readAll(profiles.first()), profileBytes);
        QCOMPARE(readAll(settings.first()), settingsBefore);
        QVERIFY(!window->calibrationResult().m_IsCalibrationOn);
        QCOMPARE(window->main_Calibration_Status_Text->text(), GetStringResource(302));
        QVERIFY(!window->main_Calibration_On_checkBox->isChecked());

        // The exit keeps the record, switched off.
        rig.stop();
        _MonitorTrackerRecord atExit;
        QVERIFY(storedRecord(rig.dataFile(), kSerial, atExit));
        QCOMPARE(atExit.m_Adjust.m_CalibrationDateTime, result.m_CalibrationDateTime);
        QVERIFY(!atExit.m_Adjust.m_IsCalibrationOn);
    }

    // The desktop refuses the profile: created, not selected, and the
    // summary waits for the user.
    void profileRefused()
    {
        FlowRig rig;
        QVERIFY(rig.start());
        rig.desktop->profiles().setRefuses(true);
        FlowUser user;
        QTest::mouseClick(p_PZ_Main_Dialog->main_Calibrate__pushButton, Qt::LeftButton);
        QCOMPARE(user.calibrationResult, int(QDialog::Accepted));
        const QString summary = user.boxTexts.last();
        QVERIFY2(summary.contains(GetStringResource(801)), qPrintable(summary));
        QVERIFY(!summary.contains(GetStringResource(802)));
        QVERIFY(summary.contains(QStringLiteral("red circle icon.png\">&nbsp;")
                                 + GetStringResource(131)));
        QVERIFY(!user.countdowns.last());
        QCOMPARE(rig.filesNamed(QStringLiteral("*.icc")).size(), 1);
        QCOMPARE(rig.filesNamed(QStringLiteral("*.mcs")).size(), 1);
        QVERIFY(rig.desktop->profiles().assignedProfile(1).isEmpty());
    }

    void calibrationOnAndOff()
    {
        FlowRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = *p_PZ_Main_Dialog;
        rig.controller->GetPreferences()->SetOSDLockLevel(2);
        QVERIFY(calibrateOnce(window));
        QCheckBox *box = window.main_Calibration_On_checkBox;
        QVERIFY(box->isChecked() && box->isEnabled());
        auto trackedOn = [&] {
            _MonitorTrackerRecord r;
            r.m_Key = kSerial;
            return rig.controller->GetMonitorTracker()->GetMonitorTrackerRecord(r) >= 0
                && r.m_Adjust.m_IsCalibrationOn;
        };

        // Off: unlocked, status and tracker follow.
        {
            ModalBoxAnswer none;
            QTest::mouseClick(box, Qt::LeftButton);
            QVERIFY(!none.shown());
        }
        QCOMPARE(osdLock(*rig.desktop).second, 0);
        QCOMPARE(window.main_Calibration_Status_Text->text(), GetStringResource(302));
        QVERIFY(!trackedOn());
        _MonitorTrackerRecord onDisk;
        QVERIFY(storedRecord(rig.dataFile(), kSerial, onDisk));
        QVERIFY(!onDisk.m_Adjust.m_IsCalibrationOn);

        // On with the settings unchanged: the preference's lock.
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QCOMPARE(osdLock(*rig.desktop), qMakePair(0, 1));
        QCOMPARE(window.main_Calibration_Status_Text->text(), GetStringResource(301));
        QVERIFY(trackedOn());

        // On after a change behind the program's back: the restore puts it back.
        SimOrvaneMonitor *monitor = rig.desktop->monitor(1);
        const quint16 calibrated = monitor->registerValue(kGamutRegister);
        QTest::mouseClick(box, Qt::LeftButton);
        monitor->setRegister(kGamutRegister, calibrated + 7);
        QCOMPARE(monitor->registerValue(kGamutRegister), quint16(calibrated + 7));
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QCOMPARE(monitor->registerValue(kGamutRegister), calibrated);
        QVERIFY(trackedOn());

        // Changed again, and the monitor refuses the register's restore: the
        // calibration stays off.
        QTest::mouseClick(box, Qt::LeftButton);
        monitor->setRegister(kGamutRegister, calibrated + 7);
        monitor->addFault({SimFaultKind::NakWrite, kPagedSetOpcode, kGamutRegister, 100000});
        {
            ModalBoxAnswer answer;
            QTest::mouseClick(box, Qt::LeftButton);
            QVERIFY(answer.shown());
            QCOMPARE(answer.text(), errorMessageText(-1025));
        }
        monitor->clearFaults();
        QVERIFY(!box->isChecked());
        QCOMPARE(monitor->registerValue(kGamutRegister), quint16(calibrated + 7));
        QCOMPARE(window.main_Calibration_Status_Text->text(), GetStringResource(302));
        QVERIFY(!trackedOn());
        monitor->setRegister(kGamutRegister, calibrated);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());

        // A monitor that does not answer the verification: the calibration
        // goes off, and the user is told why.
        QTest::mouseClick(box, Qt::LeftButton);
        monitor->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
        {
            ModalBoxAnswer answer;
            QTest::mouseClick(box, Qt::LeftButton);
            QVERIFY(answer.shown());
            QCOMPARE(answer.text(), errorMessageText(-1));
        }
        monitor->clearFaults();
        QVERIFY(!box->isChecked());
        QCOMPARE(window.main_Calibration_Status_Text->text(), GetStringResource(302));
        QVERIFY(!trackedOn());
    }

    void startupCheck()
    {
        FlowRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = *p_PZ_Main_Dialog;

        // Never calibrated.
        {
            ModalBoxAnswer answer;
            QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
            QCOMPARE(answer.text(), QStringLiteral("Display 1 - HXSIM24 is not calibrated.<br>"));
        }
        QVERIFY(calibrateOnce(window));
        // Nothing to report: no box.
        {
            ModalBoxAnswer answer;
            QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
            QTest::qWait(50);
            QVERIFY(!answer.shown());
        }
        // The same in auto mode ("-auto"), from the stored record: the run
        // ends without a box.
        rig.stop();
        {
            ModalBoxAnswer answer;
            QVERIFY(rig.start(true));
            QTest::qWait(50);
            QVERIFY(!answer.shown());
            QVERIFY(!p_PZ_Main_Dialog);
        }
        rig.stop();
        QVERIFY(rig.start());
        // Due: calibrated 16 days ago with a period of 14, settings unchanged.
        CMonitorTracker &tracker = *rig.controller->GetMonitorTracker();
        _MonitorTrackerRecord record;
        record.m_Key = kSerial;
        QVERIFY(tracker.GetMonitorTrackerRecord(record) >= 0);
        const _MonitorTrackerRecord calibrated = record;
        record.m_Adjust.SetCalibrationDateTime(QDateTime::currentDateTime().addDays(-16));
        tracker.UpdateMonitorTrackerRecord(record);
        rig.controller->GetPreferences()->SetRecalibrationPeriod(14);
        {
            ModalBoxAnswer answer;
            QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
            QCOMPARE(answer.text(), GetStringResource(602).arg("Display 1 - HXSIM24").arg(2));
        }
        rig.controller->GetPreferences()->SetRecalibrationPeriod(0);
        tracker.UpdateMonitorTrackerRecord(const_cast<_MonitorTrackerRecord &>(calibrated));

        // Changed behind the tracker's back, Yes: the register is put back.
        SimOrvaneMonitor *monitor = rig.desktop->monitor(1);
        const quint16 value = monitor->registerValue(kGamutRegister);
        monitor->setRegister(kGamutRegister, value + 5);
        {
            ModalBoxAnswer question(QMessageBox::Yes);
            QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
            QVERIFY(question.text().startsWith(QStringLiteral("Settings for Display 1 - HXSIM24 have changed.")));
        }
        QCOMPARE(monitor->registerValue(kGamutRegister), value);

        // Changed again, No: the calibration is switched off.
        monitor->setRegister(kGamutRegister, value + 5);
        {
            ModalBoxAnswer question(QMessageBox::No);
            QVERIFY(CheckAllSupportedDisplaySettings(nullptr));
            QVERIFY(question.shown());
        }
        record.m_Key = kSerial;
        QVERIFY(tracker.GetMonitorTrackerRecord(record) >= 0);
        QVERIFY(!record.m_Adjust.m_IsCalibrationOn);
        {
            ModalBoxAnswer answer;
            QVERIFY(!CheckAllSupportedDisplaySettings(nullptr));
            QCOMPARE(answer.text(),
                     QStringLiteral("Calibration for Display 1 - HXSIM24 is currently set to off.<br>"));
        }
    }
};

QTEST_MAIN(TestCalibrateFlowEndToEnd)
#include "tst_calibrate_flow_end_to_end.moc"
