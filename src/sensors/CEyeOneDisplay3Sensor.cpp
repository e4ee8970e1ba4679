#include "CEyeOneDisplay3Sensor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using pz::i1d3Library;

namespace {

// LED settings: one blink per reading, a long blink when the device is
// ready, and the continuous blinking that asks the user to turn the diffuser.
constexpr int kLEDMode = 1;
constexpr double kLEDReadingOnSeconds = 0.2;
constexpr double kLEDReadingOffSeconds = 0.2;
constexpr double kLEDReadyOffSeconds = 1.0;
constexpr double kLEDFlashSeconds = 0.25;
constexpr quint8 kLEDFlashForever = 255;

constexpr int kModeCRT = 0;
constexpr int kModeLCD = 1;
constexpr int kModeLongLCD = 7;

// Integration time and target LCD time given at Init.
constexpr double kInitialSeconds = 1.0;

} // namespace

CEyeOneDisplay3Sensor::CEyeOneDisplay3Sensor()
{
    m_Connected = false;
    if (i1d3Library().Initialize() == pz::kI1d3Success && Init() == kSensorOK)
        m_Connected = true;
}

CEyeOneDisplay3Sensor::~CEyeOneDisplay3Sensor()
{
    if (m_DeviceOpen)
        i1d3Library().DeviceClose(m_DeviceHandle);
    i1d3Library().Destroy();
}

bool CEyeOneDisplay3Sensor::IsDeviceLost(int status)
{
    return status == pz::kI1d3DeviceLost || status == pz::kI1d3DeviceGone;
}

bool CEyeOneDisplay3Sensor::IsNewerMakersFirmware(const QByteArray &firmware)
{
    // "v2.5": the version numbers follow a one-letter prefix.
    const QList<QByteArray> parts = firmware.mid(1).split('.');
    const int major = parts.value(0).toInt();   // not a number: 0
    if (major > 2)
        return true;
    return major == 2 && parts.size() > 1 && parts.at(1).toInt() > 4;
}

QByteArray CEyeOneDisplay3Sensor::SupportFilePath()
{
    // From the executable's own folder: the program may have been started
    // through PATH, with a bare name as its first argument.
    const QString folder =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pelzora"));
    return QFile::encodeName(QDir::toNativeSeparators(folder) + QLatin1Char('/'));
}

int CEyeOneDisplay3Sensor::Init()
{
    pz::II1d3Library &library = i1d3Library();
    m_DeviceHandle = 0;
    m_NewReadingAvailable = false;
    m_MakersVariant = false;
    m_NewerMakersModel = false;

    if (library.GetNumberOfDevices() == 0)
        return kSensorNotConnected;
    if ((m_LastStatus = library.GetDeviceHandle(0, m_DeviceHandle)) != pz::kI1d3Success)
        return kSensorDeviceFailed;
    if ((m_LastStatus = library.DeviceOpen(m_DeviceHandle)) != pz::kI1d3Success)
        return kSensorDeviceFailed;

    pz::I1d3DeviceInfo info;
    if ((m_LastStatus = library.GetDeviceInfo(m_DeviceHandle, info)) != pz::kI1d3Success)
        return kSensorDeviceFailed;
    m_MakersVariant = info.makersVariant;
    m_NewerMakersModel = m_MakersVariant && IsNewerMakersFirmware(info.firmwareVersion);

    if ((m_LastStatus = library.SetSupportFilePath(m_DeviceHandle, SupportFilePath()))
        != pz::kI1d3Success)
        return kSensorNoCalibration;

    // A failed call leaves the list empty rather than reading a count that
    // was never written.
    QVector<pz::I1d3CalibrationEntry> list;
    if ((m_LastStatus = library.GetCalibrationList(m_DeviceHandle, list)) != pz::kI1d3Success)
        return kSensorDeviceFailed;
    if (list.size() < kMinimumCalibrations)
        return kSensorNoCalibration;

    if ((m_LastStatus = library.SetMeasurementMode(m_DeviceHandle, kModeLCD)) != pz::kI1d3Success)
        return kSensorDeviceFailed;
    m_LastStatus = library.SetIntegrationTime(m_DeviceHandle, kInitialSeconds);
    m_LastStatus = library.SetTargetLCDTime(m_DeviceHandle, kInitialSeconds);

    SetLED(kLEDMode, kLEDReadingOnSeconds, kLEDReadyOffSeconds, 1);
    m_DeviceOpen = true;
    return kSensorOK;
}

