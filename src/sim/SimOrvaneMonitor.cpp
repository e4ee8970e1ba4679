#include "SimOrvaneMonitor.h"

#include "Clock.h"
#include "RecordStream.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <algorithm>
#include <cmath>

namespace pz {

namespace {

constexpr quint8 kDdcAddress = 0x6E;
constexpr quint8 kEdidAddress = 0xA0;
constexpr quint8 kHostSource = 0x51;
constexpr quint8 kJunkByte = 0xEE;   // what a dual-link adapter slips into the stream

constexpr qint32 kStateMagic = 0x505A534D;   // "PZSM"
constexpr qint32 kStateVersion = 1;

// Registers whose targets take effect only when the colour engine has
// processed them.
const quint16 kEngineCodes[] = {0x14,   0x268,  0x2B3,  0x2E8,  0x1052, 0x1053, 0x1054,
                                0x1055, 0x1056, 0x1057, 0x1058, 0x1059, 0x105A, 0x1062};

void putBE16(QByteArray &out, quint16 v)
{
    out.append(char(v >> 8));
    out.append(char(v & 0xFF));
}

void putLE32(QByteArray &mem, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        mem[at + i] = char((v >> (8 * i)) & 0xFF);
}

quint8 byteAt(const QByteArray &a, int i) { return static_cast<quint8>(a[i]); }

int requestCode(const QByteArray &p)
{
    const quint8 op = byteAt(p, 0);
    switch (op) {
    case 0x01:
    case 0x03:
    case 0xC0:
    case 0xC2:
        return p.size() >= 2 ? byteAt(p, 1) : -1;
    case 0xC6:
    case 0xC8:
    case 0xF3:
        return p.size() >= 3 ? (byteAt(p, 1) << 8) | byteAt(p, 2) : -1;
    default:
        return -1;
    }
}

QVector<quint16> linearGammaTable()
{
    QVector<quint16> t(SimOrvaneMonitor::kTableEntries, 0);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 0x400; ++i)
            t[c * 0x400 + i] = i < 256 ? quint16((i * 1023 + 127) / 255) : 1023;
    return t;
}

QVector<quint16> defaultCurve()
{
    QVector<quint16> t(SimOrvaneMonitor::kTableEntries, 0);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i)
            t[c * 0x400 + i] = quint16(std::lround(65535.0 * std::pow(i / 255.0, 2.2)));
    return t;
}

} // namespace

SimOrvaneMonitor::SimOrvaneMonitor(const SimMonitorConfig &config)
    : m_config(config), m_noise(config.light.seed), m_switchedOnUs(programClock().nowUs())
{
    buildDefaults();
    captureNonVolatile();   // the factory state is what a power cycle restores
    if (!m_config.stateFile.isEmpty() && QFileInfo::exists(m_config.stateFile) && loadPersisted()) {
        boot();
        m_silentUntilUs = -1;   // already running when the program meets it
    }
    m_applied.clear();
    for (quint16 code : kEngineCodes)
        m_applied[code] = m_registers.value(code).value;
    m_appliedCurve = m_curve;
    m_appliedGamma = m_gammaTable;
}

SimOrvaneMonitor::~SimOrvaneMonitor() = default;

qint64 SimOrvaneMonitor::nowUs() const { return programClock().nowUs(); }

