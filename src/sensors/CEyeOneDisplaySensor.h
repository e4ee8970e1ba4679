#pragma once
// The adapter for the X-Rite i1 Display family: the first-generation i1
// Display, the i1 Display 2 and Orvane's own variants of the i1 Display 2,
// over X-Rite's i1 library (sensor type 1 of the selector).
//
// Init selects "EyeOneDisplay" in the library and tells the model apart: by
// the library's measurement modes (an ambient mode means an i1 Display 2),
// then by ranges of the decimal serial number. The model decides the name,
// the pictures, zero calibration (first generation only), ambient support
// and how the screen type reaches the library. Display readings average
// `count` library readings (0 counts as 1) with the low-light rule.
//
// The destructor puts the library into "Cleanup" mode, also when the device
// never connected.

#include "CEyeOneLibrarySensor.h"

#include <optional>

class CEyeOneDisplaySensor : public CEyeOneLibrarySensor {
    Q_OBJECT
public:
    enum Model {
        kModelFirstGeneration = 1,   // i1 Display
        kModelDisplay2 = 2,          // i1 Display 2
        kModelOrvane = 3,            // Orvane i1 Display 2
        kModelOrvaneWideGamut = 4,   // Orvane i1 Display 2 for wide-gamut displays
        kModelVoredirive = 5,        // Orvane's own, a customised i1 Display 2
    };

    CEyeOneDisplaySensor();
    ~CEyeOneDisplaySensor() override;

    // The model a serial number picks among Orvane's variants, in the order
    // the ranges are tested (a later match overrides an earlier one), and
    // whether the range itself gives ambient readings. Nothing for a serial
    // that starts with no digit, does not fit 32 bits or lies outside every
    // range.
    struct SerialModel {
        int model = 0;
        bool ambient = false;
    };
    static std::optional<SerialModel> ModelForSerial(const QByteArray &serial);

    QString GetModelName() override;
    bool DoesSupportAmbientLightMeasurement() override;
    int ZeroCal() override;
    int Measure(unsigned count) override;
    int SetScreenType(typeSensorScreen screen,
                      CTargetDisplay::typeMonitorColorGamutType gamut) override;
    int GetSensorPhyscalData(sensor_physical_data &data) override;
    bool SupportsZeroCal() override;
    bool GetSensorSupportsUserPreparationWarning() override;
    bool GetSensorPnPIDs(unsigned short &vendor, unsigned short &product) override;

    int m_Model = kModelFirstGeneration;
    bool m_AmbientSupported = false;

private:
    int Init();
};
