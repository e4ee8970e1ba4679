#pragma once
// The stored result of one calibration: the values the monitor's controls
// were left at, the modes used, monitor and sensor identity, the ICC
// profile's name and description, when and how long, and the complete
// measurement record. Written into calibration-settings files (after the
// target) and into the monitor tracker; copied whole.

#include "CColorValue.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <vector>

class QDataStream;

class CAdjustValue {
public:
    static constexpr quint32 kMagic = 0xDEADFADE;
    // The version this class writes and the newest it reads.
    static constexpr quint32 kVersion = 114;
    // Records from this version on carry the monitor's colour-engine values.
    static constexpr quint32 kFirstVersionWithMonitorValues = 114;
    static constexpr int kMonitorSpecificValueCount = 14;
    // The stream counts the byte list in 16 bits.
    static constexpr int kMaxByteListSize = 65535;

    enum typeAutoLuminanceState : signed char {
        AUTO_LUMINANCE_NOT_USED = 0,
        AUTO_LUMINANCE_MODE_2 = 1, // the monitor's automatic-luminance mode 2
        AUTO_LUMINANCE_MODE_3 = 2, // its mode 3
    };

    CAdjustValue() = default;
    CAdjustValue(const CAdjustValue &) = default;
    CAdjustValue &operator=(const CAdjustValue &) = default;
    virtual ~CAdjustValue() = default;

    QString GetMonitorName() const { return m_MonitorName; }
    QString GetMonitorSerial() const { return m_MonitorSerial; }
    QString GetProfileName() const { return m_ProfileName; }
    QString GetProfileDescription() const { return m_ProfileDescription; }
    QString GetSensorModelName() const { return m_SensorModelName; }
    QString GetSensorSerial() const { return m_SensorSerial; }
    // 1: the profile's primaries came from the factory (EDID) data; any
    // other value: from the calibration sensor's measurements.
    signed char GetAutomaticSensorColorPrimariesSource() const
    {
        return m_AutomaticSensorColorPrimariesSource;
    }
    signed char GetRGBGainOperationMode() const { return m_RGBGainOperationMode; }

    void SetMonitorName(QString name) { m_MonitorName = name; }
    void SetMonitorSerial(QString serial) { m_MonitorSerial = serial; }
    void SetProfileName(QString name) { m_ProfileName = name; }
    void SetProfileDescription(QString description) { m_ProfileDescription = description; }
    void SetSensorModelName(QString name) { m_SensorModelName = name; }
    void SetSensorSerial(QString serial) { m_SensorSerial = serial; }
    void SetIsCalibrationOn(bool on) { m_IsCalibrationOn = on; }
    void SetIsHoursOnWhenCalibrated(double hours) { m_HoursOnWhenCalibrated = hours; }
    void SetAutomaticSensorColorPrimariesSource(signed char source)
    {
        m_AutomaticSensorColorPrimariesSource = source;
    }
    void SetRGBGainOperationMode(signed char mode) { m_RGBGainOperationMode = mode; }
    void SetAutoLuminanceState(typeAutoLuminanceState state) { m_AutoLuminanceState = state; }
    void SetCalibrationDateTime(QDateTime when) { m_CalibrationDateTime = when; }
    // Now, in local time.
    void SetCalibrationDateTime();
    void SetColorValue(const CColorValue &measurements) { m_ColorValue = measurements; }

    bool m_IsValid = false;
    // The version of the last record read into the object, else kVersion.
    quint32 m_Version = kVersion;
    quint16 m_Brightness = 127;
    quint16 m_Contrast = 127;
    quint16 m_RedGain = 127;
    quint16 m_GreenGain = 127;
    quint16 m_BlueGain = 127;
    quint16 m_AuxControl1 = 127;
    quint16 m_AuxControl2 = 127;
    quint16 m_AuxControl3 = 127;
    quint16 m_AuxControl4 = 0;
    quint16 m_ColorPreset = 0;
    QString m_MonitorName = QLatin1String("");
    QString m_MonitorSerial = QLatin1String("");
    QString m_ProfileName = QLatin1String("");
    QString m_ProfileDescription = QLatin1String("");
    quint32 m_MonitorVendorProductID = 0;
    typeAutoLuminanceState m_AutoLuminanceState = AUTO_LUMINANCE_NOT_USED;
    QDateTime m_CalibrationDateTime;
    CColorValue m_ColorValue;
    bool m_IsCalibrationOn = false;
    double m_HoursOnWhenCalibrated = 0.0;
    std::vector<unsigned char> m_ByteList;
    QString m_SensorModelName = QLatin1String("");
    QString m_SensorSerial = QLatin1String("");
    signed char m_AutomaticSensorColorPrimariesSource = 0;
    signed char m_RGBGainOperationMode = 0;
    qint16 m_CalibrationDuration = 0;
    qint16 m_AuxShort1 = 0;
    qint16 m_AuxShort2 = 0;
    qint16 m_AuxShort3 = 0;
    // The HX series monitor's colour-engine values as read back after its
    // calibration.
    qint16 m_MonitorSpecificValues[kMonitorSpecificValueCount] = {};
};

// Record: magic 0xDEADFADE, version 114, the members, the embedded
// measurement record. A byte list longer than 65535 bytes is written as its
// first 65535 bytes, so the record stays readable.
QDataStream &operator<<(QDataStream &stream, const CAdjustValue &result);
// Accepts every version up to kVersion (older records lack the monitor's
// colour-engine values, which then read as 0). A wrong magic, a newer
// version or a short or damaged record marks the stream and leaves the
// object as it was but for m_IsValid, which is false; a good read sets it.
QDataStream &operator>>(QDataStream &stream, CAdjustValue &result);
