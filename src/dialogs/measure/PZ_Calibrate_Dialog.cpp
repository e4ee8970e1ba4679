#include "PZ_Calibrate_Dialog.h"

#include "AppGlobals.h"
#include "CSensor.h"
#include "CTargetDisplay.h"
#include "CTargetSensor.h"
#include "CalibrateThreadFactory.h"
#include "DisplayPlacement.h"
#include "LuminanceUnits.h"
#include "MasterControl.h"
#include "Messages.h"
#include "colorimeterMeasurementTarget.h"
#include "pz_test_pattern_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

// Shown when the restoring run could not put the monitor back.
constexpr int kRestoreFailed = -1025;
constexpr int kNoTargetDisplay = -1001;

const char *const kLogoPicture = ":/images/Resources/orvane logo.png";

} // namespace

PZ_Calibrate_Dialog::PZ_Calibrate_Dialog(CTargetValue target, QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    m_Awake = std::make_unique<pz::DisplayAwakeScope>(tr("Calibrating the display"));

    // The controller always has a target display object; until a display is
    // selected its record has no bounds, and there is nothing to run on.
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    if (display && display->GetMonitorData().m_Bounds.width() > 0)
        readDisplay(display, target);
    readSensor();

    connectThread();
    createTimers();

    ShowColorAdjustmentWidgets(false);
    calibration_step_groupBox->hide();
    black_level_widget->set_value_min_max(0.0, 3.0);
    black_level_widget->set_bar_graident_color(QColor(92, 92, 92), QColor(32, 32, 32));
    white_level_widget->set_bar_graident_color(QColor(237, 237, 237), QColor(172, 172, 172));
    progressBar->setRange(0, 1000);

    createOverlayWidgets();

    // The operations take their first reading before they ask for any
    // patch: it measures this white patch, which Continue shows.
    SetMeasurementAreaPatchColor(Qt::white);
    ShowMeasurementAreaPatch(false);

    chooseInitialPrompt();

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);
    if (m_Display)
        pz::placeOnDisplay(*this, m_Display->GetMonitorData().m_Bounds);
    show();
    sizeInstructionText();
}

PZ_Calibrate_Dialog::~PZ_Calibrate_Dialog()
{
    delete m_Thread;
    if (m_Sensor)
        m_Sensor->FlashLED(0);
}

void PZ_Calibrate_Dialog::readDisplay(CTargetDisplay *display, const CTargetValue &target)
{
    m_Display = display;
    m_Thread = pz::createCalibrateThread(
        pz::calibrateThreadKindFor(display->GetDisplayType(), target.m_ColorGamutType));
    m_Thread->SetTargetValue(target);
    m_Thread->SetTargetDisplay(display);

    // The window takes exactly the screen of the display (the record's
    // bounds reach one pixel past it).
    const _MonitorData data = display->GetMonitorData();
    if (QScreen *screen = pz::placeOnDisplay(*this, data.m_Bounds)) {
        m_Width = screen->geometry().width();
        m_Height = screen->geometry().height();
    }
    // A display turned to portrait has its long side across.
    m_PhysicalExtentCm = double(m_Width < m_Height ? data.m_Width : data.m_Height);
    m_PixelsPerCm = m_PhysicalExtentCm > 0.0 ? m_Height / m_PhysicalExtentCm : kDefaultPixelsPerCm;
}

void PZ_Calibrate_Dialog::readSensor()
{
    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    m_Sensor = selector ? selector->m_pCurrentSensor : nullptr;
    if (!m_Sensor)
        return;
    m_Sensor->GetSensorPhyscalData(m_SensorData);
    if (m_Thread)
        m_Thread->SetSensorObject(m_Sensor);
    m_ZeroCalPending = m_Sensor->SupportsZeroCal();
    if (m_ZeroCalPending)
        m_RequiredSelectorPosition = CSensor::kSelectorCalibrate;
    m_SelectorSupported = m_Sensor->DoesSensorSupportMeasurementSelector();
    connect(m_Sensor, &CSensor::SensorMeasurementSelectorPositionChanged, this,
            &PZ_Calibrate_Dialog::SensorMeasurementSelectorPositionChanged);
}

