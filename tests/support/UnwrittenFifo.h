#pragma once
// Names that are no regular file, for the tests of every reader of a file
// the user names: a named pipe nobody writes to, a directory and a device.
//
// A reader that opens the pipe as a file would wait in open() for a writer
// that never comes. A watcher on a thread of its own notices such a reader
// (the write end of a pipe opens only while a reader has the pipe open),
// records it and lets the reader go with an empty stream: a faulty reader
// fails its test instead of hanging it.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <thread>

namespace pz::test {

class UnwrittenFifo {
public:
    UnwrittenFifo();
    ~UnwrittenFifo();
    UnwrittenFifo(const UnwrittenFifo &) = delete;
    UnwrittenFifo &operator=(const UnwrittenFifo &) = delete;

    // Empty when the pipe could not be made.
    QString path() const { return m_path; }
    // Whether some reader opened the pipe.
    bool wasOpened() const { return m_opened.load(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::thread m_watcher;
};

// The kinds of NotAFile, as the rows of a test table.
QStringList notAFileKinds();

// "pipe" (an UnwrittenFifo), "directory" (an empty temporary one) or
// "device" (/dev/null).
class NotAFile {
public:
    explicit NotAFile(const QString &kind);

    // Empty when it could not be made.
    QString path() const;
    // Whether a reader opened the pipe; false for the other kinds.
    bool wasOpened() const { return m_fifo && m_fifo->wasOpened(); }

private:
    QString m_kind;
    std::unique_ptr<UnwrittenFifo> m_fifo;
    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace pz::test
