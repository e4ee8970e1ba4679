#include "Clock.h"
#include "ORV_ddc_control.h"
#include "ScriptedI2CBus.h"

#include <QMap>
#include <QtTest>

using namespace pz;
using pz::test::hex;
using pz::test::ScriptedI2CBus;

namespace {
using Ticks = QVector<qint64>;

using Fixture = pz::test::ScriptedControl<ORV_ddc_control>;

// A monitor's table memory behind C2 04/05 (gamma) and C2 0A/0B (curve):
// writes are stored, reads answer from the store. corrupt > 0 makes that
// many read-backs return a wrong first value.
struct TableMemory {
    QMap<int, quint16> gamma, curve;
    int corrupt = 0;

    void attach(ScriptedI2CBus &bus)
    {
        bus.setWriteObserver([this](quint8, const QByteArray &w) { store(w); });
        bus.setResponder([this](const QByteArray &w) { return answer(w); });
    }

    void store(const QByteArray &frame)
    {
        const QByteArray p = ScriptedI2CBus::requestPayload(frame);
        if (p.size() < 4 || quint8(p[0]) != 0xC2 || (quint8(p[1]) != 0x05 && quint8(p[1]) != 0x0B))
            return;
        QMap<int, quint16> &mem = quint8(p[1]) == 0x05 ? gamma : curve;
        const int offset = quint8(p[2]) * 256 + quint8(p[3]);
        for (int i = 0; 4 + 2 * i + 1 < p.size(); ++i)
            mem[offset + i] = quint16(quint8(p[4 + 2 * i]) * 256 + quint8(p[5 + 2 * i]));
    }

    std::optional<QByteArray> answer(const QByteArray &frame)
    {
        const QByteArray p = ScriptedI2CBus::requestPayload(frame);
        if (p.size() < 5 || quint8(p[0]) != 0xC2)
            return ScriptedI2CBus::replyFrame(QByteArray()); // nothing to say
        const quint8 sub = quint8(p[1]);
        const int offset = quint8(p[2]) * 256 + quint8(p[3]);
        const QMap<int, quint16> &mem = sub == 0x04 ? gamma : curve;
        QByteArray reply;
        reply.append(char(0xC3)).append(char(sub));
        for (int i = 0; i < quint8(p[4]); ++i) {
            quint16 v = mem.value(offset + i);
            if (i == 0 && corrupt > 0) {
                --corrupt;
                v ^= 1;
            }
            reply.append(char(v >> 8)).append(char(v & 0xFF));
        }
        return ScriptedI2CBus::replyFrame(reply);
    }
};
} // namespace

class TestOrvDdcControl : public QObject {
    Q_OBJECT
private slots:
    void vcpRouting_data()
    {
        QTest::addColumn<bool>("set");
        QTest::addColumn<unsigned int>("code");
        QTest::addColumn<unsigned int>("value");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("get 1097 paged") << false << 0x1097u << 0u << hex("C6 10 97")
                                        << hex("C7 00 10 97 00 00 01 00 00");
        QTest::newRow("get 12 standard") << false << 0x12u << 0u << hex("01 12")
                                         << hex("02 00 12 00 00 64 00 32");
        QTest::newRow("set 10 standard") << true << 0x10u << 50u << hex("03 10 00 32")
                                         << QByteArray();
        QTest::newRow("set 1052 paged") << true << 0x1052u << 313u << hex("C8 10 52 01 39")
                                        << hex("C7 00 10 52 00 03 E8 01 39");
    }
    void vcpRouting()
    {
        QFETCH(bool, set);
        QFETCH(unsigned int, code);
        QFETCH(unsigned int, value);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        Fixture f;
        if (!reply.isEmpty())
            f.bus.replyPayload(reply);
        unsigned int current = 0, maximum = 0;
        unsigned char result = 0, type = 0;
        const int status = set ? f.ddc.SetVCP(code, value)
                               : f.ddc.GetVCP(code, &current, &maximum, &result, &type);
        QCOMPARE(status, 0);
        QCOMPARE(f.bus.requests(), QList<QByteArray>{request});
    }

