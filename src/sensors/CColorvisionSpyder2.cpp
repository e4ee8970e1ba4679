#include "CColorvisionSpyder2.h"

#include "Clock.h"
#include "Spyder2Library.h"
#include "spyder_dc.h"
#include "spyder_usb_layer.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kSerialOffset = 4;
constexpr int kSerialLength = 8;
constexpr quint8 kAmbientPowerUp = 3;
constexpr quint8 kAmbientPowerDown = 0;
// The Spyder2's calibrations.
constexpr qint32 kSpyder2Crt = 1;
constexpr qint32 kSpyder2Lcd = 2;

// Success, or the driver library was started already.
bool startedOrAlreadyStarted(int result, qint32 error)
{
    return result != 0 || error == pz::kCvAlreadyStarted;
}

// The Spyder2's codes for a refresh it could not follow: its values are
// still good.
bool toleratedSpyder2Error(qint32 code)
{
    return code == pz::kCvNoSync || code == pz::kCvNoRefresh;
}

// A failed driver call: the adapter fetches its code and answers a device
// failure.
int driverFailure()
{
    DC_GetDetailedError(nullptr);
    return CSensor::kSensorDeviceFailed;
}

QString serialOf(const quint8 record[12])
{
    const char *serial = reinterpret_cast<const char *>(record + kSerialOffset);
    const int length = int(std::find(serial, serial + kSerialLength, '\0') - serial);
    return QString::fromLatin1(serial, length);
}

} // namespace

CColorvisionSpyder2::CColorvisionSpyder2()
{
    m_Connected = Init() == kSensorOK;
}

CColorvisionSpyder2::~CColorvisionSpyder2()
{
    if (m_DeviceType == kDeviceSpyder2)
        pz::spyder2Library().Shutdown();
    else if (m_DeviceType == kDeviceSpyder3 || m_DeviceType == kDeviceSpyder4)
        DC_Shutdown();
}

int CColorvisionSpyder2::Init()
{
    m_DeviceType = kDeviceNone;
    std::memset(m_Spyder2Record, 0, sizeof m_Spyder2Record);
    std::memset(m_SpyderRecord, 0, sizeof m_SpyderRecord);

    int result = DC_Startup(m_SpyderRecord, spyder::kSpyder4ProductId);
    if (startedOrAlreadyStarted(result, result ? 0 : DC_GetDetailedError(nullptr))) {
        m_DeviceType = kDeviceSpyder4;
    } else {
        result = DC_Startup(m_SpyderRecord, spyder::kSpyder3ProductId);
        if (startedOrAlreadyStarted(result, result ? 0 : DC_GetDetailedError(nullptr))) {
            m_DeviceType = kDeviceSpyder3;
        } else {
            pz::ISpyder2Library &cv = pz::spyder2Library();
            result = cv.Startup(m_Spyder2Record);
            if (!startedOrAlreadyStarted(result, result ? 0 : cv.GetDetailedError(nullptr)))
                return kSensorRefused;
            m_DeviceType = kDeviceSpyder2;
        }
    }
    DetectVerticalScanningFrequency();
    return kSensorOK;
}

bool CColorvisionSpyder2::IsDeviceConnected() const { return m_DeviceType != kDeviceNone; }

int CColorvisionSpyder2::IntegrationTimeForProbe(double probeY)
{
    if (probeY < 5.0)
        return kDimTime;
    if (probeY < 20.0)
        return kMediumTime;
    return kBrightTime;
}

int CColorvisionSpyder2::Spyder4CalibrationForGamut(int gamut)
{
    if (gamut == CTargetDisplay::kGamutWideRGBLED)
        return 6;
    if (gamut >= CTargetDisplay::kGamutStandardWhiteLED)
        return 5;
    if (gamut == CTargetDisplay::kGamutWideCCFL)
        return 4;
    return 2;
}

