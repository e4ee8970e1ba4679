// Uploads a full target tone curve and a 768-entry LUT to the simulated
// monitor through the HX series and the LCDT4 series monitor classes, and
// sends paged Sets the monitor answers late or never, on the virtual clock,
// over the display's I2C bus and over the monitor's USB bridge. For each it
// prints:
//   writes, reads   the host's transactions, counted at the same seam for
//                   both transports: one per I2C write or HID output report,
//                   one per I2C read or HID input report that reached the
//                   host (a bridge read that finds no report moves nothing);
//   simulated s     the time it took on the virtual clock;
//   floor s         the waits this program's own timing asks for when every
//                   exchange succeeds at once: the same operation on a
//                   healthy monitor over I2C, whose transport waits nowhere
//                   of its own (settle times, reply delays and pauses after
//                   closing, in whole ticks of 1/60 s);
//   public s        the least waits the public DDC/CI standard asks of a host
//                   for the requests of that healthy run: 40 ms before
//                   reading a Get VCP or timing reply, 200 ms after Save
//                   Current Settings, 50 ms after any other request.
// Later work on the monitor stack is compared against these figures.
//
//   bench_monitor_upload

#include "CDDCMonitor.h"
#include "CDDCMonitor_LCDHXSeries.h"
#include "CDDCMonitor_LCDT4Series.h"
#include "CMonAPIDummy.h"
#include "CSpline.h"
#include "Clock.h"
#include "SimDesktop.h"

#include <QCoreApplication>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>

using namespace pz;

