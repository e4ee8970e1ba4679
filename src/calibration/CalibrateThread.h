#pragma once
// The calibration thread: carries out one operation on the selected display
// with the selected sensor (calibrate, put the monitor back into its default
// state, measure for a profile, measure to validate). The calibration window
// creates it (or a variant derived from it, which overrides some operations
// and appends its own), hands it a copy of the target, the display and the
// sensor, connects its signals, starts an operation with begin(), paints the
// patches the thread asks for and finally takes m_AdjustValue out of it.
//
// Patch handshake: the worker emits SetMeasurementAreaPatchColor(colour) and
// waits until the window has painted it and called patchChanged(); then it
// lets the patch settle 200 ms before measuring. The window's slot must run in
// the thread that owns this object, through a queued connection: the worker
// emits while it holds m_Mutex, so a direct call of patchChanged() from the
// emitting thread would deadlock. Only an acknowledgement releases a waiting
// handshake; stop() and the destructor end it with kCancelled.
//
// Every wait goes through the program clock (Clock.h). Operations return 0 or
// a result code; the codes below, and those of the sensor and the monitor
// object, which pass through unchanged. Each operation ends with
// CalibrationComplete() or, through handleError(), calibrationError(code).

#include "CAdjustValue.h"
#include "CCIEXYZ.h"
#include "CTargetValue.h"
#include "CXYZ2RGBTransform.h"
#include "SensorMatrixCorrection.h"

#include <QColor>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>
#include <atomic>
#include <vector>

class CDDCMonitor;
class CSensor;
class CTargetDisplay;

// One gain trial of the white point controller.
struct _Readings_taken {
    qint32 red = 0;
    qint32 green = 0;
    qint32 blue = 0;
    qint32 brightness = 0;
    qint32 contrast = 0;
    CCIEXYZ xyz;
    // (1 - r)² + (1 - g)² + (1 - b)² of the channel ratios; 0 for the
    // reading that ended the adjustment.
    float error = 0.0f;
};

class CalibrateThread : public QThread {
    Q_OBJECT
public:
    enum typeOperationType {
        OPERATION_CALIBRATE = 0,
        OPERATION_RESTORE_MONITOR = 1,
        OPERATION_PROFILE = 2,
        OPERATION_VALIDATE = 3,
    };

    // Arguments of StartingTask; the calibration window keeps each task's
    // caption under the name.
    enum typeTask {
        TASK_SETUP_MONITOR_FOR_CALIBRATION = 1,
        TASK_MEASURING_NATIVE_PRIMARIES = 2,
        TASK_MEASURING_UNCORRECTED_PRIMARIES = 3,
        TASK_ADJUSTING_WHITE_POINT = 4,
        TASK_MEASURING_CORRECTED_PRIMARIES = 5,
        TASK_MEASURING_UNCORRECTED_RESPONSE_CURVES = 6,
        TASK_UPDATING_MONITOR_LUTS = 7,
        TASK_WAITING_TO_STABILIZE = 8,
        TASK_ADJUSTING_LUMINANCE = 9,
        TASK_RESET_MONITOR_TO_KNOWN_STATE = 10,
        TASK_CANCEL = 11,   // shown by the window itself, never emitted
    };

    // Arguments of StartingSubTask: the standard patches (also the patch
    // numbers of CSensor::validate_phopshor_colors) and the grey ramp.
    enum typeSubTask {
        SUBTASK_RED = 1,
        SUBTASK_GREEN = 2,
        SUBTASK_BLUE = 3,
        SUBTASK_BLACK = 4,
        SUBTASK_WHITE = 5,
        SUBTASK_GREY_RAMP = 6,
    };

    // Result codes of the thread's own.
    static constexpr int kFailed = -1;                  // also: not available in this thread class
    static constexpr int kNoSensor = -1000;
    static constexpr int kNoMonitor = -1001;
    static constexpr int kImplausibleReading = -1004;   // plausibility test, or too dark a first reading
    static constexpr int kCancelled = -1005;
    static constexpr int kWhitePointNotConverged = -1011;
    static constexpr int kLuminanceNotConverged = -1012;
    static constexpr int kCurvesNotBuilt = -1014;
    static constexpr int kMonitorWriteFailed = -1023;

