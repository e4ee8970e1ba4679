// Naming, writing and assigning display profiles: the proposals and the
// prompt hook, names that must stay inside the profile folder, replacing an
// old file, every failure with the old file kept byte for byte and nothing
// left behind, and assignment on the simulated desktop.

#include "CICCDisplayProfile.h"
#include "ProfileFixture.h"
#include "ProfileNaming.h"
#include "SimDesktop.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace pz::test;

namespace {

const QString kProposedName = QStringLiteral("HXSIM24 SIM0001.icc");
const QString kProposedDescription = QStringLiteral("HXSIM24 SIM0001 2024-03-05 14-07 D65 2.20");

// Runs a scope as an unprivileged user when the tests run as root, for whom
// every folder is writable.
class Unprivileged {
public:
    static constexpr uid_t kNobody = 65534;
    Unprivileged() : m_active(geteuid() == 0)
    {
        if (m_active && (setresgid(kNobody, kNobody, 0) != 0 || setresuid(kNobody, kNobody, 0) != 0))
            qFatal("cannot drop privileges");
    }
    ~Unprivileged()
    {
        if (m_active && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("cannot regain privileges");
    }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

    // Gives a file to the user the scope runs as, so "own file, locked
    // folder" holds for root too.
    static bool handOver(const QString &path)
    {
        return geteuid() != 0 || chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
    }

private:
    bool m_active;
};

// A monitor record with a decodable EDID (made from the fixture's bytes)
// or with none.
_MonitorData monitorWithEdid(bool withEdid)
{
    _MonitorData monitor;
    if (withEdid) {
        for (int i = 0; i < 128; ++i)
            monitor.m_EDID[i] = uchar(i * 7 + 3);
        monitor.m_EDIDValid = true;
    }
    return monitor;
}

// The first eight hex digits of the MD5 of monitorWithEdid(true)'s EDID.
QString edidDigest()
{
    const _MonitorData monitor = monitorWithEdid(true);
    const QByteArray edid(reinterpret_cast<const char *>(monitor.m_EDID), sizeof monitor.m_EDID);
    return QString::fromLatin1(QCryptographicHash::hash(edid, QCryptographicHash::Md5).toHex().left(8));
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void makeTraversable(const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                    | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                    | QFile::ExeOther);
}

} // namespace

class TestIccProfileFile : public QObject {
    Q_OBJECT

    std::unique_ptr<ProfileHome> m_home;

    // A writer for the records with its name generated.
    std::unique_ptr<CICCDisplayProfile> namedWriter(const ProfileRecords &records)
    {
        auto writer = std::make_unique<CICCDisplayProfile>(records.target, records.result,
                                                           records.monitor, nullptr);
        writer->GenerateDefaultFileNameandDescription();
        return writer;
    }

private slots:
    void init() { m_home = std::make_unique<ProfileHome>(); }
    void cleanup()
    {
        pz::setProfileNamePrompt({});
        m_home.reset();
    }

    void automaticNames()
    {
        ProfileRecords records;
        bool asked = false;
        pz::setProfileNamePrompt([&](QString &, QString &) { return asked = true; });
        auto writer = namedWriter(records);
        QVERIFY(!asked); // profiles are named automatically by default
        QCOMPARE(writer->GetAdjustValue().GetProfileName(), kProposedName);
        QCOMPARE(writer->GetAdjustValue().GetProfileDescription(), kProposedDescription);
        QCOMPARE(writer->GetProfileNameAndPath(), m_home->profileFolder() + "/" + kProposedName);
        QCOMPARE(writer->DisAssociateCurrentColorProfile(), 0);
    }