void PZ_Calibrate_Dialog::connectThread()
{
    if (!m_Thread)
        return;
    using T = CalibrateThread;
    using D = PZ_Calibrate_Dialog;
    T *t = m_Thread;
    connect(t, &T::SetMeasurementAreaPatchColor, this, &D::SetMeasurementAreaPatchColor);
    connect(t, &T::ShowMeasurementAreaPatch, this, &D::ShowMeasurementAreaPatch);
    connect(t, &T::calibrationError, this, &D::HandleCalibrationError);
    connect(t, &T::SetBlackLevelMeasuredValue, this, &D::SetBlackLevelMeasuredValue);
    connect(t, &T::SetWhitePointMeasuredValue, this, &D::SetWhitePointMeasuredValue);
    connect(t, &T::SetWhitePointTargetxy, this, &D::SetWhitePointTargetxy);
    connect(t, &T::CalibrationComplete, this, &D::CalibrationComplete);
    connect(t, &T::StartingTask, this, &D::CalibrationStartingTask);
    connect(t, &T::StartingSubTask, this, &D::CalibrationStartingSubTask);
    connect(t, &T::StepTaskCounter, this, &D::CalibrationStepTaskCounter);
    connect(t, &T::SetNumberOfTasks, this, &D::CalibrationSetNumberOfTasks);
    connect(t, &T::SetNumberOfSubtasks, this, &D::CalibrationSetNumberOfSubtasks);
    connect(t, &T::StepSubTaskCounter, this, &D::CalibrationStepSubTaskCounter);
    connect(t, &T::StartingTask, calibration_step_widget,
            &PZ_calibration_step_display_widget::set_calibration_task);
    connect(t, &T::StartingSubTask, calibration_step_widget,
            &PZ_calibration_step_display_widget::set_calibration_sub_task);
    connect(t, &T::SetWhiteLevelTarget, white_level_widget, &PZ_luminance_meter_widget::set_target_level);
    connect(t, &T::SetWhiteLevelMeasuredValue, white_level_widget, &PZ_luminance_meter_widget::set_value);
    connect(t, &T::SetWhiteLevelTargetMinMax, white_level_widget,
            &PZ_luminance_meter_widget::set_value_min_max);
    connect(t, &T::ShowWhiteLevelTarget, white_level_widget, &PZ_luminance_meter_widget::show_target_level);
    connect(t, &T::SetBlackLevelTarget, black_level_widget, &PZ_luminance_meter_widget::set_target_level);
    connect(t, &T::SetBlackLevelMeasuredValue, black_level_widget, &PZ_luminance_meter_widget::set_value);
    connect(t, &T::SetBlackLevelTargetMinMax, black_level_widget,
            &PZ_luminance_meter_widget::set_value_min_max);
    connect(t, &T::ShowBlackLevelTarget, black_level_widget, &PZ_luminance_meter_widget::show_target_level);
    connect(t, &T::ShowColorAdjustmentWidgets, this, &D::ShowColorAdjustmentWidgets);
    connect(t, &T::ShowMainInformationWidget, calibration_step_groupBox, &QWidget::setVisible);
    connect(t, &T::ShowTestPattern, this, &D::ShowTestPattern);
    connect(t, &T::ShowWindow, this, &D::ShowWindow);
    connect(t, &T::SleepTime, this, &D::SleepTime);
    connect(t, &T::SetTaskString, calibration_step_label, &QLabel::setText);
    // Reaches the thread object directly: it lives in this thread.
    connect(this, &D::patchChanged, t, &T::patchChanged);
}

void PZ_Calibrate_Dialog::createTimers()
{
    m_SelectorUpdateTimer = new QTimer(this);
    m_SelectorUpdateTimer->setObjectName(QStringLiteral("selector_update_timer"));
    m_SelectorUpdateTimer->setSingleShot(true);
    connect(m_SelectorUpdateTimer, &QTimer::timeout, this, &PZ_Calibrate_Dialog::update_sensor_selector_timer);

    m_SelectorPollTimer = new QTimer(this);
    m_SelectorPollTimer->setObjectName(QStringLiteral("selector_poll_timer"));
    connect(m_SelectorPollTimer, &QTimer::timeout, this, &PZ_Calibrate_Dialog::poll_sensor_selector_timer);

    m_KeepAwakeTimer = new QTimer(this);
    m_KeepAwakeTimer->setObjectName(QStringLiteral("screen_saver_timer"));
    connect(m_KeepAwakeTimer, &QTimer::timeout, this,
            &PZ_Calibrate_Dialog::update_screen_saver_preventer_timer);
    m_KeepAwakeTimer->start(kKeepAwakeMs);
}

