#pragma once
// The information window: the one non-modal tool window that reports the
// selected display's current target and calibration on the report panel's
// five tabs. The main window creates it once, fills it through UpdateData,
// closes it before a measurement and shows it again afterwards.
//
// It keeps its position and the panel's 24 view options in the preferences:
// both are read when it is built (the position again on every show) and
// stored when it is closed. Closing hides the window; it keeps its report.

#include <QDialog>
#include <QString>

class CAdjustValue;
class CDDCMonitor;
class CTargetValue;
class ReportPanel;

class PZ_Information_Dialog : public QDialog {
    Q_OBJECT

public:
    explicit PZ_Information_Dialog(QWidget *parent = nullptr);

    // Titles the window "Information: <display> / <target>" and reports the
    // target and result (copied; null gives an empty record) with what the
    // live monitor tells (monitor may be null).
    void UpdateData(QString displayName, CTargetValue *target, CAdjustValue *result,
                    CDDCMonitor *monitor);
    // "N/A" in the Summary values.
    void reset_ui();
    // Moves the window to its stored position when it lies on a screen.
    void readPositionSettings();

    ReportPanel *panel() const { return m_panel; }

public slots:
    void UpdateCurves();
    void UpdateTracking();
    void UpdateDICOM();
    void copyToClipboard();

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    ReportPanel *m_panel = nullptr;
};
