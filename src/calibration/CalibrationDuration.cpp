#include "CalibrationDuration.h"

#include "Clock.h"

#include <algorithm>
#include <limits>

namespace pz {

qint64 CalibrationStartTime() { return programClock().nowUs(); }

qint16 CalibrationDurationSeconds(qint64 startUs)
{
    const qint64 seconds = (programClock().nowUs() - startUs) / 1000000;
    return qint16(std::clamp<qint64>(seconds, 0, std::numeric_limits<qint16>::max()));
}

} // namespace pz
