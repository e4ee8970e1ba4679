#include "DisplayPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace pz {

QScreen *placeOnDisplay(QWidget &window, const QRect &displayBounds)
{
    if (displayBounds.width() <= 0)
        return nullptr;
    QScreen *screen = QGuiApplication::screenAt(displayBounds.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
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
