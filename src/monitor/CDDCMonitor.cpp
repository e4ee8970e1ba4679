// Connection, EDID and capability string, identity, raw VCP access, the
// monitor controls, counters, six-axis colour and the fixed capability
// questions of the monitor object.

#include "CDDCMonitor.h"

#include "CCIEXYZ.h"
#include "ORV_factory_ddc_control.h"
#include "low_level_ddc_mac_usb.h"
#include "Clock.h"
#include "Desktop.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kNotConnected = -6;
constexpr int kUnsupportedCode = -1027;

// VCP codes of the controls (page in the high byte).
constexpr uint kVcpRestoreColorDefaults = 0x08;
constexpr uint kVcpBrightness = 0x10;
constexpr uint kVcpContrast = 0x12;
constexpr uint kVcpColorPreset = 0x14;
constexpr uint kVcpRedGain = 0x16;
constexpr uint kVcpGreenGain = 0x18;
constexpr uint kVcpBlueGain = 0x1A;
constexpr uint kVcpOSDLockA = 0xE3;
constexpr uint kVcpOSDLockB = 0xFB;
constexpr uint kVcpPowerOnHalfHours = 0xFF;
constexpr uint kVcpAutoContrast = 0x233;
constexpr uint kVcpGammaMode = 0x268;
constexpr uint kVcpBacklightOnTime = 0x2A8;
constexpr uint kVcpLuminanceTarget = 0x2B3;
constexpr uint kVcpPowerLEDBrightness = 0x2BE;
constexpr uint kVcpPowerLEDColor = 0x2BF;
constexpr uint kVcpColorCompOnOff = 0x2C2;
constexpr uint kVcpColorCompLevel = 0x2EE;
constexpr uint kVcpSixAxisHue = 0x9B;
constexpr uint kVcpSixAxisSaturation = 0x212;
constexpr uint kVcpSixAxisOffset = 0x2F1;
constexpr uint kSixAxisCount = 6;

// Default screen size in millimetres when the EDID gives none.
constexpr uint kDefaultWidthMm = 400;
constexpr uint kDefaultHeightMm = 300;

// Models whose capability string only reads through a dual-link DisplayPort
// adapter with the adapter fix: the maker's HX models.
constexpr ulong kAdapterFixModels[] = {0x563E2441, 0x563E2442};

bool needsAdapterFixRetry(ulong modelId)
{
    return std::find(std::begin(kAdapterFixModels), std::end(kAdapterFixModels), modelId)
           != std::end(kAdapterFixModels);
}

// A size byte in centimetres: 1..254 are real sizes, 0 and 255 mean unknown.
uint sizeInMm(uint8_t centimetres, uint fallback)
{
    return (centimetres >= 1 && centimetres <= 254) ? centimetres * 10u : fallback;
}

} // namespace

set_get_vcp_list set_get_vcp_list::read(int code)
{
    set_get_vcp_list element;
    element.code = code;
    return element;
}

set_get_vcp_list set_get_vcp_list::write(int code, uint value, bool onlyIfDifferent)
{
    set_get_vcp_list element;
    element.set = true;
    element.onlyIfDifferent = onlyIfDifferent;
    element.code = code;
    element.value = value;
    return element;
}

CDDCMonitor::CDDCMonitor() : QObject(nullptr)
{
    ResetData();
}

CDDCMonitor::~CDDCMonitor()
{
    CloseConnection();
}

void CDDCMonitor::CloseConnection()
{
    // The command layer talks through the bus: it goes first.
    delete m_ControlObject;
    m_ControlObject = nullptr;
    m_I2CConnection.reset();
}

// ---- connection -------------------------------------------------------------

int CDDCMonitor::InitInterface(uint displayID, ulong interfaceIndex)
{
    ResetData();
    CloseConnection();

    int result = -1;
    if (interfaceIndex & kUSBInterfaceMask) {
        const uint bridge = static_cast<uint>(interfaceIndex - kUSBInterfaceMask);
        // The command layer owns the bridge transport it is handed.
        m_ControlObject = new ORV_factory_ddc_control(
            new low_level_ddc_mac_usb(bridge, m_Verbosity), m_Verbosity);
        result = 0;
    } else {
        m_I2CConnection = pz::desktop().openI2CBus(displayID, static_cast<int>(interfaceIndex));
        if (m_I2CConnection) {
            m_ControlObject = new ORV_factory_ddc_control(m_I2CConnection.get(), m_Verbosity);
            result = 0;
        }
    }
    if (m_ControlObject)
        m_ControlObject->set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(false);
    return result;
}

