// The monitor object's calibration state and stored settings: the hooks the
// series classes give their behaviour, the batch VCP operation through which
// they drive the monitor, and the picture-mode names.

#include "CDDCMonitor.h"

#include "ORV_factory_ddc_control.h"

#include <cstring>

namespace {

constexpr int kNotConnected = -6;
constexpr int kUnsupportedCode = -1027;

constexpr int kVcpColorPreset = 0x14;
constexpr int kVcpGammaMode = 0x268;
constexpr int kVcpGammaValue = 0x2E8;
constexpr int kVcpLuminanceTarget = 0x2B3;
constexpr int kVcpColorProcessing = 0x1067;
constexpr uint kColorProcessingHold = 3;
constexpr uint kColorProcessingStart = 1;

// Picture-mode names are 13 characters on the wire.
constexpr int kPictureModeNameLength = 13;

} // namespace

// ---- calibration state hooks ----------------------------------------------------

int CDDCMonitor::ResetMonitorToKnownState() { return 0; }

int CDDCMonitor::ConfigureMonitorControlsForCalibration(CTargetValue *)
{
    for (int step = 0; step < 3; ++step)
        ProgressStep();
    return 0;
}

int CDDCMonitor::ConfigureMonitorControlsForsRGBMode()
{
    for (int step = 0; step < 3; ++step)
        ProgressStep();
    return 0;
}

int CDDCMonitor::BeginColorAdjustment() { return 0; }

int CDDCMonitor::EndColorAdjustment()
{
    for (int step = 0; step < 3; ++step)
        ProgressStep();
    return 0;
}

int CDDCMonitor::IsAdjustedToSettings(CAdjustValue *, CTargetValue *) { return 0; }

bool CDDCMonitor::CanCreateCalibration(CAdjustValue *, CTargetValue *) { return false; }

int CDDCMonitor::SetToAdjustValue(CAdjustValue *, CTargetValue *) { return 0; }

int CDDCMonitor::CollectMonitorSpecificData(CAdjustValue *) { return 0; }

int CDDCMonitor::CanRestoreMonitorSpecificData(CAdjustValue *) { return 0; }

int CDDCMonitor::RestoreMonitorSpecificData(CAdjustValue *) { return 0; }

int CDDCMonitor::SetInternalColorFeedback(bool) { return 0; }

int CDDCMonitor::MonitorUsesRGBGainsForIntensity() { return 0; }

int CDDCMonitor::GetDisplayStablizationTime(double) { return 0; }

int CDDCMonitor::WaitForColorProcessingFinished() { return 0; }

// ---- batch VCP access ------------------------------------------------------------

int CDDCMonitor::SetGetVCPList(QList<set_get_vcp_list> *list, bool progress)
{
    if (!list)
        return -1;
    if (progress)
        ProgressTask(static_cast<uint>(list->size()));
    for (set_get_vcp_list &element : *list) {
        PerformVCPListElement(element);
        if (progress)
            ProgressStep();
        if (element.result != 0 && element.result != kUnsupportedCode)
            return element.result;
    }
    return 0;
}

int CDDCMonitor::PerformVCPListElement(set_get_vcp_list &element)
{
    const uint code = static_cast<uint>(element.code);
    if (!element.set) {
        element.result = GetVCP(code, &element.value, &element.maximum);
        return element.result;
    }
    const uint requested = element.value;
    if (element.onlyIfDifferent) {
        uint current = 0;
        uint maximum = 0;
        const int read = GetVCP(code, &current, &maximum);
        if (read != 0) {
            element.result = read;
            return read;
        }
        // Starting the colour engine needs a moment after the batch's hold.
        if (element.code == kVcpColorProcessing && requested == kColorProcessingStart)
            WaitMS(500);
        // The luminance target is always sent: writing it makes the monitor
        // recompute even when the value is unchanged.
        if (current == requested && element.code != kVcpLuminanceTarget) {
            element.result = 0;
            return 0;
        }
    }
    element.result = SetVCP(code, &element.value);
    const int wait = VCPListWaitAfterWrite(element.code, requested, element.onlyIfDifferent);
    if (wait > 0)
        WaitMS(wait);
    return element.result;
}

int CDDCMonitor::VCPListWaitAfterWrite(int code, uint value, bool onlyIfDifferent) const
{
    switch (code) {
    case kVcpColorPreset:
        return 2000;
    case kVcpGammaMode:
    case kVcpGammaValue:
        return m_SettleTimes.gammaMode;
    case kVcpLuminanceTarget:
        return 1000;
    case 0x1050:
        return 3500;
    case 0x1051:
    case 0x1054:
    case 0x105B:
    case 0x105C:
    case 0x105F:
    case 0x1069:
        return 2000;
    case kVcpColorProcessing:
        if (value == kColorProcessingHold)
            return 0;
        return onlyIfDifferent ? 5000 : 4000;
    default:
        return 0;
    }
}

// ---- picture-mode names, profile id, sensor correction --------------------------------

int CDDCMonitor::set_picture_mode_programmable_name(uchar mode, char *name)
{
    if (!m_ControlObject)
        return kNotConnected;
    // The command takes exactly 13 characters: a shorter name is padded
    // with spaces rather than read past its end.
    char padded[kPictureModeNameLength + 1];
    std::memset(padded, ' ', kPictureModeNameLength);
    padded[kPictureModeNameLength] = '\0';
    if (name) {
        for (int i = 0; i < kPictureModeNameLength && name[i] != '\0'; ++i)
            padded[i] = name[i];
    }
    return m_ControlObject->set_picture_mode_programmable_name(mode, padded);
}

int CDDCMonitor::get_picture_mode_programmable_name(uchar mode, char *name)
{
    if (!m_ControlObject)
        return kNotConnected;
    return m_ControlObject->get_picture_mode_programmable_name(mode, name);
}

int CDDCMonitor::UpdateEEPROMProfileID(uint) { return 0; }

int CDDCMonitor::NoInternalLuminanceSensor() { return 0; }

CDDCMonitor::typeColorGamutAdjustability CDDCMonitor::GetSupportedColorGamutMode()
{
    return kColorGamutNotAdjustable;
}

int CDDCMonitor::ReadSensorCorrectionBackupData() { return 0; }

int CDDCMonitor::GetColorSensorCorrectionMatrix(ushort, ushort, QString, double *)
{
    return -1;
}

int CDDCMonitor::IsUpdateFactoryCalibrationSupported() { return 0; }

int CDDCMonitor::IsCreateSensorCorrectionMatrixSupported() { return 0; }
