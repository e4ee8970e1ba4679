#pragma once
// The application's and Qt's Japanese catalogues, installed when the user
// interface language is Japanese (or PELZORA_LANG=ja; another value of
// PELZORA_LANG keeps the program untranslated). A catalogue that does not
// load is left out without a message.

#include <QLocale>
#include <QTranslator>

namespace pz {

// Whether the catalogues apply: PELZORA_LANG when set, else the locale's
// first user interface language.
bool wantsJapanese(const QLocale &locale = QLocale());

class ApplicationTranslators {
public:
    explicit ApplicationTranslators(const QLocale &locale = QLocale());
    // Removes what it installed.
    ~ApplicationTranslators();
    ApplicationTranslators(const ApplicationTranslators &) = delete;
    ApplicationTranslators &operator=(const ApplicationTranslators &) = delete;

    bool applicationInstalled() const { return m_applicationInstalled; }
    bool qtInstalled() const { return m_qtInstalled; }

private:
    QTranslator m_application;
    QTranslator m_qt;
    bool m_applicationInstalled = false;
    bool m_qtInstalled = false;
};

} // namespace pz
