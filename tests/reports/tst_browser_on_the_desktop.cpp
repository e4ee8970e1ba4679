// The stored-calibration browser in the running application: it reads the
// power-on hours and the firmware of the target display's monitor once, and
// shows them for a calibration of that monitor only.

#include "PZ_Open_MCS_File_Dialog.h"
#include "ReportFixture.h"
#include "ReportPanel.h"

#include "CDDCMonitor.h"
#include "CTargetDisplay.h"
#include "CalibrationSettingsFile.h"
#include "ControllerRig.h"

#include <QLabel>
#include <QTreeView>
#include <QtTest>

using namespace pz::test;

namespace {

QString labelText(const QWidget &window, const char *name)
{
    return window.findChild<QLabel *>(QLatin1String(name))->text();
}

} // namespace

class TestBrowserOnTheDesktop : public QObject {
    Q_OBJECT

private slots:
    void monitorInUseReadOnce()
    {
        ControllerRig rig;
        MasterControl &controller = rig.start();
        QVERIFY(rig.waitOpened(controller));
        CDDCMonitor *monitor = controller.GetTargetDisplay()->m_pDDCMonitor;
        QVERIFY(monitor);
        ulong id = 0;
        QCOMPARE(monitor->GetMonitorVendorProductID(&id), 0);
        const QString serial = monitor->GetMonitorSerialNumber();
        const QString model = monitor->GetMonitorModelName();
        double hours = -1.0;
        QCOMPARE(monitor->GetPowerOnHours(&hours), 0);

        // One calibration of this monitor, one of the same monitor under
        // another id.
        const CTargetValue target = gammaTarget();
        CAdjustValue result = simulatedCalibration(target);
        result.SetMonitorName(model);
        result.SetMonitorSerial(serial);
        result.SetIsHoursOnWhenCalibrated(hours - 25.0);
        result.m_MonitorVendorProductID = quint32(id);
        const QString folder = GetMCSFolder(true);
        QCOMPARE(pz::WriteCalibrationSettingsFile(folder + QStringLiteral("mine.mcs"), target, result), 0);
        result.m_MonitorVendorProductID = quint32(id) + 1;
        QCOMPARE(pz::WriteCalibrationSettingsFile(folder + QStringLiteral("other.mcs"), target, result), 0);

        PZ_Open_MCS_File_Dialog dialog(id, serial, model);
        QTreeView *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
        QCOMPARE(view->model()->rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            view->setCurrentIndex(view->model()->index(row, 0));
            const bool mine = dialog.GetSelectedMCSFileName().endsWith(QLatin1String("mine.mcs"));
            QCOMPARE(labelText(dialog, "summary_Display_Firmware_Version"),
                     mine ? monitor->GetMonitorMPUVersion() : QStringLiteral("N/A"));
            const QString usage = labelText(dialog, "summary_Display_Current_Usage");
            if (mine) {
                QVERIFY2(usage.endsWith(QLatin1String(" hours usage")), qPrintable(usage));
                QVERIFY(usage.section(QLatin1Char(' '), 0, 0).toDouble() >= hours);
                QCOMPARE(labelText(dialog, "summary_Display_Last_Calibration"),
                         QStringLiteral("%1 hours usage ago")
                             .arg(usage.section(QLatin1Char(' '), 0, 0).toDouble() - (hours - 25.0), 0, 'f', 1));
            } else {
                QCOMPARE(usage, QStringLiteral("N/A"));
            }
        }
    }
};

QTEST_MAIN(TestBrowserOnTheDesktop)
#include "tst_browser_on_the_desktop.moc"
