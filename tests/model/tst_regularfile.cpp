// The readers of files a user names refuse anything that is not a regular
// file, with their "cannot open" result and without opening it: a named pipe
// nobody writes to (which would hold the reader in open()), a directory and
// a device; a regular file, also behind a symbolic link, still reads.

#include "CAdjustValue.h"
#include "CPreferences.h"
#include "CTargetValue.h"
#include "CalibrationSettingsFile.h"
#include "HostSystem.h"
#include "RecordStream.h"
#include "RegularFile.h"
#include "StringResources.h"
#include "UnwrittenFifo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <memory>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace pz;
using pz::test::NotAFile;

namespace {

class PreferencesHost : public IHostSystem {
public:
    QString prefs;
    QString preferencesFolder() override { return prefs; }
    QString profileFolder(bool) override { return QString(); }
    bool profilesAlwaysPerUser() override { return false; }
};

// Whether a reader refused path as a file it cannot open. The preferences
// are read from their own place: a symbolic link there leads to path.
bool refused(const QString &reader, const QString &path)
{
    if (reader == "openRegularFile") {
        QFile file(path);
        return !openRegularFile(file) && !file.isOpen();
    }
    if (reader == "loadRecordFile") {
        bool readerCalled = false;
        return loadRecordFile(path, [&](QDataStream &) { readerCalled = true; }) == kFileCannotOpen
            && !readerCalled;
    }
    if (reader == "target")
        return CTargetValue().ReadFile(path) == kFileCannotOpen;
    if (reader == "target check")
        return !CTargetValue::IsValidFile(path);
    if (reader == "stored calibration") {
        CTargetValue target;
        CAdjustValue result;
        return ReadCalibrationSettingsFile(path, target, result) == kFileCannotOpen;
    }
    if (reader == "preferences") {
        QTemporaryDir folder;
        PreferencesHost host;
        host.prefs = folder.path();
        ScopedHostSystem scope(&host);
        const QString link = folder.filePath(GetStringResource(12));
        if (!QFile::link(path, link))
            return false;
        auto preferences = std::make_unique<CPreferences>();
        // Nothing is kept aside: there was nothing of ours to keep.
        const bool refusedAtStart = preferences->DamagedFileKeptAs().isEmpty()
            && !QFile::exists(link + ".bad");
        const bool refusedAgain = preferences->ReadPreferencesData() == kFileCannotOpen;
        // The exit's write goes to the folder, not through the link.
        QFile::remove(link);
        preferences.reset();
        return refusedAtStart && refusedAgain;
    }
    qFatal("no reader %s", qPrintable(reader));
}

const QStringList kReaders{"openRegularFile", "loadRecordFile",     "target",
                           "target check",    "stored calibration", "preferences"};

} // namespace

class TestRegularFile : public QObject {
    Q_OBJECT
private slots:
    void notAFileIsRefused_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("kind");
        for (const QString &reader : kReaders)
            for (const QString &kind : test::notAFileKinds())
                QTest::newRow(qPrintable(reader + ", " + kind)) << reader << kind;
    }
    void notAFileIsRefused()
    {
        QFETCH(QString, reader);
        QFETCH(QString, kind);
        const NotAFile name(kind);
        if (name.path().isEmpty())
            QSKIP("this system cannot make one");
        QVERIFY(!isRegularFile(name.path()));
        QVERIFY(refused(reader, name.path()));
        QVERIFY(!name.wasOpened());
    }

    // A regular file opens, directly or through a symbolic link, and reads
    // as a file: from its start, with its size.
    void regularFileOpens_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("the file") << false;
        QTest::newRow("a link to it") << true;
    }
    void regularFileOpens()
    {
        QFETCH(bool, throughLink);
        QTemporaryDir dir;
        QString path = dir.filePath("record");
        QCOMPARE(saveRecordFile(path, [](QDataStream &s) { s << qint32(0x1234); }), int(kFileOk));
        if (throughLink) {
            QVERIFY(QFile::link(path, dir.filePath("link")));
            path = dir.filePath("link");
        }
        QVERIFY(isRegularFile(path));
        QFile file(path);
        QVERIFY(openRegularFile(file));
        QCOMPARE(file.size(), 4);
        QVERIFY(!file.isSequential());
        QCOMPARE(file.readAll(), QByteArray("\x00\x00\x12\x34", 4));
        QVERIFY(file.seek(2));
        QCOMPARE(file.readAll(), QByteArray("\x12\x34", 2));
        file.close();

        qint32 read = 0;
        QCOMPARE(loadRecordFile(path, [&](QDataStream &s) { s >> read; }), int(kFileOk));
        QCOMPARE(read, 0x1234);
        QVERIFY(!isRegularFile(QString()));
        QVERIFY(!isRegularFile(dir.filePath("none")));
    }

    // A name that changes between a file and a pipe while it is opened:
    // whatever opens is the file, never the pipe.
    void nameSwappedForAPipe()
    {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.filePath("curve"));
        const QByteArray other = QFile::encodeName(dir.filePath("other"));
        {
            QFile file(dir.filePath("curve"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("0\n1\n2\n") == 6);
        }
        QCOMPARE(::mkfifo(other.constData(), 0600), 0);
        std::atomic<bool> stop{false};
        std::atomic<int> swaps{0};
        // The swapper also lets go any reader held in open() by the pipe,
        // so that no reader can hang the test.
        std::thread swapper([&] {
            while (!stop.load()) {
                if (::renameat2(AT_FDCWD, name.constData(), AT_FDCWD, other.constData(),
                                RENAME_EXCHANGE) == 0)
                    ++swaps;
                for (const QByteArray &either : {name, other}) {
                    const int fd = ::open(either.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0)
                        ::close(fd);
                }
            }
        });
        int opened = 0;
        int openedOther = 0;
        for (int i = 0; i < 20000; ++i) {
            QFile file(QFile::decodeName(name));
            if (!openRegularFile(file))
                continue;
            ++opened;
            if (file.readAll() != "0\n1\n2\n")
                ++openedOther;
        }
        stop.store(true);
        swapper.join();
        if (swaps.load() == 0)
            QSKIP("this file system cannot swap names");
        QVERIFY(opened > 0);
        QCOMPARE(openedOther, 0);
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
