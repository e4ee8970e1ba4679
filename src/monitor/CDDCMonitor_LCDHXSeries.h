#pragma once
// Orvane HX-series monitors, the class the program creates for every
// supported display. The monitor has its own colour engine: the host tells
// it the target white point, luminance, black level, gamut and tone curve
// through page-0x10 VCP codes and lets it compute its own tables, so most
// operations are batches of VCP reads and writes. The class also reads and
// writes the monitor's EEPROM: the native primaries, the sensor-correction
// table, the profile-id table and a backup of what building a
// sensor-correction matrix changes.

#include "CDDCMonitor_LCDT4Series.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Chromaticities in thousandths.
struct color_primaries {
    bool valid = false;
    quint16 redX = 0;
    quint16 redY = 0;
    quint16 greenX = 0;
    quint16 greenY = 0;
    quint16 blueX = 0;
    quint16 blueY = 0;
};

// One 16-byte record of the native gamma/gamut table.
struct native_gamma_gamut_table_entry {
    bool valid = false;
    uchar header[3] = {0, 0, 0};   // copied, not interpreted
    quint32 values[3] = {0, 0, 0};
};

// One slot of the sensor-correction table.
struct color_sensor_eeprom_data_table_entry {
    uchar unused = 0;
    char text[15] = {};            // 14 characters, terminated
    char serial[13] = {};          // the last 12 characters of the serial, terminated
    quint16 sensorType = 0;
    quint16 sensorModel = 0;
    qint16 matrix[9] = {};         // the 3x3 correction matrix x 10000, row by row
};

class CDDCMonitor_LCDHXSeries : public CDDCMonitor_LCDT4Series {
    Q_OBJECT
public:
    // EEPROM map.
    static constexpr uint kNativeTableAddress = 0x8800;
    static constexpr int kNativeTableRecords = 36;
    static constexpr uint kFactoryMasterTableAddress = 0x8A40;
    static constexpr int kFactoryMasterTableRecords = 3;
    static constexpr int kGammaGamutRecordSize = 16;
    static constexpr uint kFurtherGammaDataAddress = 0x8E40;
    static constexpr int kFurtherGammaDataSize = 288;
    static constexpr uint kLuminanceRecordAddress = 0x8F30;
    static constexpr uint kSensorTableAddress = 0xFA10;
    static constexpr int kSensorSlots = 5;
    static constexpr int kSensorSlotSize = 48;
    static constexpr uint kProfileFlagAddress = 0xFF10;
    static constexpr uint kProfileCountAddress = 0xFF11;   // 1, then the count
    static constexpr uint kProfileRecordsAddress = 0xFF13;
    static constexpr int kProfileRecordSize = 6;
    static constexpr int kMaxProfileRecords = 10;

    CDDCMonitor_LCDHXSeries();
    ~CDDCMonitor_LCDHXSeries() override;

    // Added operations.
    virtual int GetNativePrimaries(color_primaries *primaries);
    virtual bool IsHX520R();

    // Overrides.
    int GetMonitorEDIDColorCoordinates(CCIEYxy *primaries) override;
    int IsAdjustedToSettings(CAdjustValue *result, CTargetValue *target) override;
    bool CanCreateCalibration(CAdjustValue *result, CTargetValue *target) override;
    int SetToAdjustValue(CAdjustValue *result, CTargetValue *target) override;
    int ResetMonitorToKnownState() override;
    int ConfigureMonitorControlsForCalibration(CTargetValue *target) override;
    int CalculateCorrectionLUT(CAdjustValue *result, CTargetValue *target,
                               std::vector<uint> &table) override;
    int UpdateEEPROMProfileID(uint profileID) override;
    int NoInternalLuminanceSensor() override;
    typeColorGamutAdjustability GetSupportedColorGamutMode() override;
    int ReadSensorCorrectionBackupData() override;
    int GetColorSensorCorrectionMatrix(ushort sensorType, ushort sensorModel, QString serial,
                                       double *matrix) override;
    int IsUpdateFactoryCalibrationSupported() override;
    int IsCreateSensorCorrectionMatrixSupported() override;
    int IsSixAxisColorSupported() override;
    int WaitForColorProcessingFinished() override;

    // EEPROM tables and the sensor-correction backup.
    int ReadNativeGammaGamutTable(QList<native_gamma_gamut_table_entry> &table);
    int ReadFactoryMasterNativeGammaGamutTable(QList<native_gamma_gamut_table_entry> &table);
    int WriteNativeGammaGamutTable(QList<native_gamma_gamut_table_entry> table);
    int ReadLuminanceKrstValue(double &value);
    int ResetGammaTable();
    int ReadColorSensorEEPROMTable(QList<color_sensor_eeprom_data_table_entry> &table);
    int WriteColorSensorEEPROMTableItem(int slot, color_sensor_eeprom_data_table_entry entry);
    int FindSensorInEEPROMTable(QList<color_sensor_eeprom_data_table_entry> table,
                                ushort sensorType, ushort sensorModel, QString serial,
                                int &freeSlot, int &foundSlot);
    int find_color_sensor_eeprom_location(QList<color_sensor_eeprom_data_table_entry> table,
                                          ushort sensorType, ushort sensorModel, QString serial);
    int DeleteColorSensorCorrectionMatrix(ushort sensorType, ushort sensorModel, QString serial);
    int ReadInitalSensorCorrectionBackupData();
    int RestoreInitalSensorCorrectionBackupData();
    int RestoreSensorCorrectionBackupData();

    // The primaries last read from EEPROM or last sent as target gamut.
    color_primaries Primaries() const { return m_Primaries; }
    // Whether a complete sensor-correction backup is held.
    bool HasSensorCorrectionBackup() const { return m_BackupValid; }

private:
    int ReadEEPROMBytes(uint address, int length, QByteArray &out);
    int WriteEEPROMBytes(uint address, const QByteArray &bytes);
    int ReadGammaGamutRecords(uint address, int count,
                              QList<native_gamma_gamut_table_entry> &table);
    int ChooseProfileRecord(uchar key1, uchar key2, uint &address, int &count);
    static QList<set_get_vcp_list> WritesOf(const QList<set_get_vcp_list> &saved, bool plain);

    color_primaries m_Primaries;
    // The native gamma/gamut table followed by the further gamma data.
    QByteArray m_EEPROMBackup;
    QList<set_get_vcp_list> m_BackupVCPList;
    QList<set_get_vcp_list> m_InitialBackupVCPList;
    bool m_ColorProcessingSupported = false;
    bool m_ColorProcessingProbed = false;
    // Set only when every read of the last backup succeeded.
    bool m_BackupValid = false;
    bool m_InitialBackupValid = false;
};
