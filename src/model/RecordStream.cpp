#include "RecordStream.h"

#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pz {

void pinRecordStream(QDataStream &stream)
{
    stream.setVersion(kRecordStreamVersion);
    stream.setByteOrder(QDataStream::BigEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

HeaderCheck readRecordHeader(QDataStream &stream, qint32 magic,
                             const std::function<bool(qint32)> &acceptVersion,
                             qint32 *version)
{
    qint32 readMagic = 0;
    qint32 readVersion = 0;
    if (version)
        *version = readVersion;
    // The magic is judged before the version is read, so a foreign record
    // too short to hold a version still reads as foreign.
    stream >> readMagic;
    if (stream.status() != QDataStream::Ok)
        return HeaderCheck::ReadFailed;
    if (readMagic != magic) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return HeaderCheck::BadMagic;
    }
    stream >> readVersion;
    if (version)
        *version = readVersion;
    if (stream.status() != QDataStream::Ok)
        return HeaderCheck::ReadFailed;
    if (!acceptVersion(readVersion)) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return HeaderCheck::BadVersion;
    }
    return HeaderCheck::Ok;
}

HeaderCheck readRecordHeader(QDataStream &stream, qint32 magic, qint32 minVersion,
                             qint32 maxVersion, qint32 *version)
{
    return readRecordHeader(
        stream, magic, [=](qint32 v) { return v >= minVersion && v <= maxVersion; }, version);
}

void writeRecordHeader(QDataStream &stream, qint32 magic, qint32 version)
{
    stream << magic << version;
}

int saveRecordFile(const QString &path, const std::function<void(QDataStream &)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return kFileCannotOpen;
    QDataStream stream(&file);
    pinRecordStream(stream);
    write(stream);
    // QSaveFile::commit() replaces the old file even when flushing its write
    // buffer fails (a full disk, the file size limit), so the buffer is
    // flushed and checked here, before anything is committed.
    if (stream.status() != QDataStream::Ok || !file.flush()
        || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return kFileWriteFailed;
    }
    return file.commit() ? kFileOk : kFileWriteFailed;
}

namespace {

// A free name beside the damaged file.
QString asideName(const QString &path)
{
    QString candidate = path + QStringLiteral(".bad");
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = path + QStringLiteral(".bad.") + QString::number(n);
    return candidate;
}

} // namespace

QString keepDamagedFileAside(const QString &path)
{
    const QString aside = asideName(path);
    if (QFile::rename(path, aside))
        return aside;
    // Renaming can fail where copying works (another file system view);
    // the original then stays too, and is at least kept once.
    return QFile::copy(path, aside) ? aside : QString();
}

int loadRecordFile(const QString &path, const std::function<void(QDataStream &)> &read)
{
    QFile file(path);
    if (!openRegularFile(file))
        return kFileCannotOpen;
    QDataStream stream(&file);
    pinRecordStream(stream);
    read(stream);
    return stream.status() == QDataStream::Ok ? kFileOk : kFileReadFailed;
}

bool acceptCount(QDataStream &stream, qint64 count, qint64 limit)
{
    if (stream.status() != QDataStream::Ok)
        return false;
    if (count < 0 || count > limit) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    return true;
}

} // namespace pz
