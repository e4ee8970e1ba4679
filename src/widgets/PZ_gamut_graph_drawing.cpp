// PZ_gamut_graph: the drawing, in a fixed order: spectral locus, native
// and target gamuts, the display gamut, the reference gamuts over it, the
// colour-temperature locus, then the marks.

#include "PZ_gamut_graph.h"

#include "CColorTemperature.h"
#include "GraphSupport.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kNativeColor(255, 255, 0);
const QColor kTargetColor(192, 192, 192);
const QColor kLocusColor(255, 255, 128);
const QColor kTargetWhiteColor(128, 255, 128);

// The colour-temperature locus: its range and step, the labelled
// temperatures, and half the length of their ticks in x,y units.
constexpr int kLocusFirstKelvin = 4000;
constexpr int kLocusLastKelvin = 24900;
constexpr int kLocusStep = 100;
// Labels claim their room in this order: where they crowd, D65 and the
// ends of the usual range keep theirs.
const int kLabelledKelvins[] = {6500, 5000, 9300, 4000, 5500};
// The locus direction at a label is taken towards this many kelvin more.
constexpr int kTangentStep = 10;
constexpr double kTickHalfLength = 0.005;

// Half the size of a white-point X, in pixels.
constexpr int kMarkHalf = 3;
// Pixels between a temperature label and its point on the locus, and the
// free pixels kept between two labels.
constexpr int kLabelOffset = 4;
constexpr int kLabelGap = 2;

struct ReferenceGamut {
    const _CIExy *table;
    bool PZ_gamut_graph::*shown;
    QColor colour;
};

_CIExy xyOf(const CCIEYxy &c)
{
    return _CIExy{c.x, c.y};
}

} // namespace

QPointF PZ_gamut_graph::mapChromaticity(double x, double y, const QRect &area)
{
    return DataToDrawPoint(CIExy_to_Screen_CIE(QPointF(x, y)), area);
}

QPolygonF PZ_gamut_graph::triangle(const _CIExy &r, const _CIExy &g, const _CIExy &b,
                                   const QRect &area)
{
    const QPointF red = mapChromaticity(r.x, r.y, area);
    return QPolygonF({red, mapChromaticity(g.x, g.y, area), mapChromaticity(b.x, b.y, area), red});
}

void PZ_gamut_graph::drawCurves(QPainter *p)
{
    if (zoomLevels.isEmpty())
        return;
    p->setRenderHint(QPainter::Antialiasing);
    const QRect area = plotArea();
    const int L = area.left(), R = area.right(), T = area.top(), B = area.bottom();
    if (R < L || B < T)
        return;
    p->setClipRect(QRect(QPoint(L + 1, T + 1), QPoint(R - 1, B - 1)));
    p->setBrush(Qt::NoBrush);

    drawSpectralLocus(p, area);

    QPainterPath nativePath;
    if (hasNativeGamut && showNativeGamut) {
        const QPolygonF native = triangle(xyOf(nativeGamut[0]), xyOf(nativeGamut[1]),
                                          xyOf(nativeGamut[2]), area);
        p->setPen(kNativeColor);
        pz::drawDrawablePolylines(p, native);
        nativePath.addPolygon(native);
    }
    if (showTargetGamut && hasTargetGamut) {
        p->setPen(kTargetColor);
        pz::drawDrawablePolylines(
            p, triangle(targetGamut[0], targetGamut[1], targetGamut[2], area));
    }
    // The reference outlines lie over the display fill, or it would hide
    // them.
    if (showDisplayGamut && hasDisplayGamut)
        drawDisplayGamut(p, area, nativePath);
    drawReferenceGamuts(p, area);
    temperatureLabels.clear();
    if (showPlanckianLocus)
        drawColourTemperatureLocus(p, area);

    if (showDisplayGamut && hasDisplayGamut && displayWhiteGiven) {
        p->setPen(contrastColour());
        const int first = onlyAdjustRGB ? 0 : 3;
        const int last = onlyAdjustRGB ? 2 : 3;
        for (int i = first; i <= last; ++i)
            DrawWhitePointCheck(CIExy_to_Screen_CIE(QPointF(displayGamut[i].x, displayGamut[i].y)),
                                area, p);
    }
    if (showTargetWhitePoint && hasTargetWhite) {
        p->setPen(kTargetWhiteColor);
        DrawWhitePointCheck(CIExy_to_Screen_CIE(QPointF(targetWhite.x, targetWhite.y)), area, p);
    }
}

