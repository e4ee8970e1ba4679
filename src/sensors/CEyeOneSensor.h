#pragma once
// The adapter for the X-Rite i1 Pro spectrophotometer used as a colorimeter,
// over X-Rite's i1 library (sensor type 2 of the selector, the first one
// automatic detection tries).
//
// Init selects "EyeOne" in the library; ambient readings are possible when
// the library accepted "SingleAmbientLight" there. Every display reading
// takes one library reading unless the low-light rule asks for more; the
// device always needs a zero calibration, on its base for display readings
// and with the ambient cap in ambient mode, and every mode change asks for
// a new one. The screen type means nothing to the device. The destructor
// makes no library call.

#include "CEyeOneLibrarySensor.h"

class CEyeOneSensor : public CEyeOneLibrarySensor {
    Q_OBJECT
public:
    CEyeOneSensor();
    ~CEyeOneSensor() override;

    QString GetModelName() override;
    bool DoesSupportAmbientLightMeasurement() override;
    int ZeroCal() override;
    // One reading whatever `count` asks, plus the low-light rule.
    int Measure(unsigned count) override;
    // Stores the screen type; no library call.
    int SetScreenType(typeSensorScreen screen,
                      CTargetDisplay::typeMonitorColorGamutType gamut) override;
    // The zero calibration picture and text follow the mode at the time of
    // the call.
    int GetSensorPhyscalData(sensor_physical_data &data) override;
    bool GetSensorPnPIDs(unsigned short &vendor, unsigned short &product) override;

    bool m_AmbientSupported = false;

private:
    int Init();
};
