#pragma once
// The private 'mmod' tag type: the monitor's make and model.
//
// Element layout (big-endian, 40 bytes):
//   0 'mmod'   4 reserved 0   8 manufacturer   12 model   16 serial number
//   20 manufacture date   24 reserved1 to reserved4
// The profile writer stores the monitor's EDID manufacturer id (in EDID
// byte order) and its product code; every other field is 0.

#include "CIccIO.h"

#include <QtGlobal>
#include <string>

struct icmmodstruct {
    quint32 manufacturer = 0;
    quint32 model = 0;
    quint32 serialNumber = 0;
    quint32 manufactureDate = 0;
    quint32 reserved1 = 0;
    quint32 reserved2 = 0;
    quint32 reserved3 = 0;
    quint32 reserved4 = 0;
};

class CIccTagmmod {
public:
    static constexpr quint32 kSignature = 0x6D6D6F64; // 'mmod'
    static constexpr quint32 kElementSize = 40;

    CIccTagmmod() = default;
    // Copies take the eight fields; the reserved word of a copy is 0.
    CIccTagmmod(const CIccTagmmod &other) : m_Value(other.m_Value) {}
    CIccTagmmod &operator=(const CIccTagmmod &other);
    ~CIccTagmmod() = default;

    void Setmmod(const icmmodstruct &value) { m_Value = value; }
    // Copies the fields out; returns 1.
    int Getmmod(icmmodstruct *out) const;

    quint32 GetType() const { return kSignature; }
    const char *GetClassName() const { return "CIccTagmmod"; }
    // A new tag made by the copy constructor; the caller owns it.
    CIccTagmmod *NewCopy() const { return new CIccTagmmod(*this); }

    // Refuses an element under 40 bytes or a short stream; the tag then
    // stays as it was.
    bool Read(unsigned long size, CIccIO *io);
    bool Write(CIccIO *io) const;

    // "mmod:" followed by one "name = value\r\n" line per field but the
    // manufacturer.
    void Describe(std::string &text) const;
    // Nothing to report; returns 0 (valid) and leaves the report as it is.
    int Validate(quint32 signature, std::string &report) const;

private:
    icmmodstruct m_Value;
    quint32 m_Reserved = 0;
};
