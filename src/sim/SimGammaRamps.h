#pragma once
// Graphics card ramps of the simulated displays, kept in memory. A display
// starts with the identity ramp.

#include "GammaRamp.h"

#include <QMap>
#include <QMutex>

namespace pz {

class SimGammaRamps : public IGammaRamps {
public:
    void addDisplay(quint32 displayId);
    void removeDisplay(quint32 displayId);
    // A display whose ramp the card refuses to load (-1 at the caller).
    void setRefuses(quint32 displayId, bool refuses);

    bool setRamp(quint32 displayId, const GammaRampTables &tables) override;
    bool getRamp(quint32 displayId, GammaRampTables &tables) override;

    // A drive value in [0, 1] through one channel of a display's ramp
    // (interpolated between entries, clamped to [0, 1]).
    double apply(quint32 displayId, int channel, double v) const;

private:
    QMap<quint32, GammaRampTables> m_ramps;
    QMap<quint32, bool> m_refuses;
    // The calibration thread measures while the GUI thread may load a ramp.
    mutable QMutex m_lock;
};

} // namespace pz
