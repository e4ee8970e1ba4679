#include "SimSpyderEeprom.h"

#include "CieObserver.h"

#include <cmath>
#include <cstring>

namespace pz {

namespace SimSpyderEeprom {

namespace {

constexpr int kSetSize = 27;
constexpr int kRowSize = 9;
constexpr float kPoison = 1000.0f;

QByteArray blank(quint8 version, quint8 flags, const char *serial)
{
    QByteArray image(kSize, char(0xFF));
    image[5] = char(version);
    image[6] = char(flags);
    std::memcpy(image.data() + 8, serial, 8);
    return image;
}

void putSet(QByteArray &image, int address, const float set[kSetSize])
{
    for (int i = 0; i < kSetSize; ++i)
        putFloat(image, address + 4 * i, set[i]);
}

void putIdentityLevel2(QByteArray &image, int address)
{
    float set[kSetSize] = {};
    set[0] = set[kRowSize + 1] = set[2 * kRowSize + 2] = 1.0f;
    putSet(image, address, set);
}

// The Spyder3's level-1 LCD set and, scaled by 1.02, its CRT set.
void putLevel1Sets(QByteArray &image, float set[kSetSize])
{
    set[1] = set[kRowSize + 1] = set[2 * kRowSize + 1] = kPoison;
    putSet(image, 256, set);
    float crt[kSetSize];
    for (int i = 0; i < kSetSize; ++i)
        crt[i] = set[i] * 1.02f;
    putSet(image, 16, crt);
    putIdentityLevel2(image, 128);
    putIdentityLevel2(image, 384);
}

} // namespace

QByteArray spyder3(quint8 flags)
{
    QByteArray image = blank(4, flags, "S3000001");
    // Channels 1-7 carry K·(X, Y, Z, X, Y, Z, Y): X from channels 1 and 4,
    // Y from 2, 5 and 7, Z from 3 and 6.
    const float half = float(0.5 / kSpyder3HzPerCdm2);
    const float third = float(1.0 / (3.0 * kSpyder3HzPerCdm2));
    float set[kSetSize] = {};
    set[2] = set[5] = half;
    set[kRowSize + 3] = set[kRowSize + 6] = set[kRowSize + 8] = third;
    set[2 * kRowSize + 4] = set[2 * kRowSize + 7] = half;
    putLevel1Sets(image, set);
    seal(image);
    return image;
}

QByteArray spyder3Europa()
{
    QByteArray image = blank(5, 0x23, "S3000005");
    // Channels 0 and 1 both carry X, 2 carries Y, 3 carries Z.
    const float half = float(0.5 / kEuropaHzPerCdm2);
    const float whole = float(1.0 / kEuropaHzPerCdm2);
    float set[kSetSize] = {};
    set[2] = set[3] = half;
    set[kRowSize + 4] = whole;
    set[2 * kRowSize + 5] = whole;
    putLevel1Sets(image, set);
    image[381] = char(4);
    seal(image);
    return image;
}

QByteArray spyder4(quint8 flags)
{
    QByteArray image = blank(7, flags, "S4000001");
    putUInt16(image, 21, 300);
    const float luminance[7] = {0, 0.00683f, 0, 0, 0, 0, 0};
    for (int n = 0; n < 7; ++n)
        putFloat(image, 25 + 4 * n, luminance[n]);
    putIdentityLevel2(image, 60);

    const double peaks[4] = {450, 520, 590, 650};
    for (int i = 0; i < kCieObserverSamples; ++i) {
        const double nm = kCieObserverFirstNm + kCieObserverStepNm * i;
        for (int k = 0; k < 3; ++k)
            putUInt16(image, 170 + 2 * (k * kCieObserverSamples + i),
                      quint16(std::lround(30000.0 * kCie1931Observer2Deg[k][i])));
        for (int k = 0; k < 4; ++k) {
            const double z = (nm - peaks[k]) / 25.0;
            putUInt16(image, 170 + 2 * ((3 + k) * kCieObserverSamples + i),
                      quint16(std::lround(30000.0 * std::exp(-0.5 * z * z))));
        }
    }
    seal(image);
    return image;
}

QByteArray spyder4AlikeChannels()
{
    QByteArray image = spyder4();
    const int channel4 = 170 + 2 * 3 * kCieObserverSamples;
    const int channel5 = 170 + 2 * 4 * kCieObserverSamples;
    for (int i = 0; i < 2 * kCieObserverSamples; ++i)
        image[channel5 + i] = image[channel4 + i];
    const int at580 = channel5 + 2 * 20;
    putUInt16(image, at580, quint16(((quint8(image[at580]) << 8) | quint8(image[at580 + 1])) + 1));
    seal(image);
    return image;
}

QByteArray forProduct(quint16 productId)
{
    return productId == 0x0400 ? spyder4() : spyder3();
}

quint32 crc32(const char *data, int length)
{
    quint32 crc = 0xFFFFFFFFu;
    for (int i = 0; i < length; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void seal(QByteArray &image)
{
    const quint32 crc = crc32(image.constData(), kChecksumAddress);
    for (int i = 0; i < 4; ++i)
        image[kChecksumAddress + i] = char(crc >> (24 - 8 * i));
}

void putUInt16(QByteArray &image, int address, quint16 value)
{
    image[address] = char(value >> 8);
    image[address + 1] = char(value);
}

void putFloat(QByteArray &image, int address, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        image[address + i] = char(bits >> (24 - 8 * i));
}

float floatAt(const QByteArray &image, int address)
{
    quint32 bits = 0;
    for (int i = 0; i < 4; ++i)
        bits = (bits << 8) | quint8(image[address + i]);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace SimSpyderEeprom

} // namespace pz
