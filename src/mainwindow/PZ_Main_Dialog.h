#pragma once
// The application's main window: the user picks the display (Display
// group), the target (Target Settings group), reads the display's
// calibration status (Calibration group) and starts every operation from
// the menus and buttons. The application controller creates it once at
// start-up; its display list stays empty until startup_complete().
//
// The window keeps three records of the selected display: the current
// target (what the next operation aims at), the target of the display's
// last calibration and that calibration's result, all loaded from the
// monitor tracker record whose key is the display's serial.
//
// Device changes (displays, monitor bridges) reach usb_device_changed() and
// are folded into one refresh of the display list, 4 s after the last
// notice. Modal operations that hold the monitor object hold refreshes back
// with block_unblock_usb_update(), because a refresh replaces that object.
//
// The source is split by concern: PZ_Main_Dialog.cpp (frame, menus,
// launchers), MainDialogDisplays.cpp (display list and calibration status),
// MainDialogTargets.cpp (target list and preset targets),
// MainDialogCalibrationFiles.cpp (stored calibrations),
// MainDialogRefresh.cpp (device changes and start-up slots),
// MainDialogCalibrate.cpp (the calibrate flow, and the frame and profile
// steps the measuring flows share), MainDialogProfile.cpp,
// MainDialogValidate.cpp and MainDialogSensorCheck.cpp.

#include "CAdjustValue.h"
#include "CMonitorTracker.h"
#include "CTargetValue.h"

#include "ui_mainWindow.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class CTargetDisplay;
class QDateTime;
class QTimer;

namespace pz {
class DisplayChangeFeeds;
}

class PZ_Main_Dialog : public QMainWindow, public Ui::mainWindow {
    Q_OBJECT

public:
    // The refresh delay after the last device-change notice.
    static constexpr int kDeviceChangeDelayMs = 4000;

    explicit PZ_Main_Dialog(QMainWindow *parent = nullptr);
    ~PZ_Main_Dialog() override;

    // Enables the actions and buttons by the sensor and the current display.
    virtual void updateControlsStatus();

    // ---- display list and calibration status ----
    // Rebuilds the display list (signals blocked); the first usable monitor
    // becomes current.
    void CreateDisplayList();
    // Refreshes the Calibration group from the current display's result.
    void UpdateCalibrationStatus();
    // Whether every usable monitor of the list has a tracker record with
    // its calibration switched on.
    bool AreAllSupportedDisplaysCalibrated();
    // Whether the current target equals the current display's calibrated
    // target (by values).
    bool DoesCurrentTargetMatchCalibratedTarget();
    // The target display's monitor answers over DDC/CI: the display can be
    // calibrated here.
    bool targetDisplayAnswers() const;
    // Refreshes the information window with the selected display's name,
    // the current target and the current display's result.
    void updateInformationWindow();

    // ---- target list and target files ----
    // Selects the list entry whose file name is fileName (signals blocked);
    // its index, or negative when none matches.
    int SetectTargetInListByName(QString fileName);
    // Writes the nine preset targets that are missing; the current target
    // becomes Photo Editing.
    void CreateStandardTargets();
    // Writes target to the targets folder under its name: 0 (written, or
    // left alone because it exists and overwrite is false), -1500 (no
    // targets folder, or the file cannot be written), -1504 (write failed),
    // -1505 (the name would leave the targets folder).
    int SaveTargetToDefaultLocation(CTargetValue target, bool overwrite);
    // Writes target to a target file and renames it after the file; true
    // when written (or already there). With ask the user chooses the file
    // (preset names refused); without, the file goes into the targets folder
    // under the target's name made safe, never over another target: an
    // equal one is taken as it is, a different one gets " (2)", " (3)" ...
    // A failed write shows -1505, returns false and keeps the old name.
    bool saveTarget(CTargetValue *target, bool ask);
    // Looks for the newest calibration-settings file of the current display
    // for target. status: 0 none, 1 found but due, 2 found and current.
    // Returns -1 without a monitor object, else 0. load asks to load what
    // was found when it is not the calibration held.
    int FindBestMCSForCurrentTarget(CTargetValue target, bool load, int *status);
    // Writes one calibration-settings file for target and result into the
    // calibration-settings folder, never over an existing file: 0, -1500
    // (no folder, or the file cannot be opened) or -1504 (write failed).
    int CreateMCSFile(CTargetValue *target, CAdjustValue *result);
    // Restores the calibration stored in path into the current display's
    // monitor and makes it the display's calibration (profile, target list,
    // tracker, window). -1 without a monitor object, -1500 for a file that
    // cannot be read, 0 when the user declines to load an overdue one, else
    // the target's index in the list (negative when it was not listed).
    int LoadMCSFile(QString path);

    // ---- calibrate flow ----
    // The warm-up warning of a monitor whose backlight has not been on for
    // half an hour: 0 go on, -1 the user chose not to.
    int check_backlight_on_time();

    // ---- profile and validation ----
    // The final measurements of a measuring run (primaries, grey steps and
    // corrected response curves) copied over those of into; the rest of
    // into stays.
    static void takeFinalMeasurements(CColorValue &into, const CColorValue &from);

    // ---- device-change refresh ----
    // true holds refreshes back; false releases them and starts a refresh
    // held back meanwhile.
    void block_unblock_usb_update(bool block);
    // Tests shorten the refresh delay.
    void setDeviceChangeDelay(int ms) { m_deviceChangeDelayMs = ms; }
    bool isRefreshPending() const { return m_refreshPending; }
    bool isRefreshHeld() const { return m_refreshBlocked; }
    bool isRefreshCounting() const;

