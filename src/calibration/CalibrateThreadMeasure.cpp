// The measuring tasks (native, adjusted and final primaries, the grey ramp),
// the graphics card reset, the profile and validation measurement and the
// monitor restore.

#include "CalibrateThread.h"

#include "CDDCMonitor.h"
#include "CPreferences.h"
#include "CSensor.h"
#include "CTargetDisplay.h"
#include "CVideoCardGamma.h"
#include "PreferencesRegistry.h"

#include <QDateTime>
#include <QDebug>

namespace {

// The graphics card ramp: 256 entries per channel.
constexpr int kCardRampPoints = 256;
// Grey levels above this are bright enough for the white plausibility test.
constexpr int kGreyTestedAbove = 127;
// The last grey level of the final ramp is read with two measurements.
constexpr int kFinalWhiteReadings = 2;

// The record's slot of each standard patch (indexed by patch number).
constexpr int kPatchSlot[6] = {-1,
                               CColorValue::kRedPatch,
                               CColorValue::kGreenPatch,
                               CColorValue::kBluePatch,
                               CColorValue::kBlackPatch,
                               CColorValue::kWhitePatch};

constexpr int kCardRampCurves[3] = {CColorValue::kCardRampRed, CColorValue::kCardRampGreen,
                                    CColorValue::kCardRampBlue};

} // namespace

int CalibrateThread::measureStandardPatch(int patch, CCIEXYZ &into, bool correct, int count,
                                          bool stepBeforeReading)
{
    emit StartingSubTask(patch);
    int status = SetMeasurementAreaPatchColorLocal(PatchColor(patch));
    if (status != 0)
        return status;
    if (stepBeforeReading)
        emit StepSubTaskCounter();
    CCIEXYZ reading;
    if ((status = TakeSensorMeasurement(reading, count, correct)) != 0)
        return status;
    if (m_Sensor->validate_phopshor_colors(reading, patch) != 0)
        return kImplausibleReading;
    into = reading;
    return 0;
}

int CalibrateThread::measureGreyLevel(int i, int n, CCIEXYZ &into, bool correct, int count)
{
    const int c = GreyLevel(i, n);
    int status = SetMeasurementAreaPatchColorLocal(QColor(c, c, c));
    if (status != 0)
        return status;
    CCIEXYZ reading;
    if ((status = TakeSensorMeasurement(reading, count, correct)) != 0)
        return status;
    if (c > kGreyTestedAbove && m_Sensor->validate_phopshor_colors(reading, SUBTASK_WHITE) != 0)
        return kImplausibleReading;
    into = reading;
    return 0;
}

int CalibrateThread::ResetGraphicCardGammaTable()
{
    CColorValue &record = m_AdjustValue.m_ColorValue;
    for (int curve : kCardRampCurves) {
        record.m_Splines[curve].InitSpline(SPLINE_CATMULL_ROM, kCardRampPoints, 0.0, 1.0);
        record.m_Splines[curve].SetSplineGamma(1.0);
        record.m_Splines[curve].SetValid(true);
    }
    if (m_TargetDisplay) {
        // A card that refuses the ramp does not stop a calibration.
        CVideoCardGamma card(m_TargetDisplay->GetMonitorData());
        card.SetVideoCardGamma(record.m_Splines[CColorValue::kCardRampRed],
                               record.m_Splines[CColorValue::kCardRampGreen],
                               record.m_Splines[CColorValue::kCardRampBlue]);
    }
    emit StepTaskCounter();
    return 0;
}

int CalibrateThread::MeasureNativePrimaries(bool measureBlack, bool correct)
{
    if (!m_Sensor)
        return kNoSensor;
    if (m_Abort)
        return kCancelled;
    emit ShowMeasurementAreaPatch(true);
    emit SetNumberOfSubtasks(measureBlack ? 5 : 4);
    emit StartingTask(TASK_MEASURING_NATIVE_PRIMARIES);

    CCIEXYZ *native = m_AdjustValue.m_ColorValue.m_NativePatches;
    for (int patch = SUBTASK_RED; patch <= SUBTASK_BLUE; ++patch) {
        // The red patch steps the counter once more than announced, before
        // its reading.
        const int status =
            measureStandardPatch(patch, native[kPatchSlot[patch]], correct, 0, patch == SUBTASK_RED);
        if (status != 0)
            return status;
        if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
    }

    if (measureBlack) {
        const int status = measureStandardPatch(SUBTASK_BLACK, native[CColorValue::kBlackPatch], correct);
        if (status != 0)
            return status;
        emit SetBlackLevelMeasuredValue(native[CColorValue::kBlackPatch].Y);
        if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
    } else {
        native[CColorValue::kBlackPatch] = CCIEXYZ(0.0, 0.0, 0.0);
    }

    CCIEXYZ &white = native[CColorValue::kWhitePatch];
    const int status = measureStandardPatch(SUBTASK_WHITE, white, correct);
    if (status != 0)
        return status;
    emit SetWhiteLevelTargetMinMax(0.0, white.Y);
    if (m_Target.m_IntensityType == CTargetValue::kIntensityLevel) {
        emit SetWhiteLevelTarget(m_Target.m_Intensity);
        emit ShowWhiteLevelTarget(true);
    }
    UpdateWhitePointMeasuredValue(white.GetCIEYxy());
    emit StepSubTaskCounter();
    return 0;
}

