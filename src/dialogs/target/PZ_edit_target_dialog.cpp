#include "PZ_edit_target_dialog.h"

#include "LuminanceUnits.h"
#include "PZ_Custom_Gamma_Curve_Dialog.h"
#include "PZ_Custom_White_Point_Dialog.h"
#include "StringResources.h"
#include "WindowPlacement.h"
#include "pz_custom_color_gamut_dialog.h"

#include <QIcon>
#include <QPushButton>
#include <QMessageBox>
#include <QSignalBlocker>

#include <cmath>

namespace {

constexpr unsigned int kApplicationName = 1;
constexpr unsigned int kNotAvailable = 500;
constexpr unsigned int kUseMeasuredIntensityQuestion = 155;
constexpr unsigned int kGamutNativeText = 1000;
constexpr unsigned int kGamutCustomText = 1001;
constexpr unsigned int kGamutSRGBText = 1002;

// The intensity a target can ask for, in cd/m².
constexpr double kMinimumIntensity = 40.0;
constexpr double kMaximumIntensity = 800.0;
// A measured intensity above this is offered as the target's intensity.
constexpr double kOfferMeasuredIntensityAbove = 40.0;
// The gamma the sRGB lock forces.
constexpr double kSRGBGamma = 2.2;
constexpr int kD65Row = 2;

const unsigned short kPresetKelvins[] = {4500, 5000, 5500, 6500, 7500, 9300};

// The contrast ratio list: its texts (translated in the editor's context)
// and the ratio each stores; 0 is the monitor's default.
struct ContrastEntry {
    const char *text;
    int ratio;
};
const ContrastEntry kContrastEntries[] = {
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "Default"), 0},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "500:1"), 500},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "450:1"), 450},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "400:1"), 400},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "350:1"), 350},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "300:1"), 300},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "250:1"), 250},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "200:1"), 200},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "150:1"), 150},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "100:1"), 100},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "75:1"), 75},
    {QT_TRANSLATE_NOOP("PZ_edit_target_dialog", "50:1"), 50},
};

// Clicks the group's button of id; a stored code without a button clicks nothing.
bool clickButton(QButtonGroup &group, int id)
{
    QAbstractButton *button = group.button(id);
    if (!button)
        return false;
    button->click();
    return true;
}

bool inside(double value, double low, double high)
{
    return value >= low && value <= high;
}

} // namespace

