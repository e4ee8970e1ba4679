#pragma once
// "Custom White Point": the user sets a white point the target editor's list
// does not offer, as a black-body temperature in kelvin, as CIE 1931 x,y
// coordinates, by measuring the screen with the current sensor, or by a
// visual match: the target display's graphics card ramp is tinted until a
// white patch matches the user's reference by eye, and the tinted patch is
// then measured.
//
// The caller builds the dialog on its stack with a copy of its white point,
// runs exec() and, when it returns Accepted, reads white_point (kelvin form
// after a kelvin edit, x,y form after an x, y edit or a measurement, the one
// passed in when nothing was edited) and measured_luminance (cd/m² of the
// last successful measurement, -1 without one).
//
// The card's ramp is read at construction and loaded back at destruction,
// so a tint never outlives the dialog. When the ramp cannot be read the
// dialog never writes it (a guessed ramp would wipe the display's loaded
// calibration) and Visual Match stays disabled.

#include "CColorTemperature.h"
#include "ui_PZ_Custom_White_Point_Dialog.h"

#include <QColor>
#include <QDialog>
#include <QVector>
#include <memory>

class CSensor;
class CVideoCardGamma;

class PZ_Custom_White_Point_Dialog : public QDialog, public Ui::PZ_Custom_White_Point_DialogClass {
    Q_OBJECT

public:
    PZ_Custom_White_Point_Dialog(CColorTemperature white_point, QWidget *parent);
    ~PZ_Custom_White_Point_Dialog() override;

    CColorTemperature white_point;
    double measured_luminance = -1.0;

public slots:
    void on_custom_white_point_BlackBody_radioButton_toggled(bool checked);
    void on_custom_white_point_Kelvin_doubleSpinBox_valueChanged(int kelvin);
    void on_custom_white_point_CIE_x_doubleSpinBox_valueChanged(double x);
    void on_custom_white_point_CIE_y_doubleSpinBox_valueChanged(double y);
    void on_custom_white_point_measure_pushButton_clicked();
    void on_visual_match_groupBox_toggled(bool on);
    void onrgb_Red_level_spinbox_value_changed(double value);
    void onrgb_Green_level_spinbox_value_changed(double value);
    void onrgb_Blue_level_spinbox_value_changed(double value);
    void onColorPickerWidgetHueSatChanged(double hue, double saturation);
    void onbrightness_slider_value_changed(int value);
    void on_custom_white_point_reset_rgb_pushButton_clicked();
    void on_custom_white_point_white_background_checkBox_stateChanged(int state);
    void my_accept();

private:
    void InitUIValues();
    void UpdateDeltaUV();
    void UpdateVideoLUT();
    void UpdateLightnessValue();
    void onUpdateRGBPickerText();
    // Takes an x,y white point from the boxes, as the user sees them.
    void takeBoxChromaticity();
    // Puts the ramp found at opening back; nothing when none could be read.
    void loadSavedRamps();

    CSensor *color_sensor = nullptr;   // the sensor selector's, not owned
    bool sensor_prepared = false;
    QColor match_color = Qt::white;
    QColor measured_match_color = Qt::white;
    std::unique_ptr<CVideoCardGamma> video_card_gamma;
    bool sensor_available = false;
    QVector<unsigned int> saved_red_ramp, saved_green_ramp, saved_blue_ramp;
    bool measuring = false;   // a click during the reading's event pass is ignored
};
