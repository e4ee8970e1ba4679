#include "UnwrittenFifo.h"

#include <QFile>

#include <chrono>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace pz::test {

OpenWatch::OpenWatch(const QString &path)
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0 && ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

OpenWatch::~OpenWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool OpenWatch::wasOpened() const
{
    // The kernel queues the event before open() returns to the reader:
    // whatever was opened is seen here at once.
    alignas(inotify_event) char events[4096];
    while (m_fd >= 0 && ::read(m_fd, events, sizeof events) > 0)
        m_opened.store(true);
    return m_opened.load();
}

UnwrittenFifo::UnwrittenFifo()
{
    const QString path = m_dir.filePath(QStringLiteral("pipe"));
    if (!m_dir.isValid() || ::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        return;
    m_watch = std::make_unique<OpenWatch>(path);
    if (!m_watch->isValid())
        return;
    m_path = path;
    m_watcher = std::thread([this, name = QFile::encodeName(path)] {
        while (!m_stop.load()) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                // Only a reader of the pipe counts, not a file that took
                // its name.
                struct stat status {};
                if (::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
                    m_watch->markOpened();
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

UnwrittenFifo::~UnwrittenFifo()
{
    m_stop.store(true);
    if (m_watcher.joinable())
        m_watcher.join();
}

QStringList notAFileKinds()
{
    return {QStringLiteral("pipe"), QStringLiteral("directory"), QStringLiteral("device")};
}

NotAFile::NotAFile(const QString &kind) : m_kind(kind)
{
    if (kind == QLatin1String("pipe")) {
        m_fifo = std::make_unique<UnwrittenFifo>();
        return;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return;
    if (kind == QLatin1String("directory")) {
        m_dirWatch = std::make_unique<OpenWatch>(m_dir->path());
        return;
    }
    // The Linux null and zero devices: character devices 1,3 and 1,5.
    const bool endless = kind == QLatin1String("endless device");
    if (!endless && kind != QLatin1String("device"))
        return;
    const QString system = endless ? QStringLiteral("/dev/zero") : QStringLiteral("/dev/null");
    const QString node = m_dir->filePath(QStringLiteral("device"));
    if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, endless ? 5 : 3))
            == 0
        || QFile::link(system, node))
        m_device = node;
}

QString NotAFile::path() const
{
    if (m_fifo)
        return m_fifo->path();
    if (m_dirWatch)
        return m_dirWatch->isValid() ? m_dir->path() : QString();
    return m_device;
}

bool NotAFile::wasOpened() const
{
    if (m_fifo)
        return m_fifo->wasOpened();
    return m_dirWatch && m_dirWatch->wasOpened();
}

} // namespace pz::test
