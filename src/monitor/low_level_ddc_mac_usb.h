#pragma once
// The DDC/CI transport over a monitor's USB bridge: the framing, checking
// and waiting of low_level_ddc, with the two raw I2C operations carried by
// the program's bridge manager (the one the display interface list in
// pCMonAPIDummy owns) as HID reports.
//
// The transport is bound to the bridge it was created for (its device path,
// and its serial number, which equals the monitor's EDID serial), not to the
// table index: after a re-enumeration the index may belong to another
// monitor, and a command, above all an EEPROM write, must never reach it.
// A bridge that is gone gives -2.

#include "low_level_ddc.h"
#include "mac_usb_ddcci.h"

#include <QString>

class low_level_ddc_mac_usb : public low_level_ddc {
public:
    // Binds to the bridge that holds table index `bridge` now.
    low_level_ddc_mac_usb(unsigned int bridge, int verbosity);

    // 0, -1 (no display interface list), -2 (the bridge is gone), or the
    // manager's code.
    int i2c_write(unsigned int address, unsigned char *data, unsigned char length) override;
    // 1 on success, -1, -2 or the manager's code. Waits for the bridge's next
    // input report, no longer than the read wait limit when one is set; the
    // adapter fix plays no part over USB.
    int i2c_read(unsigned int address, unsigned char *data, unsigned char length) override;

    unsigned int bridge() const { return m_bridge; }
    QString boundSerial() const { return m_id.serial; }

    // The program's bridge manager: the one of pCMonAPIDummy, or nullptr.
    static mac_usb_ddcci *bridgeManager();

private:
    unsigned int m_bridge;
    mac_usb_ddcci::BridgeId m_id;
};
