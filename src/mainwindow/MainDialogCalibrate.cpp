// The calibrate flow of the main window: one calibration of the current
// display against the current target, and what it leaves behind (the ICC
// profile and its assignment, the profile id in the monitor, the
// calibration-settings file, the tracker record, the window's status and a
// summary). Also the frame and the profile steps that the profile and
// validation flows share with it.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "ApplicationHooks.h"
#include "CDDCMonitor.h"
#include "CICCDisplayProfile.h"
#include "LuminanceUnits.h"
#include "MasterControl.h"
#include "Messages.h"
#include "MyCustomMessageBox.h"
#include "PZ_Calibrate_Dialog.h"
#include "ProfilePermissions.h"
#include "ResultMarks.h"
#include "SensorFlows.h"
#include "StringResources.h"

#include <QPushButton>

namespace {

enum : unsigned {
    kApplicationName = 1,
    kFileNotOpened = 101,
    kFileNotSaved = 104,
    kCancelled = 115,
    kProfileNotSaved = 123,
    kProfileNotAssociated = 131,
    kNotCalibrated = 150,
    kCalibrationComplete = 800,
    kProfileCreated = 801,
    kProfileSelected = 802,
    kIntensityNotReached = 806,
    kNotWarmedUp = 807,
};

const unsigned kDontShowWarmUpWarning = 2;
// A target intensity this much above the measured white was not reached.
const double kIntensityShortfall = 1.1;

// A failure line of a summary, after a line break.
QString failedLine(const QString &text)
{
    return QStringLiteral("<br>") + pz::resultMark(pz::ResultMark::Failed) + text;
}

} // namespace

