// Plotter: construction, settings, the zoom stack and the user's input.
// The drawing is in PlotterDrawing.cpp.

#include "Plotter.h"

#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace {

const QSize kZoomIconSize(22, 22);
// A band (and what is left of it inside the plot area) must be at least
// this many pixels on each side to make a zoom level.
constexpr int kMinimumBandSide = 4;
// Pixels between the buttons and the widget's top and right edges, and
// between the two buttons.
constexpr int kButtonEdgeGap = 3;
constexpr int kButtonGap = 5;

QToolButton *makeZoomButton(QWidget *parent, const char *icon, const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setIcon(QIcon(QString::fromLatin1(icon)));
    button->setIconSize(kZoomIconSize);
    button->adjustSize();
    button->setEnabled(false);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

Plotter::Plotter(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    rubberBandActive = false;

    zoomInButton = makeZoomButton(
        this, ":/images/Resources/zoomin.png",
        tr("<html>Zooms in.<br>Click and drag in the graph to select the region to zoom in "
           "on.<br>Use the keyboard arrow keys to pan around.</html>"));
    connect(zoomInButton, &QToolButton::clicked, this, &Plotter::zoomIn);
    zoomOutButton = makeZoomButton(this, ":/images/Resources/zoomout.png",
                                   tr("<html>Zooms out.</html>"));
    connect(zoomOutButton, &QToolButton::clicked, this, &Plotter::zoomOut);

    WhiteBackground(false);
    setPlotSettings(PlotSettings());
}

void Plotter::setPlotSettings(const PlotSettings &s)
{
    PlotSettings home = s;
    home.xMin = home.minX;
    home.xMax = home.maxX;
    home.yMin = home.minY;
    home.yMax = home.maxY;
    zoomLevels.clear();
    zoomLevels.append(home);
    currentZoom = 0;
    zoomInButton->setEnabled(false);
    zoomOutButton->setEnabled(false);
    calculate_margins();
    refreshPixmap();
}

void Plotter::SetBlockUpdates(bool block)
{
    blockUpdates = block;
    if (!block)
        refreshPixmap();
}

void Plotter::WhiteBackground(bool white)
{
    whiteBackground = white;
    backgroundColor = white ? QColor(255, 255, 255) : QColor(0, 0, 0);
    refreshPixmap();
}

void Plotter::ShowZoomButtons(bool show)
{
    zoomOutButton->setVisible(show);
    zoomInButton->setVisible(show);
}

void Plotter::SetGradientColor(QColor low, QColor high)
{
    gradientColorHigh = high;
    gradientColorLow = low;
}

template <typename T>
void Plotter::setAndRecalculateMargins(T &member, const T &value)
{
    member = value;
    calculate_margins();
}

void Plotter::SetShowXGradient(bool show)
{
    setAndRecalculateMargins(showXGradient, show);
}

void Plotter::SetShowYGradient(bool show)
{
    setAndRecalculateMargins(showYGradient, show);
}

void Plotter::SetShowUnitLabels(bool show)
{
    setAndRecalculateMargins(showUnitLabels, show);
}

void Plotter::SetShowXAxisLabel(bool show)
{
    setAndRecalculateMargins(showXAxisLabel, show);
}

void Plotter::SetShowYAxisLabel(bool show)
{
    setAndRecalculateMargins(showYAxisLabel, show);
}

void Plotter::SetShowGraphLabel(bool show)
{
    setAndRecalculateMargins(showGraphLabel, show);
}

void Plotter::SetXAxisLabelString(QString label)
{
    setAndRecalculateMargins(xAxisLabel, label);
}

void Plotter::SetGraphLabelString(QString label)
{
    setAndRecalculateMargins(graphLabel, label);
}

void Plotter::SetYAxisLabelString(QString label)
{
    yAxisLabel = label;
}

bool Plotter::GetShowGraphLabel() const
{
    return showGraphLabel;
}

QString Plotter::GetGraphLabelString() const
{
    return graphLabel;
}

void Plotter::setCurveData(int id, const QVector<QPointF> &data)
{
    curveTable[id] = data;
    refreshPixmap();
}

void Plotter::clearCurve(int id)
{
    curveTable.remove(id);
    refreshPixmap();
}

void Plotter::zoomIn()
{
    if (currentZoom >= zoomLevels.count() - 1)
        return;
    ++currentZoom;
    zoomInButton->setEnabled(currentZoom < zoomLevels.count() - 1);
    zoomOutButton->setEnabled(true);
    zoomOutButton->show();
    calculate_margins();
    refreshPixmap();
}

void Plotter::zoomOut()
{
    if (currentZoom <= 0)
        return;
    --currentZoom;
    zoomOutButton->setEnabled(currentZoom > 0);
    zoomInButton->setEnabled(true);
    zoomInButton->show();
    calculate_margins();
    refreshPixmap();
}

QSize Plotter::sizeHint() const
{
    return QSize(6 * (leftMargin + rightMargin), 4 * (topMargin + bottomMargin));
}

QSize Plotter::minimumSizeHint() const
{
    return QSize(3 * (leftMargin + rightMargin), 2 * (topMargin + bottomMargin));
}

void Plotter::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !plotArea().contains(pos))
        return;
    rubberBandActive = true;
    rubberBandArea.setTopLeft(pos);
    rubberBandArea.setBottomRight(pos);
    updateRubberBandRegion();
    setCursor(Qt::CrossCursor);
}

