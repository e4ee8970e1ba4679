#include "CPreferences.h"

#include "HostSystem.h"
#include "PreferencesRegistry.h"
#include "RecordStream.h"
#include "StringResources.h"

#include <QDataStream>

namespace {

constexpr int kPreferencesFileNameId = 12;
constexpr quint8 kDefaultCalibrationSteps = 32;
// Every grey-ramp computation divides by steps - 1.
constexpr quint8 kMinimumCalibrationSteps = 2;
const QPoint kNeverPlaced(99999, 99999);

// The 28 one-byte settings that follow the profile folder, in file order.
using ByteSetting = quint8 CPreferences::*;
struct ByteSettingDefault {
    ByteSetting member;
    quint8 value;
};
const ByteSettingDefault kByteSettings[] = {
    {&CPreferences::m_Information_Show_Gamut_Colorspace_Type, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowBlackbodyCurve, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowDisplayGamut, 1},
    {&CPreferences::m_Information_Show_Gamut_ShowAdobeRGBGamut, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowsRGBGamut, 1},
    {&CPreferences::m_Information_Show_Gamut_ShowNTSCGamut, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowSMPTECGamut, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowHDTVGamut, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowDigitalCinemaGamut, 0},
    {&CPreferences::m_Information_Show_ColorTracking_IncludeDarkValues, 0},
    {&CPreferences::m_Information_Show_ColorTracking_ShowAverage, 1},
    {&CPreferences::m_Information_Show_DICOM_GraphType, 0},
    {&CPreferences::m_Information_Show_DICOM_JNDperDDL_ShowAverage, 1},
    {&CPreferences::m_Information_Show_DICOM_JNDperDDL_ShowLinearFit, 1},
    {&CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowBartenModel, 1},
    {&CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowTenPercentLimits, 1},
    {&CPreferences::m_Information_Show_DICOM_ContrastResponse_ShowTwentyPercentLimits, 1},
    {&CPreferences::m_Information_Show_Curves_ShowTarget, 1},
    {&CPreferences::m_Information_Show_Curves_ShowCalibrated, 1},
    {&CPreferences::m_Information_Show_Curves_ShowUnCalibrated, 0},
    {&CPreferences::m_Information_Show_Curves_ShowCorrection, 0},
    {&CPreferences::m_Information_Show_Curves_ShowCurveColor, 0},
    {&CPreferences::m_ProfileSetDescriptionToFileName, 0},
    {&CPreferences::m_Information_Show_Gamut_Target_White_Point, 0},
    {&CPreferences::m_UseExtendedLuminanceStabilizationTime, 0},
    {&CPreferences::m_DelayGammaLoader, 0},
    {&CPreferences::m_Information_Show_Gamut_ShowTargetGamut, 0},
    {&CPreferences::m_UseColorSensorCorrection, 1},
};

// Every one-byte field travels as a signed char.
quint8 readByte(QDataStream &s)
{
    qint8 b = 0;
    s >> b;
    return static_cast<quint8>(b);
}

void writeByte(QDataStream &s, quint8 value) { s << static_cast<qint8>(value); }

} // namespace

CPreferences::CPreferences()
{
    InitPreferences();
    ReadPreferencesData();
}

CPreferences::~CPreferences()
{
    // Code that reads the registered preferences must not reach an object
    // that is gone.
    pz::releaseApplicationPreferences(this);
    WritePreferencesData();
}

int CPreferences::InitPreferences()
{
    m_Version = kVersion;
    m_RecalibrationPeriod = 14;
    m_PrimaryColorSource = 2;
    m_ICCAfterCalibration = true;
    m_AutoSaveICC = true;
    m_SensorType = 2;
    m_CalibrationSteps = kDefaultCalibrationSteps;
    m_CheckCalibrationStatusOnLaunch = 1;
    m_OSDLockLevel = 0;
    m_AverageLowLightMeasurements = 1;
    m_CalibrationPriority = 0;
    m_ProfileStorageLocation = 1;
    m_AutoLoadMCSOnTargetChange = true;
    m_LuminanceUnits = 0;
    m_SetProfileAsDefault = true;
    m_UseAutoLuminanceIfAvailable = true;
    m_MainWindowPosition = kNeverPlaced;
    m_InformationWindowPosition = kNeverPlaced;
    for (const ByteSettingDefault &setting : kByteSettings)
        this->*setting.member = setting.value;
    m_DontShowAgainMessages.clear();
    m_ICCProfileLocation = GetICCProfileLocation();
    return 0;
}

unsigned char CPreferences::GetProfileStorageLocation() const
{
    pz::IHostSystem *host = pz::hostSystem();
    if (host && host->profilesAlwaysPerUser())
        return 0;
    return m_ProfileStorageLocation;
}

QString CPreferences::GetICCProfileLocation() const
{
    pz::IHostSystem *host = pz::hostSystem();
    return host ? host->profileFolder(GetProfileStorageLocation() != 0) : QString();
}

bool CPreferences::IsDontShowAgainMessageSet(unsigned int id) const
{
    return m_DontShowAgainMessages.contains(id);
}

void CPreferences::SetDontShowAgainMessageSet(unsigned int id)
{
    if (!m_DontShowAgainMessages.contains(id))
        m_DontShowAgainMessages.append(id);
}

