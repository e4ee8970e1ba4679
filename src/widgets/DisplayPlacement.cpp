#include "DisplayPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace pz {

namespace {

QScreen *screenOf(const QRect &displayBounds)
{
    if (displayBounds.width() <= 0)
        return nullptr;
    QScreen *screen = QGuiApplication::screenAt(displayBounds.center());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

QRect displayGeometry(const QRect &displayBounds)
{
    QScreen *screen = screenOf(displayBounds);
    return screen ? screen->geometry() : QRect();
}

int tenCentimetresInPixels(const QRect &display, int widthCm, int heightCm)
{
    const int pixels = std::max(display.width(), display.height());
    const int size = std::max(widthCm, heightCm);
    return pixels > 0 && size > 0 ? pixels * 10 / size : 0;
}

QScreen *placeOnDisplay(QWidget &window, const QRect &displayBounds)
{
    QScreen *screen = screenOf(displayBounds);
    if (!screen)
        return nullptr;

    // A full-screen window keeps to its screen; let go of that while it
    // moves to another one.
    if (window.isFullScreen() && window.screen() != screen)
        window.setWindowState(window.windowState() & ~Qt::WindowFullScreen);
    window.setScreen(screen);
    window.setGeometry(screen->geometry());
    window.setWindowState(window.windowState() | Qt::WindowFullScreen);
    return screen;
}

} // namespace pz
