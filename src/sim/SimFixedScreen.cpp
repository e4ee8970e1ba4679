#include "SimFixedScreen.h"

namespace pz {

void SimFixedScreen::setColor(quint32 displayId, quint8 r, quint8 g, quint8 b)
{
    QMutexLocker lock(&m_lock);
    m_colors.insert(displayId, SimScreenSample{displayId, r, g, b});
}

SimScreenSample SimFixedScreen::sample(quint32 placedOn)
{
    QMutexLocker lock(&m_lock);
    return m_colors.value(placedOn, SimScreenSample{placedOn, 0, 0, 0});
}

} // namespace pz
