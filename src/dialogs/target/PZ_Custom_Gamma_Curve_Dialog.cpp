#include "PZ_Custom_Gamma_Curve_Dialog.h"

#include "CTargetValue.h"
#include "CustomCurveFile.h"
#include "Messages.h"
#include "ToneCurves.h"

#include <QFileDialog>
#include <QPen>
#include <QPushButton>
#include <QStringList>
#include <QVector>

PZ_Custom_Gamma_Curve_Dialog::PZ_Custom_Gamma_Curve_Dialog(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(custom_curve_sRGB_pushButton, &QPushButton::clicked, this,
            &PZ_Custom_Gamma_Curve_Dialog::onsRGB_pushButton);
    connect(custom_curve_Lstar_pushButton, &QPushButton::clicked, this,
            &PZ_Custom_Gamma_Curve_Dialog::onLstar_pushButton);
    connect(custom_curve_NTSC_pushButton, &QPushButton::clicked, this,
            &PZ_Custom_Gamma_Curve_Dialog::onNTSC_pushButton);
    connect(custom_curve_SMPTE_240M_pushButton, &QPushButton::clicked, this,
            &PZ_Custom_Gamma_Curve_Dialog::onSMPTE_240M_pushButton);
    connect(custom_curve_Import_pushButton, &QPushButton::clicked, this,
            &PZ_Custom_Gamma_Curve_Dialog::onImport_pushButton);

    PZ_curves_graph *graph = widget_Color_Custom_Curve_Graph;
    graph->SetBlockUpdates(true);
    graph->SetShowXGradient(true);
    graph->SetShowYGradient(true);
    graph->SetGradientColor(Qt::black, Qt::white);
    graph->SetXAxisLabelString(tr("Input Level"));
    graph->SetYAxisLabelString(tr("Output Luminance"));
    graph->SetShowXAxisLabel(true);
    graph->SetShowYAxisLabel(true);
    graph->SetShowUnitLabels(false);
    graph->SetShowGraphLabel(false);
    graph->SetBlockUpdates(false);

    // Qt 6 gives dialogs no context-help button; make sure there is none.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

void PZ_Custom_Gamma_Curve_Dialog::UpdateCurves()
{
    const QPen pen(QBrush(Qt::white), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    widget_Color_Custom_Curve_Graph->SetSplines(QVector<CSpline>{custom_curve},
                                                QVector<QPen>{pen});
}

int PZ_Custom_Gamma_Curve_Dialog::ReadFile(QString fileName, CSpline *spline)
{
    return pz::readCustomCurveFile(fileName, spline);
}

void PZ_Custom_Gamma_Curve_Dialog::setPreset(int (*build)(CSpline *), int subtype)
{
    build(&custom_curve);
    // The builders leave the flag alone; a curve built whole is usable even
    // when the caller handed in one that was not.
    custom_curve.SetValid(true);
    custom_curve_type = subtype;
    UpdateCurves();
}

void PZ_Custom_Gamma_Curve_Dialog::onsRGB_pushButton()
{
    setPreset(CreatesRGBCurveSpline, CTargetValue::kCustomSRGB);
}

void PZ_Custom_Gamma_Curve_Dialog::onLstar_pushButton()
{
    setPreset(CreateLStarCurveSpline, CTargetValue::kCustomLStar);
}

void PZ_Custom_Gamma_Curve_Dialog::onNTSC_pushButton()
{
    setPreset(CreateNTSC_SMPTE170M_CurveSpline, CTargetValue::kCustomNTSC);
}

void PZ_Custom_Gamma_Curve_Dialog::onSMPTE_240M_pushButton()
{
    setPreset(CreateHDTV_SMPTE240M_CurveSpline, CTargetValue::kCustomSMPTE240M);
}

void PZ_Custom_Gamma_Curve_Dialog::onImport_pushButton()
{
    QFileDialog chooser(this);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setNameFilter(tr("Text files (*.txt)"));
    chooser.setViewMode(QFileDialog::Detail);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setWindowTitle(tr("Open Custom Curve Points text file"));
    if (chooser.exec() != QDialog::Accepted)
        return;
    const QStringList files = chooser.selectedFiles();
    if (files.isEmpty())
        return;

    CSpline read;
    const int code = ReadFile(files.first(), &read);
    if (code != 0) {
        DisplayErrorMessage(this, code, false, 0);
        return;
    }
    custom_curve = read;
    custom_curve_type = CTargetValue::kCustomCurve;
    UpdateCurves();
}
