#include "SimGammaRamps.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace pz {

void SimGammaRamps::addDisplay(quint32 displayId)
{
    QMutexLocker lock(&m_lock);
    m_ramps.insert(displayId, identityGammaRamp());
}

void SimGammaRamps::removeDisplay(quint32 displayId)
{
    QMutexLocker lock(&m_lock);
    m_ramps.remove(displayId);
    m_refuses.remove(displayId);
}

void SimGammaRamps::setRefuses(quint32 displayId, bool refuses)
{
    QMutexLocker lock(&m_lock);
    m_refuses[displayId] = refuses;
}

bool SimGammaRamps::setRamp(quint32 displayId, const GammaRampTables &tables)
{
    QMutexLocker lock(&m_lock);
    if (!m_ramps.contains(displayId) || m_refuses.value(displayId))
        return false;
    if (tables.red.size() != kEntries || tables.green.size() != kEntries || tables.blue.size() != kEntries)
        return false;
    m_ramps[displayId] = tables;
    return true;
}

bool SimGammaRamps::getRamp(quint32 displayId, GammaRampTables &tables)
{
    QMutexLocker lock(&m_lock);
    if (!m_ramps.contains(displayId))
        return false;
    tables = m_ramps.value(displayId);
    return true;
}

double SimGammaRamps::apply(quint32 displayId, int channel, double v) const
{
    QMutexLocker lock(&m_lock);
    const auto it = m_ramps.constFind(displayId);
    if (it == m_ramps.constEnd() || !std::isfinite(v))
        return std::clamp(std::isfinite(v) ? v : 0.0, 0.0, 1.0);
    const QVector<float> &t = channel == 0 ? it->red : (channel == 1 ? it->green : it->blue);
    const double pos = std::clamp(v, 0.0, 1.0) * (kEntries - 1);
    const int i = std::min(kEntries - 2, static_cast<int>(pos));
    const double f = pos - i;
    const double out = t[i] + (t[i + 1] - t[i]) * f;
    return std::clamp(std::isfinite(out) ? out : 0.0, 0.0, 1.0);
}

} // namespace pz
