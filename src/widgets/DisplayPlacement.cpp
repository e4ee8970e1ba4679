#include "DisplayPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

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
