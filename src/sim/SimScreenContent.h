#pragma once
// What a simulated sensor sees on the screen: the 8-bit colour shown under
// its lens and the simulated display it lies on. Two sources implement it:
// SimScreenSampler reads the application's own windows, SimFixedScreen holds
// a colour per display for tests without windows. SimSensorLight turns the
// sample into light.

#include <QtGlobal>

namespace pz {

struct SimScreenSample {
    quint32 displayId = 0;   // the display the sensor lies on
    quint8 r = 0;            // the colour shown under the lens
    quint8 g = 0;
    quint8 b = 0;
};

class ISimScreenContent {
public:
    virtual ~ISimScreenContent() = default;
    // The sample for a sensor that the user placed on display `placedOn`.
    // It lies on the measurement patch when one is shown, otherwise at the
    // centre of that display; a point outside every display counts as on
    // `placedOn`. May be called from any thread.
    virtual SimScreenSample sample(quint32 placedOn) = 0;
};

} // namespace pz
