#include "CEyeOneDisplaySensor.h"

#include "EyeOneLibrary.h"

#include <QCoreApplication>

#include <limits>

namespace {

constexpr unsigned short kEyeOneDisplayProductId = 0x2003;

// Serial number ranges of Orvane's variants: n is in a range when
// n - base < span in unsigned arithmetic.
struct SerialRange {
    quint32 base;
    quint32 span;
    int model;
    bool ambient;
};
constexpr SerialRange kSerialRanges[] = {
    {950000, 1000, CEyeOneDisplaySensor::kModelOrvaneWideGamut, false},
    {951000, 13999, CEyeOneDisplaySensor::kModelVoredirive, false},
    {965000, 10000, CEyeOneDisplaySensor::kModelOrvane, false},
    {124098, 512, CEyeOneDisplaySensor::kModelOrvane, false},
    {166656, 500, CEyeOneDisplaySensor::kModelOrvane, false},
    {189473, 400, CEyeOneDisplaySensor::kModelOrvane, false},
    {219835, 400, CEyeOneDisplaySensor::kModelOrvane, false},
    {223565, 950, CEyeOneDisplaySensor::kModelOrvane, true},
};

// The leading decimal digits as a number; nothing when there are none or
// they do not fit 32 bits.
std::optional<quint32> leadingNumber(const QByteArray &text)
{
    quint64 n = 0;
    int digits = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + quint64(c - '0');
        if (n > std::numeric_limits<quint32>::max())
            return std::nullopt;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return quint32(n);
}

} // namespace

CEyeOneDisplaySensor::CEyeOneDisplaySensor() : CEyeOneLibrarySensor("EyeOneDisplay")
{
    m_MeasurementMode = 0;
    m_Connected = Init() == kSensorOK;
}

CEyeOneDisplaySensor::~CEyeOneDisplaySensor()
{
    SetLibraryOption("MeasurementMode", "Cleanup");
}

std::optional<CEyeOneDisplaySensor::SerialModel>
CEyeOneDisplaySensor::ModelForSerial(const QByteArray &serial)
{
    const std::optional<quint32> n = leadingNumber(serial);
    if (!n)
        return std::nullopt;
    std::optional<SerialModel> found;
    for (const SerialRange &range : kSerialRanges)
        if (*n - range.base < range.span)
            found = SerialModel{range.model, range.ambient};
    return found;
}

int CEyeOneDisplaySensor::Init()
{
    if (!IsDeviceConnected())
        return kSensorNotConnected;
    SetLibraryOption("DeviceType", m_DeviceType);
    m_Model = LibraryOption("AvailableMeasurementModes").contains("SingleAmbientLight")
                  ? kModelDisplay2
                  : kModelFirstGeneration;
    if (!SetLibraryOption("MeasurementMode", "SingleEmission")
        || !SetLibraryOption("AdaptiveMode", "1"))
        return kSensorDeviceFailed;

    const std::optional<SerialModel> bySerial = ModelForSerial(LibraryOption("SerialNumber"));
    if (bySerial)
        m_Model = bySerial->model;
    m_AmbientSupported = (bySerial && bySerial->ambient) || m_Model != kModelFirstGeneration;

    if (!SetXYZEmissionOptions())
        return kSensorRefused;
    SetLibraryOption("ScreenType", "LCD");
    m_MeasurementMode = kSensorModeDisplay;
    return kSensorOK;
}

QString CEyeOneDisplaySensor::GetModelName()
{
    switch (m_Model) {
    case kModelDisplay2:
        return QStringLiteral("X-Rite iOne Display v2");
    case kModelOrvane:
        return QStringLiteral("Orvane iOne Display v2");
    case kModelOrvaneWideGamut:
        return QStringLiteral("Orvane iOne Display v2 WG");
    case kModelVoredirive:
        return QStringLiteral("Orvane VOREDIRIVE (Custom iOne Display v2)");
    default:
        return QStringLiteral("Gretag iOne Display");
    }
}

bool CEyeOneDisplaySensor::DoesSupportAmbientLightMeasurement() { return m_AmbientSupported; }

bool CEyeOneDisplaySensor::SupportsZeroCal() { return m_Model == kModelFirstGeneration; }

int CEyeOneDisplaySensor::ZeroCal()
{
    if (!m_Connected)
        return kSensorNotConnected;
    if (!SupportsZeroCal())
        return kSensorOK;
    if (pz::eyeOneLibrary().Calibrate() != pz::kI1Success)
        return kSensorZeroCalFailed;
    m_ZeroCalibrationDone = true;
    return kSensorOK;
}

int CEyeOneDisplaySensor::Measure(unsigned count) { return MeasureReadings(count); }

int CEyeOneDisplaySensor::SetScreenType(typeSensorScreen screen,
                                        CTargetDisplay::typeMonitorColorGamutType gamut)
{
    m_ScreenType = screen;
    if (!m_Connected)
        return kSensorNotConnected;
    // Orvane's variants for wide-gamut work carry their own LCD calibration
    // and take the "CRT" one for wide-gamut CCFL displays.
    bool crt = screen == kSensorScreenCRT;
    if (m_Model == kModelOrvaneWideGamut || m_Model == kModelVoredirive)
        crt = gamut == CTargetDisplay::kGamutWideCCFL;
    if (!SetLibraryOption("ScreenType", crt ? "CRT" : "LCD"))
        return kSensorDeviceFailed;
    SetLibraryOption("DisplayMeasureType", "DisplayMeasureTimeVarying");
    return kSensorOK;
}

int CEyeOneDisplaySensor::GetSensorPhyscalData(sensor_physical_data &data)
{
    data.m_ZeroCalibrationPicture = QStringLiteral(":/images/Resources/ione display v1 zero cal.png");
    switch (m_Model) {
    case kModelOrvane:
    case kModelOrvaneWideGamut:
        data.m_OnDisplayPicture = QStringLiteral(":/images/Resources/Orvane_ione_displayv2_on_lcd.png");
        break;
    case kModelVoredirive:
        data.m_OnDisplayPicture = QStringLiteral(":/images/Resources/Orvane_voredirive_on_lcd.png");
        break;
    default:
        data.m_OnDisplayPicture = QStringLiteral(":/images/Resources/ione_displayv2_on_lcd.png");
    }
    data.m_AmbientMeasurementPicture =
        QStringLiteral(":/images/Resources/iOneV2AmbientLightMeasurement.png");
    data.m_AmbientPositioningText = QCoreApplication::translate(
        "QObject",
        "Attach the white plastic diffuser to the sensor as shown and direct the sensor away "
        "from the display.",
        "eye one display sensor ambient positioning message");
    data.m_ZeroCalibrationText = QCoreApplication::translate(
        "QObject", "Place the device on a flat surface so that light cannot reach the sensor.",
        "eye one display sensor zero calibration message");
    data.m_PreparationWarningText = QCoreApplication::translate(
        "QObject",
        "<html>Detach the white plastic diffuser from the sensor before taking any "
        "measurements.<br><br><center><img src=\":/images/Resources/ione cover "
        "removal.png\"></center></html>");
    data.m_PictureSizeCm = 11.0;
    data.m_LensCentreFraction = 0.6;
    data.m_TargetSizeCm = 10.0;
    return kSensorOK;
}

bool CEyeOneDisplaySensor::GetSensorSupportsUserPreparationWarning() { return true; }

bool CEyeOneDisplaySensor::GetSensorPnPIDs(unsigned short &vendor, unsigned short &product)
{
    vendor = kXRiteVendorId;
    product = kEyeOneDisplayProductId;
    return true;
}
