// The calibration itself (monitor set-up, white point and luminance
// controllers, correction table). Not available in this build: each step
// answers kFailed, so a calibration ends at once with calibrationError(-1)
// before it touches the monitor. Profile, validation and restore do not use
// these steps.

#include "CalibrateThread.h"

void CalibrateThread::calibrate() { handleError(kFailed); }

int CalibrateThread::SetupMonitorForCalibration() { return kFailed; }

int CalibrateThread::GetLeastRGBErrorGainSettings() { return kFailed; }

int CalibrateThread::WasGainMeasurementWithSettingsTaken(int, int, int) { return kFailed; }

int CalibrateThread::SetupRGBAdjustmentParameters() { return kFailed; }

int CalibrateThread::SetGainToSettingNumber(int) { return kFailed; }

int CalibrateThread::AdjustGainsByRGBRatio(rgbColor, double, xyYColor) { return kFailed; }

int CalibrateThread::AdjustLuminanceToTarget(double, int, double) { return kFailed; }

int CalibrateThread::CorrectDisplayGammaTable() { return kFailed; }

int CalibrateThread::AdjustDisplayWhitePoint() { return kFailed; }