void SimOrvaneMonitor::buildDefaults()
{
    const SimLightParams &l = m_config.light;
    struct Def {
        quint16 code, value, maximum;
        quint8 type;
        bool readOnly;
    };
    const auto thousandths = [](double v) { return quint16(std::lround(v * 1000.0)); };
    const Def defs[] = {
        {0x00, 0, 0, 0, true},       {0x02, 1, 2, 0, false},      {0x04, 0, 1, 1, false},
        {0x05, 0, 1, 1, false},      {0x08, 0, 1, 1, false},      {0x10, 50, 100, 0, false},
        {0x12, 50, 100, 0, false},   {0x14, 2, 11, 0, false},     {0x16, 255, 255, 0, false},
        {0x18, 255, 255, 0, false},  {0x1A, 255, 255, 0, false},  {0x52, 0, 255, 0, true},
        {0x60, 0x11, 0x12, 0, true}, {0x66, 0, 1, 0, false},      {0x9B, 50, 100, 0, false},
        {0x9C, 50, 100, 0, false},   {0x9D, 50, 100, 0, false},   {0x9E, 50, 100, 0, false},
        {0x9F, 50, 100, 0, false},   {0xA0, 50, 100, 0, false},   {0xAC, 7404, 0xFFFF, 0, true},
        {0xAE, 5995, 0xFFFF, 0, true}, {0xB6, 3, 8, 0, true},     {0xC6, 0x45CC, 0xFFFF, 0, true},
        {0xC8, 0x0001, 0xFFFF, 0, true}, {0xDF, 0x0202, 0xFFFF, 0, true},
        {0xE3, 0, 1, 0, false},      {0xFB, 0, 1, 0, false},      {0xFF, 2400, 65535, 0, true},
        {0x212, 50, 100, 0, false},  {0x213, 50, 100, 0, false},  {0x214, 50, 100, 0, false},
        {0x215, 50, 100, 0, false},  {0x216, 50, 100, 0, false},  {0x217, 50, 100, 0, false},
        {0x233, 0, 1, 0, false},     {0x242, 7, 255, 0, true},    {0x254, 1, 1, 0, false},
        {0x257, 50, 100, 0, false},  {0x268, 9, 12, 0, false},    {0x27E, 0, 1023, 0, true},
        {0x27F, 0, 1023, 0, true},   {0x280, 0, 1023, 0, true},   {0x2A8, 3, 65535, 0, true},
        {0x2B3, 160, 400, 0, false}, {0x2B4, 0, 400, 0, true},    {0x2BE, 3, 4, 0, false},
        {0x2BF, 0, 1, 0, false},     {0x2C2, 1, 1, 0, false},     {0x2CA, 1023, 1023, 0, true},
        {0x2E8, 170, 300, 0, false}, {0x2EE, 3, 5, 0, false},     {0x2F1, 50, 100, 0, false},
        {0x2F2, 50, 100, 0, false},  {0x2F3, 50, 100, 0, false},  {0x2F4, 50, 100, 0, false},
        {0x2F5, 50, 100, 0, false},  {0x2F6, 50, 100, 0, false},  {0x2F8, 0, 1, 0, false},
        {0x2F9, 0, 1, 0, false},     {0x1050, 1, 10, 0, false},   {0x1051, 1, 10, 0, false},
        {0x1052, 313, 1000, 0, false}, {0x1053, 329, 1000, 0, false}, {0x1054, 0, 1000, 0, false},
        {0x1055, thousandths(l.red.x), 1000, 0, false},   {0x1056, thousandths(l.red.y), 1000, 0, false},
        {0x1057, thousandths(l.green.x), 1000, 0, false}, {0x1058, thousandths(l.green.y), 1000, 0, false},
        {0x1059, thousandths(l.blue.x), 1000, 0, false},  {0x105A, thousandths(l.blue.y), 1000, 0, false},
        {0x105B, 0, 1, 0, false},    {0x105C, 0, 1, 0, false},    {0x105D, 0, 31, 0, false},
        {0x105F, 0, 1, 0, false},    {0x1062, 0, 1, 0, false},    {0x1067, 1, 3, 0, false},
        {0x1068, 5, 255, 0, true},   {0x1069, 0, 1, 0, false},    {0x106B, 0, 3, 0, false},
        {0x106F, 40, 400, 0, true},  {0x1097, 0, 1, 0, true},
    };
    m_registers.clear();
    for (const Def &d : defs) {
        if (m_config.unsupportedCodes.contains(d.code))
            continue;
        Register r;
        r.value = m_config.registerValues.value(d.code, d.value);
        r.maximum = d.maximum;
        r.type = d.type;
        r.readOnly = d.readOnly;
        m_registers.insert(d.code, r);
        m_defaults.insert(d.code, r.value);
    }

    m_edid = m_config.edid.isEmpty() ? buildSimEdid(m_config) : m_config.edid;
    m_capabilities = m_config.capabilities.isEmpty() ? simDefaultCapabilities(m_config.modelName)
                                                     : m_config.capabilities;
    m_pictureMode = m_config.pictureMode;

    // EEPROM: power-on counters, native primaries, luminance record; the
    // rest erased.
    m_eeprom = QByteArray(kEepromSize, char(0xFF));
    putLE32(m_eeprom, 0x0308, m_config.powerOnMinutes);
    putLE32(m_eeprom, 0x03F8, m_config.powerOnMinutesSecondary);
    SimEngineState native;
    native.preset = 2;
    native.luminance = 1000;   // full drive: the factory measures at Lmax
    native.gammaMode = kToneNative;
    const double rgb[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int rec = 0; rec < 36; ++rec) {
        const int at = 0x8800 + 16 * rec;
        m_eeprom[at] = char(0x01);
        m_eeprom[at + 1] = char(0x00);
        m_eeprom[at + 2] = char(rec);
        m_eeprom[at + 3] = 0;
        quint32 v[3] = {0, 0, 0};
        if (rec < 3) {
            // The primary alone, without the panel's black.
            const SimXYZ lit = SimLightModel::emitted(l, native, rgb[rec][0], rgb[rec][1], rgb[rec][2]);
            const SimXYZ dark = SimLightModel::emitted(l, native, 0, 0, 0);
            const SimXYZ xyz{lit.X - dark.X, lit.Y - dark.Y, lit.Z - dark.Z};
            // Thousandths of cd/m²: only the ratios matter to the host.
            v[0] = quint32(std::lround(xyz.X * 1000.0));
            v[1] = quint32(std::lround(xyz.Y * 1000.0));
            v[2] = quint32(std::lround(xyz.Z * 1000.0));
        }
        for (int i = 0; i < 3; ++i)
            putLE32(m_eeprom, at + 4 + 4 * i, v[i]);
    }
    m_eeprom.replace(0x8A40, 48, m_eeprom.mid(0x8800, 48));
    for (int i = 0; i < 288; ++i)
        m_eeprom[0x8E40 + i] = char((i * 7 + 3) & 0xFF);
    for (int i = 0; i < 16; ++i)
        m_eeprom[0x8F30 + i] = 0;
    m_eeprom[0x8F32] = 1;   // uint16 divisor at +2
    putLE32(m_eeprom, 0x8F38, quint32(std::lround(l.maxLuminance * 100.0)));

    m_ram = QByteArray(kEepromSize, 0);
    m_gammaTable = linearGammaTable();
    m_curve = defaultCurve();
    m_asset = QByteArray(64, 0);
    m_modeNames.clear();
    for (int mode = 0; mode < 8; ++mode)
        m_modeNames[mode] = QStringLiteral("USER%1").arg(mode).leftJustified(13, QLatin1Char(' ')).toLatin1();
    m_whiteBalance.clear();
    m_clock = QByteArray("\x1A\x0C\x0A\x0C\x00\x00\x01", 7);
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

void SimOrvaneMonitor::boot()
{
    for (auto it = m_nv.registers.cbegin(); it != m_nv.registers.cend(); ++it)
        if (m_registers.contains(it.key()))
            m_registers[it.key()].value = it.value();
    m_gammaTable = m_nv.gammaTable;
    m_curve = m_nv.curve;
    m_edid = m_nv.edid;
    m_asset = m_nv.asset;
    m_modeNames = m_nv.modeNames;
    m_whiteBalance = m_nv.whiteBalance;
    m_appliedCurve = m_curve;
    m_appliedGamma = m_gammaTable;
    m_applied.clear();
    for (quint16 code : kEngineCodes)
        m_applied[code] = m_registers.value(code).value;
    m_processingEndsUs = -1;
    m_reply.clear();
    m_replyReadyUs = 0;
    m_nakReads = false;
    m_silentUntilUs = nowUs() + qint64(m_config.resetSilenceMs) * 1000;
}

void SimOrvaneMonitor::powerCycle()
{
    QMutexLocker lock(&m_lock);
    boot();
}

bool SimOrvaneMonitor::silent()
{
    QMutexLocker lock(&m_lock);
    if (m_silentUntilUs >= 0 && nowUs() >= m_silentUntilUs)
        m_silentUntilUs = -1;
    return m_silentUntilUs >= 0;
}

void SimOrvaneMonitor::advance()
{
    if (m_processingEndsUs >= 0 && !m_processingStuck && nowUs() >= m_processingEndsUs) {
        m_processingEndsUs = -1;
        for (quint16 code : kEngineCodes)
            m_applied[code] = m_registers.value(code).value;
    }
}

bool SimOrvaneMonitor::colourProcessing()
{
    QMutexLocker lock(&m_lock);
    advance();
    return m_processingStuck || m_processingEndsUs >= 0;
}

SimEngineState SimOrvaneMonitor::appliedEngineState()
{
    QMutexLocker lock(&m_lock);
    advance();
    SimEngineState s;
    s.preset = m_applied.value(0x14);
    s.whiteX = m_applied.value(0x1052);
    s.whiteY = m_applied.value(0x1053);
    s.luminance = m_applied.value(0x2B3);
    s.blackTenths = m_applied.value(0x1054);
    s.gammaMode = m_applied.value(0x268);
    s.gammaValue = m_applied.value(0x2E8);
    s.customGamut = m_applied.value(0x1062) == 1;
    for (int i = 0; i < 6; ++i)
        s.gamut[i] = m_applied.value(quint16(0x1055 + i));
    s.gains[0] = m_registers.value(0x16).value;
    s.gains[1] = m_registers.value(0x18).value;
    s.gains[2] = m_registers.value(0x1A).value;
    for (int c = 0; c < 3; ++c)
        s.curve += m_appliedCurve.mid(c * 0x400, 256);
    for (int c = 0; c < 3; ++c)
        s.lut += m_appliedGamma.mid(c * 0x400, 256);
    s.lutMaximum = m_registers.contains(0x2CA) ? m_registers.value(0x2CA).value : 1023;
    return s;
}

SimXYZ SimOrvaneMonitor::emittedXYZ(double r, double g, double b)
{
    QMutexLocker lock(&m_lock);
    SimXYZ xyz = SimLightModel::emitted(m_config.light, appliedEngineState(), r, g, b);
    double f = 1.0 + m_config.light.driftPerHour * double(nowUs() - m_switchedOnUs) / 3.6e9;
    if (m_config.light.noise > 0) {
        std::normal_distribution<double> n(0.0, m_config.light.noise);
        f *= 1.0 + n(m_noise);
    }
    f = std::max(0.0, f);
    xyz.X *= f;
    xyz.Y *= f;
    xyz.Z *= f;
    return xyz;
}

// --- registers -------------------------------------------------------------

bool SimOrvaneMonitor::isSupported(quint16 code) const
{
    QMutexLocker lock(&m_lock);
    return m_registers.contains(code);
}

quint16 SimOrvaneMonitor::registerMaximum(quint16 code) const
{
    QMutexLocker lock(&m_lock);
    return m_registers.value(code).maximum;
}

quint16 SimOrvaneMonitor::registerValue(quint16 code)
{
    QMutexLocker lock(&m_lock);
    advance();
    const SimLightParams &l = m_config.light;
    switch (code) {
    case 0x1097:
        return colourProcessing() ? 1 : 0;
    case 0x2B4: {
        const int attainable = static_cast<int>(std::floor(l.maxLuminance / l.luminancePerStep));
        return quint16(std::min<int>(m_registers.value(0x2B3).value, attainable));
    }
    case 0x27E:
    case 0x27F:
    case 0x280: {
        const SimEngineState s = appliedEngineState();
        double drive[3];
        SimLightModel::whiteDrive(l, s, drive);
        const double ratio = std::min(1.0, l.luminancePerStep * s.luminance / l.maxLuminance);
        return quint16(std::lround(1023.0 * ratio * drive[code - 0x27E]));
    }
    default:
        return m_registers.value(code).value;
    }
}

void SimOrvaneMonitor::setRegister(quint16 code, quint16 value)
{
    QMutexLocker lock(&m_lock);
    writeRegister(code, value);
}

void SimOrvaneMonitor::writeRegister(quint16 code, quint16 value)
{
    advance();
    auto it = m_registers.find(code);
    if (it == m_registers.end() || it->readOnly)
        return;
    value = std::min(value, it->maximum);
    if (code == 0x2B3)
        value = std::max(value, m_registers.value(0x106F).value);

    if (code == 0x08) {   // restore colour defaults: momentary, applied at once
        if (value == 1) {
            for (quint16 c : kEngineCodes)
                if (m_registers.contains(c))
                    m_registers[c].value = m_defaults.value(c);
            for (quint16 c : {quint16(0x16), quint16(0x18), quint16(0x1A)})
                if (m_registers.contains(c))
                    m_registers[c].value = m_defaults.value(c);
            for (quint16 c : kEngineCodes)
                m_applied[c] = m_registers.value(c).value;
        }
        return;
    }
    if (code == 0x2F8 && value == 1)
        m_gammaTable = linearGammaTable();

    it->value = value;

    const bool startsProcessing =
        (code == 0x1067 && value == 1)
        || ((code == 0x1052 || code == 0x1053 || code == 0x2B3 || code == 0x1054)
            && m_registers.value(0x1067).value == 1);
    if (startsProcessing)
        m_processingEndsUs = nowUs() + qint64(m_config.colourProcessingMs) * 1000;
}

// --- memories --------------------------------------------------------------

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

bool SimOrvaneMonitor::tableRange(int offset, int count) const
{
    return count >= 1 && count <= 16 && offset >= 0 && offset + count <= kTableEntries;
}

// --- I2C -------------------------------------------------------------------

bool SimOrvaneMonitor::write(quint8 address, const quint8 *data, int length)
{
    QMutexLocker lock(&m_lock);
    SimFrame f;
    f.address = address;
    f.bytes = QByteArray(reinterpret_cast<const char *>(data), std::max(0, length));
    f.timeUs = nowUs();
    if (m_frames.size() >= kFrameLogLimit)
        m_frames.remove(0, kFrameLogLimit / 2);
    m_frames.append(f);
    if (length <= 0 || silent())
        return false;
    switch (address & 0xFE) {
    case kDdcAddress:
        return writeDdcCi(data, length);
    case kEdidAddress:
        return writeEdid(data, length);
    default:
        return false;   // nobody at that address
    }
}

bool SimOrvaneMonitor::read(quint8 address, quint8 *data, int length)
{
    return readBus(address, data, length, true);
}

bool SimOrvaneMonitor::readFromBridge(quint8 address, quint8 *data, int length)
{
    return readBus(address, data, length, false);
}

bool SimOrvaneMonitor::readBus(quint8 address, quint8 *data, int length, bool throughAdapter)
{
    QMutexLocker lock(&m_lock);
    ++m_readCount;
    if (length <= 0 || silent())
        return false;
    switch (address & 0xFE) {
    case kDdcAddress:
        return readDdcCi(data, length, throughAdapter);
    case kEdidAddress:
        return readEdid(data, length);
    default:
        return false;
    }
}

bool SimOrvaneMonitor::writeEdid(const quint8 *data, int length)
{
    m_edidPointer = data[0];
    if (length == 1)
        return true;
    if (!m_config.factoryMode)
        return false;
    // Page write: the bytes after the offset land from there on.
    if (m_edid.size() < 256)
        m_edid.append(QByteArray(256 - m_edid.size(), char(0xFF)));
    for (int i = 1; i < length; ++i)
        m_edid[(m_edidPointer + i - 1) & 0xFF] = char(data[i]);
    m_nv.edid = m_edid;
    persist();
    return true;
}

bool SimOrvaneMonitor::readEdid(quint8 *data, int length)
{
    if (m_config.ddcEdidFails)
        return false;
    for (int i = 0; i < length; ++i) {
        const int at = (m_edidPointer + i) & 0xFF;
        data[i] = at < m_edid.size() ? quint8(m_edid[at]) : 0xFF;
    }
    m_edidPointer = (m_edidPointer + length) & 0xFF;
    return true;
}

QByteArray SimOrvaneMonitor::frameReply(const QByteArray &payload)
{
    QByteArray frame;
    frame.append(char(kDdcAddress));
    frame.append(char(0x80 | payload.size()));
    frame.append(payload);
    quint8 check = 0x50;
    for (char c : frame)
        check ^= quint8(c);
    frame.append(char(check));
    return frame;
}

SimFault *SimOrvaneMonitor::matchFault(const QByteArray &payload)
{
    const int opcode = byteAt(payload, 0);
    const int code = requestCode(payload);
    for (SimFault &f : m_faults) {
        if (f.count <= 0)
            continue;
        if ((f.opcode < 0 || f.opcode == opcode) && (f.code < 0 || f.code == code))
            return &f;
    }
    return nullptr;
}

int SimOrvaneMonitor::pendingFaults() const
{
    QMutexLocker lock(&m_lock);
    int n = 0;
    for (const SimFault &f : m_faults)
        n += std::max(0, f.count);
    return n;
}

void SimOrvaneMonitor::applyReplyFault(SimFaultKind kind, QByteArray &frame) const
{
    QByteArray payload = frame.mid(2, frame.size() - 3);
    switch (kind) {
    case SimFaultKind::NullReply:
        frame = frameReply(QByteArray());
        return;
    case SimFaultKind::BadChecksum:
        frame[frame.size() - 1] = char(frame.back() ^ 0x5A);
        return;
    case SimFaultKind::WrongSource:
        frame[0] = char(0x6F);
        return;
    case SimFaultKind::OverlongLength:
        frame[1] = char(0xFF);
        return;
    case SimFaultKind::WrongOpcode:
        if (!payload.isEmpty())
            payload[0] = char(payload[0] + 1);
        break;
    case SimFaultKind::WrongPageOrCode: {
        const int at = !payload.isEmpty() && byteAt(payload, 0) == 0xC7 ? 3 : 2;
        if (payload.size() > at)
            payload[at] = char(payload[at] ^ 0x01);
        break;
    }
    case SimFaultKind::ShortReply:
        payload.chop(1);
        break;
    default:
        return;
    }
    frame = frameReply(payload);
}

bool SimOrvaneMonitor::writeDdcCi(const quint8 *data, int length)
{
    advance();
    // A request frame: 51, 80|n, n payload bytes, checksum over 6E and all.
    const int n = length >= 2 ? (data[1] & 0x7F) : -1;
    bool wellFormed = length >= 3 && data[0] == kHostSource && (data[1] & 0x80) && length == n + 3;
    if (wellFormed) {
        quint8 check = kDdcAddress;
        for (int i = 0; i < n + 2; ++i)
            check ^= data[i];
        wellFormed = check == data[n + 2];
    }
    if (!wellFormed) {
        // Ignored; the host's next read meets a refusal or a null message.
        m_reply.clear();
        m_replyReadyUs = 0;
        m_nakReads = m_config.nakAfterBadFrame;
        return true;
    }

    const QByteArray payload(reinterpret_cast<const char *>(data + 2), n);
    m_nakReads = false;
    m_reply.clear();
    m_replyReadyUs = 0;
    if (payload.isEmpty())
        return true;

    SimFault *fault = matchFault(payload);
    SimFaultKind kind = SimFaultKind::NullReply;
    int delayMs = 0;
    if (fault) {
        kind = fault->kind;
        delayMs = fault->delayMs;
        --fault->count;
        if (kind == SimFaultKind::NakWrite)
            return false;
    }

    const bool corruptTable = fault && kind == SimFaultKind::ReadBackMismatch;
    QByteArray request = payload;
    if (corruptTable && request.size() >= 6 && byteAt(request, 0) == 0xC2
        && (byteAt(request, 1) == 0x05 || byteAt(request, 1) == 0x0B))
        request[5] = char(request[5] ^ 0x01);   // low byte of the first value

    const QByteArray replyPayload = handleRequest(request);
    m_reply = frameReply(replyPayload);

    const quint8 opcode = byteAt(payload, 0);
    if (opcode == 0xC8 && payload.size() >= 3) {
        const quint16 code16 = quint16((byteAt(payload, 1) << 8) | byteAt(payload, 2));
        if (m_config.slowCodes.contains(code16))
            m_replyReadyUs = nowUs() + qint64(m_config.lateReplyMs) * 1000;
    }
    if (fault) {
        if (kind == SimFaultKind::LateReply)
            m_replyReadyUs = nowUs() + qint64(delayMs) * 1000;
        else if (kind == SimFaultKind::NakRead)
            m_nakReads = true;
        else if (!corruptTable)
            applyReplyFault(kind, m_reply);
    }
    return true;
}

bool SimOrvaneMonitor::readDdcCi(quint8 *data, int length, bool throughAdapter)
{
    advance();
    if (m_nakReads)
        return false;
    const QByteArray frame = (m_reply.isEmpty() || nowUs() < m_replyReadyUs)
        ? frameReply(QByteArray()) : m_reply;
    int next = 0;
    for (int i = 0; i < length; ++i) {
        if (throughAdapter && m_config.dualLinkAdapter && i >= 16 && i % 16 == 0) {
            data[i] = kJunkByte;
            continue;
        }
        data[i] = next < frame.size() ? quint8(frame[next]) : 0x00;
        ++next;
    }
    return true;
}

bool SimOrvaneMonitor::lateReplyPending()
{
    QMutexLocker lock(&m_lock);
    return !m_reply.isEmpty() && nowUs() < m_replyReadyUs;
}

QVector<QByteArray> SimOrvaneMonitor::requests() const
{
    QMutexLocker lock(&m_lock);
    QVector<QByteArray> out;
    for (const SimFrame &f : m_frames) {
        if ((f.address & 0xFE) != kDdcAddress || f.bytes.size() < 3)
            continue;
        const int n = byteAt(f.bytes, 1) & 0x7F;
        if (byteAt(f.bytes, 0) == kHostSource && f.bytes.size() == n + 3)
            out.append(f.bytes.mid(2, n));
    }
    return out;
}

void SimOrvaneMonitor::clearLog()
{
    QMutexLocker lock(&m_lock);
    m_frames.clear();
    m_readCount = 0;
}

// --- commands --------------------------------------------------------------

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
