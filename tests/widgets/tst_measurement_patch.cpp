// The measurement patch: its square and circle at three sizes, the exact
// colour in its centre (also with alpha), the ring's outer half, the
// fallback with no display under the window, the blank cursor and the
// scheduled repaint. Two patches are written as PNGs into the pictures folder
// for a look.

#include "SimulatedScreens.h"
#include "TestSupport.h"
#include "colorimeterMeasurementTarget.h"

#include <QDir>
#include <QMouseEvent>
#include <QPalette>
#include <QtTest>

using pz::test::rgb;
using pz::test::rgbAt;

namespace {

const QColor kBackground(255, 255, 255);
const QPoint kPatchAt(10, 10);

// A window with a white background holding a patch at (10, 10).
struct PatchWindow {
    QWidget window;
    colorimeterMeasurementTarget *patch = new colorimeterMeasurementTarget(&window);

    explicit PatchWindow(const QSize &size, const QPoint &windowAt = QPoint(100, 100))
    {
        QPalette palette;
        palette.setColor(QPalette::Window, kBackground);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.setGeometry(QRect(windowAt, size + QSize(20, 20)));
        patch->setGeometry(QRect(kPatchAt, size));
    }
    // The patch's pixels, in the patch's coordinates.
    QImage grab()
    {
        return window.grab(QRect(kPatchAt, patch->size())).toImage();
    }
};

int channelDistance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

bool isDark(QRgb c)
{
    return qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) < 40;
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestMeasurementPatch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void sizeHints()
    {
        colorimeterMeasurementTarget patch;
        QCOMPARE(patch.sizeHint(), QSize(300, 300));
        QCOMPARE(patch.minimumSizeHint(), QSize(200, 200));
        QCOMPARE(patch.sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
        QCOMPARE(patch.sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
        QVERIFY(!patch.autoFillBackground());
        QVERIFY(patch.hasMouseTracking());
    }

    // The circle fills its square exactly: the edge pixels carry the
    // colour, the ring's outer half lies dark just outside, and the window
    // shows beyond it.
    void circleInItsSquare_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("square");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("300x300") << QSize(300, 300) << QRect(QPoint(3, 3), QPoint(296, 296)) << QColor(255, 128, 7);
        QTest::newRow("200x200") << QSize(200, 200) << QRect(QPoint(3, 3), QPoint(196, 196)) << QColor(1, 2, 3);
        QTest::newRow("400x300") << QSize(400, 300) << QRect(QPoint(53, 3), QPoint(346, 296)) << QColor(200, 220, 240);
        QTest::newRow("300x400") << QSize(300, 400) << QRect(QPoint(3, 53), QPoint(296, 346)) << QColor(90, 90, 90);
    }

    void circleInItsSquare()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, square);
        QFETCH(QColor, colour);
        QCOMPARE(colorimeterMeasurementTarget::patchSquare(size), square);

