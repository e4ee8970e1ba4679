#include "CMultiMonitor.h"
#include "DisplayRig.h"
#include "MonitorModelLists.h"
#include "RecordStream.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace pz;
using namespace pz::test;

namespace {

QByteArray bytesOf(const CMultiMonitor &list)
{
    return recordBytes([&](QDataStream &s) { s << list; });
}

// An EDID whose red primary has y = 0 (bytes 25 bits 4-5 and byte 28).
QByteArray edidWithRedYZero(const SimMonitorConfig &config)
{
    QByteArray edid = buildSimEdid(config);
    edid[25] = char(quint8(edid[25]) & ~0x30);
    edid[28] = 0;
    return withChecksum(edid);
}

void expectXYZ(const CCIEXYZ &c, double x, double y)
{
    QVERIFY(std::abs(c.X - x / y) < 1e-12);
    QCOMPARE(c.Y, 1.0);
    QVERIFY(std::abs(c.Z - (1.0 - x - y) / y) < 1e-12);
}

} // namespace

class TestMultiMonitor : public QObject {
    Q_OBJECT
private slots:
    void standardSceneRecords()
    {
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();
        CMultiMonitor list(nullptr);
        QSignalSpy names(&list, &CMultiMonitor::detectedMonitor);
        QSignalSpy done(&list, &CMultiMonitor::monitorDetectionComplete);
        QCOMPARE(list.EnumerateDesktop(), 0);
        QCOMPARE(done.count(), 1);
        QCOMPARE(names.count(), 3);
        QCOMPARE(names.at(1).at(0).toString(), QStringLiteral("HX520R (USB)"));
        QCOMPARE(list.GetDisplayCount(), 3);

        const _MonitorData hx = list.GetMonitorData(0);
        QCOMPARE(hx.m_ModelName, QStringLiteral("HXSIM24"));
        QCOMPARE(hx.m_SerialNumber, QStringLiteral("SIM0001"));
        QVERIFY(hx.m_Supported);
        QVERIFY(!hx.m_USB);
        QVERIFY(!hx.m_DDCCIWorks);
        QVERIFY(hx.m_EDIDValid);
        QCOMPARE(hx.m_Width, 52);
        QCOMPARE(hx.m_Height, 32);
        QCOMPARE(hx.m_Bounds.left(), 0);
        QCOMPARE(hx.m_Bounds.right(), 1920);
        QCOMPARE(hx.m_Bounds.bottom(), 1200);
        QCOMPARE(hx.m_DisplayID, 1u);
        // The primaries are the EDID's ten-bit chromaticities as XYZ, Y = 1.
        const QByteArray edid = rig.desk.monitor(1)->edid();
        const auto tenBit = [&](int high, int lowByte, int shift) {
            return ((quint8(edid[high]) << 2) | ((quint8(edid[lowByte]) >> shift) & 3)) / 1024.0;
        };
        expectXYZ(hx.m_Red, tenBit(27, 25, 6), tenBit(28, 25, 4));
        expectXYZ(hx.m_White, tenBit(33, 26, 2), tenBit(34, 26, 0));

        const _MonitorData usb = list.GetMonitorData(1);
        QVERIFY(usb.m_USB);
        QVERIFY(usb.m_DDCCIWorks);
        QVERIFY(usb.m_Supported);
        QCOMPARE(usb.m_ListIndex, 1);

        const _MonitorData other = list.GetMonitorData(2);
        QVERIFY(!other.m_Supported);
        QCOMPARE(other.m_ModelID, 0x6D041234u);
        QCOMPARE(other.m_Width, 47);

        // Copies: changing one does not change the list.
        _MonitorData copy = list.GetMonitorData(0);
        copy.m_ModelName = QStringLiteral("changed");
        QCOMPARE(list.GetMonitorData(0).m_ModelName, QStringLiteral("HXSIM24"));
        const _MonitorData outside = list.GetMonitorData(3);
        QVERIFY(outside.m_Bounds.isNull());
        QVERIFY(outside.m_ModelName.isEmpty());
        QCOMPARE(outside.m_ModelID, 0u);
    }

