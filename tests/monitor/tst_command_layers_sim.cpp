// The DDC/CI command layer and the vendor and factory command sets against
// the simulated HX monitor, over the raw I2C bus and over the USB bridge,
// with the exact frames the monitor received and the error codes its faults
// produce.

#include "SimRig.h"
#include "TestSupport.h"

#include <QtTest>

using namespace pz;
using test::hex;
using test::SimRig;

Q_DECLARE_METATYPE(pz::test::SimRig::Transport)
Q_DECLARE_METATYPE(pz::SimFaultKind)

namespace {

void addTransports()
{
    QTest::addColumn<SimRig::Transport>("transport");
    QTest::newRow("i2c") << SimRig::I2C;
    QTest::newRow("usb") << SimRig::USB;
}

} // namespace

class TestCommandLayersSim : public QObject {
    Q_OBJECT
private slots:
    void standardRequests_data() { addTransports(); }
    void standardRequests()
    {
        QFETCH(SimRig::Transport, transport);
        SimRig rig(transport);
        ORV_factory_ddc_control &c = *rig.control;

        unsigned int cur = 0, max = 0;
        unsigned char rc = 9, type = 9;
        rig.clock.clearWaits();
        QCOMPARE(c.ddc_control::GetVCP(0x10, &cur, &max, &rc, &type), 0);
        QCOMPARE(cur, 50u);
        QCOMPARE(max, 100u);
        QCOMPARE(rc, quint8(0));
        // A Get VCP: the reply delay and the pause after closing, nothing more.
        QCOMPARE(rig.clock.waitsTicks(), (QVector<qint64>{4, 4}));

        QCOMPARE(c.ddc_control::SetVCP(0x10, 300), 0);
        QCOMPARE(rig.monitor->registerValue(0x10), quint16(100));
        QCOMPARE(c.SaveCurrentSettings(), 0);

        unsigned char status = 0;
        float h = 0, v = 0;
        QCOMPARE(c.GetTimingReport(&status, &h, &v), 0);
        QCOMPARE(h, 74.04f);
        QCOMPARE(v, 59.95f);

        QByteArray caps(600, 0);
        QCOMPARE(c.GetCapabilityString(caps.data(), caps.size()), 459);
        QCOMPARE(caps.left(459), simDefaultCapabilities());

        QCOMPARE(rig.monitor->requests().mid(0, 4),
                 (QVector<QByteArray>{hex("01 10"), hex("03 10 01 2C"), hex("0C"), hex("07")}));
        QCOMPARE(rig.monitor->requests().mid(4, 1), QVector<QByteArray>{hex("F3 00 00")});
        QCOMPARE(rig.monitor->requests().last(), hex("F3 01 CB"));   // the bare end at 459
    }

    // The bytes on the wire, as the monitor received them.
    void goldenFrames_data() { addTransports(); }
    void goldenFrames()
    {
        QFETCH(SimRig::Transport, transport);
        SimRig rig(transport);
        ORV_factory_ddc_control &c = *rig.control;
        unsigned int cur = 0, max = 0, value = 313;
        unsigned char rc = 0, type = 0;
        unsigned char chunk[32];
        char fragment[40];
        QCOMPARE(c.GetVCP(0x10, &cur, &max, &rc, &type), 0);
        QCOMPARE(c.SetVCP(0x10, 300), 0);
        QCOMPARE(c.SaveCurrentSettings(), 0);
        QVERIFY(c.ddcci_raw_capability_strings(0, reinterpret_cast<unsigned char *>(fragment), 35) > 3);
        QCOMPARE(c.GetVCP(0x1097, &cur, &max, &rc, &type), 0);
        QCOMPARE(c.GetPagedVCP(0x12, &cur, &max, &rc, &type), 0);
        QCOMPARE(c.SetPagedVCP(0x1052, &value, &max, &rc, &type), 0);
        QCOMPARE(c.ReadEEPROM(chunk, 0x8800, 32), 0);

        QVector<QByteArray> wire;
        for (const SimFrame &f : rig.monitor->frames()) {
            QCOMPARE(f.address, quint8(0x6E));
            wire.append(f.bytes);
        }
        QCOMPARE(wire, (QVector<QByteArray>{
                           hex("51 82 01 10 AC"), hex("51 84 03 10 01 2C 85"), hex("51 81 0C B2"),
                           hex("51 83 F3 00 00 4F"), hex("51 83 C6 10 97 FD"), hex("51 83 C6 00 12 68"),
                           hex("51 85 C8 10 52 01 39 08"), hex("51 85 C0 09 20 88 00 DB")}));
        if (transport == SimRig::USB) {
            const QVector<QByteArray> reports = rig.desk.bridge(1).outputReports();
            QCOMPARE(reports.size(), 8);
            QCOMPARE(reports[0], hex("00 01 00 06 6E 51 82 01 10 AC 06") + QByteArray(54, 0));
            QCOMPARE(reports[6].left(14), hex("00 01 00 09 6E 51 85 C8 10 52 01 39 08 09"));
        }
    }

