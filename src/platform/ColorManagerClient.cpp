#include "ColorManagerClient.h"

#include <QCryptographicHash>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
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

// One blocking call; the reply's first argument as an object path, or an
// empty string when the call failed or answered something else.
QString callForPath(QDBusConnection &bus, const QString &path, const char *interface,
                    const char *method, const QList<QVariant> &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kService), path,
                                                       QLatin1String(interface),
                                                       QLatin1String(method));
    call.setArguments(arguments);
    const QDBusMessage reply = bus.call(call, QDBus::Block, ColorManagerClient::kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().first().value<QDBusObjectPath>().path();
}

bool callDevice(QDBusConnection &bus, const QString &device, const char *method,
                const QList<QVariant> &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), device, QLatin1String(kDeviceInterface), QLatin1String(method));
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, ColorManagerClient::kCallTimeoutMs).type()
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
    if (profilePath.isEmpty()) {
        const StringMap properties{{QStringLiteral("Filename"), path}};
        profilePath = callForPath(m_bus, manager, kManagerInterface, "CreateProfile",
                                  {QStringLiteral("icc-") + md5Hex(profileBytes),
                                   QLatin1String(kTemporaryScope),
                                   QVariant::fromValue(properties)});
    }
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
