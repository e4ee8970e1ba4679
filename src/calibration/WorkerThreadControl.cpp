#include "WorkerThreadControl.h"

#include <QMutexLocker>

namespace pz {

void startOrRequestRestart(QThread &thread, QMutex &mutex, QWaitCondition &condition,
                           bool &restart, quint32 &operation, quint32 value)
{
    QMutexLocker lock(&mutex);
    operation = value;
    if (thread.isRunning()) {
        restart = true;
        condition.wakeOne();
        return;
    }
    thread.start(QThread::LowPriority);
}

quint32 operationOf(QMutex &mutex, const quint32 &operation)
{
    QMutexLocker lock(&mutex);
    return operation;
}

void abortAndWakeAll(QMutex &mutex, QWaitCondition &condition, std::atomic<bool> &abort)
{
    QMutexLocker lock(&mutex);
    abort = true;
    condition.wakeAll();
}

} // namespace pz
