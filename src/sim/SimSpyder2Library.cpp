#include "SimSpyder2Library.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pz {
namespace {

constexpr qint64 kUsPerTimeUnit = 1'000'000 / 60;   // the time argument counts 1/60 s

qint32 thousandths(double v)
{
    return qint32(std::lround(v * 1000.0));
}

} // namespace

SimSensorFigures SimSpyder2Library::figures()
{
    SimSensorFigures f;
    f.relativeNoise = SimSpyder::kNoiseRelative;
    f.noiseFloor = SimSpyder::kNoiseFloorCdm2;
    return f;
}

SimSpyder2Library::SimSpyder2Library(SimLightSource light)
    : m_light(std::move(light)), m_noise(figures())
{
}

void SimSpyder2Library::setLight(SimLightSource light)
{
    QMutexLocker lock(&m_lock);
    m_light = std::move(light);
}

void SimSpyder2Library::setFixedLight(const SimXYZ &display)
{
    setLight([display] { return SimLightAtSensor{display, 0}; });
}

void SimSpyder2Library::setConfig(const SimSpyder2Config &config)
{
    QMutexLocker lock(&m_lock);
    m_config = config;
}

void SimSpyder2Library::setAttached(bool attached)
{
    QMutexLocker lock(&m_lock);
    m_attached = attached;
    m_started = false;
}

bool SimSpyder2Library::isAttached() const
{
    QMutexLocker lock(&m_lock);
    return m_attached;
}

void SimSpyder2Library::failWithValuesNext(qint32 code, int count)
{
    QMutexLocker lock(&m_lock);
    m_valueFaultCode = code;
    m_valueFaults = count;
}

int SimSpyder2Library::startups() const
{
    QMutexLocker lock(&m_lock);
    return m_startups;
}

QVector<int> SimSpyder2Library::readingTimes() const
{
    QMutexLocker lock(&m_lock);
    return m_times;
}

void SimSpyder2Library::clearReadingTimes()
{
    QMutexLocker lock(&m_lock);
    m_times.clear();
}

QVector<qint32> SimSpyder2Library::calibrations() const
{
    QMutexLocker lock(&m_lock);
    return m_calibrations;
}

bool SimSpyder2Library::started() const
{
    QMutexLocker lock(&m_lock);
    return m_started;
}

int SimSpyder2Library::failLocked(qint32 code)
{
    m_error = code;
    return 0;
}

bool SimSpyder2Library::readyLocked()
{
    if (!m_started)
        return failLocked(kNotStarted);
    if (!m_attached || m_faults.isLost() || m_faults.generation() != m_startedGeneration)
        return failLocked(kNoDevice);
    return true;
}

int SimSpyder2Library::Startup(quint8 *record)
{
    QMutexLocker lock(&m_lock);
    ++m_startups;
    if (m_started)
        return failLocked(kCvAlreadyStarted);
    if (!m_attached || m_faults.isLost())
        return failLocked(kNoDevice);
    if (const auto fault = m_faults.takeFault("Startup"))
        return failLocked(*fault);
    m_started = true;
    m_startedGeneration = m_faults.generation();
    if (record) {
        std::memset(record, 0, kCvRecordSize);
        record[0] = 2;   // the family
        std::memcpy(record + 4, m_config.serial.constData(),
                    size_t(std::min<qsizetype>(m_config.serial.size(), kCvRecordSize - 4)));
    }
    return 1;
}

int SimSpyder2Library::UseCalibration(qint32 calibration)
{
    QMutexLocker lock(&m_lock);
    m_calibrations.append(calibration);
    if (!readyLocked())
        return 0;
    if (const auto fault = m_faults.takeFault("UseCalibration"))
        return failLocked(*fault);
    if (calibration != kCalibrationCrt && calibration != kCalibrationLcd)
        return failLocked(kBadCalibration);
    return 1;
}

int SimSpyder2Library::GetXYZ(int time, qint32 *X, qint32 *Y, qint32 *Z)
{
    QMutexLocker lock(&m_lock);
    m_times.append(time);
    if (!readyLocked())
        return 0;
    const SimLightSource light = m_light;
    lock.unlock();
    if (const auto fault = m_faults.takeFault("GetXYZ", time * kUsPerTimeUnit)) {
        lock.relock();
        return failLocked(*fault);
    }
    const bool stillThere = m_faults.sleepUs(std::max(time, 0) * kUsPerTimeUnit);
    const SimXYZ seen = m_noise.emissive(light ? light().emissive : SimXYZ());
    lock.relock();
    if (!stillThere || !readyLocked())
        return failLocked(kNoDevice);
    if (X)
        *X = thousandths(seen.X);
    if (Y)
        *Y = thousandths(seen.Y);
    if (Z)
        *Z = thousandths(seen.Z);
    if (m_valueFaults > 0) {
        --m_valueFaults;
        return failLocked(m_valueFaultCode);
    }
    return 1;
}

int SimSpyder2Library::GetRefreshRate(double &rate)
{
    QMutexLocker lock(&m_lock);
    if (!readyLocked())
        return 0;
    if (const auto fault = m_faults.takeFault("GetRefreshRate"))
        return failLocked(*fault);
    if (m_config.crtRefreshHz <= 0)
        return failLocked(kCvNoRefresh);
    rate = m_config.crtRefreshHz;
    return 1;
}

qint32 SimSpyder2Library::GetDetailedError(quint8 *system)
{
    QMutexLocker lock(&m_lock);
    if (system)
        *system = 0;
    return m_error;
}

int SimSpyder2Library::Shutdown()
{
    QMutexLocker lock(&m_lock);
    m_started = false;
    return 1;
}

} // namespace pz
