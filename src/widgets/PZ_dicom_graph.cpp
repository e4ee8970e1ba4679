#include "PZ_dicom_graph.h"

#include "GraphSupport.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

// DDL axis of the JND mode, and the DDL of the last grey step.
constexpr double kDdlAxisEnd = 256.0;
constexpr int kDdlAxisTicks = 8;
constexpr int kLastDdl = 255;
constexpr int kJndAxisTicks = 10;
// Side of a JND-per-DDL marker, in pixels.
constexpr double kJndMarkerSide = 5.0;
// X end of the contrast mode when there is no data.
constexpr int kDefaultContrastXMax = 400;
constexpr int kContrastAxisTicks = 10;
// An X end beyond this (only from garbage data) is held here, inside int.
constexpr double kMaxContrastXMax = 1.0e9;
// Decade exponents without data.
constexpr int kDefaultLowestDecade = -3;
constexpr int kDefaultTopExponent = -1;
// A measured interval deviating more than this many percent is marked.
constexpr double kDeviationLimit = 10.0;

const QColor kAverageColor(255, 128, 255);
const QColor kFitColor(128, 255, 255);
const QColor kDeviatingColor(255, 128, 128);
const QColor kLimitsColor(0, 255, 255);
const QColor kReferenceColor(255, 0, 255);

// A count from a caller (or a stored calibration) as entries to copy.
int storedCount(long count)
{
    return int(std::clamp<long>(count, 0, PZ_dicom_graph::kMaxEntries));
}

// Square outline of the given side around p.
void drawSquare(QPainter *painter, const QPointF &p, double side)
{
    if (!pz::isDrawablePoint(p))
        return;
    const QRectF square(p.x() - side / 2, p.y() - side / 2, side, side);
    painter->drawRects(&square, 1);
}

} // namespace

PZ_dicom_graph::PZ_dicom_graph(QWidget *parent)
    : Plotter(parent)
{
    setPlotSettings(pz::plotLevel(0.0, kDdlAxisEnd, kDdlAxisTicks, 0.0, 4.0, kJndAxisTicks));
}

PZ_dicom_graph::~PZ_dicom_graph() = default;

void PZ_dicom_graph::SetDICOMGraphData(double *values, long count, double average,
                                       double deviation, double intercept, double slope)
{
    jndCount = values ? storedCount(count) : 0;
    jndAverage = average;
    jndDeviation = deviation;
    jndFitIntercept = intercept;
    jndFitSlope = slope;
    std::copy(values, values + jndCount, jndPerDdl);
}

void PZ_dicom_graph::SetDICOMContrastGraphData(double *refJndIndex, double *refResponse,
                                               double *measJndIndex, double *measResponse,
                                               double *deviation, long count)
{
    const bool arrays = refJndIndex && refResponse && measJndIndex && measResponse && deviation;
    contrastCount = arrays ? storedCount(count) : 0;
    double maxX = 0.0;
    double maxY = 0.0;
    double minY = 1000.0;
    // Values that are not finite stay in the arrays (and are not drawn) but
    // do not stretch the axes.
    const auto widen = [&](double x, double y) {
        if (std::isfinite(x))
            maxX = std::max(maxX, x);
        if (std::isfinite(y)) {
            maxY = std::max(maxY, y);
            minY = std::min(minY, y);
        }
    };
    for (int i = 0; i < contrastCount; ++i) {
        referenceJndIndex[i] = refJndIndex[i];
        referenceResponse[i] = refResponse[i];
        responseDeviation[i] = deviation[i];
        widen(refJndIndex[i], refResponse[i]);
    }
    for (int i = 0; i < contrastCount; ++i) {
        measuredJndIndex[i] = measJndIndex[i];
        measuredResponse[i] = measResponse[i];
        widen(measJndIndex[i], measResponse[i]);
    }

    const double xEnd = std::trunc(100.0 * std::ceil(maxX / 100.0));
    contrastXMax = xEnd > 0 ? int(std::min(xEnd, kMaxContrastXMax)) : kDefaultContrastXMax;
    const int topExponent = maxY > 0 ? int(std::trunc(std::log10(maxY))) : kDefaultTopExponent;
    lowestDecade = minY > 0 && contrastCount != 0 ? int(std::trunc(std::log10(minY))) - 1
                                                  : kDefaultLowestDecade;
    decadeCount = std::max(1, topExponent - lowestDecade);
}

void PZ_dicom_graph::SetGraphTypeJND_PER_DDL(bool jndMode)
{
    jndPerDdlMode = jndMode;
    if (jndMode) {
        logY = false;
        SetXAxisLabelString(tr("Digital Driving Level"));
        SetYAxisLabelString(tr("JND per DDL"));
        setPlotSettings(
            pz::plotLevel(0.0, kDdlAxisEnd, kDdlAxisTicks, 0.0, jndYMax, kJndAxisTicks));
    } else {
        logY = true;
        SetXAxisLabelString(tr("JND Index"));
        SetYAxisLabelString(tr("dL/L for a JND"));
        setPlotSettings(pz::plotLevel(0.0, contrastXMax, kContrastAxisTicks, lowestDecade,
                                      lowestDecade + decadeCount, decadeCount));
    }
}

