#pragma once
// Decodes a display's EDID (the 128-byte base block of version 1.x, plus the
// first extension block when it is a CEA-861 block) into plain fields that
// the monitor object and the monitor lists read directly: the identity that
// recognises supported models, the monitor name and serial shown to the
// user, the chromaticities, the physical size and the resolutions.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// One standard timing slot: two bytes of the base block.
struct standard {
    bool m_Valid = false;
    int32_t m_Horizontal = 0;
    // 0 = 16:10 (1:1 before EDID 1.3), 1 = 4:3, 2 = 5:4, 3 = 16:9.
    uint8_t m_Aspect = 0;
    uint8_t m_Refresh = 0; // Hz
};

// One 18-byte descriptor: a detailed timing or a display descriptor.
struct detailed_block {
    enum Type : uint8_t {
        DetailedTiming = 0,
        SerialNumber = 1,   // tag 0xFF
        AlphanumericData = 2, // tag 0xFE
        RangeLimits = 3,    // tag 0xFD
        MonitorName = 4,    // tag 0xFC
        ColorPoint = 5,     // tag 0xFB
        StandardTimingIds = 6, // tag 0xFA
        Other = 7
    };

    uint8_t m_Type = DetailedTiming;
    char m_Text[14] = {}; // descriptor bytes 5-17, a line feed ends the text
    float m_PixelClock = 0.0f; // MHz
    int32_t m_HorizontalActive = 0;
    int32_t m_HorizontalBlanking = 0;
    int32_t m_VerticalActive = 0;
    int32_t m_VerticalBlanking = 0;
    int32_t m_HorizontalSyncOffset = 0;
    int32_t m_HorizontalSyncWidth = 0;
    int32_t m_VerticalSyncOffset = 0;
    int32_t m_VerticalSyncWidth = 0;
    int32_t m_HorizontalImageSize = 0; // mm
    int32_t m_VerticalImageSize = 0;   // mm
    uint8_t m_HorizontalBorder = 0;
    uint8_t m_VerticalBorder = 0;
    bool m_Interlaced = false;
    uint8_t m_StereoMode = 0;
    uint8_t m_SyncType = 0;
    bool m_SyncBit1 = false; // byte 17 bit 1
    bool m_SyncBit2 = false; // byte 17 bit 2
};

class CDecompile_EDID {
public:
    static constexpr int kBlockSize = 128;
    static constexpr int kBufferSize = 256;
    static constexpr int kMaxDescriptors = 20;
    static constexpr int kTextSize = 128; // joined texts keep 127 characters
    static constexpr int kEstablishedTimings = 23;
    static constexpr int kStandardTimings = 8;

    CDecompile_EDID();

    // Decodes the buffer, which holds 128 bytes, or 256 whenever byte 126
    // (the extension count) is not 0. Returns 0, or -1 for a wrong header or
    // checksum (every field is then left cleared).
    int Decompile_EDID(const unsigned char *edid);
    // The same for data of a known length: less than 128 bytes is no EDID;
    // an extension announced but not present in the data is treated as
    // absent, as if the missing bytes were zero.
    int Decompile_EDID(const unsigned char *data, std::size_t length);
    int Decompile_EDID(const QByteArray &data);

    // Preferred resolution from the first detailed timing, when the EDID
    // flags one as preferred. 0, or -1 (both values 0) when there is none.
    int find_preferred_timing_from_EDID();
    // Largest horizontal and largest vertical value (each on its own) over
    // the established, standard and detailed timings. Returns 0.
    int find_max_resolution_from_EDID();
    // Both return 0.
    int decode_standard_timing_block(const unsigned char *bytes, standard *record);
    int decode_detailed_timing_block(const unsigned char *bytes, detailed_block *record);

    // Lines of a standard timing, from its aspect code and this EDID's
    // version (code 0 is 16:10 from version 1.3 on, 1:1 before).
    int StandardTimingLines(const standard &timing) const;

    // A 10-bit chromaticity value as a fraction (value / 1024, exact).
    static float decompile_chroma(unsigned long tenBitValue);
    // Line rate in Hz: pixel clock / (active + blanking); 0 for an empty line.
    static int calc_hfreq(int active, int blanking, float pixelClockMHz);
    // Frame rate in tenths of Hz from a line rate; 0 for an empty frame.
    static int calc_vfreq(int active, int blanking, float rate);

    // Fields, filled by Decompile_EDID.
    uint32_t m_MaxVerticalResolution;
    uint32_t m_MaxHorizontalResolution;
    char m_Manufacturer[3];
    uint8_t m_ProductCodeLow;
    uint8_t m_ProductCodeHigh;
    uint32_t m_SerialNumber;
    uint8_t m_Week;
    int32_t m_Year;
    uint8_t m_Version;
    uint8_t m_Revision;
    bool m_DigitalInput;
    bool m_DFPCompatible;
    uint8_t m_SignalLevel;
    bool m_BlankToBlackSetup;
    bool m_SeparateSync;
    bool m_CompositeSync;
    bool m_SyncOnGreen;
    bool m_Serration;
    uint8_t m_HorizontalSize; // cm
    uint8_t m_VerticalSize;   // cm
    float m_Gamma;
    bool m_Standby;
    bool m_Suspend;
    bool m_ActiveOff;
    bool m_ContinuousFrequency;
    bool m_sRGBDefault;
    bool m_PreferredTimingMode;
    uint8_t m_DisplayType;
    float m_RedX, m_RedY, m_GreenX, m_GreenY, m_BlueX, m_BlueY, m_WhiteX, m_WhiteY;
    bool m_EstablishedTimings[kEstablishedTimings];
    standard m_StandardTimings[kStandardTimings];
    uint8_t m_ExtensionCount;
    detailed_block m_Descriptors[kMaxDescriptors];
    // Minimum and maximum vertical rate (Hz), minimum and maximum horizontal
    // rate (kHz) of a range-limits descriptor.
    uint8_t m_RangeLimits[4];
    uint8_t m_RangeLimitExtra[8];
    int32_t m_MaxPixelClock; // MHz
    int32_t m_PreferredHorizontal;
    int32_t m_PreferredVertical;
    char m_SerialText[kTextSize];
    char m_MonitorName[kTextSize];
    char m_IdentityText[8]; // three letters and the product code, "ABC12EF"
    // The model key: manufacturer word (byte 9 high) in the upper half,
    // product code (byte 11 high) in the lower half.
    uint32_t m_VendorProductID;
    int32_t m_DescriptorCount;

private:
    void clear();
    int decode(const unsigned char *edid, int size);
    void decodeBaseFields(const unsigned char *edid);
    void decodeCeaDescriptors(const unsigned char *edid);
    void appendDescriptor(const unsigned char *bytes);
    void joinTexts(uint8_t type, char *out) const;
};
