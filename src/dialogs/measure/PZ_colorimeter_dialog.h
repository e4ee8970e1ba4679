#pragma once
// The "Colorimeter Tool": the current sensor as a live colorimeter. The
// user puts the sensor on the dialog's measurement patch and takes single
// readings, or lets a timer read once a second; each reading is shown as
// CIE XYZ, CIE xyY, colour temperature and Δuv, and can be copied as text.
// The patch is white, or with "Sample Color" checked a colour chosen with
// the spin boxes, the value slider, the picker circle or the colour dialog.
//
// The caller prepares the sensor (display mode, zero calibration,
// placement) before it runs the dialog; the dialog changes nothing on the
// sensor or the monitor. Readings are synchronous on the GUI thread.

#include "CCIEXYZ.h"
#include "ui_PZ_colorimeter_dialog.h"

#include <QColor>
#include <QDialog>

class CSensor;
class QAction;
class QTimer;

class PZ_colorimeter_dialog : public QDialog, public Ui::PZ_colorimeter_dialogClass {
    Q_OBJECT

public:
    static constexpr int kReadingPeriodMs = 1000;

    explicit PZ_colorimeter_dialog(QWidget *parent = nullptr);

    void takeReading();
    void ShowReading(CCIEXYZ reading);
    void UpdateLightnessValue();
    void onUpdateRGBPickerText();

public slots:
    void on_groupBox_sample_color_toggled(bool checked);
    void onColorPicker_pushButton();
    void onSingle_Measurment_pushButton();
    void onContinuous_Measurment_checkBox(bool checked);
    void onTimer();
    void onrgb_Red_level_spinbox_value_changed(int value);
    void onrgb_Green_level_spinbox_value_changed(int value);
    void onrgb_Blue_level_spinbox_value_changed(int value);
    void onbrightness_slider_value_changed(int value);
    void onColorPickerWidgetHueSatChanged(double hue, double saturation);
    void on_custom_white_point_reset_rgb_pushButton_clicked();
    void copyToClipboard();

protected:
    void moveEvent(QMoveEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The target display's exact pixel rectangle; empty without one.
    QRect targetDisplayGeometry() const;
    // The patch shows the sample colour only while "Sample Color" is checked.
    void updatePatch();
    void stopContinuous();

    QColor m_SampleColor = Qt::white;
    CSensor *m_Sensor = nullptr;   // the sensor selector's, not owned
    QTimer *m_Timer = nullptr;
    QAction *m_CopyAction = nullptr;
};
