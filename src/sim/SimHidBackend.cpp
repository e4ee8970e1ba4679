#include "SimHidBackend.h"

#include "SimUsbBridge.h"

#include <QMutexLocker>

namespace pz {

class SimHidWatch : public IHidWatch {
public:
    SimHidWatch(SimHidBackend *backend, int id, std::weak_ptr<bool> alive)
        : m_backend(backend), m_id(id), m_alive(std::move(alive)) {}
    ~SimHidWatch() override
    {
        if (!m_alive.expired())
            m_backend->removeWatcher(m_id);
    }

private:
    SimHidBackend *m_backend;
    int m_id;
    std::weak_ptr<bool> m_alive;
};

namespace {

// An open handle: every call finds the bridge by path again, so a bridge
// that left fails here even though the handle lives on.
class SimHidHandle : public IHidDevice {
public:
    SimHidHandle(SimHidBackend *backend, QByteArray path, std::weak_ptr<bool> alive)
        : m_backend(backend), m_path(std::move(path)), m_alive(std::move(alive)) {}

    HidDeviceInfo info() const override
    {
        SimUsbBridge *b = bridge();
        HidDeviceInfo i = b ? b->info() : HidDeviceInfo();
        i.path = m_path;
        return i;
    }

    bool writeOutputReport(const quint8 *report, int length, int /*timeoutMs*/) override
    {
        SimUsbBridge *b = bridge();
        return b && b->receiveOutputReport(report, length);
    }

    int pollInputReport(quint8 *buffer, int capacity) override
    {
        SimUsbBridge *b = bridge();
        return b ? b->takeInputReport(buffer, capacity) : -1;
    }

    void flushInput() override
    {
        if (SimUsbBridge *b = bridge())
            b->flushInput();
    }

private:
    SimUsbBridge *bridge() const
    {
        return m_alive.expired() ? nullptr : m_backend->bridgeAt(m_path);
    }

    SimHidBackend *m_backend;
    QByteArray m_path;
    std::weak_ptr<bool> m_alive;
};

} // namespace

SimHidBackend::SimHidBackend() : m_alive(std::make_shared<bool>(true)) {}

SimHidBackend::~SimHidBackend() = default;

QByteArray SimHidBackend::plug(SimUsbBridge *bridge)
{
    QMutexLocker lock(&m_lock);
    const QByteArray path = "sim:hidraw" + QByteArray::number(m_nextPath++);
    m_plugged.insert(path, bridge);
    m_order.append(path);
    HidDeviceInfo info = bridge->info();
    info.path = path;
    notify(info, true);
    return path;
}

void SimHidBackend::unplug(SimUsbBridge *bridge)
{
    QMutexLocker lock(&m_lock);
    for (const QByteArray &path : QVector<QByteArray>(m_order)) {
        if (m_plugged.value(path) != bridge)
            continue;
        HidDeviceInfo info = bridge->info();
        info.path = path;
        m_plugged.remove(path);
        m_order.removeAll(path);
        notify(info, false);
    }
}

bool SimHidBackend::isPlugged(const SimUsbBridge *bridge) const
{
    QMutexLocker lock(&m_lock);
    for (SimUsbBridge *b : m_plugged)
        if (b == bridge)
            return true;
    return false;
}

QVector<HidDeviceInfo> SimHidBackend::enumerate(quint16 vendorId, quint16 productId)
{
    QMutexLocker lock(&m_lock);
    QVector<HidDeviceInfo> out;
    for (const QByteArray &path : m_order) {
        HidDeviceInfo info = m_plugged.value(path)->info();
        if (info.vendorId != vendorId || info.productId != productId)
            continue;
        info.path = path;
        out.append(info);
    }
    return out;
}

std::unique_ptr<IHidDevice> SimHidBackend::open(const QByteArray &path)
{
    QMutexLocker lock(&m_lock);
    if (!m_plugged.contains(path))
        return nullptr;
    return std::make_unique<SimHidHandle>(this, path, m_alive);
}

std::unique_ptr<IHidWatch> SimHidBackend::watch(quint16 vendorId, quint16 productId, Notice notice)
{
    QMutexLocker lock(&m_lock);
    const int id = m_nextWatcher++;
    m_watchers.append(Watcher{id, vendorId, productId, std::move(notice)});
    return std::make_unique<SimHidWatch>(this, id, m_alive);
}

void SimHidBackend::notify(const HidDeviceInfo &info, bool added)
{
    // A notice may add or drop watchers: walk a copy.
    const QVector<Watcher> watchers = m_watchers;
    for (const Watcher &w : watchers)
        if (w.vendorId == info.vendorId && w.productId == info.productId)
            w.notice(info, added);
}

void SimHidBackend::removeWatcher(int id)
{
    QMutexLocker lock(&m_lock);
    for (int i = 0; i < m_watchers.size(); ++i) {
        if (m_watchers[i].id == id) {
            m_watchers.remove(i);
            return;
        }
    }
}

} // namespace pz
