// The display check the main window runs once the start-up is complete.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "DisplaySettingsCheck.h"
#include "MasterControl.h"

void PZ_Main_Dialog::start_check_display_settings()
{
    if (!pMasterControl || !pMasterControl->GetPreferences()->m_CheckCalibrationStatusOnLaunch)
        return;
    // The check talks to every monitor over DDC/CI, and may restore one
    // behind its progress box: a refresh meanwhile would enumerate the
    // monitors under it and replace the window's monitor object.
    block_unblock_usb_update(true);
    const bool switchedOff = CheckAllSupportedDisplaySettings(this);
    if (switchedOff)
        onDisplaySelectionChanged(main_Display_comboBox->currentIndex());
    block_unblock_usb_update(false);
}
