#pragma once
// The pulse train of one light-to-frequency channel over a measurement
// window: the light's frequency, modulated by the display's refresh,
// integrates to pulses that start half a period in. The device reports the
// count and the first and last pulse's time, from which the driver
// recovers the mean frequency between them.

#include <QtGlobal>

namespace pz {

struct SimPulseTrain {
    quint32 count = 0;
    double firstUs = 0;   // from the window's start
    double lastUs = 0;
};

struct SimRefresh {
    double hz = 60.0;
    double depth = 0.0;   // relative modulation of the light
    double phase = 0.0;   // at program time 0, radians
};

// hz: the channel's mean frequency; the window starts at program time
// startUs and lasts windowUs.
SimPulseTrain simPulseTrain(double hz, double startUs, double windowUs, const SimRefresh &refresh);

} // namespace pz
