// The calibration window's three progress widgets: the task picture with
// its countdown, the luminance meter's positions and drawing, and the white
// point crosshair. Pictures are checked against the resource images,
// drawings on the pixels that matter.

#include "PZ_calibration_step_display_widget.h"
#include "PZ_color_xy_widget.h"
#include "PZ_luminance_meter_widget.h"
#include "Resources.h"

#include <QPainter>
#include <QtTest>

namespace {

QImage grabOf(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage resourceImage(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage pictureOf(const PZ_calibration_step_display_widget &w)
{
    return w.picture().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool isRgb(QRgb c, int r, int g, int b)
{
    return qRed(c) == r && qGreen(c) == g && qBlue(c) == b;
}

// Rows of column x painted in colour (r, g, b).
QList<int> rowsInColour(const QImage &img, int x, int r, int g, int b)
{
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (isRgb(img.pixel(x, y), r, g, b))
            rows.append(y);
    return rows;
}

QList<int> columnsInColour(const QImage &img, int y, int r, int g, int b)
{
    QList<int> cols;
    for (int x = 0; x < img.width(); ++x)
        if (isRgb(img.pixel(x, y), r, g, b))
            cols.append(x);
    return cols;
}

} // namespace

class TestCalibrationProgressWidgets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void stepPictureForEachTask_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("subTask");
        QTest::addColumn<QString>("picture");
        const QString r = QStringLiteral(":/images/Resources/");
        QTest::newRow("configuring") << 1 << 0 << r + "monitor adjust 128.png";
        QTest::newRow("native red") << 2 << 1 << r + "cie gamut red128.png";
        QTest::newRow("native green") << 2 << 2 << r + "cie gamut green128.png";
        QTest::newRow("adjusted blue") << 3 << 3 << r + "cie gamut blue128.png";
        QTest::newRow("adjusted black") << 3 << 4 << r + "cie gamut black128.png";
        QTest::newRow("corrected white") << 5 << 5 << r + "cie gamut white128.png";
        QTest::newRow("corrected ramp") << 5 << 6 << r + "gamma blue 128.png";
        QTest::newRow("white point") << 4 << 0 << r + "rgb gain adjust128.png";
        QTest::newRow("native response") << 6 << 0 << r + "gamma uncorrected 128.png";
        QTest::newRow("LUTs") << 7 << 0 << r + "gamma adjust 128.png";
        QTest::newRow("stabilising") << 8 << 0 << r + "brightness wait128.png";
        QTest::newRow("luminance") << 9 << 0 << r + "brightness adjust128.png";
        QTest::newRow("resetting") << 10 << 0 << r + "monitor adjust 128.png";
    }
    void stepPictureForEachTask()
    {
        QFETCH(int, task);
        QFETCH(int, subTask);
        QFETCH(QString, picture);
        PZ_calibration_step_display_widget w;
        w.set_calibration_sub_task(subTask);
        w.set_calibration_task(task);
        const QImage expected = resourceImage(picture);
        QCOMPARE(expected.size(), QSize(128, 128));
        QCOMPARE(pictureOf(w), expected);
        // And on the screen.
        w.resize(128, 128);
        QImage shown(128, 128, QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        w.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        QCOMPARE(shown, expected);
    }

    void stepPictureKeptOrEmpty()
    {
        PZ_calibration_step_display_widget w;
        QCOMPARE(w.sizeHint(), QSize(128, 128));
        QVERIFY(w.picture().isNull());
        // Task 2 before any sub-task: nothing yet.
        w.set_calibration_task(2);
        QVERIFY(w.picture().isNull());
        w.set_calibration_sub_task(1);
        const QImage red = pictureOf(w);
        QCOMPARE(red, resourceImage(":/images/Resources/cie gamut red128.png"));
        // A sub-task without a picture and tasks 0 and 11 keep the current one.
        w.set_calibration_sub_task(7);
        QCOMPARE(pictureOf(w), red);
        w.set_calibration_task(0);
        QCOMPARE(pictureOf(w), red);
        w.set_calibration_task(11);
        QCOMPARE(pictureOf(w), red);
        // The twelve pictures differ from one another.
        QSet<QString> seen;
        for (int task = 1; task <= 10; ++task)
            for (int sub = 0; sub <= 6; ++sub)
                if (!PZ_calibration_step_display_widget::pictureFor(task, sub).isEmpty())
                    seen.insert(PZ_calibration_step_display_widget::pictureFor(task, sub));
        QCOMPARE(seen.size(), 12);
        QSet<QByteArray> keys;
        for (const QString &p : seen) {
            const QImage img = resourceImage(p);
            keys.insert(QByteArray(reinterpret_cast<const char *>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(keys.size(), 12);
    }

    void countdownDigits()
    {
        PZ_calibration_step_display_widget w;
        w.resize(128, 128);
        w.set_calibration_task(8);
        const QImage plain = grabOf(w);
        w.set_wait_time(37);
        QCOMPARE(w.waitSeconds(), 37);
        const QImage counting = grabOf(w);
        // Pink digits and their black shadow inside the text box.
        int pink = 0, black = 0;
        for (int y = 45; y < 66; ++y)
            for (int x = 46; x < 92; ++x) {
                if (counting.pixel(x, y) == plain.pixel(x, y))
                    continue;
                const QRgb c = counting.pixel(x, y);
                pink += isRgb(c, 255, 128, 128);
                black += isRgb(c, 0, 0, 0);
            }
        QVERIFY2(pink > 20, qPrintable(QString::number(pink)));
        QVERIFY(black > 5);
        // Outside the box nothing changed.
        QCOMPARE(counting.copy(0, 0, 128, 40), plain.copy(0, 0, 128, 40));

        w.set_wait_time(0);
        QCOMPARE(grabOf(w), plain);
        // Any other task clears the seconds.
        w.set_wait_time(12);
        w.set_calibration_task(9);
        QCOMPARE(w.waitSeconds(), 0);
        w.set_calibration_task(8);
        QCOMPARE(w.waitSeconds(), 0);
    }

    void meterPositions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("y");
        QTest::newRow("minimum") << 0.0 << 72;
        QTest::newRow("maximum") << 100.0 << 7;
        QTest::newRow("half") << 50.0 << 40;
        QTest::newRow("below the scale") << -50.0 << 104;
        QTest::newRow("above the scale") << 200.0 << -57;
    }
    void meterPositions()
    {
        QFETCH(double, value);
        QFETCH(int, y);
        PZ_luminance_meter_widget w;
        w.resize(20, 80);
        w.set_value_min_max(0.0, 100.0);
        QCOMPARE(w.value_to_vertical_pos(value), y);
    }

    void meterScale()
    {
        PZ_luminance_meter_widget w;
        QCOMPARE(w.sizeHint(), QSize(42, 80));
        w.resize(20, 80);
        w.set_value_min_max(0.0, 100.0);
        w.set_target_level(150.0);
        QCOMPARE(w.maximum(), 150.0);
        w.set_target_level(20.0);
        QCOMPARE(w.maximum(), 150.0);
        w.set_value_min_max(5.0, 5.0);
        for (double v : {0.0, 5.0, 100.0})
            QCOMPARE(w.value_to_vertical_pos(v), 0);
    }

    void meterDrawing()
    {
        PZ_luminance_meter_widget w;
        w.resize(42, 80);
        w.set_value_min_max(0.0, 100.0);
        w.set_bar_background_fill_color(QColor(10, 20, 30));
        w.set_bar_graident_color(QColor(200, 0, 0), QColor(0, 0, 200));
        w.set_value(50.0);
        w.set_target_level(100.0);
        w.show_target_level(true);
        const QImage img = grabOf(w);
        // Bar from x 11 to 30; the grey frame at both sides.
        const int left = 42 / 2 - 20 / 2;
        QVERIFY(isRgb(img.pixel(left, 60), 128, 128, 128));
        // Empty scale above the value, the bar below it.
        QVERIFY(isRgb(img.pixel(left + 8, 20), 10, 20, 30));
        const QRgb bar = img.pixel(left + 8, 60);
        QVERIFY2(qRed(bar) > 150 && qBlue(bar) < 120, qPrintable(QString::number(bar, 16)));
        QVERIFY(qBlue(img.pixel(left + 1, 60)) > qBlue(bar));
        // The arrows mark the maximum (y 7): both beside the bar.
        const QImage arrow = resourceImage(":/images/Resources/small arrow left.png");
        QCOMPARE(arrow.size(), QSize(10, 11));
        const int yT = 7 + 1 - 6;
        QVERIFY(qAlpha(arrow.pixel(0, 5)) > 0);
        const QRgb leftArrow = img.pixel(left - 11, yT + 5);
        const QRgb rightArrow = img.pixel(left + 19 + 2 + 9, yT + 5);
        QCOMPARE(leftArrow, QColor::fromRgba(arrow.pixel(0, 5)).rgb());
        QVERIFY(qRed(rightArrow) > 200 && qGreen(rightArrow) > 150);
        // Hidden target: no arrows.
        w.show_target_level(false);
        QVERIFY(grabOf(w).pixel(left - 11, yT + 5) != leftArrow);
    }

    void crosshair()
    {
        PZ_color_xy_widget w;
        QCOMPARE(w.sizeHint(), QSize(60, 60));
        w.resize(80, 80);
        QCOMPARE(PZ_color_xy_widget::square(w.size()), QRect(5, 5, 70, 70));
        // Without a target: the red cross only, centred at (39, 39).
        w.SetMeasured_xy(0.3177, 0.3329);
        QImage img = grabOf(w);
        QVERIFY(isRgb(img.pixel(39, 10), 237, 0, 0));
        QVERIFY(isRgb(img.pixel(10, 39), 237, 0, 0));
        QVERIFY(rowsInColour(img, 60, 0, 0, 0).isEmpty());

        // Measured x 0.005 above the target: vertical line 5 pixels right.
        w.SetTarget_xy(0.3127, 0.3290);
        w.SetMeasured_xy(0.3177, 0.3290);
        img = grabOf(w);
        QCOMPARE(columnsInColour(img, 20, 0, 0, 0), QList<int>({44}));
        QCOMPARE(rowsInColour(img, 20, 0, 0, 0), QList<int>({39}));

        // A difference of 0.1 stops at the square's right and bottom edge.
        w.SetMeasured_xy(0.4127, 0.4290);
        img = grabOf(w);
        QCOMPARE(columnsInColour(img, 20, 0, 0, 0), QList<int>({74}));
        QCOMPARE(rowsInColour(img, 20, 0, 0, 0), QList<int>({74}));
        // ... and below the target at the left and top edge.
        w.SetMeasured_xy(0.2127, 0.2290);
        img = grabOf(w);
        QCOMPARE(columnsInColour(img, 20, 0, 0, 0), QList<int>({5}));

        // The final measurement is drawn with a one-pixel pen as well.
        w.SetMeasured_xy(0.3177, 0.3290);
        w.SetFinalMeasurement(true);
        QCOMPARE(columnsInColour(grabOf(w), 20, 0, 0, 0), QList<int>({44}));
    }
};

QTEST_MAIN(TestCalibrationProgressWidgets)
#include "tst_calibration_progress_widgets.moc"
