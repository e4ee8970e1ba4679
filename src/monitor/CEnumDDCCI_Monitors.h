#pragma once
// Turns the display interface list into the list of monitors the monitor
// list describes. For each display interface it finds out who the monitor
// is: over DDC/CI through a temporary monitor object where the display is
// reached through its graphics card (from the system's EDID where the
// card's bus cannot be opened), from the interface list (with a
// brightness probe) where the monitor's USB bridge reaches it, and from the
// system's localised product name for a display without EDID. It names each
// display as it goes, for the splash screen.

#include <QObject>
#include <QString>
#include <QVector>
#include <QtGlobal>

struct ddcci_monitor_info {
    static constexpr int kEDIDSize = 256;

    qint32 m_ListIndex = 0;                // record index in the interface list
    unsigned char m_EDID[kEDIDSize] = {};  // all 0 when none was obtained
    QString m_ModelName;
    QString m_Serial;
    QString m_CapabilityString;            // always empty here
    quint32 m_ModelID = 0;
    qint32 m_Left = 0, m_Top = 0, m_Right = 0, m_Bottom = 0;
    bool m_USB = false;
    bool m_DDCCIWorks = false;             // the bridge answered the probe
    quint32 m_DisplayID = 0;
};

class CEnumDDCCI_Monitors : public QObject {
    Q_OBJECT
public:
    CEnumDDCCI_Monitors();
    ~CEnumDDCCI_Monitors() override;

    // Rebuilds the list; returns the number of entries. With probe set, a
    // bridge-connected monitor is asked for its brightness. The first
    // argument is not used.
    virtual int Enumerate(bool unused, bool probe);
    // 0 and a copy of entry index; -1 when index is outside the list.
    virtual int GetDisplayInfoByEnum(int index, ddcci_monitor_info *info);
    virtual int GetNumEnumerated();

    // The locale whose product names are preferred ("ja_JP"); the system's
    // locale unless set.
    void SetLocaleName(const QString &name) { m_LocaleName = name; }

signals:
    void detectedMonitor2(QString name);

private:
    void applyLocalisedName(ddcci_monitor_info &entry, bool setModelId) const;

    QVector<ddcci_monitor_info> m_Monitors;
    QString m_LocaleName;
};
