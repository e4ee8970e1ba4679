// The Display group (the display list) and the Calibration group (status,
// Last, Next Due) of the main window.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CDDCMonitor.h"
#include "CalibrationDue.h"
#include "MasterControl.h"
#include "Messages.h"
#include "PZ_Information_Dialog.h"
#include "PZ_restore_monitor_settings_dialog.h"
#include "StringResources.h"

#include <QApplication>
#include <QLocale>
#include <QSignalBlocker>

namespace {

enum : unsigned {
    kStatusUncalibrated = 300,
    kStatusCalibrated = 301,
    kStatusCalibrationOff = 302,
    kSuffixUnsupported = 303,
    kSuffixNoCommunications = 304,
    kDueOneDayAgo = 401,
    kDueDaysAgo = 402,
    kDueInDays = 403,
    kDueTomorrow = 404,
    kDueToday = 405,
    kDueNow = 406,
    kNotApplicable = 500,
    kDisplayItem = 502,
};

const int kRestoreFailed = -1025;
// Dates before this year mean "never calibrated".
const int kFirstCalibrationYear = 2000;

bool isUsable(const _MonitorData &record)
{
    return record.m_Supported && record.m_DDCCIWorks;
}

QString displayName(const _MonitorData &record, int index)
{
    return GetStringResource(kDisplayItem).arg(QString::number(index + 1), record.m_ModelName);
}

} // namespace

bool PZ_Main_Dialog::lookUpTrackerRecord(const QString &serial, quint32 id,
                                         _MonitorTrackerRecord &record)
{
    if (serial.isEmpty())
        return false;
    record.m_Key = serial;
    record.m_ID = qint32(id);
    return pMasterControl->GetMonitorTracker()->GetMonitorTrackerRecord(record) >= 0;
}

void PZ_Main_Dialog::storeTrackerRecord(_MonitorTrackerRecord &record)
{
    if (record.m_Key.isEmpty())
        return;
    pMasterControl->GetMonitorTracker()->UpdateMonitorTrackerRecord(record);
    pMasterControl->StoreChangedRecords(this);
}

void PZ_Main_Dialog::storeCalibrationRecord(const CTargetValue &target, const CAdjustValue &result)
{
    _MonitorTrackerRecord record;
    record.m_ID = qint32(result.m_MonitorVendorProductID);
    record.m_Key = result.GetMonitorSerial();
    record.m_Adjust = result;
    record.m_Target = target;
    storeTrackerRecord(record);
}

void PZ_Main_Dialog::CreateDisplayList()
{
    const QSignalBlocker blocker(main_Display_comboBox);
    main_Display_comboBox->clear();
    if (!pMasterControl)
        return;
    const CMultiMonitor &monitors = *pMasterControl->GetMultiMonitor();
    int firstUsable = -1;
    for (int i = 0; i < monitors.GetDisplayCount(); ++i) {
        const _MonitorData record = monitors.GetMonitorData(unsigned(i));
        QString suffix;
        if (!record.m_Supported)
            suffix = GetStringResource(kSuffixUnsupported);
        else if (!record.m_DDCCIWorks)
            suffix = GetStringResource(kSuffixNoCommunications);
        else if (firstUsable < 0)
            firstUsable = i;
        main_Display_comboBox->addItem(displayName(record, i) + suffix);
    }
    main_Display_comboBox->setCurrentIndex(firstUsable >= 0 ? firstUsable : 0);
}

