#include "SimDesktop.h"

#include "DisplayChanges.h"
#include "SimPlainPanel.h"
#include "SimScreenSampler.h"
#include "SimSensors.h"

#include <QApplication>

namespace pz {

namespace {

// Bus 0 of a display: forwards to its monitor for as long as the monitor
// exists; afterwards every transfer is refused, like a bus whose display left.
class SimBusHandle : public II2CBus {
public:
    explicit SimBusHandle(std::weak_ptr<SimOrvaneMonitor> monitor) : m_monitor(std::move(monitor)) {}
    bool write(quint8 address, const quint8 *data, int length) override
    {
        auto m = m_monitor.lock();
        return m && m->write(address, data, length);
    }
    bool read(quint8 address, quint8 *data, int length) override
    {
        auto m = m_monitor.lock();
        return m && m->read(address, data, length);
    }

private:
    std::weak_ptr<SimOrvaneMonitor> m_monitor;
};

} // namespace

SimDesktop::SimDesktop() = default;

SimDesktop::~SimDesktop()
{
    // The sensors look at the sampler and the displays.
    m_sensors.reset();
    m_sampler.reset();
    uninstall();
    for (auto &entry : m_displays)
        if (entry.second.bridge)
            m_hid.unplug(entry.second.bridge.get());
}

SimOrvaneMonitor &SimDesktop::addMonitor(quint32 displayId, const QRectF &bounds,
                                         const SimMonitorConfig &config, bool systemEdid)
{
    removeDisplay(displayId);
    Display &d = m_displays[displayId];
    d.id = displayId;
    d.bounds = bounds;
    d.monitor = std::make_shared<SimOrvaneMonitor>(config);
    if (systemEdid)
        d.systemEdid = d.monitor->edid().left(128);
    m_order.append(displayId);
    m_ramps.addDisplay(displayId);
    m_profiles.addDisplay(displayId);
    announceChange();
    return *d.monitor;
}

void SimDesktop::addPlainDisplay(quint32 displayId, const QRectF &bounds, const QByteArray &edid)
{
    removeDisplay(displayId);
    Display &d = m_displays[displayId];
    d.id = displayId;
    d.bounds = bounds;
    d.systemEdid = edid;
    m_order.append(displayId);
    m_ramps.addDisplay(displayId);
    m_profiles.addDisplay(displayId);
    announceChange();
}

void SimDesktop::removeDisplay(quint32 displayId)
{
    auto it = m_displays.find(displayId);
    if (it == m_displays.end())
        return;
    if (it->second.bridge)
        m_hid.unplug(it->second.bridge.get());
    m_displays.erase(it);
    m_order.removeAll(displayId);
    m_ramps.removeDisplay(displayId);
    m_profiles.removeDisplay(displayId);
    announceChange();
}

void SimDesktop::setSystemProductInfo(quint32 displayId, const QVector<QPair<QString, QString>> &names,
                                      quint32 vendorId, quint32 productId)
{
    auto it = m_displays.find(displayId);
    if (it == m_displays.end())
        return;
    it->second.productNames = names;
    it->second.vendorId = vendorId;
    it->second.productId = productId;
}

SimOrvaneMonitor *SimDesktop::monitor(quint32 displayId) const
{
    auto it = m_displays.find(displayId);
    return it == m_displays.end() ? nullptr : it->second.monitor.get();
}

SimUsbBridge &SimDesktop::bridge(quint32 displayId, const SimBridgeConfig &config)
{
    Display &d = m_displays.at(displayId);
    if (!d.bridge)
        d.bridge = std::make_unique<SimUsbBridge>(d.monitor.get(), config);
    return *d.bridge;
}

void SimDesktop::plugBridge(quint32 displayId)
{
    SimUsbBridge &b = bridge(displayId);
    if (!m_hid.isPlugged(&b)) {
        m_hid.plug(&b);
        announceChange();
    }
}

void SimDesktop::unplugBridge(quint32 displayId)
{
    auto it = m_displays.find(displayId);
    if (it != m_displays.end() && it->second.bridge) {
        m_hid.unplug(it->second.bridge.get());
        announceChange();
    }
}

void SimDesktop::announceChange()
{
    // Only the desktop the program sees has changes to announce.
    if (m_installed)
        displayChanges().notify();
}

bool SimDesktop::onlineDisplays(QVector<DesktopDisplay> &displays)
{
    displays.clear();
    if (m_listFails)
        return false;
    for (quint32 id : m_order) {
        const Display &d = m_displays.at(id);
        DesktopDisplay shown;
        shown.id = d.id;
        shown.name = QStringLiteral("SIM-%1").arg(d.id);
        shown.bounds = d.bounds;
        shown.edid = d.systemEdid;
        shown.productNames = d.productNames;
        shown.vendorId = d.vendorId;
        shown.productId = d.productId;
        displays.append(shown);
    }
    return true;
}

void SimDesktop::setI2CBusOpens(quint32 displayId, bool opens)
{
    auto it = m_displays.find(displayId);
    if (it != m_displays.end())
        it->second.busOpens = opens;
}

std::unique_ptr<II2CBus> SimDesktop::openI2CBus(quint32 displayId, int bus)
{
    auto it = m_displays.find(displayId);
    if (it == m_displays.end() || bus != 0 || !it->second.monitor || !it->second.busOpens)
        return nullptr;
    return std::make_unique<SimBusHandle>(it->second.monitor);
}

SimXYZ SimDesktop::measure(quint32 displayId, double r, double g, double b)
{
    if (m_displays.find(displayId) == m_displays.end())
        return SimXYZ();
    const double R = m_ramps.apply(displayId, 0, r);
    const double G = m_ramps.apply(displayId, 1, g);
    const double B = m_ramps.apply(displayId, 2, b);
    SimOrvaneMonitor *m = monitor(displayId);
    return m ? m->emittedXYZ(R, G, B) : SimPlainPanel::emitted(R, G, B);
}

void SimDesktop::install()
{
    if (m_installed)
        return;
    m_previousDesktop = &desktop();
    m_previousHid = &hidBackend();
    m_previousRamps = &gammaRamps();
    m_previousProfiles = &displayProfiles();
    setDesktop(this);
    setHidBackend(&m_hid);
    setGammaRamps(&m_ramps);
    setDisplayProfiles(&m_profiles);
    m_installed = true;
}

void SimDesktop::uninstall()
{
    if (!m_installed)
        return;
    if (&desktop() == this)
        setDesktop(m_previousDesktop);
    if (&hidBackend() == &m_hid)
        setHidBackend(m_previousHid);
    if (&gammaRamps() == &m_ramps)
        setGammaRamps(m_previousRamps);
    if (&displayProfiles() == &m_profiles)
        setDisplayProfiles(m_previousProfiles);
    m_installed = false;
}

std::unique_ptr<SimDesktop> SimDesktop::demo(const QString &stateFile)
{
    auto d = std::make_unique<SimDesktop>();
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.stateFile = stateFile;
    d->addMonitor(1, QRectF(0, 0, 1920, 1200), config);
    d->plugBridge(1);
    d->addPlainDisplay(2, QRectF(1920, 0, 1920, 1080), QByteArray());
    return d;
}

std::unique_ptr<SimDesktop> SimDesktop::installFromEnvironment()
{
    if (qEnvironmentVariableIntValue("PELZORA_SIMULATE") != 1)
        return nullptr;
    auto d = demo(qEnvironmentVariable("PELZORA_SIM_STATE"));
    d->install();
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        d->m_sampler = std::make_unique<SimScreenSampler>(*d);
    d->m_sensors = std::make_unique<SimSensors>(*d, d->m_sampler.get());
    d->m_sensors->configureFromEnvironment();
    if (!d->m_sensors->attachFromEnvironment())
        qWarning("PELZORA_SIM_SENSOR: cannot read \"%s\"; no sensor attached",
                 qPrintable(qEnvironmentVariable("PELZORA_SIM_SENSOR")));
    return d;
}

} // namespace pz
