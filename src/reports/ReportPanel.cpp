#include "ReportPanel.h"

#include "ui_Information_Dialog.h"

#include "CPreferences.h"
#include "GraphReports.h"
#include "PreferencesRegistry.h"
#include "StringResources.h"
#include "SummaryReport.h"

#include <QAction>
#include <QKeySequence>
#include <QTabWidget>

namespace {

using Form = Ui_Information_Dialog;

// The stored byte of each view-option box, in the order the boxes are set.
const struct {
    quint8 CPreferences::*stored;
    QCheckBox *Form::*box;
} kOptionBoxes[] = {
    {&CPreferences::m_Information_Show_Gamut_ShowBlackbodyCurve, &Form::color_gamut_PlankianLocus_checkBox},
    {&CPreferences::m_Information_Show_Gamut_Target_White_Point, &Form::color_gamut_Target_White_Point_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowDisplayGamut, &Form::color_gamut_Display_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowAdobeRGBGamut, &Form::color_gamut_AdobeRGB_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowsRGBGamut, &Form::color_gamut_sRGB_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowNTSCGamut, &Form::color_gamut_NTSC_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowSMPTECGamut, &Form::color_gamut_SMPTEC_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowHDTVGamut, &Form::color_gamut_HDTV_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowTargetGamut, &Form::color_gamut_Target_gamut_checkBox},
    {&CPreferences::m_Information_Show_Gamut_ShowDigitalCinemaGamut, &Form::color_gamut_DigitalCinema_gamut_checkBox},
    {&CPreferences::m_Information_Show_ColorTracking_IncludeDarkValues, &Form::color_tracking_DeltaE_Show_Dark_Values_checkBox},
    {&CPreferences::m_Information_Show_ColorTracking_ShowAverage, &Form::color_tracking_DeltaE_Show_Average_checkBox},
    {&CPreferences::m_Information_Show_DICOM_JNDperDDL_ShowAverage, &Form::dicom_Graph_JND_PER_DDL_Show_Average_checkBox},
    {&CPreferences::m_Information_Show_DICOM_JNDperDDL_ShowLinearFit, &Form::dicom_Graph_JND_PER_DDL_Show_Linear_Fit_checkBox},
    {&CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowBartenModel, &Form::dicom_Graph_Contrast_Response_Show_Barten_model_checkbox},
    {&CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowTenPercentLimits, &Form::dicom_Graph_Contrast_Response_Show_10Percent_Limits_checkbox},
    {&CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowTwentyPercentLimits, &Form::dicom_Graph_Contrast_Response_Show_20Percent_Limits_checkbox},
    {&CPreferences::m_Information_Show_Curves_ShowTarget, &Form::curves_Show_type_Target_checkBox},
    {&CPreferences::m_Information_Show_Curves_ShowCalibrated, &Form::curves_Show_type_Calibrated_checkBox},
    {&CPreferences::m_Information_Show_Curves_ShowUnCalibrated, &Form::curves_Show_type_Uncalibrated_checkBox},
    {&CPreferences::m_Information_Show_Curves_ShowCorrection, &Form::curves_Show_type_Correction_checkBox},
};

const unsigned kNotAvailable = 500;

// The primaries source when no preferences are registered: automatic.
const unsigned char kDefaultPrimarySource = 2;

// Clicks the button of a stored choice; an id without a button changes
// nothing.
void selectStored(QButtonGroup &group, int id)
{
    if (QAbstractButton *button = group.button(id))
        button->click();
}

} // namespace

