#include "CIccTagvcgt.h"

#include <QString>
#include <cstring>

namespace {

bool supportedEntrySize(quint16 size) { return size == 1 || size == 2; }

quint64 tableBytes(quint16 channels, quint16 count, quint16 size)
{
    return quint64(channels) * count * size;
}

} // namespace

CIccTagvcgt::CIccTagvcgt(const CIccTagvcgt &other)
    : channels(other.channels),
      entryCount(other.entryCount),
      entrySize(other.entrySize),
      tagType(other.tagType),
      m_Data(other.m_Data)
{
}

CIccTagvcgt &CIccTagvcgt::operator=(const CIccTagvcgt &other)
{
    if (this == &other)
        return *this;
    m_Reserved = 0;
    channels = other.channels;
    entryCount = other.entryCount;
    entrySize = other.entrySize;
    tagType = other.tagType;
    m_Data = other.m_Data;
    return *this;
}

void CIccTagvcgt::SetVCGT(const icvcgtstruct &table)
{
    channels = table.channels;
    entryCount = table.entryCount;
    entrySize = table.entrySize;
    tagType = kTableGammaType;
    const quint64 bytes = tableBytes(channels, entryCount, entrySize);
    if (table.data)
        m_Data.assign(table.data, table.data + bytes);
    else
        m_Data.assign(bytes, 0);
}

bool CIccTagvcgt::GetVCGT(icvcgtstruct *out) const
{
    if (!out || tagType != kTableGammaType)
        return false;
    if (out->data && !m_Data.empty())
        std::memcpy(out->data, m_Data.data(), m_Data.size());
    out->channels = channels;
    out->entryCount = entryCount;
    out->entrySize = entrySize;
    return true;
}

bool CIccTagvcgt::Read(unsigned long size, CIccIO *io)
{
    if (!io)
        return false;
    quint32 head[3] = {}; // signature (not compared), reserved, gamma type
    quint16 counts[3] = {}; // channels, entry count, entry size
    if (io->Read32(head, 3) != 3 || head[2] != kTableGammaType || io->Read16(counts, 3) != 3)
        return false;
    if (!supportedEntrySize(counts[2]))
        return false;
    // Checked in 64 bits against the element and against what the stream
    // still holds before any memory is taken.
    const quint64 bytes = tableBytes(counts[0], counts[1], counts[2]);
    const long remaining = io->GetLength() - io->Tell();
    if (quint64(size) < kHeaderSize + bytes || remaining < 0 || quint64(remaining) < bytes)
        return false;

    std::vector<unsigned char> data(bytes);
    const long entries = long(bytes / counts[2]);
    if (counts[2] == 1) {
        if (io->Read8(data.data(), entries) != entries)
            return false;
    } else {
        std::vector<quint16> values(static_cast<size_t>(entries));
        if (io->Read16(values.data(), entries) != entries)
            return false;
        if (bytes > 0)
            std::memcpy(data.data(), values.data(), bytes);
    }
    m_Reserved = head[1];
    tagType = head[2];
    channels = counts[0];
    entryCount = counts[1];
    entrySize = counts[2];
    m_Data.swap(data);
    return true;
}

bool CIccTagvcgt::Write(CIccIO *io) const
{
    if (!io || tagType != kTableGammaType || !supportedEntrySize(entrySize))
        return false;
    const quint32 head[3] = {kSignature, m_Reserved, tagType};
    const quint16 counts[3] = {channels, entryCount, entrySize};
    if (io->Write32(head, 3) != 3 || io->Write16(counts, 3) != 3)
        return false;
    const long entries = long(m_Data.size() / entrySize);
    if (entrySize == 1)
        return io->Write8(m_Data.data(), entries) == entries;
    std::vector<quint16> values(static_cast<size_t>(entries));
    if (!m_Data.empty())
        std::memcpy(values.data(), m_Data.data(), m_Data.size());
    return io->Write16(values.data(), entries) == entries;
}

void CIccTagvcgt::Describe(std::string &text) const
{
    text = QStringLiteral("vcgt:tagType = %1\r\nchannels = %2\r\nentryCount = %3\r\n"
                          "entrySize = %4\r\n")
               .arg(tagType)
               .arg(channels)
               .arg(entryCount)
               .arg(entrySize)
               .toStdString();
}

int CIccTagvcgt::Validate(quint32, std::string &) const { return 0; }
