#pragma once
// Byte helpers and the power-on gamma table shared by the simulated
// monitor's source files (state, bus, commands, memories). Private to the
// simulator: nothing outside src/sim includes it.

#include <QByteArray>
#include <QVector>

namespace pz {
namespace simmonitor {

inline quint8 byteAt(const QByteArray &a, int i) { return static_cast<quint8>(a[i]); }

// The identity table the controller loads on a reset of the programmable LUT.
QVector<quint16> linearGammaTable();

} // namespace simmonitor
} // namespace pz