QString CPreferences::GetPreferencesFileNameAndPath() const
{
    pz::IHostSystem *host = pz::hostSystem();
    const QString folder = host ? host->preferencesFolder() : QString();
    // Without a folder the bare file name would land in the root or the
    // working directory.
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + GetStringResource(kPreferencesFileNameId);
}

int CPreferences::ReadFile(QDataStream &s)
{
    qint32 version = 0;
    const auto recentEnough = [](qint32 v) { return quint32(v) >= quint32(kOldestVersion); };
    switch (pz::readRecordHeader(s, kMagic, recentEnough, &version)) {
    case pz::HeaderCheck::Ok:
        break;
    case pz::HeaderCheck::BadMagic:
        return -1502;
    case pz::HeaderCheck::BadVersion:
        return -1501;
    case pz::HeaderCheck::ReadFailed:
        return pz::kFileReadFailed;
    }

    m_RecalibrationPeriod = readByte(s);
    m_PrimaryColorSource = readByte(s);
    m_ICCAfterCalibration = readByte(s) != 0;
    m_AutoSaveICC = readByte(s) != 0;
    m_SensorType = readByte(s);
    m_CalibrationSteps = readByte(s);
    m_CheckCalibrationStatusOnLaunch = readByte(s);
    m_OSDLockLevel = readByte(s);
    m_AverageLowLightMeasurements = readByte(s);
    m_CalibrationPriority = readByte(s);
    m_ProfileStorageLocation = readByte(s);
    m_AutoLoadMCSOnTargetChange = readByte(s) != 0;
    m_LuminanceUnits = readByte(s);
    m_SetProfileAsDefault = readByte(s) != 0;
    m_UseAutoLuminanceIfAvailable = readByte(s) != 0;
    s >> m_MainWindowPosition >> m_InformationWindowPosition >> m_ICCProfileLocation;
    for (const ByteSettingDefault &setting : kByteSettings)
        this->*setting.member = readByte(s);

    if (m_CalibrationSteps < kMinimumCalibrationSteps)
        m_CalibrationSteps = kDefaultCalibrationSteps;

    // A version-119 file has no list; later versions are laid out as 120.
    if (version != kOldestVersion) {
        m_DontShowAgainMessages.clear();
        quint32 count = 0;
        s >> count;
        if (pz::acceptCount(s, count, kMaxDontShowAgainMessages)) {
            for (quint32 i = 0; i < count; ++i) {
                quint32 id = 0;
                s >> id;
                if (s.status() != QDataStream::Ok)
                    break;
                m_DontShowAgainMessages.append(id);
            }
        }
    }
    return s.status() == QDataStream::Ok ? 0 : int(pz::kFileReadFailed);
}

int CPreferences::WriteFile(QDataStream &s) const
{
    pz::writeRecordHeader(s, kMagic, kVersion);
    writeByte(s, m_RecalibrationPeriod);
    writeByte(s, m_PrimaryColorSource);
    writeByte(s, m_ICCAfterCalibration);
    writeByte(s, m_AutoSaveICC);
    writeByte(s, static_cast<quint8>(m_SensorType & 0xFF));
    writeByte(s, m_CalibrationSteps);
    writeByte(s, m_CheckCalibrationStatusOnLaunch);
    writeByte(s, m_OSDLockLevel);
    writeByte(s, m_AverageLowLightMeasurements);
    writeByte(s, m_CalibrationPriority);
    writeByte(s, m_ProfileStorageLocation);
    writeByte(s, m_AutoLoadMCSOnTargetChange);
    writeByte(s, m_LuminanceUnits);
    writeByte(s, m_SetProfileAsDefault);
    writeByte(s, m_UseAutoLuminanceIfAvailable);
    s << m_MainWindowPosition << m_InformationWindowPosition << m_ICCProfileLocation;
    for (const ByteSettingDefault &setting : kByteSettings)
        writeByte(s, this->*setting.member);
    s << quint32(m_DontShowAgainMessages.size());
    for (unsigned int id : m_DontShowAgainMessages)
        s << quint32(id);
    return s.status() == QDataStream::Ok ? 0 : int(pz::kFileWriteFailed);
}

int CPreferences::ReadPreferencesData()
{
    const QString path = GetPreferencesFileNameAndPath();
    int result = pz::kFileCannotOpen;
    if (!path.isEmpty()) {
        int readResult = 0;
        result = pz::loadRecordFile(path, [&](QDataStream &s) { readResult = ReadFile(s); });
        if (result != pz::kFileCannotOpen)
            result = readResult;
    }
    if (result != 0)
        InitPreferences();
    // A file that is there but does not read (damaged, or from a newer
    // version) is kept aside before the defaults can be written over it.
    m_DamagedFileKeptAs.clear();
    if (result != 0 && result != pz::kFileCannotOpen)
        m_DamagedFileKeptAs = pz::keepDamagedFileAside(path);
    return result;
}

int CPreferences::WritePreferencesData() const
{
    const QString path = GetPreferencesFileNameAndPath();
    if (path.isEmpty())
        return pz::kFileCannotOpen;
    return pz::saveRecordFile(path, [this](QDataStream &s) { WriteFile(s); });
}
