#include "CMultiMonitor.h"

#include "CDDCMonitor.h"
#include "CDecompile_EDID.h"
#include "CTargetDisplay.h"
#include "Clock.h"
#include "MonitorModelLists.h"
#include "RecordStream.h"
#include "StringResources.h"

#include <QDataStream>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned int kUnknownText = 18;
constexpr int kDefaultWidthCm = 40;
constexpr int kDefaultHeightCm = 30;

// A chromaticity as XYZ at unit luminance. A y of 0 (or a value that is no
// number) has no such XYZ: it gives (0, 0, 0), as an EDID that does not
// decode does, instead of an infinity that would reach the profile.
CCIEXYZ chromaticityXYZ(float x, float y)
{
    if (!(y > 0.0f) || !std::isfinite(x))
        return CCIEXYZ(0.0, 0.0, 0.0);
    return CCIEXYZ(_CIExy{double(x), double(y)});
}

int sizeOrDefault(unsigned char cm, int fallback)
{
    return cm >= 1 && cm <= 254 ? cm : fallback;
}

} // namespace

CMultiMonitor::CMultiMonitor(QObject *parent) : QObject(parent)
{
    std::fill(std::begin(m_MonitorToPortMap), std::end(m_MonitorToPortMap), -1);
    connect(&m_Enumerator, &CEnumDDCCI_Monitors::detectedMonitor2, this,
            &CMultiMonitor::detectedMonitorIn);
}

CMultiMonitor::~CMultiMonitor() = default;

_MonitorData CMultiMonitor::MonitorDataFromEntry(const ddcci_monitor_info &entry)
{
    _MonitorData d;
    d.m_ListIndex = entry.m_ListIndex;
    d.m_ModelName = entry.m_ModelName;
    d.m_SerialNumber = entry.m_Serial;
    d.m_CapabilityString = entry.m_CapabilityString;
    d.m_DisplayID = entry.m_DisplayID;
    d.m_ModelID = entry.m_ModelID;
    d.m_USB = entry.m_USB;
    d.m_DDCCIWorks = entry.m_DDCCIWorks;
    d.m_Bounds = QRect(QPoint(entry.m_Left, entry.m_Top), QPoint(entry.m_Right, entry.m_Bottom));
    std::memcpy(d.m_EDID, entry.m_EDID, sizeof d.m_EDID);
    d.m_EDIDValid = false;
    d.m_Width = -1;
    d.m_Height = -1;
    d.m_Supported = entry.m_USB || pz::isInModelList(pz::ModelList::HXSeries, entry.m_ModelID);

    CDecompile_EDID decoder;
    if (decoder.Decompile_EDID(d.m_EDID) == 0) {
        d.m_EDIDValid = true;
        d.m_Width = sizeOrDefault(d.m_EDID[21], kDefaultWidthCm);
        d.m_Height = sizeOrDefault(d.m_EDID[22], kDefaultHeightCm);
        d.m_Red = chromaticityXYZ(decoder.m_RedX, decoder.m_RedY);
        d.m_Green = chromaticityXYZ(decoder.m_GreenX, decoder.m_GreenY);
        d.m_Blue = chromaticityXYZ(decoder.m_BlueX, decoder.m_BlueY);
        d.m_White = chromaticityXYZ(decoder.m_WhiteX, decoder.m_WhiteY);
    }
    if (d.m_ModelName.isEmpty())
        d.m_ModelName = GetStringResource(kUnknownText);
    return d;
}

int CMultiMonitor::EnumerateDesktop()
{
    const int count = m_Enumerator.Enumerate(false, true);
    QVector<_MonitorData> monitors;
    for (int i = 0; i < count; ++i) {
        ddcci_monitor_info entry;
        if (m_Enumerator.GetDisplayInfoByEnum(i, &entry) != 0)
            continue;
        monitors.append(MonitorDataFromEntry(entry));
    }
    // An enumeration given up half-way (the program is ending) leaves the
    // list as the last whole one made it: that is what gets stored.
    if (pz::workAbandoned())
        return 0;
    m_MonitorCount = count;
    m_Monitors = monitors;
    emit monitorDetectionComplete();
    return 0;
}

int CMultiMonitor::AutoEnumerate()
{
    EnumerateDesktop();
    return 0;
}

int CMultiMonitor::RepopulateWithDDCCIData()
{
    for (_MonitorData &record : m_Monitors) {
        if (pz::workAbandoned())
            break;
        // A bridge that did not answer the probe would only time out again.
        if (!record.m_Supported || !record.m_EDIDValid || (record.m_USB && !record.m_DDCCIWorks))
            continue;
        CTargetDisplay display;
        display.SetMonitorData(record);
        CDDCMonitor *monitor = display.m_pDDCMonitor;
        if (!monitor)
            continue;
        // Reads the capability string, which holds the firmware version.
        monitor->GetMonitorMPUVersion();
        double hours = -1.0;
        if (monitor->GetPowerOnHours(&hours) != 0)
            hours = -1.0;
        if (pz::workAbandoned())
            break;
        std::vector<char> capabilities(CDDCMonitor::kCapabilityStringSize, '\0');
        monitor->GetCapabilityString(capabilities.data(), uint(capabilities.size()));
        record.m_CapabilityString = QString::fromLatin1(capabilities.data());
        record.m_PowerOnHours = hours;
    }
    return 0;
}

int CMultiMonitor::GetDisplayCount() const { return m_Monitors.size(); }

_MonitorData CMultiMonitor::GetMonitorData(unsigned int index) const
{
    if (index >= static_cast<unsigned int>(m_Monitors.size()))
        return _MonitorData();
    return m_Monitors[static_cast<int>(index)];
}

int CMultiMonitor::GetMonitorToPortMap(int i) const
{
    return i >= 0 && i < kPortMapSize ? m_MonitorToPortMap[i] : -1;
}

int CMultiMonitor::SetMonitorToPortMap(int i, int value)
{
    if (i < 0 || i >= kPortMapSize)
        return -1;
    m_MonitorToPortMap[i] = value;
    return 0;
}

void CMultiMonitor::TakeStoredRecord(const CMultiMonitor &other)
{
    m_StoredCount = other.m_StoredCount;
    std::copy(std::begin(other.m_MonitorToPortMap), std::end(other.m_MonitorToPortMap),
              std::begin(m_MonitorToPortMap));
}

void CMultiMonitor::detectedMonitorIn(QString name) { emit detectedMonitor(name); }

QDataStream &operator<<(QDataStream &stream, const CMultiMonitor &list)
{
    pz::writeRecordHeader(stream, CMultiMonitor::kMagic, list.m_RecordVersion);
    stream << list.m_MonitorCount;
    for (qint32 entry : list.m_MonitorToPortMap)
        stream << entry;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CMultiMonitor &list)
{
    if (pz::readRecordHeader(stream, CMultiMonitor::kMagic, CMultiMonitor::kVersion,
                             CMultiMonitor::kVersion) != pz::HeaderCheck::Ok)
        return stream;
    qint32 count = 0;
    qint32 map[CMultiMonitor::kPortMapSize];
    stream >> count;
    if (!pz::acceptCount(stream, count, CMultiMonitor::kMaxStoredMonitors))
        return stream;
    for (qint32 &entry : map)
        stream >> entry;
    if (stream.status() != QDataStream::Ok)
        return stream;
    // The map belongs to the monitors of the last run; it is kept whatever
    // the count now, since the record is read before any enumeration.
    list.m_StoredCount = count;
    std::copy(std::begin(map), std::end(map), std::begin(list.m_MonitorToPortMap));
    return stream;
}