ReportPanel::ReportPanel(ReportFlavor flavor, QWidget *parent)
    : QWidget(parent), m_flavor(flavor), m_ui(std::make_unique<Ui::Information_Dialog>())
{
    m_ui->setupUi(this);
    connectOptions();

    m_dicomGraphType.addButton(m_ui->dicom_Graph_JND_PER_DDL_radioButton, 0);
    m_dicomGraphType.addButton(m_ui->dicom_Graph_Contrast_Response_radioButton, 1);
    m_colourSpace.addButton(m_ui->color_gamut_Colorspace_CIExy_radioButton, 0);
    m_colourSpace.addButton(m_ui->color_gamut_Colorspace_CIEuv_radioButton, 1);
    m_curveColour.addButton(m_ui->curves_Show_color_All_radioButton, 0);
    m_curveColour.addButton(m_ui->curves_Show_color_Red_radioButton, 1);
    m_curveColour.addButton(m_ui->curves_Show_color_Green_radioButton, 2);
    m_curveColour.addButton(m_ui->curves_Show_color_Blue_radioButton, 3);

    setUpGraphs();

    m_copyAction = new QAction(tr("&Copy"), this);
    m_copyAction->setShortcut(QKeySequence(tr("Ctrl+C")));
    connect(m_copyAction, &QAction::triggered, this, &ReportPanel::copyToClipboard);
    m_ui->tabWidget->addAction(m_copyAction);
    // The whole tab row counts into the window's minimum size: no tab text
    // is ever cut or scrolled away.
    m_ui->tabWidget->setUsesScrollButtons(false);
    m_ui->tabWidget->setElideMode(Qt::ElideNone);

    resetSummary();
    updateDicom();
}

ReportPanel::~ReportPanel() = default;

QTabWidget *ReportPanel::tabWidget() const
{
    return m_ui->tabWidget;
}

void ReportPanel::connectOptions()
{
    const Form &f = *m_ui;
    PZ_gamut_graph *gamut = f.widget_Color_Gamut_Graph;
    const struct {
        QCheckBox *box;
        void (PZ_gamut_graph::*slot)(bool);
    } gamutOptions[] = {
        {f.color_gamut_Display_gamut_checkBox, &PZ_gamut_graph::SetShowGamutDisplay},
        {f.color_gamut_Target_White_Point_checkBox, &PZ_gamut_graph::SetShowTargetWhitePoint},
        {f.color_gamut_AdobeRGB_gamut_checkBox, &PZ_gamut_graph::SetShowGamutAdobeRGB},
        {f.color_gamut_sRGB_gamut_checkBox, &PZ_gamut_graph::SetShowGamutsRGB},
        {f.color_gamut_NTSC_gamut_checkBox, &PZ_gamut_graph::SetShowGamutNTSC},
        {f.color_gamut_SMPTEC_gamut_checkBox, &PZ_gamut_graph::SetShowGamutSMPTE},
        {f.color_gamut_HDTV_gamut_checkBox, &PZ_gamut_graph::SetShowGamutHDTV},
        {f.color_gamut_DigitalCinema_gamut_checkBox, &PZ_gamut_graph::SetShowGamutDigitalCinema},
        {f.color_gamut_Target_gamut_checkBox, &PZ_gamut_graph::SetShowGamutTarget},
        {f.color_gamut_PlankianLocus_checkBox, &PZ_gamut_graph::SetShowPlankianLocus},
    };
    for (const auto &option : gamutOptions)
        connect(option.box, &QCheckBox::toggled, gamut, option.slot);
    connect(f.color_gamut_Colorspace_CIEuv_radioButton, &QRadioButton::toggled, gamut,
            &PZ_gamut_graph::SetColorspace);
    connect(f.color_gamut_Colorspace_CIEuv_radioButton, &QRadioButton::toggled, this,
            &ReportPanel::showGamutTitle);

    for (QAbstractButton *b : {static_cast<QAbstractButton *>(f.curves_Show_type_Target_checkBox),
                               static_cast<QAbstractButton *>(f.curves_Show_type_Uncalibrated_checkBox),
                               static_cast<QAbstractButton *>(f.curves_Show_type_Correction_checkBox),
                               static_cast<QAbstractButton *>(f.curves_Show_type_Calibrated_checkBox),
                               static_cast<QAbstractButton *>(f.curves_Show_color_All_radioButton),
                               static_cast<QAbstractButton *>(f.curves_Show_color_Red_radioButton),
                               static_cast<QAbstractButton *>(f.curves_Show_color_Green_radioButton),
                               static_cast<QAbstractButton *>(f.curves_Show_color_Blue_radioButton)})
        connect(b, &QAbstractButton::toggled, this, &ReportPanel::updateCurves);
    connect(f.color_tracking_DeltaE_Show_Dark_Values_checkBox, &QCheckBox::toggled, this,
            &ReportPanel::updateTracking);
    connect(f.color_tracking_DeltaE_Show_Average_checkBox, &QCheckBox::toggled, this,
            &ReportPanel::updateTracking);

    PZ_dicom_graph *dicom = f.widget_DICOM_Graph;
    const struct {
        QCheckBox *box;
        void (PZ_dicom_graph::*slot)(bool);
    } dicomOptions[] = {
        {f.dicom_Graph_JND_PER_DDL_Show_Average_checkBox, &PZ_dicom_graph::SetShow_Average_JND_PER_DDL},
        {f.dicom_Graph_JND_PER_DDL_Show_Linear_Fit_checkBox, &PZ_dicom_graph::SetShow_Linear_Fit_JND_PER_DDL},
        {f.dicom_Graph_Contrast_Response_Show_10Percent_Limits_checkbox, &PZ_dicom_graph::SetShow_10Percent_Limits},
        {f.dicom_Graph_Contrast_Response_Show_20Percent_Limits_checkbox, &PZ_dicom_graph::SetShow_20Percent_Limits},
        {f.dicom_Graph_Contrast_Response_Show_Barten_model_checkbox, &PZ_dicom_graph::SetShow_Barten_model},
    };
    for (const auto &option : dicomOptions)
        connect(option.box, &QCheckBox::toggled, dicom, option.slot);
    connect(f.dicom_Graph_JND_PER_DDL_radioButton, &QRadioButton::toggled, dicom,
            &PZ_dicom_graph::SetGraphTypeJND_PER_DDL);
}

