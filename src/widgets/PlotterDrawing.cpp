// Plotter: margins, mapping and drawing into the off-screen pixmap.

#include "PlotLabels.h"
#include "Plotter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

const QColor kGridColor(50, 50, 50);
const QColor kAxisColor(0, 0, 0);
constexpr int kTickLength = 5;
// Pixels reserved beside and below the plot area for a gradient strip; the
// strip's width, and how far its nearest pixel lies from the plot area's
// edge (one pixel stays free between them).
constexpr int kGradientMargin = 10;
constexpr int kStripWidth = 11;
constexpr int kStripOffset = 2;
// Height of the band along the left edge that holds the rotated Y caption.
constexpr int kYCaptionBand = 40;
// Free pixels between an axis caption and the tick numbers next to it, and
// between two tick numbers.
constexpr int kCaptionGap = 4;
constexpr int kLabelGap = 4;
// Free pixels between the plot's bottom edge and the X numbers, and between
// the Y numbers and the ticks left of the plot.
constexpr int kXLabelOffset = 5;
constexpr int kYLabelOffset = 5;
// Upper bound of the decades one logarithmic grid draws: ends far apart
// (from a data-driven range) must not mean an endless loop.
constexpr int kMaxDecades = 1000;

// (x, y) of the level mapped linearly into area, whose right() and bottom()
// are its last pixel column and row.
QPointF mapToArea(const PlotSettings &level, double x, double y, const QRect &area)
{
    const double px = area.left()
                      + (x - level.minX) * (area.right() - area.left()) / (level.maxX - level.minX);
    const double py = area.bottom()
                      - (y - level.minY) * (area.bottom() - area.top()) / (level.maxY - level.minY);
    return QPointF(px, py);
}

bool isFinite(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Pixel i of count equal steps from first to last, in integers.
int tickPosition(int first, int last, qint64 i, int count)
{
    return first + int((i * (last - first)) / count);
}

} // namespace

QRect Plotter::plotArea() const
{
    return QRect(leftMargin, topMargin, width() - leftMargin - rightMargin,
                 height() - topMargin - bottomMargin);
}

const PlotSettings *Plotter::drawableLevel() const
{
    if (zoomLevels.isEmpty() || plotArea().isEmpty())
        return nullptr;
    const PlotSettings &level = zoomLevels[currentZoom];
    return level.isDrawable() ? &level : nullptr;
}

void Plotter::calculate_margins()
{
    if (zoomLevels.isEmpty())
        return;
    const PlotSettings &level = zoomLevels[currentZoom];
    const QFontMetrics metrics(font());
    const int fontHeight = metrics.height();

    leftMargin = 5;
    rightMargin = 3;
    topMargin = zoomInButton->height() + 4;
    if (showYAxisLabel)
        leftMargin = fontHeight + 5 + (showUnitLabels ? kCaptionGap : 0);
    if (showUnitLabels) {
        const int yDecimals = logY ? pz::decadeDecimals(level.yMin)
                                   : pz::labelDecimals(level.maxY - level.minY);
        leftMargin += std::max({0, metrics.horizontalAdvance(pz::tickLabel(level.minY, yDecimals)),
                                metrics.horizontalAdvance(pz::tickLabel(level.maxY, yDecimals))});
        const int xDecimals = pz::labelDecimals(level.maxX - level.minX);
        rightMargin += std::max({0, metrics.horizontalAdvance(pz::tickLabel(level.minX, xDecimals)),
                                 metrics.horizontalAdvance(pz::tickLabel(level.maxX, xDecimals))})
                       / 2;
    }
    if (showYGradient)
        leftMargin += kGradientMargin;
    bottomMargin = 5;
    if (showXAxisLabel)
        bottomMargin = fontHeight + 5 + (showUnitLabels ? kCaptionGap : 0);
    if (showUnitLabels)
        bottomMargin += fontHeight;
    if (showXGradient)
        bottomMargin += kGradientMargin;
}

