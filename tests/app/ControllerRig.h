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

#include <QAbstractButton>
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
        // Both modes end with the display check's summary (the demo's
        // monitor was never calibrated): in auto mode the controller's
        // check, else the main window's. OK closes it before its 60 s run
        // out.
        m_windowSummaryOnly = !autoMode;
        autoSummary = std::make_unique<ModalBoxAnswer>([this](QMessageBox &box) {
            QAbstractButton *ok = box.button(QMessageBox::Ok);
            // Without a sensor the window goes on to offer another
            // detection: Cancel, also when it comes first.
            if (!ok) {
                box.button(QMessageBox::Cancel)->click();
                return;
            }
            ok->click();
            if (m_windowSummaryOnly && !withSensor) {
                noSensorQuestion = std::make_unique<ModalBoxAnswer>(QMessageBox::Cancel);
                noSensorQuestion->makeLastResort();
            }
        });
        autoSummary->makeLastResort();
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
        const bool done = !opened->isEmpty() || opened->wait(ms);
        // The window's check has run by now (it follows the opening at
        // once): a later box is the test's own.
        if (done && m_windowSummaryOnly) {
            autoSummary.reset();
            noSensorQuestion.reset();
        }
        return done;
    }
    void stop()
    {
        autoSummary.reset();
        noSensorQuestion.reset();
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
    std::unique_ptr<ModalBoxAnswer> autoSummary;
    std::unique_ptr<ModalBoxAnswer> noSensorQuestion;
    bool m_windowSummaryOnly = false;
};

} // namespace pz::test
