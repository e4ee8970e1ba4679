// The main window's target list: the files it lists and their order, the
// selected entry, the status marks from the stored calibrations, the preset
// targets and where the preset writer may write.

#include "MainWindowRig.h"

#include "CalibrationSettingsFile.h"
#include "ModalBox.h"
#include "StandardTargets.h"

#include <QDirIterator>
#include <QtTest>

using namespace pz::test;

namespace {

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

CTargetValue targetWithGamma(double gamma, const QString &name = QStringLiteral("T"))
{
    CTargetValue target;
    target.CreateDefault();
    target.m_Name = name;
    target.m_Gamma = gamma;
    return target;
}

void writeTarget(const QString &folder, const QString &fileName, const CTargetValue &target)
{
    QCOMPARE(target.WriteFile(folder + fileName), 0);
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage statusImage(const char *name)
{
    return iconImage(QIcon(QStringLiteral(":/images/Resources/") + QLatin1String(name)));
}

// A result of the HXSIM24 of the demo desktop, calibrated on `when`.
CAdjustValue resultFor(const QString &serial, const QDateTime &when)
{
    CAdjustValue result;
    result.m_IsValid = true;
    result.SetMonitorSerial(serial);
    result.SetCalibrationDateTime(when);
    return result;
}

// A settings file whose target or result record carries another version.
void patchVersion(const QString &path, quint32 magic, quint32 version)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    QByteArray magicBytes(4, 0);
    qToBigEndian(magic, magicBytes.data());
    const int at = bytes.indexOf(magicBytes);
    QVERIFY(at >= 0);
    qToBigEndian(version, bytes.data() + at + 4);
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class tst_MainWindowTargets : public QObject {
    Q_OBJECT

private slots:
    void firstStartWritesThePresetsAndSelectsPhotoEditing();
    void aSecondStartOverwritesNoPreset();
    void aDamagedPresetIsKeptAsideAndWrittenAgain();
    void theSelectedEntryIsTheTargetInUse();
    void sRGBTargetsNeedTheSRGBPreset();
    void listOrderAndNames();
    void theSmallerOfTwoEqualFilesIsSelected();
    void statusMarksFromStoredCalibrations();
    void choosingAnInvalidFileKeepsTheTarget();
    void gamutCaptionFollowsTheAdjustability();
    void presetWriterStaysInTheTargetsFolder();
};

void tst_MainWindowTargets::firstStartWritesThePresetsAndSelectsPhotoEditing()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    QStringList expected;
    for (const CTargetValue &preset : pz::standardTargets()) {
        QVERIFY(QFileInfo::exists(rig.targetsFolder() + preset.m_Name + ".tgt"));
        expected << preset.m_Name + ".tgt";
    }
    QCOMPARE(w.reservedTargetNames(), expected);
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(206));
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(206));
    // The sRGB preset is left out on a display without the sRGB preset.
    QCOMPARE(w.main_Target_comboBox->count(), 8);
    QVERIFY(!itemTexts(w.main_Target_comboBox).contains(GetStringResource(207)));
    QCOMPARE(w.main_Target_Gamma_Text->text(), w.currentTarget().GetGammaCurveString(false));
}

void tst_MainWindowTargets::aSecondStartOverwritesNoPreset()
{
    MainWindowRig rig;
    rig.build();
    rig.destroyWindow();
    // The user's own values under a preset's name stay as they are.
    const QString path = rig.targetsFolder() + GetStringResource(203) + ".tgt";
    writeTarget(rig.targetsFolder(), GetStringResource(203) + ".tgt", targetWithGamma(1.7));
    rig.build();
    CTargetValue kept;
    QCOMPARE(kept.ReadFile(path), 0);
    QCOMPARE(kept.m_Gamma, 1.7);
}

