#pragma once
// The set of simulated sensors on a simulated desktop: the light they all
// measure, one simulated vendor library per family that has one (the i1
// Display Pro, the ColorMunki, the i1 library with the i1 Display and the
// i1 Pro, the Spyder2) and a USB bus with the Spyder3 and the Spyder4, all
// put behind the program's seams for the lifetime of this object. A
// family's device is found once it is attached; detaching it is an unplug.
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
#include "SimEyeOneLibrary.h"
#include "SimI1d3Library.h"
#include "SimSensorLight.h"
#include "SimSensorNoise.h"
#include "SimSpyder.h"
#include "SimSpyder2Library.h"
#include "UsbDevice.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace pz {

class SimSensors {
public:
    enum Family { I1d3, ColorMunki, I1Display, I1Pro, Spyder2, Spyder3, Spyder4 };

    // Neither is owned; both outlive this object. Installs the simulated
    // libraries behind the seams; the destructor puts back what was there.
    explicit SimSensors(SimDesktop &desktop, ISimScreenContent *screen = nullptr);
    ~SimSensors();
    SimSensors(const SimSensors &) = delete;
    SimSensors &operator=(const SimSensors &) = delete;

    SimSensorLight &light() { return m_light; }
    SimI1d3Library &i1d3() { return m_i1d3; }
    SimColorMunkiLibrary &munki() { return m_munki; }
    SimEyeOneLibrary &eyeOne() { return m_eyeOne; }
    SimSpyder2Library &spyder2() { return m_spyder2; }
    SimSpyderBus &spyderBus() { return m_spyderBus; }
    // The noise on a family's readings (the Spyder3 and the Spyder4 share theirs).
    SimSensorNoise &noise(Family family);

    // A device attached again after an unplug comes back fresh.
    void attach(Family family);
    void detach(Family family);
    bool isAttached(Family family) const;
    // Pulls the family's device out once the program clock has run `us`
    // further, in the middle of whatever it is then doing; attach() plugs it
    // back in.
    void unplugAfterUs(Family family, qint64 us);

    // Every device's noise and automatic hand as PELZORA_SIMULATE asks.
    void configureFromEnvironment();
    // Attaches what a text names, detaching the rest: family names joined
    // with '+', each optionally followed by ':' and key=value settings
    // joined with ','. Families: "i1d3" (settings maker=0/1, firmware,
    // serial), "munki" (serial), "i1display" (serial, decimal; gen1=0/1 for
    // a first-generation device), "i1pro", "spyder2", "spyder3", "spyder4",
    // and "none". "i1d3:maker=1,firmware=v2.5", "i1display:serial=950000,gen1=1",
    // "i1pro+munki". False, with nothing attached, when the text names
    // something unknown or a setting's value is not one the family takes.
    bool attachFromText(const QString &text);
    // PELZORA_SIM_SENSOR, or "i1d3" when it is not set.
    bool attachFromEnvironment();

    // The names attachFromText takes, in the order of the families.
    static QStringList familyNames();

private:
    void setAttached(Family family, bool attached);

    SimSensorLight m_light;
    SimI1d3Library m_i1d3;
    SimColorMunkiLibrary m_munki;
    SimEyeOneLibrary m_eyeOne;
    SimSpyder2Library m_spyder2;
    SimSensorNoise m_spyderNoise;
    SimSpyderBus m_spyderBus;
    ScopedI1d3Library m_i1d3Seam;
    ScopedColorMunkiLibrary m_munkiSeam;
    ScopedEyeOneLibrary m_eyeOneSeam;
    ScopedSpyder2Library m_spyder2Seam;
    ScopedUsbBackend m_usbSeam;
};

} // namespace pz
