#include "CIccIO.h"

#include <QtEndian>
#include <cstring>
#include <limits>

namespace {

// Reads n values of type T in big-endian order; the count read.
template <typename T>
long readValues(CIccIO &io, T *values, long n)
{
    if (n <= 0 || !values)
        return 0;
    long done = 0;
    for (; done < n; ++done) {
        uchar raw[sizeof(T)];
        if (io.Read8(raw, sizeof(T)) != long(sizeof(T)))
            break;
        values[done] = qFromBigEndian<T>(raw);
    }
    return done;
}

template <typename T>
long writeValues(CIccIO &io, const T *values, long n)
{
    if (n <= 0 || !values)
        return 0;
    long done = 0;
    for (; done < n; ++done) {
        uchar raw[sizeof(T)];
        qToBigEndian<T>(values[done], raw);
        if (io.Write8(raw, sizeof(T)) != long(sizeof(T)))
            break;
    }
    return done;
}

} // namespace

CIccIO::~CIccIO() = default;

long CIccIO::Read16(quint16 *values, long n) { return readValues(*this, values, n); }
long CIccIO::Read32(quint32 *values, long n) { return readValues(*this, values, n); }
long CIccIO::Write16(const quint16 *values, long n) { return writeValues(*this, values, n); }
long CIccIO::Write32(const quint32 *values, long n) { return writeValues(*this, values, n); }

long CIccMemIO::Read8(void *buffer, long n)
{
    if (n <= 0 || !buffer)
        return 0;
    const long available = long(m_Bytes.size()) - m_Position;
    const long count = qMin(n, available);
    if (count <= 0)
        return 0;
    std::memcpy(buffer, m_Bytes.constData() + m_Position, size_t(count));
    m_Position += count;
    return count;
}

long CIccMemIO::Write8(const void *buffer, long n)
{
    if (n <= 0 || !buffer)
        return 0;
    if (m_Position > std::numeric_limits<long>::max() - n)
        return 0;
    const long end = m_Position + n;
    if (end > m_Bytes.size())
        m_Bytes.resize(qsizetype(end));
    std::memcpy(m_Bytes.data() + m_Position, buffer, size_t(n));
    m_Position = end;
    return n;
}

long CIccMemIO::Seek(long offset, icSeekVal origin)
{
    long base = 0;
    switch (origin) {
    case icSeekSet:
        base = 0;
        break;
    case icSeekCur:
        base = m_Position;
        break;
    case icSeekEnd:
        base = m_Bytes.size();
        break;
    default:
        return -1;
    }
    if (offset < -base || offset > long(m_Bytes.size()) - base)
        return 0;
    m_Position = base + offset;
    return 1;
}
