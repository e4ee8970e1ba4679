#pragma once
// Days left until the recalibration reminder, from the recalibration period
// of the preferences.

#include <QDateTime>

// 0 when the period is 0 (never remind) or no preferences are registered;
// else the period minus the calendar days since the calibration, negative
// when overdue.
int GetDaysUntilNextCalibration(const QDateTime &calibrated);

namespace pz {
// The same for a given period and "now".
int daysUntilNextCalibration(unsigned int periodDays, const QDateTime &calibrated,
                             const QDateTime &now);
} // namespace pz
