// The main window's display list and Calibration group on the simulated
// desktop: the list texts and selection, the tracker record of the chosen
// display, the information window's data and the Next Due texts.

#include "MainWindowRig.h"
#include "ReportPanel.h"

#include "CDDCMonitor.h"
#include "CalibrationSettingsFile.h"

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

// A tracker record of the HXSIM24 with serial SIM0001, calibrated for
// target on `when`, with calibration on or off.
_MonitorTrackerRecord trackerRecord(const CTargetValue &target, const QDateTime &when, bool on)
{
    _MonitorTrackerRecord record;
    record.m_Key = QStringLiteral("SIM0001");
    record.m_ID = 0x563E2441;
    record.m_Target = target;
    record.m_Adjust.m_IsValid = true;
    record.m_Adjust.SetMonitorSerial(QStringLiteral("SIM0001"));
    record.m_Adjust.SetMonitorName(QStringLiteral("HXSIM24"));
    record.m_Adjust.SetCalibrationDateTime(when);
    record.m_Adjust.SetIsCalibrationOn(on);
    return record;
}

CTargetValue brightTarget()
{
    CTargetValue target;
    target.CreateDefault();
    target.m_Name = QStringLiteral("Bright");
    target.m_IntensityType = CTargetValue::kIntensityLevel;
    target.m_Intensity = 160.0;
    target.m_Gamma = 2.4;
    return target;
}

} // namespace

class tst_MainWindowDisplays : public QObject {
    Q_OBJECT

private slots:
    void listsEveryMonitorAndSelectsTheFirstUsable();
    void aBridgelessMonitorHasNoCommunications();
    void anEmptyDesktopKeepsTheWindowAsItWas();
    void selectingADisplayLoadsItsTrackerRecord();
    void aDisplayWithoutRecordIsUncalibrated();
    void allCalibratedNeedsEveryUsableDisplayOn_data();
    void allCalibratedNeedsEveryUsableDisplayOn();
    void nextDueFollowsThePeriod_data();
    void nextDueFollowsThePeriod();
};

void tst_MainWindowDisplays::listsEveryMonitorAndSelectsTheFirstUsable()
{
    MainWindowRig rig(plainAndTwoHx());
    PZ_Main_Dialog &w = rig.open();
    const QStringList texts = itemTexts(w.main_Display_comboBox);
    QCOMPARE(texts.size(), 3);
    QVERIFY2(texts[0].startsWith(QStringLiteral("Display 1 - ")), qPrintable(texts[0]));
    QVERIFY2(texts[0].endsWith(QStringLiteral(" (Unsupported)")), qPrintable(texts[0]));
    QCOMPARE(texts[1], QStringLiteral("Display 2 - HXSIM24"));
    QCOMPARE(texts[2], QStringLiteral("Display 3 - HXSIM24"));
    QCOMPARE(w.main_Display_comboBox->currentIndex(), 1);

    // The selection made the second display the target display.
    const CTargetDisplay *display = rig.controller->GetTargetDisplay();
    QVERIFY(display->m_pDDCMonitor);
    QCOMPARE(display->GetMonitorData().m_SerialNumber, QStringLiteral("SIM0001"));

    // Choosing the third display through the list follows it.
    w.main_Display_comboBox->setCurrentIndex(2);
    QCOMPARE(display->GetMonitorData().m_SerialNumber, QStringLiteral("SIM0002"));
    QCOMPARE(w.gamutAdjustability(), int(display->m_pDDCMonitor->GetSupportedColorGamutMode()));

    // The unsupported display can never be calibrated here: nothing in the
    // Calibration group applies to it.
    w.main_Display_comboBox->setCurrentIndex(0);
    QVERIFY(!display->m_pDDCMonitor);
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(500));
    QCOMPARE(w.main_Calibration_Last_Text->text(), GetStringResource(500));
    QCOMPARE(w.main_Calibration_Next_Due_Text->text(), GetStringResource(500));
    QVERIFY(!w.main_Calibration_On_checkBox->isEnabled());
    QVERIFY(!w.main_Calibration_On_checkBox->isChecked());
}

