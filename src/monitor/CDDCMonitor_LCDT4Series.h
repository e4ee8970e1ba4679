#pragma once
// Orvane monitors with a 256-entry programmable LUT per channel that the
// host computes: the calibration drives the RGB gains, brightness and
// contrast, measures the response and loads a correction LUT built from the
// measured curves. Never created on its own: it is the base of the HX series,
// which keeps every behaviour here that it does not replace.

#include "CDDCMonitor.h"

#include <functional>
#include <initializer_list>
#include <vector>

class CDDCMonitor_LCDT4Series : public CDDCMonitor {
    Q_OBJECT
public:
    // Monitor table offsets of the three channel tables.
    static constexpr uint kGreenTableOffset = 0x400;
    static constexpr uint kBlueTableOffset = 0x800;
    // Entries per gamma-table chunk.
    static constexpr uint kChunkEntries = 16;
    // Where VerifyGammaTableData samples each channel.
    static constexpr uint kVerifySample = 160;
    // Top of the LUT values when the monitor does not report its CSC gain.
    static constexpr uint kDefaultCSCGain = 1023;
    // A usable table: three channels of at least one chunk each, none longer
    // than the 0x400 entries between two channel tables.
    static constexpr uint kMinTableSize = 3 * kChunkEntries;
    static constexpr uint kMaxTableSize = 3 * kGreenTableOffset;
    // EEPROM power-on minute counters (uint32 little-endian).
    static constexpr uint kPowerOnCounter = 0x308;
    static constexpr uint kSecondPowerOnCounter = 0x3F8;
    // The wait after a gamma-table refresh on this series.
    static constexpr int kRefreshGammaTableSettle = 1500;

    CDDCMonitor_LCDT4Series();
    ~CDDCMonitor_LCDT4Series() override;

    // Whether a table of this many entries can be loaded: a multiple of
    // three, one full chunk per channel at least, and channels that fit
    // between the monitor's channel tables.
    static bool IsUsableLUTSize(size_t size);

    int GetLUTSize(uint *size) override;
    int IsAdjustedToSettings(CAdjustValue *result, CTargetValue *target) override;
    bool CanCreateCalibration(CAdjustValue *result, CTargetValue *target) override;
    int SetToAdjustValue(CAdjustValue *result, CTargetValue *target) override;
    int ResetMonitorToKnownState() override;
    int ConfigureMonitorControlsForCalibration(CTargetValue *target) override;
    int SetOSDLock(uint mode) override;
    int GetPowerOnHours(double *hours) override;
    int WriteGammaTableData(std::vector<uint> &table) override;
    int SetGammaTable(std::vector<uint> &table) override;
    int VerifyGammaTableData(std::vector<uint> table) override;
    int SetMonitorToLinearLUT(bool flag) override;
    int CalculateCorrectionLUT(CAdjustValue *result, CTargetValue *target,
                               std::vector<uint> &table) override;
    int GetDisplayStablizationTime(double luminance) override;
    int GetSetMonitorToLinearLUTSteps(bool flag) override;

protected:
    // Sets the series' settle times; the HX series waits longer after a
    // gamma-table refresh than this series does.
    explicit CDDCMonitor_LCDT4Series(int refreshGammaTableMs);

    // The CSC gain, or the default top when it cannot be read or reads 0.
    uint CSCGainOrDefault();
    // Runs the steps in order with one progress step after each; the first
    // error ends the run and is returned.
    int StepsWithProgress(std::initializer_list<std::function<int()>> steps);

private:
    // The power-on counters as GetPowerOnHours reports them; it keeps what
    // was read as the known hours.
    int ReadPowerOnHours(double *hours);
};
