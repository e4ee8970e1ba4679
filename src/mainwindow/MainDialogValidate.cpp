// The validation of the main window: the current display measured without
// adjusting it, and judged against the current target (white point, grey
// scale, DICOM response) with a recalibration verdict. The display's
// calibration record takes the final measurements for the information
// window; the tracker keeps the calibration's own.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CalibrateThread.h"
#include "ResultMarks.h"
#include "StringResources.h"
#include "ValidationReport.h"

namespace {

const unsigned kVerificationFailed = 168;

} // namespace

void PZ_Main_Dialog::validate_calibration()
{
    if (!pMasterControl)
        return;
    if (information_window && information_window->isVisible())
        information_window->close();
    // The verdict waits for the user; the screen saver comes back before it.
    runMeasuringWindow({CalibrateThread::OPERATION_VALIDATE, false, true},
                       [this](const CAdjustValue &result, bool &countdown) {
                           countdown = false;
                           return takeValidation(result);
                       });
}

QString PZ_Main_Dialog::takeValidation(const CAdjustValue &result)
{
    if (!result.m_IsValid)
        return QStringLiteral("<br>")
               + pz::resultLine(pz::ResultMark::Failed, kVerificationFailed);
    CColorValue measurements = m_CalibrationResult.m_ColorValue;
    takeFinalMeasurements(measurements, result.m_ColorValue);
    m_CalibrationResult.SetColorValue(measurements);

    const QString text = pz::validationReport(m_CalibrationResult.m_ColorValue, m_CurrentTarget).text;
    updateInformationWindow();
    if (information_window && !information_window->isVisible()) {
        information_window->show();
        information_window->activateWindow();
    }
    return text;
}
