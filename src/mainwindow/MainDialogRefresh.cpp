// Device changes and the start-up slots of the main window.
//
// A change notice starts (or restarts) a single-shot countdown; when it
// ends, the monitors are enumerated again and the display list rebuilt.
// The refresh replaces the target display's monitor object, so it never
// runs while a modal operation holds that object (blocked), nor before the
// start-up has filled the lists; notices that arrive then are remembered as
// pending and released afterwards. Without an active window of the
// application they are remembered too, and released on activation.

#include "PZ_Main_Dialog.h"

#include "AppGlobals.h"
#include "CMonAPIDummy.h"
#include "MasterControl.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

void PZ_Main_Dialog::usb_device_changed(bool)
{
    if (!m_refreshBlocked && m_startupComplete && QApplication::activeWindow()) {
        m_RefreshTimer->start(m_deviceChangeDelayMs);
        m_refreshPending = false;
    } else {
        m_refreshPending = true;
    }
}

void PZ_Main_Dialog::block_unblock_usb_update(bool block)
{
    m_refreshBlocked = block;
    if (block) {
        // A countdown that ran on would replace the monitor object under the
        // operation that starts now.
        if (m_RefreshTimer->isActive()) {
            m_RefreshTimer->stop();
            m_refreshPending = true;
        }
    } else if (m_refreshPending) {
        usb_device_changed(true);
    }
}

bool PZ_Main_Dialog::isRefreshCounting() const
{
    return m_RefreshTimer->isActive();
}

void PZ_Main_Dialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && QApplication::activeWindow()
        && m_refreshPending)
        usb_device_changed(true);
    QMainWindow::changeEvent(event);
}

void PZ_Main_Dialog::update_on_device_changed()
{
    if (m_refreshBlocked || !m_startupComplete) {
        m_refreshPending = true;
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (pMasterControl) {
        CMultiMonitor *monitors = pMasterControl->GetMultiMonitor();
        monitors->EnumerateDesktop();
        monitors->AutoEnumerate();
        monitors->RepopulateWithDDCCIData();
    }
    CreateDisplayList();
    QApplication::restoreOverrideCursor();
    onDisplaySelectionChanged(main_Display_comboBox->currentIndex());
}

void PZ_Main_Dialog::startup_complete()
{
    if (pCMonAPIDummy)
        pCMonAPIDummy->m_USBBridges.EnumerateDevices();
    updateInformationWindow();
    UpdateCalibrationStatus();
    updateControlsStatus();
    CreateDisplayList();
    onDisplaySelectionChanged(main_Display_comboBox->currentIndex());

    m_startupComplete = true;
    if (m_refreshPending)
        usb_device_changed(true);
}