void tst_MainWindowDisplays::aBridgelessMonitorHasNoCommunications()
{
    auto desk = std::make_unique<pz::SimDesktop>();
    desk->addMonitor(1, QRectF(0, 0, 1920, 1200), hxConfig(QStringLiteral("SIM0001")));
    MainWindowRig rig(std::move(desk));
    PZ_Main_Dialog &w = rig.open();
    QCOMPARE(itemTexts(w.main_Display_comboBox),
             QStringList{QStringLiteral("Display 1 - HXSIM24 (No Communications)")});
    QCOMPARE(w.main_Display_comboBox->currentIndex(), 0);
    // Without DDC/CI nothing that talks to the monitor is offered.
    QVERIFY(!w.actionOpen_Previous_Calibration->isEnabled());
    QVERIFY(!w.actionMonitor_Settings->isEnabled());
    QCOMPARE(w.gamutAdjustability(), 0);
}

void tst_MainWindowDisplays::anEmptyDesktopKeepsTheWindowAsItWas()
{
    MainWindowRig rig(std::make_unique<pz::SimDesktop>());
    PZ_Main_Dialog &w = rig.open();
    QCOMPARE(w.main_Display_comboBox->count(), 0);
    QCOMPARE(w.main_Display_comboBox->currentIndex(), -1);

    const QString status = w.main_Calibration_Status_Text->text();
    const QString last = w.main_Calibration_Last_Text->text();
    const int targets = w.main_Target_comboBox->count();
    const CTargetValue target = w.currentTarget();
    w.onDisplaySelectionChanged(-1);
    QCOMPARE(w.calibrationResult().m_IsValid, false);
    QCOMPARE(w.gamutAdjustability(), 0);
    QCOMPARE(w.main_Calibration_Status_Text->text(), status);
    QCOMPARE(w.main_Calibration_Last_Text->text(), last);
    QCOMPARE(w.main_Target_comboBox->count(), targets);
    QVERIFY(w.currentTarget() == target);
}

void tst_MainWindowDisplays::selectingADisplayLoadsItsTrackerRecord()
{
    MainWindowRig rig;
    const CTargetValue target = brightTarget();
    const QDateTime when = QDateTime::currentDateTime().addDays(-3);
    _MonitorTrackerRecord record = trackerRecord(target, when, true);
    rig.controller->GetMonitorTracker()->UpdateMonitorTrackerRecord(record);

    PZ_Main_Dialog &w = rig.open();
    QCOMPARE(w.main_Display_comboBox->currentIndex(), 0);
    QVERIFY(w.currentTarget() == target);
    QVERIFY(w.calibratedTarget() == target);
    QCOMPARE(w.calibrationResult().GetMonitorSerial(), QStringLiteral("SIM0001"));
    QCOMPARE(w.calibrationResult().m_CalibrationDateTime, when);

    // The information window got the display's name, the current target
    // and the result.
    PZ_Information_Dialog *info = rig.information();
    QCOMPARE(info->windowTitle(),
             QStringLiteral("Information: Display 1 - HXSIM24 / ") + target.m_Name);
    QVERIFY(info->panel()->shownTarget() == target);
    QCOMPARE(info->panel()->shownResult().m_CalibrationDateTime, when);
    QCOMPARE(w.main_Target_White_Point_Text->text(), target.GetWhitePointString());
}

void tst_MainWindowDisplays::aDisplayWithoutRecordIsUncalibrated()
{
    MainWindowRig rig;
    // A record of another monitor only.
    _MonitorTrackerRecord other = trackerRecord(brightTarget(), QDateTime::currentDateTime(), true);
    other.m_Key = QStringLiteral("OTHER");
    rig.controller->GetMonitorTracker()->UpdateMonitorTrackerRecord(other);
    rig.controller->GetPreferences()->SetRecalibrationPeriod(14);

    PZ_Main_Dialog &w = rig.open();
    QCOMPARE(w.currentTarget().m_Name, GetStringResource(206)); // still Photo Editing
    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(300));
    QCOMPARE(w.main_Calibration_Last_Text->text(), GetStringResource(300));
    QCOMPARE(w.main_Calibration_Next_Due_Text->text(), GetStringResource(406));
    QVERIFY(!w.main_Calibration_On_checkBox->isEnabled());
    QVERIFY(!w.main_Calibration_On_checkBox->isChecked());
}

