// Target files from the main window: Save Target As (reserved names, the
// names files and targets get, a failed write), Open Target (an equal
// target already in the folder, a different one under a preset's name, a
// file that is no target), Edit Target (an edit equal to a stored target,
// a cancelled editor or save), and the writer that stored calibrations use,
// which keeps to the targets folder and replaces no other target.

#include "DialogWatch.h"
#include "FileDialogUser.h"
#include "MainWindowRig.h"

#include "PZ_edit_target_dialog.h"
#include "StandardTargets.h"
#include "UnwrittenFifo.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace pz::test;

namespace {

const unsigned kPhotoEditing = 206;

CTargetValue targetWithGamma(double gamma, const QString &name)
{
    CTargetValue target;
    target.CreateDefault();
    target.m_Name = name;
    target.m_Gamma = gamma;
    return target;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderEntries(const QString &folder)
{
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.sort();
    return entries;
}

QString presetPath(const MainWindowRig &rig)
{
    return rig.targetsFolder() + GetStringResource(kPhotoEditing) + QStringLiteral(".tgt");
}

void select(PZ_Main_Dialog &w, const QString &text)
{
    const int index = w.main_Target_comboBox->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    w.main_Target_comboBox->setCurrentIndex(index);
}

} // namespace

class tst_TargetFiles : public QObject {
    Q_OBJECT

private slots:
    void reservedNamesAreRefusedAndTheDialogComesBack();
    void savedNames_data();
    void savedNames();
    void aFailedSaveKeepsTheNameAndLeavesNoFile();
    void openingAnEqualTargetCopiesNothing();
    void openingADifferentTargetUnderAPresetNameCopiesBesideIt();
    void openingAFileThatIsNoTarget();
    void openingWhatIsNoFile_data();
    void openingWhatIsNoFile();
    void editing_data();
    void editing();
    void storedNamesStayInTheTargetsFolder_data();
    void storedNamesStayInTheTargetsFolder();
    void storedTargetsReplaceNoOtherTarget();
    void withoutATargetsFolderNothingIsWritten();
};

void tst_TargetFiles::reservedNamesAreRefusedAndTheDialogComesBack()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    const QByteArray preset = fileBytes(presetPath(rig));
    const QString rejected = rig.targetsFolder() + QStringLiteral("photo editing");
    FileDialogUser user({rejected, QString()});
    QVERIFY(!w.onSaveTarget());

    QCOMPARE(user.captions, (QStringList{GetStringResource(5), GetStringResource(5)}));
    QCOMPARE(user.startPaths.first(), presetPath(rig));
    // Asked again from the refused name, which got its extension.
    QCOMPARE(user.startPaths.last(), rejected + QStringLiteral(".tgt"));
    QCOMPARE(user.boxTexts, QStringList{GetStringResource(176).arg("photo editing.tgt")});
    QCOMPARE(user.boxIcons.first(), QMessageBox::Critical);
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(kPhotoEditing));
    QCOMPARE(fileBytes(presetPath(rig)), preset);
    QVERIFY(!QFileInfo::exists(rejected + QStringLiteral(".tgt")));
}

void tst_TargetFiles::savedNames_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::newRow("no extension") << "Warm" << "Warm.tgt" << "Warm";
    QTest::newRow("a dot") << "x.y" << "x.y.tgt" << "x.y";
    QTest::newRow("extension") << "Cool.tgt" << "Cool.tgt" << "Cool";
    QTest::newRow("upper-case extension") << "Loud.TGT" << "Loud.TGT.tgt" << "Loud.TGT";
}

void tst_TargetFiles::savedNames()
{
    QFETCH(QString, answer);
    QFETCH(QString, file);
    QFETCH(QString, name);
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    const CTargetValue before = w.currentTarget();
    FileDialogUser user({rig.targetsFolder() + answer});
    QVERIFY(w.onSaveTarget());
    QVERIFY(user.boxTexts.isEmpty());

    QCOMPARE(w.currentTarget().m_Name, name);
    QVERIFY(w.currentTarget() == before);
    CTargetValue written;
    QCOMPARE(written.ReadFile(rig.targetsFolder() + file), 0);
    QCOMPARE(written.m_Name, name);
    QVERIFY(written == before);
    // The list was built again and holds the new file.
    QVERIFY(w.main_Target_comboBox->findData(file) >= 0);
}

