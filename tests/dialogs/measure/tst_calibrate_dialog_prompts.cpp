// The calibration window's sensor preparation over a scripted sensor: the
// prompt, pictures and Continue state of each step, the zero calibration
// (its prompt painted before the blocking call, its failure), following the
// selector through the change signal and by polling with the blinking LED,
// and a selector read that fails. The run itself is a scripted thread that
// completes at once.

#include "CalibrateDialogRig.h"
#include "TestSupport.h"
#include "Messages.h"
#include "ModalBox.h"
#include "Resources.h"
#include "SimulatedScreens.h"

#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

const QString kPlacementPrompt = QStringLiteral(
    "<h1><font color=LightYellow>Position the sensor gently on the screen as shown and click "
    "<b>Continue</b>.<br>If necessary tilt the display back slightly so the sensor is resting "
    "flat against the screen.<br><u>Never</u> use suction cups to hold the sensor in place.</font></h1>");
const QString kZeroCalPrompt = QStringLiteral("<h1><font color=LightYellow>") + ScriptedSensor::kZeroCalText
                               + QStringLiteral("<br>Click <b>Continue</b> when ready.</font></h1>");
const QString kSelectorPrompt = QStringLiteral("<h1><font color=LightYellow>") + ScriptedSensor::kSelectorText
                                + QStringLiteral("<br>Click <b>Continue</b> when ready.</font></h1>");
const QString kZeroCalRunning =
    QStringLiteral("<h1><font color=LightYellow>Zero calibration in progress...</font></h1>");

// A window over the scripted sensor with a scripted thread that completes.
struct PromptBench {
    CalibrateDialogRig rig{CalibrateDialogRig::Scripted};
    ScriptedThread *thread = nullptr;
    ScopedCalibrateThreadFactory factory{[this](CalibrateThreadKind) {
        thread = new ScriptedThread;
        thread->script = [](ScriptedThread &t) { t.send(&CalibrateThread::CalibrationComplete); };
        return thread;
    }};
    std::unique_ptr<PZ_Calibrate_Dialog> d;

    ScriptedSensor &sensor() { return *rig.scripted; }
    void open() { d = rig.open(); }

    QLabel *label(const char *name) { return d->findChild<QLabel *>(QLatin1String(name)); }
    QLabel *instructions() { return label("color_sensor_placement_instructions_text_label"); }
    QLabel *middlePicture() { return label("color_sensor_zero_calibration_image_label"); }
    QLabel *placement() { return label("color_sensor_placement_image_label"); }
    QTimer *timer(const char *name) { return d->findChild<QTimer *>(QLatin1String(name)); }

    QString prompt() { return instructions()->isHidden() ? QString() : instructions()->text(); }
    bool continueEnabled() { return d->continue_pushButton->isEnabled(); }
    void clickContinue() { QTest::mouseClick(d->continue_pushButton, Qt::LeftButton); }
    // The middle picture shows the sensor's picture of this selector position.
    bool middleShowsPosition(int position)
    {
        const QImage img = middlePicture()->pixmap().toImage();
        return !img.isNull() && img.pixelColor(1, 1).rgb() == ScriptedSensor::pictureColour(position).rgb();
    }
    // The selector turned: the change signal, then the settle timer fires.
    void turnSelector(int position)
    {
        sensor().turnTo(position);
        QVERIFY(timer("selector_update_timer")->isActive());
        QCOMPARE(timer("selector_update_timer")->interval(), PZ_Calibrate_Dialog::kSelectorSettleMs);
        d->update_sensor_selector_timer();
    }
    // A picture of the window for a look, in the pictures folder.
    void savePicture(const char *name)
    {
        d->grab().save(pz::test::picturePath(QLatin1String(name)));
    }
    bool placementPrompt() { return prompt() == kPlacementPrompt && !placement()->isHidden(); }
    // Continue starts the run, which completes.
    bool continueRuns()
    {
        if (!continueEnabled() || !thread)
            return false;
        clickContinue();
        return CalibrateDialogRig::waitClosed(*d, 30000) && thread->begins == 1
               && d->result() == QDialog::Accepted;
    }
};

} // namespace

