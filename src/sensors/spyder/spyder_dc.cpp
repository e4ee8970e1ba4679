#include "spyder_dc.h"

#include "spyder_dc_state.h"
#include "spyder_requests.h"
#include "spyder_usb_layer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace spyder {

bool initialized = false;
qint32 lastError = 0;
qint32 sysError = 0;
qint32 gHW_Version = 0;
quint8 gHW_Flags = 0;
bool _EUROPA_ = false;
bool _ARACHNE_ = false;
quint8 EUROPA_GAIN = 4;
quint8 europaGainReference = 0;
quint8 coeffTab = kLcdSets;
float coeff1crt[kSetSize];
float coeff2crt[kSetSize];
float coeff1lcd[kSetSize];
float coeff2lcd[kSetSize];
float coeffTokyo[kSetSize];
const quint16 offsetTokyo[9] = {0, 0, 240, 244, 248, 252, 364, 368, 372};
float S4_Coeff[3 * kS4Channels];
bool S4_CoeffValid = false;
bool S4_LuminanceOnly = false;
float S4_Level2_Coeff[kSetSize];

int dcFail(qint32 code)
{
    lastError = code;
    sysError = 0;
    return 0;
}

int dcFailFromLayer()
{
    GetLastDriverError(&lastError, &sysError);
    return 0;
}

