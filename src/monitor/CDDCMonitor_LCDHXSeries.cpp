#include "CDDCMonitor_LCDHXSeries.h"

#include "CAdjustValue.h"
#include "CColorCalcUtils.h"
#include "CTargetValue.h"
#include "ORV_factory_ddc_control.h"

#include <cmath>

namespace {

// Colour-engine codes (page 0x10) and the other codes the batches use.
constexpr int kVcpColorPreset = 0x14;
constexpr int kVcpAutoContrast = 0x233;
constexpr int kVcpCalibrationSwitch = 0x254;
constexpr int kVcpGammaMode = 0x268;
constexpr int kVcpGammaValue = 0x2E8;
constexpr int kVcpLuminanceTarget = 0x2B3;
constexpr int kVcpCalibration66 = 0x66;
constexpr int kVcpProfileKey1 = 0x1050;
constexpr int kVcpProfileKey2 = 0x1051;
constexpr int kVcpWhiteX = 0x1052;
constexpr int kVcpWhiteY = 0x1053;
constexpr int kVcpBlackLevel = 0x1054;
constexpr int kVcpGamutFirst = 0x1055;   // 0x1055..0x105A: Rx Ry Gx Gy Bx By
constexpr int kVcp105B = 0x105B;
constexpr int kVcp105C = 0x105C;
constexpr int kVcpRestoreMarker = 0x105D;
constexpr int kVcp105F = 0x105F;
constexpr int kVcpCustomGamut = 0x1062;
constexpr int kVcpProcessingControl = 0x1067;
constexpr int kVcp1069 = 0x1069;
constexpr int kVcp106B = 0x106B;
constexpr int kVcpProcessingState = 0x1097;

constexpr uint kPresetNativeWhite = 2;
constexpr uint kPresetTargetWhite = 11;
constexpr uint kProcessingHold = 3;
constexpr uint kProcessingStart = 1;

constexpr int kProcessingFirstWait = 6000;
constexpr int kProcessingPollWait = 4000;
constexpr int kProcessingPolls = 11;
constexpr int kProcessingFixedWait = 7000;

constexpr int kUnsupportedCode = -1027;

// The colour-engine batches write only where the monitor differs.
set_get_vcp_list writeElement(int code, uint value, bool onlyIfDifferent = true)
{
    return set_get_vcp_list::write(code, value, onlyIfDifferent);
}

set_get_vcp_list readElement(int code) { return set_get_vcp_list::read(code); }

// A stored 16-bit register value as the monitor reports it.
uint registerValue(qint16 stored) { return quint16(stored); }

// Thousandths of a chromaticity, or false for a value that is no
// chromaticity (outside 0..1 or not a number).
bool toThousandths(double v, quint16 &out)
{
    if (!(v >= 0.0 && v <= 1.0))
        return false;
    out = quint16(v * 1000.0 + 0.5);
    return true;
}

// The gamma-mode register (and for mode 9 the gamma-value register) a
// target's tone curve asks for.
struct ToneCurveRegisters {
    bool any = false;
    uint mode = 0;
    bool hasValue = false;
    uint value = 0;
};

ToneCurveRegisters toneCurveRegisters(const CTargetValue &target)
{
    ToneCurveRegisters r;
    switch (target.m_GammaCurveType) {
    case CTargetValue::kCurveNative:
        r = {true, 9, true, 170};
        break;
    case CTargetValue::kCurveGamma: {
        // (gamma - 0.5) x 10 + 0.5 truncated, times ten: 170 for 2.2.
        const double steps = (target.m_Gamma - 0.5) * 10.0 + 0.5;
        const uint value = steps >= 1.0 && steps < 6553.0 ? uint(steps) * 10 : 0;
        r = {true, 9, true, value};
        break;
    }
    case CTargetValue::kCurveDICOM:
        r = {true, 5, false, 0};
        break;
    case CTargetValue::kCurveCustom:
        r.any = true;
        r.mode = target.m_CustomCurveType == CTargetValue::kCustomSRGB    ? 11
               : target.m_CustomCurveType == CTargetValue::kCustomLStar ? 12
                                                                         : 6;
        break;
    default:
        break;
    }
    return r;
}

quint32 le32(const QByteArray &b, int at)
{
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8
         | quint32(uchar(b[at + 2])) << 16 | quint32(uchar(b[at + 3])) << 24;
}

quint16 le16(const QByteArray &b, int at)
{
    return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8);
}