namespace {

constexpr quint32 kDisplayId = 1;

// The host's transactions, counted where the program meets the bus.
struct Transactions {
    std::atomic<int> writes{0};
    std::atomic<int> reads{0};
};

class CountingBus : public II2CBus {
public:
    CountingBus(std::unique_ptr<II2CBus> bus, Transactions &count)
        : m_bus(std::move(bus)), m_count(count) {}
    bool write(quint8 address, const quint8 *data, int length) override
    {
        ++m_count.writes;
        return m_bus->write(address, data, length);
    }
    bool read(quint8 address, quint8 *data, int length) override
    {
        ++m_count.reads;
        return m_bus->read(address, data, length);
    }

private:
    std::unique_ptr<II2CBus> m_bus;
    Transactions &m_count;
};

class CountingDesktop : public IDesktop {
public:
    CountingDesktop(IDesktop &desktop, Transactions &count) : m_desktop(desktop), m_count(count) {}
    bool onlineDisplays(QVector<DesktopDisplay> &displays) override
    {
        return m_desktop.onlineDisplays(displays);
    }
    std::unique_ptr<II2CBus> openI2CBus(quint32 displayId, int bus) override
    {
        std::unique_ptr<II2CBus> opened = m_desktop.openI2CBus(displayId, bus);
        return opened ? std::make_unique<CountingBus>(std::move(opened), m_count) : nullptr;
    }

private:
    IDesktop &m_desktop;
    Transactions &m_count;
};

class CountingDevice : public IHidDevice {
public:
    CountingDevice(std::unique_ptr<IHidDevice> device, Transactions &count)
        : m_device(std::move(device)), m_count(count) {}
    HidDeviceInfo info() const override { return m_device->info(); }
    bool writeOutputReport(const quint8 *report, int length, int timeoutMs) override
    {
        ++m_count.writes;
        return m_device->writeOutputReport(report, length, timeoutMs);
    }
    int pollInputReport(quint8 *buffer, int capacity) override
    {
        const int got = m_device->pollInputReport(buffer, capacity);
        if (got > 0)
            ++m_count.reads;
        return got;
    }
    void flushInput() override { m_device->flushInput(); }

private:
    std::unique_ptr<IHidDevice> m_device;
    Transactions &m_count;
};

class CountingHid : public IHidBackend {
public:
    CountingHid(IHidBackend &backend, Transactions &count) : m_backend(backend), m_count(count) {}
    QVector<HidDeviceInfo> enumerate(quint16 vendorId, quint16 productId) override
    {
        return m_backend.enumerate(vendorId, productId);
    }
    std::unique_ptr<IHidDevice> open(const QByteArray &path) override
    {
        std::unique_ptr<IHidDevice> opened = m_backend.open(path);
        return opened ? std::make_unique<CountingDevice>(std::move(opened), m_count) : nullptr;
    }
    std::unique_ptr<IHidWatch> watch(quint16 vendorId, quint16 productId, Notice notice) override
    {
        return m_backend.watch(vendorId, productId, std::move(notice));
    }

private:
    IHidBackend &m_backend;
    Transactions &m_count;
};

enum class Series { HX, LCDT4 };

std::unique_ptr<CDDCMonitor> monitorOf(Series series)
{
    if (series == Series::HX)
        return std::make_unique<CDDCMonitor_LCDHXSeries>();
    return std::make_unique<CDDCMonitor_LCDT4Series>();
}

using Operation = std::function<int(CDDCMonitor &)>;
using Arrangement = std::function<void(SimOrvaneMonitor &)>;

struct Case {
    const char *name;
    quint16 inputSource;   // 0x0F (DisplayPort 1) makes target-curve chunks of 2
    Operation run;
    Arrangement fault;     // what goes wrong; none for a healthy monitor
};

struct Figures {
    int status = 0;
    int writes = 0;
    int reads = 0;
    double simulatedS = 0;
    double publicS = 0;
    bool onlyTimedWaits = true;   // every wait was one of whole ticks
};

// The least waits the public DDC/CI standard asks of a host for a request.
double publicWaitS(const QByteArray &request)
{
    switch (request.isEmpty() ? 0 : quint8(request[0])) {
    case 0x01: // Get VCP feature
    case 0x07: // Get timing report
        return 0.040;
    case 0x0C: // Save current settings
        return 0.200;
    default:
        return 0.050;
    }
}

bool isWholeTicks(qint64 us)
{
    const qint64 ticks = (us * 60 + 500000) / 1000000;
    return ticks > 0 && ticksToUs(ticks) == us;
}

// One simulated monitor on its own desktop and clock, a monitor object of
// the series connected to it, and one operation measured.
Figures measure(Series series, bool usb, const Case &c, bool withFault)
{
    VirtualClock clock;
    ScopedClock clockScope(&clock);
    SimDesktop desktop;
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    config.registerValues[0x60] = c.inputSource;
    SimOrvaneMonitor &sim = desktop.addMonitor(kDisplayId, QRectF(0, 0, 1920, 1200), config);
    if (usb)
        desktop.plugBridge(kDisplayId);
    desktop.install();
    Transactions count;
    Figures figures;
    {
        CountingDesktop countingDesktop(desktop, count);
        CountingHid countingHid(desktop.hid(), count);
        ScopedDesktop desktopScope(&countingDesktop);
        ScopedHidBackend hidScope(&countingHid);
        // The program's one bridge manager, where the USB transport finds it.
        CMonAPIDummy interfaces;
        pCMonAPIDummy = &interfaces;
        interfaces.m_USBBridges.EnumerateDevices();
        std::unique_ptr<CDDCMonitor> monitor = monitorOf(series);
        figures.status =
            monitor->InitInterface(kDisplayId, usb ? CDDCMonitor::kUSBInterfaceMask : 0);
        if (figures.status == 0)
            figures.status = monitor->ReadCapabilityString();
        if (figures.status == 0) {
            if (withFault && c.fault)
                c.fault(sim);
            sim.clearLog();
            clock.clearWaits();
            count.writes = 0;
            count.reads = 0;
            const qint64 startUs = clock.nowUs();
            figures.status = c.run(*monitor);
            figures.simulatedS = (clock.nowUs() - startUs) / 1e6;
            figures.writes = count.writes;
            figures.reads = count.reads;
            for (const QByteArray &request : sim.requests())
                figures.publicS += publicWaitS(request);
            for (qint64 us : clock.waitsUs())
                figures.onlyTimedWaits = figures.onlyTimedWaits && isWholeTicks(us);
        }
        monitor.reset();
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

void addFault(SimOrvaneMonitor &sim, SimFaultKind kind, int count, int delayMs)
{
    sim.addFault(SimFault{kind, 0xC8, 0x1052, count, delayMs});
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

    const Operation uploadTarget = [&](CDDCMonitor &m) { return m.SetTargetGammaTable(target); };
    const Operation uploadLUT = [&](CDDCMonitor &m) { return m.SetGammaTable(lut); };
    const Operation pagedSet = [](CDDCMonitor &m) {
        uint value = 313;
        return m.SetVCP(0x1052, &value);
    };
    const Case cases[] = {
        {"target table, chunks of 8", 0x11, uploadTarget, nullptr},
        {"target table, chunks of 2", 0x0F, uploadTarget, nullptr},
        {"768-entry LUT, chunks of 16", 0x11, uploadLUT, nullptr},
        {"paged Set, one null reply", 0x11, pagedSet,
         [](SimOrvaneMonitor &s) { addFault(s, SimFaultKind::NullReply, 1, 0); }},
        {"paged Set, reply 400 ms late", 0x11, pagedSet,
         [](SimOrvaneMonitor &s) { addFault(s, SimFaultKind::LateReply, 1, 400); }},
        {"paged Set, never answered", 0x11, pagedSet,
         [](SimOrvaneMonitor &s) { addFault(s, SimFaultKind::NullReply, 99, 0); }},
    };

    std::printf("%-5s %-5s %-29s %6s %6s %6s %11s %9s %9s\n", "class", "via", "operation",
                "status", "writes", "reads", "simulated s", "floor s", "public s");
    for (Series series : {Series::HX, Series::LCDT4}) {
        const char *name = series == Series::HX ? "HX" : "LCDT4";
        for (const Case &c : cases) {
            const Figures floor = measure(series, false, c, false);
            for (bool usb : {false, true}) {
                const Figures f = measure(series, usb, c, true);
                std::printf("%-5s %-5s %-29s %6d %6d %6d %11.2f %8.2f%s %9.2f\n", name,
                            usb ? "usb" : "i2c", c.name, f.status, f.writes, f.reads,
                            f.simulatedS, floor.simulatedS, floor.onlyTimedWaits ? " " : "?",
                            floor.publicS);
            }
        }
    }
    std::printf("floor s: this program's own waits with every exchange answered at once "
                "(settle times included);\npublic s: the public DDC/CI minimum for the same "
                "requests (40 ms per Get VCP or timing reply,\n200 ms per Save Current "
                "Settings, 50 ms per other request). A '?' marks a floor run that waited\n"
                "other than in whole ticks.\n");
    return 0;
}
