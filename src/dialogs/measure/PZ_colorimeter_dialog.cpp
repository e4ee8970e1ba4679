#include "PZ_colorimeter_dialog.h"

#include "AppGlobals.h"
#include "CColorTemperature.h"
#include "CSensor.h"
#include "CTargetSensor.h"
#include "DisplayPlacement.h"
#include "LuminanceUnits.h"
#include "MasterControl.h"
#include "MeasurementTexts.h"
#include "Messages.h"
#include "StringResources.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace {

// "Taking Measurement..." in red.
constexpr unsigned kTakingMeasurementText = 703;

} // namespace

PZ_colorimeter_dialog::PZ_colorimeter_dialog(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    connect(colorimeter_Close_pushButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(colorimeter_ColorPicker_pushButton, &QPushButton::clicked, this,
            &PZ_colorimeter_dialog::onColorPicker_pushButton);
    connect(colorimeter_Single_Measurment_pushButton, &QPushButton::clicked, this,
            &PZ_colorimeter_dialog::onSingle_Measurment_pushButton);
    // clicked, not toggled: only the user's clicks start and stop the timer.
    connect(colorimeter_Continuous_Measurment_checkBox, &QCheckBox::clicked, this,
            &PZ_colorimeter_dialog::onContinuous_Measurment_checkBox);
    connect(colorimeter_rgb_Red_level_spinbox, &QSpinBox::valueChanged, this,
            &PZ_colorimeter_dialog::onrgb_Red_level_spinbox_value_changed);
    connect(colorimeter_rgb_Green_level_spinbox, &QSpinBox::valueChanged, this,
            &PZ_colorimeter_dialog::onrgb_Green_level_spinbox_value_changed);
    connect(colorimeter_rgb_Blue_level_spinbox, &QSpinBox::valueChanged, this,
            &PZ_colorimeter_dialog::onrgb_Blue_level_spinbox_value_changed);
    connect(color_picker_circle_widget, &PZ_color_picker_circle_widget::HueSatChanged, this,
            &PZ_colorimeter_dialog::onColorPickerWidgetHueSatChanged);
    connect(custom_white_point_brightness_verticalSlider, &QSlider::valueChanged, this,
            &PZ_colorimeter_dialog::onbrightness_slider_value_changed);
    m_Timer = new QTimer(this);
    m_Timer->setObjectName(QStringLiteral("readingTimer"));
    connect(m_Timer, &QTimer::timeout, this, &PZ_colorimeter_dialog::onTimer);

    // Both ways once, so the frame and the patch follow the group's state.
    groupBox_sample_color->setChecked(true);
    groupBox_sample_color->setChecked(false);

    CTargetSensor *selector = pMasterControl ? pMasterControl->GetTargetSensor() : nullptr;
    m_Sensor = selector ? selector->m_pCurrentSensor : nullptr;

    onUpdateRGBPickerText();

    if (CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr) {
        const _MonitorData data = display->GetMonitorData();
        const QRect screen = pz::displayGeometry(data.m_Bounds);
        const int W = screen.width();
        const int H = screen.height();
        if (W > 0)
            move(screen.left() + W / 2 - width() / 2, screen.top() + H / 2 - height() / 2);
        // The patch is at least 10 cm wide on that display.
        if (const int minimum = pz::tenCentimetresInPixels(screen, data.m_Width, data.m_Height))
            measurement_target_widget->setMinimumWidth(minimum);
    }

    m_CopyAction = new QAction(tr("&Copy"), this);
    m_CopyAction->setShortcut(QKeySequence(tr("Ctrl+C")));
    connect(m_CopyAction, &QAction::triggered, this, &PZ_colorimeter_dialog::copyToClipboard);
    addAction(m_CopyAction);

    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

QRect PZ_colorimeter_dialog::targetDisplayGeometry() const
{
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    return display ? pz::displayGeometry(display->GetMonitorData().m_Bounds) : QRect();
}

void PZ_colorimeter_dialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The patch, not the dialog, goes to the display's centre column; the
    // whole window, title bar included, stays on that display.
    const QRect screen = targetDisplayGeometry();
    if (screen.width() > 0) {
        // The frame's left border lies between the frame's corner and the patch.
        const QSize extra = pz::frameExtra(*this, parentWidget() ? parentWidget()->window() : nullptr);
        const QPoint patchAt = measurement_target_widget->mapTo(this, QPoint(0, 0));
        const QPoint frameAt(screen.left() + screen.width() / 2
                                 - (extra.width() / 2 + patchAt.x() + measurement_target_widget->width() / 2),
                             screen.top() + (screen.height() - height() - extra.height()) / 2);
        const QRect area = pz::availableAreaAt(screen.center());
        pz::placeFrameWhenShown(*this, frameAt, area.isEmpty() ? screen : area);
    }
}

void PZ_colorimeter_dialog::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    // Painted again in the colour space of the display it now lies on.
    measurement_target_widget->update();
}

