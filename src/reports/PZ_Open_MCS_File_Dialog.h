#pragma once
// The stored-calibration browser: a modal dialog that lists the
// calibration-settings files (.mcs) of the Calibration Settings folder,
// shows the report of the one current in the list and hands its path back
// to the caller. It reads files only; it writes no file, no preference and
// nothing to the monitor.
//
// The list shows, per readable file, the target name and the calibration
// date; by default only the calibrations whose stored model name and serial
// contain those of the monitor in use (letter case ignored). Open is enabled
// only for a file made on the monitor in use: the same vendor-product id and
// the same serial ignoring letter case.

#include "ReportFlavor.h"

#include <QDialog>
#include <QModelIndex>
#include <QString>

#include <memory>

class CAdjustValue;
class CTargetValue;
class QDateTime;
class QSortFilterProxyModel;
class QStandardItemModel;
class ReportPanel;
namespace Ui {
class PZ_Open_MCS_File_DialogClass;
}

class PZ_Open_MCS_File_Dialog : public QDialog {
    Q_OBJECT

public:
    // The vendor-product id, serial and model name of the monitor in use.
    PZ_Open_MCS_File_Dialog(unsigned long vendorProductId, QString serial, QString modelName,
                            QWidget *parent = nullptr);
    ~PZ_Open_MCS_File_Dialog() override;

    // The absolute path of the current row's file; empty without a current row.
    QString GetSelectedMCSFileName() const;
    // Shows the report of the shown target and result again.
    void UpdateData();

    ReportPanel *panel() const { return m_panel; }

public slots:
    // Reads the current row's file again and shows it; decides Open.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous);
    void UpdateCurves();
    void UpdateTracking();
    void UpdateDICOM();
    // true lists the monitor in use's calibrations only, false every one.
    void show_only_current_monitor(bool only);
    void copyToClipboard();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QSortFilterProxyModel *createModel(QObject *parent);
    void populate(QStandardItemModel *source);
    void addData(QStandardItemModel *source, const QString &targetName, const QString &path,
                 const QDateTime &date, const QString &modelName, const QString &serial);
    void showRecords(const CTargetValue &target, const CAdjustValue &result);
    // Blank records, every Summary value not available: nothing selected.
    void showNoRecords();
    void enableOpen(bool enable);

    std::unique_ptr<Ui::PZ_Open_MCS_File_DialogClass> m_ui;
    ReportPanel *m_panel = nullptr;
    QSortFilterProxyModel *m_listModel = nullptr;
    QString m_serial;
    QString m_modelName;
    // Identity of the monitor in use, with its hours and firmware read once.
    MonitorSnapshot m_monitor;
    // A calibration is shown (else the blank report of no selection).
    bool m_recordsShown = false;
};
