#pragma once
// EEPROM images of the simulated Spyder3 and Spyder4, as their maker would
// write them: 1024 bytes, numbers big-endian, floats IEEE single precision,
// unused bytes 0xFF and the CRC-32 of bytes 0..1019 at 1020. Each image is
// built so that a correct driver reads back exactly the light the simulated
// device was shown; the variants exercise the driver's refusals.

#include <QByteArray>
#include <QtGlobal>

namespace pz {

namespace SimSpyderEeprom {

constexpr int kSize = 1024;
constexpr int kChecksumAddress = 1020;

// Hardware version 4 with flags 0x23 (calibrations 1 and 2, checksum):
// level-1 LCD set at 256 weighing the channels as the simulated Spyder3
// drives them, the CRT set at 16 the LCD set x 1.02, level-2 identity at
// 128 and 384. Unused level-1 elements 1, 10 and 19 hold 1000.0, so wrong
// indexing shows at once.
QByteArray spyder3(quint8 flags = 0x23);
// Hardware version 5 (EUROPA): the LCD set weighs channels 0-3 at elements
// channel + 2; byte 381 (the gain reference) is 4.
QByteArray spyder3Europa();
// Hardware version 7 with flags 0x0A (luminance set, checksum): scale 300
// at 21, luminance coefficients [0, 0.00683, 0, ...] at 25, level-2
// identity at 60, and the sensitivities at 170: channels 1-3 are 30000 x
// x̄, ȳ, z̄, channels 4-7 Gaussians (σ 25 nm) at 450, 520, 590, 650 nm.
QByteArray spyder4(quint8 flags = 0x0A);
// The Spyder4 image whose channel 5 repeats channel 4 but for one count at
// 580 nm: the fit is as good as singular.
QByteArray spyder4AlikeChannels();
// The image a device of that USB product carries by default.
QByteArray forProduct(quint16 productId);

// Writes the CRC-32 of bytes 0..1019 at 1020 (big-endian).
void seal(QByteArray &image);
// The standard CRC-32 (reflected 0xEDB88320), computed bit by bit.
quint32 crc32(const char *data, int length);

void putUInt16(QByteArray &image, int address, quint16 value);
void putFloat(QByteArray &image, int address, float value);
float floatAt(const QByteArray &image, int address);

// Hz per cd/m² of the channels each image is made for.
constexpr double kSpyder3HzPerCdm2 = 1000.0;
constexpr double kSpyder4HzPerCdm2 = 300.0 / (683.0 * 0.003);
constexpr double kEuropaHzPerCdm2 = 20.0;   // at gain 4 with reference 4

} // namespace SimSpyderEeprom

} // namespace pz
