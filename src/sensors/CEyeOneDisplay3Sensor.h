#pragma once
// The adapter for the X-Rite i1 Display Pro colorimeter and Orvane's own
// variants of it, over the i1 Display Pro library seam (I1d3Library.h).
//
// The turning diffuser is the measurement selector: lens exposed for display
// readings (position 0), diffuser over the lens for ambient readings
// (position 3); it must be polled. SetScreenType chooses the device's
// calibration entry, integration time and measurement mode from the display
// technology. Every reading is tried up to kReadingTries times; a device lost
// (status -523 or -101) while reading the diffuser, the calibration list or
// the serial number is re-initialised once (ReInit) and the call retried.
// The device's light blinks once per reading taken.
//
// Result codes are CSensor's: kSensorNotConnected without a device,
// kSensorDeviceFailed when the library fails, kSensorNoCalibration when the
// support files or a calibration are missing, kSensorWrongPosition when the
// diffuser stands wrong.

#include "CSensor.h"
#include "I1d3Library.h"

class CEyeOneDisplay3Sensor : public CSensor {
    Q_OBJECT
public:
    static constexpr unsigned short kVendorId = 0x0765;
    static constexpr unsigned short kProductId = 0x5020;
    static constexpr int kReadingTries = 3;
    // The device's calibration list must hold at least this many entries.
    static constexpr int kMinimumCalibrations = 3;

    CEyeOneDisplay3Sensor();
    ~CEyeOneDisplay3Sensor() override;

    bool DoesSensorSupportMeasurementSelector() override;
    // kSelectorAmbient when the diffuser covers the lens, else kSelectorDisplay;
    // kSensorDeviceFailed when it cannot be read.
    int GetSensorMeasurementSelectorPosition() override;
    bool DoesSensorSupportMeasurementSelectorNeedPolling() override;
    QString GetModelName() override;
    QString GetSerialNumber() override;
    void Settings() override;
    int IsValidSettings() override;
    void SetSync(double refreshRate) override;
    int DetectVerticalScanningFrequency() override;
    bool DoesSupportAmbientLightMeasurement() override;
    int MeasureAmbientLight() override;
    // Answers 0 and keeps nothing: the diffuser decides.
    int SetSensorMeasurementMode(typeSensorMeasurementMode mode) override;
    int ZeroCal() override;
    int Measure(unsigned count) override;
    int GetXYZData(CCIEXYZ &out) override;
    int SetScreenType(typeSensorScreen screen,
                      CTargetDisplay::typeMonitorColorGamutType gamut) override;
    int GetSensorPhyscalData(sensor_physical_data &data) override;
    bool SupportsZeroCal() override;
    QPixmap GetPixmapForCurrentPosition(int targetPosition) override;
    bool GetSensorPnPIDs(unsigned short &vendor, unsigned short &product) override;
    bool GetSensorSupportsCheckSensorPositionStatus() override;
    bool GetSensorSupportsDisplayGamutSelection() override;
    int FlashLED(int on) override;

    // Opens device 0 and prepares it for display readings: a result code.
    int Init();
    // Closes and re-opens the library and the device: true when it is
    // usable again (the connected flag).
    bool ReInit();

    // The library's calibration, times and mode for a display technology.
    struct CalibrationChoice {
        quint16 key;
        double seconds;   // target LCD time and integration time
        int mode;
    };
    static CalibrationChoice ChooseCalibration(typeSensorScreen screen,
                                               CTargetDisplay::typeMonitorColorGamutType gamut);
    // Whether a maker's device with this firmware text ("v2.5") is the newer model.
    static bool IsNewerMakersFirmware(const QByteArray &firmware);
    // The folder of the library's support files: the data folder
    // ../share/pelzora/ beside the executable, native, ending in "/".
    static QByteArray SupportFilePath();

private:
    static bool IsDeviceLost(int status);
    void SetLED(int mode, double firstSeconds, double secondSeconds, quint8 count);
    // The calibration list, re-initialising once when the device was lost: a result code.
    int ReadCalibrationList(QVector<pz::I1d3CalibrationEntry> &list);

    pz::I1d3Handle m_DeviceHandle = 0;
    int m_LastStatus = 0;
    pz::I1d3Ambient m_AmbientReading;
    bool m_DeviceOpen = false;
    bool m_MakersVariant = false;
    bool m_NewerMakersModel = false;
    int m_LEDMode = 0;
    double m_LEDFirstSeconds = 0.0;
    double m_LEDSecondSeconds = 0.0;
    quint8 m_LEDCount = 0;
};
