#pragma once
// A simulated Spyder3 or Spyder4 on a simulated USB bus, on the virtual
// clock, behind the USB seam the driver uses. The light is a fixed D65 white
// of 100 cd/m² and 500 lux; refresh modulation is off, so readings are exact.
// The rig shuts the driver down when it goes, and starts every test from
// the driver's initial calibration choice and gain.

#include "Clock.h"
#include "SimSpyder.h"
#include "SimSpyderEeprom.h"
#include "spyder_dc.h"
#include "spyder_dc_state.h"

#include <memory>

namespace pz::test {

constexpr SimXYZ kD65White{95.047, 100.0, 108.883};

struct SpyderRig {
    explicit SpyderRig(quint16 productId = 0x0400, const QByteArray &eeprom = QByteArray())
        : clockScope(&clock), usbScope(&usb)
    {
        ::spyder::coeffTab = ::spyder::kLcdSets;
        ::spyder::EUROPA_GAIN = 4;
        device = plug(productId, eeprom);
    }

    ~SpyderRig() { DC_Shutdown(); }

    // Another simulated device on the same bus.
    std::unique_ptr<SimSpyder> plug(quint16 productId, const QByteArray &eeprom = QByteArray())
    {
        SimSpyderConfig config;
        config.productId = productId;
        config.eeprom = eeprom;
        config.modulationDepth = 0.0;
        auto sim = std::make_unique<SimSpyder>(config);
        sim->setFixedLight(kD65White, 500.0);
        usb.plug(sim.get());
        return sim;
    }

    int start(quint16 productId = 0x0400) { return DC_Startup(record, productId); }

    // Setup packets the device saw with this bRequest.
    QVector<SimSpyder::Setup> setups(quint8 request) const
    {
        QVector<SimSpyder::Setup> found;
        for (const SimSpyder::Setup &s : device->setupLog())
            if (s.request == request)
                found.append(s);
        return found;
    }

    qint32 error() const { return DC_GetDetailedError(nullptr); }
    quint8 systemFlag() const
    {
        quint8 system = 0xEE;
        DC_GetDetailedError(&system);
        return system;
    }

    VirtualClock clock;
    ScopedClock clockScope;
    SimUsbBackend usb;
    ScopedUsbBackend usbScope;
    std::unique_ptr<SimSpyder> device;
    quint8 record[::spyder::kDeviceRecordSize] = {};
};

} // namespace pz::test
