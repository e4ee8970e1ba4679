#include "Clock.h"
#include "ORV_factory_ddc_control.h"
#include "ScriptedI2CBus.h"

#include <QtTest>

using namespace pz;
using pz::test::hex;
using pz::test::ScriptedI2CBus;

namespace {
using Ticks = QVector<qint64>;

using Fixture = pz::test::ScriptedControl<ORV_factory_ddc_control>;

QByteArray counting(int n, int start = 0)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out.append(char(start + i));
    return out;
}
} // namespace

class TestOrvFactoryDdcControl : public QObject {
    Q_OBJECT
private slots:
    void readEepromInChunks()
    {
        Fixture f;
        const QByteArray data = counting(48, 1);
        f.bus.replyPayload(hex("C1 09") + data.left(32));
        f.bus.replyPayload(hex("C1 09") + data.mid(32));
        QByteArray buffer(48, 0);
        QCOMPARE(f.ddc.ReadEEPROM(reinterpret_cast<unsigned char *>(buffer.data()), 0x8800, 48),
                 0);
        QCOMPARE(buffer, data);
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 85 C0 09 20 88 00 DB"));
        QCOMPARE(f.bus.requests(), (QList<QByteArray>{hex("C0 09 20 88 00"), hex("C0 09 10 88 20")}));
        QCOMPARE(f.bus.reads()[0].length, 34 + 3);
        QCOMPARE(f.bus.reads()[1].length, 18 + 3);
    }

    void memoryReadFailures()
    {
        Fixture f;
        f.bus.replyPayload(hex("C1 03") + counting(32));
        f.bus.replyPayload(hex("C1 09") + counting(16)); // RAM read answered as EEPROM
        QByteArray buffer(48, 0);
        auto *out = reinterpret_cast<unsigned char *>(buffer.data());
        QCOMPARE(f.ddc.ReadRAM(out, 0x0100, 48), -26);
        QCOMPARE(buffer.left(32), counting(32)); // chunks before the failure stay
        // A short chunk is asked for again, then -24.
        for (int i = 0; i < 5; ++i)
            f.bus.replyPayload(hex("C1 09") + counting(3));
        QCOMPARE(f.ddc.read_eeprom_chunk(out, 0, 4), -24);

        f.bus.clearLog();
        QCOMPARE(f.ddc.read_eeprom_chunk(out, 0, 33), -31);
        QCOMPARE(f.ddc.read_ram_chunk(out, 0, 0), -24);
        QCOMPARE(f.ddc.ReadEEPROM(out, 0xFFF0, 17), -31); // past the 16-bit space
        QCOMPARE(f.ddc.ReadEEPROM(out, 0x10000, 1), -31);
        QCOMPARE(f.ddc.ReadEEPROM(out, 0, 0), 0);
        QVERIFY(f.bus.log().isEmpty());
    }

    void writeEepromInChunksWithWaits()
    {
        Fixture f;
        QByteArray data = counting(33, 0x40);
        QCOMPARE(f.ddc.WriteEEPROM(reinterpret_cast<unsigned char *>(data.data()), 0xFA10, 33), 0);
        QCOMPARE(f.bus.requests(),
                 (QList<QByteArray>{hex("C0 02 20 FA 10") + data.left(32),
                                    hex("C0 02 01 FA 30") + data.mid(32)}));
        // 50 ms after each chunk write, and 50 ms more per chunk.
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 4, 4, 4}));

        Fixture g;
        QCOMPARE(g.ddc.WriteRAM(reinterpret_cast<unsigned char *>(data.data()), 0x20, 2), 0);
        QCOMPARE(g.bus.requests(), QList<QByteArray>{hex("C0 0A 02 00 20 40 41")});
        QCOMPARE(g.ddc.WriteEEPROM(reinterpret_cast<unsigned char *>(data.data()), 0xFFFF, 2),
                 -31);
        g.bus.failWrites(5);
        QCOMPARE(g.ddc.WriteEEPROM(reinterpret_cast<unsigned char *>(data.data()), 0, 33), -12);
        QCOMPARE(g.bus.writes().size(), 1 + 5); // the second chunk is never sent
    }

    void singleCommands_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("mpu reset") << 0 << hex("C0 00");
        QTest::newRow("amfc") << 1 << hex("C0 0C 01");
        QTest::newRow("abl") << 2 << hex("C0 0D 00");
        QTest::newRow("white balance write") << 3 << hex("C0 24 02 01 02 03 04");
    }
    void singleCommands()
    {
        QFETCH(int, which);
        QFETCH(QByteArray, request);
        Fixture f;
        int status = -99;
        switch (which) {
        case 0: status = f.ddc.MPUReset(); break;
        case 1: status = f.ddc.DisableAutomaticMagneticFieldCompensation(1); break;
        case 2: status = f.ddc.DisableABL(0); break;
        case 3: status = f.ddc.WhiteBalanceTableWrite(2, 1, 2, 3, 4); break;
        }
        QCOMPARE(status, 0);
        QCOMPARE(f.bus.requests(), QList<QByteArray>{request});
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4}));
    }

    void repliedCommands()
    {
        Fixture f;
        f.bus.replyPayload("C1 23 0A 0B 0C 0D");
        unsigned char a = 0, b = 0, c = 0, d = 0;
        QCOMPARE(f.ddc.WhiteBalanceTableRead(5, &a, &b, &c, &d), 0);
        QCOMPARE(f.bus.requests().last(), hex("C0 23 05"));
        QCOMPARE(QVector<int>({a, b, c, d}), QVector<int>({10, 11, 12, 13}));

        f.bus.replyPayload("C1 11 02");
        unsigned char mode = 4;
        QCOMPARE(f.ddc.ModeChangeRequest(&mode), 0);
        QCOMPARE(f.bus.requests().last(), hex("C0 11 04"));
        QCOMPARE(int(mode), 2); // the monitor's answer

        f.bus.replyPayload("C1 24 02");
        QCOMPARE(f.ddc.ModeChangeRequest(&mode), -26);
        QCOMPARE(int(mode), 2);
    }

    void writeEdidInPages()
    {
        Fixture f;
        QByteArray edid = counting(128);
        QCOMPARE(f.ddc.WriteEDID(reinterpret_cast<unsigned char *>(edid.data()), 128), 0);
        QCOMPARE(f.bus.writes().size(), 16);
        for (int page = 0; page < 16; ++page) {
            QCOMPARE(int(f.bus.writes()[page].address), 0xA0);
            QCOMPARE(f.bus.writes()[page].bytes,
                     QByteArray(1, char(page * 8)) + edid.mid(page * 8, 8));
        }
        QCOMPARE(f.clock.waitsTicks(), Ticks(16, 4));

        // A length that is not whole pages: the last page is padded here.
        Fixture g;
        QByteArray shortData = counting(12, 1);
        QCOMPARE(g.ddc.WriteEDID(reinterpret_cast<unsigned char *>(shortData.data()), 12), 0);
        QCOMPARE(g.bus.writes().size(), 2);
        QCOMPARE(g.bus.writes()[1].bytes, hex("08 09 0A 0B 0C 00 00 00 00"));

        Fixture h;
        QByteArray big(256, 0);
        QCOMPARE(h.ddc.WriteEDID(reinterpret_cast<unsigned char *>(big.data()), 256), -31);
        QVERIFY(h.bus.log().isEmpty());
        h.bus.failWrites(1);
        QCOMPARE(h.ddc.WriteEDID(reinterpret_cast<unsigned char *>(big.data()), 128), -12);
        QCOMPARE(h.bus.writes().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOrvFactoryDdcControl)
#include "tst_orv_factory_ddc_control.moc"
