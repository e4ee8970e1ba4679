#include "RunningProcesses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readProcFile(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(limit);
}

// The state letter follows the parenthesised name, which may itself hold
// parentheses and spaces.
bool isZombie(const QString &procDir)
{
    const QByteArray stat = readProcFile(procDir + QStringLiteral("/stat"), 4096);
    const int close = stat.lastIndexOf(')');
    return close < 0 || close + 2 >= stat.size() || stat.at(close + 2) == 'Z';
}

bool ownedByCurrentUser(const QString &procDir)
{
    struct stat info {};
    return ::stat(QFile::encodeName(procDir).constData(), &info) == 0 && info.st_uid == ::geteuid();
}

bool hasName(const QString &procDir, const QString &name)
{
    const QString comm =
        QString::fromLocal8Bit(readProcFile(procDir + QStringLiteral("/comm"), 256)).trimmed();
    if (!comm.isEmpty() && comm.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    // The kernel keeps only 15 characters of the name; the first argument
    // holds the whole program path.
    const QByteArray cmdline = readProcFile(procDir + QStringLiteral("/cmdline"), 4096);
    const QString argv0 = QString::fromLocal8Bit(cmdline.left(cmdline.indexOf('\0')));
    const QString program = QFileInfo(argv0).fileName();
    return !program.isEmpty() && program.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IsApplicationRunning(QString name, bool kill)
{
    if (name.isEmpty())
        return false;
    const qint64 self = ::getpid();
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid <= 0 || pid == self)
            continue;
        const QString procDir = proc.filePath(entry);
        if (!ownedByCurrentUser(procDir) || !hasName(procDir, name) || isZombie(procDir))
            continue;
        if (kill)
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        return true;
    }
    return false;
}
