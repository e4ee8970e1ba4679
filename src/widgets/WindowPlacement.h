#pragma once
// Where the application's own windows go on the desktop.
//
// Stored window positions are frame positions (QWidget::pos(): the top left
// of the title bar and borders). Before a window is on the screen its frame
// is unknown, so QWidget::move() then places the client area, and a window
// reopened at its stored position would creep up by the title bar's height
// at every start. placeFrameWhenShown() waits until the window manager has
// framed the window (its first expose after being shown) and only then
// puts the frame where it was asked to be.

#include <QPoint>
#include <QSize>

#include <optional>

class QRect;
class QWidget;

namespace pz {

// Puts the window's frame at frameTopLeft: at once when the window is
// already on the screen, else as soon as it is (also when it is shown
// again after being hidden). A later call replaces the position.
void placeFrameWhenShown(QWidget &window, const QPoint &frameTopLeft);

// The screen whose available area holds the point, or an empty rectangle
// when it is on none.
QRect availableAreaAt(const QPoint &point);

// The frame position that puts a frame of the given size beside the
// anchor's frame, on the anchor's screen: right of it when there is room,
// else left of it, top edges aligned (moved up as far as needed to stay on
// the screen). Nothing when there is room on neither side.
std::optional<QPoint> besideWindow(const QWidget &anchor, const QSize &frameSize);

// The frame margins the window manager gives the window, or, while the
// window has none yet, those of the visible window reference (a window of
// the same kind); zero without either.
QSize frameExtra(const QWidget &window, const QWidget *reference);

} // namespace pz
