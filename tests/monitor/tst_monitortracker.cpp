#include "CMonitorTracker.h"
#include "RecordStream.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace pz::test;

namespace {

_MonitorTrackerRecord record(const QString &key, qint32 id, double gamma)
{
    _MonitorTrackerRecord r;
    r.m_Key = key;
    r.m_ID = id;
    r.m_Target.CreateDefault();
    r.m_Target.m_Gamma = gamma;
    r.m_Target.m_Name = key + QStringLiteral(".tgt");
    r.m_Adjust.m_Brightness = quint16(id);
    r.m_Adjust.SetMonitorName(QStringLiteral("HXSIM24"));
    r.m_Adjust.SetMonitorSerial(key);
    r.m_Adjust.SetIsCalibrationOn(true);
    r.m_Adjust.SetCalibrationDateTime(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC));
    return r;
}

CMonitorTracker twoRecords()
{
    CMonitorTracker t;
    _MonitorTrackerRecord a = record(QStringLiteral("HXSIM24 SIM0001"), 7, 2.2);
    _MonitorTrackerRecord b = record(QStringLiteral("HXSIM24 SIM0002"), 9, 1.8);
    t.UpdateMonitorTrackerRecord(a);
    t.UpdateMonitorTrackerRecord(b);
    return t;
}

QByteArray bytesOf(const CMonitorTracker &t)
{
    return recordBytes([&](QDataStream &s) { s << t; });
}

void compareRecords(const _MonitorTrackerRecord &a, const _MonitorTrackerRecord &b)
{
    QCOMPARE(a.m_ID, b.m_ID);
    QCOMPARE(a.m_Key, b.m_Key);
    QCOMPARE(a.m_Target, b.m_Target);
    QCOMPARE(a.m_Target.m_Name, b.m_Target.m_Name);
    QCOMPARE(a.m_Adjust.m_Brightness, b.m_Adjust.m_Brightness);
    QCOMPARE(a.m_Adjust.GetMonitorSerial(), b.m_Adjust.GetMonitorSerial());
    QCOMPARE(a.m_Adjust.m_CalibrationDateTime, b.m_Adjust.m_CalibrationDateTime);
}

} // namespace

class TestMonitorTracker : public QObject {
    Q_OBJECT
private slots:
    void unknownKeyGivesTheDefaultRecord()
    {
        CMonitorTracker t;
        _MonitorTrackerRecord r = record(QStringLiteral("nobody"), 5, 1.0);
        r.m_Target.m_AuxValue = 0.7;
        QCOMPARE(t.GetMonitorTrackerRecord(r), -1);
        QVERIFY(r.m_Key.isEmpty());
        QCOMPARE(r.m_ID, 0);
        QCOMPARE(r.m_Target.m_Name, QStringLiteral("Broadcast Video.tgt"));
        QCOMPARE(r.m_Target.m_Gamma, 2.2);
        QCOMPARE(r.m_Target.m_Intensity, 100.0);
        QCOMPARE(r.m_Target.m_IntensityType, 1);
        QCOMPARE(r.m_Target.m_AuxType, 2);
        QCOMPARE(r.m_Target.m_AuxValue, 0.3);
        QCOMPARE(r.m_Target.m_GammaCurveType, 2);
        QCOMPARE(r.m_Target.m_WhitePoint, CColorTemperature(_CIExy{0.3127, 0.3290}));
        QVERIFY(!r.m_Adjust.m_IsCalibrationOn);
    }

    void updatesReplaceByExactKey()
    {
        CMonitorTracker t;
        _MonitorTrackerRecord first = record(QStringLiteral("A"), 1, 2.2);
        _MonitorTrackerRecord second = record(QStringLiteral("A"), 2, 1.8);
        QCOMPARE(t.UpdateMonitorTrackerRecord(first), 0);
        QCOMPARE(t.UpdateMonitorTrackerRecord(second), 0);
        QCOMPARE(t.GetCount(), 1);
        _MonitorTrackerRecord found;
        found.m_Key = QStringLiteral("A");
        QCOMPARE(t.GetMonitorTrackerRecord(found), 0);
        compareRecords(found, second);

        _MonitorTrackerRecord lower = record(QStringLiteral("a"), 3, 2.4);
        t.UpdateMonitorTrackerRecord(lower);
        QCOMPARE(t.GetCount(), 2);
        QCOMPARE(t.FindMonitorTrackerRecord(QStringLiteral("a"), 0), 1);
        QCOMPARE(t.FindMonitorTrackerRecord(QStringLiteral("A"), 0), 0);
        QCOMPARE(t.InitializeMonitorTracker(), 0);
        QCOMPARE(t.GetCount(), 0);
        QCOMPARE(t.FindMonitorTrackerRecord(QStringLiteral("A"), 0), -1);
    }