int CDDCMonitor::InitMonitor()
{
    if (ReadEDID() != 0 || !m_EDIDDecoded)
        return -1;
    if (!m_ControlObject)
        return kNotConnected;
    uint current = 0;
    uint maximum = 0;
    uchar result = 0;
    uchar type = 0;
    return m_ControlObject->GetVCP(0x00, &current, &maximum, &result, &type) == 0 ? 0 : -2;
}

int CDDCMonitor::SetVerbosity(int level)
{
    m_Verbosity = level;
    return 0;
}

int CDDCMonitor::ResetData()
{
    std::memset(m_EDID, 0, sizeof m_EDID);
    std::memset(m_CapabilityString, 0, sizeof m_CapabilityString);
    m_CapabilityParser.Clear();
    // A decoder left holding the previous monitor's fields would answer the
    // size and identity questions for the wrong monitor.
    m_EDIDDecoder = CDecompile_EDID();
    m_EDIDDecoded = false;
    m_IsUSBConnection = false;
    m_SixAxisRead = false;
    for (uint *table : {m_SixAxisHueCurrent, m_SixAxisOffsetCurrent, m_SixAxisSaturationCurrent,
                        m_SixAxisHueMaximum, m_SixAxisOffsetMaximum, m_SixAxisSaturationMaximum})
        std::fill(table, table + kSixAxisCount, 0u);
    return 0;
}

ORV_factory_ddc_control *CDDCMonitor::GetDDCCIControlObject() { return m_ControlObject; }

bool CDDCMonitor::GetIsUSBConnection() { return m_IsUSBConnection; }

void CDDCMonitor::SetIsUSBConnection(bool usb) { m_IsUSBConnection = usb; }

void CDDCMonitor::SetUSBMonitorSerialNumber(QString serial) { m_USBSerialNumber = serial; }

void CDDCMonitor::SetUSBMonitorModelName(QString name) { m_USBModelName = name; }

// ---- EDID and capability string --------------------------------------------

int CDDCMonitor::ReadEDID()
{
    // Over the USB bridge the EDID comes from the system (SetEDID).
    if (m_IsUSBConnection)
        return 0;
    if (!m_ControlObject)
        return kNotConnected;
    // Read aside: a failed read leaves the stored EDID and its decoded
    // identity as they were.
    uchar buffer[kEDIDSize] = {};
    const int read = m_ControlObject->ReadEDID(buffer, true);
    if (read < 0)
        return read;
    std::memcpy(m_EDID, buffer, sizeof m_EDID);
    const int decoded = m_EDIDDecoder.Decompile_EDID(m_EDID);
    m_EDIDDecoded = decoded == 0;
    return decoded;
}

int CDDCMonitor::GetEDID(uchar *buffer, uint length)
{
    if (length > kEDIDSize)
        return -1;
    if (length > 0)
        std::memcpy(buffer, m_EDID, length);
    return 0;
}

int CDDCMonitor::SetEDID(uchar *data, uint length)
{
    if (length > kEDIDSize)
        return -1;
    // Bytes the caller did not give are zero, never the previous monitor's.
    std::memset(m_EDID, 0, sizeof m_EDID);
    if (length > 0)
        std::memcpy(m_EDID, data, length);
    const int decoded = m_EDIDDecoder.Decompile_EDID(m_EDID);
    if (decoded == 0)
        m_EDIDDecoded = true;
    return decoded;
}

