#include "CMonitorTracker.h"

#include "RecordStream.h"

#include <QDataStream>

CMonitorTracker::CMonitorTracker() { InitializeMonitorTracker(); }

int CMonitorTracker::InitializeMonitorTracker()
{
    m_Count = 0;
    m_Records.clear();
    _MonitorTrackerRecord def;
    def.m_Target.m_WhitePoint = CColorTemperature(_CIExy{0.3127, 0.3290});
    def.m_Target.m_Intensity = 100.0;
    def.m_Target.m_AuxValue = 0.3;
    def.m_Target.m_Gamma = 2.2;
    def.m_Target.m_IntensityType = 1;
    def.m_Target.m_AuxType = 2;
    def.m_Target.m_GammaCurveType = 2;
    def.m_Target.m_Name = QStringLiteral("Broadcast Video.tgt");
    m_DefaultRecord = def;
    return 0;
}

int CMonitorTracker::FindMonitorTrackerRecord(QString key, unsigned long)
{
    for (int i = 0; i < m_Records.size(); ++i)
        if (m_Records[i].m_Key == key)
            return i;
    return -1;
}

int CMonitorTracker::GetMonitorTrackerRecord(_MonitorTrackerRecord &record)
{
    const int i = FindMonitorTrackerRecord(record.m_Key);
    record = i >= 0 ? m_Records[i] : m_DefaultRecord;
    return i;
}

int CMonitorTracker::UpdateMonitorTrackerRecord(_MonitorTrackerRecord &record)
{
    const int i = FindMonitorTrackerRecord(record.m_Key);
    if (i >= 0) {
        m_Records[i] = record;
    } else {
        m_Records.append(record);
        m_Count = m_Records.size();
    }
    return 0;
}

_MonitorTrackerRecord CMonitorTracker::GetRecordAt(int i) const
{
    return i >= 0 && i < m_Records.size() ? m_Records[i] : m_DefaultRecord;
}

QDataStream &operator<<(QDataStream &stream, const CMonitorTracker &tracker)
{
    pz::writeRecordHeader(stream, CMonitorTracker::kMagic, CMonitorTracker::kVersion);
    stream << tracker.m_Count;
    for (int i = 0; i < tracker.m_Count && i < tracker.m_Records.size(); ++i) {
        const _MonitorTrackerRecord &r = tracker.m_Records[i];
        stream << r.m_ID << r.m_Key << r.m_Adjust << r.m_Target;
    }
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CMonitorTracker &tracker)
{
    if (pz::readRecordHeader(stream, CMonitorTracker::kMagic, CMonitorTracker::kVersion,
                             CMonitorTracker::kVersion) != pz::HeaderCheck::Ok)
        return stream;
    tracker.m_Records.clear();
    tracker.m_Count = 0;
    qint32 n = 0;
    stream >> n;
    if (stream.status() != QDataStream::Ok ||
        !pz::acceptCount(stream, n, CMonitorTracker::kMaxStoredRecords))
        return stream;
    for (qint32 i = 0; i < n; ++i) {
        _MonitorTrackerRecord r;
        stream >> r.m_ID >> r.m_Key;
        if (stream.status() == QDataStream::Ok)
            stream >> r.m_Adjust;
        if (stream.status() == QDataStream::Ok)
            stream >> r.m_Target;
        if (stream.status() != QDataStream::Ok) {
            // A short or damaged record ends the list: nothing built from
            // the bytes after it can be trusted.
            stream.resetStatus();
            stream.setStatus(QDataStream::ReadCorruptData);
            break;
        }
        tracker.m_Records.append(r);
        tracker.m_Count = tracker.m_Records.size();
    }
    return stream;
}
