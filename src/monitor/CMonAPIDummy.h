#pragma once
// The list of the computer's display interfaces: one INTERFACE_INFO per
// online display, telling how the program reaches that display's monitor
// over DDC/CI (the graphics card's I2C bus, or the monitor's USB bridge when
// its serial matches the display's EDID serial) and who the monitor is.
// Owns the USB bridge manager, so constructing it starts the watch for
// bridges. The application keeps its single instance in pCMonAPIDummy, and
// that is the one registry of the bridge manager: the USB transports send
// through pCMonAPIDummy->m_USBBridges. The controller sets it before any
// monitor is connected and clears it only after the worker threads ended.

#include "mac_usb_ddcci.h"

#include <QString>
#include <QVector>
#include <QtGlobal>

struct INTERFACE_INFO {
    static constexpr quint32 kTypeGraphicsCard = 0;
    static constexpr quint32 kTypeUSBBridge = 9;
    static constexpr int kEDIDSize = 256;

    quint32 m_InterfaceType = kTypeGraphicsCard;
    bool m_EDIDValid = false;            // the system's EDID decoded without error
    unsigned char m_EDID[kEDIDSize] = {}; // its first 128 bytes, the rest 0
    QString m_Name;                       // monitor name from the EDID, or the bridge's product name
    QString m_Connection;                 // "Native" or "USB"
    QString m_Serial;                     // serial text from the EDID
    qint32 m_Left = 0, m_Top = 0, m_Right = 0, m_Bottom = 0; // right = left + width
    bool m_USB = false;                   // taken over by a bridge
    quint32 m_DisplayID = 0;
    quint32 m_InterfaceNumber = 0;        // 0: the display's first I2C bus; 0xFF00 + n: bridge n
    quint32 m_ModelID = 0;                // vendor-product id from the EDID; 0 without one
};

class CMonAPIDummy {
public:
    static constexpr quint32 kBridgeInterfaceBase = 0xFF00;

    CMonAPIDummy();
    ~CMonAPIDummy();
    CMonAPIDummy(const CMonAPIDummy &) = delete;
    CMonAPIDummy &operator=(const CMonAPIDummy &) = delete;

    // Rebuilds the list from the desktop's online displays and the bridges
    // present now. 0, or -1001 when the system cannot list its displays
    // (the list is then empty). The arguments are not used.
    int EnumerateInterfaces(unsigned long unused1 = 0, unsigned long unused2 = 0);
    int GetNumDisplayInterfaces() const;
    // 0 and a copy of record index; -1 when index is outside the list.
    int GetDisplayInterfaceInfo(unsigned int index, INTERFACE_INFO *info) const;

    // The USB bridge manager: the USB transport sends through it and the
    // main window hears its usb_device_changed(bool).
    mac_usb_ddcci m_USBBridges;

private:
    QVector<INTERFACE_INFO> m_Interfaces;
};

// The application's display interface list; null until the application
// controller creates it.
extern CMonAPIDummy *pCMonAPIDummy;