// Only outlined, closed by the purple line from 700 nm back to 380 nm.
void PZ_gamut_graph::drawSpectralLocus(QPainter *p, const QRect &area)
{
    QPolygonF locus;
    locus.reserve(kSpectralPointCount + 1);
    for (const SpectralPoint &point : cie_w_xy)
        locus << mapChromaticity(point.x, point.y, area);
    locus << locus.first();
    p->setPen(whiteBackground ? Qt::lightGray : Qt::white);
    pz::drawDrawablePolylines(p, locus);
}

// sRGB and HDTV share their primaries: the later HDTV triangle covers sRGB.
void PZ_gamut_graph::drawReferenceGamuts(QPainter *p, const QRect &area)
{
    const ReferenceGamut gamuts[] = {
        {AdobeRGB, &PZ_gamut_graph::showAdobeRGB, QColor(255, 255, 0)},
        {sRGB, &PZ_gamut_graph::showsRGB, QColor(0, 255, 255)},
        {NTSC, &PZ_gamut_graph::showNTSC, QColor(255, 0, 255)},
        {SMPTE_C, &PZ_gamut_graph::showSMPTE, QColor(255, 128, 128)},
        {HDTV, &PZ_gamut_graph::showHDTV, QColor(128, 128, 255)},
        {DigitalCinema, &PZ_gamut_graph::showDigitalCinema, QColor(0, 128, 255)},
    };
    for (const ReferenceGamut &gamut : gamuts) {
        if (!(this->*gamut.shown))
            continue;
        p->setPen(gamut.colour);
        pz::drawDrawablePolylines(p, triangle(gamut.table[0], gamut.table[1], gamut.table[2], area));
        DrawWhitePointCheck(CIExy_to_Screen_CIE(QPointF(gamut.table[3].x, gamut.table[3].y)), area,
                            p);
    }
}

void PZ_gamut_graph::drawDisplayGamut(QPainter *p, const QRect &area,
                                      const QPainterPath &nativePath)
{
    const CCIEYxy &white = showFixedWhite ? fixedWhite : displayGamut[3];
    QVector<QPointF> corners;
    for (const CCIEYxy &c : {displayGamut[0], displayGamut[1], displayGamut[2], white})
        corners << CIExy_to_Screen_CIE(QPointF(c.x, c.y));
    DrawColorTriangle(corners, area, p);

    const QPolygonF outline = triangle(xyOf(displayGamut[0]), xyOf(displayGamut[1]),
                                       xyOf(displayGamut[2]), area);
    QPainterPath displayPath;
    displayPath.addPolygon(outline);
    pointPositions = {outline[0], outline[1], outline[2]};

    p->setPen(contrastColour());
    pz::drawDrawablePolylines(p, outline);

    // Hatch what the display gamut holds beyond the native one.
    if (!(hasNativeGamut && showNativeGamut))
        return;
    for (const QPointF &corner : outline)
        if (!pz::isDrawablePoint(corner))
            return;
    for (int i = 0; i < nativePath.elementCount(); ++i)
        if (!pz::isDrawablePoint(nativePath.elementAt(i)))
            return;
    const QPainterPath beyondNative = displayPath.subtracted(nativePath);
    if (beyondNative.isEmpty())
        return;
    p->setBrush(QBrush(Qt::black, Qt::Dense2Pattern));
    p->drawPath(beyondNative);
    p->setBrush(Qt::NoBrush);
}

