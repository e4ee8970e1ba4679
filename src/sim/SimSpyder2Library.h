#pragma once
// The simulated Spyder2 behind the Spyder2 library seam.
//
// Startup finds the device when it is attached and plugged in and fills the
// record with its serial number ("S2000001" by default); a second Startup
// without Shutdown fails with kCvAlreadyStarted. GetXYZ charges time/60 s on
// the program clock and answers the light in thousandths. The refresh rate
// is that of a configured CRT; on an LCD (the default) GetRefreshRate fails
// with kCvNoRefresh. The Spyder2 has no ambient sensor.
//
// The light comes through SimLightSource, free of noise; the device adds its
// own (noise(), the Spyder's figures, off until switched on). Faults:
// faults() with the call names "Startup", "UseCalibration", "GetXYZ",
// "GetRefreshRate" fail a call with the status as its detailed error;
// failWithValuesNext makes GetXYZ return 0 with a code while it still
// delivers the reading; unplugging through faults() makes every call fail
// with kNoDevice. Thread-safe.

#include "SimSensorFaults.h"
#include "SimSensorNoise.h"
#include "SimSpyder.h"
#include "Spyder2Library.h"

#include <QMutex>
#include <QVector>

namespace pz {

struct SimSpyder2Config {
    QByteArray serial = "S2000001";   // 8 characters
    double crtRefreshHz = 0;          // 0: an LCD, no refresh to find
};

class SimSpyder2Library : public ISpyder2Library {
public:
    static constexpr qint32 kNoDevice = 0x20010;
    static constexpr qint32 kNotStarted = 0x20011;
    static constexpr qint32 kBadCalibration = 0x20012;
    // Calibrations the device holds: 1 CRT, 2 LCD.
    static constexpr qint32 kCalibrationCrt = 1;
    static constexpr qint32 kCalibrationLcd = 2;

    // The Spyder's noise figures.
    static SimSensorFigures figures();

    explicit SimSpyder2Library(SimLightSource light = SimLightSource());

    void setLight(SimLightSource light);
    void setFixedLight(const SimXYZ &display);
    void setConfig(const SimSpyder2Config &config);
    void setAttached(bool attached);
    bool isAttached() const;
    SimSensorFaults &faults() { return m_faults; }
    SimSensorNoise &noise() { return m_noise; }
    // The next count readings return 0 with `code` and still fill X, Y, Z.
    void failWithValuesNext(qint32 code, int count = 1);

    // What the adapter did.
    int startups() const;                // Startup calls, found or not
    QVector<int> readingTimes() const;   // the time of every GetXYZ, in order
    void clearReadingTimes();
    QVector<qint32> calibrations() const;   // every UseCalibration, in order
    bool started() const;

    int Startup(quint8 record[kCvRecordSize]) override;
    int UseCalibration(qint32 calibration) override;
    int GetXYZ(int time, qint32 *X, qint32 *Y, qint32 *Z) override;
    int GetRefreshRate(double &rate) override;
    qint32 GetDetailedError(quint8 *system) override;
    int Shutdown() override;

private:
    // 0 with the code kept.
    int failLocked(qint32 code);
    // Started, attached and plugged in; else fails the call.
    bool readyLocked();

    mutable QMutex m_lock;
    SimLightSource m_light;
    SimSpyder2Config m_config;
    SimSensorFaults m_faults;
    SimSensorNoise m_noise;
    bool m_attached = false;
    bool m_started = false;
    quint64 m_startedGeneration = 0;
    qint32 m_error = 0;
    int m_startups = 0;
    QVector<int> m_times;
    QVector<qint32> m_calibrations;
    qint32 m_valueFaultCode = 0;
    int m_valueFaults = 0;
};

} // namespace pz
