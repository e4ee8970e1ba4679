#pragma once
// Orvane's own DDC/CI commands on top of the standard command layer: paged
// VCP access (codes above 255 as page and code), the programmable gamma
// table, theoretical tone curve and 3D LUT, picture-mode names, clock and
// schedules, power management and the asset string.
//
// Opcode families: C0 maker commands (reply C1), C2 table and feature
// commands (reply C3), C4 page query (C5), C6/C8 paged Get/Set VCP (C7).
// Replies echo the sub-command; 16-bit values travel big-endian.

#include "ddc_control.h"

#include <functional>
#include <vector>

struct ThreeD_LUT_Point {
    unsigned int R = 0;
    unsigned int G = 0;
    unsigned int B = 0;
};

// One on/off schedule of the monitor; this layer only moves the seven items
// (one byte each on the wire, in the order 1 to 7).
struct schedule {
    int status = 0;
    unsigned int item3 = 0;
    unsigned char item4 = 0;
    unsigned int item1 = 0;
    unsigned char item2 = 0;
    unsigned char item5 = 0;
    unsigned char item6 = 0;
    unsigned char item7 = 0;
};

// The monitor's clock; seven items, one byte each on the wire.
struct date_time {
    int status = 0;
    unsigned int item1 = 0;
    unsigned char item2 = 0;
    unsigned char item3 = 0;
    unsigned char item4 = 0;
    unsigned char item5 = 0;
    unsigned char item6 = 0;
    bool item7 = false;
};

class ORV_ddc_control : public ddc_control {
public:
    // Values per gamma/curve chunk and points per 3D LUT chunk.
    static constexpr unsigned int kMaxTableChunk = 16;
    static constexpr unsigned int kMaxLutChunk = 8;
    // Asset string: blocks of 32 bytes at one-byte offsets.
    static constexpr unsigned int kAssetBlock = 32;
    static constexpr unsigned int kMaxAssetLength = 256;
    // Characters of a programmable picture-mode name.
    static constexpr unsigned int kModeNameLength = 13;
    static constexpr int kCurveVerifyTries = 7;
    static constexpr int kCurveVerifyWait = 2000;

    using ddc_control::ddc_control;
    ~ORV_ddc_control() override;

    // Codes of 256 and above travel paged; smaller codes use the standard
    // requests.
    virtual int GetVCP(unsigned int code, unsigned int *current, unsigned int *maximum,
                       unsigned char *result, unsigned char *type);
    virtual int SetVCP(unsigned int code, unsigned int value);

    int GetVCPPage(unsigned char *first, unsigned char *second);
    int GetPagedVCP(unsigned int page, unsigned int code, unsigned int *current,
                    unsigned int *maximum, unsigned char *result, unsigned char *type);
    int GetPagedVCP(unsigned int code16, unsigned int *current, unsigned int *maximum,
                    unsigned char *result, unsigned char *type);
    // *value: the value to set on entry, the monitor's current value on return.
    int SetPagedVCP(unsigned int page, unsigned int code, unsigned int *value,
                    unsigned int *maximum, unsigned char *result, unsigned char *type);
    int SetPagedVCP(unsigned int code16, unsigned int *value, unsigned int *maximum,
                    unsigned char *result, unsigned char *type);

    int GetCurrentModeNumber(unsigned char *mode);
    int SaveTimingSettings(unsigned char *status, unsigned int unused = 0);
    int SaveCommonSettings(unsigned char *status, unsigned int unused = 0);
    // reply holds n + 3 bytes; returns the reply's payload length.
    int raw_get_asset_string_block(unsigned int offset, unsigned char *reply, unsigned char n);
    int raw_set_asset_string_block(unsigned char offset, char *data, unsigned char n);
    // Returns the stored length or a negative code; buffer is NUL-terminated.
    int GetAssetString(char *buffer, unsigned int size);
    int SetAssetString(char *text, unsigned int length);
    int SetPowerManagement(unsigned char mode);

    // Raw chunks: out/data hold 2 * count bytes, big-endian values.
    int gamma_table_read_raw__chunk(unsigned char *out, unsigned int offset, unsigned int count);
    int gamma_table_write_raw__chunk(unsigned char *data, unsigned int offset,
                                     unsigned int count);
    int theoretical_curve_read_raw_chunk(unsigned char *out, unsigned int offset,
                                         unsigned int count);
    int theoretical_curve_write_raw_chunk(unsigned char *data, unsigned int offset,
                                          unsigned int count);
    // Value chunks of 1 to 16 entries; offsets count table entries.
    int GammaTableReadChunk(unsigned int *values, unsigned int offset, unsigned int count);
    int GammaTableWriteChunk(unsigned int *values, unsigned int offset, unsigned int count);
    int TheoreticalCurveReadChunk(unsigned int *values, unsigned int offset, unsigned int count);
    int TheoreticalCurveWriteChunk(unsigned int *values, unsigned int offset,
                                   unsigned int count);
    // Write, read back and compare; -32 when the last try still differs.
    int GammaTableWriteChunkVerifyAndRetry(unsigned int *values, unsigned int offset,
                                           unsigned int count);
    int TheoreticalCurveWriteChunkVerifyAndRetry(unsigned int *values, unsigned int offset,
                                                 unsigned int count);

