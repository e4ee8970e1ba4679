#pragma once
// The custom colour gamut editor: the user picks a preset or the display's
// native gamut from a list, types the x,y chromaticities of the red, green
// and blue primaries, or drags the corners of the gamut triangle on a
// CIE 1931 x,y diagram. The dialog keeps no gamut code of its own: the six
// coordinates in the spin boxes are its working values, and both the list
// entry shown and the code handed back are derived from them by exact
// comparison with the presets (presets_gamuts) and the native primaries.
//
// Calling order (the target editor): construct on the stack; when the
// native primaries are known SetMonitorNativeGamutData(true, ...), otherwise
// SetMonitorNativeGamutData(false, ...); SetGamutValues(code, custom
// primaries); exec(); when accepted, GetGamutValues.
//
// The spin boxes hold 3 decimals within their ranges, so every value they
// take is rounded to 0.001 and held inside its range before it is compared
// or drawn. The native primaries are kept in that same form, so a native
// gamut loaded into the boxes is recognised as native again. OK stays
// disabled while the triangle is degenerate (a y of 0, or an area below
// 1e-4), which no colour transform can be built from.

#include "CCIEXYZ.h"
#include "CTargetValue.h"

#include <QDialog>
#include <QPointF>
#include <memory>

class QDoubleSpinBox;

namespace Ui {
class pz_custom_color_gamut_dialogClass;
}

class pz_custom_color_gamut_dialog : public QDialog {
    Q_OBJECT

public:
    explicit pz_custom_color_gamut_dialog(QWidget *parent = nullptr);
    ~pz_custom_color_gamut_dialog() override;

public slots:
    // The display's native primaries (red, green, blue) for the diagram and
    // the list: valid appends "Native Gamut" when the list has no native
    // entry; not valid removes the native entry.
    void SetMonitorNativeGamutData(bool valid, CCIEYxy *primaries);
    // Loads the boxes without running their change handlers: code 0 the
    // native primaries (kept as they are when unknown), 1-8 a preset, 9 the
    // x and y of primaries[0..2]; any other code keeps the boxes.
    void SetGamutValues(CTargetValue::typeColorGamutType type, CCIEYxy *primaries);
    // The code of the current values: the first preset they equal, else 0
    // when they equal the native primaries, else 9 with primaries[0..2] set
    // (Y = 0). A dialog loaded with code 0 while the native primaries are
    // unknown returns 0, untouched, until a value is edited.
    void GetGamutValues(CTargetValue::typeColorGamutType &type, CCIEYxy *primaries);

    void onRed_CIE_x_changed(double value);
    void onRed_CIE_y_changed(double value);
    void onGreen_CIE_x_changed(double value);
    void onGreen_CIE_y_changed(double value);
    void onBlue_CIE_x_changed(double value);
    void onBlue_CIE_y_changed(double value);
    // The diagram's drag of primary 1 (red), 2 (green) or 3 (blue) to xy.
    void gamut_dragging_point(int point, QPointF xy);
    // A list entry chosen: a preset or the native gamut loads its values;
    // "Custom" changes nothing.
    void selected_gamut_changed(int index);
    void my_accept();

private:
    // Redraws the triangle of the current values, shows their list entry
    // and enables OK for a usable triangle.
    void update_color_gamut_widget();
    // The six boxes: red x, red y, green x, green y, blue x, blue y.
    QDoubleSpinBox *box(int i) const;
    // The boxes' values, in that order.
    void currentValues(double values[6]) const;
    // Writes six values into the boxes (their change handlers run).
    void loadValues(const double values[6]);
    // A value as box i holds it: rounded to its decimals, within its range.
    double heldValue(int i, double value) const;
    bool equalsNative(const double values[6]) const;
    // The user changed a value (or chose a preset).
    void valuesEdited();

    std::unique_ptr<Ui::pz_custom_color_gamut_dialogClass> ui;
    bool monitor_native_gamut_valid = false;
    CCIEYxy monitor_native_gamut[3];
    // The native primaries as the boxes would hold them.
    double nativeBoxValues[6] = {};
    // Loaded (or chosen) as native while the native primaries are unknown.
    bool nativeWithoutPrimaries = false;
};