PZ_edit_target_dialog::PZ_edit_target_dialog(CTargetValue target,
                                             CDDCMonitor::typeColorGamutAdjustability adjustability,
                                             CCIEYxy *nativePrimaries, QWidget *parent)
    : QDialog(parent), working_target(target), gamut_adjustability(adjustability)
{
    for (int i = 0; i < 3; ++i)
        native_primaries[i] = nativePrimaries[i];

    setupUi(this);

    connect(target_Edit_White_Point_pushButton, &QPushButton::clicked, this,
            &PZ_edit_target_dialog::edit_white_point);
    connect(target_Edit_Custom_Gamma_Curve_pushButton, &QPushButton::clicked, this,
            &PZ_edit_target_dialog::edit_custom_gamma_curve);
    connect(target_Edit_color_gamut_pushButton, &QPushButton::clicked, this,
            &PZ_edit_target_dialog::edit_custom_color_gamut);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &PZ_edit_target_dialog::my_Accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    intensity_button_group.addButton(target_Intensity_Specific_Level_radioButton,
                                     CTargetValue::kIntensityLevel);
    intensity_button_group.addButton(target_Intensity_Maximum_Possible_radioButton,
                                     CTargetValue::kIntensityMaximum);
    connect(&intensity_button_group, &QButtonGroup::idClicked, this,
            &PZ_edit_target_dialog::IntensityButtonGroup);
    connect(target_Contrast_Radio_comboBox, &QComboBox::currentIndexChanged, this,
            &PZ_edit_target_dialog::update_contrast_ratio);
    connect(target_Intensity_Specific_Level_doubleSpinBox, &QDoubleSpinBox::valueChanged, this,
            &PZ_edit_target_dialog::update_contrast_ratio);

    fillContrastList();
    fillGamutList();

    gamma_button_group.addButton(target_Native_Gamma_radioButton, CTargetValue::kCurveNative);
    gamma_button_group.addButton(target_Gamma_Value_radioButton, CTargetValue::kCurveGamma);
    gamma_button_group.addButton(target_DICOM_radioButton, CTargetValue::kCurveDICOM);
    gamma_button_group.addButton(target_Custom_Curve_radioButton, CTargetValue::kCurveCustom);
    connect(&gamma_button_group, &QButtonGroup::idClicked, this,
            &PZ_edit_target_dialog::GammaButtonGroup);
    connect(target_DICOM_use_scale_factor_checkBox, &QCheckBox::stateChanged, this,
            &PZ_edit_target_dialog::use_scale_factor_checkBox_stateChanged);
    connect(target_white_point_comboBox, &QComboBox::currentIndexChanged, this,
            &PZ_edit_target_dialog::target_white_point_comboBox_currentIndexChanged);
    connect(color_gamut_comboBox, &QComboBox::currentIndexChanged, this,
            &PZ_edit_target_dialog::selected_gamut_changed);

    has_custom_white_point = false;
    target_Intensity_Specific_Level_units_label->setText(UILuminanceUnitsText());
    setIntensityRangeByUnits();

    if (gamut_adjustability == CDDCMonitor::kColorGamutNotAdjustable)
        color_gamut_groupBox->setEnabled(false);

    InitWhitePointList();
    InitDialogData();
    SetWhitePointCaption();

    // Qt 6 gives dialogs no context-help button; make sure there is none.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

PZ_edit_target_dialog::~PZ_edit_target_dialog() = default;

bool PZ_edit_target_dialog::limitedGamutControl() const
{
    return gamut_adjustability == CDDCMonitor::kColorGamutLimitedsRGB
           || gamut_adjustability == CDDCMonitor::kColorGamutLimited;
}

QIcon PZ_edit_target_dialog::gamutIcon(bool emulated) const
{
    return QIcon(emulated && limitedGamutControl() ? QStringLiteral(":/images/Resources/red circle icon.png")
                                                   : QStringLiteral(":/images/Resources/blank circle icon.png"));
}

void PZ_edit_target_dialog::fillContrastList()
{
    for (const ContrastEntry &entry : kContrastEntries)
        target_Contrast_Radio_comboBox->addItem(tr(entry.text), entry.ratio);
}

void PZ_edit_target_dialog::fillGamutList()
{
    color_gamut_comboBox->addItem(gamutIcon(false), GetStringResource(kGamutNativeText),
                                  CTargetValue::kGamutNative);
    color_gamut_comboBox->addItem(gamutIcon(false), GetStringResource(kGamutSRGBText),
                                  CTargetValue::kGamutSRGB);
    if (limitedGamutControl())
        target_Edit_color_gamut_pushButton->setEnabled(false);
    // AdobeRGB (1003) to CRT Display (1009): gamut types 2 to 8.
    for (int type = CTargetValue::kGamutAdobeRGB; type <= CTargetValue::kGamutCRT; ++type)
        color_gamut_comboBox->addItem(gamutIcon(true), GetStringResource(kGamutSRGBText + type - 1),
                                      type);
}

void PZ_edit_target_dialog::setIntensityRangeByUnits()
{
    QDoubleSpinBox *box = target_Intensity_Specific_Level_doubleSpinBox;
    // Decimals first: the spin box rounds its range to them.
    const bool footLamberts = IsFootLambertsUnits();
    box->setDecimals(footLamberts ? 2 : 1);
    box->setRange(CandelasToUIUnits(kMinimumIntensity), CandelasToUIUnits(kMaximumIntensity));
    box->setSingleStep(footLamberts ? 1.0 : 5.0);
}

// ---- white point -----------------------------------------------------------

void PZ_edit_target_dialog::InitWhitePointList()
{
    has_custom_white_point = false;
    const QSignalBlocker blocker(target_white_point_comboBox);
    target_white_point_comboBox->clear();
    white_point_list.clear();

    for (const DaylightIlluminant &row : gDaylightIlluminant_tbl)
        white_point_list.append(CColorTemperature(_CIExy{row.x, row.y}));
    for (unsigned short kelvin : kPresetKelvins)
        white_point_list.append(CColorTemperature(kelvin));
    white_point_list.append(CColorTemperature(static_cast<unsigned short>(0))); // native
    for (const CColorTemperature &white : white_point_list)
        target_white_point_comboBox->addItem(white.GetCaptionStr());

    // A damaged white point selects no entry until the user picks one.
    if (whitePointMissing()) {
        target_white_point_comboBox->setCurrentIndex(-1);
        return;
    }
    if (IsCustomWhitePoint(working_target.m_WhitePoint))
        SetCustomWhitePoint(working_target.m_WhitePoint);

    for (int i = 0; i < white_point_list.size(); ++i) {
        if (white_point_list[i] == working_target.m_WhitePoint) {
            target_white_point_comboBox->setCurrentIndex(i);
            break;
        }
    }
}

bool PZ_edit_target_dialog::IsCustomWhitePoint(CColorTemperature whitePoint)
{
    for (const CColorTemperature &element : white_point_list)
        if (element == whitePoint)
            return false;
    return true;
}

void PZ_edit_target_dialog::SetCustomWhitePoint(const CColorTemperature &whitePoint)
{
    if (has_custom_white_point) {
        white_point_list.last() = whitePoint;
        return;
    }
    target_white_point_comboBox->addItem(tr("Custom"));
    white_point_list.append(whitePoint);
    has_custom_white_point = true;
}

void PZ_edit_target_dialog::SetWhitePointCaption()
{
    const CColorTemperature &white = working_target.m_WhitePoint;
    if (white.m_Native) {
        target_white_point_color_temp_label->setText(QStringLiteral("-"));
        target_white_point_CIE_xy_label->setText(QStringLiteral("-"));
        return;
    }
    if (whitePointMissing()) {
        target_white_point_color_temp_label->setText(GetStringResource(kNotAvailable));
        target_white_point_CIE_xy_label->setText(GetStringResource(kNotAvailable));
        return;
    }
    target_white_point_color_temp_label->setText(tr("%1 K (%2 %3 uv)")
                                                     .arg(white.m_Kelvin)
                                                     .arg(std::fabs(white.m_DeltaUV), 0, 'f', 4)
                                                     .arg(QChar(0x0394)));
    target_white_point_CIE_xy_label->setText(tr("x=%1 y=%2")
                                                 .arg(white.m_CIExy.x, 0, 'f', 4)
                                                 .arg(white.m_CIExy.y, 0, 'f', 4));
}

void PZ_edit_target_dialog::Enable_state_intensity_radio_buttons()
{
    const int index = target_white_point_comboBox->currentIndex();
    const bool native = index >= 0 && index < white_point_list.size()
                        && white_point_list[index].m_Native;
    target_Intensity_Specific_Level_radioButton->setEnabled(!native);
    target_Edit_White_Point_pushButton->setEnabled(!native);
}

void PZ_edit_target_dialog::target_white_point_comboBox_currentIndexChanged(int index)
{
    if (index >= 0 && index < white_point_list.size()) {
        working_target.m_WhitePoint = white_point_list[index];
        if (working_target.m_WhitePoint.m_Native)
            working_target.m_IntensityType = CTargetValue::kIntensityMaximum;
    }
    SetWhitePointCaption();
    clickButton(intensity_button_group, working_target.m_IntensityType);
    Enable_state_intensity_radio_buttons();
    updateAcceptButton();
}

void PZ_edit_target_dialog::edit_white_point()
{
    PZ_Custom_White_Point_Dialog dialog(working_target.m_WhitePoint, this);
    pz::placeOverParent(dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    working_target.m_WhitePoint = dialog.white_point;
    InitWhitePointList();
    SetWhitePointCaption();

    const double measured = dialog.measured_luminance;
    if (!(measured > kOfferMeasuredIntensityAbove))
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, GetStringResource(kApplicationName),
        GetStringResource(kUseMeasuredIntensityQuestion).arg(CandelasToDisplayText(measured, 1, true)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    target_Intensity_Specific_Level_doubleSpinBox->setValue(CandelasToUIUnits(measured));
    kept_intensity.kept = false;
    working_target.m_IntensityType = CTargetValue::kIntensityLevel;
    target_Intensity_Specific_Level_radioButton->click();
}

// ---- intensity, contrast and tone curve -------------------------------------

void PZ_edit_target_dialog::IntensityButtonGroup(int id)
{
    const bool specific = id == CTargetValue::kIntensityLevel;
    target_Intensity_Specific_Level_doubleSpinBox->setEnabled(specific);
    target_Intensity_Specific_Level_units_label->setEnabled(specific);
    update_contrast_ratio();
}

void PZ_edit_target_dialog::update_contrast_ratio()
{
    const int ratio = target_Contrast_Radio_comboBox->currentData().toInt();
    if (intensity_button_group.checkedId() != CTargetValue::kIntensityLevel || ratio <= 0
        || kept_intensity.missing) {
        target_Contrast_BlackLevel_label->clear();
        return;
    }
    const double black =
        UIUnitsToCandelas(target_Intensity_Specific_Level_doubleSpinBox->value()) / ratio;
    target_Contrast_BlackLevel_label->setText(tr("Black Level: ")
                                              + CandelasToDisplayText(black, 2, true));
}

void PZ_edit_target_dialog::GammaButtonGroup(int id)
{
    const bool dicom = id == CTargetValue::kCurveDICOM;
    target_DICOM_use_scale_factor_checkBox->setEnabled(dicom);
    target_DICOM_scale_factor_doubleSpinBox->setEnabled(
        dicom && target_DICOM_use_scale_factor_checkBox->isChecked());
    target_gamma_doubleSpinBox->setEnabled(id == CTargetValue::kCurveGamma);
    target_Edit_Custom_Gamma_Curve_pushButton->setEnabled(id == CTargetValue::kCurveCustom);
}

void PZ_edit_target_dialog::use_scale_factor_checkBox_stateChanged(int state)
{
    target_DICOM_scale_factor_doubleSpinBox->setEnabled(state == Qt::Checked);
}

void PZ_edit_target_dialog::edit_custom_gamma_curve()
{
    PZ_Custom_Gamma_Curve_Dialog dialog(this);
    pz::placeOverParent(dialog, this);
    dialog.custom_curve.CopyFrom(working_target.m_CustomCurve);
    dialog.UpdateCurves();
    dialog.custom_curve_type = working_target.m_CustomCurveType;
    dialog.UpdateCurves();
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.custom_curve != working_target.m_CustomCurve) {
        working_target.m_CustomCurve.CopyFrom(dialog.custom_curve);
        working_target.m_CustomCurveType = dialog.custom_curve_type;
    }
}

// ---- colour gamut -------------------------------------------------------------

void PZ_edit_target_dialog::add_custom_color_gamut_point_item()
{
    const int entry = color_gamut_comboBox->findData(int(CTargetValue::kGamutCustom));
    const bool custom = working_target.m_ColorGamutType == CTargetValue::kGamutCustom;
    if (custom && entry < 0)
        color_gamut_comboBox->addItem(gamutIcon(true), GetStringResource(kGamutCustomText),
                                      int(CTargetValue::kGamutCustom));
    else if (!custom && entry >= 0)
        color_gamut_comboBox->removeItem(entry);
}

void PZ_edit_target_dialog::selected_gamut_changed(int index)
{
    working_target.m_ColorGamutType =
        CTargetValue::typeColorGamutType(color_gamut_comboBox->itemData(index).toInt());
    if (!limitedGamutControl())
        return;
    const bool sRGB = working_target.m_ColorGamutType == CTargetValue::kGamutSRGB;
    if (sRGB) {
        target_Gamma_Value_radioButton->click();
        target_gamma_doubleSpinBox->setValue(kSRGBGamma);
        kept_gamma.kept = false;
        const DaylightIlluminant &d65 = gDaylightIlluminant_tbl[kD65Row];
        working_target.m_WhitePoint = CColorTemperature(_CIExy{d65.x, d65.y});
        InitWhitePointList();
        SetWhitePointCaption();
        Enable_state_intensity_radio_buttons();
    }
    target_WhitePoint_groupBox->setEnabled(!sRGB);
    target_ContrastRatio_groupBox->setEnabled(!sRGB);
    target_Gamma_groupBox->setEnabled(!sRGB);
}

void PZ_edit_target_dialog::edit_custom_color_gamut()
{
    pz_custom_color_gamut_dialog dialog(this);
    pz::placeOverParent(dialog, this);
    // Unknown native primaries (red x 0) take the native gamut out of the editor.
    dialog.SetMonitorNativeGamutData(native_primaries[0].x > 0.0, native_primaries);
    CCIEYxy custom[3];
    working_target.GetCustomColorGamutValues(custom[0], custom[1], custom[2]);
    dialog.SetGamutValues(working_target.m_ColorGamutType, custom);
    if (dialog.exec() != QDialog::Accepted)
        return;

    CTargetValue::typeColorGamutType type = working_target.m_ColorGamutType;
    CCIEYxy chosen[3];
    dialog.GetGamutValues(type, chosen);
    working_target.m_ColorGamutType = type;
    if (type == CTargetValue::kGamutCustom)
        working_target.SetCustomColorGamutValues(chosen[0], chosen[1], chosen[2]);
    {
        const QSignalBlocker blocker(color_gamut_comboBox);
        add_custom_color_gamut_point_item();
    }
    color_gamut_comboBox->setCurrentIndex(color_gamut_comboBox->findData(int(type)));
}

// ---- filling and accepting -------------------------------------------------------

void PZ_edit_target_dialog::keepUntouched(QDoubleSpinBox *box, KeptValue &value, double original,
                                          bool inRange)
{
    value.original = original;
    value.kept = inRange;
    value.missing = !std::isfinite(original);
    if (value.missing) {
        const QSignalBlocker blocker(box);
        box->setSpecialValueText(GetStringResource(kNotAvailable));
        box->setValue(box->minimum());
    }
    // Any change of the box after filling, by the user or the editor, ends it.
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, box, &value] {
        value.kept = false;
        if (!value.missing)
            return;
        value.missing = false;
        box->setSpecialValueText(QString());
        update_contrast_ratio();
        updateAcceptButton();
    });
}

