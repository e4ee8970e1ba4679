#include "PZ_Custom_White_Point_Dialog.h"

#include "AppGlobals.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "CVideoCardGamma.h"
#include "DisplayPlacement.h"
#include "LuminanceUnits.h"
#include "MasterControl.h"
#include "Messages.h"
#include "SensorFlows.h"
#include "StringResources.h"
#include "pz_test_pattern_dialog.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kApplicationName = 1;
constexpr unsigned kNotMeasuredQuestion = 153;
constexpr unsigned kOutOfRangeQuestion = 154;
constexpr unsigned kTakingMeasurementText = 703;
// The white points a calibration is known to reach.
constexpr int kLowestKelvin = 2500;
constexpr int kHighestKelvin = 11000;
// A tint this dark (red + green + blue <= 76) is shown as a neutral 10 % ramp.
constexpr double kDarkestTint = 0.3;
constexpr double kDarkTintFactor = 0.1;

_MonitorData targetMonitorData()
{
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    return display ? display->GetMonitorData() : _MonitorData();
}

// One channel of the saved ramp scaled by a factor.
QVector<unsigned int> scaled(const QVector<unsigned int> &ramp, double factor)
{
    QVector<unsigned int> out;
    out.reserve(ramp.size());
    for (unsigned int entry : ramp)
        out.append(static_cast<unsigned int>(std::clamp(factor * entry, 0.0, 4294967295.0)));
    return out;
}

