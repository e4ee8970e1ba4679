#pragma once
// What the i1 Display and i1 Pro adapters share: both reach their device only
// through X-Rite's i1 library (src/platform/EyeOneLibrary.h), whose one
// option set serves several device families, selected by "DeviceType".
// This base holds the adapter's device type and the operations that work
// the same for both families: the connection test, the serial number, the
// measurement mode switch, display readings averaged from single library
// readings, and ambient readings.
//
// Failure codes are those of CSensor. An adapter that is not connected
// answers kSensorNotConnected without calling the library, so a probe that
// found nothing never changes the options of another family.

#include "CSensor.h"

#include <QByteArray>

class CEyeOneLibrarySensor : public CSensor {
    Q_OBJECT
public:
    QString GetSerialNumber() override;
    void Settings() override;
    int IsValidSettings() override;
    void SetSync(double refreshRate) override;
    int DetectVerticalScanningFrequency() override;
    // Switches the library between "SingleEmission" (1) and
    // "SingleAmbientLight" (2). A mode change clears the zero calibration of
    // a device that needs one. When the library refuses a later option of
    // the change, it is set back to the old mode, so the library never
    // measures in a mode the adapter does not know of.
    int SetSensorMeasurementMode(typeSensorMeasurementMode mode) override;
    int MeasureAmbientLight() override;
    int GetXYZData(CCIEXYZ &out) override;

protected:
    static constexpr unsigned short kXRiteVendorId = 0x0971;

    explicit CEyeOneLibrarySensor(const QByteArray &deviceType);

    // Saves "DeviceType", sets the adapter's, asks the library, and puts
    // the saved value back: whether a device of this family is connected.
    bool IsDeviceConnected();
    // True when the library accepted the option.
    static bool SetLibraryOption(const QByteArray &key, const QByteArray &value);
    static QByteArray LibraryOption(const QByteArray &key);
    // Sets "Colorimetric.Illumination" and "ColorSpaceDescription.Type" for
    // XYZ emission readings: false when either was refused.
    static bool SetXYZEmissionOptions();
    // Display readings: `count` readings (0 counts as 1) with the low-light
    // rule, averaged into m_LastReading. kSensorRefused outside display mode.
    int MeasureReadings(unsigned count);

    // The library's name of this device family.
    QByteArray m_DeviceType;

private:
    // One library reading: trigger, then fetch X, Y, Z.
    static int ReadOnce(CCIEXYZ &reading);
    static QByteArray LibraryModeName(int mode);
};
