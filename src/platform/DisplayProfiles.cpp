#include "DisplayProfiles.h"

#include "RegularFile.h"

#include <QFile>
#include <atomic>

#include <lcms2.h>

namespace pz {

namespace {
std::atomic<IDisplayProfiles *> g_profiles{nullptr};

// Profiles are a few kilobytes; this bounds what a stray path can make us read.
constexpr qint64 kMaxProfileBytes = 64 * 1024 * 1024;
} // namespace

int NoDisplayProfiles::assign(quint32, const QString &) { return kNotAssigned; }

IDisplayProfiles &displayProfiles()
{
    static NoDisplayProfiles none;
    IDisplayProfiles *p = g_profiles.load();
    return p ? *p : none;
}

void setDisplayProfiles(IDisplayProfiles *profiles) { g_profiles.store(profiles); }

ScopedDisplayProfiles::ScopedDisplayProfiles(IDisplayProfiles *profiles)
    : m_previous(g_profiles.load())
{
    setDisplayProfiles(profiles);
}

ScopedDisplayProfiles::~ScopedDisplayProfiles() { setDisplayProfiles(m_previous); }

bool readIccProfileFile(const QString &path, QByteArray &bytes)
{
    bytes.clear();
    QFile file(path);
    if (!openRegularFile(file) || file.size() > kMaxProfileBytes)
        return false;
    const QByteArray read = file.readAll();
    if (read.isEmpty() || file.error() != QFileDevice::NoError)
        return false;
    cmsHPROFILE h = cmsOpenProfileFromMem(read.constData(), cmsUInt32Number(read.size()));
    if (!h)
        return false;
    cmsCloseProfile(h);
    bytes = read;
    return true;
}

} // namespace pz