namespace {

// Inside startup, calibration and reading, failures are thrown: one of this
// interface's codes, or kFromLayer for a failed device request whose code
// the USB layer holds.
constexpr qint32 kFromLayer = 0;

int failWith(qint32 thrown)
{
    return thrown == kFromLayer ? dcFailFromLayer() : dcFail(thrown);
}

void require(int requestResult)
{
    if (!requestResult)
        throw kFromLayer;
}

quint8 readByte(quint16 address)
{
    quint8 value = 0;
    require(DC__ReadEEPROM(address, &value));
    return value;
}

// Two or four bytes, one request each, most significant first.
quint16 ReadUINT16(quint16 address)
{
    return quint16((readByte(address) << 8) | readByte(quint16(address + 1)));
}

quint32 ReadFLOAT32(quint16 address)
{
    quint32 bits = 0;
    for (int i = 0; i < 4; ++i)
        bits = (bits << 8) | readByte(quint16(address + i));
    return bits;
}

float floatFromBits(quint32 bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

quint32 bigEndian32(const quint8 *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

// A 27-float set as three reads of 36 bytes.
void ReadCaliFactors(quint16 address, float set[kSetSize])
{
    constexpr int kRowBytes = kRowSize * 4;
    for (int row = 0; row < 3; ++row) {
        quint8 bytes[kRowBytes];
        require(DC__ReadEEPROMEx(quint16(address + row * kRowBytes), kRowBytes, bytes));
        for (int i = 0; i < kRowSize; ++i)
            set[row * kRowSize + i] = floatFromBits(bigEndian32(bytes + 4 * i));
    }
}

void ReadSerialNumber(quint8 serial[kSerialLength])
{
    require(DC__ReadEEPROMEx(kEepromSerial, kSerialLength, serial));
}

void forgetCoefficients()
{
    for (float *set : {coeff1crt, coeff2crt, coeff1lcd, coeff2lcd, coeffTokyo, S4_Level2_Coeff})
        std::fill(set, set + kSetSize, 0.0f);
    std::fill(std::begin(S4_Coeff), std::end(S4_Coeff), 0.0f);
    S4_CoeffValid = false;
    S4_LuminanceOnly = false;
}

bool isSpyder3() { return gHW_Version >= 4 && gHW_Version <= 6; }

void loadCalibrationData()
{
    if (isSpyder3()) {
        ReadCaliFactors(kEepromLevel1Crt, coeff1crt);
        ReadCaliFactors(kEepromLevel2Crt, coeff2crt);
        if (gHW_Flags & kFlagCalibration2) {
            ReadCaliFactors(kEepromLevel1Lcd, coeff1lcd);
            ReadCaliFactors(kEepromLevel2Lcd, coeff2lcd);
        }
        // The Tokyo values; how they form a set is unknown, so they are
        // only kept as read.
        if ((gHW_Flags & (kFlagCalibration2 | kFlagCalibration3)) ==
            (kFlagCalibration2 | kFlagCalibration3)) {
            for (int e = 2; e <= 8; ++e)
                coeffTokyo[e - 2] = floatFromBits(ReadFLOAT32(offsetTokyo[e]));
        }
    } else {
        ReadCaliFactors(kEepromS4Level2, S4_Level2_Coeff);
    }
}

// CRC-32 of bytes 0..1019 against the value at 1020, where the device
// carries one.
void checkEeprom()
{
    quint8 stored[4];
    require(DC__ReadEEPROMEx(kEepromChecksum, 4, stored));
    const quint32 expected = bigEndian32(stored);
    const quint8 checksumFlag = gHW_Version == 7 ? kFlagChecksumS4 : kFlagChecksumS3;
    if (!(gHW_Flags & checksumFlag) && expected == 0xFFFFFFFFu)
        return;
    quint8 image[kEepromChecksum];
    require(DC__ReadEEPROMEx(0, kEepromChecksum, image));
    if (CRC32_Fini(CRC32_Calc(CRC32_Init(), image, kEepromChecksum)) != expected)
        throw kDcChecksumMismatch;
}

// A calibration is refused when it is loaded if it cannot turn a white of
// kReferenceCdm2 into a light: negative, black, outside the locus, or more
// than ten times too dark or too bright.
constexpr double kReferenceCdm2 = 100.0;
constexpr double kReferenceFactor = 10.0;

// Sets are floats: a light may miss a bound by their rounding.
bool givesALight(const Tristimulus &t, bool luminanceOnly)
{
    const double rounding = 1e-5 * (std::fabs(t.X) + std::fabs(t.Y) + std::fabs(t.Z));
    return isALight(t, Tristimulus{rounding, rounding, rounding}, luminanceOnly, true) &&
           t.Y >= kReferenceCdm2 / kReferenceFactor && t.Y <= kReferenceCdm2 * kReferenceFactor;
}

// A level-2 set must leave a light a light.
void requireLightThroughLevel2(const float level2[kSetSize], const Tristimulus &level1,
                               bool luminanceOnly)
{
    if (!givesALight(level1, luminanceOnly) ||
        !givesALight(CalcLevel2(level2, level1), luminanceOnly))
        throw kDcEepromUnusable;
}

// A Spyder3 level-1 set has no spectral data to test it by; its reference
// is a flat input, every channel at the frequency that makes level-1 Y
// kReferenceCdm2, which any set made for a display's white turns into a
// light.
void checkSpyder3Sets(const float level1[kSetSize], const float level2[kSetSize])
{
    float none[8] = {}, unit[8];
    std::fill(unit, unit + 8, 1.0f);
    const Tristimulus base = CalcLevel1(level1, none, _EUROPA_, europaGainReference, EUROPA_GAIN);
    const double perHz =
        CalcLevel1(level1, unit, _EUROPA_, europaGainReference, EUROPA_GAIN).Y - base.Y;
    const double hz = (kReferenceCdm2 - base.Y) / perHz;
    if (!(perHz > 0) || !(hz > 0) || !(hz <= kMaxPulseHz))
        throw kDcEepromUnusable;
    float flat[8];
    std::fill(flat, flat + 8, float(hz));
    requireLightThroughLevel2(
        level2, CalcLevel1(level1, flat, _EUROPA_, europaGainReference, EUROPA_GAIN), false);
}

// Every set the device offers: the CRT sets (calibrations 1 and 4), the
// LCD sets (2).
void checkSpyder3Calibrations()
{
    if (gHW_Flags & (kFlagCalibration1 | kFlagCalibration4))
        checkSpyder3Sets(coeff1crt, coeff2crt);
    if (gHW_Flags & kFlagCalibration2)
        checkSpyder3Sets(coeff1lcd, coeff2lcd);
}

// D65 at kReferenceCdm2.
Tristimulus referenceWhite()
{
    double sum[3] = {};
    for (int i = 0; i < kSpectralSamples; ++i)
        for (int j = 0; j < 3; ++j)
            sum[j] += d65_[i] * xyz_bar_[j][i];
    const double norm = kReferenceCdm2 / sum[1];
    return Tristimulus{sum[0] * norm, kReferenceCdm2, sum[2] * norm};
}

struct S4Sensitivities {
    double s[kS4Channels][kSpectralSamples];
    double scale;
};

// The sensitivities at 170 and the scale at 21.
S4Sensitivities readSensitivities()
{
    constexpr int kBytes = kS4Channels * kSpectralSamples * 2;
    quint8 raw[kBytes];
    require(DC__ReadEEPROMEx(kEepromS4Sensitivities, kBytes, raw));
    S4Sensitivities data;
    for (int k = 0; k < kS4Channels; ++k) {
        for (int i = 0; i < kSpectralSamples; ++i) {
            const quint8 *p = raw + 2 * (k * kSpectralSamples + i);
            data.s[k][i] = ((p[0] << 8) | p[1]) / 100.0;
        }
    }
    const quint16 storedScale = ReadUINT16(kEepromS4Scale);
    if (storedScale == 0)
        throw kDcEepromUnusable;   // every reading would be black
    data.scale = storedScale / 100000.0;
    return data;
}

// The channel frequencies of a light of this spectrum at kReferenceCdm2,
// as the sensitivities and the scale give them (the fit maps them back to
// 683 · scale · the observer).
void referenceFrequencies(const S4Sensitivities &data, const double spectrum[kSpectralSamples],
                          float f[8])
{
    double luminance = 0;
    for (int i = 0; i < kSpectralSamples; ++i)
        luminance += kLumensPerWatt * xyz_bar_[1][i] * spectrum[i];
    std::fill(f, f + 8, 0.0f);
    if (!(luminance > 0))
        throw kDcEepromUnusable;
    for (int k = 0; k < kS4Channels; ++k) {
        double sum = 0;
        for (int i = 0; i < kSpectralSamples; ++i)
            sum += data.s[k][i] * spectrum[i] * kReferenceCdm2 / luminance;
        f[k + 1] = float(sum / data.scale);
    }
}

// The fit for Spyder4 calibration 2-7. Its reference is the white of the
// display its weighting describes (D65 for the flat row). On any failure
// the previous coefficients stay.
void S4_CalcCoefficients(qint32 calibration)
{
    const S4Sensitivities data = readSensitivities();
    const int row = calibration - 2;
    float fitted[3 * kS4Channels];
    if (!S4_FitCoefficients(data.s, data.scale, row, fitted))
        throw kDcNoUsableResult;
    float f[8];
    referenceFrequencies(data, row == 0 ? d65_ : weight_val_[row], f);
    requireLightThroughLevel2(S4_Level2_Coeff, CalcS4Level1(fitted, f), false);
    std::copy(fitted, fitted + 3 * kS4Channels, S4_Coeff);
    S4_CoeffValid = true;
    S4_LuminanceOnly = false;
}

// Luminance only: the seven floats at 25 become the Y row, once they read
// D65 through the sensitivities as a light.
void S4_LoadTokyoBlueCoeff()
{
    if (!(gHW_Flags & kFlagCalibration2))
        throw kDcCalibration1Missing;
    float coeff[3 * kS4Channels] = {};
    for (int n = 0; n < kS4Channels; ++n)
        coeff[kS4Channels + n] = floatFromBits(ReadFLOAT32(quint16(kEepromS4Luminance + 4 * n)));
    float f[8];
    referenceFrequencies(readSensitivities(), d65_, f);
    requireLightThroughLevel2(S4_Level2_Coeff, CalcS4Level1(coeff, f), true);
    std::copy(coeff, coeff + 3 * kS4Channels, S4_Coeff);
    S4_CoeffValid = true;
    S4_LuminanceOnly = true;
}

int S4_UseCalibration_(qint32 calibration)
{
    if (calibration < 1 || calibration > 7)
        return dcFail(kDcBadArgument);
    try {
        if (calibration == 1)
            S4_LoadTokyoBlueCoeff();
        else
            S4_CalcCoefficients(calibration);
    } catch (qint32 thrown) {
        return failWith(thrown);
    }
    return 1;
}

int DC_UseCalibration_(qint32 calibration)
{
    struct Choice {
        quint8 flag;
        quint8 table;
        qint32 missing;
    };
    static const Choice kChoices[4] = {
        {kFlagCalibration1, kCrtSets, kDcCalibration1Missing},
        {kFlagCalibration2, kLcdSets, kDcCalibration2Missing},
        {kFlagCalibration3, 0, kDcCalibration3Missing},
        {kFlagCalibration4, kCrtSets, kDcCalibration4Missing},
    };
    if (calibration < 1 || calibration > 4)
        return dcFail(kDcBadArgument);
    const Choice &c = kChoices[calibration - 1];
    // The Tokyo set's layout is unknown: never measure with it.
    if (calibration == 3 || !(gHW_Flags & c.flag))
        return dcFail(c.missing);
    coeffTab = c.table;
    return 1;
}

int DC_Startup_(quint8 *record, qint32 version, quint16 product)
{
    if (!record)
        return dcFail(kDcBadArgument);
    if (initialized)
        return dcFail(kDcAlreadyStarted);
    quint32 classic = 0;
    if (!LaunchSpyder(&classic, product))
        return dcFail(kDcNotOpened);

    quint8 serial[kSerialLength];
    quint16 hardwareWord = 0;
    try {
        const quint8 versionByte = readByte(kEepromVersion);
        const quint8 flagsByte = readByte(kEepromFlags);
        hardwareWord = quint16(versionByte << 8 | flagsByte);
        gHW_Version = version != 0 ? version : versionByte;
        gHW_Flags = flagsByte;
        _EUROPA_ = gHW_Version == 5;
        _ARACHNE_ = gHW_Version == 6;
        if (gHW_Version < 4 || gHW_Version > 7)
            throw kDcBadVersion;
        forgetCoefficients();
        loadCalibrationData();
        ReadSerialNumber(serial);
        if (_EUROPA_) {
            europaGainReference = readByte(kEepromEuropaGainReference);
            if (europaGainReference == 0)
                throw kDcEepromUnusable;   // every reading would be black
            require(SetGain(EUROPA_GAIN));
        }
    } catch (qint32 thrown) {
        failWith(thrown);
        SpyderShutDown();
        return 0;
    }

    const quint32 word = (quint32(hardwareWord) << 16) | 265u;
    for (int i = 0; i < 4; ++i)
        record[i] = quint8(word >> (8 * i));
    std::copy(serial, serial + kSerialLength, record + 4);
    initialized = true;

    // A device whose data fail the check, or whose calibrations cannot
    // give a light, is let go, so the next startup looks at the sensor
    // afresh.
    try {
        checkEeprom();
        if (isSpyder3())
            checkSpyder3Calibrations();
        else
            requireLightThroughLevel2(S4_Level2_Coeff, referenceWhite(), false);
    } catch (qint32 thrown) {
        failWith(thrown);
        SpyderShutDown();
        initialized = false;
        return 0;
    }
    return 1;
}

// A component no display can give is refused along with a non-finite one.
bool toThousandths(double value, qint32 *out)
{
    if (!std::isfinite(value) || std::fabs(value) > kMaxReadingCdm2)
        return false;
    const double scaled = 1000.0 * value;
    *out = qint32(scaled);
    return true;
}

// One measurement over clock µs.
void measure(quint32 clock, quint32 counts[8], quint32 periods[8])
{
    quint8 status = 0;
    require(DC_GetDetectorCounts(0, 0, 0, clock, counts, periods, &status));
}

Tristimulus CalcXYZ(const float f[8], bool level2)
{
    if (gHW_Version == 7) {
        const Tristimulus t = CalcS4Level1(S4_Coeff, f);
        return level2 ? CalcLevel2(S4_Level2_Coeff, t) : t;
    }
    const bool crt = coeffTab == kCrtSets;
    const Tristimulus t = CalcLevel1(crt ? coeff1crt : coeff1lcd, f, _EUROPA_,
                                     europaGainReference, EUROPA_GAIN);
    return level2 ? CalcLevel2(crt ? coeff2crt : coeff2lcd, t) : t;
}

// How far X, Y, Z may lie from the light: each channel's uncertainty
// carried through the calibration, one channel at a time. lightShown: a
// channel the calibration weighs counted pulses enough for a frequency.
Tristimulus readingNoise(const float f[8], const double df[8], bool level2, const Tristimulus &t,
                         bool &lightShown)
{
    Tristimulus noise;
    lightShown = false;
    for (int ch = 0; ch < 8; ++ch) {
        float moved[8];
        std::copy(f, f + 8, moved);
        moved[ch] = float(double(f[ch]) + df[ch]);
        const Tristimulus m = CalcXYZ(moved, level2);
        const Tristimulus d{std::fabs(m.X - t.X), std::fabs(m.Y - t.Y), std::fabs(m.Z - t.Z)};
        noise.X += d.X;
        noise.Y += d.Y;
        noise.Z += d.Z;
        lightShown |= f[ch] > 0.0f && d.X + d.Y + d.Z > 0;
    }
    return noise;
}

} // namespace

} // namespace spyder

using namespace spyder;

int DC_Startup(quint8 *record, quint16 product)
{
    return DC_Startup_(record, 0, product);
}

int DC_StartupEx(quint8 *record, quint16 product, qint32 version)
{
    return DC_Startup_(record, version, product);
}

int DC_StartupXXX1(quint8 *record)
{
    return DC_Startup_(record, 0, kSpyder3ProductId);
}

int DC_StartupXXX2(quint8 *record, qint32 version)
{
    return DC_Startup_(record, version, kSpyder3ProductId);
}

void DC_Shutdown()
{
    lastError = 0;
    sysError = 0;
    SpyderShutDown();
    initialized = false;
}

qint32 DC_GetDetailedError(quint8 *system)
{
    if (system)
        *system = quint8(sysError & 0xFF);
    return lastError;
}

int DC_UseCalibration(qint32 calibration)
{
    sysError = 0;
    if (!initialized)
        return dcFail(kDcNotStarted);
    if (isSpyder3())
        return DC_UseCalibration_(calibration);
    if (gHW_Version == 7)
        return S4_UseCalibration_(calibration);
    return dcFail(kDcBadVersion);
}

int DC_GetXYZ(quint16 time, qint32 *X, qint32 *Y, qint32 *Z)
{
    return DC_GetXYZEx(time, X, Y, Z, 1);
}

int DC_GetXYZEx(quint16 time, qint32 *X, qint32 *Y, qint32 *Z, int level2)
{
    if (!initialized)
        return dcFail(kDcNotStarted);
    if (!X || !Y || !Z || time == 0)
        return dcFail(kDcBadArgument);
    try {
        // A Spyder4 measures with the flat weighting until told otherwise.
        if (gHW_Version == 7 && !S4_CoeffValid)
            S4_CalcCoefficients(2);
        if (isSpyder3() && coeffTab == kLcdSets && !(gHW_Flags & kFlagCalibration2))
            throw kDcCalibration2Missing;

        quint32 counts[8], periods[8];
        const quint32 clock = clockForTime(time);
        measure(clock, counts, periods);
        if (_EUROPA_) {
            for (int ch = 0; ch < 4; ++ch) {
                if (counts[ch] > 0xFFFE)
                    throw kDcCountOverflow;
            }
        }
        if (!countsArePlausible(counts, periods, lastStampSpans, clock))
            throw kDcNoUsableResult;   // a damaged reply, not a light
        float f[8];
        channelFrequencies(counts, periods, time, isSpyder3() && coeffTab == kCrtSets, f);
        const Tristimulus t = CalcXYZ(f, level2 != 0);
        double df[8];
        frequencyUncertainty(counts, periods, clock, f, df);
        bool lightShown = false;
        const Tristimulus noise = readingNoise(f, df, level2 != 0, t, lightShown);
        if (!isALight(t, noise, gHW_Version == 7 && S4_LuminanceOnly, lightShown))
            throw kDcNoUsableResult;   // no light gives this
        qint32 x, y, z;
        if (!toThousandths(t.X, &x) || !toThousandths(t.Y, &y) || !toThousandths(t.Z, &z))
            throw kDcNoUsableResult;
        *X = x;
        *Y = y;
        *Z = z;
    } catch (qint32 thrown) {
        return failWith(thrown);
    }
    return 1;
}

int DC_GetReadings(quint32 time, quint32 counts[8], quint32 periods[8], int raw)
{
    if (!initialized)
        return dcFail(kDcNotStarted);
    if (!counts || !periods || time == 0)
        return dcFail(kDcBadArgument);
    const quint32 clock = raw ? std::min(time, kMaxClock) : clockForTime(time);
    try {
        measure(clock, counts, periods);
    } catch (qint32 thrown) {
        return failWith(thrown);
    }
    return 1;
}

int DC_GetRawUnfiltered(quint16 time, quint32 *count)
{
    if (!count)
        return initialized ? dcFail(kDcBadArgument) : dcFail(kDcNotStarted);
    quint32 counts[8], periods[8];
    if (!DC_GetReadings(time, counts, periods, 0))
        return 0;
    *count = counts[0];
    return 1;
}
