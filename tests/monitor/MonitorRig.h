#pragma once
// One simulated HX monitor on the simulated desktop, on the virtual clock,
// and a monitor object connected to it over the I2C bus of its display or
// over its USB bridge, as the target display connects one.

#include "CDDCMonitor.h"
#include "Clock.h"
#include "SimDesktop.h"
#include "SimMonitorConfig.h"
#include "PublishedInterfaceList.h"
#include "SimOrvaneMonitor.h"
#include "TestSupport.h"

#include <QByteArray>
#include <QSignalSpy>
#include <QTest>
#include <QVector>
#include <memory>

namespace pz::test {

enum class MonitorTransport { I2C, USB };

// Adds the rows "i2c" and "usb" of a column "transport" to a data table.
inline void addTransportColumn()
{
    QTest::addColumn<int>("transport");
}
inline void addTransportRows(const char *prefix = "")
{
    QTest::newRow(QByteArray(prefix).append("i2c").constData()) << int(MonitorTransport::I2C);
    QTest::newRow(QByteArray(prefix).append("usb").constData()) << int(MonitorTransport::USB);
}

class MonitorRig {
public:
    static constexpr quint32 kDisplayId = 7;
    static constexpr ulong kI2CBus = 0;
    static constexpr ulong kFirstBridge = CDDCMonitor::kUSBInterfaceMask;

    explicit MonitorRig(MonitorTransport transport,
                        const SimMonitorConfig &config = SimMonitorConfig::hxsim24(),
                        const SimBridgeConfig &bridge = SimBridgeConfig())
        : m_transport(transport)
    {
        m_sim = &desktop.addMonitor(kDisplayId, QRectF(0, 0, 1920, 1200), config);
        if (transport == MonitorTransport::USB) {
            desktop.bridge(kDisplayId, bridge);
            desktop.plugBridge(kDisplayId);
        }
        desktop.install();
        // The program's one bridge manager, in the published interface list.
        m_interfaces = std::make_unique<PublishedInterfaceList>();
        m_interfaces->bridges().EnumerateDevices();
    }
    ~MonitorRig() { desktop.uninstall(); }

    MonitorRig(const MonitorRig &) = delete;
    MonitorRig &operator=(const MonitorRig &) = delete;

    // Connects a monitor object (the rig's own, or one of a series class)
    // as the target display does: the interface, and for a bridge the
    // identity the system reported (the bridge's serial, which the interface
    // list matched with the EDID's, and the model name from the EDID).
    int connect() { return connect(monitor); }
    int connect(CDDCMonitor &target)
    {
        return connect(target, bridgeSerial(), m_sim->config().modelName);
    }
    // The same with the identity texts of a bridge connection given.
    int connect(CDDCMonitor &target, const QString &usbSerial, const QString &usbModelName)
    {
        if (m_transport == MonitorTransport::I2C)
            return target.InitInterface(kDisplayId, kI2CBus);
        const int result = target.InitInterface(kDisplayId, kFirstBridge);
        if (result != 0)
            return result;
        target.SetIsUSBConnection(true);
        QByteArray edid = m_sim->edid();
        target.SetEDID(reinterpret_cast<uchar *>(edid.data()), uint(edid.size()));
        target.SetUSBMonitorSerialNumber(usbSerial);
        target.SetUSBMonitorModelName(usbModelName);
        return 0;
    }

    // The identity texts of the first bridge as the bridge manager read them.
    QString bridgeSerial() const { return text(m_interfaces->bridges().GetSerialNumber(0)); }
    QString bridgeProductName() const { return text(m_interfaces->bridges().GetProductName(0)); }

    SimOrvaneMonitor &sim() { return *m_sim; }
    MonitorTransport transport() const { return m_transport; }

    // Request payloads the monitor received whose first bytes are prefix.
    QVector<QByteArray> requestsStartingWith(const QByteArray &prefix) const
    {
        QVector<QByteArray> out;
        for (const QByteArray &r : m_sim->requests())
            if (r.startsWith(prefix))
                out.append(r);
        return out;
    }

    VirtualClock clock;

private:
    static QString text(const char *utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

    ScopedClock m_clockScope{&clock};
    MonitorTransport m_transport;

public:
    SimDesktop desktop;

private:
    std::unique_ptr<PublishedInterfaceList> m_interfaces;

public:
    // Declared last: the connection goes before the bridges and the desktop.
    CDDCMonitor monitor;

private:
    SimOrvaneMonitor *m_sim = nullptr;
};

// Progress messages of a monitor object, as (type, value) pairs.
class ProgressLog {
public:
    explicit ProgressLog(CDDCMonitor *monitor)
        : m_spy(monitor, &CDDCMonitor::Broadcast_MessageOut)
    {
    }
    int steps() const { return count(1); }
    int count(uint type) const
    {
        int n = 0;
        for (const QList<QVariant> &message : m_spy)
            n += message.at(0).toUInt() == type ? 1 : 0;
        return n;
    }
    QVector<QPair<uint, uint>> messages() const
    {
        QVector<QPair<uint, uint>> out;
        for (const QList<QVariant> &message : m_spy)
            out.append({message.at(0).toUInt(), message.at(1).toUInt()});
        return out;
    }
    void clear() { m_spy.clear(); }

private:
    QSignalSpy m_spy;
};

} // namespace pz::test
