#include "UnwrittenFifo.h"

#include <QFile>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pz::test {

UnwrittenFifo::UnwrittenFifo()
{
    const QString path = m_dir.filePath(QStringLiteral("pipe"));
    if (!m_dir.isValid() || ::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
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
                    m_opened.store(true);
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
    if (kind == QLatin1String("pipe"))
        m_fifo = std::make_unique<UnwrittenFifo>();
    else if (kind == QLatin1String("directory"))
        m_dir = std::make_unique<QTemporaryDir>();
}

QString NotAFile::path() const
{
    if (m_fifo)
        return m_fifo->path();
    if (m_dir)
        return m_dir->isValid() ? m_dir->path() : QString();
    return m_kind == QLatin1String("device") && QFile::exists(QStringLiteral("/dev/null"))
        ? QStringLiteral("/dev/null")
        : QString();
}

} // namespace pz::test
