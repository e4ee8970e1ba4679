#pragma once
// The Spyder3/4's vendor requests, one function each, over the transfers of
// spyder_usb_layer.h: EEPROM, registers, temperature sensor, ambient light
// sensor (a TSL2561), LED and the measurement, whose reply DecodeCounts
// turns into pulse counts and periods. Each returns 1 on success, or 0 with
// the code in _lastError_ (and _sysErr_ 1 for a USB status).

#include <QtGlobal>

namespace spyder {

// bRequest of each vendor request.
constexpr quint8 kReqMeasure = 0xC1;
constexpr quint8 kReqEepromRead = 0xC4;
constexpr quint8 kReqEepromWrite = 0xC5;
constexpr quint8 kReqTemperatureOrRegisterRead = 0xE0;   // told apart by wLength
constexpr quint8 kReqTemperatureConfigRead = 0xE1;
constexpr quint8 kReqRegisterWrite = 0xE2;               // also the temperature configuration
constexpr quint8 kReqAmbientChannel0 = 0xF0;
constexpr quint8 kReqAmbientChannel1 = 0xF1;
constexpr quint8 kReqAmbientControlRead = 0xF2;
constexpr quint8 kReqAmbientControlWrite = 0xF3;
constexpr quint8 kReqAmbientTimingRead = 0xF4;
constexpr quint8 kReqAmbientTimingWrite = 0xF5;
constexpr quint8 kReqLed = 0xF6;

constexpr int kEepromChunk = 128;        // bytes per EEPROM request at most
constexpr quint8 kGainRegister = 7;
constexpr int kChannels = 8;             // output channels of a measurement
constexpr int kPacketBytes = 8;          // every bulk packet of the reply
constexpr int kReplyBytes = 72;          // nine data packets
constexpr int kEmptyReadTries = 5;       // reads per packet while nothing comes
constexpr quint32 kMaxClock = 0xFFFFFF;  // the clock travels in 24 bits

// Raw channel behind each output channel (raw channel 3 is not passed on).
constexpr int kRawChannelOf[kChannels] = {0, 0, 1, 2, 5, 6, 7, 4};

// Setup fields of the measurement request for a clock count: bits 8-23
// byte-swapped in wValue and bits 0-7 in wIndex, so that setup bytes 2-5
// read bits 16-23, 8-15, 0-7 and 0 on the wire.
quint16 measurementValue(quint32 clock);
quint16 measurementIndex(quint32 clock);

// The measurement's read-back time-out in ms.
qint32 measurementTimeout(quint16 b, quint32 clock);

// Splits a 72-byte reply into the eight output channels: counts, and
// periods in microseconds (the requested clock for a channel without
// pulses). False when a channel's last stamp lies before its first.
// stampSpans, when given, gets each channel's last stamp minus its first
// whatever the count (kReversedStamps when the last lies before the first),
// so a count can be checked against its stamps.
bool DecodeCounts(const quint8 reply[kReplyBytes], quint32 clock, quint32 counts[kChannels],
                  quint32 periods[kChannels], quint32 *stampSpans = nullptr);
constexpr quint32 kReversedStamps = 0xFFFFFFFFu;

// The stamp spans (µs) of the last measurement reply, as DecodeCounts gives
// them; the measurement interface checks the counts against them.
extern quint32 lastStampSpans[kChannels];

} // namespace spyder

int DC__ReadEEPROMEx(quint16 address, quint32 length, quint8 *buffer);
int DC__WriteEEPROMEx(quint16 address, quint32 length, const quint8 *buffer);
int DC__ReadEEPROM(quint16 address, quint8 *value);   // reads 4 bytes, keeps the first
int DC__WriteEEPROM(quint16 address, quint8 value);

// Hundredths of a degree Celsius, below zero too (truncated towards 0).
int ReadTemperature(qint32 *hundredthsCelsius);
int ReadTemperatureSensorConfig(quint8 *value);
int WriteTemperatureSensorConfig(quint8 value);
int ReadRegister(quint8 reg, quint8 *value);
int WriteRegister(quint8 reg, quint8 value);
// Register 7: 0x10 for gain 4, 0x20 for 16, 0x30 for 64, 0 otherwise.
int SetGain(quint8 gain);
int SetLED(quint8 a, quint16 b);

int ReadAmbientLightSensorChannel_0(quint16 *count);
int ReadAmbientLightSensorChannel_1(quint16 *count);
int ReadAmbientLightControlRegVal(quint8 *value);
int WriteAmbientLightControlRegVal(quint8 value);
int ReadAmbientLightTimingConfig(quint8 *value);
int WriteAmbientLightTimingConfig(quint8 value);
// Timing, channel 0, channel 1, then CalculateLux with package 0.
int ReadAmbientLightLevel(quint16 *lux);

// One measurement over clock microseconds (at most 0xFFFFFF): counts and
// periods of the eight output channels and the reply's status byte.
int GetDetectorCounts2(quint16 a, quint16 b, quint16 c, quint32 clock, quint32 counts[8],
                       quint32 periods[8], quint8 *status);
int DC_GetDetectorCounts(quint16 a, quint16 b, quint16 c, quint32 clock, quint32 counts[8],
                         quint32 periods[8], quint8 *status);

// The TSL2561's integer lux formula: gain bit (1 high), integration setting
// (0, 1, 2), the two channel counts, package 0 (T, FN, CL) or 1 (CS).
// Saturates at 65535 instead of wrapping.
quint16 CalculateLux(quint32 gain, quint32 integration, quint32 channel0, quint32 channel1,
                     int package);

quint16 swap16(quint16 v);
quint32 swap32(quint32 v);
quint16 swap16II(quint16 v);
quint32 swap32II(quint32 v);
quint16 swap16IM(quint16 v);
quint32 swap32IM(quint32 v);
