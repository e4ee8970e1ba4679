// The program in Japanese (PELZORA_LANG=ja, in a temporary XDG home on the
// simulated desktop): translated texts, names that stay the same, the preset
// targets under their Japanese names, Qt's own buttons, the untranslated
// display technology list, the copied Summary; and without PELZORA_LANG in
// an English locale nothing is translated. The main window, preferences and
// information window are grabbed in Japanese into the pictures folder.

#include "FileDialogUser.h"
#include "TestSupport.h"
#include "MainWindowRig.h"

#include "CPreferences.h"
#include "PZ_Custom_Gamma_Curve_Dialog.h"
#include "PZ_Preferences_Dialog.h"
#include "PZ_edit_target_dialog.h"
#include "ReportFixture.h"
#include "ReportPanel.h"
#include "StandardTargets.h"
#include "Translators.h"
#include "pz_select_display_technology_type_dialog.h"

#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QXmlStreamReader>
#include <QtTest>

using namespace pz::test;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const unsigned kCanceled = 115;
const unsigned kPresetIds[] = {200, 201, 202, 203, 205, 206, 207, 208, 209};

// The catalogues installed as for a user who asked for Japanese.
struct Japanese {
    Japanese()
    {
        qputenv("PELZORA_LANG", "ja");
        translators = std::make_unique<pz::ApplicationTranslators>(kEnglish);
    }
    ~Japanese()
    {
        translators.reset();
        qunsetenv("PELZORA_LANG");
    }
    bool installed() const { return translators->applicationInstalled() && translators->qtInstalled(); }
    std::unique_ptr<pz::ApplicationTranslators> translators;
};

QString grabPath(const QString &name)
{
    return pz::test::picturePath(name);
}

void settle()
{
    for (int round = 0; round < 10; ++round)
        QApplication::processEvents();
}

QStringList tabTitles(const QTabWidget *tabs)
{
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    return titles;
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList targetFiles(const QString &folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("*.tgt")}, QDir::Files);
    names.sort();
    return names;
}

QString cancelButtonText()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

QStringList preferencesTabs()
{
    PZ_Preferences_Dialog dialog(nullptr);
    return tabTitles(dialog.tabWidget);
}

// The Summary as the Copy command of an information window's panel gives it.
QString copiedSummary(const QString &title)
{
    QWidget window;
    window.setWindowTitle(title);
    auto *layout = new QGridLayout(&window);
    auto *panel = new ReportPanel(ReportFlavor::InformationWindow, &window);
    layout->addWidget(panel);
    const CTargetValue target = gammaTarget();
    panel->showReport(target, simulatedCalibration(target), MonitorFacts());
    panel->tabWidget()->setCurrentIndex(0);
    panel->copyToClipboard();
    return QApplication::clipboard()->text();
}

// (context, source, comment) of every message of the committed catalogue.
QList<QStringList> catalogueMessages()
{
    QList<QStringList> messages;
    QFile file(QStringLiteral(PZ_TS_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    QStringList current;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"message")
            current = QStringList{context, QString(), QString()};
        else if (xml.name() == u"source")
            current[1] = xml.readElementText();
        else if (xml.name() == u"comment")
            current[2] = xml.readElementText();
        else if (xml.name() == u"translation")
            messages << current;
    }
    return messages;
}

// Notes every lookup the program makes and answers none, so that the
// catalogues behind it still answer.
class RecordingTranslator : public QTranslator {
public:
    QString translate(const char *context, const char *source, const char *comment, int) const override
    {
        asked.insert(QStringList{QString::fromUtf8(context), QString::fromUtf8(source),
                                 QString::fromUtf8(comment)});
        return QString();
    }
    bool isEmpty() const override { return false; }
    mutable QSet<QStringList> asked;
};

// Lookups that the application's catalogue does not hold; Qt's own
// contexts are left to Qt's catalogue.
QStringList unknownLookups(const QSet<QStringList> &asked)
{
    const QList<QStringList> known = catalogueMessages();
    QStringList unknown;
    for (const QStringList &key : asked) {
        const bool qtContext = key[0].startsWith(QLatin1Char('Q')) && key[0] != QLatin1String("QObject");
        if (!qtContext && !known.contains(key))
            unknown << key.join(QLatin1String(" | "));
    }
    return unknown;
}

} // namespace

