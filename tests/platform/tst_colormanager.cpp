// The colour-manager side of profile assignment, against a fake
// org.freedesktop.ColorManager on a private bus: a dbus-daemon of its own
// configuration, the fake served from a helper thread on its own
// connection. Every call and argument the client sends is checked; a file
// handed over by descriptor is shown by the MD5 of what the fake reads from
// it. Like the real service, which runs as a user of its own, the fake
// cannot open files in the user's home by name; like colord, it drops a
// "temp" profile (and the device's default with it) when the connection
// that made it closes, and it can refuse a caller or not answer at all.
// tst_colord runs the real service. Skipped where dbus-daemon is not
// installed; the part through the Linux backend also needs an X server
// (the program's own, TestXServer.h).

#include "ColorManagerClient.h"
#include "TestXServer.h"
#include "IccProfileFixture.h"
#include "LinuxDisplayProfiles.h"
#include "XRandRConnection.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <unistd.h>
#include <utility>

using namespace pz;
using namespace pz::test;

namespace {

using StringMap = QMap<QString, QString>;

const QString kService = QStringLiteral("org.freedesktop.ColorManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/ColorManager");
const QString kManager = QStringLiteral("org.freedesktop.ColorManager");
const QString kDevice = QStringLiteral("org.freedesktop.ColorManager.Device");
const QString kDevicePath = QStringLiteral("/org/freedesktop/ColorManager/devices/xrandr_test");

// Everything that can be read from a descriptor, from its start.
QByteArray readDescriptor(const QDBusUnixFileDescriptor &descriptor)
{
    QByteArray bytes;
    const int fd = descriptor.fileDescriptor();
    if (fd < 0 || lseek(fd, 0, SEEK_SET) != 0)
        return bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, int(n));
    return bytes;
}

// One call as the fake saw it: "Member(arg, arg...)" with object paths as
// "o:path", string maps as "{key=value}" and descriptors as "fd:" and the
// MD5 of the file's bytes.
QString describe(const QDBusMessage &message)
{
    QStringList args;
    for (const QVariant &arg : message.arguments()) {
        if (arg.metaType() == QMetaType::fromType<QDBusObjectPath>())
            args << "o:" + arg.value<QDBusObjectPath>().path();
        else if (arg.metaType() == QMetaType::fromType<QDBusUnixFileDescriptor>())
            args << "fd:" + ColorManagerClient::md5Hex(readDescriptor(arg.value<QDBusUnixFileDescriptor>()));
        else if (arg.metaType() == QMetaType::fromType<QDBusArgument>()) {
            const StringMap map = qdbus_cast<StringMap>(arg.value<QDBusArgument>());
            QStringList pairs;
            for (auto it = map.begin(); it != map.end(); ++it)
                pairs << it.key() + "=" + it.value();
            args << "{" + pairs.join(",") + "}";
        } else
            args << arg.toString();
    }
    return message.path() + " " + message.interface() + "." + message.member() + "("
        + args.join(", ") + ") " + message.signature();
}

// Path of the profile object the service makes for an id, as colord does.
QString profilePathFor(const QString &id)
{
    return QStringLiteral("/org/freedesktop/ColorManager/profiles/") + QString(id).replace('-', '_');
}

class FakeColorManager : public QDBusVirtualObject {
public:
    struct Profile {
        QString id;
        QString filename;
        QString scope;
        QString owner; // the unique name of the connection that made it
    };

    // What the fake knows; set before a call.
    QString deviceOutputName;
    QString deviceEdidMd5;
    // Answered with the service's authentication error, as colord answers
    // a caller polkit turns away.
    bool refuses = false;
    // A call of this name is never answered, as by a hung service.
    QString hangsAt;
    // Every answer is sent this long after the call, as by a slow service.
    int replyDelayMs = 0;
    // Files in here cannot be opened by name: the service's user may not
    // read them.
    QString unreadableFolder;
    // An older service, which takes profiles by file name only.
    bool withoutDescriptors = false;

