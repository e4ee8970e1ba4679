#pragma once
// The adapter for the X-Rite ColorMunki, over the ColorMunki library seam
// (ColorMunkiLibrary.h).
//
// The device has a four-position dial (display, calibrate, projector,
// ambient), turned by hand, and a measure button. The library reports dial
// moves through a device-message callback on a thread of its own; the
// adapter turns them into SensorMeasurementSelectorPositionChanged with the
// raw dial value, queued to listeners on other threads. The measurement mode
// is a set of library options; every change of mode demands a new zero
// calibration, taken with the dial at calibrate.
//
// Result codes are CSensor's: kSensorNotConnected without a device,
// kSensorWrongPosition with the dial wrong, kSensorRefused for a reading in
// the wrong mode or a refused option, kSensorDeviceFailed when a reading
// fails, kSensorZeroCalFailed when the zero calibration does.

#include "CSensor.h"
#include "ColorMunkiLibrary.h"

#include <QImage>

class CColorMunkiSensor : public CSensor {
    Q_OBJECT
public:
    static constexpr unsigned short kVendorId = 0x0971;
    static constexpr unsigned short kProductId = 0x2007;

    CColorMunkiSensor();
    ~CColorMunkiSensor() override;

    bool DoesSensorSupportMeasurementSelector() override;
    // The dial as a typeSensorSelectorPosition, -1 for a value the library
    // should not give; kSensorNotConnected without a device.
    int GetSensorMeasurementSelectorPosition() override;
    bool DoesSensorSupportMeasurementButtonStatus() override;
    int GetSensorMeasurementButtonStatus() override;
    QString GetModelName() override;
    QString GetSerialNumber() override;
    void Settings() override;
    int IsValidSettings() override;
    void SetSync(double refreshRate) override;
    int DetectVerticalScanningFrequency() override;
    bool DoesSupportAmbientLightMeasurement() override;
    int MeasureAmbientLight() override;
    int SetSensorMeasurementMode(typeSensorMeasurementMode mode) override;
    int ZeroCal() override;
    // One reading, whatever the count, unless the low-light rule asks for more.
    int Measure(unsigned count) override;
    int GetXYZData(CCIEXYZ &out) override;
    int SetScreenType(typeSensorScreen screen,
                      CTargetDisplay::typeMonitorColorGamutType gamut) override;
    int GetSensorPhyscalData(sensor_physical_data &data) override;
    // The picture of the device with its dial as it stands, the target
    // position marked, and an arrow to it when the dial stands elsewhere.
    QPixmap GetPixmapForCurrentPosition(int targetPosition) override;
    bool GetSensorPnPIDs(unsigned short &vendor, unsigned short &product) override;

    // The library reported a dial move: emits the raw dial value.
    virtual void SensorPositionHasChanged();

    // 0, or kSensorNotConnected when no device is there or it refuses the
    // display mode.
    int Init();
    bool IsDeviceConnected();

    // The dial picture for a raw dial value (the projector picture for an
    // unknown one), and the composed picture of GetPixmapForCurrentPosition.
    static QString DialPicture(int dial);
    static QImage ComposeDialPicture(int targetPosition, int dial);

signals:
    // Also emitted as CSensor's signal of the same name, so a listener
    // connected through either class hears each move once.
    void SensorMeasurementSelectorPositionChanged(int value);

private:
    bool m_AmbientSupported = false;
};

// The device-message callback registered with the library; `context` is the
// adapter. Acts on message 2 (dial moved) only.
void ColorMunkiSensorDeviceMessageFunction(pz::MunkiDeviceMessage message, const char *text,
                                           void *context);
