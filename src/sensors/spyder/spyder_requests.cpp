#include "spyder_requests.h"

#include "spyder_usb_layer.h"

#include <algorithm>

using namespace spyder;

namespace {

enum Direction : quint8 { kOut = 0, kIn = 1 };

int fail(qint32 code)
{
    _lastError_ = code;
    _sysErr_ = 0;
    return 0;
}

// One vendor request. A reply (or write) that moves other than length bytes
// fails with shortCode, unless that is 0.
int exchange(Direction direction, quint8 request, quint16 value, quint16 index, quint8 *data,
             quint16 length, qint32 shortCode)
{
    VendorRequest r;
    r.direction = direction;
    r.request = request;
    r.value = value;
    r.index = index;
    quint32 done = 0;
    if (!SendVendorRequest(devHandle, &r, int(sizeof r), data, length, baseTimeout, &done))
        return 0;
    if (shortCode != 0 && done != length)
        return fail(shortCode);
    return 1;
}

int writeValue(quint8 request, quint16 value, quint16 index = 0)
{
    return exchange(kOut, request, value, index, nullptr, 0, 0);
}

int readByte(quint8 request, quint16 value, quint8 *out, qint32 shortCode)
{
    if (!out)
        return fail(kErrBadArgument);
    return exchange(kIn, request, value, 0, out, 1, shortCode);
}

// A 16-bit reply, big-endian on the wire.
int readWord(quint8 request, quint16 *out)
{
    if (!out)
        return fail(kErrBadArgument);
    quint8 bytes[2] = {};
    if (!exchange(kIn, request, 0, 0, bytes, 2, kErrShortReply))
        return 0;
    *out = quint16((bytes[0] << 8) | bytes[1]);
    return 1;
}

// EEPROM transfers go in chunks of at most 128 bytes.
int eepromTransfer(Direction direction, quint16 address, quint32 length, quint8 *buffer)
{
    if (length == 0 || !buffer)
        return fail(kErrBadArgument);
    const quint8 request = direction == kIn ? kReqEepromRead : kReqEepromWrite;
    const qint32 shortCode = direction == kIn ? kErrShortRead : kErrShortWrite;
    for (quint32 offset = 0; offset < length;) {
        const quint16 chunk = quint16(std::min<quint32>(kEepromChunk, length - offset));
        if (!exchange(direction, request, address, chunk, buffer + offset, chunk, shortCode))
            return 0;
        offset += chunk;
        address = quint16(address + chunk);
    }
    return 1;
}

quint32 le24(const quint8 *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16);
}

// A time stamp of the reply in microseconds: units of 65/8 µs.
quint32 stampUs(const quint8 *p)
{
    return le24(p) * 65u / 8u;
}

// One packet of the measurement reply: up to 5 reads while nothing comes.
int readPacket(quint8 *packet, qint32 timeoutMs, quint32 &got)
{
    got = 0;
    for (int i = 0; i < kEmptyReadTries && got == 0; ++i) {
        if (!ReadBulkPipe(devHandle, packet, kPacketBytes, timeoutMs, &got))
            return 0;
    }
    return 1;
}

} // namespace

namespace spyder {

quint16 measurementValue(quint32 clock)
{
    return swap16(quint16((clock >> 8) & 0xFFFF));
}

quint16 measurementIndex(quint32 clock)
{
    return quint16(clock & 0xFF);
}

qint32 measurementTimeout(quint16 b, quint32 clock)
{
    return baseTimeout + b / 1000 + qint32(clock / 1000);
}

quint32 lastStampSpans[kChannels] = {};

bool DecodeCounts(const quint8 reply[kReplyBytes], quint32 clock, quint32 counts[kChannels],
                  quint32 periods[kChannels], quint32 *stampSpans)
{
    constexpr int kGroupBytes = 24;   // eight 24-bit values
    for (int k = 0; k < kChannels; ++k) {
        const int raw = 3 * kRawChannelOf[k];
        const quint32 last = stampUs(reply + raw);
        const quint32 first = stampUs(reply + kGroupBytes + raw);
        counts[k] = le24(reply + 2 * kGroupBytes + raw);
        if (stampSpans)
            stampSpans[k] = last < first ? kReversedStamps : last - first;
        if (counts[k] == 0) {
            periods[k] = clock;
        } else if (last < first) {
            return false;
        } else {
            periods[k] = last - first;
        }
    }
    return true;
}

} // namespace spyder

