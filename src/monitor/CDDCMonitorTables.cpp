// The monitor object's tone-response tables: native gamma and the
// programmable LUT (gamma-table chunk commands), and the target tone curve
// the monitor's own colour engine follows (theoretical-curve commands).

#include "CDDCMonitor.h"

#include "CSpline.h"
#include "ORV_factory_ddc_control.h"

#include <algorithm>

namespace {

constexpr int kNotConnected = -6;
constexpr int kUnsupportedCode = -1027;
// A table whose length does not fit the layout it is sent in.
constexpr int kBadTableLength = -1;

constexpr uint kVcpInputSource = 0x60;
constexpr uint kVcpCSCGain = 0x2CA;
constexpr uint kVcpProgrammableGammaReset = 0x2F8;
constexpr uint kVcpLargeTableMode = 0x2F9;

constexpr uint kGammaModeNative = 1;
constexpr uint kGammaModeProgrammable = 6;
constexpr uint kInputDisplayPort1 = 15;

constexpr uint kLUTChunk = 16;
constexpr uint kTargetCurveChunk = 8;
constexpr uint kTargetCurveChunkDisplayPort = 2;
constexpr uint kTargetCurveEntries = 256;
constexpr uint kChannelTableStride = 0x400;
constexpr int kWaitBeforeCurveUpload = 2000;

// Table entries travel as 16-bit values: anything above would wrap.
uint clampTo16Bit(uint value) { return std::min<uint>(value, 0xFFFF); }

// A curve value in [0, 1] as a 16-bit table entry. Curves may overshoot
// (Catmull-Rom) and a broken one may give NaN: both end inside 0..65535.
uint curveValueToEntry(double y)
{
    const double v = y * 65535.0 + 0.5;
    if (!(v > 0.0))
        return 0;
    if (v >= 65535.0)
        return 65535;
    return static_cast<uint>(v);
}

bool isTransportError(int status) { return status != 0 && status != kUnsupportedCode; }

} // namespace

int CDDCMonitor::GetLUTSize(uint *size)
{
    *size = 0;
    if (!m_ControlObject)
        return kNotConnected;
    const int read = ReadCapabilityStringIfEmpty();
    if (read < 0)
        return read;
    *size = static_cast<uint>(std::max(0, m_CapabilityParser.m_GammaTableSize));
    return 0;
}

int CDDCMonitor::GetCSCGain(uint *gain)
{
    uint maximum = 0;
    return GetVCP(kVcpCSCGain, gain, &maximum);
}

bool CDDCMonitor::IsResetProgrammableGammaSupported()
{
    uint current = 0;
    uint maximum = 0;
    uchar result = 1;
    uchar type = 0;
    return GetVCP(kVcpProgrammableGammaReset, &current, &maximum, &result, &type) == 0
           && result == 0;
}

int CDDCMonitor::ResetProgrammableGamma()
{
    uint value = 1;
    const int result = SetVCP(kVcpProgrammableGammaReset, &value);
    if (result != 0)
        return result;
    return RefreshGammaTable();
}

int CDDCMonitor::RefreshGammaTable()
{
    if (!m_ControlObject)
        return kNotConnected;
    const int result = m_ControlObject->RefreshGammaTable();
    WaitMS(m_SettleTimes.refreshGammaTable);
    return result;
}

int CDDCMonitor::SaveGammaTable()
{
    if (!m_ControlObject)
        return kNotConnected;
    const int result = m_ControlObject->SaveGammaTable();
    WaitMS(m_SettleTimes.saveGammaTable);
    return result;
}

int CDDCMonitor::WriteGammaTableData(std::vector<uint> &table)
{
    if (!m_ControlObject)
        return kNotConnected;
    // Offsets travel as 16 bits.
    if (table.size() > 0x10000)
        return kBadTableLength;
    for (size_t offset = 0; offset < table.size(); offset += kLUTChunk) {
        const uint count = static_cast<uint>(std::min<size_t>(kLUTChunk, table.size() - offset));
        uint chunk[kLUTChunk];
        for (uint i = 0; i < count; ++i)
            chunk[i] = clampTo16Bit(table[offset + i]);
        const int result = m_ControlObject->GammaTableWriteChunkVerifyAndRetry(
            chunk, static_cast<uint>(offset), count);
        if (result != 0)
            return result;
        ProgressStep();
    }
    return 0;
}

int CDDCMonitor::SetGammaTable(std::vector<uint> &table)
{
    if (!m_ControlObject)
        return kNotConnected;
    int result = SetGammaMode(kGammaModeProgrammable);
    if (result != 0)
        return result;
    ProgressStep();
    result = WriteGammaTableData(table);
    if (result != 0)
        return result;
    result = RefreshGammaTable();
    if (result != 0)
        return result;
    ProgressStep();
    result = SaveGammaTable();
    if (result != 0)
        return result;
    ProgressStep();
    return 0;
}

int CDDCMonitor::VerifyGammaTableData(std::vector<uint> table)
{
    // The middle of the first channel third.
    return VerifyGammaTableSample(table, static_cast<uint>(table.size() / 6));
}

