#pragma once
// Calibration-settings files (.mcs): the target record immediately followed
// by the result record (which embeds the measurement record), with nothing
// before, between or after them.

#include <QString>

class CAdjustValue;
class CTargetValue;
class QDataStream;

namespace pz {

void writeCalibrationSettings(QDataStream &stream, const CTargetValue &target,
                              const CAdjustValue &result);
// Reads both records; the stream status tells whether both were read. A
// target whose figures are not all numbers marks the stream ReadCorruptData.
// target and result change only when both were. The target is read as
// operator>> reads into an existing target: a record whose curve type is not
// 4 keeps the caller's custom curve and subtype, and a stored curve keeps its
// kind. The result is read into a fresh record.
void readCalibrationSettings(QDataStream &stream, CTargetValue &target, CAdjustValue &result);

// Writes the file atomically: on failure the old file stays as it was.
// 0, -1500 (cannot open) or -1504 (write failed).
int WriteCalibrationSettingsFile(const QString &path, const CTargetValue &target,
                                 const CAdjustValue &result);
// 0, -1500 (cannot open) or -1503 (either record missing, refused or
// damaged; target and result then stay as they were).
int ReadCalibrationSettingsFile(const QString &path, CTargetValue &target, CAdjustValue &result);

} // namespace pz
