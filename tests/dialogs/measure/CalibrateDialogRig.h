#pragma once
// The calibration window's bench: the measuring tools' bench with the
// HXSIM24 as display 1, and as sensor the simulated i1 Display Pro (selected
// through the controller's sensor selector), a scripted double, or none.

#include "CalibrateThreadFactory.h"
#include "MeasureToolsRig.h"
#include "PZ_Calibrate_Dialog.h"
#include "ScriptedSensor.h"

#include <functional>
#include <QTest>
#include <memory>

namespace pz::test {

struct CalibrateDialogRig : MeasureToolsRig {
    enum SensorChoice { NoSensor, SimulatedI1d3, Scripted };

    explicit CalibrateDialogRig(SensorChoice choice = SimulatedI1d3, bool withDisplay = true)
        : MeasureToolsRig(SimMonitorConfig::hxsim24(), withDisplay, choice == SimulatedI1d3)
    {
        if (choice == Scripted) {
            scripted = new ScriptedSensor(*light);
            pTargetSensor->m_pCurrentSensor = scripted;   // the selector owns it
        }
    }

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
