#pragma once
// The "Ambient Light Measurement" window: the room light's illuminance and
// colour temperature beside the ISO 12646 viewing recommendations. It first
// shows the sensor's own placement picture and text; Next starts readings
// every 4000 ms (the first at once) over a black screen, and the button
// then stops and restarts them.
//
// The caller puts the sensor into ambient mode and prepares it before, and
// back into display mode after; the dialog changes nothing on the sensor.
// Readings are synchronous on the GUI thread, after one pass over the
// pending events so that the status text shows; a reading never starts
// while another one waits in that pass.

#include "MonitorData.h"
#include "sensor_physical_data.h"

#include <QDialog>
#include <memory>

class CSensor;
class QTimer;

namespace Ui {
class PZ_Ambient_Light_Measurement_DialogClass;
}

class PZ_Ambient_Light_Measurement_Dialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kReadingPeriodMs = 4000;
    // Distance of the window from the display's left edge.
    static constexpr int kLeftMargin = 20;

    explicit PZ_Ambient_Light_Measurement_Dialog(QWidget *parent = nullptr);
    ~PZ_Ambient_Light_Measurement_Dialog() override;

    void StartTimer(bool start);

public slots:
    void on_ambient_light_done_pushButton_clicked();
    void on_ambient_light_start_pushButton_clicked();
    void onTimer();

private:
    void takeReading();
    void showNoReading();
    // Near the display's left edge, centred vertically; nothing without one.
    void placeBesideDisplay();

    std::unique_ptr<Ui::PZ_Ambient_Light_Measurement_DialogClass> ui;
    CSensor *m_Sensor = nullptr;   // the sensor selector's, not owned
    QTimer *m_Timer = nullptr;
    bool m_Measuring = false;
    bool m_ReadingInProgress = false;
    sensor_physical_data m_SensorData;
    _MonitorData m_MonitorData;
};
