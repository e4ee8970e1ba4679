#pragma once
// The measuring tools' bench: the simulated desktop (display 1 an HXSIM24,
// or a monitor of the test's own configuration, at 0,0 1920 x 1200; display
// 2 a plain 1920 x 1080 at 1920,0), matching the offscreen screens of
// tests/data/screens_simulated_desktop.json, on the virtual clock, with the
// controller built in a temporary XDG home, display 1 as its target display,
// the test pattern window registered as the program's, and the simulated
// i1 Display Pro on display 1 seeing the application's windows through the
// screen sampler.

#include "AppGlobals.h"
#include "CMultiMonitor.h"
#include "CTargetSensor.h"
#include "Clock.h"
#include "MasterControl.h"
#include "SimDesktop.h"
#include "SimScreenSampler.h"
#include "SimSensorLight.h"
#include "SimSensors.h"
#include "pz_test_pattern_dialog.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace pz::test {

struct MeasureToolsRig {
    explicit MeasureToolsRig(const SimMonitorConfig &config = SimMonitorConfig::hxsim24(),
                             bool withDisplay = true, bool withSensor = true)
        : clockScope(&clock)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        monitor = &desk.addMonitor(1, QRectF(0, 0, 1920, 1200), config);
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
        if (withSensor) {
            sensors->attach(SimSensors::I1d3);
            pTargetSensor->SelectType(CTargetSensor::kSensorEyeOneDisplay3);
        }
        monitor->clearLog();
    }
    ~MeasureToolsRig()
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

    // What the host sent the monitor since the log was last cleared, one
    // line per request: "set <code> <value>" for control writes (paged codes
    // as page << 8 | code, in hex), "save" for the save-settings request;
    // reads are left out.
    QStringList writes() const
    {
        QStringList out;
        for (const QByteArray &r : monitor->requests()) {
            const auto b = [&](int i) { return int(quint8(r.at(i))); };
            if (r.size() >= 5 && b(0) == 0xC8)
                out << QStringLiteral("set %1 %2").arg((b(1) << 8) | b(2), 0, 16).arg((b(3) << 8) | b(4));
            else if (r.size() >= 4 && b(0) == 0x03)
                out << QStringLiteral("set %1 %2").arg(b(1), 0, 16).arg((b(2) << 8) | b(3));
            else if (r.size() == 1 && b(0) == 0x0C)
                out << QStringLiteral("save");
        }
        return out;
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
};

} // namespace pz::test
