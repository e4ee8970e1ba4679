// The monitor settings dialog on the simulated HX monitor: what it reads at
// opening, what each slider movement, OK, Cancel and Escape send, refused
// writes and unsupported controls, the white background through the test
// pattern window, and the dialog without a monitor. The dialog is written
// as a PNG into the pictures folder.

#include "DisplayPlacement.h"
#include "TestSupport.h"
#include "MeasureToolsRig.h"
#include "Resources.h"
#include "SimulatedScreens.h"
#include "TestPatternProbe.h"
#include "pz_monitor_settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

constexpr quint16 kLED = 0x2BE;
constexpr quint16 kLevel = 0x2EE;
constexpr quint16 kOnOff = 0x2C2;

// The dialog's controls by object name.
struct Controls {
    pz_monitor_settings_dialog &d;
    QSlider *led = d.findChild<QSlider *>("monitor_settings_LED_brightness_horizontalSlider");
    QSlider *level = d.findChild<QSlider *>("monitor_settings_colorcomp_level_horizontalSlider");
    QCheckBox *white = d.findChild<QCheckBox *>("monitor_settings_show_testpattern_checkBox");
    QDialogButtonBox *buttons = d.findChild<QDialogButtonBox *>("buttonBox");

    QWidget *w(const char *name) const { return d.findChild<QWidget *>(name); }
    bool ledControlsEnabled() const
    {
        return allEnabled({"monitor_settings_LED_brightness_horizontalSlider", "monitor_settings_LED_brightness_label",
                           "monitor_settings_LED_brightness_off_label", "monitor_settings_LED_brightness_max_label"});
    }
    bool ledControlsDisabled() const
    {
        return allDisabled({"monitor_settings_LED_brightness_horizontalSlider", "monitor_settings_LED_brightness_label",
                            "monitor_settings_LED_brightness_off_label", "monitor_settings_LED_brightness_max_label"});
    }
    bool levelControlsEnabled() const { return allEnabled(levelNames()); }
    bool levelControlsDisabled() const { return allDisabled(levelNames()); }

    static QList<const char *> levelNames()
    {
        return {"monitor_settings_colorcomp_level_horizontalSlider", "monitor_settings_colorcomp_level_label",
                "monitor_settings_colorcomp_level_min_label", "monitor_settings_colorcomp_level_max_label"};
    }
    bool allEnabled(const QList<const char *> &names) const
    {
        for (const char *n : names)
            if (!w(n) || !w(n)->isEnabled())
                return false;
        return true;
    }
    bool allDisabled(const QList<const char *> &names) const
    {
        for (const char *n : names)
            if (!w(n) || w(n)->isEnabled())
                return false;
        return true;
    }
    void ok() { QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton); }
    void cancel() { QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton); }
};

SimMonitorConfig hxWith(const QMap<quint16, quint16> &values, const QSet<quint16> &unsupported = {})
{
    SimMonitorConfig config = SimMonitorConfig::hxsim24();
    for (auto it = values.begin(); it != values.end(); ++it)
        config.registerValues[it.key()] = it.value();
    config.unsupportedCodes = unsupported;
    return config;
}

} // namespace

class TestMonitorSettingsDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void opensWithTheMonitorsValues()
    {
        MeasureToolsRig rig;
        QVERIFY(rig.controller->GetTargetDisplay()->m_pDDCMonitor);
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Monitor Settings"));
        QCOMPARE(dialog.objectName(), QStringLiteral("PZ_monitor_settings_dialogClass"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(rig.writes(), QStringList());
        QCOMPARE(c.led->minimum(), 1);
        QCOMPARE(c.led->maximum(), 4);
        QCOMPARE(c.led->value(), 3);
        QVERIFY(c.ledControlsEnabled());
        // Uniformity switched off by the monitor (on/off state 1): the
        // level is read but cannot be set.
        QCOMPARE(c.level->minimum(), 1);
        QCOMPARE(c.level->maximum(), 5);
        QCOMPARE(c.level->value(), 3);
        QVERIFY(c.levelControlsDisabled());
        QVERIFY(c.white->isEnabled());
        QVERIFY(!c.white->isChecked());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.grab().save(pz::test::picturePath("monitor_settings_dialog.png"));
    }

    void levelLiveWhenUniformityOn()
    {
        MeasureToolsRig rig(hxWith({{kOnOff, 0}}));
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        QVERIFY(c.levelControlsEnabled());
        QCOMPARE(c.level->value(), 3);
        c.level->setValue(5);
        QCOMPARE(rig.writes(), QStringList{"set 2ee 5"});
        QCOMPARE(rig.monitor->registerValue(kLevel), quint16(5));
        // Cancel sends the level back first, then the LED, and saves once.
        c.led->setValue(2);
        c.cancel();
        QCOMPARE(rig.writes(), (QStringList{"set 2ee 5", "set 2be 2", "set 2ee 3", "set 2be 3", "save"}));
        QCOMPARE(rig.monitor->registerValue(kLevel), quint16(3));
    }

    // Each case moves the LED slider through `moves`, then closes.
    void closing_data()
    {
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("ledAfter");
        QTest::newRow("ok after a change") << QList<int>{4} << "ok" << QStringList{"set 2be 4", "save"} << 4;
        QTest::newRow("cancel sends back") << QList<int>{4} << "cancel"
                                           << QStringList{"set 2be 4", "set 2be 3", "save"} << 3;
        QTest::newRow("away and back, ok") << QList<int>{4, 3} << "ok"
                                           << QStringList{"set 2be 4", "set 2be 3"} << 3;
        QTest::newRow("away and back, cancel") << QList<int>{1, 3} << "cancel"
                                               << QStringList{"set 2be 1", "set 2be 3"} << 3;
        QTest::newRow("escape leaves it live") << QList<int>{4} << "escape" << QStringList{"set 2be 4"} << 4;
        QTest::newRow("nothing moved, ok") << QList<int>{} << "ok" << QStringList{} << 3;
        QTest::newRow("nothing moved, cancel") << QList<int>{} << "cancel" << QStringList{} << 3;
    }
    void closing()
    {
        QFETCH(QList<int>, moves);
        QFETCH(QString, close);
        QFETCH(QStringList, sent);
        QFETCH(int, ledAfter);
        MeasureToolsRig rig;
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int v : moves) {
            c.led->setValue(v);
            // The monitor holds it at once.
            QCOMPARE(rig.monitor->registerValue(kLED), quint16(v));
        }
        if (close == "ok")
            c.ok();
        else if (close == "cancel")
            c.cancel();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), close == "ok" ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(rig.writes(), sent);
        QCOMPARE(rig.monitor->registerValue(kLED), quint16(ledAfter));
    }

    void refusedWriteKeepsTheCurrentValue()
    {
        MeasureToolsRig rig;
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        SimFault refuse;
        refuse.kind = SimFaultKind::NakWrite;
        refuse.opcode = 0xC8;
        refuse.count = 1000;
        rig.monitor->addFault(refuse);
        c.led->setValue(4);
        QCOMPARE(c.led->value(), 4);
        QCOMPARE(rig.monitor->registerValue(kLED), quint16(3));
        rig.monitor->clearFaults();
        rig.monitor->clearLog();
        // Still 3 as far as the dialog knows: nothing to send back or save.
        c.cancel();
        QCOMPARE(rig.writes(), QStringList());
    }

    void unsupportedControlsAreDisabled_data()
    {
        QTest::addColumn<quint16>("code");
        QTest::newRow("LED") << kLED;
        QTest::newRow("level") << kLevel;
    }
    void unsupportedControlsAreDisabled()
    {
        QFETCH(quint16, code);
        MeasureToolsRig rig(hxWith({{kOnOff, 0}}, {code}));
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        QCOMPARE(c.ledControlsDisabled(), code == kLED);
        QCOMPARE(c.ledControlsEnabled(), code != kLED);
        QCOMPARE(c.levelControlsDisabled(), code == kLevel);
        QCOMPARE(c.levelControlsEnabled(), code != kLevel);
        QVERIFY(c.white->isEnabled());
        // A disabled control's slider sends nothing even when set.
        (code == kLED ? c.led : c.level)->setValue(2);
        QCOMPARE(rig.writes(), QStringList());
    }

    void whiteBackground_data()
    {
        QTest::addColumn<QString>("close");
        QTest::newRow("unchecked") << "uncheck";
        QTest::newRow("ok") << "ok";
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("escape") << "escape";
    }
    void whiteBackground()
    {
        QFETCH(QString, close);
        MeasureToolsRig rig;
        pz_test_pattern_dialog &window = *rig.testPattern;
        {
            pz_monitor_settings_dialog dialog;
            Controls c{dialog};
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::mouseClick(c.white, Qt::LeftButton, Qt::NoModifier, QPoint(5, c.white->height() / 2));
            QVERIFY(c.white->isChecked());
            QVERIFY(window.isVisible());
            QCOMPARE(window.geometry(), kDisplay1);
            QCOMPARE(testPatternCentre(window), QColor(Qt::white));
            QVERIFY(!testPatternControlsBack(window));
            QCOMPARE(rig.writes(), QStringList());
            if (close == "uncheck")
                c.white->setChecked(false);
            else if (close == "ok")
                c.ok();
            else if (close == "cancel")
                c.cancel();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            if (close == "uncheck")
                QVERIFY(!window.isVisible());
        }
        QVERIFY(!window.isVisible());
        QVERIFY(testPatternControlsBack(window));
    }

    void openedOverTheTestPatternTakesItOver()
    {
        MeasureToolsRig rig;
        pz_test_pattern_dialog &window = *rig.testPattern;
        placeOnDisplay(window, recordBounds(kDisplay2));
        window.SetTestPattern(1);
        window.show();
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        QVERIFY(c.white->isChecked());
        QCOMPARE(window.geometry(), kDisplay1);
        QCOMPARE(testPatternCentre(window), QColor(Qt::white));
        QCOMPARE(rig.writes(), QStringList());
    }

    void withoutAMonitor()
    {
        MeasureToolsRig rig(SimMonitorConfig::hxsim24(), false, false);
        QVERIFY(!rig.controller->GetTargetDisplay()->m_pDDCMonitor);
        pz_monitor_settings_dialog dialog;
        Controls c{dialog};
        QCOMPARE(c.led->minimum(), 0);
        QCOMPARE(c.led->maximum(), 16);
        QCOMPARE(c.level->minimum(), 0);
        QCOMPARE(c.level->maximum(), 5);
        QVERIFY(c.ledControlsEnabled());
        QVERIFY(c.levelControlsEnabled());
        c.led->setValue(7);
        c.level->setValue(2);
        c.cancel();
        QCOMPARE(rig.writes(), QStringList());
        QCOMPARE(rig.monitor->registerValue(kLED), quint16(3));
    }
};

QTEST_MAIN(TestMonitorSettingsDialog)
#include "tst_monitor_settings_dialog.moc"