void putLe32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

void putLe16(QByteArray &b, int at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

// Sensor-correction slot layout.
constexpr int kSlotMatrix = 0;
constexpr int kSlotText = 18;
constexpr int kSlotTextLength = 14;
constexpr int kSlotType = 32;
constexpr int kSlotModel = 34;
constexpr int kSlotSerial = 36;
constexpr int kSlotSerialLength = 12;

color_sensor_eeprom_data_table_entry unpackSlot(const QByteArray &slot)
{
    color_sensor_eeprom_data_table_entry e;
    for (int i = 0; i < 9; ++i)
        e.matrix[i] = qint16(le16(slot, kSlotMatrix + 2 * i));
    for (int i = 0; i < kSlotTextLength; ++i)
        e.text[i] = slot[kSlotText + i];
    e.sensorType = le16(slot, kSlotType);
    e.sensorModel = le16(slot, kSlotModel);
    for (int i = 0; i < kSlotSerialLength; ++i)
        e.serial[i] = slot[kSlotSerial + i];
    return e;
}

QByteArray packSlot(const color_sensor_eeprom_data_table_entry &e)
{
    QByteArray slot(CDDCMonitor_LCDHXSeries::kSensorSlotSize, 0);
    for (int i = 0; i < 9; ++i)
        putLe16(slot, kSlotMatrix + 2 * i, quint16(e.matrix[i]));
    for (int i = 0; i < kSlotTextLength; ++i)
        slot[kSlotText + i] = e.text[i];
    putLe16(slot, kSlotType, e.sensorType);
    putLe16(slot, kSlotModel, e.sensorModel);
    for (int i = 0; i < kSlotSerialLength; ++i)
        slot[kSlotSerial + i] = e.serial[i];
    return slot;
}

QString slotSerial(const color_sensor_eeprom_data_table_entry &e)
{
    return QString::fromLatin1(e.serial, int(qstrnlen(e.serial, kSlotSerialLength))).trimmed();
}

} // namespace

// The colour engine needs longer after a gamma-table refresh.
CDDCMonitor_LCDHXSeries::CDDCMonitor_LCDHXSeries() : CDDCMonitor_LCDT4Series(3000) {}

CDDCMonitor_LCDHXSeries::~CDDCMonitor_LCDHXSeries() = default;

int CDDCMonitor_LCDHXSeries::ReadEEPROMBytes(uint address, int length, QByteArray &out)
{
    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    if (!control)
        return -6;
    QByteArray bytes(length, 0);
    const int status =
        control->ReadEEPROM(reinterpret_cast<uchar *>(bytes.data()), address, uint(length));
    if (status == 0)
        out = bytes;
    return status;
}

int CDDCMonitor_LCDHXSeries::WriteEEPROMBytes(uint address, const QByteArray &bytes)
{
    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    if (!control)
        return -6;
    QByteArray copy = bytes;
    return control->WriteEEPROM(reinterpret_cast<uchar *>(copy.data()), address,
                                uint(copy.size()));
}

// --- identity and primaries -------------------------------------------------

bool CDDCMonitor_LCDHXSeries::IsHX520R()
{
    return GetMonitorModelName().contains(QLatin1String("HX520R"), Qt::CaseInsensitive);
}