    void vendorCommands_data() { addTransports(); }
    void vendorCommands()
    {
        QFETCH(SimRig::Transport, transport);
        SimRig rig(transport);
        ORV_factory_ddc_control &c = *rig.control;
        unsigned int cur = 0, max = 0;
        unsigned char rc = 0, type = 0;

        QCOMPARE(c.GetVCP(0x1097, &cur, &max, &rc, &type), 0);
        QCOMPARE(c.GetVCP(0x12, &cur, &max, &rc, &type), 0);
        QCOMPARE(c.SetVCP(0x10, 50), 0);
        unsigned int value = 313;
        QCOMPARE(c.SetPagedVCP(0x1052, &value, &max, &rc, &type), 0);
        QCOMPARE(value, 313u);
        QCOMPARE(max, 1000u);
        QCOMPARE(c.GetPagedVCP(0x1099, &cur, &max, &rc, &type), 0);
        QCOMPARE(rc, quint8(1));   // unsupported: the monitor object makes it -1027
        QCOMPARE(c.SetPowerManagement(4), 0);
        QCOMPARE(rig.monitor->requests(),
                 (QVector<QByteArray>{hex("C6 10 97"), hex("01 12"), hex("03 10 00 32"),
                                      hex("C8 10 52 01 39"), hex("C6 10 99"), hex("C2 03 D6 00 04")}));

        // Verified table chunks: written, read back, equal.
        unsigned int gamma[16];
        for (unsigned i = 0; i < 16; ++i)
            gamma[i] = 0x3FF - i;
        rig.monitor->clearLog();
        QCOMPARE(c.GammaTableWriteChunkVerifyAndRetry(gamma, 0x400, 16), 0);
        QCOMPARE(rig.monitor->requests().size(), 2);
        QCOMPARE(rig.monitor->requests()[0].left(6), hex("C2 05 04 00 03 FF"));
        QCOMPARE(rig.monitor->requests()[1], hex("C2 04 04 00 10"));
        QCOMPARE(rig.monitor->gammaTable()[0x40F], quint16(0x3F0));
        unsigned int curve[8] = {0, 100, 200, 300, 400, 500, 600, 65535};
        QCOMPARE(c.TheoreticalCurveWriteChunkVerifyAndRetry(curve, 0x800, 8), 0);
        QCOMPARE(rig.monitor->curveMemory()[0x807], quint16(65535));

        char name[14] = "Photo_1      ";
        QCOMPARE(c.set_picture_mode_programmable_name(3, name), 0);
        QCOMPARE(rig.monitor->pictureModeName(3), QByteArray("Photo 1      "));
        char back[14] = {};
        QCOMPARE(c.get_picture_mode_programmable_name(3, back), 0);
        QCOMPARE(QByteArray(back), QByteArray("Photo 1      "));

        char asset[64] = "Lab 4 / bench 2";
        QCOMPARE(c.SetAssetString(asset, 32), 0);
        char read[65] = {};
        QCOMPARE(c.GetAssetString(read, sizeof read), 15);
        QCOMPARE(QByteArray(read), QByteArray("Lab 4 / bench 2"));

        ThreeD_LUT_Point points[8];
        for (unsigned i = 0; i < 8; ++i)
            points[i] = ThreeD_LUT_Point{i, 2 * i, 3 * i};
        QCOMPARE(c.ThreeD_LUT_write_chunk(points, 1, 2, 0, 8), 0);
        ThreeD_LUT_Point got[8];
        QCOMPARE(c.ThreeD_LUT_read_chunk(got, 1, 2, 0, 8), 0);
        QCOMPARE(got[7].B, 21u);

        // The commands no flow uses answer with the exact lengths the layer
        // expects (a single exchange of another length would give -24).
        unsigned char first = 0, second = 0, mode = 0, status = 9;
        QCOMPARE(c.GetVCPPage(&first, &second), 0);
        QCOMPARE(c.GetCurrentModeNumber(&mode), 0);
        QCOMPARE(c.SaveCommonSettings(&status), 0);
        QCOMPARE(c.SaveTimingSettings(&status), 0);
        QCOMPARE(status, quint8(0));
        date_time clock;
        clock.item1 = 26;
        clock.item2 = 12;
        clock.item7 = true;
        QCOMPARE(c.SetDateTime(&clock), 0);
        date_time clockBack;
        QCOMPARE(c.GetDateTime(&clockBack), 0);
        QCOMPARE(clockBack.item1, 26u);
        QCOMPARE(clockBack.item2, quint8(12));
        QVERIFY(clockBack.item7);
        unsigned int index = 2;
        schedule item;
        item.item1 = 7;
        item.item7 = 5;
        QCOMPARE(c.SetSchedule(&index, &item), 0);
        schedule itemBack;
        QCOMPARE(c.GetSchedule(&index, &itemBack), 0);
        QCOMPARE(index, 2u);
        QCOMPARE(itemBack.item1, 7u);
        QCOMPARE(itemBack.item7, quint8(5));
        unsigned int enable = 1, enableStatus = 9;
        QCOMPARE(c.SetScheduleEnable(&index, &enable, &enableStatus), 0);
        QCOMPARE(index, 2u);
        QCOMPARE(enableStatus, 0u);
    }

