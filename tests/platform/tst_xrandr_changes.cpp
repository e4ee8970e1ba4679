// The RandR watcher: a change on the X server's outputs reaches
// pz::displayChanges(). Needs a virtual X server with RandR (the
// program's own, TestXServer.h); without it only the no-server case runs.

#include "DisplayChanges.h"
#include "TestXServer.h"
#include "XRandRChangeWatcher.h"
#include "XRandRConnection.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pz;

class tst_XRandRChanges : public QObject {
    Q_OBJECT

private slots:
    void withoutServerNothingIsWatched()
    {
        XRandRChangeWatcher watcher(QByteArrayLiteral(":4095"));
        QVERIFY(!watcher.isWatching());
    }

    void anEdidSwappedBehindAnOutputIsAnnounced()
    {
        const QByteArray server = pz::test::testXDisplay();
        if (server.isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        XRandRConnection x(server);
        QVERIFY2(x.isAvailable(), qPrintable(x.unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(x.activeOutputs(outputs));
        QVERIFY(!outputs.isEmpty());

        XRandRChangeWatcher watcher(server);
        QVERIFY(watcher.isWatching());
        QSignalSpy changes(&displayChanges(), &DisplayChanges::changed);
        QTest::qWait(50);
        QCOMPARE(changes.count(), 0);

        // Same output, same mode: only the EDID property changes.
        QByteArray edid(128, '\0');
        for (int i = 0; i < edid.size(); ++i)
            edid[i] = char(i * 7 + 3);
        QVERIFY(x.setOutputEdid(outputs.first().id, edid));
        QTRY_VERIFY(changes.count() >= 1);
        QVERIFY(x.setOutputEdid(outputs.first().id, QByteArray()));
    }
};

QTEST_GUILESS_MAIN(tst_XRandRChanges)
#include "tst_xrandr_changes.moc"