    void storedRecordRoundTripsByteForByte()
    {
        const CMonitorTracker t = twoRecords();
        const QByteArray bytes = bytesOf(t);
        QCOMPARE(bytes.left(12), hex("00 00 AB BA 00 00 00 64 00 00 00 02"));
        // First record: id 7, then its key as a counted UTF-16 string.
        QCOMPARE(bytes.mid(12, 8), hex("00 00 00 07 00 00 00 1E"));
        QByteArray key;
        for (char c : QByteArray("HXSIM24 SIM0001"))
            key.append('\0').append(c);
        QCOMPARE(bytes.mid(20, 30), key);
        CMonitorTracker back;
        QCOMPARE(readRecordBytes(bytes, [&](QDataStream &s) { s >> back; }), QDataStream::Ok);
        QCOMPARE(back.GetCount(), 2);
        compareRecords(back.GetRecordAt(0), t.GetRecordAt(0));
        compareRecords(back.GetRecordAt(1), t.GetRecordAt(1));
        QCOMPARE(bytesOf(back), bytes);

        // The key precedes the result record, whose magic follows it.
        const int adjustAt = 20 + 30;
        QCOMPARE(bytes.mid(adjustAt, 4), hex("DE AD FA DE"));
    }

    void badHeaderLeavesTheTrackerUnchanged_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("version 99") << hex("00 00 AB BA 00 00 00 63 00 00 00 00");
        QTest::newRow("wrong magic") << hex("00 00 AB BB 00 00 00 64 00 00 00 00");
        QTest::newRow("short") << hex("00 00 AB");
    }
    void badHeaderLeavesTheTrackerUnchanged()
    {
        QFETCH(QByteArray, header);
        CMonitorTracker t = twoRecords();
        QVERIFY(readRecordBytes(header, [&](QDataStream &s) { s >> t; }) != QDataStream::Ok);
        QCOMPARE(t.GetCount(), 2);
        QCOMPARE(t.GetRecordAt(1).m_ID, 9);
    }

    void countBeyondTheRecordsStopsAtTheEnd()
    {
        // The count says 5 but two records follow: two are taken, none is
        // built from nothing, and the stream says so.
        QByteArray bytes = bytesOf(twoRecords());
        bytes[11] = 5;
        CMonitorTracker t;
        QCOMPARE(readRecordBytes(bytes, [&](QDataStream &s) { s >> t; }),
                 QDataStream::ReadCorruptData);
        QCOMPARE(t.GetCount(), 2);
        QCOMPARE(t.GetRecordAt(1).m_Key, QStringLiteral("HXSIM24 SIM0002"));

        // A record cut short is not appended.
        const QByteArray whole = bytesOf(twoRecords());
        CMonitorTracker cut;
        QCOMPARE(readRecordBytes(whole.left(whole.size() - 3), [&](QDataStream &s) { s >> cut; }),
                 QDataStream::ReadCorruptData);
        QCOMPARE(cut.GetCount(), 1);
    }

    void negativeOrAbsurdCountIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("negative") << hex("00 00 AB BA 00 00 00 64 FF FF FF FF");
        QTest::newRow("huge") << hex("00 00 AB BA 00 00 00 64 7F FF FF FF");
    }
    void negativeOrAbsurdCountIsRefused()
    {
        QFETCH(QByteArray, bytes);
        CMonitorTracker t = twoRecords();
        QCOMPARE(readRecordBytes(bytes, [&](QDataStream &s) { s >> t; }),
                 QDataStream::ReadCorruptData);
        QCOMPARE(t.GetCount(), 0);
    }

    void mutatedRecordsNeverCrashOrInvent()
    {
        const QByteArray good = bytesOf(twoRecords());
        QRandomGenerator rng(0x11AB);
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = good;
            const int edits = 1 + int(rng.bounded(6));
            for (int e = 0; e < edits; ++e)
                bytes[int(rng.bounded(bytes.size()))] = char(rng.bounded(256));
            if (round % 5 == 0)
                bytes.truncate(int(rng.bounded(bytes.size())));
            CMonitorTracker t;
            const QDataStream::Status status =
                readRecordBytes(bytes, [&](QDataStream &s) { s >> t; });
            // Never more records than the bytes hold; a damaged read is reported.
            QVERIFY(t.GetCount() >= 0 && t.GetCount() <= 2);
            if (status == QDataStream::Ok)
                QVERIFY(t.GetCount() == 0 || !t.GetRecordAt(t.GetCount() - 1).m_Key.isNull());
        }
    }
};

QTEST_GUILESS_MAIN(TestMonitorTracker)
#include "tst_monitortracker.moc"
