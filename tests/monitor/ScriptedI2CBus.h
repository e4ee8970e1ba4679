#pragma once
// A scripted raw I2C bus for the DDC/CI tests: every write is logged, every
// read takes the next scripted answer (padded with zeros to the length asked
// for). An unscripted read or a scripted NAK fails like a silent device.

#include "I2CBus.h"
#include "TestSupport.h"

#include <QByteArray>
#include <QList>
#include <QVector>
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
        if (m_failingWrites > 0) {
            --m_failingWrites;
            return false;
        }
        return true;
    }

    bool read(quint8 address, quint8 *data, int length) override
    {
        std::optional<QByteArray> next;
        if (!m_replies.isEmpty())
            next = m_replies.takeFirst();
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
};

} // namespace pz::test