bool CEyeOneDisplay3Sensor::ReInit()
{
    pz::II1d3Library &library = i1d3Library();
    if (m_DeviceOpen)
        library.DeviceClose(m_DeviceHandle);
    library.Destroy();
    m_Connected = false;
    m_DeviceOpen = false;
    m_NewReadingAvailable = false;
    m_MakersVariant = false;
    m_DeviceHandle = 0;
    if (library.Initialize() == pz::kI1d3Success && Init() == kSensorOK)
        m_Connected = true;
    return m_Connected;
}

void CEyeOneDisplay3Sensor::SetLED(int mode, double firstSeconds, double secondSeconds,
                                   quint8 count)
{
    m_LEDMode = mode;
    m_LEDFirstSeconds = firstSeconds;
    m_LEDSecondSeconds = secondSeconds;
    m_LEDCount = count;
    m_LastStatus = i1d3Library().SetLEDControl(m_DeviceHandle, mode, firstSeconds,
                                               secondSeconds, count);
}

bool CEyeOneDisplay3Sensor::DoesSensorSupportMeasurementSelector() { return true; }

int CEyeOneDisplay3Sensor::GetSensorMeasurementSelectorPosition()
{
    bool covered = false;
    m_LastStatus = i1d3Library().ReadDiffuserPosition(m_DeviceHandle, covered);
    if (IsDeviceLost(m_LastStatus) && ReInit())
        m_LastStatus = i1d3Library().ReadDiffuserPosition(m_DeviceHandle, covered);
    if (m_LastStatus != pz::kI1d3Success)
        return kSensorDeviceFailed;
    return covered ? kSelectorAmbient : kSelectorDisplay;
}

bool CEyeOneDisplay3Sensor::DoesSensorSupportMeasurementSelectorNeedPolling() { return true; }

QString CEyeOneDisplay3Sensor::GetModelName()
{
    if (m_DeviceHandle == 0)
        return QString();
    if (!m_MakersVariant)
        return QCoreApplication::translate("CSensor", "X-Rite i1 Display Pro");
    if (!m_NewerMakersModel)
        return QCoreApplication::translate("CSensor", "Orvane Pelzsensor Pro");
    return QCoreApplication::translate("CSensor", "Orvane DOZIZEDIDA3");
}

QString CEyeOneDisplay3Sensor::GetSerialNumber()
{
    if (m_DeviceHandle == 0)
        return QString();
    QByteArray serial;
    m_LastStatus = i1d3Library().GetSerialNumber(m_DeviceHandle, serial);
    if (IsDeviceLost(m_LastStatus) && ReInit())
        m_LastStatus = i1d3Library().GetSerialNumber(m_DeviceHandle, serial);
    if (m_LastStatus != pz::kI1d3Success)
        return QString();
    return QString::fromLatin1(serial.left(pz::kI1d3SerialLength));
}

void CEyeOneDisplay3Sensor::Settings() {}

int CEyeOneDisplay3Sensor::IsValidSettings() { return 0; }

void CEyeOneDisplay3Sensor::SetSync(double) {}

int CEyeOneDisplay3Sensor::DetectVerticalScanningFrequency() { return 0; }

bool CEyeOneDisplay3Sensor::DoesSupportAmbientLightMeasurement() { return true; }

