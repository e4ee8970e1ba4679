#pragma once
// A rig for the simulated sensors and the adapters over them: the virtual
// clock, a desktop with one Orvane monitor (display 1), a fixed screen
// showing a colour the test sets, and the simulated sensors behind the
// library seams, none attached yet. Each test makes one, attaches its family
// and constructs the adapter (connect) or drives the simulated library.

#include "Clock.h"
#include "SimDesktop.h"
#include "SimFixedScreen.h"
#include "SimSensors.h"

#include <QRectF>
#include <memory>

namespace pz::test {

struct SimSensorRig {
    static constexpr quint32 kDisplay = 1;

    VirtualClock clock;
    ScopedClock clockScope{&clock};
    SimDesktop desktop;
    SimFixedScreen screen;
    SimSensors sensors{desktop, &screen};

    SimSensorRig() { desktop.addMonitor(kDisplay, QRectF(0, 0, 1920, 1200)); }

    // Attaches a family and constructs its adapter; the devices' call logs
    // start afresh after the adapter's construction.
    template <class Adapter>
    std::unique_ptr<Adapter> connect(SimSensors::Family family)
    {
        sensors.attach(family);
        auto adapter = std::make_unique<Adapter>();
        sensors.i1d3().clearCalls();
        sensors.munki().clearCalls();
        sensors.eyeOne().clearCalls();
        return adapter;
    }

    // The light the sensor sees when the display shows r, g, b.
    SimXYZ show(quint8 r, quint8 g, quint8 b)
    {
        screen.setColor(kDisplay, r, g, b);
        return sensors.light().emissive();
    }
};

} // namespace pz::test
