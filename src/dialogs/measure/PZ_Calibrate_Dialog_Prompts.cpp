// The calibration window's sensor preparation: zero calibration, the
// measurement selector's position and the placement of the sensor, one
// prompt at a time, each confirmed with Continue.

#include "CSensor.h"
#include "Messages.h"
#include "PZ_Calibrate_Dialog.h"
#include "colorimeterMeasurementTarget.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace {

const QString kPromptOpen = QStringLiteral("<h1><font color=LightYellow>");
const QString kPromptClose = QStringLiteral("</font></h1>");

} // namespace

void PZ_Calibrate_Dialog::chooseInitialPrompt()
{
    if (!m_Sensor) {
        showPlacementPrompt();
        return;
    }
    // The middle picture: the zero calibration, or the selector at the
    // position it has to reach.
    if (!m_SelectorSupported) {
        m_ZeroCalLabel->setPixmap(QPixmap(m_SensorData.m_ZeroCalibrationPicture));
    } else if (m_ZeroCalPending) {
        m_ZeroCalLabel->setPixmap(m_Sensor->GetPixmapForCurrentPosition(m_RequiredSelectorPosition));
        if (m_Sensor->GetSensorMeasurementSelectorPosition() != m_RequiredSelectorPosition)
            continue_pushButton->setEnabled(false);
    } else if (m_Sensor->GetSensorMeasurementSelectorPosition() == m_RequiredSelectorPosition) {
        m_ZeroCalLabel->setPixmap(QPixmap(m_SensorData.m_ZeroCalibrationPicture));
        m_SelectorInPosition = true;
    } else {
        m_SelectorMustMove = true;
        continue_pushButton->setEnabled(false);
        m_ZeroCalLabel->setPixmap(m_Sensor->GetPixmapForCurrentPosition(m_RequiredSelectorPosition));
        if (m_Sensor->DoesSensorSupportMeasurementSelectorNeedPolling())
            m_SelectorPollTimer->start(kSelectorPollMs);
    }

    if (m_ZeroCalPending || m_SelectorMustMove) {
        m_PlacementLabel->hide();
        m_ZeroCalLabel->show();
        ShowSetAttachMessage(m_ZeroCalPending ? 2 : 4);
    } else {
        showPlacementPrompt();
    }
}

void PZ_Calibrate_Dialog::ShowSetAttachMessage(int prompt)
{
    switch (prompt) {
    case 0:
        m_InstructionLabel->hide();
        return;
    case 1:
        m_InstructionLabel->setText(
            tr("<h1><font color=LightYellow>Position the sensor gently on the screen as shown and click "
               "<b>Continue</b>.<br>If necessary tilt the display back slightly so the sensor is resting "
               "flat against the screen.<br><u>Never</u> use suction cups to hold the sensor in "
               "place.</font></h1>",
               "attach sensor to screen message"));
        break;
    case 2:
        m_InstructionLabel->setText(
            kPromptOpen + m_SensorData.m_ZeroCalibrationText
            + tr("<br>Click <b>Continue</b> when ready.", "continue message for sensor zero calibration")
            + kPromptClose);
        break;
    case 3:
        m_InstructionLabel->setText(tr("<h1><font color=LightYellow>Zero calibration in progress...</font></h1>",
                                       "zero cal in progress message"));
        break;
    case 4:
        m_InstructionLabel->setText(
            kPromptOpen + m_SensorData.m_SelectorMessage
            + tr("<br>Click <b>Continue</b> when ready.",
                 "continue message for message_string_move_selector_to_measure_position")
            + kPromptClose);
        break;
    default:
        break;
    }
    m_InstructionLabel->show();
}

int PZ_Calibrate_Dialog::PerformSensorZeroCal()
{
    if (!m_Sensor)
        return 0;
    const int code = m_Sensor->ZeroCal();
    if (code != 0)
        DisplayErrorMessage(this, code, true, 1);
    return code;
}

bool PZ_Calibrate_Dialog::preparationFinished() const
{
    return !m_ZeroCalPending && (!m_SelectorSupported || m_SelectorInPosition);
}

