#pragma once
// Starts the application controller the way main does, on the simulated
// desktop (the demo: an HXSIM24 behind its USB bridge and a plain second
// display), with or without a simulated i1 Display Pro, on the virtual
// clock, in a temporary XDG home. One controller at a time lives in
// pMasterControl.

#include "AppGlobals.h"
#include "ApplicationWindows.h"
#include "Clock.h"
#include "HostSystem.h"
#include "MasterControl.h"
#include "ModalBox.h"
#include "SimDesktop.h"
#include "SimFixedScreen.h"
#include "SimSensors.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace pz::test {

struct ControllerRig {
    explicit ControllerRig(bool withSensor = true,
                           std::unique_ptr<SimDesktop> desk = SimDesktop::demo())
        : clockScope(&clock), desktop(std::move(desk)), withSensor(withSensor)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        desktop->install();
        setStartupWindows(&windows);
        sensors = std::make_unique<SimSensors>(*desktop, &screen);
        if (withSensor)
            sensors->attach(SimSensors::I1d3);
    }
    ~ControllerRig()
    {
        stop();
        setStartupWindows(nullptr);
        sensors.reset();
        desktop->uninstall();
    }

    MasterControl &start(bool autoMode = false)
    {
        build();
        // Auto mode ends with the display check's summary (the demo's
        // monitor was never calibrated); OK closes it before its 60 s run out.
        if (autoMode)
            startupBox = std::make_unique<ModalBoxAnswer>();
        // Without a sensor the opened window offers to look for one again:
        // Cancel.
        else if (!withSensor)
            startupBox = std::make_unique<ModalBoxAnswer>(QMessageBox::Cancel);
        controller->Startup(autoMode);
        return *controller;
    }
    // The controller as main builds it, not started yet.
    MasterControl &build()
    {
        controller = std::make_unique<MasterControl>();
        pMasterControl = controller.get();
        opened = std::make_unique<QSignalSpy>(controller.get(), &MasterControl::startup_complete);
        return *controller;
    }
    // Waits until the controller has opened (or the time runs out).
    bool waitOpened(MasterControl &c, int ms = 60000)
    {
        Q_ASSERT(&c == controller.get());
        return !opened->isEmpty() || opened->wait(ms);
    }
    void stop()
    {
        startupBox.reset();
        opened.reset();
        controller.reset();
        pMasterControl = nullptr;
    }

    QString dataFile() const
    {
        return home.filePath("config") + QLatin1Char('/') + GetStringResource(13);
    }

    QTemporaryDir home;
    VirtualClock clock;
    ScopedClock clockScope;
    ScopedHostSystem host{platformHostSystem()};
    std::unique_ptr<SimDesktop> desktop;
    bool withSensor;
    SimFixedScreen screen;
    std::unique_ptr<SimSensors> sensors;
    ApplicationWindows windows;
    std::unique_ptr<MasterControl> controller;
    std::unique_ptr<QSignalSpy> opened;
    // Answers the one box the start-up shows.
    std::unique_ptr<ModalBoxAnswer> startupBox;
};

} // namespace pz::test
