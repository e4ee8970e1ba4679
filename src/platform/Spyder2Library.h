#pragma once
// The Spyder2 library seam: the calls the Spyder adapter makes into
// Datacolor's closed Spyder2 library, with types of our own. That library
// does not exist on Linux, so the default implementation is an absent
// library whose Startup fails with kCvLibraryMissing. The simulated Spyder2
// (SimSpyder2Library) implements the same seam.
//
// Every call returns 1 for success and 0 for failure, keeping the code for
// GetDetailedError. Readings are X, Y, Z in thousandths (Y in thousandths of
// cd/m²). Calls come from one thread at a time.

#include "ScopedSeam.h"

#include <QtGlobal>

namespace pz {

constexpr int kCvRecordSize = 12;   // bytes 4-11: the serial number, no NUL

constexpr qint32 kCvAlreadyStarted = 0x20001;
// Readings and refresh detection: the display's refresh could not be
// followed; values delivered with them are still usable.
constexpr qint32 kCvNoSync = 0x20002;
constexpr qint32 kCvLibraryMissing = 0x20003;
constexpr qint32 kCvNoRefresh = 0x20004;   // no refresh found (an LCD)

class ISpyder2Library {
public:
    virtual ~ISpyder2Library() = default;

    // Finds and starts the device, filling its record.
    virtual int Startup(quint8 record[kCvRecordSize]) = 0;
    // The device's calibration for a display technology.
    virtual int UseCalibration(qint32 calibration) = 0;
    // A reading over `time` (the library's unit of integration time).
    virtual int GetXYZ(int time, qint32 *X, qint32 *Y, qint32 *Z) = 0;
    // The display's refresh rate in Hz.
    virtual int GetRefreshRate(double &rate) = 0;
    // The last failure's code; the system flag through `system` when given.
    virtual qint32 GetDetailedError(quint8 *system) = 0;
    virtual int Shutdown() = 0;
};

// The library in force: the absent one unless another was installed.
ISpyder2Library &spyder2Library();
// Installs another library (not owned); nullptr restores the absent one.
// Answers the one installed before.
ISpyder2Library *setSpyder2Library(ISpyder2Library *library);

using ScopedSpyder2Library = ScopedSeam<ISpyder2Library, &setSpyder2Library>;

} // namespace pz
