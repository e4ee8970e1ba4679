#include "Clock.h"
#include "ScriptedI2CBus.h"
#include "low_level_ddc.h"

#include <QtTest>

using namespace pz;
using pz::test::hex;
using pz::test::ScriptedI2CBus;

namespace {
QByteArray bytes(const unsigned char *data, int n)
{
    return QByteArray(reinterpret_cast<const char *>(data), n);
}
} // namespace

class TestLowLevelDdc : public QObject {
    Q_OBJECT
private slots:
    void writeFramesPayload_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("empty") << QByteArray() << hex("51 80 BF");
        QTest::newRow("get vcp 10") << hex("01 10") << hex("51 82 01 10 AC");
        QTest::newRow("set vcp 10") << hex("03 10 01 2C") << hex("51 84 03 10 01 2C 85");
        QTest::newRow("save") << hex("0C") << hex("51 81 0C B2");
        QTest::newRow("paged set") << hex("C8 10 52 01 39") << hex("51 85 C8 10 52 01 39 08");
        QTest::newRow("eeprom read") << hex("C0 09 20 88 00") << hex("51 85 C0 09 20 88 00 DB");
    }
    void writeFramesPayload()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, frame);
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        QCOMPARE(ddc.ddcci_write(reinterpret_cast<unsigned char *>(payload.data()),
                                 static_cast<unsigned char>(payload.size())),
                 0);
        QCOMPARE(bus.writes().size(), 1);
        QCOMPARE(int(bus.writes()[0].address), 0x6E);
        QCOMPARE(bus.writes()[0].bytes, frame);
    }

    void writeFailureAndOverlongPayload()
    {
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        unsigned char payload[128] = {0x01, 0x10};
        bus.failWrites(1);
        QCOMPARE(ddc.ddcci_write(payload, 2), -12);
        // The length field has 7 bits; a larger payload never reaches the bus.
        bus.clearLog();
        QCOMPARE(ddc.ddcci_write(payload, 128), -28);
        QVERIFY(bus.log().isEmpty());
        low_level_ddc unbound;
        QCOMPARE(unbound.ddcci_write(payload, 2), -12);
    }

    void readChecksReply_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("get vcp reply") << hex("6E 88 02 00 10 00 00 64 00 32 F2") << 8 << 8
                                       << hex("02 00 10 00 00 64 00 32");
        QTest::newRow("paged reply") << hex("6E 89 C7 00 10 52 00 03 E8 01 39 E1") << 9 << 9
                                     << hex("C7 00 10 52 00 03 E8 01 39");
        QTest::newRow("null") << hex("6E 80 BE") << 8 << 0 << QByteArray();
        QTest::newRow("null from 51") << hex("51 80 81") << 8 << 0 << QByteArray();
        QTest::newRow("source 51") << hex("51 88 02 00 10 00 00 64 00 32 CD") << 8 << 8
                                   << hex("02 00 10 00 00 64 00 32");
        QTest::newRow("bad checksum") << hex("6E 88 02 00 10 00 00 64 00 32 F3") << 8 << -20
                                      << QByteArray();
        QTest::newRow("null bad checksum") << hex("6E 80 BF") << 8 << -20 << QByteArray();
        QTest::newRow("wrong source") << hex("6F 80 BF") << 8 << -27 << QByteArray();
        QTest::newRow("over-long") << hex("6E 89 C7 00 10 52 00 03 E8 01 39 E1") << 8 << -24
                                   << QByteArray();
        QTest::newRow("caps end") << hex("6E 83 E3 02 00 5C") << 35 << 3 << hex("E3 02 00");
    }
    void readChecksReply()
    {
        QFETCH(QByteArray, wire);
        QFETCH(int, maxLength);
        QFETCH(int, result);
        QFETCH(QByteArray, payload);
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        bus.replyBytes(wire);
        unsigned char data[128];
        memset(data, 0xAA, sizeof data);
        QCOMPARE(ddc.ddcci_read(data, static_cast<unsigned char>(maxLength)), result);
        QCOMPARE(bus.reads().size(), 1);
        QCOMPARE(int(bus.reads()[0].address), 0x6E);
        QCOMPARE(bus.reads()[0].length, maxLength + 3);
        if (result > 0)
            QCOMPARE(bytes(data, result), payload);
        else
            QCOMPARE(int(data[0]), 0xAA); // nothing copied
    }

    void readNakGivesMinus11()
    {
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        bus.nak();
        unsigned char data[8];
        QCOMPARE(ddc.ddcci_read(data, 8), -11);
    }

    void edidReadWritesOffsetThenReads()
    {
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        bus.reply("00 FF FF FF FF FF FF 00");
        unsigned char block[128];
        QCOMPARE(ddc.read_i2c_address(block, 0xA0, 128, 128), 1);
        QCOMPARE(bus.log().size(), 2);
        QCOMPARE(bus.log()[0].bytes, hex("80"));
        QCOMPARE(int(bus.log()[0].address), 0xA0);
        QVERIFY(bus.log()[1].isRead);
        QCOMPARE(bus.log()[1].length, 128);
        bus.failWrites(1);
        QCOMPARE(ddc.read_i2c_address(block, 0xA0, 0, 128), -12);
        QCOMPARE(bus.reads().size(), 1); // no read after a failed write
    }

    void adapterFixReadsTwiceAndDropsEvery16th_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("wireCount");
        QTest::addColumn<QVector<int>>("dropped");
        QTest::newRow("11") << 0x6E << 11 << 11 << QVector<int>{};
        QTest::newRow("16") << 0x6E << 16 << 17 << QVector<int>{16};
        QTest::newRow("35") << 0x6E << 35 << 37 << QVector<int>{16, 32};
        QTest::newRow("47") << 0x6E << 47 << 49 << QVector<int>{16, 32, 48};
        QTest::newRow("edid keeps all") << 0xA0 << 40 << 40 << QVector<int>{};
    }
    void adapterFixReadsTwiceAndDropsEvery16th()
    {
        QFETCH(int, address);
        QFETCH(int, length);
        QFETCH(int, wireCount);
        QFETCH(QVector<int>, dropped);
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        ddc.set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(true);
        QByteArray first(wireCount, char(0xEE)), second;
        for (int i = 0; i < wireCount; ++i)
            second.append(char(i));
        bus.replyBytes(first);
        bus.replyBytes(second);
        unsigned char data[64];
        memset(data, 0xCC, sizeof data);
        QCOMPARE(ddc.i2c_read(static_cast<unsigned int>(address), data,
                              static_cast<unsigned char>(length)),
                 1);
        QCOMPARE(bus.reads().size(), 2);
        QCOMPARE(bus.reads()[0].length, wireCount);
        QCOMPARE(bus.reads()[1].length, wireCount);
        QByteArray expected;
        for (int i = 0; i < wireCount; ++i)
            if (!dropped.contains(i))
                expected.append(char(i));
        QCOMPARE(bytes(data, expected.size()), expected);
        QCOMPARE(int(data[expected.size()]), 0xCC); // nothing beyond the kept bytes
    }

    void adapterFixFailures()
    {
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        ddc.set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(true);
        unsigned char data[200];
        bus.reply("00");
        bus.nak();
        QCOMPARE(ddc.i2c_read(0x6E, data, 8), -11); // second read failed
        // More than the adapter's 128-byte wire buffer is refused without traffic.
        bus.reply("00");
        bus.reply("00");
        QCOMPARE(ddc.i2c_read(0x6E, data, 121), 1); // 128 wire bytes still fit
        bus.clearLog();
        QCOMPARE(ddc.i2c_read(0x6E, data, 122), -11);
        QVERIFY(bus.log().isEmpty());
        ddc.set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(false);
        bus.reply("01 02");
        QCOMPARE(ddc.i2c_read(0x6E, data, 2), 1);
        QCOMPARE(bus.reads().size(), 1);
    }

    void waitGoesThroughProgramClock()
    {
        VirtualClock virt;
        ScopedClock scope(&virt);
        low_level_ddc ddc;
        QCOMPARE(ddc.WaitMS(0), 0);
        QCOMPARE(ddc.WaitMS(50), 0);
        QCOMPARE(ddc.WaitMS(200), 0);
        QCOMPARE(virt.waitsTicks(), (QVector<qint64>{1, 4, 13}));
    }
};

QTEST_GUILESS_MAIN(TestLowLevelDdc)
#include "tst_low_level_ddc.moc"
