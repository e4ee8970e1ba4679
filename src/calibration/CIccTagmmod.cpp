#include "CIccTagmmod.h"

#include <QString>

namespace {
constexpr long kFieldCount = 8;
}

CIccTagmmod &CIccTagmmod::operator=(const CIccTagmmod &other)
{
    if (this != &other) {
        m_Value = other.m_Value;
        m_Reserved = 0;
    }
    return *this;
}

int CIccTagmmod::Getmmod(icmmodstruct *out) const
{
    if (out)
        *out = m_Value;
    return 1;
}

bool CIccTagmmod::Read(unsigned long size, CIccIO *io)
{
    if (!io || size < kElementSize)
        return false;
    quint32 head[2] = {}; // signature (not compared), reserved
    quint32 fields[kFieldCount] = {};
    if (io->Read32(head, 2) != 2 || io->Read32(fields, kFieldCount) != kFieldCount)
        return false;
    m_Reserved = head[1];
    m_Value = icmmodstruct{fields[0], fields[1], fields[2], fields[3],
                           fields[4], fields[5], fields[6], fields[7]};
    return true;
}

bool CIccTagmmod::Write(CIccIO *io) const
{
    if (!io)
        return false;
    const quint32 words[2 + kFieldCount] = {
        kSignature,           m_Reserved,          m_Value.manufacturer, m_Value.model,
        m_Value.serialNumber, m_Value.manufactureDate, m_Value.reserved1, m_Value.reserved2,
        m_Value.reserved3,    m_Value.reserved4};
    return io->Write32(words, 2 + kFieldCount) == 2 + kFieldCount;
}

void CIccTagmmod::Describe(std::string &text) const
{
    text = QStringLiteral("mmod:model = %1\r\nserialNumber = %2\r\nmanufactureDate = %3\r\n"
                          "reserved1 = %4\r\nreserved2 = %5\r\nreserved3 = %6\r\n"
                          "reserved4 = %7\r\n")
               .arg(m_Value.model)
               .arg(m_Value.serialNumber)
               .arg(m_Value.manufactureDate)
               .arg(m_Value.reserved1)
               .arg(m_Value.reserved2)
               .arg(m_Value.reserved3)
               .arg(m_Value.reserved4)
               .toStdString();
}

int CIccTagmmod::Validate(quint32, std::string &) const { return 0; }
