// Profile assignment on the simulated desktop: what is recorded per
// display, refusals, and the seam it takes over while installed.

#include "../platform/IccProfileFixture.h"
#include "SimDesktop.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace pz;

class TestSimDisplayProfiles : public QObject {
    Q_OBJECT
private slots:
    void recordsAndRefuses()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("display.icc");
        const QByteArray bytes = test::srgbProfileBytes();
        QVERIFY(test::writeBytes(path, bytes));

        SimDesktop desktop;
        desktop.addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
        desktop.addPlainDisplay(2, QRectF(1920, 0, 1920, 1080), QByteArray());
        QCOMPARE(displayProfiles().assign(1, path), -2); // not installed yet
        desktop.install();
        QCOMPARE(displayProfiles().assign(2, path), 0);
        QCOMPARE(desktop.profiles().assignedPath(2), path);
        QCOMPARE(desktop.profiles().assignedProfile(2), bytes);
        QVERIFY(desktop.profiles().assignedPath(1).isEmpty());
        QCOMPARE(displayProfiles().assign(3, path), -2); // no such display
        QCOMPARE(displayProfiles().assign(1, dir.filePath("missing.icc")), -1);
        desktop.profiles().setRefuses(true);
        QCOMPARE(displayProfiles().assign(1, path), -2);
        QVERIFY(desktop.profiles().assignedPath(1).isEmpty());

        desktop.removeDisplay(2);
        QVERIFY(desktop.profiles().assignedPath(2).isEmpty());
        desktop.uninstall();
        QVERIFY(&displayProfiles() != &desktop.profiles());
        desktop.profiles().setRefuses(false);
        QCOMPARE(displayProfiles().assign(1, path), -2);
    }
};

QTEST_GUILESS_MAIN(TestSimDisplayProfiles)
#include "tst_simdisplayprofiles.moc"