        PatchWindow w(size);
        w.patch->setPatchColor(colour);
        const QImage image = w.grab();
        const QRgb want = colour.rgb() & 0xFFFFFF;
        const QPoint c = square.center();
        QCOMPARE(rgbAt(image, c.x(), c.y()), want);
        // The edges of the circle, at its four extremes: the colour within
        // a level or two (antialiasing), then the ring, then the window.
        const QPoint inside[] = {{square.left(), c.y()}, {square.right(), c.y()},
                                 {c.x(), square.top()}, {c.x(), square.bottom()}};
        const QPoint outward[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            const QPoint p = inside[i];
            const QPoint ring = p + outward[i];
            const QPoint beyond = p + 3 * outward[i];
            QVERIFY2(channelDistance(rgbAt(image, p.x(), p.y()), want) <= 2,
                     qPrintable(QString("edge %1,%2").arg(p.x()).arg(p.y())));
            QVERIFY2(isDark(rgbAt(image, ring.x(), ring.y())),
                     qPrintable(QString("ring %1,%2").arg(ring.x()).arg(ring.y())));
            QCOMPARE(rgbAt(image, beyond.x(), beyond.y()), kBackground.rgb() & 0xFFFFFF);
        }
        // The square's corners lie outside the circle.
        QCOMPARE(rgbAt(image, square.left(), square.top()), kBackground.rgb() & 0xFFFFFF);
    }

    void beforeAnyColourTheCircleIsBlack()
    {
        PatchWindow w(QSize(300, 300));
        QCOMPARE(rgbAt(w.grab(), 150, 150), rgb(0, 0, 0));
    }

    // Both fills carry the alpha: half-transparent red over white twice.
    void alphaIsPaintedWithTheColour()
    {
        PatchWindow w(QSize(300, 300));
        w.patch->setPatchColor(QColor(255, 0, 0, 128));
        const QRgb centre = rgbAt(w.grab(), 150, 150);
        const double through = 1.0 - 128 / 255.0;
        const int expected = qRound(255 * through * through);
        QCOMPARE(qRed(centre), 255);
        QVERIFY2(qAbs(qGreen(centre) - expected) <= 2, qPrintable(QString::number(qGreen(centre))));
        QCOMPARE(qGreen(centre), qBlue(centre));
    }

    // With no display under the window, only the first (ringed) fill is
    // there: the ring's inner half shows inside the circle.
    void noDisplayKeepsTheFirstFill()
    {
        PatchWindow w(QSize(300, 300), QPoint(5000, 5000));
        QVERIFY(!QGuiApplication::screenAt(w.window.geometry().center()));
        w.patch->setPatchColor(QColor(255, 128, 7));
        const QImage image = w.grab();
        QCOMPARE(rgbAt(image, 150, 150), rgb(255, 128, 7));
        QVERIFY(isDark(rgbAt(image, 3, 150)));
        QVERIFY(isDark(rgbAt(image, 2, 150)));

        // Over display 2 the second fill is back.
        w.window.move(2000, 100);
        QVERIFY(channelDistance(rgbAt(w.grab(), 3, 150), rgb(255, 128, 7)) <= 2);
    }

    void cursorBlankInsideTheCircle_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("shape");
        QTest::newRow("centre") << QPoint(150, 150) << int(Qt::BlankCursor);
        QTest::newRow("255,255") << QPoint(255, 255) << int(Qt::BlankCursor);
        QTest::newRow("299,150") << QPoint(299, 150) << int(Qt::BlankCursor);
        QTest::newRow("256,256") << QPoint(256, 256) << int(Qt::ArrowCursor);
        QTest::newRow("0,0") << QPoint(0, 0) << int(Qt::ArrowCursor);
    }

    void cursorBlankInsideTheCircle()
    {
        QFETCH(QPoint, at);
        QFETCH(int, shape);
        PatchWindow w(QSize(300, 300));
        // Start from the other shape, so that the move has to set it.
        w.patch->setCursor(shape == Qt::BlankCursor ? Qt::ArrowCursor : Qt::BlankCursor);
        QMouseEvent move(QEvent::MouseMove, QPointF(at), w.patch->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.patch, &move);
        QCOMPARE(int(w.patch->cursor().shape()), shape);
    }

    // A new colour reaches the screen only when pending events run.
    void setPatchColorOnlySchedulesARepaint()
    {
        PatchWindow w(QSize(300, 300));
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        PaintCounter counter;
        w.patch->installEventFilter(&counter);
        w.patch->setPatchColor(QColor(10, 20, 30));
        QCOMPARE(counter.paints, 0);
        QTRY_VERIFY(counter.paints > 0);
    }

    void picturesForALook()
    {
        const QDir folder(pz::test::picturesFolder());
        PatchWindow square(QSize(300, 300));
        square.patch->setPatchColor(QColor(230, 120, 40));
        QVERIFY(square.window.grab().save(folder.filePath("measurement_patch_300x300.png")));
        PatchWindow wide(QSize(400, 300));
        wide.patch->setPatchColor(QColor(40, 120, 230, 160));
        QVERIFY(wide.window.grab().save(folder.filePath("measurement_patch_400x300_alpha.png")));
    }
};

QTEST_MAIN(TestMeasurementPatch)
#include "tst_measurement_patch.moc"
