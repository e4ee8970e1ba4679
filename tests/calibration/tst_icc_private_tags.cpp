// The private 'vcgt' and 'mmod' tag types and the byte streams they use:
// golden elements, refusals, copies and descriptions.

#include "CIccFileIOQt.h"
#include "CIccIO.h"
#include "CIccTagmmod.h"
#include "CIccTagvcgt.h"
#include "TestSupport.h"
#include "UnwrittenFifo.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using pz::test::hex;

namespace {

// The writer's identity table: three channels of 00..FF.
QByteArray identityTable()
{
    QByteArray table;
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i)
            table.append(char(i));
    return table;
}

CIccTagvcgt tagWith(quint16 channels, quint16 count, quint16 size, QByteArray table)
{
    icvcgtstruct record;
    record.tagType = 7; // not read
    record.channels = channels;
    record.entryCount = count;
    record.entrySize = size;
    record.data = reinterpret_cast<unsigned char *>(table.data());
    CIccTagvcgt tag;
    tag.SetVCGT(record);
    return tag;
}

template <typename Tag>
QByteArray written(const Tag &tag, bool *ok = nullptr)
{
    CIccMemIO io;
    const bool result = tag.Write(&io);
    if (ok)
        *ok = result;
    return io.bytes();
}

// Reads bytes as an element of size bytes (default: all of them).
template <typename Tag>
bool readInto(Tag &tag, const QByteArray &bytes, long size = -1)
{
    CIccMemIO io(bytes);
    return tag.Read(size < 0 ? bytes.size() : size, &io);
}

QByteArray vcgtHeader(quint32 gammaType, quint16 channels, quint16 count, quint16 size)
{
    return hex(QString::asprintf("76636774 00000000 %08X %04X %04X %04X", gammaType, channels,
                                 count, size)
                   .toLatin1()
                   .constData());
}

const char kMmodGolden[] = "6D6D6F64 00000000 00003E56 00001234 0000000A 0000000B"
                           "0000000C 0000000D 0000000E 0000000F";

} // namespace

class TestIccPrivateTags : public QObject {
    Q_OBJECT
private slots:
    void vcgtIdentityElement()
    {
        const CIccTagvcgt tag = tagWith(3, 256, 1, identityTable());
        bool ok = false;
        const QByteArray bytes = written(tag, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.size(), 786);
        QCOMPARE(bytes.left(18), hex("76636774 00000000 00000000 0003 0100 0001"));
        QCOMPARE(bytes.mid(18), identityTable());

        CIccTagvcgt back;
        QVERIFY(readInto(back, bytes));
        QCOMPARE(written(back), bytes);
        QByteArray table(768, '\x55');
        icvcgtstruct out;
        out.data = reinterpret_cast<unsigned char *>(table.data());
        QVERIFY(back.GetVCGT(&out));
        QCOMPARE(out.channels, quint16(3));
        QCOMPARE(out.entryCount, quint16(256));
        QCOMPARE(out.entrySize, quint16(1));
        QCOMPARE(table, identityTable());
    }

    void vcgtTwoByteEntries()
    {
        // Two-byte entries travel big-endian and come back in host order.
        QByteArray table(2 * 2 * 2, '\0');
        const quint16 values[4] = {0x0102, 0xFFFE, 0x8000, 0x0001};
        memcpy(table.data(), values, sizeof(values));
        const QByteArray bytes = written(tagWith(2, 2, 2, table));
        QCOMPARE(bytes, vcgtHeader(0, 2, 2, 2) + hex("0102 FFFE 8000 0001"));
        CIccTagvcgt back;
        QVERIFY(readInto(back, bytes));
        QByteArray out(8, '\0');
        icvcgtstruct record;
        record.data = reinterpret_cast<unsigned char *>(out.data());
        QVERIFY(back.GetVCGT(&record));
        QCOMPARE(out, table);
    }

