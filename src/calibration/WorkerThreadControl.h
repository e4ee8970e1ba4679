#pragma once
// The start and stop pattern both worker threads of the engine share: one
// operation per start at low priority, a restart request on a running
// thread that runs nothing, and an abort that releases every waiter.

#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <atomic>

namespace pz {

// Under `mutex`: stores `value` into `operation`, then starts `thread` at
// QThread::LowPriority when it is not running; otherwise sets `restart` and
// wakes one waiter of `condition`. The worker reads `operation` under the
// same mutex (operationOf).
void startOrRequestRestart(QThread &thread, QMutex &mutex, QWaitCondition &condition,
                           bool &restart, quint32 &operation, quint32 value);
// `operation` read under `mutex`.
quint32 operationOf(QMutex &mutex, const quint32 &operation);
// Under `mutex`: sets `abort` and wakes every waiter of `condition`.
void abortAndWakeAll(QMutex &mutex, QWaitCondition &condition, std::atomic<bool> &abort);

} // namespace pz
