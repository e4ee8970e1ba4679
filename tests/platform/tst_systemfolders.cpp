#include "CPreferences.h"
#include "HostSystem.h"
#include "StringResources.h"
#include "SystemFolders.h"
#include "SystemVersion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Every folder is looked up under a temporary home given through the XDG
// variables; "cannot be created" is a path whose parent is a regular file.
class TestSystemFolders : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_blocker;

    void useHome(const QString &config, const QString &data)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        m_blocker = m_home.filePath("plain-file");
        QFile f(m_blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    void init() { useHome(m_home.filePath("config"), m_home.filePath("data")); }

    void systemFoldersAreCreated()
    {
        QCOMPARE(GetPreferencesFolder(), m_home.filePath("config"));
        QCOMPARE(GetMyDocumentsFolder(), m_home.filePath("data"));
        QCOMPARE(GetDefaultProfileLocationPath(0), m_home.filePath("data/icc"));
        QVERIFY(QDir(m_home.filePath("config")).exists());
        QVERIFY(QDir(m_home.filePath("data/icc")).exists());
    }

    void dataFolders()
    {
        const QString base = m_home.filePath("data/Orvane/Pelzora");
        QVERIFY(GetMCSFolder(false).isEmpty());
        QVERIFY(!QDir(base).exists()); // asking without create creates nothing
        QCOMPARE(GetTargetsFolder(true), base + "/Targets/");
        QVERIFY(QDir(base + "/Targets").exists());
        QCOMPARE(GetMCSFolder(true), base + "/Calibration Settings/");
        QCOMPARE(GetMCSFolder(false), base + "/Calibration Settings/");
    }

    void foldersThatCannotBeCreatedAreEmpty()
    {
        useHome(m_blocker + "/config", m_blocker + "/data");
        QVERIFY(GetPreferencesFolder().isEmpty());
        QVERIFY(GetMyDocumentsFolder().isEmpty());
        QVERIFY(GetDefaultProfileLocationPath(0).isEmpty());
        QVERIFY(GetMCSFolder(true).isEmpty());
        QVERIFY(GetTargetsFolder(true).isEmpty());
    }

    // The preferences file lands in the configuration folder, and profiles
    // in the user's folder even though the stored choice says computer.
    void preferencesThroughThePlatform()
    {
        pz::ScopedHostSystem host(pz::platformHostSystem());
        const QString file = m_home.filePath("config/") + GetStringResource(12);
        QFile::remove(file);
        {
            CPreferences p;
            QCOMPARE(p.GetPreferencesFileNameAndPath(), file);
            QCOMPARE(int(p.m_ProfileStorageLocation), 1);
            QCOMPARE(int(p.GetProfileStorageLocation()), 0);
            QCOMPARE(p.GetICCProfileLocation(), m_home.filePath("data/icc"));
        }
        QVERIFY(QFile::exists(file));
    }

    void versionNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<uint>("bugfix");
        QTest::newRow("debian") << "12" << true << 12u << 0u << 0u;
        QTest::newRow("ubuntu") << "22.04" << true << 22u << 4u << 0u;
        QTest::newRow("kernel") << "6.1.0-18-amd64" << true << 6u << 1u << 0u;
        QTest::newRow("four parts") << "10.15.7.1" << true << 10u << 15u << 7u;
        QTest::newRow("unknown") << "unknown" << false << 0u << 0u << 0u;
        QTest::newRow("empty") << "" << false << 0u << 0u << 0u;
    }
    void versionNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(uint, major);
        QFETCH(uint, minor);
        QFETCH(uint, bugfix);
        unsigned a = 9, b = 9, c = 9;
        QCOMPARE(pz::parseVersionNumbers(text, a, b, c), ok);
        QCOMPARE(a, major);
        QCOMPARE(b, minor);
        QCOMPARE(c, bugfix);
    }

    void systemVersion()
    {
        unsigned major = 0, minor = 0, bugfix = 0;
        QVERIFY(GetMacOSVersion(major, minor, bugfix));
        QVERIFY(major > 0);
        QString name;
        QVERIFY(GetOSVersionName(name));
        QVERIFY(name.endsWith(QString("%1.%2.%3").arg(major).arg(minor).arg(bugfix)));
    }
};

QTEST_GUILESS_MAIN(TestSystemFolders)
#include "tst_systemfolders.moc"
