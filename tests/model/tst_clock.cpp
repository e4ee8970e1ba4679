#include "Clock.h"
#include <QtTest>

using namespace pz;

class TestClock : public QObject {
    Q_OBJECT
private slots:
    void waitMsRoundsToTicks_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<qint64>("ticks");
        QTest::newRow("0") << 0 << qint64(1);
        QTest::newRow("16") << 16 << qint64(1);
        QTest::newRow("50") << 50 << qint64(4);
        QTest::newRow("100") << 100 << qint64(7);
        QTest::newRow("1000") << 1000 << qint64(61);
        QTest::newRow("2000") << 2000 << qint64(121);
        QTest::newRow("negative") << -1000 << qint64(1);
    }
    void waitMsRoundsToTicks()
    {
        QFETCH(int, ms);
        QFETCH(qint64, ticks);
        VirtualClock virt;
        ScopedClock scope(&virt);
        WaitMS(ms);
        QCOMPARE(virt.waitsTicks(), QVector<qint64>{ticks});
        QCOMPARE(virt.nowUs(), ticksToUs(ticks));
    }

    void scopedClockRestoresPrevious()
    {
        IClock *before = &programClock();
        {
            VirtualClock virt;
            ScopedClock scope(&virt);
            QCOMPARE(&programClock(), static_cast<IClock *>(&virt));
        }
        QCOMPARE(&programClock(), before);
    }

    // A thread that is being stopped does not sit out a wait: an hour's wait
    // of the real clock returns at once. The GUI thread's work is never
    // abandoned.
    void abandonedWorkEndsWaits()
    {
        bool abandoned = false;
        QThread *worker = QThread::create([&] {
            QThread::currentThread()->requestInterruption();
            abandoned = workAbandoned();
            RealClock(1.0).sleepUs(qint64(3600) * 1000000);
        });
        worker->start();
        QVERIFY(worker->wait(60000));
        delete worker;
        QVERIFY(abandoned);
        QThread::currentThread()->requestInterruption();
        QVERIFY(!workAbandoned());
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