int CDDCMonitor_LCDHXSeries::GetNativePrimaries(color_primaries *primaries)
{
    if (!primaries)
        return -1;
    primaries->valid = false;
    QByteArray records;
    const int status = ReadEEPROMBytes(kNativeTableAddress, 3 * kGammaGamutRecordSize, records);
    if (status != 0)
        return status;
    quint16 *xy[3][2] = {{&primaries->redX, &primaries->redY},
                         {&primaries->greenX, &primaries->greenY},
                         {&primaries->blueX, &primaries->blueY}};
    for (int p = 0; p < 3; ++p) {
        const int at = p * kGammaGamutRecordSize + 4;
        const quint64 X = le32(records, at), Y = le32(records, at + 4), Z = le32(records, at + 8);
        // 64-bit: three large counts cannot overflow the sum.
        const quint64 S = X + Y + Z;
        if (S == 0)
            continue;
        *xy[p][0] = quint16(double(X) * 1000.0 / double(S) + 0.5);
        *xy[p][1] = quint16(double(Y) * 1000.0 / double(S) + 0.5);
    }
    primaries->valid = true;
    return 0;
}

int CDDCMonitor_LCDHXSeries::GetMonitorEDIDColorCoordinates(CCIEYxy *primaries)
{
    if (!primaries)
        return -1;
    if (GetNativePrimaries(&m_Primaries) == 0 && m_Primaries.valid) {
        primaries[0] = CCIEYxy(1.0, m_Primaries.redX / 1000.0, m_Primaries.redY / 1000.0);
        primaries[1] = CCIEYxy(1.0, m_Primaries.greenX / 1000.0, m_Primaries.greenY / 1000.0);
        primaries[2] = CCIEYxy(1.0, m_Primaries.blueX / 1000.0, m_Primaries.blueY / 1000.0);
        return 0;
    }
    return CDDCMonitor_LCDT4Series::GetMonitorEDIDColorCoordinates(primaries);
}

// --- calibration state ------------------------------------------------------

int CDDCMonitor_LCDHXSeries::ResetMonitorToKnownState()
{
    QList<set_get_vcp_list> batch = {
        writeElement(kVcpLuminanceTarget, 160), writeElement(kVcpGammaMode, 9),
        writeElement(kVcpGammaValue, 170),      writeElement(kVcpWhiteX, 313),
        writeElement(kVcpWhiteY, 329),          writeElement(kVcpProcessingControl, kProcessingStart),
    };
    return SetGetVCPList(&batch, true);
}

int CDDCMonitor_LCDHXSeries::ConfigureMonitorControlsForCalibration(CTargetValue *target)
{
    if (!target)
        return -1;
    const int type = target->m_ColorGamutType;
    if (type == CTargetValue::kGamutNative) {
        const int status = GetNativePrimaries(&m_Primaries);
        if (status != 0)
            return status;
    } else if (type >= 1 && type <= kPresetGamutCount) {
        const double *row = presets_gamuts[type - 1];
        color_primaries p;
        quint16 *out[6] = {&p.redX, &p.redY, &p.greenX, &p.greenY, &p.blueX, &p.blueY};
        for (int i = 0; i < 6; ++i)
            toThousandths(row[i], *out[i]);
        p.valid = true;
        m_Primaries = p;
    } else if (type == CTargetValue::kGamutCustom) {
        CCIEYxy red, green, blue;
        target->GetCustomColorGamutValues(red, green, blue);
        color_primaries p;
        // Values that are no chromaticity are refused before anything is sent.
        if (!toThousandths(red.x, p.redX) || !toThousandths(red.y, p.redY)
            || !toThousandths(green.x, p.greenX) || !toThousandths(green.y, p.greenY)
            || !toThousandths(blue.x, p.blueX) || !toThousandths(blue.y, p.blueY))
            return -1;
        p.valid = true;
        m_Primaries = p;
    } else if (!m_Primaries.valid) {
        // A gamut type this class does not know keeps the primaries last
        // used; with none known there is nothing sound to send.
        return -1;
    }

    const color_primaries &p = m_Primaries;
    QList<set_get_vcp_list> batch = {
        writeElement(kVcp105F, 1),
        writeElement(kVcp105B, 1),
        writeElement(kVcpProfileKey1, 5),
        writeElement(kVcpProfileKey2, 10),
        writeElement(kVcp106B, 3),
        writeElement(kVcp1069, 1),
        writeElement(kVcpCalibration66, 1),
        writeElement(kVcp105C, 1),
        writeElement(kVcpAutoContrast, 1),
        writeElement(kVcpCalibrationSwitch, 0),
        writeElement(kVcpGamutFirst + 0, p.redX),
        writeElement(kVcpGamutFirst + 1, p.redY),
        writeElement(kVcpGamutFirst + 2, p.greenX),
        writeElement(kVcpGamutFirst + 3, p.greenY),
        writeElement(kVcpGamutFirst + 4, p.blueX),
        writeElement(kVcpGamutFirst + 5, p.blueY),
        writeElement(kVcpCustomGamut, 1),
    };
    return SetGetVCPList(&batch, true);
}

