// Generate ICC Profile from the main window, end to end on the simulated
// monitor and sensor: the profile is written and assigned whatever the
// preference for calibrations says, carries the measured tone curves, and
// leaves the tracker and the calibration-settings files alone; an
// assignment the desktop refuses, a cancelled run and a run without a
// result are reported.

#include "CMonitorTracker.h"
#include "CalibrationSettingsFile.h"
#include "DialogWatch.h"
#include "PZ_Information_Dialog.h"
#include "ProfileNaming.h"
#include "ProgramRig.h"
#include "Resources.h"
#include "SimDisplayProfiles.h"
#include "SimOrvaneMonitor.h"
#include "pz_select_display_technology_type_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <lcms2.h>

using namespace pz;
using namespace pz::test;

namespace {

const QString kSerial = QStringLiteral("SIM0001");
// Where the monitor keeps the date of its calibration's profile.
const int kProfileIdAddress = 0xFF13 + 2;
const QString kDone = QStringLiteral("<br><img src=\":/images/Resources/green circle icon.png\">&nbsp;");
const QString kFailed = QStringLiteral("<br><img src=\":/images/Resources/red circle icon.png\">&nbsp;");

struct Run {
    QString text;
    bool countdown = false;
    int windows = 0;
    QStringList boxes;
};
Run profile(PZ_Main_Dialog &window, bool cancel = false)
{
    FlowUser user;
    user.cancelCalibration = cancel;
    window.action_Generate_ICC_Profile->trigger();
    Run r;
    r.windows = user.calibrationWindows;
    r.boxes = user.boxTexts;
    if (!user.boxTexts.isEmpty()) {
        r.text = user.boxTexts.last();
        r.countdown = user.countdowns.last();
    }
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The red TRC of a profile: its parametric type (0 for a table) and its
// table length.
QPair<int, int> redTRC(const QByteArray &bytes)
{
    cmsHPROFILE h = cmsOpenProfileFromMem(bytes.constData(), cmsUInt32Number(bytes.size()));
    if (!h)
        return {-1, -1};
    const auto *trc = static_cast<const cmsToneCurve *>(cmsReadTag(h, cmsSigRedTRCTag));
    QPair<int, int> result{-1, -1};
    if (trc)
        result = {cmsGetToneCurveParametricType(trc), int(cmsGetToneCurveEstimatedTableEntries(trc))};
    cmsCloseProfile(h);
    return result;
}

QByteArray trackerBytes(MasterControl &controller)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_4_6);
    _MonitorTrackerRecord r;
    r.m_Key = kSerial;
    if (controller.GetMonitorTracker()->GetMonitorTrackerRecord(r) >= 0)
        writeCalibrationSettings(s, r.m_Target, r.m_Adjust);
    return bytes;
}

QString summaryLabel(const char *name)
{
    const auto *label = information_window->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label>");
}

// Names the profiles of the profile flow as the user would in the prompt.
struct NamedByUser {
    explicit NamedByUser(const QString &name)
    {
        pMasterControl->GetPreferences()->m_AutoSaveICC = false;
        setProfileNamePrompt([name](QString &fileName, QString &) {
            fileName = name;
            return true;
        });
    }
    ~NamedByUser()
    {
        setProfileNamePrompt({});
        if (pMasterControl)
            pMasterControl->GetPreferences()->m_AutoSaveICC = true;
    }
};

} // namespace

static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

