#pragma once
// The program's one clock. Every wait (WaitMS, settle times, polls, device
// timeouts) goes through programClock(), so tests can swap in a VirtualClock that
// records what was asked for and returns at once.

#include "GlobalInstance.h"

#include <QtGlobal>
#include <QMutex>
#include <QVector>

namespace pz {

class IClock {
public:
    virtual ~IClock() = default;
    // Blocks the calling thread for us microseconds (or pretends to).
    virtual void sleepUs(qint64 us) = 0;
    // Microseconds since an arbitrary start; advances with every sleep.
    virtual qint64 nowUs() const = 0;

    void sleepMs(qint64 ms) { sleepUs(ms * 1000); }
    qint64 nowMs() const { return nowUs() / 1000; }
};

// Wall-clock time. A speed factor above 1 shortens every wait, so a
// demonstration run on the simulated devices does not take minutes. A wait
// on a thread whose work is being abandoned (workAbandoned()) ends early.
class RealClock : public IClock {
public:
    explicit RealClock(double speed = 1.0);
    void sleepUs(qint64 us) override;
    qint64 nowUs() const override;
    double speed() const { return m_speed; }

private:
    double m_speed;
};

// Returns at once; keeps the requested waits and a virtual "now".
class VirtualClock : public IClock {
public:
    void sleepUs(qint64 us) override;
    qint64 nowUs() const override;
    void advanceUs(qint64 us);          // time passing without a wait
    QVector<qint64> waitsUs() const;    // every sleep in microseconds, in order
    QVector<qint64> waitsMs() const;    // the same, rounded to milliseconds
    QVector<qint64> waitsTicks() const; // the same, in ticks of 1/60 s
    qint64 totalWaitedUs() const;
    void clearWaits();

private:
    mutable QMutex m_mutex;
    qint64 m_now = 0;
    QVector<qint64> m_waits;
};

// The clock in force. Defaults to a RealClock whose speed comes from
// PELZORA_SIM_SPEED when PELZORA_SIMULATE=1, else 1.
IClock &programClock();
// Installs another clock (not owned); nullptr restores the default.
void setClock(IClock *c);

// Installs a clock for the lifetime of a scope (tests).
using ScopedClock = GlobalInstance<IClock>::Scoped;

// Whether the calling thread has been asked to give up its work
// (QThread::requestInterruption): device code then sends nothing more and
// its waits end early, so a thread that is being stopped ends within one
// step of what it was doing. Never true on the GUI thread.
bool workAbandoned();

// Duration WaitMS(ms) really waits: whole ticks of 1/60 s, at least one.
qint64 waitTicks(int ms);
qint64 ticksToUs(qint64 ticks);   // rounded to the nearest microsecond

} // namespace pz

// Blocks for (ms * 6 / 100) + 1 ticks of 1/60 s on the program's clock.
void WaitMS(int ms);