int CDDCMonitor_LCDHXSeries::SetToAdjustValue(CAdjustValue *result, CTargetValue *target)
{
    if (!result || !target)
        return -1;
    const qint16 *stored = result->m_MonitorSpecificValues;
    QList<set_get_vcp_list> batch = {
        writeElement(kVcpProfileKey1, 5),
        writeElement(kVcpProfileKey2, 10),
        writeElement(kVcpProcessingControl, kProcessingHold),
        writeElement(kVcp106B, 3),
        writeElement(kVcp1069, 1),
        writeElement(kVcpAutoContrast, 1),
        writeElement(kVcpRestoreMarker, 31),
        writeElement(kVcpCalibrationSwitch, 0),
    };
    for (int i = 0; i < 6; ++i)
        batch.append(writeElement(kVcpGamutFirst + i, registerValue(stored[i])));
    if (target->m_WhitePoint.m_Native) {
        batch.append(writeElement(kVcpColorPreset, kPresetNativeWhite));
    } else {
        batch.append(writeElement(kVcpWhiteX, registerValue(stored[6])));
        batch.append(writeElement(kVcpWhiteY, registerValue(stored[7])));
        batch.append(writeElement(kVcpColorPreset, kPresetTargetWhite));
    }
    batch.append(writeElement(kVcpLuminanceTarget, result->m_Brightness));
    batch.append(writeElement(kVcpBlackLevel, registerValue(stored[8])));
    const ToneCurveRegisters tone = toneCurveRegisters(*target);
    if (tone.any) {
        batch.append(writeElement(kVcpGammaMode, tone.mode));
        if (tone.hasValue)
            batch.append(writeElement(kVcpGammaValue, tone.value));
    }

    int status = SetGetVCPList(&batch, true);
    if (status != 0)
        return status;
    WaitMS(2000);
    RefreshGammaTable();
    WaitMS(2000);
    uint start = kProcessingStart;
    if ((status = SetVCP(kVcpProcessingControl, &start)) != 0)
        return status;
    WaitMS(4000);
    if ((status = SaveCurrentSettings()) != 0)
        return status;
    ProgressStep();
    return 0;
}

int CDDCMonitor_LCDHXSeries::IsAdjustedToSettings(CAdjustValue *result, CTargetValue *target)
{
    if (!result || !target)
        return -1;
    static const int codes[] = {0x1055, 0x1056, 0x1057, 0x1058, 0x1059, 0x105A,
                                kVcpWhiteX, kVcpWhiteY, kVcpLuminanceTarget, kVcpBlackLevel,
                                kVcpColorPreset, kVcpGammaMode, kVcpGammaValue, kVcp106B,
                                kVcp1069, kVcpAutoContrast, kVcpCalibrationSwitch};
    QList<set_get_vcp_list> batch;
    for (int code : codes)
        batch.append(readElement(code));
    // A monitor that does not answer is not known to differ.
    if (SetGetVCPList(&batch, true) != 0)
        return -1;

    // 1 equal, 0 different, -1 the code could not be read.
    const auto compare = [&batch](int code, uint expected) {
        for (const set_get_vcp_list &e : batch)
            if (e.code == code)
                return e.result != 0 ? -1 : (e.value == expected ? 1 : 0);
        return -1;
    };
    struct Check {
        int code;
        uint expected;
    };
    QList<Check> checks;
    const qint16 *stored = result->m_MonitorSpecificValues;
    for (int i = 0; i < 6; ++i)
        checks.append({kVcpGamutFirst + i, registerValue(stored[i])});
    if (target->m_WhitePoint.m_Native) {
        checks.append({kVcpColorPreset, kPresetNativeWhite});
    } else {
        checks.append({kVcpWhiteX, registerValue(stored[6])});
        checks.append({kVcpWhiteY, registerValue(stored[7])});
        checks.append({kVcpColorPreset, kPresetTargetWhite});
    }
    checks.append({kVcpLuminanceTarget, result->m_Brightness});
    checks.append({kVcpBlackLevel, registerValue(stored[8])});
    const ToneCurveRegisters tone = toneCurveRegisters(*target);
    if (tone.any) {
        checks.append({kVcpGammaMode, tone.mode});
        if (tone.hasValue)
            checks.append({kVcpGammaValue, tone.value});
    }
    checks.append({kVcp106B, 3});
    checks.append({kVcp1069, 1});
    checks.append({kVcpAutoContrast, 1});
    checks.append({kVcpCalibrationSwitch, 0});

    for (const Check &c : checks) {
        const int same = compare(c.code, c.expected);
        if (same != 1)
            return same;
    }
    return 1;
}

