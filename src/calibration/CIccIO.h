#pragma once
// The byte stream the private ICC tag types read from and write to: raw
// bytes plus 16- and 32-bit values in the big-endian order of ICC files.
// CIccMemIO keeps the bytes in memory, which is how the profile writer turns
// a tag into the raw element it hands to Little CMS; CIccFileIOQt
// (CIccFileIOQt.h) reads and writes a file.
//
// Read8/Write8 return the number of bytes moved; the 16- and 32-bit forms
// the number of values. A short count means the stream ended or failed.

#include <QByteArray>
#include <QtGlobal>

// Seek origins.
enum icSeekVal { icSeekSet = 0, icSeekCur = 1, icSeekEnd = 2 };

class CIccIO {
public:
    virtual ~CIccIO();

    virtual void Close() {}
    virtual long Read8(void *buffer, long n) = 0;
    virtual long Write8(const void *buffer, long n) = 0;
    // The stream's length in bytes.
    virtual long GetLength() = 0;
    // 1 when the position moved, 0 when the new position is not allowed,
    // -1 when the stream is not open or the origin is not an icSeekVal.
    virtual long Seek(long offset, icSeekVal origin) = 0;
    // The position; -1 when the stream is not open.
    virtual long Tell() = 0;

    // n big-endian values into or out of host order.
    long Read16(quint16 *values, long n = 1);
    long Read32(quint32 *values, long n = 1);
    long Write16(const quint16 *values, long n = 1);
    long Write32(const quint32 *values, long n = 1);
    // One value, for the common case; false on a short write.
    bool Write16(quint16 value) { return Write16(&value, 1) == 1; }
    bool Write32(quint32 value) { return Write32(&value, 1) == 1; }
};

// A stream over bytes in memory. Writing past the end grows it; a seek
// may not leave 0..length.
class CIccMemIO : public CIccIO {
public:
    CIccMemIO() = default;
    // Reads the given bytes from position 0.
    explicit CIccMemIO(const QByteArray &bytes) : m_Bytes(bytes) {}

    long Read8(void *buffer, long n) override;
    long Write8(const void *buffer, long n) override;
    long GetLength() override { return m_Bytes.size(); }
    long Seek(long offset, icSeekVal origin) override;
    long Tell() override { return m_Position; }

    const QByteArray &bytes() const { return m_Bytes; }

private:
    QByteArray m_Bytes;
    long m_Position = 0;
};
