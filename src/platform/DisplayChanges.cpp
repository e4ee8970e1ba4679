#include "DisplayChanges.h"

#include <QThread>

namespace pz {

void DisplayChanges::notify()
{
    if (QThread::currentThread() == thread())
        emit changed();
    else
        QMetaObject::invokeMethod(this, &DisplayChanges::changed, Qt::QueuedConnection);
}

DisplayChanges &displayChanges()
{
    static DisplayChanges notifier;
    return notifier;
}

} // namespace pz
