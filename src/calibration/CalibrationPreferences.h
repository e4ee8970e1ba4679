#pragma once
// The preferences a calibration run reads, with the program's defaults when
// no preferences are registered (tests, tools).

#include "CPreferences.h"
#include "PreferencesRegistry.h"

namespace pz {

struct CalibrationPreferences {
    bool iccAfterCalibration = true;
    bool useAutoLuminance = true;
    quint8 osdLockLevel = 0;

    static CalibrationPreferences current()
    {
        CalibrationPreferences p;
        if (const CPreferences *registered = applicationPreferences()) {
            p.iccAfterCalibration = registered->m_ICCAfterCalibration;
            p.useAutoLuminance = registered->m_UseAutoLuminanceIfAvailable;
            p.osdLockLevel = registered->m_OSDLockLevel;
        }
        return p;
    }
};

} // namespace pz
