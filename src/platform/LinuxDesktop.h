#pragma once
// The desktop backend for Linux: the displays are the XRandR outputs that
// show part of the desktop, identified by their output id, with the CRTC's
// area as bounds and the EDID the driver publishes on the output. When an
// output publishes none (XWayland, some drivers), the EDID the kernel read
// for the matching DRM connector is used. A display's monitor is reached on
// the I2C bus wired to that connector (/dev/i2c-N).
//
// Without an X server with RandR the desktop is unavailable: it cannot list
// displays, and the program goes on without them.

#include "Desktop.h"
#include "LinuxI2CBus.h"
#include "XRandRConnection.h"

#include <memory>

namespace pz {

class LinuxDesktop : public IDesktop {
public:
    explicit LinuxDesktop(std::shared_ptr<XRandRConnection> connection,
                          const QString &drmSysfsRoot = QStringLiteral("/sys/class/drm"));

    bool isAvailable() const { return m_x->isAvailable(); }
    QString unavailableReason() const { return m_x->unavailableReason(); }

    bool onlineDisplays(QVector<DesktopDisplay> &displays) override;
    // Bus 0 is the DDC bus of the display's connector; there is no other.
    std::unique_ptr<II2CBus> openI2CBus(quint32 displayId, int bus) override;

    // N of the /dev/i2c-N wired to a display's connector; -1 when the
    // display or its connector's bus is unknown.
    int i2cBusNumber(quint32 displayId);

    // The X server's name for the output a DRM connector drives:
    // "card0-HDMI-A-1" -> "HDMI-1", "card1-DP-2" -> "DP-2".
    static QString outputNameOfConnector(const QString &connector);

private:
    // The connected DRM connector that drives an output, found by its EDID
    // or else by its name; nullptr when none does.
    const DrmConnectorBus *connectorFor(const XRandROutput &output,
                                        const QVector<DrmConnectorBus> &connectors) const;

    std::shared_ptr<XRandRConnection> m_x;
    QString m_sysfsRoot;
};

} // namespace pz
