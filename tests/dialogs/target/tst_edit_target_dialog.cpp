// The target editor, offscreen, driven through its widgets: the white point
// list with its Custom entry, intensity in both units with the black level
// hint, the tone curve controls, the gamut list by the monitor's gamut
// control (the sRGB lock), the tone curve and colour gamut sub-editors, and
// what OK writes: an untouched target comes back byte for byte.

#include "CPreferences.h"
#include "NextModal.h"
#include "PZ_Custom_Gamma_Curve_Dialog.h"
#include "PZ_edit_target_dialog.h"
#include "PreferencesRegistry.h"
#include "Resources.h"
#include "StandardTargets.h"
#include "TestSupport.h"
#include "ToneCurves.h"
#include "pz_custom_color_gamut_dialog.h"

#include <QDir>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

using pz::test::NextModal;
using Adjustability = CDDCMonitor::typeColorGamutAdjustability;
using Dialog = PZ_edit_target_dialog;

constexpr Adjustability kNone = CDDCMonitor::kColorGamutNotAdjustable;
constexpr Adjustability kLimited = CDDCMonitor::kColorGamutLimitedsRGB;
constexpr Adjustability kLimited2 = CDDCMonitor::kColorGamutLimited;
constexpr Adjustability kFull = CDDCMonitor::kColorGamutFree;

QByteArray bytes(const CTargetValue &t)
{
    return pz::test::recordBytes([&](QDataStream &s) { s << t; });
}

// "Photo Editing": D65 as x,y, 140 cd/m², gamma 2.2, native gamut.
CTargetValue photoEditing()
{
    return pz::standardTargets().at(pz::kPhotoEditingPreset);
}

struct Native {
    CCIEYxy rgb[3];
};
const Native kUnknownNative{};
const Native kKnownNative{{CCIEYxy(1, 0.66, 0.33), CCIEYxy(1, 0.27, 0.64), CCIEYxy(1, 0.15, 0.06)}};

std::unique_ptr<Dialog> open(const CTargetValue &t, Adjustability a = kFull,
                             Native native = kUnknownNative)
{
    return std::make_unique<Dialog>(t, a, native.rgb, nullptr);
}

CTargetValue pressOk(Dialog &d)
{
    d.buttonBox->button(QDialogButtonBox::Ok)->click();
    if (d.result() != QDialog::Accepted)
        qFatal("OK did not accept");
    return d.working_target;
}

void choose(QComboBox *box, const QString &text)
{
    const int i = box->findText(text);
    if (i < 0)
        qFatal("no entry %s", qPrintable(text));
    box->setCurrentIndex(i);
}

QString caption(const CColorTemperature &w)
{
    return QString("%1 K (%2 %3 uv)").arg(w.m_Kelvin).arg(std::fabs(w.m_DeltaUV), 0, 'f', 4)
        .arg(QChar(0x0394));
}

bool sameImage(const QIcon &icon, const char *file)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32)
           == QImage(QString(":/images/Resources/") + file).convertToFormat(QImage::Format_ARGB32);
}

// One row of the edge-case table: a target changed from "Photo Editing",
// the monitor's gamut control, the units, what to do and see in the open
// editor, and what OK must store.
struct EdgeCase {
    std::function<void(CTargetValue &)> prepare;
    Adjustability adjustability = kFull;
    bool footLamberts = false;
    std::function<void(Dialog &)> act;
    std::function<void(const CTargetValue &)> stored;
};

} // namespace

Q_DECLARE_METATYPE(EdgeCase)

class TestEditTargetDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void form()
    {
        auto d = open(photoEditing());
        QCOMPARE(d->windowTitle(), QStringLiteral("Edit Calibration Target"));
        QVERIFY(!(d->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(d->layout()->sizeConstraint(), QLayout::SetFixedSize);
        QCOMPARE(d->target_white_point_comboBox->count(), 11);
        const QStringList whites{"D50", "D55", "D65", "D75", "4500K", "5000K",
                                 "5500K", "6500K", "7500K", "9300K", "Native"};
        for (int i = 0; i < whites.size(); ++i)
            QCOMPARE(d->target_white_point_comboBox->itemText(i), whites[i]);
        const QList<int> ratios{0, 500, 450, 400, 350, 300, 250, 200, 150, 100, 75, 50};
        QCOMPARE(d->target_Contrast_Radio_comboBox->count(), ratios.size());
        for (int i = 0; i < ratios.size(); ++i)
            QCOMPARE(d->target_Contrast_Radio_comboBox->itemData(i).toInt(), ratios[i]);
        QCOMPARE(d->target_Contrast_Radio_comboBox->itemText(0), QStringLiteral("Default"));
        QCOMPARE(d->target_Contrast_Radio_comboBox->itemText(11), QStringLiteral("50:1"));
        QVERIFY(d->target_Contrast_Radio_comboBox->toolTip().contains(
            "<br><br>\"Monitor Default\" will achieve the highest possible contrast ratio."));
        const QStringList gamuts{"Native (Full)", "sRGB", "AdobeRGB", "EBU/ITU (PAL/SECAM)",
                                 "SMPTE-C", "DCI", "ECI/NTSC(1953)", "ColorMatch (P22-EBU)",
                                 "CRT Display"};
        QCOMPARE(d->color_gamut_comboBox->count(), gamuts.size());
        for (int i = 0; i < gamuts.size(); ++i) {
            QCOMPARE(d->color_gamut_comboBox->itemText(i), gamuts[i]);
            QCOMPARE(d->color_gamut_comboBox->itemData(i).toInt(), i);
            QVERIFY(sameImage(d->color_gamut_comboBox->itemIcon(i), "blank circle icon.png"));
        }
        QCOMPARE(d->target_Intensity_Specific_Level_units_label->text(), QString("cd/m\u00b2"));
        QCOMPARE(d->target_gamma_doubleSpinBox->decimals(), 2);
        QCOMPARE(d->target_DICOM_scale_factor_doubleSpinBox->minimum(), 0.5);
        QVERIFY(!d->label_6->pixmap().isNull());
        QVERIFY(!d->label->pixmap().isNull());
    }

    // Intensity range, decimals and step by units.
    void intensityRangeByUnits_data()
    {
        QTest::addColumn<bool>("footLamberts");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("unit");
        QTest::newRow("cd/m2") << false << 40.0 << 800.0 << 1 << 5.0 << QString("cd/m\u00b2");
        QTest::newRow("fL") << true << 11.68 << 233.51 << 2 << 1.0 << QString("fL");
    }
    void intensityRangeByUnits()
    {
        QFETCH(bool, footLamberts);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(int, decimals);
        QFETCH(double, step);
        QFETCH(QString, unit);
        CPreferences preferences;
        preferences.SetLuminanceUnits(footLamberts ? 1 : 0);
        pz::ScopedPreferences scope(&preferences);
        auto d = open(photoEditing());
        QDoubleSpinBox *box = d->target_Intensity_Specific_Level_doubleSpinBox;
        QCOMPARE(box->minimum(), minimum);
        QCOMPARE(box->maximum(), maximum);
        QCOMPARE(box->decimals(), decimals);
        QCOMPARE(box->singleStep(), step);
        QCOMPARE(d->target_Intensity_Specific_Level_units_label->text(), unit);
    }

    void edgeCases_data()
    {
        QTest::addColumn<EdgeCase>("edge");
        auto keep = [](CTargetValue &) {};

        QTest::newRow("x,y near D65 selects D65 and is stored unchanged") << EdgeCase{
            [](CTargetValue &t) { t.m_WhitePoint = CColorTemperature(_CIExy{0.31271, 0.32899}); },
            kFull, false,
            [](Dialog &d) {
                QCOMPARE(d.target_white_point_comboBox->currentText(), QStringLiteral("D65"));
                QCOMPARE(d.target_white_point_comboBox->count(), 11);
                QCOMPARE(d.target_white_point_CIE_xy_label->text(), QStringLiteral("x=0.3127 y=0.3290"));
                QCOMPARE(d.target_white_point_color_temp_label->text(),
                         caption(CColorTemperature(_CIExy{0.31271, 0.32899})));
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_WhitePoint.m_CIExy.x, 0.31271);
                QCOMPARE(t.m_WhitePoint.m_CIExy.y, 0.32899);
            }};

        QTest::newRow("6000 K gets a Custom entry that a later choice brings back") << EdgeCase{
            [](CTargetValue &t) { t.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(6000)); },
            kFull, false,
            [](Dialog &d) {
                QComboBox *list = d.target_white_point_comboBox;
                QCOMPARE(list->count(), 12);
                QCOMPARE(list->currentIndex(), 11);
                QCOMPARE(list->currentText(), QStringLiteral("Custom"));
                QCOMPARE(d.target_white_point_color_temp_label->text(), QStringLiteral("6000 K (0.0000 \u0394 uv)"));
                choose(list, "D65");
                QCOMPARE(d.working_target.m_WhitePoint.m_KelvinForm, false);
                choose(list, "Custom");
                QCOMPARE(d.working_target.m_WhitePoint.m_Kelvin, 6000);
                QVERIFY(d.working_target.m_WhitePoint.m_KelvinForm);
            },
            [](const CTargetValue &t) { QCOMPARE(t.m_WhitePoint.m_Kelvin, 6000); }};

        QTest::newRow("x,y at 9300 K is Custom, not the 9300K entry") << EdgeCase{
            [](CTargetValue &t) {
                _CIExy xy;
                CColorTemperature::CalcCIExy(9300, xy);
                t.m_WhitePoint = CColorTemperature(xy);
            },
            kFull, false,
            [](Dialog &d) {
                QCOMPARE(d.target_white_point_comboBox->currentText(), QStringLiteral("Custom"));
                choose(d.target_white_point_comboBox, "9300K");
                QVERIFY(d.working_target.m_WhitePoint.m_KelvinForm);
                QCOMPARE(d.target_white_point_comboBox->count(), 12);
            },
            [](const CTargetValue &t) { QCOMPARE(t.m_WhitePoint.m_Kelvin, 9300); }};

        QTest::newRow("Native forces Maximum Possible; another choice keeps it") << EdgeCase{
            keep, kFull, false,
            [](Dialog &d) {
                QVERIFY(d.target_Intensity_Specific_Level_radioButton->isChecked());
                choose(d.target_white_point_comboBox, "Native");
                QVERIFY(d.target_Intensity_Maximum_Possible_radioButton->isChecked());
                QVERIFY(!d.target_Intensity_Specific_Level_radioButton->isEnabled());
                QVERIFY(!d.target_Edit_White_Point_pushButton->isEnabled());
                QVERIFY(!d.target_Intensity_Specific_Level_doubleSpinBox->isEnabled());
                QCOMPARE(d.target_white_point_color_temp_label->text(), QStringLiteral("-"));
                QCOMPARE(d.target_white_point_CIE_xy_label->text(), QStringLiteral("-"));
                choose(d.target_white_point_comboBox, "D50");
                QVERIFY(d.target_Intensity_Specific_Level_radioButton->isEnabled());
                QVERIFY(d.target_Edit_White_Point_pushButton->isEnabled());
                QVERIFY(d.target_Intensity_Maximum_Possible_radioButton->isChecked());
                QCOMPARE(d.target_white_point_CIE_xy_label->text(), QStringLiteral("x=0.3457 y=0.3585"));
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_IntensityType, 1);
                QCOMPARE(t.m_WhitePoint.m_CIExy.x, 0.3457);
            }};

        QTest::newRow("a white point choice re-checks the stored intensity type") << EdgeCase{
            [](CTargetValue &t) { t.m_IntensityType = CTargetValue::kIntensityMaximum; },
            kFull, false,
            [](Dialog &d) {
                d.target_Intensity_Specific_Level_radioButton->click();
                QVERIFY(d.target_Intensity_Specific_Level_doubleSpinBox->isEnabled());
                choose(d.target_white_point_comboBox, "D75");
                QVERIFY(d.target_Intensity_Maximum_Possible_radioButton->isChecked());
                QVERIFY(!d.target_Intensity_Specific_Level_doubleSpinBox->isEnabled());
            },
            [](const CTargetValue &t) { QCOMPARE(t.m_IntensityType, 1); }};

        QTest::newRow("native white with a specific level opens checked but disabled") << EdgeCase{
            [](CTargetValue &t) {
                t.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(0));
                t.m_IntensityType = CTargetValue::kIntensityLevel;
            },
            kFull, false,
            [](Dialog &d) {
                QCOMPARE(d.target_white_point_comboBox->currentText(), QStringLiteral("Native"));
                QVERIFY(d.target_Intensity_Specific_Level_radioButton->isChecked());
                QVERIFY(!d.target_Intensity_Specific_Level_radioButton->isEnabled());
                QVERIFY(d.target_Intensity_Specific_Level_doubleSpinBox->isEnabled());
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_IntensityType, 3);
                QVERIFY(t.m_WhitePoint.m_Native);
            }};

        QTest::newRow("fL: 120 cd/m2 shows 35.03 and comes back as 120") << EdgeCase{
            [](CTargetValue &t) { t.m_Intensity = 120.0; },
            kFull, true,
            [](Dialog &d) {
                QCOMPARE(d.target_Intensity_Specific_Level_doubleSpinBox->value(), 35.03);
                QCOMPARE(d.target_Contrast_BlackLevel_label->text(), QString());
                choose(d.target_Contrast_Radio_comboBox, "500:1");
                QCOMPARE(d.target_Contrast_BlackLevel_label->text(), QStringLiteral("Black Level: 0.070 fL"));
            },
            [](const CTargetValue &t) { QCOMPARE(t.m_Intensity, 120.0); }};

        QTest::newRow("fL: a changed intensity is read from the box") << EdgeCase{
            [](CTargetValue &t) { t.m_Intensity = 120.0; },
            kFull, true,
            [](Dialog &d) {
                d.target_Intensity_Specific_Level_doubleSpinBox->setValue(36.0);
                d.target_Intensity_Specific_Level_doubleSpinBox->setValue(35.03);
            },
            [](const CTargetValue &t) { QCOMPARE(t.m_Intensity, 35.03 * 3.426); }};

        QTest::newRow("black level follows intensity, contrast and button") << EdgeCase{
            [](CTargetValue &t) { t.m_Intensity = 120.0; },
            kFull, false,
            [](Dialog &d) {
                QLabel *black = d.target_Contrast_BlackLevel_label;
                QCOMPARE(black->text(), QString());
                choose(d.target_Contrast_Radio_comboBox, "500:1");
                QCOMPARE(black->text(), QString("Black Level: 0.24 cd/m\u00b2"));
                d.target_Intensity_Specific_Level_doubleSpinBox->setValue(40.0);
                QCOMPARE(black->text(), QString("Black Level: 0.080 cd/m\u00b2"));
                choose(d.target_Contrast_Radio_comboBox, "50:1");
                QCOMPARE(black->text(), QString("Black Level: 0.80 cd/m\u00b2"));
                d.target_Intensity_Maximum_Possible_radioButton->click();
                QCOMPARE(black->text(), QString());
                d.target_Intensity_Specific_Level_radioButton->click();
                QCOMPARE(black->text(), QString("Black Level: 0.80 cd/m\u00b2"));
                // From 1 cd/m² up still two decimals.
                d.target_Intensity_Specific_Level_doubleSpinBox->setValue(300.0);
                QCOMPARE(black->text(), QString("Black Level: 6.00 cd/m\u00b2"));
                d.target_Intensity_Specific_Level_doubleSpinBox->setValue(40.0);
                choose(d.target_Contrast_Radio_comboBox, "Default");
                QCOMPARE(black->text(), QString());
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_Intensity, 40.0);
                QCOMPARE(t.m_ContrastRatio, 0);
            }};

        QTest::newRow("a white point that is not a number selects nothing until one is chosen")
            << EdgeCase{
                   [](CTargetValue &t) {
                       t.m_WhitePoint = CColorTemperature(_CIExy{std::nan(""), std::nan("")});
                   },
                   kFull, false,
                   [](Dialog &d) {
                       QCOMPARE(d.target_white_point_comboBox->currentIndex(), -1);
                       QCOMPARE(d.target_white_point_comboBox->count(), 11);
                       QCOMPARE(d.target_white_point_CIE_xy_label->text(), QStringLiteral("N/A"));
                       QCOMPARE(d.target_white_point_color_temp_label->text(), QStringLiteral("N/A"));
                       QPushButton *ok = d.buttonBox->button(QDialogButtonBox::Ok);
                       QVERIFY(!ok->isEnabled());
                       d.my_Accept();
                       QCOMPARE(d.result(), int(QDialog::Rejected));
                       choose(d.target_white_point_comboBox, "D50");
                       QVERIFY(ok->isEnabled());
                   },
                   [](const CTargetValue &t) {
                       QCOMPARE(t.m_WhitePoint.m_CIExy.x, 0.3457);
                       QCOMPARE(t.m_WhitePoint.m_CIExy.y, 0.3585);
                   }};

        QTest::newRow("intensity, gamma and DICOM factor that are not numbers need numbers")
            << EdgeCase{
                   [](CTargetValue &t) {
                       t.m_Intensity = std::nan("");
                       t.m_Gamma = std::numeric_limits<double>::infinity();
                       t.m_DICOMScaleFactor = std::nan("");
                       t.m_ContrastRatio = 500;
                   },
                   kFull, false,
                   [](Dialog &d) {
                       QDoubleSpinBox *intensity = d.target_Intensity_Specific_Level_doubleSpinBox;
                       QCOMPARE(intensity->text(), QStringLiteral("N/A"));
                       QCOMPARE(d.target_gamma_doubleSpinBox->text(), QStringLiteral("N/A"));
                       QCOMPARE(d.target_DICOM_scale_factor_doubleSpinBox->text(),
                                QStringLiteral("N/A"));
                       // No black level from an intensity nobody gave.
                       QCOMPARE(d.target_Contrast_BlackLevel_label->text(), QString());
                       QPushButton *ok = d.buttonBox->button(QDialogButtonBox::Ok);
                       QVERIFY(!ok->isEnabled());
                       intensity->setValue(200.0);
                       QCOMPARE(intensity->text(), QStringLiteral("200.0"));
                       QCOMPARE(d.target_Contrast_BlackLevel_label->text(),
                                QString("Black Level: 0.40 cd/m\u00b2"));
                       d.target_gamma_doubleSpinBox->setValue(2.4);
                       QVERIFY(!ok->isEnabled());
                       d.target_DICOM_scale_factor_doubleSpinBox->setValue(0.75);
                       QVERIFY(ok->isEnabled());
                   },
                   [](const CTargetValue &t) {
                       QCOMPARE(t.m_Intensity, 200.0);
                       QCOMPARE(t.m_Gamma, 2.4);
                       QCOMPARE(t.m_DICOMScaleFactor, 0.75);
                       QVERIFY(t.HasFiniteValues());
                   }};

        QTest::newRow("contrast 120 opens as Default and stores 0") << EdgeCase{
            [](CTargetValue &t) { t.m_ContrastRatio = 120; },
            kFull, false,
            [](Dialog &d) { QCOMPARE(d.target_Contrast_Radio_comboBox->currentText(), QStringLiteral("Default")); },
            [](const CTargetValue &t) { QCOMPARE(t.m_ContrastRatio, 0); }};

        QTest::newRow("blank target opens at 40.0 and 1.00 and stores them") << EdgeCase{
            [](CTargetValue &t) { t = CTargetValue(); },
            kFull, false,
            [](Dialog &d) {
                QCOMPARE(d.target_Intensity_Specific_Level_doubleSpinBox->value(), 40.0);
                QCOMPARE(d.target_gamma_doubleSpinBox->value(), 1.0);
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_Intensity, 40.0);
                QCOMPARE(t.m_Gamma, 1.0);
            }};

        QTest::newRow("native tone curve disables contrast, which is still stored") << EdgeCase{
            [](CTargetValue &t) {
                t.m_GammaCurveType = CTargetValue::kCurveNative;
                t.m_ContrastRatio = 300;
            },
            kFull, false,
            [](Dialog &d) {
                QVERIFY(d.target_Native_Gamma_radioButton->isChecked());
                QVERIFY(!d.target_ContrastRatio_groupBox->isEnabled());
                QVERIFY(!d.target_gamma_doubleSpinBox->isEnabled());
                choose(d.target_Contrast_Radio_comboBox, "250:1");
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_GammaCurveType, 1);
                QCOMPARE(t.m_ContrastRatio, 250);
            }};

        QTest::newRow("scale factor only with DICOM and Use Scale Factor") << EdgeCase{
            [](CTargetValue &t) {
                t.m_GammaCurveType = CTargetValue::kCurveDICOM;
                t.m_DICOMScaleFactor = 0.8;
            },
            kFull, false,
            [](Dialog &d) {
                QVERIFY(d.target_DICOM_use_scale_factor_checkBox->isEnabled());
                QVERIFY(!d.target_DICOM_scale_factor_doubleSpinBox->isEnabled());
                QVERIFY(d.target_ContrastRatio_groupBox->isEnabled());
                d.target_DICOM_use_scale_factor_checkBox->click();
                QVERIFY(d.target_DICOM_scale_factor_doubleSpinBox->isEnabled());
                d.target_Custom_Curve_radioButton->click();
                QVERIFY(!d.target_DICOM_use_scale_factor_checkBox->isEnabled());
                QVERIFY(!d.target_DICOM_scale_factor_doubleSpinBox->isEnabled());
                QVERIFY(d.target_Edit_Custom_Gamma_Curve_pushButton->isEnabled());
                QVERIFY(!d.target_gamma_doubleSpinBox->isEnabled());
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_GammaCurveType, 4);
                QVERIFY(t.m_UseDICOMScaleFactor);
                QCOMPARE(t.m_DICOMScaleFactor, 0.8);
            }};

        QTest::newRow("intensity type 2 and tone curve type 7 open and are kept") << EdgeCase{
            [](CTargetValue &t) {
                t.m_IntensityType = 2;
                t.m_GammaCurveType = 7;
            },
            kFull, false,
            [](Dialog &d) {
                QCOMPARE(d.target_Intensity_Specific_Level_radioButton->isChecked(), false);
                QCOMPARE(d.target_Intensity_Maximum_Possible_radioButton->isChecked(), false);
                QCOMPARE(d.target_Native_Gamma_radioButton->isChecked(), false);
                QVERIFY(!d.target_gamma_doubleSpinBox->isEnabled());
                QVERIFY(!d.target_Edit_Custom_Gamma_Curve_pushButton->isEnabled());
                choose(d.target_white_point_comboBox, "D50");
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_IntensityType, 2);
                QCOMPARE(t.m_GammaCurveType, 7);
            }};

        for (Adjustability limited : {kLimited, kLimited2})
            QTest::newRow(qPrintable(QString("limited %1: the sRGB lock and its release").arg(int(limited))))
                << EdgeCase{
                       [](CTargetValue &t) {
                           t.m_Gamma = 1.8;
                           t.m_WhitePoint = CColorTemperature(static_cast<unsigned short>(5000));
                           t.m_GammaCurveType = CTargetValue::kCurveDICOM;
                       },
                       limited, false,
                       [](Dialog &d) {
                           QVERIFY(!d.target_Edit_color_gamut_pushButton->isEnabled());
                           QVERIFY(d.color_gamut_groupBox->isEnabled());
                           for (int i = 0; i < d.color_gamut_comboBox->count(); ++i)
                               QVERIFY(sameImage(d.color_gamut_comboBox->itemIcon(i),
                                                 i < 2 ? "blank circle icon.png" : "red circle icon.png"));
                           choose(d.color_gamut_comboBox, "sRGB");
                           QVERIFY(d.target_Gamma_Value_radioButton->isChecked());
                           QCOMPARE(d.target_gamma_doubleSpinBox->value(), 2.2);
                           QCOMPARE(d.target_white_point_comboBox->currentText(), QStringLiteral("D65"));
                           QCOMPARE(d.target_white_point_CIE_xy_label->text(), QStringLiteral("x=0.3127 y=0.3290"));
                           QVERIFY(!d.target_WhitePoint_groupBox->isEnabled());
                           QVERIFY(!d.target_ContrastRatio_groupBox->isEnabled());
                           QVERIFY(!d.target_Gamma_groupBox->isEnabled());
                           choose(d.color_gamut_comboBox, "Native (Full)");
                           QVERIFY(d.target_WhitePoint_groupBox->isEnabled());
                           QVERIFY(d.target_ContrastRatio_groupBox->isEnabled());
                           QVERIFY(d.target_Gamma_groupBox->isEnabled());
                           QCOMPARE(d.target_gamma_doubleSpinBox->value(), 2.2);
                           QCOMPARE(d.target_white_point_comboBox->currentText(), QStringLiteral("D65"));
                       },
                       [](const CTargetValue &t) {
                           QCOMPARE(t.m_Gamma, 2.2);
                           QCOMPARE(t.m_GammaCurveType, 2);
                           QCOMPARE(t.m_WhitePoint.m_CIExy.x, 0.3127);
                           QCOMPARE(t.m_WhitePoint.m_CIExy.y, 0.3290);
                           QCOMPARE(int(t.m_ColorGamutType), 0);
                       }};

        QTest::newRow("limited: an sRGB target is locked at once") << EdgeCase{
            [](CTargetValue &t) {
                t.m_ColorGamutType = CTargetValue::kGamutSRGB;
                t.m_Gamma = 2.4;
            },
            kLimited, false,
            [](Dialog &d) {
                QCOMPARE(d.color_gamut_comboBox->currentText(), QStringLiteral("sRGB"));
                QVERIFY(!d.target_Gamma_groupBox->isEnabled());
                QCOMPARE(d.target_gamma_doubleSpinBox->value(), 2.2);
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_Gamma, 2.2);
                QCOMPARE(int(t.m_ColorGamutType), 1);
            }};

        QTest::newRow("no gamut control: the group is off and the type kept") << EdgeCase{
            [](CTargetValue &t) { t.m_ColorGamutType = CTargetValue::kGamutDCI; },
            kNone, false,
            [](Dialog &d) {
                QVERIFY(!d.color_gamut_groupBox->isEnabled());
                QCOMPARE(d.color_gamut_comboBox->currentText(), QStringLiteral("DCI"));
            },
            [](const CTargetValue &t) { QCOMPARE(int(t.m_ColorGamutType), 5); }};

        QTest::newRow("full gamut control: sRGB locks nothing") << EdgeCase{
            [](CTargetValue &t) { t.m_Gamma = 1.8; },
            kFull, false,
            [](Dialog &d) {
                QVERIFY(d.target_Edit_color_gamut_pushButton->isEnabled());
                choose(d.color_gamut_comboBox, "sRGB");
                QVERIFY(d.target_Gamma_groupBox->isEnabled());
                QCOMPARE(d.target_gamma_doubleSpinBox->value(), 1.8);
            },
            [](const CTargetValue &t) {
                QCOMPARE(t.m_Gamma, 1.8);
                QCOMPARE(int(t.m_ColorGamutType), 1);
            }};

        QTest::newRow("a custom gamut target has its entry, with the red circle when limited")
            << EdgeCase{
                   [](CTargetValue &t) { t.m_ColorGamutType = CTargetValue::kGamutCustom; },
                   kLimited2, false,
                   [](Dialog &d) {
                       QCOMPARE(d.color_gamut_comboBox->count(), 10);
                       QCOMPARE(d.color_gamut_comboBox->currentText(), QStringLiteral("Custom"));
                       QVERIFY(sameImage(d.color_gamut_comboBox->itemIcon(9), "red circle icon.png"));
                   },
                   [](const CTargetValue &t) { QCOMPARE(int(t.m_ColorGamutType), 9); }};

        QTest::newRow("a gamut type outside the list becomes native") << EdgeCase{
            [](CTargetValue &t) { t.m_ColorGamutType = CTargetValue::typeColorGamutType(12); },
            kFull, false,
            [](Dialog &d) { QCOMPARE(d.color_gamut_comboBox->currentIndex(), -1); },
            [](const CTargetValue &t) { QCOMPARE(int(t.m_ColorGamutType), 0); }};
    }
    void edgeCases()
    {
        QFETCH(EdgeCase, edge);
        CPreferences preferences;
        preferences.SetLuminanceUnits(edge.footLamberts ? 1 : 0);
        pz::ScopedPreferences scope(&preferences);
        CTargetValue target = photoEditing();
        edge.prepare(target);
        auto d = open(target, edge.adjustability);
        edge.act(*d);
        if (QTest::currentTestFailed())
            return;
        edge.stored(pressOk(*d));
    }

    // Every preset target comes back from an untouched OK byte for byte, in
    // either unit, with full and without gamut control.
    void untouchedPresetsComeBackExactly_data()
    {
        QTest::addColumn<int>("preset");
        QTest::addColumn<bool>("footLamberts");
        QTest::addColumn<int>("adjustability");
        const QVector<CTargetValue> presets = pz::standardTargets();
        for (int i = 0; i < presets.size(); ++i)
            for (bool fL : {false, true})
                for (Adjustability a : {kFull, kNone})
                    QTest::newRow(qPrintable(QString("%1 %2 %3").arg(presets[i].m_Name, fL ? "fL" : "cd",
                                                                     QString::number(int(a)))))
                        << i << fL << int(a);
    }
    void untouchedPresetsComeBackExactly()
    {
        QFETCH(int, preset);
        QFETCH(bool, footLamberts);
        QFETCH(int, adjustability);
        CPreferences preferences;
        preferences.SetLuminanceUnits(footLamberts ? 1 : 0);
        pz::ScopedPreferences scope(&preferences);
        const CTargetValue target = pz::standardTargets().at(preset);
        auto d = open(target, Adjustability(adjustability));
        QCOMPARE(bytes(pressOk(*d)), bytes(target));
    }

    // ---- the sub-editors -------------------------------------------------------

    // The tone curve editor gets the target's curve and subtype; a changed
    // curve is taken with its subtype, an unchanged one changes nothing.
    void toneCurveEditor_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("taken");
        QTest::newRow("unchanged") << QString() << false;
        QTest::newRow("sRGB") << "custom_curve_sRGB_pushButton" << true;
    }
    void toneCurveEditor()
    {
        QFETCH(QString, button);
        QFETCH(bool, taken);
        CTargetValue target = photoEditing();
        target.m_GammaCurveType = CTargetValue::kCurveCustom;
        target.m_CustomCurveType = CTargetValue::kCustomLStar;
        auto d = open(target);
        int shownType = -1;
        CSpline shownCurve;
        NextModal<PZ_Custom_Gamma_Curve_Dialog> editor([&](PZ_Custom_Gamma_Curve_Dialog &e) {
            shownType = e.custom_curve_type;
            shownCurve = e.custom_curve;
            if (!button.isEmpty())
                e.findChild<QPushButton *>(button)->click();
            e.buttonBox->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(d->target_Edit_Custom_Gamma_Curve_pushButton->isEnabled());
        d->target_Edit_Custom_Gamma_Curve_pushButton->click();
        QVERIFY(editor.shown());
        QCOMPARE(shownType, 4);
        QVERIFY(!(shownCurve != target.m_CustomCurve));
        const CTargetValue stored = pressOk(*d);
        if (!taken) {
            QCOMPARE(bytes(stored), bytes(target));
            return;
        }
        CSpline sRGB;
        CreatesRGBCurveSpline(&sRGB);
        QVERIFY(!(stored.m_CustomCurve != sRGB));
        QCOMPARE(stored.m_CustomCurveType, 1);
    }

    // Cancel in a sub-editor after a change leaves the target as it was.
    void cancelledSubEditorsChangeNothing()
    {
        const CTargetValue target = photoEditing();
        auto d = open(target);
        d->target_Custom_Curve_radioButton->click();
        NextModal<PZ_Custom_Gamma_Curve_Dialog> curve([](PZ_Custom_Gamma_Curve_Dialog &e) {
            e.custom_curve_NTSC_pushButton->click();
            e.buttonBox->button(QDialogButtonBox::Cancel)->click();
        });
        d->target_Edit_Custom_Gamma_Curve_pushButton->click();
        QVERIFY(curve.shown());
        NextModal<pz_custom_color_gamut_dialog> gamut([](pz_custom_color_gamut_dialog &e) {
            choose(e.findChild<QComboBox *>("gamut_comboBox"), "AdobeRGB");
            e.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        });
        d->target_Edit_color_gamut_pushButton->click();
        QVERIFY(gamut.shown());
        d->target_Gamma_Value_radioButton->click();
        QCOMPARE(bytes(pressOk(*d)), bytes(target));
    }

    // The gamut editor gets the native primaries only when they are known,
    // and the target's type with its custom primaries.
    void gamutEditorGetsTheNativeGamut_data()
    {
        QTest::addColumn<bool>("known");
        QTest::newRow("known") << true;
        QTest::newRow("unknown") << false;
    }
    void gamutEditorGetsTheNativeGamut()
    {
        QFETCH(bool, known);
        CTargetValue target = photoEditing();
        target.m_ColorGamutType = CTargetValue::kGamutCustom;
        target.SetCustomColorGamutValues(CCIEYxy(0, 0.65, 0.31), CCIEYxy(0, 0.26, 0.66),
                                         CCIEYxy(0, 0.14, 0.07));
        auto d = open(target, kFull, known ? kKnownNative : kUnknownNative);
        bool nativeEntry = !known;
        double redX = 0;
        NextModal<pz_custom_color_gamut_dialog> gamut([&](pz_custom_color_gamut_dialog &e) {
            // The editor's list marks its native entry with data -2.
            nativeEntry = e.findChild<QComboBox *>("gamut_comboBox")->findData(-2) >= 0;
            redX = e.findChild<QDoubleSpinBox *>("red_x_doubleSpinBox")->value();
            e.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        });
        d->target_Edit_color_gamut_pushButton->click();
        QVERIFY(gamut.shown());
        QCOMPARE(nativeEntry, known);
        QCOMPARE(redX, 0.65);
        QCOMPARE(bytes(pressOk(*d)), bytes(target));
    }

    // A custom gamut appends "Custom" and stays while a preset is chosen in
    // the list; a preset from the editor removes it, keeping the primaries.
    void customGamutAppendedAndKept()
    {
        const CTargetValue target = photoEditing();
        auto d = open(target);
        QComboBox *list = d->color_gamut_comboBox;
        const double custom[6] = {0.66, 0.32, 0.25, 0.65, 0.14, 0.07};
        NextModal<pz_custom_color_gamut_dialog> toCustom([&](pz_custom_color_gamut_dialog &e) {
            const char *names[6] = {"red_x_doubleSpinBox",   "red_y_doubleSpinBox",
                                    "green_x_doubleSpinBox", "green_y_doubleSpinBox",
                                    "blue_x_doubleSpinBox",  "blue_y_doubleSpinBox"};
            for (int i = 0; i < 6; ++i)
                e.findChild<QDoubleSpinBox *>(names[i])->setValue(custom[i]);
            e.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        });
        d->target_Edit_color_gamut_pushButton->click();
        QVERIFY(toCustom.shown());
        QCOMPARE(list->count(), 10);
        QCOMPARE(list->currentText(), QStringLiteral("Custom"));
        QVERIFY(sameImage(list->itemIcon(9), "blank circle icon.png"));
        QCOMPARE(int(d->working_target.m_ColorGamutType), 9);
        CCIEYxy r, g, b;
        d->working_target.GetCustomColorGamutValues(r, g, b);
        QCOMPARE(r.x, 0.66);
        QCOMPARE(b.y, 0.07);

        choose(list, "DCI");
        QCOMPARE(int(d->working_target.m_ColorGamutType), 5);
        QCOMPARE(list->count(), 10);
        choose(list, "Custom");
        QCOMPARE(int(d->working_target.m_ColorGamutType), 9);

        NextModal<pz_custom_color_gamut_dialog> toPreset([](pz_custom_color_gamut_dialog &e) {
            choose(e.findChild<QComboBox *>("gamut_comboBox"), "ColorMatch (P22-EBU)");
            e.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        });
        d->target_Edit_color_gamut_pushButton->click();
        QVERIFY(toPreset.shown());
        QCOMPARE(list->count(), 9);
        QCOMPARE(list->currentText(), QStringLiteral("ColorMatch (P22-EBU)"));
        const CTargetValue stored = pressOk(*d);
        QCOMPARE(int(stored.m_ColorGamutType), 7);
        stored.GetCustomColorGamutValues(r, g, b);
        QCOMPARE(g.x, 0.25);
    }

    void picture()
    {
        CTargetValue target = photoEditing();
        target.m_ContrastRatio = 300;
        auto d = open(target, kLimited);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QVERIFY(d->grab().save(
            pz::test::picturePath("edit_target_dialog.png")));
    }
};

QTEST_MAIN(TestEditTargetDialog)
#include "tst_edit_target_dialog.moc"
