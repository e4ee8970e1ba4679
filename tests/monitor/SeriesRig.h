#pragma once
// A series monitor object (HX or LCDT4) connected to the simulated monitor
// of a MonitorRig, as the target display connects one, with a record of the
// waits the monitor object itself makes.

#include "MonitorRig.h"

namespace pz::test {

// A monitor object that notes every wait of its own (settle times and fixed
// pauses, whatever their length) as the clock saw it, in ticks. The short
// waits of the DDC/CI exchanges below it are the command layers' and are
// tested there.
template <class Monitor>
class WaitRecordingMonitor : public Monitor {
public:
    int WaitMS(int ms) override
    {
        const int before = clock ? clock->waitsTicks().size() : 0;
        const int status = Monitor::WaitMS(ms);
        if (clock)
            waitsTicks += clock->waitsTicks().mid(before);
        return status;
    }

    VirtualClock *clock = nullptr;
    QVector<qint64> waitsTicks;
};

template <class Monitor>
class SeriesRig {
public:
    explicit SeriesRig(MonitorTransport transport = MonitorTransport::I2C,
                       const SimMonitorConfig &config = SimMonitorConfig::hxsim24())
        : rig(transport, config)
    {
        monitor.clock = &rig.clock;
    }

    int connect() { return rig.connect(monitor); }

    SimOrvaneMonitor &sim() { return rig.sim(); }
    VirtualClock &clock() { return rig.clock; }

    // Forgets the frames and waits so far.
    void clearLogs()
    {
        sim().clearLog();
        clock().clearWaits();
        monitor.waitsTicks.clear();
    }

    // Every wait of the monitor object in ticks, in order.
    QVector<qint64> settleWaitTicks() const { return monitor.waitsTicks; }

    // (code, value) of every paged Set VCP the monitor received, in order.
    QVector<QPair<int, uint>> pagedWrites()
    {
        QVector<QPair<int, uint>> out;
        for (const QByteArray &r : rig.requestsStartingWith(QByteArray(1, char(0xC8))))
            if (r.size() == 5)
                out.append({int(quint8(r[1])) << 8 | quint8(r[2]),
                            uint(quint8(r[3])) << 8 | quint8(r[4])});
        return out;
    }

    // How many requests touched a code (paged reads and writes).
    int requestsFor(int code)
    {
        const QByteArray page = QByteArray(1, char(code >> 8)).append(char(code & 0xFF));
        return rig.requestsStartingWith(QByteArray(1, char(0xC6)) + page).size()
             + rig.requestsStartingWith(QByteArray(1, char(0xC8)) + page).size();
    }

    // EEPROM writes (factory command C0 02) the monitor received.
    int eepromWrites() { return rig.requestsStartingWith(hex("C0 02")).size(); }

    MonitorRig rig;
    // Declared after the rig: disconnected before the desktop goes.
    WaitRecordingMonitor<Monitor> monitor;
};

// The waits a list of milliseconds gives, in ticks.
inline QVector<qint64> ticksOf(std::initializer_list<int> ms)
{
    QVector<qint64> out;
    for (int m : ms)
        out.append(waitTicks(m));
    return out;
}

} // namespace pz::test
