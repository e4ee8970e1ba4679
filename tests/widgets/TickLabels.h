#pragma once
// Checks on where a graph put its tick numbers: the rectangles it drew them
// in must stand apart.

#include "Plotter.h"

#include <QApplication>
#include <QFont>
#include <QScopeGuard>
#include <QtTest>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTabWidget>

#include "TestSupport.h"

#include <functional>
#include <memory>

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

// Opens a window made by makeWindow at each of the font sizes desktops use
// (9 to 12 pt), saves a picture of it (pictureName with %1 for the size)
// and checks that the tick numbers of its one graph stand apart.
inline void checkAtDesktopFontSizes(const std::function<std::unique_ptr<QWidget>()> &makeWindow,
                                    const QString &pictureName)
{
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([original] { QApplication::setFont(original); });
    for (int points : {9, 10, 11, 12}) {
        QFont font = original;
        font.setPointSize(points);
        QApplication::setFont(font);
        const std::unique_ptr<QWidget> window = makeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->grab().save(pz::test::picturePath(pictureName.arg(points))));
        int graphs = 0;
        const QString overlaps = overlappingOnEveryPage(*window, nullptr, &graphs);
        QVERIFY2(overlaps.isEmpty(), qPrintable(QString("%1 pt: %2").arg(points).arg(overlaps)));
        QCOMPARE(graphs, 1);
    }
}

} // namespace ticklabels
