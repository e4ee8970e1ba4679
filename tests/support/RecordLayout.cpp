#include "RecordLayout.h"

#include <QtEndian>
#include <cstring>

namespace pz::test {

RecordLayout &RecordLayout::place(qint64 offset, const QByteArray &field)
{
    if (offset != m_bytes.size())
        m_misplaced.append(offset);
    if (m_bytes.size() < offset + field.size())
        m_bytes.resize(offset + field.size());
    m_bytes.replace(offset, field.size(), field);
    return *this;
}

template <typename T> RecordLayout &RecordLayout::bigEndian(qint64 offset, T value)
{
    QByteArray field(sizeof(T), '\0');
    qToBigEndian(value, field.data());
    return place(offset, field);
}

RecordLayout &RecordLayout::i8(qint64 offset, qint8 value) { return bigEndian(offset, value); }

RecordLayout &RecordLayout::boolean(qint64 offset, bool value)
{
    return i8(offset, value ? 1 : 0);
}

RecordLayout &RecordLayout::i16(qint64 offset, qint16 value) { return bigEndian(offset, value); }

RecordLayout &RecordLayout::i32(qint64 offset, qint32 value) { return bigEndian(offset, value); }

RecordLayout &RecordLayout::f64(qint64 offset, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bigEndian(offset, bits);
}

RecordLayout &RecordLayout::string(qint64 offset, const QString &value)
{
    QByteArray field(4, '\0');
    qToBigEndian(value.isNull() ? quint32(0xFFFFFFFF) : quint32(value.size() * 2), field.data());
    for (QChar c : value) {
        field.append(char(c.unicode() >> 8));
        field.append(char(c.unicode() & 0xFF));
    }
    return place(offset, field);
}

RecordLayout &RecordLayout::raw(qint64 offset, const QByteArray &bytes)
{
    return place(offset, bytes);
}

} // namespace pz::test