QString CColorvisionSpyder2::GetModelName()
{
    switch (m_DeviceType) {
    case kDeviceSpyder2:
        return QStringLiteral("Datacolor Spyder2");
    case kDeviceSpyder3:
        return QStringLiteral("Datacolor Spyder3");
    case kDeviceSpyder4:
        return QStringLiteral("Datacolor Spyder4");
    default:
        return QStringLiteral("None");
    }
}

QString CColorvisionSpyder2::GetSerialNumber()
{
    if (m_DeviceType == kDeviceSpyder2)
        return serialOf(m_Spyder2Record);
    if (m_DeviceType == kDeviceSpyder3 || m_DeviceType == kDeviceSpyder4)
        return serialOf(m_SpyderRecord);
    return QString();
}

void CColorvisionSpyder2::Settings() {}

int CColorvisionSpyder2::IsValidSettings() { return 0; }

void CColorvisionSpyder2::SetSync(double) {}

int CColorvisionSpyder2::DetectVerticalScanningFrequency()
{
    if (m_DeviceType != kDeviceSpyder2)
        return kSensorOK;
    pz::ISpyder2Library &cv = pz::spyder2Library();
    // The rate stays in the library, which synchronises its readings to it.
    double rate = 0;
    if (cv.GetRefreshRate(rate))
        return kSensorOK;
    const qint32 code = cv.GetDetailedError(nullptr);
    return toleratedSpyder2Error(code) ? kSensorOK : int(code);
}

bool CColorvisionSpyder2::DoesSupportAmbientLightMeasurement()
{
    return m_DeviceType == kDeviceSpyder3 || m_DeviceType == kDeviceSpyder4;
}

int CColorvisionSpyder2::MeasureAmbientLight()
{
    m_NewReadingAvailable = false;
    if (m_DeviceType == kDeviceNone || m_DeviceType == kDeviceSpyder2)
        return kSensorRefused;
    if (!m_Connected)
        return kSensorNotConnected;
    quint16 lux = 0;
    if (!DC_WriteAmbientLightControlRegVal(kAmbientPowerUp))
        return driverFailure();
    WaitMS(kAmbientPowerUpMs);
    if (!DC_ReadAmbientLightLevel(&lux)) {
        const int result = driverFailure();
        // Powered down on failure too, so the sensor never stays on.
        DC_WriteAmbientLightControlRegVal(kAmbientPowerDown);
        return result;
    }
    m_LastReading = CCIEXYZ(0.0, lux, 0.0);
    if (!DC_WriteAmbientLightControlRegVal(kAmbientPowerDown))
        return driverFailure();
    m_NewReadingAvailable = true;
    return kSensorOK;
}

int CColorvisionSpyder2::ZeroCal() { return kSensorOK; }

int CColorvisionSpyder2::ReadXYZ(int time, CCIEXYZ &reading)
{
    qint32 X = 0, Y = 0, Z = 0;
    if (m_DeviceType == kDeviceSpyder2) {
        pz::ISpyder2Library &cv = pz::spyder2Library();
        if (!cv.GetXYZ(time, &X, &Y, &Z) && !toleratedSpyder2Error(cv.GetDetailedError(nullptr)))
            return kSensorDeviceFailed;
    } else if (!DC_GetXYZ(quint16(time), &X, &Y, &Z)) {
        return driverFailure();
    }
    reading = CCIEXYZ(X / 1000.0, Y / 1000.0, Z / 1000.0);
    return kSensorOK;
}

