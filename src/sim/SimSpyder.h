#pragma once
// The simulated Datacolor Spyder3 (USB 085c:0300) and Spyder4 (085c:0400)
// behind the raw USB seam: one configuration with one vendor interface and
// bulk IN endpoint 0x81 (8-byte packets), answering every vendor request
// of the device (EEPROM, registers, temperature, ambient light sensor, LED,
// measurement).
//
// A measurement request opens a window of `clock` µs on the program clock.
// The channels count pulses of the light the sensor sees at that moment,
// modulated by the display's refresh; the status packet and nine data
// packets become readable at the window's end, and a bulk read before then
// waits on the program clock up to its time-out. A read with nothing
// queued waits its time-out and returns 0 bytes.
//
// The light comes through SimLightSource, so the sensor can be pointed at
// whatever the simulated screen shows.

#include "SimLightModel.h"
#include "SimUsbBackend.h"

#include <QByteArray>
#include <QMutex>
#include <QVector>
#include <functional>
#include <memory>

namespace pz {

// What reaches the sensor when it measures: the screen's light at the lens
// (none when the sensor is off the screen) and the room light at its
// ambient sensor, both as the device sees them (with any noise). A source
// over the simulated screen light and its noise:
//   [&light, &noise] { return SimLightAtSensor{noise.emissive(light.emissive()),
//                                              noise.ambientLux(light.ambient().lux)}; }
struct SimLightAtSensor {
    SimXYZ emissive;         // cd/m²
    double ambientLux = 0;
};
using SimLightSource = std::function<SimLightAtSensor()>;

struct SimSpyderConfig {
    quint16 productId = 0x0400;   // 0x0300 Spyder3, 0x0400 Spyder4
    QByteArray eeprom;            // 1024 bytes; empty: the product's default image
    double refreshHz = 60.0;      // of the display's light modulation
    double modulationDepth = 0.02;
    quint32 seed = 1;             // the modulation's phase
};

// What goes wrong with the next measurement's reply.
enum class SimSpyderReplyFault {
    None,
    NoStatusPacket,       // nothing at all comes back
    ShortStatusPacket,    // a 4-byte status packet
    MissingDataPacket,    // the ninth data packet never comes
    ShortDataPacket,      // the fifth data packet has 5 bytes
    StallFirstRead,       // the endpoint halts at the first read
    ReversedStamps,       // raw channel 1's last stamp lies before its first
};

class SimSpyder : public SimUsbFunction {
public:
    static constexpr quint16 kVendorId = 0x085C;
    static constexpr quint8 kBulkInEndpoint = 0x81;
    static constexpr quint16 kRawTemperature = 0x1900;   // 25.00 °C
    static constexpr double kMaxChannelHz = 1e6;         // a channel tops out here
    // Noise figures of a simulated run (the light source applies them).
    static constexpr double kNoiseRelative = 0.003;
    static constexpr double kNoiseFloorCdm2 = 0.03;

    // One setup packet as the device received it, with the data sent.
    struct Setup {
        quint8 requestType = 0;
        quint8 request = 0;
        quint16 value = 0;
        quint16 index = 0;
        quint16 length = 0;
        QByteArray out;
    };

    explicit SimSpyder(const SimSpyderConfig &config = SimSpyderConfig(),
                       SimLightSource light = SimLightSource());
    ~SimSpyder() override;

    void setLight(SimLightSource light);
    // A fixed light: screen XYZ in cd/m², room lux.
    void setFixedLight(const SimXYZ &display, double ambientLux = 0);

    // Faults.
    void setBusyOpens(int count);              // -1: busy for ever
    void setAccessDenied(bool denied);
    void setReplyFault(SimSpyderReplyFault fault);   // the next measurement only
    // The next count control transfers fail with status; a time-out is
    // charged on the program clock first.
    void failNextControls(int count, int status);
    // Unplugs itself once the program clock has run us further, in the
    // middle of whatever wait is then running.
    void unplugAfterUs(qint64 us);
    void setEepromWriteProtected(bool on);
    // Control transfers with this bRequest report `missing` bytes fewer
    // than they moved (0: whole again).
    void shortenTransfers(quint8 request, int missing);
    // The next measurement answers with these 72 data bytes (three groups
    // of eight 24-bit values: last stamps, first stamps, counts) instead of
    // what the light gives.
    void replaceNextReply(const QByteArray &data);
    // The temperature sensor's raw 16-bit value (kRawTemperature at first).
    void setRawTemperature(quint16 raw);

