// The calibration window as it is built and as it follows the thread's
// progress signals: the thread class it chooses, the group titles, the
// scale and the overlay geometry, the progress bars and task captions, the
// live readings, the test pattern, and the window without a target display.

#include "CalibrateDialogRig.h"
#include "CalibrateThread_HXSeries.h"
#include "CalibrateThread_sRGB_Preset.h"
#include "LuminanceUnits.h"
#include "Messages.h"
#include "ModalBox.h"
#include "Resources.h"
#include "SimulatedScreens.h"

#include <QLabel>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

QLabel *overlay(PZ_Calibrate_Dialog &d, const char *name)
{
    return d.findChild<QLabel *>(QLatin1String(name));
}

} // namespace

static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

class TestCalibrateDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initSensorPictures();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void threadKind_data()
    {
        QTest::addColumn<int>("displayType");
        QTest::addColumn<int>("gamut");
        QTest::addColumn<int>("kind");
        QTest::newRow("HX, native") << 9 << int(CTargetValue::kGamutNative) << int(CalibrateThreadKind::HXSeries);
        QTest::newRow("HX, sRGB") << 9 << int(CTargetValue::kGamutSRGB) << int(CalibrateThreadKind::HXSeries);
        QTest::newRow("other, sRGB") << 3 << int(CTargetValue::kGamutSRGB) << int(CalibrateThreadKind::SRGBPreset);
        QTest::newRow("other, AdobeRGB") << 3 << int(CTargetValue::kGamutAdobeRGB) << int(CalibrateThreadKind::Standard);
        QTest::newRow("none, native") << 0 << int(CTargetValue::kGamutNative) << int(CalibrateThreadKind::Standard);
    }
    void threadKind()
    {
        QFETCH(int, displayType);
        QFETCH(int, gamut);
        QFETCH(int, kind);
        QCOMPARE(int(calibrateThreadKindFor(displayType, gamut)), kind);
    }

    // The program's factory makes the class of each kind.
    void standardFactoryClasses()
    {
        std::unique_ptr<CalibrateThread> hx(createStandardCalibrateThread(CalibrateThreadKind::HXSeries));
        QVERIFY(dynamic_cast<CalibrateThread_HXSeries *>(hx.get()));
        std::unique_ptr<CalibrateThread> srgb(createStandardCalibrateThread(CalibrateThreadKind::SRGBPreset));
        QVERIFY(dynamic_cast<CalibrateThread_sRGB_Preset *>(srgb.get()));
        std::unique_ptr<CalibrateThread> plain(createStandardCalibrateThread(CalibrateThreadKind::Standard));
        QVERIFY(!dynamic_cast<CalibrateThread_HXSeries *>(plain.get()));
        QVERIFY(!dynamic_cast<CalibrateThread_sRGB_Preset *>(plain.get()));
    }

    // The window asks the factory for the kind its display and target need,
    // once, and runs what it gets.
    void windowUsesTheFactory()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        QList<CalibrateThreadKind> asked;
        ScriptedThread *made = nullptr;
        ScopedCalibrateThreadFactory factory([&](CalibrateThreadKind k) {
            asked.append(k);
            return made = new ScriptedThread;
        });
        CTargetValue target;
        target.m_ColorGamutType = CTargetValue::kGamutSRGB;
        auto d = rig.open(target);
        // The simulated HXSIM24 is of the HX series display type.
        QCOMPARE(rig.controller->GetTargetDisplay()->GetDisplayType(), 9);
        QCOMPARE(asked, QList<CalibrateThreadKind>({CalibrateThreadKind::HXSeries}));
        QCOMPARE(d->calibrationThread(), made);
    }

    void groupTitles_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("title");
        QTest::newRow("calibrate") << 0 << "Calibration Information";
        QTest::newRow("profile") << 2 << "Display Profile Information";
        QTest::newRow("validate") << 3 << "Display Validation Information";
    }
    void groupTitles()
    {
        QFETCH(int, op);
        QFETCH(QString, title);
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open(CTargetValue(), CalibrateThread::typeOperationType(op));
        QCOMPARE(d->calibration_step_groupBox->title(), title);
    }

    void windowCoversDisplay()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open();
        QVERIFY(d->isVisible());
        QCOMPARE(d->geometry(), kDisplay1);
        QCOMPARE(d->windowFlags() & (Qt::Window | Qt::FramelessWindowHint),
                 Qt::Window | Qt::FramelessWindowHint);
        QCOMPARE(d->windowModality(), Qt::ApplicationModal);
        // Hidden until the run: information, levels, patch.
        QVERIFY(!d->calibration_step_groupBox->isVisible());
        QVERIFY(!d->black_level_groupBox->isVisible());
        QVERIFY(!d->findChild<QWidget *>("measurement_target_widget")->isVisible());
        QCOMPARE(d->progressBar->maximum(), 1000);
        // The logo in the bottom right corner.
        QLabel *logo = overlay(*d, "logo_bitmap_label");
        QVERIFY(logo && logo->isVisible());
        QCOMPARE(logo->geometry().bottomRight(), QPoint(1919, 1199));
        QCOMPARE(logo->size(), QPixmap(":/images/Resources/orvane logo.png").size());
        // The instructions fill the top left down to the buttons.
        QLabel *text = overlay(*d, "color_sensor_placement_instructions_text_label");
        QVERIFY(d->widget->y() > 1000);
        QCOMPARE(text->geometry(), QRect(0, 0, 1920 / 2, d->widget->y()));
        QVERIFY(text->wordWrap());
    }

    void scale_data()
    {
        QTest::addColumn<int>("widthCm");
        QTest::addColumn<int>("heightCm");
        QTest::addColumn<double>("pixelsPerCm");
        QTest::newRow("32 cm high") << 52 << 32 << 37.5;
        QTest::newRow("unknown size") << 0 << 0 << 60.0;
        QTest::newRow("no EDID") << -1 << -1 << 60.0;
    }
    void scale()
    {
        QFETCH(int, widthCm);
        QFETCH(int, heightCm);
        QFETCH(double, pixelsPerCm);
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        rig.editDisplay([&](_MonitorData &m) {
            m.m_Width = widthCm;
            m.m_Height = heightCm;
        });
        auto d = rig.open();
        QCOMPARE(d->pixelsPerCm(), pixelsPerCm);

        // The patch is as wide as the sensor's target, centred.
        const int diameter = int(pixelsPerCm * ScriptedSensor::kTargetSizeCm);
        QWidget *patch = d->findChild<QWidget *>("measurement_target_widget");
        QCOMPARE(patch->size(), QSize(diameter, diameter));
        QCOMPARE(patch->pos(), QPoint(960 - diameter / 2, 600 - diameter / 2));

        // The placement picture: sensor height in cm, lens centre on the
        // middle row, centred across.
        QLabel *placement = overlay(*d, "color_sensor_placement_image_label");
        const QPixmap picture(":/images/Resources/i1d3 on display.png");
        QVERIFY(!picture.isNull());
        const double G = pixelsPerCm * ScriptedSensor::kPictureSizeCm;
        const double aspect = double(picture.height()) / picture.width();
        QCOMPARE(placement->size(), QSize(int(G / aspect), int(G)));
        QCOMPARE(placement->x(), 960 - placement->width() / 2);
        QCOMPARE(placement->y() + int(placement->height() * ScriptedSensor::kLensCentreFraction), 600);
        QVERIFY(placement->isVisible());
    }

    void portraitUsesWidth()
    {
        // The same record, read as a display turned to portrait would be:
        // the screen is what counts, so display 1 (landscape) uses its height.
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        rig.editDisplay([](_MonitorData &m) {
            m.m_Width = 24;
            m.m_Height = 40;
        });
        auto d = rig.open();
        QCOMPARE(d->pixelsPerCm(), 1200 / 40.0);
    }

    void progress_data()
    {
        QTest::addColumn<int>("tasks");
        QTest::addColumn<int>("taskSteps");
        QTest::addColumn<int>("subtasks");
        QTest::addColumn<int>("subSteps");
        QTest::addColumn<int>("overall");
        QTest::addColumn<int>("maximum");
        QTest::newRow("5 of 4 after 2 tasks") << 14 << 2 << 4 << 5 << 3000 << 14000;
        QTest::newRow("3 of 4 after 2 tasks") << 14 << 2 << 4 << 3 << 2750 << 14000;
        QTest::newRow("no sub-tasks announced") << 14 << 2 << 0 << 3 << 2000 << 14000;
        QTest::newRow("every task") << 14 << 14 << 0 << 0 << 14000 << 14000;
        QTest::newRow("restoring run") << 0 << 0 << 0 << 1 << 0 << 0;
    }
    void progress()
    {
        QFETCH(int, tasks);
        QFETCH(int, taskSteps);
        QFETCH(int, subtasks);
        QFETCH(int, subSteps);
        QFETCH(int, overall);
        QFETCH(int, maximum);
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open();
        d->CalibrationSetNumberOfTasks(tasks);
        for (int i = 0; i < taskSteps; ++i)
            d->CalibrationStepTaskCounter();
        d->CalibrationSetNumberOfSubtasks(subtasks);
        for (int i = 0; i < subSteps; ++i)
            d->CalibrationStepSubTaskCounter();
        QCOMPARE(d->progressBar->value(), overall);
        QCOMPARE(d->progressBar->maximum(), maximum);
        QCOMPARE(d->progressBarSubStep->maximum(), subtasks);
    }

    void taskCaptions_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << 1 << "Configuring Monitor Settings";
        QTest::newRow("2") << 2 << "Measuring Native Primaries";
        QTest::newRow("3") << 3 << "Measuring Adjusted Primaries";
        QTest::newRow("4") << 4 << "Adjusting White Point";
        QTest::newRow("5") << 5 << "Measuring Corrected Response";
        QTest::newRow("6") << 6 << "Measuring Native Response";
        QTest::newRow("7") << 7 << "Updating Monitor LUTs";
        QTest::newRow("8") << 8 << "Waiting to Stabilize";
        QTest::newRow("9") << 9 << "Adjusting Luminance";
        QTest::newRow("10") << 10 << "Resetting to Default Settings";
        QTest::newRow("11") << 11 << "Canceling operation";
        QTest::newRow("0") << 0 << "Unknown Step 3000 of 17000";
        QTest::newRow("12") << 12 << "Unknown Step 3000 of 17000";
    }
    void taskCaptions()
    {
        QFETCH(int, id);
        QFETCH(QString, caption);
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open();
        d->CalibrationSetNumberOfTasks(17);
        for (int i = 0; i < 3; ++i)
            d->CalibrationStepTaskCounter();
        d->CalibrationStartingTask(id);
        QCOMPARE(d->calibration_step_label->text(), caption);
    }

    void liveReadings()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open();
        d->SetWhitePointMeasuredValue(0.31271, 0.32902, 161.23);
        QCOMPARE(d->xy_label->text(), QStringLiteral("(0.313,0.329)"));
        QCOMPARE(d->white_level_label->text(), CandelasToDisplayText(161.23, 1, true));
        QVERIFY(d->white_level_label->text().contains(QLatin1String("161.2")));
        d->SetBlackLevelMeasuredValue(0.1234);
        QCOMPARE(d->black_level_label->text(), CandelasToDisplayText(0.1234, 2, true));
        QVERIFY(d->black_level_label->text().contains(QLatin1String("0.12")));

        d->CalibrationStartingTask(8);
        d->calibration_step_widget->set_calibration_task(8);
        d->SleepTime(37500);
        QCOMPARE(d->calibration_step_widget->waitSeconds(), 37);
        d->SleepTime(999);
        QCOMPARE(d->calibration_step_widget->waitSeconds(), 0);

        d->ShowColorAdjustmentWidgets(true);
        QVERIFY(!d->black_level_groupBox->isHidden() && !d->white_level_groupBox->isHidden()
                && !d->color_groupBox->isHidden());
        d->ShowColorAdjustmentWidgets(false);
        QVERIFY(d->black_level_groupBox->isHidden() && d->white_level_groupBox->isHidden()
                && d->color_groupBox->isHidden());
    }

    void testPatternOverTheDisplay()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        auto d = rig.open();
        d->ShowTestPattern(1);
        QVERIFY(rig.testPattern->isVisible());
        QCOMPARE(rig.testPattern->geometry(), kDisplay1);
        // What the sensor on display 1 sees: black, not the patch.
        d->SetMeasurementAreaPatchColor(Qt::white);
        d->ShowMeasurementAreaPatch(true);
        rig.sampler->resample();
        QVERIFY(rig.light->emissive().Y < 1.0);
        d->ShowTestPattern(-1);
        QVERIFY(!rig.testPattern->isVisible());
        rig.sampler->resample();
        QVERIFY(rig.light->emissive().Y > 50.0);
    }

    void withoutTargetDisplay_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("continue") << "continue";
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("escape") << "escape";
    }
    void withoutTargetDisplay()
    {
        QFETCH(QString, action);
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor, false);
        auto d = rig.open();
        QVERIFY(!d->calibrationThread());
        QVERIFY(d->GetCalibratedAdjustValue());
        ModalBoxAnswer answer;
        if (action == "continue")
            QTest::mouseClick(d->continue_pushButton, Qt::LeftButton);
        else if (action == "cancel")
            QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
        else
            QTest::keyClick(d.get(), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(answer.shown(), action == "continue");
        if (action == "continue")
            QCOMPARE(answer.text(), pz::errorMessageText(-1001));
    }
};

QTEST_MAIN(TestCalibrateDialog)
#include "tst_calibrate_dialog.moc"
