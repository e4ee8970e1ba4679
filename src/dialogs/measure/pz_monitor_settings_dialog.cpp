#include "pz_monitor_settings_dialog.h"

#include "AppGlobals.h"
#include "CDDCMonitor.h"
#include "DisplayPlacement.h"
#include "MasterControl.h"
#include "WindowPlacement.h"
#include "pz_test_pattern_dialog.h"
#include "ui_pz_monitor_settings_dialog.h"

pz_monitor_settings_dialog::pz_monitor_settings_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PZ_monitor_settings_dialogClass>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &pz_monitor_settings_dialog::onAccept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &pz_monitor_settings_dialog::onReject);

    // Opened over a visible test pattern: take it over as the white
    // background (the box's handler places it).
    if (test_pattern_window && test_pattern_window->isVisible())
        ui->monitor_settings_show_testpattern_checkBox->setChecked(true);

    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    m_Monitor = display ? display->m_pDDCMonitor : nullptr;
    if (m_Monitor)
        readMonitor();

    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    pz::placeOverParent(*this, parent);
    raise();
}

pz_monitor_settings_dialog::~pz_monitor_settings_dialog()
{
    // The white background never outlives the dialog.
    if (test_pattern_window && test_pattern_window->isVisible()) {
        test_pattern_window->hide();
        test_pattern_window->enable_controls(true);
    }
}

void pz_monitor_settings_dialog::readMonitor()
{
    // Setting the read values must not send them back.
    const QSignalBlocker ledBlock(ui->monitor_settings_LED_brightness_horizontalSlider);
    const QSignalBlocker levelBlock(ui->monitor_settings_colorcomp_level_horizontalSlider);

    uint value = 0;
    uint maximum = 0;
    if (m_Monitor->GetPowerLEDBrightness(&value, &maximum) != 0) {
        EnableLEDSlider(false);
    } else {
        m_LEDBrightnessRead = true;
        m_OpeningLEDBrightness = m_LEDBrightness = value;
        ui->monitor_settings_LED_brightness_horizontalSlider->setRange(1, int(maximum));
        ui->monitor_settings_LED_brightness_horizontalSlider->setValue(int(value));
    }

    uint state = 0;
    if (m_Monitor->GetColorCompOnOff(&state) == 0) {
        m_ColorCompOnOffRead = true;
        m_ColorCompOnOff = state;
    }

    if (m_Monitor->GetColorCompLevel(&value, &maximum) != 0) {
        EnableColorCompSlider(false);
    } else {
        m_ColorCompLevelRead = true;
        m_OpeningColorCompLevel = m_ColorCompLevel = value;
        ui->monitor_settings_colorcomp_level_horizontalSlider->setRange(1, int(maximum));
        ui->monitor_settings_colorcomp_level_horizontalSlider->setValue(int(value));
        EnableColorCompSlider(!(m_ColorCompOnOffRead && m_ColorCompOnOff == 1));
    }
}

void pz_monitor_settings_dialog::EnableLEDSlider(bool enable)
{
    ui->monitor_settings_LED_brightness_horizontalSlider->setEnabled(enable);
    ui->monitor_settings_LED_brightness_label->setEnabled(enable);
    ui->monitor_settings_LED_brightness_off_label->setEnabled(enable);
    ui->monitor_settings_LED_brightness_max_label->setEnabled(enable);
}

void pz_monitor_settings_dialog::EnableColorCompSlider(bool enable)
{
    ui->monitor_settings_colorcomp_level_horizontalSlider->setEnabled(enable);
    ui->monitor_settings_colorcomp_level_label->setEnabled(enable);
    ui->monitor_settings_colorcomp_level_min_label->setEnabled(enable);
    ui->monitor_settings_colorcomp_level_max_label->setEnabled(enable);
}

void pz_monitor_settings_dialog::onAccept()
{
    const bool ledChanged = m_LEDBrightnessRead && m_LEDBrightness != m_OpeningLEDBrightness;
    const bool levelChanged = m_ColorCompLevelRead && m_ColorCompLevel != m_OpeningColorCompLevel;
    if (m_Monitor && (ledChanged || levelChanged))
        m_Monitor->SaveCurrentSettings();
    accept();
}

void pz_monitor_settings_dialog::onReject()
{
    if (m_Monitor) {
        bool sentBack = false;
        if (m_ColorCompLevelRead && m_ColorCompLevel != m_OpeningColorCompLevel) {
            m_Monitor->SetColorCompLevel(m_OpeningColorCompLevel);
            sentBack = true;
        }
        if (m_LEDBrightnessRead && m_LEDBrightness != m_OpeningLEDBrightness) {
            m_Monitor->SetPowerLEDBrightness(m_OpeningLEDBrightness);
            sentBack = true;
        }
        if (sentBack)
            m_Monitor->SaveCurrentSettings();
    }
    reject();
}

void pz_monitor_settings_dialog::on_monitor_settings_LED_brightness_horizontalSlider_valueChanged(int value)
{
    if (!m_Monitor || !m_LEDBrightnessRead || uint(value) == m_LEDBrightness)
        return;
    if (m_Monitor->SetPowerLEDBrightness(uint(value)) == 0)
        m_LEDBrightness = uint(value);
}

void pz_monitor_settings_dialog::on_monitor_settings_colorcomp_level_horizontalSlider_valueChanged(int value)
{
    if (!m_Monitor || !m_ColorCompLevelRead || uint(value) == m_ColorCompLevel)
        return;
    if (m_Monitor->SetColorCompLevel(uint(value)) == 0)
        m_ColorCompLevel = uint(value);
}

void pz_monitor_settings_dialog::on_monitor_settings_show_testpattern_checkBox_stateChanged(int state)
{
    if (!test_pattern_window)
        return;
    CTargetDisplay *display = pMasterControl ? pMasterControl->GetTargetDisplay() : nullptr;
    test_pattern_window->show_white_background(
        state != 0, display ? display->GetMonitorData().m_Bounds : QRect(), this);
}
