#pragma once
// A scripted raw I2C bus for the DDC/CI tests: every write is logged, every
// read takes the next scripted answer (padded with zeros to the length asked
// for). An unscripted read or a scripted NAK fails like a silent device.

#include "Clock.h"
#include "I2CBus.h"
#include "TestSupport.h"

#include <QByteArray>
#include <QList>
#include <QVector>
#include <functional>
#include <optional>

namespace pz::test {

class ScriptedI2CBus : public II2CBus {
public:
    struct Transfer {
        bool isRead;
        quint8 address;
        QByteArray bytes; // written bytes, or the bytes handed out by a read
        int length;
    };

    // Queues the wire bytes of the next read ("6E 80 BE").
    void reply(const char *hexBytes) { m_replies.append(hex(hexBytes)); }
    void replyBytes(const QByteArray &bytes) { m_replies.append(bytes); }
    // Queues a well-formed monitor reply (source 0x6E) carrying payload.
    void replyPayload(const QByteArray &payload) { m_replies.append(replyFrame(payload)); }
    void replyPayload(const char *hexPayload) { replyPayload(hex(hexPayload)); }
    // Queues the null message.
    void replyNull(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            replyPayload(QByteArray());
    }
    // Answers reads when the queue is empty: gets the bytes of the last
    // write and returns the wire bytes of the read (nullopt: NAK).
    using Responder = std::function<std::optional<QByteArray>(const QByteArray &lastWrite)>;
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Sees every write that the bus accepts (a device that keeps state).
    using WriteObserver = std::function<void(quint8 address, const QByteArray &bytes)>;
    void setWriteObserver(WriteObserver observer) { m_observer = std::move(observer); }

    static QByteArray replyFrame(const QByteArray &payload)
    {
        QByteArray frame;
        frame.append(char(0x6E));
        frame.append(char(0x80 | payload.size()));
        frame.append(payload);
        quint8 sum = 0x50;
        for (char c : frame)
            sum ^= quint8(c);
        frame.append(char(sum));
        return frame;
    }
    // The payload of a request frame as the host wrote it (empty when the
    // frame is malformed).
    static QByteArray requestPayload(const QByteArray &frame)
    {
        if (frame.size() < 3 || quint8(frame[0]) != 0x51)
            return QByteArray();
        const int n = quint8(frame[1]) & 0x7F;
        if (frame.size() != n + 3)
            return QByteArray();
        quint8 sum = 0x6E;
        for (int i = 0; i < n + 2; ++i)
            sum ^= quint8(frame[i]);
        return sum == quint8(frame[n + 2]) ? frame.mid(2, n) : QByteArray();
    }
    // Payloads of every DDC/CI request written so far, in order.
    QList<QByteArray> requests() const
    {
        QList<QByteArray> out;
        for (const Transfer &t : m_log)
            if (!t.isRead && t.address == 0x6E)
                out.append(requestPayload(t.bytes));
        return out;
    }

    // Queues a read that no device answers.
    void nak(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            m_replies.append(std::nullopt);
    }
    // The next count writes fail.
    void failWrites(int count) { m_failingWrites = count; }

    bool write(quint8 address, const quint8 *data, int length) override
    {
        m_log.append({false, address,
                      QByteArray(reinterpret_cast<const char *>(data), length), length});
        m_lastWrite = m_log.last().bytes;
        if (m_failingWrites > 0) {
            --m_failingWrites;
            return false;
        }
        if (m_observer)
            m_observer(address, m_lastWrite);
        return true;
    }

    bool read(quint8 address, quint8 *data, int length) override
    {
        std::optional<QByteArray> next;
        if (!m_replies.isEmpty())
            next = m_replies.takeFirst();
        else if (m_responder)
            next = m_responder(m_lastWrite);
        if (!next) {
            m_log.append({true, address, QByteArray(), length});
            return false;
        }
        QByteArray wire = next->left(length);
        wire.append(QByteArray(length - wire.size(), '\0'));
        memcpy(data, wire.constData(), static_cast<size_t>(length));
        m_log.append({true, address, wire, length});
        return true;
    }

    const QVector<Transfer> &log() const { return m_log; }
    QVector<Transfer> writes() const { return filtered(false); }
    QVector<Transfer> reads() const { return filtered(true); }
    int pendingReplies() const { return m_replies.size(); }
    void clearLog() { m_log.clear(); }

private:
    QVector<Transfer> filtered(bool isRead) const
    {
        QVector<Transfer> out;
        for (const Transfer &t : m_log)
            if (t.isRead == isRead)
                out.append(t);
        return out;
    }

    QList<std::optional<QByteArray>> m_replies;
    QVector<Transfer> m_log;
    int m_failingWrites = 0;
    QByteArray m_lastWrite;
    Responder m_responder;
    WriteObserver m_observer;
};

// A command layer of type Control over a scripted bus, on a virtual clock
// that records every wait.
template <typename Control>
struct ScriptedControl {
    VirtualClock clock;
    ScopedClock scope{&clock};
    ScriptedI2CBus bus;
    Control ddc{&bus, 0};
};

} // namespace pz::test
