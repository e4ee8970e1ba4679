#pragma once
// Records for the profile writer's tests, filled as a calibration or a
// profiling run fills them, and a reader for the tag table of the profiles
// it writes.
//
// ProfileHome runs a test in a temporary home with QStandardPaths' test
// mode, the platform's folders and registered preferences, so profiles go
// to <home>/.qttest/share/icc.

#include "CAdjustValue.h"
#include "CPreferences.h"
#include "CTargetValue.h"
#include "CIccIO.h"
#include "CIccTagvcgt.h"
#include "HostSystem.h"
#include "MonitorData.h"
#include "PreferencesRegistry.h"
#include "SystemFolders.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVector>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <memory>

#include <lcms2.h>

namespace pz::test {

// The header date of every fixture: 2024-03-05 14:07:09, local time.
inline QDateTime fixtureDate() { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); }

inline CCIEXYZ fromxyY(double x, double y, double Y)
{
    return CCIEXYZ(x / y * Y, Y, (1.0 - x - y) / y * Y);
}

inline CSpline gammaCurve(double gamma)
{
    CSpline curve;
    curve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    curve.SetSplineGamma(gamma);
    curve.SetValid(true);
    return curve;
}

// What the records hold after a calibration: the final primaries and white,
// corrected responses of gamma 2.2 in curves 6-8, the identity card ramp in
// curves 12-14.
struct ProfileRecords {
    CTargetValue target;
    CAdjustValue result;
    _MonitorData monitor;

    ProfileRecords()
    {
        target.CreateDefault(); // D65, gamma 2.2
        result.m_CalibrationDateTime = fixtureDate();
        result.m_IsCalibrationOn = true;
        setPrimaries(CCIEXYZ(0.4124, 0.2126, 0.0193), CCIEXYZ(0.3576, 0.7152, 0.1192),
                     CCIEXYZ(0.1805, 0.0722, 0.9505), CCIEXYZ(0.9505, 1.0, 1.089));
        for (int c = 0; c < 3; ++c) {
            result.m_ColorValue.m_Splines[CColorValue::kCorrectedRed + c] = gammaCurve(2.2);
            result.m_ColorValue.m_Splines[CColorValue::kCardRampRed + c] = gammaCurve(1.0);
        }
        monitor.m_ModelName = QStringLiteral("HXSIM24");
        monitor.m_SerialNumber = QStringLiteral("SIM0001");
        monitor.m_DisplayID = 1;
        monitor.m_ModelID = 0x563E1234;
    }

    void setPrimaries(const CCIEXYZ &r, const CCIEXYZ &g, const CCIEXYZ &b, const CCIEXYZ &w)
    {
        CCIEXYZ *patches = result.m_ColorValue.m_FinalPatches;
        patches[CColorValue::kRedPatch] = r;
        patches[CColorValue::kGreenPatch] = g;
        patches[CColorValue::kBluePatch] = b;
        patches[CColorValue::kWhitePatch] = w;
    }
};

// One entry of a profile's tag table with its element.
struct TagEntry {
    quint32 signature = 0;
    quint32 offset = 0;
    quint32 size = 0;
    QByteArray element;
};

inline quint32 be32(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}
inline quint16 be16(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<quint16>(bytes.constData() + offset);
}

inline QVector<TagEntry> tagTable(const QByteArray &profile)
{
    QVector<TagEntry> tags;
    if (profile.size() < 132)
        return tags;
    const quint32 count = be32(profile, 128);
    for (quint32 i = 0; i < count && 132 + 12 * (i + 1) <= quint32(profile.size()); ++i) {
        TagEntry t;
        t.signature = be32(profile, int(132 + 12 * i));
        t.offset = be32(profile, int(136 + 12 * i));
        t.size = be32(profile, int(140 + 12 * i));
        t.element = profile.mid(t.offset, t.size);
        tags.append(t);
    }
    return tags;
}

inline QByteArray tagElement(const QByteArray &profile, const char *signature)
{
    const quint32 sig = qFromBigEndian<quint32>(signature);
    for (const TagEntry &t : tagTable(profile))
        if (t.signature == sig)
            return t.element;
    return QByteArray();
}

// An XYZ tag's value, or (-1, -1, -1) when the profile lacks it.
inline cmsCIEXYZ readXYZ(cmsHPROFILE h, cmsTagSignature sig)
{
    const auto *xyz = static_cast<const cmsCIEXYZ *>(cmsReadTag(h, sig));
    return xyz ? *xyz : cmsCIEXYZ{-1, -1, -1};
}

inline bool near(const cmsCIEXYZ &a, const cmsCIEXYZ &b, double tolerance)
{
    return std::abs(a.X - b.X) <= tolerance && std::abs(a.Y - b.Y) <= tolerance
           && std::abs(a.Z - b.Z) <= tolerance;
}

// The 'vcgt' table as 8-bit entries, channel after channel; empty when the
// tag does not read.
inline QByteArray cookedVcgt(const QByteArray &profile)
{
    const QByteArray element = tagElement(profile, "vcgt");
    CIccMemIO io(element);
    CIccTagvcgt tag;
    if (!tag.Read(element.size(), &io))
        return QByteArray();
    QByteArray table(768, '\0');
    icvcgtstruct out;
    out.data = reinterpret_cast<unsigned char *>(table.data());
    return tag.GetVCGT(&out) ? table : QByteArray();
}


// The s15Fixed16 values of an XYZType or s15Fixed16ArrayType element.
inline QVector<qint32> fixedValues(const QByteArray &element)
{
    QVector<qint32> values;
    for (int at = 8; at + 4 <= element.size(); at += 4)
        values.append(qint32(be32(element, at)));
    return values;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ProfileCloser {
    void operator()(void *h) const { cmsCloseProfile(h); }
};
using ProfileHandle = std::unique_ptr<void, ProfileCloser>;

// Every profile the writer produces must open in Little CMS.
inline ProfileHandle openProfile(const QByteArray &bytes)
{
    return ProfileHandle(cmsOpenProfileFromMem(bytes.constData(), cmsUInt32Number(bytes.size())));
}

// A temporary home for the platform's folders, with preferences registered.
class ProfileHome {
public:
    ProfileHome()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        QStandardPaths::setTestModeEnabled(true);
        m_host = std::make_unique<ScopedHostSystem>(platformHostSystem());
        m_preferences = std::make_unique<CPreferences>();
        m_registered = std::make_unique<ScopedPreferences>(m_preferences.get());
    }
    ~ProfileHome()
    {
        m_registered.reset();
        m_preferences.reset();
        m_host.reset();
    }

    CPreferences &preferences() { return *m_preferences; }
    QString profileFolder() const { return GetDefaultProfileLocationPath(0); }
    QString homePath() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
    std::unique_ptr<ScopedHostSystem> m_host;
    std::unique_ptr<CPreferences> m_preferences;
    std::unique_ptr<ScopedPreferences> m_registered;
};

} // namespace pz::test
