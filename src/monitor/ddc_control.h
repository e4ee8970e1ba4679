#pragma once
// The DDC/CI command layer: request/reply exchanges with retries and fixed
// waits over one transport, and the standard requests (VCP, save settings,
// capabilities, timing and application test reports, EDID).
//
// Every exchange brackets the transport with open_port/close_port, waits
// after a write before reading, lengthens the waits on every retry and
// pauses after closing. All waits go through the transport's WaitMS.

#include "I2CBus.h"

class low_level_ddc;

class ddc_control {
public:
    // Largest request or reply payload an exchange carries.
    static constexpr unsigned int kMaxPayload = 120;
    static constexpr int kDefaultRetryLimit = 4;
    // Standard reply delay of an exchange, in milliseconds.
    static constexpr unsigned int kStandardDelay = 50;

    // Over the monitor's USB bridge that holds table index `bridge` now.
    ddc_control(unsigned int bridge, int verbosity);
    // Over a raw I2C bus of the graphics card (the bus is not owned).
    ddc_control(pz::II2CBus *bus, int verbosity);
    // Over a given transport, which this object owns from now on (the USB
    // bridge transport is handed in this way).
    ddc_control(low_level_ddc *transport, int verbosity);
    virtual ~ddc_control();
    ddc_control(const ddc_control &) = delete;
    ddc_control &operator=(const ddc_control &) = delete;

    void set_verbosity(int verbosity);
    void set_retry_limit(int limit);
    int retry_limit() const { return m_retryLimit; }
    void set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(bool on);

    // Exchange primitives: 0 on success or a negative code.
    int SendPacket(unsigned char *payload, unsigned int n, unsigned int waitAfter);
    // On entry *replyLength is the largest reply payload accepted (and the
    // size of reply); on return the payload length received.
    int SendPacketGetReply(unsigned char *payload, unsigned int n, unsigned char *reply,
                           unsigned int *replyLength, bool retryOnNull, unsigned int delay);
    // Polls for a late reply without sending anything: up to retry limit + 1
    // reads, then waitAfter. A read waits for the device at most waitAfter;
    // one that finds nothing at all (over the USB bridge) counts as a null
    // message: 0 with a reply length of 0.
    int GetReplyOnly(unsigned char *reply, unsigned int *replyLength, unsigned int waitAfter);

    // Standard requests.
    int GetVCP(unsigned int code, unsigned int *current, unsigned int *maximum,
               unsigned char *result, unsigned char *type);
    int SetVCP(unsigned int code, unsigned int value);
    int SaveCurrentSettings();
    int GetTimingReport(unsigned char *status, float *horizontal, float *vertical);
    // Returns the report's byte count or a negative code.
    int GetApplicationTestReport(unsigned char *buffer, unsigned int size);
    // One capabilities fragment into reply (maxLength bytes): its length or
    // a negative code.
    int ddcci_raw_capability_strings(unsigned int offset, unsigned char *reply,
                                     unsigned char maxLength);
    // The whole capabilities string, NUL-terminated in buffer (size bytes):
    // its length or a negative code.
    int GetCapabilityString(char *buffer, unsigned int size);
    // buffer holds 256 bytes. With check: 0 or -21/-22/a transport code;
    // without: the transport's read result (1 on success).
    int ReadEDID(unsigned char *buffer, bool check);
    // flags 0: open and close the port; bit 0: read and check the EDID into
    // edidBuffer (256 bytes, or null when only the answer matters); bit 1:
    // Get VCP of code 0.
    int ProbePort(int flags, unsigned char *edidBuffer);

    low_level_ddc *transport() const { return m_transport; }

protected:
    // Every wait of the command layers passes through the transport.
    void Wait(int ms);

    // Repeats a request (retry on null, standard delay) up to retry limit + 1
    // times while the reply is shorter than minLength; then -24. reply holds
    // maxLength bytes; *gotLength receives the accepted length.
    int ExchangeRepeating(unsigned char *payload, unsigned int n, unsigned char *reply,
                          unsigned int maxLength, unsigned int minLength,
                          unsigned int *gotLength);
    // An S exchange: repeated while the reply length differs from
    // expectedLength, then -24.
    int ExchangeExpectingLength(unsigned char *payload, unsigned int n, unsigned char *reply,
                                unsigned int expectedLength);
    // An O exchange: one request; another reply length gives -24.
    int ExchangeOnce(unsigned char *payload, unsigned int n, unsigned char *reply,
                     unsigned int expectedLength);

private:
    // Checks the expected reply length (1 to 120) in *replyLength, keeps it
    // in *expected, clears *replyLength and opens the port: 0, or the code
    // the exchange returns at once.
    int beginReply(unsigned int *replyLength, unsigned int *expected);
    // One reply read into reply (expected bytes): its payload length (0 for
    // a null message), stored in *replyLength, or a negative code.
    int readReply(unsigned char *reply, unsigned int expected, unsigned int *replyLength);

    int m_verbosity = 0;
    int m_retryLimit = kDefaultRetryLimit;
    low_level_ddc *m_transport = nullptr;
};
