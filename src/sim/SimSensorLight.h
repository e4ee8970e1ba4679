#pragma once
// The light every simulated sensor measures: what the screen emits at the
// sensor's position, and the room light.
//
// emissive() takes the colour under the lens from the screen content (the
// application's windows through SimScreenSampler, or a SimFixedScreen in
// tests) and turns it into light the way the desktop does: the display's
// card ramp, then its monitor (SimDesktop::measure). Readings are free of
// noise here; each device adds its own with a SimSensorNoise, and decides
// with its SimSensorFigures when it is over its range.
//
// The sensor lies on the display it was placed on (by default the first
// display with a simulated monitor) until it is lifted off; a lifted sensor
// sees no screen light, so its readings are noise only. The room light is
// the same wherever the sensor lies.
//
// May be used from any thread; the screen content decides what a reading on
// a thread other than the GUI thread sees.

#include "SimDesktop.h"
#include "SimScreenContent.h"

#include <QMutex>

namespace pz {

// The room light: illuminance and its chromaticity.
struct SimAmbientLight {
    double lux = 40.0;
    double x = 0.3457;   // D50
    double y = 0.3585;
};

class SimSensorLight {
public:
    // Neither is owned; both outlive the light. Without screen content the
    // screen is black.
    explicit SimSensorLight(SimDesktop &desktop, ISimScreenContent *screen = nullptr);

    void setScreen(ISimScreenContent *screen);

    // Puts the sensor on a display (also after liftOff), or takes it off
    // the screen.
    void placeOn(quint32 displayId);
    void liftOff();
    bool isLifted() const;
    // The display the sensor was placed on: the one given to placeOn, else
    // the first display with a simulated monitor, else the first display
    // (0 when there is none).
    quint32 placedDisplay() const;

    // XYZ (Y in cd/m²) reaching the lens from the screen; (0, 0, 0) when lifted.
    SimXYZ emissive();

    SimAmbientLight ambient() const;
    void setAmbient(const SimAmbientLight &light);

private:
    SimDesktop &m_desktop;
    mutable QMutex m_lock;
    ISimScreenContent *m_screen = nullptr;
    quint32 m_placedOn = 0;
    bool m_placed = false;
    bool m_lifted = false;
    SimAmbientLight m_ambient;
};

} // namespace pz
