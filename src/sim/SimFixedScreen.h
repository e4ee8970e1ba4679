#pragma once
// Screen content for tests without windows (the engine's, for example): each
// display shows one colour the test sets, black until it does. The sensor
// lies on the display it was placed on.

#include "SimScreenContent.h"

#include <QMap>
#include <QMutex>

namespace pz {

class SimFixedScreen : public ISimScreenContent {
public:
    void setColor(quint32 displayId, quint8 r, quint8 g, quint8 b);
    SimScreenSample sample(quint32 placedOn) override;

private:
    mutable QMutex m_lock;   // the test sets colours while a worker measures
    QMap<quint32, SimScreenSample> m_colors;
};

} // namespace pz