void PZ_colorimeter_dialog::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(m_CopyAction);
    menu.exec(event->globalPos());
}

// ---- readings

void PZ_colorimeter_dialog::stopContinuous()
{
    colorimeter_Continuous_Measurment_checkBox->setChecked(false);
    m_Timer->stop();
}

void PZ_colorimeter_dialog::onSingle_Measurment_pushButton()
{
    if (colorimeter_Continuous_Measurment_checkBox->isChecked())
        stopContinuous();
    takeReading();
}

void PZ_colorimeter_dialog::onContinuous_Measurment_checkBox(bool checked)
{
    if (checked)
        m_Timer->start(kReadingPeriodMs);
    else
        m_Timer->stop();
}

void PZ_colorimeter_dialog::onTimer()
{
    takeReading();
}

void PZ_colorimeter_dialog::takeReading()
{
    if (!m_Sensor)
        return;
    colorimeter_action_text_label->setText(GetStringResource(kTakingMeasurementText));
    colorimeter_action_text_label->repaint();
    // The status text is painted; no click is taken meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    CCIEXYZ reading;
    const int code = m_Sensor->Measure(1);
    if (code == CSensor::kSensorOK) {
        m_Sensor->GetXYZData(reading);
        if (reading.Y < 0)
            reading = CCIEXYZ();
    } else {
        // Stopped before the box, so no tick reads behind it.
        if (colorimeter_Continuous_Measurment_checkBox->isChecked())
            stopContinuous();
        reading = CCIEXYZ();
        DisplayErrorMessage(this, code, false, 1);
    }
    ShowReading(reading);
}

void PZ_colorimeter_dialog::ShowReading(CCIEXYZ reading)
{
    colorimeter_action_text_label->setText(QStringLiteral("<font COLOR=\"#ff0000\"> </font>"));
    const CColorTemperature temperature(reading.GetCIExy());
    const pz::TemperatureLines lines =
        pz::colorimeterTemperatureLines(reading.GetTemperature(), temperature.m_DeltaUV);
    colorimeter_ColorTemp_line1_label->setText(lines.kelvin);
    colorimeter_ColorTemp_line2_label->setText(lines.deltaUV);

    colorimeter_XYZ_X_label->setText(QStringLiteral("%1").arg(reading.X, 0, 'f', 2));
    colorimeter_XYZ_Y_label->setText(QStringLiteral("%1").arg(reading.Y, 0, 'f', 2));
    colorimeter_XYZ_Z_label->setText(QStringLiteral("%1").arg(reading.Z, 0, 'f', 2));
    const CCIEYxy Yxy = reading.GetCIEYxy();
    colorimeter_xyY_x_label->setText(QStringLiteral("%1").arg(Yxy.x, 0, 'f', 3));
    colorimeter_xyY_y_label->setText(QStringLiteral("%1").arg(Yxy.y, 0, 'f', 3));
    colorimeter_xyY_Y_label->setText(CandelasToDisplayText(Yxy.Y, 2, true));
}

