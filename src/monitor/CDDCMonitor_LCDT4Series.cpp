#include "CDDCMonitor_LCDT4Series.h"

#include "CAdjustValue.h"
#include "CTargetValue.h"
#include "MonitorModelLists.h"
#include "ORV_factory_ddc_control.h"
#include "ToneCurves.h"

namespace {

constexpr uint kVcpLargeTable = 0x2F9;
constexpr uint kVcpAutoContrast = 0x233;
constexpr uint kVcpCalibrationSwitch = 0x254;
constexpr uint kVcpHalfRangeControl = 0x257;
constexpr uint kVcpOsdLockA = 0xE3;
constexpr uint kVcpOsdLockB = 0xFB;

constexpr uint kGammaModeNative = 1;
constexpr uint kGammaModeProgrammable = 6;
constexpr uint kGammaModeKnownState = 10;
constexpr uint kColorPresetKnownState = 8;
constexpr uint kLargeTableSize = 768;
constexpr int kLargeTableWait = 500;

constexpr int kNoResponseCurves = -1019;
constexpr int kUnsupportedCode = -1027;

bool isNative(const CTargetValue *target)
{
    return target->m_GammaCurveType == CTargetValue::kCurveNative;
}

bool inverseResponsesValid(const CColorValue &record)
{
    return record.m_Splines[CColorValue::kInverseRed].IsValid()
        && record.m_Splines[CColorValue::kInverseGreen].IsValid()
        && record.m_Splines[CColorValue::kInverseBlue].IsValid();
}

bool correctionCurvesValid(const CColorValue &record)
{
    return record.m_Splines[CColorValue::kCorrectionRed].IsValid()
        && record.m_Splines[CColorValue::kCorrectionGreen].IsValid()
        && record.m_Splines[CColorValue::kCorrectionBlue].IsValid();
}

// value * top + 0.5 truncated, held inside the LUT's range 0..limit (a
// Catmull-Rom curve can overshoot, and a cast of an out-of-range double is
// undefined).
uint lutEntry(double value, double top, uint limit)
{
    const double v = value * top + 0.5;
    if (!(v > 0.0))
        return 0;
    if (v >= double(limit))
        return limit;
    return uint(v);
}

} // namespace

CDDCMonitor_LCDT4Series::CDDCMonitor_LCDT4Series()
    : CDDCMonitor_LCDT4Series(kRefreshGammaTableSettle)
{
}

CDDCMonitor_LCDT4Series::CDDCMonitor_LCDT4Series(int refreshGammaTableMs)
{
    m_SettleTimes.saveSettings = 2000;
    m_SettleTimes.saveGammaTable = 3000;
    m_SettleTimes.refreshGammaTable = refreshGammaTableMs;
    m_SettleTimes.rgbGain = 500;
    m_SettleTimes.colorPreset = 2000;
    m_SettleTimes.gammaMode = 2000;
    m_SettleTimes.resetColor = 2000;
}

CDDCMonitor_LCDT4Series::~CDDCMonitor_LCDT4Series() = default;

bool CDDCMonitor_LCDT4Series::IsUsableLUTSize(size_t size)
{
    return size % 3 == 0 && size >= kMinTableSize && size <= kMaxTableSize;
}

int CDDCMonitor_LCDT4Series::StepsWithProgress(
    std::initializer_list<std::function<int()>> steps)
{
    for (const std::function<int()> &step : steps) {
        const int status = step();
        if (status != 0)
            return status;
        ProgressStep();
    }
    return 0;
}

uint CDDCMonitor_LCDT4Series::CSCGainOrDefault()
{
    uint gain = 0;
    if (GetCSCGain(&gain) == 0 && gain != 0)
        return gain;
    return kDefaultCSCGain;
}

int CDDCMonitor_LCDT4Series::GetLUTSize(uint *size)
{
    const int status = CDDCMonitor::GetLUTSize(size);
    if (status != 0)
        return status;
    // Monitors that take a 768-entry table answer the large-table code.
    uint current = 0, maximum = 0;
    uchar result = 1, type = 0;
    if (GetVCP(kVcpLargeTable, &current, &maximum, &result, &type) == 0 && result == 0)
        *size = kLargeTableSize;
    return 0;
}

