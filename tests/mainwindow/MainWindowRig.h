#pragma once
// The main window on the simulated desktop, in a temporary XDG home, on the
// virtual clock: the controller is built as main builds it, the detection
// runs in the test's thread (detect()), and open() creates the main window
// and the information window and announces the end of the start-up as the
// controller does. Fixtures (tracker records, target and settings files)
// go in before open().

#include "AppGlobals.h"
#include "CMonAPIDummy.h"
#include "CTargetSensor.h"
#include "Clock.h"
#include "HostSystem.h"
#include "MasterControl.h"
#include "PZ_Information_Dialog.h"
#include "PZ_Main_Dialog.h"
#include "Resources.h"
#include "SimDesktop.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace pz::test {

// A sensor double for the enable table: connected or not, with or without
// ambient readings.
class StubSensor : public CSensor {
public:
    StubSensor(bool connected, bool ambient) : m_ambient(ambient) { m_Connected = connected; }

    QString GetModelName() override { return QStringLiteral("Stub"); }
    QString GetSerialNumber() override { return QString(); }
    void Settings() override {}
    int IsValidSettings() override { return 0; }
    void SetSync(double) override {}
    int DetectVerticalScanningFrequency() override { return 0; }
    bool DoesSupportAmbientLightMeasurement() override { return m_ambient; }
    int MeasureAmbientLight() override { return kSensorRefused; }
    int ZeroCal() override { return kSensorOK; }
    int Measure(unsigned) override { return kSensorRefused; }
    int GetXYZData(CCIEXYZ &) override { return kSensorRefused; }
    int SetScreenType(typeSensorScreen, CTargetDisplay::typeMonitorColorGamutType) override
    {
        return kSensorOK;
    }
    int GetSensorPhyscalData(sensor_physical_data &) override { return 0; }

private:
    bool m_ambient;
};

// Desktops of the tests. The HX monitors have their bridges plugged in
// unless said otherwise.
inline SimMonitorConfig hxConfig(const QString &serial)
{
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.serial = serial;
    return config;
}

// [plain display, HX SIM0001, HX SIM0002]
inline std::unique_ptr<SimDesktop> plainAndTwoHx()
{
    auto d = std::make_unique<SimDesktop>();
    d->addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
    d->addMonitor(2, QRectF(1920, 0, 1920, 1080), hxConfig(QStringLiteral("SIM0001")));
    d->plugBridge(2);
    d->addMonitor(3, QRectF(3840, 0, 1920, 1080), hxConfig(QStringLiteral("SIM0002")));
    d->plugBridge(3);
    return d;
}

struct MainWindowRig {
    explicit MainWindowRig(std::unique_ptr<SimDesktop> desk = SimDesktop::demo())
        : clockScope(&clock), desktop(std::move(desk))
    {
        pz::initResources();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        desktop->install();
        controller = std::make_unique<MasterControl>();
        pMasterControl = controller.get();
    }
    ~MainWindowRig()
    {
        destroyWindow();
        controller.reset();
        pMasterControl = nullptr;
        desktop->uninstall();
    }

    // What the monitor detection thread does.
    void detect()
    {
        pCMonAPIDummy->EnumerateInterfaces(1, 0);
        CMultiMonitor *monitors = controller->GetMultiMonitor();
        monitors->EnumerateDesktop();
        monitors->AutoEnumerate();
        monitors->RepopulateWithDDCCIData();
    }

    // Builds the window (the constructor's first fill) without the
    // start-up's display list.
    PZ_Main_Dialog &build()
    {
        window = new PZ_Main_Dialog;
        information_window = new PZ_Information_Dialog(window);
        return *window;
    }

    void destroyWindow()
    {
        delete window;
        window = nullptr;
        information_window = nullptr;
    }

    // detect(), build(), then the end of the start-up as the controller
    // announces it.
    PZ_Main_Dialog &open()
    {
        detect();
        if (!window)
            build();
        controller->GetTargetDisplay()->SetMonitorData(controller->GetMultiMonitor()->GetMonitorData(0));
        emit controller->startup_complete();
        return *window;
    }

    void showActive()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    // A file where the data folder should be: no Targets or Calibration
    // Settings folder can be made.
    bool blockDataFolder()
    {
        QFile blocker(home.filePath("blocked"));
        if (!blocker.open(QIODevice::WriteOnly))
            return false;
        blocker.close();
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("blocked")));
        return true;
    }
    QString targetsFolder() const { return GetTargetsFolder(true); }
    QString settingsFolder() const { return GetMCSFolder(true); }
    PZ_Information_Dialog *information() const
    {
        return qobject_cast<PZ_Information_Dialog *>(information_window);
    }

    QTemporaryDir home;
    VirtualClock clock;
    ScopedClock clockScope;
    ScopedHostSystem host{platformHostSystem()};
    std::unique_ptr<SimDesktop> desktop;
    std::unique_ptr<MasterControl> controller;
    PZ_Main_Dialog *window = nullptr;
};

} // namespace pz::test
