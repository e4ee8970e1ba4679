#include "CAdjustValue.h"

#include "RecordStream.h"

#include <QDataStream>
#include <algorithm>

namespace {

// Control values travel as 32-bit fields; the members hold 16 bits.
void writeControl(QDataStream &stream, quint16 value) { stream << static_cast<qint32>(value); }

void readControl(QDataStream &stream, quint16 &value)
{
    qint32 wide = 0;
    stream >> wide;
    value = static_cast<quint16>(wide & 0xFFFF);
}

void readByteList(QDataStream &stream, std::vector<unsigned char> &bytes)
{
    qint32 count = 0;
    stream >> count;
    count &= 0xFFFF;
    bytes.clear();
    for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        qint8 byte = 0;
        stream >> byte;
        if (stream.status() == QDataStream::Ok)
            bytes.push_back(static_cast<unsigned char>(byte));
    }
}

} // namespace

void CAdjustValue::SetCalibrationDateTime() { m_CalibrationDateTime = QDateTime::currentDateTime(); }

QDataStream &operator<<(QDataStream &stream, const CAdjustValue &result)
{
    pz::writeRecordHeader(stream, static_cast<qint32>(CAdjustValue::kMagic),
                          static_cast<qint32>(CAdjustValue::kVersion));
    for (quint16 control : {result.m_Brightness, result.m_Contrast, result.m_RedGain,
                            result.m_GreenGain, result.m_BlueGain, result.m_AuxControl1,
                            result.m_AuxControl2, result.m_AuxControl3, result.m_AuxControl4})
        writeControl(stream, control);
    stream << result.m_IsCalibrationOn << result.m_HoursOnWhenCalibrated;
    writeControl(stream, result.m_ColorPreset);
    stream << result.m_MonitorName << result.m_MonitorSerial
           << static_cast<qint8>(result.m_AutomaticSensorColorPrimariesSource)
           << static_cast<qint8>(result.m_RGBGainOperationMode) << result.m_CalibrationDuration
           << result.m_AuxShort1 << result.m_AuxShort2 << result.m_AuxShort3
           << result.m_SensorModelName << result.m_SensorSerial
           << result.m_MonitorVendorProductID << result.m_ProfileName
           << result.m_ProfileDescription << static_cast<qint8>(result.m_AutoLuminanceState)
           << result.m_CalibrationDateTime;

    const auto byteCount = static_cast<qint32>(
        std::min<std::size_t>(result.m_ByteList.size(), CAdjustValue::kMaxByteListSize));
    stream << byteCount;
    for (qint32 i = 0; i < byteCount; ++i)
        stream << static_cast<qint8>(result.m_ByteList[i]);

    for (qint16 value : result.m_MonitorSpecificValues)
        stream << value;
    stream << result.m_ColorValue;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CAdjustValue &result)
{
    result.m_IsValid = false;
    qint32 version = 0;
    // Compared with the class's own version, not with the object's: an
    // earlier read of an older record must not make it refuse newer ones.
    const auto header = pz::readRecordHeader(
        stream, static_cast<qint32>(CAdjustValue::kMagic),
        [](qint32 v) { return static_cast<quint32>(v) <= CAdjustValue::kVersion; }, &version);
    if (header != pz::HeaderCheck::Ok)
        return stream;

    // Read into a copy, so a short or damaged record changes nothing.
    CAdjustValue read(result);
    read.m_Version = static_cast<quint32>(version);
    for (quint16 *control : {&read.m_Brightness, &read.m_Contrast, &read.m_RedGain,
                             &read.m_GreenGain, &read.m_BlueGain, &read.m_AuxControl1,
                             &read.m_AuxControl2, &read.m_AuxControl3, &read.m_AuxControl4})
        readControl(stream, *control);
    stream >> read.m_IsCalibrationOn >> read.m_HoursOnWhenCalibrated;
    readControl(stream, read.m_ColorPreset);
    qint8 primariesSource = 0, gainMode = 0, autoLuminance = 0;
    stream >> read.m_MonitorName >> read.m_MonitorSerial >> primariesSource >> gainMode
        >> read.m_CalibrationDuration >> read.m_AuxShort1 >> read.m_AuxShort2 >> read.m_AuxShort3
        >> read.m_SensorModelName >> read.m_SensorSerial >> read.m_MonitorVendorProductID
        >> read.m_ProfileName >> read.m_ProfileDescription >> autoLuminance
        >> read.m_CalibrationDateTime;
    read.m_AutomaticSensorColorPrimariesSource = primariesSource;
    read.m_RGBGainOperationMode = gainMode;
    read.m_AutoLuminanceState = static_cast<CAdjustValue::typeAutoLuminanceState>(autoLuminance);
    readByteList(stream, read.m_ByteList);

    // An older record has no colour-engine values: none, rather than the
    // previous record's.
    for (qint16 &value : read.m_MonitorSpecificValues)
        value = 0;
    if (read.m_Version >= CAdjustValue::kFirstVersionWithMonitorValues) {
        for (qint16 &value : read.m_MonitorSpecificValues)
            stream >> value;
    }
    if (stream.status() == QDataStream::Ok)
        stream >> read.m_ColorValue;

    if (stream.status() == QDataStream::Ok) {
        result = read;
        result.m_IsValid = true;
    }
    return stream;
}
