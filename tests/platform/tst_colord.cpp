// Profile assignment against the real colour manager our users meet:
// Debian's colord, with polkitd to decide who may change it, both on a
// private system bus (a dbus-daemon of its own configuration). colord runs
// in a mount namespace of its own over an empty /var/lib/colord, so the
// host's colour-manager databases stay as they are. The display is an
// output of the program's own X server, made known to colord as a device
// through colord's own CreateDevice.
//
// The assignments are made by this program run again as a client
// (--assign): one whose connection has closed when it is checked, and one
// run as the unprivileged user nobody, whom polkit turns away.
//
// Needs root (colord and polkitd run as they do on a system, and the mount
// namespace), colord, polkitd, dbus-daemon, unshare and an X server
// (TestXServer.h); skipped with the reason where any is missing or does not
// start.

#include "ColorManagerClient.h"
#include "IccProfileFixture.h"
#include "LinuxDisplayProfiles.h"
#include "TestXServer.h"
#include "XRandRConnection.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

using namespace pz;
using namespace pz::test;

namespace {

using StringMap = QMap<QString, QString>;

const QString kService = QStringLiteral("org.freedesktop.ColorManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/ColorManager");
const QString kManager = QStringLiteral("org.freedesktop.ColorManager");
const QString kDevice = QStringLiteral("org.freedesktop.ColorManager.Device");
const QString kProfile = QStringLiteral("org.freedesktop.ColorManager.Profile");
// Bounds for a loaded machine; on a quiet one each takes well under a second.
const int kStartMs = 60000;

QString firstExisting(const QStringList &paths)
{
    for (const QString &path : paths)
        if (QFileInfo(path).isExecutable())
            return path;
    return QString();
}

// Little CMS's sRGB profile described as description: a valid profile whose
// bytes differ with the description.
QByteArray profileBytes(const char *description)
{
    cmsHPROFILE h = cmsCreate_sRGBProfile();
    cmsMLU *text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(text, "en", "US", description);
    cmsWriteTag(h, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
    cmsUInt32Number size = 0;
    QByteArray bytes;
    if (cmsSaveProfileToMem(h, nullptr, &size)) {
        bytes.resize(qsizetype(size));
        if (!cmsSaveProfileToMem(h, bytes.data(), &size))
            bytes.clear();
    }
    cmsCloseProfile(h);
    return bytes;
}

QString profileId(const QByteArray &bytes) { return "icc-" + ColorManagerClient::md5Hex(bytes); }

// The client: assigns the profile file to the X server's first output
// through the Linux backend and the system bus (DBUS_SYSTEM_BUS_ADDRESS),
// then prints what the backend answered and its bus name, and ends.
int runClient(const QByteArray &display, const QString &path)
{
    auto x = std::make_shared<XRandRConnection>(display);
    QVector<XRandROutput> outputs;
    if (!x->isAvailable() || !x->activeOutputs(outputs) || outputs.isEmpty())
        return 2;
    QDBusConnection bus = QDBusConnection::systemBus();
    LinuxDisplayProfiles profiles(x, bus);
    const int result = profiles.assign(outputs.first().id, path);
    QTextStream(stdout) << result << ' ' << bus.baseService() << Qt::endl;
    return 0;
}

} // namespace

class TestColord : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_polkit;
    QProcess m_colord;
    QString m_address;
    QByteArray m_display;
    XRandROutput m_output;
    QString m_device;
    QString m_profile;

    QDBusConnection admin() { return QDBusConnection(QStringLiteral("pz-colord-admin")); }