void PZ_Calibrate_Dialog::createOverlayWidgets()
{
    m_PlacementLabel = new QLabel(this);
    m_PlacementLabel->setObjectName(QStringLiteral("color_sensor_placement_image_label"));
    m_ZeroCalLabel = new QLabel(this);
    m_ZeroCalLabel->setObjectName(QStringLiteral("color_sensor_zero_calibration_image_label"));
    m_Patch = new colorimeterMeasurementTarget(this);
    m_Patch->setObjectName(QStringLiteral("measurement_target_widget"));
    m_InstructionLabel = new QLabel(this);
    m_InstructionLabel->setObjectName(QStringLiteral("color_sensor_placement_instructions_text_label"));
    m_LogoLabel = new QLabel(this);
    m_LogoLabel->setObjectName(QStringLiteral("logo_bitmap_label"));
    placeOverlayWidgets();
}

void PZ_Calibrate_Dialog::placeOverlayWidgets()
{
    const double s = m_PixelsPerCm;
    const int W = m_Width;
    const int H = m_Height;

    // The sensor on the screen, its lens centre on the display's middle row.
    const QPixmap placement(m_SensorData.m_OnDisplayPicture);
    m_PlacementLabel->setScaledContents(true);
    m_PlacementLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_PlacementLabel->setPixmap(placement);
    const double aspect =
        placement.width() > 0 ? double(placement.height()) / double(placement.width()) : 1.0;
    const double G = s * m_SensorData.m_PictureSizeCm;
    m_PlacementLabel->resize(int(G / aspect), int(G));
    m_PlacementLabel->move(W / 2 - m_PlacementLabel->width() / 2,
                           H / 2 - int(m_PlacementLabel->height() * m_SensorData.m_LensCentreFraction));

    // The zero calibration (or selector) picture, in the middle.
    const QPixmap zeroCal(m_SensorData.m_ZeroCalibrationPicture);
    m_ZeroCalLabel->setScaledContents(true);
    m_ZeroCalLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_ZeroCalLabel->resize(zeroCal.size());
    m_ZeroCalLabel->hide();
    m_ZeroCalLabel->move(W / 2 - m_ZeroCalLabel->width() / 2, H / 2 - m_ZeroCalLabel->height() / 2);

    // The patch, as large as the sensor's target.
    const int d = int(s * m_SensorData.m_TargetSizeCm);
    m_Patch->resize(d, d);
    m_Patch->move(W / 2 - d / 2, H / 2 - d / 2);

    m_InstructionLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_InstructionLabel->setScaledContents(true);
    m_InstructionLabel->setFrameStyle(0);
    m_InstructionLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_InstructionLabel->setMargin(30);
    m_InstructionLabel->setWordWrap(true);
    m_InstructionLabel->move(0, 0);

    const QPixmap logo(QString::fromLatin1(kLogoPicture));
    QSizePolicy logoPolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    logoPolicy.setHeightForWidth(m_LogoLabel->sizePolicy().hasHeightForWidth());
    m_LogoLabel->setSizePolicy(logoPolicy);
    m_LogoLabel->setAlignment(Qt::AlignCenter);
    m_LogoLabel->setPixmap(logo);
    m_LogoLabel->resize(logo.size());
    m_LogoLabel->move(W - logo.width(), H - logo.height());
}

void PZ_Calibrate_Dialog::sizeInstructionText()
{
    // Top left of the display, down to the buttons, left of the pictures.
    const int M = qMax(m_PlacementLabel->width(), m_ZeroCalLabel->width());
    m_InstructionLabel->resize(m_Width / 2 - M / 2, widget->y());
}

void PZ_Calibrate_Dialog::SetOperationType(CalibrateThread::typeOperationType type)
{
    m_Operation = type;
    if (type == CalibrateThread::OPERATION_PROFILE)
        calibration_step_groupBox->setTitle(
            tr("Display Profile Information", "main group box title when generating profile"));
    else if (type == CalibrateThread::OPERATION_VALIDATE)
        calibration_step_groupBox->setTitle(
            tr("Display Validation Information", "main group box title when validating the calibration"));
}

