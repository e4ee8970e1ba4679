#pragma once
// The Spyder3/4 calibration maths, free of device I/O: the EEPROM checksum,
// pulse counts to channel frequencies, the Spyder3's stored coefficient sets
// (level 1 linear in the channels, level 2 quadratic in X, Y, Z), and the
// Spyder4's least-squares fit of its seven channels' spectral sensitivities
// to the CIE observer under a display weighting.

#include <QtGlobal>

namespace spyder {

constexpr int kSpectralSamples = 41;     // 380 to 780 nm in 10 nm steps
constexpr int kS4Channels = 7;           // the Spyder4's channels 1-7
constexpr int kWeightingRows = 6;        // one per Spyder4 calibration 2-7
constexpr int kSetSize = 27;             // three rows of nine
constexpr int kRowSize = 9;
constexpr double kLumensPerWatt = 683.0;

// Display weightings of the Spyder4 fit; row r serves calibration r + 2.
// Row 0 is flat; rows 1-5 are display spectra (CCFL, wide-gamut CCFL, white
// LED, RGB LED, wide-gamut CCFL with a deep-red line).
extern const double weight_val_[kWeightingRows][kSpectralSamples];
// The CIE 1931 2° observer, rows x̄, ȳ, z̄ (src/model/CieObserver.h).
extern const double (&xyz_bar_)[3][kSpectralSamples];
// CIE illuminant D65, relative spectral power over the same wavelengths.
extern const double d65_[kSpectralSamples];
// The reflected CRC-32 table of polynomial 0xEDB88320.
extern const quint32 (&CRC32_TABLE)[256];

quint32 CRC32_Init();
quint32 CRC32_Calc(quint32 crc, const quint8 *data, quint32 length);
quint32 CRC32_Fini(quint32 crc);

struct Tristimulus {
    double X = 0, Y = 0, Z = 0;
};

// A reading's clock count in µs for a time in 1/60 s, at most 0xFFFFFF.
quint32 clockForTime(quint32 time);

// The channels' light-to-frequency converters saturate near 1 MHz: a reply
// claiming pulses faster than this is damaged.
constexpr double kMaxPulseHz = 1.5e6;
// Far above the luminance of any display: X, Y or Z beyond it in cd/m²
// comes from damaged data, not from a screen.
constexpr double kMaxReadingCdm2 = 10000.0;
// Stamps come in units of 65/8 µs, rounded at both ends of a span.
constexpr double kStampSlackUs = 2 * 65.0 / 8.0;
// A display's light flickers with its refresh, no slower than 24 Hz: even
// at full depth that moves a pulse by at most 1 / (2π · 24 Hz) against
// steady light, so a channel's span may be that much off at each end.
constexpr double kMaxRefreshLagUs = 1e6 / (2 * 3.141592653589793 * 24.0);

// Whether the eight channels' counts, periods (µs) and stamp spans (µs,
// last stamp minus first whatever the count) can come from one
// measurement window of clock µs: no channel with more than one pulse and
// no period, no period longer than the window, no pulse rate above
// kMaxPulseHz; no or one pulse only with both stamps alike; and n >= 2
// pulses spanning the window but for the gaps a pulse can leave at either
// end: at least (clock − 2 lag)(n − 1)/(n + 1) − 2 lag (a window holding
// n pulses is shorter than n + 1 of their intervals).
bool countsArePlausible(const quint32 counts[8], const quint32 periods[8],
                        const quint32 stampSpans[8], quint32 clock);

// f = (count − 1) / (period / 10⁶) in Hz, single precision; 0 for a count
// or period of 0. With crtOverride (the CRT sets in use), a frequency above
// 1.5 × 60 Hz becomes count / (time / 60.0).
void channelFrequencies(const quint32 counts[8], const quint32 periods[8], quint16 time,
                        bool crtOverride, float f[8]);

// How far each channel's frequency may lie from the light's (Hz) in a
// true reply, apart from an error all channels share (flicker moves every
// channel's span alike, over the window; a shared scale leaves a light a
// light): a channel with pulses by the part of the window its span leaves
// out, at most twice the refresh lag at each end, and the stamps' rounding;
// one without (0 or 1 pulse) by as much as could hide in the window,
// 2 pulses.
void frequencyUncertainty(const quint32 counts[8], const quint32 periods[8], quint32 clock,
                          const float f[8], double df[8]);

// The chromaticities a light can have: the convex hull of the spectral
// locus (the observer's samples from 380 to 710 nm, where the table's four
// decimals still give the locus), closed by the purple line, widened by
// kLocusMargin: between the 10 nm samples the locus bulges up to 0.0075
// beyond their hull (near 505 nm).
constexpr double kLocusMargin = 0.01;

// Whether X, Y, Z (cd/m²), each known to within noise, can be a light:
// finite, none below zero beyond its noise (Z >= 0 is x + y <= 1), and the
// chromaticity inside the locus hull, each edge allowed the noise of the
// components it weighs. luminanceOnly (X and Z are not measured): Y alone,
// not below zero. lightShown: the counts the calibration weighs saw light,
// so all three within their noise of 0 (black) is refused too.
bool isALight(const Tristimulus &t, const Tristimulus &noise, bool luminanceOnly,
              bool lightShown);

// Level 1 of a Spyder3 set over channels 1-7 (element 0 of a row is the
// constant term, elements 2-8 the channels' weights). A version-5 device
// uses channels 0-3 at elements channel + 2 and scales the result by
// gainReference / gain (gain is never 0).
Tristimulus CalcLevel1(const float set[kSetSize], const float f[8], bool europa,
                       quint8 gainReference, quint8 gain);
// Nine terms per row: X, Y, Z, XY, XZ, YZ, X², Y², Z².
Tristimulus CalcLevel2(const float set[kSetSize], const Tristimulus &in);
// The Spyder4's level 1: seven coefficients per component over channels 1-7.
Tristimulus CalcS4Level1(const float coeff[3 * kS4Channels], const float f[8]);

// A pivot that keeps less than this part of its row's own diagonal means
// that row repeats the others within rounding: the matrix is as good as
// singular, and an inverse would only amplify that rounding.
constexpr double kRelativePivotLimit = 1e-8;

// Inverts a symmetric n x n matrix (row-major) in place by Gauss-Jordan
// elimination with diagonal pivoting on the upper triangle. 0 when a pivot
// is not above kRelativePivotLimit times its row's diagonal as given, or
// is not a number (the matrix is then undefined), else 1.
int SymmetricMatrixInvert(double *matrix, int n);

// Weighted least squares: coefficients (n) of n predictors (row-major n x m)
// for m samples of targets with weights. 0 when m <= n or the normal
// equations cannot be inverted (coefficients untouched), else 1.
int Regress(const double *targets, const double *predictors, const double *weights,
            double *coefficients, int n, int m);

// The Spyder4 fit for weighting row: sensitivities S[k][i] (already divided
// by 100) and the sensitivity scale s give seven coefficients per
// component, X row first. 0 (coeff untouched) when the normal equations
// cannot be inverted.
int S4_FitCoefficients(const double sensitivities[kS4Channels][kSpectralSamples], double scale,
                       int row, float coeff[3 * kS4Channels]);

} // namespace spyder