int CDDCMonitor_LCDT4Series::GetSetMonitorToLinearLUTSteps(bool flag)
{
    if (!flag && IsResetProgrammableGammaSupported())
        return 2;
    uint size = 0;
    GetLUTSize(&size);
    return int(size / kChunkEntries + 5);
}

int CDDCMonitor_LCDT4Series::SetMonitorToLinearLUT(bool flag)
{
    const bool reset = flag ? false : IsResetProgrammableGammaSupported();
    if (reset)
        return StepsWithProgress({[this] { return SetGammaMode(kGammaModeProgrammable); },
                                  [this] { return ResetProgrammableGamma(); }});

    // The table is sized before the monitor is switched, so a monitor that
    // reports no usable size is never left in programmable mode without one.
    uint size = 0;
    GetLUTSize(&size);
    if (!IsUsableLUTSize(size))
        return -1;
    const int status = SetGammaMode(kGammaModeProgrammable);
    if (status != 0)
        return status;
    ProgressStep();

    const uint n = size / 3;
    const double top = CSCGainOrDefault();
    std::vector<uint> table(size);
    for (uint i = 0; i < n; ++i) {
        const uint v = uint(double(i) * top / double(n - 1) + 0.5);
        table[i] = v;
        table[n + i] = v;
        table[2 * n + i] = v;
    }
    return SetGammaTable(table);
}

int CDDCMonitor_LCDT4Series::WriteGammaTableData(std::vector<uint> &table)
{
    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    if (!control)
        return -6;
    if (table.size() / 3 == 0)
        return 0;
    if (!IsUsableLUTSize(table.size()))
        return -1;
    return control->WriteChannelTableVerified(ORV_ddc_control::Table::Gamma, table,
                                              {0, kGreenTableOffset, kBlueTableOffset},
                                              kChunkEntries, [this] { ProgressStep(); });
}

int CDDCMonitor_LCDT4Series::SetGammaTable(std::vector<uint> &table)
{
    if (!GetDDCCIControlObject())
        return -6;
    if (!IsUsableLUTSize(table.size()))
        return -1;
    int status = SetGammaMode(kGammaModeProgrammable);
    if (status != 0)
        return status;
    ProgressStep();
    if (table.size() == kLargeTableSize) {
        uint on = 1;
        SetVCP(kVcpLargeTable, &on);
        WaitMS(kLargeTableWait);
    }
    if ((status = WriteGammaTableData(table)) != 0)
        return status;
    return StepsWithProgress({[this] { return RefreshGammaTable(); },
                              [this] { return SaveGammaTable(); },
                              [this] { return SaveCurrentSettings(); }});
}

int CDDCMonitor_LCDT4Series::VerifyGammaTableData(std::vector<uint> table)
{
    return VerifyGammaTableSample(table, kVerifySample);
}

int CDDCMonitor_LCDT4Series::CalculateCorrectionLUT(CAdjustValue *result, CTargetValue *,
                                                    std::vector<uint> &table)
{
    if (!result)
        return -1;
    uint size = 0;
    GetLUTSize(&size);
    const CColorValue &record = result->m_ColorValue;
    if (!IsUsableLUTSize(size) || !correctionCurvesValid(record))
        return -1;

    uint maxima[3] = {0, 0, 0};
    const int status = SetMaximumRGBGain(&maxima[0], &maxima[1], &maxima[2]);
    if (status != 0)
        return status;
    if (maxima[0] == 0 || maxima[1] == 0 || maxima[2] == 0)
        return -1;

    const uint csc = CSCGainOrDefault();
    const quint16 gains[3] = {result->m_RedGain, result->m_GreenGain, result->m_BlueGain};
    const CSpline *curves[3] = {&record.m_Splines[CColorValue::kCorrectionRed],
                                &record.m_Splines[CColorValue::kCorrectionGreen],
                                &record.m_Splines[CColorValue::kCorrectionBlue]};
    const uint n = size / 3;
    std::vector<uint> lut(size, 0);
    for (int c = 0; c < 3; ++c) {
        // The gain the calibration found is reproduced by scaling the LUT
        // while the gain itself stays at its maximum.
        const float scaled = float(gains[c]) / float(maxima[c]) * float(csc) + 0.5f;
        const uint top = scaled >= float(csc) ? csc : uint(scaled);
        for (uint i = 0; i < n; ++i) {
            const double x = double(i) / double(n - 1);
            lut[c * n + i] = lutEntry(curves[c]->GetYValX(x), top, csc);
        }
    }
    table.swap(lut);
    return 0;
}

