#include "Clock.h"

#include <QThread>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <algorithm>
#include <cmath>

namespace pz {

RealClock::RealClock(double speed) : m_speed(speed > 0 ? speed : 1.0) {}

void RealClock::sleepUs(qint64 us)
{
    if (us <= 0)
        return;
    // Long waits (a slowed-down simulation waits minutes) go in short
    // pieces, so a thread that is being stopped does not sit them out.
    constexpr qint64 kPieceUs = 20000;
    qint64 left = std::llround(us / m_speed);
    while (left > 0 && !workAbandoned()) {
        const qint64 piece = std::min(left, kPieceUs);
        QThread::usleep(static_cast<unsigned long>(piece));
        left -= piece;
    }
}

qint64 RealClock::nowUs() const
{
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return static_cast<qint64>(timer.nsecsElapsed() / 1000 * m_speed);
}

void VirtualClock::sleepUs(qint64 us)
{
    QMutexLocker lock(&m_mutex);
    m_waits.append(us);
    if (us > 0)
        m_now += us;
}

qint64 VirtualClock::nowUs() const
{
    QMutexLocker lock(&m_mutex);
    return m_now;
}

void VirtualClock::advanceUs(qint64 us)
{
    QMutexLocker lock(&m_mutex);
    m_now += us;
}

QVector<qint64> VirtualClock::waitsUs() const
{
    QMutexLocker lock(&m_mutex);
    return m_waits;
}

QVector<qint64> VirtualClock::waitsMs() const
{
    QVector<qint64> ms;
    for (qint64 us : waitsUs())
        ms.append((us + 500) / 1000);
    return ms;
}

QVector<qint64> VirtualClock::waitsTicks() const
{
    QVector<qint64> ticks;
    for (qint64 us : waitsUs())
        ticks.append((us * 60 + 500000) / 1000000);
    return ticks;
}

qint64 VirtualClock::totalWaitedUs() const
{
    QMutexLocker lock(&m_mutex);
    qint64 sum = 0;
    for (qint64 w : m_waits)
        sum += w;
    return sum;
}

void VirtualClock::clearWaits()
{
    QMutexLocker lock(&m_mutex);
    m_waits.clear();
}

namespace {
double speedFromEnvironment()
{
    if (qEnvironmentVariableIntValue("PELZORA_SIMULATE") != 1)
        return 1.0;
    bool ok = false;
    const double speed = qEnvironmentVariable("PELZORA_SIM_SPEED").toDouble(&ok);
    return ok && speed > 0 && std::isfinite(speed) ? speed : 1.0;
}

IClock &defaultClock()
{
    static RealClock real(speedFromEnvironment());
    return real;
}
} // namespace

IClock &programClock()
{
    IClock *c = GlobalInstance<IClock>::get();
    return c ? *c : defaultClock();
}

void setClock(IClock *c) { GlobalInstance<IClock>::set(c); }

bool workAbandoned()
{
    const QThread *thread = QThread::currentThread();
    return thread && thread->isInterruptionRequested();
}

qint64 waitTicks(int ms)
{
    // A negative time from a miscomputed delay still waits the one tick
    // every wait lasts, never a negative (or, for the system, endless) one.
    return std::max<qint64>((static_cast<qint64>(ms) * 6) / 100 + 1, 1);
}

qint64 ticksToUs(qint64 ticks) { return (ticks * 1000000 + 30) / 60; }

} // namespace pz

void WaitMS(int ms)
{
    pz::programClock().sleepUs(pz::ticksToUs(pz::waitTicks(ms)));
}
