#pragma once
// The simulated USB bridge of an Orvane monitor: a HID device that carries
// I2C transactions to the monitor's DDC/CI controller.
//
// Output report (byte 0 is the report id 0): 01 00 (n+1) addr data[n] chk,
// chk = addr ^ (n+1) ^ data. The bridge writes the data to the address and
// answers every output report with exactly one input report: 01 00 count and,
// for a DDC/CI write, the bytes then read from 0x6F (the reply frame, or a
// null message); a bare acknowledgement for other addresses. A reply the
// monitor holds back arrives later as an extra input report. Input reports
// queue up the way hidraw queues them.

#include "HidDevice.h"

#include <QByteArray>
#include <QMutexLocker>
#include <QQueue>
#include <QRecursiveMutex>
#include <QString>
#include <QVector>

namespace pz {

class SimOrvaneMonitor;

struct SimBridgeConfig {
    quint16 vendorId = kOrvaneBridgeVendorId;
    quint16 productId = kOrvaneBridgeProductId;
    QString manufacturer = QStringLiteral("Orvane");
    QString product = QStringLiteral("Orvane HX USB Bridge");
    QString serial;                 // empty: the monitor's EDID serial
    int maxInputReportSize = 64;
    int maxOutputReportSize = 64;
};

class SimUsbBridge {
public:
    // Input report status byte (byte 1).
    enum Status : quint8 { kOk = 0, kNak = 1, kBadReport = 2 };

    SimUsbBridge(SimOrvaneMonitor *monitor, const SimBridgeConfig &config = SimBridgeConfig());

    SimOrvaneMonitor *monitor() const { return m_monitor; }
    // Identity as enumeration reports it (the path is the backend's).
    HidDeviceInfo info() const;

    // Device side of the HID exchange.
    bool receiveOutputReport(const quint8 *report, int length);
    int takeInputReport(quint8 *buffer, int capacity);
    void flushInput();
    int queuedInputReports() const
    {
        QMutexLocker lock(&m_lock);
        return m_input.size();
    }

    // Faults: the next n output reports get no input report (the host times
    // out), or are refused outright (setReport fails).
    void dropReplies(int n)
    {
        QMutexLocker lock(&m_lock);
        m_dropReplies = n;
    }
    void refuseWrites(int n)
    {
        QMutexLocker lock(&m_lock);
        m_refuseWrites = n;
    }

    // Every output report received, as sent (report id first).
    QVector<QByteArray> outputReports() const
    {
        QMutexLocker lock(&m_lock);
        return m_outputLog;
    }
    void clearLog()
    {
        QMutexLocker lock(&m_lock);
        m_outputLog.clear();
    }

private:
    void queueReply(quint8 status, const QByteArray &bytes);
    void queueMonitorRead();

    SimOrvaneMonitor *m_monitor;
    SimBridgeConfig m_config;
    QQueue<QByteArray> m_input;
    QVector<QByteArray> m_outputLog;
    bool m_lateReplyExpected = false;
    int m_dropReplies = 0;
    int m_refuseWrites = 0;
    mutable QRecursiveMutex m_lock;
};

} // namespace pz
