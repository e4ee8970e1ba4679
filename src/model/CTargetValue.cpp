#include "CTargetValue.h"

#include "LuminanceUnits.h"
#include "RecordStream.h"
#include "RegularFile.h"
#include "StringResources.h"

#include <QObject>
#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <cmath>

namespace {

constexpr double kMinGamma = 0.99999;
constexpr double kMaxGamma = 3.00001;

// String resources naming the gamut types.
constexpr unsigned kGamutNameNative = 1000;
constexpr unsigned kGamutNameCustom = 1001;
constexpr unsigned kGamutNameFirstPreset = 1002; // gamut type 1

bool finite(const CCIEYxy &c)
{
    return std::isfinite(c.Y) && std::isfinite(c.x) && std::isfinite(c.y);
}

bool usableCurve(const CSpline &curve)
{
    const int n = curve.GetNumberOfPoints();
    if (n < 2)
        return false;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(curve.GetX(i)) || !std::isfinite(curve.GetY(i)))
            return false;
    }
    return true;
}

} // namespace

CTargetValue::CTargetValue() : m_Name(QStringLiteral("blank"))
{
    m_CustomCurve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    m_CustomCurve.SetValid(true);
}

void CTargetValue::CopyFrom(const CTargetValue &other)
{
    *this = other;
    m_CustomCurve.CopyFrom(other.m_CustomCurve);
}

int CTargetValue::CreateDefault()
{
    m_Intensity = 200.0;
    m_IntensityType = kIntensityMaximum;
    m_Gamma = 2.2;
    m_GammaCurveType = kCurveGamma;
    m_AuxType = 2;
    m_Name = QStringLiteral("Default");
    const DaylightIlluminant &d65 = gDaylightIlluminant_tbl[2];
    m_WhitePoint = CColorTemperature(_CIExy{d65.x, d65.y});
    m_ColorGamutType = kGamutNative;
    m_CustomRed = CCIEYxy();
    m_CustomGreen = CCIEYxy();
    m_CustomBlue = CCIEYxy();
    m_AuxInt1 = 0;
    m_AuxInt2 = 0;
    m_AuxDouble1 = 0.0;
    m_AuxDouble2 = 0.0;
    return 0;
}

bool CTargetValue::operator==(const CTargetValue &other) const
{
    if (m_WhitePoint != other.m_WhitePoint)
        return false;
    if (m_IntensityType != other.m_IntensityType)
        return false;
    if (m_IntensityType == kIntensityLevel && !(m_Intensity == other.m_Intensity))
        return false;
    if (m_GammaCurveType != other.m_GammaCurveType)
        return false;
    switch (m_GammaCurveType) {
    case kCurveGamma:
        if (!(m_Gamma == other.m_Gamma))
            return false;
        break;
    case kCurveDICOM:
        if (m_UseDICOMScaleFactor != other.m_UseDICOMScaleFactor)
            return false;
        if (m_UseDICOMScaleFactor && !(m_DICOMScaleFactor == other.m_DICOMScaleFactor))
            return false;
        break;
    case kCurveCustom:
        if (m_CustomCurveType != other.m_CustomCurveType || m_CustomCurve != other.m_CustomCurve)
            return false;
        break;
    default:
        break;
    }
    if (m_GammaCurveType != kCurveNative && m_ContrastRatio != other.m_ContrastRatio)
        return false;
    if (m_ColorGamutType != other.m_ColorGamutType)
        return false;
    if (m_ColorGamutType == kGamutCustom
        && (m_CustomRed != other.m_CustomRed || m_CustomGreen != other.m_CustomGreen
            || m_CustomBlue != other.m_CustomBlue))
        return false;
    return true;
}

bool CTargetValue::IsValidValue() const
{
    // Ranges are tested as "inside", so NaN fails them too.
    if (m_IntensityType == kIntensityLevel
        && !(m_Intensity >= 0.0 && std::isfinite(m_Intensity)))
        return false;
    if (m_GammaCurveType == kCurveGamma && !(m_Gamma >= kMinGamma && m_Gamma <= kMaxGamma))
        return false;
    if (m_GammaCurveType == kCurveDICOM && m_UseDICOMScaleFactor
        && !std::isfinite(m_DICOMScaleFactor))
        return false;
    if (m_GammaCurveType == kCurveCustom && !usableCurve(m_CustomCurve))
        return false;
    if (!m_WhitePoint.m_Native && !m_WhitePoint.m_KelvinForm
        && !(std::isfinite(m_WhitePoint.m_CIExy.x) && std::isfinite(m_WhitePoint.m_CIExy.y)))
        return false;
    if (m_ColorGamutType == kGamutCustom
        && !(finite(m_CustomRed) && finite(m_CustomGreen) && finite(m_CustomBlue)))
        return false;
    return true;
}