bool CDDCMonitor_LCDHXSeries::CanCreateCalibration(CAdjustValue *result, CTargetValue *)
{
    return result && result->m_CalibrationDateTime.isValid();
}

int CDDCMonitor_LCDHXSeries::CalculateCorrectionLUT(CAdjustValue *, CTargetValue *,
                                                    std::vector<uint> &)
{
    // The monitor corrects internally.
    return 0;
}

int CDDCMonitor_LCDHXSeries::NoInternalLuminanceSensor() { return IsHX520R() ? 1 : 0; }
CDDCMonitor::typeColorGamutAdjustability CDDCMonitor_LCDHXSeries::GetSupportedColorGamutMode()
{
    return kColorGamutFree;
}
int CDDCMonitor_LCDHXSeries::IsUpdateFactoryCalibrationSupported() { return 1; }
int CDDCMonitor_LCDHXSeries::IsCreateSensorCorrectionMatrixSupported() { return 1; }
int CDDCMonitor_LCDHXSeries::IsSixAxisColorSupported() { return 1; }

int CDDCMonitor_LCDHXSeries::WaitForColorProcessingFinished()
{
    uint current = 0, maximum = 0;
    if (!m_ColorProcessingProbed) {
        // Only a definite answer decides: a monitor that is silent for the
        // moment is probed again on the next call.
        const int status = GetVCP(kVcpProcessingState, &current, &maximum);
        if (status == 0 || status == kUnsupportedCode) {
            m_ColorProcessingProbed = true;
            m_ColorProcessingSupported = status == 0;
        }
    }
    if (!m_ColorProcessingSupported) {
        WaitMS(kProcessingFixedWait);
        return 0;
    }
    WaitMS(kProcessingFirstWait);
    for (int poll = 0; poll < kProcessingPolls; ++poll) {
        if (poll > 0)
            WaitMS(kProcessingPollWait);
        if (GetVCP(kVcpProcessingState, &current, &maximum) != 0 || current == 0)
            break;
    }
    return 0;
}

// --- profile id -------------------------------------------------------------

// Where the record for a key pair goes and the count afterwards: the
// record with that key pair is replaced; otherwise the record is appended
// while fewer than ten are kept, and with ten the last is replaced. A
// count the table cannot hold starts the table afresh.
int CDDCMonitor_LCDHXSeries::ChooseProfileRecord(uchar key1, uchar key2, uint &address,
                                                 int &count)
{
    QByteArray header;
    int status = ReadEEPROMBytes(kProfileFlagAddress, 3, header);
    if (status != 0)
        return status;
    const uchar flag = uchar(header[0]);
    const int stored = uchar(header[2]);
    if (flag == 0 || flag == 0xFF) {
        QByteArray one(1, char(1));
        if ((status = WriteEEPROMBytes(kProfileFlagAddress, one)) != 0)
            return status;
        address = kProfileRecordsAddress;
        count = 1;
        return 0;
    }
    if (stored < 1 || stored > kMaxProfileRecords) {
        address = kProfileRecordsAddress;
        count = 1;
        return 0;
    }
    QByteArray records;
    if ((status = ReadEEPROMBytes(kProfileRecordsAddress, stored * kProfileRecordSize, records))
        != 0)
        return status;
    for (int r = 0; r < stored; ++r) {
        if (uchar(records[r * kProfileRecordSize]) == key1
            && uchar(records[r * kProfileRecordSize + 1]) == key2) {
            address = kProfileRecordsAddress + uint(r * kProfileRecordSize);
            count = stored;
            return 0;
        }
    }
    const int slot = stored < kMaxProfileRecords ? stored : kMaxProfileRecords - 1;
    address = kProfileRecordsAddress + uint(slot * kProfileRecordSize);
    count = slot + 1;
    return 0;
}