int CColorvisionSpyder2::Measure(unsigned)
{
    const bool lowLightAveraging = LowLightAveragingOn();
    if (!m_Connected)
        return kSensorNotConnected;
    // A reading left from before is not this call's result.
    m_NewReadingAvailable = false;
    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    m_ReadingCount = 1;

    CCIEXYZ probe;
    if (ReadXYZ(kProbeTime, probe) != kSensorOK)
        return kSensorDeviceFailed;
    int time = IntegrationTimeForProbe(probe.Y);

    CCIEXYZ sum(0.0, 0.0, 0.0);
    for (unsigned i = 1;; ++i) {
        CCIEXYZ reading;
        if (ReadXYZ(time, reading) != kSensorOK)
            return kSensorDeviceFailed;
        sum = CCIEXYZ(sum.X + reading.X, sum.Y + reading.Y, sum.Z + reading.Z);
        m_LastReading = sum;
        if (i == 1 && lowLightAveraging && reading.Y < kLowLightLimit) {
            m_ReadingCount = 2;
            time = reading.Y < kVeryLowLightLimit ? kVeryLowLightTime : kLowLightTime;
            continue;
        }
        if (i >= m_ReadingCount)
            break;
    }
    const double n = m_ReadingCount;
    m_LastReading = CCIEXYZ(std::max(0.0, sum.X / n), std::max(0.0, sum.Y / n),
                            std::max(0.0, sum.Z / n));
    m_NewReadingAvailable = true;
    return kSensorOK;
}

int CColorvisionSpyder2::GetXYZData(CCIEXYZ &out) { return HandOutReading(out); }

int CColorvisionSpyder2::SetScreenType(typeSensorScreen screen,
                                       CTargetDisplay::typeMonitorColorGamutType gamut)
{
    m_ScreenType = screen;
    if (m_DeviceType == kDeviceSpyder4) {
        if (!DC_UseCalibration(Spyder4CalibrationForGamut(gamut)))
            return driverFailure();
    } else if (m_DeviceType == kDeviceSpyder2) {
        pz::ISpyder2Library &cv = pz::spyder2Library();
        if (!cv.UseCalibration(screen == kSensorScreenCRT ? kSpyder2Crt : kSpyder2Lcd)) {
            cv.GetDetailedError(nullptr);
            return kSensorDeviceFailed;
        }
    }
    return kSensorOK;
}

int CColorvisionSpyder2::GetSensorPhyscalData(sensor_physical_data &data)
{
    if (m_DeviceType == kDeviceSpyder2) {
        const QString picture = QStringLiteral(":/images/Resources/spyder2.png");
        data.m_ZeroCalibrationPicture = picture;
        data.m_OnDisplayPicture = picture;
        data.m_AmbientMeasurementPicture = picture;
        data.m_AmbientPositioningText = QString();
        data.m_PictureSizeCm = 13.5;
        data.m_LensCentreFraction = 0.7;
    } else {
        const QString picture = QStringLiteral(":/images/Resources/spyder3.png");
        data.m_ZeroCalibrationPicture = picture;
        data.m_OnDisplayPicture = picture;
        data.m_AmbientMeasurementPicture =
            QStringLiteral(":/images/Resources/spyder3 ambient measure.png");
        data.m_AmbientPositioningText = QCoreApplication::translate(
            "QObject", "Position the calibration sensor as shown in the center of the screen.",
            "ColorVision Spyder message");
        data.m_PictureSizeCm = 13.1;
        data.m_LensCentreFraction = 0.4;
    }
    data.m_ZeroCalibrationText = QString();
    data.m_TargetSizeCm = 8.0;
    return kSensorOK;
}

bool CColorvisionSpyder2::SupportsDetectVerticalScanningFrequency()
{
    return m_DeviceType != kDeviceSpyder3 && m_DeviceType != kDeviceSpyder4;
}

bool CColorvisionSpyder2::SupportsZeroCal() { return false; }

bool CColorvisionSpyder2::GetSensorPnPIDs(unsigned short &vendor, unsigned short &product)
{
    switch (m_DeviceType) {
    case kDeviceSpyder2:
        product = 0x0200;
        break;
    case kDeviceSpyder3:
        product = spyder::kSpyder3ProductId;
        break;
    case kDeviceSpyder4:
        product = spyder::kSpyder4ProductId;
        break;
    default:
        vendor = 0;
        product = 0;
        return false;
    }
    vendor = spyder::kDatacolorVendorId;
    return true;
}

bool CColorvisionSpyder2::GetSensorSupportsDisplayGamutSelection()
{
    return m_DeviceType == kDeviceSpyder4;
}
