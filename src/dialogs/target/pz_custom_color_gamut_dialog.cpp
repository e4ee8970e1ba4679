#include "pz_custom_color_gamut_dialog.h"

#include "CColorCalcUtils.h"
#include "PZ_gamut_graph.h"
#include "StringResources.h"
#include "ui_pz_custom_color_gamut_dialog.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QIcon>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

// List entry data: the native gamut, custom, and otherwise the preset row.
constexpr int kNativeEntry = -2;
constexpr int kCustomEntry = -1;
// The list: string resources 1000-1009 with their entry data.
constexpr unsigned int kFirstListText = 1000;
constexpr int kListEntryCount = 10;
// The white the editor draws the triangle around.
constexpr double kWhiteX = 0.313;
constexpr double kWhiteY = 0.329;
// Smallest triangle area (in x,y) that still gives a usable gamut.
constexpr double kMinimumArea = 1.0e-4;

int listEntryData(int row)
{
    return row == 0 ? kNativeEntry : row - 2; // -2, -1, then presets 0..7
}

} // namespace

pz_custom_color_gamut_dialog::pz_custom_color_gamut_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::pz_custom_color_gamut_dialogClass>())
{
    ui->setupUi(this);
    for (int row = 0; row < kListEntryCount; ++row)
        ui->gamut_comboBox->addItem(QIcon(), GetStringResource(kFirstListText + row),
                                    listEntryData(row));

    connect(ui->buttonBox, &QDialogButtonBox::accepted, this,
            &pz_custom_color_gamut_dialog::my_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->color_gamut_widget, &PZ_gamut_graph::dragging_point, this,
            &pz_custom_color_gamut_dialog::gamut_dragging_point);
    const auto changed = &QDoubleSpinBox::valueChanged;
    connect(ui->red_x_doubleSpinBox, changed, this, &pz_custom_color_gamut_dialog::onRed_CIE_x_changed);
    connect(ui->red_y_doubleSpinBox, changed, this, &pz_custom_color_gamut_dialog::onRed_CIE_y_changed);
    connect(ui->green_x_doubleSpinBox, changed, this,
            &pz_custom_color_gamut_dialog::onGreen_CIE_x_changed);
    connect(ui->green_y_doubleSpinBox, changed, this,
            &pz_custom_color_gamut_dialog::onGreen_CIE_y_changed);
    connect(ui->blue_x_doubleSpinBox, changed, this,
            &pz_custom_color_gamut_dialog::onBlue_CIE_x_changed);
    connect(ui->blue_y_doubleSpinBox, changed, this,
            &pz_custom_color_gamut_dialog::onBlue_CIE_y_changed);
    connect(ui->gamut_comboBox, &QComboBox::currentIndexChanged, this,
            &pz_custom_color_gamut_dialog::selected_gamut_changed);

    PZ_gamut_graph *graph = ui->color_gamut_widget;
    graph->SetBlockUpdates(true);
    graph->SetHasAdjustablePoints(true);
    graph->SetOnlyAdjustRGB(true);
    graph->SetGraphLabelString(tr("CIE 1931 xy"));
    graph->SetShowGraphLabel(true);
    graph->SetShowXAxisLabel(true);
    graph->SetShowYAxisLabel(true);
    graph->SetBlockUpdates(false);

    // Qt 6 gives dialogs no context-help button; make sure there is none.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

pz_custom_color_gamut_dialog::~pz_custom_color_gamut_dialog() = default;

QDoubleSpinBox *pz_custom_color_gamut_dialog::box(int i) const
{
    QDoubleSpinBox *const boxes[6] = {ui->red_x_doubleSpinBox,   ui->red_y_doubleSpinBox,
                                      ui->green_x_doubleSpinBox, ui->green_y_doubleSpinBox,
                                      ui->blue_x_doubleSpinBox,  ui->blue_y_doubleSpinBox};
    return boxes[i];
}

void pz_custom_color_gamut_dialog::currentValues(double values[6]) const
{
    for (int i = 0; i < 6; ++i)
        values[i] = box(i)->value();
}

void pz_custom_color_gamut_dialog::loadValues(const double values[6])
{
    for (int i = 0; i < 6; ++i)
        box(i)->setValue(values[i]);
}

double pz_custom_color_gamut_dialog::heldValue(int i, double value) const
{
    // As QDoubleSpinBox::setValue keeps it: rounded through its decimals'
    // text, then bounded.
    const QDoubleSpinBox *b = box(i);
    const double rounded = QString::number(value, 'f', b->decimals()).toDouble();
    return std::clamp(rounded, b->minimum(), b->maximum());
}

bool pz_custom_color_gamut_dialog::equalsNative(const double values[6]) const
{
    return monitor_native_gamut_valid && std::equal(values, values + 6, nativeBoxValues);
}

void pz_custom_color_gamut_dialog::SetMonitorNativeGamutData(bool valid, CCIEYxy *primaries)
{
    valid = valid && primaries;
    ui->color_gamut_widget->SetMonitorNativeGamutData(valid, primaries);
    monitor_native_gamut_valid = valid;
    const int nativeRow = ui->gamut_comboBox->findData(kNativeEntry);
    if (valid) {
        for (int i = 0; i < 3; ++i) {
            monitor_native_gamut[i] = primaries[i];
            nativeBoxValues[2 * i] = heldValue(2 * i, primaries[i].x);
            nativeBoxValues[2 * i + 1] = heldValue(2 * i + 1, primaries[i].y);
        }
        if (nativeRow < 0)
            ui->gamut_comboBox->addItem(QIcon(), tr("Native Gamut"), kNativeEntry);
    } else if (nativeRow >= 0) {
        ui->gamut_comboBox->removeItem(nativeRow);
    }
    ui->color_gamut_widget->SetShowMonitorNativeGamut(valid);
}

void pz_custom_color_gamut_dialog::SetGamutValues(CTargetValue::typeColorGamutType type,
                                                  CCIEYxy *primaries)
{
    QSignalBlocker blockers[6] = {QSignalBlocker(box(0)), QSignalBlocker(box(1)),
                                  QSignalBlocker(box(2)), QSignalBlocker(box(3)),
                                  QSignalBlocker(box(4)), QSignalBlocker(box(5))};
    nativeWithoutPrimaries = false;
    if (type == CTargetValue::kGamutNative) {
        if (monitor_native_gamut_valid)
            loadValues(nativeBoxValues);
        else
            nativeWithoutPrimaries = true;
    } else if (type >= CTargetValue::kGamutSRGB && type <= CTargetValue::kGamutCRT) {
        loadValues(presets_gamuts[type - 1]);
    } else if (type == CTargetValue::kGamutCustom && primaries) {
        const double values[6] = {primaries[0].x, primaries[0].y, primaries[1].x,
                                  primaries[1].y, primaries[2].x, primaries[2].y};
        loadValues(values);
    }
    update_color_gamut_widget();
}

void pz_custom_color_gamut_dialog::GetGamutValues(CTargetValue::typeColorGamutType &type,
                                                  CCIEYxy *primaries)
{
    if (nativeWithoutPrimaries) {
        type = CTargetValue::kGamutNative;
        return;
    }
    double values[6];
    currentValues(values);
    for (int row = 0; row < kPresetGamutCount; ++row) {
        if (std::equal(values, values + 6, presets_gamuts[row])) {
            type = static_cast<CTargetValue::typeColorGamutType>(row + 1);
            return;
        }
    }
    if (equalsNative(values)) {
        type = CTargetValue::kGamutNative;
        return;
    }
    type = CTargetValue::kGamutCustom;
    if (!primaries)
        return;
    for (int i = 0; i < 3; ++i)
        primaries[i] = CCIEYxy(0.0, values[2 * i], values[2 * i + 1]);
}

void pz_custom_color_gamut_dialog::valuesEdited()
{
    nativeWithoutPrimaries = false;
    update_color_gamut_widget();
}

void pz_custom_color_gamut_dialog::onRed_CIE_x_changed(double) { valuesEdited(); }
void pz_custom_color_gamut_dialog::onRed_CIE_y_changed(double) { valuesEdited(); }
void pz_custom_color_gamut_dialog::onGreen_CIE_x_changed(double) { valuesEdited(); }
void pz_custom_color_gamut_dialog::onGreen_CIE_y_changed(double) { valuesEdited(); }
void pz_custom_color_gamut_dialog::onBlue_CIE_x_changed(double) { valuesEdited(); }
void pz_custom_color_gamut_dialog::onBlue_CIE_y_changed(double) { valuesEdited(); }

void pz_custom_color_gamut_dialog::gamut_dragging_point(int point, QPointF xy)
{
    if (point < 1 || point > 3)
        return;
    box(2 * (point - 1))->setValue(xy.x());
    box(2 * (point - 1) + 1)->setValue(xy.y());
}

void pz_custom_color_gamut_dialog::selected_gamut_changed(int index)
{
    const int data = ui->gamut_comboBox->itemData(index).toInt();
    if (data >= 0 && data < kPresetGamutCount) {
        loadValues(presets_gamuts[data]);
        valuesEdited();
    } else if (data == kNativeEntry) {
        if (monitor_native_gamut_valid) {
            loadValues(nativeBoxValues);
            valuesEdited();
        } else {
            // Nothing to load: the target stays native, the values as they are.
            nativeWithoutPrimaries = true;
            update_color_gamut_widget();
        }
    }
}

void pz_custom_color_gamut_dialog::my_accept()
{
    accept();
}

void pz_custom_color_gamut_dialog::update_color_gamut_widget()
{
    double values[6];
    currentValues(values);
    CCIEYxy rgbw[4] = {CCIEYxy(0.0, values[0], values[1]), CCIEYxy(0.0, values[2], values[3]),
                       CCIEYxy(0.0, values[4], values[5]), CCIEYxy(0.0, kWhiteX, kWhiteY)};
    ui->color_gamut_widget->SetMonitorData(true, rgbw);
    ui->color_gamut_widget->SetShowGamutDisplay(true);

    int entry = kCustomEntry;
    for (int row = 0; row < kPresetGamutCount; ++row)
        if (std::equal(values, values + 6, presets_gamuts[row]))
            entry = row;
    if (nativeWithoutPrimaries || equalsNative(values))
        entry = kNativeEntry;
    QComboBox *list = ui->gamut_comboBox;
    {
        const QSignalBlocker blocker(list);
        int row = list->findData(entry);
        if (row < 0)
            row = list->findData(kCustomEntry);
        list->setCurrentIndex(row);
    }

    // Twice the signed area of the triangle.
    const double twiceArea = (values[2] - values[0]) * (values[5] - values[1])
                             - (values[4] - values[0]) * (values[3] - values[1]);
    const bool usable = values[1] != 0 && values[3] != 0 && values[5] != 0
                        && std::fabs(twiceArea) / 2 >= kMinimumArea;
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(nativeWithoutPrimaries || usable);
}
