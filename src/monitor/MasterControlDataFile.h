#pragma once
// The master-control data file: the monitor list record followed by the
// monitor tracker record, read at start-up and written at exit.
//
// Both records are read into scratch objects and taken only when both read
// whole, so a damaged file never leaves half a tracker behind. A file that
// exists but cannot be read is moved aside (to "<name>.bad", or
// "<name>.bad.N" when that is taken) before anything can write the file
// again: one damaged byte must not cost every monitor's calibration record.
// Writes are atomic.

#include <QString>

class CMultiMonitor;
class CMonitorTracker;

namespace pz {

// 0; -1500 no file (or it cannot be opened); -1503 damaged: the objects keep
// their state and the file is moved aside (its new path in *keptAs).
int readMasterControlData(const QString &path, CMultiMonitor &list, CMonitorTracker &tracker,
                          QString *keptAs = nullptr);
// 0; -1500 cannot open; -1504 write failed (the old file stays intact).
int writeMasterControlData(const QString &path, const CMultiMonitor &list,
                           const CMonitorTracker &tracker);

} // namespace pz
