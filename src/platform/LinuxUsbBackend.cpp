#include "LinuxUsbBackend.h"

#include <QMutexLocker>
#include <QSet>

#include <libusb.h>

#include <atomic>

namespace pz {

namespace {

class LinuxUsbDevice : public IUsbDevice {
public:
    LinuxUsbDevice(std::shared_ptr<libusb_context> context, libusb_device_handle *handle,
                   UsbDeviceInfo info)
        : m_context(std::move(context)), m_handle(handle), m_info(std::move(info))
    {
        if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)) {
            const int rc = libusb_hotplug_register_callback(
                m_context.get(), LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT, LIBUSB_HOTPLUG_NO_FLAGS,
                m_info.vendorId, m_info.productId, LIBUSB_HOTPLUG_MATCH_ANY, &LinuxUsbDevice::left,
                this, &m_hotplug);
            m_hotplugRegistered = rc == LIBUSB_SUCCESS;
        }
    }

    ~LinuxUsbDevice() override
    {
        if (m_hotplugRegistered)
            libusb_hotplug_deregister_callback(m_context.get(), m_hotplug);
        for (int number : qAsConst(m_claimed))
            libusb_release_interface(m_handle, number);
        libusb_close(m_handle);
    }

    UsbDeviceInfo info() const override { return m_info; }

    int configDescriptor(int index, UsbConfigDescriptor &config) override
    {
        if (m_removed)
            return kUsbErrorNoDevice;
        libusb_config_descriptor *raw = nullptr;
        const int rc = libusb_get_config_descriptor(libusb_get_device(m_handle),
                                                    quint8(index), &raw);
        if (rc != LIBUSB_SUCCESS)
            return rc;
        config = UsbConfigDescriptor();
        config.configurationValue = raw->bConfigurationValue;
        for (int i = 0; i < raw->bNumInterfaces; ++i) {
            const libusb_interface &itf = raw->interface[i];
            for (int a = 0; a < itf.num_altsetting; ++a) {
                const libusb_interface_descriptor &alt = itf.altsetting[a];
                UsbInterfaceDescriptor d;
                d.number = alt.bInterfaceNumber;
                d.alternateSetting = alt.bAlternateSetting;
                d.interfaceClass = alt.bInterfaceClass;
                d.interfaceSubClass = alt.bInterfaceSubClass;
                d.interfaceProtocol = alt.bInterfaceProtocol;
                for (int e = 0; e < alt.bNumEndpoints; ++e) {
                    const libusb_endpoint_descriptor &ep = alt.endpoint[e];
                    d.endpoints.append({ep.bEndpointAddress, ep.bmAttributes, ep.wMaxPacketSize});
                }
                config.interfaces.append(d);
            }
        }
        libusb_free_config_descriptor(raw);
        return kUsbSuccess;
    }

    int setConfiguration(int configurationValue) override
    {
        if (m_removed)
            return kUsbErrorNoDevice;
        // Selecting the configuration already in force would reset the
        // device's interfaces for nothing.
        int current = -1;
        if (libusb_get_configuration(m_handle, &current) == LIBUSB_SUCCESS &&
            current == configurationValue)
            return kUsbSuccess;
        return libusb_set_configuration(m_handle, configurationValue);
    }

    int claimInterface(int interfaceNumber) override
    {
        if (m_removed)
            return kUsbErrorNoDevice;
        // A kernel driver bound to the interface is detached while we hold
        // it and attached again on release (not every platform can).
        libusb_set_auto_detach_kernel_driver(m_handle, 1);
        const int rc = libusb_claim_interface(m_handle, interfaceNumber);
        if (rc == LIBUSB_SUCCESS)
            m_claimed.insert(interfaceNumber);
        return rc;
    }

    int controlTransfer(quint8 requestType, quint8 request, quint16 value, quint16 index,
                        quint8 *data, quint16 length, unsigned timeoutMs) override
    {
        if (m_removed)
            return kUsbErrorNoDevice;
        const int rc = libusb_control_transfer(m_handle, requestType, request, value, index,
                                               data, length, timeoutMs);
        return m_removed ? kUsbErrorNoDevice : rc;
    }

