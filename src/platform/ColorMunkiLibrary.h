#pragma once
// The ColorMunki library seam: the calls the ColorMunki adapter makes into
// the vendor's closed library, with types of our own. The vendor's library
// does not exist on Linux, so the default implementation is an absent
// library: IsConnected answers that no device is there and every other call
// fails. The simulated device (SimColorMunkiLibrary) implements the same seam.
//
// Calls answer kMunkiSuccess or a failure status, except IsConnected (0 when
// a device is connected), GetSensorPosition (the dial: kMunkiDial...) and
// ButtonPressed (kMunkiButtonPressed or kMunkiButtonReleased).
//
// Device messages: the library calls the registered handler on a thread of
// its own, with the adapter's context. RemoveDeviceMessageHandler does not
// return while that handler is running (unless called from the handler
// itself), so the context may be destroyed once it has returned.

#include "ScopedSeam.h"

#include <QByteArray>

namespace pz {

constexpr int kMunkiSuccess = 0;
// The absent library's answer.
constexpr int kMunkiNoLibrary = -1;

// Dial positions as GetSensorPosition reports them.
constexpr int kMunkiDialDisplay = 2000;
constexpr int kMunkiDialCalibrate = 2001;
constexpr int kMunkiDialProjector = 2002;
constexpr int kMunkiDialAmbient = 2003;

constexpr int kMunkiButtonPressed = 1000;
constexpr int kMunkiButtonReleased = 1001;

using MunkiDeviceMessage = int;
constexpr MunkiDeviceMessage kMunkiMessageButton = 1;      // the measure button was pressed
constexpr MunkiDeviceMessage kMunkiMessageDialMoved = 2;   // the dial was turned

using MunkiMessageHandler = void (*)(MunkiDeviceMessage message, const char *text, void *context);

class IColorMunkiLibrary {
public:
    virtual ~IColorMunkiLibrary() = default;

    // 0 when a device is connected.
    virtual int IsConnected() = 0;
    virtual int SetOption(const QByteArray &key, const QByteArray &value) = 0;
    // The option's value, a copy; empty when the library has none.
    virtual QByteArray GetOption(const QByteArray &key) = 0;
    virtual int Calibrate() = 0;
    virtual int TriggerMeasurement() = 0;
    // X, Y, Z of the last measurement (`index` 0).
    virtual int GetTriStimulus(float values[3], int index) = 0;
    virtual int GetSensorPosition() = 0;
    virtual int ButtonPressed() = 0;
    virtual int AddDeviceMessageHandler(MunkiMessageHandler handler, void *context) = 0;
    virtual int RemoveDeviceMessageHandler(MunkiMessageHandler handler) = 0;
};

// The library in force: the absent one unless another was installed.
IColorMunkiLibrary &colorMunkiLibrary();
// Installs another library (not owned); nullptr restores the absent one.
// Answers the one installed before.
IColorMunkiLibrary *setColorMunkiLibrary(IColorMunkiLibrary *library);

using ScopedColorMunkiLibrary = ScopedSeam<IColorMunkiLibrary, &setColorMunkiLibrary>;

} // namespace pz