    QDBusMessage callManager(const QString &method, const QList<QVariant> &arguments)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kService, kManagerPath, kManager, method);
        m.setArguments(arguments);
        return admin().call(m, QDBus::Block, kStartMs);
    }
    QVariant property(const QString &path, const QString &interface, const QString &name)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(
            kService, path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        m << interface << name;
        const QDBusMessage reply = admin().call(m, QDBus::Block, kStartMs);
        return reply.type() == QDBusMessage::ReplyMessage
            ? reply.arguments().value(0).value<QDBusVariant>().variant()
            : QVariant();
    }
    bool hasOwner(const QString &name)
    {
        const QDBusMessage reply = admin().call(
            QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                           "org.freedesktop.DBus", "NameHasOwner")
                << name,
            QDBus::Block, kStartMs);
        return reply.arguments().value(0).toBool();
    }
    bool waitForOwner(const QString &name, const QProcess &process)
    {
        QElapsedTimer waited;
        waited.start();
        while (!hasOwner(name)) {
            if (process.state() == QProcess::NotRunning || waited.elapsed() > kStartMs)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    // The device's default profile (colord lists it first): its id and file.
    QPair<QString, QString> deviceDefault()
    {
        const QVariant list = property(m_device, kDevice, QStringLiteral("Profiles"));
        const auto profiles = qdbus_cast<QList<QDBusObjectPath>>(list.value<QDBusArgument>());
        if (profiles.isEmpty())
            return {};
        const QString path = profiles.first().path();
        return {property(path, kProfile, QStringLiteral("ProfileId")).toString(),
                property(path, kProfile, QStringLiteral("Filename")).toString()};
    }

    // This program run as the client, as root or as nobody. Waits until its
    // connection has left the bus and gives what the backend answered.
    int assignInClient(const QString &path, bool asNobody)
    {
        QProcess client;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_address);
        client.setProcessEnvironment(env);
        if (asNobody) {
            const passwd *nobody = getpwnam("nobody");
            if (!nobody)
                return 99;
            const uid_t uid = nobody->pw_uid;
            const gid_t gid = nobody->pw_gid;
            client.setChildProcessModifier([uid, gid] {
                if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                    _exit(97);
            });
        }
        client.start(QCoreApplication::applicationFilePath(),
                     {"--assign", QString::fromLocal8Bit(m_display), path});
        if (!client.waitForFinished(kStartMs) || client.exitCode() != 0) {
            qWarning() << "client:" << client.exitCode() << client.readAllStandardError();
            return 98;
        }
        const QStringList answer = QString::fromUtf8(client.readAllStandardOutput()).split(' ');
        const QString name = answer.value(1).trimmed();
        // The bus has dropped the client's connection and told colord so
        // before this question is answered.
        QElapsedTimer waited;
        waited.start();
        while (hasOwner(name) && waited.elapsed() < kStartMs)
            QTest::qWait(20);
        return answer.value(0).toInt();
    }

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<StringMap>();
        if (geteuid() != 0)
            QSKIP("needs root: colord and polkitd run as on a system, colord in a mount "
                  "namespace of its own");
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        const QString unshare = QStandardPaths::findExecutable("unshare");
        const QString colord = firstExisting({"/usr/libexec/colord", "/usr/lib/colord/colord"});
        const QString polkitd =
            firstExisting({"/usr/lib/polkit-1/polkitd", "/usr/libexec/polkitd"});
        if (daemon.isEmpty() || unshare.isEmpty() || colord.isEmpty() || polkitd.isEmpty())
            QSKIP("needs dbus-daemon, unshare, colord and polkitd (scripts/packages)");
        m_display = testXDisplay();
        if (m_display.isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        XRandRConnection x(m_display);
        QVector<XRandROutput> outputs;
        QVERIFY(x.isAvailable() && x.activeOutputs(outputs) && !outputs.isEmpty());
        m_output = outputs.first();

        // nobody reaches the bus and reads the profiles in here.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner
                                          | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                                          | QFile::ReadGroup | QFile::ExeGroup));
        const QString config = m_dir.filePath("bus.conf");
        QVERIFY(writeBytes(config, QStringLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>system</type><listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
            "<policy context=\"default\"><allow user=\"*\"/><allow own=\"*\"/>"
            "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/></policy></busconfig>\n")
            .arg(m_dir.filePath("bus")).toUtf8()));
        m_bus.start(daemon, {"--config-file=" + config, "--nofork", "--print-address"});
        QVERIFY(m_bus.waitForStarted(kStartMs));
        QVERIFY(m_bus.waitForReadyRead(kStartMs));
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(QDBusConnection::connectToBus(m_address, "pz-colord-admin").isConnected());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_address);
        m_polkit.setProcessEnvironment(env);
        m_polkit.setProcessChannelMode(QProcess::MergedChannels);
        m_polkit.start(polkitd, {"--no-debug"});
        m_colord.setProcessEnvironment(env);
        m_colord.setProcessChannelMode(QProcess::MergedChannels);
        const QString emptyStateThenColord =
            "mount -t tmpfs pz-colord /var/lib/colord && exec \"$0\"";
        m_colord.start(unshare, {"--mount", "--propagation", "private", "sh", "-c",
                                 emptyStateThenColord, colord});
        if (!waitForOwner("org.freedesktop.PolicyKit1", m_polkit))
            QSKIP(qPrintable("polkitd did not start: " + m_polkit.readAll()));
        if (!waitForOwner(kService, m_colord))
            QSKIP(qPrintable("colord did not start: " + m_colord.readAll()));

        // The output as colord knows a display, by its XRandR name.
        const StringMap properties{{"Kind", "display"}, {"XRANDR_name", m_output.name}};
        const QDBusMessage created = callManager(
            "CreateDevice", {"xrandr-pz-test", "normal", QVariant::fromValue(properties)});
        QVERIFY2(created.type() == QDBusMessage::ReplyMessage, qPrintable(created.errorMessage()));
        m_device = created.arguments().value(0).value<QDBusObjectPath>().path();
        QVERIFY(!m_device.isEmpty());
        m_profile = m_dir.filePath("pz-display.icc");
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus("pz-colord-admin");
        for (QProcess *p : {&m_colord, &m_polkit, &m_bus}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(kStartMs))
                    p->kill();
                p->waitForFinished(kStartMs);
            }
        }
    }

    void defaultAfterTheClientEnded()
    {
        const QByteArray bytes = profileBytes("Pelzora test A");
        QVERIFY(writeBytes(m_profile, bytes));
        QCOMPARE(assignInClient(m_profile, false), 0);
        QCOMPARE(deviceDefault(), qMakePair(profileId(bytes), m_profile));
    }

    void rewrittenProfileReplacesTheOldOne()
    {
        // Two assignments in one run, the file rewritten between them.
        auto x = std::make_shared<XRandRConnection>(m_display);
        LinuxDisplayProfiles profiles(x, admin());
        const QByteArray first = profileBytes("Pelzora test B");
        const QByteArray second = profileBytes("Pelzora test C");
        QVERIFY(writeBytes(m_profile, first));
        QCOMPARE(profiles.assign(m_output.id, m_profile), 0);
        QCOMPARE(deviceDefault(), qMakePair(profileId(first), m_profile));
        QVERIFY(writeBytes(m_profile, second));
        QCOMPARE(profiles.assign(m_output.id, m_profile), 0);
        QCOMPARE(deviceDefault(), qMakePair(profileId(second), m_profile));
        // One object for the file, describing what it holds now.
        QCOMPARE(callManager("FindProfileById", {profileId(first)}).errorName(),
                 QStringLiteral("org.freedesktop.ColorManager.NotFound"));
        const QDBusMessage found = callManager("FindProfileByFilename", {m_profile});
        const QString object = found.arguments().value(0).value<QDBusObjectPath>().path();
        QCOMPARE(property(object, kProfile, "ProfileId").toString(), profileId(second));
    }

    void refusalIsReported()
    {
        const QPair<QString, QString> before = deviceDefault();
        QVERIFY(!before.first.isEmpty());
        const QString other = m_dir.filePath("pz-other.icc");
        const QByteArray bytes = profileBytes("Pelzora test D");
        QVERIFY(writeBytes(other, bytes));
        // polkit answers colord that nobody may create profiles: the backend
        // says not assigned, though the X server took the profile.
        QCOMPARE(assignInClient(other, true), int(IDisplayProfiles::kNotAssigned));
        QCOMPARE(XRandRConnection(m_display).outputProperty(m_output.id, "_ICC_PROFILE"), bytes);
        QCOMPARE(deviceDefault(), before);
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--assign") == 0) {
        QCoreApplication app(argc, argv);
        return runClient(argv[2], QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TestColord test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_colord.moc"
