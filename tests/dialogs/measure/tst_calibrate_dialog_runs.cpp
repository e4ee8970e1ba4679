// The calibration window running the real calibration thread on the
// simulated desktop: a profiling from Continue to Accepted, the patch
// handshake against what the sensor sees through the screen sampler, the
// white first reading, Cancel in each phase, the restoring run after a
// configured monitor (and its warning when the monitor does not answer),
// an error in the first reading, and the selector left alone during a run.
// A picture of the window in the middle of a run is written to the build
// folder.

#include "CalibrateDialogRig.h"
#include "TestSupport.h"
#include "Messages.h"
#include "ModalBox.h"
#include "Resources.h"
#include "SimulatedScreens.h"

#include <QDir>
#include <QLabel>
#include <QMutex>
#include <QtTest>
#include <future>

using namespace pz;
using namespace pz::test;

namespace {

// A calibration that has begun configuring the monitor and then shows the
// white patch again and again until it is cancelled. Everything else,
// the restoring run included, is the real thread's.
class ConfiguringThread : public CalibrateThread {
public:
    ConfiguringThread() : CalibrateThread(nullptr) {}
    ~ConfiguringThread() override { stopAndWait(); }
    using CalibrateThread::aborted;

    void calibrate() override
    {
        emit SetNumberOfTasks(14);
        emit ShowMainInformationWidget(true);
        m_MonitorConfigured = true;
        emit StartingTask(TASK_SETUP_MONITOR_FOR_CALIBRATION);
        // Readings as a white point adjustment shows them.
        emit ShowColorAdjustmentWidgets(true);
        emit SetWhiteLevelTargetMinMax(0.0, 250.0);
        emit SetWhiteLevelTarget(160.0);
        emit ShowWhiteLevelTarget(true);
        emit SetWhitePointTargetxy(0.3127, 0.3290);
        emit SetBlackLevelMeasuredValue(0.21);
        emit SetWhiteLevelMeasuredValue(181.3);
        emit SetWhitePointMeasuredValue(0.3171, 0.3262, 181.3);
        emit StartingTask(TASK_ADJUSTING_WHITE_POINT);
        while (SetMeasurementAreaPatchColorLocal(Qt::white) == 0) {
        }
        handleError(kCancelled);
    }
};

// Every patch the thread asks for, recorded in the worker as it asks.
struct PatchRequests {
    QMutex lock;
    QList<QColor> colours;

    void watch(CalibrateThread &t)
    {
        QObject::connect(&t, &CalibrateThread::SetMeasurementAreaPatchColor, &t,
                         [this](QColor c) {
                             QMutexLocker l(&lock);
                             colours.append(c);
                         },
                         Qt::DirectConnection);
    }
    // The n-th request (from 1): the worker may already have asked for the
    // next one while the window finishes the n-th handshake.
    QColor at(int n)
    {
        QMutexLocker l(&lock);
        return n >= 1 && n <= colours.size() ? colours.at(n - 1) : QColor();
    }
    int count()
    {
        QMutexLocker l(&lock);
        return colours.size();
    }
};

// Equal but for the rounding of the sampler's averaging.
bool sameXYZ(const SimXYZ &a, const SimXYZ &b)
{
    auto near = [](double u, double v) { return qAbs(u - v) <= 1e-6 * qMax(1.0, qAbs(v)); };
    return near(a.X, b.X) && near(a.Y, b.Y) && near(a.Z, b.Z);
}

void startRun(PZ_Calibrate_Dialog &d)
{
    QVERIFY(d.continue_pushButton->isEnabled());
    QTest::mouseClick(d.continue_pushButton, Qt::LeftButton);
}

} // namespace

static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

