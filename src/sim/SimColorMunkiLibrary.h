#pragma once
// The simulated ColorMunki behind the ColorMunki library seam: one device on
// the simulated desktop that measures SimSensorLight.
//
// IsConnected answers 0 while the device is attached and plugged in; once it
// is unplugged (faults().loseNow/loseAfterUs) or detached, IsConnected and
// every other call fail until replug()/attach.
//
// Options: the display and ambient mode settings and ("Reset", "All"), which
// clears them, are accepted; anything else is refused. Any option key can be
// made to fail with faults().failNext(optionCall(key), status). A change of
// "MeasurementMode" demands a new Calibrate, which works only with the dial
// at calibrate. TriggerMeasurement fails with the dial away from the mode's
// position (display for "SingleEmission", ambient for "SingleAmbientLight")
// or without a zero calibration since the last mode change; otherwise it
// samples the light, taking kMeasurementUs on the program clock. A display
// reading above kOverRangeLuminance fails.
//
// The dial and button move by hand (setDial, pressButton), or with the
// automatic hand on: to calibrate on every "MeasurementMode" change, and
// after a successful Calibrate to display, or to ambient in ambient mode.
// Every dial move delivers message 2 (kMunkiMessageDialMoved) and a button
// press message 1, on the simulator's own delivery thread. Thread-safe.

#include "ColorMunkiLibrary.h"
#include "SimSensorFaults.h"
#include "SimSensorLight.h"
#include "SimScriptedReadings.h"
#include "SimSensorNoise.h"

#include <QMap>
#include <QMutex>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace pz {

struct SimColorMunkiConfig {
    QByteArray serial = "CM123456";
};

class SimColorMunkiLibrary : public IColorMunkiLibrary {
public:
    static constexpr double kOverRangeLuminance = 2000.0;   // cd/m²
    static constexpr int kFailed = -1;
    static constexpr qint64 kMeasurementUs = 1'000'000;
    static constexpr qint64 kCalibrationUs = 2'000'000;
    // Time-outs injected through faults() wait this long.
    static constexpr qint64 kTimeoutUs = 5'000'000;

    // `light` is not owned and outlives the library. Detached until attach.
    explicit SimColorMunkiLibrary(SimSensorLight &light);
    ~SimColorMunkiLibrary() override;

    void setConfig(const SimColorMunkiConfig &config);
    SimColorMunkiConfig config() const;
    void setAttached(bool attached);
    bool isAttached() const;
    SimSensorFaults &faults() { return m_faults; }
    SimSensorNoise &noise() { return m_noise; }
    // The fault call name of SetOption for one key: "SetOption <key>".
    static QString optionCall(const QByteArray &key);

    // The virtual hand. setDial delivers message 2 when the dial moves.
    void setDial(int position);
    int dial() const;
    void pressButton(bool down = true);
    void setAutomaticHand(bool on);
    bool automaticHand() const;
    // Noise and the automatic hand on under PELZORA_SIMULATE=1, off otherwise.
    void configureFromEnvironment();
    // Display readings given in advance (SimScriptedReadings).
    void scriptReadings(const QVector<SimXYZ> &readings) { m_script.set(readings); }
    // Delivers any device message, as the library would.
    void deliver(MunkiDeviceMessage message);
    // Waits until every message delivered so far has been handled.
    void waitForDeliveries();

    QMap<QByteArray, QByteArray> options() const;
    bool zeroCalibrated() const;
    // Names of the calls made, in order; SetOption as "SetOption <key>=<value>".
    QStringList calls() const;
    void clearCalls();

    int IsConnected() override;
    int SetOption(const QByteArray &key, const QByteArray &value) override;
    QByteArray GetOption(const QByteArray &key) override;
    int Calibrate() override;
    int TriggerMeasurement() override;
    int GetTriStimulus(float values[3], int index) override;
    int GetSensorPosition() override;
    int ButtonPressed() override;
    int AddDeviceMessageHandler(MunkiMessageHandler handler, void *context) override;
    int RemoveDeviceMessageHandler(MunkiMessageHandler handler) override;

private:
    // Records the call and answers an injected fault or the loss of the
    // device; 0 when the call may go on.
    int begin(const QString &call);
    bool presentLocked() const;
    void moveDialLocked(int position, bool &moved);
    void deliveryLoop();

    SimSensorLight &m_light;
    SimSensorFaults m_faults;
    SimSensorNoise m_noise;
    SimScriptedReadings m_script;

    mutable QMutex m_lock;
    SimColorMunkiConfig m_config;
    bool m_attached = false;
    int m_dial = kMunkiDialDisplay;
    bool m_buttonDown = false;
    bool m_automaticHand = false;
    QMap<QByteArray, QByteArray> m_options;
    bool m_zeroCalibrated = false;
    bool m_hasReading = false;
    float m_reading[3] = {0, 0, 0};
    QStringList m_calls;

    // The delivery thread and its handlers. `m_deliveryLock` is never held
    // while a handler runs.
    std::mutex m_deliveryLock;
    std::condition_variable m_deliveryChanged;
    std::deque<MunkiDeviceMessage> m_queue;
    struct Handler {
        MunkiMessageHandler function;
        void *context;
    };
    std::vector<Handler> m_handlers;
    MunkiMessageHandler m_running = nullptr;   // the handler being called now
    bool m_delivering = false;
    bool m_stopping = false;
    std::thread m_deliveryThread;
};

} // namespace pz