int CDDCMonitor_LCDHXSeries::UpdateEEPROMProfileID(uint profileID)
{
    uint key1 = 0, key2 = 0;
    int status = GetVCP(kVcpProfileKey1, &key1);
    if (status != 0)
        return status;
    if ((status = GetVCP(kVcpProfileKey2, &key2)) != 0)
        return status;
    uint address = 0;
    int count = 0;
    if ((status = ChooseProfileRecord(uchar(key1), uchar(key2), address, count)) != 0)
        return status;

    QByteArray record(kProfileRecordSize, 0);
    record[0] = char(key1 & 0xFF);
    record[1] = char(key2 & 0xFF);
    for (int i = 0; i < 4; ++i)
        record[2 + i] = char((profileID >> (24 - 8 * i)) & 0xFF);
    // The record first, then the count that makes it part of the table, so
    // a failed write never leaves a count that covers a missing record.
    if ((status = WriteEEPROMBytes(address, record)) != 0)
        return status;
    QByteArray countBytes(2, 0);
    countBytes[0] = 1;
    countBytes[1] = char(count);
    return WriteEEPROMBytes(kProfileCountAddress, countBytes);
}

// --- native gamma/gamut table and luminance record --------------------------

int CDDCMonitor_LCDHXSeries::ReadGammaGamutRecords(uint address, int count,
                                                   QList<native_gamma_gamut_table_entry> &table)
{
    table.clear();
    QByteArray bytes;
    const int status = ReadEEPROMBytes(address, count * kGammaGamutRecordSize, bytes);
    if (status != 0)
        return status;
    for (int r = 0; r < count; ++r) {
        const int at = r * kGammaGamutRecordSize;
        native_gamma_gamut_table_entry e;
        e.valid = true;
        for (int i = 0; i < 3; ++i) {
            e.header[i] = uchar(bytes[at + i]);
            e.values[i] = le32(bytes, at + 4 + 4 * i);
        }
        table.append(e);
    }
    return 0;
}

int CDDCMonitor_LCDHXSeries::ReadNativeGammaGamutTable(QList<native_gamma_gamut_table_entry> &table)
{
    return ReadGammaGamutRecords(kNativeTableAddress, kNativeTableRecords, table);
}

int CDDCMonitor_LCDHXSeries::ReadFactoryMasterNativeGammaGamutTable(
    QList<native_gamma_gamut_table_entry> &table)
{
    return ReadGammaGamutRecords(kFactoryMasterTableAddress, kFactoryMasterTableRecords, table);
}

int CDDCMonitor_LCDHXSeries::WriteNativeGammaGamutTable(QList<native_gamma_gamut_table_entry> table)
{
    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    if (!control)
        return -6;
    // More records than the table holds would run into the factory master copy.
    if (table.size() > kNativeTableRecords)
        return -1;
    for (int k = 0; k < table.size(); ++k) {
        QByteArray record(kGammaGamutRecordSize, 0);
        for (int i = 0; i < 3; ++i) {
            record[i] = char(table[k].header[i]);
            putLe32(record, 4 + 4 * i, table[k].values[i]);
        }
        const int status =
            WriteEEPROMBytes(kNativeTableAddress + uint(k * kGammaGamutRecordSize), record);
        if (status != 0)
            return status;
    }
    WaitMS(200);
    return control->InitGammaTable();
}

