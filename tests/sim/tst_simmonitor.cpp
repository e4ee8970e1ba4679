// The simulated HX monitor on its own: frames, registers, capability string,
// EEPROM, EDID, persistence and fault injection, on the virtual clock.

#include "Clock.h"
#include "SimHost.h"
#include "SimOrvaneMonitor.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <random>

using namespace pz;
using test::exchange;
using test::hex;

Q_DECLARE_METATYPE(pz::SimFaultKind)

namespace {

quint32 le32(const QByteArray &b, int at)
{
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= quint32(quint8(b[at + i])) << (8 * i);
    return v;
}

QByteArray paged(quint8 op, quint16 code16, int value = -1)
{
    QByteArray p;
    p.append(char(op));
    p.append(char(code16 >> 8));
    p.append(char(code16 & 0xFF));
    if (value >= 0) {
        p.append(char(value >> 8));
        p.append(char(value & 0xFF));
    }
    return p;
}

int currentOf(const QByteArray &c7) { return (quint8(c7[7]) << 8) | quint8(c7[8]); }

} // namespace

class TestSimMonitor : public QObject {
    Q_OBJECT
private slots:
    void init() { m_scope.reset(new ScopedClock(&m_clock)); }
    void cleanup() { m_scope.reset(); }

    void edidIsTheSampleAndServedAtA0()
    {
        const QByteArray sample = hex(
            "00 FF FF FF FF FF FF 00 3E 56 41 24 01 00 00 00 0A 22 01 04 A5 34 20 78 0A 1F 91 AE 4F 35 B5 26"
            "0F 50 54 21 08 00 D1 C0 01 01 01 01 01 01 01 01 01 01 01 01 01 01 28 3C 80 A0 70 B0 23 40 30 20"
            "36 00 06 44 21 00 00 1A 00 00 00 FF 00 53 49 4D 30 30 30 31 0A 20 20 20 20 20 00 00 00 FC 00 48"
            "58 53 49 4D 32 34 0A 20 20 20 20 20 00 00 00 FD 00 38 4C 1E 53 11 00 0A 20 20 20 20 20 20 00 61");
        SimOrvaneMonitor monitor;
        QCOMPARE(monitor.edid(), sample);
        QCOMPARE(monitor.config().modelId(), 0x563E2441u);

        // Variants keep a valid checksum and carry their own identity.
        for (const SimMonitorConfig &c : {SimMonitorConfig::hx520r(), SimMonitorConfig::notInHxList(),
                                          SimMonitorConfig::hxsim27()}) {
            const QByteArray e = buildSimEdid(c);
            quint8 sum = 0;
            for (char b : e)
                sum = quint8(sum + quint8(b));
            QCOMPARE(sum, quint8(0));
            QCOMPARE((quint8(e[11]) << 8) | quint8(e[10]), int(c.product));
            QVERIFY(e.contains(c.serial.toLatin1() + '\n'));
        }

        const quint8 offset = 0;
        QVERIFY(monitor.write(0xA0, &offset, 1));
        QByteArray block(128, 0);
        QVERIFY(monitor.read(0xA1, reinterpret_cast<quint8 *>(block.data()), 128));
        QCOMPARE(block, sample);
    }

    void edidWritesNeedFactoryMode()
    {
        const QByteArray page = hex("08 11 22 33 44 55 66 77 88");
        SimOrvaneMonitor locked;
        QVERIFY(!locked.write(0xA0, reinterpret_cast<const quint8 *>(page.constData()), 9));
        QCOMPARE(locked.edid().mid(8, 8), hex("3E 56 41 24 01 00 00 00"));

        SimMonitorConfig c;
        c.factoryMode = true;
        SimOrvaneMonitor factory(c);
        QVERIFY(factory.write(0xA0, reinterpret_cast<const quint8 *>(page.constData()), 9));
        QCOMPARE(factory.edid().mid(8, 8), page.mid(1));

        SimMonitorConfig failing;
        failing.ddcEdidFails = true;
        SimOrvaneMonitor noDdc(failing);
        quint8 buf[128];
        QVERIFY(!noDdc.read(0xA1, buf, 128));
    }

