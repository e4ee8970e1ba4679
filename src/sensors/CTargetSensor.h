#pragma once
// The sensor selector: chooses, creates and owns the one sensor adapter the
// whole program uses. Start-up detection, the main window's re-detection and
// the preferences' automatic detection call AutoSelect; the preferences'
// sensor list calls SelectType and names its entries with
// GetSensorListNames. Everyone else reads m_pCurrentSensor and drives it
// through CSensor.
//
// Every family is probed by constructing its adapter (which opens the
// device) and deleting it again when it did not connect; the current
// adapter is always released before another is tried, so at most one
// adapter, and one open vendor library connection, exists at a time.
//
// Threads: at start-up AutoSelect runs on the detection thread, which ends
// afterwards; an adapter the selector keeps is moved to the selector's own
// thread, so it never stays bound to a thread that no longer exists. The
// signals reach their listeners queued across threads. No locks: the
// selector is used by one thread at a time.

#include "CSensor.h"

#include <QObject>
#include <QString>
#include <memory>

class CTargetSensor : public QObject {
    Q_OBJECT
public:
    enum typeTargetSensor : int {
        kSensorNone = 0,
        kSensorEyeOneDisplay = 1,    // i1 Display and i1 Display 2
        kSensorEyeOnePro = 2,        // i1 Pro
        kSensorEyeOneDisplay3 = 3,   // i1 Display Pro
        kSensorColorMunki = 4,
        kSensorSpyder = 5,           // Spyder2, Spyder3, Spyder4
    };

    CTargetSensor();
    ~CTargetSensor() override;

    // Replaces the current sensor by a new adapter of the type: 0 when it
    // connected (then detectedSensor(name) and sensorDetectionComplete()),
    // kSensorNotConnected when it did not (no sensor afterwards, no signal).
    // Type 0, a negative type or one above 5 drops the sensor, reports "-"
    // and answers kSensorNotConnected.
    int SelectType(typeTargetSensor type);
    // Tries the i1 Pro, i1 Display, ColorMunki, Spyder and i1 Display Pro in
    // this order, then none: true when a sensor was found. Exactly one pair
    // of signals comes out, for the sensor found or for "-".
    bool AutoSelect();
    // The current sensor's model name, empty without a sensor; true.
    bool GetSensorName(QString &name);
    // The translated list name of a type; false, with `name` unchanged, for
    // a value outside 0..5.
    bool GetSensorListNames(typeTargetSensor type, QString &name);

    // Read directly by the windows.
    CSensor *m_pCurrentSensor = nullptr;   // owned
    typeTargetSensor m_CurrentType = kSensorNone;

signals:
    void detectedSensor(QString name);
    void sensorDetectionComplete();

private:
    // A new adapter of a family (1..5): it has opened its device or not.
    static std::unique_ptr<CSensor> CreateSensor(typeTargetSensor type);
    void ReleaseSensor();
};
