// The Preferences dialog driven through its widgets on the controller's
// preferences and sensor selector: the form, the lists, what OK writes,
// damaged stored values, the profile storage rule, Defaults, the sensor
// choice and detection, and the profile folder chooser.

#include "CPreferences.h"
#include "TestSupport.h"
#include "CTargetSensor.h"
#include "ControllerRig.h"
#include "ModalBox.h"
#include "PZ_Preferences_Dialog.h"
#include "Translators.h"
#include "Resources.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>
#include <functional>

using namespace pz;
using namespace pz::test;

namespace {

// A host whose profile folders lie in a temporary folder and whose rule on
// per-user profiles the test chooses.
class ProfileHost : public IHostSystem {
public:
    ProfileHost(const QString &root, bool alwaysPerUser) : m_root(root), m_perUser(alwaysPerUser) {}
    QString preferencesFolder() override { return m_root + "/prefs"; }
    QString profileFolder(bool allUsers) override
    {
        return m_root + (allUsers ? "/shared-profiles" : "/user-profiles");
    }
    bool profilesAlwaysPerUser() override { return m_perUser; }

private:
    QString m_root;
    bool m_perUser;
};

QStringList itemTexts(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}
QList<int> itemData(const QComboBox *list)
{
    QList<int> data;
    for (int i = 0; i < list->count(); ++i)
        data << list->itemData(i).toInt();
    return data;
}

// Runs the dialog: act is called once it is up, and ends it.
int runDialog(const std::function<void(PZ_Preferences_Dialog &)> &act)
{
    PZ_Preferences_Dialog dialog(nullptr);
    QTimer::singleShot(0, &dialog, [&] {
        act(dialog);
        // A failed check leaves it open: end it so the test goes on.
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return dialog.exec();
}
void pressOk(PZ_Preferences_Dialog &d)
{
    QTest::mouseClick(d.buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
}
void pressCancel(PZ_Preferences_Dialog &d)
{
    QTest::mouseClick(d.buttonBox->button(QDialogButtonBox::Cancel), Qt::LeftButton);
}
// Shows the tab holding `w` and clicks it.
void click(PZ_Preferences_Dialog &d, QAbstractButton *w)
{
    for (int i = 0; i < d.tabWidget->count(); ++i)
        if (d.tabWidget->widget(i)->isAncestorOf(w))
            d.tabWidget->setCurrentIndex(i);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
}
// Chooses the list item with `text` as a user does, with the keyboard.
void choose(QComboBox *list, const QString &text)
{
    const int target = list->findText(text);
    QVERIFY(target >= 0);
    list->setFocus();
    while (list->currentIndex() < target)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > target)
        QTest::keyClick(list, Qt::Key_Up);
}

// Every preference the dialog writes, as stored bytes.
struct Shown {
    int reminder, steps, osd, storage, source, units, autoName, average, check, autoLoad, icc,
        setDefault, extended;
    bool operator==(const Shown &o) const
    {
        return std::tie(reminder, steps, osd, storage, source, units, autoName, average, check,
                        autoLoad, icc, setDefault, extended)
               == std::tie(o.reminder, o.steps, o.osd, o.storage, o.source, o.units, o.autoName,
                           o.average, o.check, o.autoLoad, o.icc, o.setDefault, o.extended);
    }
};
Shown stored(const CPreferences &p)
{
    return {p.m_RecalibrationPeriod, p.m_CalibrationSteps, p.m_OSDLockLevel,
            p.m_ProfileStorageLocation, p.m_PrimaryColorSource, p.m_LuminanceUnits,
            p.m_AutoSaveICC, p.m_AverageLowLightMeasurements,
            p.m_CheckCalibrationStatusOnLaunch, p.m_AutoLoadMCSOnTargetChange,
            p.m_ICCAfterCalibration, p.m_SetProfileAsDefault,
            p.m_UseExtendedLuminanceStabilizationTime};
}
void store(CPreferences &p, const Shown &s)
{
    p.SetRecalibrationPeriod(quint8(s.reminder));
    p.SetCalibrationSteps(quint8(s.steps));
    p.SetOSDLockLevel(quint8(s.osd));
    p.SetProfileStorageLocation(quint8(s.storage));
    p.SetPrimaryColorSource(quint8(s.source));
    p.SetLuminanceUnits(quint8(s.units));
    p.SetAutoSaveICC(s.autoName != 0);
    p.SetAverageLowLightMeasurements(quint8(s.average));
    p.SetCheckCalibrationStatusOnLaunch(quint8(s.check));
    p.SetAutoLoadMCSOnTargetChange(s.autoLoad != 0);
    p.SetICCAfterCalibration(s.icc != 0);
    p.SetSetProfileAsDefault(s.setDefault != 0);
    p.SetUseExtendedLuminanceStabilizationTime(quint8(s.extended));
}
// What the defaults are, as stored bytes.
const Shown kDefaults{14, 32, 0, 1, 2, 0, 1, 1, 1, 1, 1, 1, 0};

} // namespace

Q_DECLARE_METATYPE(Shown)

class TestPreferencesDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<ControllerRig> m_rig;
    std::unique_ptr<QTemporaryDir> m_profiles;
    std::unique_ptr<ProfileHost> m_host;
    std::unique_ptr<ScopedHostSystem> m_hostScope;

    CPreferences &preferences() { return *pMasterControl->GetPreferences(); }
    void useHost(bool alwaysPerUser)
    {
        m_hostScope.reset();
        m_host = std::make_unique<ProfileHost>(m_profiles->path(), alwaysPerUser);
        m_hostScope = std::make_unique<ScopedHostSystem>(m_host.get());
    }

private slots:
    void initTestCase() { pz::initResources(); }
    void init()
    {
        m_rig = std::make_unique<ControllerRig>(false);
        m_rig->build();
        m_profiles = std::make_unique<QTemporaryDir>();
        useHost(false);
        preferences().InitPreferences();
    }
    void cleanup()
    {
        m_rig.reset();
        m_hostScope.reset();
        m_host.reset();
        m_profiles.reset();
    }

    void formAndLists()
    {
        PZ_Preferences_Dialog dialog(nullptr);
        QCOMPARE(dialog.objectName(), QStringLiteral("PZ_Preferences_DialogClass"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Pelzora Preferences"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        dialog.show();
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.size(), dialog.minimumSize());
        QCOMPARE(dialog.tabWidget->currentIndex(), 0);
        const QStringList tabs{"tab_4", "CalibrationOptions", "tab_2", "tab", "tab_3"};
        const QStringList titles{"Calibration Sensor", "Calibration", "ICC Profile", "Interface",
                                 "Display"};
        QCOMPARE(dialog.tabWidget->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(dialog.tabWidget->widget(i)->objectName(), tabs[i]);
            QCOMPARE(dialog.tabWidget->tabText(i), titles[i]);
        }

        QCOMPARE(itemTexts(dialog.preferences_CalibrationSteps_comboBox),
                 (QStringList{"52 (Highest Quality)", "32 (Default)", "16", "8"}));
        QCOMPARE(itemData(dialog.preferences_CalibrationSteps_comboBox), (QList<int>{52, 32, 16, 8}));
        QCOMPARE(itemTexts(dialog.preferences_RecalibrationPeriod_comboBox),
                 (QStringList{"4 Weeks", "2 Weeks", "1 Week", "3 Days", "2 Days", "Never"}));
        QCOMPARE(itemData(dialog.preferences_RecalibrationPeriod_comboBox),
                 (QList<int>{28, 14, 7, 3, 2, 0}));
        QCOMPARE(itemTexts(dialog.preferences_SensorType_comboBox),
                 (QStringList{"Datacolor Spyder2/3/4", "XRite ColorMunki",
                              "XRite iOne Display Pro (i1D3)", "XRite iOne Pro",
                              "XRite iOne Display (i1D/i1D2)", "None"}));
        QCOMPARE(itemData(dialog.preferences_SensorType_comboBox), (QList<int>{5, 4, 3, 2, 1, 0}));
        QCOMPARE(dialog.preferences_SensorType_comboBox->currentText(), QStringLiteral("None"));
        QCOMPARE(dialog.preferences_SensorModelName_label->text(), QStringLiteral("N/A"));
        QCOMPARE(dialog.preferences_SensorSerialNumber_label->text(), QStringLiteral("N/A"));

        // Hidden parts, tool tips, indentation.
        QVERIFY(dialog.preferences_targets_location_frame->isHidden());
        QVERIFY(dialog.preferences_ProfileSetAsDefault_checkBox->isHidden());
        QVERIFY(dialog.preferences_ProfileSetAsDefault_label->isHidden());
        QVERIFY(dialog.preferences_ProfileSaveToLocation_frame->isHidden());
        QCOMPARE(dialog.preferences_SensorAutoDetect_pushButton->toolTip(),
                 QStringLiteral("<html>Searches for a supported Calibration Sensor.</html>"));
        QVERIFY(dialog.preferences_AutoLoadOnTargetChange_checkBox->toolTip().startsWith(
            QStringLiteral("<html>Automatically loads")));
        int tips = 0;
        for (QWidget *w : dialog.findChildren<QWidget *>())
            tips += w->toolTip().isEmpty() ? 0 : 1;
        QCOMPARE(tips, 2);
        for (QLabel *l : {dialog.label_24, dialog.label_27, dialog.label_20, dialog.label_19,
                          dialog.label_17, dialog.label_18, dialog.label_21, dialog.label_22,
                          dialog.preferences_lock_info_label}) {
            QCOMPARE(l->indent(), 25);
            QVERIFY(l->wordWrap());
            QCOMPARE(l->textFormat(), Qt::RichText);
        }
        QCOMPARE(dialog.label_13->indent(), -1);
        QCOMPARE(dialog.label_14->indent(), -1);

        // The keyboard's order through the controls.
        const QList<QWidget *> order{
            dialog.preferences_ProfileGenerateAfterCalibration_checkBox,
            dialog.preferences_ProfileSetAsDefault_checkBox,
            dialog.preferences_ProfileName_Automatic_radioButton,
            dialog.preferences_ProfileName_Manual_radioButton,
            dialog.preferences_ProfileStorageLocation_PerUser_radioButton,
            dialog.preferences_ProfileStorageLocation_AllUsers_radioButton,
            dialog.preferences_ProfilePrimaryColorsSource_Automatic_radioButton,
            dialog.preferences_ProfilePrimaryColorsSource_Sensor_radioButton,
            dialog.preferences_ProfilePrimaryColorsSource_EDID_radioButton,
            dialog.preferences_LuminanceUnits_Candelas_radioButton,
            dialog.preferences_LuminanceUnits_FootLamberts_radioButton,
            dialog.preferences_AutoLoadOnTargetChange_checkBox,
            dialog.preferences_CheckCalibrationStatusOnLaunch_checkBox,
            dialog.preferences_TargetsStorageLocation_PerUser_radioButton,
            dialog.preferences_TargetsStorageLocation_AllUsers_radioButton,
            dialog.preferences_OSDLock_DontLock_radioButton,
            dialog.preferences_OSDLock_DontLockBRTCNT_radioButton,
            dialog.preferences_OSDLock_LockAll_radioButton,
            dialog.preferences_SensorType_comboBox,
            dialog.preferences_SensorAutoDetect_pushButton,
            dialog.preferences_SensorAverageMeasurements_checkBox,
            dialog.preferences_CalibrationSteps_comboBox,
            dialog.preferences_RecalibrationPeriod_comboBox,
            dialog.preferences_Defaults_pushButton,
            dialog.buttonBox,
            dialog.tabWidget};
        QList<QWidget *> chain;
        QWidget *w = order.first();
        do {
            if (order.contains(w) && !chain.contains(w))
                chain << w;
            w = w->nextInFocusChain();
        } while (w != order.first());
        QCOMPARE(chain, order);
    }

    // Every value goes through the dialog and OK unchanged.
    void okWritesWhatWasShown_data()
    {
        QTest::addColumn<Shown>("values");
        QTest::newRow("defaults") << kDefaults;
        QTest::newRow("16 steps, 1 week, the rest turned")
            << Shown{7, 16, 2, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1};
        QTest::newRow("52 steps, never") << Shown{0, 52, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0};
    }
    void okWritesWhatWasShown()
    {
        QFETCH(Shown, values);
        store(preferences(), values);
        const int result = runDialog([&](PZ_Preferences_Dialog &d) {
            QCOMPARE(d.preferences_CalibrationSteps_comboBox->currentData().toInt(), values.steps);
            QCOMPARE(d.preferences_RecalibrationPeriod_comboBox->currentData().toInt(),
                     values.reminder);
            QCOMPARE(d.preferences_ProfileSetAsDefault_checkBox->isChecked(), values.setDefault != 0);
            // The stored values change behind the dialog: OK writes the controls.
            store(preferences(), Shown{2, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
            pressOk(d);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(stored(preferences()), values);
    }

    // OK keeps the settings on disk at once (a program killed afterwards
    // does not lose them); Cancel writes nothing.
    void okWritesTheFile()
    {
        QVERIFY(QDir().mkpath(m_profiles->path() + "/prefs"));
        const QString file = preferences().GetPreferencesFileNameAndPath();
        QVERIFY(!QFile::exists(file));
        runDialog([](PZ_Preferences_Dialog &d) { pressCancel(d); });
        QVERIFY(!QFile::exists(file));
        runDialog([](PZ_Preferences_Dialog &d) {
            d.tabWidget->setCurrentIndex(1);
            choose(d.preferences_CalibrationSteps_comboBox, "52 (Highest Quality)");
            pressOk(d);
        });
        QVERIFY(QFile::exists(file));
        CPreferences onDisk;
        QCOMPARE(int(onDisk.m_CalibrationSteps), 52);
    }

    void stepsAndReminderShowTheirItems()
    {
        store(preferences(), Shown{7, 16, 0, 1, 2, 0, 1, 1, 1, 1, 1, 1, 0});
        runDialog([](PZ_Preferences_Dialog &d) {
            QCOMPARE(d.preferences_CalibrationSteps_comboBox->currentText(), QStringLiteral("16"));
            QCOMPARE(d.preferences_RecalibrationPeriod_comboBox->currentText(),
                     QStringLiteral("1 Week"));
            d.tabWidget->setCurrentIndex(1);
            choose(d.preferences_CalibrationSteps_comboBox, "52 (Highest Quality)");
            choose(d.preferences_RecalibrationPeriod_comboBox, "Never");
            pressOk(d);
        });
        QCOMPARE(int(preferences().m_CalibrationSteps), 52);
        QCOMPARE(int(preferences().m_RecalibrationPeriod), 0);
    }

    void profileNaming_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::newRow("Set automatically") << true;
        QTest::newRow("Prompt for file name and description") << false;
    }
    void profileNaming()
    {
        QFETCH(bool, automatic);
        preferences().SetAutoSaveICC(!automatic);
        runDialog([&](PZ_Preferences_Dialog &d) {
            click(d, automatic ? d.preferences_ProfileName_Automatic_radioButton
                               : d.preferences_ProfileName_Manual_radioButton);
            pressOk(d);
        });
        QCOMPARE(preferences().m_AutoSaveICC, automatic);
    }

    // Where profiles always go to the user's folder, "Per user" shows and
    // is stored; elsewhere the stored choice is kept and can be changed.
    void profileStorage_data()
    {
        QTest::addColumn<bool>("alwaysPerUser");
        QTest::addColumn<int>("storedBefore");
        QTest::addColumn<bool>("choosePerUser");
        QTest::addColumn<int>("storedAfter");
        QTest::newRow("always per user") << true << 1 << false << 0;
        QTest::newRow("choice, kept 1") << false << 1 << false << 1;
        QTest::newRow("choice, kept 0") << false << 0 << false << 0;
        QTest::newRow("choice, changed to per user") << false << 1 << true << 0;
    }
    void profileStorage()
    {
        QFETCH(bool, alwaysPerUser);
        QFETCH(int, storedBefore);
        QFETCH(bool, choosePerUser);
        QFETCH(int, storedAfter);
        useHost(alwaysPerUser);
        preferences().SetProfileStorageLocation(quint8(storedBefore));
        runDialog([&](PZ_Preferences_Dialog &d) {
            QCOMPARE(d.preferences_ProfileStorageLocation_label->isEnabled(), !alwaysPerUser);
            QCOMPARE(d.preferences_ProfileStorageLocation_PerUser_radioButton->isEnabled(),
                     !alwaysPerUser);
            QCOMPARE(d.preferences_ProfileStorageLocation_AllUsers_radioButton->isEnabled(),
                     !alwaysPerUser);
            const int shown = alwaysPerUser ? 0 : storedBefore;
            QCOMPARE(d.preferences_ProfileStorageLocation_PerUser_radioButton->isChecked(), shown == 0);
            QCOMPARE(d.preferences_ProfileStorageLocation_AllUsers_radioButton->isChecked(), shown == 1);
            if (choosePerUser)
                click(d, d.preferences_ProfileStorageLocation_PerUser_radioButton);
            pressOk(d);
        });
        QCOMPARE(int(preferences().m_ProfileStorageLocation), storedAfter);
    }

    // Values a damaged file may hold show, and are stored as, the defaults.
    void damagedValues_data()
    {
        QTest::addColumn<Shown>("values");
        QTest::addColumn<Shown>("written");
        QTest::newRow("steps 17, reminder 5, OSD lock 7, units 9")
            << Shown{5, 17, 7, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0}
            << Shown{14, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("storage 4, source 200, steps 0, reminder 255")
            << Shown{255, 0, 1, 4, 200, 1, 1, 1, 1, 1, 1, 1, 1}
            << Shown{14, 32, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1};
    }
    void damagedValues()
    {
        QFETCH(Shown, values);
        QFETCH(Shown, written);
        store(preferences(), values);
        runDialog([&](PZ_Preferences_Dialog &d) {
            QCOMPARE(d.preferences_CalibrationSteps_comboBox->currentData().toInt(), written.steps);
            QCOMPARE(d.preferences_RecalibrationPeriod_comboBox->currentData().toInt(),
                     written.reminder);
            pressOk(d);
        });
        QCOMPARE(stored(preferences()), written);
    }

    void defaultsAnsweredNoChangesNothing()
    {
        const Shown turned{7, 16, 2, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1};
        store(preferences(), turned);
        preferences().SetDontShowAgainMessageSet(2);
        const int result = runDialog([&](PZ_Preferences_Dialog &d) {
            ModalBoxAnswer answer(QMessageBox::No);
            QTest::mouseClick(d.preferences_Defaults_pushButton, Qt::LeftButton);
            QVERIFY(answer.shown());
            QCOMPARE(answer.text(), GetStringResource(160));
            QCOMPARE(answer.windowTitle(), GetStringResource(1));
            QCOMPARE(d.preferences_CalibrationSteps_comboBox->currentData().toInt(), 16);
            QVERIFY(d.preferences_LuminanceUnits_FootLamberts_radioButton->isChecked());
            pressCancel(d);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(stored(preferences()), turned);
        QVERIFY(preferences().IsDontShowAgainMessageSet(2));
    }

    void defaultsAnsweredYesResetsAtOnce()
    {
        store(preferences(), Shown{7, 16, 2, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1});
        preferences().SetDontShowAgainMessageSet(2);
        preferences().SetMainWindowPosition(QPoint(40, 50));
        const int result = runDialog([&](PZ_Preferences_Dialog &d) {
            ModalBoxAnswer answer(QMessageBox::Yes);
            QTest::mouseClick(d.preferences_Defaults_pushButton, Qt::LeftButton);
            QVERIFY(answer.shown());
            // Reset already, not only on OK.
            QCOMPARE(stored(preferences()), kDefaults);
            QCOMPARE(d.preferences_CalibrationSteps_comboBox->currentText(),
                     QStringLiteral("32 (Default)"));
            QCOMPARE(d.preferences_RecalibrationPeriod_comboBox->currentText(),
                     QStringLiteral("2 Weeks"));
            QVERIFY(d.preferences_OSDLock_DontLock_radioButton->isChecked());
            QVERIFY(d.preferences_ProfileStorageLocation_AllUsers_radioButton->isChecked());
            QVERIFY(d.preferences_ProfilePrimaryColorsSource_Automatic_radioButton->isChecked());
            QVERIFY(d.preferences_LuminanceUnits_Candelas_radioButton->isChecked());
            QVERIFY(d.preferences_ProfileName_Automatic_radioButton->isChecked());
            QVERIFY(d.preferences_SensorAverageMeasurements_checkBox->isChecked());
            QVERIFY(d.preferences_ProfileSetAsDefault_checkBox->isChecked());
            QVERIFY(!d.preferences_ExtendedLuminanceStabilizationTime_checkBox->isChecked());
            pressCancel(d);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(stored(preferences()), kDefaults);
        QVERIFY(!preferences().IsDontShowAgainMessageSet(2));
        QVERIFY(preferences().m_MainWindowPosition != QPoint(40, 50));
    }

    // A type that is not attached leaves "N/A" with the chosen name;
    // Auto-Detect then finds the attached sensor, or none.
    void sensorChoiceAndDetection_data()
    {
        QTest::addColumn<bool>("attached");
        QTest::newRow("i1 Display Pro attached") << true;
        QTest::newRow("nothing attached") << false;
    }
    void sensorChoiceAndDetection()
    {
        QFETCH(bool, attached);
        if (attached) {
            m_rig->sensors->attach(SimSensors::I1d3);
            QCOMPARE(pTargetSensor->SelectType(CTargetSensor::kSensorEyeOneDisplay3), 0);
        }
        const QString model = attached ? pTargetSensor->m_pCurrentSensor->GetModelName() : "N/A";
        const QString serial = attached ? pTargetSensor->m_pCurrentSensor->GetSerialNumber() : "N/A";
        runDialog([&](PZ_Preferences_Dialog &d) {
            QComboBox *list = d.preferences_SensorType_comboBox;
            QCOMPARE(list->currentText(),
                     attached ? QStringLiteral("XRite iOne Display Pro (i1D3)") : QStringLiteral("None"));
            QCOMPARE(d.preferences_SensorModelName_label->text(), model);
            QCOMPARE(d.preferences_SensorSerialNumber_label->text(), serial);

            choose(list, "XRite ColorMunki");
            QCOMPARE(list->currentText(), QStringLiteral("XRite ColorMunki"));
            QCOMPARE(pTargetSensor->m_CurrentType, CTargetSensor::kSensorNone);
            QVERIFY(!pTargetSensor->m_pCurrentSensor);
            QCOMPARE(d.preferences_SensorModelName_label->text(), QStringLiteral("N/A"));
            QCOMPARE(d.preferences_SensorSerialNumber_label->text(), QStringLiteral("N/A"));

            QTest::mouseClick(d.preferences_SensorAutoDetect_pushButton, Qt::LeftButton);
            QCOMPARE(list->currentText(),
                     attached ? QStringLiteral("XRite iOne Display Pro (i1D3)") : QStringLiteral("None"));
            QCOMPARE(int(pTargetSensor->m_CurrentType),
                     attached ? int(CTargetSensor::kSensorEyeOneDisplay3) : 0);
            QCOMPARE(d.preferences_SensorModelName_label->text(), model);
            QCOMPARE(d.preferences_SensorSerialNumber_label->text(), serial);

            // Auto-Detect with the type shown connected changes nothing.
            QTest::mouseClick(d.preferences_SensorAutoDetect_pushButton, Qt::LeftButton);
            QCOMPARE(d.preferences_SensorModelName_label->text(), model);
            QVERIFY(!QApplication::overrideCursor());
            pressCancel(d);
        });
        // The choice stays after Cancel.
        QCOMPARE(int(pTargetSensor->m_CurrentType),
                 attached ? int(CTargetSensor::kSensorEyeOneDisplay3) : 0);
    }

    // The hidden folder button: the chosen folder is stored at once, the
    // field shows where profiles really go; a cancelled chooser changes nothing.
    void profileFolderChooser_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void profileFolderChooser()
    {
        QFETCH(bool, choose);
        QTemporaryDir chosen;
        const QString before = preferences().m_ICCProfileLocation;
        QString caption;
        runDialog([&](PZ_Preferences_Dialog &d) {
            ModalWindowAnswer<QFileDialog> folder([&](QFileDialog &chooser) {
                caption = chooser.windowTitle();
                if (choose) {
                    chooser.findChild<QLineEdit *>("fileNameEdit")->setText(chosen.path());
                    QMetaObject::invokeMethod(&chooser, "accept", Qt::QueuedConnection);
                } else {
                    QMetaObject::invokeMethod(&chooser, "reject", Qt::QueuedConnection);
                }
            });
            d.preferences_ProfileSaveToLocationEdit_pushButton->click();
            QCOMPARE(d.preferences_ProfileSaveToLocation_lineEdit->text(),
                     preferences().GetICCProfileLocation());
            pressCancel(d);
        });
        QCOMPARE(caption, QStringLiteral("Select location to store ICC Profile"));
        QCOMPARE(preferences().m_ICCProfileLocation, choose ? chosen.path() : before);
    }

    // The whole tab row shows at the size the dialog opens with, in English
    // and in Japanese (whose tab texts are wider).
    void tabRowFits_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Japanese") << "ja";
    }
    void tabRowFits()
    {
        QFETCH(QString, language);
        qputenv("PELZORA_LANG", language.toLatin1());
        pz::ApplicationTranslators translators;
        qunsetenv("PELZORA_LANG");
        QCOMPARE(translators.applicationInstalled(), language == "ja");
        PZ_Preferences_Dialog dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString cut = pz::test::tabsCutOff(*dialog.tabWidget);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        QVERIFY(dialog.grab().save(pz::test::picturePath(QStringLiteral("preferences_tabs_%1.png").arg(language))));
    }

    // Pictures of the five tabs, in the pictures folder.
    void pictures()
    {
        m_rig->sensors->attach(SimSensors::I1d3);
        QCOMPARE(pTargetSensor->SelectType(CTargetSensor::kSensorEyeOneDisplay3), 0);
        PZ_Preferences_Dialog dialog(nullptr);
        dialog.show();
        for (int i = 0; i < dialog.tabWidget->count(); ++i) {
            dialog.tabWidget->setCurrentIndex(i);
            QVERIFY(dialog.grab().save(pz::test::picturePath(QStringLiteral("preferences_tab_%1.png").arg(i + 1))));
        }
    }
};

QTEST_MAIN(TestPreferencesDialog)
#include "tst_preferences_dialog.moc"
