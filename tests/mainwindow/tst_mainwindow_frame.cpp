// The main window's frame: the form's actions and connections, the fixed
// size without maximize button, the enable table, the stored position, the
// close question and the information and test pattern windows.

#include "MainWindowRig.h"
#include "TestSupport.h"

#include "ModalBox.h"
#include "PZ_About_Dialog.h"
#include "PZ_Preferences_Dialog.h"
#include "SimulatedScreens.h"
#include "pz_test_pattern_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QTimer>
#include <QtTest>

using namespace pz::test;

namespace {

struct ActionRow {
    const char *name;
    const char *text;
    const char *shortcut;
    const char *slot; // the signature the action reaches; null: none
};

const ActionRow kActions[] = {
    {"action_Open_Target", "&Open Target...", "", "on_main_Target_Open_pushButton_clicked()"},
    {"action_Save_Target_As", "&Save Target As...", "", "onSaveTarget()"},
    {"action_Calibrate", "&Calibrate...", "Ctrl+C", "calibrate()"},
    {"action_Generate_ICC_Profile", "&Generate ICC Profile...", "Ctrl+P", "profile()"},
    {"actionValidate_Calibration", "&Validate Calibration...", "Ctrl+V", "validate_calibration()"},
    {"actionOpen_Previous_Calibration", "Open &Previous Calibration...", "Ctrl+O", "onOpenMCSFile()"},
    {"actionE_xit", "E&xit", "", "exit()"},
    {"action_Preferences", "&Preferences...", "", "preferences()"},
    {"action_Display_Configuration", "&Display Configuration...", "", nullptr},
    {"action_Edit_Target", "&Target...", "", "on_main_Target_Edit_pushButton_clicked()"},
    {"action_Information_Window", "&Information Window", "Ctrl+I", "show_information_dialog()"},
    {"action_Colorimeter_Window", "&Colorimeter Window...", "Ctrl+L", "show_colorimeter_dialog()"},
    {"action_Test_Pattern", "&Test Pattern", "Ctrl+T", "show_test_pattern_dialog()"},
    {"action_Ambient_Light_Measurement", "&Ambient Light Measurement...", "",
     "show_Ambient_Light_Measurement_dialog()"},
    {"actionMonitor_Settings", "&Monitor Settings...", "Ctrl+M", "monitor_settings_dialog()"},
    {"action_About", "&About...", "", "about()"},
    {"actionCheck_for_updates", "&Check for updates...", "", nullptr},
};

// QObject::receivers is protected; a pointer to it, taken through a class
// that makes it public, calls it on any object.
struct ReceiverAccess : QObject {
    using QObject::receivers;
};

// How many connections the signal (the SIGNAL() form) has.
int connectionCount(QObject *sender, const char *signal)
{
    int (QObject::*count)(const char *) const = &ReceiverAccess::receivers;
    return (sender->*count)(signal);
}

QStringList menuEntries(QMenu *menu)
{
    QStringList names;
    for (QAction *action : menu->actions())
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return names;
}

} // namespace

class tst_MainWindowFrame : public QObject {
    Q_OBJECT

private slots:
    void theFormHasItsActions();
    void everyCommandIsConnected();
    void theWindowHasAFixedSizeAndNoMaximizeButton();
    void enableTable_data();
    void enableTable();
    void positionIsRestoredOnAScreenThatHoldsIt_data();
    void positionIsRestoredOnAScreenThatHoldsIt();
    void closeStoresThePositionUnlessOnAnEdge();
    void closeQuestion();
    void informationAndTestPatternToggle();
    void aboutAndPreferencesOpenTheirDialogs();
    void picture();
};

