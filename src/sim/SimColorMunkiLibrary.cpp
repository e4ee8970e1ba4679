#include "SimColorMunkiLibrary.h"

#include "Clock.h"

#include <algorithm>

namespace pz {

namespace {

const QByteArray kMeasurementMode = "MeasurementMode";
const QByteArray kEmission = "SingleEmission";
const QByteArray kAmbientLight = "SingleAmbientLight";

// The settings the device accepts, by key.
const QMap<QByteArray, QByteArrayList> &acceptedOptions()
{
    static const QMap<QByteArray, QByteArrayList> accepted{
        {"Colorimetric.Illumination", {"Emission"}},
        {"Colorimetric.Observer", {"TwoDegree"}},
        {"ColorSpaceDescription.Type", {"CIEXYZ"}},
        {kMeasurementMode, {kEmission, kAmbientLight}},
    };
    return accepted;
}

SimSensorFigures munkiFigures()
{
    SimSensorFigures f;
    f.relativeNoise = 0.003;
    f.noiseFloor = 0.05;
    f.saturationLuminance = SimColorMunkiLibrary::kOverRangeLuminance;
    return f;
}

} // namespace

SimColorMunkiLibrary::SimColorMunkiLibrary(SimSensorLight &light)
    : m_light(light), m_noise(munkiFigures()), m_deliveryThread([this] { deliveryLoop(); })
{
}

SimColorMunkiLibrary::~SimColorMunkiLibrary()
{
    {
        std::lock_guard<std::mutex> lock(m_deliveryLock);
        m_stopping = true;
    }
    m_deliveryChanged.notify_all();
    m_deliveryThread.join();
}

QString SimColorMunkiLibrary::optionCall(const QByteArray &key)
{
    return QStringLiteral("SetOption ") + QString::fromLatin1(key);
}

void SimColorMunkiLibrary::setConfig(const SimColorMunkiConfig &config)
{
    QMutexLocker lock(&m_lock);
    m_config = config;
}

SimColorMunkiConfig SimColorMunkiLibrary::config() const
{
    QMutexLocker lock(&m_lock);
    return m_config;
}

void SimColorMunkiLibrary::setAttached(bool attached)
{
    QMutexLocker lock(&m_lock);
    if (attached && !m_attached) {
        // A device plugged in starts afresh.
        m_options.clear();
        m_zeroCalibrated = false;
        m_hasReading = false;
    }
    m_attached = attached;
}

bool SimColorMunkiLibrary::isAttached() const
{
    QMutexLocker lock(&m_lock);
    return m_attached;
}

void SimColorMunkiLibrary::moveDialLocked(int position, bool &moved)
{
    moved = m_dial != position;
    m_dial = position;
}

void SimColorMunkiLibrary::setDial(int position)
{
    bool moved = false;
    {
        QMutexLocker lock(&m_lock);
        moveDialLocked(position, moved);
    }
    if (moved)
        deliver(kMunkiMessageDialMoved);
}

int SimColorMunkiLibrary::dial() const
{
    QMutexLocker lock(&m_lock);
    return m_dial;
}

void SimColorMunkiLibrary::pressButton(bool down)
{
    {
        QMutexLocker lock(&m_lock);
        m_buttonDown = down;
    }
    if (down)
        deliver(kMunkiMessageButton);
}

void SimColorMunkiLibrary::setAutomaticHand(bool on)
{
    QMutexLocker lock(&m_lock);
    m_automaticHand = on;
}

bool SimColorMunkiLibrary::automaticHand() const
{
    QMutexLocker lock(&m_lock);
    return m_automaticHand;
}

void SimColorMunkiLibrary::configureFromEnvironment()
{
    m_noise.configureFromEnvironment();
    setAutomaticHand(qEnvironmentVariableIntValue("PELZORA_SIMULATE") == 1);
}

QMap<QByteArray, QByteArray> SimColorMunkiLibrary::options() const
{
    QMutexLocker lock(&m_lock);
    return m_options;
}

bool SimColorMunkiLibrary::zeroCalibrated() const
{
    QMutexLocker lock(&m_lock);
    return m_zeroCalibrated;
}

QStringList SimColorMunkiLibrary::calls() const
{
    QMutexLocker lock(&m_lock);
    return m_calls;
}

void SimColorMunkiLibrary::clearCalls()
{
    QMutexLocker lock(&m_lock);
    m_calls.clear();
}

bool SimColorMunkiLibrary::presentLocked() const
{
    return m_attached && !m_faults.isLost();
}

int SimColorMunkiLibrary::begin(const QString &call)
{
    {
        QMutexLocker lock(&m_lock);
        m_calls.append(call);
    }
    if (auto status = m_faults.takeFault(call.section(QLatin1Char('='), 0, 0), kTimeoutUs))
        return *status;
    QMutexLocker lock(&m_lock);
    return presentLocked() ? kMunkiSuccess : kFailed;
}

int SimColorMunkiLibrary::IsConnected()
{
    return begin(QStringLiteral("IsConnected"));
}

int SimColorMunkiLibrary::SetOption(const QByteArray &key, const QByteArray &value)
{
    if (int status = begin(optionCall(key) + QLatin1Char('=') + QString::fromLatin1(value)))
        return status;
    bool moved = false;
    {
        QMutexLocker lock(&m_lock);
        if (key == "Reset" && value == "All") {
            m_options.clear();
            return kMunkiSuccess;
        }
        if (!acceptedOptions().value(key).contains(value))
            return kFailed;
        if (key == kMeasurementMode && m_options.value(key) != value) {
            m_zeroCalibrated = false;
            if (m_automaticHand)
                moveDialLocked(kMunkiDialCalibrate, moved);
        }
        m_options.insert(key, value);
    }
    if (moved)
        deliver(kMunkiMessageDialMoved);
    return kMunkiSuccess;
}

QByteArray SimColorMunkiLibrary::GetOption(const QByteArray &key)
{
    if (begin(QStringLiteral("GetOption ") + QString::fromLatin1(key)) != kMunkiSuccess)
        return QByteArray();
    QMutexLocker lock(&m_lock);
    if (key == "SerialNumber")
        return m_config.serial;
    return m_options.value(key);
}

int SimColorMunkiLibrary::Calibrate()
{
    if (int status = begin(QStringLiteral("Calibrate")))
        return status;
    {
        QMutexLocker lock(&m_lock);
        if (m_dial != kMunkiDialCalibrate)
            return kFailed;
    }
    if (!m_faults.sleepUs(kCalibrationUs))
        return kFailed;
    bool moved = false;
    {
        QMutexLocker lock(&m_lock);
        m_zeroCalibrated = true;
        if (m_automaticHand) {
            const bool ambient = m_options.value(kMeasurementMode) == kAmbientLight;
            moveDialLocked(ambient ? kMunkiDialAmbient : kMunkiDialDisplay, moved);
        }
    }
    if (moved)
        deliver(kMunkiMessageDialMoved);
    return kMunkiSuccess;
}

int SimColorMunkiLibrary::TriggerMeasurement()
{
    if (int status = begin(QStringLiteral("TriggerMeasurement")))
        return status;
    bool ambient = false;
    {
        QMutexLocker lock(&m_lock);
        m_hasReading = false;
        const QByteArray mode = m_options.value(kMeasurementMode);
        ambient = mode == kAmbientLight;
        const int wanted = ambient ? kMunkiDialAmbient : kMunkiDialDisplay;
        if (mode.isEmpty() || m_dial != wanted || !m_zeroCalibrated)
            return kFailed;
    }
    if (!m_faults.sleepUs(kMeasurementUs))
        return kFailed;
    SimXYZ reading;
    if (ambient) {
        const SimAmbientLight room = m_light.ambient();
        const double lux = m_noise.ambientLux(room.lux);
        reading = SimXYZ{room.x / room.y * lux, lux, (1 - room.x - room.y) / room.y * lux};
    } else {
        if (!m_script.take(reading))
            reading = m_noise.emissive(m_light.emissive());
        if (m_noise.figures().overRange(reading))
            return kFailed;
    }
    QMutexLocker lock(&m_lock);
    m_reading[0] = float(reading.X);
    m_reading[1] = float(reading.Y);
    m_reading[2] = float(reading.Z);
    m_hasReading = true;
    return kMunkiSuccess;
}

int SimColorMunkiLibrary::GetTriStimulus(float values[3], int index)
{
    if (int status = begin(QStringLiteral("GetTriStimulus")))
        return status;
    QMutexLocker lock(&m_lock);
    if (!m_hasReading || index != 0)
        return kFailed;
    std::copy(m_reading, m_reading + 3, values);
    return kMunkiSuccess;
}

int SimColorMunkiLibrary::GetSensorPosition()
{
    if (int status = begin(QStringLiteral("GetSensorPosition")))
        return status;
    QMutexLocker lock(&m_lock);
    return m_dial;
}

int SimColorMunkiLibrary::ButtonPressed()
{
    if (int status = begin(QStringLiteral("ButtonPressed")))
        return status;
    QMutexLocker lock(&m_lock);
    return m_buttonDown ? kMunkiButtonPressed : kMunkiButtonReleased;
}

int SimColorMunkiLibrary::AddDeviceMessageHandler(MunkiMessageHandler handler, void *context)
{
    if (int status = begin(QStringLiteral("AddDeviceMessageHandler")))
        return status;
    std::lock_guard<std::mutex> lock(m_deliveryLock);
    m_handlers.push_back(Handler{handler, context});
    return kMunkiSuccess;
}

int SimColorMunkiLibrary::RemoveDeviceMessageHandler(MunkiMessageHandler handler)
{
    {
        QMutexLocker lock(&m_lock);
        m_calls.append(QStringLiteral("RemoveDeviceMessageHandler"));
    }
    // Works on an unplugged device too: the context is about to go.
    std::unique_lock<std::mutex> lock(m_deliveryLock);
    const auto it = std::find_if(m_handlers.begin(), m_handlers.end(),
                                 [&](const Handler &h) { return h.function == handler; });
    if (it == m_handlers.end())
        return kFailed;
    m_handlers.erase(it);
    if (std::this_thread::get_id() != m_deliveryThread.get_id())
        m_deliveryChanged.wait(lock, [&] { return m_running != handler; });
    return kMunkiSuccess;
}

void SimColorMunkiLibrary::deliver(MunkiDeviceMessage message)
{
    {
        std::lock_guard<std::mutex> lock(m_deliveryLock);
        m_queue.push_back(message);
    }
    m_deliveryChanged.notify_all();
}

void SimColorMunkiLibrary::waitForDeliveries()
{
    std::unique_lock<std::mutex> lock(m_deliveryLock);
    m_deliveryChanged.wait(lock, [&] { return m_queue.empty() && !m_delivering; });
}

void SimColorMunkiLibrary::deliveryLoop()
{
    std::unique_lock<std::mutex> lock(m_deliveryLock);
    for (;;) {
        m_deliveryChanged.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const MunkiDeviceMessage message = m_queue.front();
        m_queue.pop_front();
        m_delivering = true;
        // One handler at a time, looked up afresh: a handler removed while
        // another runs is not called.
        for (size_t i = 0; i < m_handlers.size(); ++i) {
            const Handler h = m_handlers[i];
            m_running = h.function;
            lock.unlock();
            h.function(message, "", h.context);
            lock.lock();
            m_running = nullptr;
            m_deliveryChanged.notify_all();
        }
        m_delivering = false;
        m_deliveryChanged.notify_all();
    }
}

} // namespace pz
