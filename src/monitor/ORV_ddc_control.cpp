#include "ORV_ddc_control.h"

#include "low_level_ddc.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kBadLength = -24;
constexpr int kOtherCode = -25;
constexpr int kBadOpcode = -26;
constexpr int kTooLong = -28;
constexpr int kNotStandardCode = -29;
constexpr int kTooManyValues = -31;
constexpr int kVerifyFailed = -32;
constexpr int kBadAsset = -40;

constexpr unsigned char kMaker = 0xC0;
constexpr unsigned char kTable = 0xC2;
constexpr unsigned char kPagedGet = 0xC6;
constexpr unsigned char kPagedSet = 0xC8;
constexpr unsigned char kPagedReply = 0xC7;
constexpr unsigned int kPagedReplyLength = 9;
// Table sub-commands of the gamma table and the theoretical curve chunks.
constexpr unsigned char kGammaRead = 0x04;
constexpr unsigned char kGammaWrite = 0x05;
constexpr unsigned char kCurveRead = 0x0A;
constexpr unsigned char kCurveWrite = 0x0B;
constexpr int kLatePolls = 17;

unsigned char hi(unsigned int v) { return ORV_ddc_control::HighByte(v); }
unsigned char lo(unsigned int v) { return ORV_ddc_control::LowByte(v); }

bool allowedNameCharacter(char c)
{
    return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0x2B && c <= 0x3A);
}

void storePagedReply(const unsigned char *reply, unsigned int *current, unsigned int *maximum,
                     unsigned char *result, unsigned char *type)
{
    if (result)
        *result = reply[1];
    if (type)
        *type = reply[4];
    if (maximum)
        *maximum = reply[5] * 256u + reply[6];
    if (current)
        *current = reply[7] * 256u + reply[8];
}

// Classifies a paged VCP reply: 0 when it answers page/code, else its code.
int checkPagedReply(const unsigned char *reply, unsigned int length, unsigned int page,
                    unsigned int code)
{
    if (length != kPagedReplyLength)
        return kBadLength;
    if (reply[0] != kPagedReply)
        return kBadOpcode;
    if (reply[2] != page || reply[3] != code)
        return kOtherCode;
    return 0;
}
} // namespace

ORV_ddc_control::~ORV_ddc_control() = default;

// ---- VCP -------------------------------------------------------------------

int ORV_ddc_control::GetVCP(unsigned int code, unsigned int *current, unsigned int *maximum,
                            unsigned char *result, unsigned char *type)
{
    if (code >= 256)
        return GetPagedVCP((code >> 8) & 0xFF, code & 0xFF, current, maximum, result, type);
    return ddc_control::GetVCP(code, current, maximum, result, type);
}

int ORV_ddc_control::SetVCP(unsigned int code, unsigned int value)
{
    if (code >= 256) {
        unsigned int maximum = 0;
        unsigned char result = 0, type = 0;
        return SetPagedVCP((code >> 8) & 0xFF, code & 0xFF, &value, &maximum, &result, &type);
    }
    return ddc_control::SetVCP(code, value);
}

int ORV_ddc_control::GetVCPPage(unsigned char *first, unsigned char *second)
{
    unsigned char payload[1] = {0xC4};
    unsigned char reply[3];
    const int status = Command(payload, 1, reply, 3, 0xC5, -1);
    if (status != 0)
        return status;
    if (second)
        *second = reply[1];
    if (first)
        *first = reply[2];
    return 0;
}

int ORV_ddc_control::GetPagedVCP(unsigned int page, unsigned int code, unsigned int *current,
                                 unsigned int *maximum, unsigned char *result,
                                 unsigned char *type)
{
    if (page > 0xFF || code > 0xFF)
        return kNotStandardCode;
    unsigned char payload[3] = {kPagedGet, lo(page), lo(code)};
    int status = kBadLength;
    for (int i = 0; i <= retry_limit(); ++i) {
        if (i >= 1)
            Wait(200 + 100 * i);
        unsigned char reply[kPagedReplyLength];
        unsigned int length = kPagedReplyLength;
        const int sent = SendPacketGetReply(payload, 3, reply, &length, true, kStandardDelay);
        if (sent != 0)
            return sent;
        status = checkPagedReply(reply, length, page, code);
        if (status == kBadOpcode)
            return status;
        if (status == 0) {
            storePagedReply(reply, current, maximum, result, type);
            return 0;
        }
    }
    return status;
}

