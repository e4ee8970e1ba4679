#include "PZ_Information_Dialog.h"

#include "CAdjustValue.h"
#include "CPreferences.h"
#include "CTargetValue.h"
#include "PreferencesRegistry.h"
#include "ReportPanel.h"
#include "StringResources.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const unsigned kInformationTitle = 501; // "Information: "

// The stored x of a window the user never placed.
const int kNeverPlaced = 99999;

const QSize kInitialSize(690, 635);

} // namespace

PZ_Information_Dialog::PZ_Information_Dialog(QWidget *parent) : QDialog(parent)
{
    m_panel = new ReportPanel(ReportFlavor::InformationWindow, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);

    setWindowFlags(Qt::Tool);
    setWindowTitle(QCoreApplication::translate("Information_Dialog", "Information"));
    setWindowIcon(QIcon(QStringLiteral(":/images/Resources/orvane icon.png")));
    setSizeGripEnabled(true);
    resize(kInitialSize);

    readPositionSettings();
    if (const CPreferences *preferences = pz::applicationPreferences())
        m_panel->loadViewOptions(*preferences);

    reset_ui();
    UpdateDICOM();
}

void PZ_Information_Dialog::UpdateData(QString displayName, CTargetValue *target,
                                       CAdjustValue *result, CDDCMonitor *monitor)
{
    const CTargetValue shownTarget = target ? *target : CTargetValue();
    setWindowTitle(GetStringResource(kInformationTitle) + displayName + QStringLiteral(" / ")
                   + shownTarget.m_Name);
    m_panel->showReport(shownTarget, result ? *result : CAdjustValue(), MonitorFacts{monitor, {}});
}

void PZ_Information_Dialog::reset_ui()
{
    m_panel->resetSummary();
}

void PZ_Information_Dialog::readPositionSettings()
{
    const CPreferences *preferences = pz::applicationPreferences();
    if (!preferences)
        return;
    const QPoint stored = preferences->m_InformationWindowPosition;
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (stored.x() != kNeverPlaced) {
        // A display that has gone away takes its stored position with it.
        if (!pz::availableAreaAt(stored).isEmpty())
            pz::placeAtFrame(*this, stored, owner);
        return;
    }
    // Never placed by the user: beside the main window rather than over it,
    // where its screen has room; else over it.
    if (!owner || !owner->isVisible())
        return;
    const QSize frame = size() + pz::frameExtra(*this, owner);
    if (const std::optional<QPoint> beside = pz::besideWindow(*owner, frame))
        pz::placeFrameWhenShown(*this, *beside, pz::availableAreaOf(owner));
    else
        pz::placeOverParent(*this, owner);
}

void PZ_Information_Dialog::UpdateCurves()
{
    m_panel->updateCurves();
}

void PZ_Information_Dialog::UpdateTracking()
{
    m_panel->updateTracking();
}

void PZ_Information_Dialog::UpdateDICOM()
{
    m_panel->updateDicom();
}

void PZ_Information_Dialog::copyToClipboard()
{
    m_panel->copyToClipboard();
}

void PZ_Information_Dialog::closeEvent(QCloseEvent *event)
{
    if (CPreferences *preferences = pz::applicationPreferences()) {
        // A window at the screen's edge keeps the position stored before.
        if (pos().x() != 0 && pos().y() != 0)
            preferences->SetInformationWindowPosition(pos());
        m_panel->storeViewOptions(*preferences);
    }
    event->accept();
}

void PZ_Information_Dialog::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(m_panel->copyAction());
    menu.exec(event->globalPos());
}

void PZ_Information_Dialog::showEvent(QShowEvent *event)
{
    readPositionSettings();
    QDialog::showEvent(event);
}