    void pagedGetGoldenFrames()
    {
        Fixture f;
        f.bus.reply("6E 89 C7 00 10 52 00 03 E8 01 39 E1");
        unsigned int current = 0, maximum = 0;
        unsigned char result = 9, type = 9;
        QCOMPARE(f.ddc.GetPagedVCP(0x1052, &current, &maximum, &result, &type), 0);
        QCOMPARE(current, 313u);
        QCOMPARE(maximum, 1000u);
        QCOMPARE(int(result), 0);
        QCOMPARE(int(type), 0);

        f.bus.clearLog();
        f.bus.reply("6E 89 C7 01 10 99 00 00 00 00 00 F8");
        QCOMPARE(f.ddc.GetPagedVCP(0x1099, &current, &maximum, &result, &type), 0);
        QCOMPARE(int(result), 1); // unsupported: handed to the caller
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 83 C6 10 99 F3"));

        f.bus.clearLog();
        f.bus.replyPayload("C7 00 00 12 00 00 64 00 32");
        QCOMPARE(f.ddc.GetPagedVCP(0x12, &current, &maximum, &result, &type), 0);
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 83 C6 00 12 68"));
        QCOMPARE(f.bus.reads()[0].length, 12);

        f.bus.clearLog();
        QCOMPARE(f.ddc.GetPagedVCP(0x100, 0x12, &current, &maximum, &result, &type), -29);
        QCOMPARE(f.ddc.SetPagedVCP(0x10, 0x100, &current, &maximum, &result, &type), -29);
        QVERIFY(f.bus.log().isEmpty());
    }

