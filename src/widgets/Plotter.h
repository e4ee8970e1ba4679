#pragma once
// The plotting base of every graph: a framed plot area with a tick grid,
// number labels, axis captions, an optional title and optional gradient
// strips, a stack of zoom levels (PlotSettings) the user walks with a square
// rubber band, the two zoom buttons or the '+' and '-' keys, and panning with
// the arrow keys and the mouse wheel.
//
// Everything is drawn once per change into offscreenPixmap (refreshPixmap);
// paint events only copy it and add the rubber band and the focus frame.
// Setters of captions and flags only recalculate the margins; callers bracket
// a batch of changes with SetBlockUpdates(true) ... SetBlockUpdates(false)
// to get one redraw.
//
// Graphs derive from it and paint their data in drawCurves, which
// refreshPixmap calls right after drawGrid on the same painter: the grid is
// there, the painter carries the widget's font, the black axis pen and no
// clip. They read the shown level as zoomLevels[currentZoom], form the plot
// area from the margins (plotArea()), may set logY before their first
// setPlotSettings and may map points with DataToDrawPoint. The order of the
// virtual operations is part of that contract (the DICOM graph appends its
// own after these); keep it.

#include "PlotSettings.h"

#include <QColor>
#include <QMap>
#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

class QToolButton;

class Plotter : public QWidget {
    Q_OBJECT

public:
    explicit Plotter(QWidget *parent = nullptr);

    // Makes s (with its limits set to its own ranges) the only zoom level
    // and redraws. Ranges and tick counts are used as given.
    void setPlotSettings(const PlotSettings &s);
    // Redraws the off-screen image and schedules a repaint; nothing while
    // updates are blocked.
    void refreshPixmap();
    // true holds back redraws; false redraws once at once.
    void SetBlockUpdates(bool block);
    // Plot area white or black; redraws.
    void WhiteBackground(bool white);
    void ShowZoomButtons(bool show);
    // Strip colours at the lower and upper limit; no redraw.
    void SetGradientColor(QColor low, QColor high);

    // Flags and captions; each recalculates the margins but does not redraw.
    void SetShowXGradient(bool show);
    void SetShowYGradient(bool show);
    void SetShowUnitLabels(bool show);
    void SetShowXAxisLabel(bool show);
    void SetShowYAxisLabel(bool show);
    void SetShowGraphLabel(bool show);
    void SetXAxisLabelString(QString label);
    void SetGraphLabelString(QString label);
    // Stores the caption only: no margins, no redraw.
    void SetYAxisLabelString(QString label);

    bool GetShowGraphLabel() const;
    QString GetGraphLabelString() const;
    // Where the last drawing put its tick numbers (X first, then Y); no two
    // of them overlap.
    const QVector<QRect> &TickLabelPlaces() const { return tickLabelRects; }

    // Curves of the default drawCurves, by id; both redraw.
    void setCurveData(int id, const QVector<QPointF> &data);
    void clearCurve(int id);

public slots:
    // Show the next (previous) level of the stack; nothing at its end.
    void zoomIn();
    void zoomOut();

    // The virtual operations, in their contract order: QWidget's first,
    // then those Plotter adds.
public:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

public:
    // Maps a data point into area with the shown level (on a logarithmic
    // Y axis, y is taken as log10 y, or 0 when y <= 0). (0, 0) for a level
    // that cannot be drawn.
    virtual QPointF DataToDrawPoint(double x, double y, QRect area);

protected:
    // The fill of the plot area, gradient strips, grid, tick labels,
    // captions, title and frame of the shown level.
    virtual void drawGrid(QPainter *painter);
    // The data; by default the curves of curveTable as polylines, coloured
    // by id.
    virtual void drawCurves(QPainter *painter);


    // The rectangle inside the margins: left and top are L and T, right()
    // and bottom() the last pixel column R and row B.
    QRect plotArea() const;
    void calculate_margins();
    // Repaints the four one-pixel edges of the rubber band only.
    void updateRubberBandRegion();

    QVector<PlotSettings> zoomLevels;
    int currentZoom = 0;
    int leftMargin = 35;
    int rightMargin = 10;
    int topMargin = 22;
    int bottomMargin = 30;
    QMap<int, QVector<QPointF>> curveTable;
    bool whiteBackground = false;
    QToolButton *zoomInButton = nullptr;
    QToolButton *zoomOutButton = nullptr;
    bool rubberBandActive = false;
    bool logY = false; // no setter: a graph sets it before its axes
    bool blockUpdates = false;
    QRect rubberBandArea; // widget coordinates, anchor corner first
    bool showUnitLabels = true;
    bool showYAxisLabel = true;
    bool showXAxisLabel = true;
    bool showGraphLabel = false;
    QString yAxisLabel;
    QString xAxisLabel;
    QString graphLabel;
    bool showXGradient = false;
    bool showYGradient = false;
    QColor gradientColorLow = QColor(0, 0, 0);
    QColor gradientColorHigh = QColor(255, 0, 0);
    QColor backgroundColor = QColor(0, 0, 0);
    QPixmap offscreenPixmap;
    QVector<QRect> tickLabelRects;

private:
    struct TickLabel {
        QRect rect;
        QString text;
    };

    template <typename T>
    void setAndRecalculateMargins(T &member, const T &value);
    // The shown level when it can be drawn into a non-empty plot area.
    const PlotSettings *drawableLevel() const;
    void scrollShownLevel(int dx, int dy);
    void zoomToRubberBand();
    void drawGradientStrips(QPainter *painter, const PlotSettings &level, const QRect &area);
    // The grids return their labels, placed but not yet drawn.
    QVector<TickLabel> drawXGrid(QPainter *painter, const PlotSettings &level, const QRect &area);
    QVector<TickLabel> drawLinearYGrid(QPainter *painter, const PlotSettings &level,
                                       const QRect &area);
    QVector<TickLabel> drawLogYGrid(QPainter *painter, const PlotSettings &level,
                                    const QRect &area);
    QRect xLabelRect(int x, int bottom, const QString &text) const;
    QRect yLabelRect(int y, const QString &text) const;
    // Draws as many of the labels as fit, each axis thinned to every
    // second, fifth... label, and no X label where it would meet a Y label.
    void drawTickLabels(QPainter *painter, QVector<TickLabel> x, QVector<TickLabel> y);
    void drawYAxisCaption(QPainter *painter);
};
