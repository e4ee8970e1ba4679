// The plotting base under the user's hands: construction, panning with keys
// and wheel, the square rubber band and the zoom stack it builds, the zoom
// buttons, and the resize to a square.

#include "PlotterProbe.h"
#include "Resources.h"

#include <QPaintEvent>
#include <QToolButton>
#include <QtTest>

namespace {

// Home 0..10 on both axes in 10 ticks, showing 4..6 in 2 ticks.
void zoomToFourSix(PlotterProbe &plot)
{
    plot.setPlotSettings(level(0, 10, 10, 0, 10, 10));
    PlotSettings zoomed = plot.zoomLevels[0];
    zoomed.minX = zoomed.minY = 4;
    zoomed.maxX = zoomed.maxY = 6;
    zoomed.numXTicks = zoomed.numYTicks = 2;
    plot.zoomLevels.append(zoomed);
    plot.zoomIn();
    QCOMPARE(plot.currentZoom, 1);
}

// Records the paint regions and resizes a widget receives.
class EventLog : public QObject {
public:
    explicit EventLog(QWidget *w) { w->installEventFilter(this); }
    QRegion painted;
    QVector<QSize> resizes;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        if (event->type() == QEvent::Resize)
            resizes << static_cast<QResizeEvent *>(event)->size();
        return false;
    }
};

// A point of the plot area, from its top left.
QPoint inArea(const PlotterProbe &plot, int dx, int dy)
{
    return plot.plotArea().topLeft() + QPoint(dx, dy);
}

} // namespace

class TestPlotterInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        pz::initResources();
    }

    void construction()
    {
        PlotterProbe plot;
        QVERIFY(plot.autoFillBackground());
        QCOMPARE(plot.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(plot.sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(plot.focusPolicy(), Qt::StrongFocus);
        QCOMPARE(plot.zoomLevels.size(), 1);
        QCOMPARE(plot.currentZoom, 0);
        QCOMPARE(plot.shown().maxX, 1.0);
        QVERIFY(!plot.rubberBandActive);
        QCOMPARE(plot.topMargin, plot.zoomInButton->height() + 4);

        for (QToolButton *button : {plot.zoomInButton, plot.zoomOutButton}) {
            QCOMPARE(button->parentWidget(), &plot);
            QVERIFY(!button->isEnabled());
            QCOMPARE(button->iconSize(), QSize(22, 22));
            QVERIFY(!button->icon().isNull());
        }
        QCOMPARE(plot.zoomInButton->toolTip(),
                 QString("<html>Zooms in.<br>Click and drag in the graph to select the region to "
                         "zoom in on.<br>Use the keyboard arrow keys to pan around.</html>"));
        QCOMPARE(plot.zoomOutButton->toolTip(), QString("<html>Zooms out.</html>"));
        QCOMPARE(QImage(":/images/Resources/zoomin.png").size(), QSize(22, 22));
        QCOMPARE(QImage(":/images/Resources/zoomout.png").size(), QSize(22, 22));
    }

    void setPlotSettingsTakesItsRangesAsLimits()
    {
        PlotterProbe plot;
        PlotSettings s = level(-2, 8, 5, 1, 3, 4);
        s.xMin = -100;
        s.yMax = 100;
        plot.setPlotSettings(s);
        QCOMPARE(plot.shown().xMin, -2.0);
        QCOMPARE(plot.shown().xMax, 8.0);
        QCOMPARE(plot.shown().yMin, 1.0);
        QCOMPARE(plot.shown().yMax, 3.0);
        QCOMPARE(plot.shown().numYTicks, 4); // used as given, not adjusted
    }

    // Arrow keys and wheel steps at the home level move nothing, but the
    // plot is redrawn all the same.
    void homeLevelDoesNotPan_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("wheel");
        QTest::newRow("left") << int(Qt::Key_Left) << QPoint();
        QTest::newRow("right") << int(Qt::Key_Right) << QPoint();
        QTest::newRow("up") << int(Qt::Key_Up) << QPoint();
        QTest::newRow("down") << int(Qt::Key_Down) << QPoint();
        QTest::newRow("wheel up") << 0 << QPoint(0, 120);
        QTest::newRow("wheel down") << 0 << QPoint(0, -120);
        QTest::newRow("wheel right") << 0 << QPoint(120, 0);
        QTest::newRow("wheel left") << 0 << QPoint(-240, 0);
    }
    void homeLevelDoesNotPan()
    {
        QFETCH(int, key);
        QFETCH(QPoint, wheel);
        PlotterProbe plot;
        showPlot(plot);
        plot.setPlotSettings(level(0, 10, 10, 0, 10, 10));
        const int drawings = plot.drawings;
        if (key)
            plotinput::key(&plot, key);
        else
            plotinput::wheel(&plot, wheel);
        QCOMPARE(plot.shown().minX, 0.0);
        QCOMPARE(plot.shown().maxX, 10.0);
        QCOMPARE(plot.shown().minY, 0.0);
        QCOMPARE(plot.shown().maxY, 10.0);
        QCOMPARE(plot.drawings, drawings + 1);
    }

    // After a zoom: keys move one tick, the wheel one tick per notch of
    // 120, truncating; the larger wheel component decides the axis.
    void panAfterZoom_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("wheel");
        QTest::addColumn<QPoint>("ticks");
        QTest::newRow("left") << int(Qt::Key_Left) << QPoint() << QPoint(-1, 0);
        QTest::newRow("right") << int(Qt::Key_Right) << QPoint() << QPoint(1, 0);
        QTest::newRow("down") << int(Qt::Key_Down) << QPoint() << QPoint(0, -1);
        QTest::newRow("up") << int(Qt::Key_Up) << QPoint() << QPoint(0, 1);
        QTest::newRow("other key") << int(Qt::Key_A) << QPoint() << QPoint(0, 0);
        QTest::newRow("wheel 120") << 0 << QPoint(0, 120) << QPoint(0, 1);
        QTest::newRow("wheel -240") << 0 << QPoint(0, -240) << QPoint(0, -2);
        QTest::newRow("wheel 359") << 0 << QPoint(0, 359) << QPoint(0, 2);
        QTest::newRow("wheel 119") << 0 << QPoint(0, 119) << QPoint(0, 0);
        QTest::newRow("wheel -119") << 0 << QPoint(0, -119) << QPoint(0, 0);
        QTest::newRow("horizontal 120") << 0 << QPoint(120, 0) << QPoint(1, 0);
        QTest::newRow("mostly horizontal") << 0 << QPoint(-130, 20) << QPoint(-1, 0);
    }
    void panAfterZoom()
    {
        QFETCH(int, key);
        QFETCH(QPoint, wheel);
        QFETCH(QPoint, ticks);
        PlotterProbe plot;
        showPlot(plot);
        zoomToFourSix(plot);
        const int drawings = plot.drawings;
        if (key)
            plotinput::key(&plot, key);
        else
            plotinput::wheel(&plot, wheel);
        QCOMPARE(plot.shown().minX, 4.0 + ticks.x());
        QCOMPARE(plot.shown().maxX, 6.0 + ticks.x());
        QCOMPARE(plot.shown().minY, 4.0 + ticks.y());
        QCOMPARE(plot.shown().maxY, 6.0 + ticks.y());
        QCOMPARE(plot.drawings, drawings + (key == Qt::Key_A ? 0 : 1));
    }

    void panStopsAtTheLimits()
    {
        PlotterProbe plot;
        showPlot(plot);
        zoomToFourSix(plot);
        for (int i = 0; i < 10; ++i)
            plotinput::key(&plot, Qt::Key_Right);
        QCOMPARE(plot.shown().maxX, 10.0);
        for (int i = 0; i < 10; ++i)
            plotinput::wheel(&plot, QPoint(0, -120));
        QCOMPARE(plot.shown().minY, 0.0);
    }

    // While dragging, only the band's four one-pixel edges are repainted,
    // in the palette's light colour.
    void bandRepaintsOnlyItsEdges()
    {
        PlotterProbe plot;
        showPlot(plot);
        QTest::qWait(1); // the first full paint
        EventLog log(&plot);
        const QPoint anchor = inArea(plot, 40, 40);
        plotinput::press(&plot, anchor);
        plotinput::move(&plot, anchor + QPoint(59, 59));
        QTRY_VERIFY(!log.painted.isEmpty());
        const QRect band(anchor, QSize(60, 60));
        QCOMPARE(plot.rubberBandArea.normalized(), band);
        QVERIFY(band.contains(log.painted.boundingRect()));
        QVERIFY(!log.painted.contains(band.center()));
        QVERIFY(log.painted.contains(band.topRight()));
        QVERIFY(log.painted.contains(band.bottomLeft()));

        const QImage seen = plot.grab().toImage();
        const QColor light = plot.palette().light().color();
        QCOMPARE(seen.pixelColor(band.left(), band.center().y()), light);
        QCOMPARE(seen.pixelColor(band.right(), band.center().y()), light);
        QCOMPARE(seen.pixelColor(band.center().x(), band.bottom()), light);
        QVERIFY(seen.pixelColor(band.right() + 1, band.center().y()) != light);
        QCOMPARE(seen.pixelColor(band.center()), plot.picture().pixelColor(band.center()));
    }

    // A band narrower than 4 pixels erases itself and does nothing else.
    void smallBandOnlyErasesItself()
    {
        PlotterProbe plot;
        showPlot(plot);
        const QPoint anchor = inArea(plot, 40, 40);
        plotinput::press(&plot, anchor);
        plotinput::move(&plot, anchor + QPoint(2, 99));
        QCOMPARE(plot.rubberBandArea.normalized().width(), 3);
        QTest::qWait(1);
        EventLog log(&plot);
        const int drawings = plot.drawings;
        plotinput::release(&plot, anchor + QPoint(2, 99));
        QTRY_VERIFY(!log.painted.isEmpty());
        QVERIFY(!plot.rubberBandActive);
        QCOMPARE(plot.zoomLevels.size(), 1);
        QCOMPARE(plot.drawings, drawings);
        QVERIFY(plot.rubberBandArea.normalized().contains(log.painted.boundingRect()));
    }

    // The band is a square of the smaller signed extent, in any direction;
    // above or left of the anchor it ends one pixel before the anchor.
    void bandIsSquare_data()
    {
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QRect>("band"); // relative to the anchor
        QTest::newRow("down right") << QPoint(40, 20) << QRect(0, 0, 21, 21);
        QTest::newRow("up left") << QPoint(-40, -20) << QRect(-39, -39, 39, 39);
        QTest::newRow("up right") << QPoint(40, -20) << QRect(0, -19, 19, 19);
        QTest::newRow("down left") << QPoint(-40, 20) << QRect(-39, 0, 39, 39);
    }
    void bandIsSquare()
    {
        QFETCH(QPoint, drag);
        QFETCH(QRect, band);
        PlotterProbe plot;
        showPlot(plot);
        const QPoint anchor = inArea(plot, 150, 150);
        plotinput::press(&plot, anchor);
        QVERIFY(plot.rubberBandActive);
        plotinput::move(&plot, anchor + drag);
        QCOMPARE(plot.rubberBandArea.topLeft(), anchor);
        QCOMPARE(plot.rubberBandArea.normalized(), band.translated(anchor));
        plotinput::release(&plot, anchor + drag);
        QCOMPARE(plot.zoomLevels.size(), 2);
        QCOMPARE(plot.currentZoom, 1);
    }

    void onlyLeftPressesInsideThePlotAreaStartABand()
    {
        PlotterProbe plot;
        showPlot(plot);
        plotinput::press(&plot, inArea(plot, 40, 40), Qt::RightButton);
        QVERIFY(!plot.rubberBandActive);
        plotinput::press(&plot, inArea(plot, -1, 40));
        QVERIFY(!plot.rubberBandActive);
        plotinput::press(&plot, inArea(plot, 0, 0)); // the edge belongs to the area
        QVERIFY(plot.rubberBandActive);
        plotinput::release(&plot, inArea(plot, 0, 0), Qt::RightButton);
        QVERIFY(plot.rubberBandActive);
    }

    // The new level spans the band's data range (pixel i of the area's W
    // columns is data i * span / W), rounded to nice ticks, and keeps the
    // limits of the level it was made from.
    void bandMakesALevel()
    {
        PlotterProbe plot;
        showPlot(plot);
        plot.setPlotSettings(level(0, 10, 10, 0, 20, 10));
        const QRect area = plot.plotArea();
        const int bx = 60, by = 30, side = 150;
        plotinput::drag(&plot, inArea(plot, bx, by), inArea(plot, bx + side - 1, by + side - 1));
        QCOMPARE(plot.zoomLevels.size(), 2);

        PlotSettings expected;
        expected.minX = bx * 10.0 / area.width();
        expected.maxX = (bx + side - 1) * 10.0 / area.width();
        expected.maxY = 20 - by * 20.0 / area.height();
        expected.minY = 20 - (by + side - 1) * 20.0 / area.height();
        expected.adjust();
        const PlotSettings &zoomed = plot.shown();
        QCOMPARE(zoomed.minX, expected.minX);
        QCOMPARE(zoomed.maxX, expected.maxX);
        QCOMPARE(zoomed.numXTicks, expected.numXTicks);
        QCOMPARE(zoomed.minY, expected.minY);
        QCOMPARE(zoomed.maxY, expected.maxY);
        QCOMPARE(zoomed.numYTicks, expected.numYTicks);
        QCOMPARE(zoomed.xMin, 0.0);
        QCOMPARE(zoomed.xMax, 10.0);
        QCOMPARE(zoomed.yMin, 0.0);
        QCOMPARE(zoomed.yMax, 20.0);
        QVERIFY(!plot.zoomInButton->isEnabled());
        QVERIFY(plot.zoomOutButton->isEnabled());
    }

    // A band of 60 pixels pressed k pixels inside the right or bottom edge
    // keeps k + 1 pixels after clipping: under 4 makes no level.
    void clippedBand_data()
    {
        QTest::addColumn<bool>("rightEdge");
        QTest::addColumn<int>("inside");
        QTest::addColumn<bool>("zooms");
        for (bool right : {true, false})
            for (int k = 0; k <= 3; ++k)
                QTest::addRow("%s edge, %d px in", right ? "right" : "bottom", k)
                    << right << k << (k == 3);
    }
    void clippedBand()
    {
        QFETCH(bool, rightEdge);
        QFETCH(int, inside);
        QFETCH(bool, zooms);
        PlotterProbe plot;
        showPlot(plot);
        const QRect area = plot.plotArea();
        const QPoint anchor = rightEdge ? QPoint(area.right() - inside, area.top() + 50)
                                        : QPoint(area.left() + 50, area.bottom() - inside);
        const int drawings = plot.drawings;
        plotinput::drag(&plot, anchor, anchor + QPoint(59, 59));
        QCOMPARE(plot.zoomLevels.size(), zooms ? 2 : 1);
        QCOMPARE(plot.drawings, drawings + (zooms ? 1 : 0));
        QVERIFY(plot.shown().isDrawable());
    }

    void newBandDropsTheLevelsAbove()
    {
        PlotterProbe plot;
        showPlot(plot);
        plot.setPlotSettings(level(0, 10, 10, 0, 10, 10));
        for (int i = 0; i < 2; ++i)
            plotinput::drag(&plot, inArea(plot, 20, 20), inArea(plot, 219, 219));
        QCOMPARE(plot.zoomLevels.size(), 3);
        QCOMPARE(plot.currentZoom, 2);
        plotinput::key(&plot, Qt::Key_Minus);
        plot.zoomOutButton->click();
        QCOMPARE(plot.currentZoom, 0);

        plotinput::drag(&plot, inArea(plot, 150, 150), inArea(plot, 249, 249));
        QCOMPARE(plot.zoomLevels.size(), 2);
        QCOMPARE(plot.currentZoom, 1);
        QVERIFY(plot.shown().minX > 3.0); // the new band's level, not the old level 1
    }

    void zoomAtTheEndsOfTheStackDrawsNothing()
    {
        PlotterProbe plot;
        showPlot(plot);
        int drawings = plot.drawings;
        plot.zoomOut();
        plot.zoomIn();
        plotinput::key(&plot, Qt::Key_Plus);
        QCOMPARE(plot.currentZoom, 0);
        QCOMPARE(plot.drawings, drawings);

        plotinput::drag(&plot, inArea(plot, 20, 20), inArea(plot, 219, 219));
        drawings = plot.drawings;
        plot.zoomIn();
        QCOMPARE(plot.currentZoom, 1);
        QCOMPARE(plot.drawings, drawings);
        plotinput::key(&plot, Qt::Key_Minus);
        QCOMPARE(plot.drawings, drawings + 1);
        plot.zoomOut();
        QCOMPARE(plot.drawings, drawings + 1);
    }

    void buttonsFollowTheStack()
    {
        PlotterProbe plot;
        showPlot(plot);
        for (int i = 0; i < 2; ++i)
            plotinput::drag(&plot, inArea(plot, 20, 20), inArea(plot, 219, 219));
        const auto states = [&] {
            return qMakePair(plot.zoomInButton->isEnabled(), plot.zoomOutButton->isEnabled());
        };
        QCOMPARE(states(), qMakePair(false, true)); // level 2 of 3
        plot.zoomOutButton->click();
        QCOMPARE(states(), qMakePair(true, true));
        plot.zoomOutButton->click();
        QCOMPARE(states(), qMakePair(true, false));
        plot.zoomInButton->click();
        QCOMPARE(plot.currentZoom, 1);
        QCOMPARE(states(), qMakePair(true, true));
        plot.setPlotSettings(PlotSettings());
        QCOMPARE(states(), qMakePair(false, false));
    }

    // In a window: a resize to 400 x 300 asks for 300 x 300 at once, and the
    // buttons sit 3 px below the top, the zoom-out button 3 px before the
    // right edge, 5 px after the zoom-in button.
    void resizeToASquare()
    {
        QWidget window;
        window.resize(600, 600);
        auto *plot = new PlotterProbe(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        EventLog log(plot);
        plot->resize(400, 300);
        QCOMPARE(log.resizes, (QVector<QSize>{QSize(400, 300), QSize(300, 300)}));
        QCOMPARE(plot->size(), QSize(300, 300));
        QCOMPARE(plot->picture().size(), QSize(300, 300));

        const QRect in = plot->zoomInButton->geometry();
        const QRect out = plot->zoomOutButton->geometry();
        QCOMPARE(in.top(), 3);
        QCOMPARE(out.top(), 3);
        QCOMPARE(out.x() + out.width(), 300 - 3);
        QCOMPARE(out.x() - (in.x() + in.width()), 5);
    }
};

QTEST_MAIN(TestPlotterInput)
#include "tst_plotter_input.moc"
