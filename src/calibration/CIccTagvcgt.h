#pragma once
// The private 'vcgt' tag type: the video-card gamma table that a colour
// manager loads into the graphics card when the profile becomes a display's
// profile. Only the table form (gamma type 0) is handled.
//
// Element layout (big-endian, offsets from the element's start):
//   0 'vcgt'   4 reserved 0   8 gamma type (0)   12 channels   14 entry count
//   16 entry size (1 or 2)    18 the entries, channel by channel
// The profile writer's table (3 channels, 256 one-byte entries) is 786 bytes.

#include "CIccIO.h"

#include <QtGlobal>
#include <string>
#include <vector>

// A table going into or out of the tag. data holds channels x entryCount x
// entrySize bytes, all entries of channel 0 first; two-byte entries are
// 16-bit values in host order.
struct icvcgtstruct {
    quint32 tagType = 0;
    quint16 channels = 0;
    quint16 entryCount = 0;
    quint16 entrySize = 0;
    unsigned char *data = nullptr;
};

class CIccTagvcgt {
public:
    static constexpr quint32 kSignature = 0x76636774; // 'vcgt'
    static constexpr quint32 kTableGammaType = 0;
    // Signature, reserved word, gamma type, channels, count, size.
    static constexpr quint32 kHeaderSize = 18;

    CIccTagvcgt() = default;
    // Copies take the table; the reserved word of a copy is 0.
    CIccTagvcgt(const CIccTagvcgt &other);
    CIccTagvcgt &operator=(const CIccTagvcgt &other);
    ~CIccTagvcgt() = default;

    // Stores the counts and a copy of the table (zeros where data is null)
    // and sets the gamma type to 0; the record's tagType is not read.
    void SetVCGT(const icvcgtstruct &table);
    // False when the gamma type is not 0. Otherwise sets the counts (not
    // tagType) and copies the table into out->data unless it is null (the
    // caller provides the room).
    bool GetVCGT(icvcgtstruct *out) const;

    quint32 GetType() const { return kSignature; }
    const char *GetClassName() const { return "CIccTagvcgt"; }
    // A new tag made by the copy constructor; the caller owns it.
    CIccTagvcgt *NewCopy() const { return new CIccTagvcgt(*this); }

    // Reads an element of size bytes. Refuses a gamma type other than 0, an
    // entry size other than 1 and 2, and an element (or a stream) too short
    // for its announced table; the tag then stays as it was.
    bool Read(unsigned long size, CIccIO *io);
    // Writes the element. Refuses (writing nothing) a gamma type other than
    // 0 or an entry size other than 1 and 2.
    bool Write(CIccIO *io) const;

    // "vcgt:" followed by one "name = value\r\n" line per field.
    void Describe(std::string &text) const;
    // Nothing to report; returns 0 (valid) and leaves the report as it is.
    int Validate(quint32 signature, std::string &report) const;

private:
    quint32 m_Reserved = 0;
    quint16 channels = 0;
    quint16 entryCount = 0;
    quint16 entrySize = 0;
    quint32 tagType = 0;
    std::vector<unsigned char> m_Data;
};
