#include "CalibrationSettingsFile.h"

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "RecordStream.h"

#include <QDataStream>

namespace pz {

void writeCalibrationSettings(QDataStream &stream, const CTargetValue &target,
                              const CAdjustValue &result)
{
    stream << target << result;
}

void readCalibrationSettings(QDataStream &stream, CTargetValue &target, CAdjustValue &result)
{
    // The target is read as the target reader reads into an existing
    // target: a record without a custom curve keeps the caller's curve and
    // subtype. Both records go into copies first, so that a damaged second
    // record leaves the first unread as well.
    CTargetValue readTarget(target);
    CAdjustValue readResult;
    stream >> readTarget;
    if (stream.status() == QDataStream::Ok && !readTarget.HasFiniteValues())
        stream.setStatus(QDataStream::ReadCorruptData);
    if (stream.status() != QDataStream::Ok)
        return;
    stream >> readResult;
    if (stream.status() != QDataStream::Ok)
        return;
    target.CopyFrom(readTarget);
    result = readResult;
}

int WriteCalibrationSettingsFile(const QString &path, const CTargetValue &target,
                                 const CAdjustValue &result)
{
    return saveRecordFile(path, [&](QDataStream &stream) {
        writeCalibrationSettings(stream, target, result);
    });
}

int ReadCalibrationSettingsFile(const QString &path, CTargetValue &target, CAdjustValue &result)
{
    return loadRecordFile(path, [&](QDataStream &stream) {
        readCalibrationSettings(stream, target, result);
    });
}

} // namespace pz
