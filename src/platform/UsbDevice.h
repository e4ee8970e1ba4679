#pragma once
// The raw USB seam under the Spyder3/4 driver: list the devices of a vendor,
// open one, read its configuration descriptor, select the configuration,
// claim an interface, and move data with vendor control transfers and bulk
// reads. Every call is synchronous and bounded by its time-out. The Linux
// backend uses libusb-1.0; the simulated sensors implement the same seam, so
// the driver above cannot tell them apart.
//
// Statuses are libusb's numbers (UsbStatus below): 0 is success, negative
// values name the failure. The driver keeps them as its system errors.

#include <QByteArray>
#include <QVector>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace pz {

// libusb's status numbers, so a code read from a log means the same thing
// whichever backend produced it.
enum UsbStatus {
    kUsbSuccess = 0,
    kUsbErrorIo = -1,
    kUsbErrorInvalidParam = -2,
    kUsbErrorAccess = -3,       // no permission to open the device node
    kUsbErrorNoDevice = -4,     // the device has gone
    kUsbErrorNotFound = -5,
    kUsbErrorBusy = -6,         // another program holds the device
    kUsbErrorTimeout = -7,
    kUsbErrorOverflow = -8,
    kUsbErrorPipe = -9,         // stall: the endpoint or request was refused
    kUsbErrorInterrupted = -10,
    kUsbErrorNoMem = -11,
    kUsbErrorNotSupported = -12,
    kUsbErrorOther = -99,
};

// Request type bits of a control transfer's bmRequestType.
constexpr quint8 kUsbDirectionIn = 0x80;
constexpr quint8 kUsbTypeVendor = 0x40;
// Endpoint descriptor bits.
constexpr quint8 kUsbEndpointIn = 0x80;
constexpr quint8 kUsbTransferTypeMask = 0x03;
constexpr quint8 kUsbTransferTypeBulk = 0x02;

struct UsbDeviceInfo {
    QByteArray path;            // names the device while it stays plugged in
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint16 releaseNumber = 0;  // bcdDevice
    quint8 deviceClass = 0;
    quint8 deviceSubClass = 0;
};

struct UsbEndpointDescriptor {
    quint8 address = 0;         // bit 7 set: IN
    quint8 attributes = 0;      // bits 0-1: transfer type
    quint16 maxPacketSize = 0;

    bool isBulkIn() const
    {
        return (address & kUsbEndpointIn) &&
               (attributes & kUsbTransferTypeMask) == kUsbTransferTypeBulk;
    }
};

struct UsbInterfaceDescriptor {
    quint8 number = 0;
    quint8 alternateSetting = 0;
    quint8 interfaceClass = 0;
    quint8 interfaceSubClass = 0;
    quint8 interfaceProtocol = 0;
    QVector<UsbEndpointDescriptor> endpoints;
};

struct UsbConfigDescriptor {
    quint8 configurationValue = 0;
    QVector<UsbInterfaceDescriptor> interfaces;   // every alternate setting
};

// One opened device. Closing happens on destruction (claimed interfaces are
// released first).
class IUsbDevice {
public:
    using RemovalNotice = std::function<void()>;

    virtual ~IUsbDevice() = default;
    virtual UsbDeviceInfo info() const = 0;

    // The configuration descriptor at index (0 = the first); a status.
    virtual int configDescriptor(int index, UsbConfigDescriptor &config) = 0;
    virtual int setConfiguration(int configurationValue) = 0;
    // kUsbErrorBusy when another program has claimed it.
    virtual int claimInterface(int interfaceNumber) = 0;

    // One control transfer of length bytes through data (in or out as
    // requestType says), waiting at most timeoutMs. Returns the bytes
    // moved (0 or more), or a negative status.
    virtual int controlTransfer(quint8 requestType, quint8 request, quint16 value,
                                quint16 index, quint8 *data, quint16 length,
                                unsigned timeoutMs) = 0;
    // One read of at most length bytes from a bulk IN endpoint, waiting at
    // most timeoutMs. Returns a status and puts the bytes read into
    // transferred; when nothing came in time: kUsbErrorTimeout and 0.
    virtual int bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                         unsigned timeoutMs) = 0;
    virtual int clearHalt(quint8 endpoint) = 0;
    virtual int reset() = 0;

    // Called once when the device is unplugged, on whichever thread is then
    // waiting in a transfer of this device (or the thread that unplugs a
    // simulated one). From then on every call answers kUsbErrorNoDevice.
    virtual void setRemovalNotice(RemovalNotice notice) = 0;
};

class IUsbBackend {
public:
    virtual ~IUsbBackend() = default;
    // Devices of the vendor present now (none when USB is unavailable).
    virtual QVector<UsbDeviceInfo> listDevices(quint16 vendorId) = 0;
    // Opens a listed device: kUsbSuccess with device set, or kUsbErrorAccess,
    // kUsbErrorBusy, kUsbErrorNoDevice (gone since it was listed) or another
    // status, with device left empty.
    virtual int open(const UsbDeviceInfo &info, std::unique_ptr<IUsbDevice> &device) = 0;
};

// The backend in force: the libusb one unless another was installed.
IUsbBackend &usbBackend();
// Installs another backend (not owned); nullptr restores the default.
void setUsbBackend(IUsbBackend *backend);

class ScopedUsbBackend {
public:
    explicit ScopedUsbBackend(IUsbBackend *backend);
    ~ScopedUsbBackend();
    ScopedUsbBackend(const ScopedUsbBackend &) = delete;
    ScopedUsbBackend &operator=(const ScopedUsbBackend &) = delete;

private:
    IUsbBackend *m_previous;
};

} // namespace pz