int CDDCMonitor_LCDHXSeries::ReadLuminanceKrstValue(double &value)
{
    QByteArray record;
    const int status = ReadEEPROMBytes(kLuminanceRecordAddress, 16, record);
    if (status != 0)
        return status;
    const quint16 divisor = le16(record, 2);
    // A record without a divisor holds no value.
    if (divisor == 0)
        return -1;
    value = le32(record, 8) / (divisor * 100.0);
    return 0;
}

int CDDCMonitor_LCDHXSeries::ResetGammaTable()
{
    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    return control ? control->ResetGammaTable() : -6;
}

// --- sensor-correction table ------------------------------------------------

int CDDCMonitor_LCDHXSeries::ReadColorSensorEEPROMTable(
    QList<color_sensor_eeprom_data_table_entry> &table)
{
    table.clear();
    for (int slot = 0; slot < kSensorSlots; ++slot) {
        QByteArray bytes;
        const int status =
            ReadEEPROMBytes(kSensorTableAddress + uint(slot * kSensorSlotSize), kSensorSlotSize, bytes);
        if (status != 0)
            return status;
        table.append(unpackSlot(bytes));
    }
    return 0;
}

int CDDCMonitor_LCDHXSeries::WriteColorSensorEEPROMTableItem(
    int slot, color_sensor_eeprom_data_table_entry entry)
{
    if (slot < 0 || slot >= kSensorSlots)
        return -1;
    return WriteEEPROMBytes(kSensorTableAddress + uint(slot * kSensorSlotSize), packSlot(entry));
}

int CDDCMonitor_LCDHXSeries::FindSensorInEEPROMTable(
    QList<color_sensor_eeprom_data_table_entry> table, ushort sensorType, ushort sensorModel,
    QString serial, int &freeSlot, int &foundSlot)
{
    const QString wanted = serial.right(kSlotSerialLength);
    freeSlot = -1;
    foundSlot = -1;
    for (int slot = 0; slot < table.size(); ++slot) {
        const color_sensor_eeprom_data_table_entry &e = table[slot];
        if (foundSlot < 0 && e.sensorType == sensorType && e.sensorModel == sensorModel
            && slotSerial(e).compare(wanted, Qt::CaseInsensitive) == 0)
            foundSlot = slot;
        if (freeSlot < 0 && e.sensorType == 0xFFFF && e.sensorModel == 0xFFFF)
            freeSlot = slot;
    }
    return 0;
}

int CDDCMonitor_LCDHXSeries::find_color_sensor_eeprom_location(
    QList<color_sensor_eeprom_data_table_entry> table, ushort sensorType, ushort sensorModel,
    QString serial)
{
    int freeSlot = -1, foundSlot = -1;
    FindSensorInEEPROMTable(table, sensorType, sensorModel, serial, freeSlot, foundSlot);
    if (foundSlot >= 0)
        return foundSlot;
    if (freeSlot >= 0)
        return freeSlot;
    return kSensorSlots - 1;
}

int CDDCMonitor_LCDHXSeries::GetColorSensorCorrectionMatrix(ushort sensorType, ushort sensorModel,
                                                            QString serial, double *matrix)
{
    if (!matrix)
        return -1;
    for (int i = 0; i < 9; ++i)
        matrix[i] = i % 4 == 0 ? 1.0 : 0.0;
    QList<color_sensor_eeprom_data_table_entry> table;
    if (ReadColorSensorEEPROMTable(table) != 0)
        return -1;
    int freeSlot = -1, foundSlot = -1;
    FindSensorInEEPROMTable(table, sensorType, sensorModel, serial, freeSlot, foundSlot);
    if (foundSlot < 0)
        return -1;
    for (int i = 0; i < 9; ++i)
        matrix[i] = table[foundSlot].matrix[i] / 10000.0;
    return foundSlot;
}

