#pragma once
// The offscreen platform's screens for the window tests: the simulated
// desktop's two displays, 1920 x 1200 at (0, 0) and 1920 x 1080 at
// (1920, 0). CTest starts these tests with
//   QT_QPA_PLATFORM=offscreen:configfile=tests/data/screens_simulated_desktop.json
// (see tests/widgets/CMakeLists.txt); run by hand, they need the same.

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QTest>

namespace pz::test {

inline const QRect kDisplay1(0, 0, 1920, 1200);
inline const QRect kDisplay2(1920, 0, 1920, 1080);

// The bounds a display record holds: right = left + width, bottom = top +
// height, so one pixel past the display.
inline QRect recordBounds(const QRect &display)
{
    return QRect(display.topLeft(), display.bottomRight() + QPoint(1, 1));
}

inline bool haveSimulatedScreens()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return screens.size() == 2 && screens.at(0)->geometry() == kDisplay1
        && screens.at(1)->geometry() == kDisplay2 && QGuiApplication::primaryScreen() == screens.at(0);
}

// The 8-bit RGB of a pixel, alpha left out.
inline QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

inline QRgb rgb(int r, int g, int b)
{
    return qRgb(r, g, b) & 0xFFFFFF;
}

} // namespace pz::test

#define PZ_REQUIRE_SIMULATED_SCREENS()                                                             \
    QVERIFY2(pz::test::haveSimulatedScreens(),                                                     \
             "needs the offscreen screens of tests/data/screens_simulated_desktop.json")
