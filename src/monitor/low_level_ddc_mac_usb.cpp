#include "low_level_ddc_mac_usb.h"

#include "CMonAPIDummy.h"

namespace {
constexpr int kNoManager = -1;
} // namespace

mac_usb_ddcci *low_level_ddc_mac_usb::bridgeManager()
{
    return pCMonAPIDummy ? &pCMonAPIDummy->m_USBBridges : nullptr;
}

low_level_ddc_mac_usb::low_level_ddc_mac_usb(unsigned int bridge, int verbosity)
    : low_level_ddc(), m_bridge(bridge)
{
    set_verbosity(verbosity);
    if (mac_usb_ddcci *manager = bridgeManager()) {
        const int index = bridge < unsigned(mac_usb_ddcci::kMaxBridges) ? int(bridge) : -1;
        m_id = manager->GetBridgeId(index);
    }
}

int low_level_ddc_mac_usb::i2c_write(unsigned int address, unsigned char *data, unsigned char length)
{
    mac_usb_ddcci *manager = bridgeManager();
    if (!manager)
        return kNoManager;
    return manager->i2c_write(m_id, static_cast<unsigned char>(address), data, length);
}

int low_level_ddc_mac_usb::i2c_read(unsigned int address, unsigned char *data, unsigned char length)
{
    mac_usb_ddcci *manager = bridgeManager();
    if (!manager)
        return kNoManager;
    const int result = manager->i2c_read(m_id, static_cast<unsigned char>(address | 1), data,
                                         length, read_wait_limit());
    return result == 0 ? 1 : result;
}