int ORV_ddc_control::GetPagedVCP(unsigned int code16, unsigned int *current,
                                 unsigned int *maximum, unsigned char *result,
                                 unsigned char *type)
{
    // A code above 0xFFFF gives a page above 255, which the paged form refuses.
    return GetPagedVCP(code16 >> 8, code16 & 0xFF, current, maximum, result, type);
}

int ORV_ddc_control::SetPagedVCP(unsigned int page, unsigned int code, unsigned int *value,
                                 unsigned int *maximum, unsigned char *result,
                                 unsigned char *type)
{
    if (page > 0xFF || code > 0xFF)
        return kNotStandardCode;
    if (!value)
        return kBadLength;
    unsigned char payload[5] = {kPagedSet, lo(page), lo(code), hi(*value), lo(*value)};
    // The monitor may answer a set with a null message while it works on
    // it; the real reply is then read later without sending the set again.
    const int polls = retry_limit() == 0 ? 1 : kLatePolls;
    int status = kBadLength;
    for (int i = 0; i <= retry_limit(); ++i) {
        if (i >= 1)
            Wait(500 + 200 * i);
        unsigned char reply[kPagedReplyLength];
        unsigned int length = kPagedReplyLength;
        const int sent = SendPacketGetReply(payload, 5, reply, &length, false, kStandardDelay);
        if (sent != 0)
            return sent;
        if (length == kPagedReplyLength) {
            status = checkPagedReply(reply, length, page, code);
            if (status == kBadOpcode)
                return status;
        } else if (length == 0) {
            for (int poll = 0; poll < polls; ++poll) {
                Wait(100);
                unsigned int late = kPagedReplyLength;
                const int got = GetReplyOnly(reply, &late, 50);
                status = got != 0 ? got : checkPagedReply(reply, late, page, code);
                if (status == 0)
                    break;
            }
        } else {
            status = kBadLength;
        }
        if (status == 0) {
            storePagedReply(reply, value, maximum, result, type);
            return 0;
        }
    }
    return status;
}

int ORV_ddc_control::SetPagedVCP(unsigned int code16, unsigned int *value,
                                 unsigned int *maximum, unsigned char *result,
                                 unsigned char *type)
{
    return SetPagedVCP(code16 >> 8, code16 & 0xFF, value, maximum, result, type);
}

// ---- reply checks ------------------------------------------------------------

namespace {
int checkReplyHeader(const unsigned char *reply, unsigned char replyOpcode, int subCommand)
{
    if (reply[0] != replyOpcode)
        return kBadOpcode;
    if (subCommand >= 0 && reply[1] != subCommand)
        return kBadOpcode;
    return 0;
}
} // namespace

int ORV_ddc_control::Command(unsigned char *payload, unsigned int n, unsigned char *reply,
                             unsigned int expectedLength, unsigned char replyOpcode,
                             int subCommand)
{
    const int status = ExchangeExpectingLength(payload, n, reply, expectedLength);
    return status != 0 ? status : checkReplyHeader(reply, replyOpcode, subCommand);
}

int ORV_ddc_control::CommandOnce(unsigned char *payload, unsigned int n, unsigned char *reply,
                                 unsigned int expectedLength, unsigned char replyOpcode,
                                 int subCommand)
{
    const int status = ExchangeOnce(payload, n, reply, expectedLength);
    return status != 0 ? status : checkReplyHeader(reply, replyOpcode, subCommand);
}

