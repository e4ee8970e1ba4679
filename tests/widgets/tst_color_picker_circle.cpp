// The colour picker circle: hue and saturation of presses and drags, the
// press test, the arrow keys, the cursor, the disabled picture, and the
// circle picture's colours at the compass points against the picker's own
// answers there. The widget is written as a PNG into the pictures folder.

#include "PZ_color_picker_circle_widget.h"
#include "TestSupport.h"
#include "Resources.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QSize kSize(118, 118);
const double kR = 49.5;

// A parent that records the keys its child passes on.
class KeyParent : public QWidget {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { keys.append(event->key()); }
};

// Hue of a colour, 0..1, with 1 folded onto 0.
double foldedHue(double hue)
{
    return hue > 0.999 ? hue - 1.0 : hue;
}

} // namespace

class TestColorPickerCircle : public QObject {
    Q_OBJECT

    KeyParent *m_parent = nullptr;
    PZ_color_picker_circle_widget *m_picker = nullptr;

    // The pair the last signal carried.
    static QPair<double, double> last(const QSignalSpy &spy)
    {
        const QList<QVariant> args = spy.last();
        return {args.at(0).toDouble(), args.at(1).toDouble()};
    }

private slots:
    void initTestCase() { pz::initResources(); }

    void init()
    {
        m_parent = new KeyParent;
        m_picker = new PZ_color_picker_circle_widget(m_parent);
        m_picker->setGeometry(QRect(QPoint(0, 0), kSize));
        m_parent->resize(200, 200);
        m_parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_parent));
    }
    void cleanup() { delete m_parent; }

    void sizes()
    {
        QCOMPARE(m_picker->sizeHint(), kSize);
        QCOMPARE(m_picker->minimumSizeHint(), kSize);
        QCOMPARE(PZ_color_picker_circle_widget::AngleFromPoint(0, 0), 0.0);
    }

    void pressGivesHueAndSaturation_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<double>("hue");
        QTest::addColumn<double>("saturation");
        QTest::newRow("centre") << QPoint(58, 58) << 0.5 << 0.0;
        QTest::newRow("below") << QPoint(58, 107) << 0.0 << 49 / kR;
        QTest::newRow("right") << QPoint(107, 58) << 0.25 << 49 / kR;
        QTest::newRow("above") << QPoint(58, 9) << 0.5 << 49 / kR;
        QTest::newRow("left") << QPoint(9, 58) << 0.75 << 49 / kR;
    }
    void pressGivesHueAndSaturation()
    {
        QFETCH(QPoint, at);
        QFETCH(double, hue);
        QFETCH(double, saturation);
        QSignalSpy spy(m_picker, &PZ_color_picker_circle_widget::HueSatChanged);
        QTest::mousePress(m_picker, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(spy.count(), 1);
        QVERIFY(qAbs(foldedHue(last(spy).first) - hue) < 1e-6);
        QVERIFY(qAbs(last(spy).second - saturation) < 1e-9);
        // The mouse does not move the ball: the owner does.
        double h = -1, s = -1;
        m_picker->GetHueSaturation(&h, &s);
        QCOMPARE(h, 0.0);
        QCOMPARE(s, 0.0);
        QTest::mouseRelease(m_picker, Qt::LeftButton, Qt::NoModifier, at);
    }

    void pressOutsideStartsNoDrag()
    {
        QSignalSpy spy(m_picker, &PZ_color_picker_circle_widget::HueSatChanged);
        QTest::mousePress(m_picker, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        QMouseEvent move(QEvent::MouseMove, QPointF(58, 58), m_picker->mapToGlobal(QPointF(58, 58)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_picker, &move);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_picker->cursor().shape(), Qt::OpenHandCursor);
        QTest::mouseRelease(m_picker, Qt::LeftButton, Qt::NoModifier, QPoint(58, 58));
    }

    void dragFarOutKeepsFullSaturation()
    {
        QSignalSpy spy(m_picker, &PZ_color_picker_circle_widget::HueSatChanged);
        QTest::mousePress(m_picker, Qt::LeftButton, Qt::NoModifier, QPoint(58, 58));
        for (const QPoint &at : {QPoint(190, 58), QPoint(58, 190), QPoint(-60, -60)}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(at), m_picker->mapToGlobal(QPointF(at)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(m_picker, &move);
            QCOMPARE(last(spy).second, 1.0);
            QCOMPARE(m_picker->cursor().shape(), Qt::ArrowCursor);
        }
        QCOMPARE(spy.count(), 4);
        // Back inside while dragging: the closed hand.
        QMouseEvent inside(QEvent::MouseMove, QPointF(60, 60), m_picker->mapToGlobal(QPointF(60, 60)),
                           Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_picker, &inside);
        QCOMPARE(m_picker->cursor().shape(), Qt::ClosedHandCursor);
        QTest::mouseRelease(m_picker, Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
        // Released: a move reports nothing.
        QTest::mouseMove(m_picker, QPoint(70, 70));
        QCOMPARE(spy.count(), 5);
    }

    void arrowKeysMoveTheBall()
    {
        const QImage before = m_picker->grab().toImage();
        QSignalSpy spy(m_picker, &PZ_color_picker_circle_widget::HueSatChanged);
        QTest::keyClick(m_picker, Qt::Key_Up);
        QCOMPARE(spy.count(), 1);
        QVERIFY(qAbs(last(spy).first - 0.5) < 1e-6);
        QVERIFY(qAbs(last(spy).second - 0.25 / 49) < 1e-12);
        double h = 0, s = 0;
        m_picker->GetHueSaturation(&h, &s);
        QCOMPARE(h, last(spy).first);
        QCOMPARE(s, last(spy).second);
        QVERIFY(m_parent->keys.isEmpty());

        // Many steps right: the ball leaves the centre towards hue 0.25.
        m_picker->SetHueSaturation(0.25, 0.5);
        QCOMPARE(spy.count(), 1);   // setting emits nothing
        QTest::keyClick(m_picker, Qt::Key_Right);
        QVERIFY(qAbs(last(spy).first - 0.25) < 1e-6);
        QVERIFY(qAbs(last(spy).second - (0.5 * 49 + 0.25) / 49) < 1e-9);
        QVERIFY(m_picker->grab().toImage() != before);

        QTest::keyClick(m_picker, Qt::Key_A);
        QCOMPARE(m_parent->keys, QList<int>{Qt::Key_A});
        QCOMPARE(spy.count(), 2);
    }

    void tooSmallForACircle()
    {
        m_picker->setGeometry(0, 0, 18, 18);
        QSignalSpy spy(m_picker, &PZ_color_picker_circle_widget::HueSatChanged);
        QTest::mousePress(m_picker, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
        QTest::keyClick(m_picker, Qt::Key_Up);
        QCOMPARE(spy.count(), 0);
        QVERIFY(m_parent->keys.isEmpty());
    }

    void ballIsPaintedAtTheChoice()
    {
        // The ball's grey covers the saturated colour of the picture.
        m_picker->SetHueSaturation(0.25, 1.0);
        const QImage image = m_picker->grab().toImage();
        const QColor onBall = image.pixelColor(58 + 49, 58);
        QVERIFY2(onBall.hsvSaturationF() < 0.3, qPrintable(onBall.name()));
        const QColor offBall = image.pixelColor(58, 58 + 45);
        QVERIFY(offBall.hsvSaturationF() > 0.8);
        image.save(pz::test::picturePath("color_picker_circle.png"));
    }

    void disabledIsGreyWithoutBall()
    {
        m_picker->SetHueSaturation(0.0, 0.0);
        m_picker->setEnabled(false);
        const QImage image = m_picker->grab().toImage();
        for (const QPoint &at : {QPoint(58, 58), QPoint(58, 100), QPoint(100, 58)}) {
            const QColor c = image.pixelColor(at);
            QVERIFY2(qAbs(c.red() - c.green()) < 12 && qAbs(c.green() - c.blue()) < 12,
                     qPrintable(c.name()));
        }
        // No ball: its dark rim would show round the centre.
        QVERIFY(image.pixelColor(58 - 6, 58).lightness() > 150);
    }

    // The picture and the picker agree at the compass points.
    void pictureMatchesPicker()
    {
        const QImage picture(":/images/Resources/white point color circle.png");
        QCOMPARE(picture.size(), kSize);
        for (const QPoint &at : {QPoint(58, 100), QPoint(100, 58), QPoint(58, 16), QPoint(16, 58),
                                 QPoint(80, 80), QPoint(30, 40)}) {
            QSignalSpy spy(m_picker, &PZ_color_picker_circle_widget::HueSatChanged);
            QTest::mousePress(m_picker, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(m_picker, Qt::LeftButton, Qt::NoModifier, at);
            const double hue = foldedHue(last(spy).first);
            const QColor c = picture.pixelColor(at);
            QVERIFY2(qAbs(c.hsvHueF() - hue) < 0.01 || qAbs(c.hsvHueF() - hue) > 0.99,
                     qPrintable(QStringLiteral("%1,%2: %3 vs %4").arg(at.x()).arg(at.y())
                                    .arg(c.hsvHueF()).arg(hue)));
            QVERIFY(qAbs(c.hsvSaturationF() - last(spy).second) < 0.01);
            QCOMPARE(c.value(), 255);
        }
        // Outside the circle the picture is transparent.
        QCOMPARE(picture.pixelColor(2, 2).alpha(), 0);
    }
};

QTEST_MAIN(TestColorPickerCircle)
#include "tst_color_picker_circle.moc"