void tst_MainWindowFrame::theFormHasItsActions()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    QCOMPARE(w.objectName(), QStringLiteral("mainWindow"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Pelzora"));
    for (const ActionRow &row : kActions) {
        auto *action = w.findChild<QAction *>(QString::fromLatin1(row.name));
        QVERIFY2(action, row.name);
        QCOMPARE(action->text(), QString::fromLatin1(row.text));
        QCOMPARE(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
    }
    QVERIFY(w.action_Information_Window->isCheckable());
    QVERIFY(w.action_Test_Pattern->isCheckable());
    QCOMPARE(w.action_Ambient_Light_Measurement->iconText(),
             QStringLiteral("Ambient Light Measurement..."));

    const QStringList file{"action_Open_Target", "action_Save_Target_As", "-", "action_Calibrate",
                           "action_Generate_ICC_Profile", "actionValidate_Calibration", "-",
                           "actionOpen_Previous_Calibration", "-", "actionE_xit"};
    QCOMPARE(menuEntries(w.menuMenu), file);
    // Display Configuration is taken out of the Edit menu, Check for
    // updates and the Configure button are hidden.
    QCOMPARE(menuEntries(w.menu_Edit), (QStringList{"action_Preferences", "action_Edit_Target"}));
    QVERIFY(!w.actionCheck_for_updates->isVisible());
    QVERIFY(w.main_Display_Configure_pushButton->isHidden());
    QCOMPARE(w.menuBar()->actions().size(), 4);
    QVERIFY(w.main_Calibrate__pushButton->isDefault());

    // Tab order from the Calibrate button through the form.
    const QStringList tabs{"main_Calibrate__pushButton", "main_Target_comboBox",
                           "main_Target_Edit_pushButton", "main_Target_Open_pushButton",
                           "main_Target_Save_pushButton", "main_Calibration_On_checkBox",
                           "main_Calibrate_Open_MCS_pushButton", "main_Display_comboBox"};
    QWidget *widget = w.main_Calibrate__pushButton;
    for (int i = 1; i < tabs.size(); ++i) {
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()
               || widget->objectName().startsWith(QLatin1String("qt_")))
            widget = widget->nextInFocusChain();
        QCOMPARE(widget->objectName(), tabs[i]);
    }
}

void tst_MainWindowFrame::everyCommandIsConnected()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    for (const ActionRow &row : kActions) {
        auto *action = w.findChild<QAction *>(QString::fromLatin1(row.name));
        // Each menu that shows the action listens too; the window's slot
        // is one connection more.
        int menus = 0;
        for (QObject *user : action->associatedObjects())
            menus += qobject_cast<QMenu *>(user) ? 1 : 0;
        QCOMPARE(connectionCount(action, SIGNAL(triggered(bool))), menus + (row.slot ? 1 : 0));
    }
    QVERIFY(connectionCount(w.main_Calibrate__pushButton, SIGNAL(clicked(bool))) > 0);
    QVERIFY(connectionCount(w.main_Target_Edit_pushButton, SIGNAL(clicked(bool))) > 0);
    QVERIFY(connectionCount(w.main_Target_Open_pushButton, SIGNAL(clicked(bool))) > 0);
    QVERIFY(connectionCount(w.main_Target_Save_pushButton, SIGNAL(clicked(bool))) > 0);
    QVERIFY(connectionCount(w.main_Calibrate_Open_MCS_pushButton, SIGNAL(clicked(bool))) > 0);
    QVERIFY(connectionCount(w.main_Calibration_On_checkBox, SIGNAL(stateChanged(int))) > 0);
    QCOMPARE(connectionCount(w.main_Display_Configure_pushButton, SIGNAL(clicked(bool))), 0);
    QVERIFY(connectionCount(w.main_Display_comboBox, SIGNAL(currentIndexChanged(int))) > 0);
    QVERIFY(connectionCount(w.main_Target_comboBox, SIGNAL(currentIndexChanged(int))) > 0);
    QVERIFY(connectionCount(w.menu_Tools, SIGNAL(aboutToShow())) > 0);
    QVERIFY(connectionCount(rig.controller.get(), SIGNAL(startup_complete())) > 0);
    QVERIFY(connectionCount(rig.controller.get(), SIGNAL(start_check_display_settings())) > 0);
    QVERIFY(connectionCount(rig.controller.get(), SIGNAL(start_check_calibration_sensor())) > 0);
    QVERIFY(connectionCount(&pCMonAPIDummy->m_USBBridges, SIGNAL(usb_device_changed(bool))) > 0);
}

void tst_MainWindowFrame::theWindowHasAFixedSizeAndNoMaximizeButton()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(w.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(w.layout()->sizeConstraint(), QLayout::SetFixedSize);
    QCOMPARE(w.minimumSize(), w.maximumSize());
    const QSize size = w.size();
    w.resize(size + QSize(200, 200));
    QCOMPARE(w.size(), size);
}

void tst_MainWindowFrame::enableTable_data()
{
    QTest::addColumn<int>("sensor"); // 0 none, 1 without ambient, 2 with ambient
    QTest::addColumn<bool>("ddcci");
    for (int sensor = 0; sensor < 3; ++sensor)
        for (bool ddcci : {false, true})
            QTest::addRow("sensor %d, DDC/CI %d", sensor, int(ddcci)) << sensor << ddcci;
}