void tst_MainWindowTargets::aDamagedPresetIsKeptAsideAndWrittenAgain()
{
    MainWindowRig rig;
    rig.build();
    rig.destroyWindow();
    const QString name = GetStringResource(206); // Photo Editing
    const QString path = rig.targetsFolder() + name + ".tgt";
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray truncated = file.read(30);
    QVERIFY(file.resize(30));
    file.close();

    PZ_Main_Dialog &w = rig.build();
    // The damaged bytes are kept, the file holds the preset again, and the
    // list shows the target in use.
    QFile aside(path + ".bad");
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), truncated);
    CTargetValue written;
    QCOMPARE(written.ReadFile(path), 0);
    QVERIFY(written == pz::standardTargets().at(pz::kPhotoEditingPreset));
    QCOMPARE(w.main_Target_comboBox->currentText(), name);
    QCOMPARE(w.currentTarget().m_Name, name);
    QVERIFY(w.currentTarget() == written);
}

void tst_MainWindowTargets::theSelectedEntryIsTheTargetInUse()
{
    // A preset file that can be neither read nor written (a folder in its
    // place): the target in use is in no file, so no entry is selected.
    MainWindowRig rig;
    const QString name = GetStringResource(206);
    QVERIFY(QDir(rig.targetsFolder()).mkpath(name + ".tgt"));
    PZ_Main_Dialog &w = rig.build();
    QCOMPARE(w.currentTarget().m_Name, name);
    QVERIFY(w.main_Target_comboBox->count() > 0);
    QCOMPARE(w.main_Target_comboBox->findText(name), -1);
    QCOMPARE(w.main_Target_comboBox->currentIndex(), -1);
    QCOMPARE(w.main_Target_Gamma_Text->text(), w.currentTarget().GetGammaCurveString(false));
}

void tst_MainWindowTargets::sRGBTargetsNeedTheSRGBPreset()
{
    {
        MainWindowRig rig; // the HXSIM24 offers the sRGB preset
        PZ_Main_Dialog &w = rig.open();
        QVERIFY(w.main_Target_comboBox->findText(GetStringResource(207)) >= 0);
    }
    {
        auto desk = std::make_unique<pz::SimDesktop>();
        pz::SimMonitorConfig config = hxConfig(QStringLiteral("SIM0001"));
        config.product = 0x1234; // a model outside the HX series
        desk->addMonitor(1, QRectF(0, 0, 1920, 1200), config);
        desk->plugBridge(1);
        MainWindowRig rig(std::move(desk));
        PZ_Main_Dialog &w = rig.open();
        QVERIFY(w.main_Target_comboBox->count() > 0);
        QCOMPARE(w.main_Target_comboBox->findText(GetStringResource(207)), -1);
    }
}

void tst_MainWindowTargets::listOrderAndNames()
{
    MainWindowRig rig;
    const QString folder = rig.targetsFolder();
    writeTarget(folder, "B.tgt", targetWithGamma(1.1));
    writeTarget(folder, "a.tgt", targetWithGamma(1.2));
    writeTarget(folder, "C.tgt", targetWithGamma(1.3));
    writeTarget(folder, "x.tgt.tgt", targetWithGamma(1.4));
    QFile junk(folder + "junk.tgt");
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a target");
    junk.close();

    PZ_Main_Dialog &w = rig.build();
    const QStringList texts = itemTexts(w.main_Target_comboBox);
    const int b = texts.indexOf("B"), c = texts.indexOf("C"), a = texts.indexOf("a");
    QVERIFY(b >= 0 && c > b && a > c);
    QVERIFY(texts.contains("x.tgt"));
    QVERIFY(!texts.contains("junk"));
    QCOMPARE(w.main_Target_comboBox->itemData(texts.indexOf("x.tgt")).toString(),
             QStringLiteral("x.tgt.tgt"));
    // Case-sensitive ascending order of the file names over the whole list.
    QStringList files;
    for (int i = 0; i < w.main_Target_comboBox->count(); ++i)
        files << w.main_Target_comboBox->itemData(i).toString();
    QStringList sorted = files;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(files, sorted);
}

void tst_MainWindowTargets::theSmallerOfTwoEqualFilesIsSelected()
{
    MainWindowRig rig;
    CTargetValue photo = pz::standardTargets().at(pz::kPhotoEditingPreset);
    photo.m_Name = QStringLiteral("Another name");
    writeTarget(rig.targetsFolder(), "A copy.tgt", photo);
    PZ_Main_Dialog &w = rig.build();
    QCOMPARE(w.main_Target_comboBox->currentText(), QStringLiteral("A copy"));
    // The current target itself keeps its name.
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(206));
}

