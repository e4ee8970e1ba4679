#pragma once
// A small valid ICC profile written to a file, for the display-profile
// tests of this layer (the profile writer lies above it).

#include <QByteArray>
#include <QFile>
#include <QString>

#include <lcms2.h>

namespace pz::test {

// Little CMS's sRGB profile as bytes.
inline QByteArray srgbProfileBytes()
{
    cmsHPROFILE h = cmsCreate_sRGBProfile();
    cmsUInt32Number size = 0;
    QByteArray bytes;
    if (h && cmsSaveProfileToMem(h, nullptr, &size)) {
        bytes.resize(qsizetype(size));
        if (!cmsSaveProfileToMem(h, bytes.data(), &size))
            bytes.clear();
    }
    if (h)
        cmsCloseProfile(h);
    return bytes;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace pz::test
