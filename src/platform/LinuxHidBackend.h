#pragma once
// The HID seam on Linux: devices through hidapi's hidraw backend, report sizes
// from the hidraw report descriptor in sysfs, and hot-plug from udev's
// netlink monitor of USB devices. Output reports go out on a descriptor of
// our own for the hidraw node, written only once poll() says it takes data,
// so a bridge that stops taking reports costs a bounded wait on the program
// clock instead of a write that blocks for good.

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

    // Writes length bytes to fd once poll() reports it writable, waiting at
    // most timeoutMs of program-clock time in steps of kWritePollMs. False
    // when it never became writable, reported an error, or took fewer bytes.
    static bool writeWhenWritable(int fd, const quint8 *data, int length, int timeoutMs);
    static constexpr int kWritePollMs = 10;

private:
    bool m_initialised = false;
};

} // namespace pz
