#pragma once
// Test access to a Plotter: its protected state, the picture it drew, and
// the user's input sent straight to the widget.

#include "GraphSupport.h"
#include "Plotter.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

class PlotterProbe : public Plotter {
public:
    using Plotter::Plotter;
    using Plotter::bottomMargin;
    using Plotter::calculate_margins;
    using Plotter::currentZoom;
    using Plotter::leftMargin;
    using Plotter::logY;
    using Plotter::plotArea;
    using Plotter::rightMargin;
    using Plotter::rubberBandActive;
    using Plotter::rubberBandArea;
    using Plotter::topMargin;
    using Plotter::zoomInButton;
    using Plotter::zoomLevels;
    using Plotter::zoomOutButton;

    // Grids drawn so far: one per redraw of a drawable level.
    int drawings = 0;

    QImage picture() const { return offscreenPixmap.toImage(); }
    // Changes with every redraw of the off-screen image.
    qint64 pictureKey() const { return offscreenPixmap.cacheKey(); }
    const PlotSettings &shown() const { return zoomLevels[currentZoom]; }

protected:
    void drawGrid(QPainter *painter) override
    {
        ++drawings;
        Plotter::drawGrid(painter);
    }
};

// A level showing minX..maxX in xTicks and minY..maxY in yTicks.
inline PlotSettings level(double minX, double maxX, int xTicks, double minY, double maxY,
                          int yTicks)
{
    return pz::plotLevel(minX, maxX, xTicks, minY, maxY, yTicks);
}

// Shows the plot at the given size, as a user gets it.
inline void showPlot(Plotter &plot, int side = 400)
{
    plot.resize(side, side);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
}

namespace plotinput {

inline void mouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void press(QWidget *w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, pos, button);
}

inline void move(QWidget *w, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void release(QWidget *w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, pos, button);
}

// A left drag from one point to another.
inline void drag(QWidget *w, QPoint from, QPoint to)
{
    press(w, from);
    move(w, to);
    release(w, to);
}

inline void wheel(QWidget *w, QPoint angleDelta)
{
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), angleDelta, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

inline void key(QWidget *w, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace plotinput
