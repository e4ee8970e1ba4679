// Where the program's windows go, on a fixed desktop: the arithmetic on
// frame rectangles (kept whole inside a screen's available area, centred
// over the parent, beside the main window, the client inside a restored
// frame), and the placement of real dialogs on the simulated desktop's two
// offscreen screens. The desktop test checks the same with a real window
// manager; this one runs everywhere.

#include "SimulatedScreens.h"
#include "WindowPlacement.h"

#include <QDialog>
#include <QMainWindow>
#include <QtTest>

using pz::test::kDisplay1;
using pz::test::kDisplay2;

namespace {

// A 1920 x 1200 screen with a 30-pixel panel at the top.
const QRect kArea(0, 30, 1920, 1170);
// openbox's frame: a 1-pixel border and a 24-pixel title bar.
const QMargins kFrame(1, 24, 1, 1);

bool inside(const QRect &inner, const QRect &outer)
{
    return outer.contains(inner);
}

} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void keptInside_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("inside stays") << QRect(100, 100, 400, 300) << kArea << QRect(100, 100, 400, 300);
        QTest::newRow("title bar above the screen")
            << QRect(38, -20, 900, 700) << kArea << QRect(38, 30, 900, 700);
        QTest::newRow("past the right edge")
            << QRect(1600, 740, 385, 300) << kArea << QRect(1535, 740, 385, 300);
        QTest::newRow("past the bottom right")
            << QRect(1700, 1100, 400, 300) << kArea << QRect(1520, 900, 400, 300);
        QTest::newRow("left of the screen") << QRect(-50, 400, 400, 300) << kArea << QRect(0, 400, 400, 300);
        QTest::newRow("larger than the screen keeps its title bar")
            << QRect(-100, -100, 2000, 1300) << kArea << QRect(0, 30, 2000, 1300);
        QTest::newRow("just fits at the bottom right")
            << QRect(1520, 900, 400, 300) << kArea << QRect(1520, 900, 400, 300);
        QTest::newRow("no area leaves it") << QRect(-50, -50, 400, 300) << QRect() << QRect(-50, -50, 400, 300);
        QTest::newRow("second screen")
            << QRect(3700, 10, 300, 200) << kDisplay2 << QRect(3540, 10, 300, 200);
    }
    void keptInside()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, area);
        QFETCH(QRect, expected);
        QCOMPARE(pz::keptInside(frame, area), expected);
    }

    // A dialog over its window: centred on it, and whole on the screen
    // wherever the window is.
    void centredOver_data()
    {
        QTest::addColumn<QRect>("parent");
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("parent in the middle")
            << QRect(560, 350, 800, 500) << QSize(400, 300) << QRect(760, 450, 400, 300);
        QTest::newRow("parent at the top left, dialog taller")
            << QRect(0, 30, 700, 500) << QSize(900, 800) << QRect(0, 30, 900, 800);
        QTest::newRow("parent near the top, title bar would leave the screen")
            << QRect(200, 150, 700, 300) << QSize(800, 700) << QRect(150, 30, 800, 700);
        QTest::newRow("parent at the bottom right")
            << QRect(1600, 740, 320, 460) << QSize(700, 600) << QRect(1220, 600, 700, 600);
    }
    void centredOver()
    {
        QFETCH(QRect, parent);
        QFETCH(QSize, frameSize);
        QFETCH(QRect, expected);
        const QRect placed = pz::centredOver(frameSize, parent, kArea);
        QCOMPARE(placed, expected);
        QVERIFY(inside(placed, kArea));
        QVERIFY(placed.intersects(parent));
    }

    // The information window beside the main window: right when it fits,
    // else left, top edges aligned as far as the screen allows.
    void besideFrame_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("right") << QRect(100, 200, 700, 500) << QSize(800, 600) << true << QPoint(808, 200);
        QTest::newRow("left") << QRect(1100, 200, 700, 500) << QSize(800, 600) << true << QPoint(292, 200);
        QTest::newRow("moved up to stay on the screen")
            << QRect(100, 900, 700, 290) << QSize(800, 600) << true << QPoint(808, 600);
        QTest::newRow("below the panel") << QRect(100, 0, 700, 290) << QSize(800, 600) << true << QPoint(808, 30);
        QTest::newRow("room on neither side") << QRect(500, 200, 900, 500) << QSize(800, 600) << false << QPoint();
        QTest::newRow("taller than the screen") << QRect(100, 200, 700, 500) << QSize(800, 1180) << false << QPoint();
    }
    void besideFrame()
    {
        QFETCH(QRect, anchor);
        QFETCH(QSize, frameSize);
        QFETCH(bool, fits);
        QFETCH(QPoint, expected);
        const std::optional<QPoint> beside = pz::besideFrame(anchor, frameSize, kArea);
        QCOMPARE(beside.has_value(), fits);
        if (!fits)
            return;
        QCOMPARE(*beside, expected);
        const QRect placed(*beside, frameSize);
        QVERIFY(inside(placed, kArea));
        QVERIFY(!placed.intersects(anchor));
    }

    // A window reopened at its stored frame position: its client goes inside
    // the frame, so it does not creep by the title bar at every start; a
    // frame that no longer fits is kept whole on the screen.
    void clientForFrame_data()
    {
        QTest::addColumn<QPoint>("frameAt");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("restored") << QPoint(300, 250) << QSize(700, 500) << QRect(301, 274, 700, 500);
        QTest::newRow("at the top of the area") << QPoint(0, 30) << QSize(700, 500) << QRect(1, 54, 700, 500);
        QTest::newRow("above the area") << QPoint(38, 0) << QSize(700, 500) << QRect(39, 54, 700, 500);
        QTest::newRow("past the bottom right")
            << QPoint(1600, 900) << QSize(700, 500) << QRect(1219, 699, 700, 500);
    }
    void clientForFrame()
    {
        QFETCH(QPoint, frameAt);
        QFETCH(QSize, client);
        QFETCH(QRect, expected);
        const QRect placed = pz::clientForFrame(frameAt, client, kFrame, kArea);
        QCOMPARE(placed, expected);
        QVERIFY(inside(placed.marginsAdded(kFrame), kArea));
    }

    // Real dialogs on the simulated desktop: over their window on that
    // window's screen, whole on it, whether the window is on the first or
    // the second screen; a stored place off every screen comes back to the
    // parent's screen.
    void dialogsOnTheSimulatedDesktop_data()
    {
        QTest::addColumn<QRect>("parentAt");
        QTest::newRow("display 1 top left") << QRect(0, 0, 500, 300);
        QTest::newRow("display 1 centre") << QRect(710, 450, 500, 300);
        QTest::newRow("display 1 bottom right") << QRect(1420, 900, 500, 300);
        QTest::newRow("display 2 bottom right") << QRect(3340, 780, 500, 300);
    }
    void dialogsOnTheSimulatedDesktop()
    {
        PZ_REQUIRE_SIMULATED_SCREENS();
        QFETCH(QRect, parentAt);
        QMainWindow parent;
        parent.setGeometry(parentAt);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QRect screen = parent.screen()->availableGeometry();
        QVERIFY(screen.contains(parentAt));

        QDialog dialog(&parent);
        dialog.resize(900, 700);
        pz::placeOverParent(dialog, &parent);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTRY_VERIFY2(inside(dialog.frameGeometry(), screen),
                     qPrintable(QStringLiteral("%1,%2").arg(dialog.x()).arg(dialog.y())));
        QVERIFY(dialog.frameGeometry().intersects(parent.frameGeometry()));
        dialog.hide();

        QDialog reopened(&parent);
        reopened.resize(400, 300);
        pz::placeAtFrame(reopened, QPoint(-5000, -5000), &parent);
        reopened.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reopened));
        QTRY_VERIFY(inside(reopened.frameGeometry(), screen));
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
