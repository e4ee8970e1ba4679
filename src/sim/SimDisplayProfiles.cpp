#include "SimDisplayProfiles.h"

#include <QMutexLocker>

namespace pz {

void SimDisplayProfiles::addDisplay(quint32 displayId)
{
    QMutexLocker lock(&m_lock);
    m_displays.insert(displayId);
}

void SimDisplayProfiles::removeDisplay(quint32 displayId)
{
    QMutexLocker lock(&m_lock);
    m_displays.remove(displayId);
    m_assigned.remove(displayId);
}

void SimDisplayProfiles::setRefuses(bool refuses)
{
    QMutexLocker lock(&m_lock);
    m_refuses = refuses;
}

int SimDisplayProfiles::assign(quint32 displayId, const QString &path)
{
    QByteArray profile;
    if (!readIccProfileFile(path, profile))
        return kProfileUnreadable;
    QMutexLocker lock(&m_lock);
    if (m_refuses || !m_displays.contains(displayId))
        return kNotAssigned;
    m_assigned[displayId] = Assignment{path, profile};
    return kAssigned;
}

QString SimDisplayProfiles::assignedPath(quint32 displayId) const
{
    QMutexLocker lock(&m_lock);
    return m_assigned.value(displayId).path;
}

QByteArray SimDisplayProfiles::assignedProfile(quint32 displayId) const
{
    QMutexLocker lock(&m_lock);
    return m_assigned.value(displayId).profile;
}

} // namespace pz
