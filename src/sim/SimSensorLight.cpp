#include "SimSensorLight.h"

namespace pz {

SimSensorLight::SimSensorLight(SimDesktop &desktop, ISimScreenContent *screen)
    : m_desktop(desktop), m_screen(screen)
{
}

void SimSensorLight::setScreen(ISimScreenContent *screen)
{
    QMutexLocker lock(&m_lock);
    m_screen = screen;
}

void SimSensorLight::placeOn(quint32 displayId)
{
    QMutexLocker lock(&m_lock);
    m_placedOn = displayId;
    m_placed = true;
    m_lifted = false;
}

void SimSensorLight::liftOff()
{
    QMutexLocker lock(&m_lock);
    m_lifted = true;
}

bool SimSensorLight::isLifted() const
{
    QMutexLocker lock(&m_lock);
    return m_lifted;
}

quint32 SimSensorLight::placedDisplay() const
{
    {
        QMutexLocker lock(&m_lock);
        if (m_placed)
            return m_placedOn;
    }
    QVector<DesktopDisplay> displays;
    if (!m_desktop.onlineDisplays(displays) || displays.isEmpty())
        return 0;
    for (const DesktopDisplay &d : displays)
        if (m_desktop.monitor(d.id))
            return d.id;
    return displays.first().id;
}

SimXYZ SimSensorLight::emissive()
{
    ISimScreenContent *screen = nullptr;
    {
        QMutexLocker lock(&m_lock);
        if (m_lifted)
            return SimXYZ();
        screen = m_screen;
    }
    const quint32 placedOn = placedDisplay();
    const SimScreenSample s = screen ? screen->sample(placedOn) : SimScreenSample{placedOn, 0, 0, 0};
    return m_desktop.measure(s.displayId, s.r / 255.0, s.g / 255.0, s.b / 255.0);
}

SimAmbientLight SimSensorLight::ambient() const
{
    QMutexLocker lock(&m_lock);
    return m_ambient;
}

void SimSensorLight::setAmbient(const SimAmbientLight &light)
{
    QMutexLocker lock(&m_lock);
    m_ambient = light;
}

} // namespace pz
