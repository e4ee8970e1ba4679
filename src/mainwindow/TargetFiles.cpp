#include "TargetFiles.h"

#include "CTargetValue.h"
#include "StringResources.h"

#include <QDir>
#include <QFileInfo>

namespace pz {

namespace {

const unsigned kTargetExtensionText = 3; // ".tgt"

bool holdsEqualTarget(const QString &path, const CTargetValue &target)
{
    CTargetValue stored;
    return stored.ReadFile(path) == 0 && stored == target;
}

} // namespace

QString findEqualTargetFile(const QString &folder, const CTargetValue &target)
{
    // An empty folder path would list the working directory.
    if (folder.isEmpty())
        return QString();
    // QDir's size order is largest first: reversed, the smallest comes first.
    const QFileInfoList entries = QDir(folder).entryInfoList(
        {QLatin1Char('*') + GetStringResource(kTargetExtensionText)},
        QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Size | QDir::Reversed);
    for (const QFileInfo &entry : entries) {
        if (holdsEqualTarget(entry.filePath(), target))
            return entry.filePath();
    }
    return QString();
}

QString safeTargetFileStem(const QString &name)
{
    QString stem = name;
    bool onlyDots = true;
    for (QChar &c : stem) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20
            || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
        if (c != QLatin1Char('.'))
            onlyDots = false;
    }
    // "", "." and ".." name the folder itself or its parent.
    if (onlyDots)
        return QStringLiteral("Target");
    return stem;
}

TargetPlace placeTarget(const QString &folder, const QString &stem, const CTargetValue &target,
                        const QStringList &reservedNames)
{
    const QString extension = GetStringResource(kTargetExtensionText);
    QString fileName = stem + extension;
    for (int n = 2;; ++n) {
        const QString path = folder + fileName;
        const bool exists = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
        if (!exists && !reservedNames.contains(fileName, Qt::CaseInsensitive))
            return {path, false};
        if (exists && holdsEqualTarget(path, target))
            return {path, true};
        fileName = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
    }
}

bool liesDirectlyIn(const QString &path, const QString &folder)
{
    const QString canonicalFolder = QDir(folder).canonicalPath();
    const QString parent = QFileInfo(path).absoluteDir().canonicalPath();
    return !canonicalFolder.isEmpty() && parent == canonicalFolder
           && QFileInfo(path).fileName() != QLatin1String("..")
           && QFileInfo(path).fileName() != QLatin1String(".");
}

} // namespace pz
