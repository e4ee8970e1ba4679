#include "RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pz {

bool isRegularFile(const QString &path)
{
    struct stat status {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &status) == 0
        && S_ISREG(status.st_mode);
}

bool openRegularFile(QFile &file)
{
    const QString path = file.fileName();
    if (file.isOpen() || !isRegularFile(path))
        return false;
    // Non-blocking, should the name have become a pipe since it was looked
    // at: open() then returns at once instead of waiting for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0
        || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace pz
