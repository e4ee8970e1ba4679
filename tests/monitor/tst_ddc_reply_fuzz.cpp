// Random and mutated DDC/CI replies against the reply parser and the command
// layers above it: nothing may crash or touch memory outside its buffers
// (the sanitizers watch), and every reply is either accepted or given an
// error code.

#include "Clock.h"
#include "ORV_factory_ddc_control.h"
#include "ScriptedI2CBus.h"
#include "low_level_ddc.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <vector>

using namespace pz;
using pz::test::ScriptedI2CBus;

namespace {
QByteArray randomBytes(QRandomGenerator &rng, int n)
{
    QByteArray out(n, 0);
    for (int i = 0; i < n; ++i)
        out[i] = char(rng.bounded(256));
    return out;
}

// Damages a frame in one of several ways, or leaves it alone.
QByteArray mutate(QRandomGenerator &rng, QByteArray frame)
{
    switch (rng.bounded(8)) {
    case 0: // flip a bit anywhere
        if (!frame.isEmpty())
            frame[rng.bounded(frame.size())] ^= char(1 << rng.bounded(8));
        break;
    case 1: // truncate
        frame.truncate(rng.bounded(frame.size() + 1));
        break;
    case 2: // claim another length
        if (frame.size() > 1)
            frame[1] = char(rng.bounded(256));
        break;
    case 3: // another source byte
        if (!frame.isEmpty())
            frame[0] = char(rng.bounded(256));
        break;
    case 4: // pure noise
        frame = randomBytes(rng, rng.bounded(140));
        break;
    default:
        break;
    }
    return frame;
}

// A monitor that answers each request with a plausible reply of the right
// family (echoing offsets, codes and counts) and then garbles some of them.
class ChaoticMonitor {
public:
    explicit ChaoticMonitor(quint32 seed) : m_rng(seed) {}

    std::optional<QByteArray> answer(const QByteArray &lastWrite)
    {
        if (m_rng.bounded(12) == 0)
            return std::nullopt; // NAK
        const QByteArray request = ScriptedI2CBus::requestPayload(lastWrite);
        QByteArray payload;
        if (m_rng.bounded(10) == 0 || request.isEmpty()) {
            payload = randomBytes(m_rng, m_rng.bounded(40));
        } else {
            payload = plausibleReply(request);
        }
        return mutate(m_rng, ScriptedI2CBus::replyFrame(payload));
    }

private:
    QByteArray plausibleReply(const QByteArray &r)
    {
        const quint8 op = quint8(r[0]);
        QByteArray p;
        auto tail = [&](int n) { p.append(randomBytes(m_rng, n)); };
        if (op == 0x01 && r.size() >= 2) {
            p.append(char(0x02)).append(char(m_rng.bounded(2))).append(r[1]);
            tail(5);
        } else if (op == 0xF3 && r.size() >= 3) {
            p.append(char(0xE3)).append(r[1]).append(r[2]);
            tail(m_rng.bounded(4) == 0 ? 0 : m_rng.bounded(33));
        } else if ((op == 0xC6 || op == 0xC8) && r.size() >= 3) {
            if (op == 0xC8 && m_rng.bounded(3) == 0)
                return QByteArray(); // busy: a null message
            p.append(char(0xC7)).append(char(m_rng.bounded(2))).append(r[1]).append(r[2]);
            tail(5);
        } else if ((op == 0xC0 || op == 0xC2) && r.size() >= 2) {
            p.append(char(op + 1)).append(r[1]);
            int n = m_rng.bounded(40);
            if (op == 0xC0 && (quint8(r[1]) == 0x09 || quint8(r[1]) == 0x03) && r.size() >= 3)
                n = quint8(r[2]);
            else if (op == 0xC2 && quint8(r[1]) == 0x04 && r.size() >= 5)
                n = 2 * quint8(r[4]);
            else if (op == 0xC0 && quint8(r[1]) == 0x0B && m_rng.bounded(3) == 0)
                return QByteArray(); // end of the asset string
            tail(n);
        } else if (op == 0xB1) {
            p.append(char(0xA1));
            tail(m_rng.bounded(10));
        } else {
            tail(m_rng.bounded(20));
        }
        return p.left(127);
    }

    QRandomGenerator m_rng;
};

const QSet<int> kKnownCodes = {-11, -12, -20, -21, -22, -23, -24, -25, -26, -27, -29, -30, -31, -32, -40};
} // namespace