    void goldenReplies_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("get brightness") << hex("51 82 01 10 AC") << hex("01 10")
                                        << hex("6E 88 02 00 10 00 00 64 00 32 F2");
        QTest::newRow("paged get 0x1052") << QByteArray() << hex("C6 10 52")
                                          << hex("6E 89 C7 00 10 52 00 03 E8 01 39 E1");
        QTest::newRow("paged get unsupported") << QByteArray() << hex("C6 10 99")
                                               << hex("6E 89 C7 01 10 99 00 00 00 00 00 F8");
        QTest::newRow("caps end") << QByteArray() << hex("F3 02 00")
                                  << hex("6E 83 E3 02 00 5C");
        QTest::newRow("paged get 0x1097") << hex("51 83 C6 10 97 FD") << hex("C6 10 97")
                                          << QByteArray();
        QTest::newRow("paged get 0x0012") << hex("51 83 C6 00 12 68") << hex("C6 00 12")
                                          << QByteArray();
    }
    void goldenReplies()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, reply);
        if (!request.isEmpty())
            QCOMPARE(test::requestFrame(frame), request);
        SimOrvaneMonitor monitor;
        QVERIFY(test::sendRequest(monitor, frame));
        const QByteArray got = test::readReplyFrame(monitor, 35);
        if (!reply.isEmpty())
            QCOMPARE(got, reply);
        else
            QCOMPARE(quint8(got[0]), quint8(0x6E));
        QCOMPARE(monitor.requests().last(), frame);
    }

    void nullMessageAndBadFrames()
    {
        SimOrvaneMonitor monitor;
        // A request without reply leaves the null message 6E 80 BE.
        QVERIFY(test::sendRequest(monitor, hex("03 10 00 32")));
        QCOMPARE(test::readReplyFrame(monitor, 8), hex("6E 80 BE"));
        QCOMPARE(monitor.registerValue(0x10), quint16(50));

        // A frame with a bad checksum is ignored and the next read refused...
        const QByteArray bad = hex("51 84 03 10 00 20 00");
        QVERIFY(monitor.write(0x6E, reinterpret_cast<const quint8 *>(bad.constData()), bad.size()));
        QVERIFY(test::readWire(monitor, 11).isEmpty());
        QCOMPARE(monitor.registerValue(0x10), quint16(50));

        // ...or answered with a null message when so configured.
        SimMonitorConfig c;
        c.nakAfterBadFrame = false;
        SimOrvaneMonitor lenient(c);
        QVERIFY(lenient.write(0x6E, reinterpret_cast<const quint8 *>(bad.constData()), bad.size()));
        QCOMPARE(test::readReplyFrame(lenient, 8), hex("6E 80 BE"));
        QCOMPARE(lenient.frames().size(), 1);
        QCOMPARE(lenient.frames().first().bytes, bad);
    }

    void capabilityStringInFragments()
    {
        SimOrvaneMonitor monitor;
        QByteArray caps;
        int fragments = 0;
        for (int offset = 0;; ++fragments) {
            const QByteArray r = exchange(monitor, QByteArray("\xF3", 1) + char(offset >> 8) + char(offset & 0xFF), 35);
            QCOMPARE(r.left(3), QByteArray("\xE3", 1) + char(offset >> 8) + char(offset & 0xFF));
            QVERIFY(r.size() <= 35);
            if (r.size() == 3)
                break;
            caps += r.mid(3);
            offset += r.size() - 3;
        }
        QCOMPARE(fragments, 15);
        QCOMPARE(caps.size(), 459);
        QCOMPARE(caps, simDefaultCapabilities());
        QVERIFY(caps.contains("vcp(") && caps.contains("mpu_ver(1.2.3)")
                && caps.contains("g_ofs(400)") && caps.contains(" A8 "));
    }

    void registersAnswerAsTheHostExpects()
    {
        SimOrvaneMonitor monitor;
        // The paged set answers with the value in force.
        QCOMPARE(exchange(monitor, paged(0xC8, 0x1052, 313)), hex("C7 00 10 52 00 03 E8 01 39"));
        // Clamped to the maximum, and the luminance target to its floor 0x106F.
        QCOMPARE(currentOf(exchange(monitor, paged(0xC8, 0x0010, 300))), 100);
        QCOMPARE(currentOf(exchange(monitor, paged(0xC8, 0x02B3, 10))), 40);
        // Read-only registers keep their value.
        QCOMPARE(currentOf(exchange(monitor, paged(0xC8, 0x02CA, 5))), 1023);
        // Standard set and get on page 0 reach the same register.
        QVERIFY(test::sendRequest(monitor, hex("03 12 00 4B")));
        QCOMPARE(exchange(monitor, hex("01 12")), hex("02 00 12 00 00 64 00 4B"));
        // Unlisted codes answer unsupported.
        QCOMPARE(exchange(monitor, hex("01 40")), hex("02 01 40 00 00 00 00 00"));
        // 0x2F9 and 0x2F8 are supported (LUT size 768, linear reset).
        QCOMPARE(quint8(exchange(monitor, paged(0xC6, 0x02F9))[1]), quint8(0));
        QCOMPARE(quint8(exchange(monitor, paged(0xC6, 0x02F8))[1]), quint8(0));
        // 0x2B4 is what the panel can reach: min(target, Lmax / k).
        exchange(monitor, paged(0xC8, 0x02B3, 400));
        QCOMPARE(currentOf(exchange(monitor, paged(0xC6, 0x02B4))), 364);
        QCOMPARE(monitor.registerValue(0x2B3), quint16(400));
    }

    void eepromContentAndChunks()
    {
        SimOrvaneMonitor monitor;
        // Power-on counter, luminance record.
        const QByteArray counter = exchange(monitor, hex("C0 09 04 03 08"));
        QCOMPARE(counter.left(2), hex("C1 09"));
        QCOMPARE(le32(counter, 2), 72000u);
        const QByteArray lum = monitor.eeprom(0x8F30, 16);
        QCOMPARE(le32(lum, 8) / ((quint8(lum[2]) | (quint8(lum[3]) << 8)) * 100), 350u);

        // Native primaries from the first three records, as the host reads them.
        const QByteArray records = exchange(monitor, hex("C0 09 20 88 00")) + exchange(monitor, hex("C0 09 10 88 20"));
        QCOMPARE(records.size(), 34 + 18);
        const QByteArray data = records.mid(2, 32) + records.mid(36, 16);
        const int expected[3][2] = {{680, 310}, {210, 710}, {150, 60}};
        for (int r = 0; r < 3; ++r) {
            const double X = le32(data, 16 * r + 4), Y = le32(data, 16 * r + 8), Z = le32(data, 16 * r + 12);
            QVERIFY(X + Y + Z < 3.0 * 4000000);
            QCOMPARE(int(X * 1000 / (X + Y + Z) + 0.5), expected[r][0]);
            QCOMPARE(int(Y * 1000 / (X + Y + Z) + 0.5), expected[r][1]);
        }
        QCOMPARE(monitor.eeprom(0x8A40, 48), monitor.eeprom(0x8800, 48));
        QCOMPARE(monitor.eeprom(0xFA10, 240), QByteArray(240, char(0xFF)));

        // A written chunk reads back; RAM is a memory of its own.
        QVERIFY(test::sendRequest(monitor, hex("C0 02 03 FA 10 01 02 03")));
        QCOMPARE(exchange(monitor, hex("C0 09 03 FA 10")), hex("C1 09 01 02 03"));
        QVERIFY(test::sendRequest(monitor, hex("C0 0A 02 FA 10 AA BB")));
        QCOMPARE(exchange(monitor, hex("C0 03 02 FA 10")), hex("C1 03 AA BB"));
        QCOMPARE(monitor.eeprom(0xFA10, 2), hex("01 02"));
    }

    void vendorTablesAndNames()
    {
        SimOrvaneMonitor monitor;
        QVERIFY(test::sendRequest(monitor, hex("C2 05 04 00 03 FF 00 10")));
        QCOMPARE(exchange(monitor, hex("C2 04 04 00 02")), hex("C3 04 03 FF 00 10"));
        QVERIFY(test::sendRequest(monitor, hex("C2 0B 00 A0 12 34")));
        QCOMPARE(exchange(monitor, hex("C2 0A 00 A0 01")), hex("C3 0A 12 34"));
        // More than 16 entries, or past the tables, get no reply.
        QCOMPARE(exchange(monitor, hex("C2 04 00 00 11")), QByteArray());
        QCOMPARE(exchange(monitor, hex("C2 04 0B FF 02")), QByteArray());

        QCOMPARE(exchange(monitor, QByteArray("\xC2\x27\x03", 3) + "PZR          "),
                 hex("C3 27 03"));
        QCOMPARE(exchange(monitor, hex("C2 26 03")), QByteArray("\xC3\x26", 2) + "PZR          ");
        QCOMPARE(exchange(monitor, hex("C0 24 02 01 02 03 04")), QByteArray());
        QCOMPARE(exchange(monitor, hex("C0 23 02")), hex("C1 23 01 02 03 04"));
        QCOMPARE(exchange(monitor, hex("C0 11 05")), hex("C1 11 05"));
        QCOMPARE(exchange(monitor, hex("C0 14")), hex("C1 14 05"));
        QCOMPARE(exchange(monitor, hex("C2 25 01 02 03 00 01 00 02 00 03")), hex("C3 25 01 02 03"));
        QCOMPARE(exchange(monitor, hex("C2 24 01 02 03 01")), hex("C3 24 00 01 00 02 00 03"));

        // Asset string: blocks up to its end, then a null message.
        QVERIFY(test::sendRequest(monitor, QByteArray("\xC0\x0E\x00", 3) + "ASSET-42"));
        QCOMPARE(exchange(monitor, hex("C0 0B 00 20")), QByteArray("\xC1\x0B", 2) + "ASSET-42");
        QCOMPARE(exchange(monitor, hex("C0 0B 08 20")), QByteArray());
    }

    void saveResetAndPersistence()
    {
        QTemporaryDir dir;
        SimMonitorConfig c;
        c.stateFile = dir.filePath("monitor.state");
        {
            SimOrvaneMonitor monitor(c);
            exchange(monitor, paged(0xC8, 0x0010, 80));
            QVERIFY(test::sendRequest(monitor, hex("0C")));   // save current settings
            exchange(monitor, paged(0xC8, 0x0010, 20));
            QVERIFY(test::sendRequest(monitor, hex("C0 02 01 FF 10 01")));

            // MPU reset: silent for two seconds, then the saved state.
            QVERIFY(test::sendRequest(monitor, hex("C0 00")));
            QVERIFY(!test::sendRequest(monitor, paged(0xC6, 0x0010)));
            m_clock.advanceUs(1999000);
            QVERIFY(!test::sendRequest(monitor, paged(0xC6, 0x0010)));
            m_clock.advanceUs(1000);
            QCOMPARE(currentOf(exchange(monitor, paged(0xC6, 0x0010))), 80);
            exchange(monitor, paged(0xC8, 0x0010, 30));
        }
        // A restarted program meets the monitor as it was saved.
        SimOrvaneMonitor again(c);
        QCOMPARE(again.registerValue(0x10), quint16(80));
        QCOMPARE(again.eeprom(0xFF10, 1), hex("01"));

        // A damaged state file leaves the factory state.
        QFile f(c.stateFile);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.resize(f.size() / 2);
        f.close();
        SimOrvaneMonitor fresh(c);
        QCOMPARE(fresh.registerValue(0x10), quint16(50));
        QCOMPARE(fresh.eeprom(0xFF10, 1), hex("FF"));

        // A stored mode name of the wrong size would change the reply's
        // length: such a file is refused as well.
        QCOMPARE(exchange(fresh, QByteArray("\xC2\x27\x03", 3) + "PZR          "), hex("C3 27 03"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray state = f.readAll();
        f.close();
        const QByteArray name = QByteArray("\0\0\0\x0D", 4) + "PZR          ";
        QVERIFY(state.contains(name));
        state.replace(name, QByteArray("\0\0\0\x0C", 4) + "PZR         ");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(state);
        f.close();
        SimOrvaneMonitor refused(c);
        QCOMPARE(exchange(refused, hex("C2 26 03")), QByteArray("\xC3\x26", 2) + "USER3        ");
    }

    void tablesSurvivePowerOnlyWhenSaved()
    {
        SimOrvaneMonitor monitor;
        QVERIFY(test::sendRequest(monitor, hex("C2 0B 00 10 AA AA")));
        QVERIFY(test::sendRequest(monitor, hex("C2 07")));   // save the tables
        QVERIFY(test::sendRequest(monitor, hex("C2 0B 00 11 BB BB")));
        QVERIFY(test::sendRequest(monitor, hex("C2 05 00 00 00 07")));
        exchange(monitor, paged(0xC8, 0x0012, 90));          // not saved either
        monitor.powerCycle();
        QVERIFY(monitor.silent());
        m_clock.advanceUs(2000000);
        QCOMPARE(monitor.curveMemory()[0x10], quint16(0xAAAA));
        QCOMPARE(monitor.curveMemory()[0x11], quint16(std::lround(65535 * std::pow(17 / 255.0, 2.2))));
        QCOMPARE(monitor.gammaTable()[0], quint16(0));
        QCOMPARE(monitor.registerValue(0x12), quint16(50));
        // 0x2F8 := 1 puts the gamma table back to linear.
        QVERIFY(test::sendRequest(monitor, hex("C2 05 00 01 00 07")));
        exchange(monitor, paged(0xC8, 0x02F8, 1));
        QCOMPARE(monitor.gammaTable()[1], quint16(4));
    }

    void faultsShapeTheReply_data()
    {
        QTest::addColumn<SimFaultKind>("kind");
        QTest::addColumn<QByteArray>("frame");   // expected wire frame, empty: refused read
        const QByteArray good = hex("6E 88 02 00 10 00 00 64 00 32 F2");
        QTest::newRow("null") << SimFaultKind::NullReply << hex("6E 80 BE");
        QTest::newRow("checksum") << SimFaultKind::BadChecksum << hex("6E 88 02 00 10 00 00 64 00 32 A8");
        QTest::newRow("source") << SimFaultKind::WrongSource << hex("6F 88 02 00 10 00 00 64 00 32 F2");
        QTest::newRow("opcode") << SimFaultKind::WrongOpcode << hex("6E 88 03 00 10 00 00 64 00 32 F3");
        QTest::newRow("code") << SimFaultKind::WrongPageOrCode << hex("6E 88 02 00 11 00 00 64 00 32 F3");
        QTest::newRow("short") << SimFaultKind::ShortReply << hex("6E 87 02 00 10 00 00 64 00 CF");
        QTest::newRow("nak read") << SimFaultKind::NakRead << QByteArray();
    }
    void faultsShapeTheReply()
    {
        QFETCH(SimFaultKind, kind);
        QFETCH(QByteArray, frame);
        SimOrvaneMonitor monitor;
        monitor.addFault(SimFault{kind, 0x01, 0x10, 1, 0});
        // Another code is not affected.
        QCOMPARE(exchange(monitor, hex("01 12")).left(3), hex("02 00 12"));
        QVERIFY(test::sendRequest(monitor, hex("01 10")));
        if (frame.isEmpty()) {
            QVERIFY(test::readWire(monitor, 11).isEmpty());
        } else {
            const QByteArray wire = test::readWire(monitor, 11);
            QCOMPARE(wire.left(frame.size()), frame);
        }
        QCOMPARE(monitor.pendingFaults(), 0);
        // Only the next exchange was hit.
        QCOMPARE(exchange(monitor, hex("01 10")), hex("02 00 10 00 00 64 00 32"));
    }

    void overlongAndRefusedWrites()
    {
        SimOrvaneMonitor monitor;
        monitor.addFault(SimFault{SimFaultKind::OverlongLength, 0xC6, -1, 1, 0});
        QVERIFY(test::sendRequest(monitor, paged(0xC6, 0x1052)));
        QCOMPARE(quint8(test::readWire(monitor, 12)[1]) & 0x7F, 0x7F);

        monitor.addFault(SimFault{SimFaultKind::NakWrite, 0xC8, 0x0010, 2, 0});
        QVERIFY(!test::sendRequest(monitor, paged(0xC8, 0x0010, 70)));
        QVERIFY(!test::sendRequest(monitor, paged(0xC8, 0x0010, 70)));
        QCOMPARE(monitor.registerValue(0x10), quint16(50));
        QVERIFY(test::sendRequest(monitor, paged(0xC8, 0x0010, 70)));
        QCOMPARE(monitor.registerValue(0x10), quint16(70));
    }

    void lateRepliesAndSlowCodes()
    {
        SimMonitorConfig c;
        c.slowCodes = {0x1067};
        c.lateReplyMs = 400;
        SimOrvaneMonitor monitor(c);
        QVERIFY(test::sendRequest(monitor, paged(0xC8, 0x1067, 3)));
        QVERIFY(monitor.lateReplyPending());
        QCOMPARE(test::readReplyFrame(monitor, 9), hex("6E 80 BE"));
        QCOMPARE(monitor.registerValue(0x1067), quint16(3));   // applied at once
        m_clock.advanceUs(399000);
        QCOMPARE(test::readReplyFrame(monitor, 9), hex("6E 80 BE"));
        m_clock.advanceUs(1000);
        QVERIFY(!monitor.lateReplyPending());
        QCOMPARE(test::readReplyFrame(monitor, 9).mid(2, 4), hex("C7 00 10 67"));

        monitor.addFault(SimFault{SimFaultKind::LateReply, 0xC6, 0x0010, 1, 250});
        QVERIFY(test::sendRequest(monitor, paged(0xC6, 0x0010)));
        QCOMPARE(test::readReplyFrame(monitor, 9), hex("6E 80 BE"));
        m_clock.advanceUs(250000);
        QCOMPARE(test::readReplyFrame(monitor, 9).mid(2, 4), hex("C7 00 00 10"));
    }

    void readBackMismatchCorruptsTheChunk()
    {
        SimOrvaneMonitor monitor;
        monitor.addFault(SimFault{SimFaultKind::ReadBackMismatch, 0xC2, 0x0B, 1, 0});
        QVERIFY(test::sendRequest(monitor, hex("C2 0B 00 00 12 34 00 05")));
        QCOMPARE(exchange(monitor, hex("C2 0A 00 00 02")), hex("C3 0A 12 35 00 05"));
        QVERIFY(test::sendRequest(monitor, hex("C2 0B 00 00 12 34 00 05")));
        QCOMPARE(exchange(monitor, hex("C2 0A 00 00 02")), hex("C3 0A 12 34 00 05"));
    }

    void dualLinkAdapterInsertsJunk()
    {
        SimMonitorConfig c;
        c.dualLinkAdapter = true;
        SimOrvaneMonitor monitor(c);
        QVERIFY(test::sendRequest(monitor, hex("F3 00 00")));
        // 35 + 3 = 38 bytes asked, 38 + 38/16 = 40 on the wire.
        const QByteArray wire = test::readWire(monitor, 40);
        QCOMPARE(quint8(wire[16]), quint8(0xEE));
        QCOMPARE(quint8(wire[32]), quint8(0xEE));
        QByteArray kept;
        for (int i = 0; i < wire.size(); ++i)
            if (i < 16 || i % 16 != 0)
                kept.append(wire[i]);
        QCOMPARE(kept.left(5), hex("6E A3 E3 00 00"));
        QCOMPARE(kept.mid(5, 32), simDefaultCapabilities().left(32));
        // EDID reads are not touched.
        const quint8 zero = 0;
        monitor.write(0xA0, &zero, 1);
        QByteArray edid(128, 0);
        QVERIFY(monitor.read(0xA1, reinterpret_cast<quint8 *>(edid.data()), 128));
        QCOMPARE(edid, monitor.edid());
    }

    // A demonstration runs for hours: the frame log keeps the recent frames only.
    void frameLogIsBounded()
    {
        SimOrvaneMonitor monitor;
        const quint8 byte = 0;
        for (int i = 0; i < SimOrvaneMonitor::kFrameLogLimit + 10; ++i)
            monitor.write(0x10, &byte, 1);
        QVERIFY(monitor.frames().size() <= SimOrvaneMonitor::kFrameLogLimit);
        QVERIFY(monitor.frames().size() > SimOrvaneMonitor::kFrameLogLimit / 2);
    }

    // Random and mutated frames: the simulator must never misbehave.
    void fuzzFrames()
    {
        std::mt19937 rng(8);
        const QVector<QByteArray> seeds = {hex("01 10"), hex("C6 10 52"), hex("C8 10 67 00 01"),
                                           hex("C0 09 20 88 00"), hex("C2 05 00 00 01 02"),
                                           hex("C2 25 01 02 03 00 01 00 02 00 03"), hex("F3 01 C0"),
                                           hex("C0 0E 3F 41 42"), hex("C2 27 09 41")};
        SimOrvaneMonitor monitor;
        for (int round = 0; round < 4000; ++round) {
            QByteArray payload = seeds[rng() % seeds.size()];
            const int edits = rng() % 4;
            for (int e = 0; e < edits; ++e) {
                const int what = rng() % 3;
                if (what == 0 && !payload.isEmpty())
                    payload[int(rng() % payload.size())] = char(rng());
                else if (what == 1)
                    payload.append(char(rng()));
                else if (!payload.isEmpty())
                    payload.chop(1);
            }
            payload = payload.left(120);
            if (rng() % 8 == 0) {
                QByteArray raw(int(rng() % 40), 0);
                for (char &b : raw)
                    b = char(rng());
                monitor.write(0x6E, reinterpret_cast<const quint8 *>(raw.constData()), raw.size());
            } else {
                test::sendRequest(monitor, payload);
            }
            test::readWire(monitor, int(rng() % 130) + 1);
            m_clock.advanceUs(500000);
        }
        QVERIFY(monitor.frames().size() == 4000);
    }

private:
    VirtualClock m_clock;
    std::unique_ptr<ScopedClock> m_scope;
};

QTEST_GUILESS_MAIN(TestSimMonitor)
#include "tst_simmonitor.moc"
