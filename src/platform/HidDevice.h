#pragma once
// The HID seam under the monitor's USB bridge transport: enumerate devices by
// vendor/product id, open one, exchange output and input reports, and hear
// about arrivals and removals. The Linux backend uses hidapi (hidraw) and
// udev; the simulated bridge implements the same seam, so the transport above
// cannot tell them apart.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace pz {

// Vendor and product id of the Orvane monitor's USB bridge. Tests and the
// preferences may watch other ids.
constexpr quint16 kOrvaneBridgeVendorId = 0x3A5C;
constexpr quint16 kOrvaneBridgeProductId = 0x0D21;

// Packs a vendor and product id the way the bridge manager keeps them.
constexpr quint32 packUsbId(quint16 vendorId, quint16 productId)
{
    return (quint32(vendorId) << 16) | productId;
}

struct HidDeviceInfo {
    QByteArray path;          // stable for as long as the device stays plugged in
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString manufacturer;
    QString product;
    QString serialNumber;
    int maxInputReportSize = 0;   // bytes of report data, without a report id
    int maxOutputReportSize = 0;
};

// One opened HID device.
class IHidDevice {
public:
    virtual ~IHidDevice() = default;
    virtual HidDeviceInfo info() const = 0;
    // Sends one output report; report[0] is the report id (0 for a device
    // without numbered reports), so length is the report size + 1. False when
    // the device refused it, did not take it within timeoutMs or is gone.
    virtual bool writeOutputReport(const quint8 *report, int length, int timeoutMs) = 0;
    // Takes the oldest queued input report without waiting: its length (at
    // most capacity), 0 when none is queued, -1 when the device is gone.
    virtual int pollInputReport(quint8 *buffer, int capacity) = 0;
    // Drops every input report queued so far.
    virtual void flushInput() = 0;

    // Waits for the next input report on the program clock, polling every
    // pollMs and never waiting past timeoutMs (0: one look, no wait);
    // returns its length, 0 after timeoutMs without one, -1 when the device
    // is gone.
    int readInputReport(quint8 *buffer, int capacity, int timeoutMs, int pollMs = 20);
};

// Keeps a device watch alive; destroying it stops the notices.
class IHidWatch {
public:
    virtual ~IHidWatch() = default;
};

class IHidBackend {
public:
    using Notice = std::function<void(const HidDeviceInfo &device, bool added)>;

    virtual ~IHidBackend() = default;
    // Devices present now whose ids match.
    virtual QVector<HidDeviceInfo> enumerate(quint16 vendorId, quint16 productId) = 0;
    // Opens a device by its path; nullptr when it is gone or cannot be opened.
    virtual std::unique_ptr<IHidDevice> open(const QByteArray &path) = 0;
    // Reports arrivals and removals of matching devices from now on (devices
    // already present announce nothing until they leave). Notices arrive on
    // the thread that set up the watch, while its event loop runs.
    virtual std::unique_ptr<IHidWatch> watch(quint16 vendorId, quint16 productId,
                                             Notice notice) = 0;
};

// The backend in force: the Linux one unless another was installed.
IHidBackend &hidBackend();
// Installs another backend (not owned); nullptr restores the default.
void setHidBackend(IHidBackend *backend);

class ScopedHidBackend {
public:
    explicit ScopedHidBackend(IHidBackend *backend);
    ~ScopedHidBackend();
    ScopedHidBackend(const ScopedHidBackend &) = delete;
    ScopedHidBackend &operator=(const ScopedHidBackend &) = delete;

private:
    IHidBackend *m_previous;
};

} // namespace pz
