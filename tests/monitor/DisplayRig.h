#pragma once
// The simulated desktop of the display-list tests, on the virtual clock,
// behind the program's desktop, HID and gamma-ramp seams:
//   display 1: an HXSIM24 on its graphics card's I2C bus, at 0,0 1920x1200;
//   display 2: an HX520R reached through its USB bridge, at 1920,0 1920x1200;
//   display 3: a monitor of another maker on its I2C bus, at 3840,0 1280x1024.
// The display interface list is created on demand and published in
// pCMonAPIDummy for as long as the rig lives.

#include "CMonAPIDummy.h"
#include "Clock.h"
#include "Desktop.h"
#include "GammaRamp.h"
#include "SimDesktop.h"

#include <memory>

namespace pz::test {

inline SimMonitorConfig otherMakerConfig()
{
    SimMonitorConfig c;
    c.modelName = QStringLiteral("ACME 22");
    c.serial = QStringLiteral("ACM0001");
    c.manufacturer = 0x6D04; // "ACM"
    c.product = 0x1234;
    c.widthCm = 47;
    c.heightCm = 30;
    return c;
}

// An EDID block with its checksum put right after an edit.
inline QByteArray withChecksum(QByteArray edid)
{
    quint8 sum = 0;
    for (int i = 0; i < 127; ++i)
        sum = quint8(sum + quint8(edid[i]));
    edid[127] = char(quint8(0x100 - sum));
    return edid;
}

struct DisplayRig {
    DisplayRig()
        : clockScope(&clock), desktopScope(&desk), hidScope(&desk.hid()),
          rampScope(&desk.ramps())
    {
    }
    ~DisplayRig()
    {
        if (pCMonAPIDummy == api.get())
            pCMonAPIDummy = nullptr;
        api.reset();
    }

    void standardScene()
    {
        desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        desk.addMonitor(2, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hx520r());
        desk.plugBridge(2);
        desk.addMonitor(3, QRectF(3840, 0, 1280, 1024), otherMakerConfig());
    }

    // Created after the scene's bridges are plugged in, as at start-up.
    CMonAPIDummy &interfaces()
    {
        if (!api) {
            api = std::make_unique<CMonAPIDummy>();
            pCMonAPIDummy = api.get();
        }
        return *api;
    }

    VirtualClock clock;
    ScopedClock clockScope;
    SimDesktop desk;
    ScopedDesktop desktopScope;
    ScopedHidBackend hidScope;
    ScopedGammaRamps rampScope;
    std::unique_ptr<CMonAPIDummy> api;
};

} // namespace pz::test
