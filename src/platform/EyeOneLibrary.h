#pragma once
// The i1 library seam: the calls the i1 Display and i1 Pro adapters make into
// X-Rite's closed i1 library, with types of our own. That library does not
// exist on Linux, so the default implementation is an absent library:
// IsConnected answers kI1NoDevice and every option is refused. The simulated
// devices (SimEyeOneLibrary) implement the same seam.
//
// The library keeps one process-wide option store. "DeviceType" selects the
// device family every other option and call is about ("EyeOneDisplay",
// "EyeOne"); the other options are kept per device type, so switching the
// type back finds that family's options as they were.
//
// Calls come from whichever thread drives the sensor, one at a time.

#include "ScopedSeam.h"

#include <QByteArray>

namespace pz {

constexpr int kI1Success = 0;
// IsConnected: no device of the current "DeviceType" is connected; any
// other answer counts as connected.
constexpr int kI1NoDevice = 2;
// The absent library's answer to a call it cannot carry out.
constexpr int kI1LibraryMissing = -1;

class IEyeOneLibrary {
public:
    virtual ~IEyeOneLibrary() = default;

    // Status of the device of the current "DeviceType": kI1NoDevice when
    // there is none.
    virtual int IsConnected() = 0;
    // kI1Success when the option was accepted.
    virtual int SetOption(const QByteArray &key, const QByteArray &value) = 0;
    // The option's value, a copy; empty when the library has none.
    virtual QByteArray GetOption(const QByteArray &key) = 0;
    // Zero calibration: kI1Success when done.
    virtual int Calibrate() = 0;
    // One measurement in the current "MeasurementMode": kI1Success when taken.
    virtual int TriggerMeasurement() = 0;
    // X, Y, Z of the last measurement (index 0): cd/m² in emission mode,
    // lux in ambient mode. kI1Success when there is one.
    virtual int GetTriStimulus(float xyz[3], int index) = 0;
};

// The library in force: the absent one unless another was installed.
IEyeOneLibrary &eyeOneLibrary();
// Installs another library (not owned); nullptr restores the absent one.
// Answers the one installed before.
IEyeOneLibrary *setEyeOneLibrary(IEyeOneLibrary *library);

using ScopedEyeOneLibrary = ScopedSeam<IEyeOneLibrary, &setEyeOneLibrary>;

} // namespace pz
