#pragma once
// The simulated sensors of every family behind their library seams, on the
// virtual clock, with a sensor selector published in pTargetSensor: the
// ground the sensor preparation dialogs work on.

#include "AppGlobals.h"
#include "CTargetSensor.h"
#include "Clock.h"
#include "EyeOneLibrary.h"
#include "SimDesktop.h"
#include "SimEyeOneLibrary.h"
#include "SimFixedScreen.h"
#include "SimSensors.h"
#include "SimSpyder2Library.h"
#include "Spyder2Library.h"

#include <QRectF>

namespace pz::test {

struct SensorSetupRig {
    VirtualClock clock;
    ScopedClock clockScope{&clock};
    SimDesktop desktop;
    SimFixedScreen screen;
    SimSensors sensors{desktop, &screen};
    SimEyeOneLibrary eyeOne;
    ScopedEyeOneLibrary eyeOneSeam{&eyeOne};
    SimSpyder2Library spyder2;
    ScopedSpyder2Library spyder2Seam{&spyder2};
    CTargetSensor selector;

    SensorSetupRig()
    {
        desktop.addMonitor(1, QRectF(0, 0, 1920, 1200));
        pTargetSensor = &selector;
    }
    ~SensorSetupRig() { pTargetSensor = nullptr; }

    // Attaches the family's device and makes it the current sensor.
    CSensor *select(CTargetSensor::typeTargetSensor type)
    {
        switch (type) {
        case CTargetSensor::kSensorEyeOneDisplay3:
            sensors.attach(SimSensors::I1d3);
            break;
        case CTargetSensor::kSensorColorMunki:
            sensors.attach(SimSensors::ColorMunki);
            break;
        case CTargetSensor::kSensorSpyder:
            spyder2.setAttached(true);
            break;
        case CTargetSensor::kSensorEyeOneDisplay: {
            SimEyeOneDisplayConfig config;
            config.firstGeneration = true;   // needs a zero calibration
            config.serial = "X";             // no serial range overrides the model
            eyeOne.setDisplayConfig(config);
            eyeOne.setAttached(SimEyeOneLibrary::Display, true);
            break;
        }
        default:
            break;
        }
        if (selector.SelectType(type) != 0)
            return nullptr;
        sensors.i1d3().clearCalls();
        sensors.munki().clearCalls();
        eyeOne.clearCalls();
        return selector.m_pCurrentSensor;
    }
};

} // namespace pz::test