int ORV_ddc_control::ReadBlock(unsigned char *request, unsigned int requestLength,
                               unsigned char *out, unsigned int dataBytes)
{
    unsigned char reply[kMaxPayload];
    if (requestLength < 2 || dataBytes + 2 > sizeof reply)
        return kTooLong;
    const int status = Command(request, requestLength, reply, dataBytes + 2,
                               static_cast<unsigned char>(request[0] + 1), request[1]);
    if (status == 0)
        std::memcpy(out, reply + 2, dataBytes);
    return status;
}

int ORV_ddc_control::WriteBlock(const unsigned char *header, unsigned int headerLength,
                                const unsigned char *data, unsigned int dataBytes,
                                unsigned int waitAfter)
{
    unsigned char payload[kMaxPayload];
    if (headerLength + dataBytes > sizeof payload)
        return kTooLong;
    std::memcpy(payload, header, headerLength);
    if (dataBytes > 0)
        std::memcpy(payload + headerLength, data, dataBytes);
    return SendPacket(payload, headerLength + dataBytes, waitAfter);
}

int ORV_ddc_control::ChunkCountError(unsigned int count, unsigned int maxCount)
{
    if (count > maxCount)
        return kTooManyValues;
    return count == 0 ? kBadLength : 0;
}

// ---- maker commands ------------------------------------------------------------

int ORV_ddc_control::GetCurrentModeNumber(unsigned char *mode)
{
    unsigned char payload[2] = {kMaker, 0x14};
    unsigned char reply[3];
    const int status = Command(payload, 2, reply, 3, 0xC1, 0x14);
    if (status == 0 && mode)
        *mode = reply[2];
    return status;
}

int ORV_ddc_control::saveSettings(unsigned char subCommand, unsigned char *status)
{
    unsigned char payload[2] = {kMaker, subCommand};
    unsigned char reply[3];
    const int result = CommandOnce(payload, 2, reply, 3, 0xC1, subCommand);
    if (result == 0 && status)
        *status = reply[2];
    return result;
}

int ORV_ddc_control::SaveTimingSettings(unsigned char *status, unsigned int)
{
    return saveSettings(0x06, status);
}

int ORV_ddc_control::SaveCommonSettings(unsigned char *status, unsigned int)
{
    return saveSettings(0x05, status);
}

int ORV_ddc_control::raw_get_asset_string_block(unsigned int offset, unsigned char *reply,
                                                unsigned char n)
{
    if (n == 0 || n > kAssetBlock)
        return kBadAsset;
    low_level_ddc *link = transport();
    const int opened = link->open_port();
    if (opened != 0)
        return opened;
    unsigned char payload[4] = {kMaker, 0x0B, lo(offset), n};
    int result = link->ddcci_write(payload, 4);
    if (result >= 0) {
        Wait(40);
        result = link->ddcci_read(reply, static_cast<unsigned char>(n + 3));
    }
    link->close_port();
    return result;
}

int ORV_ddc_control::raw_set_asset_string_block(unsigned char offset, char *data,
                                                unsigned char n)
{
    if (n == 0 || n > kAssetBlock)
        return kBadAsset;
    const unsigned char header[3] = {kMaker, 0x0E, offset};
    return WriteBlock(header, 3, reinterpret_cast<const unsigned char *>(data), n);
}

