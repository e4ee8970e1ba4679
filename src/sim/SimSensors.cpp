#include "SimSensors.h"

#include <QMap>
#include <QStringList>
#include <functional>

namespace pz {

namespace {

struct SensorRequest {
    QString family;
    QMap<QString, QString> settings;
};

// "i1d3:maker=1,firmware=v2.5+munki" -> its requests; false when malformed.
bool parseRequests(const QString &text, QVector<SensorRequest> &requests)
{
    for (const QString &item : text.split(QLatin1Char('+'))) {
        SensorRequest request;
        const int colon = item.indexOf(QLatin1Char(':'));
        request.family = item.left(colon).trimmed().toLower();
        if (request.family.isEmpty())
            return false;
        if (colon >= 0) {
            for (const QString &pair : item.mid(colon + 1).split(QLatin1Char(','))) {
                const int eq = pair.indexOf(QLatin1Char('='));
                if (eq <= 0)
                    return false;
                request.settings.insert(pair.left(eq).trimmed().toLower(),
                                        pair.mid(eq + 1).trimmed());
            }
        }
        requests.append(request);
    }
    return true;
}

// How each setting a family takes is stored: false for a value it does not take.
using Setters = QMap<QString, std::function<bool(const QString &)>>;

bool applySettings(const QMap<QString, QString> &settings, const Setters &setters)
{
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        const auto set = setters.value(it.key());
        if (!set || !set(it.value()))
            return false;
    }
    return true;
}

// "0" or "1".
bool readFlag(const QString &text, bool &flag)
{
    if (text != QLatin1String("0") && text != QLatin1String("1"))
        return false;
    flag = text == QLatin1String("1");
    return true;
}

// Any text, as long as it is not empty.
bool readText(const QString &text, QByteArray &value)
{
    if (text.isEmpty())
        return false;
    value = text.toLatin1();
    return true;
}

// A decimal number, as the i1 library gives serials.
bool readDecimal(const QString &text, QByteArray &value)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return readText(text, value);
}

// The names of the families, in the order of SimSensors::Family.
const char *const kFamilyNames[] = {"i1d3",   "munki",   "i1display", "i1pro",
                                    "spyder2", "spyder3", "spyder4"};
constexpr int kFamilies = int(sizeof kFamilyNames / sizeof kFamilyNames[0]);
static_assert(kFamilies == SimSensors::Spyder4 + 1, "a name for every family");

} // namespace

SimSensors::SimSensors(SimDesktop &desktop, ISimScreenContent *screen)
    : m_light(desktop, screen),
      m_i1d3(m_light),
      m_munki(m_light),
      m_eyeOne([this] { return SimLightAtSensor{m_light.emissive(), m_light.ambient().lux}; }),
      m_spyder2([this] { return SimLightAtSensor{m_light.emissive(), m_light.ambient().lux}; }),
      m_spyderNoise(SimSpyder2Library::figures()),
      // The USB devices take their light with the noise on it.
      m_spyderBus([this] {
          return SimLightAtSensor{m_spyderNoise.emissive(m_light.emissive()),
                                  m_spyderNoise.ambientLux(m_light.ambient().lux)};
      }),
      m_i1d3Seam(&m_i1d3),
      m_munkiSeam(&m_munki),
      m_eyeOneSeam(&m_eyeOne),
      m_spyder2Seam(&m_spyder2),
      m_usbSeam(&m_spyderBus.usb())
{
}

SimSensors::~SimSensors() = default;

namespace {

// A device lost through its faults comes back when it is attached again.
void plugBackIn(SimSensorFaults &faults, bool attached)
{
    if (attached && faults.isLost())
        faults.replug();
}

} // namespace

void SimSensors::setAttached(Family family, bool attached)
{
    switch (family) {
    case I1d3:
        plugBackIn(m_i1d3.faults(), attached);
        m_i1d3.setAttached(attached);
        break;
    case ColorMunki:
        plugBackIn(m_munki.faults(), attached);
        m_munki.setAttached(attached);
        break;
    case I1Display:
        plugBackIn(m_eyeOne.faults(SimEyeOneLibrary::Display), attached);
        m_eyeOne.setAttached(SimEyeOneLibrary::Display, attached);
        break;
    case I1Pro:
        plugBackIn(m_eyeOne.faults(SimEyeOneLibrary::Pro), attached);
        m_eyeOne.setAttached(SimEyeOneLibrary::Pro, attached);
        break;
    case Spyder2:
        plugBackIn(m_spyder2.faults(), attached);
        m_spyder2.setAttached(attached);
        break;
    case Spyder3:
        m_spyderBus.setAttached(SimSpyderBus::kSpyder3Product, attached);
        break;
    case Spyder4:
        m_spyderBus.setAttached(SimSpyderBus::kSpyder4Product, attached);
        break;
    }
}

