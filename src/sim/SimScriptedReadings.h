#pragma once
// Readings a test hands a simulated sensor in advance: the next display
// readings give these values as they are (no noise), in order, before the
// device measures the light again. Thread-safe.

#include "SimLightModel.h"

#include <QMutex>
#include <QVector>

namespace pz {

class SimScriptedReadings {
public:
    void set(const QVector<SimXYZ> &readings)
    {
        QMutexLocker lock(&m_lock);
        m_readings = readings;
    }
    // The next scripted reading, or false when none is left.
    bool take(SimXYZ &reading)
    {
        QMutexLocker lock(&m_lock);
        if (m_readings.isEmpty())
            return false;
        reading = m_readings.takeFirst();
        return true;
    }

private:
    QMutex m_lock;
    QVector<SimXYZ> m_readings;
};

} // namespace pz
