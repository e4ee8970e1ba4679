#include "DisplaySettingsCheck.h"

#include "AppGlobals.h"
#include "CalibrationDue.h"
#include "MasterControl.h"
#include "Messages.h"
#include "MyCustomMessageBox.h"
#include "PZ_restore_monitor_settings_dialog.h"
#include "StringResources.h"

#include <QObject>
#include <QMessageBox>

namespace {

enum : unsigned {
    kApplicationName = 1,
    kNoMonitorAnswers = 173,
    kDaysPastCalibration = 602,
    kOneDayPastCalibration = 603,
    kDisplayName = 502,
};

const int kRestoreFailed = -1025;
const unsigned kSummarySeconds = 60;

// Verifies a calibrated monitor's settings and, when they changed and the
// user wants it, puts them back. False when the calibration must go off.
bool keepCalibration(QWidget *parent, CTargetDisplay &display, _MonitorTrackerRecord &record,
                     const QString &name)
{
    int verified = 0;
    {
        PZ_restore_monitor_settings_dialog verify(parent, &display, &record.m_Target,
                                                  &record.m_Adjust,
                                                  PZ_restore_monitor_settings_dialog::kVerifySettings,
                                                  name);
        verified = verify.exec();
    }
    // Unchanged, or not readable: nothing to offer.
    if (verified != 0)
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        parent, GetStringResource(kApplicationName),
        QObject::tr("Settings for %1 have changed.\nDo you want to reload the previous "
                    "calibration settings?")
            .arg(name),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    int restored = 0;
    {
        PZ_restore_monitor_settings_dialog restore(parent, &display, &record.m_Target,
                                                   &record.m_Adjust,
                                                   PZ_restore_monitor_settings_dialog::kRestoreSettings,
                                                   name);
        restored = restore.exec();
    }
    if (restored == 0)
        return true;
    DisplayErrorMessage(parent, kRestoreFailed, false, 0);
    return false;
}

QString dueText(const QString &name, const QDateTime &calibrated)
{
    const int days = GetDaysUntilNextCalibration(calibrated);
    if (days == -1)
        return GetStringResource(kOneDayPastCalibration).arg(name).arg(1);
    if (days < -1)
        return GetStringResource(kDaysPastCalibration).arg(name).arg(-days);
    return QString();
}

} // namespace

bool CheckAllSupportedDisplaySettings(QWidget *parent)
{
    if (!pMasterControl)
        return false;
    CMultiMonitor &monitors = *pMasterControl->GetMultiMonitor();
    CMonitorTracker &tracker = *pMasterControl->GetMonitorTracker();
    QString message;
    bool found = false;
    bool talking = false;
    bool switchedOff = false;

    for (int i = 0; i < monitors.GetDisplayCount(); ++i) {
        const _MonitorData md = monitors.GetMonitorData(unsigned(i));
        const QString name =
            GetStringResource(kDisplayName).arg(QString::number(i + 1), md.m_ModelName);
        if (!md.m_Supported)
            continue;
        found = true;
        if (!md.m_DDCCIWorks)
            continue;
        talking = true;

        _MonitorTrackerRecord record;
        record.m_ID = qint32(md.m_ModelID);
        record.m_Key = md.m_SerialNumber;
        // A monitor without a serial has no record of its own.
        if (md.m_SerialNumber.isEmpty() || tracker.GetMonitorTrackerRecord(record) < 0) {
            message += QObject::tr("%1 is not calibrated.<br>").arg(name);
            continue;
        }
        if (!record.m_Adjust.m_IsCalibrationOn) {
            message += QObject::tr("Calibration for %1 is currently set to off.<br>").arg(name);
            continue;
        }
        CTargetDisplay display;
        display.SetMonitorData(md);
        if (display.m_pDDCMonitor && !keepCalibration(parent, display, record, name)) {
            record.m_Adjust.SetIsCalibrationOn(false);
            tracker.UpdateMonitorTrackerRecord(record);
            // Kept at once, as every change of a record.
            pMasterControl->StoreChangedRecords(parent);
            switchedOff = true;
        }
        message += dueText(name, record.m_Adjust.m_CalibrationDateTime);
    }

    if (!found)
        message += QObject::tr("No supported Orvane monitors were detected. Verify that a "
                               "supported model of display monitor is connected. See the README "
                               "file and Users Guide for more information.<br>");
    else if (!talking)
        message += GetStringResource(kNoMonitorAnswers);

    if (!message.isEmpty()) {
        MyCustomMessageBox box(parent, kSummarySeconds, 0, false);
        box.setText(message);
        box.setWindowTitle(GetStringResource(kApplicationName));
        box.setStandardButtons(QMessageBox::Ok);
        box.setIcon(QMessageBox::Information);
        box.exec();
    }
    return switchedOff;
}
