#include "RunningProcesses.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A child started from a copy of sleep named like a sensor utility stands in
// for the utility.
class TestRunningProcesses : public QObject {
    Q_OBJECT
private slots:
    void findsAndEndsOnlyWhenAsked()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString utility = dir.filePath("Spyder3Utility");
        QVERIFY(QFile::copy("/bin/sleep", utility));
        QFile::setPermissions(utility, QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(!IsApplicationRunning("Spyder3Utility", false));

        QProcess child;
        child.start(utility, {"60"});
        QVERIFY(child.waitForStarted());

        QVERIFY(IsApplicationRunning("spyder3utility", false));
        QVERIFY(IsApplicationRunning("SPYDER3UTILITY", false));
        QVERIFY(!IsApplicationRunning("Spyder3", false));
        QVERIFY(!child.waitForFinished(100)); // still running: nothing was sent

        QVERIFY(IsApplicationRunning("sPyDeR3uTiLiTy", true));
        QVERIFY(child.waitForFinished(5000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit); // ended by SIGTERM
        QVERIFY(!IsApplicationRunning("Spyder3Utility", false));
    }

    // Names longer than the kernel keeps are matched by the program file.
    void longNames()
    {
        QTemporaryDir dir;
        const QString utility = dir.filePath("X-Rite ColorMunki Service");
        QVERIFY(QFile::copy("/bin/sleep", utility));
        QProcess child;
        child.start(utility, {"60"});
        QVERIFY(child.waitForStarted());
        QVERIFY(IsApplicationRunning("x-rite colormunki service", false));
        QVERIFY(IsApplicationRunning("X-Rite ColorMunki Service", true));
        QVERIFY(child.waitForFinished(5000));
    }

    void neverThisProcess()
    {
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        QVERIFY(!IsApplicationRunning(self, true));
        QVERIFY(!IsApplicationRunning(QString(), true));
    }
};

QTEST_GUILESS_MAIN(TestRunningProcesses)
#include "tst_runningprocesses.moc"
