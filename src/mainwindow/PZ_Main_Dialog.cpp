#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CMonAPIDummy.h"
#include "CTargetSensor.h"
#include "DisplayChangeFeeds.h"
#include "DisplayChanges.h"
#include "DisplayPlacement.h"
#include "MasterControl.h"
#include "Messages.h"
#include "MyCustomMessageBox.h"
#include "PZ_About_Dialog.h"
#include "PZ_Preferences_Dialog.h"
#include "StringResources.h"
#include "WindowPlacement.h"
#include "pz_test_pattern_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTimer>

PZ_Main_Dialog *p_PZ_Main_Dialog = nullptr;

namespace {

const unsigned kNotAllCalibratedQuestion = 145;
const unsigned kApplicationName = 1;
const unsigned kDontAskNotAllCalibrated = 3;
// The stored x of a window position that was never stored.
const int kPositionNeverStored = 99999;

} // namespace

PZ_Main_Dialog::PZ_Main_Dialog(QMainWindow *parent) : QMainWindow(parent)
{
    p_PZ_Main_Dialog = this;
    m_refreshPending = false;
    m_refreshBlocked = false;
    m_GamutAdjustability = 0;

    setupUi(this);
    connectActions();

    main_Display_Configure_pushButton->hide();
    menu_Edit->removeAction(action_Display_Configuration);
    actionCheck_for_updates->setVisible(false);

    // Every display and bridge change reaches the window through one
    // notifier: the window system's screens, RandR and the monitors' USB
    // bridge manager.
    m_displayFeeds = std::make_unique<pz::DisplayChangeFeeds>();
    connect(&pz::displayChanges(), &pz::DisplayChanges::changed, this,
            [this] { usb_device_changed(true); });
    if (pCMonAPIDummy)
        connect(&pCMonAPIDummy->m_USBBridges, &mac_usb_ddcci::usb_device_changed, this,
                &PZ_Main_Dialog::usb_device_changed);

    m_RefreshTimer = new QTimer(this);
    m_RefreshTimer->setSingleShot(true);
    // Exactly the delay after the last notice, not a coarse approximation.
    m_RefreshTimer->setTimerType(Qt::PreciseTimer);
    connect(m_RefreshTimer, &QTimer::timeout, this, &PZ_Main_Dialog::update_on_device_changed);

    // Decorations spelled out, so that leaving out the maximize button
    // takes effect: a window without explicit hints gets the window
    // manager's full set. Hints are cleared with & ~, never toggled.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                    | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                    | Qt::WindowCloseButtonHint)
                   & ~Qt::WindowMaximizeButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    CreateStandardTargets();
    UpdateTargetUI();
    onCreateTargetList();
    updateControlsStatus();
    readPositionSettings();
}

PZ_Main_Dialog::~PZ_Main_Dialog()
{
    disconnect(&pz::displayChanges(), nullptr, this, nullptr);
    if (p_PZ_Main_Dialog == this)
        p_PZ_Main_Dialog = nullptr;
}