void tst_MainWindowFrame::enableTable()
{
    QFETCH(int, sensor);
    QFETCH(bool, ddcci);
    auto desk = std::make_unique<pz::SimDesktop>();
    desk->addMonitor(1, QRectF(0, 0, 1920, 1200), hxConfig(QStringLiteral("SIM0001")));
    if (ddcci)
        desk->plugBridge(1);
    MainWindowRig rig(std::move(desk));
    if (sensor > 0)
        pTargetSensor->m_pCurrentSensor = new StubSensor(true, sensor == 2);
    PZ_Main_Dialog &w = rig.open();

    const bool present = sensor > 0;
    QCOMPARE(w.action_Colorimeter_Window->isEnabled(), present);
    QCOMPARE(w.action_Generate_ICC_Profile->isEnabled(), present);
    QCOMPARE(w.actionValidate_Calibration->isEnabled(), present);
    QCOMPARE(w.action_Calibrate->isEnabled(), present && ddcci);
    QCOMPARE(w.main_Calibrate__pushButton->isEnabled(), present && ddcci);
    QCOMPARE(w.actionOpen_Previous_Calibration->isEnabled(), ddcci);
    QCOMPARE(w.main_Calibrate_Open_MCS_pushButton->isEnabled(), ddcci);
    QCOMPARE(w.actionMonitor_Settings->isEnabled(), ddcci);
    QCOMPARE(w.action_Ambient_Light_Measurement->isEnabled(), sensor == 2);
    QVERIFY(w.action_Preferences->isEnabled());
    QVERIFY(w.action_Test_Pattern->isEnabled());
    // A grey Calibrate button says when the sensor is what is missing.
    const QString noSensor = QStringLiteral("No calibration sensor was found");
    QCOMPARE(w.main_Calibrate__pushButton->toolTip().contains(noSensor), !present);
    QVERIFY(w.main_Calibrate__pushButton->toolTip().contains(
        QStringLiteral("Starts the display calibration process")));

    // An adapter whose device did not open counts as no sensor.
    if (present) {
        pTargetSensor->m_pCurrentSensor->m_Connected = false;
        w.updateControlsStatus();
        QVERIFY(!w.action_Colorimeter_Window->isEnabled());
        QVERIFY(!w.action_Ambient_Light_Measurement->isEnabled());
        QVERIFY(w.main_Calibrate__pushButton->toolTip().contains(noSensor));
    }
}

void tst_MainWindowFrame::positionIsRestoredOnAScreenThatHoldsIt_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<bool>("moved");
    QTest::newRow("on screen B") << QPoint(2100, 150) << true;
    QTest::newRow("on a removed screen") << QPoint(4200, 150) << false;
    QTest::newRow("never stored") << QPoint(99999, 0) << false;
}

void tst_MainWindowFrame::positionIsRestoredOnAScreenThatHoldsIt()
{
    PZ_REQUIRE_SIMULATED_SCREENS();
    QFETCH(QPoint, stored);
    QFETCH(bool, moved);
    MainWindowRig rig;
    rig.controller->GetPreferences()->SetMainWindowPosition(stored);
    PZ_Main_Dialog &w = rig.build();
    QCOMPARE(w.pos() == stored, moved);
}

void tst_MainWindowFrame::closeStoresThePositionUnlessOnAnEdge()
{
    MainWindowRig rig(std::make_unique<pz::SimDesktop>()); // nothing to ask about
    const QPoint unchanged(99999, 0);
    rig.controller->GetPreferences()->SetMainWindowPosition(unchanged);
    PZ_Main_Dialog &w = rig.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    w.move(0, 300);
    QVERIFY(w.close());
    QCOMPARE(rig.controller->GetPreferences()->m_MainWindowPosition, unchanged);

    w.show();
    w.move(300, 200);
    QVERIFY(w.close());
    QCOMPARE(rig.controller->GetPreferences()->m_MainWindowPosition, QPoint(300, 200));
}

void tst_MainWindowFrame::closeQuestion()
{
    MainWindowRig rig; // the HXSIM24 has no tracker record: not calibrated
    CPreferences *preferences = rig.controller->GetPreferences();
    const QPoint unchanged(99999, 0);
    preferences->SetMainWindowPosition(unchanged);
    PZ_Main_Dialog &w = rig.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.move(300, 200);
    QVERIFY(!w.AreAllSupportedDisplaysCalibrated());

    {
        // Cancel keeps the window and stores nothing.
        ModalBoxAnswer answer(QMessageBox::Cancel);
        QVERIFY(!w.close());
        QVERIFY(answer.shown());
        QCOMPARE(answer.text(), GetStringResource(145));
        QCOMPARE(answer.icon(), QMessageBox::Question);
        QCOMPARE(answer.windowTitle(), GetStringResource(1));
        QVERIFY(w.isVisible());
        QCOMPARE(preferences->m_MainWindowPosition, unchanged);
        QVERIFY(!preferences->IsDontShowAgainMessageSet(3));
    }
    {
        // A tick is stored even with Cancel, and this close stays cancelled.
        ModalBoxAnswer answer([](QMessageBox &box) {
            QVERIFY(box.defaultButton() == box.button(QMessageBox::Ok));
            box.findChild<QCheckBox *>()->setChecked(true);
            box.button(QMessageBox::Cancel)->click();
        });
        QVERIFY(!w.close());
        QVERIFY(answer.shown());
        QVERIFY(preferences->IsDontShowAgainMessageSet(3));
        QCOMPARE(preferences->m_MainWindowPosition, unchanged);
    }
    {
        // Never asked again.
        ModalBoxAnswer answer(QMessageBox::Cancel);
        QVERIFY(w.close());
        QVERIFY(!answer.shown());
        QCOMPARE(preferences->m_MainWindowPosition, QPoint(300, 200));
    }
}