    void prompt_data()
    {
        QTest::addColumn<bool>("hook");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("typedName");
        QTest::addColumn<QString>("typedDescription");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("no prompt registered") << false << true << "x" << "y" << kProposedName
                                              << kProposedDescription;
        QTest::newRow("accepted") << true << true << "My Name" << "Mine" << "My Name.icc" << "Mine";
        QTest::newRow("extension in capitals") << true << true << "Name.ICC" << "d" << "Name.ICC" << "d";
        QTest::newRow("cancelled") << true << false << "Typed" << "Typed" << kProposedName
                                   << kProposedDescription;
        QTest::newRow("empty name") << true << true << "" << "d" << kProposedName << "d";
        QTest::newRow("blank name") << true << true << "  " << "d" << kProposedName << "d";
        QTest::newRow("separators and controls")
            << true << true << "a/b\\c\td" << "d" << "a_b_c_d.icc" << "d";
        QTest::newRow("leading dot") << true << true << "..hidden" << "d" << "_.hidden.icc" << "d";
    }
    void prompt()
    {
        QFETCH(bool, hook);
        QFETCH(bool, accept);
        QFETCH(QString, typedName);
        QFETCH(QString, typedDescription);
        QFETCH(QString, name);
        QFETCH(QString, description);
        m_home->preferences().SetAutoSaveICC(false);
        QString shownName, shownDescription;
        if (hook) {
            pz::setProfileNamePrompt([&](QString &fileName, QString &text) {
                shownName = fileName;
                shownDescription = text;
                fileName = typedName;
                text = typedDescription;
                return accept;
            });
        }
        ProfileRecords records;
        auto writer = namedWriter(records);
        if (hook) {
            QCOMPARE(shownName, QStringLiteral("HXSIM24 SIM0001"));
            QCOMPARE(shownDescription, kProposedDescription);
        }
        QCOMPARE(writer->GetAdjustValue().GetProfileName(), name);
        QCOMPARE(writer->GetAdjustValue().GetProfileDescription(), description);
        QCOMPARE(writer->CreateProfileFile(true), 0);
        QCOMPARE(folderEntries(m_home->profileFolder()), QStringList{name});
    }

    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString ext = QStringLiteral(".icc");
        QTest::newRow("plain") << "Display" << "Display.icc";
        QTest::newRow("lower-case extension kept") << "a.icc" << "a.icc";
        QTest::newRow("extension only") << ".icc" << "_icc.icc";
        QTest::newRow("line feed") << "a\nb" << "a_b.icc";
        QTest::newRow("255 bytes") << QString(251, 'n') << QString(251, 'n') + ext;
        QTest::newRow("cut to 255 bytes") << QString(300, 'n') << QString(251, 'n') + ext;
        QTest::newRow("cut, typed extension kept")
            << QString(300, 'n') + ".ICC" << QString(251, 'n') + ".ICC";
        // Three bytes each: 83 fit in 251, and no character is split.
        QTest::newRow("cut between characters")
            << QString(100, QChar(0x65E5)) << QString(83, QChar(0x65E5)) + ext;
        const QString pair = QString::fromUtf8("\U0001F600"); // four bytes, two units
        QTest::newRow("cut between surrogate pairs")
            << pair.repeated(70) << pair.repeated(62) + ext;
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QString safe = pz::safeProfileFileName(name, QStringLiteral("fallback"));
        QCOMPARE(safe, expected);
        QVERIFY(safe.toUtf8().size() <= pz::kMaxFileNameBytes);
    }