class TestCalibrateDialogRuns : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initSensorPictures();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    // The simulated i1 Display Pro: placement prompt, one Continue, and
    // the profiling runs to its end.
    void profilingWithTheSimulatedSensor()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::SimulatedI1d3);
        QVERIFY(rig.sensor() && rig.sensor()->m_Connected);
        auto d = rig.open();
        PatchRequests requests;
        requests.watch(*d->calibrationThread());
        int handshakes = 0;
        QStringList wrongReadings;
        QString picture;
        connect(d.get(), &PZ_Calibrate_Dialog::patchChanged, this, [&] {
            ++handshakes;
            // The sensor already sees the colour asked for.
            const QColor c = requests.at(handshakes);
            // Read as the worker reads: the sample kept by the screen
            // sampler, from another thread.
            const SimXYZ seen = std::async(std::launch::async, [&] { return rig.light->emissive(); }).get();
            const SimXYZ expected = rig.desk.measure(1, c.redF(), c.greenF(), c.blueF());
            if (!sameXYZ(seen, expected))
                wrongReadings.append(QStringLiteral("%1: %2 %3 %4 / %5 %6 %7")
                                         .arg(c.name())
                                         .arg(seen.X).arg(seen.Y).arg(seen.Z)
                                         .arg(expected.X).arg(expected.Y).arg(expected.Z));
            if (handshakes == 3) {
                picture = pz::test::picturePath("calibrate_dialog_running.png");
                d->grab().save(picture);
            }
        });
        QString failure;
        connect(d->calibrationThread(), &CalibrateThread::calibrationError, this, [&](int code) {
            failure = QStringLiteral("error %1 after %2 handshakes").arg(code).arg(handshakes);
        });
        ModalBoxAnswer answer;
        startRun(*d);
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QVERIFY2(!answer.shown(), qPrintable(failure));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QVERIFY(d->GetCalibratedAdjustValue()->m_IsValid);
        QVERIFY(handshakes > 3);
        QCOMPARE(handshakes, requests.count());
        QVERIFY2(wrongReadings.isEmpty(), qPrintable(wrongReadings.mid(0, 4).join("; ")));
        QCOMPARE(d->progressBar->value(), d->progressBar->maximum());
        QVERIFY(!picture.isEmpty() && QFile::exists(picture));
    }

    void firstReadingIsWhite()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        auto d = rig.open();
        ModalBoxAnswer answer;
        startRun(*d);
        // No event is handled here until the first reading is taken: it sees
        // what the window had shown when Continue returned.
        for (int i = 0; i < 1000 && rig.scripted->readingsY().isEmpty(); ++i)
            QThread::msleep(10);
        QVERIFY(!rig.scripted->readingsY().isEmpty());
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QVERIFY2(!answer.shown(), qPrintable(answer.text()));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        const QList<double> readings = rig.scripted->readingsY();
        QVERIFY(!readings.isEmpty());
        QCOMPARE(readings.first(), rig.desk.measure(1, 1.0, 1.0, 1.0).Y);
    }

    void cancelWhilePreparing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelWhilePreparing()
    {
        QFETCH(bool, escape);
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        auto d = rig.open();
        ModalBoxAnswer answer;
        if (escape)
            QTest::keyClick(d.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QVERIFY(!d->runStarted());
        QVERIFY(!answer.shown());
    }

    void cancelDuringProfiling_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("profile") << int(CalibrateThread::OPERATION_PROFILE);
        QTest::newRow("validate") << int(CalibrateThread::OPERATION_VALIDATE);
    }
    void cancelDuringProfiling()
    {
        QFETCH(int, operation);
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        auto d = rig.open(CTargetValue(), CalibrateThread::typeOperationType(operation));
        int handshakes = 0;
        QString caption;
        bool cancelDisabled = false;
        connect(d.get(), &PZ_Calibrate_Dialog::patchChanged, this, [&] {
            if (++handshakes != 2)
                return;
            QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
            caption = d->calibration_step_label->text();
            cancelDisabled = !d->cancel_pushButton->isEnabled();
        });
        ModalBoxAnswer answer;
        startRun(*d);
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QCOMPARE(caption, QStringLiteral("Canceling operation"));
        QVERIFY(cancelDisabled);
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QVERIFY(!answer.shown());
    }

    void cancelAfterConfiguring_data()
    {
        QTest::addColumn<bool>("monitorSilent");
        QTest::newRow("monitor answers") << false;
        QTest::newRow("monitor silent") << true;
    }
    void cancelAfterConfiguring()
    {
        QFETCH(bool, monitorSilent);
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        ScopedCalibrateThreadFactory factory([](CalibrateThreadKind) { return new ConfiguringThread; });
        auto d = rig.open(CTargetValue(), CalibrateThread::OPERATION_CALIBRATE);
        int handshakes = 0;
        QString caption;
        connect(d.get(), &PZ_Calibrate_Dialog::patchChanged, this, [&] {
            if (++handshakes != 3)
                return;
            if (!monitorSilent)
                d->grab().save(pz::test::picturePath("calibrate_dialog_adjusting.png"));
            QCOMPARE(d->xy_label->text(), QStringLiteral("(0.317,0.326)"));
            QVERIFY(!d->white_level_groupBox->isHidden());
            QCOMPARE(d->white_level_widget->maximum(), 250.0);
            if (monitorSilent)
                rig.monitor->addFault({SimFaultKind::NakWrite, -1, -1, 100000});
            QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
            caption = d->calibration_step_label->text();
        });
        const int framesBefore = rig.monitor->frames().size();
        ModalBoxAnswer answer;
        startRun(*d);
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QCOMPARE(caption, QStringLiteral("Resetting to Default Settings"));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QVERIFY(!d->GetCalibratedAdjustValue()->m_IsValid);
        // The restoring run talked to the monitor.
        QVERIFY(rig.monitor->frames().size() > framesBefore);
        QCOMPARE(d->calibrationThread()->m_RestoreResult != 0, monitorSilent);
        QCOMPARE(answer.shown(), monitorSilent);
        if (monitorSilent)
            QCOMPARE(answer.text(), errorMessageText(-1025));
    }

    // Return pressed again right after the Return that started the run
    // (or Enter, or Space) reaches nothing: the calibration goes on, and
    // only Cancel ends it.
    void returnAgainKeepsTheRunGoing()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        ScopedCalibrateThreadFactory factory([](CalibrateThreadKind) { return new ConfiguringThread; });
        auto d = rig.open(CTargetValue(), CalibrateThread::OPERATION_CALIBRATE);
        auto press = [&](Qt::Key key) {
            QWidget *focus = d->focusWidget();
            QTest::keyClick(focus ? focus : d.get(), key);
        };
        int handshakes = 0;
        bool runningAfterKeys = false;
        bool cancelStillEnabled = false;
        QString captionAfterKeys;
        connect(d.get(), &PZ_Calibrate_Dialog::patchChanged, this, [&] {
            ++handshakes;
            if (handshakes == 2) {
                press(Qt::Key_Return);
                press(Qt::Key_Enter);
                press(Qt::Key_Space);
                press(Qt::Key_Return);
            }
            if (handshakes != 4)
                return;
            auto *thread = static_cast<ConfiguringThread *>(d->calibrationThread());
            runningAfterKeys = thread->isRunning() && !thread->aborted();
            cancelStillEnabled = d->cancel_pushButton->isEnabled();
            captionAfterKeys = d->calibration_step_label->text();
            QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
        });
        QVERIFY(!d->cancel_pushButton->autoDefault());
        d->continue_pushButton->setFocus();
        ModalBoxAnswer answer;
        press(Qt::Key_Return);
        QVERIFY(d->runStarted());
        QVERIFY(d->focusWidget() != d->cancel_pushButton);
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QVERIFY(runningAfterKeys);
        QVERIFY(cancelStillEnabled);
        QCOMPARE(captionAfterKeys, QStringLiteral("Adjusting White Point"));
        QVERIFY(!answer.shown());
    }

    void errorInFirstReading()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        // The monitor dark: far below the first reading's minimum.
        rig.scripted->setGain(0.01);
        QVERIFY(rig.desk.measure(1, 1, 1, 1).Y * 0.01 < CalibrateThread::kMinimumMeasureWhite);
        auto d = rig.open();
        ModalBoxAnswer answer;
        startRun(*d);
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QVERIFY(answer.shown());
        QCOMPARE(answer.text(), errorMessageText(CalibrateThread::kImplausibleReading));
        QCOMPARE(d->result(), int(QDialog::Rejected));
    }

    // The selector is not followed once the thread runs: turning it,
    // a failing read and a second Continue change nothing.
    void selectorIgnoredDuringRun()
    {
        CalibrateDialogRig rig(CalibrateDialogRig::Scripted);
        rig.scripted->selector = true;
        auto d = rig.open();
        int handshakes = 0;
        bool continueEnabledDuringRun = false;
        connect(d.get(), &PZ_Calibrate_Dialog::patchChanged, this, [&] {
            if (++handshakes != 2)
                return;
            rig.scripted->turnTo(CSensor::kSelectorAmbient);
            rig.scripted->turnTo(CSensor::kSelectorDisplay);
            rig.scripted->position = CSensor::kSensorNotConnected;
            // As if the timers fired now.
            d->update_sensor_selector_timer();
            d->poll_sensor_selector_timer();
            d->on_continue_pushButton_clicked();
            continueEnabledDuringRun = d->continue_pushButton->isEnabled();
        });
        ModalBoxAnswer answer;
        startRun(*d);
        QVERIFY(d->runStarted());
        auto *update = d->findChild<QTimer *>("selector_update_timer");
        QVERIFY(CalibrateDialogRig::waitClosed(*d));
        QVERIFY(!update->isActive());
        QVERIFY(!continueEnabledDuringRun);
        QVERIFY(!answer.shown());
        QCOMPARE(d->result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestCalibrateDialogRuns)
#include "tst_calibrate_dialog_runs.moc"
