// Getting the sensor ready: when the set-up dialog and the display
// technology question are shown, what the sensor is told, and the
// preparation notice that can be switched off for good.

#include "DialogWatch.h"
#include "MainWindowRig.h"
#include "ModalBox.h"
#include "SensorFlows.h"
#include "pz_color_sensor_setup_dialog.h"
#include "pz_select_display_technology_type_dialog.h"

#include <QComboBox>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

// A sensor whose abilities and state the test sets, and that keeps what it
// was told.
class FlowSensor : public StubSensor {
public:
    FlowSensor() : StubSensor(true, true) {}

    bool zeroCal = false;
    bool selector = false;
    int position = kSelectorDisplay;
    bool gamutSelection = false;
    bool preparationNotice = false;
    bool noticePending = true;
    int toldScreen = -99;
    int toldGamut = -99;

    bool SupportsZeroCal() override { return zeroCal; }
    bool DoesSensorSupportMeasurementSelector() override { return selector; }
    int GetSensorMeasurementSelectorPosition() override { return position; }
    bool GetSensorSupportsDisplayGamutSelection() override { return gamutSelection; }
    bool GetSensorSupportsUserPreparationWarning() override { return preparationNotice; }
    bool GetSensorNeedsUserPreparationWarning() override { return noticePending; }
    void SetSensorNeedsUserPreparationWarningCompleted(bool pending) override
    {
        noticePending = pending;
    }
    int SetScreenType(typeSensorScreen screen,
                      CTargetDisplay::typeMonitorColorGamutType gamut) override
    {
        toldScreen = screen;
        toldGamut = gamut;
        return kSensorOK;
    }
    int GetSensorPhyscalData(sensor_physical_data &data) override
    {
        data.m_PreparationWarningText = QStringLiteral("Warm the sensor in your hand.");
        return 0;
    }
};

} // namespace

class TestSensorFlows : public QObject {
    Q_OBJECT

    FlowSensor *install()
    {
        auto *sensor = new FlowSensor;
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = sensor;   // the selector owns it
        return sensor;
    }

private slots:
    void initTestCase()
    {
        initResources();
        Q_INIT_RESOURCE(sensors);
    }

    void setupDialogWhenNeeded_data()
    {
        QTest::addColumn<bool>("zeroCal");
        QTest::addColumn<bool>("zeroDone");
        QTest::addColumn<bool>("selector");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("ambient");
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("dialog");
        QTest::newRow("nothing to do") << false << false << false << 0 << false << false << false;
        QTest::newRow("zero calibrated, in place") << true << true << true << 0 << false << false << false;
        QTest::newRow("zero calibration forced") << true << true << true << 0 << false << true << true;
        QTest::newRow("zero calibration not done") << true << false << false << 0 << false << false << true;
        QTest::newRow("force without zero calibration") << false << false << false << 0 << false << true << false;
        QTest::newRow("ambient, selector at display") << false << false << true << 0 << true << false << true;
        QTest::newRow("ambient, selector at ambient") << false << false << true << 3 << true << false << false;
    }
    void setupDialogWhenNeeded()
    {
        QFETCH(bool, zeroCal);
        QFETCH(bool, zeroDone);
        QFETCH(bool, selector);
        QFETCH(int, position);
        QFETCH(bool, ambient);
        QFETCH(bool, force);
        QFETCH(bool, dialog);
        MainWindowRig rig;
        FlowSensor *sensor = install();
        sensor->zeroCal = zeroCal;
        sensor->m_ZeroCalibrationDone = zeroDone;
        sensor->selector = selector;
        sensor->position = position;
        DialogWatch<pz_color_sensor_setup_dialog> watch;
        // The dialog is rejected when it comes: -1; without it 0.
        QCOMPARE(DoSensorSetupDialog(ambient, force, nullptr), dialog ? -1 : 0);
        QCOMPARE(watch.shown, dialog);
    }

