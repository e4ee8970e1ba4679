#pragma once
// A plain colorimeter for the window tests: Measure() reads the light of a
// SimSensorLight, times a gain, through CSensor's averaging loop, and
// GetXYZData hands it out once. Calls fail as SimSensorFaults says
// ("Measure", "GetXYZData"), and a lost device answers -1003. Tests derive
// from it where they script what no simulated device can be made to do.

#include "CSensor.h"
#include "SimSensorFaults.h"
#include "SimSensorLight.h"

#include <QMutex>
#include <QVector>

namespace pz::test {

class SimLightSensor : public CSensor {
public:
    explicit SimLightSensor(SimSensorLight &light) : m_light(light) { m_Connected = true; }

    // Readings are the light times this factor.
    void setGain(double gain) { m_gain = gain; }
    // The device is lost once this many more Measure calls have succeeded.
    void loseAfterMeasurements(int n) { m_loseAfter = n; }
    SimSensorFaults &faults() { return m_faults; }
    // The count of every Measure call, in order.
    QVector<unsigned> measureCounts() const
    {
        QMutexLocker lock(&m_lock);
        return m_counts;
    }
    // The patch of every plausibility test, in order.
    QVector<int> testedPatches() const
    {
        QMutexLocker lock(&m_lock);
        return m_tested;
    }
    // Plausibility answers: every reading accepted, or one patch refused.
    void acceptEverything(bool on) { m_acceptEverything = on; }
    void refusePatch(int patch) { m_refused = patch; }

    QString GetModelName() override { return QStringLiteral("Sim Colorimeter"); }
    QString GetSerialNumber() override { return QStringLiteral("SC-0042"); }
    void Settings() override {}
    int IsValidSettings() override { return 1; }
    void SetSync(double) override {}
    int DetectVerticalScanningFrequency() override { return 0; }
    bool DoesSupportAmbientLightMeasurement() override { return false; }
    int MeasureAmbientLight() override { return kSensorRefused; }
    int ZeroCal() override { return kSensorOK; }
    int SetScreenType(typeSensorScreen screen, CTargetDisplay::typeMonitorColorGamutType) override
    {
        m_ScreenType = screen;
        return kSensorOK;
    }
    int GetSensorPhyscalData(sensor_physical_data &) override { return kSensorOK; }

    int Measure(unsigned count) override
    {
        {
            QMutexLocker lock(&m_lock);
            m_counts.append(count);
        }
        if (auto status = m_faults.takeFault(QStringLiteral("Measure")))
            return *status;
        const int status = MeasureAveraged(count, [this](CCIEXYZ &out) {
            if (m_faults.isLost())
                return kSensorDeviceFailed;
            const SimXYZ light = m_light.emissive();
            out = CCIEXYZ(light.X * m_gain, light.Y * m_gain, light.Z * m_gain);
            return kSensorOK;
        });
        if (status == kSensorOK && m_loseAfter > 0 && --m_loseAfter == 0)
            m_faults.loseNow();
        return status;
    }

    int validate_phopshor_colors(CCIEXYZ reading, int patch) override
    {
        {
            QMutexLocker lock(&m_lock);
            m_tested.append(patch);
        }
        if (patch == m_refused)
            return kSensorRefused;
        return m_acceptEverything ? kSensorOK : CSensor::validate_phopshor_colors(reading, patch);
    }

    int GetXYZData(CCIEXYZ &out) override
    {
        if (auto status = m_faults.takeFault(QStringLiteral("GetXYZData")))
            return *status;
        return HandOutReading(out);
    }

private:
    SimSensorLight &m_light;
    SimSensorFaults m_faults;
    double m_gain = 1.0;
    int m_loseAfter = 0;
    bool m_acceptEverything = false;
    int m_refused = 0;
    mutable QMutex m_lock;
    QVector<unsigned> m_counts;
    QVector<int> m_tested;
};

} // namespace pz::test
