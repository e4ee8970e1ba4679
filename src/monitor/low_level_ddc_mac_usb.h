#pragma once
// The DDC/CI transport over a monitor's USB bridge: the framing, checking
// and waiting of low_level_ddc, with the two raw I2C operations carried by
// the bridge manager as HID reports.
//
// The transport is bound to the bridge it was created for (its device path,
// and its serial number, which equals the monitor's EDID serial), not to the
// table index: after a re-enumeration the index may belong to another
// monitor, and a command, above all an EEPROM write, must never reach it.
// A bridge that is gone gives -2.

#include "low_level_ddc.h"

#include <QByteArray>
#include <QString>

class low_level_ddc_mac_usb : public low_level_ddc {
public:
    // Binds to the bridge that holds table index `bridge` now.
    low_level_ddc_mac_usb(unsigned int bridge, int verbosity);

    // 0, -1 (no bridge manager), -2 (the bridge is gone), or the manager's code.
    int i2c_write(unsigned int address, unsigned char *data, unsigned char length) override;
    // 1 on success, -1, -2 or the manager's code. Waits for the bridge's next
    // input report; the adapter fix plays no part over USB.
    int i2c_read(unsigned int address, unsigned char *data, unsigned char length) override;

    unsigned int bridge() const { return m_bridge; }
    QString boundSerial() const { return m_serial; }

private:
    // The bridge's index in the manager's table now, or a negative code.
    int currentIndex() const;

    unsigned int m_bridge;
    QString m_serial;
    QByteArray m_path;
};
