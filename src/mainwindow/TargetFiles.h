#pragma once
// The targets folder as the main window uses it: finding a file that
// already holds a target, turning a target's name into a file name that
// stays inside the folder, and choosing where a target goes without
// replacing another one.

#include <QString>
#include <QStringList>

class CTargetValue;

namespace pz {

// The first target file of folder whose target equals target by values
// (CTargetValue::operator==, names play no part): plain files matching
// "*.tgt", hidden ones included, no links, smallest first. Unreadable files
// are skipped. Empty when there is none (or folder is empty).
QString findEqualTargetFile(const QString &folder, const CTargetValue &target);

// name as a file name without its extension: '/', '\\', NUL and control
// characters become '_'; an empty or dots-only name becomes "Target".
QString safeTargetFileStem(const QString &name);

// Where a target goes in folder under stem + ".tgt" without replacing
// another target: that path when nothing is there and the name is not
// reserved (compared ignoring case); when the file is there or reserved,
// that path with alreadyThere set if the file holds an equal target, else
// the first free "stem (2).tgt", "stem (3).tgt", ...
struct TargetPlace {
    QString path;
    bool alreadyThere = false;
};
TargetPlace placeTarget(const QString &folder, const QString &stem, const CTargetValue &target,
                        const QStringList &reservedNames);

// Whether path names a file directly inside folder (after resolving "..",
// "." and links of the folder itself).
bool liesDirectlyIn(const QString &path, const QString &folder);

} // namespace pz