void tst_TargetFiles::aFailedSaveKeepsTheNameAndLeavesNoFile()
{
    MainWindowRig rig;
    // A target over the file size limit below: a custom curve of 256 points.
    CTargetValue big = targetWithGamma(2.2, QStringLiteral("Big"));
    big.m_GammaCurveType = CTargetValue::kCurveCustom;
    big.m_CustomCurveType = CTargetValue::kCustomLStar;
    big.m_CustomCurve.InitSpline(SPLINE_CATMULL_ROM, 256, 0.0, 1.0);
    big.m_CustomCurve.SetSplineGamma(2.4);
    big.m_CustomCurve.SetValid(true);
    QCOMPARE(big.WriteFile(rig.targetsFolder() + QStringLiteral("Big.tgt")), 0);
    QVERIFY(QFileInfo(rig.targetsFolder() + QStringLiteral("Big.tgt")).size() > 2048);
    PZ_Main_Dialog &w = rig.build();
    select(w, QStringLiteral("Big"));
    QCOMPARE(w.currentTarget().m_Name, QStringLiteral("Big"));
    const QStringList before = folderEntries(rig.targetsFolder());

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool saved_ = true;
    FileDialogUser user({rig.targetsFolder() + QStringLiteral("Bigger")});
    saved_ = w.onSaveTarget();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved_);
    QCOMPARE(user.boxTexts, QStringList{GetStringResource(104)});
    QCOMPARE(w.currentTarget().m_Name, QStringLiteral("Big"));
    QCOMPARE(folderEntries(rig.targetsFolder()), before);
}

void tst_TargetFiles::openingAnEqualTargetCopiesNothing()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    // Photo Editing's values under another name, from elsewhere.
    QTemporaryDir elsewhere;
    CTargetValue same = pz::standardTargets().at(pz::kPhotoEditingPreset);
    same.m_Name = QStringLiteral("My favourite");
    QCOMPARE(same.WriteFile(elsewhere.filePath("Favourite.tgt")), 0);
    select(w, GetStringResource(200));
    const QStringList before = folderEntries(rig.targetsFolder());

    FileDialogUser user({elsewhere.filePath("Favourite.tgt")});
    w.main_Target_Open_pushButton->click();
    QCOMPARE(user.captions, QStringList{GetStringResource(4)});
    QCOMPARE(user.startPaths.first(), rig.targetsFolder());
    QVERIFY(user.boxTexts.isEmpty());
    QCOMPARE(folderEntries(rig.targetsFolder()), before);
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(kPhotoEditing));
    QVERIFY(w.currentTarget() == same);
    QCOMPARE(w.main_Target_Gamma_Text->text(), same.GetGammaCurveString(false));
}

void tst_TargetFiles::openingADifferentTargetUnderAPresetNameCopiesBesideIt()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    const QByteArray preset = fileBytes(presetPath(rig));
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath(GetStringResource(kPhotoEditing) + ".tgt");
    const CTargetValue different = targetWithGamma(1.9, GetStringResource(kPhotoEditing));
    QCOMPARE(different.WriteFile(chosen), 0);

    FileDialogUser user({chosen});
    w.action_Open_Target->trigger();
    QVERIFY(user.boxTexts.isEmpty());
    QCOMPARE(fileBytes(presetPath(rig)), preset);
    const QString copy = rig.targetsFolder() + GetStringResource(kPhotoEditing) + " (2).tgt";
    QVERIFY2(QFile::exists(copy), qPrintable(folderEntries(rig.targetsFolder()).join(", ")
                                             + " / opened: " + user.startPaths.join(", ")));
    QCOMPARE(fileBytes(copy), fileBytes(chosen));
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(kPhotoEditing) + " (2)");
    QVERIFY(w.currentTarget() == different);

    // Opened again: now it is in the folder, and nothing more is copied.
    const QStringList before = folderEntries(rig.targetsFolder());
    FileDialogUser again({chosen});
    w.action_Open_Target->trigger();
    QCOMPARE(folderEntries(rig.targetsFolder()), before);
}

void tst_TargetFiles::openingAFileThatIsNoTarget()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath("Broken.tgt");
    QFile file(chosen);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("20746774000000650000"));
    file.close();
    select(w, GetStringResource(203));
    const CTargetValue before = w.currentTarget();
    const QStringList entries = folderEntries(rig.targetsFolder());

    FileDialogUser user({chosen});
    w.main_Target_Open_pushButton->click();
    QCOMPARE(user.boxTexts, QStringList{GetStringResource(102)});
    QVERIFY(w.currentTarget() == before);
    QCOMPARE(w.currentTarget().m_Name, before.m_Name);
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(203));
    QCOMPARE(folderEntries(rig.targetsFolder()), entries);

    // A cancelled dialog changes nothing either.
    FileDialogUser cancelled({QString()});
    w.main_Target_Open_pushButton->click();
    QCOMPARE(cancelled.captions.size(), 1);
    QVERIFY(w.currentTarget() == before);
}

// A pipe no one writes to, or a device, chosen in the file dialog: the
// window answers at once that the file cannot be opened, and keeps its
// target. (A directory chosen there is opened as a folder by the dialog.)
void tst_TargetFiles::openingWhatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("device") << "device";
}

