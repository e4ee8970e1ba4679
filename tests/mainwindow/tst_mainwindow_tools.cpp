// The Tools commands: the sensor is told its mode and made ready before the
// colorimeter and the ambient light windows open, the display mode comes back
// after an ambient measurement, and device-change refreshes wait exactly
// while the ambient light and monitor settings windows are open.

#include "DialogWatch.h"
#include "MainWindowRig.h"
#include "PZ_Ambient_Light_Measurement_Dialog.h"
#include "PZ_colorimeter_dialog.h"
#include "pz_color_sensor_setup_dialog.h"
#include "pz_monitor_settings_dialog.h"

#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

// Keeps, in order, what the sensor was told.
class ToolSensor : public StubSensor {
public:
    ToolSensor() : StubSensor(true, true) {}
    QStringList *log = nullptr;
    bool selector = false;

    bool DoesSensorSupportMeasurementSelector() override { return selector; }
    int GetSensorMeasurementSelectorPosition() override { return kSelectorDisplay; }
    int SetSensorMeasurementMode(typeSensorMeasurementMode mode) override
    {
        log->append(QStringLiteral("mode %1").arg(int(mode)));
        return CSensor::SetSensorMeasurementMode(mode);
    }
    int SetScreenType(typeSensorScreen, CTargetDisplay::typeMonitorColorGamutType) override
    {
        log->append(QStringLiteral("screen"));
        return kSensorOK;
    }
};

// A command's window as the test meets it: it is logged, a device change
// arrives while it is open, and it is closed.
template <class T>
struct ToolWindowWatch : DialogWatch<T> {
    ToolWindowWatch(PZ_Main_Dialog &window, QStringList &log)
    {
        this->act = [&window, &log, this](T &d) {
            log.append(QStringLiteral("window"));
            window.usb_device_changed(true);
            countingWhileOpen = window.isRefreshCounting();
            pendingWhileOpen = window.isRefreshPending();
            d.reject();
        };
    }
    bool countingWhileOpen = false;
    bool pendingWhileOpen = false;
};

} // namespace

class tst_MainWindowTools : public QObject {
    Q_OBJECT

    QStringList log;

    ToolSensor *install()
    {
        auto *sensor = new ToolSensor;
        sensor->log = &log;
        sensor->m_ZeroCalibrationDone = true;
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = sensor;   // the selector owns it
        log.clear();
        return sensor;
    }

private slots:
    void colorimeter()
    {
        MainWindowRig rig;
        PZ_Main_Dialog &w = rig.open();
        rig.showActive();
        install();
        ToolWindowWatch<PZ_colorimeter_dialog> watch(w, log);
        w.show_colorimeter_dialog();
        QCOMPARE(log, QStringList({"mode 1", "screen", "window"}));
        // The colorimeter holds no monitor: a refresh may count down meanwhile.
        QVERIFY(watch.countingWhileOpen);
    }

    void colorimeterWithoutSensor()
    {
        MainWindowRig rig;
        PZ_Main_Dialog &w = rig.open();
        delete pTargetSensor->m_pCurrentSensor;
        pTargetSensor->m_pCurrentSensor = nullptr;
        ToolWindowWatch<PZ_colorimeter_dialog> watch(w, log);
        w.show_colorimeter_dialog();
        w.show_Ambient_Light_Measurement_dialog();
        QTest::qWait(50);
        QVERIFY(!watch.shown);
    }

    void ambient()
    {
        MainWindowRig rig;
        PZ_Main_Dialog &w = rig.open();
        rig.showActive();
        install();
        ToolWindowWatch<PZ_Ambient_Light_Measurement_Dialog> watch(w, log);
        w.show_Ambient_Light_Measurement_dialog();
        QCOMPARE(log, QStringList({"mode 2", "window", "mode 1"}));
        QVERIFY(!watch.countingWhileOpen);
        QVERIFY(watch.pendingWhileOpen);
        // The held-back refresh is not lost: it starts once the main window is active again.
        rig.showActive();
        QTRY_VERIFY(w.isRefreshCounting());
    }

    void ambientSetupCancelled()
    {
        MainWindowRig rig;
        PZ_Main_Dialog &w = rig.open();
        rig.showActive();
        ToolSensor *sensor = install();
        sensor->selector = true;   // at the display position: the set-up dialog asks
        DialogWatch<pz_color_sensor_setup_dialog> setup;
        ToolWindowWatch<PZ_Ambient_Light_Measurement_Dialog> watch(w, log);
        w.show_Ambient_Light_Measurement_dialog();
        QVERIFY(setup.shown);
        QVERIFY(!watch.shown);
        QCOMPARE(log, QStringList({"mode 2", "mode 1"}));
        QVERIFY(!w.isRefreshPending());
    }

    void monitorSettings()
    {
        MainWindowRig rig;
        PZ_Main_Dialog &w = rig.open();
        rig.showActive();
        ToolWindowWatch<pz_monitor_settings_dialog> watch(w, log);
        w.monitor_settings_dialog();
        QVERIFY(watch.shown);
        QVERIFY(!watch.countingWhileOpen);
        QVERIFY(watch.pendingWhileOpen);
        rig.showActive();
        QTRY_VERIFY(w.isRefreshCounting());
    }
};

QTEST_MAIN(tst_MainWindowTools)
#include "tst_mainwindow_tools.moc"