    void noSensor()
    {
        MainWindowRig rig;
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = nullptr;
        QCOMPARE(DoSensorSetupDialog(false, true, nullptr), -1);
        QCOMPARE(SetupSensorToCurrentDisplayTypeAndColorGamut(nullptr), -1);
        DoSensorNeedsUserPreparationWarning(nullptr);   // nothing to show, nothing breaks
    }

    // A display of unknown model does not reveal its gamut.
    void screenAndGamut_data()
    {
        QTest::addColumn<bool>("gamutSelection");
        QTest::addColumn<int>("answer");   // -1 cancel, else down presses
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("gamut");
        QTest::newRow("no gamut selection") << false << -1 << 0 << int(CSensor::kSensorScreenLCD) << -1;
        QTest::newRow("asked: CRT") << true << 4 << 0 << int(CSensor::kSensorScreenCRT) << 0;
        QTest::newRow("asked: wide LED") << true << 2 << 0 << int(CSensor::kSensorScreenLCD) << 2;
        QTest::newRow("asked, cancelled") << true << -1 << -2 << -99 << -99;
    }
    void screenAndGamut()
    {
        QFETCH(bool, gamutSelection);
        QFETCH(int, answer);
        QFETCH(int, result);
        QFETCH(int, screen);
        QFETCH(int, gamut);
        MainWindowRig rig;
        rig.detect();
        _MonitorData unknown = rig.controller->GetMultiMonitor()->GetMonitorData(0);
        unknown.m_ModelID = 0;
        rig.controller->GetTargetDisplay()->SetMonitorData(unknown);
        QCOMPARE(int(rig.controller->GetTargetDisplay()->GetMonitorColorGamutType()), -1);
        FlowSensor *sensor = install();
        sensor->gamutSelection = gamutSelection;
        DialogWatch<pz_select_display_technology_type_dialog> watch;
        watch.act = [answer](pz_select_display_technology_type_dialog &d) {
            if (answer < 0)
                return d.reject();
            auto *list = d.findChild<QComboBox *>("technology_type_comboBox");
            for (int i = 0; i < answer; ++i)
                QTest::keyClick(list, Qt::Key_Down);
            d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        };
        QCOMPARE(SetupSensorToCurrentDisplayTypeAndColorGamut(nullptr), result);
        QCOMPARE(watch.shown, gamutSelection);
        QCOMPARE(sensor->toldScreen, screen);
        QCOMPARE(sensor->toldGamut, gamut);
    }

    void preparationNotice()
    {
        MainWindowRig rig;
        FlowSensor *sensor = install();
        sensor->preparationNotice = true;
        {
            // Shown, once per run.
            ModalBoxAnswer answer;
            DoSensorNeedsUserPreparationWarning(nullptr);
            QVERIFY(answer.shown());
            QCOMPARE(answer.text(), QStringLiteral("Warm the sensor in your hand."));
            QVERIFY(!sensor->noticePending);
        }
        {
            ModalBoxAnswer answer;
            DoSensorNeedsUserPreparationWarning(nullptr);
            QTest::qWait(50);
            QVERIFY(!answer.shown());
        }
        // Pending again (a new run), ticked "Don't show this again".
        sensor->noticePending = true;
        {
            ModalBoxAnswer answer([](QMessageBox &box) {
                box.findChild<QCheckBox *>()->setChecked(true);
                box.button(QMessageBox::Ok)->click();
            });
            DoSensorNeedsUserPreparationWarning(nullptr);
            QVERIFY(answer.shown());
        }
        QVERIFY(rig.controller->GetPreferences()->IsDontShowAgainMessageSet(1));
        // After a restart of the controller (the preferences file read again).
        rig.controller.reset();
        pMasterControl = nullptr;
        rig.controller = std::make_unique<MasterControl>();
        pMasterControl = rig.controller.get();
        sensor = install();
        sensor->preparationNotice = true;
        {
            ModalBoxAnswer answer;
            DoSensorNeedsUserPreparationWarning(nullptr);
            QTest::qWait(50);
            QVERIFY(!answer.shown());
        }
    }
};

QTEST_MAIN(TestSensorFlows)
#include "tst_sensor_flows.moc"
