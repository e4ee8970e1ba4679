#include "CDecompile_EDID.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr unsigned char kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr int kDescriptorSize = 18;
constexpr int kBaseDescriptorStarts[4] = {54, 72, 90, 108};
// CEA-861 extension: tag byte 2; the detailed timings begin at 128 + d,
// where d is byte 130 (4 is the first offset after the header).
constexpr unsigned char kCeaTag = 0x02;
constexpr int kCeaFirstDescriptor = 132;
// Last start at which the walk goes on to a following descriptor.
constexpr int kCeaLastFollowingStart = 235;
// Byte 255 is the extension's checksum; a descriptor must end before it.
constexpr int kCeaDescriptorEnd = 255;

bool blockSumsToZero(const unsigned char *block)
{
    unsigned int sum = 0;
    for (int i = 0; i < CDecompile_EDID::kBlockSize; ++i)
        sum += block[i];
    return (sum & 0xFF) == 0;
}

bool bit(unsigned char byte, int n) { return (byte >> n) & 1; }

// Truncates to int without leaving the int range (a cast of an
// out-of-range double is undefined).
int truncateToInt(double value)
{
    if (!(value == value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

CDecompile_EDID::CDecompile_EDID() { clear(); }

void CDecompile_EDID::clear()
{
    m_MaxVerticalResolution = 0;
    m_MaxHorizontalResolution = 0;
    std::memset(m_Manufacturer, 0, sizeof m_Manufacturer);
    m_ProductCodeLow = 0;
    m_ProductCodeHigh = 0;
    m_SerialNumber = 0;
    m_Week = 0;
    m_Year = 0;
    m_Version = 0;
    m_Revision = 0;
    m_DigitalInput = false;
    m_DFPCompatible = false;
    m_SignalLevel = 0;
    m_BlankToBlackSetup = m_SeparateSync = m_CompositeSync = m_SyncOnGreen = m_Serration = false;
    m_HorizontalSize = 0;
    m_VerticalSize = 0;
    m_Gamma = 0.0f;
    m_Standby = m_Suspend = m_ActiveOff = false;
    m_ContinuousFrequency = m_sRGBDefault = m_PreferredTimingMode = false;
    m_DisplayType = 0;
    m_RedX = m_RedY = m_GreenX = m_GreenY = m_BlueX = m_BlueY = m_WhiteX = m_WhiteY = 0.0f;
    std::fill(std::begin(m_EstablishedTimings), std::end(m_EstablishedTimings), false);
    std::fill(std::begin(m_StandardTimings), std::end(m_StandardTimings), standard());
    m_ExtensionCount = 0;
    std::fill(std::begin(m_Descriptors), std::end(m_Descriptors), detailed_block());
    std::memset(m_RangeLimits, 0, sizeof m_RangeLimits);
    std::memset(m_RangeLimitExtra, 0, sizeof m_RangeLimitExtra);
    m_MaxPixelClock = 0;
    m_PreferredHorizontal = 0;
    m_PreferredVertical = 0;
    std::memset(m_SerialText, 0, sizeof m_SerialText);
    std::memset(m_MonitorName, 0, sizeof m_MonitorName);
    std::memset(m_IdentityText, 0, sizeof m_IdentityText);
    m_VendorProductID = 0;
    m_DescriptorCount = 0;
}

int CDecompile_EDID::Decompile_EDID(const unsigned char *edid)
{
    if (!edid) {
        clear();
        return -1;
    }
    return decode(edid, edid[126] != 0 ? kBufferSize : kBlockSize);
}

int CDecompile_EDID::Decompile_EDID(const unsigned char *data, std::size_t length)
{
    if (!data || length < std::size_t(kBlockSize)) {
        clear();
        return -1;
    }
    return decode(data, length >= std::size_t(kBufferSize) ? kBufferSize : kBlockSize);
}

int CDecompile_EDID::Decompile_EDID(const QByteArray &data)
{
    return Decompile_EDID(reinterpret_cast<const unsigned char *>(data.constData()),
                          std::size_t(data.size()));
}

// size is 128 or 256: the bytes the caller really holds.
int CDecompile_EDID::decode(const unsigned char *edid, int size)
{
    clear();
    if (!blockSumsToZero(edid) || std::memcmp(edid, kHeader, sizeof kHeader) != 0)
        return -1;
    const bool haveExtension = edid[126] != 0 && size >= kBufferSize;
    if (haveExtension && !blockSumsToZero(edid + kBlockSize))
        return -1;

    decodeBaseFields(edid);
    if (haveExtension)
        decodeCeaDescriptors(edid);

    m_VendorProductID = (uint32_t(edid[9]) << 24) | (uint32_t(edid[8]) << 16)
                        | (uint32_t(edid[11]) << 8) | uint32_t(edid[10]);
    std::snprintf(m_IdentityText, sizeof m_IdentityText, "%c%c%c%04X", m_Manufacturer[0],
                  m_Manufacturer[1], m_Manufacturer[2],
                  unsigned(m_ProductCodeHigh) * 256u + m_ProductCodeLow);

    joinTexts(detailed_block::SerialNumber, m_SerialText);
    joinTexts(detailed_block::MonitorName, m_MonitorName);
    const bool hasSerialDescriptor =
        std::any_of(m_Descriptors, m_Descriptors + m_DescriptorCount,
                    [](const detailed_block &d) { return d.m_Type == detailed_block::SerialNumber; });
    if (!hasSerialDescriptor)
        std::snprintf(m_SerialText, sizeof m_SerialText, "%lu", (unsigned long)m_SerialNumber);

    find_max_resolution_from_EDID();
    find_preferred_timing_from_EDID(); // no preferred timing is not a failure
    return 0;
}

void CDecompile_EDID::decodeBaseFields(const unsigned char *edid)
{
    m_Manufacturer[0] = char(((edid[8] & 0x7C) >> 2) + 0x40);
    m_Manufacturer[1] = char((((edid[8] & 0x03) << 3) | (edid[9] >> 5)) + 0x40);
    m_Manufacturer[2] = char((edid[9] & 0x1F) + 0x40);
    m_ProductCodeLow = edid[10];
    m_ProductCodeHigh = edid[11];
    m_SerialNumber = uint32_t(edid[12]) | (uint32_t(edid[13]) << 8) | (uint32_t(edid[14]) << 16)
                     | (uint32_t(edid[15]) << 24);
    m_Week = edid[16];
    m_Year = int32_t(edid[17]) + 1990;
    m_Version = edid[18];
    m_Revision = edid[19];

    const unsigned char input = edid[20];
    m_DigitalInput = bit(input, 7);
    if (m_DigitalInput) {
        m_DFPCompatible = bit(input, 0);
    } else {
        m_SignalLevel = (input >> 5) & 0x03;
        m_BlankToBlackSetup = bit(input, 4);
        m_SeparateSync = bit(input, 3);
        m_CompositeSync = bit(input, 2);
        m_SyncOnGreen = bit(input, 1);
        m_Serration = bit(input, 0);
    }
    m_HorizontalSize = edid[21];
    m_VerticalSize = edid[22];
    m_Gamma = float(int(edid[23]) + 100) / 100.0f;

    const unsigned char features = edid[24];
    m_Standby = bit(features, 7);
    m_Suspend = bit(features, 6);
    m_ActiveOff = bit(features, 5);
    m_DisplayType = (features >> 3) & 0x03;
    m_sRGBDefault = bit(features, 2);
    m_PreferredTimingMode = bit(features, 1);
    m_ContinuousFrequency = bit(features, 0);

    // High 8 bits in bytes 27-34, low 2 bits packed into bytes 25 and 26.
    auto chroma = [&](int high, int lowByte, int shift) {
        return decompile_chroma((unsigned long)(edid[high] << 2) | ((edid[lowByte] >> shift) & 0x03));
    };
    m_RedX = chroma(27, 25, 6);
    m_RedY = chroma(28, 25, 4);
    m_GreenX = chroma(29, 25, 2);
    m_GreenY = chroma(30, 25, 0);
    m_BlueX = chroma(31, 26, 6);
    m_BlueY = chroma(32, 26, 4);
    m_WhiteX = chroma(33, 26, 2);
    m_WhiteY = chroma(34, 26, 0);

    for (int i = 0; i < kEstablishedTimings; ++i)
        m_EstablishedTimings[i] = bit(edid[35 + i / 8], 7 - i % 8);
    for (int i = 0; i < kStandardTimings; ++i)
        decode_standard_timing_block(edid + 38 + 2 * i, &m_StandardTimings[i]);
    m_ExtensionCount = edid[126];

    for (int start : kBaseDescriptorStarts)
        appendDescriptor(edid + start);
}

// Only descriptors lying wholly inside the extension block are decoded, so
// an offset byte that leaves no room yields none.
void CDecompile_EDID::decodeCeaDescriptors(const unsigned char *edid)
{
    const unsigned char *ext = edid + kBlockSize;
    if (ext[0] != kCeaTag)
        return;
    int start = kBlockSize + ext[2];
    if (start < kCeaFirstDescriptor)
        return;
    while (start + kDescriptorSize <= kCeaDescriptorEnd && m_DescriptorCount < kMaxDescriptors) {
        appendDescriptor(edid + start);
        start += kDescriptorSize;
        if (start > kCeaLastFollowingStart)
            break;
    }
}

void CDecompile_EDID::appendDescriptor(const unsigned char *bytes)
{
    if (m_DescriptorCount >= kMaxDescriptors)
        return;
    decode_detailed_timing_block(bytes, &m_Descriptors[m_DescriptorCount]);
    ++m_DescriptorCount;
}

void CDecompile_EDID::joinTexts(uint8_t type, char *out) const
{
    std::size_t used = 0;
    out[0] = '\0';
    for (int i = 0; i < m_DescriptorCount; ++i) {
        if (m_Descriptors[i].m_Type != type)
            continue;
        const char *text = m_Descriptors[i].m_Text;
        const std::size_t room = std::size_t(kTextSize - 1) - used;
        const std::size_t n = std::min(std::strlen(text), room);
        std::memcpy(out + used, text, n);
        used += n;
        out[used] = '\0';
    }
}

int CDecompile_EDID::decode_standard_timing_block(const unsigned char *bytes, standard *record)
{
    *record = standard();
    if (bytes[0] == 0x01 && bytes[1] == 0x01)
        return 0;
    record->m_Valid = true;
    record->m_Horizontal = int32_t(bytes[0]) * 8 + 248;
    record->m_Aspect = bytes[1] >> 6;
    record->m_Refresh = uint8_t((bytes[1] & 0x3F) + 60);
    return 0;
}

int CDecompile_EDID::decode_detailed_timing_block(const unsigned char *b, detailed_block *record)
{
    *record = detailed_block();
    if (b[0] != 0 || b[1] != 0 || b[2] != 0) {
        record->m_Type = detailed_block::DetailedTiming;
        record->m_PixelClock = float(int(b[1]) * 256 + b[0]) / 100.0f;
        record->m_HorizontalActive = b[2] | ((b[4] & 0xF0) << 4);
        record->m_HorizontalBlanking = b[3] | ((b[4] & 0x0F) << 8);
        record->m_VerticalActive = b[5] | ((b[7] & 0xF0) << 4);
        record->m_VerticalBlanking = b[6] | ((b[7] & 0x0F) << 8);
        record->m_HorizontalSyncOffset = b[8] | ((b[11] & 0xC0) << 2);
        record->m_HorizontalSyncWidth = b[9] | ((b[11] & 0x30) << 4);
        record->m_VerticalSyncOffset = (b[10] >> 4) | ((b[11] & 0x0C) << 2);
        record->m_VerticalSyncWidth = (b[10] & 0x0F) | ((b[11] & 0x03) << 4);
        record->m_HorizontalImageSize = b[12] | ((b[14] & 0xF0) << 4);
        record->m_VerticalImageSize = b[13] | ((b[14] & 0x0F) << 8);
        record->m_HorizontalBorder = b[15];
        record->m_VerticalBorder = b[16];
        record->m_Interlaced = bit(b[17], 7);
        record->m_StereoMode = (b[17] >> 5) & 0x03;
        record->m_SyncType = (b[17] >> 3) & 0x03;
        record->m_SyncBit1 = bit(b[17], 1);
        record->m_SyncBit2 = bit(b[17], 2);
        return 0;
    }

    switch (b[3]) {
    case 0xFF: record->m_Type = detailed_block::SerialNumber; break;
    case 0xFE: record->m_Type = detailed_block::AlphanumericData; break;
    case 0xFD: record->m_Type = detailed_block::RangeLimits; break;
    case 0xFC: record->m_Type = detailed_block::MonitorName; break;
    case 0xFB: record->m_Type = detailed_block::ColorPoint; break;
    case 0xFA: record->m_Type = detailed_block::StandardTimingIds; break;
    default: record->m_Type = detailed_block::Other; break;
    }

    switch (record->m_Type) {
    case detailed_block::SerialNumber:
    case detailed_block::AlphanumericData:
    case detailed_block::MonitorName:
        // A line feed ends the text; the padding after it is dropped.
        for (int i = 0; i < 13; ++i)
            record->m_Text[i] = b[5 + i] == 0x0A ? '\0' : char(b[5 + i]);
        record->m_Text[13] = '\0';
        break;
    case detailed_block::RangeLimits:
        std::memcpy(m_RangeLimits, b + 5, sizeof m_RangeLimits);
        m_MaxPixelClock = b[9] == 0xFF ? 0 : int32_t(b[9]) * 10;
        std::memcpy(m_RangeLimitExtra, b + 10, sizeof m_RangeLimitExtra);
        break;
    default:
        break;
    }
    return 0;
}

int CDecompile_EDID::StandardTimingLines(const standard &timing) const
{
    const int h = timing.m_Horizontal;
    switch (timing.m_Aspect) {
    case 1: return 3 * h / 4;
    case 2: return 4 * h / 5;
    case 3: return 9 * h / 16;
    default: {
        // Code 0 meant 1:1 until EDID 1.3, 16:10 since.
        const bool since13 = m_Version > 1 || (m_Version == 1 && m_Revision >= 3);
        return since13 ? 10 * h / 16 : h;
    }
    }
}

int CDecompile_EDID::find_max_resolution_from_EDID()
{
    uint32_t maxH = 0;
    uint32_t maxV = 0;
    auto take = [&](long h, long v) {
        maxH = std::max<uint32_t>(maxH, uint32_t(std::max(0L, h)));
        maxV = std::max<uint32_t>(maxV, uint32_t(std::max(0L, v)));
    };

    // Established timings, by their index (byte 35 bit 7 is index 0).
    struct Established { int first, last, h, v; };
    static constexpr Established kEstablished[] = {
        {0, 1, 720, 400},    // byte 35 bits 7-6
        {2, 5, 640, 480},    // byte 35 bits 5-2
        {6, 9, 800, 600},    // byte 35 bits 1-0, byte 36 bits 7-6
        {10, 10, 832, 624},  // byte 36 bit 5
        {11, 14, 1024, 768}, // byte 36 bits 4-1
        {15, 15, 1280, 1024},// byte 36 bit 0
        {16, 16, 1152, 870}, // byte 37 bit 7
    };
    for (const Established &e : kEstablished)
        for (int i = e.first; i <= e.last; ++i)
            if (m_EstablishedTimings[i])
                take(e.h, e.v);

    for (const standard &s : m_StandardTimings)
        if (s.m_Valid)
            take(s.m_Horizontal, StandardTimingLines(s));

    for (int i = 0; i < m_DescriptorCount; ++i)
        if (m_Descriptors[i].m_Type == detailed_block::DetailedTiming)
            take(m_Descriptors[i].m_HorizontalActive, m_Descriptors[i].m_VerticalActive);

    m_MaxHorizontalResolution = maxH;
    m_MaxVerticalResolution = maxV;
    return 0;
}

int CDecompile_EDID::find_preferred_timing_from_EDID()
{
    m_PreferredHorizontal = 0;
    m_PreferredVertical = 0;
    if (!m_PreferredTimingMode)
        return -1;
    for (int i = 0; i < m_DescriptorCount; ++i) {
        if (m_Descriptors[i].m_Type == detailed_block::DetailedTiming) {
            m_PreferredHorizontal = m_Descriptors[i].m_HorizontalActive;
            m_PreferredVertical = m_Descriptors[i].m_VerticalActive;
            return 0;
        }
    }
    return -1;
}

float CDecompile_EDID::decompile_chroma(unsigned long tenBitValue)
{
    // Bit 9 is one half, bit 0 one 1024th: the sum is exact in a float.
    float value = 0.0f;
    float weight = 0.5f;
    for (int b = 9; b >= 0; --b, weight *= 0.5f)
        if ((tenBitValue >> b) & 1u)
            value += weight;
    return value;
}

int CDecompile_EDID::calc_hfreq(int active, int blanking, float pixelClockMHz)
{
    const long long total = (long long)active + blanking;
    if (total == 0)
        return 0;
    return truncateToInt(double(pixelClockMHz) * 1000000.0 / double(total));
}

int CDecompile_EDID::calc_vfreq(int active, int blanking, float rate)
{
    const long long total = (long long)active + blanking;
    if (total == 0)
        return 0;
    return truncateToInt(double(rate) * 10.0 / double(total));
}