    // The first reading of a profile or validation measurement must reach
    // this luminance (cd/m²).
    static constexpr double kMinimumMeasureWhite = 20.0;
    // Settling time of a freshly painted patch before it is measured.
    static constexpr int kPatchSettleMs = 200;
    // Timed waits are cut into slices of at most this length, so a
    // cancellation takes effect within one and the window can count down.
    static constexpr int kSleepSliceMs = 1000;
    // Grey levels of a validation: 16 for a DICOM target, else 8.
    static constexpr int kValidationStepsDICOM = 16;
    static constexpr int kValidationSteps = 8;

    explicit CalibrateThread(QObject *parent = nullptr);
    // Sets the abort flag, releases a waiting handshake and waits for the
    // operation to end. A class derived from this one must stop the thread
    // in its own destructor (stopAndWait()), while its overrides still exist.
    ~CalibrateThread() override;

    void SetSensorObject(CSensor *sensor);
    // Takes the display's monitor object too, and relays its progress.
    void SetTargetDisplay(CTargetDisplay *display);
    // Copies the target and re-initialises curves 0-11 as not valid.
    void SetTargetValue(CTargetValue target);
    // Starts `operation` at low priority when the thread is not running.
    // On a running thread it only stores the operation and sets a restart
    // flag that nothing reads; a pending handshake stays pending.
    void begin(unsigned int operation);
    // Cancels: the running step ends with kCancelled at its next test, a
    // timed wait within one slice, a pending handshake at once.
    void stop();

    // The patch handshake: 0 once the window has shown the colour and it has
    // settled, kCancelled when the run is cancelled meanwhile.
    int SetMeasurementAreaPatchColorLocal(QColor colour);

    // Grey level i of an n-level ramp: i / (n - 1) x 255 + 0.5, truncated.
    static int GreyLevel(int i, int n);
    // The colour of a standard patch (SUBTASK_RED .. SUBTASK_WHITE).
    static QColor PatchColor(int patch);

    // QThread.
    void run() override;

