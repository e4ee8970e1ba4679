#include "SimUsbBridge.h"

#include "SimOrvaneMonitor.h"

#include <QMutexLocker>
#include <algorithm>
#include <cstring>

namespace pz {

SimUsbBridge::SimUsbBridge(SimOrvaneMonitor *monitor, const SimBridgeConfig &config)
    : m_monitor(monitor), m_config(config)
{
    if (m_config.serial.isEmpty() && m_monitor)
        m_config.serial = m_monitor->serial();
}

HidDeviceInfo SimUsbBridge::info() const
{
    HidDeviceInfo i;
    i.vendorId = m_config.vendorId;
    i.productId = m_config.productId;
    i.manufacturer = m_config.manufacturer;
    i.product = m_config.product;
    i.serialNumber = m_config.serial;
    i.maxInputReportSize = m_config.maxInputReportSize;
    i.maxOutputReportSize = m_config.maxOutputReportSize;
    return i;
}

void SimUsbBridge::queueReply(quint8 status, const QByteArray &bytes)
{
    const int size = std::max(3, m_config.maxInputReportSize);
    QByteArray report(size, 0);
    report[0] = 0x01;
    report[1] = char(status);
    const int count = std::min<int>(bytes.size(), size - 3);
    report[2] = char(count);
    std::memcpy(report.data() + 3, bytes.constData(), size_t(count));
    m_input.enqueue(report);
}

void SimUsbBridge::queueMonitorRead()
{
    const int count = std::max(0, m_config.maxInputReportSize - 3);
    QByteArray bytes(count, 0);
    if (m_monitor && m_monitor->readFromBridge(0x6F, reinterpret_cast<quint8 *>(bytes.data()), count))
        queueReply(kOk, bytes);
    else
        queueReply(kNak, QByteArray());
}

bool SimUsbBridge::receiveOutputReport(const quint8 *report, int length)
{
    QMutexLocker lock(&m_lock);
    if (m_outputLog.size() >= SimOrvaneMonitor::kFrameLogLimit)
        m_outputLog.remove(0, SimOrvaneMonitor::kFrameLogLimit / 2);
    m_outputLog.append(QByteArray(reinterpret_cast<const char *>(report), std::max(0, length)));
    if (m_refuseWrites > 0) {
        --m_refuseWrites;
        return false;
    }
    const bool dropReply = m_dropReplies > 0;
    if (dropReply)
        --m_dropReplies;

    // 00 | 01 00 (n+1) addr data[n] chk
    bool valid = length >= 6 && report[1] == 0x01 && report[2] == 0x00 && report[3] >= 1;
    const int n = valid ? report[3] - 1 : 0;
    valid = valid && 5 + n < length;
    if (valid) {
        quint8 check = report[3] ^ report[4];
        for (int i = 0; i < n; ++i)
            check ^= report[5 + i];
        valid = check == report[5 + n];
    }
    if (!valid) {
        if (!dropReply)
            queueReply(kBadReport, QByteArray());
        return true;
    }

    const quint8 address = report[4];
    const bool written = m_monitor && m_monitor->write(address, report + 5, n);
    m_lateReplyExpected = false;
    if (dropReply)
        return true;
    if (!written) {
        queueReply(kNak, QByteArray());
    } else if ((address & 0xFE) == 0x6E) {
        queueMonitorRead();
        m_lateReplyExpected = m_monitor->lateReplyPending();
    } else {
        queueReply(kOk, QByteArray());
    }
    return true;
}

int SimUsbBridge::takeInputReport(quint8 *buffer, int capacity)
{
    QMutexLocker lock(&m_lock);
    if (m_input.isEmpty() && m_lateReplyExpected && m_monitor && !m_monitor->lateReplyPending()) {
        // The held-back reply is ready now: the bridge passes it on unasked.
        m_lateReplyExpected = false;
        queueMonitorRead();
    }
    if (m_input.isEmpty() || capacity <= 0)
        return 0;
    const QByteArray report = m_input.dequeue();
    const int n = std::min<int>(capacity, report.size());
    std::memcpy(buffer, report.constData(), size_t(n));
    return n;
}

void SimUsbBridge::flushInput()
{
    QMutexLocker lock(&m_lock);
    m_input.clear();
}

} // namespace pz
