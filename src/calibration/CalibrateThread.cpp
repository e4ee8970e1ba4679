// The frame every operation shares: set-up, dispatch, the patch handshake,
// timed waits and sensor readings.

#include "CalibrateThread.h"

#include "ApplicationHooks.h"
#include "CDDCMonitor.h"
#include "CPreferences.h"
#include "CSensor.h"
#include "CTargetDisplay.h"
#include "Clock.h"
#include "PreferencesRegistry.h"
#include "WorkerThreadControl.h"

#include <QMutexLocker>
#include <algorithm>

namespace {

// Without registered preferences: a 32-level ramp, plain stabilisation.
constexpr int kDefaultCalibrationSteps = 32;
// Every grey-ramp computation divides by steps - 1.
constexpr int kMinimumCalibrationSteps = 2;
constexpr int kExtendedStabilizationMultiplier = 6;
// The correction matrix is asked for unless preferences say otherwise.
constexpr bool kDefaultUseSensorCorrection = true;

// Curves 0-11 of the measurement record: responses, inverses, corrected
// responses and correction curves.
constexpr int kMeasuredCurves = 12;

// Monitor progress messages.
constexpr unsigned kMessageStep = 1;
constexpr unsigned kMessageTask = 2;

} // namespace

CalibrateThread::CalibrateThread(QObject *parent) : QThread(parent)
{
    const CPreferences *preferences = pz::applicationPreferences();
    m_CalibrationSteps = preferences ? preferences->m_CalibrationSteps : kDefaultCalibrationSteps;
    m_CalibrationSteps = std::max(m_CalibrationSteps, kMinimumCalibrationSteps);
    m_StabilizationMultiplier =
        preferences && preferences->m_UseExtendedLuminanceStabilizationTime != 0
            ? kExtendedStabilizationMultiplier
            : 1;
}

CalibrateThread::~CalibrateThread() { stopAndWait(); }

void CalibrateThread::stopAndWait()
{
    pz::abortAndWakeAll(m_Mutex, m_Condition, m_Abort);
    wait();
}

void CalibrateThread::SetSensorObject(CSensor *sensor) { m_Sensor = sensor; }

void CalibrateThread::SetTargetDisplay(CTargetDisplay *display)
{
    if (m_Monitor)
        disconnect(m_Monitor, &CDDCMonitor::Broadcast_MessageOut, this,
                   &CalibrateThread::Receive_Message);
    m_TargetDisplay = display;
    m_Monitor = display ? display->m_pDDCMonitor : nullptr;
    if (m_Monitor)
        connect(m_Monitor, &CDDCMonitor::Broadcast_MessageOut, this,
                &CalibrateThread::Receive_Message);
}

void CalibrateThread::SetTargetValue(CTargetValue target)
{
    m_Target = target;
    for (int curve = 0; curve < kMeasuredCurves; ++curve) {
        CSpline &spline = m_AdjustValue.m_ColorValue.m_Splines[curve];
        spline.InitSpline(SPLINE_CATMULL_ROM, m_CalibrationSteps, 0.0, 1.0);
        spline.SetValid(false);
    }
}

void CalibrateThread::begin(unsigned int operation)
{
    // Stored under the lock the worker reads it with. On a running thread
    // the new operation does not run, and the wake cannot release a pending
    // handshake, whose wait only ends on an acknowledgement or an abort.
    pz::startOrRequestRestart(*this, m_Mutex, m_Condition, m_Restart, m_Operation, operation);
}

void CalibrateThread::stop() { pz::abortAndWakeAll(m_Mutex, m_Condition, m_Abort); }

void CalibrateThread::patchChanged()
{
    QMutexLocker lock(&m_Mutex);
    m_PatchReady = true;
    m_Condition.wakeAll();
}

void CalibrateThread::Receive_Message(unsigned int type, unsigned int value)
{
    if (type == kMessageStep)
        emit StepSubTaskCounter();
    else if (type == kMessageTask)
        emit SetNumberOfSubtasks(int(value));
}

