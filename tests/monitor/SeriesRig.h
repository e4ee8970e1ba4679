#pragma once
// A series monitor object (HX or LCDT4) connected to the simulated monitor
// of a MonitorRig, as the target display connects one.

#include "MonitorRig.h"

namespace pz::test {

template <class Monitor>
class SeriesRig {
public:
    explicit SeriesRig(MonitorTransport transport = MonitorTransport::I2C,
                       const SimMonitorConfig &config = SimMonitorConfig::hxsim24())
        : rig(transport, config)
    {
    }

    int connect() { return rig.connect(monitor); }

    SimOrvaneMonitor &sim() { return rig.sim(); }
    VirtualClock &clock() { return rig.clock; }

    // Forgets the frames and waits so far.
    void clearLogs()
    {
        sim().clearLog();
        clock().clearWaits();
    }

    // The settle waits (a second or longer) in ticks, leaving out the short
    // waits of the DDC/CI exchanges.
    QVector<qint64> settleWaitTicks() const
    {
        QVector<qint64> out;
        for (qint64 ticks : rig.clock.waitsTicks())
            if (ticks >= waitTicks(1000))
                out.append(ticks);
        return out;
    }

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
    Monitor monitor;
};

// The settle waits a list of milliseconds gives, in ticks.
inline QVector<qint64> ticksOf(std::initializer_list<int> ms)
{
    QVector<qint64> out;
    for (int m : ms)
        out.append(waitTicks(m));
    return out;
}

} // namespace pz::test