int ORV_ddc_control::GetAssetString(char *buffer, unsigned int size)
{
    if (!buffer || size == 0)
        return kBadAsset;
    unsigned int stored = 0;
    unsigned int offset = 0;
    bool askedBefore = false;
    int triesLeft = retry_limit() + 1;
    int result = 0;
    unsigned char reply[kAssetBlock + 3];
    // Offsets travel as one byte: the string cannot reach past 256 bytes,
    // and asking at offset 256 would read offset 0 again.
    while (offset < kMaxAssetLength) {
        buffer[stored] = '\0';
        const int got = raw_get_asset_string_block(offset, reply, kAssetBlock);
        int failure = 0;
        if (got == 0) {
            if (askedBefore) {
                result = 0;
                break;
            }
            failure = kBadLength;
        } else if (got < 0) {
            failure = got;
        } else if (got < 3) {
            failure = kBadLength;
        } else if (reply[0] != 0xC1 || reply[1] != 0x0B) {
            failure = kBadOpcode;
        }
        askedBefore = true;
        if (failure != 0) {
            result = failure;
            if (--triesLeft <= 0)
                break;
            continue;
        }
        result = 0;
        const unsigned int dataBytes = static_cast<unsigned int>(got) - 2;
        for (unsigned int i = 0; i < dataBytes; ++i) {
            buffer[stored++] = static_cast<char>(reply[2 + i]);
            if (stored >= size) {
                buffer[size - 1] = '\0';
                return kBadAsset;
            }
        }
        offset += dataBytes;
        triesLeft = retry_limit();
        if (triesLeft < 1)
            triesLeft = 1;
    }
    buffer[stored] = '\0';
    return result != 0 ? result : static_cast<int>(stored);
}

int ORV_ddc_control::SetAssetString(char *text, unsigned int length)
{
    // Offsets travel as one byte; a longer text would wrap onto offset 0.
    if (length > kMaxAssetLength || (length > 0 && !text))
        return kBadAsset;
    int result = 0;
    for (unsigned int offset = 0; offset < length; offset += kAssetBlock) {
        // Every block carries 32 bytes; the last one is padded here rather
        // than read past the end of the caller's text.
        char block[kAssetBlock] = {};
        const unsigned int take = length - offset < kAssetBlock ? length - offset : kAssetBlock;
        std::memcpy(block, text + offset, take);
        result = raw_set_asset_string_block(static_cast<unsigned char>(offset), block,
                                            kAssetBlock);
        if (result != 0)
            break;
    }
    return result;
}

// ---- table commands ------------------------------------------------------------

int ORV_ddc_control::SetPowerManagement(unsigned char mode)
{
    unsigned char payload[5] = {kTable, 0x03, 0xD6, 0x00, mode};
    return SendPacket(payload, 5, 50);
}

int ORV_ddc_control::readRawChunk(unsigned char subCommand, unsigned char *out,
                                  unsigned int offset, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxTableChunk))
        return bad;
    unsigned char request[5] = {kTable, subCommand, hi(offset), lo(offset),
                                static_cast<unsigned char>(count)};
    return ReadBlock(request, 5, out, 2 * count);
}

int ORV_ddc_control::writeRawChunk(unsigned char subCommand, unsigned char *data,
                                   unsigned int offset, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxTableChunk))
        return bad;
    const unsigned char header[4] = {kTable, subCommand, hi(offset), lo(offset)};
    return WriteBlock(header, 4, data, 2 * count);
}

int ORV_ddc_control::gamma_table_read_raw__chunk(unsigned char *out, unsigned int offset,
                                                 unsigned int count)
{
    return readRawChunk(kGammaRead, out, offset, count);
}

int ORV_ddc_control::gamma_table_write_raw__chunk(unsigned char *data, unsigned int offset,
                                                  unsigned int count)
{
    return writeRawChunk(kGammaWrite, data, offset, count);
}

int ORV_ddc_control::theoretical_curve_read_raw_chunk(unsigned char *out, unsigned int offset,
                                                      unsigned int count)
{
    return readRawChunk(kCurveRead, out, offset, count);
}

int ORV_ddc_control::theoretical_curve_write_raw_chunk(unsigned char *data,
                                                       unsigned int offset,
                                                       unsigned int count)
{
    return writeRawChunk(kCurveWrite, data, offset, count);
}

int ORV_ddc_control::readValueChunk(unsigned char subCommand, unsigned int *values,
                                    unsigned int offset, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxTableChunk))
        return bad;
    unsigned char raw[2 * kMaxTableChunk];
    const int status = readRawChunk(subCommand, raw, offset, count);
    if (status != 0)
        return status;
    for (unsigned int i = 0; i < count; ++i)
        values[i] = raw[2 * i] * 256u + raw[2 * i + 1];
    return 0;
}

