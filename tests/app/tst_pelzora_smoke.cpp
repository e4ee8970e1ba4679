// Starts the built program on the simulated devices, offscreen, in a
// temporary home: "-auto" ends by itself; a second instance steps aside
// while the first runs; SIGTERM ends a run cleanly. Every run leaves the
// data file.

#include "StringResources.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestPelzoraSmoke : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QString dataFile() const
    {
        return m_home.filePath("config") + QLatin1Char('/') + GetStringResource(13);
    }

    void prepare(QProcess &process)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PELZORA_SIMULATE", "1");
        env.insert("PELZORA_SIM_SPEED", "500");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
        env.insert("XDG_DATA_HOME", m_home.filePath("data"));
        env.insert("PELZORA_SIM_STATE", m_home.filePath("data/monitor.state"));
        // Qt warns on stderr without a runtime folder of the user's own.
        env.insert("XDG_RUNTIME_DIR", m_home.filePath("runtime"));
        env.remove("PELZORA_LANG");
        process.setProcessEnvironment(env);
        process.setProgram(QStringLiteral(PZ_PELZORA_EXECUTABLE));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(QDir(m_home.path()).mkdir("runtime"));
        QVERIFY(QFile::setPermissions(m_home.filePath("runtime"), QFile::ReadOwner
                                          | QFile::WriteOwner | QFile::ExeOwner));
    }
    void init()
    {
        QFile::remove(dataFile());
    }

    // The uncalibrated display's notice counts down its 60 wall-clock
    // seconds (the program's faster clock does not shorten what a person
    // reads), then the run ends by itself.
    void autoRunEnds()
    {
        QProcess pelzora;
        prepare(pelzora);
        pelzora.setArguments({"-auto"});
        pelzora.start();
        QVERIFY(pelzora.waitForFinished(240000));
        QCOMPARE(pelzora.exitStatus(), QProcess::NormalExit);
        QVERIFY2(pelzora.exitCode() == 0, pelzora.readAllStandardError().constData());
        QVERIFY(QFile::exists(dataFile()));
    }

    void secondInstanceAndTermination()
    {
        QProcess first;
        prepare(first);
        first.start();
        QVERIFY(first.waitForStarted());
        // The lock is taken before the controller is built.
        const QString lock = dataFile() + ".lock";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 60000);

        QProcess second;
        prepare(second);
        second.setArguments({"-auto"});
        second.start();
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(second.exitCode(), 0);
        const QList<QByteArray> lines = second.readAllStandardError().trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().contains("already running"));
        QCOMPARE(first.state(), QProcess::Running);

        // Give the first instance time to get through start-up, then end it.
        QTest::qWait(2000);
        first.terminate();
        QVERIFY(first.waitForFinished(120000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QVERIFY2(first.exitCode() == 0, first.readAllStandardError().constData());
        QVERIFY(QFile::exists(dataFile()));
        QVERIFY(!QFile::exists(lock));
    }
};

QTEST_MAIN(TestPelzoraSmoke)
#include "tst_pelzora_smoke.moc"
