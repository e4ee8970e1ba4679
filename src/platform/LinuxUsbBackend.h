#pragma once
// The raw USB seam on Linux, over libusb-1.0 with a context of its own,
// created on first use. A device's path is "bus-address", which stays valid
// while it is plugged in. Where libusb supports hot-plug, a removal callback
// marks an opened device gone; libusb runs it while one of our synchronous
// transfers waits, so no event thread is needed. A device that arrives is
// found by the next listing.

#include "UsbDevice.h"

#include <QMutex>
#include <memory>

struct libusb_context;

namespace pz {

class LinuxUsbBackend : public IUsbBackend {
public:
    LinuxUsbBackend();
    ~LinuxUsbBackend() override;

    QVector<UsbDeviceInfo> listDevices(quint16 vendorId) override;
    int open(const UsbDeviceInfo &info, std::unique_ptr<IUsbDevice> &device) override;

    // "bus-address" with both numbers in decimal; false when malformed.
    static QByteArray pathOf(int bus, int address);
    static bool parsePath(const QByteArray &path, int &bus, int &address);

private:
    // The context, initialised on first use; null when libusb cannot start.
    // Opened devices share it, so it outlives the backend while they live.
    std::shared_ptr<libusb_context> context();

    QMutex m_lock;
    std::shared_ptr<libusb_context> m_context;
    bool m_initTried = false;
};

} // namespace pz