int ORV_ddc_control::writeValueChunk(unsigned char subCommand, unsigned int *values,
                                     unsigned int offset, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxTableChunk))
        return bad;
    unsigned char raw[2 * kMaxTableChunk];
    for (unsigned int i = 0; i < count; ++i) {
        raw[2 * i] = hi(values[i]);
        raw[2 * i + 1] = lo(values[i]);
    }
    return writeRawChunk(subCommand, raw, offset, count);
}

int ORV_ddc_control::GammaTableReadChunk(unsigned int *values, unsigned int offset,
                                         unsigned int count)
{
    return readValueChunk(kGammaRead, values, offset, count);
}

int ORV_ddc_control::GammaTableWriteChunk(unsigned int *values, unsigned int offset,
                                          unsigned int count)
{
    return writeValueChunk(kGammaWrite, values, offset, count);
}

int ORV_ddc_control::TheoreticalCurveReadChunk(unsigned int *values, unsigned int offset,
                                               unsigned int count)
{
    return readValueChunk(kCurveRead, values, offset, count);
}

int ORV_ddc_control::TheoreticalCurveWriteChunk(unsigned int *values, unsigned int offset,
                                                unsigned int count)
{
    return writeValueChunk(kCurveWrite, values, offset, count);
}

int ORV_ddc_control::writeChunkVerified(Table table, unsigned int *values, unsigned int offset,
                                        unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxTableChunk))
        return bad;
    const bool curve = table == Table::TheoreticalCurve;
    const int tries = curve ? kCurveVerifyTries : retry_limit() + 1;
    const unsigned char writeSub = curve ? kCurveWrite : kGammaWrite;
    const unsigned char readSub = curve ? kCurveRead : kGammaRead;
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (curve && attempt > 0)
            Wait(kCurveVerifyWait);
        const int written = writeValueChunk(writeSub, values, offset, count);
        if (written != 0)
            return written;
        unsigned int readBack[kMaxTableChunk];
        if (readValueChunk(readSub, readBack, offset, count) != 0)
            continue;
        bool same = true;
        for (unsigned int i = 0; i < count && same; ++i)
            same = readBack[i] == values[i];
        if (same)
            return 0;
    }
    return kVerifyFailed;
}

int ORV_ddc_control::GammaTableWriteChunkVerifyAndRetry(unsigned int *values,
                                                        unsigned int offset,
                                                        unsigned int count)
{
    return writeChunkVerified(Table::Gamma, values, offset, count);
}

int ORV_ddc_control::TheoreticalCurveWriteChunkVerifyAndRetry(unsigned int *values,
                                                              unsigned int offset,
                                                              unsigned int count)
{
    return writeChunkVerified(Table::TheoreticalCurve, values, offset, count);
}

int ORV_ddc_control::WriteChannelTableVerified(Table table,
                                               const std::vector<unsigned int> &values,
                                               const std::vector<unsigned int> &channelOffsets,
                                               unsigned int chunk,
                                               const std::function<void()> &chunkDone)
{
    const size_t channels = channelOffsets.size();
    if (channels == 0 || values.size() % channels != 0 || chunk == 0 ||
        chunk > kMaxTableChunk)
        return kTooManyValues;
    const size_t perChannel = values.size() / channels;
    for (unsigned int base : channelOffsets)
        if (base + perChannel > 0x10000)
            return kTooManyValues;
    // Entries travel as 16 bits: a larger one is sent, and verified, as
    // 0xFFFF rather than wrapped into a value that can never read back equal.
    std::vector<unsigned int> work(values);
    for (unsigned int &v : work)
        v = std::min(v, 0xFFFFu);
    for (size_t ch = 0; ch < channels; ++ch) {
        for (size_t off = 0; off < perChannel; off += chunk) {
            const unsigned int count =
                static_cast<unsigned int>(perChannel - off < chunk ? perChannel - off : chunk);
            const int status =
                writeChunkVerified(table, work.data() + ch * perChannel + off,
                                   channelOffsets[ch] + static_cast<unsigned int>(off), count);
            if (status != 0)
                return status;
            if (chunkDone)
                chunkDone();
        }
    }
    return 0;
}

