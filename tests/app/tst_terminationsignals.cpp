#include "TerminationSignals.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

class TestTerminationSignals : public QObject {
    Q_OBJECT

private slots:
    void endsTheLoop_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void endsTheLoop()
    {
        QFETCH(int, signalNumber);
        struct sigaction before = {};
        sigaction(signalNumber, nullptr, &before);
        {
            pz::TerminationSignals termination;
            QSignalSpy spy(&termination, &pz::TerminationSignals::terminationRequested);
            QCOMPARE(::raise(signalNumber), 0);
            QVERIFY(spy.wait(5000));
            QCOMPARE(spy.size(), 1);
            QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
        }
        struct sigaction after = {};
        sigaction(signalNumber, nullptr, &after);
        QCOMPARE(reinterpret_cast<void *>(after.sa_handler),
                 reinterpret_cast<void *>(before.sa_handler));
    }
};

QTEST_MAIN(TestTerminationSignals)
#include "tst_terminationsignals.moc"