void PZ_gamut_graph::drawColourTemperatureLocus(QPainter *p, const QRect &area)
{
    QPolygonF locus;
    for (int kelvin = kLocusFirstKelvin; kelvin <= kLocusLastKelvin; kelvin += kLocusStep) {
        _CIExy xy{0.0, 0.0};
        CColorTemperature::CalcCIExy(static_cast<unsigned short>(kelvin), xy);
        locus << mapChromaticity(xy.x, xy.y, area);
    }
    p->setPen(kLocusColor);
    pz::drawDrawablePolylines(p, locus);

    for (int kelvin : kLabelledKelvins) {
        _CIExy xy{0.0, 0.0};
        CColorTemperature::CalcCIExy(static_cast<unsigned short>(kelvin), xy);
        const QPointF at = mapChromaticity(xy.x, xy.y, area);
        if (pz::isDrawablePoint(at))
            drawTemperatureLabel(p, kelvin, at, area);

        // A tick across the locus, 0.01 long in x,y units.
        _CIExy next{0.0, 0.0};
        CColorTemperature::CalcCIExy(static_cast<unsigned short>(kelvin + kTangentStep), next);
        const double dx = next.x - xy.x;
        const double dy = next.y - xy.y;
        if (dx == 0 || dy == 0)
            continue;
        const double k = kTickHalfLength / std::sqrt(dx * dx + dy * dy);
        p->setPen(contrastColour());
        const QLineF tick(mapChromaticity(xy.x - dy * k, xy.y + dx * k, area),
                          mapChromaticity(xy.x + dy * k, xy.y - dx * k, area));
        p->drawLines(&tick, 1);
    }
}

QColor PZ_gamut_graph::contrastColour() const
{
    return whiteBackground ? QColor(0, 0, 0) : QColor(255, 255, 255);
}

// Below and right of the point, else above and left of it (the locus runs
// from upper right to lower left, so the two sides take turns where the
// labels crowd), else right or left of it; left out where each place would
// meet an earlier label or leave the plot.
void PZ_gamut_graph::drawTemperatureLabel(QPainter *p, int kelvin, const QPointF &at,
                                          const QRect &area)
{
    const QString text = QStringLiteral("%1K").arg(kelvin);
    const QFontMetrics metrics(p->font());
    const QSize size(metrics.horizontalAdvance(text), metrics.height());
    const QPoint point = at.toPoint();
    const int w = size.width(), h = size.height();
    const QRect candidates[] = {
        QRect(point + QPoint(kLabelOffset, kLabelOffset), size),
        QRect(point - QPoint(kLabelOffset + w, kLabelOffset + h), size),
        QRect(point + QPoint(kLabelOffset, -h / 2), size),
        QRect(point - QPoint(kLabelOffset + w, h / 2), size),
    };
    for (const QRect &place : candidates) {
        if (!area.contains(place))
            continue;
        const bool free = std::none_of(
            temperatureLabels.cbegin(), temperatureLabels.cend(), [&](const QRect &other) {
                return place.adjusted(-kLabelGap, -kLabelGap, kLabelGap, kLabelGap)
                    .intersects(other);
            });
        if (!free)
            continue;
        // A one-pixel rim in the background colour around text in the
        // contrasting colour.
        p->setPen(backgroundColor);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dx != 0 || dy != 0)
                    p->drawText(place.translated(dx, dy), Qt::AlignLeft | Qt::AlignTop, text);
        p->setPen(contrastColour());
        p->drawText(place, Qt::AlignLeft | Qt::AlignTop, text);
        temperatureLabels.insert(kelvin, place);
        return;
    }
}

void PZ_gamut_graph::DrawWhitePointCheck(QPointF point, QRect area, QPainter *p)
{
    const QPointF q = DataToDrawPoint(point, area);
    if (!pz::isDrawablePoint(q))
        return;
    const int X = int(q.x());
    const int Y = int(q.y());
    p->drawLine(X - kMarkHalf, Y - kMarkHalf, X + kMarkHalf, Y + kMarkHalf);
    p->drawLine(X + kMarkHalf, Y - kMarkHalf, X - kMarkHalf, Y + kMarkHalf);
    if (hasAdjustablePoints)
        p->drawPixmap(X - controlBall.width() / 2, Y - controlBall.height() / 2, controlBall);
}