bool PZ_edit_target_dialog::whitePointMissing() const
{
    const CColorTemperature &white = working_target.m_WhitePoint;
    return !white.m_Native && !(std::isfinite(white.m_CIExy.x) && std::isfinite(white.m_CIExy.y));
}

void PZ_edit_target_dialog::updateAcceptButton()
{
    const bool numbers = !whitePointMissing() && !kept_intensity.missing && !kept_gamma.missing
                         && !kept_dicom_scale.missing;
    if (QPushButton *ok = buttonBox->button(QDialogButtonBox::Ok))
        ok->setEnabled(numbers);
}

void PZ_edit_target_dialog::InitDialogData()
{
    int contrast = target_Contrast_Radio_comboBox->findData(working_target.m_ContrastRatio);
    if (contrast < 0)
        contrast = target_Contrast_Radio_comboBox->findData(0);
    target_Contrast_Radio_comboBox->setCurrentIndex(contrast);

    target_gamma_doubleSpinBox->setValue(working_target.m_Gamma);
    target_DICOM_scale_factor_doubleSpinBox->setValue(working_target.m_DICOMScaleFactor);
    target_DICOM_use_scale_factor_checkBox->setChecked(working_target.m_UseDICOMScaleFactor);
    target_Intensity_Specific_Level_doubleSpinBox->setValue(
        CandelasToUIUnits(working_target.m_Intensity));
    keepUntouched(target_gamma_doubleSpinBox, kept_gamma, working_target.m_Gamma,
                  inside(working_target.m_Gamma, target_gamma_doubleSpinBox->minimum(),
                         target_gamma_doubleSpinBox->maximum()));
    keepUntouched(target_DICOM_scale_factor_doubleSpinBox, kept_dicom_scale,
                  working_target.m_DICOMScaleFactor,
                  inside(working_target.m_DICOMScaleFactor,
                         target_DICOM_scale_factor_doubleSpinBox->minimum(),
                         target_DICOM_scale_factor_doubleSpinBox->maximum()));
    // The box's range is rounded to its decimals; the target's is 40-800 cd/m².
    keepUntouched(target_Intensity_Specific_Level_doubleSpinBox, kept_intensity,
                  working_target.m_Intensity,
                  inside(working_target.m_Intensity, kMinimumIntensity, kMaximumIntensity));

    // A stored code without a button checks nothing; its slot still sets the
    // enabled states, and OK keeps the code.
    if (!clickButton(gamma_button_group, working_target.m_GammaCurveType))
        GammaButtonGroup(working_target.m_GammaCurveType);
    if (!clickButton(intensity_button_group, working_target.m_IntensityType))
        IntensityButtonGroup(working_target.m_IntensityType);

    Enable_state_intensity_radio_buttons();
    add_custom_color_gamut_point_item();

    color_gamut_comboBox->setCurrentIndex(
        color_gamut_comboBox->findData(int(working_target.m_ColorGamutType)));
    update_contrast_ratio();
    updateAcceptButton();
}

void PZ_edit_target_dialog::my_Accept()
{
    if (!buttonBox->button(QDialogButtonBox::Ok)->isEnabled())
        return;
    if (gamma_button_group.checkedId() != -1)
        working_target.m_GammaCurveType = gamma_button_group.checkedId();
    working_target.m_Gamma = kept_gamma.result(target_gamma_doubleSpinBox->value());
    working_target.m_DICOMScaleFactor =
        kept_dicom_scale.result(target_DICOM_scale_factor_doubleSpinBox->value());
    working_target.m_UseDICOMScaleFactor = target_DICOM_use_scale_factor_checkBox->isChecked();
    working_target.m_ContrastRatio = target_Contrast_Radio_comboBox->currentData().toInt();
    working_target.m_Intensity = kept_intensity.result(
        UIUnitsToCandelas(target_Intensity_Specific_Level_doubleSpinBox->value()));
    if (intensity_button_group.checkedId() != -1)
        working_target.m_IntensityType = intensity_button_group.checkedId();
    accept();
}
