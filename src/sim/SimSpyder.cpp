#include "SimSpyder.h"

#include "Clock.h"
#include "SimPulseTrain.h"
#include "SimSpyderEeprom.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <random>

namespace pz {

namespace {

constexpr quint8 kRequestIn = 0xC0;    // vendor, device, device-to-host
constexpr quint8 kRequestOut = 0x40;   // vendor, device, host-to-device
constexpr int kPacket = 8;
constexpr int kDataPackets = 9;
constexpr int kRawChannels = 8;
// The raw channel each output channel of the reply comes from.
constexpr int kRawOfOutput[8] = {0, 0, 1, 2, 5, 6, 7, 4};
constexpr quint32 kMax24 = 0xFFFFFF;

// TSL2561 at a fixed channel ratio of 0.25: counts per lux at the default
// timing (402 ms, low gain), and per integration setting the scale of the
// counts and where they saturate.
constexpr double kLuxPerCount = 0.3435;
constexpr double kIntegrationScale[3] = {13.7 / 402.0, 101.0 / 402.0, 1.0};
constexpr double kIntegrationSaturation[3] = {5047, 37177, 65535};
constexpr double kHighGain = 16.0;

void put24(QByteArray &bytes, int offset, quint32 value)
{
    value = std::min(value, kMax24);
    bytes[offset] = char(value);
    bytes[offset + 1] = char(value >> 8);
    bytes[offset + 2] = char(value >> 16);
}

QByteArray bigEndian16(quint16 value)
{
    QByteArray bytes(2, 0);
    bytes[0] = char(value >> 8);
    bytes[1] = char(value);
    return bytes;
}

// A stamp in the device's units of 65/8 µs.
quint32 stampUnits(double us)
{
    return quint32(std::min(std::llround(us * 8.0 / 65.0), qint64(kMax24)));
}

} // namespace

SimSpyder::SimSpyder(const SimSpyderConfig &config, SimLightSource light)
    : m_config(config), m_light(std::move(light))
{
    m_eeprom = config.eeprom.isEmpty() ? SimSpyderEeprom::forProduct(config.productId)
                                       : config.eeprom;
    m_eeprom.resize(SimSpyderEeprom::kSize);
    std::mt19937 rng(config.seed);
    m_phase = std::uniform_real_distribution<double>(0.0, 6.283185307179586)(rng);
}

SimSpyder::~SimSpyder() = default;

void SimSpyder::setLight(SimLightSource light)
{
    QMutexLocker lock(&m_lock);
    m_light = std::move(light);
}

void SimSpyder::setFixedLight(const SimXYZ &display, double ambientLux)
{
    setLight([display, ambientLux] { return SimLightAtSensor{display, ambientLux}; });
}

void SimSpyder::setBusyOpens(int count)
{
    QMutexLocker lock(&m_lock);
    m_busyOpens = count;
}

void SimSpyder::setAccessDenied(bool denied)
{
    QMutexLocker lock(&m_lock);
    m_accessDenied = denied;
}

void SimSpyder::setReplyFault(SimSpyderReplyFault fault)
{
    QMutexLocker lock(&m_lock);
    m_replyFault = fault;
}

void SimSpyder::failNextControls(int count, int status)
{
    QMutexLocker lock(&m_lock);
    m_failControls = count;
    m_failStatus = status;
}

void SimSpyder::unplugAfterUs(qint64 us)
{
    QMutexLocker lock(&m_lock);
    m_unplugAtUs = programClock().nowUs() + us;
}

void SimSpyder::setEepromWriteProtected(bool on)
{
    QMutexLocker lock(&m_lock);
    m_writeProtected = on;
}

void SimSpyder::shortenTransfers(quint8 request, int missing)
{
    QMutexLocker lock(&m_lock);
    m_shortRequest = request;
    m_shortBy = missing;
}

void SimSpyder::replaceNextReply(const QByteArray &data)
{
    QMutexLocker lock(&m_lock);
    m_nextReply = data;
}

void SimSpyder::setRawTemperature(quint16 raw)
{
    QMutexLocker lock(&m_lock);
    m_rawTemperature = raw;
}

QVector<SimSpyder::Setup> SimSpyder::setupLog() const
{
    QMutexLocker lock(&m_lock);
    return m_log;
}

void SimSpyder::clearSetupLog()
{
    QMutexLocker lock(&m_lock);
    m_log.clear();
}

QByteArray SimSpyder::eeprom() const
{
    QMutexLocker lock(&m_lock);
    return m_eeprom;
}

quint8 SimSpyder::registerValue(quint8 reg) const
{
    QMutexLocker lock(&m_lock);
    return m_registers[reg];
}

quint8 SimSpyder::ambientControl() const
{
    QMutexLocker lock(&m_lock);
    return m_ambientControl;
}

quint8 SimSpyder::ambientTiming() const
{
    QMutexLocker lock(&m_lock);
    return m_ambientTiming;
}

quint8 SimSpyder::ledValue() const
{
    QMutexLocker lock(&m_lock);
    return m_ledValue;
}

quint16 SimSpyder::ledIndex() const
{
    QMutexLocker lock(&m_lock);
    return m_ledIndex;
}

int SimSpyder::resets() const
{
    QMutexLocker lock(&m_lock);
    return m_resets;
}

int SimSpyder::clearedHalts() const
{
    QMutexLocker lock(&m_lock);
    return m_clearedHalts;
}

int SimSpyder::gainOfCode(quint8 code)
{
    switch (code) {
    case 0x10: return 4;
    case 0x20: return 16;
    case 0x30: return 64;
    default: return 1;
    }
}

void SimSpyder::channelFrequencies(const SimXYZ &light, double hz[8]) const
{
    const double X = std::max(light.X, 0.0);
    const double Y = std::max(light.Y, 0.0);
    const double Z = std::max(light.Z, 0.0);
    quint8 version, reference, gainCode;
    {
        QMutexLocker lock(&m_lock);
        version = quint8(m_eeprom[5]);
        reference = quint8(m_eeprom[381]);
        gainCode = m_registers[7];
    }
    double output[8] = {};
    if (m_config.productId == SimSpyderBus::kSpyder4Product) {
        const double k = SimSpyderEeprom::kSpyder4HzPerCdm2;
        const double channels[8] = {0, k * X, k * Y, k * Z, k / 2 * Y, k / 2 * Y, k / 2 * Y,
                                    k / 2 * Y};
        std::copy(channels, channels + 8, output);
    } else {
        double k = SimSpyderEeprom::kSpyder3HzPerCdm2;
        if (version == 5) {
            // EUROPA: the gain register scales the light against the gain
            // reference its maker stored.
            k = SimSpyderEeprom::kEuropaHzPerCdm2 * gainOfCode(gainCode) / std::max(1, int(reference));
        }
        const double channels[8] = {0, k * X, k * Y, k * Z, k * X, k * Y, k * Z, k * Y};
        std::copy(channels, channels + 8, output);
    }
    std::fill(hz, hz + kRawChannels, 0.0);
    for (int out = 1; out < 8; ++out)
        hz[kRawOfOutput[out]] = std::min(output[out], kMaxChannelHz);
}

UsbDeviceInfo SimSpyder::descriptor() const
{
    UsbDeviceInfo info;
    info.vendorId = kVendorId;
    info.productId = m_config.productId;
    info.releaseNumber = 0x0100;
    return info;
}

UsbConfigDescriptor SimSpyder::configuration() const
{
    UsbInterfaceDescriptor itf;
    itf.interfaceClass = 0xFF;
    itf.endpoints.append({kBulkInEndpoint, kUsbTransferTypeBulk, kPacket});
    UsbConfigDescriptor config;
    config.configurationValue = 1;
    config.interfaces.append(itf);
    return config;
}

int SimSpyder::acceptOpen()
{
    QMutexLocker lock(&m_lock);
    if (m_accessDenied)
        return kUsbErrorAccess;
    if (m_busyOpens != 0) {
        if (m_busyOpens > 0)
            --m_busyOpens;
        return kUsbErrorBusy;
    }
    return kUsbSuccess;
}

bool SimSpyder::unplugDue()
{
    qint64 at;
    {
        QMutexLocker lock(&m_lock);
        at = m_unplugAtUs;
        if (at < 0 || programClock().nowUs() < at)
            return false;
        m_unplugAtUs = -1;
    }
    if (bus())
        bus()->unplug(this);
    return true;
}

bool SimSpyder::waitUntil(qint64 untilUs)
{
    qint64 unplugAt;
    {
        QMutexLocker lock(&m_lock);
        unplugAt = m_unplugAtUs;
    }
    const qint64 now = programClock().nowUs();
    if (unplugAt >= 0 && unplugAt <= untilUs) {
        if (unplugAt > now)
            programClock().sleepUs(unplugAt - now);
        unplugDue();
        return false;
    }
    if (untilUs > now)
        programClock().sleepUs(untilUs - now);
    return true;
}

int SimSpyder::controlTransfer(quint8 requestType, quint8 request, quint16 value,
                               quint16 index, quint8 *data, quint16 length, unsigned timeoutMs)
{
    int failStatus = kUsbSuccess;
    {
        QMutexLocker lock(&m_lock);
        Setup s{requestType, request, value, index, length, QByteArray()};
        if (requestType == kRequestOut && data && length)
            s.out = QByteArray(reinterpret_cast<const char *>(data), length);
        m_log.append(s);
        if (m_failControls > 0) {
            --m_failControls;
            failStatus = m_failStatus;
        }
    }
    if (unplugDue())
        return kUsbErrorNoDevice;
    if (failStatus != kUsbSuccess) {
        if (failStatus == kUsbErrorTimeout &&
            !waitUntil(programClock().nowUs() + qint64(timeoutMs) * 1000))
            return kUsbErrorNoDevice;
        return failStatus;
    }
    int moved = kUsbErrorPipe;
    if (requestType == kRequestIn)
        moved = answerIn(request, value, index, data, length);
    else if (requestType == kRequestOut)
        moved = answerOut(request, value, index, data, length);
    QMutexLocker lock(&m_lock);
    if (request == m_shortRequest && moved > 0)
        moved = std::max(0, moved - m_shortBy);
    return moved;
}

int SimSpyder::answerIn(quint8 request, quint16 value, quint16 /*index*/, quint8 *data,
                        quint16 length)
{
    QByteArray reply;
    {
        QMutexLocker lock(&m_lock);
        switch (request) {
        case 0xC4:   // EEPROM read; past the end reads 0xFF
            for (int i = 0; i < length; ++i) {
                const int address = value + i;
                reply.append(address < m_eeprom.size() ? m_eeprom[address] : char(0xFF));
            }
            break;
        case 0xE0:   // temperature (2 bytes) or a register (1 byte)
            if (length == 2)
                reply = bigEndian16(m_rawTemperature);
            else
                reply.append(char(m_registers[value & 0xFF]));
            break;
        case 0xE1:
            reply.append(char(m_temperatureConfig));
            break;
        case 0xF0:
        case 0xF1: {
            quint16 channel0 = 0, channel1 = 0;
            lock.unlock();
            ambientCounts(channel0, channel1);
            const quint16 count = request == 0xF0 ? channel0 : channel1;
            reply = bigEndian16(count);
            break;
        }
        case 0xF2:
            reply.append(char(m_ambientControl));
            break;
        case 0xF4:
            reply.append(char(m_ambientTiming));
            break;
        default:
            return kUsbErrorPipe;
        }
    }
    const int n = std::min(int(length), int(reply.size()));
    if (n > 0 && data)
        std::copy(reply.constData(), reply.constData() + n, data);
    return n;
}

int SimSpyder::answerOut(quint8 request, quint16 value, quint16 index, const quint8 *data,
                         quint16 length)
{
    if (request == 0xC1) {   // measurement over a 24-bit clock count
        if (length != kPacket)
            return kUsbErrorPipe;
        const quint16 high = quint16((value >> 8) | (value << 8));
        startMeasurement((quint32(high) << 8) | (index & 0xFF));
        return length;
    }
    QMutexLocker lock(&m_lock);
    switch (request) {
    case 0xC5:   // EEPROM write
        if (m_writeProtected)
            return kUsbErrorPipe;
        for (int i = 0; i < length && data; ++i) {
            if (value + i < m_eeprom.size())
                m_eeprom[value + i] = char(data[i]);
        }
        return length;
    case 0xE2:   // register << 8 | value; register 0 is the temperature configuration
        if ((value >> 8) == 0)
            m_temperatureConfig = quint8(value);
        else
            m_registers[value >> 8] = quint8(value);
        return 0;
    case 0xF3:
        m_ambientControl = quint8(value);
        return 0;
    case 0xF5:
        m_ambientTiming = quint8(value);
        return 0;
    case 0xF6:
        m_ledValue = quint8(value);
        m_ledIndex = index;
        return 0;
    default:
        return kUsbErrorPipe;
    }
}

void SimSpyder::ambientCounts(quint16 &channel0, quint16 &channel1) const
{
    channel0 = channel1 = 0;
    SimLightSource light;
    quint8 control, timing;
    {
        QMutexLocker lock(&m_lock);
        light = m_light;
        control = m_ambientControl;
        timing = m_ambientTiming;
    }
    if ((control & 3) != 3 || !light)
        return;   // powered down
    const int integration = std::min(timing & 3, 2);
    double scale = kIntegrationScale[integration];
    if (timing & 0x10)
        scale *= kHighGain;
    const double lux = std::max(light().ambientLux, 0.0);
    const double counts = std::round(lux / kLuxPerCount * scale);
    const double saturation = kIntegrationSaturation[integration];
    channel0 = quint16(std::min(counts, saturation));
    channel1 = quint16(std::min(std::round(counts / 4.0), saturation));
}

QByteArray SimSpyder::measurementReply(const SimXYZ &light, quint32 clock, qint64 startUs,
                                       bool reverseStamps) const
{
    double hz[kRawChannels];
    channelFrequencies(light, hz);
    const SimRefresh refresh{m_config.refreshHz, m_config.modulationDepth, m_phase};

    // Group 1: last stamps, group 2: first stamps, group 3: counts.
    QByteArray reply(kPacket * kDataPackets, 0);
    for (int raw = 0; raw < kRawChannels; ++raw) {
        const SimPulseTrain train = simPulseTrain(hz[raw], double(startUs), double(clock), refresh);
        quint32 last = stampUnits(train.lastUs);
        quint32 first = stampUnits(train.firstUs);
        if (reverseStamps && raw == 1 && train.count > 1)
            std::swap(first, last);
        put24(reply, 3 * raw, last);
        put24(reply, 24 + 3 * raw, first);
        put24(reply, 48 + 3 * raw, train.count);
    }
    return reply;
}

void SimSpyder::startMeasurement(quint32 clock)
{
    const qint64 start = programClock().nowUs();
    SimLightSource light;
    SimSpyderReplyFault fault;
    QByteArray replacement;
    {
        QMutexLocker lock(&m_lock);
        light = m_light;
        fault = m_replyFault;
        m_replyFault = SimSpyderReplyFault::None;
        replacement.swap(m_nextReply);
    }
    // The light is sampled outside the lock: the source may take its time.
    const SimXYZ seen = light ? light().emissive : SimXYZ();
    QByteArray reply =
        measurementReply(seen, clock, start, fault == SimSpyderReplyFault::ReversedStamps);
    if (!replacement.isEmpty())
        reply = replacement.leftJustified(kPacket * kDataPackets, '\0', true);

    QMutexLocker lock(&m_lock);
    m_queue.clear();
    m_halted = fault == SimSpyderReplyFault::StallFirstRead;
    if (fault == SimSpyderReplyFault::NoStatusPacket)
        return;
    const qint64 ready = start + clock;
    const QByteArray status(fault == SimSpyderReplyFault::ShortStatusPacket ? 4 : kPacket, 0);
    m_queue.append({ready, status});
    for (int p = 0; p < kDataPackets; ++p) {
        if (fault == SimSpyderReplyFault::MissingDataPacket && p == kDataPackets - 1)
            break;
        const int size = fault == SimSpyderReplyFault::ShortDataPacket && p == 4 ? 5 : kPacket;
        m_queue.append({ready, reply.mid(p * kPacket, size)});
    }
}

int SimSpyder::bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                        unsigned timeoutMs)
{
    transferred = 0;
    if (unplugDue())
        return kUsbErrorNoDevice;
    if (endpoint != kBulkInEndpoint)
        return kUsbErrorPipe;
    qint64 ready = -1;
    {
        QMutexLocker lock(&m_lock);
        if (m_halted)
            return kUsbErrorPipe;
        if (!m_queue.isEmpty())
            ready = m_queue.first().readyUs;
    }
    const qint64 deadline = programClock().nowUs() + qint64(timeoutMs) * 1000;
    if (ready < 0 || ready > deadline) {
        if (!waitUntil(deadline))
            return kUsbErrorNoDevice;
        return kUsbErrorTimeout;
    }
    if (!waitUntil(ready))
        return kUsbErrorNoDevice;
    QMutexLocker lock(&m_lock);
    if (m_queue.isEmpty())
        return kUsbErrorTimeout;
    const QByteArray packet = m_queue.takeFirst().bytes;
    transferred = std::min(length, int(packet.size()));
    if (transferred > 0 && buffer)
        std::copy(packet.constData(), packet.constData() + transferred, buffer);
    return kUsbSuccess;
}