void PZ_colorimeter_dialog::copyToClipboard()
{
    const QString eol = QStringLiteral("\r\n");
    const auto line = [&](QLabel *caption, QLabel *value) {
        return caption->text() + QLatin1Char(' ') + value->text() + eol;
    };
    QString text = xyz_groupBox->title() + eol;
    text += line(XYZ_X_label, colorimeter_XYZ_X_label);
    text += line(XYZ_Y_label, colorimeter_XYZ_Y_label);
    text += line(XYZ_Z_label, colorimeter_XYZ_Z_label);
    text += xyY_groupBox->title() + eol;
    text += line(xyY_x_label, colorimeter_xyY_x_label);
    text += line(xyY_y_label, colorimeter_xyY_y_label);
    text += line(xyY_Y_label, colorimeter_xyY_Y_label);
    text += color_temperature_groupBox->title() + eol;
    text += line(colorimeter_ColorTemp_line1_label, colorimeter_ColorTemp_line2_label);
    QApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

// ---- sample colour

void PZ_colorimeter_dialog::updatePatch()
{
    measurement_target_widget->setPatchColor(groupBox_sample_color->isChecked() ? m_SampleColor
                                                                                : QColor(Qt::white));
}

void PZ_colorimeter_dialog::onrgb_Red_level_spinbox_value_changed(int value)
{
    m_SampleColor.setRed(value);
    UpdateLightnessValue();
    updatePatch();
}

void PZ_colorimeter_dialog::onrgb_Green_level_spinbox_value_changed(int value)
{
    m_SampleColor.setGreen(value);
    UpdateLightnessValue();
    updatePatch();
}

void PZ_colorimeter_dialog::onrgb_Blue_level_spinbox_value_changed(int value)
{
    m_SampleColor.setBlue(value);
    UpdateLightnessValue();
    updatePatch();
}

void PZ_colorimeter_dialog::UpdateLightnessValue()
{
    color_picker_circle_widget->ShowColor(m_SampleColor, custom_white_point_brightness_verticalSlider);
}

void PZ_colorimeter_dialog::onbrightness_slider_value_changed(int value)
{
    int h = 0, s = 0, v = 0;
    m_SampleColor.getHsv(&h, &s, &v);
    m_SampleColor.setHsv(h, s, value, 255);
    updatePatch();
    onUpdateRGBPickerText();
}

void PZ_colorimeter_dialog::onColorPickerWidgetHueSatChanged(double hue, double saturation)
{
    float h = 0, s = 0, value = 0;
    m_SampleColor.getHsvF(&h, &s, &value);
    // The picker's hue may lie a hair outside 0..1, which QColor refuses.
    m_SampleColor.setHsvF(std::clamp(hue, 0.0, 1.0), std::clamp(saturation, 0.0, 1.0), value, 1.0);
    if (value > 0 && m_SampleColor.red() == 0 && m_SampleColor.green() == 0 && m_SampleColor.blue() == 0)
        m_SampleColor.setHsvF(0.0, 0.0, value);
    onUpdateRGBPickerText();
}

void PZ_colorimeter_dialog::onUpdateRGBPickerText()
{
    // The spin boxes' handlers follow one another until all agree.
    const QColor colour = m_SampleColor;
    colorimeter_rgb_Red_level_spinbox->setValue(colour.red());
    colorimeter_rgb_Green_level_spinbox->setValue(colour.green());
    colorimeter_rgb_Blue_level_spinbox->setValue(colour.blue());
    updatePatch();
    int h = 0, s = 0, v = 0;
    m_SampleColor.getHsv(&h, &s, &v);
    custom_white_point_brightness_verticalSlider->setValue(v);
}

void PZ_colorimeter_dialog::onColorPicker_pushButton()
{
    const QColor chosen = QColorDialog::getColor(m_SampleColor, this);
    if (!chosen.isValid())
        return;
    m_SampleColor = chosen;
    onUpdateRGBPickerText();
}

void PZ_colorimeter_dialog::on_custom_white_point_reset_rgb_pushButton_clicked()
{
    m_SampleColor = Qt::white;
    onUpdateRGBPickerText();
}

void PZ_colorimeter_dialog::on_groupBox_sample_color_toggled(bool checked)
{
    updatePatch();
    sample_color_frame->setVisible(checked);
}
