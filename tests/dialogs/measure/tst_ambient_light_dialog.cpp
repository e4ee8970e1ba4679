// The ambient light window: the placement page, the Next/Stop/Start cycle
// with its immediate readings, failing readings, the texts of illuminance
// and colour temperature, the black screen while it is open, its placement,
// no second reading inside a reading's event pass, and the default room
// light through the simulated i1 Display Pro. The two pages are written as
// PNGs into the pictures folder.

#include "MeasureToolsRig.h"
#include "TestSupport.h"
#include "MeasurementTexts.h"
#include "ModalBox.h"
#include "PZ_Ambient_Light_Measurement_Dialog.h"
#include "Resources.h"
#include "SimLightSensor.h"
#include "SimulatedScreens.h"
#include "TestPatternProbe.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

const QString kHigh =
    QStringLiteral(" (&nbsp;<img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;High )");
const QString kVeryHigh =
    QStringLiteral(" (&nbsp;<img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;Very high )");
const QString kLux = QStringLiteral(" Lux<font COLOR=\"#ff0000\"></font>");
const QString kNoLux = QStringLiteral("<font COLOR=\"#ff0000\"></font>-");

// An ambient sensor whose answers the test sets, counting its readings.
class AmbientSensor : public SimLightSensor {
public:
    using SimLightSensor::SimLightSensor;
    CCIEXYZ reading{30.0, 32.4, 20.0};
    int measureResult = kSensorOK;
    int xyzResult = kSensorOK;
    int readings = 0;

    bool DoesSupportAmbientLightMeasurement() override { return true; }
    int MeasureAmbientLight() override
    {
        ++readings;
        return measureResult;
    }
    int GetXYZData(CCIEXYZ &out) override
    {
        out = reading;
        return xyzResult;
    }
    int GetSensorPhyscalData(sensor_physical_data &data) override
    {
        data.m_AmbientMeasurementPicture = QStringLiteral(":/images/Resources/orvane icon.png");
        data.m_AmbientPositioningText = QStringLiteral("Lay the sensor face up.");
        return kSensorOK;
    }
};

} // namespace

class TestAmbientLightDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<MeasureToolsRig> rig;
    AmbientSensor *sensor = nullptr;   // owned by the sensor selector
    std::unique_ptr<PZ_Ambient_Light_Measurement_Dialog> dialog;

    QTimer *timer() { return dialog->findChild<QTimer *>("readingTimer"); }
    QPushButton *button(const char *name) { return dialog->findChild<QPushButton *>(name); }
    QPushButton *start() { return button("ambient_light_start_pushButton"); }
    QPushButton *done() { return button("ambient_light_done_pushButton"); }
    QString label(const char *name) { return dialog->findChild<QLabel *>(name)->text(); }
    QString lux() { return label("ambient_light_luminance_label"); }
    QString kelvin() { return label("ambient_light_color_temperature_label"); }
    int page() { return dialog->findChild<QStackedWidget *>("stackedWidget")->currentIndex(); }

    void openWithScriptedSensor(bool withDisplay = true, QWidget *owner = nullptr)
    {
        rig = std::make_unique<MeasureToolsRig>(SimMonitorConfig::hxsim24(), withDisplay, false);
        sensor = new AmbientSensor(*rig->light);
        pTargetSensor->m_pCurrentSensor = sensor;
        dialog = std::make_unique<PZ_Ambient_Light_Measurement_Dialog>(owner);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

private slots:
    void initTestCase()
    {
        initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }
    void cleanup()
    {
        dialog.reset();
        rig.reset();
        sensor = nullptr;
    }

    void luxTexts_data()
    {
        QTest::addColumn<double>("Y");
        QTest::addColumn<QString>("text");
        QTest::newRow("32") << 32.0 << "32" + kLux;
        QTest::newRow("32.4") << 32.4 << "32" + kLux + kHigh;
        QTest::newRow("64") << 64.0 << "64" + kLux + kHigh;
        QTest::newRow("64.2") << 64.2 << "64" + kLux + kVeryHigh;
        QTest::newRow("0.4") << 0.4 << "0" + kLux;
    }
    void luxTexts()
    {
        QFETCH(double, Y);
        QFETCH(QString, text);
        QCOMPARE(ambientLuxText(Y), text);
    }

    void temperatureTexts_data()
    {
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<double>("X");
        QTest::addColumn<QString>("text");
        QTest::newRow("6549") << 6549 << 1.0 << "6500 K";
        QTest::newRow("6550") << 6550 << 1.0 << "6600 K";
        QTest::newRow("19999") << 19999 << 1.0 << "20000 K";
        QTest::newRow("1") << 1 << 1.0 << "0 K";
        QTest::newRow("20000") << 20000 << 1.0 << "-";
        QTest::newRow("0") << 0 << 1.0 << "-";
        QTest::newRow("X 0") << 6500 << 0.0 << "-";
    }
    void temperatureTexts()
    {
        QFETCH(int, kelvin);
        QFETCH(double, X);
        QFETCH(QString, text);
        QCOMPARE(ambientTemperatureText((unsigned short)kelvin, X), text);
    }

    void placementPageAndBlackScreen()
    {
        openWithScriptedSensor();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Ambient Light Measurement"));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(page(), 1);
        QCOMPARE(start()->text(), QStringLiteral("Next"));
        QCOMPARE(done()->text(), QStringLiteral("Cancel"));
        QCOMPARE(label("sensor_zero_calibration_message_label"),
                 QStringLiteral("Lay the sensor face up.<br><br>Click <b>Next</b> when complete."));
        QVERIFY(!dialog->findChild<QLabel *>("sensor_zero_calibration_image_label")->pixmap().isNull());
        // Black over display 1, without its controls.
        QVERIFY(rig->testPattern->isVisible());
        QCOMPARE(rig->testPattern->geometry(), kDisplay1);
        QCOMPARE(testPatternCentre(*rig->testPattern), QColor(Qt::black));
        QVERIFY(!testPatternControlsBack(*rig->testPattern));
        // Beside the display's left edge, centred vertically.
        QCOMPARE(dialog->pos().x(), 20);
        QVERIFY(qAbs(dialog->pos().y() + dialog->height() / 2 - 600) <= 1);
        dialog->grab().save(pz::test::picturePath("ambient_light_placement.png"));

        // Cancel reads nothing and gives the screen back.
        QTest::mouseClick(done(), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        dialog.reset();
        QCOMPARE(sensor->readings, 0);
        QVERIFY(!rig->testPattern->isVisible());
        QVERIFY(testPatternControlsBack(*rig->testPattern));
    }

    // Opened from a window on the display, it opens over that window, on
    // both pages.
    void overTheWindowItBelongsTo()
    {
        QWidget owner;
        owner.setGeometry(1300, 200, 300, 440);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        openWithScriptedSensor(true, &owner);
        for (int click = 0; click < 2; ++click) {
            const QPoint middle = dialog->frameGeometry().center();
            // Halves rounded either way.
            QVERIFY2(qAbs(middle.x() - owner.frameGeometry().center().x()) <= 2
                         && qAbs(middle.y() - owner.frameGeometry().center().y()) <= 2,
                     qPrintable(QString("%1,%2").arg(middle.x()).arg(middle.y())));
            QTest::mouseClick(start(), Qt::LeftButton);
        }
        dialog.reset();
    }

    void nextStopStartCycle()
    {
        openWithScriptedSensor();
        QTest::mouseClick(start(), Qt::LeftButton);
        QCOMPARE(page(), 0);
        QCOMPARE(done()->text(), QStringLiteral("Done"));
        QCOMPARE(start()->text(), QStringLiteral("Stop"));
        QCOMPARE(sensor->readings, 1);
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 4000);
        QCOMPARE(lux(), "32" + kLux + kHigh);
        QCOMPARE(label("ambient_light_measuring_status_label"), QString());
        QCOMPARE(dialog->pos().x(), 20);
        QVERIFY(qAbs(dialog->pos().y() + dialog->height() / 2 - 600) <= 1);
        dialog->grab().save(pz::test::picturePath("ambient_light_measuring.png"));

        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        QCOMPARE(sensor->readings, 2);
        QTest::mouseClick(start(), Qt::LeftButton);
        QCOMPARE(start()->text(), QStringLiteral("Start"));
        QVERIFY(!timer()->isActive());
        QCOMPARE(sensor->readings, 2);
        QTest::mouseClick(start(), Qt::LeftButton);
        QCOMPARE(start()->text(), QStringLiteral("Stop"));
        QVERIFY(timer()->isActive());
        QCOMPARE(sensor->readings, 3);
        QTest::mouseClick(done(), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    }

    void failedReadingPauses()
    {
        openWithScriptedSensor();
        sensor->measureResult = CSensor::kSensorDeviceFailed;
        ModalBoxAnswer answer;
        QTest::mouseClick(start(), Qt::LeftButton);
        QVERIFY(answer.shown());
        QVERIFY(!timer()->isActive());
        QCOMPARE(start()->text(), QStringLiteral("Start"));
        QCOMPARE(lux(), kNoLux);
        QCOMPARE(kelvin(), QStringLiteral("-"));
    }

    void failedFetchKeepsTheTimer_data()
    {
        QTest::addColumn<int>("xyzResult");
        QTest::addColumn<double>("Y");
        QTest::newRow("fetch fails") << int(CSensor::kSensorDeviceFailed) << 50.0;
        QTest::newRow("no light") << int(CSensor::kSensorOK) << 0.0;
    }
    void failedFetchKeepsTheTimer()
    {
        QFETCH(int, xyzResult);
        QFETCH(double, Y);
        openWithScriptedSensor();
        sensor->xyzResult = xyzResult;
        sensor->reading = CCIEXYZ(40.0, Y, 30.0);
        QTest::mouseClick(start(), Qt::LeftButton);
        QCOMPARE(lux(), kNoLux);
        QCOMPARE(kelvin(), QStringLiteral("-"));
        QVERIFY(timer()->isActive());
        QCOMPARE(start()->text(), QStringLiteral("Stop"));
    }

    void noSecondReadingInsideAReading()
    {
        openWithScriptedSensor();
        // A tick waiting in the queue when the reading lets the events run.
        QMetaObject::invokeMethod(timer(), "timeout", Qt::QueuedConnection);
        QTest::mouseClick(start(), Qt::LeftButton);
        QCOMPARE(sensor->readings, 1);
        QCoreApplication::processEvents();
        QCOMPARE(sensor->readings, 1);
    }

    void emptyBoundsLeaveGeometryAlone()
    {
        rig = std::make_unique<MeasureToolsRig>(SimMonitorConfig::hxsim24(), false, false);
        const QRect before(100, 100, 300, 200);
        rig->testPattern->setGeometry(before);
        PZ_Ambient_Light_Measurement_Dialog d;
        QCOMPARE(rig->testPattern->geometry(), before);
        QCOMPARE(d.pos(), QPoint(0, 0));
        QVERIFY(rig->testPattern->isVisible());
        QCOMPARE(d.findChild<QLabel *>("sensor_zero_calibration_message_label")->text(), QString());
    }

    void defaultRoomLightOnTheI1DisplayPro()
    {
        rig = std::make_unique<MeasureToolsRig>();
        rig->sensors->i1d3().setDiffuser(true);
        dialog = std::make_unique<PZ_Ambient_Light_Measurement_Dialog>();
        dialog->show();
        QTest::mouseClick(start(), Qt::LeftButton);
        QCOMPARE(lux(), "40" + kLux + kHigh);
        QCOMPARE(kelvin(), QStringLiteral("5000 K"));
    }
};

QTEST_MAIN(TestAmbientLightDialog)
#include "tst_ambient_light_dialog.moc"
