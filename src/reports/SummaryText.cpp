#include "SummaryText.h"

#include <QStringList>

namespace {

const QLatin1String kLineEnd("\r\n");

// One line of the report. A group line has one piece, the group box; an
// item line two or three labels joined by one space; the blank line none.
struct Line {
    enum Kind { Group, Item, BlankInInformationWindow } kind;
    const char *pieces[3]; // unused places are null
};

const Line kLines[] = {
    {Line::Group, {"summary_white_point_groupBox"}},
    {Line::Item, {"summary_White_Point_Target_label", "summary_White_Point_Target_K",
                  "summary_White_Point_Black_Body_label"}},
    {Line::Item, {"summary_White_Point_Target_label", "summary_White_Point_Target_xy",
                  "summary_White_Point_CIE_xy_label"}},
    {Line::Item, {"summary_White_Point_Calibrated_label", "summary_White_Point_Calibrated_K",
                  "summary_White_Point_Black_Body_label"}},
    {Line::Item, {"summary_White_Point_Calibrated_label", "summary_White_Point_Calibrated_xy",
                  "summary_White_Point_CIE_xy_label"}},
    {Line::Item, {"summary_White_Point_Delta_E_label", "summary_White_Point_DeltaE"}},
    {Line::Group, {"summary_luminance_groupBox"}},
    {Line::Item, {"summary_Display_Luminance_Target_label", "summary_Display_Luminance_Intensity_label",
                  "summary_Display_Luminance_Intensity_Target"}},
    {Line::Item, {"summary_Display_Luminance_Calibrated_label",
                  "summary_Display_Luminance_Intensity_label",
                  "summary_Display_Luminance_Intensity_Calibrated"}},
    {Line::Item, {"summary_Display_Luminance_Target_label",
                  "summary_Display_Luminance_Black_Level_label",
                  "summary_Display_Luminance_Black_Level_Target"}},
    {Line::Item, {"summary_Display_Luminance_Calibrated_label",
                  "summary_Display_Luminance_Black_Level_label",
                  "summary_Display_Luminance_Black_Level_Calibrated"}},
    {Line::BlankInInformationWindow, {}},
    {Line::Group, {"summary_gamma_curve_groupBox"}},
    {Line::Item, {"summary_Display_Gamma_Curve_Target_label", "summary_Display_Gamma_Curve_Target"}},
    {Line::Item, {"summary_Display_Gamma_Curve_CalibrationSteps_label",
                  "summary_Display_Gamma_Curve_CalibrationSteps"}},
    {Line::Group, {"summary_icc_profile_groupBox"}},
    {Line::Item, {"summary_IC_Profile_File_Name_label", "summary_IC_Profile_File_Name"}},
    {Line::Item, {"summary_IC_Profile_Description_label", "summary_IC_Profile_Description"}},
    {Line::Group, {"summary_primary_colors_groupBox"}},
    {Line::Item, {"summary_Primary_Color_Red_xy_label", "summary_Primary_Color_Red_xy"}},
    {Line::Item, {"summary_Primary_Color_Green_xy_label", "summary_Primary_Color_Green_xy"}},
    {Line::Item, {"summary_Primary_Color_Blue_xy_label", "summary_Primary_Color_Blue_xy"}},
    // The source is written without its caption.
    {Line::Item, {"summary_Primary_Color_source"}},
    {Line::Group, {"summary_contrast_ratio_groupBox"}},
    {Line::Item, {"summary_Display_Contrast_Ratio_Target_label", "summary_Display_Contrast_Ratio_Target"}},
    {Line::Item, {"summary_Display_Contrast_Ratio_Calibrated_label",
                  "summary_Display_Contrast_Ratio_Calibrated"}},
    {Line::Group, {"summary_display_monitor_groupBox"}},
    {Line::Item, {"summary_Display_Model_Name_label", "summary_Display_Model_Name"}},
    {Line::Item, {"summary_Display_Serial_Number_label", "summary_Display_Serial_Number"}},
    {Line::Item, {"summary_Display_Firmware_Version_label", "summary_Display_Firmware_Version"}},
    {Line::Item, {"summary_Display_Current_Usage_label", "summary_Display_Current_Usage"}},
    {Line::Item, {"summary_Display_Last_Calibration_label", "summary_Display_Last_Calibration"}},
    {Line::Item, {"summary_Display_Calibration_Date_label", "summary_Display_Calibration_Date"}},
    {Line::Group, {"summary_calibration_sensor_groupBox"}},
    {Line::Item, {"summary_Sensor_Model_Name_label", "summary_Sensor_Model_Name"}},
    {Line::Item, {"summary_Sensor_Serial_Number_label", "summary_Sensor_Serial_Number"}},
};

} // namespace

QString summaryText(const QString &title, ReportFlavor flavor, const SummaryTextSource &textOf)
{
    QString text = QLatin1String("---- ") + title + QLatin1String(" ----") + kLineEnd;
    for (const Line &line : kLines) {
        switch (line.kind) {
        case Line::Group:
            text += QLatin1String("--- ") + textOf(line.pieces[0]) + QLatin1String(" ---");
            break;
        case Line::Item: {
            QStringList pieces;
            for (const char *name : line.pieces)
                if (name)
                    pieces << textOf(name);
            text += pieces.join(QLatin1Char(' '));
            break;
        }
        case Line::BlankInInformationWindow:
            if (flavor != ReportFlavor::InformationWindow)
                continue;
            break;
        }
        text += kLineEnd;
    }
    return text;
}
