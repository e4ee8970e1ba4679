#include "ProfileNaming.h"

#include "CTargetValue.h"
#include "CalibrationSettingsFileName.h"
#include "MonitorData.h"
#include "StringResources.h"

#include <QMutex>
#include <QMutexLocker>

namespace pz {

namespace {

constexpr unsigned int kIccExtensionId = 17;

QMutex g_promptLock;
ProfileNamePrompt g_prompt;

// The first characters of text that take at most maxBytes in UTF-8, never
// splitting a character.
QString utf8Prefix(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size()
            && text.at(end + 1).isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const int size = int(text.mid(end, units).toUtf8().size());
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        end += units;
    }
    return text.left(end);
}

} // namespace

void setProfileNamePrompt(ProfileNamePrompt prompt)
{
    QMutexLocker lock(&g_promptLock);
    g_prompt = std::move(prompt);
}

ProfileNamePrompt profileNamePrompt()
{
    QMutexLocker lock(&g_promptLock);
    return g_prompt;
}

QString proposedProfileFileName(const _MonitorData &monitor)
{
    return monitor.m_ModelName + QLatin1Char(' ') + monitor.m_SerialNumber;
}

QString proposedProfileDescription(const QString &fileName, const QDateTime &when,
                                   const CTargetValue &target)
{
    return fileName + QLatin1Char(' ') + when.toString(QStringLiteral("yyyy-MM-dd hh-mm "))
        + target.m_WhitePoint.GetCaptionStr() + QLatin1Char(' ')
        + target.GetGammaCurveString(true);
}

QString safeProfileFileName(const QString &name, const QString &fallback)
{
    QString safe = SafeFileNamePart(name.trimmed().isEmpty() ? fallback : name);
    if (safe.startsWith(QLatin1Char('.')))
        safe[0] = QLatin1Char('_');

    const QString extension = GetStringResource(kIccExtensionId);
    QString base = safe;
    QString suffix = extension;
    if (safe.endsWith(extension, Qt::CaseInsensitive)) {
        base = safe.left(safe.size() - extension.size());
        suffix = safe.right(extension.size());
    }
    return utf8Prefix(base, kMaxFileNameBytes - int(suffix.toUtf8().size())) + suffix;
}

} // namespace pz