int ORV_ddc_control::sendTableCommand(unsigned char subCommand, unsigned int waitAfter)
{
    const unsigned char header[2] = {kTable, subCommand};
    return WriteBlock(header, 2, nullptr, 0, waitAfter);
}

int ORV_ddc_control::RefreshGammaTable() { return sendTableCommand(0x06, 50); }
int ORV_ddc_control::SaveGammaTable() { return sendTableCommand(0x07, 200); }
int ORV_ddc_control::InitGammaTable() { return sendTableCommand(0x08, 50); }
int ORV_ddc_control::ResetGammaTable() { return sendTableCommand(0x09, 50); }

// ---- clock and schedules ------------------------------------------------------

namespace {
void putClockItems(const date_time &c, unsigned char *out)
{
    out[0] = lo(c.item1);
    out[1] = c.item2;
    out[2] = c.item3;
    out[3] = c.item4;
    out[4] = c.item5;
    out[5] = c.item6;
    out[6] = c.item7 ? 1 : 0;
}

void takeClockItems(const unsigned char *in, date_time &c)
{
    c.item1 = in[0];
    c.item2 = in[1];
    c.item3 = in[2];
    c.item4 = in[3];
    c.item5 = in[4];
    c.item6 = in[5];
    c.item7 = in[6] != 0;
}

void putScheduleItems(const schedule &s, unsigned char *out)
{
    out[0] = lo(s.item1);
    out[1] = s.item2;
    out[2] = lo(s.item3);
    out[3] = s.item4;
    out[4] = s.item5;
    out[5] = s.item6;
    out[6] = s.item7;
}

void takeScheduleItems(const unsigned char *in, schedule &s)
{
    s.item1 = in[0];
    s.item2 = in[1];
    s.item3 = in[2];
    s.item4 = in[3];
    s.item5 = in[4];
    s.item6 = in[5];
    s.item7 = in[6];
}
} // namespace

int ORV_ddc_control::GetDateTime(date_time *clock)
{
    unsigned char payload[2] = {kTable, 0x11};
    unsigned char reply[9];
    const int status = CommandOnce(payload, 2, reply, 9, 0xC3, 0x11);
    if (status == 0 && clock)
        takeClockItems(reply + 2, *clock);
    return status;
}

int ORV_ddc_control::SetDateTime(date_time *clock)
{
    if (!clock)
        return kBadLength;
    unsigned char payload[9] = {kTable, 0x12};
    putClockItems(*clock, payload + 2);
    unsigned char reply[10];
    const int status = CommandOnce(payload, 9, reply, 10, 0xC3, 0x12);
    if (status == 0) {
        clock->status = reply[2];
        takeClockItems(reply + 3, *clock);
    }
    return status;
}

int ORV_ddc_control::GetSchedule(unsigned int *index, schedule *item)
{
    if (!index || !item)
        return kBadLength;
    unsigned char payload[3] = {kTable, 0x13, lo(*index)};
    unsigned char reply[10];
    const int status = CommandOnce(payload, 3, reply, 10, 0xC3, 0x13);
    if (status == 0) {
        *index = reply[2];
        takeScheduleItems(reply + 3, *item);
    }
    return status;
}

int ORV_ddc_control::SetSchedule(unsigned int *index, schedule *item)
{
    if (!index || !item)
        return kBadLength;
    unsigned char payload[10] = {kTable, 0x14, lo(*index)};
    putScheduleItems(*item, payload + 3);
    unsigned char reply[11];
    const int status = CommandOnce(payload, 10, reply, 11, 0xC3, 0x14);
    if (status == 0) {
        item->status = reply[2];
        *index = reply[3];
        takeScheduleItems(reply + 4, *item);
    }
    return status;
}