QPointF Plotter::DataToDrawPoint(double x, double y, QRect area)
{
    if (zoomLevels.isEmpty() || !zoomLevels[currentZoom].isDrawable())
        return QPointF(0, 0);
    if (logY)
        y = y > 0 ? std::log10(y) : 0.0;
    return mapToArea(zoomLevels[currentZoom], x, y, area);
}

void Plotter::refreshPixmap()
{
    if (blockUpdates)
        return;
    if (size().isEmpty()) {
        offscreenPixmap = QPixmap();
        update();
        return;
    }
    offscreenPixmap = QPixmap(size());
    offscreenPixmap.fill(Qt::white);
    QPainter painter(&offscreenPixmap);
    // What Qt 4's QPainter::initFrom gave: the widget's pen, background and
    // font.
    painter.setPen(palette().color(foregroundRole()));
    painter.setBackground(palette().brush(backgroundRole()));
    painter.setFont(font());
    // A level that cannot be drawn (or no room to draw it) leaves the
    // white pixmap, for every graph alike.
    if (drawableLevel()) {
        drawGrid(&painter);
        drawCurves(&painter);
    }
    painter.end();
    update();
}

void Plotter::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, offscreenPixmap);
    const QRect band = rubberBandArea.normalized();
    if (rubberBandActive && !band.isEmpty()) {
        painter.setPen(palette().light().color());
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().dark().color();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void Plotter::drawGrid(QPainter *painter)
{
    const PlotSettings *level = drawableLevel();
    if (!level)
        return;
    const QRect area = plotArea();
    const QPen axisPen(kAxisColor, 1);

    painter->fillRect(area, backgroundColor);
    drawGradientStrips(painter, *level, area);
    const QVector<TickLabel> xLabels = drawXGrid(painter, *level, area);

    painter->setPen(axisPen);
    if (showXAxisLabel) {
        const int captionHeight = painter->fontMetrics().height();
        painter->drawText(QRect(area.left(), height() - 1 - captionHeight, area.width(),
                                captionHeight + 1),
                          Qt::AlignHCenter | Qt::AlignTop, xAxisLabel);
    }
    if (showGraphLabel)
        painter->drawText(QRect(0, 0, width(), topMargin), Qt::AlignHCenter | Qt::AlignTop,
                          graphLabel);

    const QVector<TickLabel> yLabels =
        logY ? drawLogYGrid(painter, *level, area) : drawLinearYGrid(painter, *level, area);
    tickLabelRects.clear();
    if (showUnitLabels)
        drawTickLabels(painter, xLabels, yLabels);

    painter->setPen(axisPen);
    if (showYAxisLabel)
        drawYAxisCaption(painter);

    painter->setPen(axisPen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(area.adjusted(0, 0, -1, -1));
}

// The vertical strip left of the plot area runs from the low colour at the
// lower Y limit to the high colour at the upper one; the horizontal strip
// below it does the same along X. Every user sets both flags; which flag
// draws which strip is as it always was (the margins reserve room the other
// way round).
void Plotter::drawGradientStrips(QPainter *painter, const PlotSettings &level, const QRect &area)
{
    if (showXGradient) {
        const QPointF high = DataToDrawPoint(0, level.yMax, area);
        const QPointF low = DataToDrawPoint(0, level.yMin, area);
        if (isFinite(high) && isFinite(low)) {
            QLinearGradient gradient(0, high.y(), 0, low.y());
            gradient.setColorAt(0, gradientColorHigh);
            gradient.setColorAt(1, gradientColorLow);
            const int left = area.left() - kStripOffset - (kStripWidth - 1);
            painter->fillRect(QRect(left, area.top(), kStripWidth, area.height()), gradient);
        }
    }
    if (showYGradient) {
        const QPointF low = DataToDrawPoint(level.xMin, 0, area);
        const QPointF high = DataToDrawPoint(level.xMax, 0, area);
        if (isFinite(high) && isFinite(low)) {
            QLinearGradient gradient(low.x(), 0, high.x(), 0);
            gradient.setColorAt(0, gradientColorLow);
            gradient.setColorAt(1, gradientColorHigh);
            painter->fillRect(
                QRect(area.left(), area.bottom() + kStripOffset, area.width(), kStripWidth), gradient);
        }
    }
}

QRect Plotter::xLabelRect(int x, int bottom, const QString &text) const
{
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(text);
    return QRect(x - width / 2, bottom + kXLabelOffset, width, metrics.height());
}

QRect Plotter::yLabelRect(int y, const QString &text) const
{
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(text);
    return QRect(leftMargin - kYLabelOffset - width, y - metrics.height() / 2, width,
                 metrics.height());
}

QVector<Plotter::TickLabel> Plotter::drawXGrid(QPainter *painter, const PlotSettings &level,
                                               const QRect &area)
{
    const QPen gridPen(kGridColor, 1);
    const QPen axisPen(kAxisColor, 1);
    const int decimals = pz::labelDecimals(level.maxX - level.minX);
    const int top = area.top();
    const int bottom = area.bottom();
    QVector<TickLabel> labels;
    for (qint64 i = 0; i <= level.numXTicks; ++i) {
        const double value = pz::tickValue(level.minX, level.maxX, i, level.numXTicks);
        const int x = tickPosition(area.left(), area.right(), i, level.numXTicks);
        painter->setPen(gridPen);
        painter->drawLine(x, top, x, bottom);
        painter->setPen(axisPen);
        painter->drawLine(x, bottom, x, bottom + kTickLength);
        if (showUnitLabels) {
            const QString text = pz::tickLabel(value, decimals);
            labels.append({xLabelRect(x, bottom, text), text});
        }
    }
    return labels;
}

QVector<Plotter::TickLabel> Plotter::drawLinearYGrid(QPainter *painter,
                                                     const PlotSettings &level, const QRect &area)
{
    const QPen gridPen(kGridColor, 1);
    const QPen axisPen(kAxisColor, 1);
    const int decimals = pz::labelDecimals(level.maxY - level.minY);
    const int left = area.left();
    QVector<TickLabel> labels;
    for (qint64 j = 0; j <= level.numYTicks; ++j) {
        const double value = pz::tickValue(level.minY, level.maxY, j, level.numYTicks);
        const int y = tickPosition(area.bottom(), area.top(), j, level.numYTicks);
        painter->setPen(gridPen);
        painter->drawLine(left, y, area.right(), y);
        painter->setPen(axisPen);
        painter->drawLine(left - kTickLength, y, left, y);
        if (showUnitLabels) {
            const QString text = pz::tickLabel(value, decimals);
            labels.append({yLabelRect(y, text), text});
        }
    }
    return labels;
}

// X numbers grey, Y numbers black. Labels a thinned axis leaves out keep
// their grid line and tick.
void Plotter::drawTickLabels(QPainter *painter, QVector<TickLabel> x, QVector<TickLabel> y)
{
    const auto thin = [](QVector<TickLabel> &labels) {
        QVector<QRect> rects;
        for (const TickLabel &label : labels)
            rects.append(label.rect);
        const int stride = pz::labelStride(rects, kLabelGap);
        QVector<TickLabel> kept;
        for (qsizetype i = 0; i < labels.size(); i += stride)
            kept.append(labels[i]);
        labels = kept;
    };
    thin(x);
    thin(y);
    // Where the lowest numbers of both axes meet at the corner, the Y
    // number stays.
    x.erase(std::remove_if(x.begin(), x.end(),
                           [&](const TickLabel &label) {
                               return std::any_of(y.cbegin(), y.cend(), [&](const TickLabel &o) {
                                   return pz::labelsCollide(label.rect, o.rect, kLabelGap);
                               });
                           }),
            x.end());

    const auto draw = [&](const QVector<TickLabel> &labels, const QColor &colour, int align) {
        painter->setPen(QPen(colour, 1));
        for (const TickLabel &label : labels) {
            painter->drawText(label.rect, align, label.text);
            tickLabelRects.append(label.rect);
        }
    };
    draw(x, kGridColor, Qt::AlignHCenter | Qt::AlignTop);
    draw(y, kAxisColor, Qt::AlignRight | Qt::AlignVCenter);
}

// minY and maxY are decade exponents: a line at every multiple of each
// decade from yMin to yMax that falls inside the plot area, and a label at
// each decade inside it.
QVector<Plotter::TickLabel> Plotter::drawLogYGrid(QPainter *painter, const PlotSettings &level,
                                                  const QRect &area)
{
    QVector<TickLabel> labels;
    if (level.yMax < level.yMin)
        return labels;
    const QPen gridPen(kGridColor, 1);
    const QPen axisPen(kAxisColor, 1);
    const int top = area.top();
    const int bottom = area.bottom();
    const int left = area.left();
    const auto position = [&](double exponent) {
        return bottom - (exponent - level.minY) * (bottom - top) / (level.maxY - level.minY);
    };
    const auto inside = [&](double y) { return y >= top && y <= bottom; };

    // Decades wholly below the shown range draw nothing; start at the first
    // that can reach it, in whole decades from yMin.
    const double shownLow = std::min(level.minY, level.maxY);
    const double shownHigh = std::max(level.minY, level.maxY);
    double exponent = level.yMin;
    if (exponent < shownLow - 1)
        exponent += std::floor(shownLow - 1 - exponent);
    const double last = std::min(level.yMax, shownHigh);

    for (int count = 0; exponent <= last && count < kMaxDecades; ++count, exponent += 1) {
        const double base = std::pow(10.0, exponent);
        for (int multiple = 1; multiple <= 9; ++multiple) {
            const double value = multiple * base;
            const double y = position(value > 0 ? std::log10(value) : 0.0);
            if (!inside(y))
                continue;
            painter->setPen(gridPen);
            painter->drawLine(left, int(y), area.right(), int(y));
            painter->setPen(axisPen);
            painter->drawLine(left - kTickLength, int(y), left, int(y));
        }
        const double labelY = position(exponent);
        if (showUnitLabels && inside(labelY)) {
            const QString text = pz::decadeLabel(exponent);
            labels.append({yLabelRect(int(labelY), text), text});
        }
    }
    return labels;
}

// Reads from bottom to top in a band along the widget's left edge, centred
// on the middle of the plot area.
void Plotter::drawYAxisCaption(QPainter *painter)
{
    painter->save();
    painter->translate(0, topMargin + (height() - topMargin - bottomMargin) / 2);
    painter->rotate(-90);
    painter->drawText(QRect(-(height() / 2), 0, height(), kYCaptionBand),
                      Qt::AlignHCenter | Qt::AlignTop, yAxisLabel);
    painter->restore();
}

void Plotter::drawCurves(QPainter *painter)
{
    static const QColor colorForIds[6] = {Qt::red,  Qt::green,   Qt::blue,
                                          Qt::cyan, Qt::magenta, Qt::yellow};
    const PlotSettings *level = drawableLevel();
    if (!level)
        return;
    const QRect area = plotArea();
    painter->setClipRect(area.adjusted(1, 1, -1, -1));
    for (auto curve = curveTable.cbegin(); curve != curveTable.cend(); ++curve) {
        if (curve.value().isEmpty())
            continue;
        QPolygonF polyline;
        polyline.reserve(curve.value().size());
        for (const QPointF &point : curve.value())
            polyline << mapToArea(*level, point.x(), point.y(), area);
        painter->setPen(colorForIds[uint(curve.key()) % 6]);
        painter->drawPolyline(polyline);
    }
}
