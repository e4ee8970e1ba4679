#pragma once
// The simulated i1 Display Pro behind the i1 Display Pro library seam: one
// device on the simulated desktop that measures SimSensorLight.
//
// Presence: Initialize finds the device when it is attached and plugged in
// (GetNumberOfDevices 0 or 1). A handle belongs to one plug-in: once the
// device is unplugged (SimSensorFaults::loseNow/loseAfterUs) or detached,
// every call with it answers kI1d3DeviceLost; after replug() or attach a
// fresh Initialize, handle and DeviceOpen work again.
//
// Readings take the integration time last set (1 s until one is set) on the
// program clock. The turning diffuser decides what the lens sees: over the
// lens a display reading is a tenth of the screen light, and without it an
// ambient reading is a third of the room light; plausible but wrong, as a
// real device gives. A display reading above kOverRangeLuminance fails with
// kOverRange.
//
// The virtual hand turns the diffuser: by hand (setDiffuser), or, with the
// automatic hand on, whenever the LED is set to blink (the set-up flows make
// it blink when the diffuser stands wrong).
//
// Every call first asks faults() whether it is to fail (call names as in the
// seam, "MeasureXYZ", "GetDeviceInfo", ...). Thread-safe.

#include "I1d3Library.h"
#include "SimSensorFaults.h"
#include "SimSensorLight.h"
#include "SimScriptedReadings.h"
#include "SimSensorNoise.h"

#include <QMutex>
#include <QStringList>

namespace pz {

struct SimI1d3Config {
    QByteArray serial = "I1D3-0000123";
    QByteArray firmware = "v2.5";
    bool makersVariant = false;
    QVector<I1d3CalibrationEntry> calibrations = standardCalibrations();

    // Keys 1, 3, 6, 9 and 12, one entry each.
    static QVector<I1d3CalibrationEntry> standardCalibrations();
    // The standard list with a second entry of key 6 after the first.
    static QVector<I1d3CalibrationEntry> duplicatedKeyCalibrations();
    // Only keys 1 and 3.
    static QVector<I1d3CalibrationEntry> twoCalibrations();
};

// One SetLEDControl call.
struct SimI1d3Led {
    int mode = 0;
    double firstSeconds = 0;
    double secondSeconds = 0;
    quint8 count = 0;
    bool operator==(const SimI1d3Led &o) const
    {
        return mode == o.mode && firstSeconds == o.firstSeconds
            && secondSeconds == o.secondSeconds && count == o.count;
    }
};

class SimI1d3Library : public II1d3Library {
public:
    static constexpr double kOverRangeLuminance = 2000.0;   // cd/m²
    static constexpr int kOverRange = -1;
    // A call with no handle or before DeviceOpen, an empty support path.
    static constexpr int kRefused = -2;
    // Time-outs injected through faults() wait this long.
    static constexpr qint64 kMeasureTimeoutUs = 10'000'000;
    static constexpr qint64 kCallTimeoutUs = 2'000'000;
    static constexpr double kDefaultIntegrationSeconds = 1.0;
    // The LED setting that makes the device blink until told otherwise.
    static constexpr SimI1d3Led kBlinking{1, 0.25, 0.25, 255};

    // `light` is not owned and outlives the library. Detached until attach.
    explicit SimI1d3Library(SimSensorLight &light);

    void setConfig(const SimI1d3Config &config);
    SimI1d3Config config() const;
    // Plugs the device in (a new plug-in: old handles stay dead) or pulls it out.
    void setAttached(bool attached);
    bool isAttached() const;
    SimSensorFaults &faults() { return m_faults; }
    SimSensorNoise &noise() { return m_noise; }

    // The virtual hand.
    void setDiffuser(bool coversLens);
    bool diffuserCoversLens() const;
    void setAutomaticHand(bool on);
    bool automaticHand() const;
    // Noise and the automatic hand on under PELZORA_SIMULATE=1, off otherwise.
    void configureFromEnvironment();
    // Display readings given in advance (SimScriptedReadings).
    void scriptReadings(const QVector<SimXYZ> &readings) { m_script.set(readings); }

    // What the adapter set last.
    QByteArray supportFilePath() const;
    I1d3CalibrationEntry calibration() const;   // key 0 until one is set
    double targetLCDTime() const;
    double integrationTime() const;
    int measurementMode() const;                // -1 until one is set
    QVector<SimI1d3Led> ledSettings() const;    // every call, in order
    // Names of the calls made, in order.
    QStringList calls() const;
    void clearCalls();

    int Initialize() override;
    int GetNumberOfDevices() override;
    int GetDeviceHandle(int index, I1d3Handle &handle) override;
    int DeviceOpen(I1d3Handle handle) override;
    int SetSupportFilePath(I1d3Handle handle, const QByteArray &path) override;
    int GetCalibrationList(I1d3Handle handle, QVector<I1d3CalibrationEntry> &list) override;
    int SetCalibration(I1d3Handle handle, const I1d3CalibrationEntry &entry) override;
    int SetMeasurementMode(I1d3Handle handle, int mode) override;
    int SetIntegrationTime(I1d3Handle handle, double seconds) override;
    int SetTargetLCDTime(I1d3Handle handle, double seconds) override;
    int MeasureXYZ(I1d3Handle handle, I1d3XYZ &xyz) override;
    int MeasureAmbient(I1d3Handle handle, I1d3Ambient &reading) override;
    int ReadDiffuserPosition(I1d3Handle handle, bool &covered) override;
    int SetLEDControl(I1d3Handle handle, int mode, double firstSeconds, double secondSeconds,
                      quint8 count) override;
    int GetSerialNumber(I1d3Handle handle, QByteArray &serial) override;
    int GetDeviceInfo(I1d3Handle handle, I1d3DeviceInfo &info) override;
    int DeviceClose(I1d3Handle handle) override;
    int Destroy() override;

private:
    // The start of every call: records it, then answers an injected fault,
    // or the loss of the device, or a call without an open device; 0 when
    // the call may go on.
    int begin(const char *call, qint64 timeoutUs = kCallTimeoutUs);
    int beginOnDevice(const char *call, I1d3Handle handle, qint64 timeoutUs = kCallTimeoutUs,
                      bool needsOpen = true);
    bool presentLocked() const;
    quint64 plugInLocked() const;
    // Waits the integration time: false when the device was lost meanwhile.
    bool integrate();

    SimSensorLight &m_light;
    SimSensorFaults m_faults;
    SimSensorNoise m_noise;

    mutable QMutex m_lock;
    SimI1d3Config m_config;
    bool m_attached = false;
    quint32 m_attachCount = 0;
    bool m_initialized = false;
    bool m_deviceFound = false;
    I1d3Handle m_handle = 0;
    quint64 m_handlePlugIn = 0;
    quint32 m_handleCounter = 0;
    bool m_open = false;
    bool m_diffuserOverLens = false;
    bool m_automaticHand = false;

    QByteArray m_supportPath;
    I1d3CalibrationEntry m_calibration;
    double m_targetLCDTime = kDefaultIntegrationSeconds;
    double m_integrationTime = kDefaultIntegrationSeconds;
    int m_mode = -1;
    QVector<SimI1d3Led> m_leds;
    QStringList m_calls;
    SimScriptedReadings m_script;
};

} // namespace pz
