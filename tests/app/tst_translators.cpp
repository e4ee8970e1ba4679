#include "Resources.h"
#include "StringResources.h"
#include "Translators.h"

#include <QtTest>

class TestTranslators : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("PELZORA_LANG"); }

    void install_data()
    {
        QTest::addColumn<QString>("pelzoraLang");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("installed");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        QTest::newRow("PELZORA_LANG=ja, English") << "ja" << english << true;
        QTest::newRow("English") << "" << english << false;
        QTest::newRow("Japanese") << "" << japanese << true;
        QTest::newRow("PELZORA_LANG=en, Japanese") << "en" << japanese << false;
    }
    void install()
    {
        QFETCH(QString, pelzoraLang);
        QFETCH(QLocale, locale);
        QFETCH(bool, installed);
        if (!pelzoraLang.isEmpty())
            qputenv("PELZORA_LANG", pelzoraLang.toLatin1());
        const QString english = GetStringResource(115);
        QCOMPARE(english, QString("The operation has been canceled."));
        {
            pz::ApplicationTranslators translators(locale);
            QCOMPARE(translators.applicationInstalled(), installed);
            QCOMPARE(translators.qtInstalled(), installed);
            QCOMPARE(GetStringResource(115),
                     installed ? QString::fromUtf8("操作はキャンセルされました。") : english);
            // The configuration file name is never translated.
            QCOMPARE(GetStringResource(13), QString("com.orvane.pelzora.config.prefs"));
        }
        QCOMPARE(GetStringResource(115), english);
    }

    void catalogues_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("application") << ":/translations/Resources/pelzora_ja.qm";
        QTest::newRow("Qt") << ":/translations/Resources/qt_ja_mac.qm";
    }
    void catalogues()
    {
        QFETCH(QString, path);
        QTranslator translator;
        QVERIFY(translator.load(path));
        QVERIFY(!translator.isEmpty());
    }
};

QTEST_MAIN(TestTranslators)
#include "tst_translators.moc"