class TestProfileFlow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        initSensorPictures();
    }

    // After a calibration of Photo Editing (gamma 2.2): a profiling with the
    // preference for profiles off.
    void profileAfterCalibration()
    {
        ProgramRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = rig.window();
        QCOMPARE(window.currentTarget().m_Gamma, 2.2);
        QVERIFY(rig.calibrateOnce());
        const CAdjustValue calibrated = window.calibrationResult();
        const QString calibrationProfile = rig.filesNamed(QStringLiteral("*.icc")).value(0);
        QCOMPARE(QFileInfo(calibrationProfile).fileName(), calibrated.GetProfileName());
        // The calibration's profile holds one gamma value per channel.
        QCOMPARE(redTRC(readAll(calibrationProfile)).first, 1);
        const QStringList settings = rig.filesNamed(QStringLiteral("*.mcs"));
        QCOMPARE(settings.size(), 1);
        const QByteArray settingsBytes = readAll(settings.first());
        const QByteArray tracked = trackerBytes(*rig.controller);
        QVERIFY(!tracked.isEmpty());
        const QByteArray profileId = rig.desktop->monitor(1)->eeprom(kProfileIdAddress, 4);

        rig.controller->GetPreferences()->SetICCAfterCalibration(false);
        Run run;
        {
            NamedByUser naming(QStringLiteral("Measured"));
            run = profile(window);
        }
        QCOMPARE(run.windows, 1);
        QCOMPARE(run.text, kDone + GetStringResource(801) + kDone + GetStringResource(802));
        QVERIFY(run.countdown);

        const QString measured = QFileInfo(calibrationProfile).dir().filePath(QStringLiteral("Measured.icc"));
        const QByteArray profileBytes = readAll(measured);
        QVERIFY(!profileBytes.isEmpty());
        QCOMPARE(rig.desktop->profiles().assignedProfile(1), profileBytes);
        // Sampled tone curves: the display as measured.
        QCOMPARE(redTRC(profileBytes), qMakePair(0, 256));

        // The window's record takes the profile and the final measurements;
        // the rest stays the calibration's.
        const CAdjustValue now = window.calibrationResult();
        QCOMPARE(now.GetProfileName(), QStringLiteral("Measured.icc"));
        QCOMPARE(now.m_CalibrationDateTime, calibrated.m_CalibrationDateTime);
        QCOMPARE(now.m_IsCalibrationOn, calibrated.m_IsCalibrationOn);
        QCOMPARE(now.m_ColorValue.m_UncorrectedGreySteps, calibrated.m_ColorValue.m_UncorrectedGreySteps);
        QVERIFY(now.m_ColorValue.m_FinalGreySteps.size() > 1);
        QVERIFY(information_window->isVisible());
        QCOMPARE(summaryLabel("summary_IC_Profile_File_Name"), QStringLiteral("Measured.icc"));

        // Nothing of the calibration's record changed, nor the monitor's
        // profile id.
        QCOMPARE(rig.desktop->monitor(1)->eeprom(kProfileIdAddress, 4), profileId);
        QCOMPARE(trackerBytes(*rig.controller), tracked);
        QCOMPARE(rig.filesNamed(QStringLiteral("*.mcs")), settings);
        QCOMPARE(readAll(settings.first()), settingsBytes);
        QCOMPARE(rig.window().calibratedTarget().m_Name, window.currentTarget().m_Name);

        // After a restart the window shows the calibration's profile again.
        rig.stop();
        QVERIFY(rig.start());
        QCOMPARE(rig.window().calibrationResult().GetProfileName(), calibrated.GetProfileName());
        rig.window().show_information_dialog();
        QCOMPARE(summaryLabel("summary_IC_Profile_File_Name"), calibrated.GetProfileName());
    }

    // The plain display beside the HX monitor has no monitor object and no
    // serial number: its profile names it by its connector, and the summary
    // names the sensor that measured it.
    void displayWithoutMonitorObject()
    {
        ProgramRig rig;
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = rig.window();
        window.main_Display_comboBox->setCurrentIndex(1);
        QVERIFY(!rig.controller->GetTargetDisplay()->m_pDDCMonitor);
        QVERIFY(window.calibrationResult().GetSensorModelName().isEmpty());

        // The display's technology is asked for: the first one offered.
        DialogWatch<pz_select_display_technology_type_dialog> technology;
        technology.act = [](pz_select_display_technology_type_dialog &d) {
            d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        };
        const Run run = profile(window);
        QVERIFY(technology.shown);
        QCOMPARE(run.text, kDone + GetStringResource(801) + kDone + GetStringResource(802));
        const CAdjustValue now = window.calibrationResult();
        QCOMPARE(now.GetProfileName(), QStringLiteral("Unknown SIM-2.icc"));
        QVERIFY(!readAll(rig.filesNamed(QStringLiteral("Unknown SIM-2.icc")).value(0)).isEmpty());
        QVERIFY(!now.GetSensorModelName().isEmpty());
        QVERIFY(!now.GetSensorSerial().isEmpty());
        QCOMPARE(summaryLabel("summary_Sensor_Model_Name"), now.GetSensorModelName());
        QCOMPARE(summaryLabel("summary_Sensor_Serial_Number"), now.GetSensorSerial());
    }

    // A monitor of another maker whose I2C bus the user may not open: the
    // system's EDID names it in the display list, as a display without
    // DDC/CI, and it can be profiled.
    void displayWhoseBusCannotBeOpened()
    {
        ProgramRig rig;
        SimMonitorConfig acme;
        acme.modelName = QStringLiteral("ACME 22");
        acme.serial = QStringLiteral("ACM0001");
        acme.manufacturer = 0x6D04;
        acme.product = 0x1234;
        rig.desktop->addMonitor(2, QRectF(1920, 0, 1920, 1080), acme);
        rig.desktop->setI2CBusOpens(2, false);
        QVERIFY(rig.start());
        PZ_Main_Dialog &window = rig.window();
        QCOMPARE(window.main_Display_comboBox->count(), 2);
        QCOMPARE(window.main_Display_comboBox->itemText(1),
                 GetStringResource(502).arg(QStringLiteral("2"), QStringLiteral("ACME 22"))
                     + GetStringResource(303));
        // The user's DDC/CI never reached the monitor.
        QCOMPARE(rig.desktop->monitor(2)->readCount(), 0);
        window.main_Display_comboBox->setCurrentIndex(1);
        QVERIFY(window.action_Generate_ICC_Profile->isEnabled());

        DialogWatch<pz_select_display_technology_type_dialog> technology;
        technology.act = [](pz_select_display_technology_type_dialog &d) {
            d.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        };
        const Run run = profile(window);
        QCOMPARE(run.text, kDone + GetStringResource(801) + kDone + GetStringResource(802));
        const QString name = window.calibrationResult().GetProfileName();
        QCOMPARE(name, QStringLiteral("ACME 22 ACM0001.icc"));
        const QByteArray written = readAll(rig.filesNamed(name).value(0));
        QVERIFY(!written.isEmpty());
        QCOMPARE(rig.desktop->profiles().assignedProfile(2), written);
        QCOMPARE(rig.desktop->monitor(2)->frames().size(), 0);
    }

    void assignmentRefused()
    {
        ProgramRig rig;
        QVERIFY(rig.start());
        rig.desktop->profiles().setRefuses(true);
        const Run run = profile(rig.window());
        QCOMPARE(run.text, kDone + GetStringResource(801) + kFailed + GetStringResource(131));
        QVERIFY(!run.countdown);
        QCOMPARE(rig.filesNamed(QStringLiteral("*.icc")).size(), 1);
        // Written, so the window's record names it.
        QCOMPARE(rig.window().calibrationResult().GetProfileName(), QStringLiteral("HXSIM24 SIM0001.icc"));
    }

    void cancelledAndInvalid()
    {
        ProgramRig rig;
        QVERIFY(rig.start());
        const Run cancelled = profile(rig.window(), true);
        QCOMPARE(cancelled.text, GetStringResource(115));
        QVERIFY(cancelled.countdown);
        {
            InvalidRuns invalid;
            const Run run = profile(rig.window());
            QCOMPARE(run.text, kFailed + GetStringResource(123));
            QVERIFY(!run.countdown);
        }
        QVERIFY(rig.filesNamed(QStringLiteral("*.icc")).isEmpty());
        QVERIFY(rig.window().calibrationResult().GetProfileName().isEmpty());
    }
};

QTEST_MAIN(TestProfileFlow)
#include "tst_profile_flow.moc"
