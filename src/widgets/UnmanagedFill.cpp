#include "UnmanagedFill.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

namespace pz {

namespace {

// The colour as its 8-bit device channels, whatever spec it was made in. An
// invalid colour gives what Qt reports for it: opaque black.
QColor deviceColor(const QColor &c)
{
    return QColor(c.red(), c.green(), c.blue(), c.alpha());
}

} // namespace

UnmanagedFill::UnmanagedFill(QPainter &painter, const QWidget &widget)
    : m_painter(painter), m_display(displayUnder(widget.window()->geometry()))
{
}

QScreen *UnmanagedFill::displayUnder(const QRect &windowGeometry)
{
    // Inset, so that a window lying over an edge belongs to the display
    // that holds its inside.
    return QGuiApplication::screenAt(windowGeometry.adjusted(10, 10, -10, -10).center());
}

void UnmanagedFill::fillRect(const QRect &r, const QColor &c)
{
    // With or without a display the same values are painted here; only the
    // ellipse's fallback differs.
    m_painter.fillRect(r, QBrush(deviceColor(c), Qt::SolidPattern));
}

bool UnmanagedFill::fillEllipse(const QRectF &bounds, const QColor &c)
{
    if (!m_display)
        return false;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QBrush(deviceColor(c), Qt::SolidPattern));
    m_painter.drawEllipse(bounds);
    m_painter.restore();
    return true;
}

} // namespace pz
