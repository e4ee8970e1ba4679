#pragma once
// The ICC byte stream over a file. Opening for writing removes the file
// first, so it suits scratch files only: the profile writer builds profiles
// in memory and saves them atomically instead (CICCDisplayProfile).

#include "CIccIO.h"

#include <QFile>
#include <QString>

class CIccFileIOQt : public CIccIO {
public:
    CIccFileIOQt() = default;
    // Closes the file.
    ~CIccFileIOQt() override;
    CIccFileIOQt(const CIccFileIOQt &) = delete;
    CIccFileIOQt &operator=(const CIccFileIOQt &) = delete;

    // Closes a file that is open and takes the new name. A mode containing
    // 'r' opens read-only, a regular file only (pz::openRegularFile); any
    // other mode removes the file, then opens it read-write. The result of
    // the open.
    bool Open(const QString &path, const char *mode);
    void Close() override;

    // The byte count the file moved (as QIODevice reports it); 0 when not open.
    long Read8(void *buffer, long n) override;
    long Write8(const void *buffer, long n) override;
    // The file size; 0 when not open.
    long GetLength() override;
    long Seek(long offset, icSeekVal origin) override;
    long Tell() override;

private:
    QFile m_File;
};
