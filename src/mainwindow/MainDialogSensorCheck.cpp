// The sensor check once the main window is open after start-up: the
// sensor makers' utilities that would hold the sensor are offered to be
// ended, and while no sensor is found the user may ask for another
// detection as often as wished.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CTargetSensor.h"
#include "MasterControl.h"
#include "RunningProcesses.h"
#include "StringResources.h"

#include <QMessageBox>

namespace {

enum : unsigned {
    kApplicationName = 1,
    kRetryDetection = 106,
    kCloseSpyderUtility = 704,
    kCloseColorMunkiService = 705,
    kCloseProfilerTray = 706,
};

// Process names as the utilities run them; compared without regard to case.
const QString kColorMunkiService = QStringLiteral("Colormunki");
const QString kProfilerTray = QStringLiteral("i1ProfilerTray");
// Both Spyder utilities are asked about with the Spyder3Utility text.
const QString kSpyderUtilities[] = {QStringLiteral("Spyder3Utility"),
                                    QStringLiteral("SpyderUtility")};

} // namespace

bool PZ_Main_Dialog::offerToEndUtility(const QString &processName, unsigned questionId)
{
    if (!IsApplicationRunning(processName, false))
        return false;
    const auto answer = QMessageBox::question(this, GetStringResource(kApplicationName),
                                              GetStringResource(questionId),
                                              QMessageBox::Yes | QMessageBox::No,
                                              QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    IsApplicationRunning(processName, true);
    return true;
}

void PZ_Main_Dialog::start_check_calibration_sensor()
{
    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    if (!selector)
        return;

    // An ended utility lets go of the sensor: look for it again (twice, as
    // the device may take a moment to come free).
    const auto detectAfterEnding = [&] {
        selector->AutoSelect();
        selector->AutoSelect();
        updateControlsStatus();
    };
    if (!selector->m_pCurrentSensor && offerToEndUtility(kColorMunkiService, kCloseColorMunkiService))
        detectAfterEnding();
    if (offerToEndUtility(kProfilerTray, kCloseProfilerTray))
        detectAfterEnding();

    while (!selector->m_pCurrentSensor) {
        const auto answer = QMessageBox::question(this, GetStringResource(kApplicationName),
                                                  GetStringResource(kRetryDetection),
                                                  QMessageBox::Retry | QMessageBox::Cancel,
                                                  QMessageBox::Retry);
        if (answer != QMessageBox::Retry)
            break;
        selector->AutoSelect();
        updateControlsStatus();
    }

    if (selector->m_CurrentType == CTargetSensor::kSensorSpyder) {
        for (const QString &utility : kSpyderUtilities)
            offerToEndUtility(utility, kCloseSpyderUtility);
    }
}
