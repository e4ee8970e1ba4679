#include "mac_usb_ddcci.h"

#include <atomic>
#include <cstring>

namespace {

constexpr int kNoBridge = -2;
constexpr int kWriteFailed = -12;
constexpr int kNoReport = -23;
constexpr int kDoesNotFit = -31;

std::atomic<mac_usb_ddcci *> g_manager{nullptr};

} // namespace

mac_usb_ddcci::mac_usb_ddcci(int verbosity)
    : mac_usb_ddcci(verbosity, {pz::packUsbId(pz::kOrvaneBridgeVendorId, pz::kOrvaneBridgeProductId)})
{
}

mac_usb_ddcci::mac_usb_ddcci(int verbosity, const QVector<quint32> &watchedIds)
    : QObject(nullptr), m_backend(&pz::hidBackend()), m_verbosity(verbosity),
      m_watchedIds(watchedIds)
{
    reset();
    add_usb_device_watch(m_watchedIds);
    mac_usb_ddcci *none = nullptr;
    g_manager.compare_exchange_strong(none, this);
}

mac_usb_ddcci::~mac_usb_ddcci()
{
    mac_usb_ddcci *self = this;
    g_manager.compare_exchange_strong(self, nullptr);
    m_watchArmed = false;
    m_watches.clear();
    close_interfaces();
}

mac_usb_ddcci *mac_usb_ddcci::instance() { return g_manager.load(); }

void mac_usb_ddcci::reset()
{
    m_count = 0;
    for (Bridge &b : m_bridges) {
        b.inputReportLength = 0;
        b.outputReportLength = 0;
        b.info = pz::HidDeviceInfo();
        b.device.reset();
        b.manufacturer.clear();
        b.productName.clear();
        b.serialNumber.clear();
        b.opened = false;
    }
}

int mac_usb_ddcci::add_usb_device_watch(const QVector<quint32> &ids)
{
    m_watchArmed = false;
    for (quint32 id : ids) {
        auto watch = m_backend->watch(quint16(id >> 16), quint16(id & 0xFFFF),
                                      [this](const pz::HidDeviceInfo &, bool added) {
                                          DeviceChanged(added);
                                      });
        if (!watch)
            return -1;
        m_watches.push_back(std::move(watch));
    }
    m_watchArmed = true;
    return 0;
}

void mac_usb_ddcci::DeviceChanged(bool added)
{
    if (m_watchArmed)
        emit usb_device_changed(added);
}

int mac_usb_ddcci::EnumerateDevices()
{
    close_interfaces();
    reset();
    return FindHidDeviceID(m_watchedIds);
}

int mac_usb_ddcci::FindHidDeviceID(const QVector<quint32> &ids)
{
    m_count = 0;
    for (quint32 id : ids) {
        const QVector<pz::HidDeviceInfo> found = m_backend->enumerate(quint16(id >> 16), quint16(id & 0xFFFF));
        for (const pz::HidDeviceInfo &info : found) {
            // Reports must fit the fixed buffers with their report id byte;
            // a device that declares no output reports cannot carry I2C.
            if (info.maxInputReportSize <= 0 || info.maxOutputReportSize <= 0
                || info.maxInputReportSize >= kReportBuffer || info.maxOutputReportSize >= kReportBuffer)
                continue;
            if (m_count >= kMaxBridges)
                continue;
            Bridge &b = m_bridges[m_count];
            b.info = info;
            b.inputReportLength = info.maxInputReportSize + 1;
            b.outputReportLength = info.maxOutputReportSize + 1;
            b.manufacturer = info.manufacturer.toUtf8();
            b.productName = info.product.toUtf8();
            b.serialNumber = info.serialNumber.toUtf8();
            b.vendorId = info.vendorId;
            b.productId = info.productId;
            if (OpenHIDDevice(m_count))
                ++m_count;
            else
                b = Bridge();
        }
    }
    return m_count;
}

bool mac_usb_ddcci::OpenHIDDevice(int slot)
{
    if (slot < 0 || slot >= kMaxBridges)
        return false;
    Bridge &b = m_bridges[slot];
    b.opened = false;
    if (b.info.path.isEmpty())
        return false;
    b.device = m_backend->open(b.info.path);
    if (!b.device)
        return false;
    b.device->flushInput();
    b.opened = true;
    return true;
}

bool mac_usb_ddcci::CloseHIDDevice(int slot)
{
    if (slot < 0 || slot >= m_count || !m_bridges[slot].opened)
        return false;
    m_bridges[slot].device.reset();
    m_bridges[slot].opened = false;
    return true;
}