CAdjustValue *PZ_Calibrate_Dialog::GetCalibratedAdjustValue()
{
    return m_Thread ? &m_Thread->m_AdjustValue : &m_NoResult;
}

bool PZ_Calibrate_Dialog::threadRunning() const
{
    return m_Thread && m_Thread->isRunning();
}

// ---- the run

void PZ_Calibrate_Dialog::startRun()
{
    m_ZeroCalLabel->hide();
    calibration_step_groupBox->show();
    ShowSensorPlacementTargetImage(false);
    ShowSetAttachMessage(0);
    if (!m_Thread) {
        DisplayErrorMessage(this, kNoTargetDisplay, true, 1);
        QDialog::reject();
        return;
    }
    stopFollowingSelector();
    ShowMeasurementAreaPatch(true);
    // The first reading has no handshake: let the white patch paint before
    // the thread can measure it.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_RunStarted = true;
    m_Thread->begin(m_Operation);
}

void PZ_Calibrate_Dialog::stopFollowingSelector()
{
    m_SelectorUpdateTimer->stop();
    m_SelectorPollTimer->stop();
    if (m_Sensor)
        disconnect(m_Sensor, &CSensor::SensorMeasurementSelectorPositionChanged, this,
                   &PZ_Calibrate_Dialog::SensorMeasurementSelectorPositionChanged);
}

void PZ_Calibrate_Dialog::on_cancel_pushButton_clicked()
{
    if (!threadRunning()) {
        QDialog::reject();
        return;
    }
    const bool measuring = m_Operation == CalibrateThread::OPERATION_PROFILE
                           || m_Operation == CalibrateThread::OPERATION_VALIDATE;
    showTaskCaption(measuring ? CalibrateThread::TASK_CANCEL
                              : CalibrateThread::TASK_RESET_MONITOR_TO_KNOWN_STATE);
    m_Thread->stop();
    cancel_pushButton->setEnabled(false);
}

void PZ_Calibrate_Dialog::reject()
{
    // Escape and closing the window are a Cancel.
    on_cancel_pushButton_clicked();
}

void PZ_Calibrate_Dialog::HandleCalibrationError(int code)
{
    if (code != CalibrateThread::kCancelled)
        DisplayErrorMessage(this, code, true, 1);
    if (m_RestoreStarted)
        return;
    const bool fromThread = m_Thread && sender() == m_Thread;
    if (threadRunning() && !fromThread)
        return;   // the thread ends the run with its own report
    if (fromThread)
        m_Thread->wait();
    if (fromThread && m_Thread->m_MonitorConfigured) {
        m_RestoreStarted = true;
        m_Thread->begin(CalibrateThread::OPERATION_RESTORE_MONITOR);
        return;
    }
    // What closing the window would do, also while the thread keeps it
    // hidden: the thread has stopped, so this ends the window Rejected.
    reject();
}

void PZ_Calibrate_Dialog::CalibrationComplete()
{
    m_Thread->wait();
    if (m_RestoreStarted && m_Thread->m_RestoreResult != 0)
        DisplayErrorMessage(this, kRestoreFailed, true, 1);
    accept();
}

// ---- progress

void PZ_Calibrate_Dialog::CalibrationSetNumberOfTasks(int count)
{
    progressBar->setMinimum(0);
    m_CompletedTasks = 0;
    progressBar->setMaximum(count * kStepsPerTask);
    progressBar->setValue(0);
}

void PZ_Calibrate_Dialog::CalibrationStepTaskCounter()
{
    ++m_CompletedTasks;
    progressBar->setValue(m_CompletedTasks * kStepsPerTask);
    progressBarSubStep->setValue(0);
}

void PZ_Calibrate_Dialog::CalibrationSetNumberOfSubtasks(int count)
{
    progressBarSubStep->setMinimum(0);
    progressBarSubStep->setMaximum(count);
    progressBarSubStep->setValue(0);
}

void PZ_Calibrate_Dialog::CalibrationStepSubTaskCounter()
{
    const int v = progressBarSubStep->value() + 1;
    const int m = progressBarSubStep->maximum();
    progressBarSubStep->setValue(v);
    if (m > 0) {
        const double ratio = double(v) / double(m);
        const double f = ratio > 1.0 ? double(kStepsPerTask) : ratio * kStepsPerTask;
        progressBar->setValue(int(m_CompletedTasks * kStepsPerTask + f));
    }
}