    void factoryCommands_data() { addTransports(); }
    void factoryCommands()
    {
        QFETCH(SimRig::Transport, transport);
        SimMonitorConfig config;
        config.factoryMode = true;
        SimRig rig(transport, config);
        ORV_factory_ddc_control &c = *rig.control;

        unsigned char data[48];
        QCOMPARE(c.ReadEEPROM(data, 0x8800, 48), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(data), 48), rig.monitor->eeprom(0x8800, 48));
        QCOMPARE(rig.monitor->requests(),
                 (QVector<QByteArray>{hex("C0 09 20 88 00"), hex("C0 09 10 88 20")}));

        unsigned char slot[33];
        for (int i = 0; i < 33; ++i)
            slot[i] = quint8(i + 1);
        rig.monitor->clearLog();
        QCOMPARE(c.WriteEEPROM(slot, 0xFA10, 33), 0);
        QCOMPARE(rig.monitor->requests().size(), 2);
        QCOMPARE(rig.monitor->requests()[0].left(5), hex("C0 02 20 FA 10"));
        QCOMPARE(rig.monitor->requests()[1], hex("C0 02 01 FA 30 21"));
        QCOMPARE(rig.monitor->eeprom(0xFA10, 33), QByteArray(reinterpret_cast<char *>(slot), 33));

        QCOMPARE(c.WhiteBalanceTableWrite(2, 1, 2, 3, 4), 0);
        unsigned char a = 0, b = 0, cc = 0, d = 0;
        QCOMPARE(c.WhiteBalanceTableRead(2, &a, &b, &cc, &d), 0);
        QCOMPARE(QByteArray() + char(a) + char(b) + char(cc) + char(d), hex("01 02 03 04"));
        QCOMPARE(rig.monitor->requests().mid(2), (QVector<QByteArray>{hex("C0 24 02 01 02 03 04"), hex("C0 23 02")}));

        // EDID pages go to 0xA0 directly: 9-byte writes, over either transport.
        QByteArray edid = rig.monitor->edid();
        edid[0x30] = char(0x42);
        QCOMPARE(c.WriteEDID(reinterpret_cast<unsigned char *>(edid.data()), 128), 0);
        QCOMPARE(rig.monitor->edid().left(128), edid);

