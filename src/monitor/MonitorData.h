#pragma once
// The description of one display as the monitor list builds it: where it
// sits in the interface list, who the monitor is (name, serial, EDID, model
// id), where it lies on the desktop, its physical size and EDID primaries,
// and whether the program can calibrate it. Handed on by value to the target
// display, the graphics card gamma ramp, the profile writer and the dialogs.

#include "CCIEXYZ.h"

#include <QRect>
#include <QString>
#include <QtGlobal>

struct _MonitorData {
    static constexpr int kEDIDSize = 256;

    _MonitorData() = default;
    _MonitorData(const _MonitorData &) = default;
    _MonitorData &operator=(const _MonitorData &) = default;
    virtual ~_MonitorData() = default;

    qint32 m_ListIndex = 0;          // index in the interface list of the same enumeration
    QString m_ModelName;
    QString m_SerialNumber;
    QString m_CapabilityString;      // handed to the monitor object when not empty
    quint32 m_DisplayID = 0;         // the desktop's display id
    bool m_EDIDValid = false;        // m_EDID decodes without error
    unsigned char m_EDID[kEDIDSize] = {};
    quint32 m_ModelID = 0;           // manufacturer word << 16 | product code; 0 unknown
    // Left, top, right, bottom in global desktop coordinates, right = left +
    // width and bottom = top + height (one past the last pixel, as the
    // interface list gives them). A default record holds the null rectangle.
    QRect m_Bounds;
    qint32 m_Width = 0;              // physical size in cm; -1 without a decodable EDID
    qint32 m_Height = 0;
    CCIEXYZ m_Red, m_Green, m_Blue, m_White; // EDID chromaticities as XYZ, Y = 1
    bool m_Supported = false;        // the program can calibrate this monitor
    bool m_DDCCIWorks = false;       // the USB bridge answered the enumeration's probe
    bool m_USB = false;              // reached through the monitor's USB bridge
    // Read over DDC/CI after the enumeration (RepopulateWithDDCCIData), so
    // the windows need not ask the monitor: the capability string above and
    // the power-on hours (-1 when not read).
    double m_PowerOnHours = -1.0;
};
