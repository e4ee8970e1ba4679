#pragma once
// What the program remembers of every monitor it ever calibrated: the target
// and the result of the monitor's last calibration, found by a key text that
// identifies the monitor. Stored after the monitor list record in the
// master-control data file.

#include "CAdjustValue.h"
#include "CTargetValue.h"

#include <QString>
#include <QVector>

class QDataStream;

struct _MonitorTrackerRecord {
    _MonitorTrackerRecord() = default;
    _MonitorTrackerRecord(const _MonitorTrackerRecord &) = default;
    _MonitorTrackerRecord &operator=(const _MonitorTrackerRecord &) = default;
    virtual ~_MonitorTrackerRecord() = default;

    qint32 m_ID = 0;       // a number the caller keeps with the record
    CTargetValue m_Target; // the target of the last calibration
    CAdjustValue m_Adjust; // its result
    QString m_Key;         // identifies the monitor; records are looked up by it
};

class CMonitorTracker {
public:
    static constexpr qint32 kMagic = 0xABBA;
    static constexpr qint32 kVersion = 100;
    // More records than any computer ever had monitors: a larger stored
    // count is damage.
    static constexpr qint32 kMaxStoredRecords = 100000;

    CMonitorTracker();
    CMonitorTracker(const CMonitorTracker &) = default;
    CMonitorTracker &operator=(const CMonitorTracker &) = default;
    virtual ~CMonitorTracker() = default;

    // Empties the tracker and rebuilds the default record. Returns 0.
    int InitializeMonitorTracker();
    // Index of the first record with exactly this key (case matters), or -1.
    int FindMonitorTrackerRecord(QString key, unsigned long unused = 0);
    // Fills record from the stored record with its key and returns its
    // index; otherwise fills it with the default record (empty key), -1.
    int GetMonitorTrackerRecord(_MonitorTrackerRecord &record);
    // Replaces the record with the same key, or appends a copy. Returns 0.
    int UpdateMonitorTrackerRecord(_MonitorTrackerRecord &record);

    int GetCount() const { return m_Count; }
    // A copy of record i; the default record when i is outside the list.
    _MonitorTrackerRecord GetRecordAt(int i) const;

private:
    friend QDataStream &operator<<(QDataStream &stream, const CMonitorTracker &tracker);
    friend QDataStream &operator>>(QDataStream &stream, CMonitorTracker &tracker);

    qint32 m_Count = 0;
    _MonitorTrackerRecord m_DefaultRecord;
    QVector<_MonitorTrackerRecord> m_Records;
};

// Record: magic 0xABBA, version 100, count, then per record its id, key,
// result record and target record.
QDataStream &operator<<(QDataStream &stream, const CMonitorTracker &tracker);
// A wrong magic or version marks the stream ReadCorruptData and leaves the
// tracker unchanged. Otherwise the tracker is emptied and the records are
// appended as they arrive; reading stops, with ReadCorruptData, at a negative
// or absurd count or at the first record that cannot be read whole, which is
// not appended.
QDataStream &operator>>(QDataStream &stream, CMonitorTracker &tracker);
