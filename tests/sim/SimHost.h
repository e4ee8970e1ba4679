#pragma once
// A minimal DDC/CI host for the simulator's own tests: frames a request the
// way the host does and reads one reply frame off the bus. The real host
// stack is tested against the simulator in tests/monitor.

#include "I2CBus.h"

#include <QByteArray>

namespace pz::test {

inline QByteArray requestFrame(const QByteArray &payload)
{
    QByteArray frame;
    frame.append(char(0x51));
    frame.append(char(0x80 | payload.size()));
    frame.append(payload);
    quint8 check = 0x6E;
    for (char c : frame)
        check ^= quint8(c);
    frame.append(char(check));
    return frame;
}

inline bool sendRequest(II2CBus &bus, const QByteArray &payload)
{
    const QByteArray frame = requestFrame(payload);
    return bus.write(0x6E, reinterpret_cast<const quint8 *>(frame.constData()), frame.size());
}

// Reads wireLength bytes from 0x6F; an empty array when the read was refused.
inline QByteArray readWire(II2CBus &bus, int wireLength)
{
    QByteArray wire(wireLength, 0);
    if (!bus.read(0x6F, reinterpret_cast<quint8 *>(wire.data()), wireLength))
        return QByteArray();
    return wire;
}

// The reply frame (source, length, payload, checksum) cut from a read of
// maxLength + 3 bytes, or an empty array when the read was refused.
inline QByteArray readReplyFrame(II2CBus &bus, int maxLength)
{
    const QByteArray wire = readWire(bus, maxLength + 3);
    if (wire.isEmpty())
        return wire;
    const int m = quint8(wire[1]) & 0x7F;
    return wire.left(qMin(wire.size(), m + 3));
}

// Request, then the reply's payload (opcode first); empty for a null
// message or a refused transfer.
inline QByteArray exchange(II2CBus &bus, const QByteArray &payload, int maxLength = 120)
{
    if (!sendRequest(bus, payload))
        return QByteArray();
    const QByteArray frame = readReplyFrame(bus, maxLength);
    return frame.size() >= 3 ? frame.mid(2, frame.size() - 3) : QByteArray();
}

// The payload of a paged VCP set: C8, page, code, value high and low byte.
inline QByteArray pagedSet(quint16 code16, int value)
{
    QByteArray p("\xC8", 1);
    p.append(char(code16 >> 8));
    p.append(char(code16 & 0xFF));
    p.append(char(value >> 8));
    p.append(char(value & 0xFF));
    return p;
}

} // namespace pz::test
