#pragma once
// The raw I2C seam under the DDC/CI transport: one open bus of a display.
// The Linux backend talks to /dev/i2c-N; the simulated monitor implements
// it directly. Addresses are in their 8-bit form: the write address is even
// (0x6E for DDC/CI, 0xA0 for the EDID) and a read goes to address + 1.

#include <QtGlobal>

namespace pz {

class II2CBus {
public:
    virtual ~II2CBus() = default;
    // One write transaction of length bytes. False when the bus refused it.
    virtual bool write(quint8 address, const quint8 *data, int length) = 0;
    // One read transaction of exactly length bytes into data. False when
    // the bus refused it (no device answered, bus gone).
    virtual bool read(quint8 address, quint8 *data, int length) = 0;
};

} // namespace pz
