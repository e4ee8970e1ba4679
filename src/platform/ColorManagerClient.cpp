#include "ColorManagerClient.h"
#include "RegularFile.h"

#include <QCryptographicHash>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QFile>
#include <QMap>
#include <mutex>

namespace pz {

namespace {

const char kService[] = "org.freedesktop.ColorManager";
const char kManagerPath[] = "/org/freedesktop/ColorManager";
const char kManagerInterface[] = "org.freedesktop.ColorManager";
const char kDeviceInterface[] = "org.freedesktop.ColorManager.Device";
const char kProfileInterface[] = "org.freedesktop.ColorManager.Profile";
const char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
// Device metadata keys the service matches in FindDeviceByProperty.
const char kOutputNameKey[] = "XRANDR_name";
const char kEdidMd5Key[] = "OutputEdidMd5";
// Kept by the service until it stops or the profile is deleted, whether or
// not our connection lasts; the file stays ours.
const char kLastingScope[] = "normal";
const char kHardRelation[] = "hard";
// What the bus answers for a call nobody answered in time.
const char kNoReplyError[] = "org.freedesktop.DBus.Error.NoReply";
const char kTimeoutError[] = "org.freedesktop.DBus.Error.Timeout";
// What the bus answers for a method the service does not have.
const char kUnknownMethodError[] = "org.freedesktop.DBus.Error.UnknownMethod";

using StringMap = QMap<QString, QString>;

void registerTypes()
{
    static std::once_flag once;
    std::call_once(once, [] { qDBusRegisterMetaType<StringMap>(); });
}

// The reply's first argument as an object path, or an empty string when the
// call failed or answered something else.
QString pathOf(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().first().value<QDBusObjectPath>().path();
}

bool succeeded(const QDBusMessage &reply) { return reply.type() == QDBusMessage::ReplyMessage; }

} // namespace

ColorManagerClient::ColorManagerClient(const QDBusConnection &bus, int assignmentTimeoutMs)
    : m_bus(bus), m_timeoutMs(assignmentTimeoutMs)
{
    registerTypes();
}

QString ColorManagerClient::md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QDBusMessage ColorManagerClient::call(const QString &path, const char *interface,
                                      const char *method, const QList<QVariant> &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(kService), path,
                                                          QLatin1String(interface),
                                                          QLatin1String(method));
    message.setArguments(arguments);
    const qint64 left = m_deadline.remainingTime();
    if (left <= 0)
        return message.createErrorReply(QDBusError::Timeout, QStringLiteral("no time left"));
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, int(left));
    // A service that let one call go unanswered is not asked again: the
    // bus may give up a moment before the bound, and what is left of it
    // would only be spent waiting once more.
    if (reply.type() == QDBusMessage::ErrorMessage
        && (reply.errorName() == QLatin1String(kNoReplyError)
            || reply.errorName() == QLatin1String(kTimeoutError)))
        m_deadline = QDeadlineTimer(0);
    return reply;
}

QString ColorManagerClient::callForPath(const QString &path, const char *interface,
                                        const char *method, const QList<QVariant> &arguments)
{
    return pathOf(call(path, interface, method, arguments));
}

bool ColorManagerClient::serviceRunning()
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage query = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    query << QString::fromLatin1(kService);
    const QDBusMessage reply =
        m_bus.call(query, QDBus::Block, int(qMax<qint64>(1, m_deadline.remainingTime())));
    return succeeded(reply) && !reply.arguments().isEmpty() && reply.arguments().first().toBool();
}

QString ColorManagerClient::profileId(const QString &profilePath)
{
    const QDBusMessage reply =
        call(profilePath, kPropertiesInterface, "Get",
             {QLatin1String(kProfileInterface), QStringLiteral("ProfileId")});
    if (!succeeded(reply) || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().first().value<QDBusVariant>().variant().toString();
}

bool ColorManagerClient::findOrCreateProfile(const QString &path, const QByteArray &profileBytes,
                                             QString &profilePath)
{
    const QString manager = QLatin1String(kManagerPath);
    const QString id = QStringLiteral("icc-") + md5Hex(profileBytes);
    const QString known = callForPath(manager, kManagerInterface, "FindProfileByFilename", {path});
    if (!known.isEmpty()) {
        if (profileId(known) == id) {
            profilePath = known;
            return true;
        }
        // The file was rewritten since (a later calibration of the same
        // display): the service's object still describes the old bytes.
        if (!succeeded(call(manager, kManagerInterface, "DeleteProfile",
                            {QVariant::fromValue(QDBusObjectPath(known))})))
            return false;
    }
    return createProfile(path, id, profilePath);
}

bool ColorManagerClient::createProfile(const QString &path, const QString &id,
                                       QString &profilePath)
{
    const QString manager = QLatin1String(kManagerPath);
    const StringMap properties{{QStringLiteral("Filename"), path}};
    // The service usually runs as a user of its own that cannot read the
    // user's home: it gets the open file. Only a service without that
    // method is given the file name alone.
    if (m_bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing) {
        QFile file(path);
        if (!openRegularFile(file))
            return false;
        const QDBusUnixFileDescriptor descriptor(file.handle()); // a duplicate
        const QDBusMessage reply = call(manager, kManagerInterface, "CreateProfileWithFd",
                                        {id, QLatin1String(kLastingScope),
                                         QVariant::fromValue(descriptor),
                                         QVariant::fromValue(properties)});
        if (reply.type() != QDBusMessage::ErrorMessage
            || reply.errorName() != QLatin1String(kUnknownMethodError)) {
            profilePath = pathOf(reply);
            return !profilePath.isEmpty();
        }
    }
    profilePath = callForPath(manager, kManagerInterface, "CreateProfile",
                              {id, QLatin1String(kLastingScope), QVariant::fromValue(properties)});
    return !profilePath.isEmpty();
}

bool ColorManagerClient::findDevice(const QString &outputName, const QByteArray &edid,
                                    QString &devicePath)
{
    const QString manager = QLatin1String(kManagerPath);
    devicePath = callForPath(manager, kManagerInterface, "FindDeviceByProperty",
                             {QLatin1String(kOutputNameKey), outputName});
    if (devicePath.isEmpty() && !edid.isEmpty())
        devicePath = callForPath(manager, kManagerInterface, "FindDeviceByProperty",
                                 {QLatin1String(kEdidMd5Key), md5Hex(edid)});
    return !devicePath.isEmpty();
}

ColorManagerClient::Result ColorManagerClient::assign(const QString &path,
                                                      const QByteArray &profileBytes,
                                                      const QString &outputName,
                                                      const QByteArray &edid)
{
    m_deadline = QDeadlineTimer(m_timeoutMs);
    if (!serviceRunning())
        return kNoService;
    QString profile;
    if (!findOrCreateProfile(path, profileBytes, profile))
        return kFailed;
    QString device;
    if (!findDevice(outputName, edid, device))
        return m_deadline.hasExpired() ? kFailed : kNoDevice;
    const QVariant profileArgument = QVariant::fromValue(QDBusObjectPath(profile));
    // A profile the device already has is refused here; making it the
    // default below still succeeds, and that decides.
    call(device, kDeviceInterface, "AddProfile", {QLatin1String(kHardRelation), profileArgument});
    return succeeded(call(device, kDeviceInterface, "MakeProfileDefault", {profileArgument}))
        ? kAssigned
        : kFailed;
}

} // namespace pz