int CalibrateThread::SetMeasurementAreaPatchColorLocal(QColor colour)
{
    {
        QMutexLocker lock(&m_Mutex);
        if (m_Abort)
            return kCancelled;
        m_PatchReady = false;
        // Emitted under the lock: the acknowledgement cannot come before
        // the wait below has released it.
        emit SetMeasurementAreaPatchColor(colour);
        while (!m_PatchReady && !m_Abort)
            m_Condition.wait(&m_Mutex);
        if (m_Abort)
            return kCancelled;
    }
    pz::programClock().sleepMs(kPatchSettleMs);
    return 0;
}

int CalibrateThread::GreyLevel(int i, int n)
{
    if (n < kMinimumCalibrationSteps)
        return 255;
    return int(double(i) / double(n - 1) * 255.0 + 0.5);
}

QColor CalibrateThread::PatchColor(int patch)
{
    switch (patch) {
    case SUBTASK_RED:
        return QColor(255, 0, 0);
    case SUBTASK_GREEN:
        return QColor(0, 255, 0);
    case SUBTASK_BLUE:
        return QColor(0, 0, 255);
    case SUBTASK_BLACK:
        return QColor(0, 0, 0);
    default:
        return QColor(255, 255, 255);
    }
}

void CalibrateThread::run()
{
    switch (pz::operationOf(m_Mutex, m_Operation)) {
    case OPERATION_CALIBRATE:
        setup_sensor_correction_matrix();
        calibrate();
        break;
    case OPERATION_RESTORE_MONITOR:
        setup_sensor_correction_matrix();
        restore_monitor();
        break;
    case OPERATION_VALIDATE:
        m_CalibrationSteps = m_Target.m_GammaCurveType == CTargetValue::kCurveDICOM
                                 ? kValidationStepsDICOM
                                 : kValidationSteps;
        setup_sensor_correction_matrix();
        measure_display();
        break;
    case OPERATION_PROFILE:
        setup_sensor_correction_matrix();
        measure_display();
        break;
    default:
        break;
    }
}

void CalibrateThread::handleError(int code) { emit calibrationError(code); }

int CalibrateThread::CalculateNumberOfTasks() { return m_Target.m_WhitePoint.m_Native ? 14 : 17; }

void CalibrateThread::UpdateWhitePointMeasuredValue(CCIEYxy reading)
{
    emit SetWhitePointMeasuredValue(reading.x, reading.y, reading.Y);
    emit SetWhiteLevelMeasuredValue(reading.Y);
}

int CalibrateThread::sleep_ms(int ms)
{
    while (ms > 0) {
        emit SleepTime(ms);
        pz::programClock().sleepMs(std::min(ms, kSleepSliceMs));
        if (m_Abort)
            return kCancelled;
        ms -= kSleepSliceMs;
    }
    return 0;
}

int CalibrateThread::TakeSensorMeasurement(CCIEXYZ &reading, int count, bool correct)
{
    if (!m_Sensor)
        return kNoSensor;
    const int measured = m_Sensor->Measure(count > 0 ? unsigned(count) : 1u);
    if (measured != 0)
        return measured;
    CCIEXYZ fresh;
    // A reading that cannot be fetched is a failed reading: whatever the
    // caller holds must not be stored as if it were new.
    const int fetched = m_Sensor->GetXYZData(fresh);
    if (fetched != 0)
        return fetched;
    reading = correct && m_UseSensorCorrection ? m_SensorCorrection.CorrectSensorMeasurment(fresh)
                                               : fresh;
    return 0;
}

int CalibrateThread::setup_sensor_correction_matrix()
{
    m_UseSensorCorrection = false;
    const CPreferences *preferences = pz::applicationPreferences();
    const bool wanted =
        preferences ? preferences->m_UseColorSensorCorrection != 0 : kDefaultUseSensorCorrection;
    if (wanted) {
        double matrix[9];
        int count = 0;
        if (GetMatrixForCurrentDisplayAndSensor(matrix, count) == 0) {
            m_SensorCorrection.SetCorrectionMatrixValues(matrix);
            m_UseSensorCorrection = true;
        }
    }
    return m_UseSensorCorrection ? 1 : 0;
}