int PZ_Main_Dialog::check_backlight_on_time()
{
    CDDCMonitor *monitor = pMasterControl->GetTargetDisplay()->m_pDDCMonitor;
    if (!monitor || !monitor->IsBacklightOnTime30MinSupported())
        return 0;
    CPreferences *preferences = pMasterControl->GetPreferences();
    if (preferences->IsDontShowAgainMessageSet(kDontShowWarmUpWarning))
        return 0;
    uint halfHours = 0;
    if (monitor->GetBacklightOnTime30Min(&halfHours) != 0 || halfHours != 0)
        return 0;

    MyCustomMessageBox box(this, 0, 0, true);
    box.setText(GetStringResource(kNotWarmedUp));
    box.setWindowTitle(GetStringResource(kApplicationName));
    box.setStandardButtons(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    QPushButton *proceed = box.addButton(tr("Proceed anyway"), QMessageBox::YesRole);
    box.setIcon(QMessageBox::Warning);
    box.exec();
    if (box.GetDontShowAgainValue())
        preferences->SetDontShowAgainMessageSet(kDontShowWarmUpWarning);
    return box.clickedButton() == proceed ? 0 : -1;
}

void PZ_Main_Dialog::calibrate()
{
    if (!pMasterControl || !m_CurrentTarget.IsValidValue())
        return;
    const bool withProfile = pMasterControl->GetPreferences()->m_ICCAfterCalibration;
    if (withProfile && CheckProfilePermissions(this) < 0)
        return;
    if (information_window && information_window->isVisible())
        information_window->close();
    if (check_backlight_on_time() != 0)
        return;
    runMeasuringWindow({CalibrateThread::OPERATION_CALIBRATE, true, false},
                       [&](const CAdjustValue &result, bool &countdown) {
                           if (result.m_IsValid)
                               return takeCalibration(result, withProfile, countdown);
                           dropCalibration();
                           countdown = false;
                           return failedLine(GetStringResource(kNotCalibrated));
                       });
}

void PZ_Main_Dialog::runMeasuringWindow(
    const MeasuringRun &run, const std::function<QString(const CAdjustValue &, bool &)> &take)
{
    if (SetupSensorToCurrentDisplayTypeAndColorGamut(this) != 0)
        return;
    DoSensorNeedsUserPreparationWarning(this);

    const bool screenSaver = IsScreenSaverEnabled();
    if (screenSaver)
        EnableScreenSaver(false);
    block_unblock_usb_update(true);

    QString text;
    bool countdown = true;
    {
        PZ_Calibrate_Dialog window(m_CurrentTarget, this);
        if (run.operation != CalibrateThread::OPERATION_CALIBRATE)
            window.SetOperationType(CalibrateThread::typeOperationType(run.operation));
        if (window.exec() != QDialog::Accepted) {
            text = GetStringResource(kCancelled);
            countdown = run.countdownWhenCancelled;
        } else {
            text = take(*window.GetCalibratedAdjustValue(), countdown);
        }
    }
    if (screenSaver && run.screenSaverBeforeMessage)
        EnableScreenSaver(screenSaver);
    DisplayMessage(this, text, QMessageBox::Information, countdown, 1, false);
    if (screenSaver && !run.screenSaverBeforeMessage)
        EnableScreenSaver(screenSaver);
    block_unblock_usb_update(false);
}

PZ_Main_Dialog::WrittenProfile PZ_Main_Dialog::writeProfile(const CAdjustValue &result,
                                                            bool allowGammaTRC)
{
    WrittenProfile outcome;
    CICCDisplayProfile profile(m_CurrentTarget, result,
                               pMasterControl->GetTargetDisplay()->GetMonitorData(), nullptr);
    profile.GenerateDefaultFileNameandDescription();
    profile.DisAssociateCurrentColorProfile();
    outcome.written = profile.CreateProfileFile(allowGammaTRC) == 0;
    if (outcome.written) {
        outcome.assigned = profile.AssociateColorProfile() == 0;
        outcome.result = profile.GetAdjustValue();
        outcome.date = quint32(profile.GetProfileDate().toSecsSinceEpoch());
    }
    return outcome;
}

QString PZ_Main_Dialog::profileLines(const WrittenProfile &profile, bool &countdown)
{
    const QString done = QStringLiteral("<br>") + pz::resultMark(pz::ResultMark::Done);
    if (!profile.written) {
        countdown = false;
        return failedLine(GetStringResource(kProfileNotSaved));
    }
    QString text = done + GetStringResource(kProfileCreated);
    if (profile.assigned) {
        text += done + GetStringResource(kProfileSelected);
    } else {
        text += failedLine(GetStringResource(kProfileNotAssociated));
        countdown = false;
    }
    return text;
}

QString PZ_Main_Dialog::takeCalibration(const CAdjustValue &result, bool withProfile,
                                        bool &countdown)
{
    m_CalibrationResult = result;
    WrittenProfile profile;
    if (withProfile) {
        profile = writeProfile(m_CalibrationResult, true);
        if (profile.written) {
            m_CalibrationResult = profile.result;
            if (CDDCMonitor *monitor = pMasterControl->GetTargetDisplay()->m_pDDCMonitor)
                monitor->UpdateEEPROMProfileID(profile.date);
        }
    }
    const int fileResult = CreateMCSFile(&m_CurrentTarget, &m_CalibrationResult);

    storeCalibrationRecord(m_CurrentTarget, m_CalibrationResult);
    m_CalibratedTarget = m_CurrentTarget;

    onCreateTargetList();
    updateControlsStatus();
    UpdateCalibrationStatus();
    updateInformationWindow();
    if (information_window && !information_window->isVisible()) {
        information_window->show();
        information_window->activateWindow();
    }

    QString text = pz::resultLine(pz::ResultMark::Done, kCalibrationComplete);
    const double white =
        m_CalibrationResult.m_ColorValue.m_AdjustedPatches[CColorValue::kWhitePatch].Y;
    if (m_CurrentTarget.m_IntensityType == CTargetValue::kIntensityLevel && white > 0
        && m_CurrentTarget.m_Intensity > kIntensityShortfall * white)
        text += failedLine(GetStringResource(kIntensityNotReached)
                               .arg(CandelasToDisplayText(m_CurrentTarget.m_Intensity, 1, true),
                                    CandelasToDisplayText(white, 1, true)));
    if (withProfile)
        text += profileLines(profile, countdown);
    // A calibration whose settings file is missing cannot be reopened
    // later: say so rather than report plain success.
    if (fileResult != 0) {
        text += failedLine(
            GetStringResource(fileResult == -1504 ? kFileNotSaved : kFileNotOpened));
        countdown = false;
    }
    return text;
}

void PZ_Main_Dialog::dropCalibration()
{
    m_CalibrationResult.SetIsCalibrationOn(false);
    _MonitorTrackerRecord record;
    if (lookUpTrackerRecord(m_CalibrationResult.GetMonitorSerial(),
                            m_CalibrationResult.m_MonitorVendorProductID, record)) {
        record.m_Adjust.SetIsCalibrationOn(false);
        storeTrackerRecord(record);
    }
    UpdateCalibrationStatus();
    updateInformationWindow();
}
