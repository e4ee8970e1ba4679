#include "TestSupport.h"
#include "RecordStream.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

namespace pz::test {

QString picturesFolder()
{
    const QString folder = QStringLiteral(PZ_TEST_PICTURES_DIR) + QLatin1Char('/')
                           + QCoreApplication::applicationName();
    QDir().mkpath(folder);
    return folder;
}

QString picturePath(const QString &name)
{
    return picturesFolder() + QLatin1Char('/') + name;
}

QString dataPath(const QString &name)
{
    QString dir = qEnvironmentVariable("PZ_TEST_DATA");
    if (dir.isEmpty())
        dir = QStringLiteral(PZ_TEST_DATA_DIR);
    return dir + QLatin1Char('/') + name;
}

QByteArray readData(const QString &name)
{
    QFile f(dataPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray hex(const char *text)
{
    QByteArray clean;
    for (const char *p = text; *p; ++p)
        if (!QChar::isSpace(uchar(*p)) && *p != '|')
            clean.append(*p);
    return QByteArray::fromHex(clean);
}

QByteArray recordBytes(const std::function<void(QDataStream &)> &write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    pinRecordStream(stream);
    write(stream);
    return bytes;
}

QDataStream::Status readRecordBytes(const QByteArray &bytes,
                                    const std::function<void(QDataStream &)> &read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    pinRecordStream(stream);
    read(stream);
    return stream.status();
}

QString tabsCutOff(const QTabWidget &tabs)
{
    const QTabBar *bar = tabs.tabBar();
    QStringList cut;
    for (int i = 0; i < tabs.count(); ++i) {
        const QString text = tabs.tabText(i);
        if (!bar->rect().contains(bar->tabRect(i))
            || bar->tabRect(i).width() <= bar->fontMetrics().horizontalAdvance(text))
            cut << text;
    }
    return cut.join(QStringLiteral(", "));
}

} // namespace pz::test