class TestJapaneseInterface : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        pz::initResources();
        qunsetenv("PELZORA_LANG");
    }

    void stringTableAndStoredNames()
    {
        MainWindowRig rig;
        const QString canceled = GetStringResource(kCanceled);
        const QStringList names{GetStringResource(12), GetStringResource(13), GetMCSFolder(true),
                                GetTargetsFolder(true),
                                rig.controller->GetPreferences()->GetPreferencesFileNameAndPath()};
        Japanese japanese;
        QVERIFY(japanese.installed());
        QCOMPARE(GetStringResource(kCanceled), QString::fromUtf8("操作はキャンセルされました。"));
        QVERIFY(GetStringResource(kCanceled) != canceled);
        const QStringList japaneseNames{GetStringResource(12), GetStringResource(13),
                                        GetMCSFolder(true), GetTargetsFolder(true),
                                        rig.controller->GetPreferences()->GetPreferencesFileNameAndPath()};
        QCOMPARE(japaneseNames, names);
        QVERIFY(names[2].endsWith(QLatin1String("/Orvane/Pelzora/Calibration Settings/")));
        QVERIFY(names[3].endsWith(QLatin1String("/Orvane/Pelzora/Targets/")));
    }

    // A Japanese interface writes the nine presets under Japanese names and
    // reserves those names.
    void presetTargetsUnderJapaneseNames()
    {
        MainWindowRig rig;
        QStringList english;
        for (unsigned id : kPresetIds)
            english << GetStringResource(id) + QStringLiteral(".tgt");
        Japanese japanese;
        QStringList expected;
        for (unsigned id : kPresetIds)
            expected << GetStringResource(id) + QStringLiteral(".tgt");
        QCOMPARE(QSet<QString>(expected.begin(), expected.end()).size(), 9);
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(expected[i] != english[i], qPrintable(expected[i]));
        QVERIFY(expected.contains(QString::fromUtf8("写真編集.tgt")));

        PZ_Main_Dialog &window = rig.build();
        QStringList sortedExpected = expected;
        sortedExpected.sort();
        QCOMPARE(targetFiles(rig.targetsFolder()), sortedExpected);
        QStringList reserved = window.reservedTargetNames();
        reserved.sort();
        QCOMPARE(reserved, sortedExpected);
        QCOMPARE(window.currentTarget().m_Name, QString::fromUtf8("写真編集"));
        for (const QString &name : expected) {
            CTargetValue stored;
            QCOMPARE(stored.ReadFile(rig.targetsFolder() + name), 0);
            QCOMPARE(stored.m_Name + QStringLiteral(".tgt"), name);
        }

        // A Japanese preset's name in another letter case is refused with
        // the Japanese message, and the file stays as it was.
        const QString preset = rig.targetsFolder() + QString::fromUtf8("DICOM クリア.tgt");
        QFile presetFile(preset);
        QVERIFY(presetFile.open(QIODevice::ReadOnly));
        const QByteArray before = presetFile.readAll();
        presetFile.close();
        FileDialogUser user({rig.targetsFolder() + QString::fromUtf8("dicom クリア"), QString()});
        QVERIFY(!window.onSaveTarget());
        QCOMPARE(user.boxTexts,
                 QStringList{QString::fromUtf8("エラー: ファイル名 <b>dicom クリア.tgt</b> は予約されています。"
                                               "別のファイル名を入力してください。")});
        QVERIFY(presetFile.open(QIODevice::ReadOnly));
        QCOMPARE(presetFile.readAll(), before);
        QVERIFY(!QFileInfo::exists(rig.targetsFolder() + QString::fromUtf8("dicom クリア.tgt")));
    }

    void preferencesTabsAndQtButtons()
    {
        MainWindowRig rig;
        const QStringList englishTabs = preferencesTabs();
        QCOMPARE(englishTabs, (QStringList{"Calibration Sensor", "Calibration", "ICC Profile",
                                           "Interface", "Display"}));
        QCOMPARE(cancelButtonText(), QStringLiteral("Cancel"));
        Japanese japanese;
        QCOMPARE(preferencesTabs(),
                 (QStringList{QString::fromUtf8("キャリブレーションセンサー"),
                              QString::fromUtf8("キャリブレーション"), QString::fromUtf8("ICC プロファイル"),
                              QString::fromUtf8("インターフェース"), QString::fromUtf8("ディスプレイ")}));
        // Qt's own catalogue gives the standard buttons.
        QCOMPARE(cancelButtonText(), QString::fromUtf8("キャンセル"));
    }

    // The display technology names stay English in a Japanese dialog.
    void displayTechnologyListStaysEnglish()
    {
        Japanese japanese;
        pz_select_display_technology_type_dialog dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("ディスプレイの種類の選択"));
        auto *list = dialog.findChild<QComboBox *>("technology_type_comboBox");
        QVERIFY(list);
        QCOMPARE(itemTexts(list),
                 (QStringList{"Standard Color Gamut CCFL backlight LCD", "Wide Color Gamut CCFL backlight LCD",
                              "Wide Color Gamut RGB LED backlight LCD",
                              "Standard Color Gamut White LED backlight LCD", "CRT"}));
    }

    // The copied Summary keeps its frame, spacing and CR LF line ends with
    // Japanese captions.
    void copiedSummaryKeepsItsForm()
    {
        MainWindowRig rig;
        const QString title = QStringLiteral("Information: Display 1 - HXSIM24 / Office D65");
        const QStringList english = copiedSummary(title).split(QStringLiteral("\r\n"));
        Japanese japanese;
        const QString copied = copiedSummary(title);
        const QStringList l = copied.split(QStringLiteral("\r\n"));
        QCOMPARE(l.size(), english.size());
        QCOMPARE(copied.count(QLatin1Char('\n')), copied.count(QStringLiteral("\r\n")));
        QVERIFY(copied.endsWith(QLatin1String("\r\n")));
        QCOMPARE(l[0], QStringLiteral("---- ") + title + QStringLiteral(" ----"));
        QCOMPARE(l[1], QString::fromUtf8("--- 白色点 ---"));
        QCOMPARE(english[2], QStringLiteral("Target:       6500 K <u>Black Body</u>"));
        QCOMPARE(l[2], QString::fromUtf8("ターゲット:       6500 K <u>黒体</u>"));
        QCOMPARE(l[8], QString::fromUtf8("ターゲット: <u>輝度</u> 160.0 cd/m²"));
        QCOMPARE(l[14], QString::fromUtf8("ターゲット: 2.20"));
        QCOMPARE(l[36], QString::fromUtf8("シリアル番号: I1D3-0042"));
        for (int i = 0; i < l.size(); ++i) {
            const bool group = english[i].startsWith(QLatin1String("--- "));
            QCOMPARE(l[i].startsWith(QLatin1String("--- ")) && l[i].endsWith(QLatin1String(" ---")), group);
            if (group)
                QVERIFY2(l[i] != english[i], qPrintable(l[i]));
        }
    }

    // Without PELZORA_LANG, in an English locale, no text of the catalogue
    // comes out translated.
    void withoutLanguageNothingIsTranslated()
    {
        qunsetenv("PELZORA_LANG");
        pz::ApplicationTranslators translators(kEnglish);
        QVERIFY(!translators.applicationInstalled());
        QVERIFY(!translators.qtInstalled());
        const QList<QStringList> messages = catalogueMessages();
        QVERIFY(messages.size() > 500);
        for (const QStringList &m : messages) {
            const QByteArray comment = m[2].toUtf8();
            QCOMPARE(QCoreApplication::translate(m[0].toUtf8().constData(), m[1].toUtf8().constData(),
                                                 m[2].isEmpty() ? nullptr : comment.constData()),
                     m[1]);
        }
        QCOMPARE(cancelButtonText(), QStringLiteral("Cancel"));
        QCOMPARE(GetStringResource(kCanceled), QStringLiteral("The operation has been canceled."));
    }

    // Pictures of the three main windows in Japanese, to be looked at.
    void japaneseWindowPictures()
    {
        MainWindowRig rig;
        Japanese japanese;
        RecordingTranslator recorder;
        QVERIFY(QCoreApplication::installTranslator(&recorder));
        PZ_Main_Dialog &window = rig.open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        settle();
        QVERIFY(window.grab().save(grabPath(QStringLiteral("japanese_main_window.png"))));

        {
            PZ_Preferences_Dialog preferences(&window);
            preferences.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preferences));
            for (int page = 0; page < preferences.tabWidget->count(); page += 2) {
                preferences.tabWidget->setCurrentIndex(page);
                settle();
                QVERIFY(preferences.grab().save(
                    grabPath(QStringLiteral("japanese_preferences_%1.png").arg(page))));
            }
        }

        {
            CCIEYxy unknownPrimaries[3];
            PZ_edit_target_dialog editor(pz::standardTargets().at(pz::kPhotoEditingPreset),
                                         CDDCMonitor::kColorGamutFree, unknownPrimaries, &window);
            editor.show();
            QVERIFY(QTest::qWaitForWindowExposed(&editor));
            settle();
            QVERIFY(editor.grab().save(grabPath(QStringLiteral("japanese_target_editor.png"))));
            PZ_Custom_Gamma_Curve_Dialog curve(&editor);
            curve.show();
            QVERIFY(QTest::qWaitForWindowExposed(&curve));
            settle();
            QVERIFY(curve.grab().save(grabPath(QStringLiteral("japanese_tone_curve_editor.png"))));
        }

        PZ_Information_Dialog *information = rig.information();
        CTargetValue target = pz::standardTargets().at(pz::kPhotoEditingPreset);
        CAdjustValue result = simulatedCalibration(target);
        information->UpdateData(GetStringResource(502).arg(QStringLiteral("1"), QStringLiteral("HXSIM24")),
                                &target, &result, nullptr);
        QVERIFY(information->windowTitle().startsWith(QString::fromUtf8("情報: ディスプレイ 1 - HXSIM24")));
        information->show();
        QVERIFY(QTest::qWaitForWindowExposed(information));
        for (int page = 0; page < ReportPanel::kPageCount; ++page) {
            information->panel()->tabWidget()->setCurrentIndex(page);
            settle();
            QVERIFY(information->grab().save(
                grabPath(QStringLiteral("japanese_information_window_%1.png").arg(page))));
        }
        QCoreApplication::removeTranslator(&recorder);
        // Every text these windows look up is one the catalogue translates
        // (the same context, source and comment as lupdate found them).
        QVERIFY(recorder.asked.size() > 100);
        const QStringList unknown = unknownLookups(recorder.asked);
        QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join('\n')));
    }
};

QTEST_MAIN(TestJapaneseInterface)
#include "tst_japanese_interface.moc"
