#include "LinuxDesktop.h"

#include <QRegularExpression>

namespace pz {

namespace {
constexpr int kEdidBlockSize = 128;

bool isWholeEdid(const QByteArray &edid) { return edid.size() >= kEdidBlockSize; }
} // namespace

LinuxDesktop::LinuxDesktop(std::shared_ptr<XRandRConnection> connection,
                           const QString &drmSysfsRoot)
    : m_x(std::move(connection)), m_sysfsRoot(drmSysfsRoot)
{
}

QString LinuxDesktop::outputNameOfConnector(const QString &connector)
{
    static const QRegularExpression card(QStringLiteral("^card\\d+-"));
    QString name = connector;
    name.remove(card);
    // The kernel calls type A HDMI "HDMI-A"; X drivers call it "HDMI".
    if (name.startsWith(QLatin1String("HDMI-A-")))
        name.replace(0, 6, QStringLiteral("HDMI"));
    return name;
}

const DrmConnectorBus *LinuxDesktop::connectorFor(const XRandROutput &output,
                                                  const QVector<DrmConnectorBus> &connectors) const
{
    const auto sameName = [&](const DrmConnectorBus &c) {
        return outputNameOfConnector(c.connector) == output.name;
    };
    // The EDID decides first: some drivers name their outputs unlike the
    // kernel. Two monitors of one model without serial numbers carry the
    // same EDID; the name then decides between them, and when it cannot,
    // no bus is better than another monitor's.
    QVector<const DrmConnectorBus *> byEdid;
    if (isWholeEdid(output.edid)) {
        for (const DrmConnectorBus &c : connectors)
            if (c.connected && isWholeEdid(c.edid)
                && c.edid.left(kEdidBlockSize) == output.edid.left(kEdidBlockSize))
                byEdid.append(&c);
    }
    if (byEdid.size() == 1)
        return byEdid.first();
    for (const DrmConnectorBus *c : byEdid)
        if (sameName(*c))
            return c;
    if (!byEdid.isEmpty())
        return nullptr;
    for (const DrmConnectorBus &c : connectors)
        if (c.connected && sameName(c))
            return &c;
    return nullptr;
}

bool LinuxDesktop::onlineDisplays(QVector<DesktopDisplay> &displays)
{
    displays.clear();
    QVector<XRandROutput> outputs;
    if (!m_x->activeOutputs(outputs))
        return false;
    QVector<DrmConnectorBus> connectors;
    bool connectorsRead = false;
    for (const XRandROutput &o : outputs) {
        DesktopDisplay display;
        display.id = o.id;
        display.name = o.name;
        display.bounds = QRectF(o.bounds);
        // Fewer bytes than one block are no EDID, from either source.
        if (isWholeEdid(o.edid)) {
            display.edid = o.edid;
        } else {
            if (!connectorsRead) {
                connectors = drmConnectorBuses(m_sysfsRoot);
                connectorsRead = true;
            }
            const DrmConnectorBus *c = connectorFor(o, connectors);
            if (c && isWholeEdid(c->edid))
                display.edid = c->edid;
        }
        displays.append(display);
    }
    return true;
}

int LinuxDesktop::i2cBusNumber(quint32 displayId)
{
    QVector<XRandROutput> outputs;
    if (!m_x->activeOutputs(outputs))
        return -1;
    for (const XRandROutput &o : outputs) {
        if (o.id != displayId)
            continue;
        const QVector<DrmConnectorBus> connectors = drmConnectorBuses(m_sysfsRoot);
        const DrmConnectorBus *c = connectorFor(o, connectors);
        return c ? c->bus : -1;
    }
    return -1;
}

std::unique_ptr<II2CBus> LinuxDesktop::openI2CBus(quint32 displayId, int bus)
{
    if (bus != 0)
        return nullptr;
    const int number = i2cBusNumber(displayId);
    return number >= 0 ? LinuxI2CBus::open(number) : nullptr;
}

} // namespace pz
