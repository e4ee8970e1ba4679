#include "CalibrationDue.h"

#include "CPreferences.h"
#include "PreferencesRegistry.h"

namespace pz {

int daysUntilNextCalibration(unsigned int periodDays, const QDateTime &calibrated,
                             const QDateTime &now)
{
    if (periodDays == 0)
        return 0;
    return int(periodDays) - int(calibrated.daysTo(now));
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