    // The window's records of the selected display, for the flows and tests.
    const CTargetValue &currentTarget() const { return m_CurrentTarget; }
    const CTargetValue &calibratedTarget() const { return m_CalibratedTarget; }
    const CAdjustValue &calibrationResult() const { return m_CalibrationResult; }
    int gamutAdjustability() const { return m_GamutAdjustability; }
    QStringList reservedTargetNames() const { return m_ReservedTargetNames; }

public slots:
    void usb_device_changed(bool added);
    void on_main_Calibration_On_checkBox_stateChanged(int state);
    void about();
    void exit();
    void show_information_dialog();
    void show_test_pattern_dialog();
    void monitor_settings_dialog();
    void show_colorimeter_dialog();
    void calibrate();
    void profile();
    void on_main_Target_Edit_pushButton_clicked();
    void preferences();
    void on_main_Target_Open_pushButton_clicked();
    void itemMenuAboutToShow();
    void UpdateTargetUI();
    bool onSaveTarget();
    void onCreateTargetList();
    void onTargetSelectionChanged(int index);
    void onDisplaySelectionChanged(int index);
    void onOpenMCSFile();
    void startup_complete();
    void start_check_display_settings();
    void start_check_calibration_sensor();
    void desktop_resized(int screen);
    void validate_calibration();
    void show_Ambient_Light_Measurement_dialog();
    void show_version_info();
    void update_on_device_changed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void connectActions();
    void readPositionSettings();
    void SetCalibratedTime(const QDateTime &time);
    // The status of one target file for the list; -1 when it gets no item.
    int targetListStatus(const CTargetValue &target);

    // The calibrate flow's two endings: a calibrated result becomes the
    // display's calibration (profile, settings file, tracker, status) and
    // gives the summary text, clearing countdown when the summary reports
    // a failure; a run without one switches the previous calibration off.
    QString takeCalibration(const CAdjustValue &result, bool withProfile, bool &countdown);
    void dropCalibration();

    // What the measuring flows (calibrate, profile, validate) do differently
    // in the frame they share.
    struct MeasuringRun {
        int operation;                   // of the calibration window
        bool countdownWhenCancelled;     // the cancelled text closes itself
        bool screenSaverBeforeMessage;   // a box that waits for OK comes after it
    };
    // The shared frame from the sensor preparation on: screen saver off,
    // refreshes held, the calibration window on a copy of the current
    // target, then one summary box. take turns an accepted window's result
    // into the box's text and may clear the countdown.
    void runMeasuringWindow(const MeasuringRun &run,
                            const std::function<QString(const CAdjustValue &, bool &)> &take);

    // The profile steps shared by calibrate and profile: a profile of result
    // against the current target, named, written and, once written, assigned.
    struct WrittenProfile {
        bool written = false;
        bool assigned = false;
        CAdjustValue result;   // the profile's result (its name and description)
        quint32 date = 0;      // the profile's date, seconds since 1970 UTC
    };
    WrittenProfile writeProfile(const CAdjustValue &result, bool allowGammaTRC);
    // The summary's profile lines, each after a line break; clears
    // countdown when they report a failure.
    static QString profileLines(const WrittenProfile &profile, bool &countdown);
    // The profile flow's ending for an accepted, valid run.
    QString takeProfile(const CAdjustValue &result, bool &countdown);
    // The validation's ending for an accepted run.
    QString takeValidation(const CAdjustValue &result);
    // The sensor check: asks to end a utility that runs, true when it was
    // ended.
    bool offerToEndUtility(const QString &processName, unsigned questionId);
    // Calibration On: verifies the monitor still holds the stored settings
    // and puts them back when they differ; false when the calibration
    // cannot be switched on (the reason already shown).
    bool putCalibrationBack(CTargetDisplay *display, const QString &name);

    // The tracker record of a monitor by its serial; false when there is
    // none. A monitor without a serial never has one: an empty key would
    // match every other such monitor.
    bool lookUpTrackerRecord(const QString &serial, quint32 id, _MonitorTrackerRecord &record);
    // Replaces or appends the record (not for an empty serial) and writes
    // the master-control data file at once, so a crash keeps the record.
    void storeTrackerRecord(_MonitorTrackerRecord &record);
    // The record of a calibration (result and its target) for the result's
    // monitor, stored as above.
    void storeCalibrationRecord(const CTargetValue &target, const CAdjustValue &result);

    CTargetValue m_CurrentTarget;
    CTargetValue m_CalibratedTarget;
    CAdjustValue m_CalibrationResult;
    QStringList m_ReservedTargetNames;
    int m_GamutAdjustability = 0;
    QString m_VersionInfo;
    QTimer *m_RefreshTimer = nullptr;
    bool m_refreshPending = false;
    bool m_refreshBlocked = false;
    // Until startup_complete the display list is empty and the monitor list
    // is still being built: changes are only remembered.
    bool m_startupComplete = false;
    int m_deviceChangeDelayMs = kDeviceChangeDelayMs;
    std::unique_ptr<pz::DisplayChangeFeeds> m_displayFeeds;
    // Where the user left the stored-calibration browser in this run, from
    // this window's frame corner to the browser's: it reopens there, and
    // goes with this window when this window has moved.
    std::optional<QPoint> m_browserOffset;
};

// The main window while it exists, else nullptr.
extern PZ_Main_Dialog *p_PZ_Main_Dialog;
