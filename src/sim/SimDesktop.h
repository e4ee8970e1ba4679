#pragma once
// The simulated desktop: displays with ids, bounds and system EDID, the
// simulated monitor behind each display's I2C bus, the monitors' USB bridges
// on a simulated HID bus, the displays' graphics card ramps and their
// assigned profiles. install() puts it behind the program's desktop, HID,
// gamma-ramp and display-profile seams; the application does so when
// PELZORA_SIMULATE=1, and then also puts the simulated sensors (SimSensors)
// behind the sensor libraries' seams.

#include "Desktop.h"
#include "SimDisplayProfiles.h"
#include "SimGammaRamps.h"
#include "SimHidBackend.h"
#include "SimOrvaneMonitor.h"
#include "SimUsbBridge.h"

#include <QRectF>
#include <map>
#include <memory>

namespace pz {

class SimScreenSampler;
class SimSensors;

class SimDesktop : public IDesktop {
public:
    SimDesktop();
    ~SimDesktop() override;

    // A display with an Orvane monitor on its bus 0. The system reports the
    // monitor's EDID unless systemEdid is false.
    SimOrvaneMonitor &addMonitor(quint32 displayId, const QRectF &bounds,
                                 const SimMonitorConfig &config = SimMonitorConfig(),
                                 bool systemEdid = true);
    // A display without a DDC/CI monitor (no bus answers); edid may be empty.
    void addPlainDisplay(quint32 displayId, const QRectF &bounds, const QByteArray &edid);
    // Adding or removing a display and plugging or unplugging a bridge is
    // announced through pz::displayChanges() while the desktop is installed.
    void removeDisplay(quint32 displayId);
    // What the system keeps beside the EDID for a display: product names per
    // locale and vendor/product numbers (some systems have them, Linux not).
    void setSystemProductInfo(quint32 displayId, const QVector<QPair<QString, QString>> &names,
                              quint32 vendorId, quint32 productId);
    SimOrvaneMonitor *monitor(quint32 displayId) const;

    // The monitor's USB bridge: created on first use, plugged in or out.
    SimUsbBridge &bridge(quint32 displayId, const SimBridgeConfig &config = SimBridgeConfig());
    void plugBridge(quint32 displayId);
    void unplugBridge(quint32 displayId);

    // The system cannot list its displays.
    void setListFails(bool fails) { m_listFails = fails; }
    // Whether a display's I2C bus can be opened; when not (no device node,
    // no access to it), openI2CBus gives nothing though a monitor is there.
    void setI2CBusOpens(quint32 displayId, bool opens);

    bool onlineDisplays(QVector<DesktopDisplay> &displays) override;
    std::unique_ptr<II2CBus> openI2CBus(quint32 displayId, int bus) override;

    SimHidBackend &hid() { return m_hid; }
    SimGammaRamps &ramps() { return m_ramps; }
    SimDisplayProfiles &profiles() { return m_profiles; }

    // Light measured on a display showing the patch r, g, b in [0, 1]: the
    // patch passes the card ramp, then the monitor's response (a plain
    // display's fixed panel, SimPlainPanel). (0, 0, 0) for an unknown display.
    SimXYZ measure(quint32 displayId, double r, double g, double b);

    // Puts this desktop behind the program's seams until uninstall(), which
    // puts back what was there before.
    void install();
    void uninstall();

    // One HXSIM24 (1920x1200 at 0,0) with its bridge plugged in, and a plain
    // second display: what PELZORA_SIMULATE=1 shows. stateFile, when given,
    // keeps the monitor's saved state across runs.
    static std::unique_ptr<SimDesktop> demo(const QString &stateFile = QString());
    // With PELZORA_SIMULATE=1 the demo desktop, installed behind the seams
    // (PELZORA_SIM_STATE names its state file); otherwise nullptr. The
    // program clock's speed follows PELZORA_SIM_SPEED on its own. It also
    // installs the simulated sensors, configured from the environment with
    // what PELZORA_SIM_SENSOR attaches, and, when a QApplication exists, the
    // screen sampler that shows them the application's windows.
    static std::unique_ptr<SimDesktop> installFromEnvironment();
    // The sensors and the sampler installFromEnvironment made; nullptr otherwise.
    SimSensors *sensors() const { return m_sensors.get(); }
    SimScreenSampler *screenSampler() const { return m_sampler.get(); }

private:
    struct Display {
        quint32 id = 0;
        QRectF bounds;
        QByteArray systemEdid;
        QVector<QPair<QString, QString>> productNames;
        quint32 vendorId = 0;
        quint32 productId = 0;
        std::shared_ptr<SimOrvaneMonitor> monitor;
        std::unique_ptr<SimUsbBridge> bridge;
        bool busOpens = true;
    };

    // Tells the program's display-change listeners, while installed.
    void announceChange();

    std::map<quint32, Display> m_displays;
    QVector<quint32> m_order;
    SimHidBackend m_hid;
    SimGammaRamps m_ramps;
    SimDisplayProfiles m_profiles;
    bool m_listFails = false;
    bool m_installed = false;
    IDesktop *m_previousDesktop = nullptr;
    IHidBackend *m_previousHid = nullptr;
    IGammaRamps *m_previousRamps = nullptr;
    IDisplayProfiles *m_previousProfiles = nullptr;
    std::unique_ptr<SimScreenSampler> m_sampler;
    std::unique_ptr<SimSensors> m_sensors;
};

} // namespace pz
