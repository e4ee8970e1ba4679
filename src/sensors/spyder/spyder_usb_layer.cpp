#include "spyder_usb_layer.h"

#include "Clock.h"

namespace spyder {

ExerciseRecord myExercisePB;
qint32 devHandle = 1;
qint32 baseTimeout = 5000;
qint32 _lastError_ = 0;
qint32 _sysErr_ = 0;
quint32 _gClassicMayBeRunning = 0;

namespace {

void releaseDevice(ExerciseRecord &pb)
{
    pb.device.reset();   // releases the claimed interface and closes
    pb.interfaceNumber = -1;
    pb.bulkPipe = 0;
}

void finish(ExerciseRecord &pb, int result)
{
    pb.operationAndState |= kStateFinished;
    pb.result = result;
}

// "Pipe 1": the interface's first bulk IN endpoint.
int FindEndpoints(ExerciseRecord &pb, const pz::UsbInterfaceDescriptor &itf)
{
    for (const pz::UsbEndpointDescriptor &ep : itf.endpoints) {
        if (ep.isBulkIn()) {
            pb.bulkPipe = ep.address;
            return pz::kUsbSuccess;
        }
    }
    return pz::kUsbErrorNotFound;
}

// Claims the first interface of the wanted class and subclass.
int FindInterfaces(ExerciseRecord &pb, const pz::UsbConfigDescriptor &config)
{
    for (const pz::UsbInterfaceDescriptor &itf : config.interfaces) {
        if (itf.interfaceClass != pb.wantedClass || itf.interfaceSubClass != pb.wantedSubClass)
            continue;
        const int status = pb.device->claimInterface(itf.number);
        if (status != pz::kUsbSuccess)
            return status;
        pb.interfaceNumber = itf.number;
        return FindEndpoints(pb, itf);
    }
    return pz::kUsbErrorNotFound;
}

// Selects the first configuration; hands its descriptor back.
int ConfigureDevice(ExerciseRecord &pb, pz::UsbConfigDescriptor &config)
{
    int status = pb.device->configDescriptor(0, config);
    if (status == pz::kUsbSuccess)
        status = pb.device->setConfiguration(config.configurationValue);
    if (status == pz::kUsbSuccess)
        pb.configurationValue = config.configurationValue;
    return status;
}

// One attempt at a listed device: open, configure, claim. A device that
// fails for any reason but another program holding it is reset and let go.
int openAndClaim(ExerciseRecord &pb, const pz::UsbDeviceInfo &info)
{
    std::unique_ptr<pz::IUsbDevice> device;
    int status = pz::usbBackend().open(info, device);
    if (status != pz::kUsbSuccess)
        return status;
    pb.device = std::move(device);
    pb.deviceRemoved = false;
    ExerciseRecord *record = &pb;
    pb.device->setRemovalNotice([record] { record->deviceRemoved = true; });

    pz::UsbConfigDescriptor config;
    status = ConfigureDevice(pb, config);
    if (status == pz::kUsbSuccess)
        status = FindInterfaces(pb, config);
    if (status != pz::kUsbSuccess) {
        if (status != pz::kUsbErrorBusy)
            pb.device->reset();
        releaseDevice(pb);
    }
    return status;
}

// Tries each matching device in turn; another program's exclusive hold is
// waited out a few times. Returns 0 with the device open, or the last
// failing status.
int RawDeviceAdded(ExerciseRecord &pb, const QVector<pz::UsbDeviceInfo> &devices)
{
    int last = pz::kUsbErrorNotFound;
    for (const pz::UsbDeviceInfo &info : devices) {
        if (info.vendorId != pb.vendorId || info.productId != pb.productId)
            continue;
        int status = openAndClaim(pb, info);
        for (int i = 0; status == pz::kUsbErrorBusy && i < kBusyRetries; ++i) {
            status = openAndClaim(pb, info);
            if (status == pz::kUsbErrorBusy) {
                _gClassicMayBeRunning = 1;
                WaitMS(kBusyRetryWaitMs);
            }
        }
        if (status == pz::kUsbSuccess)
            return status;
        last = status;
    }
    return last;
}

int InitializeSpyder(ExerciseRecord &pb)
{
    QVector<pz::UsbDeviceInfo> candidates;
    for (const pz::UsbDeviceInfo &info : pz::usbBackend().listDevices(quint16(pb.vendorId))) {
        if (info.deviceSubClass == 0)
            candidates.append(info);
    }
    return RawDeviceAdded(pb, candidates);
}

// Issues the record's transfer once.
void issue(ExerciseRecord &pb, quint32 op)
{
    if (++pb.nestingCount < 0 || pb.nestingCount > 1)
        pb.result = kErrNested;
    pb.operationAndState |= kStateInFlight;
    pb.busy = true;
    if (op == kOpControl) {
        const int rc = pb.device->controlTransfer(pb.bmRequestType, pb.bRequest, pb.wValue,
                                                  pb.wIndex, pb.pData, pb.wLength, pb.timeoutMs);
        IOCompletionProc(pb, rc < 0 ? rc : 0, rc < 0 ? 0 : quint32(rc));
    } else {
        int got = 0;
        const int status = pb.device->bulkRead(pb.bulkPipe, pb.bulkBuffer, int(pb.bulkLength),
                                               got, pb.timeoutMs);
        IOCompletionProc(pb, status, quint32(qMax(got, 0)));
    }
}

// Runs the transfer the record is set up for: 1 and the bytes moved (the
// record's field `moved`), or 0 with the failing status kept. A transfer
// that failed is a failure, not 0 bytes.
int runTransfer(ExerciseRecord &pb, qint32 timeoutMs, quint32 ExerciseRecord::*moved,
                quint32 *done)
{
    pb.nestingCount = 0;
    pb.result = 0;
    pb.timeoutMs = timeoutMs > 0 ? unsigned(timeoutMs) : 1u;   // libusb reads 0 as "for ever"
    int status = InitiateTransactionProc(pb);
    if (status == 0)
        status = pb.result;
    if (status != 0) {
        _sysErr_ = 1;
        _lastError_ = status;
        return 0;
    }
    if (done)
        *done = pb.*moved;
    return 1;
}

} // namespace

int InitiateTransactionProc(ExerciseRecord &pb)
{
    const quint32 op = pb.operationAndState & kOpMask;
    if (op == kOpLaunch) {
        const int status = InitializeSpyder(pb);
        if (status != pz::kUsbSuccess) {
            pb.operationAndState = kOpLaunch;
            finish(pb, status);
        }
        return status;
    }
    if (op != kOpControl && op != kOpBulkRead) {
        pb.operationAndState = op;
        finish(pb, kErrNested);
        return kErrUnknownOperation;
    }
    if (!pb.device)
        return op == kOpControl ? kErrNoDeviceInterface : kErrNoInterface;
    if (op == kOpBulkRead && pb.bulkPipe == 0)
        return kErrNoInterface;

    pb.operationAndState = op;
    while (!(pb.operationAndState & kStateFinished)) {
        if (pb.deviceRemoved) {
            finish(pb, pz::kUsbErrorNoDevice);
            break;
        }
        issue(pb, op);
    }
    return 0;
}

void IOCompletionProc(ExerciseRecord &pb, int status, quint32 bytes)
{
    if (--pb.nestingCount < 0 || pb.nestingCount > 1)
        pb.result = kErrNested;
    const quint32 op = pb.operationAndState & kOpMask;
    // A bulk read that ran out of time moved what came (often nothing): the
    // caller decides what a short packet means.
    if (op == kOpBulkRead && status == pz::kUsbErrorTimeout)
        status = pz::kUsbSuccess;
    if (status == pz::kUsbErrorNoDevice)
        pb.deviceRemoved = true;

    if (status != pz::kUsbSuccess) {
        pb.operationAndState |= kStateFailed;
        if (op == kOpBulkRead && status == pz::kUsbErrorPipe)
            pb.device->clearHalt(pb.bulkPipe);
        if (--pb.retryCount <= 0 || pb.deviceRemoved)
            finish(pb, status);
    } else {
        pb.operationAndState &= ~quint32(kStateFailed);
        pb.retryCount = 1;
        if (op == kOpControl) {
            pb.wLenDone += bytes;
        } else {
            pb.bytesDone = bytes;
        }
        finish(pb, pb.result);
    }
    pb.operationAndState &= ~quint32(kStateInFlight);
    pb.busy = false;
}

} // namespace spyder

