#include "spyder_calibration.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace spyder {

quint32 CRC32_Init()
{
    return 0xFFFFFFFFu;
}

quint32 CRC32_Calc(quint32 crc, const quint8 *data, quint32 length)
{
    for (quint32 i = 0; i < length; ++i)
        crc = CRC32_TABLE[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

quint32 CRC32_Fini(quint32 crc)
{
    return ~crc;
}

quint32 clockForTime(quint32 time)
{
    constexpr double kMaxUnsigned32 = 4294967295.0;
    const double us = std::clamp(time * 1000000.0 / 60.0, 0.0, kMaxUnsigned32);
    return std::min(quint32(us), quint32(0xFFFFFF));
}

bool countsArePlausible(const quint32 counts[8], const quint32 periods[8],
                        const quint32 stampSpans[8], quint32 clock)
{
    const double window = clock;
    const double longestPeriod = window * 1.01 + kStampSlackUs;
    for (int ch = 0; ch < 8; ++ch) {
        if (periods[ch] > longestPeriod)
            return false;
        const double n = counts[ch];
        if (n < 2) {
            // One pulse has one time; none leaves the stamps alike.
            if (stampSpans[ch] != 0)
                return false;
            continue;
        }
        if (periods[ch] == 0 || (n - 1) * 1e6 > kMaxPulseHz * periods[ch])
            return false;
        const double shortest = (window - 2 * kMaxRefreshLagUs) * (n - 1) / (n + 1) -
                                2 * kMaxRefreshLagUs - kStampSlackUs;
        if (periods[ch] < shortest)
            return false;
    }
    return true;
}

void frequencyUncertainty(const quint32 counts[8], const quint32 periods[8], quint32 clock,
                          const float f[8], double df[8])
{
    for (int ch = 0; ch < 8; ++ch) {
        if (f[ch] > 0.0f) {
            const double outside = std::clamp(double(clock) - periods[ch], 0.0,
                                              4 * kMaxRefreshLagUs);
            df[ch] = double(f[ch]) * (outside + kStampSlackUs) / periods[ch];
        } else {
            // Fewer than 2 pulses: the light stays below 2 per window.
            const double window = std::max(double(clock) - 2 * kMaxRefreshLagUs, 1.0);
            df[ch] = (counts[ch] < 2 ? 2.0 : double(counts[ch])) * 1e6 / window;
        }
    }
}

namespace {

// One edge of the locus hull: a x + b y + c >= 0 inside.
struct LocusEdge {
    double a, b, c;
};

std::vector<LocusEdge> makeLocusEdges()
{
    constexpr double kSmallestSum = 0.005;   // below it the four decimals are noise
    struct Point {
        double x, y;
    };
    std::vector<Point> points;
    for (int i = 0; i < kSpectralSamples; ++i) {
        const double sum = xyz_bar_[0][i] + xyz_bar_[1][i] + xyz_bar_[2][i];
        if (sum >= kSmallestSum)
            points.push_back({xyz_bar_[0][i] / sum, xyz_bar_[1][i] / sum});
    }
    std::sort(points.begin(), points.end(),
              [](const Point &p, const Point &q) { return p.x < q.x || (p.x == q.x && p.y < q.y); });
    auto cross = [](const Point &o, const Point &p, const Point &q) {
        return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
    };
    // Counter-clockwise hull, lower then upper chain.
    std::vector<Point> hull;
    for (int pass = 0; pass < 2; ++pass) {
        const size_t base = hull.size();
        for (size_t n = 0; n < points.size(); ++n) {
            const Point &p = pass == 0 ? points[n] : points[points.size() - 1 - n];
            while (hull.size() >= base + 2 && cross(hull[hull.size() - 2], hull.back(), p) <= 0)
                hull.pop_back();
            hull.push_back(p);
        }
        hull.pop_back();
    }
    std::vector<LocusEdge> edges;
    for (size_t n = 0; n < hull.size(); ++n) {
        const Point &p = hull[n];
        const Point &q = hull[(n + 1) % hull.size()];
        const double length = std::hypot(q.x - p.x, q.y - p.y);
        const double a = -(q.y - p.y) / length, b = (q.x - p.x) / length;
        edges.push_back({a, b, -(a * p.x + b * p.y) + kLocusMargin});
    }
    return edges;
}

const std::vector<LocusEdge> &locusEdges()
{
    static const std::vector<LocusEdge> edges = makeLocusEdges();
    return edges;
}

} // namespace

bool isALight(const Tristimulus &t, const Tristimulus &noise, bool luminanceOnly,
              bool lightShown)
{
    if (!std::isfinite(t.X) || !std::isfinite(t.Y) || !std::isfinite(t.Z) ||
        !std::isfinite(noise.X) || !std::isfinite(noise.Y) || !std::isfinite(noise.Z))
        return false;
    if (t.Y < -noise.Y)
        return false;
    if (lightShown && std::fabs(t.Y) <= noise.Y &&
        (luminanceOnly || (std::fabs(t.X) <= noise.X && std::fabs(t.Z) <= noise.Z)))
        return false;   // black while the counts saw light
    if (luminanceOnly)
        return true;
    if (t.X < -noise.X || t.Z < -noise.Z)
        return false;
    // Each edge as a linear form in X, Y, Z (times S = X + Y + Z), which
    // may miss by the noise its terms carry.
    const double sum = t.X + t.Y + t.Z;
    const double sumNoise = noise.X + noise.Y + noise.Z;
    for (const LocusEdge &e : locusEdges()) {
        const double value = e.a * t.X + e.b * t.Y + e.c * sum;
        const double slack =
            std::fabs(e.a) * noise.X + std::fabs(e.b) * noise.Y + std::fabs(e.c) * sumNoise;
        if (value < -slack)
            return false;
    }
    return true;
}

void channelFrequencies(const quint32 counts[8], const quint32 periods[8], quint16 time,
                        bool crtOverride, float f[8])
{
    constexpr float kRefreshHz = 60.0f;
    constexpr float kCrtLimit = 1.5f;
    for (int ch = 0; ch < 8; ++ch) {
        if (counts[ch] == 0 || periods[ch] == 0) {
            f[ch] = 0.0f;
            continue;
        }
        f[ch] = float(counts[ch] - 1) / (float(periods[ch]) / 1000000.0f);
        if (crtOverride && f[ch] / kRefreshHz > kCrtLimit && time != 0)
            f[ch] = float(counts[ch] / (time / 60.0));
    }
}

Tristimulus CalcLevel1(const float set[kSetSize], const float f[8], bool europa,
                       quint8 gainReference, quint8 gain)
{
    // A row's channel weights start at element 1 + channel, or at
    // element 2 + channel on a version-5 device (channels 0-3).
    const int first = europa ? 0 : 1;
    const int last = europa ? 3 : 7;
    const int offset = europa ? 2 : 1;
    Tristimulus t;
    t.X = set[0];
    t.Y = set[kRowSize];
    t.Z = set[2 * kRowSize];
    for (int ch = first; ch <= last; ++ch) {
        t.X += double(f[ch]) * set[ch + offset];
        t.Y += double(f[ch]) * set[kRowSize + ch + offset];
        t.Z += double(f[ch]) * set[2 * kRowSize + ch + offset];
    }
    if (europa) {
        const double ratio = double(gainReference) / double(gain);
        t.X *= ratio;
        t.Y *= ratio;
        t.Z *= ratio;
    }
    return t;
}

Tristimulus CalcLevel2(const float set[kSetSize], const Tristimulus &in)
{
    const double terms[kRowSize] = {in.X,        in.Y,        in.Z,
                                    in.X * in.Y, in.X * in.Z, in.Y * in.Z,
                                    in.X * in.X, in.Y * in.Y, in.Z * in.Z};
    double out[3] = {};
    for (int row = 0; row < 3; ++row) {
        for (int t = 0; t < kRowSize; ++t)
            out[row] += double(set[row * kRowSize + t]) * terms[t];
    }
    return Tristimulus{out[0], out[1], out[2]};
}

Tristimulus CalcS4Level1(const float coeff[3 * kS4Channels], const float f[8])
{
    double out[3] = {};
    for (int row = 0; row < 3; ++row) {
        for (int n = 0; n < kS4Channels; ++n)
            out[row] += double(f[n + 1]) * coeff[row * kS4Channels + n];
    }
    return Tristimulus{out[0], out[1], out[2]};
}

int SymmetricMatrixInvert(double *matrix, int n)
{
    // Symmetric sweeps on the upper triangle; sweeping every pivot leaves
    // the negated inverse.
    auto at = [matrix, n](int i, int j) -> double & {
        return i <= j ? matrix[i * n + j] : matrix[j * n + i];
    };
    std::vector<bool> used(size_t(std::max(n, 0)), false);
    std::vector<double> diagonal(size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i)
        diagonal[size_t(i)] = std::fabs(at(i, i));
    for (int step = 0; step < n; ++step) {
        int k = -1;
        double largest = -1.0;
        for (int i = 0; i < n; ++i) {
            if (!used[size_t(i)] && std::fabs(at(i, i)) > largest) {
                largest = std::fabs(at(i, i));
                k = i;
            }
        }
        // No pivot left, or one that is all rounding: singular (a NaN
        // fails the comparison too).
        if (k < 0 || !(std::fabs(at(k, k)) > kRelativePivotLimit * diagonal[size_t(k)]))
            return 0;
        const double pivot = at(k, k);
        used[size_t(k)] = true;
        for (int i = 0; i < n; ++i) {
            if (i == k)
                continue;
            for (int j = i; j < n; ++j) {
                if (j != k)
                    at(i, j) -= at(i, k) * at(k, j) / pivot;
            }
        }
        for (int i = 0; i < n; ++i) {
            if (i != k)
                at(i, k) /= pivot;
        }
        at(k, k) = -1.0 / pivot;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            matrix[i * n + j] = -matrix[i * n + j];
            matrix[j * n + i] = matrix[i * n + j];
        }
    }
    return 1;
}

int Regress(const double *targets, const double *predictors, const double *weights,
            double *coefficients, int n, int m)
{
    if (m - n <= 0 || n <= 0)
        return 0;
    std::vector<double> normal(size_t(n) * size_t(n), 0.0);
    std::vector<double> v(size_t(n), 0.0);
    for (int a = 0; a < n; ++a) {
        const double *pa = predictors + size_t(a) * size_t(m);
        for (int b = a; b < n; ++b) {
            const double *pb = predictors + size_t(b) * size_t(m);
            double sum = 0.0;
            for (int s = 0; s < m; ++s)
                sum += pa[s] * weights[s] * pb[s];
            normal[size_t(a) * size_t(n) + size_t(b)] = sum;
            normal[size_t(b) * size_t(n) + size_t(a)] = sum;
        }
        double sum = 0.0;
        for (int s = 0; s < m; ++s)
            sum += targets[s] * weights[s] * pa[s];
        v[size_t(a)] = sum;
    }
    if (!SymmetricMatrixInvert(normal.data(), n))
        return 0;
    for (int a = 0; a < n; ++a) {
        double c = 0.0;
        for (int b = 0; b < n; ++b)
            c += normal[size_t(a) * size_t(n) + size_t(b)] * v[size_t(b)];
        coefficients[a] = c;
    }
    return 1;
}

namespace {

// Every wavelength counts the same in the fit.
void S4_LoadWeighting(double weights[kSpectralSamples])
{
    std::fill(weights, weights + kSpectralSamples, 1.0);
}

} // namespace

int S4_FitCoefficients(const double sensitivities[kS4Channels][kSpectralSamples], double scale,
                       int row, float coeff[3 * kS4Channels])
{
    if (row < 0 || row >= kWeightingRows)
        return 0;
    const double *weighting = weight_val_[row];
    double predictors[kS4Channels * kSpectralSamples];
    for (int k = 0; k < kS4Channels; ++k) {
        for (int i = 0; i < kSpectralSamples; ++i)
            predictors[k * kSpectralSamples + i] = sensitivities[k][i] * weighting[i];
    }
    double sampleWeights[kSpectralSamples];
    S4_LoadWeighting(sampleWeights);

    double fitted[3 * kS4Channels];
    for (int j = 0; j < 3; ++j) {
        double targets[kSpectralSamples];
        for (int i = 0; i < kSpectralSamples; ++i)
            targets[i] = weighting[i] * xyz_bar_[j][i] * scale * kLumensPerWatt;
        if (!Regress(targets, predictors, sampleWeights, fitted + j * kS4Channels, kS4Channels,
                     kSpectralSamples))
            return 0;
    }
    for (int i = 0; i < 3 * kS4Channels; ++i)
        coeff[i] = float(fitted[i]);
    return 1;
}

} // namespace spyder
