#pragma once
// The adapter for the Datacolor Spyder family (sensor type 5 of the
// selector). One adapter serves three devices and finds out at construction
// which one is attached: a Spyder4, then a Spyder3, through the program's own
// driver library (src/sensors/spyder, the DC_ functions), else a Spyder2
// through Datacolor's closed Spyder2 library (src/platform/Spyder2Library.h).
//
// A display reading starts with a short probe reading whose luminance
// chooses the integration time of the real one; a low-light reading takes a
// second, longer one. The Spyder4's calibration follows the display's gamut
// type, the Spyder2's the screen type; the Spyder3 and Spyder4 measure
// ambient light with their built-in light sensor; the Spyder2 detects the
// display's refresh rate when it starts. No zero calibration.

#include "CSensor.h"

#include <QtGlobal>

class CColorvisionSpyder2 : public CSensor {
    Q_OBJECT
public:
    enum DeviceType {
        kDeviceNone = 0,
        kDeviceSpyder2 = 1,
        kDeviceSpyder3 = 2,
        kDeviceSpyder4 = 3,
    };

    // Integration times, in the libraries' unit of 1/60 s.
    static constexpr int kProbeTime = 6;
    static constexpr int kDimTime = 300;            // probe below 5 cd/m²
    static constexpr int kMediumTime = 150;         // probe below 20 cd/m²
    static constexpr int kBrightTime = 90;
    static constexpr int kLowLightTime = 300;       // second reading below 10 cd/m²
    static constexpr int kVeryLowLightTime = 600;   // second reading below 3 cd/m²
    static constexpr int kAmbientPowerUpMs = 1000;

    CColorvisionSpyder2();
    ~CColorvisionSpyder2() override;

    // The integration time a probe's luminance chooses.
    static int IntegrationTimeForProbe(double probeY);
    // The Spyder4 calibration for a display's gamut type.
    static int Spyder4CalibrationForGamut(int gamut);

    QString GetModelName() override;
    QString GetSerialNumber() override;
    void Settings() override;
    int IsValidSettings() override;
    void SetSync(double refreshRate) override;
    int DetectVerticalScanningFrequency() override;
    bool DoesSupportAmbientLightMeasurement() override;
    int MeasureAmbientLight() override;
    int ZeroCal() override;
    int Measure(unsigned count) override;
    int GetXYZData(CCIEXYZ &out) override;
    int SetScreenType(typeSensorScreen screen,
                      CTargetDisplay::typeMonitorColorGamutType gamut) override;
    int GetSensorPhyscalData(sensor_physical_data &data) override;
    bool SupportsDetectVerticalScanningFrequency() override;
    bool SupportsZeroCal() override;
    bool GetSensorPnPIDs(unsigned short &vendor, unsigned short &product) override;
    bool GetSensorSupportsDisplayGamutSelection() override;

    bool IsDeviceConnected() const;

    quint8 m_Spyder2Record[12] = {};
    quint8 m_SpyderRecord[12] = {};
    int m_DeviceType = kDeviceNone;

private:
    int Init();
    // One reading over `time` in cd/m²: 0, or kSensorDeviceFailed.
    int ReadXYZ(int time, CCIEXYZ &reading);
};