bool CTargetValue::HasFiniteValues() const
{
    if (!std::isfinite(m_Intensity) || !std::isfinite(m_Gamma)
        || !std::isfinite(m_DICOMScaleFactor))
        return false;
    if (!std::isfinite(m_WhitePoint.m_CIExy.x) || !std::isfinite(m_WhitePoint.m_CIExy.y))
        return false;
    if (!(finite(m_CustomRed) && finite(m_CustomGreen) && finite(m_CustomBlue)))
        return false;
    if (m_GammaCurveType == kCurveCustom) {
        for (int i = 0; i < m_CustomCurve.GetNumberOfPoints(); ++i)
            if (!std::isfinite(m_CustomCurve.GetX(i)) || !std::isfinite(m_CustomCurve.GetY(i)))
                return false;
    }
    return true;
}

void CTargetValue::GetCustomColorGamutValues(CCIEYxy &red, CCIEYxy &green, CCIEYxy &blue) const
{
    red = m_CustomRed;
    green = m_CustomGreen;
    blue = m_CustomBlue;
}

void CTargetValue::SetCustomColorGamutValues(CCIEYxy red, CCIEYxy green, CCIEYxy blue)
{
    m_CustomRed = red;
    m_CustomGreen = green;
    m_CustomBlue = blue;
}

QString CTargetValue::GetWhitePointString() const
{
    return m_WhitePoint.GetCaptionStr();
}

QString CTargetValue::GetColorGamutString() const
{
    if (m_ColorGamutType >= kGamutSRGB && m_ColorGamutType <= kGamutCRT)
        return GetStringResource(kGamutNameFirstPreset + unsigned(m_ColorGamutType - kGamutSRGB));
    if (m_ColorGamutType == kGamutCustom)
        return GetStringResource(kGamutNameCustom);
    return GetStringResource(kGamutNameNative);
}

QString CTargetValue::GetContrastRatioString() const
{
    if (m_GammaCurveType != kCurveNative && m_ContrastRatio != 0)
        return QStringLiteral("%1:1").arg(m_ContrastRatio);
    return QObject::tr("Monitor Default", "native contrast ratio text");
}

QString CTargetValue::GetTargetIntensityString(bool withUnits) const
{
    if (m_IntensityType == kIntensityMaximum)
        return QObject::tr("Maximum", "target intensity maximum");
    if (m_IntensityType == kIntensityLevel)
        return CandelasToDisplayText(m_Intensity, 1, withUnits);
    return QString();
}

QString CTargetValue::GetTargetBlackLevelString() const
{
    if (m_GammaCurveType == kCurveNative || m_ContrastRatio == 0
        || m_IntensityType != kIntensityLevel)
        return QString();
    return CandelasToDisplayText(m_Intensity / double(quint32(m_ContrastRatio)), 1, true);
}

QString CTargetValue::GetGammaCurveString(bool forFileName) const
{
    switch (m_GammaCurveType) {
    case kCurveNative:
        return QObject::tr("Native");
    case kCurveGamma:
        return QString::asprintf("%.2f", m_Gamma);
    case kCurveDICOM:
        return QObject::tr("DICOM");
    case kCurveCustom:
        switch (m_CustomCurveType) {
        case kCustomNone:
            return QObject::tr("None");
        case kCustomSRGB:
            return QObject::tr("sRGB");
        case kCustomNTSC:
            return forFileName ? QObject::tr("NTSC SMPTE-170M")
                               : QObject::tr("NTSC/SMPTE-170M");
        case kCustomSMPTE240M:
            return QObject::tr("SMPTE-240M");
        case kCustomLStar:
            return forFileName ? QObject::tr("Lstar") : QObject::tr("L*");
        case kCustomCurve:
            return QObject::tr("Custom Curve");
        default:
            return QString();
        }
    default:
        return QString();
    }
}