int CEyeOneDisplay3Sensor::MeasureAmbientLight()
{
    // An earlier reading must not be handed out as this call's.
    m_NewReadingAvailable = false;
    const int position = GetSensorMeasurementSelectorPosition();
    if (position < 0)
        return kSensorDeviceFailed;
    if (position != kSelectorAmbient)
        return kSensorWrongPosition;

    m_LastReading = CCIEXYZ(0.0, 0.0, 0.0);
    int tries = 0;
    do {
        m_LastStatus = i1d3Library().MeasureAmbient(m_DeviceHandle, m_AmbientReading);
    } while (m_LastStatus != pz::kI1d3Success && ++tries < kReadingTries);
    if (m_LastStatus != pz::kI1d3Success)
        return kSensorDeviceFailed;

    SetLED(kLEDMode, kLEDReadingOnSeconds, kLEDReadyOffSeconds, 1);

    pz::I1d3Ambient &a = m_AmbientReading;
    if (a.lux <= 0.0) {
        a.x = 0.0;
        a.y = 0.0;
    }
    if (a.x < 0.0)
        a.x = 0.0;
    if (a.y < 0.0)
        a.y = 0.0;
    m_LastReading = CCIEXYZ(CCIEYxy(a.lux, a.x, a.y));
    m_NewReadingAvailable = true;
    return kSensorOK;
}

int CEyeOneDisplay3Sensor::SetSensorMeasurementMode(typeSensorMeasurementMode) { return kSensorOK; }

int CEyeOneDisplay3Sensor::ZeroCal() { return kSensorOK; }

int CEyeOneDisplay3Sensor::Measure(unsigned count)
{
    // An earlier reading must not be handed out as this call's.
    m_NewReadingAvailable = false;
    const int position = GetSensorMeasurementSelectorPosition();
    if (position < 0)
        return position;
    if (position != kSelectorDisplay)
        return kSensorWrongPosition;

    const int status = MeasureAveraged(count, [this](CCIEXYZ &reading) {
        pz::I1d3XYZ xyz;
        int tries = 0;
        do {
            m_LastStatus = i1d3Library().MeasureXYZ(m_DeviceHandle, xyz);
        } while (m_LastStatus != pz::kI1d3Success && ++tries < kReadingTries);
        if (m_LastStatus != pz::kI1d3Success)
            return kSensorDeviceFailed;
        reading = CCIEXYZ(xyz.X, xyz.Y, xyz.Z);
        return kSensorOK;
    });
    if (status != kSensorOK)
        return status;
    // One blink per reading taken.
    SetLED(kLEDMode, kLEDReadingOnSeconds, kLEDReadingOffSeconds, quint8(m_ReadingCount));
    return kSensorOK;
}

int CEyeOneDisplay3Sensor::GetXYZData(CCIEXYZ &out) { return HandOutReading(out); }

CEyeOneDisplay3Sensor::CalibrationChoice
CEyeOneDisplay3Sensor::ChooseCalibration(typeSensorScreen screen,
                                         CTargetDisplay::typeMonitorColorGamutType gamut)
{
    // Tested in this order; the standard-gamut LCD takes what is left.
    if (screen == kSensorScreenCRT)
        return {1, 1.0, kModeCRT};
    if (gamut == CTargetDisplay::kGamutWideRGBLED)
        return {12, 3.0, kModeLongLCD};
    if (gamut > CTargetDisplay::kGamutWideRGBLED)
        return {9, 5.0, kModeLongLCD};
    if (gamut == CTargetDisplay::kGamutWideCCFL)
        return {6, 1.0, kModeLCD};
    return {3, 1.0, kModeLCD};
}

int CEyeOneDisplay3Sensor::ReadCalibrationList(QVector<pz::I1d3CalibrationEntry> &list)
{
    m_LastStatus = i1d3Library().GetCalibrationList(m_DeviceHandle, list);
    if (IsDeviceLost(m_LastStatus)) {
        if (!ReInit())
            return kSensorDeviceFailed;
        m_LastStatus = i1d3Library().GetCalibrationList(m_DeviceHandle, list);
    }
    return m_LastStatus == pz::kI1d3Success ? kSensorOK : kSensorDeviceFailed;
}

