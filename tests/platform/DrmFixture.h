#pragma once
// A DRM connector tree as the kernel shows it under /sys/class/drm, built in
// a temporary folder, and EDIDs that tell monitors apart by one byte.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtTest>

namespace pz::test {

// A 128-byte EDID with its header; serialByte tells monitors apart.
inline QByteArray sampleEdid(char serialByte)
{
    QByteArray edid(128, 0);
    const char header[8] = {0, char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
                            char(0xFF), 0};
    edid.replace(0, 8, QByteArray(header, 8));
    edid[12] = serialByte;
    return edid;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A connector folder with its status and the EDID the kernel read (an
// existing one is rewritten).
inline void addConnector(const QString &root, const QString &name, bool connected,
                         const QByteArray &edid)
{
    const QString dir = root + QLatin1Char('/') + name;
    QVERIFY(QDir().mkpath(dir));
    writeFile(dir + QStringLiteral("/status"), connected ? "connected\n" : "disconnected\n");
    writeFile(dir + QStringLiteral("/edid"), edid);
}

} // namespace pz::test
