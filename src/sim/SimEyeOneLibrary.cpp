#include "SimEyeOneLibrary.h"

#include <algorithm>

namespace pz {
namespace {

const QByteArray kDeviceTypeKey = "DeviceType";
const QByteArray kModeKey = "MeasurementMode";
const QByteArray kEmission = "SingleEmission";
const QByteArray kAmbient = "SingleAmbientLight";
const QByteArray kCleanup = "Cleanup";

// The room light's chromaticity (D50) for ambient readings.
constexpr double kAmbientX = 0.3457;
constexpr double kAmbientY = 0.3585;

} // namespace

const QByteArray SimEyeOneLibrary::kDisplayType = "EyeOneDisplay";
const QByteArray SimEyeOneLibrary::kProType = "EyeOne";

SimSensorFigures SimEyeOneLibrary::figures(Device device)
{
    SimSensorFigures f;
    f.relativeNoise = 0.003;
    f.noiseFloor = device == Display ? 0.03 : 0.05;
    return f;
}

SimEyeOneLibrary::SimEyeOneLibrary(SimLightSource light)
    : m_light(std::move(light)), m_deviceType(kDisplayType)
{
    m_devices[Display].noise.setFigures(figures(Display));
    m_devices[Pro].noise.setFigures(figures(Pro));
}

void SimEyeOneLibrary::setLight(SimLightSource light)
{
    QMutexLocker lock(&m_lock);
    m_light = std::move(light);
}

void SimEyeOneLibrary::setFixedLight(const SimXYZ &display, double ambientLux)
{
    setLight([display, ambientLux] { return SimLightAtSensor{display, ambientLux}; });
}

void SimEyeOneLibrary::setDisplayConfig(const SimEyeOneDisplayConfig &config)
{
    QMutexLocker lock(&m_lock);
    m_displayConfig = config;
}

SimEyeOneDisplayConfig SimEyeOneLibrary::displayConfig() const
{
    QMutexLocker lock(&m_lock);
    return m_displayConfig;
}

void SimEyeOneLibrary::setProConfig(const SimEyeOneProConfig &config)
{
    QMutexLocker lock(&m_lock);
    m_proConfig = config;
}

void SimEyeOneLibrary::setAttached(Device device, bool attached)
{
    QMutexLocker lock(&m_lock);
    DeviceState &state = m_devices[device];
    state.attached = attached;
    resetLocked(state);
}

bool SimEyeOneLibrary::isAttached(Device device) const
{
    QMutexLocker lock(&m_lock);
    return m_devices[device].attached;
}

void SimEyeOneLibrary::configureFromEnvironment()
{
    m_devices[Display].noise.configureFromEnvironment();
    m_devices[Pro].noise.configureFromEnvironment();
}

QByteArray SimEyeOneLibrary::storedOption(const QByteArray &deviceType,
                                          const QByteArray &key) const
{
    QMutexLocker lock(&m_lock);
    return m_options.value(deviceType).value(key);
}

QStringList SimEyeOneLibrary::calls() const
{
    QMutexLocker lock(&m_lock);
    return m_calls;
}

void SimEyeOneLibrary::clearCalls()
{
    QMutexLocker lock(&m_lock);
    m_calls.clear();
}

int SimEyeOneLibrary::connectionTests(Device device) const
{
    QMutexLocker lock(&m_lock);
    return m_devices[device].connectionTests;
}

QByteArray SimEyeOneLibrary::typeOf(int device) const
{
    return device == Display ? kDisplayType : kProType;
}

int SimEyeOneLibrary::currentDeviceLocked() const
{
    if (m_deviceType == kDisplayType)
        return Display;
    if (m_deviceType == kProType)
        return Pro;
    return -1;
}

void SimEyeOneLibrary::resetLocked(DeviceState &state)
{
    state.generation = state.faults.generation();
    state.calibrated = false;
    state.haveReading = false;
}

bool SimEyeOneLibrary::presentLocked(int device)
{
    if (device < 0)
        return false;
    DeviceState &state = m_devices[device];
    if (!state.attached || state.faults.isLost())
        return false;
    if (state.generation != state.faults.generation())
        resetLocked(state);
    return true;
}

bool SimEyeOneLibrary::ambientCapableLocked(int device) const
{
    return device == Display ? !m_displayConfig.firstGeneration : m_proConfig.ambient;
}

bool SimEyeOneLibrary::strictLocked(int device) const
{
    return device == Pro || m_displayConfig.firstGeneration;
}

bool SimEyeOneLibrary::acceptsLocked(int device, const QByteArray &key,
                                     const QByteArray &value) const
{
    if (key == kModeKey) {
        if (value == kAmbient)
            return device >= 0 && m_devices[device].attached && ambientCapableLocked(device);
        return value == kEmission || value == kCleanup;
    }
    if (key == "Colorimetric.Illumination")
        return value == "Emission";
    if (key == "ColorSpaceDescription.Type")
        return value == "CIEXYZ";
    if (key == "AdaptiveMode")
        return value == "1";
    if (device == Display) {
        if (key == "ScreenType")
            return value == "LCD" || value == "CRT";
        if (key == "DisplayMeasureType")
            return value == "DisplayMeasureTimeVarying";
    }
    if (device == Pro && key == "Colorimetric.Observer")
        return value == "TwoDegree";
    return false;
}

int SimEyeOneLibrary::IsConnected()
{
    QMutexLocker lock(&m_lock);
    m_calls << QStringLiteral("IsConnected %1").arg(QString::fromLatin1(m_deviceType));
    const int device = currentDeviceLocked();
    if (device < 0)
        return kI1NoDevice;
    ++m_devices[device].connectionTests;
    return presentLocked(device) ? kI1Success : kI1NoDevice;
}

int SimEyeOneLibrary::SetOption(const QByteArray &key, const QByteArray &value)
{
    QMutexLocker lock(&m_lock);
    m_calls << QStringLiteral("SetOption %1=%2").arg(QString::fromLatin1(key),
                                                      QString::fromLatin1(value));
    const int device = currentDeviceLocked();
    if (device >= 0) {
        lock.unlock();
        const auto fault = m_devices[device].faults.takeFault("SetOption:" + QString::fromLatin1(key));
        lock.relock();
        if (fault)
            return *fault;
    }
    if (key == kDeviceTypeKey) {
        if (value != kDisplayType && value != kProType)
            return kRefused;
        m_deviceType = value;
        return kI1Success;
    }
    if (!acceptsLocked(device, key, value))
        return kRefused;
    QMap<QByteArray, QByteArray> &options = m_options[m_deviceType];
    if (key == kModeKey && options.value(key) != value && presentLocked(device))
        m_devices[device].calibrated = false;
    options[key] = value;
    return kI1Success;
}

QByteArray SimEyeOneLibrary::GetOption(const QByteArray &key)
{
    QMutexLocker lock(&m_lock);
    m_calls << QStringLiteral("GetOption %1").arg(QString::fromLatin1(key));
    if (key == kDeviceTypeKey)
        return m_deviceType;
    const int device = currentDeviceLocked();
    if (key == "SerialNumber" || key == "AvailableMeasurementModes") {
        if (!presentLocked(device))
            return QByteArray();
        if (key == "SerialNumber")
            return device == Display ? m_displayConfig.serial : m_proConfig.serial;
        return ambientCapableLocked(device) ? kEmission + ";" + kAmbient : kEmission;
    }
    return m_options.value(m_deviceType).value(key);
}

int SimEyeOneLibrary::Calibrate()
{
    QMutexLocker lock(&m_lock);
    m_calls << QStringLiteral("Calibrate");
    const int device = currentDeviceLocked();
    if (!presentLocked(device))
        return kNoDeviceFound;
    DeviceState &state = m_devices[device];
    lock.unlock();
    if (const auto fault = state.faults.takeFault("Calibrate", kReadingUs))
        return *fault;
    if (!state.faults.sleepUs(kReadingUs))
        return kNoDeviceFound;
    lock.relock();
    if (!presentLocked(device))
        return kNoDeviceFound;
    state.calibrated = true;
    return kI1Success;
}

int SimEyeOneLibrary::TriggerMeasurement()
{
    QMutexLocker lock(&m_lock);
    m_calls << QStringLiteral("TriggerMeasurement");
    const int device = currentDeviceLocked();
    if (!presentLocked(device))
        return kNoDeviceFound;
    DeviceState &state = m_devices[device];
    state.haveReading = false;
    const QByteArray mode = m_options.value(m_deviceType).value(kModeKey);
    if (mode != kEmission && mode != kAmbient)
        return kNoMode;
    if (strictLocked(device) && !state.calibrated)
        return kNotCalibrated;
    const SimLightSource light = m_light;
    lock.unlock();

    if (const auto fault = state.faults.takeFault("TriggerMeasurement", kReadingUs))
        return *fault;
    if (!state.faults.sleepUs(kReadingUs))
        return kNoDeviceFound;
    const SimLightAtSensor seen = light ? light() : SimLightAtSensor();
    SimXYZ xyz;
    if (mode == kEmission) {
        xyz = state.noise.emissive(seen.emissive);
        if (device == Display) {
            xyz.X = std::max(0.0, xyz.X);
            xyz.Y = std::max(0.0, xyz.Y);
            xyz.Z = std::max(0.0, xyz.Z);
        }
    } else {
        const double lux = std::max(0.0, state.noise.ambientLux(seen.ambientLux));
        xyz = SimXYZ{kAmbientX / kAmbientY * lux, lux, (1 - kAmbientX - kAmbientY) / kAmbientY * lux};
    }

    lock.relock();
    if (!presentLocked(device))
        return kNoDeviceFound;
    state.reading[0] = float(xyz.X);
    state.reading[1] = float(xyz.Y);
    state.reading[2] = float(xyz.Z);
    state.haveReading = true;
    return kI1Success;
}

int SimEyeOneLibrary::GetTriStimulus(float xyz[3], int index)
{
    QMutexLocker lock(&m_lock);
    m_calls << QStringLiteral("GetTriStimulus");
    const int device = currentDeviceLocked();
    if (!presentLocked(device))
        return kNoDeviceFound;
    DeviceState &state = m_devices[device];
    lock.unlock();
    if (const auto fault = state.faults.takeFault("GetTriStimulus"))
        return *fault;
    lock.relock();
    if (!xyz || index != 0 || !state.haveReading)
        return kNoReading;
    std::copy(state.reading, state.reading + 3, xyz);
    return kI1Success;
}

} // namespace pz