    // The operations, in the order derived classes rely on. Each step of a
    // calibration answers 0 or a result code; calibrate reports the first
    // failure through handleError. A calibration needs the display's monitor
    // object: without one it ends with kNoMonitor before the graphics card's
    // ramp is touched, and m_MonitorConfigured stays false.
    virtual void handleError(int code);
    virtual int CalculateNumberOfTasks();
    virtual int MeasureNativePrimaries(bool measureBlack, bool correct);
    virtual int MeasureUncorrectedPrimaries(bool correct);
    virtual int MeasureCorrectedPrimaries(bool measureCurves, bool correct);
    virtual int MeasureUncorrectedCurves(bool correct);
    virtual int SetupMonitorForCalibration();
    virtual int GetLeastRGBErrorGainSettings();
    virtual int WasGainMeasurementWithSettingsTaken(int red, int green, int blue);
    virtual int SetupRGBAdjustmentParameters();
    virtual int SetGainToSettingNumber(int index);
    virtual void ResetAdjustmentCounters();
    virtual int EndColorAdjustment();
    virtual int BeginColorAdjustment();
    virtual int AdjustGainsByRGBRatio(rgbColor target, double tolerance, xyYColor targetWhite);
    virtual int AdjustLuminanceToTarget(double target, int useContrast, double tolerance);
    virtual int CorrectDisplayGammaTable();
    virtual int AdjustDisplayWhitePoint();
    virtual int ResetGraphicCardGammaTable();
    virtual void UpdateWhitePointMeasuredValue(CCIEYxy reading);
    virtual void restore_monitor();
    virtual void calibrate();
    virtual void measure_display();
    // Waits ms in slices, emitting SleepTime before each: 0, or kCancelled.
    virtual int sleep_ms(int ms);
    // One (averaged) sensor reading: 0; kNoSensor; the sensor's code from
    // Measure or GetXYZData, with `reading` unchanged.
    virtual int TakeSensorMeasurement(CCIEXYZ &reading, int count, bool correct);
    // Loads the correction matrix when the preferences ask for one and one
    // is known: 1 when readings are now corrected, else 0.
    virtual int setup_sensor_correction_matrix();

public slots:
    // The window has shown the colour asked for: releases the handshake.
    void patchChanged();
    // Relays the monitor's progress: type 1 one step done, type 2 a task of
    // `value` steps; other types are ignored.
    void Receive_Message(unsigned int type, unsigned int value);

signals:
    void calibrationError(int code);
    void CalibrationComplete();
    void ShowMeasurementAreaPatch(bool show);
    void SetMeasurementAreaPatchColor(QColor colour);
    void StartingTask(int id);
    void StartingSubTask(int index);
    void StepTaskCounter();
    void SetNumberOfTasks(int count);
    void SetNumberOfSubtasks(int count);
    void StepSubTaskCounter();
    void SetWhiteLevelMeasuredValue(double Y);
    void SetBlackLevelMeasuredValue(double Y);
    void SetWhitePointMeasuredValue(double x, double y, double Y);
    void SetWhitePointTargetxy(double x, double y);
    void SetWhiteLevelTargetMinMax(double minimum, double maximum);
    void SetWhiteLevelTarget(double Y);
    void ShowWhiteLevelTarget(bool show);
    void SetBlackLevelTargetMinMax(double minimum, double maximum);   // for the window only
    void SetBlackLevelTarget(double Y);                               // for the window only
    void ShowBlackLevelTarget(bool show);                             // for the window only
    void ShowColorAdjustmentWidgets(bool show);
    void ShowMainInformationWidget(bool show);
    void ShowTestPattern(int pattern);
    void ShowWindow(bool show);                                       // for the window only
    void SleepTime(int ms);
    void SetTaskString(QString text);                                 // for the window only

protected:
    // Sets the abort flag under the mutex, wakes every waiter and waits for
    // the thread to end.
    void stopAndWait();
    bool aborted() const { return m_Abort.load(); }

    // Shows a standard patch (SUBTASK_RED .. SUBTASK_WHITE) after
    // StartingSubTask(patch), takes one reading of `count` and tests it for
    // that patch: 0 with the reading in `into`, or a result code.
    // stepBeforeReading emits StepSubTaskCounter() between patch and reading.
    int measureStandardPatch(int patch, CCIEXYZ &into, bool correct, int count = 0,
                             bool stepBeforeReading = false);
    // Shows grey level i of an n-level ramp and reads it; levels above 127
    // are tested as white.
    int measureGreyLevel(int i, int n, CCIEXYZ &into, bool correct, int count);

    // A reading of the white the controllers close their loops on: 0, the
    // reading's error, or kImplausibleReading for a reading that is not
    // finite, not above 0 cd/m² or not plausible as white (a dark or failed
    // reading would otherwise turn every ratio into NaN, which passes every
    // tolerance test).
    int takeWhiteReading(CCIEXYZ &reading);
    // One move of a control (gain channel 0-2, or 3 for luminance) in
    // `direction` (1 up, -1 down) by `minimumStep` plus the proportional term
    // trunc(error x gain) while the control has reversed at most
    // `proportionalReversals` times. Counts the reversal, the end hit and
    // clears the in-tolerance count. Computed in double and held inside
    // 0..maximum before it becomes a control value.
    qint32 moveControl(int channel, int direction, double error, qint32 current, qint32 maximum,
                       qint32 minimumStep, int proportionalReversals);
    // Loads the monitor's linear table through its RGB gains; its result is
    // not used.
    void linearTableFromGains();
    // Brightness to its maximum (m_MaxBrightness and m_CurrentBrightness
    // follow): 0 or the monitor's code.
    int brightnessToMaximum();
    // The result's closing fields (hours, OSD lock, monitor data, colour
    // preset, correction matrix, date, duration, primaries source, valid).
    void completeResult();
    // The set-up's luminance controls: auto-luminance off or on as the
    // target and `useAutoLuminance` allow, brightness to its maximum,
    // contrast to half. 0, the monitor's code or kCancelled.
    int setLuminanceControlsForCalibration(bool useAutoLuminance);
    // The monitor's EDID primaries into the result, whatever the read gave.
    void storeEDIDPrimaries();
    // The correction matrix used, calibration on, date, duration, valid.
    void markResultValid();
    // The opening every monitor calibration shares: tasks announced, the
    // first white read and judged, monitor and sensor named in the result,
    // card ramp reset, monitor set up, native primaries measured. 0 or the
    // code to end with (m_MonitorConfigured says whether a restore is due).
    int beginMonitorCalibration();
    // The monitor's controls as the calibration left them, into the result.
    void storeMonitorControls();
    // The closing every monitor calibration shares: settings saved in the
    // monitor, corrected primaries measured, result completed. 0 (and
    // CalibrationComplete() emitted) or the code to end with.
    int finishMonitorCalibration(bool profileAfterCalibration);

