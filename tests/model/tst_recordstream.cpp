// The helpers every stored record goes through: header checks and atomic
// file writes.

#include "RecordStream.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace pz;

class TestRecordStream : public QObject {
    Q_OBJECT
private slots:
    void headerCheckMarksCorruptStreams()
    {
        const QByteArray good = test::hex("0000fadf 00000065");
        QCOMPARE(test::readRecordBytes(good, [](QDataStream &s) {
                     QCOMPARE(readRecordHeader(s, 0xFADF, 101, 101), HeaderCheck::Ok);
                 }), QDataStream::Ok);
        QCOMPARE(test::readRecordBytes(test::hex("0000fade 00000065"), [](QDataStream &s) {
                     QCOMPARE(readRecordHeader(s, 0xFADF, 101, 101), HeaderCheck::BadMagic);
                 }), QDataStream::ReadCorruptData);
        QCOMPARE(test::readRecordBytes(test::hex("0000fadf 00000066"), [](QDataStream &s) {
                     QCOMPARE(readRecordHeader(s, 0xFADF, 101, 101), HeaderCheck::BadVersion);
                 }), QDataStream::ReadCorruptData);
        QCOMPARE(test::readRecordBytes(test::hex("0000fadf 00"), [](QDataStream &s) {
                     QCOMPARE(readRecordHeader(s, 0xFADF, 101, 101), HeaderCheck::ReadFailed);
                 }), QDataStream::ReadPastEnd);
        // A foreign magic is judged before a version is looked for.
        QCOMPARE(test::readRecordBytes(test::hex("0000fade"), [](QDataStream &s) {
                     QCOMPARE(readRecordHeader(s, 0xFADF, 101, 101), HeaderCheck::BadMagic);
                 }), QDataStream::ReadCorruptData);
    }

    void failedSaveKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("record.bin");
        QCOMPARE(saveRecordFile(path, [](QDataStream &s) { s << qint32(1); }), int(kFileOk));
        // A writer that fails half-way must not replace the file.
        QCOMPARE(saveRecordFile(path, [](QDataStream &s) {
                     s << qint32(2);
                     s.setStatus(QDataStream::WriteFailed);
                 }), int(kFileWriteFailed));
        qint32 value = 0;
        QCOMPARE(loadRecordFile(path, [&](QDataStream &s) { s >> value; }), int(kFileOk));
        QCOMPARE(value, 1);
        // A folder that cannot exist: the parent is a regular file.
        QCOMPARE(saveRecordFile(path + "/child", [](QDataStream &s) { s << qint32(3); }),
                 int(kFileCannotOpen));
        QCOMPARE(loadRecordFile(dir.filePath("missing"), [](QDataStream &) {}),
                 int(kFileCannotOpen));
    }
};

QTEST_GUILESS_MAIN(TestRecordStream)
#include "tst_recordstream.moc"
