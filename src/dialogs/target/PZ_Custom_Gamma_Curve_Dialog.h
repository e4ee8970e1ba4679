#pragma once
// "Custom Gamma Curve": the editor of a target's custom tone curve. It shows
// the working curve on a tone-curve graph and replaces it with one of four
// standard curves or with a curve read from the user's text file
// (CustomCurveFile.h). The caller sets custom_curve and custom_curve_type,
// calls UpdateCurves, runs exec() and reads both back when accepted; a
// cancelled editor hands nothing back.

#include "CSpline.h"
#include "ui_PZ_Custom_Gamma_Curve_Dialog.h"

#include <QDialog>
#include <QString>

class PZ_Custom_Gamma_Curve_Dialog : public QDialog, public Ui::PZ_Custom_Gamma_Curve_DialogClass {
    Q_OBJECT

public:
    explicit PZ_Custom_Gamma_Curve_Dialog(QWidget *parent = nullptr);

    // Shows custom_curve on the graph (one white pen), which redraws.
    void UpdateCurves();

    // Reads a custom tone-curve text file into spline: 0, or the code of the
    // failure with spline unchanged (pz::readCustomCurveFile).
    static int ReadFile(QString fileName, CSpline *spline);

    // The working curve and its subtype (CTargetValue's custom curve
    // codes: 1 sRGB, 2 NTSC, 3 SMPTE-240M, 4 L*, 5 read from a file).
    CSpline custom_curve;
    int custom_curve_type = 0;

public slots:
    void onsRGB_pushButton();
    void onLstar_pushButton();
    void onNTSC_pushButton();
    void onSMPTE_240M_pushButton();
    // Asks for a text file and reads it; a failure is shown and changes
    // nothing, as does a cancelled file dialog.
    void onImport_pushButton();

private:
    void setPreset(int (*build)(CSpline *), int subtype);
};
