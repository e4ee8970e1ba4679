#pragma once
// The set of simulated sensors on a simulated desktop: the light they all
// measure and one simulated vendor library per sensor family, put behind the
// program's library seams for the lifetime of this object. A family's device
// is found once it is attached; detaching it is an unplug.
//
//   SimDesktop desktop;
//   desktop.addMonitor(1, QRectF(0, 0, 1920, 1200));
//   SimFixedScreen screen;
//   SimSensors sensors(desktop, &screen);
//   sensors.attach(SimSensors::I1d3);
//   CEyeOneDisplay3Sensor sensor;   // connected; measures screen's colour on display 1
//
// Under PELZORA_SIMULATE=1, SimDesktop::installFromEnvironment() makes one
// over the application's windows; PELZORA_SIM_SENSOR says what is attached
// (attachFromText).

#include "SimColorMunkiLibrary.h"
#include "SimI1d3Library.h"
#include "SimSensorLight.h"

#include <QString>
#include <memory>

namespace pz {

class SimSensors {
public:
    enum Family { I1d3, ColorMunki };

    // Neither is owned; both outlive this object. Installs the simulated
    // libraries behind the seams; the destructor puts back what was there.
    explicit SimSensors(SimDesktop &desktop, ISimScreenContent *screen = nullptr);
    ~SimSensors();
    SimSensors(const SimSensors &) = delete;
    SimSensors &operator=(const SimSensors &) = delete;

    SimSensorLight &light() { return m_light; }
    SimI1d3Library &i1d3() { return m_i1d3; }
    SimColorMunkiLibrary &munki() { return m_munki; }

    void attach(Family family);
    void detach(Family family);
    bool isAttached(Family family) const;

    // Every device's noise and automatic hand as PELZORA_SIMULATE asks.
    void configureFromEnvironment();
    // Attaches what a text names, detaching the rest: family names joined
    // with '+', each optionally followed by ':' and key=value settings
    // joined with ','. "i1d3", "i1d3:maker=1,firmware=v2.5", "munki",
    // "none", "i1d3+munki". i1d3 settings: maker (0/1), firmware, serial;
    // munki settings: serial. False, with nothing attached, when the text
    // names something unknown.
    bool attachFromText(const QString &text);
    // PELZORA_SIM_SENSOR, or "i1d3" when it is not set.
    bool attachFromEnvironment();

private:
    SimSensorLight m_light;
    SimI1d3Library m_i1d3;
    SimColorMunkiLibrary m_munki;
    ScopedI1d3Library m_i1d3Seam;
    ScopedColorMunkiLibrary m_munkiSeam;
};

} // namespace pz
