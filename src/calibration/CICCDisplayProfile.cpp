#include "CICCDisplayProfile.h"

#include "CBradford.h"
#include "CIccTagmmod.h"
#include "CIccTagvcgt.h"
#include "CPreferences.h"
#include "CTargetDisplay.h"
#include "CalibrateThread_HXSeries.h"
#include "Desktop.h"
#include "DisplayProfileBuilder.h"
#include "DisplayProfiles.h"
#include "HostSystem.h"
#include "PreferencesRegistry.h"
#include "ProfileNaming.h"
#include "RecordStream.h"
#include "StringResources.h"

#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr unsigned int kCopyrightId = 15;
constexpr int kTableEntries = 256;
constexpr int kProfileIdBytes = 16;

// The primary-colour source preference: 1 the monitor's own (EDID)
// primaries, 2 whatever the calibration chose; else the sensor's.
constexpr int kFactoryPrimaries = 1;
constexpr int kAutomaticPrimaries = 2;

bool finite(const CCIEXYZ &c) { return std::isfinite(c.X) && std::isfinite(c.Y) && std::isfinite(c.Z); }

bool usable(const CSpline &curve) { return curve.IsValid() && curve.GetNumberOfPoints() > 0; }

double clamp01(double v)
{
    if (!(v > 0.0)) // NaN too
        return 0.0;
    return v < 1.0 ? v : 1.0;
}

QVector<double> sample(const CSpline &curve)
{
    QVector<double> values;
    for (int i = 0; i < kTableEntries; ++i)
        values.append(clamp01(curve.GetYValX(i / 255.0)));
    return values;
}

// The graphics card ramp as the 'vcgt' element: entry i of channel c is the
// ramp at i / 255 on a 0-255 scale. A ramp curve that was never recorded
// gives the identity: an all-zero table would black the screen of whoever
// loads it.
QByteArray vcgtElement(const CSpline *ramps)
{
    QByteArray table;
    for (int c = 0; c < 3; ++c) {
        const CSpline &ramp = ramps[c];
        for (int i = 0; i < kTableEntries; ++i) {
            const int v = usable(ramp) ? int(clamp01(ramp.GetYValX(i / 255.0)) * 255.0 + 0.5) : i;
            table.append(char(v & 0xFF));
        }
    }
    icvcgtstruct record;
    record.channels = 3;
    record.entryCount = kTableEntries;
    record.entrySize = 1;
    record.data = reinterpret_cast<unsigned char *>(table.data());
    CIccTagvcgt tag;
    tag.SetVCGT(record);
    CIccMemIO io;
    return tag.Write(&io) ? io.bytes() : QByteArray();
}

// Manufacturer: the upper half of the model id with its bytes exchanged
// (EDID byte order); model: the lower half.
QByteArray mmodElement(quint32 modelId)
{
    icmmodstruct value;
    value.manufacturer = qbswap(quint16(modelId >> 16));
    value.model = modelId & 0xFFFF;
    CIccTagmmod tag;
    tag.Setmmod(value);
    CIccMemIO io;
    return tag.Write(&io) ? io.bytes() : QByteArray();
}

// The connector of the display the desktop lists under displayId; empty
// when it is not online or the system names no connectors.
QString connectorName(quint32 displayId)
{
    QVector<pz::DesktopDisplay> displays;
    pz::desktop().onlineDisplays(displays);
    for (const pz::DesktopDisplay &display : displays)
        if (display.id == displayId)
            return display.name;
    return QString();
}

// The profile folder the preferences choose; without registered
// preferences, the one their defaults choose.
QString profileFolder()
{
    if (const CPreferences *preferences = pz::applicationPreferences())
        return preferences->GetICCProfileLocation();
    pz::IHostSystem *host = pz::hostSystem();
    return host ? host->profileFolder(!host->profilesAlwaysPerUser()) : QString();
}

} // namespace

CICCDisplayProfile::CICCDisplayProfile(CTargetValue target, CAdjustValue result,
                                       _MonitorData monitor, QWidget *parent)
    : m_Parent(parent),
      m_Target(std::move(target)),
      m_MonitorData(std::move(monitor)),
      m_AdjustValue(std::move(result))
{
}

int CICCDisplayProfile::GenerateDefaultFileNameandDescription()
{
    const QString proposedName = proposedFileName();
    QString fileName = proposedName;
    QString description = pz::proposedProfileDescription(
        fileName, m_AdjustValue.m_CalibrationDateTime, m_Target);

    const CPreferences *preferences = pz::applicationPreferences();
    const bool automatic = preferences ? preferences->m_AutoSaveICC : true;
    const pz::ProfileNamePrompt prompt = pz::profileNamePrompt();
    if (!automatic && prompt) {
        QString typedName = fileName;
        QString typedDescription = description;
        if (prompt(typedName, typedDescription)) {
            fileName = typedName;
            description = typedDescription;
        }
    }
    m_AdjustValue.SetProfileDescription(description);
    m_AdjustValue.SetProfileName(pz::safeProfileFileName(fileName, proposedName));
    return 0;
}

int CICCDisplayProfile::DisAssociateCurrentColorProfile() { return 0; }

