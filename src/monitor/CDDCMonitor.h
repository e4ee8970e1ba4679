#pragma once
// The monitor object: everything the program does with one physical monitor
// goes through this class. It owns the DDC/CI connection (reached through a
// display's I2C bus or through the monitor's USB bridge), keeps the monitor's
// EDID and capability string with their decoded forms, and offers a wide
// virtual interface: identity, raw VCP access, the monitor controls, progress
// reporting, the monitor's look-up tables and target tone curve, and the
// calibration-state and stored-settings operations.
//
// The series classes override parts of it; every caller holds a CDDCMonitor
// pointer and never asks for the concrete class. Operations call one another
// through the virtual interface, so an override changes every base operation
// that uses it. Statuses: 0 success, negative failure (-6 not connected,
// -1027 code not supported, -11..-40 the protocol layers' codes).

#include "CDecompile_EDID.h"
#include "CParseCapabilityString.h"
#include "I2CBus.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class CAdjustValue;
class CCIEYxy;
class CSpline;
class CTargetValue;
class ORV_factory_ddc_control;

// One element of a batch of VCP reads and writes (SetGetVCPList). Callers
// build the list, pass it, and read value, maximum and result afterwards.
struct set_get_vcp_list {
    bool set = false;             // true: write value; false: read
    bool onlyIfDifferent = false; // write: read first, write only when it differs
    int code = 0;                 // page * 256 + code within the page
    uint value = 0;               // in: value to write; out: current value
    uint maximum = 0;             // out (reads): the maximum
    int result = 0;               // out: 0, -1027 or a transport error

    static set_get_vcp_list read(int code);
    static set_get_vcp_list write(int code, uint value, bool onlyIfDifferent = false);
};

class CDDCMonitor : public QObject {
    Q_OBJECT

public:
    // How far the monitor can emulate another colour gamut.
    enum typeColorGamutAdjustability {
        kColorGamutNotAdjustable = 0,
        kColorGamutLimitedsRGB = 1,
        kColorGamutLimited = 2,
        kColorGamutFree = 3,
    };

    // The sizes of the stored identity data.
    static constexpr uint kEDIDSize = 256;
    static constexpr uint kCapabilityStringSize = 8192;
    // Interface numbers with a bit of this mask set name a USB bridge:
    // 0xFF00 is bridge 0, 0xFF01 bridge 1 ...
    static constexpr ulong kUSBInterfaceMask = 0xFF00;

    CDDCMonitor();
    ~CDDCMonitor() override;

    // ---- connection, EDID and capability string ---------------------------
    virtual int InitInterface(uint displayID, ulong interfaceIndex);
    virtual int InitMonitor();
    virtual int SetVerbosity(int level);
    virtual int ReadEDID();
    virtual int GetEDID(uchar *buffer, uint length);
    virtual int SetEDID(uchar *data, uint length);
    virtual bool GetIsUSBConnection();
    virtual void SetIsUSBConnection(bool usb);
    virtual void SetUSBMonitorSerialNumber(QString serial);
    virtual void SetUSBMonitorModelName(QString name);
    virtual int ReadCapabilityString();
    virtual int SetCapabilityString(const char *text);
    virtual int GetCapabilityString(char *buffer, uint size);
    virtual int GetLUTSize(uint *size);
    virtual int SaveCurrentSettings();
    virtual int SaveGammaTable();
    virtual int RefreshGammaTable();

    // ---- identity ------------------------------------------------------------
    virtual int GetMonitorSize(uint *width, uint *height);
    virtual int GetMonitorVendorProductID(ulong *id);
    virtual QString GetMonitorSerialNumber();
    virtual QString GetMonitorModelName();
    virtual int GetMonitorEDIDColorCoordinates(CCIEYxy *primaries);
    virtual int GetMonitorMPUVersion(char *buffer);
    virtual QString GetMonitorMPUVersion();
    virtual int GetMonitorMPUVersion(uint *a, uint *b, uint *c, uint *d);

