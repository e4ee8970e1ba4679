#include "PZ_curves_graph.h"

#include "GraphSupport.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// The pen of a curve: a pure white pen would vanish on the white background
// of a clipboard copy, so it draws black there. Any other colour stays.
QPen curvePen(const QPen &pen, bool whiteBackground)
{
    if (!whiteBackground || pen.color() != QColor(Qt::white))
        return pen;
    QPen black = pen;
    black.setColor(Qt::black);
    return black;
}

} // namespace

PZ_curves_graph::PZ_curves_graph(QWidget *parent)
    : Plotter(parent)
{
    setPlotSettings(pz::plotLevel(0.0, 1.0, 10, 0.0, 1.0, 10));
}

PZ_curves_graph::~PZ_curves_graph() = default;

void PZ_curves_graph::SetSplines(const QVector<CSpline> &newSplines, const QVector<QPen> &newPens)
{
    splines = newSplines;
    pens = newPens;
    refreshPixmap();
}

void PZ_curves_graph::drawCurves(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const PlotSettings &shown = zoomLevels[currentZoom];
    const QRect area = plotArea();
    const int L = area.left(), R = area.right(), T = area.top(), B = area.bottom();
    if (R < L || B < T)
        return;
    painter->setClipRect(QRect(QPoint(L + 1, T + 1), QPoint(R - 1, B - 1)));
    if (splines.isEmpty())
        return;

    // One sample every two pixels of plot width.
    const int N = (R - L + 1) / 2;
    for (int i = 0; i < splines.size(); ++i) {
        // Every caller passes a pen per curve; a curve without one is not drawn.
        if (!splines[i].IsValid() || i >= pens.size())
            continue;
        painter->setPen(curvePen(pens[i], whiteBackground));
        if (N <= 1)
            continue;
        QPolygonF polyline;
        polyline.reserve(N + 1);
        for (int k = 0; k <= N; ++k) {
            const double x = (double(k) / N) * (shown.maxX - shown.minX) + shown.minX;
            const double y = splines[i].GetYValX(x);
            polyline << DataToDrawPoint(x, y, area);
        }
        pz::drawDrawablePolylines(painter, polyline);
    }
}
