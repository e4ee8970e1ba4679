#include "CalibrationDue.h"

#include "CPreferences.h"
#include "PreferencesRegistry.h"

#include <algorithm>
#include <limits>

namespace pz {

int daysUntilNextCalibration(unsigned int periodDays, const QDateTime &calibrated,
                             const QDateTime &now)
{
    if (periodDays == 0)
        return 0;
    // A date read from a damaged record may lie millions of years away:
    // count in 64 bits and keep the answer inside an int.
    const qint64 days = qint64(periodDays) - calibrated.daysTo(now);
    return int(std::clamp<qint64>(days, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace pz

int GetDaysUntilNextCalibration(const QDateTime &calibrated)
{
    const CPreferences *preferences = pz::applicationPreferences();
    if (!preferences)
        return 0;
    return pz::daysUntilNextCalibration(preferences->m_RecalibrationPeriod, calibrated,
                                        QDateTime::currentDateTime());
}
