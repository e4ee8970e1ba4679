#pragma once
// Solid fills whose RGB values reach the display unconverted: the test
// patterns and the measurement patch ask for device values, and a sensor on
// the screen must see the display's response to exactly those values.
//
// A fill belongs to the display under the painted widget's top-level window:
// the screen at the centre of the window's geometry inset by 10 pixels on
// every side. It is looked up once, when the fill is made at the start of a
// paint, and shared by every fill of that paint.
//
// On X11 Qt paints widgets without colour management: a QPainter fill of a
// colour's 8-bit channels lands in the framebuffer as it is. So the fill
// paints the device values with the painter (opaque or with the colour's
// alpha). When no display lies under the window, the colour-managed fill
// takes over for rectangles, which on this platform paints the same values;
// the ellipse of the measurement patch is then not painted at all, and the
// patch keeps what the widget painted before.

#include <QColor>
#include <QRect>
#include <QRectF>

class QPainter;
class QScreen;
class QWidget;

namespace pz {

class UnmanagedFill {
public:
    // `painter` is open on `widget` (or on what renders it); neither is owned.
    UnmanagedFill(QPainter &painter, const QWidget &widget);

    // The display under the window, or null.
    QScreen *display() const { return m_display; }

    // Fills r (widget coordinates) with c, on the display or managed.
    void fillRect(const QRect &r, const QColor &c);
    // Fills the ellipse inscribed in `bounds`, antialiased, with c; false
    // (and nothing painted) when there is no display under the window.
    bool fillEllipse(const QRectF &bounds, const QColor &c);

    // The display under a window whose geometry (global coordinates) is
    // `windowGeometry`, or null.
    static QScreen *displayUnder(const QRect &windowGeometry);

private:
    QPainter &m_painter;
    QScreen *m_display;
};

} // namespace pz
