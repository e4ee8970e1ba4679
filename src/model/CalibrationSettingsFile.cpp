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
    CTargetValue readTarget;
    CAdjustValue readResult;
    stream >> readTarget;
    if (stream.status() != QDataStream::Ok)
        return;
    stream >> readResult;
    if (stream.status() != QDataStream::Ok)
        return;
    target = readTarget;
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
