#pragma once
// A sensor double for the calibration window: it measures the simulated
// light like the engine tests' colorimeter, and its preparation is scripted:
// whether it has a zero calibration and a measurement selector, whether the
// selector must be polled, where the selector stands (or the error code a
// read answers), what the zero calibration answers. It logs its LED calls
// and the positions asked for in pictures, and describes itself with a
// placement picture, sizes and instruction texts of its own.

#include "SimLightSensor.h"

#include <QColor>
#include <QPixmap>
#include <atomic>
#include <functional>

namespace pz::test {

class ScriptedSensor : public SimLightSensor {
public:
    static constexpr double kPictureSizeCm = 8.0;
    static constexpr double kLensCentreFraction = 0.6;
    static constexpr double kTargetSizeCm = 10.0;
    static inline const QString kZeroCalText = QStringLiteral("Put the sensor on its dark plate.");
    static inline const QString kSelectorText = QStringLiteral("Turn the dial to the screen position.");

    explicit ScriptedSensor(SimSensorLight &light) : SimLightSensor(light) { acceptEverything(true); }

    bool zeroCal = false;
    bool selector = false;
    bool polled = false;
    std::atomic<int> position{0};
    int zeroCalResult = kSensorOK;
    int zeroCalls = 0;
    QList<int> ledCalls;
    QList<int> picturesAsked;

    // The selector turned by the user: the new position and, unless it is
    // polled, the change signal.
    void turnTo(int p)
    {
        position = p;
        if (!polled)
            emit SensorMeasurementSelectorPositionChanged(p);
    }

    // A picture per selector position, told apart by its colour.
    static QColor pictureColour(int p) { return QColor::fromHsv((p * 70) % 360, 200, 220); }

    // The luminance of every completed reading, in order.
    QList<double> readingsY() const
    {
        QMutexLocker lock(&m_readingsLock);
        return m_readingsY;
    }
    int Measure(unsigned count) override
    {
        const int status = SimLightSensor::Measure(count);
        if (status == kSensorOK) {
            QMutexLocker lock(&m_readingsLock);
            m_readingsY.append(m_LastReading.Y);
        }
        return status;
    }

    bool SupportsZeroCal() override { return zeroCal; }
    bool DoesSensorSupportMeasurementSelector() override { return selector; }
    bool DoesSensorSupportMeasurementSelectorNeedPolling() override { return polled; }
    int GetSensorMeasurementSelectorPosition() override { return position; }
    // Called inside ZeroCal, as the window waits for it.
    std::function<void()> duringZeroCal;
    int ZeroCal() override
    {
        ++zeroCalls;
        if (duringZeroCal)
            duringZeroCal();
        return zeroCalResult;
    }
    int FlashLED(int on) override
    {
        ledCalls.append(on);
        return kSensorOK;
    }
    QPixmap GetPixmapForCurrentPosition(int target) override
    {
        picturesAsked.append(target);
        QPixmap p(120, 90);
        p.fill(pictureColour(target));
        return p;
    }
    int GetSensorPhyscalData(sensor_physical_data &data) override
    {
        data.m_ZeroCalibrationPicture = QStringLiteral(":/images/Resources/color munki dial calibrate.png");
        data.m_OnDisplayPicture = QStringLiteral(":/images/Resources/i1d3 on display.png");
        data.m_ZeroCalibrationText = kZeroCalText;
        data.m_SelectorMessage = kSelectorText;
        data.m_PictureSizeCm = kPictureSizeCm;
        data.m_LensCentreFraction = kLensCentreFraction;
        data.m_TargetSizeCm = kTargetSizeCm;
        return kSensorOK;
    }

private:
    mutable QMutex m_readingsLock;
    QList<double> m_readingsY;
};

} // namespace pz::test