    int bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                 unsigned timeoutMs) override
    {
        transferred = 0;
        if (m_removed)
            return kUsbErrorNoDevice;
        const int rc = libusb_bulk_transfer(m_handle, endpoint, buffer, length, &transferred,
                                            timeoutMs);
        return m_removed ? kUsbErrorNoDevice : rc;
    }

    int clearHalt(quint8 endpoint) override
    {
        return m_removed ? kUsbErrorNoDevice : libusb_clear_halt(m_handle, endpoint);
    }

    int reset() override
    {
        return m_removed ? kUsbErrorNoDevice : libusb_reset_device(m_handle);
    }

    void setRemovalNotice(RemovalNotice notice) override { m_notice = std::move(notice); }

private:
    static int LIBUSB_CALL left(libusb_context *, libusb_device *device,
                                libusb_hotplug_event, void *self)
    {
        auto *d = static_cast<LinuxUsbDevice *>(self);
        if (device != libusb_get_device(d->m_handle) || d->m_removed)
            return 0;
        d->m_removed = true;
        if (d->m_notice)
            d->m_notice();
        return 0;
    }

    std::shared_ptr<libusb_context> m_context;
    libusb_device_handle *m_handle;
    UsbDeviceInfo m_info;
    libusb_hotplug_callback_handle m_hotplug = 0;
    bool m_hotplugRegistered = false;
    std::atomic<bool> m_removed{false};
    RemovalNotice m_notice;
    QSet<int> m_claimed;
};

} // namespace

LinuxUsbBackend::LinuxUsbBackend() = default;

LinuxUsbBackend::~LinuxUsbBackend() = default;

std::shared_ptr<libusb_context> LinuxUsbBackend::context()
{
    QMutexLocker lock(&m_lock);
    if (!m_initTried) {
        m_initTried = true;
        libusb_context *ctx = nullptr;
        if (libusb_init(&ctx) == LIBUSB_SUCCESS)
            m_context.reset(ctx, libusb_exit);
    }
    return m_context;
}

QByteArray LinuxUsbBackend::pathOf(int bus, int address)
{
    return QByteArray::number(bus) + '-' + QByteArray::number(address);
}

bool LinuxUsbBackend::parsePath(const QByteArray &path, int &bus, int &address)
{
    const QList<QByteArray> parts = path.split('-');
    if (parts.size() != 2)
        return false;
    bool okBus = false, okAddress = false;
    bus = parts[0].toInt(&okBus);
    address = parts[1].toInt(&okAddress);
    return okBus && okAddress && bus >= 0 && bus <= 255 && address >= 0 && address <= 255;
}

QVector<UsbDeviceInfo> LinuxUsbBackend::listDevices(quint16 vendorId)
{
    QVector<UsbDeviceInfo> found;
    const std::shared_ptr<libusb_context> ctx = context();
    if (!ctx)
        return found;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(ctx.get(), &list);
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor d;
        if (libusb_get_device_descriptor(list[i], &d) != LIBUSB_SUCCESS || d.idVendor != vendorId)
            continue;
        UsbDeviceInfo info;
        info.path = pathOf(libusb_get_bus_number(list[i]), libusb_get_device_address(list[i]));
        info.vendorId = d.idVendor;
        info.productId = d.idProduct;
        info.releaseNumber = d.bcdDevice;
        info.deviceClass = d.bDeviceClass;
        info.deviceSubClass = d.bDeviceSubClass;
        found.append(info);
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return found;
}

int LinuxUsbBackend::open(const UsbDeviceInfo &info, std::unique_ptr<IUsbDevice> &device)
{
    device.reset();
    int bus = 0, address = 0;
    if (!parsePath(info.path, bus, address))
        return kUsbErrorInvalidParam;
    const std::shared_ptr<libusb_context> ctx = context();
    if (!ctx)
        return kUsbErrorNoDevice;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(ctx.get(), &list);
    int rc = kUsbErrorNoDevice;
    for (ssize_t i = 0; i < count; ++i) {
        if (libusb_get_bus_number(list[i]) != bus || libusb_get_device_address(list[i]) != address)
            continue;
        libusb_device_handle *handle = nullptr;
        rc = libusb_open(list[i], &handle);
        if (rc == LIBUSB_SUCCESS)
            device = std::make_unique<LinuxUsbDevice>(ctx, handle, info);
        break;
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return rc;
}

} // namespace pz
