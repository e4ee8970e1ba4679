#include "SystemFolders.h"

#include "HostSystem.h"
#include "StringResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

constexpr unsigned int kApplicationNameId = 1;
constexpr unsigned int kTargetsFolderId = 9;
constexpr unsigned int kMcsFolderId = 10;
constexpr unsigned int kCompanyNameId = 11;

const char kComputerProfileFolder[] = "/usr/local/share/color/icc";

// The path when the folder exists or could be made; else empty.
QString existingFolder(const QString &path, bool create)
{
    if (path.isEmpty())
        return QString();
    if (QDir(path).exists())
        return path;
    if (create && QDir().mkpath(path))
        return path;
    return QString();
}

QString standardFolder(QStandardPaths::StandardLocation location)
{
    return existingFolder(QStandardPaths::writableLocation(location), true);
}

QString applicationDataFolder(unsigned int folderNameId, bool create)
{
    const QString base = GetMyDocumentsFolder();
    if (base.isEmpty())
        return QString();
    const QString path = base + QLatin1Char('/') + GetStringResource(kCompanyNameId)
        + QLatin1Char('/') + GetStringResource(kApplicationNameId)
        + GetStringResource(folderNameId);
    return existingFolder(path, create);
}

class PlatformHostSystem : public pz::IHostSystem {
public:
    QString preferencesFolder() override { return GetPreferencesFolder(); }
    QString profileFolder(bool allUsers) override
    {
        return GetDefaultProfileLocationPath(allUsers ? 1 : 0);
    }
    bool profilesAlwaysPerUser() override { return true; }
};

} // namespace

QString GetPreferencesFolder() { return standardFolder(QStandardPaths::GenericConfigLocation); }

QString GetMyDocumentsFolder() { return standardFolder(QStandardPaths::GenericDataLocation); }

QString GetDefaultProfileLocationPath(unsigned char allUsers)
{
    if (allUsers)
        return existingFolder(QString::fromLatin1(kComputerProfileFolder), true);
    const QString data = GetMyDocumentsFolder();
    return data.isEmpty() ? QString() : existingFolder(data + QStringLiteral("/icc"), true);
}

QString GetDesktopFolderPath()
{
    const QString desktop =
        existingFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), false);
    return desktop.isEmpty() ? QCoreApplication::applicationFilePath() : desktop;
}

QString GetMCSFolder(bool create) { return applicationDataFolder(kMcsFolderId, create); }

QString GetTargetsFolder(bool create) { return applicationDataFolder(kTargetsFolderId, create); }

namespace pz {

IHostSystem *platformHostSystem()
{
    static PlatformHostSystem host;
    return &host;
}

} // namespace pz