int CalibrateThread::MeasureUncorrectedPrimaries(bool correct)
{
    if (!m_Sensor)
        return kNoSensor;
    if (m_Abort)
        return kCancelled;
    emit ShowMeasurementAreaPatch(true);
    emit SetNumberOfSubtasks(5);
    emit StartingTask(TASK_MEASURING_UNCORRECTED_PRIMARIES);

    CCIEXYZ *adjusted = m_AdjustValue.m_ColorValue.m_AdjustedPatches;
    for (int patch = SUBTASK_RED; patch <= SUBTASK_WHITE; ++patch) {
        CCIEXYZ &into = adjusted[kPatchSlot[patch]];
        const int status = measureStandardPatch(patch, into, correct);
        if (status != 0)
            return status;
        if (patch == SUBTASK_BLACK)
            emit SetBlackLevelMeasuredValue(into.Y);
        if (patch == SUBTASK_WHITE)
            UpdateWhitePointMeasuredValue(into.GetCIEYxy());
        else if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
    }
    return 0;
}

int CalibrateThread::MeasureUncorrectedCurves(bool correct)
{
    const int n = m_CalibrationSteps;
    emit StartingTask(TASK_MEASURING_UNCORRECTED_RESPONSE_CURVES);
    emit SetNumberOfSubtasks(n);
    CColorValue &record = m_AdjustValue.m_ColorValue;
    QVector<CCIEXYZ> steps;
    for (int i = 0; i < n; ++i) {
        CCIEXYZ reading;
        const int status = measureGreyLevel(i, n, reading, correct, 0);
        if (status != 0)
            return status;
        steps.append(reading);
        if (i == 0) {
            record.m_AdjustedPatches[CColorValue::kBlackPatch] = reading;
            emit SetBlackLevelMeasuredValue(reading.Y);
        }
        if (i == n - 1) {
            record.m_AdjustedPatches[CColorValue::kWhitePatch] = reading;
            emit SetWhiteLevelMeasuredValue(reading.Y);
        }
        if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
    }
    record.m_UncorrectedGreySteps = steps;

    const CPreferences *preferences = pz::applicationPreferences();
    const bool commonBlack = preferences && preferences->m_CalibrationPriority == 1
                             && m_Target.m_ContrastRatio == 0;
    return record.CalculateRGBMeasuredUnCorrectedSplines(commonBlack);
}

