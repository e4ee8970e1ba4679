#pragma once
// One running instance per user: the first instance holds a lock file in
// the preferences folder until it ends, so a second one does not overwrite
// the first one's data file at exit. A lock left by a crashed instance is
// stale and taken over.

#include <QString>

// True when another instance holds the lock. The first call takes the lock
// for this process when it is free (or when the folder is unknown, so that
// the program still runs); later calls answer the same.
bool is_application_running();

namespace pz {

// Path of the lock file; empty when the preferences folder is unknown.
QString applicationLockFilePath();
// Gives the lock back (tests; the process gives it back at exit).
void releaseApplicationLock();

} // namespace pz
