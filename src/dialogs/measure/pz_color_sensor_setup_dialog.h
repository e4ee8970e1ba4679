#pragma once
// Gets the current calibration sensor ready before a measurement: a zero
// (dark) calibration when the sensor needs one, then its measurement
// selector (dial or turning diffuser) turned to the position the coming
// readings need, then a "ready" page. OK is enabled only while the selector
// stands where it must; the selector is watched through the sensor's change
// signal and, for sensors that cannot signal, by polling once a second,
// blinking the sensor's light until it is right. Accepted means the sensor
// is ready. Its pages change its size, never its title's room or its centre.

#include "sensor_physical_data.h"

#include <QDialog>
#include <memory>

class CSensor;
class QTimer;

namespace Ui {
class pz_color_sensor_setup_dialogClass;
}

class pz_color_sensor_setup_dialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kUpdateDelayMs = 500;
    static constexpr int kPollIntervalMs = 1000;

    // ambient: the readings to come are ambient readings (selector position
    // 3, else 0); forceZeroCal: zero calibrate even when the sensor already
    // is. Works on the current sensor of the sensor selector.
    pz_color_sensor_setup_dialog(bool ambient, bool forceZeroCal, QWidget *parent);
    // Stops the sensor's light blinking.
    ~pz_color_sensor_setup_dialog() override;

public slots:
    // OK: zero calibrates, confirms the selector, shows the ready page, and
    // accepts on the ready page.
    void my_accept();
    // The selector moved: reads it again once the moves have settled.
    void SensorMeasurementSelectorPositionChanged(int position);
    void update_sensor_selector_timer();
    void poll_sensor_selector_timer();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Room for the title bar: the title's text (with slack for a bold title
    // font, in percent) and the window manager's icon and buttons.
    static constexpr int kTitleFontSlack = 115;
    static constexpr int kTitleBarButtonsWidth = 140;
    void keepTitleWhole();
    // The required position for the selector once no zero calibration is pending.
    int MeasurementPosition() const { return m_Ambient ? 3 : 0; }
    void SetPicture(const QPixmap &picture);
    void SetOkEnabled(bool enabled);
    // The selector page after a zero calibration: picture, text, and OK
    // enabled when the selector already stands right.
    void ShowSelectorPage();
    // Reads the selector; a negative answer stops `timer` and shows the error.
    bool ReadPosition(QTimer *timer, int &position);

    std::unique_ptr<Ui::pz_color_sensor_setup_dialogClass> ui;
    CSensor *m_Sensor = nullptr;
    bool m_ReadyPageShown = false;
    bool m_ZeroCalDoneHere = false;
    bool m_SelectorSupported = false;
    bool m_SelectorConfirmed = false;
    bool m_ZeroCalNeeded = false;
    bool m_Ambient = false;
    sensor_physical_data m_PhysicalData;
    int m_RequiredPosition = 0;
    QTimer *m_UpdateTimer = nullptr;
    QTimer *m_PollTimer = nullptr;
};