int CEyeOneDisplay3Sensor::SetScreenType(typeSensorScreen screen,
                                         CTargetDisplay::typeMonitorColorGamutType gamut)
{
    QVector<pz::I1d3CalibrationEntry> list;
    if (const int status = ReadCalibrationList(list))
        return status;

    const CalibrationChoice choice = ChooseCalibration(screen, gamut);
    // The last entry with the key wins.
    const pz::I1d3CalibrationEntry *chosen = nullptr;
    for (const pz::I1d3CalibrationEntry &entry : list)
        if (entry.key == choice.key)
            chosen = &entry;
    if (!chosen)
        return kSensorNoCalibration;

    pz::II1d3Library &library = i1d3Library();
    if ((m_LastStatus = library.SetCalibration(m_DeviceHandle, *chosen)) != pz::kI1d3Success)
        return kSensorDeviceFailed;
    m_LastStatus = library.SetTargetLCDTime(m_DeviceHandle, choice.seconds);
    m_LastStatus = library.SetIntegrationTime(m_DeviceHandle, choice.seconds);
    m_LastStatus = library.SetMeasurementMode(m_DeviceHandle, choice.mode);
    return kSensorOK;
}

int CEyeOneDisplay3Sensor::GetSensorPhyscalData(sensor_physical_data &data)
{
    const QString ambient = QStringLiteral(":/images/Resources/i1d3 placement ambient.png");
    data.m_ZeroCalibrationPicture = ambient;
    data.m_OnDisplayPicture = QStringLiteral(":/images/Resources/i1d3 on display.png");
    data.m_TurnToAmbientPicture = QStringLiteral(":/images/Resources/i1d3 rotate to ambient.png");
    data.m_TurnToDisplayPicture = QStringLiteral(":/images/Resources/i1d3 rotate to emissive.png");
    data.m_AmbientMeasurementPicture = ambient;
    data.m_AmbientPositioningText = QObject::tr(
        "Place the calibration sensor in the center of the display screen with the white diffuser "
        "is pointing away from the display.",
        "eye one display3 sensor ambient positioning message");
    data.m_SelectorMessage =
        QObject::tr("Turn the sensor in the housing as shown so the lens is exposed.");
    data.m_ZeroCalibrationText = QString();
    data.m_PreparationWarningText = QObject::tr(
        "<html>Turn the sensor housing as shown so the lens is exposed.<br><br><center><img "
        "src=\":/images/Resources/i1d3 rotate to emissive.png\"></center></html>");
    data.m_CoverText = QObject::tr(
        "<html>Turn the sensor housing as shown so the diffuser covers the lens.<br><br></html>");
    data.m_PictureSizeCm = 8.0;
    data.m_LensCentreFraction = 0.6;
    data.m_TargetSizeCm = 10.0;
    return 0;
}

bool CEyeOneDisplay3Sensor::SupportsZeroCal() { return false; }

QPixmap CEyeOneDisplay3Sensor::GetPixmapForCurrentPosition(int targetPosition)
{
    sensor_physical_data data;
    GetSensorPhyscalData(data);
    return QPixmap(targetPosition == kSelectorAmbient ? data.m_TurnToAmbientPicture
                                                      : data.m_TurnToDisplayPicture);
}

bool CEyeOneDisplay3Sensor::GetSensorPnPIDs(unsigned short &vendor, unsigned short &product)
{
    vendor = kVendorId;
    product = kProductId;
    return true;
}

bool CEyeOneDisplay3Sensor::GetSensorSupportsCheckSensorPositionStatus() { return true; }

bool CEyeOneDisplay3Sensor::GetSensorSupportsDisplayGamutSelection() { return true; }

int CEyeOneDisplay3Sensor::FlashLED(int on)
{
    if (on)
        SetLED(kLEDMode, kLEDFlashSeconds, kLEDFlashSeconds, kLEDFlashForever);
    else
        SetLED(kLEDMode, 0.0, 0.0, 0);
    return m_LastStatus == pz::kI1d3Success ? kSensorOK : kSensorDeviceFailed;
}
