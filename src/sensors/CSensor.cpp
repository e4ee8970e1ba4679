#include "CSensor.h"

#include "CPreferences.h"
#include "PreferencesRegistry.h"

#include <cmath>

CSensor::CSensor() : QObject(nullptr) {}

CSensor::~CSensor() = default;

CSensor::typeSensorScreen CSensor::SensorScreenForDisplay(CTargetDisplay::typeMonitorScreenType screen)
{
    return screen == CTargetDisplay::kScreenCRT ? kSensorScreenCRT : kSensorScreenLCD;
}

bool CSensor::DoesSensorSupportMeasurementSelector() { return false; }

int CSensor::GetSensorMeasurementSelectorPosition() { return kSelectorDisplay; }

bool CSensor::DoesSensorSupportMeasurementSelectorNeedPolling() { return false; }

bool CSensor::DoesSensorSupportMeasurementButtonStatus() { return false; }

int CSensor::GetSensorMeasurementButtonStatus() { return 0; }

int CSensor::SetSensorMeasurementMode(typeSensorMeasurementMode mode)
{
    m_MeasurementMode = mode;
    return kSensorOK;
}

int CSensor::validate_phopshor_colors(CCIEXYZ reading, int patch)
{
    if (patch < kPatchRed || patch > kPatchWhite)
        return kSensorPatchOutOfRange;
    const CCIEYxy c = reading.GetCIEYxy();
    // A reading that is not a number would pass every comparison below and
    // end up in the result and the profile.
    if (!std::isfinite(reading.X) || !std::isfinite(reading.Y) || !std::isfinite(reading.Z)
        || !std::isfinite(c.x) || !std::isfinite(c.y))
        return kSensorRefused;

    bool fails = false;
    switch (patch) {
    case kPatchRed:
        fails = c.x < 0.45 || c.y < 0.15 || c.y > 0.45;
        break;
    case kPatchGreen:
        fails = c.x < 0.1 || c.x > 0.45 || c.y < 0.45;
        break;
    case kPatchBlue:
        fails = c.x > 0.3 || c.y > 0.2;
        break;
    case kPatchBlack:
        fails = c.Y > 15.0;
        break;
    case kPatchWhite:
        fails = c.Y < 4.0;
        break;
    }
    return fails ? kSensorRefused : kSensorOK;
}

bool CSensor::IsSensorAccurateOnWideGamutDisplays() { return true; }

bool CSensor::SupportsDetectVerticalScanningFrequency() { return false; }

bool CSensor::SupportsZeroCal() { return true; }

QPixmap CSensor::GetPixmapForCurrentPosition(int) { return QPixmap(); }

bool CSensor::GetSensorSupportsUserPreparationWarning() { return false; }

bool CSensor::GetSensorNeedsUserPreparationWarning() { return m_PreparationWarningPending; }

void CSensor::SetSensorNeedsUserPreparationWarningCompleted(bool pending)
{
    m_PreparationWarningPending = pending;
}

bool CSensor::GetSensorPnPIDs(unsigned short &vendor, unsigned short &product)
{
    vendor = 0;
    product = 0;
    return false;
}

bool CSensor::GetSensorSupportsCheckSensorPositionStatus() { return false; }

bool CSensor::GetSensorSupportsDisplayGamutSelection() { return false; }

int CSensor::FlashLED(int) { return kSensorRefused; }

bool CSensor::GetSensorNeedsPostZeroCalSetupMessage() { return false; }

int CSensor::HandOutReading(CCIEXYZ &out)
{
    if (!m_Connected || !m_NewReadingAvailable)
        return kSensorDeviceFailed;
    out = m_LastReading;
    m_NewReadingAvailable = false;
    return kSensorOK;
}

bool CSensor::LowLightAveragingOn()
{
    const CPreferences *preferences = pz::applicationPreferences();
    return !preferences || preferences->m_AverageLowLightMeasurements != 0;
}

unsigned CSensor::LowLightReadingCount(double firstY, unsigned count)
{
    if (!LowLightAveragingOn() || !(firstY < kLowLightLimit))
        return count;
    return firstY < kVeryLowLightLimit ? kVeryLowLightReadings : kLowLightReadings;
}

int CSensor::MeasureAveraged(unsigned count, const std::function<int(CCIEXYZ &)> &readOnce)
{
    // A reading left from before must not be handed out as this call's
    // result when this call fails.
    m_NewReadingAvailable = false;
    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    m_ReadingCount = count == 0 ? 1 : count;
    for (unsigned i = 0; i < m_ReadingCount; ++i) {
        CCIEXYZ reading;
        const int status = readOnce(reading);
        if (status != kSensorOK)
            return status;
        m_LastReading.X += reading.X;
        m_LastReading.Y += reading.Y;
        m_LastReading.Z += reading.Z;
        if (i == 0)
            m_ReadingCount = LowLightReadingCount(reading.Y, m_ReadingCount);
    }
    const double n = m_ReadingCount;
    m_LastReading = CCIEXYZ(m_LastReading.X / n, m_LastReading.Y / n, m_LastReading.Z / n);
    m_NewReadingAvailable = true;
    return kSensorOK;
}
