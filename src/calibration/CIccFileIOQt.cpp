#include "CIccFileIOQt.h"

#include "RegularFile.h"

#include <cstring>

CIccFileIOQt::~CIccFileIOQt() { Close(); }

bool CIccFileIOQt::Open(const QString &path, const char *mode)
{
    Close();
    m_File.setFileName(path);
    if (mode && std::strchr(mode, 'r'))
        return pz::openRegularFile(m_File);
    m_File.remove();
    return m_File.open(QIODevice::ReadWrite);
}

void CIccFileIOQt::Close()
{
    if (m_File.isOpen())
        m_File.close();
}

long CIccFileIOQt::Read8(void *buffer, long n)
{
    if (!m_File.isOpen() || !buffer || n <= 0)
        return 0;
    return long(m_File.read(static_cast<char *>(buffer), n));
}

long CIccFileIOQt::Write8(const void *buffer, long n)
{
    if (!m_File.isOpen() || !buffer || n <= 0)
        return 0;
    return long(m_File.write(static_cast<const char *>(buffer), n));
}

long CIccFileIOQt::GetLength() { return m_File.isOpen() ? long(m_File.size()) : 0; }

long CIccFileIOQt::Seek(long offset, icSeekVal origin)
{
    if (!m_File.isOpen())
        return -1;
    qint64 base = 0;
    switch (origin) {
    case icSeekSet:
        base = 0;
        break;
    case icSeekCur:
        base = m_File.pos();
        break;
    case icSeekEnd:
        base = m_File.size();
        break;
    default:
        return -1;
    }
    return m_File.seek(base + offset) ? 1 : 0;
}

long CIccFileIOQt::Tell() { return m_File.isOpen() ? long(m_File.pos()) : -1; }