void tst_TargetFiles::openingWhatIsNoFile()
{
    QFETCH(QString, kind);
    const NotAFile chosen(kind);
    if (chosen.path().isEmpty())
        QSKIP("this system cannot make one");
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    select(w, GetStringResource(203));
    const CTargetValue before = w.currentTarget();
    const QStringList entries = folderEntries(rig.targetsFolder());

    FileDialogUser user({chosen.path()});
    w.main_Target_Open_pushButton->click();
    QCOMPARE(user.captions.size(), 1);
    QCOMPARE(user.boxTexts, QStringList{GetStringResource(101)});
    QVERIFY(!chosen.wasOpened());
    QVERIFY(w.currentTarget() == before);
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(203));
    QCOMPARE(folderEntries(rig.targetsFolder()), entries);
}

// Photo Editing's gamma edited to `gamma` in the target editor (Cancel
// when negative). "Gamma 2.4" is stored beforehand with Photo Editing's
// values but a gamma of 2.4. The save dialog gets `saveAs` (empty: cancel).
void tst_TargetFiles::editing_data()
{
    QTest::addColumn<double>("gamma");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("saveDialog");
    QTest::addColumn<QString>("name");     // the current target's name after
    QTest::addColumn<double>("result");    // and its gamma
    QTest::addColumn<QString>("listed");   // the list's entry
    QTest::addColumn<QString>("newFile");
    QTest::newRow("editor cancelled")
        << -1.0 << QString() << false << "Photo Editing" << 2.2 << "Photo Editing" << "";
    // The edited target keeps its name; the list shows the equal file.
    QTest::newRow("equal to a stored target")
        << 2.4 << QString() << false << "Photo Editing" << 2.4 << "Gamma 2.4" << "";
    QTest::newRow("saved")
        << 2.3 << "Gamma 2.3" << true << "Gamma 2.3" << 2.3 << "Gamma 2.3" << "Gamma 2.3.tgt";
    QTest::newRow("save cancelled")
        << 2.3 << QString() << true << "Photo Editing" << 2.2 << "Photo Editing" << "";
}

void tst_TargetFiles::editing()
{
    QFETCH(double, gamma);
    QFETCH(QString, saveAs);
    QFETCH(bool, saveDialog);
    QFETCH(QString, name);
    QFETCH(double, result);
    QFETCH(QString, listed);
    QFETCH(QString, newFile);
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.open();
    CTargetValue stored = pz::standardTargets().at(pz::kPhotoEditingPreset);
    stored.m_Name = QStringLiteral("Gamma 2.4");
    stored.m_Gamma = 2.4;
    QCOMPARE(stored.WriteFile(rig.targetsFolder() + QStringLiteral("Gamma 2.4.tgt")), 0);
    w.onCreateTargetList();
    select(w, GetStringResource(kPhotoEditing));
    const QStringList before = folderEntries(rig.targetsFolder());

    DialogWatch<PZ_edit_target_dialog> editor;
    editor.act = [gamma](PZ_edit_target_dialog &d) {
        if (gamma < 0)
            return d.reject();
        d.findChild<QDoubleSpinBox *>(QStringLiteral("target_gamma_doubleSpinBox"))->setValue(gamma);
        d.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
    };
    FileDialogUser user({saveAs.isEmpty() ? QString() : rig.targetsFolder() + saveAs});
    w.main_Target_Edit_pushButton->click();
    QVERIFY(editor.shown);
    QCOMPARE(user.captions.size(), saveDialog ? 1 : 0);
    QVERIFY(user.boxTexts.isEmpty());
    QCOMPARE(w.currentTarget().m_Name, name);
    QCOMPARE(w.currentTarget().m_Gamma, result);
    QCOMPARE(w.main_Target_comboBox->currentText(), listed);
    QCOMPARE(w.main_Target_Gamma_Text->text(), w.currentTarget().GetGammaCurveString(false));
    QStringList after = before;
    if (!newFile.isEmpty())
        after << newFile;
    after.sort();
    QCOMPARE(folderEntries(rig.targetsFolder()), after);
}

void tst_TargetFiles::storedNamesStayInTheTargetsFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("parent") << "../evil" << ".._evil.tgt";
    QTest::newRow("folder") << "a/b" << "a_b.tgt";
    QTest::newRow("backslash") << "a\\b" << "a_b.tgt";
    QTest::newRow("nul") << QString("nul") + QChar(0) + "x" << "nul_x.tgt";
    QTest::newRow("tab") << "tab\there" << "tab_here.tgt";
    QTest::newRow("empty") << "" << "Target.tgt";
    QTest::newRow("dot") << "." << "Target.tgt";
    QTest::newRow("dots") << ".." << "Target.tgt";
    QTest::newRow("dots and extension") << "...tgt" << "Target.tgt";
    QTest::newRow("extension kept") << "Plain.tgt" << "Plain.tgt";
    QTest::newRow("hidden") << ".quiet" << ".quiet.tgt";
}

