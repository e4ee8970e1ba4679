#pragma once
// The display the user selected for calibration: a copy of its _MonitorData
// and the monitor object through which everything else talks to its monitor.
// For a model of the HX series it creates a CDDCMonitor_LCDHXSeries and
// connects it to the display's DDC/CI path from the interface list. It also
// classifies monitor models by their model id.

#include "MonitorData.h"

class CDDCMonitor;

class CTargetDisplay {
public:
    enum typeMonitorScreenType { kScreenUndetermined = -1, kScreenLCD = 0, kScreenCRT = 1 };
    enum typeMonitorColorGamutType {
        kGamutUndetermined = -1,
        kGamutStandardCCFL = 0,
        kGamutWideCCFL = 1,
        kGamutWideRGBLED = 2,
        kGamutStandardWhiteLED = 3,
    };
    // The display type of the HX series monitor class.
    static constexpr int kDisplayTypeHXSeries = 9;

    CTargetDisplay();
    CTargetDisplay(const CTargetDisplay &) = delete;
    CTargetDisplay &operator=(const CTargetDisplay &) = delete;
    virtual ~CTargetDisplay();

    // 9 for a model of the HX series, else 0.
    static int GetDisplayType(unsigned long modelId);
    int GetDisplayType() const;
    // 2 (wide-gamut RGB LED) for the wide-gamut models, else -1.
    typeMonitorColorGamutType GetMonitorColorGamutType() const;
    bool GetWideGamutMonitorSupportssRGBPresetSelection() const;
    typeMonitorScreenType GetMonitorScreenType() const;
    static bool DoesDisplaySupportAutoLuminance(unsigned long modelId);
    // False for the models without a choice of LUT calibration priority.
    static bool DoesDisplaySupportLUTCalibrationPriority(unsigned long modelId);

    _MonitorData GetMonitorData() const;
    // Selects a display: 0 selected (with a monitor object for a supported
    // model, without one for a display without EDID); -1 the model is not
    // supported, or its DDC/CI path cannot be opened; -2 no interface list;
    // -3 the interface list no longer holds this display.
    int SetMonitorData(_MonitorData data);

    // The monitor object, owned; null for a display the program does not
    // drive. Callers test it before every monitor call.
    CDDCMonitor *m_pDDCMonitor = nullptr;

private:
    _MonitorData m_MonitorData;
    typeMonitorScreenType m_ScreenType = kScreenUndetermined;
};