int CDDCMonitor::ReadCapabilityString()
{
    if (!m_ControlObject)
        return kNotConnected;
    // Read aside: a failed read keeps the stored string and its parse.
    std::vector<char> buffer(kCapabilityStringSize, '\0');
    int read = m_ControlObject->GetCapabilityString(buffer.data(), kCapabilityStringSize);
    if (read < 0) {
        ulong modelId = 0;
        GetMonitorVendorProductID(&modelId);
        if (!needsAdapterFixRetry(modelId))
            return read;
        m_ControlObject->set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(true);
        std::fill(buffer.begin(), buffer.end(), '\0');
        read = m_ControlObject->GetCapabilityString(buffer.data(), kCapabilityStringSize);
        if (read < 0) {
            // The fix did not help: this is no adapter problem, and leaving
            // the fix on would garble every later reply.
            m_ControlObject->set_use_MAC_DUALLINK_DISPLAYPORT_ADAPTER_FIX(false);
            return read;
        }
    }
    buffer[kCapabilityStringSize - 1] = '\0';
    std::memcpy(m_CapabilityString, buffer.data(), kCapabilityStringSize);
    m_CapabilityParser.Clear();
    return m_CapabilityParser.ParseString(m_CapabilityString);
}

int CDDCMonitor::ReadCapabilityStringIfEmpty()
{
    if (!CapabilityStringIsEmpty())
        return 0;
    // A string that does not parse is a failed read: the parser's error goes
    // back like a transport error. It stays stored, so later callers find a
    // string and look at its parse themselves.
    const int read = ReadCapabilityString();
    if (read < 0)
        return read;
    return CapabilityStringIsEmpty() ? -1 : 0;
}

int CDDCMonitor::SetCapabilityString(const char *text)
{
    std::memset(m_CapabilityString, 0, sizeof m_CapabilityString);
    if (text)
        std::strncpy(m_CapabilityString, text, kCapabilityStringSize - 1);
    m_CapabilityParser.Clear();
    return m_CapabilityParser.ParseString(m_CapabilityString);
}

int CDDCMonitor::GetCapabilityString(char *buffer, uint size)
{
    // At most size - 1 characters, always terminated.
    if (!buffer || size == 0)
        return 0;
    const size_t length = std::min<size_t>(std::strlen(m_CapabilityString), size - 1);
    std::memcpy(buffer, m_CapabilityString, length);
    buffer[length] = '\0';
    return 0;
}

int CDDCMonitor::SaveCurrentSettings()
{
    if (!m_ControlObject)
        return kNotConnected;
    const int result = m_ControlObject->SaveCurrentSettings();
    WaitMS(m_SettleTimes.saveSettings);
    return result;
}

// ---- identity ------------------------------------------------------------------

int CDDCMonitor::GetMonitorSize(uint *width, uint *height)
{
    *width = sizeInMm(m_EDIDDecoder.m_HorizontalSize, kDefaultWidthMm);
    *height = sizeInMm(m_EDIDDecoder.m_VerticalSize, kDefaultHeightMm);
    return 0;
}

int CDDCMonitor::GetMonitorVendorProductID(ulong *id)
{
    if (!m_EDIDDecoded)
        ReadEDID();
    *id = m_EDIDDecoded ? m_EDIDDecoder.m_VendorProductID : 0;
    return 0;
}

QString CDDCMonitor::GetMonitorSerialNumber()
{
    if (m_IsUSBConnection)
        return m_USBSerialNumber;
    if (!m_EDIDDecoded)
        ReadEDID();
    return m_EDIDDecoded ? QString::fromLatin1(m_EDIDDecoder.m_SerialText) : QString("");
}

QString CDDCMonitor::GetMonitorModelName()
{
    if (m_IsUSBConnection)
        return m_USBModelName;
    if (!m_EDIDDecoded)
        ReadEDID();
    return m_EDIDDecoded ? QString::fromLatin1(m_EDIDDecoder.m_MonitorName) : QString("");
}

int CDDCMonitor::GetMonitorEDIDColorCoordinates(CCIEYxy *primaries)
{
    if (!m_EDIDDecoded)
        ReadEDID();
    if (!m_EDIDDecoded)
        return -1;
    const CDecompile_EDID &e = m_EDIDDecoder;
    primaries[0] = CCIEYxy(1.0, e.m_RedX, e.m_RedY);
    primaries[1] = CCIEYxy(1.0, e.m_GreenX, e.m_GreenY);
    primaries[2] = CCIEYxy(1.0, e.m_BlueX, e.m_BlueY);
    return 0;
}

int CDDCMonitor::GetMonitorMPUVersion(char *buffer)
{
    if (!m_ControlObject)
        return kNotConnected;
    if (!buffer)
        return -1;
    const int read = ReadCapabilityStringIfEmpty();
    if (read < 0)
        return read;
    const char *text = m_CapabilityParser.m_MPUVersionText;
    std::memcpy(buffer, text, std::strlen(text) + 1);
    return 0;
}