int CalibrateThread::MeasureCorrectedPrimaries(bool measureCurves, bool correct)
{
    if (!m_Sensor)
        return kNoSensor;
    if (m_Abort)
        return kCancelled;
    const int n = m_CalibrationSteps;
    emit SetNumberOfSubtasks(measureCurves ? n + 3 : 5);
    emit ShowMeasurementAreaPatch(true);
    emit StartingTask(TASK_MEASURING_CORRECTED_PRIMARIES);

    CColorValue &record = m_AdjustValue.m_ColorValue;
    CCIEXYZ *final = record.m_FinalPatches;
    for (int patch = SUBTASK_RED; patch <= SUBTASK_BLUE; ++patch) {
        const int status = measureStandardPatch(patch, final[kPatchSlot[patch]], correct);
        if (status != 0)
            return status;
        if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
    }

    if (!measureCurves) {
        CCIEXYZ &black = final[CColorValue::kBlackPatch];
        int status = measureStandardPatch(SUBTASK_BLACK, black, correct);
        if (status != 0)
            return status;
        emit SetBlackLevelMeasuredValue(black.Y);
        if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
        CCIEXYZ &white = final[CColorValue::kWhitePatch];
        if ((status = measureStandardPatch(SUBTASK_WHITE, white, correct, kFinalWhiteReadings)) != 0)
            return status;
        UpdateWhitePointMeasuredValue(white.GetCIEYxy());
        emit StepSubTaskCounter();
        return 0;
    }

    emit StartingSubTask(SUBTASK_GREY_RAMP);
    QVector<CCIEXYZ> steps;
    for (int i = 0; i < n; ++i) {
        const bool last = i == n - 1;
        CCIEXYZ reading;
        const int status = measureGreyLevel(i, n, reading, correct, last ? kFinalWhiteReadings : 1);
        if (status != 0)
            return status;
        steps.append(reading);
        if (i == 0) {
            final[CColorValue::kBlackPatch] = reading;
            emit SetBlackLevelMeasuredValue(reading.Y);
        }
        if (last) {
            final[CColorValue::kWhitePatch] = reading;
            UpdateWhitePointMeasuredValue(reading.GetCIEYxy());
        }
        if (m_Abort)
            return kCancelled;
        emit StepSubTaskCounter();
    }
    record.m_FinalGreySteps = steps;
    return record.CalculateRGBMeasuredCorrectedSplines() != 0 ? kCurvesNotBuilt : 0;
}

void CalibrateThread::measure_display()
{
    emit SetNumberOfTasks(2);
    emit ShowMainInformationWidget(true);

    // Whatever the measurement area shows: the window's white before the
    // first patch.
    CCIEXYZ first;
    int status = TakeSensorMeasurement(first, 0, true);
    if (status == 0 && !(first.Y >= kMinimumMeasureWhite)) // NaN too
        status = kImplausibleReading;
    if (status != 0) {
        handleError(status);
        return;
    }
    emit StepTaskCounter();

    if ((status = MeasureCorrectedPrimaries(true, true)) != 0) {
        handleError(status);
        return;
    }
    emit StepTaskCounter();

    CColorValue &record = m_AdjustValue.m_ColorValue;
    CCIEYxy edid[3];
    if (m_Monitor && m_Monitor->GetMonitorEDIDColorCoordinates(edid) == 0) {
        record.m_EDIDRed = edid[0].GetCIEXYZ();
        record.m_EDIDGreen = edid[1].GetCIEXYZ();
        record.m_EDIDBlue = edid[2].GetCIEXYZ();
    }
    if (m_TargetDisplay) {
        // The ramp as found belongs to the profile; a card that gives none
        // leaves the curves as they were.
        CVideoCardGamma card(m_TargetDisplay->GetMonitorData());
        card.GetVideoCardGamma(record.m_Splines[CColorValue::kCardRampRed],
                               record.m_Splines[CColorValue::kCardRampGreen],
                               record.m_Splines[CColorValue::kCardRampBlue]);
    }
    m_AdjustValue.SetSensorModelName(m_Sensor->GetModelName());
    m_AdjustValue.SetSensorSerial(m_Sensor->GetSerialNumber());
    m_AdjustValue.SetCalibrationDateTime(QDateTime::currentDateTime());
    m_AdjustValue.m_IsValid = true;
    emit CalibrationComplete();
}

void CalibrateThread::restore_monitor()
{
    emit SetNumberOfTasks(0);
    emit SetNumberOfSubtasks(0);
    emit StartingTask(TASK_RESET_MONITOR_TO_KNOWN_STATE);
    m_RestoreResult = m_Monitor ? m_Monitor->ResetMonitorToKnownState() : 0;
    if (m_RestoreResult != 0)
        qWarning("Restoring the monitor's default state failed (%d)", m_RestoreResult);
    // Completes whatever the monitor answered: an error here would only
    // make the window start the restore again.
    emit CalibrationComplete();
}

void CalibrateThread::ResetAdjustmentCounters()
{
    m_Iterations = 0;
    for (int c = 0; c < 4; ++c) {
        m_InToleranceCount[c] = 0;
        m_ReversalCount[c] = 0;
        m_Direction[c] = 0;
        m_LimitHitCount[c] = 0;
    }
    m_DDCFailures = 0;
}

int CalibrateThread::BeginColorAdjustment()
{
    return m_Monitor ? m_Monitor->BeginColorAdjustment() : kNoMonitor;
}

int CalibrateThread::EndColorAdjustment()
{
    return m_Monitor ? m_Monitor->EndColorAdjustment() : kNoMonitor;
}
