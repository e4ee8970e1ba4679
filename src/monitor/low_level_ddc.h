#pragma once
// The lowest layer of the monitor stack: moves bytes over one I2C bus of a
// display and frames and checks DDC/CI messages at address 0x6E.
//
// The USB bridge transport derives from this class and replaces only the two
// raw operations i2c_write and i2c_read, so framing, checking and waiting are
// shared by both transports. On a thread whose work is being abandoned
// (pz::workAbandoned) the requests and reads fail at once. The order of the virtual operations below is
// part of the contract with that subclass; keep it.

#include "I2CBus.h"

class low_level_ddc {
public:
    // DDC/CI and EDID addresses in their 8-bit (write) form.
    static constexpr unsigned int kDdcCiAddress = 0x6E;
    static constexpr unsigned int kEdidAddress = 0xA0;
    // Source address of the host in a request frame.
    static constexpr unsigned char kHostSource = 0x51;
    // Largest payload a frame can announce (the length field has 7 bits).
    static constexpr unsigned int kMaxFramePayload = 127;
    // Wire buffer of the adapter fix read.
    static constexpr unsigned int kAdapterFixBuffer = 128;

    // Without a bus: the base of transports whose raw operations need none.
    low_level_ddc();
    // Keeps the bus (not owned: the monitor object opens and closes it);
    // the adapter fix is off.
    low_level_ddc(pz::II2CBus *bus, int verbosity);

    virtual ~low_level_ddc();
    virtual int Init();
    virtual int close_port();
    virtual int open_port();
    virtual void set_verbosity(int verbosity);
    // One write transaction: 0, or -12 when the bus refused it.
    virtual int i2c_write(unsigned int address, unsigned char *data, unsigned char length);
    // One read transaction of length bytes: 1 on success, or -11. With the
    // adapter fix on, the fix read answers instead.
    virtual int i2c_read(unsigned int address, unsigned char *data, unsigned char length);
    // Dual-link DisplayPort adapter read: reads twice, keeps the second read
    // and, for DDC/CI, reads length + length/16 bytes and drops the byte at
    // every 16th wire position. 1 on success, or -11.
    virtual int i2c_read_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(unsigned int address,
                                                               unsigned char *data,
                                                               unsigned char length);
    virtual void set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(bool on);
    // Writes the offset byte, then reads length bytes from the same address.
    virtual int read_i2c_address(unsigned char *data, unsigned char address,
                                 unsigned char offset, unsigned char length);
    // Reads one reply frame of at most maxLength payload bytes into data
    // (which holds maxLength bytes). Returns the payload length (0 for the
    // null message) or -20 / -24 / -27 / a transport code.
    virtual int ddcci_read(unsigned char *data, unsigned char maxLength);
    // Frames length payload bytes and writes them to 0x6E: 0 or a transport
    // code; -28 for a payload the length field cannot announce.
    virtual int ddcci_write(unsigned char *data, unsigned char length);
    // Waits (ms * 6) / 100 + 1 ticks of 1/60 s on the program clock.
    virtual int WaitMS(int ms);

    bool adapterFix() const { return m_adapterFix; }
    int verbosity() const { return m_verbosity; }

    // Longest one raw read may wait for the device to have something to
    // read; negative (the default): the transport's own limit. An I2C read
    // answers at once and ignores it; the USB bridge waits for its next
    // input report, 4.5 s when nothing limits it.
    void set_read_wait_limit(int ms) { m_readWaitLimit = ms; }
    int read_wait_limit() const { return m_readWaitLimit; }

    // Checks a reply frame as read from the wire (source byte, length,
    // checksum) and copies its payload. wire holds wireLength bytes; data
    // holds maxLength bytes. The pure parser under ddcci_read.
    static int parseReplyFrame(const unsigned char *wire, unsigned int wireLength,
                               unsigned char *data, unsigned char maxLength);
    // Builds the request frame of a payload into frame (length + 3 bytes).
    static void buildRequestFrame(const unsigned char *payload, unsigned char length,
                                  unsigned char *frame);

private:
    int m_verbosity = 0;
    pz::II2CBus *m_bus = nullptr;
    bool m_adapterFix = false;
    int m_readWaitLimit = -1;
};

// The hex-dump hook of the protocol layers; it produces no output.
void dumphex(const char *label, const unsigned char *bytes, int count);