void ReportPanel::setUpGraphs()
{
    const Form &f = *m_ui;
    Plotter *const graphs[] = {f.widget_Color_Tracking_Graph, f.widget_Curves_Graph,
                               f.widget_Color_Gamut_Graph, f.widget_DICOM_Graph};
    for (Plotter *graph : graphs)
        graph->SetBlockUpdates(true);

    f.widget_Color_Tracking_Graph->SetXAxisLabelString(tr("Delta E (CIE94)", "graph x axis"));
    f.widget_Color_Tracking_Graph->SetYAxisLabelString(tr("Output Luminance", "graph y axis"));

    PZ_curves_graph *curves = f.widget_Curves_Graph;
    curves->SetShowXGradient(true);
    curves->SetShowYGradient(true);
    curves->SetGradientColor(QColor(0, 0, 0), QColor(255, 255, 255));
    curves->SetXAxisLabelString(tr("Input Level", "graph x axis"));
    curves->SetShowXAxisLabel(true);
    curves->SetYAxisLabelString(tr("Output Luminance", "graph y axis"));
    curves->SetShowYAxisLabel(true);
    curves->SetShowUnitLabels(false);
    curves->SetShowGraphLabel(false);

    if (m_flavor == ReportFlavor::InformationWindow) {
        showGamutTitle(f.color_gamut_Colorspace_CIEuv_radioButton->isChecked());
        f.widget_Color_Gamut_Graph->SetShowGraphLabel(true);
    }

    for (Plotter *graph : graphs)
        graph->SetBlockUpdates(false);
}

// The information window's gamut graph names the chromaticity diagram it
// draws; the browser's shows no title.
void ReportPanel::showGamutTitle(bool uv)
{
    if (m_flavor == ReportFlavor::InformationWindow)
        m_ui->widget_Color_Gamut_Graph->SetGraphLabelString(uv ? tr("CIE 1976 u'v'")
                                                               : tr("CIE 1931 xy"));
}

