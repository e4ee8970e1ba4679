#include "PZ_Open_MCS_File_Dialog.h"

#include "ui_PZ_Open_MCS_File_DialogClass.h"

#include "AppGlobals.h"
#include "CAdjustValue.h"
#include "CDDCMonitor.h"
#include "CPreferences.h"
#include "CTargetDisplay.h"
#include "CTargetValue.h"
#include "CalibrationSettingsFile.h"
#include "MasterControl.h"
#include "PreferencesRegistry.h"
#include "ReportPanel.h"
#include "SystemFolders.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

namespace {

// Columns of the list model.
enum Column { kTargetNameColumn, kDateColumn, kMonitorColumn, kPathColumn, kColumnCount };

// Extra height beyond the minimum, in lines of the dialog's font, so that
// the list shows a few rows.
const int kExtraLines = 10;

// Hours and firmware of the target display's monitor, read once.
void readTargetMonitor(MonitorSnapshot &snapshot)
{
    CDDCMonitor *monitor = pMasterControl ? pMasterControl->GetTargetDisplay()->m_pDDCMonitor : nullptr;
    if (!monitor)
        return;
    double hours = -1.0;
    snapshot.hours = monitor->GetPowerOnHours(&hours) == 0 ? hours : -1.0;
    snapshot.firmware = monitor->GetMonitorMPUVersion();
}

} // namespace

PZ_Open_MCS_File_Dialog::PZ_Open_MCS_File_Dialog(unsigned long vendorProductId, QString serial,
                                                 QString modelName, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::PZ_Open_MCS_File_DialogClass>())
{
    m_ui->setupUi(this);
    m_panel = new ReportPanel(ReportFlavor::Browser, m_ui->splitter);
    m_ui->splitter->addWidget(m_panel);

    readTargetMonitor(m_monitor);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_monitor.vendorProductId = quint32(vendorProductId);
    m_monitor.serial = serial;
    m_serial = serial;
    m_modelName = modelName;

    QTreeView *view = m_ui->treeView;
    view->setRootIsDecorated(false);
    view->setAlternatingRowColors(true);
    // Sorting on before the model comes, so the view sorts it from the start.
    view->setSortingEnabled(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(createModel(this));
    view->hideColumn(kPathColumn);
    view->hideColumn(kMonitorColumn);

    // The browser reads the information window's view options, never stores them.
    if (const CPreferences *preferences = pz::applicationPreferences())
        m_panel->loadViewOptions(*preferences);

    view->header()->setSectionResizeMode(QHeaderView::Stretch);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PZ_Open_MCS_File_Dialog::currentChanged);
    enableOpen(false);
    connect(m_ui->show_only_current_monitor_checkBox, &QCheckBox::toggled, this,
            &PZ_Open_MCS_File_Dialog::show_only_current_monitor);
    show_only_current_monitor(m_ui->show_only_current_monitor_checkBox->isChecked());

    showNoRecords();
    view->setCurrentIndex(view->model()->index(0, 0));

    // No help button: cleared, not toggled, so it never gets switched on.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const QSize minimum = minimumSizeHint();
    resize(minimum.width(), minimum.height() + kExtraLines * QFontMetrics(font()).height());
}

PZ_Open_MCS_File_Dialog::~PZ_Open_MCS_File_Dialog() = default;

QSortFilterProxyModel *PZ_Open_MCS_File_Dialog::createModel(QObject *parent)
{
    auto *source = new QStandardItemModel(0, kColumnCount, parent);
    source->setHeaderData(kTargetNameColumn, Qt::Horizontal, QObject::tr("Target Name"), Qt::EditRole);
    source->setHeaderData(kDateColumn, Qt::Horizontal, QObject::tr("Calibration Date"), Qt::EditRole);
    source->setHeaderData(kMonitorColumn, Qt::Horizontal, QString(), Qt::EditRole);
    source->setHeaderData(kPathColumn, Qt::Horizontal, QString(), Qt::EditRole);

    m_listModel = new QSortFilterProxyModel(this);
    m_listModel->setDynamicSortFilter(true);
    m_listModel->setSourceModel(source);
    m_listModel->setFilterKeyColumn(kMonitorColumn);
    populate(source);
    return m_listModel;
}

