// The calibration window keeps the display awake for its whole life: with
// the Linux backend on a private session bus, the fake screen saver sees
// one Inhibit when the window opens and the UnInhibit of the same cookie
// when it goes; without bus and X server nothing fails.

#include "CalibrateDialogRig.h"
#include "LinuxDisplayAwake.h"
#include "Resources.h"
#include "ScreenSaverBus.h"
#include "SimulatedScreens.h"

#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

using namespace pz;
using namespace pz::test;

class TestCalibrateDialogAwake : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qunsetenv("DISPLAY");
        initResources();
        PZ_REQUIRE_SIMULATED_SCREENS();
    }

    void windowLifeIsInhibited()
    {
        ScreenSaverBus bus;
        QString why;
        if (!bus.start(&why))
            QSKIP(qPrintable(why));
        QVERIFY(bus.serve(true));
        LinuxDisplayAwake backend(bus.client());
        ScopedDisplayAwake installed(&backend);

        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open();
        const QStringList opened = bus.takeCalls();
        QCOMPARE(opened.size(), 1);
        const QRegularExpressionMatch inhibit =
            QRegularExpression(QStringLiteral("^Inhibit\\(Pelzora,.+\\)=(\\d+)$")).match(opened.first());
        QVERIFY2(inhibit.hasMatch(), qPrintable(opened.first()));

        QTimer *keepAwake = d->findChild<QTimer *>("screen_saver_timer");
        QVERIFY(keepAwake && keepAwake->isActive());
        QCOMPARE(keepAwake->interval(), PZ_Calibrate_Dialog::kKeepAwakeMs);
        d->update_screen_saver_preventer_timer();
        QVERIFY(bus.takeCalls().isEmpty());

        QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
        QVERIFY(bus.takeCalls().isEmpty());   // still open until destroyed
        d.reset();
        QCOMPARE(bus.takeCalls(), QStringList({"UnInhibit(" + inhibit.captured(1) + ")"}));
    }

    void nothingToAskFailsNothing()
    {
        LinuxDisplayAwake backend(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/pz-bus"),
                                                                QStringLiteral("pz-no-bus")));
        ScopedDisplayAwake installed(&backend);
        CalibrateDialogRig rig(CalibrateDialogRig::NoSensor);
        auto d = rig.open();
        QCOMPARE(backend.means(), LinuxDisplayAwake::kNothing);
        d->update_screen_saver_preventer_timer();
        QTest::mouseClick(d->cancel_pushButton, Qt::LeftButton);
        QCOMPARE(d->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestCalibrateDialogAwake)
#include "tst_calibrate_dialog_awake.moc"