int ORV_ddc_control::SetScheduleEnable(unsigned int *index, unsigned int *enable,
                                       unsigned int *status)
{
    if (!index || !enable)
        return kBadLength;
    unsigned char payload[4] = {kTable, 0x15, lo(*index), lo(*enable)};
    unsigned char reply[5];
    const int result = CommandOnce(payload, 4, reply, 5, 0xC3, 0x15);
    if (result == 0) {
        if (status)
            *status = reply[2];
        *index = reply[4];
    }
    return result;
}

// ---- 3D LUT ----------------------------------------------------------------------

int ORV_ddc_control::ThreeD_LUT_read_chunk(ThreeD_LUT_Point *points, unsigned int r,
                                           unsigned int g, unsigned int b, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxLutChunk))
        return bad;
    unsigned char request[6] = {kTable, 0x24, lo(r), lo(g), lo(b),
                                static_cast<unsigned char>(count)};
    unsigned char raw[6 * kMaxLutChunk];
    const int status = ReadBlock(request, 6, raw, 6 * count);
    if (status != 0)
        return status;
    for (unsigned int i = 0; i < count; ++i) {
        const unsigned char *p = raw + 6 * i;
        points[i].R = p[0] * 256u + p[1];
        points[i].G = p[2] * 256u + p[3];
        points[i].B = p[4] * 256u + p[5];
    }
    return 0;
}

int ORV_ddc_control::ThreeD_LUT_write_chunk(ThreeD_LUT_Point *points, unsigned int r,
                                            unsigned int g, unsigned int b, unsigned int count)
{
    if (const int bad = ChunkCountError(count, kMaxLutChunk))
        return bad;
    unsigned char payload[5 + 6 * kMaxLutChunk] = {kTable, 0x25, lo(r), lo(g), lo(b)};
    for (unsigned int i = 0; i < count; ++i) {
        unsigned char *p = payload + 5 + 6 * i;
        p[0] = hi(points[i].R);
        p[1] = lo(points[i].R);
        p[2] = hi(points[i].G);
        p[3] = lo(points[i].G);
        p[4] = hi(points[i].B);
        p[5] = lo(points[i].B);
    }
    unsigned char reply[5];
    const int status = Command(payload, 5 + 6 * count, reply, 5, 0xC3, 0x25);
    if (status != 0)
        return status;
    return std::memcmp(reply + 2, payload + 2, 3) == 0 ? 0 : kBadOpcode;
}

// ---- picture-mode names ------------------------------------------------------------

int ORV_ddc_control::get_picture_mode_programmable_name(unsigned char mode, char *name)
{
    unsigned char payload[3] = {kTable, 0x26, mode};
    unsigned char reply[2 + kModeNameLength];
    const int status = Command(payload, 3, reply, 2 + kModeNameLength, 0xC3, 0x26);
    if (status == 0 && name) {
        std::memcpy(name, reply + 2, kModeNameLength);
        name[kModeNameLength] = '\0';
    }
    return status;
}

int ORV_ddc_control::set_picture_mode_programmable_name(unsigned char mode, char *name)
{
    unsigned char payload[3 + kModeNameLength] = {kTable, 0x27, mode};
    bool ended = !name;
    for (unsigned int i = 0; i < kModeNameLength; ++i) {
        // A shorter name ends at its NUL; nothing past it is read.
        ended = ended || name[i] == '\0';
        const char c = ended ? ' ' : name[i];
        payload[3 + i] = static_cast<unsigned char>(allowedNameCharacter(c) ? c : ' ');
    }
    unsigned char reply[3];
    const int status = Command(payload, 3 + kModeNameLength, reply, 3, 0xC3, 0x27);
    if (status != 0)
        return status;
    return reply[2] == mode ? 0 : kBadOpcode;
}

int ORV_ddc_control::GetSerialNumber(char *) { return 0; }
int ORV_ddc_control::GetModelName(char *) { return 0; }
int ORV_ddc_control::GetSelfDiagnosis(char *, unsigned int *) { return 0; }
