#include "SimSensorFaults.h"

#include "Clock.h"

#include <algorithm>

namespace pz {

void SimSensorFaults::failNext(const QString &call, int status, int count)
{
    QMutexLocker lock(&m_lock);
    m_faults.append(Fault{call, status, count, false});
}

void SimSensorFaults::timeOutNext(const QString &call, int status, int count)
{
    QMutexLocker lock(&m_lock);
    m_faults.append(Fault{call, status, count, true});
}

std::optional<int> SimSensorFaults::takeFault(const QString &call, qint64 timeoutUs)
{
    Fault taken;
    {
        QMutexLocker lock(&m_lock);
        auto it = std::find_if(m_faults.begin(), m_faults.end(),
                               [&](const Fault &f) { return f.call == call; });
        if (it == m_faults.end())
            return std::nullopt;
        taken = *it;
        if (it->remaining != kForever && --it->remaining <= 0)
            m_faults.erase(it);
    }
    // Waited outside the lock: another thread may unplug meanwhile.
    if (taken.timeOut && timeoutUs > 0)
        programClock().sleepUs(timeoutUs);
    return taken.status;
}

int SimSensorFaults::pendingFaults(const QString &call) const
{
    QMutexLocker lock(&m_lock);
    int n = 0;
    for (const Fault &f : m_faults)
        if (f.call == call)
            n += f.remaining == kForever ? 1 : f.remaining;
    return n;
}

void SimSensorFaults::clear()
{
    QMutexLocker lock(&m_lock);
    m_faults.clear();
}

void SimSensorFaults::loseNow()
{
    const qint64 now = programClock().nowUs();
    QMutexLocker lock(&m_lock);
    if (m_lostAtUs < 0 || m_lostAtUs > now)
        m_lostAtUs = now;
}

void SimSensorFaults::loseAfterUs(qint64 us)
{
    const qint64 at = programClock().nowUs() + qMax<qint64>(us, 0);
    QMutexLocker lock(&m_lock);
    if (m_lostAtUs < 0 || m_lostAtUs > at)
        m_lostAtUs = at;
}

bool SimSensorFaults::isLost() const
{
    const qint64 now = programClock().nowUs();
    QMutexLocker lock(&m_lock);
    return m_lostAtUs >= 0 && now >= m_lostAtUs;
}

void SimSensorFaults::replug()
{
    QMutexLocker lock(&m_lock);
    m_lostAtUs = -1;
    ++m_generation;
}

quint64 SimSensorFaults::generation() const
{
    QMutexLocker lock(&m_lock);
    return m_generation;
}

bool SimSensorFaults::sleepUs(qint64 us)
{
    IClock &clock = programClock();
    qint64 lostAt;
    {
        QMutexLocker lock(&m_lock);
        lostAt = m_lostAtUs;
    }
    const qint64 now = clock.nowUs();
    if (lostAt >= 0 && lostAt <= now)
        return false;
    if (lostAt >= 0 && lostAt < now + us) {
        clock.sleepUs(lostAt - now);
        return false;
    }
    clock.sleepUs(us);
    return !isLost();
}

} // namespace pz