    QStringList takeCalls()
    {
        QMutexLocker lock(&m_lock);
        return std::exchange(m_calls, {});
    }
    void addProfile(const Profile &profile)
    {
        QMutexLocker lock(&m_lock);
        m_profiles.insert(profilePathFor(profile.id), profile);
    }
    QMap<QString, Profile> profiles()
    {
        QMutexLocker lock(&m_lock);
        return m_profiles;
    }
    QString deviceDefault()
    {
        QMutexLocker lock(&m_lock);
        return m_default;
    }
    QStringList closedConnections()
    {
        QMutexLocker lock(&m_lock);
        return m_closed;
    }
    void reset()
    {
        QMutexLocker lock(&m_lock);
        m_profiles.clear();
        m_default.clear();
        m_calls.clear();
    }

    // Watches the connections that make profiles; on the fake's thread.
    void watchConnections(const QDBusConnection &bus)
    {
        m_watcher = new QDBusServiceWatcher(this);
        m_watcher->setConnection(bus);
        m_watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
        QObject::connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
                         [this](const QString &name) { connectionClosed(name); });
    }

    // Like colord, drops the "temp" profiles of a connection that closed,
    // and the device's default with them.
    void connectionClosed(const QString &uniqueName)
    {
        QMutexLocker lock(&m_lock);
        for (auto it = m_profiles.begin(); it != m_profiles.end();) {
            if (it->owner == uniqueName && it->scope == QLatin1String("temp")) {
                if (m_default == it.key())
                    m_default.clear();
                it = m_profiles.erase(it);
            } else {
                ++it;
            }
        }
        m_closed << uniqueName;
    }

    QString introspect(const QString &) const override { return QString(); }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        QMutexLocker lock(&m_lock);
        m_calls << describe(message);
        const QString member = message.member();
        if (member == hangsAt)
            return true;
        const QDBusMessage reply = answer(message);
        if (replyDelayMs > 0)
            QTimer::singleShot(replyDelayMs, this, [connection, reply] { connection.send(reply); });
        else
            connection.send(reply);
        return true;
    }

private:
    QDBusMessage answer(const QDBusMessage &message)
    {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        const auto error = [&message](const char *name) {
            return message.createErrorReply(QLatin1String(name), QStringLiteral("fake says no"));
        };
        const auto pathReply = [&message](const QString &path) {
            return message.createReply(QVariant::fromValue(QDBusObjectPath(path)));
        };
        const bool guarded = member.startsWith("CreateProfile") || member == "DeleteProfile"
            || member == "AddProfile" || member == "MakeProfileDefault";
        if (refuses && guarded)
            return error("org.freedesktop.ColorManager.FailedToAuthenticate");
        if (member == "FindProfileByFilename") {
            for (auto it = m_profiles.cbegin(); it != m_profiles.cend(); ++it)
                if (it->filename == args.value(0).toString())
                    return pathReply(it.key());
            return error("org.freedesktop.ColorManager.NotFound");
        }
        if (member == "Get" && m_profiles.contains(message.path())
            && args.value(1).toString() == "ProfileId")
            return message.createReply(
                QVariant::fromValue(QDBusVariant(m_profiles.value(message.path()).id)));
        if (member == "DeleteProfile") {
            const QString path = args.value(0).value<QDBusObjectPath>().path();
            if (!m_profiles.remove(path))
                return error("org.freedesktop.ColorManager.NotFound");
            if (m_default == path)
                m_default.clear();
            return message.createReply();
        }
        if (member == "CreateProfileWithFd" && withoutDescriptors)
            return error("org.freedesktop.DBus.Error.UnknownMethod");
        if (member.startsWith("CreateProfile")) {
            const bool withFd = member == "CreateProfileWithFd";
            const StringMap properties =
                qdbus_cast<StringMap>(args.value(withFd ? 3 : 2).value<QDBusArgument>());
            const QString filename = properties.value(QStringLiteral("Filename"));
            const bool readable = withFd
                ? !readDescriptor(args.value(2).value<QDBusUnixFileDescriptor>()).isEmpty()
                : opensByName(filename);
            if (!readable)
                return error("org.freedesktop.ColorManager.Failed");
            const Profile profile{args.value(0).toString(), filename, args.value(1).toString(),
                                  message.service()};
            const QString path = profilePathFor(profile.id);
            if (m_profiles.contains(path))
                return error("org.freedesktop.ColorManager.AlreadyExists");
            m_profiles.insert(path, profile);
            m_watcher->addWatchedService(profile.owner);
            return pathReply(path);
        }
        if (member == "FindDeviceByProperty") {
            const QString key = args.value(0).toString();
            const QString value = args.value(1).toString();
            const bool found = (key == "XRANDR_name" && value == deviceOutputName)
                || (key == "OutputEdidMd5" && value == deviceEdidMd5);
            return found ? pathReply(kDevicePath) : error("org.freedesktop.ColorManager.NotFound");
        }
        if (member == "AddProfile")
            return error("org.freedesktop.ColorManager.Device.AlreadyExists");
        if (member == "MakeProfileDefault") {
            const QString path = args.value(0).value<QDBusObjectPath>().path();
            if (!m_profiles.contains(path))
                return error("org.freedesktop.ColorManager.NotFound");
            m_default = path;
            return message.createReply();
        }
        return error("org.freedesktop.DBus.Error.UnknownMethod");
    }

    bool opensByName(const QString &path) const
    {
        if (!unreadableFolder.isEmpty() && path.startsWith(unreadableFolder + "/"))
            return false;
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && file.size() > 0;
    }

    QDBusServiceWatcher *m_watcher = nullptr;
    QMutex m_lock;
    QStringList m_calls;
    QMap<QString, Profile> m_profiles;
    QString m_default;
    QStringList m_closed;
};

