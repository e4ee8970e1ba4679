#pragma once
// Puts a full-screen window (the test pattern window, the calibration
// window) over one display of the desktop, given the display's bounds from
// its record (_MonitorData::m_Bounds, global desktop coordinates).
//
// The display is the screen at the centre of the bounds, else the primary
// screen. The window is set on that screen with exactly the screen's
// geometry and marked full screen, so that the window manager lets it cover
// panels and docks; the caller then shows it (show() shows it full screen).
// The record's bounds are not used as the size: they reach one pixel past
// the display, which on a desktop of several displays lands on the
// neighbour.
//
// Bounds without a positive width (no display record) leave the window
// where and as it was.

class QRect;
class QScreen;
class QWidget;

namespace pz {

// Returns the screen the window was placed on, or null when it was left
// alone.
QScreen *placeOnDisplay(QWidget &window, const QRect &displayBounds);

// The display's exact pixel rectangle for the record's bounds: the screen
// placeOnDisplay would choose; empty for bounds without a positive width or
// no screen at all.
QRect displayGeometry(const QRect &displayBounds);

// The pixels that make 10 cm on a display of the given pixel rectangle and
// physical size in cm, along its longer side: the smallest a measurement
// patch may be for a sensor to sit on it. 0 when either size is unknown.
int tenCentimetresInPixels(const QRect &display, int widthCm, int heightCm);

} // namespace pz