int SimSpyder::clearHalt(quint8 endpoint)
{
    if (endpoint != kBulkInEndpoint)
        return kUsbErrorPipe;
    QMutexLocker lock(&m_lock);
    m_halted = false;
    ++m_clearedHalts;
    return kUsbSuccess;
}

void SimSpyder::reset()
{
    QMutexLocker lock(&m_lock);
    ++m_resets;
    m_queue.clear();
    m_halted = false;
}

namespace {

std::unique_ptr<SimSpyder> makeSpyder(quint16 productId, const SimLightSource &light,
                                      quint32 seed)
{
    SimSpyderConfig config;
    config.productId = productId;
    config.seed = seed;
    return std::make_unique<SimSpyder>(config, light);
}

} // namespace

SimSpyderBus::SimSpyderBus(SimLightSource light, quint32 seed)
    : m_spyder3(makeSpyder(kSpyder3Product, light, seed)),
      m_spyder4(makeSpyder(kSpyder4Product, light, seed))
{
}

// The devices leave the bus before it goes.
SimSpyderBus::~SimSpyderBus()
{
    m_spyder3.reset();
    m_spyder4.reset();
}

SimSpyder *SimSpyderBus::spyder(quint16 productId)
{
    if (productId == kSpyder3Product)
        return m_spyder3.get();
    if (productId == kSpyder4Product)
        return m_spyder4.get();
    return nullptr;
}

void SimSpyderBus::setAttached(quint16 productId, bool attached)
{
    SimSpyder *device = spyder(productId);
    if (!device || m_usb.isPlugged(device) == attached)
        return;
    if (attached)
        m_usb.plug(device);
    else
        m_usb.unplug(device);
}

bool SimSpyderBus::isAttached(quint16 productId) const
{
    const SimSpyder *device = productId == kSpyder3Product   ? m_spyder3.get()
                              : productId == kSpyder4Product ? m_spyder4.get()
                                                             : nullptr;
    return device && m_usb.isPlugged(device);
}

} // namespace pz
