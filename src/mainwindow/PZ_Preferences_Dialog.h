#pragma once
// The Preferences dialog: the settings of the application's one CPreferences
// object in five tabs, written back when the user presses OK (the file is
// written at exit). Three things act at once and stay after Cancel: the
// sensor chosen or detected on the first tab (a choice of the sensor
// selector, not a preference), the Defaults button, which resets the whole
// preferences object, and a folder chosen for the profiles.

#include "ui_PZ_Preferences_Dialog.h"

#include <QButtonGroup>
#include <QDialog>

class CPreferences;
class CTargetSensor;

class PZ_Preferences_Dialog : public QDialog, public Ui::PZ_Preferences_DialogClass {
    Q_OBJECT
public:
    explicit PZ_Preferences_Dialog(QWidget *parent);
    ~PZ_Preferences_Dialog() override;

public slots:
    // Writes the controls into the preferences, then accepts.
    void onAccept();
    // Asks, then resets every preference and refills the controls.
    void on_preferences_Defaults_pushButton_clicked();
    // Tries the sensor type shown, then any connected sensor.
    void onSensorAutoDetect();
    // Opens the sensor type chosen in the list (the current item is read).
    void onSensorSelectionChanged(int index);
    // Chooses the folder for the profiles and stores it at once.
    void onEditProfileSaveToLocation();

private:
    // Sets every control from the preferences; writes nothing.
    void InitValues();
    // The current sensor's model and serial number, or "N/A".
    void UpdateSensorInfo();
    void FillLists();
    void FillButtonGroups();

    static CPreferences *Preferences();
    static CTargetSensor *TargetSensor();

    // The radio buttons' values. Created before the form, destroyed in the
    // reverse order.
    QButtonGroup m_OSDLockGroup;
    QButtonGroup m_ProfileStorageGroup;
    QButtonGroup m_PrimaryColorSourceGroup;
    QButtonGroup m_LuminanceUnitsGroup;
    QButtonGroup m_ProfileNamingGroup;
};