void ReportPanel::loadViewOptions(const CPreferences &preferences)
{
    Form &f = *m_ui;
    Plotter *const graphs[] = {f.widget_Color_Tracking_Graph, f.widget_Curves_Graph,
                               f.widget_Color_Gamut_Graph, f.widget_DICOM_Graph};
    for (Plotter *graph : graphs)
        graph->SetBlockUpdates(true);

    const auto selectChoices = [&] {
        selectStored(m_colourSpace, preferences.m_Information_Show_Gamut_Colorspace_Type);
        selectStored(m_dicomGraphType, preferences.m_Information_Show_DICOM_GraphType);
        selectStored(m_curveColour, preferences.m_Information_Show_Curves_ShowCurveColor);
    };
    const auto checkBoxes = [&] {
        for (const auto &option : kOptionBoxes)
            (f.*option.box)->setChecked(preferences.*option.stored != 0);
    };
    // The information window sets the choices first, the browser the boxes.
    if (m_flavor == ReportFlavor::InformationWindow) {
        selectChoices();
        checkBoxes();
        f.widget_DICOM_Graph->SetGraphTypeJND_PER_DDL(f.dicom_Graph_JND_PER_DDL_radioButton->isChecked());
    } else {
        checkBoxes();
        selectChoices();
    }

    for (Plotter *graph : graphs)
        graph->SetBlockUpdates(false);
}

void ReportPanel::storeViewOptions(CPreferences &preferences) const
{
    preferences.m_Information_Show_Gamut_Colorspace_Type = quint8(m_colourSpace.checkedId());
    preferences.m_Information_Show_DICOM_GraphType = quint8(m_dicomGraphType.checkedId());
    preferences.m_Information_Show_Curves_ShowCurveColor = quint8(m_curveColour.checkedId());
    for (const auto &option : kOptionBoxes)
        preferences.*option.stored = ((*m_ui).*option.box)->isChecked() ? 1 : 0;
}

void ReportPanel::resetSummary()
{
    for (int i = 0; i < kResetSummaryFieldCount; ++i)
        findChild<QLabel *>(QLatin1String(summaryFieldName(SummaryField(i))))
            ->setText(GetStringResource(kNotAvailable));
    m_ui->summary_White_Point_DeltaE_Warning_Icon->hide();
}

void ReportPanel::blankSummary()
{
    for (int i = 0; i < kSummaryFieldCount; ++i)
        findChild<QLabel *>(QLatin1String(summaryFieldName(SummaryField(i))))
            ->setText(GetStringResource(kNotAvailable));
    m_ui->summary_White_Point_DeltaE_Warning_Icon->hide();
}

void ReportPanel::showReport(const CTargetValue &target, const CAdjustValue &result,
                             const MonitorFacts &monitor)
{
    m_target = target;
    m_result = result;
    resetSummary();

    SummaryInputs in;
    in.target = &m_target;
    in.result = &m_result;
    in.flavor = m_flavor;
    const CPreferences *preferences = pz::applicationPreferences();
    in.primarySourcePreference = preferences ? preferences->m_PrimaryColorSource : kDefaultPrimarySource;
    if (m_flavor == ReportFlavor::InformationWindow)
        in.live = readLiveMonitor(monitor.live,
                                  usesFactoryPrimaries(in.primarySourcePreference, m_result));
    else
        in.snapshot = monitor.snapshot;
    SummaryView view = buildSummary(in);

    for (int i = 0; i < kSummaryFieldCount; ++i)
        findChild<QLabel *>(QLatin1String(summaryFieldName(SummaryField(i))))->setText(view.texts[i]);
    m_ui->summary_White_Point_DeltaE_Warning_Icon->setVisible(view.deltaEWarning);

    Form &f = *m_ui;
    f.color_gamut_Target_gamut_checkBox->setEnabled(view.targetGamutBox);
    f.widget_Color_Gamut_Graph->SetTargetGamutData(view.targetGamutShown, view.targetGamut);
    f.curves_Show_type_Target_checkBox->setEnabled(view.curvesTargetBox);
    f.curves_Show_type_Uncalibrated_checkBox->setEnabled(view.curvesUncalibratedBox);
    f.curves_Show_type_Calibrated_checkBox->setEnabled(view.curvesCalibratedBox);
    f.curves_Show_type_Correction_checkBox->setEnabled(view.curvesCorrectionBox);
    f.widget_Color_Gamut_Graph->SetMonitorData(view.displayGamutValid, view.displayGamut);
    f.color_gamut_Display_gamut_checkBox->setEnabled(view.displayGamutBox);
    f.widget_Color_Gamut_Graph->SetTargetData(view.targetWhiteShown, view.targetWhite);
    f.color_gamut_Target_White_Point_checkBox->setEnabled(view.targetWhiteBox);

    updateCurves();
    updateTracking();
    updateDicom();
}