    enum class Table { Gamma, TheoreticalCurve };
    // Writes a whole per-channel table with verified chunks: the table holds
    // channelOffsets.size() channels of equal length, each written in chunks
    // of chunk entries (the last one shorter) at its monitor offset.
    // chunkDone runs after each chunk; entries above 0xFFFF go as 0xFFFF.
    // The layout is checked before any entry is read or sent: -31 when the
    // table does not split into the channels, a chunk size is outside 1..16
    // or an address leaves 16 bits.
    int WriteChannelTableVerified(Table table, const std::vector<unsigned int> &values,
                                  const std::vector<unsigned int> &channelOffsets,
                                  unsigned int chunk,
                                  const std::function<void()> &chunkDone = {});

    int RefreshGammaTable();
    int SaveGammaTable();
    int InitGammaTable();
    int ResetGammaTable();

    int GetDateTime(date_time *clock);
    int SetDateTime(date_time *clock);
    int GetSchedule(unsigned int *index, schedule *item);
    int SetSchedule(unsigned int *index, schedule *item);
    int SetScheduleEnable(unsigned int *index, unsigned int *enable, unsigned int *status);

    int ThreeD_LUT_read_chunk(ThreeD_LUT_Point *points, unsigned int r, unsigned int g,
                              unsigned int b, unsigned int count);
    int ThreeD_LUT_write_chunk(ThreeD_LUT_Point *points, unsigned int r, unsigned int g,
                               unsigned int b, unsigned int count);

    // name holds at least 14 bytes; the 13 characters come back terminated.
    int get_picture_mode_programmable_name(unsigned char mode, char *name);
    // Sends 13 characters; characters outside space, A-Z, a-z and '+'..':'
    // become spaces, and a name shorter than 13 is padded with spaces.
    int set_picture_mode_programmable_name(unsigned char mode, char *name);

    int GetSerialNumber(char *serial);
    int GetModelName(char *name);
    int GetSelfDiagnosis(char *text, unsigned int *length);

    // Bits 15-8 and 7-0 of a value or address as it travels on the wire.
    static unsigned char HighByte(unsigned int value)
    {
        return static_cast<unsigned char>((value >> 8) & 0xFF);
    }
    static unsigned char LowByte(unsigned int value)
    {
        return static_cast<unsigned char>(value & 0xFF);
    }

protected:
    // S exchange whose reply must begin with replyOpcode and, when
    // subCommand >= 0, echo it: -26 otherwise.
    int Command(unsigned char *payload, unsigned int n, unsigned char *reply,
                unsigned int expectedLength, unsigned char replyOpcode, int subCommand);
    // O exchange with the same reply check.
    int CommandOnce(unsigned char *payload, unsigned int n, unsigned char *reply,
                    unsigned int expectedLength, unsigned char replyOpcode, int subCommand);
    // A maker (C0) or table (C2) read: sends request (opcode, sub-command,
    // arguments) as an S exchange whose reply must begin with opcode + 1 and
    // the sub-command, and copies the dataBytes that follow them to out.
    int ReadBlock(unsigned char *request, unsigned int requestLength, unsigned char *out,
                  unsigned int dataBytes);
    // A maker or table command without reply: header, then dataBytes of
    // data, sent with waitAfter ms of wait after closing.
    int WriteBlock(const unsigned char *header, unsigned int headerLength,
                   const unsigned char *data, unsigned int dataBytes,
                   unsigned int waitAfter = 50);
    // -31 for a chunk above maxCount entries, -24 for an empty one, else 0.
    static int ChunkCountError(unsigned int count, unsigned int maxCount);

private:
    int readValueChunk(unsigned char subCommand, unsigned int *values, unsigned int offset,
                       unsigned int count);
    int writeValueChunk(unsigned char subCommand, unsigned int *values, unsigned int offset,
                        unsigned int count);
    int readRawChunk(unsigned char subCommand, unsigned char *out, unsigned int offset,
                     unsigned int count);
    int writeRawChunk(unsigned char subCommand, unsigned char *data, unsigned int offset,
                      unsigned int count);
    int writeChunkVerified(Table table, unsigned int *values, unsigned int offset,
                           unsigned int count);
    int sendTableCommand(unsigned char subCommand, unsigned int waitAfter);
    int saveSettings(unsigned char subCommand, unsigned char *status);
};