void tst_MainWindowTargets::statusMarksFromStoredCalibrations()
{
    MainWindowRig rig;
    rig.controller->GetPreferences()->SetRecalibrationPeriod(14);
    const QString folder = rig.targetsFolder();
    const QString settings = rig.settingsFolder();
    const QDateTime now = QDateTime::currentDateTime();
    const CTargetValue overdue = targetWithGamma(1.5), current = targetWithGamma(1.6),
                       otherCase = targetWithGamma(1.7), oldTarget = targetWithGamma(1.8),
                       newResult = targetWithGamma(1.9), none = targetWithGamma(2.0);
    writeTarget(folder, "overdue.tgt", overdue);
    writeTarget(folder, "current.tgt", current);
    writeTarget(folder, "othercase.tgt", otherCase);
    writeTarget(folder, "oldtarget.tgt", oldTarget);
    writeTarget(folder, "newresult.tgt", newResult);
    writeTarget(folder, "none.tgt", none);

    const QString serial = QStringLiteral("SIM0001");
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "1.mcs", overdue,
                                              resultFor(serial, now.addDays(-20))), 0);
    // Of two calibrations of one target the newer decides.
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "2.mcs", current,
                                              resultFor(serial, now.addDays(-30))), 0);
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "3.mcs", current,
                                              resultFor(serial, now.addDays(-2))), 0);
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "4.mcs", otherCase,
                                              resultFor("sim0001", now.addDays(-1))), 0);
    // Another display's calibration does not count.
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "5.mcs", none,
                                              resultFor("SIM0999", now.addDays(-1))), 0);
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "6.mcs", oldTarget,
                                              resultFor(serial, now.addDays(-1))), 0);
    patchVersion(settings + "6.mcs", CTargetValue::kMagic, 101);
    QCOMPARE(pz::WriteCalibrationSettingsFile(settings + "7.mcs", newResult,
                                              resultFor(serial, now.addDays(-1))), 0);
    patchVersion(settings + "7.mcs", CAdjustValue::kMagic, 115);

    PZ_Main_Dialog &w = rig.open();
    const QStringList texts = itemTexts(w.main_Target_comboBox);
    auto iconOf = [&](const char *name) {
        return iconImage(w.main_Target_comboBox->itemIcon(texts.indexOf(QLatin1String(name))));
    };
    QCOMPARE(iconOf("none"), statusImage("blank circle icon.png"));
    QCOMPARE(iconOf("overdue"), statusImage("yellow circle icon.png"));
    QCOMPARE(iconOf("current"), statusImage("green circle icon.png"));
    QCOMPARE(iconOf("othercase"), statusImage("green circle icon.png"));
    QCOMPARE(iconOf("oldtarget"), statusImage("blank circle icon.png"));
    QCOMPARE(iconOf("newresult"), statusImage("blank circle icon.png"));
    QVERIFY(!statusImage("green circle icon.png").isNull());
    QVERIFY(statusImage("green circle icon.png") != statusImage("yellow circle icon.png"));
    QVERIFY(statusImage("blank circle icon.png") != statusImage("yellow circle icon.png"));

    int status = -5;
    QCOMPARE(w.FindBestMCSForCurrentTarget(current, false, &status), 0);
    QCOMPARE(status, 2);
    {
        // Loading an overdue calibration asks first; No loads nothing.
        ModalBoxAnswer declined(QMessageBox::No);
        QCOMPARE(w.FindBestMCSForCurrentTarget(overdue, true, &status), 0);
        QVERIFY(declined.shown());
    }
    QCOMPARE(status, 1);
    QVERIFY(w.calibrationResult().m_CalibrationDateTime.isNull());
    // The name plays no part.
    CTargetValue renamed = overdue;
    renamed.m_Name = QStringLiteral("Renamed");
    QCOMPARE(w.FindBestMCSForCurrentTarget(renamed, false, &status), 0);
    QCOMPARE(status, 1);

    // Without a monitor object there is nothing to look for.
    rig.controller->GetTargetDisplay()->SetMonitorData(_MonitorData());
    QCOMPARE(w.FindBestMCSForCurrentTarget(current, false, &status), -1);
    QCOMPARE(status, 0);
}

