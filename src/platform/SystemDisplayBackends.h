#pragma once
// Puts the window system's display backends behind the program's desktop,
// gamma-ramp and display-profile seams: on Linux the XRandR desktop (with the
// DRM EDID and I2C buses), the XRandR CRTC gamma ramps and the profile
// assignment on the X server and with the colour manager on the system bus,
// sharing one X connection. The application calls this once at start-up,
// unless it runs on the simulated desktop. Without an X server with RandR the
// backends are installed all the same and answer "unavailable": no displays,
// no gamma ramps, no profile assignment.

#include <QByteArray>
#include <QString>

namespace pz {

struct SystemDisplayStatus {
    bool available = false;
    QString reason; // why not, when not available
};

// Installs the backends on the first call (an empty display name means
// $DISPLAY) and reports whether they work; later calls only report.
SystemDisplayStatus installSystemDisplayBackends(const QByteArray &xDisplayName = QByteArray());

} // namespace pz
