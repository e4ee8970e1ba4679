#include "LinuxI2CBus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace pz {

i2c_msg i2cMessage(quint8 address, quint8 *data, quint16 length, bool isRead)
{
    i2c_msg message{};
    message.addr = static_cast<__u16>(address >> 1);
    message.flags = isRead ? I2C_M_RD : 0;
    message.len = length;
    message.buf = data;
    return message;
}

LinuxI2CBus::LinuxI2CBus(const QString &devicePath)
{
    const QByteArray path = QFile::encodeName(devicePath);
    do {
        m_fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        m_error = QStringLiteral("%1: %2").arg(devicePath, QString::fromLocal8Bit(std::strerror(errno)));
}

LinuxI2CBus::~LinuxI2CBus()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString LinuxI2CBus::devicePath(int bus) { return QStringLiteral("/dev/i2c-%1").arg(bus); }

std::unique_ptr<LinuxI2CBus> LinuxI2CBus::open(int bus, QString *error)
{
    if (bus < 0) {
        if (error)
            *error = QStringLiteral("no I2C bus");
        return nullptr;
    }
    auto opened = std::make_unique<LinuxI2CBus>(devicePath(bus));
    if (!opened->isOpen()) {
        if (error)
            *error = opened->errorString();
        return nullptr;
    }
    return opened;
}

bool LinuxI2CBus::transfer(quint8 address, quint8 *data, int length, bool isRead)
{
    // One message per transaction; the kernel's message length is 16 bits.
    if (m_fd < 0 || length < 0 || length > 0xFFFF || (length > 0 && !data) ||
        (isRead && length == 0))
        return false;
    i2c_msg message = i2cMessage(address, data, static_cast<quint16>(length), isRead);
    i2c_rdwr_ioctl_data request{};
    request.msgs = &message;
    request.nmsgs = 1;
    int done;
    do {
        done = ::ioctl(m_fd, I2C_RDWR, &request);
    } while (done < 0 && errno == EINTR);
    if (done != 1) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool LinuxI2CBus::write(quint8 address, const quint8 *data, int length)
{
    // The kernel does not change a write buffer; the message type is shared.
    return transfer(address, const_cast<quint8 *>(data), length, false);
}

bool LinuxI2CBus::read(quint8 address, quint8 *data, int length)
{
    return transfer(address, data, length, true);
}

namespace {
int busFromName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^i2c-(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(32768);
}
} // namespace

QVector<DrmConnectorBus> drmConnectorBuses(const QString &sysfsRoot)
{
    QVector<DrmConnectorBus> out;
    const QDir root(sysfsRoot);
    // Connectors are named card<N>-<type>-<index>; card<N> itself is the GPU.
    static const QRegularExpression connectorName(QStringLiteral("^card\\d+-.+"));
    const QStringList entries =
        root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString &name : entries) {
        if (!connectorName.match(name).hasMatch())
            continue;
        const QString dir = root.filePath(name);
        DrmConnectorBus entry;
        entry.connector = name;
        entry.connected =
            readSmallFile(dir + QStringLiteral("/status")).trimmed() == QByteArray("connected");
        entry.edid = readSmallFile(dir + QStringLiteral("/edid"));
        const QFileInfo ddc(dir + QStringLiteral("/ddc"));
        if (ddc.isSymLink())
            entry.bus = busFromName(QFileInfo(ddc.symLinkTarget()).fileName());
        if (entry.bus < 0) {
            const QStringList inner = QDir(dir).entryList(
                {QStringLiteral("i2c-*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
            for (const QString &candidate : inner) {
                entry.bus = busFromName(candidate);
                if (entry.bus >= 0)
                    break;
            }
        }
        out.append(entry);
    }
    return out;
}

} // namespace pz
