#include "ProfilePermissions.h"

#include "CPreferences.h"
#include "PreferencesRegistry.h"
#include "StringResources.h"
#include "SystemFolders.h"

#include <QFileInfo>
#include <QMessageBox>

namespace {
constexpr unsigned int kApplicationNameId = 1;
constexpr unsigned int kProfilePermissionsWarningId = 152;
} // namespace

int CheckProfilePermissions(QWidget *parent)
{
    const CPreferences *preferences = pz::applicationPreferences();
    const QString folder =
        preferences ? preferences->GetICCProfileLocation() : GetDefaultProfileLocationPath(0);
    if (!folder.isEmpty() && QFileInfo(folder).permission(QFile::WriteUser))
        return 0;

    QMessageBox box(QMessageBox::Warning, GetStringResource(kApplicationNameId),
                    GetStringResource(kProfilePermissionsWarningId).arg(folder.toHtmlEscaped()),
                    QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::No ? -1 : 0;
}