    // What the device saw and holds.
    QVector<Setup> setupLog() const;
    void clearSetupLog();
    QByteArray eeprom() const;
    quint8 registerValue(quint8 reg) const;
    quint8 ambientControl() const;
    quint8 ambientTiming() const;
    quint8 ledValue() const;
    quint16 ledIndex() const;
    int resets() const;
    int clearedHalts() const;

    // The light a measurement window integrates, per raw channel, in Hz.
    void channelFrequencies(const SimXYZ &light, double hz[8]) const;
    // The 72 data bytes a measurement of clock µs starting at program time
    // startUs answers for this light: the truth damaged replies are made from.
    QByteArray measurementReply(const SimXYZ &light, quint32 clock, qint64 startUs,
                                bool reverseStamps = false) const;

    UsbDeviceInfo descriptor() const override;
    UsbConfigDescriptor configuration() const override;
    int acceptOpen() override;
    int controlTransfer(quint8 requestType, quint8 request, quint16 value, quint16 index,
                        quint8 *data, quint16 length, unsigned timeoutMs) override;
    int bulkRead(quint8 endpoint, quint8 *buffer, int length, int &transferred,
                 unsigned timeoutMs) override;
    int clearHalt(quint8 endpoint) override;
    void reset() override;

private:
    struct Packet {
        qint64 readyUs = 0;
        QByteArray bytes;
    };

    int answerIn(quint8 request, quint16 value, quint16 index, quint8 *data, quint16 length);
    int answerOut(quint8 request, quint16 value, quint16 index, const quint8 *data,
                  quint16 length);
    void startMeasurement(quint32 clock);
    void ambientCounts(quint16 &channel0, quint16 &channel1) const;
    // Gain the value of register 7 selects.
    static int gainOfCode(quint8 code);
    // Waits until untilUs on the program clock, unless the scheduled unplug
    // comes first: then unplugs and returns false.
    bool waitUntil(qint64 untilUs);
    bool unplugDue();

    SimSpyderConfig m_config;
    SimLightSource m_light;
    double m_phase = 0;

    mutable QMutex m_lock;
    QByteArray m_eeprom;
    quint8 m_registers[256] = {};
    quint8 m_temperatureConfig = 0;
    quint8 m_ambientControl = 0;
    quint8 m_ambientTiming = 0x02;
    quint8 m_ledValue = 0;
    quint16 m_ledIndex = 0;
    QVector<Packet> m_queue;
    bool m_halted = false;
    QVector<Setup> m_log;
    int m_resets = 0;
    int m_clearedHalts = 0;

    int m_busyOpens = 0;
    bool m_accessDenied = false;
    SimSpyderReplyFault m_replyFault = SimSpyderReplyFault::None;
    int m_failControls = 0;
    int m_failStatus = kUsbSuccess;
    qint64 m_unplugAtUs = -1;
    bool m_writeProtected = false;
    quint8 m_shortRequest = 0;
    int m_shortBy = 0;
    QByteArray m_nextReply;
    quint16 m_rawTemperature = kRawTemperature;
};

// The simulated USB bus of the simulated sensors: a Spyder3 and a Spyder4,
// both measuring the light of one source, that can each be plugged in. The
// bus is not behind the USB seam by itself; whoever owns it puts usb()
// there (SimSensors does).
class SimSpyderBus {
public:
    static constexpr quint16 kSpyder3Product = 0x0300;
    static constexpr quint16 kSpyder4Product = 0x0400;

    // seed: the devices' modulation phase.
    explicit SimSpyderBus(SimLightSource light = SimLightSource(),
                          quint32 seed = SimSpyderConfig().seed);
    ~SimSpyderBus();
    SimSpyderBus(const SimSpyderBus &) = delete;
    SimSpyderBus &operator=(const SimSpyderBus &) = delete;

    SimUsbBackend &usb() { return m_usb; }
    // The device of a product (kSpyder3Product or kSpyder4Product), plugged
    // in or not; nullptr for any other product.
    SimSpyder *spyder(quint16 productId);

    // Plugs the device in (a re-plug gets a new path) or pulls it out; its
    // open handles hear of the removal at once.
    void setAttached(quint16 productId, bool attached);
    bool isAttached(quint16 productId) const;

private:
    SimUsbBackend m_usb;
    std::unique_ptr<SimSpyder> m_spyder3;
    std::unique_ptr<SimSpyder> m_spyder4;
};

} // namespace pz
