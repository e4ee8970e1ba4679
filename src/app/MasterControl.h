#pragma once
// The application controller. It owns the long-lived model objects (target
// display, preferences, monitor list, monitor tracker), the display
// interface list and the sensor selector; shows the splash screen while the
// monitors and the sensor are detected on their threads; opens the windows
// (through the registered StartupWindows) once both detections have
// finished, or in auto mode runs the start-up display check and ends the
// event loop. At exit it stores the monitor list and tracker in the
// master-control data file. Every other part reaches the model objects
// through pMasterControl and its getters; callers never own what they get.

#include "CMonitorTracker.h"
#include "CMultiMonitor.h"
#include "CPreferences.h"
#include "CTargetDisplay.h"

#include <QObject>
#include <QString>

class CTargetSensor;
class MonitorDetectThread;
class QSplashScreen;
class QWidget;
class SensorDetectThread;

class MasterControl : public QObject {
    Q_OBJECT

public:
    explicit MasterControl(QObject *parent = nullptr);
    ~MasterControl() override;

    // Shows the splash, creates the windows (not in auto mode) and starts
    // the detection threads. Called once.
    void Startup(bool autoMode);
    // Runs once, when both detections have finished.
    void readyToOpen();
    // Rebuilds the splash text; does nothing without a splash.
    void displayDetectionMessage();

    CTargetSensor *GetTargetSensor() const;
    CTargetDisplay *GetTargetDisplay() { return &m_TargetDisplay; }
    CMultiMonitor *GetMultiMonitor() { return &m_MultiMonitor; }
    CPreferences *GetPreferences() { return &m_Preferences; }
    CMonitorTracker *GetMonitorTracker() { return &m_MonitorTracker; }

    // <preferences folder>/<configuration file name>.
    QString GetMasterControlFileNameAndPath() const;
    // 0; -1500 the file cannot be opened; -1504 it could not be written.
    // At exit it replaces a stored file only once the windows opened; the
    // callers that write it at other times report a failure.
    int WriteMasterControlData();
    // 0; -1500 no file (or it cannot be opened); -1503 damaged (kept aside as
    // "<name>.bad", the lists stay empty, and the user is told once the
    // windows open).
    int ReadMasterControlData();

    // Writes the data file at once after a record changed (unless the file
    // must be left alone, see below); a failed write is reported over parent.
    // The write's result, 0 also when nothing was written.
    int StoreChangedRecords(QWidget *parent);

    // Whether the exit will write the data file: not when a file is there
    // that could not be read and could not be kept aside either.
    bool WillWriteDataAtExit() const { return m_writeDataAtExit; }

signals:
    void startup_complete();
    void start_check_display_settings();
    void start_check_calibration_sensor();

public slots:
    void detectedMonitorIn(const QString &name);
    void monitorDetectionCompleteIn();
    void detectedSensorIn(const QString &name);
    void sensorDetectionCompleteIn();

private:
    bool m_monitorDetectionComplete = false;
    bool m_sensorDetectionComplete = false;
    QWidget *m_mainWindow = nullptr;
    QSplashScreen *m_splash = nullptr;
    MonitorDetectThread *m_monitorThread = nullptr;
    SensorDetectThread *m_sensorThread = nullptr;
    QString m_monitorName;
    QString m_sensorName;
    CTargetDisplay m_TargetDisplay;
    CPreferences m_Preferences;
    CMultiMonitor m_MultiMonitor;
    CMonitorTracker m_MonitorTracker;
    bool m_opened = false;
    bool m_autoMode = false;

    bool m_writeDataAtExit = true;
    // Where a data file or a preferences file that could not be read was
    // kept; the user is told once, when the windows open.
    QString m_dataFileKeptAs;
    QString m_preferencesKeptAs;

    // Tells of each file kept aside, and forgets it.
    void tellFilesKeptAside();
    // text holds %1 for where the file was kept.
    void tellFileKeptAside(QString &keptAs, const QString &text);
};

// Whether any monitor of the controller's list is a model with automatic
// luminance, or one that offers a choice of LUT calibration priority.
bool isDisplaySupportingAutoLuminancePresent();
bool isDisplaySupportingLUTCalibrationPriorityPresent();
