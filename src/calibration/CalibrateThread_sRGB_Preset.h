#pragma once
// The calibration of a monitor put into its own sRGB mode: no tone response
// is measured and no correction table computed. The white point is adjusted
// through the gains only where the monitor allows colour adjustment in that
// mode; otherwise only the luminance is brought to the target, through
// brightness. Every other operation is the base thread's.

#include "CalibrateThread.h"

class CalibrateThread_sRGB_Preset : public CalibrateThread {
    Q_OBJECT
public:
    explicit CalibrateThread_sRGB_Preset(QObject *parent = nullptr);
    ~CalibrateThread_sRGB_Preset() override;

    // Sets the monitor's sRGB mode, auto-luminance, maximum brightness, half
    // contrast and (where the mode allows) maximum gains: 0, kNoMonitor,
    // kCancelled or the monitor's code.
    int SetupMonitorForCalibration() override;
    void calibrate() override;
    // Brightness towards the target luminance with the base luminance
    // controller: 0 (also when the controller gives up with
    // kLuminanceNotConverged, keeping its last setting), kCancelled,
    // kImplausibleReading, kLuminanceNotConverged for any other controller
    // failure, or the code of a failing reading or monitor call.
    virtual int AdjustsRGBModeLuminanceOnly();
};
