#pragma once
// The full-screen window in which one operation of the calibration thread
// runs: a calibration, a profiling or a validation. The main window's flows
// build it on a copy of the target (it shows itself), set the operation,
// run it modally and, when it ends Accepted, copy GetCalibratedAdjustValue();
// whether that is a calibrated result is the record's own valid flag.
//
// Phases:
// - Preparing: the window covers the target display in black and walks the
//   user through the sensor's zero calibration, selector position and
//   placement (one prompt per step, confirmed with Continue). Cancel,
//   Escape or closing the window ends it Rejected.
// - Running: Continue starts the thread (begin(operation)). The window then
//   only follows the thread: it paints each patch the thread asks for and
//   acknowledges it (patchChanged), shows tasks, progress, the live
//   readings and the test pattern. The sensor's selector is no longer
//   followed and Continue stays disabled, so nothing can restart the
//   running thread or make the window wait for a thread that waits for it.
// - Cancel while running stops the thread; its cancellation (-1005) comes
//   back as an error report.
// - An error report is shown (not a cancellation); when the thread had
//   begun configuring the monitor the window runs the restoring operation
//   and then ends Accepted (a result that is no valid calibration),
//   warning when the monitor did not answer the restore; otherwise it ends
//   Rejected.
// - CalibrationComplete ends it Accepted.
//
// Without a target display there is no thread: Continue reports -1001 and
// the window ends Rejected. The display is kept awake while the window
// lives.

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "CalibrateThread.h"
#include "DisplayAwake.h"
#include "sensor_physical_data.h"
#include "ui_CalibrateDialog.h"

#include <QDialog>
#include <QPixmap>
#include <memory>

class CSensor;
class CTargetDisplay;
class QLabel;
class QTimer;
class colorimeterMeasurementTarget;

class PZ_Calibrate_Dialog : public QDialog, public Ui::CalibrateDialog {
    Q_OBJECT

public:
    // Timer periods.
    static constexpr int kSelectorSettleMs = 500;
    static constexpr int kSelectorPollMs = 1000;
    static constexpr int kKeepAwakeMs = 30000;
    // Pixels per centimetre when the display's physical size is unknown.
    static constexpr double kDefaultPixelsPerCm = 60.0;
    // Each task's share of the overall progress bar.
    static constexpr int kStepsPerTask = 1000;

    explicit PZ_Calibrate_Dialog(CTargetValue target, QWidget *parent = nullptr);
    ~PZ_Calibrate_Dialog() override;

    // The operation Continue starts (calibrate, profile or validate); call
    // before exec().
    void SetOperationType(CalibrateThread::typeOperationType type);
    // The thread's result record (an empty one without a thread); valid
    // while the window lives.
    CAdjustValue *GetCalibratedAdjustValue();

    // Instruction prompt 0 (hidden) to 4.
    void ShowSetAttachMessage(int prompt);
    // The sensor's zero calibration: 0, or its code (already shown).
    int PerformSensorZeroCal();

    // What the window was built with, for its users and tests.
    CalibrateThread *calibrationThread() const { return m_Thread; }
    double pixelsPerCm() const { return m_PixelsPerCm; }
    bool runStarted() const { return m_RunStarted; }

signals:
    // The patch shows the colour the thread asked for.
    void patchChanged();

public slots:
    void ShowWindow(bool show);
    void ShowSensorPlacementTargetImage(bool show);
    void ShowMeasurementAreaPatch(bool show);
    void CalibrationStartingSubTask(int id);
    void ShowColorAdjustmentWidgets(bool show);
    void update_screen_saver_preventer_timer();
    void SleepTime(int ms);
    void CalibrationComplete();
    void CalibrationStepSubTaskCounter();
    void CalibrationStepTaskCounter();
    void CalibrationSetNumberOfSubtasks(int count);
    void CalibrationSetNumberOfTasks(int count);
    void HandleCalibrationError(int code);
    void SetMeasurementAreaPatchColor(QColor colour);
    void SetWhitePointTargetxy(double x, double y);
    void update_sensor_selector_timer();
    void SensorMeasurementSelectorPositionChanged(int position);
    void poll_sensor_selector_timer();
    void CalibrationStartingTask(int id);
    void on_cancel_pushButton_clicked();
    void on_continue_pushButton_clicked();
    void SetBlackLevelMeasuredValue(double Y);
    void SetWhitePointMeasuredValue(double x, double y, double Y);
    void ShowTestPattern(int pattern);
    void reject() override;

private:
    void readDisplay(CTargetDisplay *display, const CTargetValue &target);
    void readSensor();
    void connectThread();
    void createTimers();
    void createOverlayWidgets();
    void placeOverlayWidgets();
    void sizeInstructionText();

    // Preparation (the sensor prompts).
    void chooseInitialPrompt();
    bool preparationFinished() const;
    void prepareStep();
    void continueZeroCalibration();
    void continueSelectorCheck();
    void showPlacementPrompt();
    // A selector position read by the timers; false (and the error handled)
    // when it is an error code.
    bool selectorPositionOk(int position);
    void enableContinue(bool enable);

    // The run.
    void startRun();
    void stopFollowingSelector();
    void showTaskCaption(int id);
    bool threadRunning() const;

    CalibrateThread *m_Thread = nullptr;   // owned; null without a target display
    CTargetDisplay *m_Display = nullptr;
    CSensor *m_Sensor = nullptr;           // not owned
    sensor_physical_data m_SensorData;
    CAdjustValue m_NoResult;               // handed out without a thread

    int m_Width = 0;                       // the target display's screen, in pixels
    int m_Height = 0;
    double m_PhysicalExtentCm = 20.0;
    double m_PixelsPerCm = kDefaultPixelsPerCm;

    // Sensor preparation.
    bool m_ZeroCalPending = false;
    int m_RequiredSelectorPosition = 0;
    bool m_SelectorSupported = false;
    bool m_SelectorMustMove = false;
    bool m_SelectorInPosition = false;

    bool m_RunStarted = false;
    bool m_RestoreStarted = false;
    CalibrateThread::typeOperationType m_Operation = CalibrateThread::OPERATION_CALIBRATE;
    int m_CompletedTasks = 0;

    QTimer *m_SelectorUpdateTimer = nullptr;
    QTimer *m_SelectorPollTimer = nullptr;
    QTimer *m_KeepAwakeTimer = nullptr;

    QLabel *m_PlacementLabel = nullptr;
    QLabel *m_ZeroCalLabel = nullptr;
    colorimeterMeasurementTarget *m_Patch = nullptr;
    QLabel *m_InstructionLabel = nullptr;
    QLabel *m_LogoLabel = nullptr;

    std::unique_ptr<pz::DisplayAwakeScope> m_Awake;
};
