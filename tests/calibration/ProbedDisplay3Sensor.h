#pragma once
// The i1 Display Pro adapter as the engine tests use it: every call goes to
// the adapter (and through it to the simulated device), and the probe notes
// the count of every Measure call and the patch of every plausibility test.
// Two answers can be forced where the device has no say: the plausibility
// test (accept every reading, or refuse one patch), and a failing hand-out
// of the reading just taken.

#include "CEyeOneDisplay3Sensor.h"

#include <QMutex>
#include <QVector>

namespace pz::test {

class ProbedDisplay3Sensor : public CEyeOneDisplay3Sensor {
public:
    // The count of every Measure call, in order.
    QVector<unsigned> measureCounts() const
    {
        QMutexLocker lock(&m_lock);
        return m_counts;
    }
    // The patch of every plausibility test, in order.
    QVector<int> testedPatches() const
    {
        QMutexLocker lock(&m_lock);
        return m_tested;
    }
    void acceptEverything(bool on) { m_acceptEverything = on; }
    void refusePatch(int patch) { m_refused = patch; }
    // The next GetXYZData fails with `status` and hands nothing out.
    void failNextHandOut(int status) { m_handOutFault = status; }

    int Measure(unsigned count) override
    {
        {
            QMutexLocker lock(&m_lock);
            m_counts.append(count);
        }
        return CEyeOneDisplay3Sensor::Measure(count);
    }

    int validate_phopshor_colors(CCIEXYZ reading, int patch) override
    {
        {
            QMutexLocker lock(&m_lock);
            m_tested.append(patch);
        }
        if (patch == m_refused)
            return kSensorRefused;
        return m_acceptEverything ? kSensorOK
                                  : CEyeOneDisplay3Sensor::validate_phopshor_colors(reading, patch);
    }

    int GetXYZData(CCIEXYZ &out) override
    {
        if (const int status = m_handOutFault.exchange(0))
            return status;
        return CEyeOneDisplay3Sensor::GetXYZData(out);
    }

private:
    std::atomic<bool> m_acceptEverything{false};
    std::atomic<int> m_refused{0};
    std::atomic<int> m_handOutFault{0};
    mutable QMutex m_lock;
    QVector<unsigned> m_counts;
    QVector<int> m_tested;
};

} // namespace pz::test
