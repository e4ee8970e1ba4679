#pragma once
// The one interface through which the program drives a colour sensor. Each
// sensor family has an adapter derived from CSensor; the sensor selector
// creates and owns at most one at a time, and everything else (calibration
// thread, set-up and ambient flows, colorimeter tool, main window) talks to it
// only through the virtual operations below.
//
// An adapter's constructor opens the device (its own non-virtual Init()) and
// sets m_Connected to whether that worked; an adapter without its device is
// still a complete object that answers kSensorNotConnected.
//
// Callers follow this order: SetScreenType for the display to be measured;
// SetSensorMeasurementMode(display or ambient); ZeroCal when SupportsZeroCal()
// and no zero calibration is done (or the flow asks for a fresh one); then
// Measure(count) + GetXYZData, or MeasureAmbientLight() + GetXYZData.
// Display readings are XYZ with Y in cd/m², ambient readings carry the
// illuminance in lux in Y. GetXYZData hands each reading out once.
//
// Threads: an adapter is created on whichever thread runs the selection (the
// start-up detection thread, or the GUI thread) and later used by one thread
// at a time; nothing here depends on the creating thread, so the selector may
// move it. Calls block until the device answers; no operation takes a lock.
//
// The order of the virtual operations is the order every adapter relies on;
// keep it.

#include "CCIEXYZ.h"
#include "CTargetDisplay.h"
#include "sensor_physical_data.h"

#include <QObject>
#include <QPixmap>
#include <QString>
#include <functional>

class CSensor : public QObject {
    Q_OBJECT
public:
    enum typeSensorMeasurementMode {
        kSensorModeDisplay = 1,   // emissive readings, Y in cd/m²
        kSensorModeAmbient = 2,   // ambient light readings, Y in lux
    };
    // The display technology a sensor calibration is chosen for. Note the
    // order: the reverse of CTargetDisplay::typeMonitorScreenType; convert
    // with SensorScreenForDisplay().
    enum typeSensorScreen {
        kSensorScreenCRT = 0,
        kSensorScreenLCD = 1,
    };
    // Positions of a measurement selector (dial or turning diffuser), as
    // GetSensorMeasurementSelectorPosition answers them; negative values
    // there are result codes.
    enum typeSensorSelectorPosition {
        kSelectorDisplay = 0,
        kSelectorCalibrate = 1,
        kSelectorProjector = 2,
        kSelectorAmbient = 3,
    };
    // GetSensorMeasurementButtonStatus; values below -1 are result codes.
    enum typeSensorButtonStatus {
        kButtonUndetermined = -1,
        kButtonReleased = 0,
        kButtonPressed = 1,
    };

    // Result codes shared by every adapter.
    static constexpr int kSensorOK = 0;
    // Refused in the current state: Measure outside display mode,
    // MeasureAmbientLight outside ambient mode, an unknown mode, an option
    // the device refused, FlashLED without LED; a patch that failed
    // validate_phopshor_colors.
    static constexpr int kSensorRefused = -1;
    static constexpr int kSensorPatchOutOfRange = -2;   // validate_phopshor_colors
    static constexpr int kSensorNotConnected = -1000;
    // The vendor library or the device failed, or GetXYZData has no new reading.
    static constexpr int kSensorDeviceFailed = -1003;
    static constexpr int kSensorZeroCalFailed = -1008;
    static constexpr int kSensorWrongPosition = -1026;   // selector, dial or diffuser
    static constexpr int kSensorNoCalibration = -1035;   // none for this display type

    // Patches of validate_phopshor_colors.
    static constexpr int kPatchRed = 1;
    static constexpr int kPatchGreen = 2;
    static constexpr int kPatchBlue = 3;
    static constexpr int kPatchBlack = 4;
    static constexpr int kPatchWhite = 5;

    // Low-light averaging: a first display reading below kLowLightLimit
    // cd/m² makes the call average kLowLightReadings readings, below
    // kVeryLowLightLimit kVeryLowLightReadings (both comparisons strict).
    static constexpr double kLowLightLimit = 10.0;
    static constexpr double kVeryLowLightLimit = 3.0;
    static constexpr unsigned kLowLightReadings = 2;
    static constexpr unsigned kVeryLowLightReadings = 3;

    CSensor();
    ~CSensor() override;

    // The sensor's screen type for a display's: CRT for a CRT, LCD for
    // anything else (undetermined included).
    static typeSensorScreen SensorScreenForDisplay(CTargetDisplay::typeMonitorScreenType screen);

