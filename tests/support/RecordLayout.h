#pragma once
// Byte fixtures of stored records, built field by field at the offsets the
// record layouts give, in the stream encoding (big-endian, doubles as IEEE
// 754, strings as a byte count and UTF-16 code units). The encoding is done
// here by hand, not through QDataStream, so a fixture does not share the
// code it checks.
//
//   RecordLayout l;
//   l.i32(0, 0xFADF).i32(4, 101).boolean(8, true).i16(9, 5000).boolean(11, false);
//   QVERIFY(l.misplaced().isEmpty());
//   QCOMPARE(written, l.bytes());

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace pz::test {

class RecordLayout {
public:
    RecordLayout &i8(qint64 offset, qint8 value);
    RecordLayout &boolean(qint64 offset, bool value);
    RecordLayout &i16(qint64 offset, qint16 value);
    RecordLayout &i32(qint64 offset, qint32 value);
    RecordLayout &f64(qint64 offset, double value);
    // A 32-bit byte count (0xFFFFFFFF for a null string), then UTF-16 code units.
    RecordLayout &string(qint64 offset, const QString &value);
    RecordLayout &raw(qint64 offset, const QByteArray &bytes);

    // Where the next field follows on.
    qint64 end() const { return m_bytes.size(); }
    const QByteArray &bytes() const { return m_bytes; }
    // Offsets of the fields that did not start where the field before them
    // ended: a fixture whose offsets disagree with its own fields.
    const QList<qint64> &misplaced() const { return m_misplaced; }

private:
    RecordLayout &place(qint64 offset, const QByteArray &field);
    template <typename T> RecordLayout &bigEndian(qint64 offset, T value);

    QByteArray m_bytes;
    QList<qint64> m_misplaced;
};

// Hands out numbers that differ from every number handed out before, so
// that every field of a fixture holds a value of its own and a field read
// or written in another field's place shows.
class Distinct {
public:
    // Starts above the small numbers that name kinds and types.
    explicit Distinct(int start = 10) : m_next(start) {}

    // 11.5, 12.5, ...: exact in binary, never equal to an integer field.
    double real() { return ++m_next + 0.5; }
    // Counts on from the same sequence.
    int integer() { return ++m_next; }

private:
    int m_next;
};

} // namespace pz::test
