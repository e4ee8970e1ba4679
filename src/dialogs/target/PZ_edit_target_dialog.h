#pragma once
// "Edit Calibration Target": the modal editor of one calibration target's
// white point, intensity, contrast ratio (with the black level it gives),
// tone curve and colour gamut. It works on its own copy, working_target,
// which the caller reads back only after the dialog was accepted. White
// point, gamut (with custom primaries) and the custom tone curve go into the
// copy when chosen; the remaining values are written from the controls at
// OK. Three sub-editors run modally on copies: the custom white point
// dialog, the tone curve editor and the colour gamut editor.
//
// A monitor with limited gamut control (adjustability 1 or 2) marks the
// emulated gamuts with a red circle, forbids custom gamuts and, for sRGB,
// locks gamma 2.2, D65 and the monitor's contrast. Adjustability 0 has no
// gamut choice at all.
//
// At OK a spin box the user left alone writes back the target's own value
// (when that lies inside the box's range), so an untouched target comes back
// exactly as it went in, whatever the boxes' decimals and units.
//
// A damaged target (a value that is not a number) shows the not-available
// text in place of that value, and OK stays disabled until the user has
// given each such value a number and chosen a white point.

#include "CCIEXYZ.h"
#include "CColorTemperature.h"
#include "CDDCMonitor.h"
#include "CTargetValue.h"
#include "ui_PZ_edit_target_dialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QVector>

class PZ_edit_target_dialog : public QDialog, public Ui::PZ_edit_target_dialogClass {
    Q_OBJECT

public:
    // nativePrimaries: the display's red, green and blue (copied; all zero
    // when unknown).
    PZ_edit_target_dialog(CTargetValue target,
                          CDDCMonitor::typeColorGamutAdjustability adjustability,
                          CCIEYxy *nativePrimaries, QWidget *parent);
    ~PZ_edit_target_dialog() override;

    // The target as edited; the caller reads it after Accepted.
    CTargetValue working_target;

public slots:
    void my_Accept();
    void edit_white_point();
    void edit_custom_gamma_curve();
    void edit_custom_color_gamut();
    void IntensityButtonGroup(int id);
    void GammaButtonGroup(int id);
    void use_scale_factor_checkBox_stateChanged(int state);
    void target_white_point_comboBox_currentIndexChanged(int index);
    void update_contrast_ratio();
    void selected_gamut_changed(int index);

private:
    // Rebuilds the white point list: the presets, then a Custom entry when
    // the working white point equals none of them; makes its entry current.
    void InitWhitePointList();
    bool IsCustomWhitePoint(CColorTemperature whitePoint);
    void SetCustomWhitePoint(const CColorTemperature &whitePoint);
    void SetWhitePointCaption();
    void Enable_state_intensity_radio_buttons();
    // Keeps the gamut entry "Custom" (data 9) in step with the working gamut type.
    void add_custom_color_gamut_point_item();
    void InitDialogData();
    void fillContrastList();
    void fillGamutList();
    void setIntensityRangeByUnits();
    QIcon gamutIcon(bool emulated) const;
    bool limitedGamutControl() const;

    // A spin box value that goes back into the target unchanged while the
    // user leaves the box alone.
    struct KeptValue {
        double original = 0.0;
        bool kept = false;
        // The target's value is not a number and the user has given none.
        bool missing = false;
        double result(double shown) const { return kept ? original : shown; }
    };
    void keepUntouched(QDoubleSpinBox *box, KeptValue &value, double original, bool inRange);
    // A white point that is neither native nor a chromaticity of numbers.
    bool whitePointMissing() const;
    // OK only for a target whose every value is a number.
    void updateAcceptButton();

    QButtonGroup intensity_button_group;
    QButtonGroup gamma_button_group;
    QVector<CColorTemperature> white_point_list;
    bool has_custom_white_point = false;
    CCIEYxy native_primaries[3];
    CDDCMonitor::typeColorGamutAdjustability gamut_adjustability;

    KeptValue kept_intensity;
    KeptValue kept_gamma;
    KeptValue kept_dicom_scale;
};