int DC__ReadEEPROMEx(quint16 address, quint32 length, quint8 *buffer)
{
    return eepromTransfer(kIn, address, length, buffer);
}

int DC__WriteEEPROMEx(quint16 address, quint32 length, const quint8 *buffer)
{
    // An OUT transfer only reads the buffer.
    return eepromTransfer(kOut, address, length, const_cast<quint8 *>(buffer));
}

int DC__ReadEEPROM(quint16 address, quint8 *value)
{
    if (!value)
        return fail(kErrBadArgument);
    quint8 bytes[4] = {};
    if (!DC__ReadEEPROMEx(address, 4, bytes))
        return 0;
    *value = bytes[0];
    return 1;
}

int DC__WriteEEPROM(quint16 address, quint8 value)
{
    return DC__WriteEEPROMEx(address, 1, &value);
}

int ReadTemperature(qint32 *hundredthsCelsius)
{
    quint16 raw = 0;
    if (!hundredthsCelsius)
        return fail(kErrBadArgument);
    if (!readWord(kReqTemperatureOrRegisterRead, &raw))
        return 0;
    // The top 11 bits are a two's complement count of 0.125 °C steps.
    int steps = raw >> 5;
    if (steps & 0x400)
        steps -= 0x800;
    *hundredthsCelsius = qint32(100 * 0.125 * steps);
    return 1;
}

int ReadTemperatureSensorConfig(quint8 *value)
{
    return readByte(kReqTemperatureConfigRead, 0, value, kErrShortReply);
}

int WriteTemperatureSensorConfig(quint8 value)
{
    return writeValue(kReqRegisterWrite, value);
}

int ReadRegister(quint8 reg, quint8 *value)
{
    return readByte(kReqTemperatureOrRegisterRead, reg, value, kErrShortRead);
}

int WriteRegister(quint8 reg, quint8 value)
{
    return writeValue(kReqRegisterWrite, quint16(reg * 256 + value));
}

int SetGain(quint8 gain)
{
    quint8 code = 0;
    switch (gain) {
    case 4: code = 0x10; break;
    case 16: code = 0x20; break;
    case 64: code = 0x30; break;
    default: break;
    }
    return WriteRegister(kGainRegister, code);
}

int SetLED(quint8 a, quint16 b)
{
    return writeValue(kReqLed, a, b);
}

int ReadAmbientLightSensorChannel_0(quint16 *count)
{
    return readWord(kReqAmbientChannel0, count);
}

int ReadAmbientLightSensorChannel_1(quint16 *count)
{
    return readWord(kReqAmbientChannel1, count);
}

int ReadAmbientLightControlRegVal(quint8 *value)
{
    return readByte(kReqAmbientControlRead, 0, value, kErrShortReply);
}

int WriteAmbientLightControlRegVal(quint8 value)
{
    return writeValue(kReqAmbientControlWrite, value);
}

int ReadAmbientLightTimingConfig(quint8 *value)
{
    return readByte(kReqAmbientTimingRead, 0, value, kErrShortReply);
}

int WriteAmbientLightTimingConfig(quint8 value)
{
    return writeValue(kReqAmbientTimingWrite, value);
}

int ReadAmbientLightLevel(quint16 *lux)
{
    if (!lux)
        return fail(kErrBadArgument);
    quint8 timing = 0;
    quint16 channel0 = 0, channel1 = 0;
    if (!ReadAmbientLightTimingConfig(&timing) || !ReadAmbientLightSensorChannel_0(&channel0) ||
        !ReadAmbientLightSensorChannel_1(&channel1))
        return 0;
    *lux = CalculateLux((timing >> 4) & 1, timing & 3, channel0, channel1, 0);
    return 1;
}

