// Uploads a full target tone curve and a 768-entry LUT to the simulated HX
// monitor on the virtual clock, over the display's I2C bus and over the
// monitor's USB bridge, and prints how many DDC/CI transactions each upload
// takes and how long they take in simulated time, beside the least time the
// DDC/CI waits allow (50 ms after every request). Later work on the monitor
// stack is compared against these figures.
//
//   bench_monitor_upload

#include "CDDCMonitor.h"
#include "CSpline.h"
#include "Clock.h"
#include "SimDesktop.h"
#include "mac_usb_ddcci.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <memory>

using namespace pz;

namespace {

constexpr quint32 kDisplayId = 1;
constexpr double kLeastWaitPerRequestS = 0.050;

struct Figures {
    int status = 0;
    int requests = 0;
    int reads = 0;
    double simulatedS = 0;
    double wallMs = 0;
};

// One simulated monitor on its own desktop and clock, a monitor object
// connected to it, and one upload measured.
Figures measure(bool usb, quint16 inputSource,
                const std::function<int(CDDCMonitor &)> &upload)
{
    VirtualClock clock;
    ScopedClock clockScope(&clock);
    SimDesktop desktop;
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.registerValues[0x60] = inputSource;
    SimOrvaneMonitor &sim = desktop.addMonitor(kDisplayId, QRectF(0, 0, 1920, 1200), config);
    if (usb)
        desktop.plugBridge(kDisplayId);
    desktop.install();
    Figures figures;
    {
        mac_usb_ddcci bridges(3);
        bridges.EnumerateDevices();
        CDDCMonitor monitor;
        figures.status =
            monitor.InitInterface(kDisplayId, usb ? CDDCMonitor::kUSBInterfaceMask : 0);
        if (figures.status == 0)
            figures.status = monitor.ReadCapabilityString();
        if (figures.status == 0) {
            sim.clearLog();
            const qint64 startUs = clock.nowUs();
            QElapsedTimer wall;
            wall.start();
            figures.status = upload(monitor);
            figures.wallMs = wall.nsecsElapsed() / 1e6;
            figures.simulatedS = (clock.nowUs() - startUs) / 1e6;
            figures.requests = sim.requests().size();
            figures.reads = sim.readCount();
        }
    }
    desktop.uninstall();
    return figures;
}

CSpline gammaCurve(double gamma)
{
    CSpline curve;
    curve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    curve.SetSplineGamma(gamma);
    return curve;
}

void print(const char *transport, const char *operation, const Figures &f)
{
    const double least = f.requests * kLeastWaitPerRequestS;
    std::printf("%-4s %-28s %6d %8d %6d %12.1f %10.1f %7.2f %9.1f\n", transport, operation,
                f.status, f.requests, f.reads, f.simulatedS, least,
                least > 0 ? f.simulatedS / least : 0.0, f.wallMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    std::vector<uint> target;
    CDDCMonitor().CalculateTargetGammaTable(gammaCurve(2.2), gammaCurve(2.2), gammaCurve(2.2),
                                            target);
    std::vector<uint> lut(768);
    for (uint i = 0; i < 768; ++i)
        lut[i] = (i % 256) * 1023 / 255;

    const auto uploadTarget = [&](CDDCMonitor &m) { return m.SetTargetGammaTable(target); };
    const auto uploadLUT = [&](CDDCMonitor &m) { return m.SetGammaTable(lut); };

    std::printf("%-4s %-28s %6s %8s %6s %12s %10s %7s %9s\n", "via", "upload", "status",
                "requests", "reads", "simulated s", "least s", "ratio", "wall ms");
    for (bool usb : {false, true}) {
        const char *via = usb ? "usb" : "i2c";
        print(via, "target table, chunks of 8", measure(usb, 0x11, uploadTarget));
        print(via, "target table, chunks of 2", measure(usb, 15, uploadTarget));
        print(via, "768-entry LUT, chunks of 16", measure(usb, 0x11, uploadLUT));
    }
    std::printf("least s: 50 ms after each DDC/CI request; simulated s: on the virtual clock, "
                "settle times and verification included.\n");
    return 0;
}
