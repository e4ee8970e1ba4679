#pragma once
// The Summary tab and the gamut graph's data, worked out from a target, a
// result and what is known of the monitor, without widgets: the panel copies
// the texts into its labels and hands the gamut data to the graph.
//
// Numbers are written with a point whatever the locale; a value that is
// missing, zero or cannot be computed (not finite included) reads "N/A".

#include "CCIEXYZ.h"
#include "ReportFlavor.h"

#include <QString>

class CTargetValue;

// The Summary's value labels, by object name (summaryFieldName).
enum SummaryField {
    // Reset to "N/A" before every report.
    kModelName,
    kSerialNumber,
    kFirmwareVersion,
    kCurrentUsage,
    kLastCalibration,
    kCalibrationDate,
    kProfileFileName,
    kProfileDescription,
    kContrastRatioTarget,
    kContrastRatioCalibrated,
    kBlackLevelTarget,
    kIntensityTarget,
    kBlackLevelCalibrated,
    kIntensityCalibrated,
    kGammaCurveTarget,
    kWhitePointCalibratedK,
    kWhitePointCalibratedXy,
    kWhitePointDeltaE,
    kSensorModelName,
    kSensorSerialNumber,
    kCalibrationSteps,
    kPrimariesSource,
    // Written by every report.
    kWhitePointTargetK,
    kWhitePointTargetXy,
    kPrimaryRedXy,
    kPrimaryGreenXy,
    kPrimaryBlueXy,
    kSummaryFieldCount
};
constexpr int kResetSummaryFieldCount = kPrimariesSource + 1;

const char *summaryFieldName(SummaryField field);

// What the live monitor answered (information window).
struct LiveMonitorReading {
    bool present = false;
    QString modelName;
    QString serial;
    QString firmware;
    double hours = -1.0;  // -1 when the monitor did not answer
    bool hasPrimaries = false;
    CCIEYxy primaries[3]; // red, green, blue
};

// What the summary shows of the monitor: model name, serial and, when the
// report uses factory primaries, the primaries from the EDID the monitor
// object holds; firmware and power-on hours as the detection read them.
// Nothing here talks to the monitor. A null monitor gives a reading that is
// not present.
LiveMonitorReading readLiveMonitor(CDDCMonitor *monitor, bool factoryPrimaries);

// Whether the report takes the monitor's own primaries: the preference
// (0 sensor, 1 factory, 2 automatic = as the result recorded) says factory.
bool usesFactoryPrimaries(unsigned char primarySourcePreference, const CAdjustValue &result);

struct SummaryView {
    QString texts[kSummaryFieldCount];
    bool deltaEWarning = false;

    // The gamut graph's data and the options that have something to show.
    bool targetGamutShown = false;
    _CIExy targetGamut[3] = {{0, 0}, {0, 0}, {0, 0}};
    bool displayGamutValid = false;
    CCIEYxy displayGamut[4]; // red, green, blue, white
    bool targetWhiteShown = false;
    _CIExy targetWhite = {0, 0};

    // Enabled states of the option boxes.
    bool targetGamutBox = false;
    bool displayGamutBox = false;
    bool targetWhiteBox = false;
    bool curvesTargetBox = false;
    bool curvesUncalibratedBox = false;
    bool curvesCalibratedBox = false;
    bool curvesCorrectionBox = false;
};

struct SummaryInputs {
    const CTargetValue *target = nullptr;
    const CAdjustValue *result = nullptr;
    ReportFlavor flavor = ReportFlavor::InformationWindow;
    unsigned char primarySourcePreference = 2;
    LiveMonitorReading live;   // information window
    MonitorSnapshot snapshot;  // browser
};

SummaryView buildSummary(const SummaryInputs &in);

// The white point ΔE with two decimals, "N/A" when it is not finite;
// warning is set above 3.0.
QString whitePointDeltaEText(double deltaE, bool &warning);