static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

class TestCalibrateDialogPrompts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initSensorPictures();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void noZeroCalibrationNoSelector()
    {
        PromptBench b;
        b.open();
        b.savePicture("calibrate_dialog_placement.png");
        QVERIFY(b.placementPrompt());
        QVERIFY(b.middlePicture()->isHidden());
        QVERIFY(b.continueRuns());
        QCOMPARE(b.sensor().zeroCalls, 0);
    }

    void zeroCalibrationOnly()
    {
        PromptBench b;
        b.sensor().zeroCal = true;
        QString promptDuringZeroCal;
        bool pictureHiddenDuringZeroCal = false;
        b.sensor().duringZeroCal = [&] {
            promptDuringZeroCal = b.prompt();
            pictureHiddenDuringZeroCal = b.middlePicture()->isHidden();
        };
        b.open();
        QCOMPARE(b.prompt(), kZeroCalPrompt);
        QVERIFY(b.placement()->isHidden());
        QVERIFY(!b.middlePicture()->isHidden());
        QCOMPARE(b.middlePicture()->pixmap().toImage(),
                 QPixmap(":/images/Resources/color munki dial calibrate.png").toImage());
        QVERIFY(b.continueEnabled());

        b.clickContinue();
        QCOMPARE(b.sensor().zeroCalls, 1);
        QCOMPARE(promptDuringZeroCal, kZeroCalRunning);
        QVERIFY(pictureHiddenDuringZeroCal);
        QVERIFY(b.placementPrompt());
        QVERIFY(b.continueRuns());
        QCOMPARE(b.sensor().zeroCalls, 1);
    }

    void zeroCalibrationWithSelector()
    {
        PromptBench b;
        b.sensor().zeroCal = true;
        b.sensor().selector = true;
        b.sensor().position = CSensor::kSelectorDisplay;
        b.open();
        // Turn to the calibrate position first.
        b.savePicture("calibrate_dialog_selector.png");
        QCOMPARE(b.prompt(), kZeroCalPrompt);
        QVERIFY(b.middleShowsPosition(CSensor::kSelectorCalibrate));
        QVERIFY(!b.continueEnabled());
        b.turnSelector(CSensor::kSelectorAmbient);
        QVERIFY(!b.continueEnabled());
        b.turnSelector(CSensor::kSelectorCalibrate);
        QVERIFY(b.continueEnabled());

        // After the zero calibration: back to the display position.
        b.clickContinue();
        QCOMPARE(b.sensor().zeroCalls, 1);
        QCOMPARE(b.prompt(), kSelectorPrompt);
        QVERIFY(b.middleShowsPosition(CSensor::kSelectorDisplay));
        QVERIFY(!b.middlePicture()->isHidden());
        QVERIFY(!b.continueEnabled());
        b.turnSelector(CSensor::kSelectorDisplay);
        QVERIFY(b.continueEnabled());

        b.clickContinue();
        QVERIFY(b.placementPrompt());
        QVERIFY(b.middlePicture()->isHidden());
        QVERIFY(b.continueRuns());
    }

    void polledSelectorBlinks()
    {
        PromptBench b;
        b.sensor().selector = true;
        b.sensor().polled = true;
        b.sensor().position = CSensor::kSelectorAmbient;
        b.open();
        QCOMPARE(b.prompt(), kSelectorPrompt);
        QVERIFY(b.middleShowsPosition(CSensor::kSelectorDisplay));
        QVERIFY(!b.continueEnabled());
        QTimer *poll = b.timer("selector_poll_timer");
        QVERIFY(poll->isActive());
        QCOMPARE(poll->interval(), PZ_Calibrate_Dialog::kSelectorPollMs);

        // Each second: the LED blinks while the selector stands wrong.
        b.d->poll_sensor_selector_timer();
        b.d->poll_sensor_selector_timer();
        QCOMPARE(b.sensor().ledCalls, QList<int>({1, 1}));
        QVERIFY(!b.continueEnabled());
        b.sensor().turnTo(CSensor::kSelectorDisplay);
        b.d->poll_sensor_selector_timer();
        QCOMPARE(b.sensor().ledCalls, QList<int>({1, 1, 0}));
        QVERIFY(b.continueEnabled());
        QVERIFY(poll->isActive());

        b.clickContinue();
        QVERIFY(!poll->isActive());
        QCOMPARE(b.sensor().ledCalls.last(), 0);
        QVERIFY(b.placementPrompt());
        QVERIFY(b.continueRuns());
        b.d.reset();
        QCOMPARE(b.sensor().ledCalls.last(), 0);   // the window's end stops the LED
    }

    void continueAfterSelectorTurnedAway()
    {
        PromptBench b;
        b.sensor().selector = true;
        b.sensor().polled = true;
        b.sensor().position = CSensor::kSelectorAmbient;
        b.open();
        b.sensor().turnTo(CSensor::kSelectorDisplay);
        b.d->poll_sensor_selector_timer();
        QVERIFY(b.continueEnabled());
        b.sensor().turnTo(CSensor::kSelectorProjector);   // before the next poll
        b.clickContinue();
        QCOMPARE(b.prompt(), kSelectorPrompt);
        QVERIFY(b.continueEnabled());
        QVERIFY(!b.d->runStarted());
    }

    void zeroCalibrationFails()
    {
        PromptBench b;
        b.sensor().zeroCal = true;
        b.sensor().zeroCalResult = CSensor::kSensorZeroCalFailed;
        b.open();
        ModalBoxAnswer answer;
        b.clickContinue();
        QVERIFY(answer.shown());
        QCOMPARE(answer.text(), errorMessageText(CSensor::kSensorZeroCalFailed));
        QCOMPARE(b.prompt(), kZeroCalPrompt);
        QVERIFY(!b.middlePicture()->isHidden());
        QVERIFY(b.continueEnabled());
        QCOMPARE(b.d->focusWidget(), b.d->continue_pushButton);
        // Any number of tries.
        b.sensor().zeroCalResult = CSensor::kSensorOK;
        b.clickContinue();
        QCOMPARE(b.sensor().zeroCalls, 2);
        QVERIFY(b.placementPrompt());
        QVERIFY(b.continueRuns());
    }

    void selectorReadFails_data()
    {
        QTest::addColumn<bool>("polled");
        QTest::newRow("change signal") << false;
        QTest::newRow("polled") << true;
    }
    void selectorReadFails()
    {
        QFETCH(bool, polled);
        PromptBench b;
        b.sensor().selector = true;
        b.sensor().polled = polled;
        b.sensor().position = CSensor::kSelectorAmbient;
        b.open();
        ModalBoxAnswer answer;
        b.sensor().position = CSensor::kSensorNotConnected;
        if (polled) {
            b.d->poll_sensor_selector_timer();
        } else {
            emit b.sensor().SensorMeasurementSelectorPositionChanged(0);
            b.d->update_sensor_selector_timer();
        }
        QVERIFY(answer.shown());
        QCOMPARE(answer.text(), errorMessageText(CSensor::kSensorNotConnected));
        QVERIFY(!b.d->isVisible());
        QCOMPARE(b.d->result(), int(QDialog::Rejected));
        QVERIFY(!b.timer("selector_poll_timer")->isActive());
        QVERIFY(!b.timer("selector_update_timer")->isActive());
        QCOMPARE(b.thread->begins.load(), 0);
    }
};

QTEST_MAIN(TestCalibrateDialogPrompts)
#include "tst_calibrate_dialog_prompts.moc"
