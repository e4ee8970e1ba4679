#include "CEnumDDCCI_Monitors.h"

#include "CDDCMonitor.h"
#include "CMonAPIDummy.h"
#include "Clock.h"
#include "Desktop.h"
#include "StringResources.h"

#include <QLocale>
#include <cstring>

namespace {

constexpr unsigned int kUnknownDisplayText = 19;
constexpr int kCodeNotSupported = -1027;

void takeBounds(ddcci_monitor_info &entry, const INTERFACE_INFO &info)
{
    entry.m_Left = info.m_Left;
    entry.m_Top = info.m_Top;
    entry.m_Right = info.m_Right;
    entry.m_Bottom = info.m_Bottom;
    entry.m_DisplayID = info.m_DisplayID;
}

void takeSystemEdid(ddcci_monitor_info &entry, const INTERFACE_INFO &info)
{
    std::memcpy(entry.m_EDID, info.m_EDID, sizeof entry.m_EDID);
    entry.m_ModelName = info.m_Name;
    entry.m_Serial = info.m_Serial;
    entry.m_ModelID = info.m_ModelID;
}

} // namespace

CEnumDDCCI_Monitors::CEnumDDCCI_Monitors() : QObject(nullptr) {}

CEnumDDCCI_Monitors::~CEnumDDCCI_Monitors() = default;

void CEnumDDCCI_Monitors::applyLocalisedName(ddcci_monitor_info &entry, bool setModelId) const
{
    const QString locale = m_LocaleName.isEmpty() ? QLocale::system().name() : m_LocaleName;
    const QString prefix = locale.left(3);
    QVector<pz::DesktopDisplay> displays;
    pz::desktop().onlineDisplays(displays);
    for (const pz::DesktopDisplay &display : displays) {
        if (display.id != entry.m_DisplayID)
            continue;
        if (display.productNames.isEmpty())
            return;
        QString local;
        QString english;
        for (const auto &name : display.productNames) {
            const QString key = name.first.left(3);
            if (key == prefix)
                local = name.second;
            if (key == QLatin1String("en_"))
                english = name.second;
        }
        entry.m_ModelName = local.isEmpty() ? english : local;
        if (setModelId) {
            // The same id an EDID with these numbers gives: the vendor's two
            // bytes swapped in the upper half, the product below.
            const quint32 v = display.vendorId;
            entry.m_ModelID = ((v % 256) << 24) + (((v / 256) % 256) << 16) + display.productId;
        }
        return;
    }
}

int CEnumDDCCI_Monitors::Enumerate(bool, bool probe)
{
    m_Monitors.clear();
    if (!pCMonAPIDummy)
        return 0;
    pCMonAPIDummy->EnumerateInterfaces();
    const int n = pCMonAPIDummy->GetNumDisplayInterfaces();
    // A thread that is being stopped gives up at the next display.
    for (int i = 0; i < n && !pz::workAbandoned(); ++i) {
        ddcci_monitor_info entry;
        INTERFACE_INFO info;
        if (pCMonAPIDummy->GetDisplayInterfaceInfo(static_cast<unsigned int>(i), &info) != 0)
            continue;

        if (info.m_InterfaceType == INTERFACE_INFO::kTypeUSBBridge) {
            CDDCMonitor monitor;
            monitor.InitInterface(info.m_DisplayID, info.m_InterfaceNumber);
            takeBounds(entry, info);
            entry.m_ModelName = info.m_Name;
            entry.m_Serial = info.m_Serial;
            entry.m_ModelID = info.m_ModelID;
            std::memcpy(entry.m_EDID, info.m_EDID, sizeof entry.m_EDID);
            entry.m_ListIndex = i;
            entry.m_USB = true;
            if (probe) {
                uint current = 0;
                uint maximum = 0;
                const int result = monitor.GetBrightness(&current, &maximum);
                entry.m_DDCCIWorks = result == 0 || result == kCodeNotSupported;
            }
            emit detectedMonitor2(entry.m_ModelName + QStringLiteral(" (USB)"));
            m_Monitors.append(entry);
        } else if (info.m_EDIDValid) {
            CDDCMonitor monitor;
            takeBounds(entry, info);
            entry.m_ListIndex = i;
            if (monitor.InitInterface(info.m_DisplayID, info.m_InterfaceNumber) != 0) {
                // The bus cannot be opened (no device node, no access to it,
                // no i2c-dev, or the driver exposes none): the monitor was
                // never asked. It is listed by the system's EDID, without
                // DDC/CI, so it can still be profiled.
                takeSystemEdid(entry, info);
                if (entry.m_ModelName.isEmpty())
                    applyLocalisedName(entry, false);
                emit detectedMonitor2(entry.m_ModelName.isEmpty()
                                          ? GetStringResource(kUnknownDisplayText)
                                          : entry.m_ModelName);
                m_Monitors.append(entry);
                continue;
            }
            if (monitor.ReadEDID() != 0) {
                emit detectedMonitor2(GetStringResource(kUnknownDisplayText));
                continue;
            }
            monitor.GetEDID(entry.m_EDID, sizeof entry.m_EDID);
            entry.m_Serial = monitor.GetMonitorSerialNumber();
            entry.m_ModelName = monitor.GetMonitorModelName();
            ulong modelId = 0;
            monitor.GetMonitorVendorProductID(&modelId);
            entry.m_ModelID = static_cast<quint32>(modelId);
            emit detectedMonitor2(entry.m_ModelName);
            if (entry.m_ModelName.isEmpty())
                applyLocalisedName(entry, false);
            m_Monitors.append(entry);
        } else {
            takeBounds(entry, info);
            entry.m_ListIndex = i;
            applyLocalisedName(entry, true);
            m_Monitors.append(entry);
            emit detectedMonitor2(entry.m_ModelName.isEmpty()
                                      ? GetStringResource(kUnknownDisplayText)
                                      : entry.m_ModelName);
        }
    }
    return m_Monitors.size();
}

int CEnumDDCCI_Monitors::GetDisplayInfoByEnum(int index, ddcci_monitor_info *info)
{
    if (!info || index < 0 || index >= m_Monitors.size())
        return -1;
    *info = m_Monitors[index];
    return 0;
}

int CEnumDDCCI_Monitors::GetNumEnumerated() { return m_Monitors.size(); }
