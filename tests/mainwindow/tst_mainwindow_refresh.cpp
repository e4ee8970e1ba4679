// The main window's device-change refresh: notices folded into one
// refresh after the delay, held back while blocked, before the start-up
// and without an active window, and released afterwards.

#include "MainWindowRig.h"

#include "DisplayChanges.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pz::test;

namespace {

const int kShortDelayMs = 30;

// Each refresh enumerates the desktop twice (EnumerateDesktop and
// AutoEnumerate); the spy counts enumerations.
int refreshes(const QSignalSpy &enumerations)
{
    return int(enumerations.count()) / 2;
}

// Lets a countdown of the short delay run out several times over.
void outwait()
{
    QTest::qWait(kShortDelayMs * 5);
}

} // namespace

class tst_MainWindowRefresh : public QObject {
    Q_OBJECT

private slots:
    void noticesRestartTheFullDelay();
    void fiveNoticesGiveOneRefresh();
    void nothingWhileBlockedThenOneRefresh();
    void blockingStopsARunningCountdown();
    void activationReleasesAPendingRefresh();
    void noticesBeforeTheStartupAreHeld();
    void aDisplayAddedAfterStartupAppears();
};

void tst_MainWindowRefresh::noticesRestartTheFullDelay()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    rig.showActive();
    pz::displayChanges().notify();
    QVERIFY(w.isRefreshCounting());
    QTimer *timer = w.findChild<QTimer *>();
    QVERIFY(timer && timer->isSingleShot());
    QCOMPARE(timer->interval(), 4000);
    QTest::qWait(100);
    const int left = timer->remainingTime();
    QVERIFY(left > 0 && left < 4000);
    pz::displayChanges().notify();
    QVERIFY(timer->remainingTime() > left);
    QVERIFY(!w.isRefreshPending());
}

void tst_MainWindowRefresh::fiveNoticesGiveOneRefresh()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.setDeviceChangeDelay(kShortDelayMs);
    rig.showActive();
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(), &CMultiMonitor::monitorDetectionComplete);
    for (int i = 0; i < 5; ++i)
        pz::displayChanges().notify();
    QCOMPARE(refreshes(enumerations), 0);
    QTRY_COMPARE(refreshes(enumerations), 1);
    outwait();
    QCOMPARE(refreshes(enumerations), 1);
}

void tst_MainWindowRefresh::nothingWhileBlockedThenOneRefresh()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.setDeviceChangeDelay(kShortDelayMs);
    rig.showActive();
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(), &CMultiMonitor::monitorDetectionComplete);

    // Unblocking with nothing pending starts nothing.
    w.block_unblock_usb_update(true);
    w.block_unblock_usb_update(false);
    QVERIFY(!w.isRefreshCounting());

    w.block_unblock_usb_update(true);
    w.usb_device_changed(false);
    pz::displayChanges().notify();
    QVERIFY(!w.isRefreshCounting());
    QVERIFY(w.isRefreshPending());
    outwait();
    QCOMPARE(refreshes(enumerations), 0);

    w.block_unblock_usb_update(false);
    QVERIFY(w.isRefreshCounting());
    QVERIFY(!w.isRefreshPending());
    QTRY_COMPARE(refreshes(enumerations), 1);
    outwait();
    QCOMPARE(refreshes(enumerations), 1);
}

void tst_MainWindowRefresh::blockingStopsARunningCountdown()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.setDeviceChangeDelay(kShortDelayMs);
    rig.showActive();
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(), &CMultiMonitor::monitorDetectionComplete);

    pz::displayChanges().notify();
    QVERIFY(w.isRefreshCounting());
    w.block_unblock_usb_update(true);
    QVERIFY(!w.isRefreshCounting());
    QVERIFY(w.isRefreshPending());
    outwait();
    QCOMPARE(refreshes(enumerations), 0);
    // The monitor object the blocked operation holds is still the same.
    CDDCMonitor *held = rig.controller->GetTargetDisplay()->m_pDDCMonitor;
    w.update_on_device_changed(); // even a stray expiry refreshes nothing
    QCOMPARE(rig.controller->GetTargetDisplay()->m_pDDCMonitor, held);
    QCOMPARE(refreshes(enumerations), 0);

    w.block_unblock_usb_update(false);
    QTRY_COMPARE(refreshes(enumerations), 1);
}

void tst_MainWindowRefresh::activationReleasesAPendingRefresh()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.setDeviceChangeDelay(kShortDelayMs);
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(), &CMultiMonitor::monitorDetectionComplete);

    QVERIFY(!QApplication::activeWindow());
    pz::displayChanges().notify();
    QVERIFY(!w.isRefreshCounting());
    QVERIFY(w.isRefreshPending());
    outwait();
    QCOMPARE(refreshes(enumerations), 0);

    rig.showActive();
    QTRY_COMPARE(refreshes(enumerations), 1);
    QVERIFY(!w.isRefreshPending());
}

void tst_MainWindowRefresh::noticesBeforeTheStartupAreHeld()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    w.setDeviceChangeDelay(kShortDelayMs);
    rig.showActive();
    QSignalSpy enumerations(rig.controller->GetMultiMonitor(), &CMultiMonitor::monitorDetectionComplete);

    pz::displayChanges().notify();
    QVERIFY(!w.isRefreshCounting());
    QVERIFY(w.isRefreshPending());
    outwait();
    QCOMPARE(enumerations.count(), 0);

    rig.open(); // detects (one enumeration pair), then the start-up's fill
    QCOMPARE(refreshes(enumerations), 1);
    QVERIFY(w.isRefreshCounting());
    QTRY_COMPARE(refreshes(enumerations), 2);
}

void tst_MainWindowRefresh::aDisplayAddedAfterStartupAppears()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    w.setDeviceChangeDelay(kShortDelayMs);
    rig.showActive();
    QCOMPARE(w.main_Display_comboBox->count(), 2);

    pz::SimMonitorConfig config = hxConfig(QStringLiteral("SIM0002"));
    rig.desktop->addMonitor(3, QRectF(3840, 0, 1920, 1080), config);
    rig.desktop->plugBridge(3);
    QVERIFY(w.isRefreshCounting());
    QTRY_COMPARE(w.main_Display_comboBox->count(), 3);
    QTRY_COMPARE(w.main_Display_comboBox->itemText(2), QStringLiteral("Display 3 - HXSIM24"));
    // The current display is still the first usable one, with its monitor.
    QCOMPARE(w.main_Display_comboBox->currentIndex(), 0);
    QVERIFY(rig.controller->GetTargetDisplay()->m_pDDCMonitor);

    rig.desktop->removeDisplay(3);
    QTRY_COMPARE(w.main_Display_comboBox->count(), 2);
}

QTEST_MAIN(tst_MainWindowRefresh)
#include "tst_mainwindow_refresh.moc"