void tst_MainWindowDisplays::allCalibratedNeedsEveryUsableDisplayOn_data()
{
    // Records of the two HX monitors: -1 none, 0 calibration off, 1 on. The
    // unsupported plain display never counts.
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("all");
    QTest::newRow("no records") << -1 << -1 << false;
    QTest::newRow("one record") << 1 << -1 << false;
    QTest::newRow("one off") << 1 << 0 << false;
    QTest::newRow("both on") << 1 << 1 << true;
}

void tst_MainWindowDisplays::allCalibratedNeedsEveryUsableDisplayOn()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, all);
    MainWindowRig rig(plainAndTwoHx());
    const QPair<QString, int> records[] = {{QStringLiteral("SIM0001"), first},
                                           {QStringLiteral("SIM0002"), second}};
    for (const auto &r : records) {
        if (r.second < 0)
            continue;
        _MonitorTrackerRecord record = trackerRecord(brightTarget(), QDateTime::currentDateTime(),
                                                     r.second == 1);
        record.m_Key = r.first;
        rig.controller->GetMonitorTracker()->UpdateMonitorTrackerRecord(record);
    }
    PZ_Main_Dialog &w = rig.open();
    QCOMPARE(w.AreAllSupportedDisplaysCalibrated(), all);
}

void tst_MainWindowDisplays::nextDueFollowsThePeriod_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<QString>("due");
    QTest::addColumn<QString>("lastColour");
    const QString red = QStringLiteral("red"), green = QStringLiteral("green");
    QTest::newRow("12 of 14") << 14 << 12 << GetStringResource(403).arg(2) << green;
    QTest::newRow("13 of 14") << 14 << 13 << GetStringResource(404) << green;
    QTest::newRow("14 of 14") << 14 << 14 << GetStringResource(405) << green;
    QTest::newRow("15 of 14") << 14 << 15 << GetStringResource(401) << red;
    QTest::newRow("16 of 14") << 14 << 16 << GetStringResource(402).arg(2) << red;
    QTest::newRow("no period") << 0 << 400 << GetStringResource(500) << green;
}

void tst_MainWindowDisplays::nextDueFollowsThePeriod()
{
    QFETCH(int, period);
    QFETCH(int, daysAgo);
    QFETCH(QString, due);
    QFETCH(QString, lastColour);

    MainWindowRig rig;
    rig.controller->GetPreferences()->SetRecalibrationPeriod(uchar(period));
    const QDateTime when = QDateTime::currentDateTime().addDays(-daysAgo);
    PZ_Main_Dialog &w = rig.open();

    // The tracker's record of a display calibrated for the window's target.
    _MonitorTrackerRecord record = trackerRecord(w.currentTarget(), when, true);
    CDDCMonitor *monitor = rig.controller->GetTargetDisplay()->m_pDDCMonitor;
    QVERIFY(monitor);
    QVERIFY(monitor->CanCreateCalibration(&record.m_Adjust, &record.m_Target));
    rig.controller->GetMonitorTracker()->UpdateMonitorTrackerRecord(record);
    w.onDisplaySelectionChanged(0);

    QCOMPARE(w.main_Calibration_Status_Text->text(), GetStringResource(301));
    QVERIFY(w.main_Calibration_On_checkBox->isEnabled());
    QVERIFY(w.main_Calibration_On_checkBox->isChecked());
    QCOMPARE(w.main_Calibration_Next_Due_Text->text(), due);
    const QString last = w.main_Calibration_Last_Text->text();
    QVERIFY2(last.startsWith(QStringLiteral("<font color=%1>").arg(lastColour)), qPrintable(last));
    QVERIFY(last.contains(QLocale::system().toString(when, QLocale::ShortFormat)));
}

QTEST_MAIN(tst_MainWindowDisplays)
#include "tst_mainwindow_displays.moc"
