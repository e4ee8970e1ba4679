#include "SimI1d3Library.h"

#include <cmath>

namespace pz {

namespace {

I1d3CalibrationEntry entry(quint16 key, const char *name)
{
    return I1d3CalibrationEntry{key, QString::fromLatin1(name)};
}

SimSensorFigures i1d3Figures()
{
    SimSensorFigures f;
    f.relativeNoise = 0.001;
    f.noiseFloor = 0.01;
    f.saturationLuminance = SimI1d3Library::kOverRangeLuminance;
    return f;
}

qint64 secondsToUs(double seconds)
{
    return qint64(std::llround(seconds * 1e6));
}

constexpr I1d3Handle kHandleBase = 0x1D300000;

} // namespace

QVector<I1d3CalibrationEntry> SimI1d3Config::standardCalibrations()
{
    return {entry(1, "CRT"), entry(3, "LCD (CCFL)"), entry(6, "Wide Gamut CCFL"),
            entry(9, "LCD (White LED)"), entry(12, "RGB LED")};
}

QVector<I1d3CalibrationEntry> SimI1d3Config::duplicatedKeyCalibrations()
{
    QVector<I1d3CalibrationEntry> list = standardCalibrations();
    list.insert(3, entry(6, "Wide Gamut CCFL (second)"));
    return list;
}

QVector<I1d3CalibrationEntry> SimI1d3Config::twoCalibrations()
{
    return {entry(1, "CRT"), entry(3, "LCD (CCFL)")};
}

SimI1d3Library::SimI1d3Library(SimSensorLight &light) : m_light(light), m_noise(i1d3Figures()) {}

void SimI1d3Library::setConfig(const SimI1d3Config &config)
{
    QMutexLocker lock(&m_lock);
    m_config = config;
}

SimI1d3Config SimI1d3Library::config() const
{
    QMutexLocker lock(&m_lock);
    return m_config;
}

void SimI1d3Library::setAttached(bool attached)
{
    QMutexLocker lock(&m_lock);
    if (attached && !m_attached)
        ++m_attachCount;
    m_attached = attached;
}

bool SimI1d3Library::isAttached() const
{
    QMutexLocker lock(&m_lock);
    return m_attached;
}

void SimI1d3Library::setDiffuser(bool coversLens)
{
    QMutexLocker lock(&m_lock);
    m_diffuserOverLens = coversLens;
}

bool SimI1d3Library::diffuserCoversLens() const
{
    QMutexLocker lock(&m_lock);
    return m_diffuserOverLens;
}

void SimI1d3Library::setAutomaticHand(bool on)
{
    QMutexLocker lock(&m_lock);
    m_automaticHand = on;
}

bool SimI1d3Library::automaticHand() const
{
    QMutexLocker lock(&m_lock);
    return m_automaticHand;
}

void SimI1d3Library::configureFromEnvironment()
{
    m_noise.configureFromEnvironment();
    setAutomaticHand(qEnvironmentVariableIntValue("PELZORA_SIMULATE") == 1);
}

QByteArray SimI1d3Library::supportFilePath() const
{
    QMutexLocker lock(&m_lock);
    return m_supportPath;
}

I1d3CalibrationEntry SimI1d3Library::calibration() const
{
    QMutexLocker lock(&m_lock);
    return m_calibration;
}

double SimI1d3Library::targetLCDTime() const
{
    QMutexLocker lock(&m_lock);
    return m_targetLCDTime;
}

double SimI1d3Library::integrationTime() const
{
    QMutexLocker lock(&m_lock);
    return m_integrationTime;
}

int SimI1d3Library::measurementMode() const
{
    QMutexLocker lock(&m_lock);
    return m_mode;
}

QVector<SimI1d3Led> SimI1d3Library::ledSettings() const
{
    QMutexLocker lock(&m_lock);
    return m_leds;
}

QStringList SimI1d3Library::calls() const
{
    QMutexLocker lock(&m_lock);
    return m_calls;
}

void SimI1d3Library::clearCalls()
{
    QMutexLocker lock(&m_lock);
    m_calls.clear();
    m_leds.clear();
}

bool SimI1d3Library::presentLocked() const
{
    return m_attached && !m_faults.isLost();
}

quint64 SimI1d3Library::plugInLocked() const
{
    return (quint64(m_attachCount) << 32) | m_faults.generation();
}

int SimI1d3Library::begin(const char *call, qint64 timeoutUs)
{
    {
        QMutexLocker lock(&m_lock);
        m_calls.append(QString::fromLatin1(call));
    }
    // Outside the lock: a time-out waits on the program clock.
    if (auto status = m_faults.takeFault(QString::fromLatin1(call), timeoutUs))
        return *status;
    return kI1d3Success;
}

int SimI1d3Library::beginOnDevice(const char *call, I1d3Handle handle, qint64 timeoutUs,
                                  bool needsOpen)
{
    if (int status = begin(call, timeoutUs))
        return status;
    QMutexLocker lock(&m_lock);
    if (handle == 0 || handle != m_handle || !m_initialized)
        return kRefused;
    if (!presentLocked() || m_handlePlugIn != plugInLocked())
        return kI1d3DeviceLost;
    if (needsOpen && !m_open)
        return kRefused;
    return kI1d3Success;
}

bool SimI1d3Library::integrate()
{
    double seconds;
    {
        QMutexLocker lock(&m_lock);
        seconds = m_integrationTime;
    }
    return m_faults.sleepUs(secondsToUs(seconds));
}

int SimI1d3Library::Initialize()
{
    if (int status = begin("Initialize"))
        return status;
    QMutexLocker lock(&m_lock);
    m_initialized = true;
    m_deviceFound = presentLocked();
    return kI1d3Success;
}

int SimI1d3Library::GetNumberOfDevices()
{
    QMutexLocker lock(&m_lock);
    m_calls.append(QStringLiteral("GetNumberOfDevices"));
    return m_initialized && m_deviceFound ? 1 : 0;
}

int SimI1d3Library::GetDeviceHandle(int index, I1d3Handle &handle)
{
    if (int status = begin("GetDeviceHandle"))
        return status;
    QMutexLocker lock(&m_lock);
    if (!m_initialized || !m_deviceFound || index != 0)
        return kRefused;
    if (!presentLocked())
        return kI1d3DeviceLost;
    if (m_handle == 0) {
        m_handle = kHandleBase + (++m_handleCounter & 0xFFFF);
        m_handlePlugIn = plugInLocked();
        m_open = false;
    }
    handle = m_handle;
    return kI1d3Success;
}

int SimI1d3Library::DeviceOpen(I1d3Handle handle)
{
    if (int status = beginOnDevice("DeviceOpen", handle, kCallTimeoutUs, false))
        return status;
    QMutexLocker lock(&m_lock);
    m_open = true;
    return kI1d3Success;
}

int SimI1d3Library::SetSupportFilePath(I1d3Handle handle, const QByteArray &path)
{
    if (int status = beginOnDevice("SetSupportFilePath", handle))
        return status;
    QMutexLocker lock(&m_lock);
    if (path.isEmpty())
        return kRefused;
    m_supportPath = path;
    return kI1d3Success;
}

int SimI1d3Library::GetCalibrationList(I1d3Handle handle, QVector<I1d3CalibrationEntry> &list)
{
    if (int status = beginOnDevice("GetCalibrationList", handle))
        return status;
    QMutexLocker lock(&m_lock);
    list = m_config.calibrations;
    return kI1d3Success;
}

int SimI1d3Library::SetCalibration(I1d3Handle handle, const I1d3CalibrationEntry &entry)
{
    if (int status = beginOnDevice("SetCalibration", handle))
        return status;
    QMutexLocker lock(&m_lock);
    m_calibration = entry;
    return kI1d3Success;
}

int SimI1d3Library::SetMeasurementMode(I1d3Handle handle, int mode)
{
    if (int status = beginOnDevice("SetMeasurementMode", handle))
        return status;
    QMutexLocker lock(&m_lock);
    m_mode = mode;
    return kI1d3Success;
}

int SimI1d3Library::SetIntegrationTime(I1d3Handle handle, double seconds)
{
    if (int status = beginOnDevice("SetIntegrationTime", handle))
        return status;
    QMutexLocker lock(&m_lock);
    if (!(seconds > 0))
        return kRefused;
    m_integrationTime = seconds;
    return kI1d3Success;
}

int SimI1d3Library::SetTargetLCDTime(I1d3Handle handle, double seconds)
{
    if (int status = beginOnDevice("SetTargetLCDTime", handle))
        return status;
    QMutexLocker lock(&m_lock);
    m_targetLCDTime = seconds;
    return kI1d3Success;
}

int SimI1d3Library::MeasureXYZ(I1d3Handle handle, I1d3XYZ &xyz)
{
    if (int status = beginOnDevice("MeasureXYZ", handle, kMeasureTimeoutUs))
        return status;
    if (!integrate())
        return kI1d3DeviceLost;
    SimXYZ reading;
    if (!m_script.take(reading)) {
        SimXYZ light = m_light.emissive();
        if (diffuserCoversLens())
            light = SimXYZ{light.X / 10, light.Y / 10, light.Z / 10};
        reading = m_noise.emissive(light);
    }
    if (m_noise.figures().overRange(reading))
        return kOverRange;
    xyz = I1d3XYZ{reading.X, reading.Y, reading.Z};
    return kI1d3Success;
}

int SimI1d3Library::MeasureAmbient(I1d3Handle handle, I1d3Ambient &reading)
{
    if (int status = beginOnDevice("MeasureAmbient", handle, kMeasureTimeoutUs))
        return status;
    if (!integrate())
        return kI1d3DeviceLost;
    const SimAmbientLight room = m_light.ambient();
    const double lux = diffuserCoversLens() ? room.lux : room.lux / 3;
    reading = I1d3Ambient{m_noise.ambientLux(lux), room.x, room.y};
    return kI1d3Success;
}

int SimI1d3Library::ReadDiffuserPosition(I1d3Handle handle, bool &covered)
{
    if (int status = beginOnDevice("ReadDiffuserPosition", handle))
        return status;
    covered = diffuserCoversLens();
    return kI1d3Success;
}

int SimI1d3Library::SetLEDControl(I1d3Handle handle, int mode, double firstSeconds,
                                  double secondSeconds, quint8 count)
{
    if (int status = beginOnDevice("SetLEDControl", handle))
        return status;
    const SimI1d3Led led{mode, firstSeconds, secondSeconds, count};
    QMutexLocker lock(&m_lock);
    m_leds.append(led);
    // The blinking light asks the user to turn the diffuser.
    if (m_automaticHand && led == kBlinking)
        m_diffuserOverLens = !m_diffuserOverLens;
    return kI1d3Success;
}

int SimI1d3Library::GetSerialNumber(I1d3Handle handle, QByteArray &serial)
{
    if (int status = beginOnDevice("GetSerialNumber", handle))
        return status;
    QMutexLocker lock(&m_lock);
    serial = m_config.serial.left(kI1d3SerialLength);
    return kI1d3Success;
}

int SimI1d3Library::GetDeviceInfo(I1d3Handle handle, I1d3DeviceInfo &info)
{
    if (int status = beginOnDevice("GetDeviceInfo", handle))
        return status;
    QMutexLocker lock(&m_lock);
    info = I1d3DeviceInfo{m_config.firmware, m_config.makersVariant};
    return kI1d3Success;
}

int SimI1d3Library::DeviceClose(I1d3Handle handle)
{
    if (int status = beginOnDevice("DeviceClose", handle))
        return status;
    QMutexLocker lock(&m_lock);
    m_open = false;
    return kI1d3Success;
}

int SimI1d3Library::Destroy()
{
    QMutexLocker lock(&m_lock);
    m_calls.append(QStringLiteral("Destroy"));
    m_initialized = false;
    m_deviceFound = false;
    m_handle = 0;
    m_open = false;
    return kI1d3Success;
}

} // namespace pz
