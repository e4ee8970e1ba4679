// The real start-up on the simulated desktop: the controller opens the main
// window through the application's windows, with the display list filled,
// the test pattern window created and reachable from the Tools menu; the
// program ends when the main window is closed.

#include "ControllerRig.h"
#include "TestSupport.h"

#include "PZ_Main_Dialog.h"
#include "Resources.h"
#include "SimulatedScreens.h"
#include "pz_test_pattern_dialog.h"

#include <QtTest>

using namespace pz::test;

class tst_MainWindowStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }
    void theControllerOpensTheFilledMainWindow();
    void closingTheMainWindowEndsTheProgram();
};

void tst_MainWindowStartup::theControllerOpensTheFilledMainWindow()
{
    PZ_REQUIRE_SIMULATED_SCREENS();
    ControllerRig rig;
    MasterControl &c = rig.start();
    QVERIFY(p_PZ_Main_Dialog);
    PZ_Main_Dialog &w = *p_PZ_Main_Dialog;
    QVERIFY(!w.isVisible());
    QCOMPARE(w.main_Display_comboBox->count(), 0); // until the start-up is complete
    QVERIFY(rig.waitOpened(c));

    QVERIFY(w.isVisible());
    QCOMPARE(w.main_Display_comboBox->count(), 2);
    QCOMPARE(w.main_Display_comboBox->itemText(0), QStringLiteral("Display 1 - HXSIM24"));
    QCOMPARE(w.main_Display_comboBox->currentIndex(), 0);
    QCOMPARE(w.main_Target_comboBox->currentText(), GetStringResource(206));
    // The i1 Display Pro was found and the HXSIM24 answers: Calibrate is on.
    QTRY_VERIFY(w.main_Calibrate__pushButton->isEnabled());
    QVERIFY(w.action_Ambient_Light_Measurement->isEnabled());
    QCOMPARE(information_window->parent(), &w);

    // Tools -> Test Pattern shows the window over the HXSIM24 and hides it.
    QVERIFY(test_pattern_window);
    QCOMPARE(test_pattern_window->parent(), &w);
    w.action_Test_Pattern->trigger();
    QVERIFY(test_pattern_window->isVisible());
    QCOMPARE(test_pattern_window->geometry(), kDisplay1);
    w.action_Test_Pattern->trigger();
    QVERIFY(!test_pattern_window->isVisible());

    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString path = pz::test::picturePath("mainwindow_startup.png");
    QVERIFY(w.grab().save(path));
    qInfo("main window after start-up: %s", qPrintable(path));

    rig.stop();
    QVERIFY(!p_PZ_Main_Dialog);
    QVERIFY(!test_pattern_window);
}

void tst_MainWindowStartup::closingTheMainWindowEndsTheProgram()
{
    ControllerRig rig;
    MasterControl &c = rig.start();
    QVERIFY(rig.waitOpened(c));
    PZ_Main_Dialog &w = *p_PZ_Main_Dialog;
    c.GetPreferences()->SetDontShowAgainMessageSet(3);

    // With the test pattern and information windows open as well.
    w.action_Test_Pattern->trigger();
    w.action_Information_Window->trigger();
    QVERIFY(test_pattern_window->isVisible());
    QVERIFY(information_window->isVisible());

    w.action_Test_Pattern->trigger(); // hide, then show again: a plain top-level
    w.action_Test_Pattern->trigger();
    w.actionE_xit->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(!test_pattern_window->isVisible());
    QVERIFY(!information_window->isVisible());
    // Nothing is left that would keep quit-on-last-window from ending the
    // event loop (the application object emits lastWindowClosed only inside
    // exec(), which a test does not run).
    for (QWindow *window : QGuiApplication::topLevelWindows())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
}

QTEST_MAIN(tst_MainWindowStartup)
#include "tst_mainwindow_startup.moc"