    // ---- what was read when the monitor was detected ---------------------------
    // The windows show these without talking to the monitor: the GUI thread
    // must not wait for DDC/CI replies. The firmware version from the
    // capability string the object holds (empty without one); the power-on
    // hours handed over from the detection or read since (GetPowerOnHours
    // on a calibration thread), -1 when unknown.
    QString GetKnownMPUVersion() const;
    double GetKnownPowerOnHours() const { return m_KnownPowerOnHours.load(); }
    void SetKnownPowerOnHours(double hours) { m_KnownPowerOnHours.store(hours); }

    // ---- raw VCP access --------------------------------------------------------
    virtual int GetVCP(uint code, uint *current, uint *maximum, uchar *result, uchar *type);
    virtual int GetVCP(uint code, uint *current, uint *maximum);
    virtual int GetVCP(uint code, uint *current);
    virtual int SetVCP(uint code, uint *value, uint *maximum, uchar *result, uchar *type);
    virtual int SetVCP(uint code, uint *value);

    // ---- calibration state -------------------------------------------------------
    virtual int IsAdjustedToSettings(CAdjustValue *result, CTargetValue *target);
    virtual bool CanCreateCalibration(CAdjustValue *result, CTargetValue *target);
    virtual int SetToAdjustValue(CAdjustValue *result, CTargetValue *target);
    virtual int CollectMonitorSpecificData(CAdjustValue *result);
    virtual int CanRestoreMonitorSpecificData(CAdjustValue *result);
    virtual int RestoreMonitorSpecificData(CAdjustValue *result);
    virtual int ResetMonitorToKnownState();
    virtual int BeginColorAdjustment();
    virtual int EndColorAdjustment();
    virtual int ConfigureMonitorControlsForsRGBMode();
    virtual int ConfigureMonitorControlsForCalibration(CTargetValue *target);

    // ---- controls ----------------------------------------------------------------
    virtual int GetBrightness(uint *current, uint *maximum);
    virtual int GetContrast(uint *current, uint *maximum);
    virtual int GetRedGain(uint *current, uint *maximum);
    virtual int GetGreenGain(uint *current, uint *maximum);
    virtual int GetBlueGain(uint *current, uint *maximum);
    virtual int SetBrightness(uint value);
    virtual int SetContrast(uint value);
    virtual int SetRedGain(uint value);
    virtual int SetGreenGain(uint value);
    virtual int SetBlueGain(uint value);
    virtual int GetColorPreset(uint *current, uint *maximum);
    virtual int SetColorPreset(uint value);
    virtual int GetGammaMode(uint *current, uint *maximum);
    virtual int SetGammaMode(uint value);
    virtual int ResetColor();
    virtual int SetOSDLock(uint mode);
    virtual int SetInternalColorFeedback(bool on);
    virtual int GetCSCGain(uint *gain);
    virtual bool IsResetProgrammableGammaSupported();
    virtual int ResetProgrammableGamma();
    virtual int GetPowerOnHours(double *hours);

    // ---- look-up tables ----------------------------------------------------------
    virtual int WriteGammaTableData(std::vector<uint> &table);
    virtual int SetGammaTable(std::vector<uint> &table);
    virtual int VerifyGammaTableData(std::vector<uint> table);

    // ---- waiting and progress ------------------------------------------------------
    virtual int WaitMS(int ms);
    virtual void Broadcast_Message(uint type, uint value);

