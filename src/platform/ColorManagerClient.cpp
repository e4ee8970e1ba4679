#include "ColorManagerClient.h"
#include "RegularFile.h"

#include <QCryptographicHash>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QMap>
#include <mutex>

namespace pz {

namespace {

const char kService[] = "org.freedesktop.ColorManager";
const char kManagerPath[] = "/org/freedesktop/ColorManager";
const char kManagerInterface[] = "org.freedesktop.ColorManager";
const char kDeviceInterface[] = "org.freedesktop.ColorManager.Device";
// Device metadata keys the service matches in FindDeviceByProperty.
const char kOutputNameKey[] = "XRANDR_name";
const char kEdidMd5Key[] = "OutputEdidMd5";
// A profile registered for this session only; the file stays ours.
const char kTemporaryScope[] = "temp";
const char kHardRelation[] = "hard";
// What the bus answers for a method the service does not have.
const char kUnknownMethodError[] = "org.freedesktop.DBus.Error.UnknownMethod";

using StringMap = QMap<QString, QString>;

void registerTypes()
{
    static std::once_flag once;
    std::call_once(once, [] { qDBusRegisterMetaType<StringMap>(); });
}

} // namespace

ColorManagerClient::ColorManagerClient(const QDBusConnection &bus) : m_bus(bus) { registerTypes(); }

QString ColorManagerClient::md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

namespace {

// One blocking call to the service.
QDBusMessage call(QDBusConnection &bus, const QString &path, const char *interface,
                  const char *method, const QList<QVariant> &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(kService), path,
                                                          QLatin1String(interface),
                                                          QLatin1String(method));
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, ColorManagerClient::kCallTimeoutMs);
}

// The reply's first argument as an object path, or an empty string when the
// call failed or answered something else.
QString pathOf(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().first().value<QDBusObjectPath>().path();
}

QString callForPath(QDBusConnection &bus, const QString &path, const char *interface,
                    const char *method, const QList<QVariant> &arguments)
{
    return pathOf(call(bus, path, interface, method, arguments));
}

bool callDevice(QDBusConnection &bus, const QString &device, const char *method,
                const QList<QVariant> &arguments)
{
    return call(bus, device, kDeviceInterface, method, arguments).type()
        == QDBusMessage::ReplyMessage;
}

} // namespace

bool ColorManagerClient::serviceRunning()
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    call << QString::fromLatin1(kService);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && reply.arguments().first().toBool();
}

bool ColorManagerClient::findOrCreateProfile(const QString &path, const QByteArray &profileBytes,
                                             QString &profilePath)
{
    const QString manager = QLatin1String(kManagerPath);
    profilePath = callForPath(m_bus, manager, kManagerInterface, "FindProfileByFilename", {path});
    if (!profilePath.isEmpty())
        return true;

    const QString id = QStringLiteral("icc-") + md5Hex(profileBytes);
    const StringMap properties{{QStringLiteral("Filename"), path}};
    // The service usually runs as a user of its own that cannot read the
    // user's home: it gets the open file. Only a service without that
    // method is given the file name alone.
    if (m_bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing) {
        QFile file(path);
        if (!openRegularFile(file))
            return false;
        const QDBusUnixFileDescriptor descriptor(file.handle()); // a duplicate
        const QDBusMessage reply = call(m_bus, manager, kManagerInterface, "CreateProfileWithFd",
                                        {id, QLatin1String(kTemporaryScope),
                                         QVariant::fromValue(descriptor),
                                         QVariant::fromValue(properties)});
        if (reply.type() != QDBusMessage::ErrorMessage
            || reply.errorName() != QLatin1String(kUnknownMethodError)) {
            profilePath = pathOf(reply);
            return !profilePath.isEmpty();
        }
    }
    profilePath = callForPath(m_bus, manager, kManagerInterface, "CreateProfile",
                              {id, QLatin1String(kTemporaryScope), QVariant::fromValue(properties)});
    return !profilePath.isEmpty();
}

bool ColorManagerClient::findDevice(const QString &outputName, const QByteArray &edid,
                                    QString &devicePath)
{
    const QString manager = QLatin1String(kManagerPath);
    devicePath = callForPath(m_bus, manager, kManagerInterface, "FindDeviceByProperty",
                             {QLatin1String(kOutputNameKey), outputName});
    if (devicePath.isEmpty() && !edid.isEmpty())
        devicePath = callForPath(m_bus, manager, kManagerInterface, "FindDeviceByProperty",
                                 {QLatin1String(kEdidMd5Key), md5Hex(edid)});
    return !devicePath.isEmpty();
}

ColorManagerClient::Result ColorManagerClient::assign(const QString &path,
                                                      const QByteArray &profileBytes,
                                                      const QString &outputName,
                                                      const QByteArray &edid)
{
    if (!serviceRunning())
        return kNoService;
    QString profile;
    if (!findOrCreateProfile(path, profileBytes, profile))
        return kFailed;
    QString device;
    if (!findDevice(outputName, edid, device))
        return kNoDevice;
    const QVariant profileArgument = QVariant::fromValue(QDBusObjectPath(profile));
    // A profile the device already has is refused here; making it the
    // default below still succeeds, and that decides.
    callDevice(m_bus, device, "AddProfile", {QLatin1String(kHardRelation), profileArgument});
    return callDevice(m_bus, device, "MakeProfileDefault", {profileArgument}) ? kAssigned
                                                                              : kFailed;
}

} // namespace pz
