#include "SimSensorNoise.h"

#include <QByteArray>

namespace pz {

SimSensorNoise::SimSensorNoise(const SimSensorFigures &figures, quint32 seed)
    : m_figures(figures), m_random(seed)
{
}

SimSensorFigures SimSensorNoise::figures() const
{
    QMutexLocker lock(&m_lock);
    return m_figures;
}

void SimSensorNoise::setFigures(const SimSensorFigures &figures)
{
    QMutexLocker lock(&m_lock);
    m_figures = figures;
}

bool SimSensorNoise::enabled() const
{
    QMutexLocker lock(&m_lock);
    return m_enabled;
}

void SimSensorNoise::setEnabled(bool on)
{
    QMutexLocker lock(&m_lock);
    m_enabled = on;
}

void SimSensorNoise::setSeed(quint32 seed)
{
    QMutexLocker lock(&m_lock);
    m_random.seed(seed);
}

void SimSensorNoise::configureFromEnvironment()
{
    const bool simulate = qEnvironmentVariableIntValue("PELZORA_SIMULATE") == 1;
    const bool off = qEnvironmentVariableIsSet("PELZORA_SIM_NOISE")
                  && qEnvironmentVariable("PELZORA_SIM_NOISE").trimmed() == QLatin1String("0");
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("PELZORA_SIM_SEED").toUInt(&ok);
    setSeed(ok ? seed : kDefaultSeed);
    setEnabled(simulate && !off);
}

double SimSensorNoise::noisy(double v, double relative, double floor)
{
    // Both draws are always taken, so switching one figure to 0 does not
    // shift the rest of the sequence.
    std::normal_distribution<double> gauss(0.0, 1.0);
    const double a = gauss(m_random);
    const double b = gauss(m_random);
    return v * (1.0 + relative * a) + floor * b;
}

SimXYZ SimSensorNoise::emissive(const SimXYZ &light)
{
    QMutexLocker lock(&m_lock);
    if (!m_enabled)
        return light;
    const double rel = m_figures.relativeNoise;
    const double floor = m_figures.noiseFloor;
    const double X = noisy(light.X, rel, floor);
    const double Y = noisy(light.Y, rel, floor);
    const double Z = noisy(light.Z, rel, floor);
    return SimXYZ{X, Y, Z};
}

double SimSensorNoise::ambientLux(double lux)
{
    QMutexLocker lock(&m_lock);
    if (!m_enabled)
        return lux;
    return noisy(lux, m_figures.ambientRelativeNoise, m_figures.ambientNoiseFloor);
}

} // namespace pz
