#include "Clock.h"
#include "ScriptedI2CBus.h"
#include "ddc_control.h"
#include "low_level_ddc.h"

#include <QtTest>

using namespace pz;
using pz::test::hex;
using pz::test::ScriptedI2CBus;

namespace {
using Ticks = QVector<qint64>;

const char *kSampleEdid =
    "00 FF FF FF FF FF FF 00 3E 56 41 24 01 00 00 00"
    "0A 22 01 04 A5 34 20 78 0A 1F 91 AE 4F 35 B5 26"
    "0F 50 54 21 08 00 D1 C0 01 01 01 01 01 01 01 01"
    "01 01 01 01 01 01 28 3C 80 A0 70 B0 23 40 30 20"
    "36 00 06 44 21 00 00 1A 00 00 00 FF 00 53 49 4D"
    "30 30 30 31 0A 20 20 20 20 20 00 00 00 FC 00 48"
    "58 53 49 4D 32 34 0A 20 20 20 20 20 00 00 00 FD"
    "00 38 4C 1E 53 11 00 0A 20 20 20 20 20 20 00 61";

// Makes byte 127 the checksum of a 128-byte block.
QByteArray withChecksum(QByteArray block)
{
    quint8 sum = 0;
    for (int i = 0; i < 127; ++i)
        sum += quint8(block[i]);
    block[127] = char(quint8(0x100 - sum));
    return block;
}

using Fixture = pz::test::ScriptedControl<ddc_control>;
} // namespace

