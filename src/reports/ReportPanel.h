#pragma once
// The report panel: five tabs (Summary, Color Gamut, Curves, Color Tracking,
// DICOM Conformance) that present one calibration, shared by the information
// window and the stored-calibration browser. The form Information_Dialog.ui
// lays it out; this class numbers the radio choices, wires the option
// widgets to the graphs, keeps copies of the shown target and result, fills
// the tabs from them and copies the page in view to the clipboard.
//
// The windows own the panel and forward to it. What differs between them is
// the ReportFlavor given at construction.

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "ReportFlavor.h"

#include <QButtonGroup>
#include <QWidget>

#include <memory>

class CPreferences;
class QAction;
class QTabWidget;
class Plotter;
namespace Ui {
class Information_Dialog;
}

class ReportPanel : public QWidget {
    Q_OBJECT

public:
    // Page indices of the tab widget.
    enum Page { kSummaryPage, kGamutPage, kCurvesPage, kTrackingPage, kDicomPage, kPageCount };

    explicit ReportPanel(ReportFlavor flavor, QWidget *parent = nullptr);
    ~ReportPanel() override;

    ReportFlavor flavor() const { return m_flavor; }
    QTabWidget *tabWidget() const;
    // "&Copy" with its shortcut, added to the tab widget; for context menus.
    QAction *copyAction() const { return m_copyAction; }

    // Copies target and result, fills the Summary and the gamut graph, then
    // the Curves, Color Tracking and DICOM tabs.
    void showReport(const CTargetValue &target, const CAdjustValue &result,
                    const MonitorFacts &monitor);
    const CTargetValue &shownTarget() const { return m_target; }
    const CAdjustValue &shownResult() const { return m_result; }

    // "N/A" in the 22 Summary values a report rewrites; the ΔE sign hidden.
    void resetSummary();
    // "N/A" in every Summary value: what is shown with no calibration.
    void blankSummary();

    // The 24 view options, read with the graphs' redrawing held back. A
    // stored choice without a button (a damaged preferences file) leaves the
    // form's choice.
    void loadViewOptions(const CPreferences &preferences);
    void storeViewOptions(CPreferences &preferences) const;

    // The label of a graph page's picture: the tab text, and on the gamut
    // and DICOM pages " - " and the checked option's text.
    QString pictureLabel(int index) const;

public slots:
    void updateCurves();
    void updateTracking();
    void updateDicom();
    // The Summary as text or a graph page as a picture; any other page
    // index leaves the clipboard alone.
    void copyToClipboard();

private:
    void connectOptions();
    // The gamut graph's title for the CIE 1976 u'v' (uv) or 1931 xy diagram.
    void showGamutTitle(bool uv);
    void setUpGraphs();
    void copySummaryText();
    void copyGraphPicture(int index);
    Plotter *pageGraph(int index) const;

    const ReportFlavor m_flavor;
    std::unique_ptr<Ui::Information_Dialog> m_ui;
    CTargetValue m_target;
    CAdjustValue m_result;
    QButtonGroup m_dicomGraphType;  // JND per DDL 0, contrast response 1
    QButtonGroup m_colourSpace;     // CIE xy 0, CIE u'v' 1
    QButtonGroup m_curveColour;     // all 0, red 1, green 2, blue 3
    QAction *m_copyAction = nullptr;
};