void PZ_Calibrate_Dialog::on_continue_pushButton_clicked()
{
    // The run has its own controls; a second start must not reach the
    // running thread.
    if (m_RunStarted)
        return;
    // Disabling a focused button hands the focus on to Cancel, where a
    // second Return or Space would stop the run: the window itself takes it,
    // so only a click on Cancel or Escape ends the calibration.
    setFocus(Qt::OtherFocusReason);
    continue_pushButton->setEnabled(false);
    if (!preparationFinished()) {
        prepareStep();
        return;
    }
    startRun();
}

void PZ_Calibrate_Dialog::prepareStep()
{
    if (m_ZeroCalPending)
        continueZeroCalibration();
    else
        continueSelectorCheck();
}

void PZ_Calibrate_Dialog::continueZeroCalibration()
{
    // The prompt must be on the screen before the blocking zero calibration.
    ShowSetAttachMessage(3);
    m_InstructionLabel->repaint();
    m_ZeroCalLabel->hide();
    repaint();
    QCoreApplication::processEvents();

    if (PerformSensorZeroCal() != 0) {
        m_ZeroCalLabel->show();
        ShowSetAttachMessage(2);
        enableContinue(true);
        return;
    }
    m_RequiredSelectorPosition = CSensor::kSelectorDisplay;
    m_ZeroCalPending = false;
    if (m_SelectorSupported && m_Sensor->GetSensorMeasurementSelectorPosition() != CSensor::kSelectorDisplay) {
        m_ZeroCalLabel->setPixmap(m_Sensor->GetPixmapForCurrentPosition(CSensor::kSelectorDisplay));
        m_ZeroCalLabel->show();
        ShowSetAttachMessage(4);
        return;   // the selector timers enable Continue at the display position
    }
    showPlacementPrompt();
    enableContinue(true);
}

void PZ_Calibrate_Dialog::continueSelectorCheck()
{
    if (m_Sensor->GetSensorMeasurementSelectorPosition() != CSensor::kSelectorDisplay) {
        ShowSetAttachMessage(4);
        enableContinue(true);
        return;
    }
    m_SelectorPollTimer->stop();
    m_Sensor->FlashLED(0);
    m_SelectorInPosition = true;
    showPlacementPrompt();
    enableContinue(true);
    m_ZeroCalLabel->hide();
}

void PZ_Calibrate_Dialog::showPlacementPrompt()
{
    ShowSensorPlacementTargetImage(true);
    ShowSetAttachMessage(1);
}

void PZ_Calibrate_Dialog::enableContinue(bool enable)
{
    continue_pushButton->setEnabled(enable);
    if (enable)
        continue_pushButton->setFocus(Qt::OtherFocusReason);
}

// ---- following the selector

void PZ_Calibrate_Dialog::SensorMeasurementSelectorPositionChanged(int)
{
    if (!m_Sensor || m_RunStarted)
        return;
    // A burst of changes gives one read once the selector has settled.
    m_SelectorUpdateTimer->stop();
    m_SelectorUpdateTimer->start(kSelectorSettleMs);
}

bool PZ_Calibrate_Dialog::selectorPositionOk(int position)
{
    if (position >= 0)
        return true;
    m_SelectorUpdateTimer->stop();
    m_SelectorPollTimer->stop();
    HandleCalibrationError(position);
    return false;
}

void PZ_Calibrate_Dialog::update_sensor_selector_timer()
{
    if (!m_Sensor || m_RunStarted)
        return;
    m_ZeroCalLabel->setPixmap(m_Sensor->GetPixmapForCurrentPosition(m_RequiredSelectorPosition));
    const int position = m_Sensor->GetSensorMeasurementSelectorPosition();
    if (!selectorPositionOk(position))
        return;
    enableContinue(position == m_RequiredSelectorPosition);
}

void PZ_Calibrate_Dialog::poll_sensor_selector_timer()
{
    if (!m_Sensor || m_RunStarted)
        return;
    const int position = m_Sensor->GetSensorMeasurementSelectorPosition();
    if (!selectorPositionOk(position))
        return;
    const bool inPosition = position == m_RequiredSelectorPosition;
    m_Sensor->FlashLED(inPosition ? 0 : 1);
    enableContinue(inPosition);
}
