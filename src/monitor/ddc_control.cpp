#include "ddc_control.h"

#include "low_level_ddc.h"
#include "low_level_ddc_mac_usb.h"

#include <cstring>

namespace {
constexpr int kNoReply = -23;
constexpr int kBadLength = -24;
constexpr int kOtherCode = -25;
constexpr int kBadOpcode = -26;
constexpr int kTooLong = -28;
constexpr int kNotStandardCode = -29;
constexpr int kBufferTooSmall = -30;
constexpr int kEdidChecksum = -21;
constexpr int kEdidHeader = -22;
// Internal marker: only null messages came back.
constexpr int kOnlyNullMessages = 1;
// A transport whose reads wait for the device (the USB bridge) found
// nothing to read.
constexpr int kTransportNoReport = -23;

constexpr unsigned int kEdidBlock = 128;

int edidBlockChecksum(const unsigned char *block)
{
    unsigned int sum = 0;
    for (unsigned int i = 0; i < kEdidBlock; ++i)
        sum += block[i];
    return (sum & 0xFF) == 0 ? 0 : kEdidChecksum;
}

int checkEdidBlock0(const unsigned char *block)
{
    static const unsigned char header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edidBlockChecksum(block) != 0)
        return kEdidChecksum;
    return std::memcmp(block, header, sizeof header) == 0 ? 0 : kEdidHeader;
}
} // namespace

ddc_control::ddc_control(unsigned int bridge, int verbosity)
    : m_verbosity(verbosity), m_transport(new low_level_ddc_mac_usb(bridge, verbosity))
{
}

ddc_control::ddc_control(pz::II2CBus *bus, int verbosity)
    : m_verbosity(verbosity), m_transport(new low_level_ddc(bus, verbosity))
{
}

ddc_control::ddc_control(low_level_ddc *transport, int verbosity)
    : m_verbosity(verbosity), m_transport(transport ? transport : new low_level_ddc())
{
    m_transport->set_verbosity(verbosity);
}

ddc_control::~ddc_control() { delete m_transport; }

void ddc_control::set_verbosity(int verbosity)
{
    m_verbosity = verbosity;
    m_transport->set_verbosity(verbosity);
}

void ddc_control::set_retry_limit(int limit) { m_retryLimit = limit < 0 ? 0 : limit; }

void ddc_control::set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(bool on)
{
    m_transport->set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(on);
}

void ddc_control::Wait(int ms) { m_transport->WaitMS(ms); }

int ddc_control::SendPacket(unsigned char *payload, unsigned int n, unsigned int waitAfter)
{
    if (n > kMaxPayload)
        return kTooLong;
    const int opened = m_transport->open_port();
    if (opened != 0)
        return opened;
    int result = 0;
    for (int i = 0; i <= m_retryLimit; ++i) {
        result = m_transport->ddcci_write(payload, static_cast<unsigned char>(n));
        if (result >= 0) {
            result = 0;
            break;
        }
        Wait(50 + 200 * i);
    }
    m_transport->close_port();
    Wait(static_cast<int>(waitAfter));
    return result;
}

int ddc_control::SendPacketGetReply(unsigned char *payload, unsigned int n, unsigned char *reply,
                                    unsigned int *replyLength, bool retryOnNull,
                                    unsigned int delay)
{
    if (n > kMaxPayload)
        return kTooLong;
    if (n == 0)
        return kBadLength;
    unsigned int expected = 0;
    const int opened = beginReply(replyLength, &expected);
    if (opened != 0)
        return opened;

    int result = 0;
    for (int i = 0; i <= m_retryLimit; ++i) {
        const int replyDelay = static_cast<int>(delay) + 50 * i;
        const int writeRetryWait = static_cast<int>(delay) + 200 * i;
        const int written = m_transport->ddcci_write(payload, static_cast<unsigned char>(n));
        if (written < 0) {
            Wait(writeRetryWait);
            Wait(replyDelay);
            result = written;
            continue;
        }
        Wait(replyDelay);
        const int got = readReply(reply, expected, replyLength);
        if (got > 0 || (got == 0 && !retryOnNull)) {
            result = 0;
            break;
        }
        Wait(replyDelay);
        result = got == 0 ? kOnlyNullMessages : got;
    }
    m_transport->close_port();
    Wait(50);
    return result == kOnlyNullMessages ? kNoReply : result;
}

