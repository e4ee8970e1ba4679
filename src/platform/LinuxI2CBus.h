#pragma once
// The Linux backend of the raw I2C seam: one /dev/i2c-N adapter of the
// graphics card, driven with ioctl(I2C_RDWR). Needs the i2c-dev module and
// read/write access to the device node (see the README).
//
// Addresses arrive in their 8-bit form (0x6E/0x6F for DDC/CI, 0xA0/0xA1 for
// the EDID); the kernel wants the 7-bit device address (0x37, 0x50), so
// bit 0 is dropped.

#include "I2CBus.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <linux/i2c.h>
#include <memory>

namespace pz {

// The kernel message of one transaction on data (length bytes): the 7-bit
// device address of the 8-bit one (0x6E -> 0x37, 0xA0 -> 0x50; bit 0, the
// read bit, is dropped) and I2C_M_RD for a read.
i2c_msg i2cMessage(quint8 address, quint8 *data, quint16 length, bool isRead);

class LinuxI2CBus : public II2CBus {
public:
    // Opens a device node; isOpen() tells whether that worked and
    // errorString() why not.
    explicit LinuxI2CBus(const QString &devicePath);
    ~LinuxI2CBus() override;
    LinuxI2CBus(const LinuxI2CBus &) = delete;
    LinuxI2CBus &operator=(const LinuxI2CBus &) = delete;

    // /dev/i2c-<bus>; nullptr when it cannot be opened.
    static std::unique_ptr<LinuxI2CBus> open(int bus, QString *error = nullptr);
    static QString devicePath(int bus);

    bool isOpen() const { return m_fd >= 0; }
    QString errorString() const { return m_error; }

    bool write(quint8 address, const quint8 *data, int length) override;
    bool read(quint8 address, quint8 *data, int length) override;

private:
    bool transfer(quint8 address, quint8 *data, int length, bool isRead);

    int m_fd = -1;
    QString m_error;
};

// A display connector of the kernel's DRM layer and the I2C adapter its
// monitor's DDC lines are wired to.
struct DrmConnectorBus {
    QString connector;   // "card0-DP-1"
    int bus = -1;        // N of /dev/i2c-N, -1 when the connector names none
    bool connected = false;
    QByteArray edid;     // what the kernel read from the monitor; may be empty
};

// Lists the connectors under sysfsRoot (normally /sys/class/drm). The bus
// comes from the connector's "ddc" link, or else from an i2c-N entry inside
// the connector (DisplayPort AUX adapters).
QVector<DrmConnectorBus> drmConnectorBuses(const QString &sysfsRoot = QStringLiteral("/sys/class/drm"));

} // namespace pz
