// PZ_gamut_graph: the shaded fill of the display gamut. Six triangles
// around the white point, from each primary to the midpoints of its edges,
// are shaded pixel by pixel into one image (recomputed at every redraw)
// that is then drawn over the plot.

#include "PZ_gamut_graph.h"

#include "GraphSupport.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The opacity of the fill, in the image's alpha byte.
constexpr quint32 kFillAlpha = 0xC0;

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 255, 0);
const QColor kCyan(0, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kMagenta(255, 0, 255);
const QColor kWhite(255, 255, 255);

QPoint midpoint(const QPoint &a, const QPoint &b)
{
    return QPoint((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
}

// The bounding box of the points, clipped to area; empty when they lie
// wholly outside it.
QRect clippedBox(std::initializer_list<QPoint> points, const QRect &area)
{
    int minX = points.begin()->x(), maxX = minX;
    int minY = points.begin()->y(), maxY = minY;
    for (const QPoint &p : points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    return QRect(QPoint(std::max(minX, area.left()), std::max(minY, area.top())),
                 QPoint(std::min(maxX, area.right()), std::min(maxY, area.bottom())));
}

} // namespace

void PZ_gamut_graph::DrawColorTriangle(QVector<QPointF> points, QRect area, QPainter *p)
{
    if (points.size() < 4)
        return;
    // Pixel of each point: the mapped coordinates rounded down. A point
    // that maps to no pixel (garbage data) leaves the gamut unfilled.
    QPoint pixel[4];
    for (int i = 0; i < 4; ++i) {
        const QPointF q = DataToDrawPoint(points[i].x(), points[i].y(), area);
        if (!pz::isDrawablePoint(q))
            return;
        pixel[i] = QPoint(qRound(q.x() - 0.5), qRound(q.y() - 0.5));
    }
    const QPoint &R = pixel[0], &G = pixel[1], &B = pixel[2], &W = pixel[3];

    // The white does not widen the box: the fill never leaves the primaries'.
    const QRect box = clippedBox({R, G, B}, area);
    if (box.isEmpty())
        return;
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(0);

    const QPoint RG = midpoint(R, G), GB = midpoint(G, B), BR = midpoint(B, R);
    struct SubTriangle {
        QPoint vertex[3];
        QColor colour[3];
    };
    SubTriangle parts[] = {
        {{R, RG, W}, {kRed, kYellow, kWhite}},  {{RG, G, W}, {kYellow, kGreen, kWhite}},
        {{G, GB, W}, {kGreen, kCyan, kWhite}},  {{GB, B, W}, {kCyan, kBlue, kWhite}},
        {{B, BR, W}, {kBlue, kMagenta, kWhite}}, {{BR, R, W}, {kMagenta, kRed, kWhite}},
    };
    for (SubTriangle &part : parts)
        DrawColorSubTriangles(part.vertex, area, part.colour, &image, box.left(), box.top());

    p->drawPixmap(box.topLeft(), QPixmap::fromImage(image));
}

void PZ_gamut_graph::DrawColorSubTriangles(QPoint *triangle, QRect area, QColor *colors,
                                           QImage *image, int offsetX, int offsetY)
{
    const QRect box = clippedBox({triangle[0], triangle[1], triangle[2]}, area);
    for (int x = box.left(); x <= box.right(); ++x) {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            double s = 0, t = 0, u = 0;
            if (!CaclulateST(triangle, x, y, &s, &t, &u))
                continue;
            // A white outside the primaries' box reaches past the image.
            if (!image->valid(x - offsetX, y - offsetY))
                continue;
            const auto channel = [&](int c0, int c1, int c2) {
                return quint32(std::trunc(c0 * u + c1 * s + c2 * t)) & 0xFF;
            };
            const quint32 red = channel(colors[0].red(), colors[1].red(), colors[2].red());
            const quint32 green = channel(colors[0].green(), colors[1].green(), colors[2].green());
            const quint32 blue = channel(colors[0].blue(), colors[1].blue(), colors[2].blue());
            image->setPixel(x - offsetX, y - offsetY,
                            (kFillAlpha << 24) | (red << 16) | (green << 8) | blue);
        }
    }
}

bool PZ_gamut_graph::CaclulateST(QPoint *triangle, int x, int y, double *s, double *t, double *u)
{
    const qint64 x0 = triangle[0].x(), y0 = triangle[0].y();
    const qint64 dx1 = triangle[1].x() - x0, dy1 = triangle[1].y() - y0;
    const qint64 dx2 = triangle[2].x() - x0, dy2 = triangle[2].y() - y0;
    const qint64 a = x - x0;
    const qint64 b = y - y0;
    const qint64 d = dy2 * dx1 - dx2 * dy1;
    // Collinear vertices (a white on an edge, coincident points): no area.
    if (d == 0)
        return false;
    const qint64 sNumerator = a * dy2 - b * dx2;
    const qint64 tNumerator = b * dx1 - a * dy1;
    *s = double(sNumerator) / double(d);
    *t = double(tNumerator) / double(d);
    *u = 1.0 - *s - *t;
    // s >= 0, t >= 0 and s + t <= 1, decided on the exact integers so that
    // pixels on the edges are always inside.
    const qint64 sign = d > 0 ? 1 : -1;
    return sNumerator * sign >= 0 && tNumerator * sign >= 0
           && (sNumerator + tNumerator) * sign <= d * sign;
}