void PZ_Main_Dialog::onDisplaySelectionChanged(int index)
{
    m_GamutAdjustability = 0;
    m_CalibrationResult = CAdjustValue();
    if (index < 0 || !pMasterControl)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const _MonitorData record = pMasterControl->GetMultiMonitor()->GetMonitorData(unsigned(index));
    CTargetDisplay *display = pMasterControl->GetTargetDisplay();
    display->SetMonitorData(record);
    CDDCMonitor *monitor = display->m_pDDCMonitor;
    if (isUsable(record) && monitor) {
        m_GamutAdjustability = monitor->GetSupportedColorGamutMode();
        monitor->ReadEDID();
        ulong id = 0;
        monitor->GetMonitorVendorProductID(&id);
        _MonitorTrackerRecord tracked;
        if (lookUpTrackerRecord(monitor->GetMonitorSerialNumber(), quint32(id), tracked)) {
            m_CurrentTarget = tracked.m_Target;
            m_CalibratedTarget = tracked.m_Target;
            m_CalibrationResult = tracked.m_Adjust;
        }
    }
    onCreateTargetList();
    updateInformationWindow();
    UpdateCalibrationStatus();
    updateControlsStatus();
    QApplication::restoreOverrideCursor();
}

void PZ_Main_Dialog::UpdateCalibrationStatus()
{
    QDateTime time;
    CDDCMonitor *monitor =
        pMasterControl ? pMasterControl->GetTargetDisplay()->m_pDDCMonitor : nullptr;
    if (!monitor) {
        // A display this program cannot calibrate is neither uncalibrated
        // nor due: nothing applies to it.
        main_Calibration_On_checkBox->setEnabled(false);
        main_Calibration_On_checkBox->setChecked(false);
        const QString notApplicable = GetStringResource(kNotApplicable);
        main_Calibration_Status_Text->setText(notApplicable);
        main_Calibration_Last_Text->setText(notApplicable);
        main_Calibration_Next_Due_Text->setText(notApplicable);
        return;
    } else if (monitor->CanCreateCalibration(&m_CalibrationResult, &m_CurrentTarget)
               && DoesCurrentTargetMatchCalibratedTarget()) {
        main_Calibration_On_checkBox->setEnabled(true);
        const QSignalBlocker blocker(main_Calibration_On_checkBox);
        const bool on = m_CalibrationResult.m_IsCalibrationOn;
        main_Calibration_On_checkBox->setChecked(on);
        main_Calibration_Status_Text->setText(
            GetStringResource(on ? kStatusCalibrated : kStatusCalibrationOff));
        time = m_CalibrationResult.m_CalibrationDateTime;
    } else {
        main_Calibration_On_checkBox->setEnabled(false);
        main_Calibration_Status_Text->setText(GetStringResource(kStatusUncalibrated));
        const QSignalBlocker blocker(main_Calibration_On_checkBox);
        main_Calibration_On_checkBox->setChecked(false);
    }
    SetCalibratedTime(time);
}

void PZ_Main_Dialog::on_main_Calibration_On_checkBox_stateChanged(int state)
{
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    CDDCMonitor *monitor = display ? display->m_pDDCMonitor : nullptr;
    if (!monitor || !DoesCurrentTargetMatchCalibratedTarget())
        return;
    block_unblock_usb_update(true);

    bool on = false;
    if (state != 0) {
        on = putCalibrationBack(display, main_Display_comboBox->currentText());
        if (on) {
            monitor->SetOSDLock(pMasterControl->GetPreferences()->m_OSDLockLevel);
        } else {
            const QSignalBlocker blocker(main_Calibration_On_checkBox);
            main_Calibration_On_checkBox->setChecked(false);
            monitor->SetOSDLock(0);
        }
    } else {
        monitor->SetOSDLock(0);
    }
    m_CalibrationResult.SetIsCalibrationOn(on);

    ulong id = 0;
    monitor->GetMonitorVendorProductID(&id);
    _MonitorTrackerRecord tracked;
    if (lookUpTrackerRecord(monitor->GetMonitorSerialNumber(), quint32(id), tracked)) {
        tracked.m_Adjust.SetIsCalibrationOn(on);
        storeTrackerRecord(tracked);
    }
    UpdateCalibrationStatus();
    block_unblock_usb_update(false);
}

