#pragma once
// The simulated i1 library behind the i1 library seam, with its two device
// families: an i1 Display ("EyeOneDisplay", first generation or i1 Display 2)
// and an i1 Pro ("EyeOne"). Either can be attached or not, both at once.
//
// One option store, as the vendor's: "DeviceType" chooses the family every
// other call is about, the other options are kept per device type. The
// library accepts exactly the options and values the adapters send and
// refuses everything else; "SingleAmbientLight" only for a device that can
// measure ambient light, "Cleanup" always. "SerialNumber" and
// "AvailableMeasurementModes" describe the attached device of the current
// type (empty without one); serial numbers are decimal.
//
// Strictness: the i1 Pro and a first-generation i1 Display refuse
// TriggerMeasurement after every change of "MeasurementMode" until Calibrate
// has succeeded, so a flow that skips the zero calibration is caught. In
// "Cleanup" mode (or before any mode) no reading is taken.
//
// Each reading and calibration takes kReadingUs on the program clock. The
// light comes through SimLightSource, free of noise; each device adds its
// own (SimSensorNoise, off until switched on). The i1 Pro's readings can go
// negative near black, the i1 Display's stop at 0. Unplugging through a
// device's faults() (also in the middle of a reading) makes IsConnected
// answer kI1NoDevice and every call fail until replug(). Call names for
// faults(): "Calibrate", "TriggerMeasurement", "GetTriStimulus", and
// "SetOption:<key>" to make the library refuse an option. Thread-safe.

#include "EyeOneLibrary.h"
#include "SimSensorFaults.h"
#include "SimSensorNoise.h"
#include "SimSpyder.h"

#include <QHash>
#include <QMap>
#include <QMutex>
#include <QStringList>

namespace pz {

struct SimEyeOneDisplayConfig {
    QByteArray serial = "223565";
    bool firstGeneration = false;   // no ambient mode, zero calibration needed
};

struct SimEyeOneProConfig {
    QByteArray serial = "123456";
    bool ambient = true;            // accepts "SingleAmbientLight"
};

class SimEyeOneLibrary : public IEyeOneLibrary {
public:
    enum Device { Display, Pro };

    static constexpr qint64 kReadingUs = 1'000'000;
    // Failure statuses of the simulated library.
    static constexpr int kRefused = 1;          // an option or value it does not take
    static constexpr int kNoDeviceFound = 3;    // no device of the current type
    static constexpr int kNotCalibrated = 4;    // strict device after a mode change
    static constexpr int kNoMode = 5;           // no measuring mode ("Cleanup" or none)
    static constexpr int kNoReading = 6;        // GetTriStimulus before a reading

    static const QByteArray kDisplayType;   // "EyeOneDisplay"
    static const QByteArray kProType;       // "EyeOne"

    // Noise of each family: relative 0.3 %, floor 0.03 cd/m² (i1 Display)
    // and 0.05 cd/m² (i1 Pro).
    static SimSensorFigures figures(Device device);

    explicit SimEyeOneLibrary(SimLightSource light = SimLightSource());

    void setLight(SimLightSource light);
    void setFixedLight(const SimXYZ &display, double ambientLux = 0);

    void setDisplayConfig(const SimEyeOneDisplayConfig &config);
    SimEyeOneDisplayConfig displayConfig() const;
    void setProConfig(const SimEyeOneProConfig &config);
    // Plugs the device in (fresh: not calibrated, no reading) or pulls it out.
    void setAttached(Device device, bool attached);
    bool isAttached(Device device) const;
    SimSensorFaults &faults(Device device) { return m_devices[device].faults; }
    SimSensorNoise &noise(Device device) { return m_devices[device].noise; }
    // Noise as PELZORA_SIMULATE asks (SimSensorNoise::configureFromEnvironment).
    void configureFromEnvironment();

    // What the adapters did.
    QByteArray storedOption(const QByteArray &deviceType, const QByteArray &key) const;
    // Every call, in order: "IsConnected EyeOne", "SetOption key=value",
    // "GetOption key", "Calibrate", "TriggerMeasurement", "GetTriStimulus".
    QStringList calls() const;
    void clearCalls();
    // IsConnected calls made while the device's type was current.
    int connectionTests(Device device) const;

    int IsConnected() override;
    int SetOption(const QByteArray &key, const QByteArray &value) override;
    QByteArray GetOption(const QByteArray &key) override;
    int Calibrate() override;
    int TriggerMeasurement() override;
    int GetTriStimulus(float xyz[3], int index) override;

private:
    struct DeviceState {
        bool attached = false;
        quint64 generation = 0;      // of faults when the state below was valid
        bool calibrated = false;     // since the last mode change
        bool haveReading = false;
        float reading[3] = {0, 0, 0};
        int connectionTests = 0;
        SimSensorFaults faults;
        SimSensorNoise noise;
    };

    // The device the current "DeviceType" names, or -1.
    int currentDeviceLocked() const;
    // Attached and plugged in; a replugged device starts afresh.
    bool presentLocked(int device);
    void resetLocked(DeviceState &state);
    bool ambientCapableLocked(int device) const;
    bool strictLocked(int device) const;
    bool acceptsLocked(int device, const QByteArray &key, const QByteArray &value) const;
    QByteArray typeOf(int device) const;

    mutable QMutex m_lock;
    SimLightSource m_light;
    SimEyeOneDisplayConfig m_displayConfig;
    SimEyeOneProConfig m_proConfig;
    DeviceState m_devices[2];
    QByteArray m_deviceType;
    QHash<QByteArray, QMap<QByteArray, QByteArray>> m_options;
    QStringList m_calls;
};

} // namespace pz
