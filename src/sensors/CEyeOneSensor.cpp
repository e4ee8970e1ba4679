#include "CEyeOneSensor.h"

#include "EyeOneLibrary.h"

#include <QCoreApplication>


namespace {

constexpr unsigned short kEyeOneProProductId = 0x2000;

} // namespace

CEyeOneSensor::CEyeOneSensor() : CEyeOneLibrarySensor("EyeOne")
{
    m_MeasurementMode = 0;
    m_Connected = Init() == kSensorOK;
}

CEyeOneSensor::~CEyeOneSensor() = default;

int CEyeOneSensor::Init()
{
    if (!IsDeviceConnected())
        return kSensorNotConnected;
    SetLibraryOption("DeviceType", m_DeviceType);
    m_AmbientSupported = SetLibraryOption("MeasurementMode", "SingleAmbientLight");
    if (!SetLibraryOption("MeasurementMode", "SingleEmission")
        || !SetLibraryOption("Colorimetric.Illumination", "Emission")
        || !SetLibraryOption("AdaptiveMode", "1")
        || !SetLibraryOption("Colorimetric.Observer", "TwoDegree"))
        return kSensorDeviceFailed;
    if (!SetLibraryOption("ColorSpaceDescription.Type", "CIEXYZ"))
        return kSensorRefused;
    m_MeasurementMode = kSensorModeDisplay;
    return kSensorOK;
}

QString CEyeOneSensor::GetModelName()
{
    return QCoreApplication::translate("QObject", "X-Rite EyeOne", "XRite EyeOnePro name");
}

bool CEyeOneSensor::DoesSupportAmbientLightMeasurement() { return m_AmbientSupported; }

int CEyeOneSensor::ZeroCal()
{
    if (!m_Connected)
        return kSensorNotConnected;
    if (pz::eyeOneLibrary().Calibrate() != pz::kI1Success)
        return kSensorZeroCalFailed;
    m_ZeroCalibrationDone = true;
    return kSensorOK;
}

int CEyeOneSensor::Measure(unsigned) { return MeasureReadings(1); }

int CEyeOneSensor::SetScreenType(typeSensorScreen screen, CTargetDisplay::typeMonitorColorGamutType)
{
    m_ScreenType = screen;
    return kSensorOK;
}

int CEyeOneSensor::GetSensorPhyscalData(sensor_physical_data &data)
{
    const bool display = m_MeasurementMode == kSensorModeDisplay;
    data.m_ZeroCalibrationPicture = display
        ? QStringLiteral(":/images/Resources/ione pro zerocal on base.png")
        : QStringLiteral(":/images/Resources/ione pro ambient cover.png");
    data.m_OnDisplayPicture = QStringLiteral(":/images/Resources/ione pro measure.png");
    data.m_AmbientMeasurementPicture = QStringLiteral(":/images/Resources/ione pro ambient measure.png");
    data.m_AmbientPositioningText = QCoreApplication::translate(
        "QObject", "Remove the cap and direct the sensor away from the display.",
        "XRite EyeOnePro message");
    data.m_ZeroCalibrationText = display
        ? QCoreApplication::translate("QObject",
                                      "Place the calibration sensor on the base holder as shown.",
                                      "XRite EyeOnePro message")
        : QCoreApplication::translate(
              "QObject", "Attach the ambient light diffuser and cap to the sensor as shown.",
              "XRite EyeOnePro message");
    data.m_PictureSizeCm = 20.0;
    data.m_LensCentreFraction = 0.35;
    data.m_TargetSizeCm = 11.0;
    return kSensorOK;
}

bool CEyeOneSensor::GetSensorPnPIDs(unsigned short &vendor, unsigned short &product)
{
    vendor = kXRiteVendorId;
    product = kEyeOneProProductId;
    return true;
}
