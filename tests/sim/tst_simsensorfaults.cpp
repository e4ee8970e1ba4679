// The fault plumbing every simulated sensor device uses: failing and timing
// out named calls, and unplugging now or in the middle of a wait, on the
// virtual clock.

#include "Clock.h"
#include "SimSensorFaults.h"

#include <QtTest>
#include <memory>

using namespace pz;

class TestSimSensorFaults : public QObject {
    Q_OBJECT

    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_clockScope;

private slots:
    void init()
    {
        m_clockScope = std::make_unique<ScopedClock>(&m_clock);
        m_clock.clearWaits();
    }
    void cleanup() { m_clockScope.reset(); }

    void failingCalls()
    {
        SimSensorFaults faults;
        faults.failNext("Measure", -5, 2);
        faults.timeOutNext("Measure", -7);
        faults.failNext("Open", -9, SimSensorFaults::kForever);
        QCOMPARE(faults.pendingFaults("Measure"), 3);

        QVERIFY(!faults.takeFault("Calibrate", 1000));
        QCOMPARE(faults.takeFault("Measure", 3000000).value_or(0), -5);
        QCOMPARE(faults.takeFault("Measure", 3000000).value_or(0), -5);
        QVERIFY(m_clock.waitsUs().isEmpty());
        QCOMPARE(faults.takeFault("Measure", 3000000).value_or(0), -7);
        QCOMPARE(m_clock.waitsUs(), QVector<qint64>{3000000});
        QVERIFY(!faults.takeFault("Measure", 3000000));
        QCOMPARE(faults.pendingFaults("Measure"), 0);

        for (int i = 0; i < 5; ++i)
            QCOMPARE(faults.takeFault("Open").value_or(0), -9);
        faults.clear();
        QVERIFY(!faults.takeFault("Open"));
        QCOMPARE(m_clock.waitsUs(), QVector<qint64>{3000000});
    }

    void unplugAndReplug()
    {
        SimSensorFaults faults;
        QVERIFY(!faults.isLost());
        QCOMPARE(faults.generation(), quint64(0));

        // Lost 1.5 s from now: in the middle of the second 1 s window, which
        // ends at the loss.
        faults.loseAfterUs(1500000);
        QVERIFY(!faults.isLost());
        QVERIFY(faults.sleepUs(1000000));
        QVERIFY(!faults.sleepUs(1000000));
        QVERIFY(faults.isLost());
        QVERIFY(!faults.sleepUs(1000000));
        QCOMPARE(m_clock.waitsUs(), (QVector<qint64>{1000000, 500000}));

        faults.replug();
        QVERIFY(!faults.isLost());
        QCOMPARE(faults.generation(), quint64(1));
        QVERIFY(faults.sleepUs(2000000));

        faults.loseNow();
        QVERIFY(faults.isLost());
        // An earlier loss is not postponed by a later one.
        faults.loseAfterUs(5000000);
        QVERIFY(faults.isLost());
        faults.replug();
        QCOMPARE(faults.generation(), quint64(2));
        QVERIFY(!faults.isLost());
    }
};

QTEST_GUILESS_MAIN(TestSimSensorFaults)
#include "tst_simsensorfaults.moc"
