#include "WorkerThreadControl.h"

#include <QMutexLocker>

namespace pz {

void startOrRequestRestart(QThread &thread, QMutex &mutex, QWaitCondition &condition,
                           bool &restart)
{
    QMutexLocker lock(&mutex);
    if (thread.isRunning()) {
        restart = true;
        condition.wakeOne();
        return;
    }
    thread.start(QThread::LowPriority);
}

void abortAndWakeAll(QMutex &mutex, QWaitCondition &condition, std::atomic<bool> &abort)
{
    QMutexLocker lock(&mutex);
    abort = true;
    condition.wakeAll();
}

} // namespace pz
