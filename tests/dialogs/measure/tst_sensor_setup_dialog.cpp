// The sensor preparation dialog on the simulated sensors: its pages in
// order for each kind of sensor, OK following the selector, the blinking
// light of a polled diffuser, zero calibration failures and selector read
// failures.

#include "CSensor.h"
#include "TestSupport.h"
#include "Messages.h"
#include "ModalBox.h"
#include "Resources.h"
#include "SensorSetupRig.h"
#include "StringResources.h"
#include "pz_color_sensor_setup_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace pz;
using namespace pz::test;

Q_DECLARE_METATYPE(CTargetSensor::typeTargetSensor)

namespace {

const QString kReady = QStringLiteral("The calibration sensor is now ready to take measurements.");

QPushButton *okButton(QDialog &d)
{
    return d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok);
}
QString message(QDialog &d)
{
    return d.findChild<QLabel *>("sensor_zero_calibration_message_label")->text();
}
bool hasPicture(QDialog &d)
{
    const QLabel *label = d.findChild<QLabel *>("sensor_zero_calibration_image_label");
    // The picture's area is there exactly when it has a picture to show.
    if (label->isVisibleTo(&d) == label->pixmap().isNull())
        return false;
    return !label->pixmap().isNull();
}
// The dialog without a picture is no taller than its text and buttons.
bool sizedToItsText(QDialog &d)
{
    const QLabel *label = d.findChild<QLabel *>("sensor_zero_calibration_image_label");
    return label->pixmap().isNull() && !label->isVisibleTo(&d)
           && d.height() < label->minimumHeight();
}
void pressOk(QDialog &d)
{
    QTest::mouseClick(okButton(d), Qt::LeftButton);
}
// The dialog's two timers: the single-shot update timer and the poll timer.
QTimer *updateTimer(QDialog &d)
{
    for (QTimer *t : d.findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
        if (t->isSingleShot())
            return t;
    return nullptr;
}
QTimer *pollTimer(QDialog &d)
{
    for (QTimer *t : d.findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
        if (!t->isSingleShot())
            return t;
    return nullptr;
}
QString zeroCalText(const sensor_physical_data &data)
{
    return GetStringResource(803) + data.m_ZeroCalibrationText + GetStringResource(805);
}
sensor_physical_data physicalData(CSensor *sensor)
{
    sensor_physical_data data;
    sensor->GetSensorPhyscalData(data);
    return data;
}
// Moves the ColorMunki's dial and lets the move reach the dialog.
void turnDial(SensorSetupRig &rig, int dial)
{
    rig.sensors.munki().setDial(dial);
    rig.sensors.munki().waitForDeliveries();
    QCoreApplication::processEvents();
}
int ledOffCount(SensorSetupRig &rig)
{
    int off = 0;
    for (const SimI1d3Led &led : rig.sensors.i1d3().ledSettings())
        off += led.count == 0 ? 1 : 0;
    return off;
}

} // namespace

class TestSensorSetupDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        pz::initResources();
        Q_INIT_RESOURCE(sensors);
    }

    void formAndFlags()
    {
        SensorSetupRig rig;
        pz_color_sensor_setup_dialog dialog(false, false, nullptr);
        QCOMPARE(dialog.objectName(), QStringLiteral("pz_color_sensor_setup_dialogClass"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Calibration Sensor Preparation"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
        QCOMPARE(dialog.focusWidget(), okButton(dialog));
        // No sensor: nothing to prepare, and no timer runs.
        QVERIFY(message(dialog).isEmpty());
        QVERIFY(!updateTimer(dialog)->isActive());
        QVERIFY(!pollTimer(dialog)->isActive());
        QCOMPARE(updateTimer(dialog)->interval(), 0);
    }

    // The ready page is smaller than the zero calibration page: the dialog
    // shrinks around its centre and stays wide enough for its whole title
    // beside a window manager's icon and three title bar buttons.
    void readyPageKeepsTitleAndCentre()
    {
        SensorSetupRig rig;
        QVERIFY(rig.select(CTargetSensor::kSensorEyeOneDisplay));
        pz_color_sensor_setup_dialog dialog(false, false, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint centre = dialog.frameGeometry().center();
        pressOk(dialog);
        QCOMPARE(message(dialog), kReady);
        QTRY_VERIFY(sizedToItsText(dialog));
        QTRY_VERIFY2((dialog.frameGeometry().center() - centre).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("%1,%2").arg(dialog.frameGeometry().center().x())
                                    .arg(dialog.frameGeometry().center().y())));
        const int titleRoom = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                                  .horizontalAdvance(dialog.windowTitle())
                              + 4 * 24;
        QVERIFY2(dialog.width() >= titleRoom, qPrintable(QString::number(dialog.width())));
    }

    // Sensors without a selector: the zero calibration page when one is
    // needed, then the ready page, then accepted.
    void withoutSelector_data()
    {
        QTest::addColumn<CTargetSensor::typeTargetSensor>("type");
        QTest::addColumn<bool>("zeroCal");
        QTest::newRow("Spyder2: neither") << CTargetSensor::kSensorSpyder << false;
        QTest::newRow("i1 Display: zero calibration") << CTargetSensor::kSensorEyeOneDisplay << true;
    }
    void withoutSelector()
    {
        QFETCH(CTargetSensor::typeTargetSensor, type);
        QFETCH(bool, zeroCal);
        SensorSetupRig rig;
        CSensor *sensor = rig.select(type);
        QVERIFY(sensor);
        pz_color_sensor_setup_dialog dialog(false, false, nullptr);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();

        QCOMPARE(message(dialog), zeroCal ? zeroCalText(physicalData(sensor)) : QString());
        // Shown when the family's picture is among the resources.
        QCOMPARE(hasPicture(dialog),
                 zeroCal && QFile::exists(physicalData(sensor).m_ZeroCalibrationPicture));
        QVERIFY(okButton(dialog)->isEnabled());
        QVERIFY(!pollTimer(dialog)->isActive());
        if (zeroCal)
            QVERIFY(!sensor->m_ZeroCalibrationDone);

        pressOk(dialog);
        QCOMPARE(message(dialog), kReady);
        // No family ships a ready picture: the page is its text alone.
        QTRY_VERIFY(sizedToItsText(dialog));
        QVERIFY(accepted.isEmpty());
        QCOMPARE(rig.eyeOne.calls().count(QStringLiteral("Calibrate")), zeroCal ? 1 : 0);
        pressOk(dialog);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(rig.eyeOne.calls().count(QStringLiteral("Calibrate")), zeroCal ? 1 : 0);
    }

    // A forced zero calibration with the ColorMunki dial: OK waits for the
    // dial at calibrate, then for the measuring position.
    void colorMunkiForcedZeroCalibration_data()
    {
        QTest::addColumn<bool>("ambient");
        QTest::addColumn<int>("measureDial");
        QTest::newRow("display") << false << kMunkiDialDisplay;
        QTest::newRow("ambient") << true << kMunkiDialAmbient;
    }
    void colorMunkiForcedZeroCalibration()
    {
        QFETCH(bool, ambient);
        QFETCH(int, measureDial);
        SensorSetupRig rig;
        CSensor *sensor = rig.select(CTargetSensor::kSensorColorMunki);
        QVERIFY(sensor);
        const sensor_physical_data data = physicalData(sensor);
        sensor->m_ZeroCalibrationDone = true;   // forced all the same
        pz_color_sensor_setup_dialog dialog(ambient, true, nullptr);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();

        QCOMPARE(message(dialog), zeroCalText(data));
        QVERIFY(hasPicture(dialog));
        QVERIFY(!okButton(dialog)->isEnabled());
        pressOk(dialog);   // a disabled button does nothing
        QVERIFY(!rig.sensors.munki().calls().contains(QStringLiteral("Calibrate")));

        turnDial(rig, kMunkiDialCalibrate);
        QVERIFY(updateTimer(dialog)->isActive());
        dialog.update_sensor_selector_timer();
        QVERIFY(okButton(dialog)->isEnabled());

        pressOk(dialog);
        QCOMPARE(rig.sensors.munki().calls().count(QStringLiteral("Calibrate")), 1);
        QCOMPARE(message(dialog),
                 (ambient ? data.m_CoverText : data.m_SelectorMessage) + GetStringResource(805));
        QVERIFY(!okButton(dialog)->isEnabled());
        pressOk(dialog);
        QVERIFY(accepted.isEmpty());

        // A wrong position keeps OK disabled; the measuring one enables it.
        turnDial(rig, ambient ? kMunkiDialDisplay : kMunkiDialAmbient);
        dialog.update_sensor_selector_timer();
        QVERIFY(!okButton(dialog)->isEnabled());
        turnDial(rig, measureDial);
        dialog.update_sensor_selector_timer();
        QVERIFY(okButton(dialog)->isEnabled());

        pressOk(dialog);
        QCOMPARE(message(dialog), kReady);
        QVERIFY(accepted.isEmpty());
        pressOk(dialog);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(rig.sensors.munki().calls().count(QStringLiteral("Calibrate")), 1);
    }

    // The dial's change signal starts the 500 ms update, restarted by each
    // move; the update itself runs here on its own.
    void selectorChangesSettleBeforeTheUpdate()
    {
        SensorSetupRig rig;
        CSensor *sensor = rig.select(CTargetSensor::kSensorColorMunki);
        QVERIFY(sensor);
        sensor->m_ZeroCalibrationDone = true;
        rig.sensors.munki().setDial(kMunkiDialProjector);
        pz_color_sensor_setup_dialog dialog(false, false, nullptr);
        dialog.show();
        QVERIFY(!okButton(dialog)->isEnabled());
        QVERIFY(!pollTimer(dialog)->isActive());   // the dial signals

        QTimer *timer = updateTimer(dialog);
        turnDial(rig, kMunkiDialAmbient);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 500);
        const int firstLeft = timer->remainingTime();
        QTest::qWait(50);
        turnDial(rig, kMunkiDialDisplay);
        QVERIFY(timer->remainingTime() > firstLeft - 50);   // restarted
        QVERIFY(!okButton(dialog)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(okButton(dialog)->isEnabled(), 5000);
        QVERIFY(!timer->isActive());
        QCOMPARE(dialog.focusWidget(), okButton(dialog));
    }

    // The i1 Display Pro's diffuser must be polled: its light blinks at
    // each poll until the diffuser is moved.
    void polledDiffuserBlinksUntilMoved()
    {
        SensorSetupRig rig;
        QVERIFY(rig.select(CTargetSensor::kSensorEyeOneDisplay3));
        rig.sensors.i1d3().setDiffuser(true);   // ambient position, display wanted
        pz_color_sensor_setup_dialog dialog(false, false, nullptr);
        dialog.show();
        QVERIFY(!okButton(dialog)->isEnabled());
        QVERIFY(hasPicture(dialog));
        QVERIFY(pollTimer(dialog)->isActive());
        QCOMPARE(pollTimer(dialog)->interval(), 1000);
        QVERIFY(rig.sensors.i1d3().ledSettings().isEmpty());

        dialog.poll_sensor_selector_timer();
        dialog.poll_sensor_selector_timer();
        QCOMPARE(rig.sensors.i1d3().ledSettings(),
                 (QVector<SimI1d3Led>{SimI1d3Library::kBlinking, SimI1d3Library::kBlinking}));
        QVERIFY(!okButton(dialog)->isEnabled());

        rig.sensors.i1d3().setDiffuser(false);
        dialog.poll_sensor_selector_timer();
        QCOMPARE(rig.sensors.i1d3().ledSettings().size(), 3);
        QCOMPARE(rig.sensors.i1d3().ledSettings().last().count, quint8(0));
        QVERIFY(okButton(dialog)->isEnabled());
        QVERIFY(pollTimer(dialog)->isActive());

        pressOk(dialog);
        QCOMPARE(message(dialog), kReady);
    }

    void closingWhileBlinkingStopsTheLight()
    {
        SensorSetupRig rig;
        QVERIFY(rig.select(CTargetSensor::kSensorEyeOneDisplay3));
        rig.sensors.i1d3().setDiffuser(true);
        {
            pz_color_sensor_setup_dialog dialog(false, false, nullptr);
            dialog.show();
            dialog.poll_sensor_selector_timer();
            QCOMPARE(ledOffCount(rig), 0);
            QTest::mouseClick(
                dialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Cancel),
                Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(rig.sensors.i1d3().ledSettings().last().count, quint8(0));
        QCOMPARE(ledOffCount(rig), 1);
    }

    void zeroCalibrationFailureStaysOnThePage()
    {
        SensorSetupRig rig;
        QVERIFY(rig.select(CTargetSensor::kSensorColorMunki));
        rig.sensors.munki().setDial(kMunkiDialCalibrate);
        rig.sensors.munki().faults().failNext(QStringLiteral("Calibrate"),
                                              SimColorMunkiLibrary::kFailed);
        pz_color_sensor_setup_dialog dialog(false, true, nullptr);
        dialog.show();
        const QString page = message(dialog);
        QVERIFY(okButton(dialog)->isEnabled());
        {
            ModalBoxAnswer answer;
            pressOk(dialog);
            QVERIFY(answer.shown());
            QCOMPARE(answer.text(), errorMessageText(CSensor::kSensorZeroCalFailed));
            QVERIFY(answer.text().contains(GetStringResource(117)));
        }
        QCOMPARE(message(dialog), page);
        QVERIFY(okButton(dialog)->isEnabled());

        // The user tries again, and it works.
        pressOk(dialog);
        QCOMPARE(rig.sensors.munki().calls().count(QStringLiteral("Calibrate")), 2);
        QVERIFY(message(dialog) != page);
    }

    // A failed selector read shows its message once and stops the timer
    // that read it; OK keeps its state.
    void selectorReadFailure_data()
    {
        QTest::addColumn<bool>("polled");
        QTest::addColumn<int>("code");
        QTest::newRow("ColorMunki gone, update") << false << CSensor::kSensorNotConnected;
        QTest::newRow("i1 Display Pro fails, poll") << true << CSensor::kSensorDeviceFailed;
    }
    void selectorReadFailure()
    {
        QFETCH(bool, polled);
        QFETCH(int, code);
        SensorSetupRig rig;
        CSensor *sensor = nullptr;
        if (polled) {
            sensor = rig.select(CTargetSensor::kSensorEyeOneDisplay3);
            QVERIFY(sensor);
            rig.sensors.i1d3().setDiffuser(true);
        } else {
            sensor = rig.select(CTargetSensor::kSensorColorMunki);
            QVERIFY(sensor);
            rig.sensors.munki().setDial(kMunkiDialAmbient);
        }
        pz_color_sensor_setup_dialog dialog(false, false, nullptr);
        dialog.show();
        QVERIFY(!okButton(dialog)->isEnabled());

        QTimer *timer = polled ? pollTimer(dialog) : updateTimer(dialog);
        if (polled) {
            rig.sensors.i1d3().faults().failNext(QStringLiteral("ReadDiffuserPosition"), -7,
                                                 SimSensorFaults::kForever);
        } else {
            turnDial(rig, kMunkiDialDisplay);
            sensor->m_Connected = false;
        }
        QVERIFY(timer->isActive());
        ModalBoxAnswer answer;
        if (polled)
            dialog.poll_sensor_selector_timer();
        else
            dialog.update_sensor_selector_timer();
        QVERIFY(answer.shown());
        QCOMPARE(answer.text(), errorMessageText(code));
        QVERIFY(!timer->isActive());
        QVERIFY(!okButton(dialog)->isEnabled());
        sensor->m_Connected = true;
    }

    // Pictures of the pages a user meets, in the pictures folder.
    void pictures()
    {
        SensorSetupRig rig;
        QVERIFY(rig.select(CTargetSensor::kSensorColorMunki));
        pz_color_sensor_setup_dialog dialog(false, true, nullptr);
        dialog.show();
        QVERIFY(dialog.grab().save(pz::test::picturePath("sensor_setup_zero_calibration.png")));
        turnDial(rig, kMunkiDialCalibrate);
        dialog.update_sensor_selector_timer();
        pressOk(dialog);
        QVERIFY(dialog.grab().save(pz::test::picturePath("sensor_setup_selector.png")));
        turnDial(rig, kMunkiDialDisplay);
        dialog.update_sensor_selector_timer();
        pressOk(dialog);
        QVERIFY(dialog.grab().save(pz::test::picturePath("sensor_setup_ready.png")));
    }
};

QTEST_MAIN(TestSensorSetupDialog)
#include "tst_sensor_setup_dialog.moc"