QString CDDCMonitor::GetMonitorMPUVersion()
{
    if (!m_ControlObject || ReadCapabilityStringIfEmpty() < 0)
        return QString("");
    return QString::fromLatin1(m_CapabilityParser.m_MPUVersionText);
}

QString CDDCMonitor::GetKnownMPUVersion() const
{
    if (CapabilityStringIsEmpty())
        return QString("");
    return QString::fromLatin1(m_CapabilityParser.m_MPUVersionText);
}

int CDDCMonitor::GetMonitorMPUVersion(uint *a, uint *b, uint *c, uint *d)
{
    if (!m_ControlObject)
        return kNotConnected;
    const int read = ReadCapabilityStringIfEmpty();
    if (read < 0)
        return read;
    uint *outputs[] = {a, b, c, d};
    for (uint *out : outputs)
        *out = 0;
    const QStringList parts =
        QString::fromLatin1(m_CapabilityParser.m_MPUVersionText).split(QLatin1Char('.'));
    for (int i = 0; i < parts.size() && i < 4; ++i) {
        bool ok = false;
        const uint value = parts[i].toUInt(&ok, 10);
        *outputs[i] = ok ? value : 0;
    }
    return 0;
}

int CDDCMonitor::GetIsDigitalVideoInterface()
{
    if (!m_EDIDDecoded)
        return -1;
    return m_EDIDDecoder.m_DigitalInput ? 1 : 0;
}

// ---- raw VCP access --------------------------------------------------------------

int CDDCMonitor::GetVCP(uint code, uint *current, uint *maximum, uchar *result, uchar *type)
{
    if (!m_ControlObject)
        return kNotConnected;
    return m_ControlObject->GetPagedVCP(code, current, maximum, result, type);
}

int CDDCMonitor::GetVCP(uint code, uint *current, uint *maximum)
{
    uchar result = 0;
    uchar type = 0;
    const int status = GetVCP(code, current, maximum, &result, &type);
    return (status == 0 && result != 0) ? kUnsupportedCode : status;
}

int CDDCMonitor::GetVCP(uint code, uint *current)
{
    uint maximum = 0;
    return GetVCP(code, current, &maximum);
}

int CDDCMonitor::SetVCP(uint code, uint *value, uint *maximum, uchar *result, uchar *type)
{
    if (!m_ControlObject)
        return kNotConnected;
    return m_ControlObject->SetPagedVCP(code, value, maximum, result, type);
}

int CDDCMonitor::SetVCP(uint code, uint *value)
{
    uint maximum = 0;
    uchar result = 0;
    uchar type = 0;
    const int status = SetVCP(code, value, &maximum, &result, &type);
    return (status == 0 && result != 0) ? kUnsupportedCode : status;
}

int CDDCMonitor::GetControl(uint code, uint *current, uint *maximum)
{
    return GetVCP(code, current, maximum);
}

int CDDCMonitor::GetControlCurrent(uint code, uint *current)
{
    uint maximum = 0;
    return GetVCP(code, current, &maximum);
}

int CDDCMonitor::SetControl(uint code, uint value, int settleMs)
{
    if (!m_ControlObject)
        return kNotConnected;
    const int result = SetVCP(code, &value);
    // The monitor needs the settle time also after a failed command.
    if (settleMs >= 0)
        WaitMS(settleMs);
    return result;
}

// ---- controls ----------------------------------------------------------------------