    // The device has a dial or turning diffuser (default false), and where
    // it stands: a typeSensorSelectorPosition or a result code (default 0).
    virtual bool DoesSensorSupportMeasurementSelector();
    virtual int GetSensorMeasurementSelectorPosition();
    // The selector must be polled: it never signals a change (default false).
    virtual bool DoesSensorSupportMeasurementSelectorNeedPolling();
    // The device has a measure button (default false), and its state: a
    // typeSensorButtonStatus or a result code (default 0).
    virtual bool DoesSensorSupportMeasurementButtonStatus();
    virtual int GetSensorMeasurementButtonStatus();
    // Display name of the connected model; the serial number, empty when the
    // device gives none.
    virtual QString GetModelName() = 0;
    virtual QString GetSerialNumber() = 0;
    virtual void Settings() = 0;
    virtual int IsValidSettings() = 0;
    virtual void SetSync(double refreshRate) = 0;
    // Measures the display's refresh rate for refresh-synchronous readings:
    // a result code (adapters that cannot measure it answer 0).
    virtual int DetectVerticalScanningFrequency() = 0;
    virtual bool DoesSupportAmbientLightMeasurement() = 0;
    // One ambient reading into m_LastReading: a result code.
    virtual int MeasureAmbientLight() = 0;
    // Default: stores the mode and answers 0.
    virtual int SetSensorMeasurementMode(typeSensorMeasurementMode mode);
    // Zero (dark) calibration: a result code.
    virtual int ZeroCal() = 0;
    // Display readings averaged into m_LastReading: a result code.
    virtual int Measure(unsigned count) = 0;
    // Hands the last reading out once (adapters call HandOutReading):
    // 0, or kSensorDeviceFailed with `out` unchanged.
    virtual int GetXYZData(CCIEXYZ &out) = 0;
    // Plausibility of a measured primary, black or white (patch 1..5):
    // 0 plausible, kSensorRefused implausible (or not a finite reading),
    // kSensorPatchOutOfRange for another patch index.
    virtual int validate_phopshor_colors(CCIEXYZ reading, int patch);
    // Readings can be trusted on wide-gamut displays (default true).
    virtual bool IsSensorAccurateOnWideGamutDisplays();
    // Chooses the device's calibration for the display technology: a result code.
    virtual int SetScreenType(typeSensorScreen screen,
                              CTargetDisplay::typeMonitorColorGamutType gamut) = 0;
    // Fills the description record; 0.
    virtual int GetSensorPhyscalData(sensor_physical_data &data) = 0;
    virtual bool SupportsDetectVerticalScanningFrequency();   // default false
    // The device needs a zero calibration (default true).
    virtual bool SupportsZeroCal();
    // Picture of the device for the set-up window (default: an empty pixmap).
    virtual QPixmap GetPixmapForCurrentPosition(int targetPosition);
    // A preparation notice is shown before the first display readings
    // (default false); whether it is still pending (m_PreparationWarningPending).
    virtual bool GetSensorSupportsUserPreparationWarning();
    virtual bool GetSensorNeedsUserPreparationWarning();
    virtual void SetSensorNeedsUserPreparationWarningCompleted(bool pending);
    // USB vendor and product id; the default writes 0 and 0 and answers false.
    virtual bool GetSensorPnPIDs(unsigned short &vendor, unsigned short &product);
    // The selector position can be read before measuring (default false).
    virtual bool GetSensorSupportsCheckSensorPositionStatus();
    // The calibration depends on the display's gamut type (default false).
    virtual bool GetSensorSupportsDisplayGamutSelection();
    // 1 blinks the sensor's light, 0 stops it: a result code (default
    // kSensorRefused: no light).
    virtual int FlashLED(int on);
    virtual bool GetSensorNeedsPostZeroCalSetupMessage();   // default false

    // State every adapter shares; the windows read the flags directly.
    bool m_Connected = false;                  // the device was opened
    bool m_ZeroCalibrationDone = false;        // cleared by a mode switch of a zero-calibrating device
    bool m_PreparationWarningPending = true;
    unsigned int m_ReadingCount = 1;           // readings the last Measure averaged
    CCIEXYZ m_LastReading;                     // last Measure or MeasureAmbientLight
    int m_ScreenType = -1;                     // typeSensorScreen last given to SetScreenType
    int m_MeasurementMode = kSensorModeDisplay;   // typeSensorMeasurementMode

signals:
    // The selector moved (a hint: listeners read the position again). Not
    // emitted by sensors whose selector must be polled.
    void SensorMeasurementSelectorPositionChanged(int position);

protected:
    // GetXYZData of every adapter: kSensorDeviceFailed with `out` unchanged
    // when not connected or no new reading is there; otherwise copies
    // m_LastReading, clears the new-reading flag and answers 0.
    int HandOutReading(CCIEXYZ &out);

    // The preference to average low-light readings; on when no preferences
    // are registered.
    static bool LowLightAveragingOn();
    // How many readings a display reading averages, given the first
    // reading's Y and the count the adapter would take otherwise.
    static unsigned LowLightReadingCount(double firstY, unsigned count);

    // The averaging loop of a display reading: clears the new-reading flag
    // and m_LastReading, then takes `count` readings (0 counts as 1) through
    // readOnce, which answers 0 or the result code to end with. After the
    // first reading the low-light rule may change the count. Sums go into
    // m_LastReading as they come; on success they are divided by the count,
    // stored in m_ReadingCount, the new-reading flag is set and the answer
    // is 0. On failure readOnce's code is returned and nothing is handed out.
    int MeasureAveraged(unsigned count, const std::function<int(CCIEXYZ &)> &readOnce);

    // Set when Measure or MeasureAmbientLight stored a complete reading,
    // cleared when GetXYZData hands it out.
    bool m_NewReadingAvailable = false;
};
