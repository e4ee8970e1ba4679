#pragma once
// Names that are no regular file, for the tests of every reader of a file
// the user names: a named pipe nobody writes to, a directory and a device.
// A reader must refuse them without opening them at all.
//
// Every open of the pipe or the directory is noted (inotify), even one that
// returns at once. A reader that opens the pipe as a file would wait in
// open() for a writer that never comes: a watcher on a thread of its own
// notices such a reader (the write end of a pipe opens only while a reader
// has the pipe open), and lets it go with an empty stream, so a faulty
// reader fails its test instead of hanging it.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <thread>

namespace pz::test {

// Notes every open of one file or directory from the moment it is made.
class OpenWatch {
public:
    explicit OpenWatch(const QString &path);
    ~OpenWatch();
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isValid() const { return m_fd >= 0; }
    // Whether it was opened since the watch began (or since it was
    // marked opened).
    bool wasOpened() const;
    void markOpened() { m_opened.store(true); }

private:
    int m_fd = -1;
    mutable std::atomic<bool> m_opened{false};
};

class UnwrittenFifo {
public:
    UnwrittenFifo();
    ~UnwrittenFifo();
    UnwrittenFifo(const UnwrittenFifo &) = delete;
    UnwrittenFifo &operator=(const UnwrittenFifo &) = delete;

    // Empty when the pipe (or its watch) could not be made.
    QString path() const { return m_path; }
    // Whether some reader opened the pipe, if only for a moment.
    bool wasOpened() const { return m_watch && m_watch->wasOpened(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<OpenWatch> m_watch;
    std::atomic<bool> m_stop{false};
    std::thread m_watcher;
};

// The kinds of NotAFile, as the rows of a test table.
QStringList notAFileKinds();

// "pipe" (an UnwrittenFifo), "directory" (an empty temporary one, watched),
// "device" (the null device) or "endless device" (the zero device). A
// device is a node of its own in a temporary folder where the system lets
// the test make one, else a link there to the system's node: a faulty
// reader that moves what it cannot read aside moves only that, never the
// system's /dev/null. Opens of a device are not watched.
class NotAFile {
public:
    explicit NotAFile(const QString &kind);

    // Empty when it could not be made.
    QString path() const;
    // Whether a reader opened the pipe or the directory.
    bool wasOpened() const;

private:
    QString m_kind;
    std::unique_ptr<UnwrittenFifo> m_fifo;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<OpenWatch> m_dirWatch;
    QString m_device;
};

} // namespace pz::test
