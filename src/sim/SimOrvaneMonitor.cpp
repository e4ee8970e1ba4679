// The simulated monitor's state: factory defaults, power and boot, the
// colour engine that applies new targets only after it has processed them,
// the light leaving the panel, and the registers.

#include "SimOrvaneMonitor.h"
#include "SimOrvaneMonitorDetail.h"

#include "Clock.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <algorithm>
#include <cmath>

namespace pz {

using simmonitor::linearGammaTable;

namespace {

// Registers whose targets take effect only when the colour engine has
// processed them.
const quint16 kEngineCodes[] = {0x14,   0x268,  0x2B3,  0x2E8,  0x1052, 0x1053, 0x1054,
                                0x1055, 0x1056, 0x1057, 0x1058, 0x1059, 0x105A, 0x1062};

void putLE32(QByteArray &mem, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        mem[at + i] = char((v >> (8 * i)) & 0xFF);
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

QVector<quint16> simmonitor::linearGammaTable()
{
    QVector<quint16> t(SimOrvaneMonitor::kTableEntries, 0);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 0x400; ++i)
            t[c * 0x400 + i] = i < 256 ? quint16((i * 1023 + 127) / 255) : 1023;
    return t;
}

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
    s.brightness = m_registers.value(0x10).value;
    s.brightnessMaximum = m_registers.value(0x10).maximum;
    for (int c = 0; c < 3; ++c)
        s.curve += m_appliedCurve.mid(c * 0x400, 256);
    for (int c = 0; c < 3; ++c)
        s.lut += m_appliedGamma.mid(c * 0x400, 256);
    s.lutMaximum = m_registers.contains(0x2CA) ? m_registers.value(0x2CA).value : 1023;
    return s;
}

SimXYZ SimOrvaneMonitor::lightFor(const SimEngineState &engine, double r, double g, double b)
{
    QMutexLocker lock(&m_lock);
    SimXYZ xyz = SimLightModel::emitted(m_config.light, engine, r, g, b);
    if (m_config.light.flaws.enabled)
        xyz = SimPanelResponse::warmUp(m_config.light.flaws,
                                       double(nowUs() - m_switchedOnUs) / 60e6, xyz);
    const double f =
        std::max(0.0, 1.0 + m_config.light.driftPerHour * double(nowUs() - m_switchedOnUs) / 3.6e9);
    xyz.X *= f;
    xyz.Y *= f;
    xyz.Z *= f;
    return xyz;
}

SimXYZ SimOrvaneMonitor::emittedXYZ(double r, double g, double b)
{
    QMutexLocker lock(&m_lock);
    SimXYZ xyz = lightFor(appliedEngineState(), r, g, b);
    if (m_config.light.noise > 0) {
        std::normal_distribution<double> n(0.0, m_config.light.noise);
        const double f = std::max(0.0, 1.0 + n(m_noise));
        xyz.X *= f;
        xyz.Y *= f;
        xyz.Z *= f;
    }
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
    // A panel without a colour engine takes every setting at once.
    if (m_config.light.gainLutPanel && m_applied.contains(code))
        m_applied[code] = value;

    const bool startsProcessing =
        (code == 0x1067 && value == 1)
        || ((code == 0x1052 || code == 0x1053 || code == 0x2B3 || code == 0x1054)
            && m_registers.value(0x1067).value == 1);
    if (startsProcessing)
        m_processingEndsUs = nowUs() + qint64(m_config.colourProcessingMs) * 1000;
}

} // namespace pz