int CDDCMonitor_LCDT4Series::ResetMonitorToKnownState()
{
    int status = SetColorPreset(kColorPresetKnownState);
    if (status != 0)
        return status;
    uint current = 0, maximum = 0;
    if ((status = GetBrightness(&current, &maximum)) != 0)
        return status;
    if ((status = SetBrightness(maximum)) != 0)
        return status;
    if ((status = GetContrast(&current, &maximum)) != 0)
        return status;
    if ((status = SetContrast(maximum / 2)) != 0)
        return status;
    return SetGammaMode(kGammaModeKnownState);
}

int CDDCMonitor_LCDT4Series::ConfigureMonitorControlsForCalibration(CTargetValue *)
{
    // A monitor that does not implement one of these codes needs no setting
    // there; a transport error is a real failure.
    const auto failed = [](int status) { return status != 0 && status != kUnsupportedCode; };
    uint value = 0;
    int status = SetVCP(kVcpCalibrationSwitch, &value);
    if (failed(status))
        return status;
    ProgressStep();
    value = 1;
    status = SetVCP(kVcpAutoContrast, &value);
    if (failed(status))
        return status;
    ProgressStep();
    uint current = 0, maximum = 0;
    status = GetVCP(kVcpHalfRangeControl, &current, &maximum);
    if (status == 0) {
        value = maximum / 2;
        status = SetVCP(kVcpHalfRangeControl, &value);
    }
    if (failed(status))
        return status;
    ProgressStep();
    return 0;
}

int CDDCMonitor_LCDT4Series::SetOSDLock(uint mode)
{
    struct Write {
        uint code;
        uint value;
    };
    Write first{kVcpOsdLockB, 0}, second{kVcpOsdLockA, 0};
    if (mode == 1) {
        first = {kVcpOsdLockA, 1};
        second = {kVcpOsdLockB, 0};
    } else if (mode == 2) {
        first = {kVcpOsdLockA, 0};
        second = {kVcpOsdLockB, 1};
    }
    int status = SetVCP(first.code, &first.value);
    if (status != 0 && status != kUnsupportedCode)
        return status;
    return SetVCP(second.code, &second.value);
}

int CDDCMonitor_LCDT4Series::GetPowerOnHours(double *hours)
{
    const int status = ReadPowerOnHours(hours);
    if (status == 0)
        SetKnownPowerOnHours(*hours);
    return status;
}

int CDDCMonitor_LCDT4Series::ReadPowerOnHours(double *hours)
{
    if (!hours)
        return -1;
    ulong id = 0;
    GetMonitorVendorProductID(&id);
    *hours = 0.0;
    const bool one = pz::isInModelList(pz::ModelList::OnePowerOnCounter, quint32(id));
    const bool two = pz::isInModelList(pz::ModelList::TwoPowerOnCounters, quint32(id));
    if (!one && !two)
        return CDDCMonitor::GetPowerOnHours(hours);

    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    if (!control)
        return 0;
    // An unreadable counter counts as 0 hours.
    const auto readHours = [control](uint address, double *out) {
        uchar bytes[4] = {};
        const int status = control->ReadEEPROM(bytes, address, 4);
        const quint32 minutes = quint32(bytes[0]) | quint32(bytes[1]) << 8
                              | quint32(bytes[2]) << 16 | quint32(bytes[3]) << 24;
        *out = status == 0 ? minutes / 60.0 : 0.0;
        return status;
    };
    double first = 0.0;
    const int firstStatus = readHours(kPowerOnCounter, &first);
    if (one) {
        *hours = first;
        return firstStatus;
    }
    double second = 0.0;
    const int secondStatus = readHours(kSecondPowerOnCounter, &second);
    *hours = first + second;
    // A total that lacks a counter is reported, whichever read failed.
    return firstStatus != 0 ? firstStatus : secondStatus;
}

