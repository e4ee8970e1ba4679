#include "CEyeOneLibrarySensor.h"

#include "EyeOneLibrary.h"

namespace {

const QByteArray kDeviceTypeOption = "DeviceType";
const QByteArray kModeOption = "MeasurementMode";

} // namespace

CEyeOneLibrarySensor::CEyeOneLibrarySensor(const QByteArray &deviceType)
    : m_DeviceType(deviceType)
{
}

QString CEyeOneLibrarySensor::GetSerialNumber()
{
    return QString::fromLatin1(LibraryOption("SerialNumber"));
}

void CEyeOneLibrarySensor::Settings() {}

int CEyeOneLibrarySensor::IsValidSettings() { return 0; }

void CEyeOneLibrarySensor::SetSync(double) {}

int CEyeOneLibrarySensor::DetectVerticalScanningFrequency() { return kSensorOK; }

bool CEyeOneLibrarySensor::IsDeviceConnected()
{
    pz::IEyeOneLibrary &library = pz::eyeOneLibrary();
    const QByteArray saved = library.GetOption(kDeviceTypeOption);
    library.SetOption(kDeviceTypeOption, m_DeviceType);
    const int status = library.IsConnected();
    library.SetOption(kDeviceTypeOption, saved);
    return status != pz::kI1NoDevice;
}

bool CEyeOneLibrarySensor::SetLibraryOption(const QByteArray &key, const QByteArray &value)
{
    return pz::eyeOneLibrary().SetOption(key, value) == pz::kI1Success;
}

QByteArray CEyeOneLibrarySensor::LibraryOption(const QByteArray &key)
{
    return pz::eyeOneLibrary().GetOption(key);
}

bool CEyeOneLibrarySensor::SetXYZEmissionOptions()
{
    return SetLibraryOption("Colorimetric.Illumination", "Emission")
        && SetLibraryOption("ColorSpaceDescription.Type", "CIEXYZ");
}

QByteArray CEyeOneLibrarySensor::LibraryModeName(int mode)
{
    return mode == kSensorModeAmbient ? QByteArray("SingleAmbientLight")
                                      : QByteArray("SingleEmission");
}

int CEyeOneLibrarySensor::SetSensorMeasurementMode(typeSensorMeasurementMode mode)
{
    if (mode == m_MeasurementMode)
        return kSensorOK;
    if (mode != kSensorModeDisplay && mode != kSensorModeAmbient)
        return kSensorRefused;
    if (!m_Connected)
        return kSensorNotConnected;
    if (SupportsZeroCal())
        m_ZeroCalibrationDone = false;
    if (!SetLibraryOption(kModeOption, LibraryModeName(mode)))
        return kSensorRefused;
    if (!SetXYZEmissionOptions()) {
        // Otherwise the library would go on measuring in the new mode while
        // the adapter takes its readings for the old one (lux as cd/m²).
        SetLibraryOption(kModeOption, LibraryModeName(m_MeasurementMode));
        return kSensorRefused;
    }
    m_MeasurementMode = mode;
    return kSensorOK;
}

int CEyeOneLibrarySensor::ReadOnce(CCIEXYZ &reading)
{
    pz::IEyeOneLibrary &library = pz::eyeOneLibrary();
    if (library.TriggerMeasurement() != pz::kI1Success)
        return kSensorDeviceFailed;
    float xyz[3] = {0, 0, 0};
    if (library.GetTriStimulus(xyz, 0) != pz::kI1Success)
        return kSensorDeviceFailed;
    reading = CCIEXYZ(xyz[0], xyz[1], xyz[2]);
    return kSensorOK;
}

int CEyeOneLibrarySensor::MeasureReadings(unsigned count)
{
    if (!m_Connected)
        return kSensorNotConnected;
    m_NewReadingAvailable = false;
    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    if (m_MeasurementMode != kSensorModeDisplay)
        return kSensorRefused;
    return MeasureAveraged(count, ReadOnce);
}

int CEyeOneLibrarySensor::MeasureAmbientLight()
{
    if (!m_Connected)
        return kSensorNotConnected;
    m_NewReadingAvailable = false;
    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    if (m_MeasurementMode != kSensorModeAmbient)
        return kSensorRefused;
    CCIEXYZ reading;
    const int status = ReadOnce(reading);
    if (status != kSensorOK)
        return status;
    m_LastReading = reading;
    m_NewReadingAvailable = true;
    return kSensorOK;
}

int CEyeOneLibrarySensor::GetXYZData(CCIEXYZ &out) { return HandOutReading(out); }
