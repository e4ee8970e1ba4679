#pragma once
// The calibration window's bench: the simulated desktop (display 1 an
// HXSIM24 at 0,0 1920 x 1200 on its I2C bus, display 2 a plain 1920 x 1080
// at 1920,0), matching the offscreen screens of
// tests/data/screens_simulated_desktop.json, installed behind the seams, on
// the virtual clock, with the controller built in a temporary XDG home and
// display 1 as its target display. The screen sampler shows the simulated
// light the application's windows; the sensor is either the simulated
// i1 Display Pro (selected through the controller's sensor selector) or a
// scripted double. A test pattern window is registered as the program's.

#include "AppGlobals.h"
#include "CMultiMonitor.h"
#include "CTargetSensor.h"
#include "CalibrateThreadFactory.h"
#include "Clock.h"
#include "MasterControl.h"
#include "PZ_Calibrate_Dialog.h"
#include "ScriptedSensor.h"
#include "SimDesktop.h"
#include "SimScreenSampler.h"
#include "SimSensorLight.h"
#include "SimSensors.h"
#include "pz_test_pattern_dialog.h"

#include <QFile>
#include <functional>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace pz::test {

struct CalibrateDialogRig {
    enum SensorChoice { NoSensor, SimulatedI1d3, Scripted };

    explicit CalibrateDialogRig(SensorChoice choice = SimulatedI1d3, bool withDisplay = true)
        : clockScope(&clock)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        monitor = &desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        desk.addPlainDisplay(2, QRectF(1920, 0, 1920, 1080), QByteArray());
        desk.install();
        sampler = std::make_unique<SimScreenSampler>(desk);
        sensors = std::make_unique<SimSensors>(desk, sampler.get());
        light = std::make_unique<SimSensorLight>(desk, sampler.get());
        light->placeOn(1);

        controller = std::make_unique<MasterControl>();
        pMasterControl = controller.get();
        testPattern = std::make_unique<pz_test_pattern_dialog>();
        test_pattern_window = testPattern.get();

        if (withDisplay) {
            CMultiMonitor list;
            list.EnumerateDesktop();
            controller->GetTargetDisplay()->SetMonitorData(list.GetMonitorData(0));
        }
        if (choice == SimulatedI1d3) {
            sensors->attach(SimSensors::I1d3);
            pTargetSensor->SelectType(CTargetSensor::kSensorEyeOneDisplay3);
        } else if (choice == Scripted) {
            scripted = new ScriptedSensor(*light);
            pTargetSensor->m_pCurrentSensor = scripted;   // the selector owns it
        }
    }
    ~CalibrateDialogRig()
    {
        test_pattern_window = nullptr;
        testPattern.reset();
        controller.reset();
        pMasterControl = nullptr;
        sensors.reset();
        light.reset();
        sampler.reset();
        desk.uninstall();
    }

    CSensor *sensor() const { return pTargetSensor ? pTargetSensor->m_pCurrentSensor : nullptr; }

    // Changes the display record the window reads.
    void editDisplay(const std::function<void(_MonitorData &)> &edit)
    {
        _MonitorData data = controller->GetTargetDisplay()->GetMonitorData();
        edit(data);
        controller->GetTargetDisplay()->SetMonitorData(data);
    }

    std::unique_ptr<PZ_Calibrate_Dialog> open(CTargetValue target = CTargetValue(),
                                              CalibrateThread::typeOperationType op =
                                                  CalibrateThread::OPERATION_PROFILE)
    {
        auto dialog = std::make_unique<PZ_Calibrate_Dialog>(target);
        dialog->SetOperationType(op);
        return dialog;
    }

    // Waits until the window has closed (the run ended).
    static bool waitClosed(PZ_Calibrate_Dialog &d, int ms = 120000)
    {
        return QTest::qWaitFor([&] { return !d.isVisible(); }, ms);
    }

    QTemporaryDir home;
    VirtualClock clock;
    ScopedClock clockScope;
    SimDesktop desk;
    SimOrvaneMonitor *monitor = nullptr;
    std::unique_ptr<SimScreenSampler> sampler;
    std::unique_ptr<SimSensors> sensors;
    std::unique_ptr<SimSensorLight> light;
    std::unique_ptr<MasterControl> controller;
    std::unique_ptr<pz_test_pattern_dialog> testPattern;
    ScriptedSensor *scripted = nullptr;   // owned by the sensor selector
};

// A calibration thread that emits a fixed list of signals from its worker
// and then ends with CalibrationComplete() or an error, as told.
class ScriptedThread : public CalibrateThread {
public:
    std::function<void(ScriptedThread &)> script;
    std::atomic<int> begins{0};

    ScriptedThread() : CalibrateThread(nullptr) {}
    ~ScriptedThread() override { stopAndWait(); }

    void run() override
    {
        ++begins;
        if (script)
            script(*this);
    }
    // Emitting from the script.
    template <class Signal, class... Args>
    void send(Signal signal, Args... args)
    {
        (this->*signal)(args...);
    }
    using CalibrateThread::aborted;
};

} // namespace pz::test
