#pragma once
// The monitors on the desktop as the rest of the program sees them: one
// _MonitorData per display, built from the DDC/CI enumeration with the
// physical size and the EDID primaries decoded and a flag telling whether
// the program can calibrate the monitor. Its small stored record (the
// monitor count and the monitor-to-port map) opens the master-control data
// file.

#include "CEnumDDCCI_Monitors.h"
#include "MonitorData.h"

#include <QObject>
#include <QVector>

class QDataStream;

class CMultiMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr qint32 kMagic = 0xDEAB;
    static constexpr qint32 kVersion = 11;
    static constexpr int kPortMapSize = 10;
    // The system lists at most 32 online displays: a larger stored monitor
    // count, or a negative one, is damage.
    static constexpr qint32 kMaxStoredMonitors = 32;

    explicit CMultiMonitor(QObject *parent = nullptr);
    ~CMultiMonitor() override;

    // Rebuilds the list from a DDC/CI enumeration (with the bridge probe);
    // emits monitorDetectionComplete() at the end. Returns 0. On a thread
    // whose work is abandoned (pz::workAbandoned) the list stays as it was.
    int EnumerateDesktop();
    int AutoEnumerate();
    // Asks every monitor the program can talk to for what the windows show
    // of it (capability string with the firmware version, power-on hours)
    // and keeps that in its record, so the GUI thread need not ask. Runs
    // after EnumerateDesktop on the same thread; 0.
    int RepopulateWithDDCCIData();

    int GetDisplayCount() const;
    // A copy of record index; a default record outside the list.
    _MonitorData GetMonitorData(unsigned int index) const;
    // Entry i (0..9) of the monitor-to-port map; -1 outside it.
    int GetMonitorToPortMap(int i) const;
    // 0, or -1 with nothing stored for i outside 0..9.
    int SetMonitorToPortMap(int i, int value);

    // The monitor count the stored record held when it was read (0 before).
    int GetStoredCount() const { return m_StoredCount; }
    // Takes the stored part (stored count and map) of a record read
    // elsewhere, so a file can be read into a scratch object first.
    void TakeStoredRecord(const CMultiMonitor &other);

    // The enumerator, for its locale setting.
    CEnumDDCCI_Monitors &Enumerator() { return m_Enumerator; }

    // Builds one record from an enumeration entry: size and primaries from
    // its EDID, the support flag from its connection and model id.
    static _MonitorData MonitorDataFromEntry(const ddcci_monitor_info &entry);

signals:
    void detectedMonitor(QString name);
    void monitorDetectionComplete();

public slots:
    void detectedMonitorIn(QString name);

private:
    friend QDataStream &operator<<(QDataStream &stream, const CMultiMonitor &list);
    friend QDataStream &operator>>(QDataStream &stream, CMultiMonitor &list);

    CEnumDDCCI_Monitors m_Enumerator;
    qint32 m_RecordVersion = kVersion;
    qint32 m_MonitorCount = 0;
    qint32 m_StoredCount = 0;
    QVector<_MonitorData> m_Monitors;
    qint32 m_MonitorToPortMap[kPortMapSize];
};

// Record: magic 0xDEAB, version 11, the monitor count, the ten map entries.
QDataStream &operator<<(QDataStream &stream, const CMultiMonitor &list);
// A wrong magic or version, a monitor count outside 0..32, or a short record
// marks the stream and changes nothing. A whole record restores the map
// whatever the current count.
QDataStream &operator>>(QDataStream &stream, CMultiMonitor &list);