int CDDCMonitor::GetBrightness(uint *current, uint *maximum)
{
    return GetControl(kVcpBrightness, current, maximum);
}
int CDDCMonitor::GetContrast(uint *current, uint *maximum)
{
    return GetControl(kVcpContrast, current, maximum);
}
int CDDCMonitor::GetRedGain(uint *current, uint *maximum)
{
    return GetControl(kVcpRedGain, current, maximum);
}
int CDDCMonitor::GetGreenGain(uint *current, uint *maximum)
{
    return GetControl(kVcpGreenGain, current, maximum);
}
int CDDCMonitor::GetBlueGain(uint *current, uint *maximum)
{
    return GetControl(kVcpBlueGain, current, maximum);
}
int CDDCMonitor::SetBrightness(uint value) { return SetControl(kVcpBrightness, value); }
int CDDCMonitor::SetContrast(uint value) { return SetControl(kVcpContrast, value); }
int CDDCMonitor::SetRedGain(uint value)
{
    return SetControl(kVcpRedGain, value, m_SettleTimes.rgbGain);
}
int CDDCMonitor::SetGreenGain(uint value)
{
    return SetControl(kVcpGreenGain, value, m_SettleTimes.rgbGain);
}
int CDDCMonitor::SetBlueGain(uint value)
{
    return SetControl(kVcpBlueGain, value, m_SettleTimes.rgbGain);
}
int CDDCMonitor::GetColorPreset(uint *current, uint *maximum)
{
    return GetControl(kVcpColorPreset, current, maximum);
}
int CDDCMonitor::SetColorPreset(uint value)
{
    return SetControl(kVcpColorPreset, value, m_SettleTimes.colorPreset);
}
int CDDCMonitor::GetGammaMode(uint *current, uint *maximum)
{
    return GetControl(kVcpGammaMode, current, maximum);
}
int CDDCMonitor::SetGammaMode(uint value)
{
    return SetControl(kVcpGammaMode, value, m_SettleTimes.gammaMode);
}
int CDDCMonitor::GetLuminanceTargetValue(uint *current, uint *maximum)
{
    return GetControl(kVcpLuminanceTarget, current, maximum);
}
int CDDCMonitor::SetLuminanceTargetValue(uint value)
{
    return SetControl(kVcpLuminanceTarget, value);
}
int CDDCMonitor::GetPowerLEDBrightness(uint *current, uint *maximum)
{
    return GetControl(kVcpPowerLEDBrightness, current, maximum);
}
int CDDCMonitor::SetPowerLEDBrightness(uint value)
{
    return SetControl(kVcpPowerLEDBrightness, value);
}
int CDDCMonitor::GetPowerLEDColor(uint *current)
{
    return GetControlCurrent(kVcpPowerLEDColor, current);
}
int CDDCMonitor::SetPowerLEDColor(uint value) { return SetControl(kVcpPowerLEDColor, value); }
int CDDCMonitor::GetColorCompOnOff(uint *current)
{
    return GetControlCurrent(kVcpColorCompOnOff, current);
}
int CDDCMonitor::SetColorCompOnOff(uint value) { return SetControl(kVcpColorCompOnOff, value); }
int CDDCMonitor::GetColorCompLevel(uint *current, uint *maximum)
{
    return GetControl(kVcpColorCompLevel, current, maximum);
}
int CDDCMonitor::SetColorCompLevel(uint value) { return SetControl(kVcpColorCompLevel, value); }

int CDDCMonitor::ResetColor()
{
    return SetControl(kVcpRestoreColorDefaults, 1, m_SettleTimes.resetColor);
}

int CDDCMonitor::SetOSDLock(uint mode)
{
    uint firstCode = kVcpOSDLockA, firstValue = 0;
    uint secondCode = kVcpOSDLockB, secondValue = 0;
    if (mode == 2) {
        secondValue = 1;
    } else if (mode != 1) {
        firstCode = kVcpOSDLockB;
        secondCode = kVcpOSDLockA;
        secondValue = 1;
    }
    const int first = SetControl(firstCode, firstValue);
    // A monitor without the first code still gets the second; a monitor
    // that does not answer is reported, not locked halfway.
    if (first < 0 && first != kUnsupportedCode)
        return first;
    return SetControl(secondCode, secondValue);
}

bool CDDCMonitor::IsAutoContrastSupported()
{
    uint current = 0;
    return GetControlCurrent(kVcpAutoContrast, &current) == 0;
}

int CDDCMonitor::PerformAutoContrast() { return SetControl(kVcpAutoContrast, 1); }

int CDDCMonitor::SetMaximumRGBGain(uint *redMax, uint *greenMax, uint *blueMax)
{
    using Getter = int (CDDCMonitor::*)(uint *, uint *);
    using Setter = int (CDDCMonitor::*)(uint);
    const struct {
        Getter get;
        Setter set;
        uint *maximum;
    } gains[] = {{&CDDCMonitor::GetRedGain, &CDDCMonitor::SetRedGain, redMax},
                 {&CDDCMonitor::GetGreenGain, &CDDCMonitor::SetGreenGain, greenMax},
                 {&CDDCMonitor::GetBlueGain, &CDDCMonitor::SetBlueGain, blueMax}};
    int result = 0;
    for (const auto &gain : gains) {
        uint current = 0;
        uint maximum = 0;
        result = (this->*gain.get)(&current, &maximum);
        if (result != 0)
            return result;
        if (gain.maximum)
            *gain.maximum = maximum;
        result = (this->*gain.set)(maximum);
        if (result != 0)
            return result;
    }
    return result;
}

