#pragma once
// A simulated monitor on the virtual clock, reached by the factory command
// layer over either transport: the raw I2C bus of its display, or its USB
// bridge through the bridge manager.

#include "Clock.h"
#include "ORV_factory_ddc_control.h"
#include "PublishedInterfaceList.h"
#include "SimDesktop.h"
#include "low_level_ddc_mac_usb.h"

#include <memory>

namespace pz::test {

struct SimRig {
    enum Transport { I2C, USB };

    explicit SimRig(Transport transport, const SimMonitorConfig &config = SimMonitorConfig())
        : clockScope(&clock), hidScope(&desk.hid())
    {
        monitor = &desk.addMonitor(1, QRectF(0, 0, 1920, 1200), config);
        if (transport == USB) {
            desk.plugBridge(1);
            interfaces = std::make_unique<PublishedInterfaceList>();
            manager = &interfaces->bridges();
            manager->EnumerateDevices();
            control = std::make_unique<ORV_factory_ddc_control>(new low_level_ddc_mac_usb(0, 0), 0);
        } else {
            bus = desk.openI2CBus(1, 0);
            control = std::make_unique<ORV_factory_ddc_control>(bus.get(), 0);
        }
    }

    ~SimRig()
    {
        control.reset();
        interfaces.reset();
    }

    VirtualClock clock;
    ScopedClock clockScope;
    SimDesktop desk;
    ScopedHidBackend hidScope;
    SimOrvaneMonitor *monitor = nullptr;
    std::unique_ptr<II2CBus> bus;
    std::unique_ptr<PublishedInterfaceList> interfaces;
    mac_usb_ddcci *manager = nullptr;   // the published list's bridge manager
    std::unique_ptr<ORV_factory_ddc_control> control;
};

} // namespace pz::test
