// The colour-manager side of profile assignment, against a fake
// org.freedesktop.ColorManager on a private bus: a dbus-daemon of its own
// configuration, the fake served from a helper thread on its own
// connection. Every call and argument the client sends is checked; a file
// handed over by descriptor is shown by the MD5 of what the fake reads from
// it. Like the real service, which runs as a user of its own, the fake
// cannot open files in the user's home by name. Skipped
// where dbus-daemon is not installed; the part through the Linux backend
// also needs an X server (the program's own, TestXServer.h).

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
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
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
const QString kProfilePath = QStringLiteral("/org/freedesktop/ColorManager/profiles/icc_test");

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

class FakeColorManager : public QDBusVirtualObject {
public:
    // What the fake knows; set before a call.
    QString knownProfileFile;
    QString deviceOutputName;
    QString deviceEdidMd5;
    bool refusesDefault = false;
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

    QString introspect(const QString &) const override { return QString(); }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        {
            QMutexLocker lock(&m_lock);
            m_calls << describe(message);
        }
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        const QDBusMessage notFound = message.createErrorReply(
            QStringLiteral("org.freedesktop.ColorManager.NotFound"), QStringLiteral("not found"));
        const QDBusMessage failed = message.createErrorReply(
            QStringLiteral("org.freedesktop.ColorManager.Failed"), QStringLiteral("cannot open"));
        QDBusMessage reply = message.createReply();
        if (member == "FindProfileByFilename")
            reply = args.value(0).toString() == knownProfileFile
                ? message.createReply(QVariant::fromValue(QDBusObjectPath(kProfilePath)))
                : notFound;
        else if (member == "CreateProfile")
            reply = opensByName(qdbus_cast<StringMap>(args.value(2).value<QDBusArgument>())
                                    .value(QStringLiteral("Filename")))
                ? message.createReply(QVariant::fromValue(QDBusObjectPath(kProfilePath)))
                : failed;
        else if (member == "CreateProfileWithFd" && withoutDescriptors)
            reply = message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                             QStringLiteral("no such method"));
        else if (member == "CreateProfileWithFd")
            reply = !readDescriptor(args.value(2).value<QDBusUnixFileDescriptor>()).isEmpty()
                ? message.createReply(QVariant::fromValue(QDBusObjectPath(kProfilePath)))
                : failed;
        else if (member == "FindDeviceByProperty") {
            const QString key = args.value(0).toString();
            const QString value = args.value(1).toString();
            const bool found = (key == "XRANDR_name" && value == deviceOutputName)
                || (key == "OutputEdidMd5" && value == deviceEdidMd5);
            reply = found ? message.createReply(QVariant::fromValue(QDBusObjectPath(kDevicePath)))
                          : notFound;
        } else if (member == "AddProfile")
            reply = message.createErrorReply(QStringLiteral("org.freedesktop.ColorManager.Device.AlreadyExists"),
                                             QStringLiteral("already added"));
        else if (member == "MakeProfileDefault" && refusesDefault)
            reply = message.createErrorReply(QStringLiteral("org.freedesktop.ColorManager.Failed"),
                                             QStringLiteral("refused"));
        connection.send(reply);
        return true;
    }