void tst_MainWindowFrame::informationAndTestPatternToggle()
{
    PZ_REQUIRE_SIMULATED_SCREENS();
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    // Without a test pattern window the command does nothing.
    w.action_Test_Pattern->trigger();

    auto *pattern = new pz_test_pattern_dialog(&w);
    test_pattern_window = pattern;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    w.action_Information_Window->trigger();
    QVERIFY(information_window->isVisible());
    w.action_Test_Pattern->trigger();
    QVERIFY(pattern->isVisible());
    // On the target display (the HXSIM24 at the left).
    QCOMPARE(pattern->geometry(), kDisplay1);
    emit w.menu_Tools->aboutToShow();
    QVERIFY(w.action_Test_Pattern->isChecked());
    QVERIFY(w.action_Information_Window->isChecked());

    w.action_Test_Pattern->trigger();
    w.action_Information_Window->trigger();
    QVERIFY(!pattern->isVisible());
    QVERIFY(!information_window->isVisible());
    emit w.menu_Tools->aboutToShow();
    QVERIFY(!w.action_Test_Pattern->isChecked());
    QVERIFY(!w.action_Information_Window->isChecked());

    // Closing the main window takes both along.
    w.action_Test_Pattern->trigger();
    w.action_Information_Window->trigger();
    rig.controller->GetPreferences()->SetDontShowAgainMessageSet(3);
    QVERIFY(w.close());
    QVERIFY(!pattern->isVisible());
    QVERIFY(!information_window->isVisible());
    test_pattern_window = nullptr;
}


void tst_MainWindowFrame::aboutAndPreferencesOpenTheirDialogs()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();

    QDialog *about = nullptr;
    QWidget *aboutParent = nullptr;
    ModalWindowAnswer<QDialog> aboutAnswer([&](QDialog &d) {
        about = qobject_cast<PZ_About_Dialog *>(&d);
        aboutParent = d.parentWidget();
        d.accept();
    });
    w.action_About->trigger();
    QVERIFY(about);
    QCOMPARE(aboutParent, &w);

    // The preferences dialog has no parent; what it changes shows at once.
    CPreferences *preferences = rig.controller->GetPreferences();
    const int before = int(preferences->m_RecalibrationPeriod);
    bool sawPreferences = false;
    QWidget *preferencesParent = nullptr;
    ModalWindowAnswer<QDialog> preferencesAnswer([&](QDialog &d) {
        auto *dialog = qobject_cast<PZ_Preferences_Dialog *>(&d);
        sawPreferences = dialog != nullptr;
        preferencesParent = d.parentWidget();
        if (dialog) {
            QComboBox *period = dialog->preferences_RecalibrationPeriod_comboBox;
            period->setCurrentIndex(period->currentIndex() == 0 ? 1 : 0);
            dialog->buttonBox->button(QDialogButtonBox::Ok)->click();
        } else {
            d.reject();
        }
    });
    w.action_Preferences->trigger();
    QVERIFY(sawPreferences);
    // Preferences belong to the main window: they open over it.
    QCOMPARE(preferencesParent, &w);
    QVERIFY(int(preferences->m_RecalibrationPeriod) != before);
    QVERIFY(w.main_Target_comboBox->count() > 0);
    QCOMPARE(w.main_Target_comboBox->currentText(), w.currentTarget().m_Name);
}

void tst_MainWindowFrame::picture()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage image = w.grab().toImage();
    QVERIFY(!image.isNull());
    const QString path = pz::test::picturePath("mainwindow.png");
    QVERIFY(image.save(path));
    qInfo("main window picture: %s", qPrintable(path));
}

QTEST_MAIN(tst_MainWindowFrame)
#include "tst_mainwindow_frame.moc"