using namespace spyder;

int LaunchSpyder(quint32 *classicFlag, quint16 product)
{
    ExerciseRecord &pb = myExercisePB;
    _gClassicMayBeRunning = 0;
    releaseDevice(pb);
    pb.vendorId = kDatacolorVendorId;
    pb.productId = product;
    pb.operationAndState = kOpLaunch;
    pb.result = 0;
    pb.nestingCount = 0;
    pb.retryCount = kFirstRetryCount;
    pb.deviceRemoved = false;

    if (InitiateTransactionProc(pb) == pz::kUsbSuccess) {
        if (classicFlag)
            *classicFlag = _gClassicMayBeRunning;
        return 1;
    }
    _lastError_ = kErrNoDevice;
    _sysErr_ = pb.result;
    return 0;
}

int SpyderShutDown()
{
    ExerciseRecord &pb = myExercisePB;
    if (pb.device)
        pb.device->reset();
    releaseDevice(pb);
    return 1;
}

int SendVendorRequest(qint32 handle, const VendorRequest *request, int requestSize,
                      quint8 *data, quint16 length, qint32 timeoutMs, quint32 *done)
{
    _lastError_ = 0;
    _sysErr_ = 0;
    if (handle == 0)
        return 0;
    if (!request || requestSize < int(sizeof(VendorRequest)) || (length && !data)) {
        _lastError_ = kErrBadArgument;
        return 0;
    }
    ExerciseRecord &pb = myExercisePB;
    pb.operationAndState = kOpControl;
    pb.wLenDone = 0;
    pb.pData = data;
    pb.wLength = length;
    pb.wValue = request->value;
    pb.wIndex = request->index;
    pb.bRequest = request->request;
    pb.bmRequestType = quint8(request->direction * 128 + (request->type & 3) * 32 +
                              (request->recipient & 0x1F));
    return runTransfer(pb, timeoutMs, &ExerciseRecord::wLenDone, done);
}

int ReadBulkPipe(qint32 handle, quint8 *buffer, quint32 length, qint32 timeoutMs, quint32 *done)
{
    _lastError_ = 0;
    _sysErr_ = 0;
    if (handle == 0) {
        _lastError_ = kErrNoDevice;
        return 0;
    }
    if (!buffer && length) {
        _lastError_ = kErrBadArgument;
        return 0;
    }
    ExerciseRecord &pb = myExercisePB;
    pb.operationAndState = kOpBulkRead;
    pb.bulkBuffer = buffer;
    pb.bulkLength = length;
    pb.bytesDone = 0;
    return runTransfer(pb, timeoutMs, &ExerciseRecord::bytesDone, done);
}

void GetLastDriverError(qint32 *error, qint32 *system)
{
    if (error)
        *error = _lastError_;
    if (system)
        *system = _sysErr_;
}
