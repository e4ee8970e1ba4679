#include "SingleInstance.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
    }
    void cleanup() { pz::releaseApplicationLock(); }

    void firstInstanceTakesTheLock()
    {
        QVERIFY(!is_application_running());
        const QString path = pz::applicationLockFilePath();
        QVERIFY(path.startsWith(m_home.filePath("config")));
        QVERIFY(QFile::exists(path));
        // Asking again does not find itself.
        QVERIFY(!is_application_running());
        pz::releaseApplicationLock();
        QVERIFY(!QFile::exists(path));
    }

    void heldLockMeansRunning()
    {
        QLockFile other(pz::applicationLockFilePath());
        QVERIFY(other.tryLock(0));
        QVERIFY(is_application_running());
        QVERIFY(is_application_running());
    }

    // A lock whose owner has ended is taken over.
    void staleLockIsTakenOver()
    {
        QFile stale(pz::applicationLockFilePath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999999\npelzora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        QVERIFY(!is_application_running());
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
