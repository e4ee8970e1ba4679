#include "PZ_restore_monitor_settings_dialog.h"

#include "CDDCMonitor.h"
#include "CTargetDisplay.h"
#include "CheckRestoreMonitorSettingsThread.h"
#include "StringResources.h"
#include "WindowPlacement.h"
#include "ui_PZ_restore_monitor_settings_dialog.h"

#include <QLayout>
#include <QPainter>

PZ_restore_monitor_settings_dialog::PZ_restore_monitor_settings_dialog(
    QWidget *parent, CTargetDisplay *display, CTargetValue *target, CAdjustValue *result,
    typeRestoreFunction function, QString name)
    : QDialog(parent), ui(std::make_unique<Ui::PZ_restore_monitor_settings_dialogClass>()),
      m_Target(target), m_Result(result)
{
    ui->setupUi(this);
    // No frame of the window manager's: a title bar always carries buttons
    // (some window managers draw close and maximize whatever the hints ask),
    // and the box can honour none of them. It draws its own border.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    m_Thread = new CheckRestoreMonitorSettingsThread(parent);
    m_Thread->SetObjects(display, target, result);

    // The monitor object lives on this thread but reports from the worker,
    // and Finished comes from the worker: both are queued.
    m_Monitor = display ? display->m_pDDCMonitor : nullptr;
    if (m_Monitor)
        connect(m_Monitor, &CDDCMonitor::Broadcast_MessageOut, this,
                &PZ_restore_monitor_settings_dialog::Broadcast_MessageIn, Qt::QueuedConnection);
    connect(m_Thread, &CheckRestoreMonitorSettingsThread::Finished, this, &QDialog::done,
            Qt::QueuedConnection);

    setWindowTitle(GetStringResource(1));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    pz::placeOverParent(*this, parent);

    if (name.isEmpty() && m_Monitor)
        name = m_Monitor->GetMonitorModelName();
    if (function == kRestoreSettings) {
        ui->restore_settings_progress_text_label->setText(GetStringResource(701).arg(name));
        // Busy until the monitor announces how many steps there are.
        ui->restore_settings_progressBar->setMaximum(0);
    } else {
        ui->restore_settings_progress_text_label->setText(GetStringResource(702).arg(name));
    }

    m_Thread->begin(unsigned(function));
}

PZ_restore_monitor_settings_dialog::~PZ_restore_monitor_settings_dialog()
{
    delete m_Thread;
}

void PZ_restore_monitor_settings_dialog::Broadcast_MessageIn(uint type, uint value)
{
    switch (type) {
    case 1:
        ui->restore_settings_progressBar->setValue(ui->restore_settings_progressBar->value() + 1);
        break;
    case 2:
        ui->restore_settings_progressBar->setMaximum(int(value));
        ui->restore_settings_progressBar->setValue(0);
        break;
    case 3:
        ui->restore_settings_progress_text_percentage_label->setText(GetStringResource(value));
        break;
    default:
        break;
    }
}

void PZ_restore_monitor_settings_dialog::reject() {}

void PZ_restore_monitor_settings_dialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