void tst_MainWindowTargets::choosingAnInvalidFileKeepsTheTarget()
{
    MainWindowRig rig;
    writeTarget(rig.targetsFolder(), "spoilt.tgt", targetWithGamma(1.25));
    PZ_Main_Dialog &w = rig.build();
    const int index = w.main_Target_comboBox->findText("spoilt");
    QVERIFY(index >= 0);
    QFile file(rig.targetsFolder() + "spoilt.tgt");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("garbage, not a target record");
    file.close();

    const CTargetValue before = w.currentTarget();
    ModalBoxAnswer answer;
    w.main_Target_comboBox->setCurrentIndex(index);
    QVERIFY(answer.shown());
    QCOMPARE(answer.text(), GetStringResource(102));
    QVERIFY(w.currentTarget() == before);

    // A good file becomes the current target.
    const int other = w.main_Target_comboBox->findText(GetStringResource(200));
    w.main_Target_comboBox->setCurrentIndex(other);
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(200));
    QCOMPARE(w.main_Target_Intensity_Text->text(), w.currentTarget().GetTargetIntensityString(true));

    // A file deleted since the list was built: nothing happens.
    QVERIFY(QFile::remove(rig.targetsFolder() + GetStringResource(201) + ".tgt"));
    ModalBoxAnswer none;
    w.main_Target_comboBox->setCurrentIndex(w.main_Target_comboBox->findText(GetStringResource(201)));
    QVERIFY(!none.shown());
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(200));
}

void tst_MainWindowTargets::gamutCaptionFollowsTheAdjustability()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    // No display: only the native gamut is reachable. Digital Cinema is DCI.
    QVERIFY(w.main_Target_Color_Gamut_Text->isEnabled());
    w.main_Target_comboBox->setCurrentIndex(w.main_Target_comboBox->findText(GetStringResource(200)));
    QVERIFY(!w.main_Target_Color_Gamut_Text->isEnabled());
    QVERIFY(!w.main_Target_Color_Gamut_label->isEnabled());
    QVERIFY(!w.main_Target_Color_Gamut_icon->isEnabled());

    // The HXSIM24 emulates any gamut.
    rig.open();
    QCOMPARE(w.gamutAdjustability(), 3);
    w.UpdateTargetUI();
    QVERIFY(w.main_Target_Color_Gamut_Text->isEnabled());
}

void tst_MainWindowTargets::presetWriterStaysInTheTargetsFolder()
{
    MainWindowRig rig;
    PZ_Main_Dialog &w = rig.build();
    const QStringList names{"../escape", "a/b", "a\\b", QString("nul") + QChar(0) + "x",
                            "tab\there", ""};
    for (const QString &name : names) {
        CTargetValue target = targetWithGamma(2.1, name);
        QCOMPARE(w.SaveTargetToDefaultLocation(target, true), -1505);
    }
    QVERIFY(!QFileInfo::exists(rig.home.filePath("data/Orvane/Pelzora/escape.tgt")));

    // A plain name is written; with overwrite false an existing file stays.
    QCOMPARE(w.SaveTargetToDefaultLocation(targetWithGamma(2.1, "Plain"), false), 0);
    QCOMPARE(w.SaveTargetToDefaultLocation(targetWithGamma(2.3, "Plain"), false), 0);
    CTargetValue read;
    QCOMPARE(read.ReadFile(rig.targetsFolder() + "Plain.tgt"), 0);
    QCOMPARE(read.m_Gamma, 2.1);
    QCOMPARE(w.SaveTargetToDefaultLocation(targetWithGamma(2.3, "Plain"), true), 0);
    QCOMPARE(read.ReadFile(rig.targetsFolder() + "Plain.tgt"), 0);
    QCOMPARE(read.m_Gamma, 2.3);

    // Without a targets folder nothing is written anywhere.
    QVERIFY(rig.blockDataFolder());
    QTemporaryDir cwd;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(cwd.path());
    QCOMPARE(w.SaveTargetToDefaultLocation(targetWithGamma(2.1, "Nowhere"), true), -1500);
    QDir::setCurrent(previous);
    QVERIFY(QDir(cwd.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

QTEST_MAIN(tst_MainWindowTargets)
#include "tst_mainwindow_targets.moc"