private:
    bool opensByName(const QString &path) const
    {
        if (!unreadableFolder.isEmpty() && path.startsWith(unreadableFolder + "/"))
            return false;
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && file.size() > 0;
    }

    QMutex m_lock;
    QStringList m_calls;
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
    // The profile handed over as an open file, its name as a property.
    QString createWithFd() const
    {
        return call(kManagerPath, kManager, "CreateProfileWithFd",
                    profileId() + ", temp, fd:" + ColorManagerClient::md5Hex(m_bytes)
                        + ", {Filename=" + m_profile + "}",
                    "ssha{ss}");
    }

    // The service the fake plays: the current one, or an older one without
    // CreateProfileWithFd that may or may not read the user's files.
    enum Service { Current, Older, OlderReadsHome };

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
        m_fake->knownProfileFile.clear();
        m_fake->deviceOutputName = "DP-1";
        m_fake->deviceEdidMd5.clear();
        m_fake->refusesDefault = false;
        m_fake->unreadableFolder = m_dir.path();
        m_fake->withoutDescriptors = false;
        m_fake->takeCalls();
    }
    void cleanup() { serverConnection().unregisterService(kService); }

    void assign_data()
    {
        QTest::addColumn<bool>("profileKnown");
        QTest::addColumn<QString>("deviceName");
        QTest::addColumn<QByteArray>("edid");
        QTest::addColumn<bool>("refusesDefault");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("service");
        // Filled in below from the profile path and its id.
        QTest::newRow("new profile, device by output name") << false << "DP-1" << QByteArray("EDID")
                                                            << false << int(ColorManagerClient::kAssigned)
                                                            << QStringList{"find", "createFd", "byName",
                                                                           "add", "default"}
                                                            << int(Current);
        QTest::newRow("older service that may read the file")
            << false << "DP-1" << QByteArray() << false << int(ColorManagerClient::kAssigned)
            << QStringList{"find", "createFd", "create", "byName", "add", "default"}
            << int(OlderReadsHome);
        QTest::newRow("older service that may not read the file")
            << false << "DP-1" << QByteArray() << false << int(ColorManagerClient::kFailed)
            << QStringList{"find", "createFd", "create"} << int(Older);
        QTest::newRow("profile already known") << true << "DP-1" << QByteArray() << false
                                               << int(ColorManagerClient::kAssigned)
                                               << QStringList{"find", "byName", "add", "default"} << int(Current);
        QTest::newRow("device by EDID") << true << "HDMI-2" << QByteArray("EDID") << false
                                        << int(ColorManagerClient::kAssigned)
                                        << QStringList{"find", "byName", "byEdid", "add", "default"} << int(Current);
        QTest::newRow("no device") << true << "HDMI-2" << QByteArray("OTHER") << false
                                   << int(ColorManagerClient::kNoDevice)
                                   << QStringList{"find", "byName", "byEdid"} << int(Current);
        QTest::newRow("no device, no EDID to try") << true << "HDMI-2" << QByteArray() << false
                                                   << int(ColorManagerClient::kNoDevice)
                                                   << QStringList{"find", "byName"} << int(Current);
        QTest::newRow("default refused") << true << "DP-1" << QByteArray() << true
                                         << int(ColorManagerClient::kFailed)
                                         << QStringList{"find", "byName", "add", "default"} << int(Current);
    }
    void assign()
    {
        QFETCH(bool, profileKnown);
        QFETCH(QString, deviceName);
        QFETCH(QByteArray, edid);
        QFETCH(bool, refusesDefault);
        QFETCH(int, result);
        QFETCH(QStringList, calls);
        QFETCH(int, service);
        if (profileKnown)
            m_fake->knownProfileFile = m_profile;
        m_fake->withoutDescriptors = service != Current;
        if (service == OlderReadsHome)
            m_fake->unreadableFolder.clear();
        m_fake->deviceOutputName = deviceName;
        m_fake->deviceEdidMd5 = ColorManagerClient::md5Hex("EDID");
        m_fake->refusesDefault = refusesDefault;

        ColorManagerClient client(clientConnection());
        QCOMPARE(int(client.assign(m_profile, m_bytes, "DP-1", edid)), result);

        const QMap<QString, QString> expected{
            {"find", call(kManagerPath, kManager, "FindProfileByFilename", m_profile, "s")},
            {"createFd", createWithFd()},
            {"create", call(kManagerPath, kManager, "CreateProfile",
                            profileId() + ", temp, {Filename=" + m_profile + "}", "ssa{ss}")},
            {"byName", call(kManagerPath, kManager, "FindDeviceByProperty", "XRANDR_name, DP-1", "ss")},
            {"byEdid", call(kManagerPath, kManager, "FindDeviceByProperty",
                            "OutputEdidMd5, " + ColorManagerClient::md5Hex(edid), "ss")},
            {"add", call(kDevicePath, kDevice, "AddProfile", "hard, o:" + kProfilePath, "so")},
            {"default", call(kDevicePath, kDevice, "MakeProfileDefault", "o:" + kProfilePath, "o")},
        };
        QStringList expectedCalls;
        for (const QString &c : calls)
            expectedCalls << expected.value(c);
        QCOMPARE(m_fake->takeCalls(), expectedCalls);
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
        QTest::newRow("device found") << true << true;
        QTest::newRow("device not found: the X server decides") << true << false;
        QTest::newRow("no service: skipped") << false << false;
    }
    void throughTheLinuxBackend()
    {
        QFETCH(bool, service);
        QFETCH(bool, deviceKnown);
        const QByteArray server = pz::test::testXDisplay();
        if (server.isEmpty())
            QSKIP("no X server for tests (no Xvfb, PZ_TEST_X_DISPLAY not set)");
        auto x = std::make_shared<XRandRConnection>(server);
        QVERIFY2(x->isAvailable(), qPrintable(x->unavailableReason()));
        QVector<XRandROutput> outputs;
        QVERIFY(x->activeOutputs(outputs));
        const XRandROutput output = outputs.first();
        m_fake->deviceOutputName = deviceKnown ? output.name : QStringLiteral("elsewhere");
        if (!service)
            serverConnection().unregisterService(kService);

        LinuxDisplayProfiles profiles(x, clientConnection());
        QCOMPARE(profiles.assign(output.id, m_profile), 0);
        QCOMPARE(x->outputProperty(output.id, "_ICC_PROFILE"), m_bytes);
        const QStringList calls = m_fake->takeCalls();
        if (!service) {
            QVERIFY(calls.isEmpty());
        } else {
            QCOMPARE(calls.value(1), createWithFd());
            QCOMPARE(calls.value(2), call(kManagerPath, kManager, "FindDeviceByProperty",
                                          "XRANDR_name, " + output.name, "ss"));
            QCOMPARE(calls.size(), deviceKnown ? 5 : (output.edid.isEmpty() ? 3 : 4));
            if (deviceKnown)
                QCOMPARE(calls.value(4), call(kDevicePath, kDevice, "MakeProfileDefault",
                                              "o:" + kProfilePath, "o"));
        }
        x->setOutputProperty(output.id, "_ICC_PROFILE", QByteArray());
        x->setRootProperty("_ICC_PROFILE", QByteArray());
        x->setRootProperty("_ICC_PROFILE_IN_X_VERSION", QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestColorManager)
#include "tst_colormanager.moc"
