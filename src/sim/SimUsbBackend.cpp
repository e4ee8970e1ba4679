#include "SimUsbBackend.h"

#include <QMutexLocker>

namespace pz {

// An open device: every call finds the device by its path again, so one
// that left fails here even though the handle lives on.
class SimUsbHandle : public IUsbDevice {
public:
    SimUsbHandle(SimUsbBackend *bus, UsbDeviceInfo info) : m_bus(bus), m_info(std::move(info)) {}
    ~SimUsbHandle() override
    {
        if (m_bus)
            m_bus->forget(this);
    }

    UsbDeviceInfo info() const override { return m_info; }

    int configDescriptor(int index, UsbConfigDescriptor &config) override
    {
        SimUsbFunction *d = device();
        if (!d)
            return kUsbErrorNoDevice;
        if (index != 0)
            return kUsbErrorNotFound;
        config = d->configuration();
        return kUsbSuccess;
    }

    int setConfiguration(int configurationValue) override
    {
        SimUsbFunction *d = device();
        if (!d)
            return kUsbErrorNoDevice;
        return d->configuration().configurationValue == configurationValue ? kUsbSuccess
                                                                            : kUsbErrorNotFound;
    }

    int claimInterface(int interfaceNumber) override
    {
        SimUsbFunction *d = device();
        if (!d)
            return kUsbErrorNoDevice;
        for (const UsbInterfaceDescriptor &itf : d->configuration().interfaces) {
            if (itf.number == interfaceNumber)
                return kUsbSuccess;
        }
        return kUsbErrorNotFound;
    }

    int controlTransfer(quint8 requestType, quint8 request, quint16 value, quint16 index,
                        quint8 *data, quint16 length, unsigned timeoutMs) override
    {
        SimUsbFunction *d = device();
        return d ? d->controlTransfer(requestType, request, value, index, data, length, timeoutMs)
                 : kUsbErrorNoDevice;
    }

    int bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                 unsigned timeoutMs) override
    {
        transferred = 0;
        SimUsbFunction *d = device();
        return d ? d->bulkRead(endpoint, buffer, length, transferred, timeoutMs)
                 : kUsbErrorNoDevice;
    }

    int clearHalt(quint8 endpoint) override
    {
        SimUsbFunction *d = device();
        return d ? d->clearHalt(endpoint) : kUsbErrorNoDevice;
    }

    int reset() override
    {
        SimUsbFunction *d = device();
        if (!d)
            return kUsbErrorNoDevice;
        d->reset();
        return kUsbSuccess;
    }

    void setRemovalNotice(RemovalNotice notice) override { m_notice = std::move(notice); }

private:
    friend class SimUsbBackend;

    SimUsbFunction *device() const { return m_bus ? m_bus->deviceAt(m_info.path) : nullptr; }

    SimUsbBackend *m_bus;
    UsbDeviceInfo m_info;
    RemovalNotice m_notice;
};

SimUsbFunction::~SimUsbFunction()
{
    if (m_bus)
        m_bus->unplug(this);
}

SimUsbBackend::~SimUsbBackend()
{
    QMutexLocker lock(&m_lock);
    for (SimUsbHandle *h : qAsConst(m_handles))
        h->m_bus = nullptr;
    for (const Slot &s : qAsConst(m_plugged))
        s.device->m_bus = nullptr;
}

QByteArray SimUsbBackend::plug(SimUsbFunction *device)
{
    QMutexLocker lock(&m_lock);
    if (device->m_bus)
        device->m_bus->unplug(device);
    Slot s;
    s.path = "sim:usb" + QByteArray::number(m_nextPath++);
    s.device = device;
    m_plugged.append(s);
    device->m_bus = this;
    return s.path;
}

void SimUsbBackend::unplug(SimUsbFunction *device)
{
    QVector<IUsbDevice::RemovalNotice> notices;
    {
        QMutexLocker lock(&m_lock);
        QByteArray path;
        for (int i = 0; i < m_plugged.size(); ++i) {
            if (m_plugged[i].device == device) {
                path = m_plugged[i].path;
                m_plugged.remove(i);
                break;
            }
        }
        if (path.isEmpty())
            return;
        device->m_bus = nullptr;
        for (SimUsbHandle *h : qAsConst(m_handles)) {
            if (h->m_info.path == path && h->m_notice)
                notices.append(h->m_notice);
        }
    }
    for (const auto &notice : notices)
        notice();
}

bool SimUsbBackend::isPlugged(const SimUsbFunction *device) const
{
    QMutexLocker lock(&m_lock);
    for (const Slot &s : m_plugged) {
        if (s.device == device)
            return true;
    }
    return false;
}

QVector<UsbDeviceInfo> SimUsbBackend::listDevices(quint16 vendorId)
{
    QMutexLocker lock(&m_lock);
    QVector<UsbDeviceInfo> found;
    if (m_listFails)
        return found;
    for (const Slot &s : qAsConst(m_plugged)) {
        UsbDeviceInfo info = s.device->descriptor();
        info.path = s.path;
        if (info.vendorId == vendorId)
            found.append(info);
    }
    return found;
}

int SimUsbBackend::open(const UsbDeviceInfo &info, std::unique_ptr<IUsbDevice> &device)
{
    device.reset();
    QMutexLocker lock(&m_lock);
    SimUsbFunction *d = deviceAt(info.path);
    if (!d)
        return kUsbErrorNoDevice;
    const int status = d->acceptOpen();
    if (status != kUsbSuccess)
        return status;
    UsbDeviceInfo opened = d->descriptor();
    opened.path = info.path;
    auto handle = std::make_unique<SimUsbHandle>(this, opened);
    m_handles.append(handle.get());
    device = std::move(handle);
    return kUsbSuccess;
}

SimUsbFunction *SimUsbBackend::deviceAt(const QByteArray &path) const
{
    QMutexLocker lock(&m_lock);
    for (const Slot &s : m_plugged) {
        if (s.path == path)
            return s.device;
    }
    return nullptr;
}

void SimUsbBackend::forget(SimUsbHandle *handle)
{
    QMutexLocker lock(&m_lock);
    m_handles.removeAll(handle);
}

} // namespace pz
