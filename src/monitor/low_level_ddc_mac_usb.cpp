#include "low_level_ddc_mac_usb.h"

#include "mac_usb_ddcci.h"

namespace {
constexpr int kNoManager = -1;
constexpr int kBridgeGone = -2;
} // namespace

low_level_ddc_mac_usb::low_level_ddc_mac_usb(unsigned int bridge, int verbosity)
    : low_level_ddc(), m_bridge(bridge)
{
    set_verbosity(verbosity);
    if (mac_usb_ddcci *manager = mac_usb_ddcci::instance()) {
        const int index = bridge < unsigned(mac_usb_ddcci::kMaxBridges) ? int(bridge) : -1;
        if (const char *serial = manager->GetSerialNumber(index))
            m_serial = QString::fromUtf8(serial);
        m_path = manager->GetDevicePath(index);
    }
}

int low_level_ddc_mac_usb::currentIndex() const
{
    mac_usb_ddcci *manager = mac_usb_ddcci::instance();
    if (!manager)
        return kNoManager;
    const int index = manager->FindBridge(m_serial, m_path);
    return index < 0 ? kBridgeGone : index;
}

int low_level_ddc_mac_usb::i2c_write(unsigned int address, unsigned char *data, unsigned char length)
{
    const int index = currentIndex();
    if (index < 0)
        return index;
    return mac_usb_ddcci::instance()->i2c_write(index, static_cast<unsigned char>(address), data, length);
}

int low_level_ddc_mac_usb::i2c_read(unsigned int address, unsigned char *data, unsigned char length)
{
    const int index = currentIndex();
    if (index < 0)
        return index;
    const int result = mac_usb_ddcci::instance()->i2c_read(
        index, static_cast<unsigned char>(address | 1), data, length);
    return result == 0 ? 1 : result;
}
