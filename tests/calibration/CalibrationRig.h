#pragma once
// The engine's test bench on the virtual clock: display 1 with a simulated
// HXSIM24 on its I2C bus, selected as the target display (with or without
// its monitor object), the simulated i1 Display Pro lying on it through its
// adapter, and the headless patch responder standing in for the calibration
// window. Threads attached to it get display, sensor and responder; their
// signals are logged in order.

#include "../monitor/DisplayRig.h"
#include "CDDCMonitor.h"
#include "CMultiMonitor.h"
#include "CTargetDisplay.h"
#include "CalibrateThread.h"
#include "ProbedDisplay3Sensor.h"
#include "SimPatchResponder.h"
#include "CTargetValue.h"
#include "SimSensors.h"

#include <QSignalSpy>
#include <QStringList>
#include <QTest>

namespace pz::test {

// Every signal of a calibration thread, as "Name(args)" in the order the
// worker emitted them (received queued in the test's thread).
class ThreadSignalLog : public QObject {
public:
    explicit ThreadSignalLog(CalibrateThread &t)
    {
        using T = CalibrateThread;
        on(t, &T::calibrationError, "calibrationError");
        on(t, &T::CalibrationComplete, "CalibrationComplete");
        on(t, &T::ShowMeasurementAreaPatch, "ShowMeasurementAreaPatch");
        on(t, &T::SetMeasurementAreaPatchColor, "SetMeasurementAreaPatchColor");
        on(t, &T::StartingTask, "StartingTask");
        on(t, &T::StartingSubTask, "StartingSubTask");
        on(t, &T::StepTaskCounter, "StepTaskCounter");
        on(t, &T::SetNumberOfTasks, "SetNumberOfTasks");
        on(t, &T::SetNumberOfSubtasks, "SetNumberOfSubtasks");
        on(t, &T::StepSubTaskCounter, "StepSubTaskCounter");
        on(t, &T::SetWhiteLevelMeasuredValue, "SetWhiteLevelMeasuredValue");
        on(t, &T::SetBlackLevelMeasuredValue, "SetBlackLevelMeasuredValue");
        on(t, &T::SetWhitePointMeasuredValue, "SetWhitePointMeasuredValue");
        on(t, &T::SetWhiteLevelTargetMinMax, "SetWhiteLevelTargetMinMax");
        on(t, &T::SetWhiteLevelTarget, "SetWhiteLevelTarget");
        on(t, &T::ShowWhiteLevelTarget, "ShowWhiteLevelTarget");
        on(t, &T::ShowMainInformationWidget, "ShowMainInformationWidget");
        on(t, &T::SleepTime, "SleepTime");
    }

    QStringList entries;

    // Names only, without arguments.
    QStringList names() const
    {
        QStringList out;
        for (const QString &e : entries)
            out.append(e.section(QLatin1Char('('), 0, 0));
        return out;
    }
    // The arguments of every entry of one signal.
    QStringList argsOf(const QString &name) const
    {
        QStringList out;
        for (const QString &e : entries)
            if (e.startsWith(name + QLatin1Char('(')))
                out.append(e.mid(name.size() + 1).chopped(1));
        return out;
    }
    bool ended() const
    {
        return !entries.isEmpty()
               && (entries.last() == QLatin1String("CalibrationComplete()")
                   || entries.last().startsWith(QLatin1String("calibrationError(")));
    }

private:
    static QString text(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
    static QString text(int v) { return QString::number(v); }
    static QString text(double v) { return QString::number(v, 'g', 6); }
    static QString text(const QColor &c)
    {
        return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
    }

    template <class... Args>
    void on(CalibrateThread &t, void (CalibrateThread::*signal)(Args...), const char *name)
    {
        const QString n = QLatin1String(name);
        connect(&t, signal, this, [this, n](Args... args) {
            QStringList parts{text(args)...};
            entries.append(n + QLatin1Char('(') + parts.join(QLatin1Char(',')) + QLatin1Char(')'));
        });
    }
};

// The engine tests' usual target: D65, 120 cd/m², gamma 2.2, native gamut,
// the monitor's own contrast.
inline CTargetValue standardTarget()
{
    CTargetValue t;
    t.CreateDefault();
    t.m_IntensityType = CTargetValue::kIntensityLevel;
    t.m_Intensity = 120.0;
    t.m_GammaCurveType = CTargetValue::kCurveGamma;
    t.m_Gamma = 2.2;
    t.m_ContrastRatio = 0;
    return t;
}

struct CalibrationRig {
    static constexpr quint32 kDisplay = 1;

