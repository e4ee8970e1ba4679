// The restore progress box with the real worker thread on the simulated
// HXSIM24: what verify and restore return through exec(), the texts and
// the bar, the monitor's progress messages, and a box the user cannot end.

#include "CAdjustValue.h"
#include "TestSupport.h"
#include "CDDCMonitor.h"
#include "CTargetValue.h"
#include "CalibrationRig.h"
#include "PZ_restore_monitor_settings_dialog.h"
#include "Resources.h"
#include "StringResources.h"

#include <QLabel>
#include <QLayout>
#include <QMutex>
#include <QScopeGuard>
#include <QProgressBar>
#include <QWaitCondition>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

// The monitor registers of the nine stored monitor-specific values.
const quint16 kStoredRegisters[] = {0x1055, 0x1056, 0x1057, 0x1058, 0x1059,
                                    0x105A, 0x1052, 0x1053, 0x1054};

struct StoredCalibration {
    StoredCalibration()
    {
        target.CreateDefault();
        const qint16 values[] = {641, 331, 302, 603, 154, 65, 316, 327, 9};
        std::copy(std::begin(values), std::end(values), result.m_MonitorSpecificValues);
        result.m_Brightness = 118;
        result.m_CalibrationDateTime = QDateTime(QDate(2026, 11, 30), QTime(8, 15));
    }
    CTargetValue target;
    CAdjustValue result;
};

// A program clock whose waits block while it is held, so a worker thread
// stays in its run until the test lets it go.
class HoldingClock : public IClock {
public:
    void sleepUs(qint64 us) override
    {
        QMutexLocker lock(&m_mutex);
        ++m_waiting;
        while (m_held)
            m_released.wait(&m_mutex);
        --m_waiting;
        m_now += us;
    }
    qint64 nowUs() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_now;
    }
    void hold()
    {
        QMutexLocker lock(&m_mutex);
        m_held = true;
    }
    void release()
    {
        QMutexLocker lock(&m_mutex);
        m_held = false;
        m_released.wakeAll();
    }
    bool somebodyWaits() const
    {
        QMutexLocker lock(&m_mutex);
        return m_waiting > 0;
    }

private:
    mutable QMutex m_mutex;
    QWaitCondition m_released;
    bool m_held = false;
    int m_waiting = 0;
    qint64 m_now = 0;
};

using Function = PZ_restore_monitor_settings_dialog::typeRestoreFunction;

QLabel *textLabel(QDialog &d)
{
    return d.findChild<QLabel *>("restore_settings_progress_text_label");
}
QLabel *stepLabel(QDialog &d)
{
    return d.findChild<QLabel *>("restore_settings_progress_text_percentage_label");
}
QProgressBar *bar(QDialog &d) { return d.findChild<QProgressBar *>("restore_settings_progressBar"); }

struct Bench {
    explicit Bench(bool withMonitorObject = true) : rig(withMonitorObject) {}
    CalibrationRig rig;
    StoredCalibration stored;

    int run(Function function, const QString &name = QStringLiteral("Desk"))
    {
        PZ_restore_monitor_settings_dialog box(nullptr, &rig.display, &stored.target,
                                               &stored.result, function, name);
        return box.exec();
    }
};

} // namespace

class TestRestoreSettingsDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pz::initResources(); }

    void restoreThenVerify()
    {
        Bench bench;
        SimOrvaneMonitor &sim = *bench.rig.sim;
        QCOMPARE(bench.run(PZ_restore_monitor_settings_dialog::kRestoreSettings), 0);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(int(sim.registerValue(kStoredRegisters[i])),
                     int(bench.stored.result.m_MonitorSpecificValues[i]));
        QCOMPARE(int(sim.registerValue(0x2B3)), 118);
        QCOMPARE(bench.run(PZ_restore_monitor_settings_dialog::kVerifySettings), 1);

        // Changed over DDC/CI behind the program's back.
        sim.setRegister(0x1052, 320);
        QCOMPARE(bench.run(PZ_restore_monitor_settings_dialog::kVerifySettings), 0);
    }

    void textsBarAndFlags()
    {
        Bench bench;
        {
            PZ_restore_monitor_settings_dialog box(nullptr, &bench.rig.display,
                                                   &bench.stored.target, &bench.stored.result,
                                                   PZ_restore_monitor_settings_dialog::kRestoreSettings,
                                                   QString());
            QCOMPARE(box.objectName(), QStringLiteral("PZ_restore_monitor_settings_dialogClass"));
            QCOMPARE(box.windowTitle(), GetStringResource(1));
            QCOMPARE(textLabel(box)->text(), QStringLiteral("Restoring settings for HXSIM24..."));
            QCOMPARE(bar(box)->maximum(), 0);
            const Qt::WindowFlags flags = box.windowFlags();
            // No window manager frame, so no button the box cannot honour.
            QVERIFY(flags & Qt::FramelessWindowHint);
            QVERIFY(!(flags & Qt::WindowCloseButtonHint));
            QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QCOMPARE(box.layout()->sizeConstraint(), QLayout::SetFixedSize);
            QCOMPARE(box.exec(), 0);
        }
        {
            PZ_restore_monitor_settings_dialog box(nullptr, &bench.rig.display,
                                                   &bench.stored.target, &bench.stored.result,
                                                   PZ_restore_monitor_settings_dialog::kVerifySettings,
                                                   QStringLiteral("Desk left"));
            QCOMPARE(textLabel(box)->text(), QStringLiteral("Verifying settings for Desk left..."));
            QCOMPARE(bar(box)->value(), 24);
            QCOMPARE(bar(box)->maximum(), 100);
            QCOMPARE(box.exec(), 1);
        }
    }

    // A display the program does not drive sends no messages: verify finds
    // it changed, and the bar keeps the form's value.
    void verifyWithoutMessages()
    {
        Bench bench(false);
        QVERIFY(!bench.rig.display.m_pDDCMonitor);
        PZ_restore_monitor_settings_dialog box(nullptr, &bench.rig.display, &bench.stored.target,
                                               &bench.stored.result,
                                               PZ_restore_monitor_settings_dialog::kVerifySettings,
                                               QStringLiteral("Side"));
        QCOMPARE(box.exec(), 0);
        QCOMPARE(textLabel(box)->text(), QStringLiteral("Verifying settings for Side..."));
        QCOMPARE(bar(box)->value(), 24);
        QCOMPARE(bar(box)->maximum(), 100);
        QVERIFY(stepLabel(box)->text().isEmpty());
    }

    // Held in its run, the box ignores Escape and close(), and follows the
    // monitor's messages; released, it ends with the thread's code.
    void onlyTheThreadEndsTheBox()
    {
        Bench bench;
        HoldingClock clock;
        ScopedClock clockScope(&clock);
        clock.hold();
        PZ_restore_monitor_settings_dialog box(nullptr, &bench.rig.display, &bench.stored.target,
                                               &bench.stored.result,
                                               PZ_restore_monitor_settings_dialog::kRestoreSettings,
                                               QStringLiteral("Desk"));
        CDDCMonitor *monitor = bench.rig.display.m_pDDCMonitor;
        QVERIFY(monitor);
        bool checked = false;
        QTimer::singleShot(0, [&] {
            // Whatever fails here, the thread must end.
            const auto letGo = qScopeGuard([&] { clock.release(); });
            QVERIFY(QTest::qWaitFor([&] { return clock.somebodyWaits(); }, 10000));
            QVERIFY(box.isVisible());
            QTest::keyClick(&box, Qt::Key_Escape);
            QVERIFY(box.isVisible());
            box.close();
            QVERIFY(box.isVisible());
            box.reject();
            QVERIFY(box.isVisible());

            // The monitor's messages, from this thread as from the worker.
            monitor->Broadcast_Message(2, 8);
            monitor->Broadcast_Message(1, 0);
            monitor->Broadcast_Message(1, 0);
            monitor->Broadcast_Message(3, 99999);
            monitor->Broadcast_Message(7, 5);
            QCoreApplication::processEvents();
            QCOMPARE(bar(box)->maximum(), 8);
            QCOMPARE(bar(box)->value(), 2);
            QCOMPARE(stepLabel(box)->text(), QStringLiteral("Missing message text"));
            monitor->Broadcast_Message(3, 701);
            QCoreApplication::processEvents();
            QCOMPARE(stepLabel(box)->text(), GetStringResource(701));
            QVERIFY(box.grab().save(pz::test::picturePath("restore_settings_box.png")));
            checked = true;
        });
        QCOMPARE(box.exec(), 0);
        QVERIFY(checked);
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestRestoreSettingsDialog)
#include "tst_restore_settings_dialog.moc"
