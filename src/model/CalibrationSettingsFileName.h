#pragma once
// The file name (no folder) of the calibration-settings file of one
// calibration: "<model> <serial> yyyy-MM-dd hh-mm <white point> <tone curve>.mcs"
// for a calibrated result, "<model> <serial> yyyy-MM-dd hh-mm .mcs" otherwise.

#include <QString>

class CAdjustValue;
class CTargetValue;

// Empty when either record is missing. Path separators and control
// characters in the parts (the model name and serial come from the monitor)
// become '_', so the name never leaves the calibration-settings folder.
QString CreateMCSFileName(CTargetValue *target, CAdjustValue *result);

// A part of a file name with '/', '\\' and control characters as '_'.
QString SafeFileNamePart(QString part);