void PZ_Main_Dialog::connectActions()
{
    connect(action_About, &QAction::triggered, this, &PZ_Main_Dialog::about);
    connect(action_Calibrate, &QAction::triggered, this, &PZ_Main_Dialog::calibrate);
    connect(action_Generate_ICC_Profile, &QAction::triggered, this, &PZ_Main_Dialog::profile);
    connect(action_Edit_Target, &QAction::triggered, this,
            &PZ_Main_Dialog::on_main_Target_Edit_pushButton_clicked);
    connect(action_Open_Target, &QAction::triggered, this,
            &PZ_Main_Dialog::on_main_Target_Open_pushButton_clicked);
    connect(actionValidate_Calibration, &QAction::triggered, this,
            &PZ_Main_Dialog::validate_calibration);
    connect(action_Preferences, &QAction::triggered, this, &PZ_Main_Dialog::preferences);
    connect(main_Calibrate__pushButton, &QPushButton::clicked, this, &PZ_Main_Dialog::calibrate);
    connect(action_Information_Window, &QAction::triggered, this,
            &PZ_Main_Dialog::show_information_dialog);
    connect(action_Test_Pattern, &QAction::triggered, this,
            &PZ_Main_Dialog::show_test_pattern_dialog);
    connect(action_Colorimeter_Window, &QAction::triggered, this,
            &PZ_Main_Dialog::show_colorimeter_dialog);
    connect(actionMonitor_Settings, &QAction::triggered, this,
            &PZ_Main_Dialog::monitor_settings_dialog);
    connect(actionE_xit, &QAction::triggered, this, &PZ_Main_Dialog::exit);
    connect(main_Display_comboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &PZ_Main_Dialog::onDisplaySelectionChanged);
    connect(main_Target_Save_pushButton, &QToolButton::clicked, this,
            &PZ_Main_Dialog::onSaveTarget);
    connect(action_Save_Target_As, &QAction::triggered, this, &PZ_Main_Dialog::onSaveTarget);
    connect(main_Target_comboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &PZ_Main_Dialog::onTargetSelectionChanged);
    if (pMasterControl) {
        connect(pMasterControl, &MasterControl::startup_complete, this,
                &PZ_Main_Dialog::startup_complete);
        connect(pMasterControl, &MasterControl::start_check_display_settings, this,
                &PZ_Main_Dialog::start_check_display_settings);
        connect(pMasterControl, &MasterControl::start_check_calibration_sensor, this,
                &PZ_Main_Dialog::start_check_calibration_sensor);
    }
    connect(main_Calibrate_Open_MCS_pushButton, &QToolButton::clicked, this,
            &PZ_Main_Dialog::onOpenMCSFile);
    connect(actionOpen_Previous_Calibration, &QAction::triggered, this,
            &PZ_Main_Dialog::onOpenMCSFile);
    connect(action_Ambient_Light_Measurement, &QAction::triggered, this,
            &PZ_Main_Dialog::show_Ambient_Light_Measurement_dialog);
    connect(menu_Tools, &QMenu::aboutToShow, this, &PZ_Main_Dialog::itemMenuAboutToShow);
    // desktop_resized has no source: Qt 6 has no desktop widget, and screen
    // geometry changes arrive through the display-change notifier.
}

bool PZ_Main_Dialog::targetDisplayAnswers() const
{
    if (!pMasterControl)
        return false;
    CTargetDisplay *display = pMasterControl->GetTargetDisplay();
    return display->GetDisplayType() != 0 && display->m_pDDCMonitor
           && display->GetMonitorData().m_DDCCIWorks;
}

void PZ_Main_Dialog::updateControlsStatus()
{
    const bool ddcci = targetDisplayAnswers();
    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    CSensor *sensor = selector ? selector->m_pCurrentSensor : nullptr;
    const bool sensorPresent = sensor && sensor->m_Connected;
    const bool ambient = sensorPresent && sensor->DoesSupportAmbientLightMeasurement();

    action_Colorimeter_Window->setEnabled(sensorPresent);
    action_Generate_ICC_Profile->setEnabled(sensorPresent);
    actionValidate_Calibration->setEnabled(sensorPresent);
    action_Calibrate->setEnabled(sensorPresent && ddcci);
    main_Calibrate__pushButton->setEnabled(sensorPresent && ddcci);
    // A grey button says why.
    const QString calibrateTip =
        QCoreApplication::translate("mainWindow", "<html>Starts the display calibration process</html>");
    main_Calibrate__pushButton->setToolTip(
        sensorPresent ? calibrateTip
                      : tr("<html>Starts the display calibration process<br><br>No calibration "
                           "sensor was found: connect one, then choose Auto-Detect in the "
                           "Preferences.</html>"));
    actionOpen_Previous_Calibration->setEnabled(ddcci);
    main_Calibrate_Open_MCS_pushButton->setEnabled(ddcci);
    actionMonitor_Settings->setEnabled(ddcci);
    action_Ambient_Light_Measurement->setEnabled(ambient);
}

