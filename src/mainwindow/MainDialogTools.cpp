// The main window's measuring tools: the live colorimeter, the ambient light
// measurement and the monitor's own settings. Each gets the sensor or the
// monitor ready first and keeps the device-change refresh away from the
// devices it holds.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CTargetSensor.h"
#include "MasterControl.h"
#include "PZ_Ambient_Light_Measurement_Dialog.h"
#include "PZ_colorimeter_dialog.h"
#include "SensorFlows.h"
#include "pz_monitor_settings_dialog.h"

namespace {

CSensor *currentSensor()
{
    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    return selector ? selector->m_pCurrentSensor : nullptr;
}

} // namespace

void PZ_Main_Dialog::show_colorimeter_dialog()
{
    CSensor *sensor = currentSensor();
    if (!sensor)
        return;
    sensor->SetSensorMeasurementMode(CSensor::kSensorModeDisplay);
    if (SetupSensorToCurrentDisplayTypeAndColorGamut(this) != 0)
        return;
    if (DoSensorSetupDialog(false, false, this) != 0)
        return;
    DoSensorNeedsUserPreparationWarning(this);

    // The colorimeter reads the light of its own patch; a refresh may come
    // meanwhile, since it holds no monitor. It places itself on the
    // measured display, above this window.
    PZ_colorimeter_dialog dialog(this);
    dialog.exec();
}

void PZ_Main_Dialog::show_Ambient_Light_Measurement_dialog()
{
    CSensor *sensor = currentSensor();
    if (!sensor)
        return;
    sensor->SetSensorMeasurementMode(CSensor::kSensorModeAmbient);
    if (DoSensorSetupDialog(true, false, this) != 0) {
        sensor->SetSensorMeasurementMode(CSensor::kSensorModeDisplay);
        return;
    }
    block_unblock_usb_update(true);
    {
        PZ_Ambient_Light_Measurement_Dialog dialog(this);
        dialog.exec();
    }
    sensor->SetSensorMeasurementMode(CSensor::kSensorModeDisplay);
    block_unblock_usb_update(false);
}

void PZ_Main_Dialog::monitor_settings_dialog()
{
    block_unblock_usb_update(true);
    {
        pz_monitor_settings_dialog dialog(this);
        dialog.exec();
    }
    block_unblock_usb_update(false);
}
