#pragma once
// The i1 Display Pro library seam: the calls the i1 Display Pro adapter makes
// into the vendor's closed library, with types of our own. The vendor's
// library does not exist on Linux, so the default implementation is an
// absent library: Initialize fails and nothing is ever found. The simulated
// device (SimI1d3Library) implements the same seam; a future real backend
// would translate the vendor's records (firmware text at byte 34 of the
// device information, the entry key at byte 752 of a calibration entry) into
// these types.
//
// Every call answers a status: kI1d3Success, kI1d3DeviceLost or
// kI1d3DeviceGone when the device was unplugged (the adapter re-initialises
// once), anything else is a failure of the library or the device.
//
// The library is process-wide, as the vendor's is; calls come from whichever
// thread drives the sensor, one at a time.

#include "ScopedSeam.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

namespace pz {

using I1d3Handle = quint32;   // 0: no device

constexpr int kI1d3Success = 0;
constexpr int kI1d3DeviceLost = -523;
constexpr int kI1d3DeviceGone = -101;
// The absent library's answer to every call.
constexpr int kI1d3LibraryMissing = -1;

// The longest serial number the device gives, in characters.
constexpr int kI1d3SerialLength = 20;

// One calibration the device carries (a display technology's spectral
// correction). The adapter picks one by its key and hands it back unchanged.
struct I1d3CalibrationEntry {
    quint16 key = 0;
    QString name;   // the library's description; not used by the adapter
};

struct I1d3DeviceInfo {
    QByteArray firmwareVersion;   // e.g. "v2.5"
    bool makersVariant = false;   // one of Orvane's own devices
};

struct I1d3XYZ {
    double X = 0, Y = 0, Z = 0;   // Y in cd/m²
};

struct I1d3Ambient {
    double lux = 0, x = 0, y = 0;
};

class II1d3Library {
public:
    virtual ~II1d3Library() = default;

    virtual int Initialize() = 0;
    // Devices found by Initialize (not a status).
    virtual int GetNumberOfDevices() = 0;
    virtual int GetDeviceHandle(int index, I1d3Handle &handle) = 0;
    virtual int DeviceOpen(I1d3Handle handle) = 0;
    // The folder of the library's support files, native, ending in the separator.
    virtual int SetSupportFilePath(I1d3Handle handle, const QByteArray &path) = 0;
    // The calibrations of the open device; `list` is left alone on failure.
    virtual int GetCalibrationList(I1d3Handle handle, QVector<I1d3CalibrationEntry> &list) = 0;
    virtual int SetCalibration(I1d3Handle handle, const I1d3CalibrationEntry &entry) = 0;
    virtual int SetMeasurementMode(I1d3Handle handle, int mode) = 0;
    virtual int SetIntegrationTime(I1d3Handle handle, double seconds) = 0;
    virtual int SetTargetLCDTime(I1d3Handle handle, double seconds) = 0;
    virtual int MeasureXYZ(I1d3Handle handle, I1d3XYZ &xyz) = 0;
    virtual int MeasureAmbient(I1d3Handle handle, I1d3Ambient &reading) = 0;
    // `covered` is set when the diffuser covers the lens.
    virtual int ReadDiffuserPosition(I1d3Handle handle, bool &covered) = 0;
    virtual int SetLEDControl(I1d3Handle handle, int mode, double firstSeconds,
                              double secondSeconds, quint8 count) = 0;
    // At most kI1d3SerialLength characters.
    virtual int GetSerialNumber(I1d3Handle handle, QByteArray &serial) = 0;
    virtual int GetDeviceInfo(I1d3Handle handle, I1d3DeviceInfo &info) = 0;
    virtual int DeviceClose(I1d3Handle handle) = 0;
    virtual int Destroy() = 0;
};

// The library in force: the absent one unless another was installed.
II1d3Library &i1d3Library();
// Installs another library (not owned); nullptr restores the absent one.
// Answers the one installed before.
II1d3Library *setI1d3Library(II1d3Library *library);

using ScopedI1d3Library = ScopedSeam<II1d3Library, &setI1d3Library>;

} // namespace pz