    virtual int SetGammaToNative();
    virtual int SetMonitorToLinearLUT(bool flag);
    virtual int NeedUpdateLinearLUTonGainChange();
    virtual int SetMaximumRGBGain(uint *redMax, uint *greenMax, uint *blueMax);
    virtual int SetMaximumRGBGain();
    virtual int CalculateCorrectionLUT(CAdjustValue *result, CTargetValue *target,
                                       std::vector<uint> &table);
    virtual int MonitorUsesRGBGainsForIntensity();
    virtual ORV_factory_ddc_control *GetDDCCIControlObject();
    virtual int GetDisplayStablizationTime(double luminance);
    virtual int SetPowerLEDColor(uint value);
    virtual int GetPowerLEDColor(uint *current);
    virtual int SetPowerLEDBrightness(uint value);
    virtual int GetPowerLEDBrightness(uint *current, uint *maximum);
    virtual int SetColorCompOnOff(uint value);
    virtual int GetColorCompOnOff(uint *current);
    virtual int SetColorCompLevel(uint value);
    virtual int GetColorCompLevel(uint *current, uint *maximum);
    virtual int SetAutoLumianceMode(uint mode);
    virtual int GetAutoLumianceMode(uint *mode);
    virtual int IsAutoLumianceModeSupported();
    virtual int SetMonitorToLinearLUTUsingRGBGains();
    virtual int GetSetGammaToNativeSteps();
    virtual int GetSetMonitorToLinearLUTSteps(bool flag);
    virtual int GetIsDigitalVideoInterface();
    virtual bool IsAutoContrastSupported();
    virtual int PerformAutoContrast();
    virtual int SetRGBGainOperationMode(uint mode);
    virtual int InitLUTUsingRGBGainValues();
    virtual int MonitorNeedsLinearLUTsSendingInAutoLuminanceMode();
    virtual int MonitorHasRGBGainControlsInNativeGammaMode();
    virtual int MonitorSupportsAutoLuminanceInNativeGammaMode();
    virtual int MonitorAlwaysUsesLUTs();
    virtual int MonitorSupportsColorAdjustmentInNativeGammaMode();
    virtual int MonitorSupportsColorAdjustmentInsRGBGamutMode();

    // ---- stored settings -------------------------------------------------------------
    virtual int SetGetVCPList(QList<set_get_vcp_list> *list, bool progress);
    virtual int SetLuminanceTargetValue(uint value);
    virtual int GetLuminanceTargetValue(uint *current, uint *maximum);

    // ---- target tone curve -------------------------------------------------------------
    virtual int CalculateTargetGammaTable(CSpline red, CSpline green, CSpline blue,
                                          std::vector<uint> &table);
    virtual int SetTargetGammaTable(std::vector<uint> &table);
    virtual int WriteTargetGammaLUTData(std::vector<uint> &table);

    // ---- picture-mode names, profile id, sensor correction ------------------------------
    virtual int get_picture_mode_programmable_name(uchar mode, char *name);
    virtual int set_picture_mode_programmable_name(uchar mode, char *name);
    virtual int UpdateEEPROMProfileID(uint profileID);
    virtual int NoInternalLuminanceSensor();
    virtual int GetBacklightOnTime30Min(uint *value);
    virtual bool IsBacklightOnTime30MinSupported();
    virtual typeColorGamutAdjustability GetSupportedColorGamutMode();
    virtual int ReadSensorCorrectionBackupData();
    virtual int GetColorSensorCorrectionMatrix(ushort sensorType, ushort sensorModel,
                                               QString serial, double *matrix);
    virtual int IsUpdateFactoryCalibrationSupported();
    virtual int IsCreateSensorCorrectionMatrixSupported();

    // ---- six-axis colour ------------------------------------------------------------------
    virtual int IsSixAxisColorSupported();
    virtual int ReadSixAxisColorSettings();
    virtual int RestoreSixAxisColorSettings();
    virtual int GetSixAxisColorHueValue(uint axis, uint &current, uint &maximum);
    virtual int GetSixAxisColorSaturationValue(uint axis, uint &current, uint &maximum);
    virtual int GetSixAxisColorOffsetValue(uint axis, uint &current, uint &maximum);
    virtual int SetSixAxisColorHueValue(uint axis, uint &value);
    virtual int SetSixAxisColorSaturationValue(uint axis, uint &value);
    virtual int SetSixAxisColorOffsetValue(uint axis, uint &value);
    virtual int GetSixAxisControlOffsetValues(int &hue, int &offset, int &saturation);
    virtual int ReadSixAxisControlDefaultAndMaxValues();

