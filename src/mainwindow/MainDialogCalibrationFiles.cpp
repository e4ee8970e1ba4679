// Calibration-settings files (.mcs) of the main window: one file per
// completed calibration in the calibration-settings folder.

#include "PZ_Main_Dialog.h"

#include "CalibrationSettingsFile.h"
#include "CalibrationSettingsFileName.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QFileInfo>

namespace {

const int kCannotOpen = -1500;
const unsigned kSettingsExtensionText = 7; // ".mcs"

// The name is made to the minute: a second calibration of the same monitor
// in the same minute gets " (2)", " (3)" ... before the extension instead of
// replacing the first one's file.
QString unusedPath(const QString &folder, const QString &name)
{
    QString path = folder + name;
    if (!QFileInfo::exists(path))
        return path;
    const QString suffix = GetStringResource(kSettingsExtensionText);
    QString stem = name;
    if (stem.endsWith(suffix, Qt::CaseInsensitive))
        stem.chop(suffix.size());
    for (int n = 2;; ++n) {
        path = folder + QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
        if (!QFileInfo::exists(path))
            return path;
    }
}

} // namespace

int PZ_Main_Dialog::CreateMCSFile(CTargetValue *target, CAdjustValue *result)
{
    const QString folder = GetMCSFolder(true);
    const QString name = CreateMCSFileName(target, result);
    // Without a folder the file would land in the working directory.
    if (folder.isEmpty() || name.isEmpty())
        return kCannotOpen;
    return pz::WriteCalibrationSettingsFile(unusedPath(folder, name), *target, *result);
}
