#pragma once
// The HID seam on Linux: devices through hidapi's hidraw backend, report sizes
// from the hidraw report descriptor in sysfs, and hot-plug from udev's
// netlink monitor of USB devices.

#include "HidDevice.h"

namespace pz {

class LinuxHidBackend : public IHidBackend {
public:
    LinuxHidBackend();
    ~LinuxHidBackend() override;

    QVector<HidDeviceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    std::unique_ptr<IHidDevice> open(const QByteArray &path) override;
    std::unique_ptr<IHidWatch> watch(quint16 vendorId, quint16 productId, Notice notice) override;

private:
    bool m_initialised = false;
};

} // namespace pz
