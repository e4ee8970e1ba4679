#pragma once
// The bench of the gain-and-table calibration on the virtual clock: display 1
// with the simulated gain monitor on its I2C bus, selected as the target
// display and given an LCDT4 series monitor object (the program creates
// monitor objects only for the HX series), the simulated i1 Display Pro lying on it and the
// headless patch responder standing in for the calibration window.

#include "../monitor/DisplayRig.h"
#include "CDDCMonitor_LCDT4Series.h"
#include "CMultiMonitor.h"
#include "CPreferences.h"
#include "CTargetDisplay.h"
#include "CalibrateThread.h"
#include "CalibrationRig.h"
#include "PreferencesRegistry.h"
#include "ProbedDisplay3Sensor.h"
#include "SimPatchResponder.h"
#include "SimSensors.h"

#include <QTest>
#include <memory>

namespace pz::test {

// An LCDT4 object that can offer auto-luminance and notes the modes set.
class GainSeriesMonitor : public CDDCMonitor_LCDT4Series {
public:
    int IsAutoLumianceModeSupported() override { return offersAutoLuminance ? 1 : 0; }
    int SetAutoLumianceMode(uint mode) override
    {
        autoLuminanceModes.append(int(mode));
        return 0;
    }
    int MonitorAlwaysUsesLUTs() override { return alwaysUsesLUTs ? 1 : 0; }
    int MonitorNeedsLinearLUTsSendingInAutoLuminanceMode() override
    {
        return linearTablesForAutoLuminance ? 1 : 0;
    }
    int SetMonitorToLinearLUTUsingRGBGains() override
    {
        ++linearTablesFromGains;
        return CDDCMonitor_LCDT4Series::SetMonitorToLinearLUTUsingRGBGains();
    }

    bool offersAutoLuminance = false;
    bool alwaysUsesLUTs = false;
    bool linearTablesForAutoLuminance = false;
    QVector<int> autoLuminanceModes;
    int linearTablesFromGains = 0;
};

struct GainMonitorRig {
    static constexpr quint32 kDisplay = 1;

    explicit GainMonitorRig(bool withMonitorObject = true,
                            const SimMonitorConfig &config = SimMonitorConfig::gainMonitor())
    {
        preferences.SetCalibrationSteps(32);
        preferences.SetICCAfterCalibration(true);
        sim = &rig.desk.addMonitor(kDisplay, QRectF(0, 0, 1920, 1200), config);
        CMonAPIDummy &interfaces = rig.interfaces();
        CMultiMonitor list;
        list.EnumerateDesktop();
        display.SetMonitorData(list.GetMonitorData(0));
        if (withMonitorObject) {
            INTERFACE_INFO info;
            if (interfaces.GetDisplayInterfaceInfo(0, &info) == 0) {
                monitor = new GainSeriesMonitor();
                monitor->InitInterface(info.m_DisplayID, info.m_InterfaceNumber);
                display.m_pDDCMonitor = monitor;
            }
        }
    }

    void attach(CalibrateThread &thread)
    {
        thread.SetTargetDisplay(&display);
        thread.SetSensorObject(&sensor);
        QObject::connect(&thread, &CalibrateThread::SetMeasurementAreaPatchColor, &responder,
                         &SimPatchResponder::showPatch, Qt::QueuedConnection);
        QObject::connect(&responder, &SimPatchResponder::patchShown, &thread,
                         &CalibrateThread::patchChanged);
    }

    // The 768-entry table as the monitor holds it (256 per channel).
    QVector<uint> gammaMemory() const
    {
        const QVector<quint16> all = sim->gammaTable();
        QVector<uint> out;
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 256; ++i)
                out.append(all[c * 0x400 + i]);
        return out;
    }

    // The white the sensor reads now.
    CCIEYxy whiteNow()
    {
        screen.setColor(kDisplay, 255, 255, 255);
        const SimXYZ w = sensors.light().emissive();
        return CCIEXYZ(w.X, w.Y, w.Z).GetCIEYxy();
    }

    CPreferences preferences;
    ScopedPreferences preferencesScope{&preferences};
    DisplayRig rig;
    SimOrvaneMonitor *sim = nullptr;
    CTargetDisplay display;
    GainSeriesMonitor *monitor = nullptr;   // owned by the display
    SimFixedScreen screen;
    SimSensors sensors{rig.desk, &screen};
    // The simulated i1 Display Pro is plugged in before the adapter opens it.
    bool plugged = (sensors.attach(SimSensors::I1d3), true);
    ProbedDisplay3Sensor sensor;
    SimPatchResponder responder{screen, kDisplay};
};

} // namespace pz::test