    void proposedNames_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("connector");
        QTest::addColumn<bool>("edid");
        QTest::addColumn<QString>("name");
        QTest::newRow("model and serial") << "HXSIM24" << "SIM0001" << "DP-1" << true
                                          << "HXSIM24 SIM0001";
        QTest::newRow("serial only") << "" << "SIM0001" << "DP-1" << true << "SIM0001";
        QTest::newRow("no serial: the connector") << "Unknown" << "" << "DP-1" << true
                                                  << "Unknown DP-1";
        QTest::newRow("no serial, no connector: the EDID")
            << "Unknown" << "" << "" << true << "Unknown EDID " + edidDigest();
        QTest::newRow("nothing but the display id") << "Unknown" << " " << "" << false
                                                    << "Unknown Display 7";
        QTest::newRow("no model, no serial") << "" << "" << "HDMI-2" << false << "HDMI-2";
    }
    void proposedNames()
    {
        QFETCH(QString, model);
        QFETCH(QString, serial);
        QFETCH(QString, connector);
        QFETCH(bool, edid);
        _MonitorData monitor = monitorWithEdid(edid);
        monitor.m_ModelName = model;
        monitor.m_SerialNumber = serial;
        monitor.m_DisplayID = 7;
        QTEST(pz::proposedProfileFileName(monitor, connector), "name");
    }

    void displaysWithoutSerialNumbersGetFilesOfTheirOwn()
    {
        pz::SimDesktop desktop;
        desktop.addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
        desktop.addPlainDisplay(2, QRectF(1920, 0, 1920, 1200), QByteArray());
        desktop.install();
        ProfileRecords records;
        records.monitor.m_ModelName = QStringLiteral("Unknown");
        records.monitor.m_SerialNumber.clear();
        QStringList paths;
        for (quint32 display : {1u, 2u, 1u}) {
            records.monitor.m_DisplayID = display;
            auto writer = namedWriter(records);
            QCOMPARE(writer->CreateProfileFile(true), 0);
            paths << writer->GetProfileNameAndPath();
            QVERIFY(!writer->GetAdjustValue().GetProfileDescription().contains("  "));
        }
        QCOMPARE(QFileInfo(paths[0]).fileName(), QStringLiteral("Unknown SIM-1.icc"));
        QCOMPARE(QFileInfo(paths[1]).fileName(), QStringLiteral("Unknown SIM-2.icc"));
        // The same display keeps its name.
        QCOMPARE(paths[2], paths[0]);
        QCOMPARE(folderEntries(m_home->profileFolder()),
                 (QStringList{"Unknown SIM-1.icc", "Unknown SIM-2.icc"}));
    }

    void namesFromTheMonitorStayInTheFolder()
    {
        ProfileRecords records;
        records.monitor.m_ModelName = QStringLiteral("../x");
        auto writer = namedWriter(records);
        QCOMPARE(writer->GetAdjustValue().GetProfileName(), QStringLiteral("_._x SIM0001.icc"));
        QCOMPARE(writer->CreateProfileFile(true), 0);
        QCOMPARE(QFileInfo(writer->GetProfileNameAndPath()).absolutePath(), m_home->profileFolder());
        QCOMPARE(folderEntries(m_home->profileFolder()), QStringList{"_._x SIM0001.icc"});

        // A stored result re-created later carries its own name.
        records.result.SetProfileName(QStringLiteral("../../evil.icc"));
        CICCDisplayProfile stored(records.target, records.result, records.monitor, nullptr);
        QCOMPARE(stored.GetProfileNameAndPath(), m_home->profileFolder() + "/_._.._evil.icc");
    }

    void anOldProfileIsReplaced()
    {
        ProfileRecords records;
        auto writer = namedWriter(records);
        writeFile(writer->GetProfileNameAndPath(), "old profile");
        QCOMPARE(writer->CreateProfileFile(true), 0);
        QVERIFY(openProfile(fileBytes(writer->GetProfileNameAndPath())));
        QCOMPARE(folderEntries(m_home->profileFolder()), QStringList{kProposedName});
    }

    void aDirectoryAtThePath()
    {
        ProfileRecords records;
        auto writer = namedWriter(records);
        QVERIFY(QDir().mkpath(writer->GetProfileNameAndPath() + "/inside"));
        QCOMPARE(writer->CreateProfileFile(true), -1020);
        QVERIFY(QFileInfo(writer->GetProfileNameAndPath() + "/inside").isDir());
        QCOMPARE(folderEntries(m_home->profileFolder()), QStringList{kProposedName});
    }

    void lockedFiles_data()
    {
        QTest::addColumn<bool>("folderLocked");
        QTest::addColumn<int>("result");
        QTest::newRow("folder not writable") << true << -1;
        QTest::newRow("file not replaceable") << false << -1020;
    }
    void lockedFiles()
    {
        QFETCH(bool, folderLocked);
        QFETCH(int, result);
        ProfileRecords records;
        auto writer = namedWriter(records);
        const QString folder = m_home->profileFolder();
        const QString path = writer->GetProfileNameAndPath();
        writeFile(path, "old profile");
        for (QString dir = folder; dir.startsWith(m_home->homePath()); dir = QFileInfo(dir).path())
            makeTraversable(dir);
        if (folderLocked) {
            QVERIFY(Unprivileged::handOver(path));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
        } else {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        }
        int written = 0;
        {
            Unprivileged user;
            written = writer->CreateProfileFile(true);
        }
        makeTraversable(folder);
        QCOMPARE(written, result);
        QCOMPARE(fileBytes(path), QByteArray("old profile"));
        QCOMPARE(folderEntries(folder), QStringList{kProposedName});
    }

    void aFailedCommitKeepsTheOldFile()
    {
        ProfileRecords records;
        auto writer = namedWriter(records);
        const QString path = writer->GetProfileNameAndPath();
        writeFile(path, "old profile");
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 1024; // the profile takes more
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const int result = writer->CreateProfileFile(true);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(result, -2);
        QCOMPARE(fileBytes(path), QByteArray("old profile"));
        QCOMPARE(folderEntries(m_home->profileFolder()), QStringList{kProposedName});
    }

    void noProfileFolder()
    {
        // The data folder cannot exist: HOME is a regular file.
        const QString blocker = m_home->homePath() + "/blocker";
        writeFile(blocker, "x");
        qputenv("HOME", QFile::encodeName(blocker));
        ProfileRecords records;
        auto writer = namedWriter(records);
        QCOMPARE(writer->GetProfileNameAndPath(), QString());
        QCOMPARE(writer->CreateProfileFile(true), -1);
        QCOMPARE(writer->AssociateColorProfile(), -1);
    }

    void assignmentOnTheSimulatedDesktop()
    {
        ProfileRecords records;
        auto writer = namedWriter(records);
        QCOMPARE(writer->CreateProfileFile(true), 0);
        QCOMPARE(writer->AssociateColorProfile(), -2); // nothing installed

        pz::SimDesktop desktop;
        desktop.addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
        desktop.install();
        QCOMPARE(writer->AssociateColorProfile(), 0);
        QCOMPARE(desktop.profiles().assignedPath(1), writer->GetProfileNameAndPath());
        QCOMPARE(desktop.profiles().assignedProfile(1), fileBytes(writer->GetProfileNameAndPath()));

        desktop.profiles().setRefuses(true);
        QCOMPARE(writer->AssociateColorProfile(), -2);
        desktop.profiles().setRefuses(false);
        records.monitor.m_DisplayID = 7; // not on this desktop
        CICCDisplayProfile elsewhere(records.target, writer->GetAdjustValue(), records.monitor, nullptr);
        QCOMPARE(elsewhere.AssociateColorProfile(), -2);
        writeFile(writer->GetProfileNameAndPath(), "not a profile");
        QCOMPARE(writer->AssociateColorProfile(), -1);
        QVERIFY(QFile::remove(writer->GetProfileNameAndPath()));
        QCOMPARE(writer->AssociateColorProfile(), -1);
    }

    void theCallsAfterACalibration()
    {
        // The main window's order after a calibration, on the simulated desktop.
        pz::SimDesktop desktop;
        desktop.addPlainDisplay(1, QRectF(0, 0, 1920, 1200), QByteArray());
        desktop.install();
        ProfileRecords records;
        CICCDisplayProfile writer(records.target, records.result, records.monitor, nullptr);
        QCOMPARE(writer.GenerateDefaultFileNameandDescription(), 0);
        QCOMPARE(writer.DisAssociateCurrentColorProfile(), 0);
        QCOMPARE(writer.CreateProfileFile(true), 0);
        QCOMPARE(writer.AssociateColorProfile(), 0);
        const CAdjustValue result = writer.GetAdjustValue();
        QCOMPARE(result.GetProfileName(), kProposedName);
        QCOMPARE(result.GetProfileDescription(), kProposedDescription);
        QCOMPARE(writer.GetProfileDate(), fixtureDate());
        const QByteArray profile = desktop.profiles().assignedProfile(1);
        QVERIFY(openProfile(profile));
        QCOMPARE(tagTable(profile).size(), 13);
    }
};

QTEST_GUILESS_MAIN(TestIccProfileFile)
#include "tst_icc_profile_file.moc"