void PZ_dicom_graph::SetShow_Average_JND_PER_DDL(bool show)
{
    showAverage = show;
    refreshPixmap();
}

void PZ_dicom_graph::SetShow_Linear_Fit_JND_PER_DDL(bool show)
{
    showLinearFit = show;
    refreshPixmap();
}

void PZ_dicom_graph::SetShow_10Percent_Limits(bool show)
{
    show10PercentLimits = show;
    refreshPixmap();
}

void PZ_dicom_graph::SetShow_20Percent_Limits(bool show)
{
    show20PercentLimits = show;
    refreshPixmap();
}

void PZ_dicom_graph::SetShow_Barten_model(bool show)
{
    showBartenModel = show;
    refreshPixmap();
}

QPointF PZ_dicom_graph::mapValue(double x, double y, const QRect &area)
{
    // log10 of 0 is -inf; such a value has no place on the axis.
    if (!std::isfinite(x) || !std::isfinite(y) || (logY && y <= 0))
        return QPointF(qQNaN(), qQNaN());
    return DataToDrawPoint(x, y, area);
}

void PZ_dicom_graph::drawCurves(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect area = plotArea();
    const int L = area.left(), R = area.right(), T = area.top(), B = area.bottom();
    if (R < L || B < T)
        return;
    painter->setClipRect(QRect(QPoint(L + 1, T + 1), QPoint(R - 1, B - 1)));
    painter->setBrush(Qt::NoBrush);
    if (jndPerDdlMode)
        drawJndPerDdl(painter, area);
    else if (contrastCount > 0)
        drawContrastResponse(painter, area);
}

void PZ_dicom_graph::drawJndPerDdl(QPainter *painter, const QRect &area)
{
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(whiteBackground ? Qt::black : Qt::white);
    // A marker whose centre lies in the plot is drawn whole, moved inside
    // where it would cross the frame (the one at 255 sits on the right
    // edge).
    // (An outline of side s covers s + 1 pixels.)
    const QRectF inner = QRectF(area.adjusted(1, 1, -2, -2));
    for (int i = 0; i < jndCount; ++i) {
        // The DDL at the end of interval i, steps spread evenly over 0..255.
        const int ddl = ((i + 1) * kLastDdl) / jndCount;
        const QPointF at = mapValue(ddl, jndPerDdl[i], area);
        if (!pz::isDrawablePoint(at) || !QRectF(area).contains(at))
            continue;
        QRectF square(at.x() - kJndMarkerSide / 2, at.y() - kJndMarkerSide / 2, kJndMarkerSide,
                      kJndMarkerSide);
        square.moveLeft(std::clamp(square.left(), inner.left(), inner.right() - kJndMarkerSide));
        square.moveTop(std::clamp(square.top(), inner.top(), inner.bottom() - kJndMarkerSide));
        drawSquare(painter, square.center(), kJndMarkerSide);
    }
    painter->setRenderHint(QPainter::Antialiasing, true);

    const QPointF halfPixel(0.5, 0.5);
    const auto line = [&](double y0, double y1, const QColor &colour) {
        painter->setPen(colour);
        pz::drawDrawablePolylines(painter, QPolygonF({mapValue(0, y0, area) + halfPixel,
                                                      mapValue(kLastDdl, y1, area) + halfPixel}));
    };
    if (showAverage && jndAverage > 0)
        line(jndAverage, jndAverage, kAverageColor);
    if (showLinearFit && jndFitIntercept != 0)
        line(jndFitIntercept, jndFitIntercept + kLastDdl * jndFitSlope, kFitColor);
}

void PZ_dicom_graph::drawContrastResponse(QPainter *painter, const QRect &area)
{
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QColor plain = whiteBackground ? QColor(0, 0, 0) : QColor(255, 255, 255);
    for (int i = 0; i < contrastCount; ++i) {
        painter->setPen(responseDeviation[i] > kDeviationLimit ? kDeviatingColor : plain);
        drawSquare(painter, mapValue(measuredJndIndex[i], measuredResponse[i], area), 4.0);
    }
    painter->setRenderHint(QPainter::Antialiasing, true);

    // Drawn after the points, so the curves lie over them.
    painter->setPen(kLimitsColor);
    if (show10PercentLimits) {
        drawReferenceLine(painter, area, 1.1);
        drawReferenceLine(painter, area, 0.9);
    }
    if (show20PercentLimits) {
        drawReferenceLine(painter, area, 1.2);
        drawReferenceLine(painter, area, 0.8);
    }
    if (showBartenModel) {
        painter->setPen(kReferenceColor);
        drawReferenceLine(painter, area, 1.0);
    }
}

void PZ_dicom_graph::drawReferenceLine(QPainter *painter, const QRect &area, double scale)
{
    QPolygonF line;
    line.reserve(contrastCount);
    for (int i = 0; i < contrastCount; ++i)
        line << mapValue(referenceJndIndex[i], scale * referenceResponse[i], area);
    pz::drawDrawablePolylines(painter, line);
}