void PZ_Open_MCS_File_Dialog::populate(QStandardItemModel *source)
{
    // An empty path would list the working directory: no folder, no rows.
    const QString folder = GetMCSFolder(true);
    if (folder.isEmpty())
        return;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*.mcs")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                                   QDir::Size | QDir::Reversed);
    for (const QFileInfo &entry : entries) {
        CTargetValue target;
        CAdjustValue result;
        if (pz::ReadCalibrationSettingsFile(entry.absoluteFilePath(), target, result) != 0)
            continue;
        addData(source, target.m_Name, entry.absoluteFilePath(), result.m_CalibrationDateTime,
                result.GetMonitorName(), result.GetMonitorSerial());
    }
}

void PZ_Open_MCS_File_Dialog::addData(QStandardItemModel *source, const QString &targetName,
                                      const QString &path, const QDateTime &date,
                                      const QString &modelName, const QString &serial)
{
    // One whole row into the source model: the sorted proxy sees it complete.
    QList<QStandardItem *> row;
    for (const QVariant &value :
         {QVariant(targetName), QVariant(date), QVariant(modelName + serial), QVariant(path)}) {
        auto *item = new QStandardItem;
        item->setData(value, Qt::EditRole);
        row.append(item);
    }
    source->insertRow(0, row);
}

void PZ_Open_MCS_File_Dialog::show_only_current_monitor(bool only)
{
    m_listModel->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_listModel->setFilterFixedString(only ? m_modelName + m_serial : QString());
}

QString PZ_Open_MCS_File_Dialog::GetSelectedMCSFileName() const
{
    const QModelIndex current = m_ui->treeView->currentIndex();
    if (!current.isValid())
        return QString();
    return current.sibling(current.row(), kPathColumn).data().toString();
}

void PZ_Open_MCS_File_Dialog::currentChanged(const QModelIndex &current, const QModelIndex &)
{
    const QString path =
        current.isValid() ? current.sibling(current.row(), kPathColumn).data().toString() : QString();
    CTargetValue target;
    CAdjustValue result;
    if (!path.isEmpty() && pz::ReadCalibrationSettingsFile(path, target, result) == 0) {
        showRecords(target, result);
        enableOpen(belongsToMonitor(result, m_monitor.vendorProductId, m_monitor.serial));
    } else {
        showNoRecords();
        enableOpen(false);
    }
}

void PZ_Open_MCS_File_Dialog::showRecords(const CTargetValue &target, const CAdjustValue &result)
{
    m_recordsShown = true;
    m_panel->showReport(target, result, MonitorFacts{nullptr, m_monitor});
}

void PZ_Open_MCS_File_Dialog::showNoRecords()
{
    showRecords(CTargetValue(), CAdjustValue());
    m_panel->blankSummary();
    m_recordsShown = false;
}

void PZ_Open_MCS_File_Dialog::UpdateData()
{
    if (!m_recordsShown) {
        showNoRecords();
        return;
    }
    const CTargetValue target = m_panel->shownTarget();
    const CAdjustValue result = m_panel->shownResult();
    showRecords(target, result);
}

void PZ_Open_MCS_File_Dialog::enableOpen(bool enable)
{
    m_ui->buttonBox->button(QDialogButtonBox::Open)->setEnabled(enable);
}

void PZ_Open_MCS_File_Dialog::UpdateCurves()
{
    m_panel->updateCurves();
}

void PZ_Open_MCS_File_Dialog::UpdateTracking()
{
    m_panel->updateTracking();
}

void PZ_Open_MCS_File_Dialog::UpdateDICOM()
{
    m_panel->updateDicom();
}

void PZ_Open_MCS_File_Dialog::copyToClipboard()
{
    m_panel->copyToClipboard();
}

void PZ_Open_MCS_File_Dialog::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(m_panel->copyAction());
    menu.exec(event->globalPos());
}
