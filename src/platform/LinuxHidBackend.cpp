#include "LinuxHidBackend.h"

#include "Clock.h"
#include "HidReportDescriptor.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace pz {

namespace {

QString fromWide(const wchar_t *text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

// hidraw gives no report sizes; they come from the report descriptor that
// sysfs publishes next to the hidraw node.
HidReportSizes reportSizesOf(const QByteArray &devicePath)
{
    const QString node = QFileInfo(QString::fromLocal8Bit(devicePath)).fileName();
    QFile file(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
    if (!node.startsWith(QLatin1String("hidraw")) || !file.open(QIODevice::ReadOnly))
        return HidReportSizes{0, 0, 0, false};
    // A descriptor is at most 4096 bytes (HID_MAX_DESCRIPTOR_SIZE).
    return hidReportSizes(file.read(4096));
}

// Reads through hidapi; writes on a descriptor of its own (hidapi keeps its
// descriptor to itself), the same write(2) of the whole report that hidapi
// would make, but only once the node takes data.
class LinuxHidDevice : public IHidDevice {
public:
    LinuxHidDevice(hid_device *device, int writeFd, HidDeviceInfo info)
        : m_device(device), m_writeFd(writeFd), m_info(std::move(info)) {}
    ~LinuxHidDevice() override
    {
        hid_close(m_device);
        ::close(m_writeFd);
    }

    HidDeviceInfo info() const override { return m_info; }

    bool writeOutputReport(const quint8 *report, int length, int timeoutMs) override
    {
        if (length <= 0)
            return false;
        return LinuxHidBackend::writeWhenWritable(m_writeFd, report, length, timeoutMs);
    }

    int pollInputReport(quint8 *buffer, int capacity) override
    {
        if (capacity <= 0)
            return 0;
        const int got = hid_read_timeout(m_device, buffer, static_cast<size_t>(capacity), 0);
        return got < 0 ? -1 : std::min(got, capacity);
    }

    void flushInput() override
    {
        quint8 scratch[256];
        for (int i = 0; i < 1024; ++i) {   // bounded: a device cannot keep us here
            if (hid_read_timeout(m_device, scratch, sizeof scratch, 0) <= 0)
                return;
        }
    }

private:
    hid_device *m_device;
    int m_writeFd;
    HidDeviceInfo m_info;
};

// Watches udev for the bridge. An arrival is announced when its hidraw node
// exists (so an enumeration right after the notice finds it): the hidraw
// add event, whose parent HID device carries HID_ID "bus:vendor:product".
// A removal is announced by the USB device's remove event, whose PRODUCT
// ("vid/pid/bcd" in hex) survives the device.
class UdevWatch : public IHidWatch {
public:
    UdevWatch(quint16 vendorId, quint16 productId, IHidBackend::Notice notice)
        : m_vendorId(vendorId), m_productId(productId), m_notice(std::move(notice))
    {
        m_udev = udev_new();
        if (!m_udev)
            return;
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
        if (!m_monitor)
            return;
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr);
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", "usb_device");
        if (udev_monitor_enable_receiving(m_monitor) < 0)
            return;
        m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { receive(); });
    }

    ~UdevWatch() override
    {
        delete m_notifier;
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        if (m_udev)
            udev_unref(m_udev);
    }

private:
    void receive()
    {
        udev_device *device = udev_monitor_receive_device(m_monitor);
        if (!device)
            return;
        const QByteArray action = udev_device_get_action(device);
        const QByteArray subsystem = udev_device_get_subsystem(device);
        HidDeviceInfo info;
        bool matched = false;
        bool added = false;
        if (subsystem == "hidraw" && action == "add") {
            udev_device *hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
            matched = hid && LinuxHidBackend::parseHidId(udev_device_get_property_value(hid, "HID_ID"),
                                        info.vendorId, info.productId);
            if (matched) {
                info.serialNumber = QString::fromUtf8(udev_device_get_property_value(hid, "HID_UNIQ"));
                info.path = udev_device_get_devnode(device);
            }
            added = true;
        } else if (subsystem == "usb" && action == "remove") {
            matched = LinuxHidBackend::parseUsbProduct(udev_device_get_property_value(device, "PRODUCT"),
                                   info.vendorId, info.productId);
            info.path = udev_device_get_syspath(device);
        }
        udev_device_unref(device);   // also releases the parent
        if (matched && info.vendorId == m_vendorId && info.productId == m_productId)
            m_notice(info, added);
    }

    quint16 m_vendorId;
    quint16 m_productId;
    IHidBackend::Notice m_notice;
    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace

bool LinuxHidBackend::parseHidId(const QByteArray &text, quint16 &vendorId, quint16 &productId)
{
    const QList<QByteArray> parts = text.split(':');
    if (parts.size() != 3)
        return false;
    bool okVendor = false, okProduct = false;
    const uint v = parts[1].toUInt(&okVendor, 16);
    const uint p = parts[2].toUInt(&okProduct, 16);
    if (!okVendor || !okProduct || v > 0xFFFF || p > 0xFFFF)
        return false;
    vendorId = quint16(v);
    productId = quint16(p);
    return true;
}

bool LinuxHidBackend::parseUsbProduct(const QByteArray &text, quint16 &vendorId, quint16 &productId)
{
    const QList<QByteArray> parts = text.split('/');
    if (parts.size() != 3)
        return false;
    bool okVendor = false, okProduct = false;
    const uint v = parts[0].toUInt(&okVendor, 16);
    const uint p = parts[1].toUInt(&okProduct, 16);
    if (!okVendor || !okProduct || v > 0xFFFF || p > 0xFFFF)
        return false;
    vendorId = quint16(v);
    productId = quint16(p);
    return true;
}

bool LinuxHidBackend::writeWhenWritable(int fd, const quint8 *data, int length, int timeoutMs)
{
    if (fd < 0 || length <= 0)
        return false;
    for (int waited = 0;; waited += kWritePollMs) {
        pollfd entry{fd, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&entry, 1, 0);
        } while (ready < 0 && errno == EINTR);
        if (ready < 0 || (entry.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
        if (entry.revents & POLLOUT)
            break;
        if (waited >= timeoutMs)
            return false;
        programClock().sleepMs(std::min(kWritePollMs, timeoutMs - waited));
    }
    ssize_t written;
    do {
        written = ::write(fd, data, static_cast<size_t>(length));
    } while (written < 0 && errno == EINTR);
    return written == length;
}

LinuxHidBackend::LinuxHidBackend() = default;

LinuxHidBackend::~LinuxHidBackend()
{
    if (m_initialised)
        hid_exit();
}

QVector<HidDeviceInfo> LinuxHidBackend::enumerate(quint16 vendorId, quint16 productId)
{
    QVector<HidDeviceInfo> found;
    if (!m_initialised)
        m_initialised = hid_init() == 0;
    if (!m_initialised)
        return found;
    hid_device_info *list = hid_enumerate(vendorId, productId);
    for (hid_device_info *d = list; d; d = d->next) {
        // hid_enumerate(0, 0) lists everything; keep exact matches only.
        if (d->vendor_id != vendorId || d->product_id != productId || !d->path)
            continue;
        HidDeviceInfo info;
        info.path = d->path;
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.manufacturer = fromWide(d->manufacturer_string);
        info.product = fromWide(d->product_string);
        info.serialNumber = fromWide(d->serial_number);
        const HidReportSizes sizes = reportSizesOf(info.path);
        if (sizes.valid) {
            info.maxInputReportSize = sizes.maxInput;
            info.maxOutputReportSize = sizes.maxOutput;
        }
        found.append(info);
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<IHidDevice> LinuxHidBackend::open(const QByteArray &path)
{
    if (!m_initialised)
        m_initialised = hid_init() == 0;
    if (!m_initialised)
        return nullptr;
    hid_device *device = hid_open_path(path.constData());
    if (!device)
        return nullptr;
    int writeFd;
    do {
        writeFd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
    } while (writeFd < 0 && errno == EINTR);
    if (writeFd < 0) {
        hid_close(device);
        return nullptr;
    }
    HidDeviceInfo info;
    info.path = path;
    const HidReportSizes sizes = reportSizesOf(path);
    info.maxInputReportSize = sizes.maxInput;
    info.maxOutputReportSize = sizes.maxOutput;
    return std::make_unique<LinuxHidDevice>(device, writeFd, info);
}

std::unique_ptr<IHidWatch> LinuxHidBackend::watch(quint16 vendorId, quint16 productId, Notice notice)
{
    return std::make_unique<UdevWatch>(vendorId, productId, std::move(notice));
}

} // namespace pz
