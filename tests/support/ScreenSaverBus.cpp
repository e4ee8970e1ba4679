#include "ScreenSaverBus.h"

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QStandardPaths>
#include <utility>

namespace pz::test {

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kServerName = QStringLiteral("pz-fake-screensaver");
const QString kClientName = QStringLiteral("pz-screensaver-client");
} // namespace

class FakeScreenSaver : public QDBusVirtualObject {
public:
    QStringList takeCalls()
    {
        QMutexLocker lock(&m_lock);
        return std::exchange(m_calls, {});
    }

    QString introspect(const QString &) const override { return QString(); }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.interface() != kService)
            return false;
        const QList<QVariant> args = message.arguments();
        if (message.member() == QLatin1String("Inhibit") && args.size() == 2) {
            const quint32 cookie = m_nextCookie++;
            log(QStringLiteral("Inhibit(%1,%2)=%3").arg(args[0].toString(), args[1].toString()).arg(cookie));
            connection.send(message.createReply(QVariant::fromValue(cookie)));
            return true;
        }
        if (message.member() == QLatin1String("UnInhibit") && args.size() == 1) {
            log(QStringLiteral("UnInhibit(%1)").arg(args[0].toUInt()));
            connection.send(message.createReply());
            return true;
        }
        return false;
    }

private:
    void log(const QString &call)
    {
        QMutexLocker lock(&m_lock);
        m_calls.append(call);
    }

    QMutex m_lock;
    QStringList m_calls;
    quint32 m_nextCookie = 4711;
};

ScreenSaverBus::ScreenSaverBus() = default;

ScreenSaverBus::~ScreenSaverBus()
{
    if (m_fake) {
        QDBusConnection(kServerName).unregisterObject(kPath);
        QDBusConnection::disconnectFromBus(kServerName);
        QDBusConnection::disconnectFromBus(kClientName);
        m_fake->deleteLater();
        m_serverThread.quit();
        m_serverThread.wait();
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
}

bool ScreenSaverBus::start(QString *why)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        return fail(QStringLiteral("dbus-daemon is not installed"));
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write the bus configuration"));
    file.write(QStringLiteral(
                   "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                   " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                   "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                   .arg(m_dir.filePath(QStringLiteral("bus")))
                   .toUtf8());
    file.close();
    m_daemon.start(daemon, {"--config-file=" + config, "--nofork", "--print-address"});
    // Bounds for a loaded machine; a quiet one takes milliseconds.
    if (!m_daemon.waitForStarted(60000) || !m_daemon.waitForReadyRead(60000))
        return fail(QStringLiteral("dbus-daemon did not start"));
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty())
        return fail(QStringLiteral("dbus-daemon gave no address"));

    m_serverThread.start();
    m_fake = new FakeScreenSaver;
    m_fake->moveToThread(&m_serverThread);
    bool serving = false;
    QMetaObject::invokeMethod(
        m_fake,
        [this, &serving] {
            QDBusConnection server = QDBusConnection::connectToBus(m_address, kServerName);
            serving = server.isConnected() && server.registerVirtualObject(kPath, m_fake);
        },
        Qt::BlockingQueuedConnection);
    if (!serving)
        return fail(QStringLiteral("the fake service could not register"));
    if (!QDBusConnection::connectToBus(m_address, kClientName).isConnected())
        return fail(QStringLiteral("no client connection"));
    return true;
}

bool ScreenSaverBus::serve(bool on)
{
    QDBusConnection server(kServerName);
    return on ? server.registerService(kService) : server.unregisterService(kService);
}

QDBusConnection ScreenSaverBus::client() const
{
    return QDBusConnection(kClientName);
}

QStringList ScreenSaverBus::takeCalls()
{
    return m_fake ? m_fake->takeCalls() : QStringList();
}

} // namespace pz::test