void PZ_Calibrate_Dialog::CalibrationStartingTask(int id)
{
    showTaskCaption(id);
}

void PZ_Calibrate_Dialog::CalibrationStartingSubTask(int) {}

void PZ_Calibrate_Dialog::showTaskCaption(int id)
{
    QString text;
    switch (id) {
    case 1: text = tr("Configuring Monitor Settings", "TASK_SETUP_MONITOR_FOR_CALIBRATION"); break;
    case 2: text = tr("Measuring Native Primaries", "TASK_MEASURING_NATIVE_PRIMARIES"); break;
    case 3: text = tr("Measuring Adjusted Primaries", "TASK_MEASURING_UNCORRECTED_PRIMARIES"); break;
    case 4: text = tr("Adjusting White Point", "TASK_ADJUSTING_WHITE_POINT"); break;
    case 5: text = tr("Measuring Corrected Response", "TASK_MEASURING_CORRECTED_PRIMARIES"); break;
    case 6: text = tr("Measuring Native Response", "TASK_MEASURING_UNCORRECTED_RESPONSE_CURVES"); break;
    case 7: text = tr("Updating Monitor LUTs", "TASK_UPDATING_MONITOR_LUTS"); break;
    case 8: text = tr("Waiting to Stabilize", "TASK_WAITING_TO_STABILIZE"); break;
    case 9: text = tr("Adjusting Luminance", "TASK_ADJUSTING_LUMINANCE"); break;
    case 10: text = tr("Resetting to Default Settings", "TASK_RESET_MONITOR_TO_KNOWN_STATE"); break;
    case 11: text = tr("Canceling operation", "TASK_CANCEL"); break;
    default:
        text = tr("Unknown Step %1 of %2").arg(progressBar->value()).arg(progressBar->maximum());
        break;
    }
    calibration_step_label->setText(text);
}

// ---- patch and readings

void PZ_Calibrate_Dialog::SetMeasurementAreaPatchColor(QColor colour)
{
    m_Patch->setPatchColor(colour);
    // Paint it now, before the thread measures: an update() alone may wait
    // for the window system's next frame, after the events below have run.
    m_Patch->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    emit patchChanged();
}

void PZ_Calibrate_Dialog::SetBlackLevelMeasuredValue(double Y)
{
    black_level_label->setText(CandelasToDisplayText(Y, 2, true));
}

void PZ_Calibrate_Dialog::SetWhitePointMeasuredValue(double x, double y, double Y)
{
    white_level_label->setText(CandelasToDisplayText(Y, 1, true));
    xy_widget->SetMeasured_xy(x, y);
    xy_label->setText(QStringLiteral("(%1,%2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3));
}

void PZ_Calibrate_Dialog::SetWhitePointTargetxy(double x, double y)
{
    xy_widget->SetTarget_xy(x, y);
}

void PZ_Calibrate_Dialog::SleepTime(int ms)
{
    calibration_step_widget->set_wait_time(ms / 1000);
}

// ---- show and hide

void PZ_Calibrate_Dialog::ShowWindow(bool show)
{
    setVisible(show);
}

void PZ_Calibrate_Dialog::ShowSensorPlacementTargetImage(bool show)
{
    m_PlacementLabel->setVisible(show);
}

void PZ_Calibrate_Dialog::ShowMeasurementAreaPatch(bool show)
{
    m_Patch->setVisible(show);
}

void PZ_Calibrate_Dialog::ShowColorAdjustmentWidgets(bool show)
{
    black_level_groupBox->setVisible(show);
    white_level_groupBox->setVisible(show);
    color_groupBox->setVisible(show);
}

void PZ_Calibrate_Dialog::ShowTestPattern(int pattern)
{
    if (!test_pattern_window)
        return;
    if (pattern < 0) {
        test_pattern_window->hide();
        return;
    }
    if (m_Display)
        pz::placeOnDisplay(*test_pattern_window, m_Display->GetMonitorData().m_Bounds);
    test_pattern_window->enable_controls(false);
    test_pattern_window->SetTestPattern(pattern);
    test_pattern_window->show();
    test_pattern_window->raise();
}

void PZ_Calibrate_Dialog::update_screen_saver_preventer_timer()
{
    pz::displayAwake().keepAwake();
}
