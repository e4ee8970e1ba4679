#include "Translators.h"

#include <QCoreApplication>

namespace pz {

namespace {
const char kApplicationCatalogue[] = ":/translations/Resources/pelzora_ja";
const char kQtCatalogue[] = ":/translations/Resources/qt_ja_mac.qm";
} // namespace

bool wantsJapanese(const QLocale &locale)
{
    const QString forced = qEnvironmentVariable("PELZORA_LANG");
    if (!forced.isEmpty())
        return forced == QLatin1String("ja");
    const QStringList languages = locale.uiLanguages();
    return !languages.isEmpty() && languages.first().startsWith(QLatin1String("ja"));
}

ApplicationTranslators::ApplicationTranslators(const QLocale &locale)
{
    if (!wantsJapanese(locale))
        return;
    if (m_application.load(QString::fromLatin1(kApplicationCatalogue)))
        m_applicationInstalled = QCoreApplication::installTranslator(&m_application);
    if (m_qt.load(QString::fromLatin1(kQtCatalogue)))
        m_qtInstalled = QCoreApplication::installTranslator(&m_qt);
}

ApplicationTranslators::~ApplicationTranslators()
{
    if (m_qtInstalled)
        QCoreApplication::removeTranslator(&m_qt);
    if (m_applicationInstalled)
        QCoreApplication::removeTranslator(&m_application);
}

} // namespace pz
