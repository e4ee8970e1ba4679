#pragma once
// Every stored record goes through these helpers, so the byte layout of the
// formats stays what it was when they were defined (QDataStream version 12,
// big-endian, doubles as 8 bytes) and every file is written atomically.

#include <QDataStream>
#include <QString>
#include <functional>

namespace pz {

// The stream version every record is read and written with.
constexpr QDataStream::Version kRecordStreamVersion = QDataStream::Qt_4_6;

// Pins a stream to the record version. Call on every QDataStream that
// reads or writes a record.
void pinRecordStream(QDataStream &stream);

enum class HeaderCheck { Ok, BadMagic, BadVersion, ReadFailed };

// Reads a 32-bit magic and, when it matches, a 32-bit version. When the
// magic differs, or acceptVersion refuses the version, the stream is marked
// ReadCorruptData and the reason returned; a wrong magic is reported as such
// even when no version follows it. version receives what was read (0 when
// none was).
HeaderCheck readRecordHeader(QDataStream &stream, qint32 magic,
                             const std::function<bool(qint32)> &acceptVersion,
                             qint32 *version = nullptr);
// Convenience form: versions from minVersion to maxVersion are accepted.
HeaderCheck readRecordHeader(QDataStream &stream, qint32 magic,
                             qint32 minVersion, qint32 maxVersion,
                             qint32 *version = nullptr);
void writeRecordHeader(QDataStream &stream, qint32 magic, qint32 version);

// File result codes shared by every record file.
enum FileResult {
    kFileOk = 0,
    kFileCannotOpen = -1500,
    kFileReadFailed = -1503,
    kFileWriteFailed = -1504,
};

// Writes a file through QSaveFile: the old file stays intact unless the
// whole record was written and committed. Returns kFileOk,
// kFileCannotOpen or kFileWriteFailed.
int saveRecordFile(const QString &path, const std::function<void(QDataStream &)> &write);

// Opens a file and hands a pinned stream to read. Returns kFileOk,
// kFileCannotOpen (also for anything but a regular file: a pipe, a
// directory, a device), or kFileReadFailed when the stream status is not Ok
// after read returned.
int loadRecordFile(const QString &path, const std::function<void(QDataStream &)> &read);

// Moves a file that could not be read out of the way, to "<path>.bad" (or
// "<path>.bad.N" when that is taken), so that writing a new one does not
// destroy what a user or a newer version could still recover. Returns the
// new path, or an empty string when it could be neither moved nor copied.
QString keepDamagedFileAside(const QString &path);

// A count read from a file, accepted only when 0 <= count <= limit;
// otherwise the stream is marked ReadCorruptData. Readers never reserve
// memory from a count; they append as elements arrive.
bool acceptCount(QDataStream &stream, qint64 count, qint64 limit);

} // namespace pz
