#pragma once
// Which calibration thread class a run needs, and the one place that
// creates it. The calibration window asks for the class its display and
// target need; tests put a factory of their own behind the seam to run a
// thread with a scripted sequence of signals.

#include "CalibrateThread.h"

#include <functional>

namespace pz {

enum class CalibrateThreadKind {
    Standard,     // CalibrateThread
    SRGBPreset,   // CalibrateThread_sRGB_Preset: an sRGB target gamut
    HXSeries,     // CalibrateThread_HXSeries: the HX series display type
};

// HX series display type (9) first, then an sRGB target gamut, else the
// standard thread.
CalibrateThreadKind calibrateThreadKindFor(int displayType, int colorGamutType);

// Creates a thread of the kind with no parent; the caller owns it.
using CalibrateThreadFactory = std::function<CalibrateThread *(CalibrateThreadKind)>;
CalibrateThread *createCalibrateThread(CalibrateThreadKind kind);

// The program's own factory.
CalibrateThread *createStandardCalibrateThread(CalibrateThreadKind kind);

// Puts another factory behind createCalibrateThread for its lifetime.
class ScopedCalibrateThreadFactory {
public:
    explicit ScopedCalibrateThreadFactory(CalibrateThreadFactory factory);
    ~ScopedCalibrateThreadFactory();
    ScopedCalibrateThreadFactory(const ScopedCalibrateThreadFactory &) = delete;
    ScopedCalibrateThreadFactory &operator=(const ScopedCalibrateThreadFactory &) = delete;

private:
    CalibrateThreadFactory m_previous;
};

} // namespace pz