int CDDCMonitor_LCDHXSeries::DeleteColorSensorCorrectionMatrix(ushort sensorType,
                                                               ushort sensorModel, QString serial)
{
    QList<color_sensor_eeprom_data_table_entry> table;
    if (ReadColorSensorEEPROMTable(table) != 0)
        return -1;
    int freeSlot = -1, foundSlot = -1;
    FindSensorInEEPROMTable(table, sensorType, sensorModel, serial, freeSlot, foundSlot);
    if (foundSlot < 0)
        return -1;
    return WriteEEPROMBytes(kSensorTableAddress + uint(foundSlot * kSensorSlotSize),
                            QByteArray(kSensorSlotSize, char(0xFF)));
}

// --- sensor-correction backup -----------------------------------------------

// The saved values turned into writes; a code the monitor did not answer
// holds no value and is left out. plain drops "only if different".
QList<set_get_vcp_list> CDDCMonitor_LCDHXSeries::WritesOf(const QList<set_get_vcp_list> &saved,
                                                          bool plain)
{
    QList<set_get_vcp_list> writes;
    for (set_get_vcp_list e : saved) {
        if (e.result != 0)
            continue;
        e.set = true;
        if (plain)
            e.onlyIfDifferent = false;
        writes.append(e);
    }
    return writes;
}

int CDDCMonitor_LCDHXSeries::ReadSensorCorrectionBackupData()
{
    // A new backup replaces the old one; it counts only once every read
    // has succeeded.
    m_BackupValid = false;
    m_BackupVCPList.clear();
    m_BackupVCPList.append(readElement(kVcpProfileKey2));
    int status = SetGetVCPList(&m_BackupVCPList, true);
    if (status != 0)
        return status;
    QByteArray table, further;
    if ((status = ReadEEPROMBytes(kNativeTableAddress, kNativeTableRecords * kGammaGamutRecordSize,
                                  table)) != 0)
        return status;
    if ((status = ReadEEPROMBytes(kFurtherGammaDataAddress, kFurtherGammaDataSize, further)) != 0)
        return status;
    m_EEPROMBackup = table + further;
    m_BackupValid = true;

    if ((status = ResetGammaTable()) != 0)
        return status;
    WaitMS(2000);
    QList<set_get_vcp_list> batch = {writeElement(kVcpProfileKey2, 6, false),
                                     writeElement(kVcp105C, 1, false)};
    return SetGetVCPList(&batch, true);
}

int CDDCMonitor_LCDHXSeries::RestoreSensorCorrectionBackupData()
{
    // Without a complete backup the factory data stay as they are.
    if (!m_BackupValid)
        return -1;
    ORV_factory_ddc_control *control = GetDDCCIControlObject();
    if (!control)
        return -6;
    const int tableSize = kNativeTableRecords * kGammaGamutRecordSize;
    int status = WriteEEPROMBytes(kNativeTableAddress, m_EEPROMBackup.left(tableSize));
    if (status != 0)
        return status;
    if ((status = WriteEEPROMBytes(kFurtherGammaDataAddress, m_EEPROMBackup.mid(tableSize))) != 0)
        return status;
    if ((status = control->InitGammaTable()) != 0)
        return status;
    WaitMS(4000);
    QList<set_get_vcp_list> writes = WritesOf(m_BackupVCPList, false);
    return SetGetVCPList(&writes, true);
}

int CDDCMonitor_LCDHXSeries::ReadInitalSensorCorrectionBackupData()
{
    // Nothing is changed that could not be put back.
    QList<set_get_vcp_list> reads = {readElement(kVcp105F), readElement(kVcpAutoContrast)};
    const int status = SetGetVCPList(&reads, true);
    if (status != 0)
        return status;
    m_InitialBackupVCPList = reads;
    m_InitialBackupValid = true;
    QList<set_get_vcp_list> batch = {writeElement(kVcp105F, 1, false),
                                     writeElement(kVcpAutoContrast, 1, false)};
    return SetGetVCPList(&batch, true);
}

int CDDCMonitor_LCDHXSeries::RestoreInitalSensorCorrectionBackupData()
{
    if (!m_InitialBackupValid)
        return -1;
    QList<set_get_vcp_list> writes = WritesOf(m_InitialBackupVCPList, true);
    return SetGetVCPList(&writes, true);
}