void PZ_Main_Dialog::readPositionSettings()
{
    if (!pMasterControl)
        return;
    const QPoint stored = pMasterControl->GetPreferences()->m_MainWindowPosition;
    if (stored.x() != kPositionNeverStored && !pz::availableAreaAt(stored).isEmpty()) {
        // The stored point is the frame's corner: it goes there once the
        // window manager has framed the window, whole on its screen.
        pz::placeAtFrame(*this, stored, nullptr);
        return;
    }
    // Where the window system would put it (the middle of the main screen),
    // but known before the window is shown: the boxes that open over the
    // window as the start-up completes find it there.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = sizeHint();
        move(area.left() + (area.width() - size.width()) / 2,
             area.top() + (area.height() - size.height()) / 2);
    }
}

void PZ_Main_Dialog::closeEvent(QCloseEvent *event)
{
    setVisible(true);
    CPreferences *preferences = pMasterControl ? pMasterControl->GetPreferences() : nullptr;
    if (preferences && !preferences->IsDontShowAgainMessageSet(kDontAskNotAllCalibrated)
        && !AreAllSupportedDisplaysCalibrated()) {
        MyCustomMessageBox box(this, 0, 0, true);
        box.setText(GetStringResource(kNotAllCalibratedQuestion));
        box.setWindowTitle(GetStringResource(kApplicationName));
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setIcon(QMessageBox::Question);
        const int answer = box.exec();
        if (box.GetDontShowAgainValue())
            preferences->SetDontShowAgainMessageSet(kDontAskNotAllCalibrated);
        if (answer == QMessageBox::Cancel) {
            event->ignore();
            return;
        }
    }
    if (preferences && pos().x() != 0 && pos().y() != 0)
        preferences->SetMainWindowPosition(pos());
    event->accept();
    if (information_window)
        information_window->close();
    // A visible test pattern window is a top-level of its own: it goes with
    // the main window.
    if (test_pattern_window)
        test_pattern_window->hide();
}

void PZ_Main_Dialog::show_information_dialog()
{
    if (!information_window)
        return;
    if (information_window->isVisible()) {
        information_window->close();
        return;
    }
    updateInformationWindow();
    information_window->show();
    information_window->activateWindow();
}

void PZ_Main_Dialog::show_test_pattern_dialog()
{
    if (!test_pattern_window)
        return;
    if (test_pattern_window->isVisible()) {
        test_pattern_window->hide();
        return;
    }
    if (pMasterControl)
        pz::placeOnDisplay(*test_pattern_window,
                           pMasterControl->GetTargetDisplay()->GetMonitorData().m_Bounds);
    test_pattern_window->enable_controls(true);
    test_pattern_window->show();
    test_pattern_window->activateWindow();
}

void PZ_Main_Dialog::itemMenuAboutToShow()
{
    action_Test_Pattern->setChecked(test_pattern_window && test_pattern_window->isVisible());
    action_Information_Window->setChecked(information_window && information_window->isVisible());
}

void PZ_Main_Dialog::exit()
{
    close();
}

void PZ_Main_Dialog::show_version_info()
{
    DisplayMessage(this, m_VersionInfo, QMessageBox::Information, false, 0, false);
}

void PZ_Main_Dialog::about()
{
    PZ_About_Dialog box(this);
    box.exec();
}

// Whatever the dialog's answer: the preferences may have changed the
// targets shown, the commands offered and the calibration status.
void PZ_Main_Dialog::preferences()
{
    {
        PZ_Preferences_Dialog dialog(this);
        pz::placeOverParent(dialog, this);
        dialog.exec();
    }
    onCreateTargetList();
    updateControlsStatus();
    UpdateCalibrationStatus();
    UpdateTargetUI();
}

// Screen changes reach the window as device changes (usb_device_changed);
// the slot stays for the desktop's resize notice, which Qt 6 no longer sends.
void PZ_Main_Dialog::desktop_resized(int) {}