int CDDCMonitor::SetMaximumRGBGain() { return SetMaximumRGBGain(nullptr, nullptr, nullptr); }

// ---- counters --------------------------------------------------------------------

int CDDCMonitor::GetPowerOnHours(double *hours)
{
    uint halfHours = 0;
    const int result = GetControlCurrent(kVcpPowerOnHalfHours, &halfHours);
    if (result == 0) {
        *hours = halfHours * 0.5;
        m_KnownPowerOnHours = *hours;
    }
    return result;
}

int CDDCMonitor::GetBacklightOnTime30Min(uint *value)
{
    return GetControlCurrent(kVcpBacklightOnTime, value);
}

bool CDDCMonitor::IsBacklightOnTime30MinSupported()
{
    if (!m_ControlObject)
        return false;
    if (ReadCapabilityStringIfEmpty() < 0)
        return false;
    if (!m_CapabilityParser.IsVCPSupported(kVcpBacklightOnTime))
        return false;
    uint current = 0;
    return GetControlCurrent(kVcpBacklightOnTime, &current) == 0;
}

// ---- waiting and progress ----------------------------------------------------------

int CDDCMonitor::WaitMS(int ms)
{
    ::WaitMS(ms);
    return 0;
}

void CDDCMonitor::Broadcast_Message(uint type, uint value)
{
    emit Broadcast_MessageOut(type, value);
}

// ---- six-axis colour ---------------------------------------------------------------

int CDDCMonitor::IsSixAxisColorSupported() { return 0; }

int CDDCMonitor::ReadSixAxisGroup(uint firstCode, uint *current, uint *maximum)
{
    for (uint axis = 0; axis < kSixAxisCount; ++axis) {
        const uint code = firstCode + axis;
        if (!m_CapabilityParser.IsVCPSupported(static_cast<int>(code)))
            continue;
        uint value = 0;
        uint top = 0;
        const int result = GetVCP(code, &value, &top);
        if (result != 0)
            return result;
        current[axis] = value;
        maximum[axis] = top;
    }
    return 0;
}

int CDDCMonitor::ReadSixAxisColorSettings()
{
    m_SixAxisRead = false;
    const int read = ReadCapabilityStringIfEmpty();
    if (read < 0)
        return read;
    if (!m_CapabilityParser.ParsedOK())
        return 0;
    int result = ReadSixAxisGroup(kVcpSixAxisHue, m_SixAxisHueCurrent, m_SixAxisHueMaximum);
    if (result == 0)
        result = ReadSixAxisGroup(kVcpSixAxisSaturation, m_SixAxisSaturationCurrent,
                                  m_SixAxisSaturationMaximum);
    if (result == 0)
        result = ReadSixAxisGroup(kVcpSixAxisOffset, m_SixAxisOffsetCurrent,
                                  m_SixAxisOffsetMaximum);
    if (result != 0)
        return result;
    m_SixAxisRead = true;
    return 0;
}

int CDDCMonitor::RestoreSixAxisGroup(uint firstCode, const uint *current)
{
    for (uint axis = 0; axis < kSixAxisCount; ++axis) {
        const uint code = firstCode + axis;
        if (!m_CapabilityParser.IsVCPSupported(static_cast<int>(code)))
            continue;
        uint value = current[axis];
        const int result = SetVCP(code, &value);
        if (result != 0)
            return result;
    }
    return 0;
}

int CDDCMonitor::RestoreSixAxisColorSettings()
{
    if (!m_SixAxisRead)
        return 0;
    const int read = ReadCapabilityStringIfEmpty();
    if (read < 0)
        return read;
    if (!m_CapabilityParser.ParsedOK())
        return 0;
    int result = RestoreSixAxisGroup(kVcpSixAxisHue, m_SixAxisHueCurrent);
    if (result == 0)
        result = RestoreSixAxisGroup(kVcpSixAxisSaturation, m_SixAxisSaturationCurrent);
    if (result == 0)
        result = RestoreSixAxisGroup(kVcpSixAxisOffset, m_SixAxisOffsetCurrent);
    return result;
}

