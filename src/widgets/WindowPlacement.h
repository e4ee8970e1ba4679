#pragma once
// Where the application's own windows go on the desktop.
//
// Every window lies whole on one screen's available area, title bar and
// borders included: a dialog opens over the window it belongs to (centred
// on it), the information window beside the main window, and a window
// with a stored place reopens there. The arithmetic is done on frame
// rectangles by pure functions, so it can be checked on any screen layout.
//
// Stored window positions are frame positions (QWidget::pos(): the top left
// of the title bar and borders). Before a window is on the screen its frame
// is unknown, so QWidget::move() then places the client area, and a window
// reopened at its stored position would creep up by the title bar's height
// at every start. placeFrameWhenShown() waits until the window manager has
// framed the window (its first expose after being shown) and only then
// puts the frame where it was asked to be, kept inside the area.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace pz {

// ---- the arithmetic on rectangles

// The frame moved (not resized) the least distance that puts it whole inside
// the area; a frame larger than the area keeps its top left corner (and so
// its title bar) inside it. An empty area leaves the frame where it is.
QRect keptInside(const QRect &frame, const QRect &area);

// A frame of the given size centred on the parent's frame, kept inside the
// area.
QRect centredOver(const QSize &frameSize, const QRect &parentFrame, const QRect &area);

// The frame position that puts a frame of the given size beside the
// anchor's frame inside the area: right of it when there is room, else left
// of it, top edges aligned (moved up as far as needed to stay inside).
// Nothing when there is room on neither side.
std::optional<QPoint> besideFrame(const QRect &anchorFrame, const QSize &frameSize,
                                  const QRect &area);

// The client area of a window whose frame is asked to start at frameTopLeft
// (inside the area), given the window manager's frame margins.
QRect clientForFrame(const QPoint &frameTopLeft, const QSize &clientSize,
                     const QMargins &frameMargins, const QRect &area);

// ---- windows

// Puts the window's frame at frameTopLeft, kept inside area (not at all when
// area is empty): at once when the window is already on the screen, else as
// soon as it is (also when it is shown again after being hidden). A later
// call replaces the position.
void placeFrameWhenShown(QWidget &window, const QPoint &frameTopLeft, const QRect &area);

// Opens the window centred over parent's window, whole on the available
// area of that window's screen. A window without a parent goes to the
// middle of the primary screen's available area.
void placeOverParent(QWidget &window, const QWidget *parent);

// Opens the window at a frame position the user left it at, kept whole on
// the screen that position lies on (the parent's screen when it lies on
// none).
void placeAtFrame(QWidget &window, const QPoint &frameTopLeft, const QWidget *parent);

// The screen whose available area holds the point, or an empty rectangle
// when it is on none.
QRect availableAreaAt(const QPoint &point);

// The available area of the screen the widget's window is on; the primary
// screen's without a widget.
QRect availableAreaOf(const QWidget *widget);

// The frame position beside the anchor's frame on the anchor's screen (see
// besideFrame).
std::optional<QPoint> besideWindow(const QWidget &anchor, const QSize &frameSize);

// The frame margins the window manager gives the window, or, while the
// window has none yet, those of the visible window reference (a window of
// the same kind); zero without either.
QSize frameExtra(const QWidget &window, const QWidget *reference);

} // namespace pz
