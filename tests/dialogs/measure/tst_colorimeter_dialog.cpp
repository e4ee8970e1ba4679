// The colorimeter tool on the simulated desktop: the simulated i1 Display
// Pro on display 1 reads the dialog's measurement patch through the screen
// sampler. Readings (single, continuous, failing), the texts, the clipboard
// text, the sample colour controls and the placement. The dialog is
// written as a PNG into the pictures folder.

#include "MeasureToolsRig.h"
#include "TestSupport.h"
#include "MeasurementTexts.h"
#include "ModalBox.h"
#include "PZ_colorimeter_dialog.h"
#include "Resources.h"
#include "SimLightSensor.h"
#include "SimulatedScreens.h"

#include <QClipboard>
#include <QColorDialog>
#include <QMenu>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

const QString kEmptyCopy = QStringLiteral(
    "CIE XYZ\r\nX: -\r\nY: -\r\nZ: -\r\nCIE xyY\r\nx: -\r\ny: -\r\nY: -\r\nColor Temperature\r\n- K -\r\n");

// A sensor whose every reading has the given XYZ.
class FixedSensor : public SimLightSensor {
public:
    using SimLightSensor::SimLightSensor;
    CCIEXYZ reading;
    int measures = 0;
    int Measure(unsigned) override
    {
        ++measures;
        return kSensorOK;
    }
    int GetXYZData(CCIEXYZ &out) override
    {
        out = reading;
        return kSensorOK;
    }
};

bool within(double shown, double expected, double fraction)
{
    return qAbs(shown - expected) <= qAbs(expected) * fraction;
}

// The number at the start of a label's text.
double numberIn(QLabel *label)
{
    return label->text().section(QLatin1Char(' '), 0, 0).toDouble();
}

} // namespace

class TestColorimeterDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<MeasureToolsRig> rig;
    std::unique_ptr<PZ_colorimeter_dialog> dialog;

    QTimer *timer() { return dialog->findChild<QTimer *>("readingTimer"); }
    int measureCalls() { return int(rig->sensors->i1d3().calls().count("MeasureXYZ")); }
    void open()
    {
        dialog = std::make_unique<PZ_colorimeter_dialog>();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        rig->sensors->i1d3().clearCalls();
    }
    void clickSingle() { QTest::mouseClick(dialog->colorimeter_Single_Measurment_pushButton, Qt::LeftButton); }
    void clickContinuous()
    {
        QCheckBox *box = dialog->colorimeter_Continuous_Measurment_checkBox;
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(5, box->height() / 2));
    }

