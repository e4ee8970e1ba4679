#pragma once
// Test access to a graph: the plot area and zoom levels it drew with, the
// picture a user sees (grab()), whether a redraw happened, and mouse events
// at exact positions.

#include "Plotter.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>

template <typename Graph>
class GraphProbe : public Graph {
public:
    GraphProbe()
        : Graph(nullptr)
    {
    }
    using Graph::bottomMargin;
    using Graph::currentZoom;
    using Graph::leftMargin;
    using Graph::plotArea;
    using Graph::rightMargin;
    using Graph::rubberBandActive;
    using Graph::topMargin;
    using Graph::xAxisLabel;
    using Graph::yAxisLabel;
    using Graph::zoomLevels;

    // What the user sees, at the widget's size.
    QImage picture() { return this->grab().toImage(); }
    // Changes with every redraw of the off-screen image.
    qint64 pictureKey() const { return this->offscreenPixmap.cacheKey(); }
    const PlotSettings &shown() const { return zoomLevels[currentZoom]; }
    // Shows level on top of the zoom stack, as a rubber band would.
    void zoomTo(const PlotSettings &level)
    {
        PlotSettings s = level;
        s.xMin = zoomLevels[0].xMin;
        s.xMax = zoomLevels[0].xMax;
        s.yMin = zoomLevels[0].yMin;
        s.yMax = zoomLevels[0].yMax;
        zoomLevels.resize(currentZoom + 1);
        zoomLevels.append(s);
        this->zoomIn();
    }
    // Replaces the shown level in place (no new zoom level) and redraws.
    void showRange(const PlotSettings &level)
    {
        zoomLevels[currentZoom] = level;
        this->refreshPixmap();
    }
};

// Shows the graph at a fixed square size (Plotter keeps itself square).
template <typename Graph>
void showGraph(Graph &graph, int side = 400)
{
    graph.resize(side, side);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
}

namespace graphinput {

inline void send(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                 Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void press(QWidget *w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    send(w, QEvent::MouseButtonPress, pos, button, button);
}

inline void move(QWidget *w, QPointF pos, Qt::MouseButtons held = Qt::LeftButton)
{
    send(w, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void release(QWidget *w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    send(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

} // namespace graphinput

// Colour helpers for reading pictures.
namespace graphpixels {

inline bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of image inside box that satisfy match.
template <typename Match>
int count(const QImage &image, const QRect &box, Match match)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (image.valid(x, y) && match(image.pixelColor(x, y)))
                ++n;
    return n;
}

// A box of the given half size around p.
inline QRect around(QPointF p, int half)
{
    return QRect(int(p.x()) - half, int(p.y()) - half, 2 * half + 1, 2 * half + 1);
}

} // namespace graphpixels
