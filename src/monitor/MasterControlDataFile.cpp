#include "MasterControlDataFile.h"

#include "CMonitorTracker.h"
#include "CMultiMonitor.h"
#include "RecordStream.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>

namespace pz {

int readMasterControlData(const QString &path, CMultiMonitor &list, CMonitorTracker &tracker,
                          QString *keptAs)
{
    if (keptAs)
        keptAs->clear();
    if (!QFileInfo::exists(path))
        return kFileCannotOpen;
    CMultiMonitor scratchList;
    CMonitorTracker scratchTracker;
    const int result = loadRecordFile(path, [&](QDataStream &stream) {
        stream >> scratchList;
        if (stream.status() == QDataStream::Ok)
            stream >> scratchTracker;
    });
    if (result == kFileOk) {
        list.TakeStoredRecord(scratchList);
        tracker = scratchTracker;
        return kFileOk;
    }
    if (result == kFileReadFailed) {
        const QString aside = moveFileAside(path);
        if (keptAs)
            *keptAs = aside;
    }
    return result;
}

int writeMasterControlData(const QString &path, const CMultiMonitor &list,
                           const CMonitorTracker &tracker)
{
    return saveRecordFile(path, [&](QDataStream &stream) { stream << list << tracker; });
}

} // namespace pz