void Plotter::mouseMoveEvent(QMouseEvent *event)
{
    if (!rubberBandActive)
        return;
    updateRubberBandRegion();
    // The band stays a square of the smaller signed extent. A far corner
    // left of (above) the anchor is exclusive, as QRect::normalized() reads
    // it, so the normalised band is side pixels wide either way.
    const QPoint anchor = rubberBandArea.topLeft();
    const QPoint pointer = event->position().toPoint();
    const int dx = pointer.x() - anchor.x() + 1;
    const int dy = pointer.y() - anchor.y() + 1;
    const int side = std::abs(std::min(dx, dy));
    rubberBandArea.setBottomRight(QPoint(anchor.x() + (dx < 0 ? -side : side) - 1,
                                         anchor.y() + (dy < 0 ? -side : side) - 1));
    updateRubberBandRegion();
}

void Plotter::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !rubberBandActive)
        return;
    rubberBandActive = false;
    updateRubberBandRegion();
    unsetCursor();
    zoomToRubberBand();
}

void Plotter::zoomToRubberBand()
{
    const QRect band = rubberBandArea.normalized();
    if (band.width() < kMinimumBandSide || band.height() < kMinimumBandSide)
        return;
    if (zoomLevels.isEmpty() || !zoomLevels[currentZoom].isDrawable())
        return;

    const QRect area = plotArea();
    const int w = area.width();
    const int h = area.height();
    QRect clipped = band.translated(-leftMargin, -topMargin);
    clipped.setLeft(std::max(clipped.left(), 0));
    clipped.setTop(std::max(clipped.top(), 0));
    clipped.setRight(std::min(clipped.right(), w - 1));
    clipped.setBottom(std::min(clipped.bottom(), h - 1));
    const int side = std::min(clipped.width(), clipped.height());
    // A band that mostly lay outside the plot area can clip to a sliver
    // whose ends map to one value; such a level could not be drawn.
    if (side < kMinimumBandSide)
        return;
    const int bx = clipped.left();
    const int by = clipped.top();

    const PlotSettings &shown = zoomLevels[currentZoom];
    const double dX = (shown.maxX - shown.minX) / w;
    const double dY = (shown.maxY - shown.minY) / h;
    PlotSettings level;
    level.minX = shown.minX + bx * dX;
    level.maxX = shown.minX + (bx + side - 1) * dX;
    level.maxY = shown.maxY - by * dY;
    level.minY = shown.maxY - (by + side - 1) * dY;
    level.adjust();
    level.xMin = shown.xMin;
    level.xMax = shown.xMax;
    level.yMin = shown.yMin;
    level.yMax = shown.yMax;

    zoomLevels.resize(currentZoom + 1);
    zoomLevels.append(level);
    zoomIn();
}

void Plotter::updateRubberBandRegion()
{
    const QRect band = rubberBandArea.normalized();
    if (band.isEmpty())
        return;
    update(band.left(), band.top(), band.width(), 1);
    update(band.left(), band.top(), 1, band.height());
    update(band.left(), band.bottom(), band.width(), 1);
    update(band.right(), band.top(), 1, band.height());
}

void Plotter::scrollShownLevel(int dx, int dy)
{
    if (!zoomLevels.isEmpty())
        zoomLevels[currentZoom].scroll(dx, dy);
    refreshPixmap();
}

void Plotter::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_Left:
        scrollShownLevel(-1, 0);
        break;
    case Qt::Key_Right:
        scrollShownLevel(1, 0);
        break;
    case Qt::Key_Down:
        scrollShownLevel(0, -1);
        break;
    case Qt::Key_Up:
        scrollShownLevel(0, 1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Plotter::wheelEvent(QWheelEvent *event)
{
    // One notch is 120 eighths of a degree, 15 degrees; partial notches
    // (high-resolution wheels, touchpads) truncate towards zero.
    const QPoint delta = event->angleDelta();
    const bool horizontal = std::abs(delta.x()) > std::abs(delta.y());
    const int steps = (horizontal ? delta.x() : delta.y()) / 8 / 15;
    if (horizontal)
        scrollShownLevel(steps, 0);
    else
        scrollShownLevel(0, steps);
}

void Plotter::resizeEvent(QResizeEvent * /*event*/)
{
    if (width() != height()) {
        const int side = std::min(width(), height());
        resize(side, side);
    }
    zoomInButton->move(width() - zoomInButton->width() - zoomOutButton->width() - kButtonGap
                           - kButtonEdgeGap,
                       kButtonEdgeGap);
    zoomOutButton->move(zoomInButton->x() + zoomInButton->width() + kButtonGap, kButtonEdgeGap);
    refreshPixmap();
}
