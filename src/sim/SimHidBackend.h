#pragma once
// The HID seam over simulated bridges. Plugging and unplugging a bridge
// raises the same arrival and removal notices as udev does on Linux; a
// re-plugged bridge gets a new path, as a re-plugged hidraw device does.
// Handles to a bridge that is gone fail like a vanished device.

#include "HidDevice.h"

#include <QMap>
#include <QMutexLocker>
#include <QRecursiveMutex>
#include <QVector>

namespace pz {

class SimUsbBridge;

class SimHidBackend : public IHidBackend {
public:
    SimHidBackend();
    ~SimHidBackend() override;

    // Plugs a bridge in (not owned) and returns its path.
    QByteArray plug(SimUsbBridge *bridge);
    void unplug(SimUsbBridge *bridge);
    bool isPlugged(const SimUsbBridge *bridge) const;
    SimUsbBridge *bridgeAt(const QByteArray &path) const
    {
        QMutexLocker lock(&m_lock);
        return m_plugged.value(path);
    }

    QVector<HidDeviceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    std::unique_ptr<IHidDevice> open(const QByteArray &path) override;
    std::unique_ptr<IHidWatch> watch(quint16 vendorId, quint16 productId, Notice notice) override;

private:
    struct Watcher {
        int id;
        quint16 vendorId;
        quint16 productId;
        Notice notice;
    };
    friend class SimHidWatch;

    void notify(const HidDeviceInfo &info, bool added);
    void removeWatcher(int id);

    QMap<QByteArray, SimUsbBridge *> m_plugged;   // path -> bridge, in plug order by path
    QVector<QByteArray> m_order;
    QVector<Watcher> m_watchers;
    int m_nextPath = 0;
    int m_nextWatcher = 0;
    std::shared_ptr<bool> m_alive;
    mutable QRecursiveMutex m_lock;
};

} // namespace pz
