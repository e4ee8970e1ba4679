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

    // udev's texts for the ids: HID_ID "0003:00003A5C:00000D21" of a HID
    // device, PRODUCT "3a5c/d21/100" of a USB device. False when malformed.
    static bool parseHidId(const QByteArray &text, quint16 &vendorId, quint16 &productId);
    static bool parseUsbProduct(const QByteArray &text, quint16 &vendorId, quint16 &productId);

private:
    bool m_initialised = false;
};

} // namespace pz