    // overUsbBridge: the monitor's USB bridge is plugged in, and the
    // program reaches it that way.
    explicit CalibrationRig(bool withMonitorObject = true,
                            const SimMonitorConfig &config = SimMonitorConfig::hxsim24(),
                            bool overUsbBridge = false)
    {
        sim = &rig.desk.addMonitor(kDisplay, QRectF(0, 0, 1920, 1200), config);
        if (overUsbBridge)
            rig.desk.plugBridge(kDisplay);
        rig.interfaces();
        if (withMonitorObject) {
            CMultiMonitor list;
            list.EnumerateDesktop();
            display.SetMonitorData(list.GetMonitorData(0));
        } else {
            // The same display as one the program does not drive.
            _MonitorData plain;
            plain.m_DisplayID = kDisplay;
            display.SetMonitorData(plain);
        }
    }

    // Display, sensor and responder for a thread.
    void attach(CalibrateThread &thread)
    {
        thread.SetTargetDisplay(&display);
        thread.SetSensorObject(&sensor);
        // Connected first, so an unplug lands before the patch is acknowledged.
        QObject::connect(
            &thread, &CalibrateThread::SetMeasurementAreaPatchColor, &responder,
            [this] {
                if (++patchesAsked == unplugAtPatch)
                    device().faults().loseNow();
            },
            Qt::QueuedConnection);
        QObject::connect(&thread, &CalibrateThread::SetMeasurementAreaPatchColor, &responder,
                         &SimPatchResponder::showPatch, Qt::QueuedConnection);
        QObject::connect(&responder, &SimPatchResponder::patchShown, &thread,
                         &CalibrateThread::patchChanged);
    }

    // Runs an operation to its end; false when it did not end in time.
    static bool runToEnd(CalibrateThread &thread, ThreadSignalLog &log, unsigned operation)
    {
        thread.begin(operation);
        const bool ended = QTest::qWaitFor([&] { return log.ended(); }, 60000);
        thread.wait();
        return ended;
    }

    // Starts a profile measurement that stays in its first handshake: the
    // responder shows the red patch but does not acknowledge it.
    bool startBlockedInFirstHandshake(CalibrateThread &thread)
    {
        responder.setAutoAcknowledge(false);
        thread.begin(CalibrateThread::OPERATION_PROFILE);
        return QTest::qWaitFor([this] { return responder.shown().size() == 1; }, 10000);
    }

    // The white luminance the sensor sees now.
    double whiteLuminance()
    {
        screen.setColor(kDisplay, 255, 255, 255);
        return sensors.light().emissive().Y;
    }

    SimI1d3Library &device() { return sensors.i1d3(); }

    DisplayRig rig;
    SimOrvaneMonitor *sim = nullptr;
    CTargetDisplay display;
    SimFixedScreen screen;
    SimSensors sensors{rig.desk, &screen};
    // The device is plugged in before the adapter opens it.
    bool plugged = (sensors.attach(SimSensors::I1d3), true);
    ProbedDisplay3Sensor sensor;
    SimPatchResponder responder{screen, kDisplay};
    // The device is unplugged when the thread asks for this patch (1 the
    // first); 0 never.
    int unplugAtPatch = 0;
    int patchesAsked = 0;
};

} // namespace pz::test
