#include "mac_usb_ddcci.h"

#include <QMutexLocker>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kNoBridge = -2;
constexpr int kWriteFailed = -12;
constexpr int kNoReport = -23;
constexpr int kDoesNotFit = -31;

} // namespace

mac_usb_ddcci::mac_usb_ddcci(int verbosity)
    : mac_usb_ddcci(verbosity, {pz::packUsbId(pz::kOrvaneBridgeVendorId, pz::kOrvaneBridgeProductId)})
{
}

mac_usb_ddcci::mac_usb_ddcci(int verbosity, const QVector<quint32> &watchedIds)
    : QObject(nullptr), m_backend(&pz::hidBackend()), m_verbosity(verbosity),
      m_watchedIds(watchedIds)
{
    {
        QMutexLocker lock(&m_lock);
        reset();
    }
    add_usb_device_watch(m_watchedIds);
}

mac_usb_ddcci::~mac_usb_ddcci()
{
    m_watchArmed = false;
    m_watches.clear();
    QMutexLocker lock(&m_lock);
    close_interfaces();
}

void mac_usb_ddcci::reset()
{
    m_count = 0;
    for (Bridge &b : m_bridges)
        b = Bridge();
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
    QMutexLocker lock(&m_lock);
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
    // An exchange still running on a device keeps it until it ends.
    for (Bridge &b : m_bridges) {
        b.device.reset();
        b.opened = false;
    }
}

int mac_usb_ddcci::GetNumDevices() const
{
    QMutexLocker lock(&m_lock);
    return m_count;
}

bool mac_usb_ddcci::usable(int bridge) const
{
    return bridge >= 0 && bridge < m_count && m_bridges[bridge].opened && m_bridges[bridge].device;
}

const char *mac_usb_ddcci::GetSerialNumber(int bridge) const
{
    QMutexLocker lock(&m_lock);
    return usable(bridge) ? m_bridges[bridge].serialNumber.constData() : nullptr;
}

const char *mac_usb_ddcci::GetProductName(int bridge) const
{
    QMutexLocker lock(&m_lock);
    return usable(bridge) ? m_bridges[bridge].productName.constData() : nullptr;
}

const char *mac_usb_ddcci::GetManufacturerName(int bridge) const
{
    QMutexLocker lock(&m_lock);
    return usable(bridge) ? m_bridges[bridge].manufacturer.constData() : nullptr;
}

mac_usb_ddcci::BridgeId mac_usb_ddcci::GetBridgeId(int bridge) const
{
    QMutexLocker lock(&m_lock);
    if (!usable(bridge))
        return BridgeId();
    return BridgeId{m_bridges[bridge].info.serialNumber, m_bridges[bridge].info.path};
}

int mac_usb_ddcci::FindBridge(const QString &serial, const QByteArray &path) const
{
    QMutexLocker lock(&m_lock);
    return findBridgeLocked(serial, path);
}

int mac_usb_ddcci::findBridgeLocked(const QString &serial, const QByteArray &path) const
{
    // The kernel hands a freed hidraw node to the next device plugged in, so
    // a path alone may name another monitor now: with a serial to go by, a
    // bridge must carry that serial (exactly, case included), and its path
    // only decides between two bridges that both do.
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

mac_usb_ddcci::Link mac_usb_ddcci::linkLocked(int bridge) const
{
    Link link;
    if (bridge < 0 || bridge >= m_count)
        return link;
    link.inTable = true;
    link.inputReportLength = m_bridges[bridge].inputReportLength;
    link.outputReportLength = m_bridges[bridge].outputReportLength;
    if (usable(bridge))
        link.device = m_bridges[bridge].device;
    return link;
}

mac_usb_ddcci::Link mac_usb_ddcci::linkAt(int bridge) const
{
    QMutexLocker lock(&m_lock);
    return linkLocked(bridge);
}

mac_usb_ddcci::Link mac_usb_ddcci::linkTo(const BridgeId &id) const
{
    QMutexLocker lock(&m_lock);
    return linkLocked(findBridgeLocked(id.serial, id.path));
}

int mac_usb_ddcci::i2c_write(int bridge, unsigned char address, unsigned char *data, unsigned char n)
{
    return writeReport(linkAt(bridge), address, data, n);
}

int mac_usb_ddcci::i2c_write(const BridgeId &id, unsigned char address, unsigned char *data,
                             unsigned char n)
{
    return writeReport(linkTo(id), address, data, n);
}

int mac_usb_ddcci::i2c_read(int bridge, unsigned char /*address*/, unsigned char *data, unsigned char n)
{
    return readReport(linkAt(bridge), data, n, -1);
}

int mac_usb_ddcci::i2c_read(const BridgeId &id, unsigned char /*address*/, unsigned char *data,
                            unsigned char n, int waitLimitMs)
{
    return readReport(linkTo(id), data, n, waitLimitMs);
}

int mac_usb_ddcci::writeReport(const Link &link, unsigned char address, unsigned char *data,
                               unsigned char n)
{
    if (!link.inTable)
        return kNoBridge;
    // Report id, three header bytes, the address, the data and the checksum
    // must all fit the report: a report that dropped its checksum byte would
    // go out as if it were whole.
    if (int(n) > link.outputReportLength - 6)
        return kDoesNotFit;
    if (!link.device)
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
    return usb_transmit(link, report);
}

int mac_usb_ddcci::usb_transmit(const Link &link, unsigned char *report)
{
    // Whatever the bridge queued before this request is stale: the reply to
    // this request is the next report.
    link.device->flushInput();
    return UsbDevWrite(link, report);
}

int mac_usb_ddcci::UsbDevWrite(const Link &link, unsigned char *report)
{
    return link.device->writeOutputReport(report, link.outputReportLength, kSetReportTimeoutMs)
        ? 0 : kWriteFailed;
}

int mac_usb_ddcci::readReport(const Link &link, unsigned char *data, unsigned char n,
                              int waitLimitMs)
{
    if (!link.inTable)
        return kNoBridge;
    if (int(n) + 5 > link.inputReportLength)
        return kDoesNotFit;
    if (!link.device)
        return kNoBridge;

    unsigned char report[kReportBuffer] = {};
    const int got = usb_receive(link, report, waitLimitMs);
    if (got < 0)
        return got;
    std::memcpy(data, report + 3, n);
    return 0;
}

int mac_usb_ddcci::usb_receive(const Link &link, unsigned char *report, int waitLimitMs)
{
    constexpr int kFullWaitMs = kReceivePasses * kReceivePassMs;
    const int waitMs = waitLimitMs < 0 ? kFullWaitMs : std::min(waitLimitMs, kFullWaitMs);
    // Each read takes one new report; bytes beyond what the device sent stay 0.
    const int got = link.device->readInputReport(report, link.inputReportLength, waitMs,
                                                 kReceivePassMs);
    if (got < 0)
        return kNoBridge;
    return got == 0 ? kNoReport : got;
}
