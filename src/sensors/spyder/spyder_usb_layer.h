#pragma once
// The lower half of the Spyder3/4 driver: finds the sensor on USB (vendor
// 0x085C), opens and configures it through the raw USB seam
// (src/platform/UsbDevice.h), and carries out its vendor control requests and
// bulk reads. Each transfer is one synchronous, time-bounded call; a failed
// one is tried at most 3 times before the device has first answered and
// once afterwards, and never once the device has been unplugged.
//
// Plain functions over module state for a single device, as the measurement
// interface above (spyder_dc.h) expects. Every function returns 1 on
// success and 0 on failure, leaving the code in _lastError_; when that code
// is a USB status (libusb's numbers), _sysErr_ is 1.

#include "UsbDevice.h"

#include <QtGlobal>
#include <atomic>
#include <memory>

namespace spyder {

constexpr quint16 kDatacolorVendorId = 0x085C;
constexpr quint16 kSpyder3ProductId = 0x0300;
constexpr quint16 kSpyder4ProductId = 0x0400;

// The interface the driver talks to: vendor class, subclass 0, protocol 0.
constexpr quint8 kSpyderInterfaceClass = 0xFF;
constexpr quint8 kSpyderInterfaceSubClass = 0;
constexpr quint8 kSpyderInterfaceProtocol = 0;

// Failures before the device has answered once are tried this often.
constexpr int kFirstRetryCount = 3;
// Exclusive access by another program: tried this many more times, 1 s apart.
constexpr int kBusyRetries = 5;
constexpr int kBusyRetryWaitMs = 1000;

// Codes of this layer (beside USB statuses).
constexpr qint32 kErrNoDevice = 0x10001;        // no handle; device not found or not opened
constexpr qint32 kErrBadArgument = 0x10002;     // EEPROM transfer of length 0, null buffer
constexpr qint32 kErrShortWrite = 0x10003;      // EEPROM write moved fewer bytes than asked
constexpr qint32 kErrShortReply = 0x10004;      // temperature, configuration, ambient replies
constexpr qint32 kErrShortRead = 0x10005;       // EEPROM or register read moved too few bytes
constexpr qint32 kErrNoStatusPacket = -78911;   // measurement status packet never came
constexpr qint32 kErrBadStatusPacket = -78922;  // status packet not 8 bytes long
constexpr qint32 kErrBadDataPacket = -78933;    // data packet missing, short, or stamps reversed
// Transfer-routine codes: no device for a control transfer, no interface
// for a bulk read, an unknown operation, transfers nested on one record.
constexpr qint32 kErrNoDeviceInterface = 0x100EE;
constexpr qint32 kErrNoInterface = 0x100DD;
constexpr qint32 kErrUnknownOperation = 0x100CC;
constexpr qint32 kErrNested = -6999;

// Operations and state flags of the transfer record.
enum : quint32 {
    kOpLaunch = 2,
    kOpControl = 6,
    kOpBulkRead = 7,
    kOpMask = 0x0FFF,
    kStateFinished = 0x1000,
    kStateFailed = 0x2000,
    kStateInFlight = 0x8000,
};

// The description of one control request as the request functions build it.
// Its size is 10 bytes, handed over beside it.
struct VendorRequest {
    quint8 direction = 0;   // 1 device-to-host, 0 host-to-device
    quint8 type = 2;        // 2 vendor
    quint8 recipient = 0;   // 0 device
    quint8 reserved = 0;
    quint8 request = 0;
    quint16 value = 0;
    quint16 index = 0;
};
static_assert(sizeof(VendorRequest) == 10, "the request record is 10 bytes");

// The one record through which every transfer runs.
struct ExerciseRecord {
    // The setup of the current control transfer.
    quint8 bmRequestType = 0;
    quint8 bRequest = 0;
    quint16 wValue = 0;
    quint16 wIndex = 0;
    quint16 wLength = 0;
    quint8 *pData = nullptr;
    quint32 wLenDone = 0;

    quint32 operationAndState = 0;
    quint32 vendorId = kDatacolorVendorId;
    quint32 productId = 0;
    std::unique_ptr<pz::IUsbDevice> device;
    int interfaceNumber = -1;      // claimed interface, -1 when none
    quint8 configurationValue = 0;
    quint8 bulkPipe = 0;           // bulk IN endpoint address, 0 when none
    qint32 retryCount = 0;
    qint32 nestingCount = 0;
    quint8 *bulkBuffer = nullptr;
    quint32 bulkLength = 0;
    quint32 bytesDone = 0;
    unsigned timeoutMs = 0;        // bound of the current transfer
    quint8 wantedClass = kSpyderInterfaceClass;
    quint8 wantedSubClass = kSpyderInterfaceSubClass;
    quint8 wantedProtocol = kSpyderInterfaceProtocol;
    std::atomic<bool> deviceRemoved{false};
    bool busy = false;
    qint32 result = 0;             // failing status of the last transfer
};

// Module state.
extern ExerciseRecord myExercisePB;
extern qint32 devHandle;            // 1; the transfer functions refuse 0
extern qint32 baseTimeout;          // ms handed to the transfer functions
extern qint32 _lastError_;
extern qint32 _sysErr_;
extern quint32 _gClassicMayBeRunning;

// The transfer routine and its completion, as one synchronous step.
int InitiateTransactionProc(ExerciseRecord &pb);
void IOCompletionProc(ExerciseRecord &pb, int status, quint32 bytes);

} // namespace spyder

// Finds and opens the sensor with the product id: 1, and the busy flag
// handed out, or 0 with _lastError_ 0x10001 and the open status in _sysErr_.
int LaunchSpyder(quint32 *classicFlag, quint16 product);
// Releases the sensor (interface, reset, close). Always 1.
int SpyderShutDown();

// One control transfer: 1 and the bytes moved in *done, or 0. The time-out
// bounds the wait in milliseconds.
int SendVendorRequest(qint32 handle, const spyder::VendorRequest *request, int requestSize,
                      quint8 *data, quint16 length, qint32 timeoutMs, quint32 *done);
// One read of the bulk IN pipe: 1 and the bytes read in *done (0 when
// nothing came within the time-out), or 0.
int ReadBulkPipe(qint32 handle, quint8 *buffer, quint32 length, qint32 timeoutMs,
                 quint32 *done);
// Copies _lastError_ and _sysErr_ out (either pointer may be null).
void GetLastDriverError(qint32 *error, qint32 *system);