bool askYesNo(QWidget *parent, const QString &text, Qt::TextFormat format)
{
    QMessageBox box(QMessageBox::Question, GetStringResource(kApplicationName), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(format);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

PZ_Custom_White_Point_Dialog::PZ_Custom_White_Point_Dialog(CColorTemperature white_point_,
                                                           QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    white_point = white_point_;

    connect(buttonBox, &QDialogButtonBox::accepted, this, &PZ_Custom_White_Point_Dialog::my_accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Ticking the box runs its slot, which puts the white pattern on the
    // target display.
    custom_white_point_white_background_checkBox->setChecked(test_pattern_window
                                                             && test_pattern_window->isVisible());

    connect(custom_white_point_RGB_Red_doubleSpinBox, &QDoubleSpinBox::valueChanged, this,
            &PZ_Custom_White_Point_Dialog::onrgb_Red_level_spinbox_value_changed);
    connect(custom_white_point_RGB_Green_doubleSpinBox, &QDoubleSpinBox::valueChanged, this,
            &PZ_Custom_White_Point_Dialog::onrgb_Green_level_spinbox_value_changed);
    connect(custom_white_point_RGB_Blue_doubleSpinBox, &QDoubleSpinBox::valueChanged, this,
            &PZ_Custom_White_Point_Dialog::onrgb_Blue_level_spinbox_value_changed);
    connect(color_picker_circle_widget, &PZ_color_picker_circle_widget::HueSatChanged, this,
            &PZ_Custom_White_Point_Dialog::onColorPickerWidgetHueSatChanged);
    connect(custom_white_point_brightness_verticalSlider, &QSlider::valueChanged, this,
            &PZ_Custom_White_Point_Dialog::onbrightness_slider_value_changed);

    InitUIValues();
    // Always opens in x,y mode, whatever the white point's form.
    custom_white_point_CIE_xy_radioButton->setChecked(true);

    const _MonitorData display = targetMonitorData();
    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    color_sensor = selector ? selector->m_pCurrentSensor : nullptr;
    sensor_available = color_sensor != nullptr;

    video_card_gamma = std::make_unique<CVideoCardGamma>(display);
    if (video_card_gamma->GetVideoCardGamma(saved_red_ramp, saved_green_ramp, saved_blue_ramp) != 0) {
        saved_red_ramp.clear();
        saved_green_ramp.clear();
        saved_blue_ramp.clear();
    }

    onUpdateRGBPickerText();
    measurement_target_widget->setPatchColor(match_color);

    // Wide enough for the sensor: 10 cm on the target display.
    const int minimumWidth = pz::tenCentimetresInPixels(pz::displayGeometry(display.m_Bounds),
                                                        display.m_Width, display.m_Height);
    if (minimumWidth > 0)
        measurement_target_widget->setMinimumWidth(minimumWidth);

    visual_match_groupBox->setChecked(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    custom_white_point_measure_pushButton->setEnabled(sensor_available);
    visual_match_groupBox->setEnabled(sensor_available && !saved_red_ramp.isEmpty());
    frame->setEnabled(sensor_available);

    setSizeGripEnabled(true);
    resize(10, 10);
    resize(layout()->minimumSize());
    resize(layout()->minimumSize());
    resize(width() + 1, height() + 1);
}

PZ_Custom_White_Point_Dialog::~PZ_Custom_White_Point_Dialog()
{
    loadSavedRamps();
    if (test_pattern_window && test_pattern_window->isVisible()) {
        test_pattern_window->enable_controls(true);
        test_pattern_window->hide();
    }
}

// ---- white point entry

void PZ_Custom_White_Point_Dialog::InitUIValues()
{
    {
        const QSignalBlocker xBlock(custom_white_point_CIE_x_doubleSpinBox);
        const QSignalBlocker yBlock(custom_white_point_CIE_y_doubleSpinBox);
        const QSignalBlocker kelvinBlock(custom_white_point_Kelvin_doubleSpinBox);
        custom_white_point_CIE_x_doubleSpinBox->setValue(white_point.m_CIExy.x);
        custom_white_point_CIE_y_doubleSpinBox->setValue(white_point.m_CIExy.y);
        custom_white_point_Kelvin_doubleSpinBox->setValue(white_point.m_Kelvin);
    }
    UpdateDeltaUV();
}

void PZ_Custom_White_Point_Dialog::UpdateDeltaUV()
{
    custom_white_point_delta_uv_label->setText(
        tr("%2 %1uv").arg(QChar(0x0394)).arg(std::fabs(white_point.m_DeltaUV), 0, 'f', 4));
}

void PZ_Custom_White_Point_Dialog::on_custom_white_point_BlackBody_radioButton_toggled(bool checked)
{
    custom_white_point_Kelvin_doubleSpinBox->setEnabled(checked);
    custom_white_point_CIE_x_doubleSpinBox->setEnabled(!checked);
    custom_white_point_CIE_y_doubleSpinBox->setEnabled(!checked);
}

void PZ_Custom_White_Point_Dialog::on_custom_white_point_Kelvin_doubleSpinBox_valueChanged(int kelvin)
{
    white_point = CColorTemperature(static_cast<unsigned short>(kelvin));
    {
        const QSignalBlocker xBlock(custom_white_point_CIE_x_doubleSpinBox);
        const QSignalBlocker yBlock(custom_white_point_CIE_y_doubleSpinBox);
        custom_white_point_CIE_x_doubleSpinBox->setValue(white_point.m_CIExy.x);
        custom_white_point_CIE_y_doubleSpinBox->setValue(white_point.m_CIExy.y);
    }
    UpdateDeltaUV();
}

void PZ_Custom_White_Point_Dialog::takeBoxChromaticity()
{
    // Both coordinates as the boxes show them: the other one may have been
    // shown clamped (a native white point has x = y = 0).
    white_point = CColorTemperature(_CIExy{custom_white_point_CIE_x_doubleSpinBox->value(),
                                           custom_white_point_CIE_y_doubleSpinBox->value()});
    {
        const QSignalBlocker kelvinBlock(custom_white_point_Kelvin_doubleSpinBox);
        // The box clamps; a chromaticity without a temperature shows 2500.
        custom_white_point_Kelvin_doubleSpinBox->setValue(white_point.m_Kelvin);
    }
    UpdateDeltaUV();
}

void PZ_Custom_White_Point_Dialog::on_custom_white_point_CIE_x_doubleSpinBox_valueChanged(double)
{
    takeBoxChromaticity();
}

void PZ_Custom_White_Point_Dialog::on_custom_white_point_CIE_y_doubleSpinBox_valueChanged(double)
{
    takeBoxChromaticity();
}

// ---- measurement

void PZ_Custom_White_Point_Dialog::on_custom_white_point_measure_pushButton_clicked()
{
    if (!color_sensor || measuring)
        return;
    measuring = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{measuring};

    if (!sensor_prepared) {
        if (SetupSensorToCurrentDisplayTypeAndColorGamut(this) != 0)
            return;
        sensor_prepared = true;
    }
    if (DoSensorSetupDialog(false, false, this) != 0)
        return;
    DoSensorNeedsUserPreparationWarning(this);

    custom_white_point_measuring_label->setText(GetStringResource(kTakingMeasurementText));
    custom_white_point_measuring_label->repaint();
    QCoreApplication::processEvents();

    CCIEXYZ reading;
    int code = color_sensor->Measure(1);
    if (code == CSensor::kSensorOK) {
        code = color_sensor->GetXYZData(reading);
        // No light at all is no reading of a white patch.
        if (code == CSensor::kSensorOK && !(reading.X + reading.Y + reading.Z > 0.0))
            code = CSensor::kSensorDeviceFailed;
    }
    if (code != CSensor::kSensorOK) {
        DisplayErrorMessage(this, code, true, 1);
        custom_white_point_measuring_label->clear();
        return;
    }

    custom_white_point_CIE_xy_radioButton->setChecked(true);
    white_point = CColorTemperature(reading.GetCIExy());
    InitUIValues();
    measured_match_color = match_color;
    measured_luminance = reading.Y;
    custom_white_point_measuring_label->setText(
        tr("Measured Intensity: %1").arg(CandelasToDisplayText(reading.Y, 1, true)));
}

// ---- visual match

void PZ_Custom_White_Point_Dialog::loadSavedRamps()
{
    if (!saved_red_ramp.isEmpty())
        video_card_gamma->SetVideoCardGamma(saved_red_ramp, saved_green_ramp, saved_blue_ramp);
}

void PZ_Custom_White_Point_Dialog::UpdateVideoLUT()
{
    if (saved_red_ramp.isEmpty())
        return;
    double fr = match_color.red() / 255.0;
    double fg = match_color.green() / 255.0;
    double fb = match_color.blue() / 255.0;
    if (fr + fg + fb < kDarkestTint)
        fr = fg = fb = kDarkTintFactor;
    video_card_gamma->SetVideoCardGamma(scaled(saved_red_ramp, fr), scaled(saved_green_ramp, fg),
                                        scaled(saved_blue_ramp, fb));
}

void PZ_Custom_White_Point_Dialog::on_visual_match_groupBox_toggled(bool on)
{
    if (on)
        UpdateVideoLUT();
    else
        loadSavedRamps();
}

void PZ_Custom_White_Point_Dialog::onrgb_Red_level_spinbox_value_changed(double value)
{
    match_color.setRed(int(value));
    UpdateLightnessValue();
    UpdateVideoLUT();
}

void PZ_Custom_White_Point_Dialog::onrgb_Green_level_spinbox_value_changed(double value)
{
    match_color.setGreen(int(value));
    UpdateLightnessValue();
    UpdateVideoLUT();
}

void PZ_Custom_White_Point_Dialog::onrgb_Blue_level_spinbox_value_changed(double value)
{
    match_color.setBlue(int(value));
    UpdateLightnessValue();
    UpdateVideoLUT();
}

void PZ_Custom_White_Point_Dialog::UpdateLightnessValue()
{
    color_picker_circle_widget->ShowColor(match_color, custom_white_point_brightness_verticalSlider);
}

void PZ_Custom_White_Point_Dialog::onColorPickerWidgetHueSatChanged(double hue, double saturation)
{
    float h = 0, s = 0, value = 0;
    match_color.getHsvF(&h, &s, &value);
    // The circle's hue may lie a hair outside 0..1, which QColor refuses.
    match_color.setHsvF(std::clamp(hue, 0.0, 1.0), std::clamp(saturation, 0.0, 1.0), value, 1.0);
    if (value > 0 && match_color.red() == 0 && match_color.green() == 0 && match_color.blue() == 0)
        match_color.setHsvF(0.0, 0.0, value);
    UpdateVideoLUT();
    onUpdateRGBPickerText();
}

void PZ_Custom_White_Point_Dialog::onbrightness_slider_value_changed(int value)
{
    int h = 0, s = 0, v = 0;
    match_color.getHsv(&h, &s, &v);
    match_color.setHsv(h, s, value, 255);
    UpdateVideoLUT();
    onUpdateRGBPickerText();
}

void PZ_Custom_White_Point_Dialog::onUpdateRGBPickerText()
{
    // The boxes' own slots follow one another until all agree.
    const QColor colour = match_color;
    custom_white_point_RGB_Red_doubleSpinBox->setValue(colour.red());
    custom_white_point_RGB_Green_doubleSpinBox->setValue(colour.green());
    custom_white_point_RGB_Blue_doubleSpinBox->setValue(colour.blue());
    int h = 0, s = 0, v = 0;
    match_color.getHsv(&h, &s, &v);
    custom_white_point_brightness_verticalSlider->setValue(v);
}

void PZ_Custom_White_Point_Dialog::on_custom_white_point_reset_rgb_pushButton_clicked()
{
    match_color = Qt::white;
    onUpdateRGBPickerText();
    UpdateVideoLUT();
}

// ---- white background

void PZ_Custom_White_Point_Dialog::on_custom_white_point_white_background_checkBox_stateChanged(int state)
{
    if (test_pattern_window)
        test_pattern_window->show_white_background(state != 0, targetMonitorData().m_Bounds, this);
}

// ---- OK

void PZ_Custom_White_Point_Dialog::my_accept()
{
    if (match_color != measured_match_color && sensor_available && visual_match_groupBox->isChecked()
        && askYesNo(this, GetStringResource(kNotMeasuredQuestion), Qt::AutoText))
        return;
    if ((white_point.m_Kelvin < kLowestKelvin || white_point.m_Kelvin > kHighestKelvin)
        && !askYesNo(this, GetStringResource(kOutOfRangeQuestion), Qt::RichText))
        return;
    accept();
}