    virtual int WaitForColorProcessingFinished();
    virtual int ResetData();

    uint GetRGBGainOperationMode() const { return m_RGBGainOperationMode; }

signals:
    // Progress of long operations: type 2 announces a task of value steps,
    // type 1 with value 0 reports one step done.
    void Broadcast_MessageOut(uint type, uint value);

protected:
    // The waits after particular commands, in milliseconds; the series
    // classes set their own in their constructors.
    struct SettleTimes {
        int saveSettings = 1000;
        int saveGammaTable = 1000;
        int refreshGammaTable = 1000;
        int rgbGain = 1000;
        int colorPreset = 1000;
        int gammaMode = 1000;
        int resetColor = 1000;
    };

    // Progress helpers: one step done; a task of count steps begins.
    void ProgressStep() { Broadcast_Message(1, 0); }
    void ProgressTask(uint count) { Broadcast_Message(2, count); }
    // The capability string is read once per connection, when first needed.
    bool CapabilityStringIsEmpty() const { return m_CapabilityString[0] == '\0'; }
    // 0 when a capability string was stored earlier or is read now and
    // parses; else the read's or the parser's error.
    int ReadCapabilityStringIfEmpty();
    // Reads back 16 entries at entry sample of each channel table (monitor
    // offsets 0, 0x400, 0x800) and compares them with the table: 1 equal,
    // 0 different, -1 for a table too short for the sample, or the read error.
    int VerifyGammaTableSample(const std::vector<uint> &table, uint sample);

    uint m_RGBGainOperationMode = 0;
    ORV_factory_ddc_control *m_ControlObject = nullptr;
    uchar m_EDID[kEDIDSize] = {};
    char m_CapabilityString[kCapabilityStringSize] = {};
    CDecompile_EDID m_EDIDDecoder;
    CParseCapabilityString m_CapabilityParser;
    int m_Verbosity = 3;
    SettleTimes m_SettleTimes;
    bool m_EDIDDecoded = false;
    bool m_SixAxisRead = false;
    uint m_SixAxisHueCurrent[6] = {};
    uint m_SixAxisOffsetCurrent[6] = {};
    uint m_SixAxisSaturationCurrent[6] = {};
    uint m_SixAxisHueMaximum[6] = {};
    uint m_SixAxisOffsetMaximum[6] = {};
    uint m_SixAxisSaturationMaximum[6] = {};
    int m_SixAxisHueCenter = -1;
    int m_SixAxisOffsetCenter = -1;
    int m_SixAxisSaturationCenter = -1;
    std::unique_ptr<pz::II2CBus> m_I2CConnection;
    bool m_IsUSBConnection = false;
    QString m_USBSerialNumber;
    QString m_USBModelName;
    std::atomic<double> m_KnownPowerOnHours{-1.0};

    // Read and write one control by code; a set waits settleMs afterwards
    // (also after a failed command), none when negative.
    int GetControl(uint code, uint *current, uint *maximum);
    int GetControlCurrent(uint code, uint *current);
    int SetControl(uint code, uint value, int settleMs = -1);

private:
    // Drops the control object, then closes the bus it talked through.
    void CloseConnection();
    // The six-axis groups: read every listed code, or write the saved values back.
    int ReadSixAxisGroup(uint firstCode, uint *current, uint *maximum);
    int RestoreSixAxisGroup(uint firstCode, const uint *current);
    int GetSixAxisValue(uint axis, const uint *current, const uint *maximum, uint &outCurrent,
                        uint &outMaximum);
    int SetSixAxisValue(uint firstCode, uint axis, uint &value);
    // Performs one element of SetGetVCPList.
    int PerformVCPListElement(set_get_vcp_list &element);
    // The wait after a batch write that was sent, in milliseconds (0: none).
    int VCPListWaitAfterWrite(int code, uint value, bool onlyIfDifferent) const;

    Q_DISABLE_COPY(CDDCMonitor)
};
