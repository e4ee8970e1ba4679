#include "low_level_ddc.h"

#include "Clock.h"

#include <cstring>

namespace {
// Every reply frame fits: 127 payload bytes at most plus source, length and
// checksum; a caller may ask for up to 255 + 3 bytes, so leave room for that.
constexpr unsigned int kReplyBuffer = 260;
constexpr unsigned int kRequestBuffer = 130;
constexpr int kReadFailed = -11;
constexpr int kWriteFailed = -12;
constexpr int kBadChecksum = -20;
constexpr int kTooLong = -24;
constexpr int kPayloadTooLong = -28;
constexpr int kBadSource = -27;
} // namespace

low_level_ddc::low_level_ddc() = default;

low_level_ddc::low_level_ddc(pz::II2CBus *bus, int verbosity)
    : m_verbosity(verbosity), m_bus(bus), m_adapterFix(false)
{
}

low_level_ddc::~low_level_ddc() = default;

int low_level_ddc::Init() { return 0; }

int low_level_ddc::close_port() { return 0; }

int low_level_ddc::open_port() { return 0; }

void low_level_ddc::set_verbosity(int verbosity) { m_verbosity = verbosity; }

int low_level_ddc::i2c_write(unsigned int address, unsigned char *data, unsigned char length)
{
    if (!m_bus || address > 0xFF)
        return kWriteFailed;
    return m_bus->write(static_cast<quint8>(address), data, length) ? 0 : kWriteFailed;
}

int low_level_ddc::i2c_read(unsigned int address, unsigned char *data, unsigned char length)
{
    if (m_adapterFix)
        return i2c_read_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(address, data, length);
    if (!m_bus || address > 0xFF)
        return kReadFailed;
    return m_bus->read(static_cast<quint8>(address), data, length) ? 1 : kReadFailed;
}

int low_level_ddc::i2c_read_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(unsigned int address,
                                                                  unsigned char *data,
                                                                  unsigned char length)
{
    const bool dropEvery16th = address == kDdcCiAddress;
    const unsigned int wireCount = dropEvery16th ? length + length / 16u : length;
    // The adapter's wire buffer bounds the read; nothing asks for more.
    if (!m_bus || address > 0xFF || wireCount > kAdapterFixBuffer)
        return kReadFailed;

    unsigned char wire[kAdapterFixBuffer];
    std::memset(wire, 0, sizeof wire);
    // The adapter answers the first read with stale bytes; only the second
    // read of the very same request is trusted.
    for (int pass = 0; pass < 2; ++pass) {
        if (!m_bus->read(static_cast<quint8>(address), wire, static_cast<int>(wireCount)))
            return kReadFailed;
    }
    unsigned int copied = 0;
    for (unsigned int i = 0; i < wireCount; ++i) {
        if (dropEvery16th && i >= 16 && i % 16 == 0)
            continue;
        data[copied++] = wire[i];
    }
    return 1;
}

void low_level_ddc::set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(bool on) { m_adapterFix = on; }

int low_level_ddc::read_i2c_address(unsigned char *data, unsigned char address,
                                    unsigned char offset, unsigned char length)
{
    if (pz::workAbandoned())
        return kWriteFailed;
    const int written = i2c_write(address, &offset, 1);
    if (written < 0)
        return written;
    return i2c_read(address, data, length);
}

void low_level_ddc::buildRequestFrame(const unsigned char *payload, unsigned char length,
                                      unsigned char *frame)
{
    frame[0] = kHostSource;
    frame[1] = static_cast<unsigned char>(0x80 | length);
    unsigned char sum = static_cast<unsigned char>(kDdcCiAddress ^ frame[0] ^ frame[1]);
    for (unsigned int i = 0; i < length; ++i) {
        frame[2 + i] = payload[i];
        sum ^= payload[i];
    }
    frame[2 + length] = sum;
}

int low_level_ddc::ddcci_write(unsigned char *data, unsigned char length)
{
    if (length > kMaxFramePayload)
        return kPayloadTooLong;
    // A thread that is being stopped sends nothing more.
    if (pz::workAbandoned())
        return kWriteFailed;
    unsigned char frame[kRequestBuffer];
    buildRequestFrame(data, length, frame);
    dumphex("ddcci_write", frame, length + 3);
    return i2c_write(kDdcCiAddress, frame, static_cast<unsigned char>(length + 3));
}

int low_level_ddc::parseReplyFrame(const unsigned char *wire, unsigned int wireLength,
                                   unsigned char *data, unsigned char maxLength)
{
    if (wireLength < 3)
        return kTooLong;
    if (wire[0] != kDdcCiAddress && wire[0] != kHostSource)
        return kBadSource;
    const unsigned int m = wire[1] & 0x7F;
    // The announced payload must fit both the caller's buffer and the bytes
    // actually read (payload plus checksum after the two header bytes).
    if (m > maxLength || m + 3 > wireLength)
        return kTooLong;
    unsigned char sum = static_cast<unsigned char>(0x50 ^ wire[0] ^ wire[1]);
    for (unsigned int i = 0; i < m; ++i)
        sum ^= wire[2 + i];
    if (sum != wire[2 + m])
        return kBadChecksum;
    if (m > 0)
        std::memcpy(data, wire + 2, m);
    return static_cast<int>(m);
}

int low_level_ddc::ddcci_read(unsigned char *data, unsigned char maxLength)
{
    unsigned char wire[kReplyBuffer];
    std::memset(wire, 0, sizeof wire);
    const unsigned int wireLength = maxLength + 3u;
    // Read sizes travel as one byte; a larger request cannot be made.
    if (wireLength > 0xFF)
        return kTooLong;
    if (pz::workAbandoned())
        return kReadFailed;
    const int got = i2c_read(kDdcCiAddress, wire, static_cast<unsigned char>(wireLength));
    if (got <= 0)
        return got;
    dumphex("ddcci_read", wire, static_cast<int>(wireLength));
    return parseReplyFrame(wire, wireLength, data, maxLength);
}

int low_level_ddc::WaitMS(int ms)
{
    ::WaitMS(ms);
    return 0;
}

void dumphex(const char *, const unsigned char *, int) {}
