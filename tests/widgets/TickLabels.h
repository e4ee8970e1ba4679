#pragma once
// Checks on where a graph put its tick numbers: the rectangles it drew them
// in must stand apart.

#include "Plotter.h"

#include <QApplication>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTabWidget>

namespace ticklabels {

// The pairs of a graph's tick numbers whose rectangles meet, as text for a
// failure message; empty when every number stands apart.
inline QString overlapping(const Plotter &graph)
{
    const QVector<QRect> &places = graph.TickLabelPlaces();
    QStringList pairs;
    const auto text = [](const QRect &r) {
        return QString("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    for (int i = 0; i < places.size(); ++i)
        for (int j = i + 1; j < places.size(); ++j)
            if (places[i].intersects(places[j]))
                pairs << text(places[i]) + " meets " + text(places[j]);
    return pairs.join("; ");
}

// Every graph a user sees in window, on each page of tabs in turn (or as
// the window is, without tabs): what overlaps, by graph and page, and how
// many graphs were looked at.
inline QString overlappingOnEveryPage(QWidget &window, QTabWidget *tabs, int *graphsSeen)
{
    QStringList found;
    *graphsSeen = 0;
    const int pages = tabs ? tabs->count() : 1;
    for (int page = 0; page < pages; ++page) {
        if (tabs)
            tabs->setCurrentIndex(page);
        // Layouts pass their requests up one level per round of events.
        for (int round = 0; round < 10; ++round)
            QApplication::processEvents();
        for (Plotter *graph : window.findChildren<Plotter *>()) {
            if (!graph->isVisible())
                continue;
            ++*graphsSeen;
            graph->refreshPixmap();
            if (graph->TickLabelPlaces().isEmpty())
                continue;
            const QString overlaps = overlapping(*graph);
            if (!overlaps.isEmpty())
                found << QString("%1 (page %2, %3x%4): %5")
                             .arg(graph->objectName())
                             .arg(page)
                             .arg(graph->width())
                             .arg(graph->height())
                             .arg(overlaps);
        }
    }
    return found.join("\n");
}

} // namespace ticklabels