int ddc_control::GetReplyOnly(unsigned char *reply, unsigned int *replyLength,
                              unsigned int waitAfter)
{
    unsigned int expected = 0;
    const int opened = beginReply(replyLength, &expected);
    if (opened != 0)
        return opened;
    // This is a poll for a reply that may come late: a read waits for the
    // device no longer than the poll's own pause after it, and a device with
    // nothing to read has no reply yet, which ends the poll as a null
    // message does. Without this, every empty read over the USB bridge would
    // wait the bridge's full 4.5 s, five times per poll.
    const int readWaitLimit = m_transport->read_wait_limit();
    m_transport->set_read_wait_limit(static_cast<int>(waitAfter));
    int result = 0;
    for (int i = 0; i <= m_retryLimit; ++i) {
        const int got = readReply(reply, expected, replyLength);
        if (got >= 0 || got == kTransportNoReport) {
            result = 0;
            break;
        }
        result = got;
    }
    m_transport->set_read_wait_limit(readWaitLimit);
    m_transport->close_port();
    Wait(static_cast<int>(waitAfter));
    return result;
}

int ddc_control::beginReply(unsigned int *replyLength, unsigned int *expected)
{
    if (!replyLength)
        return kBadLength;
    *expected = *replyLength;
    if (*expected > kMaxPayload)
        return kTooLong;
    if (*expected == 0)
        return kBadLength;
    *replyLength = 0;
    return m_transport->open_port();
}

int ddc_control::readReply(unsigned char *reply, unsigned int expected,
                           unsigned int *replyLength)
{
    unsigned char buffer[256];
    const int got = m_transport->ddcci_read(buffer, static_cast<unsigned char>(expected));
    if (got < 0)
        return got;
    // The transport checks the length against what was asked for; a
    // transport that did not is not trusted with the caller's buffer.
    if (static_cast<unsigned int>(got) > expected)
        return kBadLength;
    if (got > 0)
        std::memcpy(reply, buffer, static_cast<size_t>(got));
    *replyLength = static_cast<unsigned int>(got);
    return got;
}

int ddc_control::ExchangeRepeating(unsigned char *payload, unsigned int n, unsigned char *reply,
                                   unsigned int maxLength, unsigned int minLength,
                                   unsigned int *gotLength)
{
    for (int i = 0; i <= m_retryLimit; ++i) {
        unsigned int length = maxLength;
        const int result =
            SendPacketGetReply(payload, n, reply, &length, true, kStandardDelay);
        if (result != 0)
            return result;
        if (length >= minLength) {
            *gotLength = length;
            return 0;
        }
    }
    return kBadLength;
}

int ddc_control::ExchangeExpectingLength(unsigned char *payload, unsigned int n,
                                         unsigned char *reply, unsigned int expectedLength)
{
    unsigned int got = 0;
    return ExchangeRepeating(payload, n, reply, expectedLength, expectedLength, &got);
}

int ddc_control::ExchangeOnce(unsigned char *payload, unsigned int n, unsigned char *reply,
                              unsigned int expectedLength)
{
    unsigned int length = expectedLength;
    const int result = SendPacketGetReply(payload, n, reply, &length, true, kStandardDelay);
    if (result != 0)
        return result;
    return length == expectedLength ? 0 : kBadLength;
}

int ddc_control::GetVCP(unsigned int code, unsigned int *current, unsigned int *maximum,
                        unsigned char *result, unsigned char *type)
{
    if (code > 0xFF)
        return kNotStandardCode;
    unsigned char payload[2] = {0x01, static_cast<unsigned char>(code)};
    unsigned char reply[8];
    const int status = ExchangeExpectingLength(payload, 2, reply, 8);
    if (status != 0)
        return status;
    if (reply[0] != 0x02)
        return kBadOpcode;
    if (reply[2] != code)
        return kOtherCode;
    if (result)
        *result = reply[1];
    if (type)
        *type = reply[3];
    if (maximum)
        *maximum = reply[4] * 256u + reply[5];
    if (current)
        *current = reply[6] * 256u + reply[7];
    return 0;
}

int ddc_control::SetVCP(unsigned int code, unsigned int value)
{
    if (code > 0xFF)
        return kNotStandardCode;
    unsigned char payload[4] = {0x03, static_cast<unsigned char>(code),
                                static_cast<unsigned char>(value >> 8),
                                static_cast<unsigned char>(value & 0xFF)};
    return SendPacket(payload, 4, 50);
}

int ddc_control::SaveCurrentSettings()
{
    unsigned char payload[1] = {0x0C};
    return SendPacket(payload, 1, 200);
}

int ddc_control::GetTimingReport(unsigned char *status, float *horizontal, float *vertical)
{
    unsigned char payload[1] = {0x07};
    unsigned char reply[6];
    const int result = ExchangeExpectingLength(payload, 1, reply, 6);
    if (result != 0)
        return result;
    if (reply[0] != 0x4E)
        return kBadOpcode;
    if (status)
        *status = reply[1];
    if (horizontal)
        *horizontal = static_cast<float>(reply[2] * 256 + reply[3]) / 100.0f;
    if (vertical)
        *vertical = static_cast<float>(reply[4] * 256 + reply[5]) / 100.0f;
    return 0;
}