int CDDCMonitor::GetSixAxisValue(uint axis, const uint *current, const uint *maximum,
                                 uint &outCurrent, uint &outMaximum)
{
    if (axis >= kSixAxisCount)
        return -1;
    outCurrent = current[axis];
    outMaximum = maximum[axis];
    return 0;
}

int CDDCMonitor::GetSixAxisColorHueValue(uint axis, uint &current, uint &maximum)
{
    return GetSixAxisValue(axis, m_SixAxisHueCurrent, m_SixAxisHueMaximum, current, maximum);
}

int CDDCMonitor::GetSixAxisColorSaturationValue(uint axis, uint &current, uint &maximum)
{
    return GetSixAxisValue(axis, m_SixAxisSaturationCurrent, m_SixAxisSaturationMaximum, current,
                           maximum);
}

int CDDCMonitor::GetSixAxisColorOffsetValue(uint axis, uint &current, uint &maximum)
{
    return GetSixAxisValue(axis, m_SixAxisOffsetCurrent, m_SixAxisOffsetMaximum, current,
                           maximum);
}

int CDDCMonitor::SetSixAxisValue(uint firstCode, uint axis, uint &value)
{
    if (axis >= kSixAxisCount)
        return -1;
    return SetVCP(firstCode + axis, &value);
}

int CDDCMonitor::SetSixAxisColorHueValue(uint axis, uint &value)
{
    return SetSixAxisValue(kVcpSixAxisHue, axis, value);
}

int CDDCMonitor::SetSixAxisColorSaturationValue(uint axis, uint &value)
{
    return SetSixAxisValue(kVcpSixAxisSaturation, axis, value);
}

int CDDCMonitor::SetSixAxisColorOffsetValue(uint axis, uint &value)
{
    return SetSixAxisValue(kVcpSixAxisOffset, axis, value);
}

int CDDCMonitor::ReadSixAxisControlDefaultAndMaxValues()
{
    if (!m_SixAxisRead) {
        const int result = ReadSixAxisColorSettings();
        if (result != 0)
            return result;
    }
    m_SixAxisHueCenter = static_cast<int>(m_SixAxisHueMaximum[0] * 0.5 + 0.5);
    m_SixAxisOffsetCenter = static_cast<int>(m_SixAxisOffsetMaximum[0] * 0.5 + 0.5);
    m_SixAxisSaturationCenter = 0;
    return 0;
}

int CDDCMonitor::GetSixAxisControlOffsetValues(int &hue, int &offset, int &saturation)
{
    const int result = ReadSixAxisControlDefaultAndMaxValues();
    if (result != 0)
        return result;
    hue = m_SixAxisHueCenter;
    offset = m_SixAxisOffsetCenter;
    saturation = m_SixAxisSaturationCenter;
    return 0;
}

// ---- fixed capability questions ------------------------------------------------------

int CDDCMonitor::SetAutoLumianceMode(uint) { return -1; }
int CDDCMonitor::GetAutoLumianceMode(uint *) { return -1; }
int CDDCMonitor::IsAutoLumianceModeSupported() { return 0; }
int CDDCMonitor::SetMonitorToLinearLUTUsingRGBGains() { return 0; }
int CDDCMonitor::SetRGBGainOperationMode(uint mode)
{
    m_RGBGainOperationMode = mode;
    return 0;
}
int CDDCMonitor::InitLUTUsingRGBGainValues() { return 0; }
int CDDCMonitor::MonitorNeedsLinearLUTsSendingInAutoLuminanceMode() { return 0; }
int CDDCMonitor::MonitorHasRGBGainControlsInNativeGammaMode() { return 1; }
int CDDCMonitor::MonitorSupportsAutoLuminanceInNativeGammaMode() { return 0; }
int CDDCMonitor::MonitorAlwaysUsesLUTs() { return 0; }
int CDDCMonitor::MonitorSupportsColorAdjustmentInNativeGammaMode() { return 1; }
int CDDCMonitor::MonitorSupportsColorAdjustmentInsRGBGamutMode() { return 0; }
