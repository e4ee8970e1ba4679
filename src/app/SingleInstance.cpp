#include "SingleInstance.h"

#include "StringResources.h"
#include "SystemFolders.h"

#include <QLockFile>

#include <memory>
#include <optional>

namespace {

const unsigned kConfigurationFileNameText = 13;

std::unique_ptr<QLockFile> g_lock;
std::optional<bool> g_running;

} // namespace

namespace pz {

QString applicationLockFilePath()
{
    const QString folder = GetPreferencesFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + GetStringResource(kConfigurationFileNameText)
           + QStringLiteral(".lock");
}

void releaseApplicationLock()
{
    g_lock.reset();
    g_running.reset();
}

} // namespace pz

bool is_application_running()
{
    if (g_running)
        return *g_running;
    const QString path = pz::applicationLockFilePath();
    if (path.isEmpty()) {
        g_running = false;
        return false;
    }
    auto lock = std::make_unique<QLockFile>(path);
    // The lock is held for the whole run; it never goes stale by age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        g_lock = std::move(lock);
        g_running = false;
    } else {
        g_running = lock->error() == QLockFile::LockFailedError;
    }
    return *g_running;
}