private slots:
    void initTestCase()
    {
        initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }
    void init()
    {
        rig = std::make_unique<MeasureToolsRig>();
        QVERIFY(rig->sensor());
    }
    void cleanup()
    {
        dialog.reset();
        rig.reset();
    }

    void formAndPlacement()
    {
        open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Colorimeter Tool"));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(!dialog->groupBox_sample_color->isChecked());
        QVERIFY(dialog->sample_color_frame->isHidden());
        QVERIFY(!timer()->isActive());
        // 10 cm of the 1920 x 1200, 52 x 32 cm display.
        QCOMPARE(dialog->measurement_target_widget->minimumWidth(), 369);
        // The patch's centre on the display's centre column.
        const QPoint patchCentre = dialog->measurement_target_widget->mapToGlobal(
            QPoint(dialog->measurement_target_widget->width() / 2, 0));
        QVERIFY2(qAbs(patchCentre.x() - 960) <= 1, qPrintable(QString::number(patchCentre.x())));
        QVERIFY(dialog->geometry().top() >= 0);
        QCOMPARE(measureCalls(), 0);
    }

    void copyBeforeAndAfterAReading()
    {
        open();
        QApplication::clipboard()->clear();
        QTest::keyClick(dialog.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), kEmptyCopy);

        clickSingle();
        QApplication::clipboard()->clear();
        QTest::keyClick(dialog.get(), Qt::Key_C, Qt::ControlModifier);
        const QString byKey = QApplication::clipboard()->text();
        QCOMPARE(byKey.count(QStringLiteral("\r\n")), 10);
        QVERIFY(byKey.startsWith("CIE XYZ\r\nX: " + dialog->colorimeter_XYZ_X_label->text() + "\r\n"));
        QVERIFY(byKey.endsWith("\r\n" + dialog->colorimeter_ColorTemp_line1_label->text() + " "
                               + dialog->colorimeter_ColorTemp_line2_label->text() + "\r\n"));

        // The context menu's one entry copies the same.
        QApplication::clipboard()->clear();
        QTimer::singleShot(0, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 1);
            QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("&Copy"));
            menu->actions().at(0)->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), dialog->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(dialog.get(), &event);
        QCOMPARE(QApplication::clipboard()->text(), byKey);
    }

    void singleReadsTheWhitePatch()
    {
        open();
        clickSingle();
        QCOMPARE(measureCalls(), 1);
        const SimXYZ white = rig->desk.measure(1, 1.0, 1.0, 1.0);
        QVERIFY2(within(numberIn(dialog->colorimeter_XYZ_Y_label), white.Y, 0.005),
                 qPrintable(dialog->colorimeter_XYZ_Y_label->text() + " vs " + QString::number(white.Y)));
        QVERIFY(within(numberIn(dialog->colorimeter_XYZ_X_label), white.X, 0.005));
        QVERIFY(within(numberIn(dialog->colorimeter_XYZ_Z_label), white.Z, 0.005));
        const double sum = white.X + white.Y + white.Z;
        QVERIFY(qAbs(numberIn(dialog->colorimeter_xyY_x_label) - white.X / sum) <= 0.0015);
        QVERIFY(qAbs(numberIn(dialog->colorimeter_xyY_y_label) - white.Y / sum) <= 0.0015);
        QVERIFY(dialog->colorimeter_xyY_Y_label->text().endsWith(QStringLiteral("cd/m²")));
        QVERIFY(dialog->colorimeter_ColorTemp_line1_label->text().endsWith(QStringLiteral(" K")));
        QVERIFY(dialog->colorimeter_ColorTemp_line1_label->text() != QStringLiteral("- K"));
        QVERIFY(dialog->colorimeter_ColorTemp_line2_label->text().endsWith(QStringLiteral(" \u0394uv")));
        QCOMPARE(dialog->colorimeter_action_text_label->text(), QStringLiteral("<font COLOR=\"#ff0000\"> </font>"));
        dialog->grab().save(pz::test::picturePath("colorimeter_dialog.png"));
    }

    void sampleColourFromTheColourDialog()
    {
        open();
        dialog->groupBox_sample_color->setChecked(true);
        QVERIFY(!dialog->sample_color_frame->isHidden());
        {
            pz::test::ModalWindowAnswer<QColorDialog> colours([](QColorDialog &colours) {
                colours.setCurrentColor(QColor(255, 0, 0));
                colours.accept();
            });
            QTest::mouseClick(dialog->colorimeter_ColorPicker_pushButton, Qt::LeftButton);
            QVERIFY(colours.shown());
        }
        QCOMPARE(dialog->colorimeter_rgb_Red_level_spinbox->value(), 255);
        QCOMPARE(dialog->colorimeter_rgb_Green_level_spinbox->value(), 0);
        QCOMPARE(dialog->colorimeter_rgb_Blue_level_spinbox->value(), 0);
        QCOMPARE(dialog->custom_white_point_brightness_verticalSlider->value(), 255);
        clickSingle();
        const SimXYZ red = rig->desk.measure(1, 1.0, 0.0, 0.0);
        const double sum = red.X + red.Y + red.Z;
        QVERIFY2(qAbs(numberIn(dialog->colorimeter_xyY_x_label) - red.X / sum) <= 0.0015,
                 qPrintable(dialog->colorimeter_xyY_x_label->text()));
        QVERIFY(qAbs(numberIn(dialog->colorimeter_xyY_y_label) - red.Y / sum) <= 0.0015);
        dialog->grab().save(pz::test::picturePath("colorimeter_dialog_sample.png"));

        // A cancelled colour dialog changes nothing.
        pz::test::ModalWindowAnswer<QColorDialog> cancelled([](QColorDialog &colours) { colours.close(); });
        QTest::mouseClick(dialog->colorimeter_ColorPicker_pushButton, Qt::LeftButton);
        QVERIFY(cancelled.shown());
        QCOMPARE(dialog->colorimeter_rgb_Green_level_spinbox->value(), 0);
    }

    void continuousThenSingle()
    {
        open();
        clickContinuous();
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 1000);
        QCOMPARE(measureCalls(), 0);   // the first reading comes after one period
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        QCOMPARE(measureCalls(), 1);
        clickSingle();
        QVERIFY(!dialog->colorimeter_Continuous_Measurment_checkBox->isChecked());
        QVERIFY(!timer()->isActive());
        QCOMPARE(measureCalls(), 2);
        // Unchecked by the user: stopped.
        clickContinuous();
        clickContinuous();
        QVERIFY(!timer()->isActive());
    }

    void failureStopsContinuousBeforeTheMessage()
    {
        open();
        clickSingle();
        clickContinuous();
        rig->sensors->i1d3().faults().failNext(QStringLiteral("MeasureXYZ"), -1, SimSensorFaults::kForever);
        bool timerRanUnderTheBox = true;
        ModalBoxAnswer answer([&](QMessageBox &box) {
            timerRanUnderTheBox = timer()->isActive();
            box.accept();
        });
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        QVERIFY(answer.shown());
        QVERIFY(!timerRanUnderTheBox);
        QVERIFY(!dialog->colorimeter_Continuous_Measurment_checkBox->isChecked());
        QCOMPARE(dialog->colorimeter_XYZ_X_label->text(), QStringLiteral("0.00"));
        QCOMPARE(dialog->colorimeter_XYZ_Y_label->text(), QStringLiteral("0.00"));
        QCOMPARE(dialog->colorimeter_xyY_x_label->text(), QStringLiteral("0.000"));
        QCOMPARE(dialog->colorimeter_ColorTemp_line1_label->text(), QStringLiteral("- K"));
        QCOMPARE(dialog->colorimeter_ColorTemp_line2_label->text(), QStringLiteral("-"));
        const int calls = measureCalls();
        QTest::qWait(50);
        QCOMPARE(measureCalls(), calls);
    }

    void negativeLuminanceShowsZeros()
    {
        rig.reset();
        rig = std::make_unique<MeasureToolsRig>(SimMonitorConfig::hxsim24(), true, false);
        auto *fixed = new FixedSensor(*rig->light);
        fixed->reading = CCIEXYZ(12.0, -0.5, 3.0);
        pTargetSensor->m_pCurrentSensor = fixed;   // the selector owns it
        open();
        clickSingle();
        QCOMPARE(fixed->measures, 1);
        QCOMPARE(dialog->colorimeter_XYZ_X_label->text(), QStringLiteral("0.00"));
        QCOMPARE(dialog->colorimeter_XYZ_Z_label->text(), QStringLiteral("0.00"));
        QCOMPARE(dialog->colorimeter_ColorTemp_line1_label->text(), QStringLiteral("- K"));
    }

    void withoutASensorNothingReads()
    {
        rig.reset();
        rig = std::make_unique<MeasureToolsRig>(SimMonitorConfig::hxsim24(), true, false);
        open();
        clickSingle();
        clickContinuous();
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        QCOMPARE(dialog->colorimeter_XYZ_X_label->text(), QStringLiteral("-"));
        QCOMPARE(dialog->colorimeter_action_text_label->text(), QString());
    }

    void temperatureTexts_data()
    {
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<double>("deltaUV");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::newRow("2499") << 2499 << 0.001 << "- K" << "-";
        QTest::newRow("2500") << 2500 << 0.001 << "2500 K" << "0.0010 \u0394uv";
        QTest::newRow("20000") << 20000 << 0.0 << "20000 K" << "0.0000 \u0394uv";
        QTest::newRow("20001") << 20001 << 0.0 << "- K" << "-";
        QTest::newRow("negative duv") << 6500 << -0.00312 << "6500 K" << "0.0031 \u0394uv";
        QTest::newRow("zero") << 0 << 0.0 << "- K" << "-";
    }
    void temperatureTexts()
    {
        QFETCH(int, kelvin);
        QFETCH(double, deltaUV);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        const TemperatureLines lines = colorimeterTemperatureLines((unsigned short)kelvin, deltaUV);
        QCOMPARE(lines.kelvin, line1);
        QCOMPARE(lines.deltaUV, line2);
    }

    void resetAndThePatchColour()
    {
        open();
        colorimeterMeasurementTarget *patch = dialog->measurement_target_widget;
        const auto patchCentre = [&] {
            const QImage image = patch->grab().toImage();
            return image.pixelColor(image.width() / 2, image.height() / 2);
        };
        dialog->groupBox_sample_color->setChecked(true);
        dialog->colorimeter_rgb_Green_level_spinbox->setValue(40);
        QCOMPARE(dialog->custom_white_point_brightness_verticalSlider->value(), 255);
        QCOMPARE(patchCentre(), QColor(255, 40, 255));
        // The value slider scales the colour.
        dialog->custom_white_point_brightness_verticalSlider->setValue(128);
        QCOMPARE(dialog->colorimeter_rgb_Red_level_spinbox->value(), 128);
        QCOMPARE(dialog->colorimeter_rgb_Blue_level_spinbox->value(), 128);

        dialog->groupBox_sample_color->setChecked(false);
        QCOMPARE(patchCentre(), QColor(Qt::white));
        dialog->colorimeter_rgb_Blue_level_spinbox->setValue(10);
        QCOMPARE(patchCentre(), QColor(Qt::white));

        dialog->groupBox_sample_color->setChecked(true);
        QTest::mouseClick(dialog->custom_white_point_reset_rgb_pushButton, Qt::LeftButton);
        for (QSpinBox *box : {dialog->colorimeter_rgb_Red_level_spinbox, dialog->colorimeter_rgb_Green_level_spinbox,
                              dialog->colorimeter_rgb_Blue_level_spinbox})
            QCOMPARE(box->value(), 255);
        QCOMPARE(dialog->custom_white_point_brightness_verticalSlider->value(), 255);
        QCOMPARE(patchCentre(), QColor(Qt::white));
    }

    void pickerCircleSetsTheColour()
    {
        open();
        dialog->groupBox_sample_color->setChecked(true);
        PZ_color_picker_circle_widget *picker = dialog->color_picker_circle_widget;
        // Straight to the right of the centre, on the rim: hue 0.25.
        const int c0 = (qMin(picker->width(), picker->height()) - 1 - 18) / 2 + 9;
        const int d = qMin(picker->width(), picker->height()) - 1 - 18;
        QTest::mouseClick(picker, Qt::LeftButton, Qt::NoModifier, QPoint(c0 + d / 2, c0));
        const QColor chosen(dialog->colorimeter_rgb_Red_level_spinbox->value(),
                            dialog->colorimeter_rgb_Green_level_spinbox->value(),
                            dialog->colorimeter_rgb_Blue_level_spinbox->value());
        QVERIFY2(qAbs(chosen.hsvHueF() - 0.25) < 0.02, qPrintable(chosen.name()));
        double hue = 0, saturation = 0;
        picker->GetHueSaturation(&hue, &saturation);
        QVERIFY(qAbs(hue - 0.25) < 0.02);
        QVERIFY(saturation > 0.95);
        // Straight below: hue 0 (red), even from a hue a hair above 1.
        QTest::mouseClick(picker, Qt::LeftButton, Qt::NoModifier, QPoint(c0, c0 + d / 2));
        QCOMPARE(dialog->colorimeter_rgb_Red_level_spinbox->value(), 255);
        QVERIFY(dialog->colorimeter_rgb_Green_level_spinbox->value() <= 3);
    }
};

QTEST_MAIN(TestColorimeterDialog)
#include "tst_colorimeter_dialog.moc"