int ddc_control::GetApplicationTestReport(unsigned char *buffer, unsigned int size)
{
    unsigned char payload[1] = {0xB1};
    unsigned char reply[10];
    unsigned int length = 0;
    const int result = ExchangeRepeating(payload, 1, reply, 10, 2, &length);
    if (result != 0)
        return result;
    if (reply[0] != 0xA1)
        return kBadOpcode;
    const unsigned int reportLength = length - 1;
    if (buffer)
        std::memcpy(buffer, reply + 1, reportLength < size ? reportLength : size);
    return static_cast<int>(reportLength);
}

int ddc_control::ddcci_raw_capability_strings(unsigned int offset, unsigned char *reply,
                                              unsigned char maxLength)
{
    unsigned char payload[3] = {0xF3, static_cast<unsigned char>(offset >> 8),
                                static_cast<unsigned char>(offset & 0xFF)};
    unsigned int length = maxLength;
    const int result =
        SendPacketGetReply(payload, 3, reply, &length, true, kStandardDelay);
    return result != 0 ? result : static_cast<int>(length);
}

int ddc_control::GetCapabilityString(char *buffer, unsigned int size)
{
    // No room even for the terminating NUL.
    if (!buffer || size == 0)
        return kBufferTooSmall;
    unsigned int stored = 0;
    unsigned int offset = 0;
    int failures = 0;
    int result = 0;
    unsigned char reply[35];
    for (;;) {
        buffer[stored] = '\0';
        const int got = ddcci_raw_capability_strings(offset, reply, sizeof reply);
        int failure = 0;
        if (got < 0)
            failure = got;
        else if (got < 3)
            failure = kBadLength;
        else if (reply[0] != 0xE3 || reply[1] * 256u + reply[2] != (offset & 0xFFFF))
            failure = kBadOpcode;
        if (failure != 0) {
            result = failure;
            if (failures > m_retryLimit)
                break;
            ++failures;
            continue;
        }
        failures = 1;
        result = 0;
        const unsigned int stringBytes = static_cast<unsigned int>(got) - 3;
        if (stringBytes == 0)
            break;
        bool sawNul = false;
        for (unsigned int i = 0; i < stringBytes; ++i) {
            buffer[stored++] = static_cast<char>(reply[3 + i]);
            sawNul = sawNul || reply[3 + i] == 0;
            if (stored >= size) {
                // Keep the buffer a terminated string: the last byte gives
                // way to the NUL.
                buffer[size - 1] = '\0';
                return kBufferTooSmall;
            }
        }
        if (sawNul)
            break;
        offset += stringBytes;
    }
    buffer[stored] = '\0';
    return result != 0 ? result : static_cast<int>(stored);
}

int ddc_control::ReadEDID(unsigned char *buffer, bool check)
{
    const int opened = m_transport->open_port();
    if (opened != 0)
        return opened;
    int read = 0;
    for (int i = 0; i <= m_retryLimit; ++i) {
        read = m_transport->read_i2c_address(buffer, low_level_ddc::kEdidAddress, 0, kEdidBlock);
        if (read >= 1)
            break;
        Wait(50 + 200 * i);
    }
    int result = read;
    if (check && read >= 1) {
        const int block0 = checkEdidBlock0(buffer);
        result = block0;
        if (buffer[126] != 0) {
            int block1 = m_transport->read_i2c_address(buffer + kEdidBlock,
                                                       low_level_ddc::kEdidAddress,
                                                       static_cast<unsigned char>(kEdidBlock),
                                                       kEdidBlock);
            block1 = block1 < 1 ? block1 : edidBlockChecksum(buffer + kEdidBlock);
            if (block0 == 0)
                result = block1;
        } else {
            std::memset(buffer + kEdidBlock, 0, kEdidBlock);
        }
    }
    m_transport->close_port();
    return result;
}

int ddc_control::ProbePort(int flags, unsigned char *edidBuffer)
{
    if (flags == 0) {
        const int opened = m_transport->open_port();
        if (opened != 0)
            return opened;
        return m_transport->close_port();
    }
    if (flags & 1) {
        // A caller that only asks whether the EDID reads need not give a buffer.
        unsigned char scratch[2 * kEdidBlock];
        const int edid = ReadEDID(edidBuffer ? edidBuffer : scratch, true);
        if (edid != 0)
            return edid;
    }
    if (flags & 2) {
        unsigned int current = 0, maximum = 0;
        unsigned char result = 0, type = 0;
        return GetVCP(0x00, &current, &maximum, &result, &type);
    }
    return 0;
}
