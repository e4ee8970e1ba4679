#pragma once
// The measurement noise and range of one simulated sensor. Each reading gets,
// per component, v·(1 + N(0, rel)) + N(0, floor) from a seeded std::mt19937,
// so a run with the same seed gives the same readings. Each device family
// has its own figures.
//
// Noise is off unless switched on: tests turn it on where they want it, and
// configureFromEnvironment() turns it on under PELZORA_SIMULATE=1 (unless
// PELZORA_SIM_NOISE=0), seeded from PELZORA_SIM_SEED (default 1).

#include "SimLightModel.h"

#include <QMutex>
#include <limits>
#include <random>

namespace pz {

struct SimSensorFigures {
    double relativeNoise = 0.0;          // standard deviation relative to each component
    double noiseFloor = 0.0;             // absolute standard deviation, cd/m²
    double ambientRelativeNoise = 0.01;  // the same for the illuminance
    double ambientNoiseFloor = 0.5;      // lux
    // Luminance above which the device reports over-range (each family
    // says how); infinite: never.
    double saturationLuminance = std::numeric_limits<double>::infinity();

    bool overRange(const SimXYZ &reading) const { return reading.Y > saturationLuminance; }
};

class SimSensorNoise {
public:
    static constexpr quint32 kDefaultSeed = 1;

    explicit SimSensorNoise(const SimSensorFigures &figures = SimSensorFigures(),
                            quint32 seed = kDefaultSeed);

    SimSensorFigures figures() const;
    void setFigures(const SimSensorFigures &figures);
    bool enabled() const;
    void setEnabled(bool on);
    // Restarts the sequence.
    void setSeed(quint32 seed);
    // On under PELZORA_SIMULATE=1 unless PELZORA_SIM_NOISE=0, with the seed
    // of PELZORA_SIM_SEED; off otherwise.
    void configureFromEnvironment();

    // A display reading of the light (cd/m²), with noise when enabled.
    SimXYZ emissive(const SimXYZ &light);
    // An ambient reading of the illuminance (lux), with noise when enabled.
    double ambientLux(double lux);

private:
    double noisy(double v, double relative, double floor);

    mutable QMutex m_lock;   // a device may be read from more than one thread
    SimSensorFigures m_figures;
    bool m_enabled = false;
    std::mt19937 m_random;
};

} // namespace pz
