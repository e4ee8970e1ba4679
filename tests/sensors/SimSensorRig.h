#pragma once
// A rig for the sensor adapters on the simulated devices: the virtual clock,
// a desktop with one Orvane monitor (display 1), a fixed screen showing a
// colour the test sets, and the simulated sensors behind the library seams,
// none attached yet. Each test makes one, attaches its family and
// constructs the adapter.

#include "Clock.h"
#include "SimDesktop.h"
#include "SimFixedScreen.h"
#include "SimSensors.h"

#include <QRectF>

namespace pz::test {

struct SimSensorRig {
    static constexpr quint32 kDisplay = 1;

    VirtualClock clock;
    ScopedClock clockScope{&clock};
    SimDesktop desktop;
    SimFixedScreen screen;
    SimSensors sensors{desktop, &screen};

    SimSensorRig() { desktop.addMonitor(kDisplay, QRectF(0, 0, 1920, 1200)); }

    // The light the sensor sees when the display shows r, g, b.
    SimXYZ show(quint8 r, quint8 g, quint8 b)
    {
        screen.setColor(kDisplay, r, g, b);
        return sensors.light().emissive();
    }
};

} // namespace pz::test