    void vcgtReadRefuses_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<long>("size");
        const QByteArray good = written(tagWith(3, 256, 1, identityTable()));
        QTest::newRow("gamma type 1") << vcgtHeader(1, 3, 256, 1) + identityTable() << 786L;
        QTest::newRow("element one short") << good << 785L;
        QTest::newRow("stream one short") << good.left(785) << 786L;
        QTest::newRow("header only") << good.left(18) << 786L;
        QTest::newRow("header cut") << good.left(17) << 17L;
        QTest::newRow("entry size 0") << vcgtHeader(0, 3, 256, 0) << 18L;
        QTest::newRow("entry size 3") << vcgtHeader(0, 1, 2, 3) + QByteArray(6, '\1') << 24L;
        // 65535 x 65535 x 2 bytes announced: refused before anything is taken.
        QTest::newRow("huge table") << vcgtHeader(0, 65535, 65535, 2) + QByteArray(64, '\0')
                                    << long(0x7FFFFFFF);
    }
    void vcgtReadRefuses()
    {
        QFETCH(QByteArray, element);
        QFETCH(long, size);
        // A refused element leaves the tag as it was.
        CIccTagvcgt tag = tagWith(1, 2, 1, QByteArray("\x10\x20", 2));
        const QByteArray before = written(tag);
        QVERIFY(!readInto(tag, element, size));
        QCOMPARE(written(tag), before);
        QVERIFY(!tag.Read(786, nullptr));
    }

    void vcgtWriteAndGetRefuseOtherKinds()
    {
        // A table element that announces another gamma type cannot be read,
        // so no tag of another kind exists; entry sizes other than 1 and 2
        // are refused at writing.
        bool ok = true;
        QVERIFY(written(tagWith(1, 2, 3, QByteArray(6, '\0')), &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(written(tagWith(1, 2, 0, QByteArray()), &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(!tagWith(1, 1, 1, QByteArray(1, '\0')).Write(nullptr));
        QVERIFY(!CIccTagvcgt().GetVCGT(nullptr));
    }

    void vcgtCopiesAndDescribes()
    {
        const CIccTagvcgt tag = tagWith(3, 256, 1, identityTable());
        std::unique_ptr<CIccTagvcgt> copy(tag.NewCopy());
        QCOMPARE(written(*copy), written(tag));
        CIccTagvcgt assigned;
        assigned = tag;
        QCOMPARE(written(assigned), written(tag));
        assigned = assigned;
        QCOMPARE(written(assigned), written(tag));
        QCOMPARE(tag.GetType(), quint32(0x76636774));
        QCOMPARE(QByteArray(tag.GetClassName()), QByteArray("CIccTagvcgt"));

        std::string text = "old";
        tag.Describe(text);
        QCOMPARE(QString::fromStdString(text),
                 QStringLiteral("vcgt:tagType = 0\r\nchannels = 3\r\nentryCount = 256\r\n"
                                "entrySize = 1\r\n"));
        std::string report;
        QCOMPARE(tag.Validate(0x76636774, report), 0);
        QVERIFY(report.empty());
    }

    void vcgtReservedWordOfACopyIsZero()
    {
        QByteArray element = written(tagWith(1, 1, 1, QByteArray(1, '\x7F')));
        element[7] = '\x09';
        CIccTagvcgt read;
        QVERIFY(readInto(read, element));
        QCOMPARE(written(read).at(7), '\x09');
        QCOMPARE(written(CIccTagvcgt(read)).at(7), '\0');
    }

    void mmodGoldenElement()
    {
        icmmodstruct value;
        value.manufacturer = 0x00003E56;
        value.model = 0x00001234;
        value.serialNumber = 10;
        value.manufactureDate = 11;
        value.reserved1 = 12;
        value.reserved2 = 13;
        value.reserved3 = 14;
        value.reserved4 = 15;
        CIccTagmmod tag;
        tag.Setmmod(value);
        bool ok = false;
        const QByteArray bytes = written(tag, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes, hex(kMmodGolden));

        CIccTagmmod back;
        QVERIFY(readInto(back, bytes));
        icmmodstruct out;
        QCOMPARE(back.Getmmod(&out), 1);
        QCOMPARE(out.manufacturer, value.manufacturer);
        QCOMPARE(out.model, value.model);
        QCOMPARE(out.serialNumber, value.serialNumber);
        QCOMPARE(out.manufactureDate, value.manufactureDate);
        QCOMPARE(out.reserved1, value.reserved1);
        QCOMPARE(out.reserved2, value.reserved2);
        QCOMPARE(out.reserved3, value.reserved3);
        QCOMPARE(out.reserved4, value.reserved4);
        std::unique_ptr<CIccTagmmod> copy(back.NewCopy());
        QCOMPARE(written(*copy), bytes);
        QCOMPARE(back.GetType(), quint32(0x6D6D6F64));
        QCOMPARE(QByteArray(back.GetClassName()), QByteArray("CIccTagmmod"));

        std::string text;
        back.Describe(text);
        QCOMPARE(QString::fromStdString(text),
                 QStringLiteral("mmod:model = 4660\r\nserialNumber = 10\r\nmanufactureDate = 11\r\n"
                                "reserved1 = 12\r\nreserved2 = 13\r\nreserved3 = 14\r\n"
                                "reserved4 = 15\r\n"));
        std::string report;
        QCOMPARE(back.Validate(0x6D6D6F64, report), 0);
        QVERIFY(report.empty());
    }

    void mmodReadRefusesShortElements()
    {
        CIccTagmmod tag;
        const QByteArray golden = hex(kMmodGolden);
        QVERIFY(!readInto(tag, golden, 39));
        QVERIFY(!readInto(tag, golden.left(39), 40));
        QVERIFY(!tag.Read(40, nullptr));
        icmmodstruct out;
        tag.Getmmod(&out);
        QCOMPARE(out.manufacturer, 0u); // untouched
        QVERIFY(!CIccTagmmod().Write(nullptr));
    }

    void memoryStreamSeeks_data()
    {
        QTest::addColumn<long>("offset");
        QTest::addColumn<int>("origin");
        QTest::addColumn<long>("result");
        QTest::addColumn<long>("position");
        // Stream of 10 bytes, positioned at 4.
        QTest::newRow("set 0") << 0L << int(icSeekSet) << 1L << 0L;
        QTest::newRow("set end") << 10L << int(icSeekSet) << 1L << 10L;
        QTest::newRow("set past end") << 11L << int(icSeekSet) << 0L << 4L;
        QTest::newRow("set negative") << -1L << int(icSeekSet) << 0L << 4L;
        QTest::newRow("cur back") << -4L << int(icSeekCur) << 1L << 0L;
        QTest::newRow("cur before start") << -5L << int(icSeekCur) << 0L << 4L;
        QTest::newRow("end back") << -3L << int(icSeekEnd) << 1L << 7L;
        QTest::newRow("bad origin") << 0L << 3 << -1L << 4L;
    }
    void memoryStreamSeeks()
    {
        QFETCH(long, offset);
        QFETCH(int, origin);
        QFETCH(long, result);
        QFETCH(long, position);
        CIccMemIO io(QByteArray(10, 'x'));
        QCOMPARE(io.Seek(4, icSeekSet), 1L);
        QCOMPARE(io.Seek(offset, icSeekVal(origin)), result);
        QCOMPARE(io.Tell(), position);
    }

    void memoryStreamBigEndianValues()
    {
        CIccMemIO io;
        const quint16 shorts[2] = {0x0102, 0xA0B0};
        QCOMPARE(io.Write16(shorts, 2), 2L);
        QVERIFY(io.Write32(quint32(0x11223344)));
        QCOMPARE(io.bytes(), hex("0102 A0B0 11223344"));
        QCOMPARE(io.Seek(0, icSeekSet), 1L);
        quint32 word = 0;
        QCOMPARE(io.Read32(&word, 1), 1L);
        QCOMPARE(word, quint32(0x0102A0B0));
        quint16 back[3] = {};
        QCOMPARE(io.Read16(back, 3), 2L); // only two values left
        QCOMPARE(back[0], quint16(0x1122));
        QCOMPARE(back[1], quint16(0x3344));
    }

    void fileStream()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("scratch.bin");
        CIccFileIOQt io;
        char byte = 0;
        QCOMPARE(io.Read8(&byte, 1), 0L); // not open
        QCOMPARE(io.GetLength(), 0L);
        QCOMPARE(io.Tell(), -1L);
        QCOMPARE(io.Seek(0, icSeekSet), -1L);

        QVERIFY(io.Open(path, "w+"));
        QCOMPARE(io.Write8("abcdef", 6), 6L);
        QVERIFY(io.Write32(quint32(0x01020304)));
        QCOMPARE(io.GetLength(), 10L);
        QCOMPARE(io.Seek(-4, icSeekEnd), 1L);
        quint32 word = 0;
        QCOMPARE(io.Read32(&word, 1), 1L);
        QCOMPARE(word, quint32(0x01020304));
        QCOMPARE(io.Seek(-8, icSeekCur), 1L);
        QCOMPARE(io.Tell(), 2L);
        QCOMPARE(io.Seek(0, icSeekVal(5)), -1L);
        io.Close();
        QCOMPARE(io.Tell(), -1L);

        // 'r' opens read-only and keeps the file; writing is refused.
        QVERIFY(io.Open(path, "rb"));
        QCOMPARE(io.GetLength(), 10L);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ReadOnly device"));
        QVERIFY(io.Write8("x", 1) <= 0);
        char head[3] = {};
        QCOMPARE(io.Read8(head, 3), 3L);
        QCOMPARE(QByteArray(head, 3), QByteArray("abc"));

        // Any other mode starts the file afresh.
        QVERIFY(io.Open(path, "w"));
        QCOMPARE(io.GetLength(), 0L);
        QVERIFY(!io.Open(dir.filePath("missing/file"), "r"));
    }

    // Read-only, only a regular file opens: a pipe no one writes to is
    // refused without waiting, a directory and a device as well.
    void fileStreamRefusesWhatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString &kind : pz::test::notAFileKinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }
    void fileStreamRefusesWhatIsNoFile()
    {
        QFETCH(QString, kind);
        const pz::test::NotAFile name(kind);
        if (name.path().isEmpty())
            QSKIP("this system cannot make one");
        CIccFileIOQt io;
        QVERIFY(!io.Open(name.path(), "rb"));
        QCOMPARE(io.GetLength(), 0L);
        QVERIFY(!name.wasOpened());
    }
};

QTEST_GUILESS_MAIN(TestIccPrivateTags)
#include "tst_icc_private_tags.moc"