int GetDetectorCounts2(quint16 a, quint16 b, quint16 c, quint32 clock, quint32 counts[8],
                       quint32 periods[8], quint8 *status)
{
    if (!counts || !periods || !status)
        return fail(kErrBadArgument);
    clock = std::min(clock, kMaxClock);
    quint8 out[kPacketBytes] = {0, quint8(a >> 8), quint8(a), 0,
                                quint8(c >> 8), quint8(c), quint8(b >> 8), quint8(b)};
    if (!exchange(kOut, kReqMeasure, measurementValue(clock), measurementIndex(clock), out,
                  kPacketBytes, 0))
        return 0;

    const qint32 timeout = measurementTimeout(b, clock);
    quint8 packet[kPacketBytes] = {};
    quint32 got = 0;
    if (!readPacket(packet, timeout, got))
        return 0;
    if (got == 0)
        return fail(kErrNoStatusPacket);
    if (got != kPacketBytes)
        return fail(kErrBadStatusPacket);
    *status = packet[0];

    quint8 reply[kReplyBytes] = {};
    for (int offset = 0; offset < kReplyBytes; offset += kPacketBytes) {
        if (!readPacket(reply + offset, timeout, got))
            return 0;
        if (got != kPacketBytes)
            return fail(kErrBadDataPacket);
    }
    if (!DecodeCounts(reply, clock, counts, periods, lastStampSpans))
        return fail(kErrBadDataPacket);
    return 1;
}

int DC_GetDetectorCounts(quint16 a, quint16 b, quint16 c, quint32 clock, quint32 counts[8],
                         quint32 periods[8], quint8 *status)
{
    return GetDetectorCounts2(a, b, c, clock, counts, periods, status);
}

quint16 CalculateLux(quint32 gain, quint32 integration, quint32 channel0, quint32 channel1,
                     int package)
{
    // Constants of the TSL2561 data sheet.
    constexpr int kLuxScale = 14;
    constexpr int kRatioScale = 9;
    constexpr int kChScale = 10;
    constexpr quint64 kChScaleTint0 = 0x7517;   // 322/11 · 2^10: 13.7 ms
    constexpr quint64 kChScaleTint1 = 0x0FE7;   // 322/81 · 2^10: 101 ms
    struct Segment {
        quint64 limit, b, m;
    };
    static const Segment kSegments[2][8] = {
        {{0x0040, 0x01F2, 0x01BE}, {0x0080, 0x0214, 0x02D1}, {0x00C0, 0x023F, 0x037B},
         {0x0100, 0x0270, 0x03FE}, {0x0138, 0x016F, 0x01FC}, {0x019A, 0x00D2, 0x00FB},
         {0x029A, 0x0018, 0x0012}, {~quint64(0), 0, 0}},
        {{0x0043, 0x0204, 0x01AD}, {0x0085, 0x0228, 0x02C1}, {0x00C8, 0x0253, 0x0363},
         {0x010A, 0x0282, 0x03DF}, {0x014D, 0x0177, 0x01DD}, {0x019A, 0x0101, 0x0127},
         {0x029A, 0x0037, 0x002B}, {~quint64(0), 0, 0}},
    };

    quint64 scale = integration == 0   ? kChScaleTint0
                    : integration == 1 ? kChScaleTint1
                                       : (quint64(1) << kChScale);
    if (!gain)
        scale <<= 4;   // low gain: 16 times the counts of high gain
    // 64 bits, so no count can wrap the products.
    const quint64 ch0 = (quint64(channel0) * scale) >> kChScale;
    const quint64 ch1 = (quint64(channel1) * scale) >> kChScale;

    quint64 ratio1 = 0;
    if (ch0 != 0)
        ratio1 = (ch1 << (kRatioScale + 1)) / ch0;
    const quint64 ratio = (ratio1 + 1) >> 1;

    const Segment *segments = kSegments[package == 1 ? 1 : 0];
    const Segment *s = segments;
    while (ratio > s->limit)
        ++s;
    const quint64 weighted0 = ch0 * s->b;
    const quint64 weighted1 = ch1 * s->m;
    const quint64 difference = weighted0 > weighted1 ? weighted0 - weighted1 : 0;
    const quint64 lux = (difference + (quint64(1) << (kLuxScale - 1))) >> kLuxScale;
    return quint16(std::min<quint64>(lux, 0xFFFF));
}

quint16 swap16(quint16 v)
{
    return quint16((v >> 8) | (v << 8));
}

quint32 swap32(quint32 v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

quint16 swap16II(quint16 v) { return swap16(v); }
quint32 swap32II(quint32 v) { return swap32(v); }
quint16 swap16IM(quint16 v) { return v; }
quint32 swap32IM(quint32 v) { return v; }
