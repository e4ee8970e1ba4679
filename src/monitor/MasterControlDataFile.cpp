#include "MasterControlDataFile.h"

#include "CMonitorTracker.h"
#include "CMultiMonitor.h"
#include "RecordStream.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>

namespace pz {

namespace {

// A free name beside the damaged file.
QString asideName(const QString &path)
{
    QString candidate = path + QStringLiteral(".bad");
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = path + QStringLiteral(".bad.") + QString::number(n);
    return candidate;
}

QString moveAside(const QString &path)
{
    const QString aside = asideName(path);
    if (QFile::rename(path, aside))
        return aside;
    // Renaming can fail where copying works (another file system view);
    // the original then stays too, and is at least kept once.
    return QFile::copy(path, aside) ? aside : QString();
}

} // namespace

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
        const QString aside = moveAside(path);
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
