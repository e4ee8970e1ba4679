#pragma once
// The raw USB seam over simulated devices. A device plugged in gets a path
// ("sim:usb" and a number; a re-plugged one gets a new path, as a real
// re-plug gets a new address). Unplugging tells every open handle of the
// device at once through its removal notice; from then on those handles
// answer kUsbErrorNoDevice, as do handles that outlive the bus.

#include "UsbDevice.h"

#include <QRecursiveMutex>
#include <QVector>

namespace pz {

class SimUsbBackend;
class SimUsbHandle;

// A simulated device as the bus sees it: its descriptors and its answers
// to opens and transfers. It leaves the bus when destroyed.
class SimUsbFunction {
public:
    SimUsbFunction() = default;
    SimUsbFunction(const SimUsbFunction &) = delete;
    SimUsbFunction &operator=(const SimUsbFunction &) = delete;
    virtual ~SimUsbFunction();

    // The device descriptor (the bus fills in the path).
    virtual UsbDeviceInfo descriptor() const = 0;
    virtual UsbConfigDescriptor configuration() const = 0;
    // How the device answers an open: success, or busy / access denied.
    virtual int acceptOpen() { return kUsbSuccess; }
    virtual int controlTransfer(quint8 requestType, quint8 request, quint16 value,
                                quint16 index, quint8 *data, quint16 length,
                                unsigned timeoutMs) = 0;
    virtual int bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                         unsigned timeoutMs) = 0;
    virtual int clearHalt(quint8 endpoint) = 0;
    virtual void reset() {}

    // The bus it is plugged into, or nullptr.
    SimUsbBackend *bus() const { return m_bus; }

private:
    friend class SimUsbBackend;
    SimUsbBackend *m_bus = nullptr;
};

class SimUsbBackend : public IUsbBackend {
public:
    SimUsbBackend() = default;
    ~SimUsbBackend() override;
    SimUsbBackend(const SimUsbBackend &) = delete;
    SimUsbBackend &operator=(const SimUsbBackend &) = delete;

    // Plugs a device in (not owned); returns its path.
    QByteArray plug(SimUsbFunction *device);
    // Unplugs it: its open handles hear their removal notice now.
    void unplug(SimUsbFunction *device);
    bool isPlugged(const SimUsbFunction *device) const;
    // A device that refuses to list (the bus cannot be read).
    void setListFails(bool fails) { m_listFails = fails; }

    QVector<UsbDeviceInfo> listDevices(quint16 vendorId) override;
    int open(const UsbDeviceInfo &info, std::unique_ptr<IUsbDevice> &device) override;

private:
    friend class SimUsbHandle;
    struct Slot {
        QByteArray path;
        SimUsbFunction *device = nullptr;
    };

    SimUsbFunction *deviceAt(const QByteArray &path) const;
    void forget(SimUsbHandle *handle);

    QVector<Slot> m_plugged;
    QVector<SimUsbHandle *> m_handles;
    int m_nextPath = 1;
    bool m_listFails = false;
    mutable QRecursiveMutex m_lock;
};

} // namespace pz
