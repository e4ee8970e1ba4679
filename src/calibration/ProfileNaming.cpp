#include "ProfileNaming.h"

#include "CTargetValue.h"
#include "CalibrationSettingsFileName.h"
#include "MonitorData.h"
#include "StringResources.h"

#include <QCryptographicHash>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

namespace pz {

namespace {

constexpr unsigned int kIccExtensionId = 17;
// Hex digits of the EDID digest that names a display without a serial number.
constexpr int kEdidDigestDigits = 8;

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

QString proposedProfileFileName(const _MonitorData &monitor, const QString &connector)
{
    QStringList parts;
    const QString model = monitor.m_ModelName.trimmed();
    const QString serial = monitor.m_SerialNumber.trimmed();
    if (!model.isEmpty())
        parts << model;
    if (!serial.isEmpty()) {
        parts << serial;
    } else if (!connector.trimmed().isEmpty()) {
        parts << connector.trimmed();
    } else if (monitor.m_EDIDValid) {
        const QByteArray edid(reinterpret_cast<const char *>(monitor.m_EDID), sizeof monitor.m_EDID);
        parts << QStringLiteral("EDID ")
                     + QString::fromLatin1(
                         QCryptographicHash::hash(edid, QCryptographicHash::Md5).toHex().left(kEdidDigestDigits));
    } else {
        parts << QStringLiteral("Display %1").arg(monitor.m_DisplayID);
    }
    return parts.join(QLatin1Char(' '));
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