QString CICCDisplayProfile::proposedFileName() const
{
    return pz::proposedProfileFileName(m_MonitorData, connectorName(m_MonitorData.m_DisplayID));
}

bool CICCDisplayProfile::describeProfile(bool allowGammaTRC,
                                         pz::DisplayProfileContent &content) const
{
    const CColorValue &measured = m_AdjustValue.m_ColorValue;
    const CPreferences *preferences = pz::applicationPreferences();
    int source = preferences ? preferences->m_PrimaryColorSource : kAutomaticPrimaries;
    if (source == kAutomaticPrimaries)
        source = m_AdjustValue.m_AutomaticSensorColorPrimariesSource;
    const bool factory = source == kFactoryPrimaries && measured.m_EDIDRed.X > 0.0;
    CCIEXYZ red = factory ? measured.m_EDIDRed : measured.m_FinalPatches[CColorValue::kRedPatch];
    CCIEXYZ green = factory ? measured.m_EDIDGreen : measured.m_FinalPatches[CColorValue::kGreenPatch];
    CCIEXYZ blue = factory ? measured.m_EDIDBlue : measured.m_FinalPatches[CColorValue::kBluePatch];
    const CCIEXYZ white = measured.m_FinalPatches[CColorValue::kWhitePatch];
    if (!finite(white) || !(white.Y > 0.0))
        return false;

    CBradford bradford;
    CCIEXYZ adaptedWhite = white;
    if (bradford.fill_in_c_matrix(&red, &green, &blue, &adaptedWhite) != 0)
        return false;
    bradford.get_result_matrix(&content.red, &content.green, &content.blue);
    bradford.get_bradford_matrix(content.adaptation);
    content.white = white;

    if (allowGammaTRC && m_Target.m_GammaCurveType == CTargetValue::kCurveGamma) {
        if (!std::isfinite(m_Target.m_Gamma) || !(m_Target.m_Gamma > 0.0))
            return false;
        // The HX series' engine holds the gamma in steps of 0.1: the profile
        // gives the step the display was left at, not the target between
        // two steps.
        const bool hxSeries = CTargetDisplay::GetDisplayType(m_MonitorData.m_ModelID)
                              == CTargetDisplay::kDisplayTypeHXSeries;
        content.gamma = hxSeries ? CalibrateThread_HXSeries::RegisterGamma(m_Target.m_Gamma)
                                 : m_Target.m_Gamma;
    } else {
        // A calibration made without the profile measurement has no
        // corrected response; the target curve is what it aimed at.
        const CSpline *responses = &measured.m_Splines[CColorValue::kCorrectedRed];
        const bool measuredResponse =
            usable(responses[0]) && usable(responses[1]) && usable(responses[2]);
        if (!measuredResponse && !usable(measured.m_TargetCurve))
            return false;
        for (int c = 0; c < 3; ++c)
            content.curves[c] = sample(measuredResponse ? responses[c] : measured.m_TargetCurve);
    }

    content.created = m_AdjustValue.m_CalibrationDateTime;
    content.description = m_AdjustValue.GetProfileDescription();
    content.copyright = GetStringResource(kCopyrightId);
    content.vcgt = vcgtElement(&measured.m_Splines[CColorValue::kCardRampRed]);
    content.mmod = mmodElement(m_MonitorData.m_ModelID);
    return true;
}

int CICCDisplayProfile::CreateProfileFile(bool allowGammaTRC)
{
    pz::DisplayProfileContent content;
    if (!describeProfile(allowGammaTRC, content))
        return kProfileNotWritten;
    const QByteArray profile = pz::buildDisplayProfile(content);
    if (profile.isEmpty())
        return kProfileNotWritten;

    const QString path = GetProfileNameAndPath();
    if (path.isEmpty())
        return kProfileCannotOpen;
    const QFileInfo existing(path);
    if (existing.isDir() || (existing.exists() && !existing.isWritable()))
        return kProfileNotReplaceable;
    switch (pz::saveRecordFile(path, [&profile](QDataStream &stream) {
        stream.writeRawData(profile.constData(), int(profile.size()));
    })) {
    case pz::kFileOk:
        return kProfileOk;
    case pz::kFileCannotOpen:
        return kProfileCannotOpen;
    default:
        return kProfileNotWritten;
    }
}

int CICCDisplayProfile::AssociateColorProfile()
{
    const QString path = GetProfileNameAndPath();
    if (path.isEmpty())
        return pz::IDisplayProfiles::kProfileUnreadable;
    return pz::displayProfiles().assign(m_MonitorData.m_DisplayID, path);
}

QDateTime CICCDisplayProfile::GetProfileDate() const
{
    const QDateTime &when = m_AdjustValue.m_CalibrationDateTime;
    if (!when.isValid())
        return QDateTime();
    const QTime time = when.time();
    return QDateTime(when.date(), QTime(time.hour(), time.minute(), time.second()), Qt::LocalTime);
}

QString CICCDisplayProfile::GetProfileNameAndPath() const
{
    const QString folder = profileFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/')
        + pz::safeProfileFileName(m_AdjustValue.GetProfileName(), proposedFileName());
}

void CICCDisplayProfile::GetProfileID(unsigned char *id) const
{
    if (id)
        std::memset(id, 0, kProfileIdBytes);
}
