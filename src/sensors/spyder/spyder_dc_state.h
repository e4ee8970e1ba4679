#pragma once
// Module state of the Spyder3/4 measurement interface (spyder_dc.h), one
// device at a time, with the EEPROM layouts it reads. Exposed for the
// driver's own files and its tests; callers use the DC_ functions.

#include "spyder_calibration.h"

#include <QtGlobal>

namespace spyder {

// EEPROM layout, versions 4 to 6 (numbers big-endian, floats IEEE single).
constexpr quint16 kEepromVersion = 5;
constexpr quint16 kEepromFlags = 6;
constexpr quint16 kEepromSerial = 8;
constexpr int kSerialLength = 8;
constexpr quint16 kEepromLevel1Crt = 16;
constexpr quint16 kEepromLevel2Crt = 128;
constexpr quint16 kEepromLevel1Lcd = 256;
constexpr quint16 kEepromEuropaGainReference = 381;
constexpr quint16 kEepromLevel2Lcd = 384;
constexpr quint16 kEepromChecksum = 1020;       // CRC-32 of bytes 0..1019
// Version 7.
constexpr quint16 kEepromS4Scale = 21;          // unsigned 16-bit / 100000
constexpr quint16 kEepromS4Luminance = 25;      // seven floats
constexpr quint16 kEepromS4Level2 = 60;
constexpr quint16 kEepromS4Sensitivities = 170; // 7 x 41 unsigned 16-bit / 100

// Hardware flags.
constexpr quint8 kFlagCalibration1 = 0x01;
constexpr quint8 kFlagCalibration2 = 0x02;      // and the LCD sets; on v7 the luminance set
constexpr quint8 kFlagCalibration3 = 0x04;
constexpr quint8 kFlagCalibration4 = 0x08;
constexpr quint8 kFlagChecksumS3 = 0x20;
constexpr quint8 kFlagChecksumS4 = 0x08;

// coeffTab values.
constexpr quint8 kCrtSets = 1;
constexpr quint8 kLcdSets = 2;

extern bool initialized;
extern qint32 lastError;
extern qint32 sysError;
extern qint32 gHW_Version;
extern quint8 gHW_Flags;
extern bool _EUROPA_;
extern bool _ARACHNE_;
extern quint8 EUROPA_GAIN;
extern quint8 europaGainReference;     // EEPROM byte 381 of a version-5 device
extern quint8 coeffTab;                // kept across shutdown and startup
extern float coeff1crt[kSetSize];
extern float coeff2crt[kSetSize];
extern float coeff1lcd[kSetSize];
extern float coeff2lcd[kSetSize];
extern float coeffTokyo[kSetSize];     // elements 0-6: the seven Tokyo values as read
extern const quint16 offsetTokyo[9];
extern float S4_Coeff[3 * kS4Channels];
extern bool S4_CoeffValid;             // a Spyder4 calibration has been computed
extern bool S4_LuminanceOnly;          // calibration 1: the Y row alone
extern float S4_Level2_Coeff[kSetSize];

// Keep a failure for DC_GetDetailedError and return 0: one of this
// interface's codes (system flag 0), or the USB layer's error pair.
int dcFail(qint32 code);
int dcFailFromLayer();

} // namespace spyder