QString call(const QString &path, const QString &interface, const QString &member,
             const QString &args, const QString &signature)
{
    return path + " " + interface + "." + member + "(" + args + ") " + signature;
}

} // namespace

class TestColorManager : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QThread m_serverThread;
    FakeColorManager *m_fake = nullptr;
    QString m_profile;
    QByteArray m_bytes;

    QDBusConnection serverConnection() { return QDBusConnection(QStringLiteral("pz-fake-colord")); }
    QDBusConnection clientConnection() { return QDBusConnection(QStringLiteral("pz-client")); }

    QString profileId() const { return "icc-" + ColorManagerClient::md5Hex(m_bytes); }
    QString profilePath() const { return profilePathFor(profileId()); }
    // What an earlier calibration of the same display left registered.
    FakeColorManager::Profile earlierProfile() const
    {
        return {"icc-" + ColorManagerClient::md5Hex("older bytes"), m_profile, "normal", ":1.0"};
    }
    // The profile handed over as an open file, its name as a property.
    QString createWithFd() const
    {
        return call(kManagerPath, kManager, "CreateProfileWithFd",
                    profileId() + ", normal, fd:" + ColorManagerClient::md5Hex(m_bytes)
                        + ", {Filename=" + m_profile + "}",
                    "ssha{ss}");
    }

    // The service the fake plays: the current one, or an older one without
    // CreateProfileWithFd that may or may not read the user's files.
    enum Service { Current, Older, OlderReadsHome };
    // What the fake holds for the profile's file before the call.
    enum Known { Unknown, SameBytes, EarlierBytes };

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<StringMap>();
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        const QString config = m_dir.filePath("bus.conf");
        QVERIFY(writeBytes(config, QStringLiteral(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:path=%1</listen>"
            "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
            .arg(m_dir.filePath("bus")).toUtf8()));
        m_daemon.start(daemon, {"--config-file=" + config, "--nofork", "--print-address"});
        // Bounds for a loaded machine; a quiet one takes milliseconds.
        QVERIFY(m_daemon.waitForStarted(60000));
        QVERIFY(m_daemon.waitForReadyRead(60000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());

        m_bytes = srgbProfileBytes();
        m_profile = m_dir.filePath("display.icc");
        QVERIFY(writeBytes(m_profile, m_bytes));

        // The fake answers on the helper thread while the client blocks here.
        m_serverThread.start();
        m_fake = new FakeColorManager;
        m_fake->moveToThread(&m_serverThread);
        bool serving = false;
        QMetaObject::invokeMethod(
            m_fake,
            [this, &serving] {
                QDBusConnection server = QDBusConnection::connectToBus(m_address, "pz-fake-colord");
                serving = server.isConnected()
                    && server.registerVirtualObject(kManagerPath, m_fake, QDBusConnection::SubPath);
                m_fake->watchConnections(server);
            },
            Qt::BlockingQueuedConnection);
        QVERIFY(serving);
        QVERIFY(QDBusConnection::connectToBus(m_address, "pz-client").isConnected());
    }
    void cleanupTestCase()
    {
        if (m_fake) {
            serverConnection().unregisterObject(kManagerPath);
            QDBusConnection::disconnectFromBus("pz-fake-colord");
            QDBusConnection::disconnectFromBus("pz-client");
            m_fake->deleteLater();
            m_serverThread.quit();
            m_serverThread.wait();
        }
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(5000);
        }
    }
    void init()
    {
        QVERIFY(serverConnection().registerService(kService));
        m_fake->reset();
        m_fake->deviceOutputName = "DP-1";
        m_fake->deviceEdidMd5.clear();
        m_fake->refuses = false;
        m_fake->hangsAt.clear();
        m_fake->replyDelayMs = 0;
        m_fake->unreadableFolder = m_dir.path();
        m_fake->withoutDescriptors = false;
    }
    void cleanup() { serverConnection().unregisterService(kService); }

    void assign_data()
    {
        QTest::addColumn<int>("known");
        QTest::addColumn<QString>("deviceName");
        QTest::addColumn<QByteArray>("edid");
        QTest::addColumn<bool>("refuses");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("service");
        const int assigned = ColorManagerClient::kAssigned;
        const int failed = ColorManagerClient::kFailed;
        const int noDevice = ColorManagerClient::kNoDevice;
        // Filled in below from the profile path and its id.
        QTest::newRow("new profile, device by output name")
            << int(Unknown) << "DP-1" << QByteArray("EDID") << false << assigned
            << QStringList{"find", "createFd", "byName", "add", "default"} << int(Current);
        QTest::newRow("older service that may read the file")
            << int(Unknown) << "DP-1" << QByteArray() << false << assigned
            << QStringList{"find", "createFd", "create", "byName", "add", "default"}
            << int(OlderReadsHome);
        QTest::newRow("older service that may not read the file")
            << int(Unknown) << "DP-1" << QByteArray() << false << failed
            << QStringList{"find", "createFd", "create"} << int(Older);
        QTest::newRow("profile already known with these bytes")
            << int(SameBytes) << "DP-1" << QByteArray() << false << assigned
            << QStringList{"find", "id", "byName", "add", "default"} << int(Current);
        QTest::newRow("profile known from the file's earlier bytes: replaced")
            << int(EarlierBytes) << "DP-1" << QByteArray() << false << assigned
            << QStringList{"find", "earlierId", "delete", "createFd", "byName", "add", "default"}
            << int(Current);
        QTest::newRow("device by EDID")
            << int(SameBytes) << "HDMI-2" << QByteArray("EDID") << false << assigned
            << QStringList{"find", "id", "byName", "byEdid", "add", "default"} << int(Current);
        QTest::newRow("no device")
            << int(SameBytes) << "HDMI-2" << QByteArray("OTHER") << false << noDevice
            << QStringList{"find", "id", "byName", "byEdid"} << int(Current);
        QTest::newRow("no device, no EDID to try")
            << int(SameBytes) << "HDMI-2" << QByteArray() << false << noDevice
            << QStringList{"find", "id", "byName"} << int(Current);
        QTest::newRow("creating refused")
            << int(Unknown) << "DP-1" << QByteArray() << true << failed
            << QStringList{"find", "createFd"} << int(Current);
        QTest::newRow("replacing refused")
            << int(EarlierBytes) << "DP-1" << QByteArray() << true << failed
            << QStringList{"find", "earlierId", "delete"} << int(Current);
        QTest::newRow("default refused")
            << int(SameBytes) << "DP-1" << QByteArray() << true << failed
            << QStringList{"find", "id", "byName", "add", "default"} << int(Current);
    }
    void assign()
    {
        QFETCH(int, known);
        QFETCH(QString, deviceName);
        QFETCH(QByteArray, edid);
        QFETCH(bool, refuses);
        QFETCH(int, result);
        QFETCH(QStringList, calls);
        QFETCH(int, service);
        if (known == SameBytes)
            m_fake->addProfile({profileId(), m_profile, "normal", ":1.0"});
        if (known == EarlierBytes)
            m_fake->addProfile(earlierProfile());
        m_fake->withoutDescriptors = service != Current;
        if (service == OlderReadsHome)
            m_fake->unreadableFolder.clear();
        m_fake->deviceOutputName = deviceName;
        m_fake->deviceEdidMd5 = ColorManagerClient::md5Hex("EDID");
        m_fake->refuses = refuses;

        ColorManagerClient client(clientConnection());
        QCOMPARE(int(client.assign(m_profile, m_bytes, "DP-1", edid)), result);

        const QString earlier = profilePathFor(earlierProfile().id);
        const auto idOf = [](const QString &profile) {
            return call(profile, "org.freedesktop.DBus.Properties", "Get",
                        "org.freedesktop.ColorManager.Profile, ProfileId", "ss");
        };
        const QMap<QString, QString> expected{
            {"find", call(kManagerPath, kManager, "FindProfileByFilename", m_profile, "s")},
            {"id", idOf(profilePath())},
            {"earlierId", idOf(earlier)},
            {"delete", call(kManagerPath, kManager, "DeleteProfile", "o:" + earlier, "o")},
            {"createFd", createWithFd()},
            {"create", call(kManagerPath, kManager, "CreateProfile",
                            profileId() + ", normal, {Filename=" + m_profile + "}", "ssa{ss}")},
            {"byName", call(kManagerPath, kManager, "FindDeviceByProperty", "XRANDR_name, DP-1", "ss")},
            {"byEdid", call(kManagerPath, kManager, "FindDeviceByProperty",
                            "OutputEdidMd5, " + ColorManagerClient::md5Hex(edid), "ss")},
            {"add", call(kDevicePath, kDevice, "AddProfile", "hard, o:" + profilePath(), "so")},
            {"default", call(kDevicePath, kDevice, "MakeProfileDefault", "o:" + profilePath(), "o")},
        };
        QStringList expectedCalls;
        for (const QString &c : calls)
            expectedCalls << expected.value(c);
        QCOMPARE(m_fake->takeCalls(), expectedCalls);

        // The service describes the file as it is now, and only once.
        if (result == ColorManagerClient::kAssigned) {
            QCOMPARE(m_fake->deviceDefault(), profilePath());
            const auto profiles = m_fake->profiles();
            QCOMPARE(profiles.keys(), QStringList{profilePath()});
            QCOMPARE(profiles.first().filename, m_profile);
        }
    }

    void assignmentOutlivesTheConnection()
    {
        QString uniqueName;
        {
            // The connection closes with its last handle, at the block's end.
            const QDBusConnection shortLived =
                QDBusConnection::connectToBus(m_address, "pz-short-lived");
            QVERIFY(shortLived.isConnected());
            uniqueName = shortLived.baseService();
            ColorManagerClient client(shortLived);
            QCOMPARE(client.assign(m_profile, m_bytes, "DP-1", QByteArray()),
                     ColorManagerClient::kAssigned);
            QDBusConnection::disconnectFromBus("pz-short-lived");
        }
        QCOMPARE(m_fake->deviceDefault(), profilePath());
        // The bus tells the fake at once; the bound is for a loaded machine.
        QTRY_VERIFY_WITH_TIMEOUT(m_fake->closedConnections().contains(uniqueName), 60000);
        QCOMPARE(m_fake->deviceDefault(), profilePath());
    }

    void hungServiceIsLeftAtOnce()
    {
        // A call the service does not answer ends the assignment: nothing
        // more is sent to it.
        m_fake->hangsAt = "FindProfileByFilename";
        ColorManagerClient client(clientConnection(), 500);
        QCOMPARE(client.assign(m_profile, m_bytes, "DP-1", QByteArray()), ColorManagerClient::kFailed);
        QCOMPARE(m_fake->takeCalls(),
                 QStringList{call(kManagerPath, kManager, "FindProfileByFilename", m_profile, "s")});
    }

    void slowServiceSharesOneBound()
    {
        // Every answer takes 400 ms: each call is within 1 s, all five are not.
        m_fake->replyDelayMs = 400;
        ColorManagerClient client(clientConnection(), 1000);
        QCOMPARE(client.assign(m_profile, m_bytes, "DP-1", QByteArray()), ColorManagerClient::kFailed);
        QVERIFY(m_fake->deviceDefault().isEmpty());
    }

    void md5OfKnownBytes()
    {
        QCOMPARE(ColorManagerClient::md5Hex(""), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
    }

    void noService()
    {
        serverConnection().unregisterService(kService);
        ColorManagerClient client(clientConnection());
        QCOMPARE(client.assign(m_profile, m_bytes, "DP-1", QByteArray()), ColorManagerClient::kNoService);
        ColorManagerClient unconnected(QDBusConnection::connectToBus("unix:path=/nonexistent/pz", "pz-nowhere"));
        QCOMPARE(unconnected.assign(m_profile, m_bytes, "DP-1", QByteArray()),
                 ColorManagerClient::kNoService);
        QVERIFY(m_fake->takeCalls().isEmpty());
    }

    void throughTheLinuxBackend_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<bool>("deviceKnown");
        QTest::addColumn<bool>("refuses");
        QTest::addColumn<QString>("hangsAt");
        QTest::addColumn<int>("result");
        QTest::newRow("device found") << true << true << false << QString() << 0;
        QTest::newRow("device not found: the X server decides") << true << false << false << QString() << 0;
        QTest::newRow("no service: the X server decides") << false << false << false << QString() << 0;
        QTest::newRow("refused: not assigned") << true << true << true << QString() << -2;
        QTest::newRow("no answer: not assigned") << true << true << false << "MakeProfileDefault" << -2;
    }
    void throughTheLinuxBackend()
    {
        QFETCH(bool, service);
        QFETCH(bool, deviceKnown);
        QFETCH(bool, refuses);
        QFETCH(QString, hangsAt);
        QFETCH(int, result);
        const QByteArray server = pz::test::testXDisplay();
        if (server.isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        auto x = std::make_shared<XRandRConnection>(server);
        QVERIFY2(x->isAvailable(), qPrintable(x->unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(x->activeOutputs(outputs));
        const XRandROutput output = outputs.first();
        m_fake->deviceOutputName = deviceKnown ? output.name : QStringLiteral("elsewhere");
        m_fake->refuses = refuses;
        m_fake->hangsAt = hangsAt;
        if (!service)
            serverConnection().unregisterService(kService);

        LinuxDisplayProfiles profiles(x, clientConnection());
        QCOMPARE(profiles.assign(output.id, m_profile), result);
        // The X server holds it either way; a refusal is not hidden by it.
        QCOMPARE(x->outputProperty(output.id, "_ICC_PROFILE"), m_bytes);
        const QStringList calls = m_fake->takeCalls();
        if (!service) {
            QVERIFY(calls.isEmpty());
        } else if (!refuses) {
            QCOMPARE(calls.value(1), createWithFd());
            QCOMPARE(calls.value(2), call(kManagerPath, kManager, "FindDeviceByProperty",
                                          "XRANDR_name, " + output.name, "ss"));
            QCOMPARE(calls.size(), deviceKnown ? 5 : (output.edid.isEmpty() ? 3 : 4));
            if (deviceKnown)
                QCOMPARE(calls.value(4), call(kDevicePath, kDevice, "MakeProfileDefault",
                                              "o:" + profilePath(), "o"));
        }
        x->setOutputProperty(output.id, "_ICC_PROFILE", QByteArray());
        x->setRootProperty("_ICC_PROFILE", QByteArray());
        x->setRootProperty("_ICC_PROFILE_IN_X_VERSION", QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestColorManager)
#include "tst_colormanager.moc"
