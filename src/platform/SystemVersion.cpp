#include "SystemVersion.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSysInfo>

namespace pz {

bool parseVersionNumbers(const QString &text, unsigned &major, unsigned &minor, unsigned &bugfix)
{
    major = minor = bugfix = 0;
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,9})(?:\\.(\\d{1,9}))?(?:\\.(\\d{1,9}))?"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    major = match.captured(1).toUInt();
    minor = match.captured(2).toUInt();
    bugfix = match.captured(3).toUInt();
    return true;
}

} // namespace pz

bool GetMacOSVersion(unsigned &major, unsigned &minor, unsigned &bugfix)
{
    return pz::parseVersionNumbers(QSysInfo::productVersion(), major, minor, bugfix)
        || pz::parseVersionNumbers(QSysInfo::kernelVersion(), major, minor, bugfix);
}

bool GetOSVersionName(QString &out)
{
    unsigned major = 0, minor = 0, bugfix = 0;
    if (!GetMacOSVersion(major, minor, bugfix)) {
        out.clear();
        return false;
    }
    out = QCoreApplication::translate("QObject", "%1 %2.%3.%4",
                                      "operating system name and version")
              .arg(QSysInfo::productType())
              .arg(major)
              .arg(minor)
              .arg(bugfix);
    return true;
}
