#include "CMonitorTracker.h"
#include "CMultiMonitor.h"
#include "DisplayRig.h"
#include "MasterControlDataFile.h"
#include "TestSupport.h"
#include "UnwrittenFifo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace pz;
using namespace pz::test;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

_MonitorTrackerRecord calibrated(const QString &serial)
{
    _MonitorTrackerRecord r;
    r.m_Key = serial;
    r.m_ID = 0x2441;
    r.m_Target.CreateDefault();
    r.m_Target.m_Name = QStringLiteral("Photo.tgt");
    r.m_Adjust.SetMonitorSerial(serial);
    r.m_Adjust.SetIsCalibrationOn(true);
    r.m_Adjust.SetCalibrationDateTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC));
    return r;
}

} // namespace

class TestMasterControlData : public QObject {
    Q_OBJECT
private slots:
    void bothRecordsRoundTripByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pelzora.config.prefs"));
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();

        CMultiMonitor list;
        list.EnumerateDesktop();
        list.SetMonitorToPortMap(0, 2);
        CMonitorTracker tracker;
        _MonitorTrackerRecord r = calibrated(QStringLiteral("SIM0001"));
        tracker.UpdateMonitorTrackerRecord(r);
        QCOMPARE(writeMasterControlData(path, list, tracker), 0);
        const QByteArray bytes = fileBytes(path);
        QCOMPARE(bytes.left(12), hex("00 00 DE AB 00 00 00 0B 00 00 00 03"));
        QCOMPARE(bytes.mid(52, 12), hex("00 00 AB BA 00 00 00 64 00 00 00 01"));

        // A later start reads both, enumerates the same desktop and writes
        // the same bytes.
        CMultiMonitor list2;
        CMonitorTracker tracker2;
        QString aside = QStringLiteral("unchanged");
        QCOMPARE(readMasterControlData(path, list2, tracker2, &aside), 0);
        QVERIFY(aside.isEmpty());
        QCOMPARE(list2.GetMonitorToPortMap(0), 2);
        QCOMPARE(list2.GetStoredCount(), 3);
        QCOMPARE(tracker2.GetCount(), 1);
        _MonitorTrackerRecord found;
        found.m_Key = QStringLiteral("SIM0001");
        QCOMPARE(tracker2.GetMonitorTrackerRecord(found), 0);
        QCOMPARE(found.m_Target.m_Name, QStringLiteral("Photo.tgt"));
        list2.EnumerateDesktop();
        QCOMPARE(writeMasterControlData(path, list2, tracker2), 0);
        QCOMPARE(fileBytes(path), bytes);
    }

    void missingFileChangesNothing()
    {
        QTemporaryDir dir;
        CMultiMonitor list;
        list.SetMonitorToPortMap(1, 4);
        CMonitorTracker tracker;
        QCOMPARE(readMasterControlData(dir.filePath(QStringLiteral("none")), list, tracker), -1500);
        QCOMPARE(list.GetMonitorToPortMap(1), 4);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    }

    // A name that is no regular file cannot be opened: nothing is read,
    // nothing kept aside, and a pipe is not opened at all.
    void dataFileThatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString &kind : notAFileKinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }
    void dataFileThatIsNoFile()
    {
        QFETCH(QString, kind);
        const NotAFile name(kind);
        if (name.path().isEmpty())
            QSKIP("this system cannot make one");
        CMultiMonitor list;
        list.SetMonitorToPortMap(1, 4);
        CMonitorTracker tracker;
        QString keptAs = QStringLiteral("stale");
        QCOMPARE(readMasterControlData(name.path(), list, tracker, &keptAs), -1500);
        QVERIFY(keptAs.isEmpty());
        QVERIFY(!QFileInfo::exists(name.path() + QStringLiteral(".bad")));
        QCOMPARE(list.GetMonitorToPortMap(1), 4);
        QCOMPARE(list.GetStoredCount(), 0);
        QVERIFY(!name.wasOpened());
    }

    void damagedFileIsKeptAsideAndNeverOverwritten_data()
    {
        QTest::addColumn<int>("cutAt");    // -1: no cut
        QTest::addColumn<int>("flipAt");   // -1: no flip
        QTest::newRow("tracker magic flipped") << -1 << 53;
        QTest::newRow("tracker cut short") << 70 << -1;
        QTest::newRow("monitor list version flipped") << -1 << 7;
        QTest::newRow("monitor count absurd") << -1 << 8;
        QTest::newRow("empty file") << 0 << -1;
    }
    void damagedFileIsKeptAsideAndNeverOverwritten()
    {
        QFETCH(int, cutAt);
        QFETCH(int, flipAt);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pelzora.config.prefs"));
        CMultiMonitor source;
        source.SetMonitorToPortMap(0, 9);
        CMonitorTracker sourceTracker;
        _MonitorTrackerRecord a = calibrated(QStringLiteral("SIM0001"));
        _MonitorTrackerRecord b = calibrated(QStringLiteral("SIM0520"));
        sourceTracker.UpdateMonitorTrackerRecord(a);
        sourceTracker.UpdateMonitorTrackerRecord(b);
        QCOMPARE(writeMasterControlData(path, source, sourceTracker), 0);
        QByteArray damaged = fileBytes(path);
        if (cutAt >= 0)
            damaged.truncate(cutAt);
        if (flipAt >= 0)
            damaged[flipAt] = char(damaged[flipAt] ^ 0x40);
        putBytes(path, damaged);

        // The run goes on with the lists as they were: nothing half-read.
        CMultiMonitor list;
        CMonitorTracker tracker;
        QString aside;
        QCOMPARE(readMasterControlData(path, list, tracker, &aside), -1503);
        QCOMPARE(aside, path + QStringLiteral(".bad"));
        QCOMPARE(list.GetMonitorToPortMap(0), -1);
        QCOMPARE(list.GetStoredCount(), 0);
        QCOMPARE(tracker.GetCount(), 0);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(fileBytes(aside), damaged);

        // The exit write makes a new file; the damaged one stays as it was.
        QCOMPARE(writeMasterControlData(path, list, tracker), 0);
        QCOMPARE(fileBytes(aside), damaged);

        // A second damaged file is kept under the next free name.
        putBytes(path, damaged);
        QCOMPARE(readMasterControlData(path, list, tracker, &aside), -1503);
        QCOMPARE(aside, path + QStringLiteral(".bad.1"));
        QCOMPARE(fileBytes(path + QStringLiteral(".bad")), damaged);
        QCOMPARE(fileBytes(aside), damaged);
    }

    void unwritableTargetReportsAndKeepsTheOldFile()
    {
        QTemporaryDir dir;
        CMultiMonitor list;
        CMonitorTracker tracker;
        QVERIFY(writeMasterControlData(dir.filePath(QStringLiteral("no/such/dir/file")), list,
                                       tracker) < 0);
    }
};

QTEST_GUILESS_MAIN(TestMasterControlData)
#include "tst_mastercontroldata.moc"