void tst_TargetFiles::storedNamesStayInTheTargetsFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    const QStringList before = folderEntries(rig.targetsFolder());
    const QStringList homeBefore = folderEntries(rig.home.path());
    CTargetValue target = targetWithGamma(2.05, name);

    FileDialogUser user({});
    QVERIFY(w.saveTarget(&target, false));
    QVERIFY(user.captions.isEmpty());
    QVERIFY(user.boxTexts.isEmpty());
    QStringList expected = QStringList(before) << file;
    expected.sort();
    QCOMPARE(folderEntries(rig.targetsFolder()), expected);
    QCOMPARE(folderEntries(rig.home.path()), homeBefore);
    QCOMPARE(target.m_Name, QFileInfo(file).completeBaseName());
    CTargetValue written;
    QCOMPARE(written.ReadFile(rig.targetsFolder() + file), 0);
    QCOMPARE(written.m_Name, target.m_Name);
    QCOMPARE(written.m_Gamma, 2.05);
    QVERIFY(w.main_Target_comboBox->findData(file) >= 0);
}

void tst_TargetFiles::storedTargetsReplaceNoOtherTarget()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    const QString photo = GetStringResource(kPhotoEditing);
    const QByteArray preset = fileBytes(presetPath(rig));

    // Equal values under a preset's name: taken as they are.
    CTargetValue equal = pz::standardTargets().at(pz::kPhotoEditingPreset);
    QStringList before = folderEntries(rig.targetsFolder());
    QVERIFY(w.saveTarget(&equal, false));
    QCOMPARE(folderEntries(rig.targetsFolder()), before);
    QCOMPARE(equal.m_Name, photo);

    // Different values: beside it, numbered; then the next number.
    for (int n : {2, 3}) {
        CTargetValue other = targetWithGamma(1.6 + n / 10.0, photo);
        QVERIFY(w.saveTarget(&other, false));
        const QString name = QStringLiteral("%1 (%2)").arg(photo).arg(n);
        QCOMPARE(other.m_Name, name);
        CTargetValue written;
        QCOMPARE(written.ReadFile(rig.targetsFolder() + name + ".tgt"), 0);
        QVERIFY(written == other);
    }
    QCOMPARE(fileBytes(presetPath(rig)), preset);
    // A second save of the first different one finds its file.
    CTargetValue again = targetWithGamma(1.8, photo);
    before = folderEntries(rig.targetsFolder());
    QVERIFY(w.saveTarget(&again, false));
    QCOMPARE(again.m_Name, photo + " (2)");
    QCOMPARE(folderEntries(rig.targetsFolder()), before);

    // A user's own file of another name is no more replaced than a preset.
    CTargetValue mine = targetWithGamma(1.1, QStringLiteral("Mine"));
    QVERIFY(w.saveTarget(&mine, false));
    CTargetValue notMine = targetWithGamma(1.3, QStringLiteral("Mine"));
    QVERIFY(w.saveTarget(&notMine, false));
    QCOMPARE(notMine.m_Name, QStringLiteral("Mine (2)"));
    CTargetValue kept;
    QCOMPARE(kept.ReadFile(rig.targetsFolder() + "Mine.tgt"), 0);
    QCOMPARE(kept.m_Gamma, 1.1);

    // A preset's name stays reserved after its file is gone.
    const QString broadcast = GetStringResource(203);
    QVERIFY(QFile::remove(rig.targetsFolder() + broadcast + ".tgt"));
    CTargetValue unlisted = targetWithGamma(1.45, broadcast);
    QVERIFY(w.saveTarget(&unlisted, false));
    QCOMPARE(unlisted.m_Name, broadcast + " (2)");
    QVERIFY(!QFileInfo::exists(rig.targetsFolder() + broadcast + ".tgt"));
}

void tst_TargetFiles::withoutATargetsFolderNothingIsWritten()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    QVERIFY(rig.blockDataFolder());
    QTemporaryDir cwd;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(cwd.path());

    CTargetValue target = targetWithGamma(2.1, QStringLiteral("Nowhere"));
    for (bool ask : {false, true}) {
        FileDialogUser user({cwd.filePath("Nowhere")});
        QVERIFY(!w.saveTarget(&target, ask));
        QVERIFY(user.captions.isEmpty());
        QCOMPARE(user.boxTexts, QStringList{GetStringResource(104)});
        QCOMPARE(target.m_Name, QStringLiteral("Nowhere"));
    }
    QDir::setCurrent(previous);
    QVERIFY(QDir(cwd.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

QTEST_MAIN(tst_TargetFiles)
#include "tst_target_files.moc"