    void supportFollowsConnectionAndModel_data()
    {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<bool>("supported");
        QTest::newRow("other Orvane model on I2C") << false << false;
        QTest::newRow("other Orvane model over USB") << true << true;
    }
    void supportFollowsConnectionAndModel()
    {
        QFETCH(bool, usb);
        QFETCH(bool, supported);
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::notInHxList());
        if (usb)
            rig.desk.plugBridge(1);
        rig.interfaces();
        CMultiMonitor list;
        list.EnumerateDesktop();
        QCOMPARE(list.GetDisplayCount(), 1);
        QCOMPARE(list.GetMonitorData(0).m_Supported, supported);
        QCOMPARE(list.GetMonitorData(0).m_ModelID, 0x563E1901u);
    }

    void physicalSizeDefaults_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("expectedWidth");
        QTest::addColumn<int>("expectedHeight");
        QTest::newRow("0 x 0") << 0 << 0 << 40 << 30;
        QTest::newRow("255 wide") << 255 << 30 << 40 << 30;
        QTest::newRow("254 x 1") << 254 << 1 << 254 << 1;
    }
    void physicalSizeDefaults()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, expectedWidth);
        QFETCH(int, expectedHeight);
        SimMonitorConfig config = SimMonitorConfig::hxsim24();
        config.widthCm = width;
        config.heightCm = height;
        ddcci_monitor_info entry;
        const QByteArray edid = buildSimEdid(config);
        std::memcpy(entry.m_EDID, edid.constData(), 128);
        const _MonitorData d = CMultiMonitor::MonitorDataFromEntry(entry);
        QVERIFY(d.m_EDIDValid);
        QCOMPARE(d.m_Width, expectedWidth);
        QCOMPARE(d.m_Height, expectedHeight);
    }

    void chromaticityWithZeroYGivesNoInfinity()
    {
        ddcci_monitor_info entry;
        const QByteArray edid = edidWithRedYZero(SimMonitorConfig::hxsim24());
        std::memcpy(entry.m_EDID, edid.constData(), 128);
        const _MonitorData d = CMultiMonitor::MonitorDataFromEntry(entry);
        QVERIFY(d.m_EDIDValid);
        QCOMPARE(d.m_Red.X, 0.0);
        QCOMPARE(d.m_Red.Y, 0.0);
        QCOMPARE(d.m_Red.Z, 0.0);
        QVERIFY(std::isfinite(d.m_Green.X) && d.m_Green.Y == 1.0);
        QVERIFY(std::isfinite(d.m_White.Z) && d.m_White.Y == 1.0);
    }

    void displayWithoutEdid()
    {
        ddcci_monitor_info entry;
        entry.m_ListIndex = 4;
        entry.m_Right = 800;
        entry.m_Bottom = 600;
        const _MonitorData d = CMultiMonitor::MonitorDataFromEntry(entry);
        QVERIFY(!d.m_EDIDValid);
        QCOMPARE(d.m_Width, -1);
        QCOMPARE(d.m_Height, -1);
        QCOMPARE(d.m_White.X, 0.0);
        QCOMPARE(d.m_Red.Y, 0.0);
        QCOMPARE(d.m_ModelName, QStringLiteral("Unknown"));
        QVERIFY(!d.m_Supported);
        QCOMPARE(d.m_ListIndex, 4);
        QCOMPARE(d.m_Bounds, QRect(QPoint(0, 0), QPoint(800, 600)));
    }

    void emptyDesktopStillCompletes()
    {
        DisplayRig rig;
        rig.interfaces();
        CMultiMonitor list;
        QSignalSpy done(&list, &CMultiMonitor::monitorDetectionComplete);
        QCOMPARE(list.AutoEnumerate(), 0);
        QCOMPARE(list.RepopulateWithDDCCIData(), 0);
        QCOMPARE(done.count(), 1);
        QCOMPARE(list.GetDisplayCount(), 0);
    }

    // An enumeration given up part-way (the program is ending) leaves the
    // list as the last whole enumeration made it, or empty on a first run,
    // and reports no completion: what is stored at exit is never a list cut
    // short. The enumeration runs on a thread of its own, as at start-up,
    // and is given up once it has reported the given number of displays.
    void enumerationGivenUpLeavesTheList_data()
    {
        QTest::addColumn<bool>("wholeListBefore");
        QTest::addColumn<int>("givenUpAfter");
        QTest::newRow("first run, after display 1") << false << 1;
        QTest::newRow("first run, after display 2") << false << 2;
        QTest::newRow("first run, after the last display") << false << 3;
        QTest::newRow("whole list before, after display 1") << true << 1;
        QTest::newRow("whole list before, after display 2") << true << 2;
    }
    void enumerationGivenUpLeavesTheList()
    {
        QFETCH(bool, wholeListBefore);
        QFETCH(int, givenUpAfter);
        DisplayRig rig;
        rig.standardScene();
        rig.interfaces();
        CMultiMonitor list(nullptr);
        if (wholeListBefore)
            QCOMPARE(list.EnumerateDesktop(), 0);
        const int countBefore = list.GetDisplayCount();
        QCOMPARE(countBefore, wholeListBefore ? 3 : 0);
        const QByteArray recordBefore = bytesOf(list);
        QStringList namesBefore;
        for (int i = 0; i < countBefore; ++i)
            namesBefore << list.GetMonitorData(unsigned(i)).m_ModelName;

        QSignalSpy done(&list, &CMultiMonitor::monitorDetectionComplete);
        std::unique_ptr<QThread> worker(QThread::create([&list] { list.EnumerateDesktop(); }));
        QThread *thread = worker.get();
        int reported = 0;
        connect(
            &list.Enumerator(), &CEnumDDCCI_Monitors::detectedMonitor2, thread,
            [&reported, thread, givenUpAfter] {
                if (++reported == givenUpAfter)
                    thread->requestInterruption();
            },
            Qt::DirectConnection);
        worker->start();
        QVERIFY(worker->wait(60000));
        QCOMPARE(reported, givenUpAfter);

        QCOMPARE(done.count(), 0);
        QCOMPARE(list.GetDisplayCount(), countBefore);
        QCOMPARE(bytesOf(list), recordBefore);
        for (int i = 0; i < countBefore; ++i)
            QCOMPARE(list.GetMonitorData(unsigned(i)).m_ModelName, namesBefore.at(i));
    }

    void portMapBounds()
    {
        CMultiMonitor list;
        for (int i = 0; i < 10; ++i)
            QCOMPARE(list.GetMonitorToPortMap(i), -1);
        QCOMPARE(list.GetMonitorToPortMap(10), -1);
        QCOMPARE(list.SetMonitorToPortMap(-1, 5), -1);
        QCOMPARE(list.SetMonitorToPortMap(10, 5), -1);
        QCOMPARE(list.SetMonitorToPortMap(9, 5), 0);
        QCOMPARE(list.GetMonitorToPortMap(9), 5);
    }

    void storedRecordBytesAndRestore()
    {
        DisplayRig rig;
        rig.desk.addMonitor(1, QRectF(0, 0, 1920, 1200), SimMonitorConfig::hxsim24());
        rig.desk.addMonitor(2, QRectF(1920, 0, 1920, 1200), SimMonitorConfig::hx520r());
        rig.interfaces();
        CMultiMonitor list;
        list.EnumerateDesktop();
        QCOMPARE(list.GetDisplayCount(), 2);
        for (int i = 0; i < 10; ++i)
            list.SetMonitorToPortMap(i, i * 3 - 1);
        const QByteArray bytes = bytesOf(list);
        QCOMPARE(bytes.size(), 52);
        QCOMPARE(bytes.left(12), hex("00 00 DE AB 00 00 00 0B 00 00 00 02"));
        QCOMPARE(bytes.mid(12, 8), hex("FF FF FF FF 00 00 00 02"));

        // Read back at start-up, before any enumeration: the map is
        // restored although the count then is 0.
        CMultiMonitor fresh;
        QCOMPARE(readRecordBytes(bytes, [&](QDataStream &s) { s >> fresh; }), QDataStream::Ok);
        QCOMPARE(fresh.GetStoredCount(), 2);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(fresh.GetMonitorToPortMap(i), i * 3 - 1);
        QCOMPARE(fresh.GetDisplayCount(), 0);
        // Written again, the record counts the monitors of this run.
        QCOMPARE(bytesOf(fresh).mid(8, 4), hex("00 00 00 00"));
        QCOMPARE(bytesOf(fresh).mid(12), bytes.mid(12));

        CMultiMonitor taken;
        taken.TakeStoredRecord(fresh);
        QCOMPARE(taken.GetMonitorToPortMap(9), 26);
        QCOMPARE(taken.GetStoredCount(), 2);
    }

    void badRecordsChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("version 10") << hex("00 00 DE AB 00 00 00 0A 00 00 00 00") + QByteArray(40, 0);
        QTest::newRow("wrong magic") << hex("00 00 DE AC 00 00 00 0B 00 00 00 00") + QByteArray(40, 0);
        QTest::newRow("short map") << hex("00 00 DE AB 00 00 00 0B 00 00 00 00") + QByteArray(39, 0);
    }
    void badRecordsChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        CMultiMonitor list;
        list.SetMonitorToPortMap(0, 7);
        QVERIFY(readRecordBytes(bytes, [&](QDataStream &s) { s >> list; }) != QDataStream::Ok);
        QCOMPARE(list.GetMonitorToPortMap(0), 7);
        QCOMPARE(list.GetMonitorToPortMap(1), -1);
        QCOMPARE(list.GetStoredCount(), 0);
    }

    // The stored monitor count comes from a file: one no system can have
    // is damage, as in the tracker.
    void storedCountIsBounded_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("none") << hex("00 00 00 00") << true;
        QTest::newRow("32") << hex("00 00 00 20") << true;
        QTest::newRow("33") << hex("00 00 00 21") << false;
        QTest::newRow("-1") << hex("FF FF FF FF") << false;
        QTest::newRow("-16777216") << hex("FF 00 00 00") << false;
        QTest::newRow("2147483647") << hex("7F FF FF FF") << false;
    }
    void storedCountIsBounded()
    {
        QFETCH(QByteArray, count);
        QFETCH(bool, accepted);
        QByteArray map;
        for (int i = 0; i < 10; ++i)
            map += hex("00 00 00") + char(i + 1);
        CMultiMonitor list;
        const QDataStream::Status status = readRecordBytes(
            hex("00 00 DE AB 00 00 00 0B") + count + map, [&](QDataStream &s) { s >> list; });
        QCOMPARE(status == QDataStream::Ok, accepted);
        QCOMPARE(list.GetMonitorToPortMap(9), accepted ? 10 : -1);
        QCOMPARE(list.GetStoredCount(), accepted ? int(qFromBigEndian<qint32>(count.constData())) : 0);
    }

    void mutatedRecords()
    {
        CMultiMonitor source;
        for (int i = 0; i < 10; ++i)
            source.SetMonitorToPortMap(i, i);
        const QByteArray good = bytesOf(source);
        QRandomGenerator rng(0xDEAB);
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = good;
            bytes[int(rng.bounded(bytes.size()))] = char(rng.bounded(256));
            if (round % 4 == 0)
                bytes.truncate(int(rng.bounded(bytes.size())));
            CMultiMonitor list;
            const QDataStream::Status status =
                readRecordBytes(bytes, [&](QDataStream &s) { s >> list; });
            if (status != QDataStream::Ok)
                QCOMPARE(list.GetMonitorToPortMap(3), -1);
        }
    }

    void modelListsKeepTheirRelations()
    {
        QCOMPARE(modelListSize(ModelList::HXSeries), 5);
        QCOMPARE(modelListSize(ModelList::WideGamut), 29);
        QCOMPARE(modelListSize(ModelList::SRGBPreset), 36);
        QCOMPARE(modelListSize(ModelList::AutoLuminance), 12);
        QCOMPARE(modelListSize(ModelList::NoLUTPriority), 26);
        for (int i = 0; i < 5; ++i) {
            const quint32 id = modelListId(ModelList::HXSeries, i);
            QVERIFY(isInModelList(ModelList::WideGamut, id));
            QVERIFY(isInModelList(ModelList::SRGBPreset, id));
            QVERIFY(isInModelList(ModelList::NoLUTPriority, id));
        }
        QVERIFY(isInModelList(ModelList::HXSeries, 0xFFFFFFFF));
        QVERIFY(isInModelList(ModelList::HXSeries, SimMonitorConfig::hxsim24().modelId()));
        QVERIFY(isInModelList(ModelList::HXSeries, SimMonitorConfig::hx520r().modelId()));
        QVERIFY(isInModelList(ModelList::HXSeries, SimMonitorConfig::hxsim27().modelId()));
        QVERIFY(!isInModelList(ModelList::HXSeries, SimMonitorConfig::notInHxList().modelId()));
        QVERIFY(!isInModelList(ModelList::HXSeries, 0));
        QCOMPARE(modelListId(ModelList::HXSeries, 5), 0u);
        // The simulated models exercise both power-on counter layouts; no
        // model keeps both.
        QVERIFY(isInModelList(ModelList::OnePowerOnCounter, SimMonitorConfig::hx520r().modelId()));
        QVERIFY(isInModelList(ModelList::TwoPowerOnCounters, SimMonitorConfig::hxsim27().modelId()));
        for (int i = 0; i < modelListSize(ModelList::OnePowerOnCounter); ++i)
            QVERIFY(!isInModelList(ModelList::TwoPowerOnCounters,
                                   modelListId(ModelList::OnePowerOnCounter, i)));
        // No list repeats an id.
        for (ModelList l : {ModelList::HXSeries, ModelList::WideGamut, ModelList::SRGBPreset,
                            ModelList::AutoLuminance, ModelList::NoLUTPriority,
                            ModelList::OnePowerOnCounter, ModelList::TwoPowerOnCounters}) {
            QSet<quint32> seen;
            for (int i = 0; i < modelListSize(l); ++i)
                seen.insert(modelListId(l, i));
            QCOMPARE(seen.size(), modelListSize(l));
        }
    }
};

QTEST_GUILESS_MAIN(TestMultiMonitor)
#include "tst_multimonitor.moc"
