#pragma once
// The Spyder3/4 measurement interface: the DC_ functions that start and stop
// the driver for one sensor, read its calibration data from the EEPROM,
// choose a calibration and turn its pulse counts into CIE XYZ. It also
// passes the device's register, temperature, EEPROM and ambient light
// requests through. The Spyder adapter is its user.
//
// Every function returns 1 for success and 0 for failure, keeping the code
// for DC_GetDetailedError (codes below, the USB layer's codes of
// spyder_usb_layer.h, or a USB status with the system flag set). A function
// called before a startup fails with kDcNotStarted; a null output pointer,
// a zero time or a zero length with kDcBadArgument.
//
// Hardware versions 4 to 6 (the Spyder3; 5 is called EUROPA, 6 ARACHNE)
// carry stored coefficient sets; version 7 (the Spyder4) fits its
// coefficients to the CIE observer from its channels' stored spectral
// sensitivities, under the display weighting the calibration names.

#include <QtGlobal>

namespace spyder {

constexpr qint32 kDcNotStarted = 0x10001;
constexpr qint32 kDcBadArgument = 0x10002;
constexpr qint32 kDcBadVersion = 0x1000A;          // hardware version not 4 to 7
constexpr qint32 kDcAlreadyStarted = 0x20001;
constexpr qint32 kDcCalibration1Missing = 0x20005; // also the Spyder4's luminance set
constexpr qint32 kDcCalibration2Missing = 0x20006; // LCD sets not on this device
constexpr qint32 kDcCalibration3Missing = 0x20007;
constexpr qint32 kDcCalibration4Missing = 0x20008;
constexpr qint32 kDcChecksumMismatch = 0x20009;
// Sealed EEPROM data that no measurement can use (a gain reference or a
// sensitivity scale of 0, a calibration that turns a reference white into no
// light) share the EEPROM's code.
constexpr qint32 kDcEepromUnusable = kDcChecksumMismatch;
constexpr qint32 kDcCountOverflow = 0x2000A;       // version 5: a count above 0xFFFE
// The device's data give no usable result: a fit that cannot be solved, a
// damaged measurement reply, or a reading that no display can give.
constexpr qint32 kDcNoUsableResult = 0x2000B;
constexpr qint32 kDcNotOpened = 97333;             // device not found or not opened

// Size of the device record a startup fills: bytes 0-3 little-endian
// (hardware word << 16) | 265, bytes 4-11 the serial number (no NUL).
constexpr int kDeviceRecordSize = 12;

} // namespace spyder

// Startup for USB product 0x0300 (Spyder3) or 0x0400 (Spyder4). The
// hardware version comes from the EEPROM unless version (Ex) is non-zero.
// The result is that of the EEPROM check; a failed check releases the
// device again, as does a version-5 gain reference of 0 or a stored set
// that cannot give a light (kDcEepromUnusable): a Spyder3's sets must turn
// a flat input of 100 cd/m² into a light within ten times of it, a
// Spyder4's level-2 set D65 at 100 cd/m².
int DC_Startup(quint8 *record, quint16 product);
int DC_StartupEx(quint8 *record, quint16 product, qint32 version);
int DC_StartupXXX1(quint8 *record);
int DC_StartupXXX2(quint8 *record, qint32 version);
// Releases the device and forgets the error; allowed in any state.
void DC_Shutdown();
// The last failure code; the low byte of the system flag through system.
qint32 DC_GetDetailedError(quint8 *system);

// Spyder3: 1 CRT sets, 2 LCD sets (the default), 4 CRT sets; 3 (the Tokyo
// set) is refused with 0x20007. Spyder4: 1 luminance only, 2-7 the fit
// under display weighting calibration - 2; a sensitivity scale of 0 fails
// with kDcEepromUnusable, a fit as good as singular with kDcNoUsableResult,
// and coefficients that read the reference white (D65, or the display's own
// white of the weighting) as no light within ten times of it, through the
// device's sensitivities, with kDcEepromUnusable. A refused choice keeps the
// previous coefficients.
int DC_UseCalibration(qint32 calibration);

// A reading over time/60 s: X, Y, Z in thousandths (Y in thousandths of
// cd/m²). Ex leaves out the level-2 stage when level2 is 0. Counts the
// window or their stamps cannot hold, a result no light can give (below
// zero, black while the counts saw light, outside the spectral locus, each
// beyond the reading's own noise) and one beyond any display fail with
// kDcNoUsableResult.
int DC_GetXYZ(quint16 time, qint32 *X, qint32 *Y, qint32 *Z);
int DC_GetXYZEx(quint16 time, qint32 *X, qint32 *Y, qint32 *Z, int level2);
// The eight channels' pulse counts and periods (µs); with raw non-zero,
// time is the clock count in µs itself.
int DC_GetReadings(quint32 time, quint32 counts[8], quint32 periods[8], int raw);
// Channel 0's pulse count over time/60 s.
int DC_GetRawUnfiltered(quint16 time, quint32 *count);

// Pass-through requests.
int DC_ReadEEPROM(quint16 address, quint8 *value);
int DC_ReadEEPROMEx(quint16 address, quint32 length, quint8 *buffer);
int DC_WriteEEPROM(quint16 address, quint8 value);
int DC_WriteEEPROMEx(quint16 address, quint32 length, const quint8 *buffer);
int DC_ReadRegister(quint8 reg, quint8 *value);
int DC_WriteRegister(quint8 reg, quint8 value);
// Keeps the gain for version-5 readings, then sets it; 0 is refused.
int DC_SetGain(quint8 gain);
int DC_SetLED(quint8 a, quint16 b);
int DC_ReadTemperature(qint32 *hundredthsCelsius);
int DC_ReadTemperatureSensorConfig(quint8 *value);
int DC_WriteTemperatureSensorConfig(quint8 value);
int DC_ReadAmbientLightLevel(quint16 *lux);
int DC_ReadAmbientLightChannel_0(quint16 *count);
int DC_ReadAmbientLightChannel_1(quint16 *count);
int DC_ReadAmbientLightControlRegVal(quint8 *value);
int DC_WriteAmbientLightControlRegVal(quint8 value);
int DC_ReadAmbientLightTimingConfig(quint8 *value);
int DC_WriteAmbientLightTimingConfig(quint8 value);
