#pragma once
// The "Monitor Settings" dialog: the brightness of the target monitor's
// power LED and the level of its digital uniformity correction, over
// DDC/CI, and a white full-screen background over that monitor through the
// shared test pattern window.
//
// Every slider step is sent at once and, once the monitor took it, becomes
// the current value. OK stores the monitor's settings when a current value
// differs from the opening one; the Cancel button sends the opening values
// back and stores them. Escape (any other rejection) closes without either:
// the last values sent stay live, unstored. Nothing here shows a message.

#include <QDialog>
#include <memory>

class CDDCMonitor;

namespace Ui {
class PZ_monitor_settings_dialogClass;
}

class pz_monitor_settings_dialog : public QDialog {
    Q_OBJECT

public:
    explicit pz_monitor_settings_dialog(QWidget *parent = nullptr);
    ~pz_monitor_settings_dialog() override;

    void EnableColorCompSlider(bool enable);

public slots:
    void onAccept();
    void onReject();
    void on_monitor_settings_LED_brightness_horizontalSlider_valueChanged(int value);
    void on_monitor_settings_colorcomp_level_horizontalSlider_valueChanged(int value);
    void on_monitor_settings_show_testpattern_checkBox_stateChanged(int state);

private:
    void readMonitor();
    void EnableLEDSlider(bool enable);

    std::unique_ptr<Ui::PZ_monitor_settings_dialogClass> ui;
    CDDCMonitor *m_Monitor = nullptr;   // the target display's, not owned
    bool m_ColorCompOnOffRead = false;
    bool m_ColorCompLevelRead = false;
    bool m_LEDBrightnessRead = false;
    uint m_ColorCompOnOff = 0;
    uint m_OpeningColorCompLevel = 0;
    uint m_OpeningLEDBrightness = 0;
    uint m_ColorCompLevel = 0;
    uint m_LEDBrightness = 0;
};
