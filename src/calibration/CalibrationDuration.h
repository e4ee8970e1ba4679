#pragma once
// The duration of a calibration as the result record keeps it: whole seconds
// in a 16-bit field. Taken from the program clock, so it neither goes
// negative across midnight nor depends on the wall clock in tests (on the
// VirtualClock it counts simulated seconds).

#include <QtGlobal>

namespace pz {

// Program-clock time to start a duration from, in microseconds.
qint64 CalibrationStartTime();
// Whole seconds since `startUs`, clamped to 0..32767.
qint16 CalibrationDurationSeconds(qint64 startUs);

} // namespace pz
