#pragma once
// Profile assignment on the simulated desktop: remembers which profile file
// each display was given, and can be told to refuse, as a desktop without
// colour management would. Files that are not readable ICC profiles are
// refused with -1, as on a real desktop.

#include "DisplayProfiles.h"

#include <QMap>
#include <QMutex>
#include <QSet>
#include <QString>

namespace pz {

class SimDisplayProfiles : public IDisplayProfiles {
public:
    void addDisplay(quint32 displayId);
    void removeDisplay(quint32 displayId);
    // Every assignment answers -2 while set.
    void setRefuses(bool refuses);

    int assign(quint32 displayId, const QString &path) override;

    // The path last assigned to a display; empty when none was.
    QString assignedPath(quint32 displayId) const;
    // The profile bytes as they were when assigned.
    QByteArray assignedProfile(quint32 displayId) const;

private:
    struct Assignment {
        QString path;
        QByteArray profile;
    };

    QSet<quint32> m_displays;
    QMap<quint32, Assignment> m_assigned;
    bool m_refuses = false;
    mutable QMutex m_lock;
};

} // namespace pz
