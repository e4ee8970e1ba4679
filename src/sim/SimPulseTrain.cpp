#include "SimPulseTrain.h"

#include <cmath>

namespace pz {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr quint32 kMaxCount = 0xFFFFFF;

// Pulses elapsed t seconds into the window (a fraction counts part of one).
struct Phase {
    double hz, start, omega, depth, phase;

    double at(double t) const
    {
        if (depth == 0.0 || omega == 0.0)
            return hz * t;
        return hz * (t - depth / omega *
                             (std::cos(omega * (start + t) + phase) -
                              std::cos(omega * start + phase)));
    }

    // The time at which `pulses` have elapsed, within [0, window].
    double inverse(double pulses, double window) const
    {
        if (depth == 0.0 || omega == 0.0)
            return pulses / hz;
        double lo = 0.0, hi = window;
        for (int i = 0; i < 80; ++i) {
            const double mid = 0.5 * (lo + hi);
            (at(mid) < pulses ? lo : hi) = mid;
        }
        return 0.5 * (lo + hi);
    }
};

} // namespace

SimPulseTrain simPulseTrain(double hz, double startUs, double windowUs, const SimRefresh &refresh)
{
    SimPulseTrain train;
    if (!(hz > 0.0) || !(windowUs > 0.0))
        return train;
    const double window = windowUs * 1e-6;
    const double depth = std::fabs(refresh.depth) < 1.0 ? refresh.depth : 0.0;
    const Phase p{hz, startUs * 1e-6, kTwoPi * refresh.hz, depth, refresh.phase};
    const double elapsed = p.at(window);
    const double pulses = std::floor(elapsed + 0.5);
    if (pulses < 1.0)
        return train;
    train.count = pulses > kMaxCount ? kMaxCount : quint32(pulses);
    train.firstUs = p.inverse(0.5, window) * 1e6;
    train.lastUs = p.inverse(train.count - 0.5, window) * 1e6;
    return train;
}

} // namespace pz
