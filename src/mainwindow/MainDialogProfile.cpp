// The profile flow of the main window: the current display measured as it
// is, without adjusting the monitor, and an ICC profile written from the
// measurements and assigned to the display. The display's calibration
// record keeps everything but the profile's name and description, the
// final measurements and the sensor that took them; no calibration-settings
// file or tracker record is written.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CalibrateThread.h"
#include "ProfilePermissions.h"
#include "ResultMarks.h"
#include "StringResources.h"

namespace {

const unsigned kProfileNotSaved = 123;

} // namespace

void PZ_Main_Dialog::takeFinalMeasurements(CColorValue &into, const CColorValue &from)
{
    for (int patch = 0; patch < CColorValue::kPatchCount; ++patch)
        into.m_FinalPatches[patch] = from.m_FinalPatches[patch];
    into.m_FinalGreySteps = from.m_FinalGreySteps;
    for (int curve = CColorValue::kCorrectedRed; curve <= CColorValue::kCorrectedBlue; ++curve)
        into.m_Splines[curve] = from.m_Splines[curve];
}

void PZ_Main_Dialog::profile()
{
    // A profile is always written here, whatever the preference for
    // calibrations says.
    if (!pMasterControl || CheckProfilePermissions(this) < 0)
        return;
    if (information_window && information_window->isVisible())
        information_window->close();
    runMeasuringWindow({CalibrateThread::OPERATION_PROFILE, true, false},
                       [this](const CAdjustValue &result, bool &countdown) {
                           if (result.m_IsValid)
                               return takeProfile(result, countdown);
                           countdown = false;
                           return QStringLiteral("<br>")
                                  + pz::resultLine(pz::ResultMark::Failed, kProfileNotSaved);
                       });
}

QString PZ_Main_Dialog::takeProfile(const CAdjustValue &result, bool &countdown)
{
    // Sampled tone curves: the profile describes the display as measured.
    const WrittenProfile profile = writeProfile(result, false);
    if (profile.written) {
        m_CalibrationResult.SetProfileDescription(profile.result.GetProfileDescription());
        m_CalibrationResult.SetProfileName(profile.result.GetProfileName());
        // The sensor that took the final measurements.
        m_CalibrationResult.SetSensorModelName(profile.result.GetSensorModelName());
        m_CalibrationResult.SetSensorSerial(profile.result.GetSensorSerial());
        CColorValue measurements = m_CalibrationResult.m_ColorValue;
        takeFinalMeasurements(measurements, profile.result.m_ColorValue);
        m_CalibrationResult.SetColorValue(measurements);
    }
    updateInformationWindow();
    if (information_window && !information_window->isVisible()) {
        information_window->show();
        information_window->activateWindow();
    }
    return profileLines(profile, countdown);
}