bool PZ_Main_Dialog::putCalibrationBack(CTargetDisplay *display, const QString &name)
{
    int verified = 0;
    {
        PZ_restore_monitor_settings_dialog verify(this, display, &m_CalibratedTarget,
                                                  &m_CalibrationResult,
                                                  PZ_restore_monitor_settings_dialog::kVerifySettings,
                                                  name);
        verified = verify.exec();
    }
    if (verified == 1)
        return true;
    if (verified != 0) {
        // A read that failed is no proof that the settings changed: the
        // calibration goes off, but the user learns why.
        DisplayErrorMessage(this, verified, false, 0);
        return false;
    }
    int restored = 0;
    {
        PZ_restore_monitor_settings_dialog restore(this, display, &m_CalibratedTarget,
                                                   &m_CalibrationResult,
                                                   PZ_restore_monitor_settings_dialog::kRestoreSettings,
                                                   name);
        restored = restore.exec();
    }
    if (restored != 0) {
        DisplayErrorMessage(this, kRestoreFailed, false, 0);
        return false;
    }
    return true;
}

void PZ_Main_Dialog::SetCalibratedTime(const QDateTime &time)
{
    const int days = GetDaysUntilNextCalibration(time);
    const bool neverCalibrated = !time.isValid() || time.date().year() < kFirstCalibrationYear;
    if (neverCalibrated) {
        main_Calibration_Last_Text->setText(GetStringResource(kStatusUncalibrated));
    } else {
        const QString colour = days < 0 ? QStringLiteral("red") : QStringLiteral("green");
        main_Calibration_Last_Text->setText(
            QStringLiteral("<font color=%1>%2</font>")
                .arg(colour, QLocale::system().toString(time, QLocale::ShortFormat)));
    }

    const CPreferences *preferences = pMasterControl ? pMasterControl->GetPreferences() : nullptr;
    QString due;
    if (!preferences || preferences->m_RecalibrationPeriod == 0)
        due = GetStringResource(kNotApplicable);
    else if (neverCalibrated)
        due = GetStringResource(kDueNow);
    else if (days < -1)
        due = GetStringResource(kDueDaysAgo).arg(-days);
    else if (days == -1)
        due = GetStringResource(kDueOneDayAgo);
    else if (days == 0)
        due = GetStringResource(kDueToday);
    else if (days == 1)
        due = GetStringResource(kDueTomorrow);
    else
        due = GetStringResource(kDueInDays).arg(days);
    main_Calibration_Next_Due_Text->setText(due);
}

bool PZ_Main_Dialog::AreAllSupportedDisplaysCalibrated()
{
    if (!pMasterControl)
        return true;
    const CMultiMonitor &monitors = *pMasterControl->GetMultiMonitor();
    for (int i = 0; i < monitors.GetDisplayCount(); ++i) {
        const _MonitorData record = monitors.GetMonitorData(unsigned(i));
        if (!isUsable(record))
            continue;
        _MonitorTrackerRecord tracked;
        if (!lookUpTrackerRecord(record.m_SerialNumber, record.m_ModelID, tracked)
            || !tracked.m_Adjust.m_IsCalibrationOn)
            return false;
    }
    return true;
}

bool PZ_Main_Dialog::DoesCurrentTargetMatchCalibratedTarget()
{
    return m_CurrentTarget == m_CalibratedTarget;
}

void PZ_Main_Dialog::updateInformationWindow()
{
    const int index = main_Display_comboBox->currentIndex();
    if (index < 0 || !pMasterControl)
        return;
    const _MonitorData record = pMasterControl->GetMultiMonitor()->GetMonitorData(unsigned(index));
    if (auto *window = qobject_cast<PZ_Information_Dialog *>(information_window))
        window->UpdateData(displayName(record, index), &m_CurrentTarget, &m_CalibrationResult,
                           pMasterControl->GetTargetDisplay()->m_pDDCMonitor);
}