int CDDCMonitor::VerifyGammaTableSample(const std::vector<uint> &table, uint sample)
{
    if (!m_ControlObject)
        return kNotConnected;
    const size_t channelLength = table.size() / 3;
    if (table.size() % 3 != 0 || sample + kLUTChunk > channelLength)
        return kBadTableLength;
    for (uint channel = 0; channel < 3; ++channel) {
        uint readBack[kLUTChunk] = {};
        const int result = m_ControlObject->GammaTableReadChunk(
            readBack, channel * kChannelTableStride + sample, kLUTChunk);
        if (result != 0)
            return result;
        ProgressStep();
        const size_t first = channel * channelLength + sample;
        for (uint i = 0; i < kLUTChunk; ++i) {
            if (readBack[i] != clampTo16Bit(table[first + i]))
                return 0;
        }
    }
    return 1;
}

int CDDCMonitor::SetGammaToNative()
{
    const int result = SetGammaMode(kGammaModeNative);
    ProgressStep();
    return result;
}

int CDDCMonitor::GetSetGammaToNativeSteps() { return 1; }

int CDDCMonitor::SetMonitorToLinearLUT(bool) { return SetGammaToNative(); }

int CDDCMonitor::GetSetMonitorToLinearLUTSteps(bool) { return GetSetGammaToNativeSteps(); }

int CDDCMonitor::NeedUpdateLinearLUTonGainChange() { return 0; }

int CDDCMonitor::CalculateCorrectionLUT(CAdjustValue *, CTargetValue *, std::vector<uint> &)
{
    return -1;
}

int CDDCMonitor::CalculateTargetGammaTable(CSpline red, CSpline green, CSpline blue,
                                           std::vector<uint> &table)
{
    // The steps themselves are reported while the table is loaded.
    ProgressTask(99);
    std::vector<uint> entries(3 * kTargetCurveEntries);
    CSpline *curves[] = {&red, &green, &blue};
    for (uint channel = 0; channel < 3; ++channel) {
        for (uint i = 0; i < kTargetCurveEntries; ++i) {
            const double x = i / 255.0;
            entries[channel * kTargetCurveEntries + i] =
                curveValueToEntry(curves[channel]->GetYValX(x));
        }
    }
    table.swap(entries);
    return 0;
}

int CDDCMonitor::SetTargetGammaTable(std::vector<uint> &table)
{
    if (!m_ControlObject)
        return kNotConnected;
    uint current = 0;
    uint maximum = 0;
    const int read = GetGammaMode(&current, &maximum);
    if (isTransportError(read))
        return read;
    if (read != 0 || current != kGammaModeProgrammable) {
        const int result = SetGammaMode(kGammaModeProgrammable);
        if (result != 0)
            return result;
    }
    ProgressStep();
    uint largeTable = 1;
    int result = SetVCP(kVcpLargeTableMode, &largeTable);
    if (result != 0)
        return result;
    result = WriteTargetGammaLUTData(table);
    if (result != 0)
        return result;
    // A target curve is saved before it is refreshed.
    result = SaveGammaTable();
    if (result != 0)
        return result;
    ProgressStep();
    result = RefreshGammaTable();
    if (result != 0)
        return result;
    ProgressStep();
    return 0;
}

int CDDCMonitor::WriteTargetGammaLUTData(std::vector<uint> &table)
{
    if (!m_ControlObject)
        return kNotConnected;
    if (!m_CapabilityParser.ParsedOK()) {
        const int result = ReadCapabilityString();
        if (result != 0)
            return result;
    }
    // Without curve offsets the monitor has no curve memory.
    if (m_CapabilityParser.m_GammaTableGreenOffset == 0)
        return -1;
    if (table.size() % 3 != 0)
        return kBadTableLength;

    WaitMS(kWaitBeforeCurveUpload);

    uint input = 0;
    uint inputMaximum = 0;
    const int inputRead = GetVCP(kVcpInputSource, &input, &inputMaximum);
    if (isTransportError(inputRead))
        return inputRead;
    const uint chunkSize = (inputRead == 0 && input == kInputDisplayPort1)
                               ? kTargetCurveChunkDisplayPort
                               : kTargetCurveChunk;

    const size_t channelLength = table.size() / 3;
    const uint addresses[] = {static_cast<uint>(m_CapabilityParser.m_GammaTableRedOffset),
                              static_cast<uint>(m_CapabilityParser.m_GammaTableGreenOffset),
                              static_cast<uint>(m_CapabilityParser.m_GammaTableBlueOffset)};
    for (uint channel = 0; channel < 3; ++channel) {
        for (size_t offset = 0; offset < channelLength; offset += chunkSize) {
            const uint count =
                static_cast<uint>(std::min<size_t>(chunkSize, channelLength - offset));
            uint chunk[kTargetCurveChunk];
            for (uint i = 0; i < count; ++i)
                chunk[i] = clampTo16Bit(table[channel * channelLength + offset + i]);
            const int result = m_ControlObject->TheoreticalCurveWriteChunkVerifyAndRetry(
                chunk, addresses[channel] + static_cast<uint>(offset), count);
            if (result != 0)
                return result;
            ProgressStep();
        }
    }
    return 0;
}
