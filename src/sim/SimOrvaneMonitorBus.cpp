// The simulated monitor on the I2C bus: request frames written at 0x6E and
// the EDID at 0xA0, the reply a read finds (late, refused or garbled when a
// fault is injected), and the log of every frame the host wrote.

#include "SimOrvaneMonitor.h"
#include "SimOrvaneMonitorDetail.h"

#include <QMutexLocker>
#include <algorithm>

namespace pz {

using simmonitor::byteAt;

namespace {

constexpr quint8 kDdcAddress = 0x6E;
constexpr quint8 kEdidAddress = 0xA0;
constexpr quint8 kHostSource = 0x51;
constexpr quint8 kJunkByte = 0xEE;   // what a dual-link adapter slips into the stream

int requestCode(const QByteArray &p)
{
    const quint8 op = byteAt(p, 0);
    switch (op) {
    case 0x01:
    case 0x03:
    case 0xC0:
    case 0xC2:
        return p.size() >= 2 ? byteAt(p, 1) : -1;
    case 0xC6:
    case 0xC8:
    case 0xF3:
        return p.size() >= 3 ? (byteAt(p, 1) << 8) | byteAt(p, 2) : -1;
    default:
        return -1;
    }
}

} // namespace

bool SimOrvaneMonitor::write(quint8 address, const quint8 *data, int length)
{
    QMutexLocker lock(&m_lock);
    SimFrame f;
    f.address = address;
    f.bytes = QByteArray(reinterpret_cast<const char *>(data), std::max(0, length));
    f.timeUs = nowUs();
    f.thread = QThread::currentThread();
    if (m_frames.size() >= kFrameLogLimit)
        m_frames.remove(0, kFrameLogLimit / 2);
    m_frames.append(f);
    if (length <= 0 || silent())
        return false;
    switch (address & 0xFE) {
    case kDdcAddress:
        return writeDdcCi(data, length);
    case kEdidAddress:
        return writeEdid(data, length);
    default:
        return false;   // nobody at that address
    }
}

bool SimOrvaneMonitor::read(quint8 address, quint8 *data, int length)
{
    return readBus(address, data, length, true);
}

bool SimOrvaneMonitor::readFromBridge(quint8 address, quint8 *data, int length)
{
    return readBus(address, data, length, false);
}

bool SimOrvaneMonitor::readBus(quint8 address, quint8 *data, int length, bool throughAdapter)
{
    QMutexLocker lock(&m_lock);
    ++m_readCount;
    if (length <= 0 || silent())
        return false;
    switch (address & 0xFE) {
    case kDdcAddress:
        return readDdcCi(data, length, throughAdapter);
    case kEdidAddress:
        return readEdid(data, length);
    default:
        return false;
    }
}

bool SimOrvaneMonitor::writeEdid(const quint8 *data, int length)
{
    m_edidPointer = data[0];
    if (length == 1)
        return true;
    if (!m_config.factoryMode)
        return false;
    // Page write: the bytes after the offset land from there on.
    if (m_edid.size() < 256)
        m_edid.append(QByteArray(256 - m_edid.size(), char(0xFF)));
    for (int i = 1; i < length; ++i)
        m_edid[(m_edidPointer + i - 1) & 0xFF] = char(data[i]);
    m_nv.edid = m_edid;
    persist();
    return true;
}

bool SimOrvaneMonitor::readEdid(quint8 *data, int length)
{
    if (m_config.ddcEdidFails)
        return false;
    for (int i = 0; i < length; ++i) {
        const int at = (m_edidPointer + i) & 0xFF;
        data[i] = at < m_edid.size() ? quint8(m_edid[at]) : 0xFF;
    }
    m_edidPointer = (m_edidPointer + length) & 0xFF;
    return true;
}

QByteArray SimOrvaneMonitor::frameReply(const QByteArray &payload)
{
    QByteArray frame;
    frame.append(char(kDdcAddress));
    frame.append(char(0x80 | payload.size()));
    frame.append(payload);
    quint8 check = 0x50;
    for (char c : frame)
        check ^= quint8(c);
    frame.append(char(check));
    return frame;
}

SimFault *SimOrvaneMonitor::matchFault(const QByteArray &payload)
{
    const int opcode = byteAt(payload, 0);
    const int code = requestCode(payload);
    for (SimFault &f : m_faults) {
        if (f.count <= 0)
            continue;
        if ((f.opcode < 0 || f.opcode == opcode) && (f.code < 0 || f.code == code))
            return &f;
    }
    return nullptr;
}

int SimOrvaneMonitor::pendingFaults() const
{
    QMutexLocker lock(&m_lock);
    int n = 0;
    for (const SimFault &f : m_faults)
        n += std::max(0, f.count);
    return n;
}

void SimOrvaneMonitor::applyReplyFault(SimFaultKind kind, QByteArray &frame) const
{
    QByteArray payload = frame.mid(2, frame.size() - 3);
    switch (kind) {
    case SimFaultKind::NullReply:
        frame = frameReply(QByteArray());
        return;
    case SimFaultKind::BadChecksum:
        frame[frame.size() - 1] = char(frame.back() ^ 0x5A);
        return;
    case SimFaultKind::WrongSource:
        frame[0] = char(0x6F);
        return;
    case SimFaultKind::OverlongLength:
        frame[1] = char(0xFF);
        return;
    case SimFaultKind::WrongOpcode:
        if (!payload.isEmpty())
            payload[0] = char(payload[0] + 1);
        break;
    case SimFaultKind::WrongPageOrCode: {
        const int at = !payload.isEmpty() && byteAt(payload, 0) == 0xC7 ? 3 : 2;
        if (payload.size() > at)
            payload[at] = char(payload[at] ^ 0x01);
        break;
    }
    case SimFaultKind::ShortReply:
        payload.chop(1);
        break;
    default:
        return;
    }
    frame = frameReply(payload);
}

bool SimOrvaneMonitor::writeDdcCi(const quint8 *data, int length)
{
    advance();
    // A request frame: 51, 80|n, n payload bytes, checksum over 6E and all.
    const int n = length >= 2 ? (data[1] & 0x7F) : -1;
    bool wellFormed = length >= 3 && data[0] == kHostSource && (data[1] & 0x80) && length == n + 3;
    if (wellFormed) {
        quint8 check = kDdcAddress;
        for (int i = 0; i < n + 2; ++i)
            check ^= data[i];
        wellFormed = check == data[n + 2];
    }
    if (!wellFormed) {
        // Ignored; the host's next read meets a refusal or a null message.
        m_reply.clear();
        m_replyReadyUs = 0;
        m_nakReads = m_config.nakAfterBadFrame;
        return true;
    }

    const QByteArray payload(reinterpret_cast<const char *>(data + 2), n);
    m_nakReads = false;
    m_reply.clear();
    m_replyReadyUs = 0;
    if (payload.isEmpty())
        return true;

    SimFault *fault = matchFault(payload);
    SimFaultKind kind = SimFaultKind::NullReply;
    int delayMs = 0;
    if (fault) {
        kind = fault->kind;
        delayMs = fault->delayMs;
        --fault->count;
        if (kind == SimFaultKind::NakWrite)
            return false;
    }

    const bool corruptTable = fault && kind == SimFaultKind::ReadBackMismatch;
    QByteArray request = payload;
    if (corruptTable && request.size() >= 6 && byteAt(request, 0) == 0xC2
        && (byteAt(request, 1) == 0x05 || byteAt(request, 1) == 0x0B))
        request[5] = char(request[5] ^ 0x01);   // low byte of the first value

    const QByteArray replyPayload = handleRequest(request);
    m_reply = frameReply(replyPayload);

    const quint8 opcode = byteAt(payload, 0);
    if (opcode == 0xC8 && payload.size() >= 3) {
        const quint16 code16 = quint16((byteAt(payload, 1) << 8) | byteAt(payload, 2));
        if (m_config.slowCodes.contains(code16))
            m_replyReadyUs = nowUs() + qint64(m_config.lateReplyMs) * 1000;
    }
    if (fault) {
        if (kind == SimFaultKind::LateReply)
            m_replyReadyUs = nowUs() + qint64(delayMs) * 1000;
        else if (kind == SimFaultKind::NakRead)
            m_nakReads = true;
        else if (!corruptTable)
            applyReplyFault(kind, m_reply);
    }
    return true;
}

bool SimOrvaneMonitor::readDdcCi(quint8 *data, int length, bool throughAdapter)
{
    advance();
    if (m_nakReads)
        return false;
    const QByteArray frame = (m_reply.isEmpty() || nowUs() < m_replyReadyUs)
        ? frameReply(QByteArray()) : m_reply;
    int next = 0;
    for (int i = 0; i < length; ++i) {
        if (throughAdapter && m_config.dualLinkAdapter && i >= 16 && i % 16 == 0) {
            data[i] = kJunkByte;
            continue;
        }
        data[i] = next < frame.size() ? quint8(frame[next]) : 0x00;
        ++next;
    }
    return true;
}

bool SimOrvaneMonitor::lateReplyPending()
{
    QMutexLocker lock(&m_lock);
    return !m_reply.isEmpty() && nowUs() < m_replyReadyUs;
}

QVector<QByteArray> SimOrvaneMonitor::requests() const
{
    QMutexLocker lock(&m_lock);
    QVector<QByteArray> out;
    for (const SimFrame &f : m_frames) {
        if ((f.address & 0xFE) != kDdcAddress || f.bytes.size() < 3)
            continue;
        const int n = byteAt(f.bytes, 1) & 0x7F;
        if (byteAt(f.bytes, 0) == kHostSource && f.bytes.size() == n + 3)
            out.append(f.bytes.mid(2, n));
    }
    return out;
}

void SimOrvaneMonitor::clearLog()
{
    QMutexLocker lock(&m_lock);
    m_frames.clear();
    m_readCount = 0;
}

} // namespace pz
