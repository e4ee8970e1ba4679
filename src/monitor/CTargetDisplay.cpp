#include "CTargetDisplay.h"

#include "CDDCMonitor_LCDHXSeries.h"
#include "CMonAPIDummy.h"
#include "MonitorModelLists.h"

namespace {

constexpr int kNotSupported = -1;
constexpr int kNoInterfaceList = -2;
constexpr int kNoInterface = -3;

// The interface record of the display a monitor record describes. The
// record's list index is that of the enumeration that built it; when the
// interface list was rebuilt since, the index may name another display, and
// a monitor object connected there would talk to the wrong monitor (EEPROM
// writes included). So the record at the index is taken only when it is the
// same display with the same serial; otherwise the display is looked for by
// id and serial.
bool findInterface(const CMonAPIDummy &list, const _MonitorData &data, INTERFACE_INFO *info)
{
    const auto same = [&](const INTERFACE_INFO &i) {
        return i.m_DisplayID == data.m_DisplayID && i.m_Serial == data.m_SerialNumber;
    };
    if (list.GetDisplayInterfaceInfo(static_cast<unsigned int>(data.m_ListIndex), info) == 0 &&
        same(*info))
        return true;
    for (int i = 0; i < list.GetNumDisplayInterfaces(); ++i)
        if (list.GetDisplayInterfaceInfo(static_cast<unsigned int>(i), info) == 0 && same(*info))
            return true;
    return false;
}

} // namespace

CTargetDisplay::CTargetDisplay() = default;

CTargetDisplay::~CTargetDisplay()
{
    delete m_pDDCMonitor;
    m_pDDCMonitor = nullptr;
}

int CTargetDisplay::GetDisplayType(unsigned long modelId)
{
    return pz::isInModelList(pz::ModelList::HXSeries, static_cast<quint32>(modelId))
               ? kDisplayTypeHXSeries
               : 0;
}

int CTargetDisplay::GetDisplayType() const { return GetDisplayType(m_MonitorData.m_ModelID); }

CTargetDisplay::typeMonitorColorGamutType CTargetDisplay::GetMonitorColorGamutType() const
{
    return pz::isInModelList(pz::ModelList::WideGamut, m_MonitorData.m_ModelID) ? kGamutWideRGBLED
                                                                                : kGamutUndetermined;
}

bool CTargetDisplay::GetWideGamutMonitorSupportssRGBPresetSelection() const
{
    return pz::isInModelList(pz::ModelList::SRGBPreset, m_MonitorData.m_ModelID);
}

CTargetDisplay::typeMonitorScreenType CTargetDisplay::GetMonitorScreenType() const
{
    return m_ScreenType;
}

bool CTargetDisplay::DoesDisplaySupportAutoLuminance(unsigned long modelId)
{
    return pz::isInModelList(pz::ModelList::AutoLuminance, static_cast<quint32>(modelId));
}

bool CTargetDisplay::DoesDisplaySupportLUTCalibrationPriority(unsigned long modelId)
{
    return !pz::isInModelList(pz::ModelList::NoLUTPriority, static_cast<quint32>(modelId));
}

_MonitorData CTargetDisplay::GetMonitorData() const { return m_MonitorData; }

int CTargetDisplay::SetMonitorData(_MonitorData data)
{
    m_MonitorData = data;
    delete m_pDDCMonitor;
    m_pDDCMonitor = nullptr;
    m_ScreenType = kScreenLCD;

    if (m_MonitorData.m_ListIndex < 0 || !m_MonitorData.m_EDIDValid)
        return 0;
    if (GetDisplayType(m_MonitorData.m_ModelID) != kDisplayTypeHXSeries) {
        m_ScreenType = kScreenUndetermined;
        return kNotSupported;
    }
    m_ScreenType = kScreenLCD;
    m_pDDCMonitor = new CDDCMonitor_LCDHXSeries();

    if (!pCMonAPIDummy)
        return kNoInterfaceList;
    INTERFACE_INFO info;
    if (!findInterface(*pCMonAPIDummy, m_MonitorData, &info))
        return kNoInterface;

    const int result = m_pDDCMonitor->InitInterface(info.m_DisplayID, info.m_InterfaceNumber);
    if (result == 0) {
        m_pDDCMonitor->SetIsUSBConnection(m_MonitorData.m_USB);
        if (m_MonitorData.m_USB) {
            m_pDDCMonitor->SetIsUSBConnection(true);
            m_pDDCMonitor->SetEDID(info.m_EDID, INTERFACE_INFO::kEDIDSize);
            m_pDDCMonitor->SetUSBMonitorSerialNumber(m_MonitorData.m_SerialNumber);
            m_pDDCMonitor->SetUSBMonitorModelName(m_MonitorData.m_ModelName);
        } else {
            // The enumeration read the EDID already; the identity questions
            // need not go to the monitor again.
            m_pDDCMonitor->SetEDID(m_MonitorData.m_EDID, _MonitorData::kEDIDSize);
        }
        if (!m_MonitorData.m_CapabilityString.isEmpty())
            m_pDDCMonitor->SetCapabilityString(
                m_MonitorData.m_CapabilityString.toLatin1().constData());
        m_pDDCMonitor->SetKnownPowerOnHours(m_MonitorData.m_PowerOnHours);
    }
    return result;
}