class TestDdcReplyFuzz : public QObject {
    Q_OBJECT
private slots:
    void parserAcceptsOnlyWellFormedFrames()
    {
        QRandomGenerator rng(0x6E51);
        int accepted = 0;
        for (int iteration = 0; iteration < 30000; ++iteration) {
            const unsigned char maxLength = static_cast<unsigned char>(rng.bounded(128));
            QByteArray wire;
            if (rng.bounded(2) == 0) {
                const int m = rng.bounded(qMin(int(maxLength) + 2, 128));
                wire = mutate(rng, ScriptedI2CBus::replyFrame(randomBytes(rng, m)));
            } else {
                wire = randomBytes(rng, rng.bounded(140));
            }
            // Exactly sized heap buffers, so any overrun is caught.
            std::vector<unsigned char> in(wire.begin(), wire.end());
            std::vector<unsigned char> out(maxLength);
            const int result = low_level_ddc::parseReplyFrame(
                in.data(), static_cast<unsigned int>(in.size()), out.data(), maxLength);
            if (result < 0) {
                QVERIFY2(result == -20 || result == -24 || result == -27,
                         qPrintable(QString::number(result)));
                continue;
            }
            ++accepted;
            // Accepted: a source the host knows, a length within both bounds,
            // a correct checksum, and the payload copied unchanged.
            QVERIFY(result <= maxLength);
            QVERIFY(result + 3 <= wire.size());
            QVERIFY(quint8(wire[0]) == 0x6E || quint8(wire[0]) == 0x51);
            QCOMPARE(quint8(wire[1]) & 0x7F, result);
            quint8 sum = 0x50;
            for (int i = 0; i < result + 2; ++i)
                sum ^= quint8(wire[i]);
            QCOMPARE(sum, quint8(wire[result + 2]));
            QCOMPARE(QByteArray(reinterpret_cast<char *>(out.data()), result), wire.mid(2, result));
        }
        QVERIFY(accepted > 1000); // the corpus really exercises the good path
    }

    void transportReadsNoiseSafely()
    {
        QRandomGenerator rng(0xA0A1);
        ScriptedI2CBus bus;
        low_level_ddc ddc(&bus, 0);
        for (int iteration = 0; iteration < 5000; ++iteration) {
            ddc.set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(rng.bounded(4) == 0);
            const unsigned char maxLength = static_cast<unsigned char>(1 + rng.bounded(120));
            for (int i = 0; i < 2; ++i)
                bus.replyBytes(mutate(rng, ScriptedI2CBus::replyFrame(
                                               randomBytes(rng, rng.bounded(maxLength + 1)))));
            std::vector<unsigned char> out(maxLength);
            const int result = ddc.ddcci_read(out.data(), maxLength);
            QVERIFY(result <= maxLength);
            QVERIFY(result >= 0 || kKnownCodes.contains(result));
            while (bus.pendingReplies() > 0) {
                unsigned char scratch[1];
                bus.read(0x6E, scratch, 1);
            }
        }
    }

    void commandLayersSurviveAChaoticMonitor()
    {
        VirtualClock clock;
        ScopedClock scope(&clock);
        QStringList unknown;
        int capsRead = 0, pagedRead = 0, eepromRead = 0;
        for (quint32 seed = 1; seed <= 150; ++seed) {
            ScriptedI2CBus bus;
            ChaoticMonitor monitor(seed);
            bus.setResponder([&](const QByteArray &w) { return monitor.answer(w); });
            ORV_factory_ddc_control ddc(&bus, 0);
            auto expectCode = [&](int result, const char *what) {
                if (result < 0 && !kKnownCodes.contains(result))
                    unknown << QString("%1 gave %2 (seed %3)").arg(what).arg(result).arg(seed);
            };

            std::vector<char> caps(64 + seed % 200);
            const int capsResult = ddc.GetCapabilityString(caps.data(), unsigned(caps.size()));
            expectCode(capsResult, "capabilities");
            QVERIFY(capsResult < int(caps.size()));
            capsRead += capsResult > 0 ? 1 : 0;
            QVERIFY(memchr(caps.data(), 0, caps.size()) != nullptr);

            std::vector<char> asset(16 + seed % 300);
            const int assetResult = ddc.GetAssetString(asset.data(), unsigned(asset.size()));
            expectCode(assetResult, "asset");
            QVERIFY(assetResult < int(asset.size()) && assetResult <= 256 + 33);
            QVERIFY(memchr(asset.data(), 0, asset.size()) != nullptr);

            unsigned int current = 0, maximum = 0, value = seed;
            unsigned char result = 0, type = 0;
            expectCode(ddc.GetVCP(0x10, &current, &maximum, &result, &type), "get vcp");
            const int paged = ddc.GetVCP(0x1052, &current, &maximum, &result, &type);
            expectCode(paged, "paged get");
            pagedRead += paged == 0 ? 1 : 0;
            expectCode(ddc.SetPagedVCP(0x1067, &value, &maximum, &result, &type), "paged set");

            std::vector<unsigned char> eeprom(40);
            const int eepromResult = ddc.ReadEEPROM(eeprom.data(), 0x8800, 40);
            expectCode(eepromResult, "eeprom");
            eepromRead += eepromResult == 0 ? 1 : 0;
            unsigned int values[16];
            expectCode(ddc.GammaTableReadChunk(values, 0, 16), "gamma read");
            expectCode(ddc.GammaTableWriteChunkVerifyAndRetry(values, 0, 16), "gamma verify");
            unsigned char report[4];
            const int reportResult = ddc.GetApplicationTestReport(report, sizeof report);
            expectCode(reportResult, "test report");
            QVERIFY(reportResult <= 9);
            unsigned char edid[256];
            expectCode(ddc.ReadEDID(edid, true), "edid");
            char name[14];
            expectCode(ddc.get_picture_mode_programmable_name(3, name), "mode name");
            clock.clearWaits();
        }
        QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join("; ")));
        // The chaos still lets good exchanges through now and then.
        QVERIFY(capsRead > 10);
        QVERIFY(pagedRead > 10);
        QVERIFY(eepromRead > 10);
    }
};

QTEST_GUILESS_MAIN(TestDdcReplyFuzz)
#include "tst_ddc_reply_fuzz.moc"
