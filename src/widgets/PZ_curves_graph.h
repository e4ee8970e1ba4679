#pragma once
// The tone-curve graph: CSpline curves, each with its own pen, over the unit
// square (input level on X, output on Y). Everything but the curves (zoom,
// pan, grid, captions, strips) is Plotter's. The graph keeps copies of the
// curves and resamples them at every redraw over the X range of the shown
// zoom level, one sample every two pixels of plot width, so a zoom shows the
// curve itself rather than a magnified polyline.

#include "CSpline.h"
#include "Plotter.h"

#include <QPen>
#include <QVector>

class PZ_curves_graph : public Plotter {
    Q_OBJECT

public:
    explicit PZ_curves_graph(QWidget *parent = nullptr);
    ~PZ_curves_graph() override;

    // Replaces the curves (pen i draws curve i) and redraws. Curves whose
    // valid flag is clear are skipped; a white pen draws black while the
    // background is white.
    void SetSplines(const QVector<CSpline> &splines, const QVector<QPen> &pens);

    int GetCurveCount() const { return splines.size(); }

protected:
    void drawCurves(QPainter *painter) override;

private:
    QVector<CSpline> splines;
    QVector<QPen> pens;
};