    void pagedGetRetries_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("requests");
        QTest::addColumn<Ticks>("betweenAttempts");
        QTest::newRow("wrong page") << hex("C7 00 11 97 00 00 01 00 00") << -25 << 5
                                    << Ticks{19, 25, 31, 37};
        QTest::newRow("wrong code") << hex("C7 00 10 98 00 00 01 00 00") << -25 << 5
                                    << Ticks{19, 25, 31, 37};
        QTest::newRow("short") << hex("C7 00 10 97 00 00 01 00") << -24 << 5
                               << Ticks{19, 25, 31, 37};
        QTest::newRow("wrong opcode") << hex("C5 00 10 97 00 00 01 00 00") << -26 << 1 << Ticks{};
    }
    void pagedGetRetries()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, code);
        QFETCH(int, requests);
        QFETCH(Ticks, betweenAttempts);
        Fixture f;
        const int perAttempt = 1;
        for (int i = 0; i < requests * perAttempt; ++i)
            f.bus.replyPayload(reply);
        unsigned int current = 0, maximum = 0;
        unsigned char result = 0, type = 0;
        QCOMPARE(f.ddc.GetVCP(0x1097, &current, &maximum, &result, &type), code);
        QCOMPARE(f.bus.requests().size(), requests * perAttempt);
        // Waits 300, 400, 500, 600 ms between the attempts.
        Ticks between;
        for (qint64 t : f.clock.waitsTicks())
            if (t > 16)
                between.append(t);
        QCOMPARE(between, betweenAttempts);
    }

    void pagedSetReadsLateReply()
    {
        Fixture f;
        f.bus.replyNull(3); // the set's own reply, then two empty polls
        f.bus.replyPayload("C7 00 10 67 00 00 01 00 01");
        unsigned int value = 1, maximum = 0;
        unsigned char result = 9, type = 9;
        QCOMPARE(f.ddc.SetPagedVCP(0x1067, &value, &maximum, &result, &type), 0);
        QCOMPARE(f.bus.requests(), QList<QByteArray>{hex("C8 10 67 00 01")});
        QCOMPARE(f.bus.reads().size(), 4);
        QCOMPARE(value, 1u);
        QCOMPARE(maximum, 1u);
        // Reply delay and close, then three polls of 100 ms + read + 50 ms.
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4, 4, 7, 4, 7, 4, 7, 4}));
    }

    void pagedSetCopiesCurrentValueBack()
    {
        Fixture f;
        f.bus.reply("6E 89 C7 00 10 52 00 03 E8 01 39 E1");
        unsigned int value = 313, maximum = 0;
        unsigned char result = 0, type = 0;
        QCOMPARE(f.ddc.SetPagedVCP(0x10, 0x52, &value, &maximum, &result, &type), 0);
        QCOMPARE(f.bus.writes()[0].bytes, hex("51 85 C8 10 52 01 39 08"));
        QCOMPARE(value, 313u);
        QCOMPARE(maximum, 1000u);
    }

    void pagedSetNeverAnswered()
    {
        Fixture f; // every read a null message
        f.bus.setResponder([](const QByteArray &) {
            return std::optional<QByteArray>(ScriptedI2CBus::replyFrame(QByteArray()));
        });
        unsigned int value = 5, maximum = 0;
        unsigned char result = 0, type = 0;
        QCOMPARE(f.ddc.SetPagedVCP(0x1050, &value, &maximum, &result, &type), -24);
        QCOMPARE(f.bus.requests().size(), 5);
        QCOMPARE(f.bus.reads().size(), 5 * (1 + 17));
        QCOMPARE(value, 5u);
        Ticks between;
        for (qint64 t : f.clock.waitsTicks())
            if (t > 16)
                between.append(t);
        QCOMPARE(between, (Ticks{43, 55, 67, 79})); // 700, 900, 1100, 1300 ms

        // With retry limit 0: one attempt, one poll.
        Fixture g;
        g.ddc.set_retry_limit(0);
        g.bus.setResponder([](const QByteArray &) {
            return std::optional<QByteArray>(ScriptedI2CBus::replyFrame(QByteArray()));
        });
        QCOMPARE(g.ddc.SetPagedVCP(0x1050, &value, &maximum, &result, &type), -24);
        QCOMPARE(g.bus.reads().size(), 2);
    }

    void pagedSetReplyChecks()
    {
        Fixture f;
        f.bus.replyPayload("C6 00 10 50 00 00 01 00 00");
        unsigned int value = 1, maximum = 0;
        unsigned char result = 0, type = 0;
        QCOMPARE(f.ddc.SetPagedVCP(0x1050, &value, &maximum, &result, &type), -26);
        QCOMPARE(f.bus.requests().size(), 1);

        Fixture g; // wrong code, then the right one on the next attempt
        g.bus.replyPayload("C7 00 10 51 00 00 01 00 00");
        g.bus.replyPayload("C7 00 10 50 00 00 01 00 01");
        QCOMPARE(g.ddc.SetPagedVCP(0x1050, &value, &maximum, &result, &type), 0);
        QCOMPARE(g.bus.requests().size(), 2);
    }

    void tableChunkFrames()
    {
        Fixture f;
        unsigned int value = 0x3FF;
        QCOMPARE(f.ddc.GammaTableWriteChunk(&value, 0x400, 1), 0);
        QCOMPARE(f.bus.requests().last(), hex("C2 05 04 00 03 FF"));
        QCOMPARE(f.clock.waitsTicks(), (Ticks{4}));

        f.bus.replyPayload("C3 04 01 02 FF FF");
        unsigned int values[2] = {};
        QCOMPARE(f.ddc.GammaTableReadChunk(values, 0x10, 2), 0);
        QCOMPARE(f.bus.requests().last(), hex("C2 04 00 10 02"));
        QCOMPARE(f.bus.writes().last().bytes, hex("51 85 C2 04 00 10 02 6E"));
        QCOMPARE(f.bus.reads().last().length, 6 + 3);
        QCOMPARE(values[0], 0x102u);
        QCOMPARE(values[1], 0xFFFFu);

        f.bus.replyPayload("C3 04 01 02 FF FF"); // curve read answered as gamma
        QCOMPARE(f.ddc.TheoreticalCurveReadChunk(values, 0, 2), -26);

        f.bus.clearLog();
        unsigned int many[17] = {};
        QCOMPARE(f.ddc.GammaTableWriteChunk(many, 0, 17), -31);
        QCOMPARE(f.ddc.TheoreticalCurveReadChunk(many, 0, 17), -31);
        QCOMPARE(f.ddc.GammaTableWriteChunk(many, 0, 0), -24);
        QCOMPARE(f.ddc.GammaTableWriteChunkVerifyAndRetry(many, 0, 17), -31);
        ThreeD_LUT_Point points[9];
        QCOMPARE(f.ddc.ThreeD_LUT_write_chunk(points, 0, 0, 0, 9), -31);
        QCOMPARE(f.ddc.ThreeD_LUT_read_chunk(points, 0, 0, 0, 9), -31);
        QVERIFY(f.bus.log().isEmpty());
    }

    void gammaVerifyRetriesThenFails()
    {
        Fixture f;
        TableMemory memory;
        memory.corrupt = 5;
        memory.attach(f.bus);
        unsigned int values[3] = {0x100, 0x200, 0x3FF};
        QCOMPARE(f.ddc.GammaTableWriteChunkVerifyAndRetry(values, 0x20, 3), -32);
        QList<QByteArray> expected;
        for (int i = 0; i < 5; ++i)
            expected << hex("C2 05 00 20 01 00 02 00 03 FF") << hex("C2 04 00 20 03");
        QCOMPARE(f.bus.requests(), expected);
        for (qint64 t : f.clock.waitsTicks())
            QVERIFY(t <= 4); // no wait of its own between tries

        Fixture g; // a mismatch, then a good try
        TableMemory second;
        second.corrupt = 1;
        second.attach(g.bus);
        QCOMPARE(g.ddc.GammaTableWriteChunkVerifyAndRetry(values, 0x20, 3), 0);
        QCOMPARE(g.bus.requests().size(), 4);
    }

    void curveVerifyWaitsBetweenSevenTries()
    {
        Fixture f;
        TableMemory memory;
        memory.corrupt = 7;
        memory.attach(f.bus);
        unsigned int values[2] = {1000, 2000};
        QCOMPARE(f.ddc.TheoreticalCurveWriteChunkVerifyAndRetry(values, 0x400, 2), -32);
        QCOMPARE(f.bus.requests().size(), 14);
        QCOMPARE(f.bus.requests()[0], hex("C2 0B 04 00 03 E8 07 D0"));
        QCOMPARE(f.clock.waitsTicks().count(121), 6); // 2000 ms, six times
    }

    void channelTableLayoutIsCheckedFirst()
    {
        Fixture f;
        TableMemory memory;
        memory.attach(f.bus);
        std::vector<unsigned int> table;
        for (unsigned int i = 0; i < 15; ++i)
            table.push_back(i * 100);
        int steps = 0;
        QCOMPARE(f.ddc.WriteChannelTableVerified(ORV_ddc_control::Table::Gamma, table,
                                                 {0, 0x400, 0x800}, 2, [&] { ++steps; }),
                 0);
        QCOMPARE(steps, 9); // 2 + 2 + 1 entries per channel
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(int(memory.gamma.value(i)), i * 100);
            QCOMPARE(int(memory.gamma.value(0x400 + i)), (5 + i) * 100);
            QCOMPARE(int(memory.gamma.value(0x800 + i)), (10 + i) * 100);
        }
        QCOMPARE(memory.gamma.size(), 15);

        f.bus.clearLog();
        table.pop_back(); // 14 entries do not split into three channels
        QCOMPARE(f.ddc.WriteChannelTableVerified(ORV_ddc_control::Table::Gamma, table,
                                                 {0, 0x400, 0x800}, 2),
                 -31);
        table.push_back(0);
        QCOMPARE(f.ddc.WriteChannelTableVerified(ORV_ddc_control::Table::TheoreticalCurve,
                                                 table, {0, 0x400, 0x800}, 17),
                 -31);
        QCOMPARE(f.ddc.WriteChannelTableVerified(ORV_ddc_control::Table::Gamma, table,
                                                 {0, 0x400, 0xFFFE}, 2),
                 -31);
        QVERIFY(f.bus.log().isEmpty());
    }

    void commandPayloads_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<Ticks>("ticks");
        QTest::newRow("power 4") << 0 << hex("C2 03 D6 00 04") << Ticks{4};
        QTest::newRow("refresh") << 1 << hex("C2 06") << Ticks{4};
        QTest::newRow("save") << 2 << hex("C2 07") << Ticks{13};
        QTest::newRow("init") << 3 << hex("C2 08") << Ticks{4};
        QTest::newRow("reset") << 4 << hex("C2 09") << Ticks{4};
    }
    void commandPayloads()
    {
        QFETCH(int, which);
        QFETCH(QByteArray, request);
        QFETCH(Ticks, ticks);
        Fixture f;
        int status = -99;
        switch (which) {
        case 0: status = f.ddc.SetPowerManagement(4); break;
        case 1: status = f.ddc.RefreshGammaTable(); break;
        case 2: status = f.ddc.SaveGammaTable(); break;
        case 3: status = f.ddc.InitGammaTable(); break;
        case 4: status = f.ddc.ResetGammaTable(); break;
        }
        QCOMPARE(status, 0);
        QCOMPARE(f.bus.requests(), QList<QByteArray>{request});
        QCOMPARE(f.clock.waitsTicks(), ticks);
    }

    void makerReplies()
    {
        Fixture f;
        f.bus.replyPayload("C1 14 03");
        unsigned char mode = 0;
        QCOMPARE(f.ddc.GetCurrentModeNumber(&mode), 0);
        QCOMPARE(int(mode), 3);
        f.bus.replyPayload("C1 05 01");
        unsigned char status = 0;
        QCOMPARE(f.ddc.SaveCommonSettings(&status), 0);
        QCOMPARE(int(status), 1);
        f.bus.replyPayload("C1 05 01"); // answered for the other command
        QCOMPARE(f.ddc.SaveTimingSettings(&status), -26);
        f.bus.replyPayload("C1 06"); // one exchange only: -24 at once
        QCOMPARE(f.ddc.SaveTimingSettings(&status), -24);
        QCOMPARE(f.bus.requests(), (QList<QByteArray>{hex("C0 14"), hex("C0 05"), hex("C0 06"),
                                                      hex("C0 06")}));
        f.bus.replyPayload("C5 02 01");
        unsigned char first = 0, second = 0;
        QCOMPARE(f.ddc.GetVCPPage(&first, &second), 0);
        QCOMPARE(int(first), 1);
        QCOMPARE(int(second), 2);
    }

    void clockAndSchedules()
    {
        Fixture f;
        date_time clock;
        clock.item1 = 26;
        clock.item2 = 12;
        clock.item3 = 10;
        clock.item7 = true;
        f.bus.replyPayload("C3 12 00 1A 0C 0A 00 00 00 01");
        QCOMPARE(f.ddc.SetDateTime(&clock), 0);
        QCOMPARE(f.bus.requests().last(), hex("C2 12 1A 0C 0A 00 00 00 01"));
        f.bus.replyPayload("C3 11 01 02 03 04 05 06 07");
        QCOMPARE(f.ddc.GetDateTime(&clock), 0);
        QCOMPARE(clock.item1, 1u);
        QCOMPARE(int(clock.item6), 6);
        QVERIFY(clock.item7);

        schedule item;
        unsigned int index = 2;
        f.bus.replyPayload("C3 13 02 11 12 13 14 15 16 17");
        QCOMPARE(f.ddc.GetSchedule(&index, &item), 0);
        QCOMPARE(item.item1, 0x11u);
        QCOMPARE(item.item3, 0x13u);
        QCOMPARE(int(item.item7), 0x17);
        f.bus.replyPayload("C3 14 00 02 11 12 13 14 15 16 17");
        QCOMPARE(f.ddc.SetSchedule(&index, &item), 0);
        QCOMPARE(f.bus.requests().last(), hex("C2 14 02 11 12 13 14 15 16 17"));
        unsigned int enable = 1, status = 9;
        f.bus.replyPayload("C3 15 00 FF 02");
        QCOMPARE(f.ddc.SetScheduleEnable(&index, &enable, &status), 0);
        QCOMPARE(status, 0u);
        QCOMPARE(index, 2u);
        QCOMPARE(f.bus.requests().last(), hex("C2 15 02 01"));
    }

    void threeDLut()
    {
        Fixture f;
        ThreeD_LUT_Point points[2];
        points[0].R = 0x0102;
        points[0].G = 0x0304;
        points[0].B = 0x0506;
        points[1].R = 0xFFFF;
        f.bus.replyPayload("C3 25 01 02 03");
        QCOMPARE(f.ddc.ThreeD_LUT_write_chunk(points, 1, 2, 3, 2), 0);
        QCOMPARE(f.bus.requests().last(),
                 hex("C2 25 01 02 03 01 02 03 04 05 06 FF FF 00 00 00 00"));
        f.bus.replyPayload("C3 25 01 02 04"); // wrong echo
        QCOMPARE(f.ddc.ThreeD_LUT_write_chunk(points, 1, 2, 3, 2), -26);
        f.bus.replyPayload("C3 24 00 0A 00 0B 00 0C");
        ThreeD_LUT_Point read[1];
        QCOMPARE(f.ddc.ThreeD_LUT_read_chunk(read, 4, 5, 6, 1), 0);
        QCOMPARE(f.bus.requests().last(), hex("C2 24 04 05 06 01"));
        QCOMPARE(read[0].R, 10u);
        QCOMPARE(read[0].B, 12u);
    }

    void pictureModeNames()
    {
        Fixture f;
        char name[] = "Photo_1      ";
        f.bus.replyPayload("C3 27 02");
        QCOMPARE(f.ddc.set_picture_mode_programmable_name(2, name), 0);
        QByteArray expected = hex("C2 27 02");
        expected.append("Photo 1      ");
        QCOMPARE(f.bus.requests().last(), expected);

        char shortName[] = "PZR"; // padded with spaces, nothing read past it
        f.bus.replyPayload("C3 27 03");
        QCOMPARE(f.ddc.set_picture_mode_programmable_name(3, shortName), 0);
        expected = hex("C2 27 03");
        expected.append("PZR          ");
        QCOMPARE(f.bus.requests().last(), expected);
        f.bus.replyPayload("C3 27 04");
        QCOMPARE(f.ddc.set_picture_mode_programmable_name(3, shortName), -26);

        // '+' to ':' pass, their neighbours '*' and ';' do not; nor do the
        // neighbours of the letters.
        char edges[] = "+:*;@[`{AZaz0";
        f.bus.replyPayload("C3 27 05");
        QCOMPARE(f.ddc.set_picture_mode_programmable_name(5, edges), 0);
        expected = hex("C2 27 05");
        expected.append("+:      AZaz0");
        QCOMPARE(f.bus.requests().last(), expected);

        QByteArray reply = hex("C3 26");
        reply.append("PZR+,-./09:  ");
        f.bus.replyPayload(reply);
        char out[14];
        memset(out, 'x', sizeof out);
        QCOMPARE(f.ddc.get_picture_mode_programmable_name(3, out), 0);
        QCOMPARE(QByteArray(out), QByteArray("PZR+,-./09:  "));
    }

    void assetStringRead()
    {
        // Only null messages: the first is a failed try, the second ends it.
        {
            Fixture f;
            f.bus.replyNull(2);
            char buffer[64];
            QCOMPARE(f.ddc.GetAssetString(buffer, sizeof buffer), 0);
            QCOMPARE(buffer[0], '\0');
            QCOMPARE(f.bus.requests(), (QList<QByteArray>{hex("C0 0B 00 20"), hex("C0 0B 00 20")}));
            QCOMPARE(f.bus.reads()[0].length, 35 + 3);
            QCOMPARE(f.clock.waitsTicks(), (Ticks{3, 3})); // 40 ms after each write
        }
        // A 32-byte block, then the end.
        {
            Fixture f;
            const QByteArray text = "ASSET-0123456789-ABCDEFGHIJKLMNO";
            QCOMPARE(text.size(), 32);
            f.bus.replyPayload(hex("C1 0B") + text);
            f.bus.replyNull();
            char buffer[64];
            QCOMPARE(f.ddc.GetAssetString(buffer, sizeof buffer), 32);
            QCOMPARE(QByteArray(buffer), text);
            QCOMPARE(f.bus.requests().last(), hex("C0 0B 20 20"));

            // The same into a buffer too small for it.
            Fixture g;
            g.bus.replyPayload(hex("C1 0B") + text);
            char small[16];
            QCOMPARE(g.ddc.GetAssetString(small, sizeof small), -40);
            QCOMPARE(QByteArray(small), text.left(15));
        }
        // Failures: five tries for the first block, four for later ones.
        {
            Fixture f;
            for (int i = 0; i < 5; ++i)
                f.bus.replyPayload("C1 0C 41");
            char buffer[64];
            QCOMPARE(f.ddc.GetAssetString(buffer, sizeof buffer), -26);
            QCOMPARE(f.bus.requests().size(), 5);

            Fixture g;
            g.bus.replyPayload("C1 0B 41 42");
            g.bus.nak(4);
            QCOMPARE(g.ddc.GetAssetString(buffer, sizeof buffer), -11);
            QCOMPARE(g.bus.requests().size(), 5);
            QCOMPARE(QByteArray(buffer), QByteArray("AB"));
        }
    }

    void assetStringWritePadsAndBounds()
    {
        Fixture f;
        QByteArray text(40, 'a'); // a caller buffer of exactly 40 bytes
        QCOMPARE(f.ddc.SetAssetString(text.data(), 40), 0);
        QCOMPARE(f.bus.requests().size(), 2);
        QCOMPARE(f.bus.requests()[0], hex("C0 0E 00") + QByteArray(32, 'a'));
        QCOMPARE(f.bus.requests()[1], hex("C0 0E 20") + QByteArray(8, 'a') + QByteArray(24, 0));

        f.bus.clearLog();
        QByteArray full(256, 'b');
        QCOMPARE(f.ddc.SetAssetString(full.data(), 256), 0);
        QCOMPARE(f.bus.requests().size(), 8);
        QCOMPARE(quint8(f.bus.requests().last()[2]), quint8(224));

        f.bus.clearLog();
        QByteArray tooLong(257, 'c'); // offset 256 would wrap onto 0
        QCOMPARE(f.ddc.SetAssetString(tooLong.data(), 257), -40);
        char block[33] = {};
        QCOMPARE(f.ddc.raw_set_asset_string_block(0, block, 33), -40);
        QCOMPARE(f.ddc.raw_set_asset_string_block(0, block, 0), -40);
        QVERIFY(f.bus.log().isEmpty());

        f.bus.failWrites(5);
        QCOMPARE(f.ddc.SetAssetString(text.data(), 40), -12);
        QCOMPARE(f.bus.writes().size(), 5); // stops after the failed block
    }
};

QTEST_GUILESS_MAIN(TestOrvDdcControl)
#include "tst_orv_ddc_control.moc"