void SimSensors::attach(Family family)
{
    setAttached(family, true);
}

void SimSensors::detach(Family family)
{
    setAttached(family, false);
}

bool SimSensors::isAttached(Family family) const
{
    switch (family) {
    case I1d3:
        return m_i1d3.isAttached();
    case ColorMunki:
        return m_munki.isAttached();
    case I1Display:
        return m_eyeOne.isAttached(SimEyeOneLibrary::Display);
    case I1Pro:
        return m_eyeOne.isAttached(SimEyeOneLibrary::Pro);
    case Spyder2:
        return m_spyder2.isAttached();
    case Spyder3:
        return m_spyderBus.isAttached(SimSpyderBus::kSpyder3Product);
    case Spyder4:
        return m_spyderBus.isAttached(SimSpyderBus::kSpyder4Product);
    }
    return false;
}

void SimSensors::unplugAfterUs(Family family, qint64 us)
{
    switch (family) {
    case I1d3:
        m_i1d3.faults().loseAfterUs(us);
        break;
    case ColorMunki:
        m_munki.faults().loseAfterUs(us);
        break;
    case I1Display:
        m_eyeOne.faults(SimEyeOneLibrary::Display).loseAfterUs(us);
        break;
    case I1Pro:
        m_eyeOne.faults(SimEyeOneLibrary::Pro).loseAfterUs(us);
        break;
    case Spyder2:
        m_spyder2.faults().loseAfterUs(us);
        break;
    case Spyder3:
        m_spyderBus.spyder(SimSpyderBus::kSpyder3Product)->unplugAfterUs(us);
        break;
    case Spyder4:
        m_spyderBus.spyder(SimSpyderBus::kSpyder4Product)->unplugAfterUs(us);
        break;
    }
}

SimSensorNoise &SimSensors::noise(Family family)
{
    switch (family) {
    case I1d3:
        return m_i1d3.noise();
    case ColorMunki:
        return m_munki.noise();
    case I1Display:
        return m_eyeOne.noise(SimEyeOneLibrary::Display);
    case I1Pro:
        return m_eyeOne.noise(SimEyeOneLibrary::Pro);
    case Spyder2:
        return m_spyder2.noise();
    case Spyder3:
    case Spyder4:
        break;
    }
    return m_spyderNoise;
}

void SimSensors::configureFromEnvironment()
{
    m_i1d3.configureFromEnvironment();
    m_munki.configureFromEnvironment();
    m_eyeOne.configureFromEnvironment();
    m_spyder2.noise().configureFromEnvironment();
    m_spyderNoise.configureFromEnvironment();
}

QStringList SimSensors::familyNames()
{
    QStringList names;
    for (const char *name : kFamilyNames)
        names << QLatin1String(name);
    return names;
}

bool SimSensors::attachFromText(const QString &text)
{
    for (int family = 0; family < kFamilies; ++family)
        detach(Family(family));
    QVector<SensorRequest> requests;
    if (!parseRequests(text, requests))
        return false;
    // Checked whole before anything is attached.
    SimI1d3Config i1d3Config = m_i1d3.config();
    SimColorMunkiConfig munkiConfig = m_munki.config();
    SimEyeOneDisplayConfig displayConfig;
    Setters setters[kFamilies];
    setters[I1d3] = {
        {"maker", [&](const QString &v) { return readFlag(v, i1d3Config.makersVariant); }},
        {"firmware", [&](const QString &v) { return readText(v, i1d3Config.firmware); }},
        {"serial", [&](const QString &v) { return readText(v, i1d3Config.serial); }},
    };
    setters[ColorMunki] = {
        {"serial", [&](const QString &v) { return readText(v, munkiConfig.serial); }},
    };
    setters[I1Display] = {
        {"serial", [&](const QString &v) { return readDecimal(v, displayConfig.serial); }},
        {"gen1", [&](const QString &v) { return readFlag(v, displayConfig.firstGeneration); }},
    };
    bool wanted[kFamilies] = {};
    for (const SensorRequest &request : requests) {
        if (request.family == QLatin1String("none") && request.settings.isEmpty())
            continue;
        const int family = familyNames().indexOf(request.family);
        if (family < 0 || !applySettings(request.settings, setters[family]))
            return false;
        wanted[family] = true;
    }
    m_i1d3.setConfig(i1d3Config);
    m_munki.setConfig(munkiConfig);
    m_eyeOne.setDisplayConfig(displayConfig);
    for (int family = 0; family < kFamilies; ++family)
        if (wanted[family])
            attach(Family(family));
    return true;
}

bool SimSensors::attachFromEnvironment()
{
    const QString text = qEnvironmentVariable("PELZORA_SIM_SENSOR");
    return attachFromText(text.trimmed().isEmpty() ? QStringLiteral("i1d3") : text);
}

} // namespace pz