class TestDdcControl : public QObject {
    Q_OBJECT
private slots:
    void getVcpFramesAndDecodes()
    {
        Fixture f;
        f.bus.reply("6E 88 02 00 10 00 00 64 00 32 F2");
        unsigned int current = 0, maximum = 0;
        unsigned char result = 0xFF, type = 0xFF;
        QCOMPARE(f.ddc.GetVCP(0x10, &current, &maximum, &result, &type), 0);
        QCOMPARE(f.bus.writes().size(), 1);
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 82 01 10 AC"));
        QCOMPARE(f.bus.reads()[0].length, 11);
        QCOMPARE(current, 50u);
        QCOMPARE(maximum, 100u);
        QCOMPARE(int(result), 0);
        QCOMPARE(int(type), 0);
        // Reply delay, then the pause after closing: about 133 ms.
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 4}));
        QCOMPARE(f.clock.totalWaitedUs() / 1000, 133);
    }

    void setVcpAndSaveSettings()
    {
        Fixture f;
        QCOMPARE(f.ddc.SetVCP(0x10, 300), 0);
        QCOMPARE(f.ddc.SaveCurrentSettings(), 0);
        QCOMPARE(f.bus.requests(), (QList<QByteArray>{hex("03 10 01 2C"), hex("0C")}));
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 84 03 10 01 2C 85"));
        QCOMPARE(f.bus.writes()[1].bytes, hex("51 81 0C B2"));
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 13}));
        QVERIFY(f.bus.reads().isEmpty());
    }

    void standardCodesAbove255AreRefused()
    {
        Fixture f;
        unsigned int current, maximum;
        unsigned char result, type;
        QCOMPARE(f.ddc.SetVCP(256, 0), -29);
        QCOMPARE(f.ddc.GetVCP(256, &current, &maximum, &result, &type), -29);
        QVERIFY(f.bus.log().isEmpty());
        QVERIFY(f.clock.waitsUs().isEmpty());
    }

    // Every garbled reply gives its code after the exchange's retries (or at
    // once where the reply is well formed but wrong).
    void garbledGetVcpReplies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("requests");
        QTest::newRow("bad checksum") << hex("6E 88 02 00 10 00 00 64 00 32 F3") << -20 << 5;
        QTest::newRow("wrong source") << hex("6A 88 02 00 10 00 00 64 00 32 F6") << -27 << 5;
        QTest::newRow("over-long") << ScriptedI2CBus::replyFrame(hex("02 00 10 00 00 64 00 32 00"))
                                   << -24 << 5;
        QTest::newRow("short payload") << ScriptedI2CBus::replyFrame(hex("02 00 10 00 00 64 00"))
                                       << -24 << 5;
        QTest::newRow("null") << hex("6E 80 BE") << -23 << 5;
        QTest::newRow("wrong opcode") << ScriptedI2CBus::replyFrame(hex("03 00 10 00 00 64 00 32"))
                                      << -26 << 1;
        QTest::newRow("wrong code") << ScriptedI2CBus::replyFrame(hex("02 00 12 00 00 64 00 32"))
                                    << -25 << 1;
        QTest::newRow("nak") << QByteArray() << -11 << 5;
    }
    void garbledGetVcpReplies()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, code);
        QFETCH(int, requests);
        Fixture f;
        for (int i = 0; i < 5; ++i) {
            if (reply.isEmpty())
                f.bus.nak();
            else
                f.bus.replyBytes(reply);
        }
        unsigned int current = 7, maximum = 7;
        unsigned char result = 7, type = 7;
        QCOMPARE(f.ddc.GetVCP(0x10, &current, &maximum, &result, &type), code);
        QCOMPARE(f.bus.requests().size(), requests);
        QCOMPARE(current, 7u); // outputs untouched on failure
        QCOMPARE(int(result), 7);
    }

    void silentMonitorWaitSchedule()
    {
        Fixture f;
        f.bus.nak(5);
        unsigned int current, maximum;
        unsigned char result, type;
        QCOMPARE(f.ddc.GetVCP(0x10, &current, &maximum, &result, &type), -11);
        // Reply delays 50..250 ms, each before and after the failed read,
        // then 50 ms after closing.
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 4, 7, 7, 10, 10, 13, 13, 16, 16, 4}));
    }

    void failingWritesWaitSchedule()
    {
        Fixture f;
        f.bus.failWrites(5);
        unsigned char payload[2] = {0x01, 0x10};
        unsigned char reply[8];
        unsigned int length = 8;
        QCOMPARE(f.ddc.SendPacketGetReply(payload, 2, reply, &length, true, 50), -12);
        // Write-retry wait 50/250/450/650/850 ms, then the reply delay.
        QCOMPARE(f.clock.waitsTicks(),
                 (Ticks{4, 4, 16, 7, 28, 10, 40, 13, 52, 16, 4}));
        QVERIFY(f.bus.reads().isEmpty());

        f.clock.clearWaits();
        f.bus.failWrites(5);
        QCOMPARE(f.ddc.SendPacket(payload, 2, 0), -12);
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 16, 28, 40, 52, 1}));
    }

    void retryLimitControlsAttempts()
    {
        Fixture f;
        f.ddc.set_retry_limit(1);
        f.bus.replyNull(2);
        unsigned char payload[1] = {0x07};
        unsigned char reply[6];
        unsigned int length = 6;
        QCOMPARE(f.ddc.SendPacketGetReply(payload, 1, reply, &length, true, 50), -23);
        QCOMPARE(f.bus.requests().size(), 2);
        QCOMPARE(length, 0u);
    }

    void nullWithoutRetryIsAnEmptyReply()
    {
        Fixture f;
        f.bus.replyNull();
        unsigned char payload[1] = {0x07};
        unsigned char reply[6];
        unsigned int length = 6;
        QCOMPARE(f.ddc.SendPacketGetReply(payload, 1, reply, &length, false, 50), 0);
        QCOMPARE(length, 0u);
        QCOMPARE(f.bus.requests().size(), 1);
    }

    void exchangeLimits_data()
    {
        QTest::addColumn<unsigned int>("n");
        QTest::addColumn<unsigned int>("expected");
        QTest::addColumn<int>("code");
        QTest::newRow("payload 121") << 121u << 8u << -28;
        QTest::newRow("payload 0") << 0u << 8u << -24;
        QTest::newRow("reply 121") << 2u << 121u << -28;
        QTest::newRow("reply 0") << 2u << 0u << -24;
    }
    void exchangeLimits()
    {
        QFETCH(unsigned int, n);
        QFETCH(unsigned int, expected);
        QFETCH(int, code);
        Fixture f;
        unsigned char payload[130] = {0x01, 0x10};
        unsigned char reply[130];
        unsigned int length = expected;
        QCOMPARE(f.ddc.SendPacketGetReply(payload, n, reply, &length, true, 50), code);
        QVERIFY(f.bus.log().isEmpty());
        QCOMPARE(f.ddc.SendPacket(payload, 121, 50), -28);
        length = expected;
        if (expected == 0 || expected > 120)
            QCOMPARE(f.ddc.GetReplyOnly(reply, &length, 0), code);
        QVERIFY(f.bus.log().isEmpty());
    }

    void replyOnlyReadsWithoutWaiting()
    {
        Fixture f;
        f.bus.nak(2);
        f.bus.replyPayload("C7 00 10 52 00 03 E8 01 39");
        unsigned char reply[9];
        unsigned int length = 9;
        QCOMPARE(f.ddc.GetReplyOnly(reply, &length, 50), 0);
        QCOMPARE(length, 9u);
        QVERIFY(f.bus.writes().isEmpty());
        QCOMPARE(f.bus.reads().size(), 3);
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4}));
    }

    void timingAndApplicationTestReports()
    {
        Fixture f;
        f.bus.replyPayload("4E 01 17 70 0B B8");
        unsigned char status = 0;
        float h = 0, v = 0;
        QCOMPARE(f.ddc.GetTimingReport(&status, &h, &v), 0);
        QCOMPARE(int(status), 1);
        QCOMPARE(h, 60.0f);
        QCOMPARE(v, 30.0f);
        f.bus.replyPayload("4F 01 17 70 0B B8");
        QCOMPARE(f.ddc.GetTimingReport(&status, &h, &v), -26);

        f.bus.replyPayload("A1");
        f.bus.replyPayload("A1 05 06 07");
        unsigned char report[2] = {0, 0};
        QCOMPARE(f.ddc.GetApplicationTestReport(report, 2), 3);
        QCOMPARE(int(report[0]), 5);
        QCOMPARE(int(report[1]), 6); // at most size bytes copied
        QCOMPARE(f.bus.requests().last(), hex("B1"));
    }

    void capabilityStringInFragments()
    {
        Fixture f;
        const QByteArray text = "(prot(monitor)type(LCD)model(HXSIM24)cmds(01 02 03 0C F3))";
        int offset = 0;
        while (offset < text.size()) {
            const QByteArray part = text.mid(offset, 32);
            QByteArray payload = hex("E3");
            payload.append(char(offset >> 8)).append(char(offset & 0xFF)).append(part);
            f.bus.replyPayload(payload);
            offset += part.size();
        }
        QByteArray end = hex("E3");
        end.append(char(offset >> 8)).append(char(offset & 0xFF));
        f.bus.replyPayload(end);

        char buffer[256];
        QCOMPARE(f.ddc.GetCapabilityString(buffer, sizeof buffer), text.size());
        QCOMPARE(QByteArray(buffer), text);
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 83 F3 00 00 4F"));
        QCOMPARE(text.size(), 0x3A);
        QCOMPARE(f.bus.requests(),
                 (QList<QByteArray>{hex("F3 00 00"), hex("F3 00 20"), hex("F3 00 3A")}));
        QCOMPARE(f.bus.reads()[0].length, 38); // 35 payload bytes + 3
    }

    void capabilityFragmentRetries_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<int>("code");
        QTest::newRow("short") << ScriptedI2CBus::replyFrame(hex("E3 00")) << -24;
        QTest::newRow("other offset") << ScriptedI2CBus::replyFrame(hex("E3 00 05 41")) << -26;
        QTest::newRow("other opcode") << ScriptedI2CBus::replyFrame(hex("E4 00 00 41")) << -26;
        QTest::newRow("bad checksum") << hex("6E 83 E3 00 00 00") << -20;
    }
    void capabilityFragmentRetries()
    {
        QFETCH(QByteArray, bad);
        QFETCH(int, code);
        // The first fragment is asked for six times...
        {
            Fixture f;
            f.ddc.set_retry_limit(4);
            for (int i = 0; i < 6; ++i)
                for (int r = 0; r < (code == -20 ? 5 : 1); ++r)
                    f.bus.replyBytes(bad);
            char buffer[64];
            QCOMPARE(f.ddc.GetCapabilityString(buffer, sizeof buffer), code);
            QCOMPARE(f.bus.pendingReplies(), 0);
            QCOMPARE(QByteArray(buffer), QByteArray());
        }
        // ...each later one five times; a good answer before that recovers.
        {
            Fixture f;
            f.bus.replyPayload("E3 00 00 41 42");
            for (int i = 0; i < 4; ++i)
                for (int r = 0; r < (code == -20 ? 5 : 1); ++r)
                    f.bus.replyBytes(bad);
            f.bus.replyPayload("E3 00 02");
            char buffer[64];
            QCOMPARE(f.ddc.GetCapabilityString(buffer, sizeof buffer), 2);
            QCOMPARE(QByteArray(buffer), QByteArray("AB"));

            Fixture g;
            g.bus.replyPayload("E3 00 00 41 42");
            for (int i = 0; i < 5; ++i)
                for (int r = 0; r < (code == -20 ? 5 : 1); ++r)
                    g.bus.replyBytes(bad);
            QCOMPARE(g.ddc.GetCapabilityString(buffer, sizeof buffer), code);
            QCOMPARE(g.bus.pendingReplies(), 0);
            QCOMPARE(QByteArray(buffer), QByteArray("AB"));
        }
    }

    void capabilityStringBounds()
    {
        // Empty string: a bare 3-byte fragment at offset 0.
        {
            Fixture f;
            f.bus.replyPayload("E3 00 00");
            char buffer[8] = "xxxxxxx";
            QCOMPARE(f.ddc.GetCapabilityString(buffer, sizeof buffer), 0);
            QCOMPARE(buffer[0], '\0');
        }
        // Four bytes fit a buffer of five; a buffer of four gives -30 and
        // stays a terminated string inside its bounds.
        for (unsigned int size : {5u, 4u}) {
            Fixture f;
            f.bus.replyPayload("E3 00 00 41 42 43 44");
            f.bus.replyPayload("E3 00 04");
            char buffer[8];
            memset(buffer, 0x7F, sizeof buffer);
            const int got = f.ddc.GetCapabilityString(buffer, size);
            QCOMPARE(got, size == 5 ? 4 : -30);
            QCOMPARE(QByteArray(buffer), size == 5 ? QByteArray("ABCD") : QByteArray("ABC"));
            QCOMPARE(int(buffer[size]), 0x7F);
        }
        // A NUL sent by the monitor ends the string after its fragment.
        {
            Fixture f;
            f.bus.replyPayload("E3 00 00 41 00 42");
            char buffer[8];
            QCOMPARE(f.ddc.GetCapabilityString(buffer, sizeof buffer), 3);
            QCOMPARE(QByteArray(buffer), QByteArray("A"));
            QCOMPARE(f.bus.requests().size(), 1);
        }
        Fixture f;
        char none[1];
        QCOMPARE(f.ddc.GetCapabilityString(none, 0), -30);
        QVERIFY(f.bus.log().isEmpty());
    }

    void edidReadAndCheck()
    {
        const QByteArray block0 = hex(kSampleEdid);
        // Without extension: upper half cleared, verified.
        {
            Fixture f;
            f.bus.replyBytes(block0);
            unsigned char buffer[256];
            memset(buffer, 0x55, sizeof buffer);
            QCOMPARE(f.ddc.ReadEDID(buffer, true), 0);
            QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 128), block0);
            QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer) + 128, 128), QByteArray(128, 0));
            QCOMPARE(f.bus.writes()[0].bytes, hex("00"));
            QCOMPARE(int(f.bus.writes()[0].address), 0xA0);
        }
        // With extension: both blocks read and verified.
        {
            QByteArray base = block0;
            base[126] = 1;
            base = withChecksum(base);
            QByteArray ext(128, 0);
            ext[0] = 2;
            ext[1] = 3;
            ext = withChecksum(ext);
            Fixture f;
            f.bus.replyBytes(base);
            f.bus.replyBytes(ext);
            unsigned char buffer[256];
            QCOMPARE(f.ddc.ReadEDID(buffer, true), 0);
            QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer) + 128, 128), ext);
            QCOMPARE(f.bus.writes()[1].bytes, hex("80"));

            ext[5] = 9; // extension checksum broken
            Fixture g;
            g.bus.replyBytes(base);
            g.bus.replyBytes(ext);
            QCOMPARE(g.ddc.ReadEDID(buffer, true), -21);
        }
        // Header and checksum both wrong: the checksum code wins.
        {
            QByteArray bad = block0;
            bad[1] = 0;
            Fixture f;
            f.bus.replyBytes(bad);
            unsigned char buffer[256];
            QCOMPARE(f.ddc.ReadEDID(buffer, true), -21);
            Fixture g;
            g.bus.replyBytes(withChecksum(bad));
            QCOMPARE(g.ddc.ReadEDID(buffer, true), -22);
            Fixture h;
            h.bus.replyBytes(bad);
            QCOMPARE(h.ddc.ReadEDID(buffer, false), 1); // unchecked read
        }
        // A silent bus: five tries, with growing waits.
        {
            Fixture f;
            f.bus.nak(5);
            unsigned char buffer[256];
            QCOMPARE(f.ddc.ReadEDID(buffer, true), -11);
            QCOMPARE(f.bus.writes().size(), 5);
            QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 16, 28, 40, 52}));
        }
    }

    void bridgeTransportWithoutBridgeManager()
    {
        VirtualClock clock;
        ScopedClock scope(&clock);
        ddc_control ddc(0u, 3);
        QVERIFY(ddc.transport() != nullptr);
        QCOMPARE(ddc.SetVCP(0x10, 50), -1); // no bridge manager: nothing to reach
        QCOMPARE(clock.waitsTicks(), (Ticks{4, 16, 28, 40, 52, 4}));
    }

    void probePort()
    {
        Fixture f;
        unsigned char edid[256];
        QCOMPARE(f.ddc.ProbePort(0, edid), 0);
        QVERIFY(f.bus.log().isEmpty());
        f.bus.replyBytes(hex(kSampleEdid));
        f.bus.replyPayload("02 00 00 00 00 00 00 00");
        QCOMPARE(f.ddc.ProbePort(3, edid), 0);
        QCOMPARE(f.bus.requests(), (QList<QByteArray>{hex("01 00")}));
        f.bus.nak(5);
        QCOMPARE(f.ddc.ProbePort(1, edid), -11);
        // Only asking whether the EDID reads: no buffer needed.
        f.bus.replyBytes(hex(kSampleEdid));
        QCOMPARE(f.ddc.ProbePort(1, nullptr), 0);
    }
};

QTEST_GUILESS_MAIN(TestDdcControl)
#include "tst_ddc_control.moc"