    QMutex m_Mutex;
    QWaitCondition m_Condition;
    // Written by the GUI thread, read by the worker.
    std::atomic<bool> m_Abort{false};
    CSensor *m_Sensor = nullptr;

public:
    // The result under construction; read it after CalibrationComplete().
    CAdjustValue m_AdjustValue;

protected:
    CXYZ2RGBTransform m_Transform;
    CTargetValue m_Target;
    CTargetDisplay *m_TargetDisplay = nullptr;
    CDDCMonitor *m_Monitor = nullptr;
    qint32 m_MaxRedGain = 0;
    qint32 m_MaxGreenGain = 0;
    qint32 m_MaxBlueGain = 0;
    qint32 m_CurrentRedGain = 0;
    qint32 m_CurrentGreenGain = 0;
    qint32 m_CurrentBlueGain = 0;
    qint32 m_CurrentBrightness = 0;
    qint32 m_CurrentContrast = 0;
    qint32 m_MaxBrightness = 0;
    qint32 m_MaxContrast = 0;
    signed char m_CurrentAutoLuminanceState = 0;
    rgbColor m_TargetRGB{};
    qint32 m_LimitingChannel = 0;
    qint32 m_Iterations = 0;
    // Indexed red, green, blue, luminance.
    qint32 m_InToleranceCount[4] = {0, 0, 0, 0};
    qint32 m_ReversalCount[4] = {0, 0, 0, 0};
    qint32 m_Direction[4] = {0, 0, 0, 0};
    qint32 m_LimitHitCount[4] = {0, 0, 0, 0};
    double m_ProportionalGain[4] = {0.0, 0.0, 0.0, 0.0};
    qint32 m_MinimumGainStep = 0;
    bool m_ReuseReadings = false;
    qint32 m_DDCFailures = 0;

public:
    // Set once a calibration has started changing the monitor: after a
    // failure the window then runs OPERATION_RESTORE_MONITOR.
    bool m_MonitorConfigured = false;
    // What the monitor answered to the last restore: 0, or its code. The
    // restore still completes, so the window can only warn from this.
    int m_RestoreResult = 0;

protected:
    qint32 m_CalibrationSteps = 0;
    qint32 m_StabilizationMultiplier = 1;
    std::vector<_Readings_taken> m_Readings;
    quint32 m_Operation = OPERATION_CALIBRATE;
    // When the calibration started, in program-clock microseconds (the
    // duration comes from CalibrationDurationSeconds).
    qint64 m_StartTime = 0;
    SensorMatrixCorrection m_SensorCorrection;
    bool m_UseSensorCorrection = false;

private:
    // Guarded by m_Mutex: set by patchChanged(), cleared when a new patch
    // is asked for.
    bool m_PatchReady = false;
    // Set by begin() on a running thread; nothing reads it.
    bool m_Restart = false;
};
