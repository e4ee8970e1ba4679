#include "CMonAPIDummy.h"

#include "CDecompile_EDID.h"
#include "Desktop.h"

#include <cmath>
#include <cstring>
#include <limits>

CMonAPIDummy *pCMonAPIDummy = nullptr;

namespace {

constexpr int kDisplaysNotListed = -1001;
constexpr int kBridgeVerbosity = 3;

// A desktop coordinate in single precision truncated toward zero, as the
// bounds are given; a value no int can hold becomes 0 instead of undefined.
qint32 truncateCoordinate(float v)
{
    if (!std::isfinite(v) || v <= float(std::numeric_limits<qint32>::min()) ||
        v >= float(std::numeric_limits<qint32>::max()))
        return 0;
    return static_cast<qint32>(v);
}

INTERFACE_INFO recordFor(const pz::DesktopDisplay &display)
{
    INTERFACE_INFO info;
    info.m_Connection = QStringLiteral("Native");
    info.m_DisplayID = display.id;
    // Fewer than 128 bytes are no EDID: zero-padded, a cut-off block could
    // still decode.
    if (display.edid.size() >= CDecompile_EDID::kBlockSize) {
        std::memcpy(info.m_EDID, display.edid.constData(), CDecompile_EDID::kBlockSize);
        CDecompile_EDID decoder;
        if (decoder.Decompile_EDID(info.m_EDID) == 0) {
            info.m_EDIDValid = true;
            info.m_Name = QString::fromLatin1(decoder.m_MonitorName);
            info.m_Serial = QString::fromLatin1(decoder.m_SerialText);
            info.m_ModelID = decoder.m_VendorProductID;
        }
    }
    const float x = static_cast<float>(display.bounds.x());
    const float y = static_cast<float>(display.bounds.y());
    const float w = static_cast<float>(display.bounds.width());
    const float h = static_cast<float>(display.bounds.height());
    info.m_Left = truncateCoordinate(x);
    info.m_Top = truncateCoordinate(y);
    info.m_Right = truncateCoordinate(x + w);
    info.m_Bottom = truncateCoordinate(y + h);
    return info;
}

} // namespace

CMonAPIDummy::CMonAPIDummy() : m_USBBridges(kBridgeVerbosity) {}

CMonAPIDummy::~CMonAPIDummy()
{
    // Nobody may reach a list that is gone through the global.
    if (pCMonAPIDummy == this)
        pCMonAPIDummy = nullptr;
}

int CMonAPIDummy::EnumerateInterfaces(unsigned long, unsigned long)
{
    m_Interfaces.clear();
    QVector<pz::DesktopDisplay> displays;
    if (!pz::desktop().onlineDisplays(displays))
        return kDisplaysNotListed;
    for (const pz::DesktopDisplay &display : displays)
        m_Interfaces.append(recordFor(display));

    const int n = m_Interfaces.size();
    m_USBBridges.EnumerateDevices();
    for (int b = 0; b < m_USBBridges.GetNumDevices(); ++b) {
        const char *serialText = m_USBBridges.GetSerialNumber(b);
        const char *productText = m_USBBridges.GetProductName(b);
        const QString serial = serialText ? QString::fromUtf8(serialText) : QString();
        const QString product = productText ? QString::fromUtf8(productText) : QString();
        if (serial.isEmpty())
            continue;
        for (int j = 0; j < n; ++j) {
            INTERFACE_INFO &info = m_Interfaces[j];
            if (info.m_Serial != serial)
                continue;
            info.m_InterfaceType = INTERFACE_INFO::kTypeUSBBridge;
            info.m_Connection = QStringLiteral("USB");
            info.m_Serial = serial;
            info.m_USB = true;
            info.m_InterfaceNumber = kBridgeInterfaceBase + static_cast<quint32>(b);
            if (info.m_Name.isEmpty())
                info.m_Name = product;
        }
    }
    return 0;
}

int CMonAPIDummy::GetNumDisplayInterfaces() const { return m_Interfaces.size(); }

int CMonAPIDummy::GetDisplayInterfaceInfo(unsigned int index, INTERFACE_INFO *info) const
{
    if (!info || index >= static_cast<unsigned int>(m_Interfaces.size()))
        return -1;
    *info = m_Interfaces[static_cast<int>(index)];
    return 0;
}
