// The simulated monitor's command handlers: standard and paged VCP
// requests, capabilities, and the maker (C0) and table (C2) sub-commands
// over its registers, tables, memories and mode names.

#include "SimOrvaneMonitor.h"
#include "SimOrvaneMonitorDetail.h"

#include <algorithm>

namespace pz {

using simmonitor::byteAt;
using simmonitor::linearGammaTable;

namespace {

void putBE16(QByteArray &out, quint16 v)
{
    out.append(char(v >> 8));
    out.append(char(v & 0xFF));
}

} // namespace

bool SimOrvaneMonitor::tableRange(int offset, int count) const
{
    return count >= 1 && count <= 16 && offset >= 0 && offset + count <= kTableEntries;
}

QByteArray SimOrvaneMonitor::vcpReply(quint8 opcode, quint16 code16)
{
    QByteArray r;
    const bool paged = opcode == 0xC7;
    r.append(char(opcode));
    if (!isSupported(code16)) {
        r.append(char(1));
        if (paged)
            r.append(char(code16 >> 8));
        r.append(char(code16 & 0xFF));
        r.append(QByteArray(5, 0));
        return r;
    }
    r.append(char(0));
    if (paged)
        r.append(char(code16 >> 8));
    r.append(char(code16 & 0xFF));
    r.append(char(m_registers.value(code16).type));
    putBE16(r, registerMaximum(code16));
    putBE16(r, registerValue(code16));
    return r;
}

QByteArray SimOrvaneMonitor::handleRequest(const QByteArray &p)
{
    const quint8 op = byteAt(p, 0);
    switch (op) {
    case 0x01:
        return p.size() >= 2 ? vcpReply(0x02, byteAt(p, 1)) : QByteArray();
    case 0x03:
        if (p.size() >= 4)
            writeRegister(byteAt(p, 1), quint16((byteAt(p, 2) << 8) | byteAt(p, 3)));
        return QByteArray();
    case 0x0C:
        saveNonVolatile();
        return QByteArray();
    case 0x07:
        return QByteArray("\x4E\x00\x1C\xEC\x17\x6B", 6);   // 74.04 kHz, 59.95 Hz
    case 0xB1:
        return QByteArray("\xA1\x00\x00", 3);
    case 0xF3: {
        if (p.size() < 3)
            return QByteArray();
        const int offset = (byteAt(p, 1) << 8) | byteAt(p, 2);
        QByteArray r = p.left(3);
        r[0] = char(0xE3);
        if (offset < m_capabilities.size())
            r.append(m_capabilities.mid(offset, 32));
        return r;
    }
    case 0xC4:
        return QByteArray("\xC5\x10\x02", 3);
    case 0xC6:
        return p.size() >= 3 ? vcpReply(0xC7, quint16((byteAt(p, 1) << 8) | byteAt(p, 2)))
                             : QByteArray();
    case 0xC8: {
        if (p.size() < 5)
            return QByteArray();
        const quint16 code16 = quint16((byteAt(p, 1) << 8) | byteAt(p, 2));
        writeRegister(code16, quint16((byteAt(p, 3) << 8) | byteAt(p, 4)));
        return vcpReply(0xC7, code16);
    }
    case 0xC0:
        return p.size() >= 2 ? makerCommand(p) : QByteArray();
    case 0xC2:
        return p.size() >= 2 ? tableCommand(p) : QByteArray();
    default:
        return QByteArray();
    }
}

QByteArray SimOrvaneMonitor::makerCommand(const QByteArray &p)
{
    const quint8 sub = byteAt(p, 1);
    const QByteArray head = QByteArray(1, char(0xC1)) + char(sub);
    const auto memoryArgs = [&](int &count, int &address) {
        if (p.size() < 5)
            return false;
        count = byteAt(p, 2);
        address = (byteAt(p, 3) << 8) | byteAt(p, 4);
        return count >= 1 && count <= 32;
    };
    int count = 0, address = 0;
    switch (sub) {
    case 0x00:   // MPU reset: reload the saved state and boot
        boot();
        return QByteArray();
    case 0x02:   // EEPROM write
    case 0x0A: { // RAM write
        if (!memoryArgs(count, address) || p.size() < 5 + count)
            return QByteArray();
        QByteArray &mem = sub == 0x02 ? m_eeprom : m_ram;
        for (int i = 0; i < count; ++i)
            mem[(address + i) & 0xFFFF] = p[5 + i];
        if (sub == 0x02)
            persist();
        return QByteArray();
    }
    case 0x03:   // RAM read
    case 0x09: { // EEPROM read
        if (!memoryArgs(count, address))
            return QByteArray();
        const QByteArray &mem = sub == 0x09 ? m_eeprom : m_ram;
        QByteArray r = head;
        for (int i = 0; i < count; ++i)
            r.append(mem[(address + i) & 0xFFFF]);
        return r;
    }
    case 0x05:
    case 0x06:
        saveNonVolatile();
        return head + char(0);
    case 0x0B: { // asset string block; a null message past its end
        if (p.size() < 4)
            return QByteArray();
        const QByteArray text = assetString();
        const int offset = byteAt(p, 2);
        const int n = std::min<int>(byteAt(p, 3), 32);
        if (offset >= text.size() || n == 0)
            return QByteArray();
        return head + text.mid(offset, n);
    }
    case 0x0E: { // asset string write
        if (p.size() < 4)
            return QByteArray();
        const int offset = byteAt(p, 2);
        for (int i = 3; i < p.size() && i - 3 < 32; ++i)
            if (offset + i - 3 < m_asset.size())
                m_asset[offset + i - 3] = p[i];
        m_nv.asset = m_asset;
        persist();
        return QByteArray();
    }
    case 0x0C:
    case 0x0D:
        return QByteArray();
    case 0x11:
        if (p.size() < 3)
            return QByteArray();
        m_pictureMode = byteAt(p, 2);
        return head + char(m_pictureMode);
    case 0x14:
        return head + char(m_pictureMode);
    case 0x23:
        if (p.size() < 3)
            return QByteArray();
        return head + m_whiteBalance.value(byteAt(p, 2), QByteArray(4, char(0x80)));
    case 0x24:
        if (p.size() < 7)
            return QByteArray();
        m_whiteBalance[byteAt(p, 2)] = p.mid(3, 4);
        m_nv.whiteBalance = m_whiteBalance;
        persist();
        return QByteArray();
    default:
        return QByteArray();
    }
}

QByteArray SimOrvaneMonitor::tableCommand(const QByteArray &p)
{
    const quint8 sub = byteAt(p, 1);
    const QByteArray head = QByteArray(1, char(0xC3)) + char(sub);
    switch (sub) {
    case 0x03:   // power management
        return QByteArray();
    case 0x04:   // gamma table read
    case 0x0A: { // theoretical curve read
        if (p.size() < 5)
            return QByteArray();
        const int offset = (byteAt(p, 2) << 8) | byteAt(p, 3);
        const int count = byteAt(p, 4);
        if (!tableRange(offset, count))
            return QByteArray();
        const QVector<quint16> &table = sub == 0x04 ? m_gammaTable : m_curve;
        QByteArray r = head;
        for (int i = 0; i < count; ++i)
            putBE16(r, table[offset + i]);
        return r;
    }
    case 0x05:   // gamma table write
    case 0x0B: { // theoretical curve write
        if (p.size() < 6 || (p.size() - 4) % 2 != 0)
            return QByteArray();
        const int offset = (byteAt(p, 2) << 8) | byteAt(p, 3);
        const int count = (p.size() - 4) / 2;
        if (!tableRange(offset, count))
            return QByteArray();
        QVector<quint16> &table = sub == 0x05 ? m_gammaTable : m_curve;
        for (int i = 0; i < count; ++i)
            table[offset + i] = quint16((byteAt(p, 4 + 2 * i) << 8) | byteAt(p, 5 + 2 * i));
        return QByteArray();
    }
    case 0x06:   // refresh: the loaded tables take effect
        m_appliedCurve = m_curve;
        m_appliedGamma = m_gammaTable;
        return QByteArray();
    case 0x07:   // save the tables
        m_nv.gammaTable = m_gammaTable;
        m_nv.curve = m_curve;
        persist();
        return QByteArray();
    case 0x08:   // init: linear
        m_gammaTable = linearGammaTable();
        return QByteArray();
    case 0x09:   // reset: back to the saved table
        m_gammaTable = m_nv.gammaTable;
        return QByteArray();
    case 0x11:
        return head + m_clock;
    case 0x12:
        if (p.size() < 9)
            return QByteArray();
        m_clock = p.mid(2, 7);
        return head + char(0) + m_clock;
    case 0x13:
        if (p.size() < 3)
            return QByteArray();
        return head + char(p[2]) + m_schedules.value(byteAt(p, 2), QByteArray(7, 0));
    case 0x14:
        if (p.size() < 10)
            return QByteArray();
        m_schedules[byteAt(p, 2)] = p.mid(3, 7);
        return head + char(0) + char(p[2]) + p.mid(3, 7);
    case 0x15:
        if (p.size() < 4)
            return QByteArray();
        return head + char(0) + char(p[3]) + char(p[2]);
    case 0x24: { // 3D LUT read: count points from (r, g, b) along blue
        if (p.size() < 6 || byteAt(p, 5) < 1 || byteAt(p, 5) > 8)
            return QByteArray();
        QByteArray r = head;
        for (int i = 0; i < byteAt(p, 5); ++i) {
            const quint32 key = (quint32(byteAt(p, 2)) << 16) | (quint32(byteAt(p, 3)) << 8)
                              | quint32((byteAt(p, 4) + i) & 0xFF);
            const QVector<quint16> point = m_lut3d.value(key, QVector<quint16>(3, 0));
            for (quint16 v : point)
                putBE16(r, v);
        }
        return r;
    }
    case 0x25: { // 3D LUT write
        if (p.size() < 11 || (p.size() - 5) % 6 != 0 || (p.size() - 5) / 6 > 8)
            return QByteArray();
        for (int i = 0; i < (p.size() - 5) / 6; ++i) {
            const quint32 key = (quint32(byteAt(p, 2)) << 16) | (quint32(byteAt(p, 3)) << 8)
                              | quint32((byteAt(p, 4) + i) & 0xFF);
            QVector<quint16> point(3);
            for (int c = 0; c < 3; ++c)
                point[c] = quint16((byteAt(p, 5 + 6 * i + 2 * c) << 8) | byteAt(p, 6 + 6 * i + 2 * c));
            m_lut3d[key] = point;
        }
        return head + p.mid(2, 3);
    }
    case 0x26:
        if (p.size() < 3)
            return QByteArray();
        return head + pictureModeName(byteAt(p, 2));
    case 0x27:
        if (p.size() < 16)
            return QByteArray();
        m_modeNames[byteAt(p, 2)] = p.mid(3, 13);
        m_nv.modeNames = m_modeNames;
        persist();
        return head + char(p[2]);
    default:
        return QByteArray();
    }
}

} // namespace pz
