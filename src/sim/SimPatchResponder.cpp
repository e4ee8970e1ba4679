#include "SimPatchResponder.h"

namespace pz {

SimPatchResponder::SimPatchResponder(SimFixedScreen &screen, quint32 displayId, QObject *parent)
    : QObject(parent), m_screen(screen), m_displayId(displayId)
{
    m_screen.setColor(m_displayId, 255, 255, 255);
}

void SimPatchResponder::showPatch(const QColor &colour)
{
    m_shown.append(colour);
    m_screen.setColor(m_displayId, quint8(colour.red()), quint8(colour.green()),
                      quint8(colour.blue()));
    if (m_autoAcknowledge)
        emit patchShown();
}

} // namespace pz
