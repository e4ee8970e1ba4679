#include "SensorFlows.h"

#include "AppGlobals.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "MasterControl.h"
#include "Messages.h"
#include "pz_color_sensor_setup_dialog.h"
#include "pz_select_display_technology_type_dialog.h"
#include "WindowPlacement.h"

namespace {

const unsigned kDontShowPreparationNotice = 1;

CSensor *currentSensor()
{
    if (!pMasterControl)
        return nullptr;
    CTargetSensor *selector = pMasterControl->GetTargetSensor();
    return selector ? selector->m_pCurrentSensor : nullptr;
}

} // namespace

int SetupSensorToCurrentDisplayTypeAndColorGamut(QWidget *parent)
{
    CSensor *sensor = currentSensor();
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    if (!sensor || !display)
        return -1;

    CTargetDisplay::typeMonitorScreenType screen = display->GetMonitorScreenType();
    CTargetDisplay::typeMonitorColorGamutType gamut = display->GetMonitorColorGamutType();
    if (gamut == CTargetDisplay::kGamutUndetermined
        && sensor->GetSensorSupportsDisplayGamutSelection()) {
        pz_select_display_technology_type_dialog question(parent);
        pz::placeOverParent(question, parent);
        if (question.exec() != QDialog::Accepted)
            return -2;
        question.GetSelectedTargetDisplayType(&screen, &gamut);
    }
    // The gamut goes through as it is: a sensor that does not select by
    // gamut ignores an undetermined one.
    sensor->SetScreenType(CSensor::SensorScreenForDisplay(screen), gamut);
    return 0;
}

int DoSensorSetupDialog(bool ambient, bool force, QWidget *parent)
{
    CSensor *sensor = currentSensor();
    if (!sensor)
        return -1;

    const int requiredPosition = ambient ? CSensor::kSelectorAmbient : CSensor::kSelectorDisplay;
    bool zeroNeeded = false;
    if (sensor->SupportsZeroCal())
        zeroNeeded = sensor->m_ZeroCalibrationDone ? force : true;

    const bool selectorMustTurn = sensor->DoesSensorSupportMeasurementSelector()
        && sensor->GetSensorMeasurementSelectorPosition() != requiredPosition;
    if (!selectorMustTurn && !zeroNeeded)
        return 0;

    pz_color_sensor_setup_dialog dialog(ambient, force, parent);
    pz::placeOverParent(dialog, parent);
    return dialog.exec() == QDialog::Accepted ? 0 : -1;
}

void DoSensorNeedsUserPreparationWarning(QWidget *parent)
{
    CSensor *sensor = currentSensor();
    if (!sensor || !sensor->GetSensorSupportsUserPreparationWarning()
        || !sensor->GetSensorNeedsUserPreparationWarning())
        return;
    CPreferences *preferences = pMasterControl->GetPreferences();
    if (preferences->IsDontShowAgainMessageSet(kDontShowPreparationNotice))
        return;

    sensor_physical_data data;
    sensor->GetSensorPhyscalData(data);
    const bool neverAgain = DisplayMessage(parent, data.m_PreparationWarningText,
                                           QMessageBox::Information, false, 0, true);
    sensor->SetSensorNeedsUserPreparationWarningCompleted(false);
    if (neverAgain)
        preferences->SetDontShowAgainMessageSet(kDontShowPreparationNotice);
}