int CTargetValue::WriteFile(const QString &path) const
{
    return pz::saveRecordFile(path, [this](QDataStream &stream) { stream << *this; });
}

int CTargetValue::ReadFile(const QString &path)
{
    // Read into an exact copy, so that a refused record leaves this target
    // as it was and a record without a curve keeps this target's curve.
    CTargetValue read;
    read.CopyFrom(*this);
    const int result = pz::loadRecordFile(path, [&read](QDataStream &stream) {
        stream >> read;
        if (stream.status() == QDataStream::Ok && !read.HasFiniteValues())
            stream.setStatus(QDataStream::ReadCorruptData);
    });
    if (result == pz::kFileOk)
        CopyFrom(read);
    return result;
}

bool CTargetValue::IsValidFile(const QString &path)
{
    QFile file(path);
    if (!pz::openRegularFile(file))
        return false;
    QDataStream stream(&file);
    pz::pinRecordStream(stream);
    qint32 magic = 0;
    stream >> magic;
    return stream.status() == QDataStream::Ok && magic == CTargetValue::kMagic;
}

QDataStream &operator<<(QDataStream &stream, const CTargetValue &t)
{
    pz::writeRecordHeader(stream, CTargetValue::kMagic, t.m_Version);
    stream << t.m_WhitePoint << t.m_Intensity << t.m_AuxValue << t.m_Gamma << t.m_IntensityType
           << t.m_AuxType << t.m_GammaCurveType;
    if (t.m_GammaCurveType == CTargetValue::kCurveCustom)
        stream << t.m_CustomCurveType << t.m_CustomCurve;
    stream << t.m_DICOMScaleFactor << t.m_UseDICOMScaleFactor << t.m_AuxFlag << t.m_Name
           << t.m_ContrastRatio << qint32(t.m_ColorGamutType) << t.m_CustomRed << t.m_CustomGreen
           << t.m_CustomBlue << t.m_AuxInt1 << t.m_AuxInt2 << t.m_AuxDouble1 << t.m_AuxDouble2;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CTargetValue &target)
{
    if (pz::readRecordHeader(stream, CTargetValue::kMagic, target.m_Version, target.m_Version)
        != pz::HeaderCheck::Ok)
        return stream;

    // Read into a copy, so that a failed read leaves the target as it was;
    // the copy keeps the custom curve when the record carries none.
    CTargetValue t(target);
    auto ok = [&stream] { return stream.status() == QDataStream::Ok; };
    stream >> t.m_WhitePoint;
    if (ok())
        stream >> t.m_Intensity >> t.m_AuxValue >> t.m_Gamma >> t.m_IntensityType >> t.m_AuxType
            >> t.m_GammaCurveType;
    if (ok() && t.m_GammaCurveType == CTargetValue::kCurveCustom)
        stream >> t.m_CustomCurveType >> t.m_CustomCurve;
    qint32 gamut = 0;
    if (ok())
        stream >> t.m_DICOMScaleFactor >> t.m_UseDICOMScaleFactor >> t.m_AuxFlag >> t.m_Name
            >> t.m_ContrastRatio >> gamut;
    if (ok())
        stream >> t.m_CustomRed >> t.m_CustomGreen >> t.m_CustomBlue >> t.m_AuxInt1 >> t.m_AuxInt2
            >> t.m_AuxDouble1 >> t.m_AuxDouble2;
    if (!ok())
        return stream;
    t.m_ColorGamutType = static_cast<CTargetValue::typeColorGamutType>(gamut);
    // A stored curve keeps the kind it was stored with, so the record reads
    // back byte for byte.
    target.CopyFrom(t);
    return stream;
}

QDebug operator<<(QDebug debug, const CTargetValue &target)
{
    const QDebugStateSaver saver(debug);
    debug.nospace().noquote() << "CTargetValue( name=\"" << target.m_Name
                              << "\" m_Gamma=" << target.m_Gamma << " WhitePoint=\""
                              << target.GetWhitePointString() << "\" GammaCurve=\""
                              << target.GetGammaCurveString(false) << "\" ContrastRatio=\""
                              << target.GetContrastRatioString() << "\" TargetIntensity=\""
                              << target.GetTargetIntensityString(true)
                              << "\" ColorGamutType=" << int(target.m_ColorGamutType) << ")";
    return debug;
}
