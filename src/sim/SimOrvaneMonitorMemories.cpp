// The simulated monitor's memories: EEPROM, asset string and mode names as
// the host sees them, what survives a power cycle, and the state file that
// keeps it between program runs.

#include "SimOrvaneMonitor.h"

#include "RecordStream.h"

#include <QMutexLocker>

namespace pz {

namespace {

constexpr qint32 kStateMagic = 0x505A534D;   // "PZSM"
constexpr qint32 kStateVersion = 1;

} // namespace

QByteArray SimOrvaneMonitor::eeprom(int address, int length) const
{
    QMutexLocker lock(&m_lock);
    QByteArray out;
    for (int i = 0; i < length; ++i)
        out.append(m_eeprom[(address + i) & 0xFFFF]);
    return out;
}

void SimOrvaneMonitor::setEeprom(int address, const QByteArray &bytes)
{
    QMutexLocker lock(&m_lock);
    for (int i = 0; i < bytes.size(); ++i)
        m_eeprom[(address + i) & 0xFFFF] = bytes[i];
    persist();
}

QByteArray SimOrvaneMonitor::assetString() const
{
    QMutexLocker lock(&m_lock);
    const int end = m_asset.indexOf('\0');
    return end < 0 ? m_asset : m_asset.left(end);
}

QByteArray SimOrvaneMonitor::pictureModeName(int mode) const
{
    QMutexLocker lock(&m_lock);
    return m_modeNames.value(mode, QByteArray(13, ' '));
}

void SimOrvaneMonitor::saveNonVolatile()
{
    captureNonVolatile();
    persist();
}

void SimOrvaneMonitor::captureNonVolatile()
{
    m_nv.registers.clear();
    for (auto it = m_registers.cbegin(); it != m_registers.cend(); ++it)
        if (!it.value().readOnly)
            m_nv.registers.insert(it.key(), it.value().value);
    m_nv.gammaTable = m_gammaTable;
    m_nv.curve = m_curve;
    m_nv.edid = m_edid;
    m_nv.asset = m_asset;
    m_nv.modeNames = m_modeNames;
    m_nv.whiteBalance = m_whiteBalance;
}

// --- persistence -----------------------------------------------------------

namespace {

void writeTable(QDataStream &s, const QVector<quint16> &t)
{
    s << qint32(t.size());
    for (quint16 v : t)
        s << v;
}

bool readTable(QDataStream &s, QVector<quint16> &t, qint32 expected)
{
    qint32 n = 0;
    s >> n;
    if (!acceptCount(s, n, expected) || n != expected)
        return false;
    t.clear();
    for (qint32 i = 0; i < n && s.status() == QDataStream::Ok; ++i) {
        quint16 v = 0;
        s >> v;
        t.append(v);
    }
    return s.status() == QDataStream::Ok;
}

void writeByteMap(QDataStream &s, const QMap<int, QByteArray> &m)
{
    s << qint32(m.size());
    for (auto it = m.cbegin(); it != m.cend(); ++it)
        s << qint32(it.key()) << it.value();
}

// Every value has the size its reply carries (a mode name 13 bytes, a
// white-balance entry 4): a damaged file must not change reply lengths.
bool readByteMap(QDataStream &s, QMap<int, QByteArray> &m, int valueSize)
{
    qint32 n = 0;
    s >> n;
    if (!acceptCount(s, n, 256))
        return false;
    m.clear();
    for (qint32 i = 0; i < n && s.status() == QDataStream::Ok; ++i) {
        qint32 key = 0;
        QByteArray value;
        s >> key >> value;
        if (value.size() != valueSize || key < 0 || key > 255) {
            s.setStatus(QDataStream::ReadCorruptData);
            return false;
        }
        m.insert(key, value);
    }
    return s.status() == QDataStream::Ok;
}

} // namespace

void SimOrvaneMonitor::persist() const
{
    if (m_config.stateFile.isEmpty())
        return;
    saveRecordFile(m_config.stateFile, [this](QDataStream &s) {
        writeRecordHeader(s, kStateMagic, kStateVersion);
        s << qint32(m_nv.registers.size());
        for (auto it = m_nv.registers.cbegin(); it != m_nv.registers.cend(); ++it)
            s << it.key() << it.value();
        writeTable(s, m_nv.gammaTable);
        writeTable(s, m_nv.curve);
        s << m_nv.edid << m_nv.asset << m_eeprom;
        writeByteMap(s, m_nv.modeNames);
        writeByteMap(s, m_nv.whiteBalance);
    });
}

bool SimOrvaneMonitor::loadPersisted()
{
    NonVolatile nv;
    QByteArray eeprom;
    const int rc = loadRecordFile(m_config.stateFile, [&](QDataStream &s) {
        if (readRecordHeader(s, kStateMagic, kStateVersion, kStateVersion) != HeaderCheck::Ok)
            return;
        qint32 n = 0;
        s >> n;
        if (!acceptCount(s, n, 0x10000))
            return;
        for (qint32 i = 0; i < n && s.status() == QDataStream::Ok; ++i) {
            quint16 code = 0, value = 0;
            s >> code >> value;
            nv.registers.insert(code, value);
        }
        if (!readTable(s, nv.gammaTable, kTableEntries) || !readTable(s, nv.curve, kTableEntries))
            return;
        s >> nv.edid >> nv.asset >> eeprom;
        if (s.status() != QDataStream::Ok || nv.edid.size() < 128 || nv.edid.size() > 256
            || nv.asset.size() != 64 || eeprom.size() != kEepromSize) {
            s.setStatus(QDataStream::ReadCorruptData);
            return;
        }
        if (!readByteMap(s, nv.modeNames, 13) || !readByteMap(s, nv.whiteBalance, 4))
            return;
    });
    if (rc != kFileOk)
        return false;   // a damaged state file leaves the factory state
    m_nv = nv;
    m_eeprom = eeprom;
    return true;
}

} // namespace pz
