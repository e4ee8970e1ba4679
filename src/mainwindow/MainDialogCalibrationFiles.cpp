// Calibration-settings files (.mcs) of the main window: one file per
// completed calibration in the calibration-settings folder, and the loading
// of a stored one back into the monitor (Open Previous Calibration, or the
// newest one of a target chosen in the list).

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CDDCMonitor.h"
#include "CICCDisplayProfile.h"
#include "CalibrationDue.h"
#include "CalibrationSettingsFile.h"
#include "CalibrationSettingsFileName.h"
#include "MasterControl.h"
#include "Messages.h"
#include "PZ_Open_MCS_File_Dialog.h"
#include "PZ_restore_monitor_settings_dialog.h"
#include "StringResources.h"
#include "SystemFolders.h"
#include "WindowPlacement.h"

#include <QFileInfo>
#include <QMessageBox>

namespace {

const int kCannotOpen = -1500;
const int kRestoreFailed = -1025;
enum : unsigned {
    kApplicationName = 1,
    kTargetExtensionText = 3,   // ".tgt"
    kSettingsExtensionText = 7, // ".mcs"
    kLoadOverdueQuestion = 700,
};

// The name is made to the minute: a second calibration of the same monitor
// in the same minute gets " (2)", " (3)" ... before the extension instead of
// replacing the first one's file.
QString unusedPath(const QString &folder, const QString &name)
{
    QString path = folder + name;
    if (!QFileInfo::exists(path))
        return path;
    const QString suffix = GetStringResource(kSettingsExtensionText);
    QString stem = name;
    if (stem.endsWith(suffix, Qt::CaseInsensitive))
        stem.chop(suffix.size());
    for (int n = 2;; ++n) {
        path = folder + QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
        if (!QFileInfo::exists(path))
            return path;
    }
}

// Holds device-change refreshes back for one scope: a refresh would
// replace the monitor object that the restore thread is using.
class RefreshHold {
public:
    explicit RefreshHold(PZ_Main_Dialog &window) : m_window(window)
    {
        m_window.block_unblock_usb_update(true);
    }
    ~RefreshHold() { m_window.block_unblock_usb_update(false); }
    RefreshHold(const RefreshHold &) = delete;
    RefreshHold &operator=(const RefreshHold &) = delete;

private:
    PZ_Main_Dialog &m_window;
};

} // namespace

int PZ_Main_Dialog::CreateMCSFile(CTargetValue *target, CAdjustValue *result)
{
    const QString folder = GetMCSFolder(true);
    const QString name = CreateMCSFileName(target, result);
    // Without a folder the file would land in the working directory.
    if (folder.isEmpty() || name.isEmpty())
        return kCannotOpen;
    return pz::WriteCalibrationSettingsFile(unusedPath(folder, name), *target, *result);
}

int PZ_Main_Dialog::LoadMCSFile(QString path)
{
    CTargetValue target;
    CAdjustValue result;
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    if (!display || !display->m_pDDCMonitor)
        return -1;
    if (pz::ReadCalibrationSettingsFile(path, target, result) != 0)
        return kCannotOpen;

    const QDateTime calibrated = result.m_CalibrationDateTime;
    const int days = GetDaysUntilNextCalibration(calibrated);
    if (days < 0) {
        const qint64 since = calibrated.daysTo(QDateTime::currentDateTime());
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, GetStringResource(kApplicationName),
            GetStringResource(kLoadOverdueQuestion).arg(since).arg(-days),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return 0;
    }

    bool on = false;
    {
        const RefreshHold hold(*this);
        int restored = 0;
        {
            PZ_restore_monitor_settings_dialog restore(
                this, display, &target, &result, PZ_restore_monitor_settings_dialog::kRestoreSettings,
                main_Display_comboBox->currentText());
            restored = restore.exec();
        }
        if (restored != 0) {
            DisplayErrorMessage(this, kRestoreFailed, false, 0);
        } else {
            if (pMasterControl->GetPreferences()->m_ICCAfterCalibration
                && !result.GetProfileName().isEmpty()) {
                // The stored name and description, as they were.
                CICCDisplayProfile profile(target, result, display->GetMonitorData(), nullptr);
                profile.DisAssociateCurrentColorProfile();
                if (profile.CreateProfileFile(true) == 0) {
                    profile.AssociateColorProfile();
                    display->m_pDDCMonitor->UpdateEEPROMProfileID(
                        uint(profile.GetProfileDate().toSecsSinceEpoch()));
                }
            }
            on = true;
        }
    }
    result.SetIsCalibrationOn(on);

    const int index =
        SetectTargetInListByName(target.m_Name + GetStringResource(kTargetExtensionText));
    if (index < 0 && saveTarget(&target, false)) {
        // The list now holds the target's file: show it as the one chosen.
        SetectTargetInListByName(target.m_Name + GetStringResource(kTargetExtensionText));
    }

    storeCalibrationRecord(target, result);

    m_CurrentTarget = target;
    m_CalibratedTarget = target;
    m_CalibrationResult = result;
    UpdateTargetUI();
    UpdateCalibrationStatus();
    updateControlsStatus();
    return index;
}

void PZ_Main_Dialog::onOpenMCSFile()
{
    CDDCMonitor *monitor =
        pMasterControl ? pMasterControl->GetTargetDisplay()->m_pDDCMonitor : nullptr;
    if (!monitor || monitor->ReadEDID() != 0)
        return;
    ulong id = 0;
    monitor->GetMonitorVendorProductID(&id);
    const QString model = monitor->GetMonitorModelName();
    const QString serial = monitor->GetMonitorSerialNumber();
    QString path;
    {
        PZ_Open_MCS_File_Dialog browser(id, serial, model, this);
        if (m_browserOffset)
            pz::placeAtFrame(browser, pos() + *m_browserOffset, this);
        else
            pz::placeOverParent(browser, this);
        if (browser.exec() != 0)
            path = browser.GetSelectedMCSFileName();
        // Left where it opened over this window, it opens over it again.
        const QRect over = pz::centredOver(browser.frameGeometry().size(), frameGeometry(),
                                           pz::availableAreaOf(this));
        if (browser.pos() == over.topLeft())
            m_browserOffset.reset();
        else
            m_browserOffset = browser.pos() - pos();
    }
    if (!path.isEmpty())
        LoadMCSFile(path);
}