        // Reading the EDID needs 128-byte reads: only the I2C bus carries them.
        unsigned char buffer[256];
        QCOMPARE(c.ReadEDID(buffer, false), transport == SimRig::I2C ? 1 : -31);

        // MPU reset: the monitor comes back with its saved settings.
        QCOMPARE(c.SetVCP(0x12, 80), 0);
        QCOMPARE(c.MPUReset(), 0);
        rig.clock.advanceUs(2000000);
        unsigned int cur = 0, max = 0;
        unsigned char rc = 0, type = 0;
        QCOMPARE(c.GetVCP(0x12, &cur, &max, &rc, &type), 0);
        QCOMPARE(cur, 50u);
    }

    // A paged set whose reply comes late: the host polls until it is there.
    // Over USB the late reply is a report of its own, which a reader that
    // re-read the previous report would never see.
    void lateReplyIsPolled_data() { addTransports(); }
    void lateReplyIsPolled()
    {
        QFETCH(SimRig::Transport, transport);
        SimMonitorConfig config;
        config.slowCodes = {0x1067};
        config.lateReplyMs = 400;
        SimRig rig(transport, config);
        unsigned int value = 1, max = 0;
        unsigned char rc = 9, type = 0;
        QCOMPARE(rig.control->SetPagedVCP(0x1067, &value, &max, &rc, &type), 0);
        QCOMPARE(value, 1u);
        QCOMPARE(rc, quint8(0));
        QCOMPARE(rig.monitor->requests(), QVector<QByteArray>{hex("C8 10 67 00 01")});
        QCOMPARE(rig.monitor->registerValue(0x1097), quint16(1));
    }

    // A paged set answered by a null message: the host polls 17 times for
    // the late reply, then sends the set again. Over the USB bridge an empty
    // poll read waits for a report no longer than the poll's pause after it
    // (passes of 20, 20 and 10 ms), and finding none ends the poll as a null
    // message does, so both transports take about the same time: about 5 s
    // for one null reply, about 25 s for a monitor that never answers.
    void nullReplyToPagedSet_data()
    {
        QTest::addColumn<SimRig::Transport>("transport");
        QTest::addColumn<int>("nullReplies");
        QTest::addColumn<int>("expected");
        QTest::addColumn<qint64>("boundUs");
        QTest::newRow("i2c one") << SimRig::I2C << 1 << 0 << qint64(5000000);
        QTest::newRow("usb one") << SimRig::USB << 1 << 0 << qint64(5000000);
        QTest::newRow("i2c endless") << SimRig::I2C << 99 << -24 << qint64(25000000);
        QTest::newRow("usb endless") << SimRig::USB << 99 << -24 << qint64(25000000);
    }
    void nullReplyToPagedSet()
    {
        QFETCH(SimRig::Transport, transport);
        QFETCH(int, nullReplies);
        QFETCH(int, expected);
        QFETCH(qint64, boundUs);
        SimRig rig(transport);
        rig.monitor->addFault(SimFault{SimFaultKind::NullReply, 0xC8, 0x1052, nullReplies, 0});
        rig.clock.clearWaits();
        unsigned int value = 313, max = 0;
        unsigned char rc = 9, type = 0;
        QCOMPARE(rig.control->SetPagedVCP(0x1052, &value, &max, &rc, &type), expected);

        const auto tick = [](int ms) { return ticksToUs(waitTicks(ms)); };
        QVector<qint64> poll{tick(100)};
        if (transport == SimRig::USB)
            poll << 20000 << 20000 << 10000;
        poll << tick(50);
        const int attempts = std::min(nullReplies + 1, 5);
        QVector<qint64> waits;
        for (int a = 0; a < attempts; ++a) {
            if (a > 0)
                waits << tick(500 + 200 * a);
            waits << tick(50) << tick(50);   // reply delay, pause after closing
            if (a < nullReplies)
                for (int p = 0; p < 17; ++p)
                    waits << poll;
        }
        QCOMPARE(rig.clock.waitsUs(), waits);
        QVERIFY(rig.clock.totalWaitedUs() < boundUs);
        QCOMPARE(rig.monitor->requests(),
                 QVector<QByteArray>(attempts, hex("C8 10 52 01 39")));
    }

    void faultCodes_data()
    {
        QTest::addColumn<SimRig::Transport>("transport");
        QTest::addColumn<SimFaultKind>("kind");
        QTest::addColumn<int>("opcode");
        QTest::addColumn<int>("expected");
        struct Row {
            const char *name;
            SimFaultKind kind;
            int opcode;
            int expected;
        };
        const Row rows[] = {
            {"null", SimFaultKind::NullReply, 0x01, -23},
            {"checksum", SimFaultKind::BadChecksum, 0x01, -20},
            {"source", SimFaultKind::WrongSource, 0x01, -27},
            {"overlong", SimFaultKind::OverlongLength, 0x01, -24},
            {"opcode", SimFaultKind::WrongOpcode, 0x01, -26},
            {"code", SimFaultKind::WrongPageOrCode, 0x01, -25},
            {"short", SimFaultKind::ShortReply, 0x01, -24},
            {"paged code", SimFaultKind::WrongPageOrCode, 0xC6, -25},
            {"paged opcode", SimFaultKind::WrongOpcode, 0xC6, -26},
            {"paged short", SimFaultKind::ShortReply, 0xC6, -24},
        };
        for (SimRig::Transport t : {SimRig::I2C, SimRig::USB})
            for (const Row &r : rows)
                QTest::newRow(QByteArray(t == SimRig::I2C ? "i2c " : "usb ") + r.name)
                    << t << r.kind << r.opcode << r.expected;
        QTest::newRow("i2c nak read") << SimRig::I2C << SimFaultKind::NakRead << 0x01 << -11;
        QTest::newRow("i2c nak write") << SimRig::I2C << SimFaultKind::NakWrite << 0x01 << -12;
    }
    void faultCodes()
    {
        QFETCH(SimRig::Transport, transport);
        QFETCH(SimFaultKind, kind);
        QFETCH(int, opcode);
        QFETCH(int, expected);
        SimRig rig(transport);
        rig.monitor->addFault(SimFault{kind, opcode, opcode == 0x01 ? 0x10 : 0x1052, 99, 0});
        unsigned int cur = 0, max = 0;
        unsigned char rc = 0, type = 0;
        const int result = opcode == 0x01 ? rig.control->GetVCP(0x10, &cur, &max, &rc, &type)
                                          : rig.control->GetVCP(0x1052, &cur, &max, &rc, &type);
        QCOMPARE(result, expected);
        QVERIFY(rig.monitor->pendingFaults() < 99);
    }

    void readBackMismatch_data() { addTransports(); }
    void readBackMismatch()
    {
        QFETCH(SimRig::Transport, transport);
        SimRig rig(transport);
        unsigned int values[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        rig.monitor->addFault(SimFault{SimFaultKind::ReadBackMismatch, 0xC2, 0x05, 99, 0});
        QCOMPARE(rig.control->GammaTableWriteChunkVerifyAndRetry(values, 0xA0, 16), -32);
        QCOMPARE(rig.monitor->requests().size(), 10);   // five writes, five reads

        rig.monitor->addFault(SimFault{SimFaultKind::ReadBackMismatch, 0xC2, 0x0B, 99, 0});
        rig.clock.clearWaits();
        QCOMPARE(rig.control->TheoreticalCurveWriteChunkVerifyAndRetry(values, 0, 8), -32);
        QCOMPARE(rig.clock.waitsMs().count(qint64(2017)), 6);
    }

    void edidWithExtensionOverI2C()
    {
        SimMonitorConfig config;
        QByteArray edid = buildSimEdid(config);
        edid[126] = 1;
        QByteArray cea(128, 0);
        cea[0] = 0x02;
        cea[1] = 0x03;
        cea[2] = 0x04;   // no data blocks: descriptors from 132
        for (QByteArray *block : {&edid, &cea}) {
            quint8 sum = 0;
            for (int i = 0; i < 127; ++i)
                sum = quint8(sum + quint8((*block)[i]));
            (*block)[127] = char(quint8(0x100 - sum));
        }
        config.edid = edid + cea;
        SimRig rig(SimRig::I2C, config);
        unsigned char buffer[256] = {};
        QCOMPARE(rig.control->ReadEDID(buffer, true), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 256), config.edid);

        SimMonitorConfig failing;
        failing.ddcEdidFails = true;
        SimRig broken(SimRig::I2C, failing);
        QCOMPARE(broken.control->ReadEDID(buffer, true), -11);
    }

    void dualLinkAdapterNeedsTheFix()
    {
        SimMonitorConfig config;
        config.dualLinkAdapter = true;
        SimRig rig(SimRig::I2C, config);
        QByteArray caps(600, 0);
        QVERIFY(rig.control->GetCapabilityString(caps.data(), caps.size()) < 0);
        rig.control->set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(true);
        QCOMPARE(rig.control->GetCapabilityString(caps.data(), caps.size()), 459);
        QCOMPARE(caps.left(459), simDefaultCapabilities());
    }

    void bridgeFaults()
    {
        SimRig rig(SimRig::USB);
        unsigned int cur = 0, max = 0;
        unsigned char rc = 0, type = 0;

        // No input report at all: every attempt waits 4.5 s, then -23.
        rig.desk.bridge(1).dropReplies(5);
        QCOMPARE(rig.control->GetVCP(0x10, &cur, &max, &rc, &type), -23);

        // The HID write is refused: -12 after the write retries.
        rig.desk.bridge(1).refuseWrites(5);
        QCOMPARE(rig.control->SetVCP(0x10, 20), -12);

        // Unplugged: -12 until the next enumeration, -2 after it.
        rig.desk.unplugBridge(1);
        QCOMPARE(rig.control->SetVCP(0x10, 20), -12);
        QCOMPARE(rig.manager->EnumerateDevices(), 0);
        QCOMPARE(rig.control->SetVCP(0x10, 20), -2);
        QCOMPARE(rig.control->GetVCP(0x10, &cur, &max, &rc, &type), -2);
        QCOMPARE(rig.monitor->registerValue(0x10), quint16(50));
    }

    void colourEngineOverTheCommandLayer()
    {
        SimRig rig(SimRig::USB);
        ORV_factory_ddc_control &c = *rig.control;
        unsigned int cur = 0, max = 0;
        unsigned char rc = 0, type = 0;
        const SimXYZ before = rig.desk.measure(1, 1, 1, 1);
        QCOMPARE(c.SetVCP(0x2B3, 250), 0);
        QCOMPARE(c.SetVCP(0x1067, 1), 0);
        QCOMPARE(c.GetVCP(0x1097, &cur, &max, &rc, &type), 0);
        QCOMPARE(cur, 1u);
        QCOMPARE(rig.desk.measure(1, 1, 1, 1).Y, before.Y);
        // The host's wait: 6000 ms, then polls every 4000 ms.
        WaitMS(6000);
        QCOMPARE(c.GetVCP(0x1097, &cur, &max, &rc, &type), 0);
        QCOMPARE(cur, 1u);
        WaitMS(4000);
        QCOMPARE(c.GetVCP(0x1097, &cur, &max, &rc, &type), 0);
        QCOMPARE(cur, 0u);
        QCOMPARE(rig.desk.measure(1, 1, 1, 1).Y, 0.96 * 250);

        // A stuck engine keeps reading busy however long the host polls.
        rig.monitor->setColourProcessingStuck(true);
        for (int poll = 0; poll < 11; ++poll) {
            WaitMS(4000);
            QCOMPARE(c.GetVCP(0x1097, &cur, &max, &rc, &type), 0);
            QCOMPARE(cur, 1u);
        }

        // A monitor without the state register says so.
        SimMonitorConfig without;
        without.unsupportedCodes = {0x1097};
        SimRig other(SimRig::I2C, without);
        QCOMPARE(other.control->GetVCP(0x1097, &cur, &max, &rc, &type), 0);
        QCOMPARE(rc, quint8(1));
    }
};

QTEST_GUILESS_MAIN(TestCommandLayersSim)
#include "tst_command_layers_sim.moc"
