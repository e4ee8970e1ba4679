#include "Clock.h"
#include "RecordStream.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace pz;

class TestClock : public QObject {
    Q_OBJECT
private slots:
    void waitMsRoundsToTicks_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<qint64>("ticks");
        QTest::newRow("0") << 0 << qint64(1);
        QTest::newRow("16") << 16 << qint64(1);
        QTest::newRow("50") << 50 << qint64(4);
        QTest::newRow("100") << 100 << qint64(7);
        QTest::newRow("1000") << 1000 << qint64(61);
        QTest::newRow("2000") << 2000 << qint64(121);
        QTest::newRow("negative") << -1000 << qint64(1);
    }
    void waitMsRoundsToTicks()
    {
        QFETCH(int, ms);
        QFETCH(qint64, ticks);
        VirtualClock virt;
        ScopedClock scope(&virt);
        WaitMS(ms);
        QCOMPARE(virt.waitsTicks(), QVector<qint64>{ticks});
        QCOMPARE(virt.nowUs(), ticksToUs(ticks));
    }

    void scopedClockRestoresPrevious()
    {
        IClock *before = &programClock();
        {
            VirtualClock virt;
            ScopedClock scope(&virt);
            QCOMPARE(&programClock(), static_cast<IClock *>(&virt));
        }
        QCOMPARE(&programClock(), before);
    }

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

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