void ReportPanel::updateCurves()
{
    const Form &f = *m_ui;
    CurveOptions options;
    options.target = f.curves_Show_type_Target_checkBox->isChecked();
    options.calibrated = f.curves_Show_type_Calibrated_checkBox->isChecked();
    options.uncalibrated = f.curves_Show_type_Uncalibrated_checkBox->isChecked();
    options.correction = f.curves_Show_type_Correction_checkBox->isChecked();
    options.channel = m_curveColour.checkedId();
    const CurveList list = buildCurveList(m_target, m_result.m_ColorValue, options);
    if (list.gradientSet)
        f.widget_Curves_Graph->SetGradientColor(list.gradientLow, list.gradientHigh);
    f.widget_Curves_Graph->SetSplines(list.splines, list.pens);
}

void ReportPanel::updateTracking()
{
    const Form &f = *m_ui;
    TrackingView view = buildTracking(m_target, m_result.m_ColorValue,
                                      f.color_tracking_DeltaE_Show_Dark_Values_checkBox->isChecked(),
                                      f.color_tracking_DeltaE_Show_Average_checkBox->isChecked());
    PZ_tracking_graph *graph = f.widget_Color_Tracking_Graph;
    if (view.hasAverage)
        graph->SetAverage(view.average);
    graph->SetShowAverage(view.showAverage);
    f.color_tracking_DeltaE_Value_label->setText(view.averageText);
    f.color_tracking_DeltaE_Maximum_Value_label->setText(view.maximumText);
    graph->SetColorTrackingGraphData(view.deltaE.data(), view.luminance.data(),
                                     unsigned(view.deltaE.size()));
}

void ReportPanel::updateDicom()
{
    const Form &f = *m_ui;
    QLabel *jndIndex = f.dicom_Graph_Contrast_Response_label_2;
    f.dicom_Graph_Contrast_Response_Error_Icon_label->hide();
    if (m_flavor == ReportFlavor::InformationWindow)
        jndIndex->hide();
    else
        jndIndex->setText(QString());

    DicomView view = buildDicom(m_target, m_result.m_ColorValue, tr("%1%"), tr("at JND Index %1"));
    PZ_dicom_graph *graph = f.widget_DICOM_Graph;
    graph->SetDICOMGraphData(view.jndPerDdl.data(), view.jndCount, view.average, view.stdDev,
                             view.intercept, view.slope);
    f.dicom_Graph_JND_PER_DDL_Average_label->setText(view.averageText);
    f.dicom_Graph_JND_PER_DDL_STDDEV_label->setText(view.stdDevText);

    graph->SetDICOMContrastGraphData(view.refMidpoints.data(), view.reference.data(),
                                     view.midpoints.data(), view.measured.data(),
                                     view.deviation.data(), view.contrastCount);
    f.dicom_Graph_Contrast_Response_label_1->setText(view.maxErrorText);
    f.dicom_Graph_Contrast_Response_Error_Icon_label->setVisible(view.errorIcon);
    jndIndex->setText(view.jndIndexText);
    if (m_flavor == ReportFlavor::InformationWindow && !view.jndIndexText.isEmpty())
        jndIndex->show();

    graph->SetGraphTypeJND_PER_DDL(f.dicom_Graph_JND_PER_DDL_radioButton->isChecked());
}