int CDDCMonitor_LCDT4Series::GetDisplayStablizationTime(double luminance)
{
    if (luminance > 100.0)
        return 4000;
    if (luminance > 80.0)
        return 8000;
    if (luminance > 60.0)
        return 16000;
    return 20000;
}

bool CDDCMonitor_LCDT4Series::CanCreateCalibration(CAdjustValue *result, CTargetValue *target)
{
    if (!result || !target)
        return false;
    const CColorValue &record = result->m_ColorValue;
    if (!isNative(target) && (!inverseResponsesValid(record) || !record.m_TargetCurve.IsValid()))
        return false;
    return result->m_CalibrationDateTime.isValid();
}

int CDDCMonitor_LCDT4Series::IsAdjustedToSettings(CAdjustValue *result, CTargetValue *target)
{
    if (!result || !target)
        return -1;
    const bool native = isNative(target);
    ProgressTask(10);
    uint current = 0, maximum = 0;

    if (GetColorPreset(&current, &maximum) != 0)
        return -1;
    if (current != result->m_ColorPreset)
        return 0;
    ProgressStep();
    if (GetBrightness(&current, &maximum) != 0)
        return -1;
    if (current != result->m_Brightness)
        return 0;
    ProgressStep();
    if (GetContrast(&current, &maximum) != 0)
        return -1;
    if (current != result->m_Contrast)
        return 0;
    ProgressStep();

    // Native: the gains hold the calibration; otherwise the LUT does and the
    // gains stand at their maxima.
    const auto readGain = [this](int channel, uint *value, uint *top) {
        return channel == 0   ? GetRedGain(value, top)
               : channel == 1 ? GetGreenGain(value, top)
                              : GetBlueGain(value, top);
    };
    const quint16 stored[3] = {result->m_RedGain, result->m_GreenGain, result->m_BlueGain};
    for (int c = 0; c < 3; ++c) {
        if (readGain(c, &current, &maximum) != 0)
            return -1;
        if (current != (native ? uint(stored[c]) : maximum))
            return 0;
        ProgressStep();
    }

    if (GetGammaMode(&current, &maximum) != 0)
        return -1;
    ProgressStep();
    if (current != (native ? kGammaModeNative : kGammaModeProgrammable))
        return 0;
    for (int i = 0; i < 3; ++i)
        ProgressStep();
    return 1;
}

int CDDCMonitor_LCDT4Series::SetToAdjustValue(CAdjustValue *result, CTargetValue *target)
{
    if (!result || !target)
        return -1;
    uint size = 0;
    int status = GetLUTSize(&size);
    if (status != 0)
        return status;
    const bool native = isNative(target);
    ProgressTask(native ? 11 : size / kChunkEntries + 11);

    status = StepsWithProgress({[&] { return BeginColorAdjustment(); },
                                [&] { return SetColorPreset(result->m_ColorPreset); },
                                [&] { return SetBrightness(result->m_Brightness); },
                                [&] { return SetContrast(result->m_Contrast); }});
    if (status != 0)
        return status;

    CColorValue &record = result->m_ColorValue;
    if (native) {
        status = StepsWithProgress({[&] { return SetRedGain(result->m_RedGain); },
                                    [&] { return SetGreenGain(result->m_GreenGain); },
                                    [&] { return SetBlueGain(result->m_BlueGain); }});
        if (status != 0)
            return status;
        // A native calibration uses no LUT.
        record.m_Splines[CColorValue::kCorrectionRed].SetValid(false);
        record.m_Splines[CColorValue::kCorrectionGreen].SetValid(false);
        record.m_Splines[CColorValue::kCorrectionBlue].SetValid(false);
        if ((status = StepsWithProgress({[&] { return SetGammaMode(kGammaModeNative); }})) != 0)
            return status;
    } else {
        if (!inverseResponsesValid(record))
            return kNoResponseCurves;
        CreateTargetSpline(&record, target, &record.m_TargetCurve);
        std::vector<uint> table;
        if ((status = CalculateCorrectionLUT(result, target, table)) != 0)
            return status;
        if ((status = SetGammaTable(table)) != 0)
            return status;
    }

    return StepsWithProgress({[this] { return EndColorAdjustment(); },
                              [this] { return SaveCurrentSettings(); }});
}