void mac_usb_ddcci::close_interfaces()
{
    for (Bridge &b : m_bridges) {
        b.device.reset();
        b.opened = false;
    }
}

bool mac_usb_ddcci::usable(int bridge) const
{
    return bridge >= 0 && bridge < m_count && m_bridges[bridge].opened && m_bridges[bridge].device;
}

const char *mac_usb_ddcci::GetSerialNumber(int bridge) const
{
    return usable(bridge) ? m_bridges[bridge].serialNumber.constData() : nullptr;
}

const char *mac_usb_ddcci::GetProductName(int bridge) const
{
    return usable(bridge) ? m_bridges[bridge].productName.constData() : nullptr;
}

const char *mac_usb_ddcci::GetManufacturerName(int bridge) const
{
    return usable(bridge) ? m_bridges[bridge].manufacturer.constData() : nullptr;
}

QByteArray mac_usb_ddcci::GetDevicePath(int bridge) const
{
    return usable(bridge) ? m_bridges[bridge].info.path : QByteArray();
}

int mac_usb_ddcci::FindBridge(const QString &serial, const QByteArray &path) const
{
    // The kernel hands a freed hidraw node to the next device plugged in, so
    // a path alone may name another monitor now: with a serial to go by, a
    // bridge must carry that serial, and its path only decides between two
    // bridges that both do.
    if (serial.isEmpty() && path.isEmpty())
        return -1;
    int bySerial = -1;
    for (int i = 0; i < m_count; ++i) {
        if (!usable(i))
            continue;
        const bool serialMatches = serial.isEmpty() || m_bridges[i].info.serialNumber == serial;
        if (!serialMatches)
            continue;
        if (!path.isEmpty() && m_bridges[i].info.path == path)
            return i;
        if (!serial.isEmpty() && bySerial < 0)
            bySerial = i;
    }
    return bySerial;
}

int mac_usb_ddcci::i2c_write(int bridge, unsigned char address, unsigned char *data, unsigned char n)
{
    if (bridge < 0 || bridge >= m_count)
        return kNoBridge;
    // Report id, three header bytes, the address, the data and the checksum
    // must all fit the report: a report that dropped its checksum byte would
    // go out as if it were whole.
    if (int(n) > m_bridges[bridge].outputReportLength - 6)
        return kDoesNotFit;
    if (!usable(bridge))
        return kNoBridge;

    unsigned char report[kReportBuffer] = {};
    report[1] = 0x01;
    report[3] = static_cast<unsigned char>(n + 1);
    report[4] = address;
    unsigned char check = static_cast<unsigned char>(address ^ (n + 1));
    for (int i = 0; i < n; ++i) {
        report[5 + i] = data[i];
        check ^= data[i];
    }
    report[5 + n] = check;
    return usb_transmit(bridge, report);
}

int mac_usb_ddcci::usb_transmit(int bridge, unsigned char *report)
{
    // Whatever the bridge queued before this request is stale: the reply to
    // this request is the next report.
    m_bridges[bridge].device->flushInput();
    return UsbDevWrite(bridge, report);
}

int mac_usb_ddcci::UsbDevWrite(int bridge, unsigned char *report)
{
    Bridge &b = m_bridges[bridge];
    return b.device->writeOutputReport(report, b.outputReportLength, kSetReportTimeoutMs)
        ? 0 : kWriteFailed;
}

int mac_usb_ddcci::i2c_read(int bridge, unsigned char /*address*/, unsigned char *data, unsigned char n)
{
    if (bridge < 0 || bridge >= m_count)
        return kNoBridge;
    if (int(n) + 5 > m_bridges[bridge].inputReportLength)
        return kDoesNotFit;
    if (!usable(bridge))
        return kNoBridge;

    unsigned char report[kReportBuffer] = {};
    const int got = usb_receive(bridge, report);
    if (got < 0)
        return got;
    std::memcpy(data, report + 3, n);
    return 0;
}

int mac_usb_ddcci::usb_receive(int bridge, unsigned char *report)
{
    Bridge &b = m_bridges[bridge];
    // Each read takes one new report; bytes beyond what the device sent stay 0.
    const int got = b.device->readInputReport(report, b.inputReportLength,
                                              kReceivePasses * kReceivePassMs, kReceivePassMs);
    if (got < 0)
        return kNoBridge;
    return got == 0 ? kNoReport : got;
}
