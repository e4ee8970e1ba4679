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

// How each setting a family takes is stored.
using Setters = QMap<QString, std::function<void(const QString &)>>;

bool applySettings(const QMap<QString, QString> &settings, const Setters &setters)
{
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        const auto set = setters.value(it.key());
        if (!set)
            return false;
        set(it.value());
    }
    return true;
}

} // namespace

SimSensors::SimSensors(SimDesktop &desktop, ISimScreenContent *screen)
    : m_light(desktop, screen),
      m_i1d3(m_light),
      m_munki(m_light),
      m_i1d3Seam(&m_i1d3),
      m_munkiSeam(&m_munki)
{
}

SimSensors::~SimSensors() = default;

void SimSensors::attach(Family family)
{
    switch (family) {
    case I1d3:
        m_i1d3.setAttached(true);
        break;
    case ColorMunki:
        m_munki.setAttached(true);
        break;
    }
}

void SimSensors::detach(Family family)
{
    switch (family) {
    case I1d3:
        m_i1d3.setAttached(false);
        break;
    case ColorMunki:
        m_munki.setAttached(false);
        break;
    }
}

bool SimSensors::isAttached(Family family) const
{
    switch (family) {
    case I1d3:
        return m_i1d3.isAttached();
    case ColorMunki:
        return m_munki.isAttached();
    }
    return false;
}

void SimSensors::configureFromEnvironment()
{
    m_i1d3.configureFromEnvironment();
    m_munki.configureFromEnvironment();
}

bool SimSensors::attachFromText(const QString &text)
{
    detach(I1d3);
    detach(ColorMunki);
    QVector<SensorRequest> requests;
    if (!parseRequests(text, requests))
        return false;
    // Checked whole before anything is attached.
    SimI1d3Config i1d3Config = m_i1d3.config();
    SimColorMunkiConfig munkiConfig = m_munki.config();
    const Setters i1d3Setters{
        {"maker", [&](const QString &v) { i1d3Config.makersVariant = v.toInt() != 0; }},
        {"firmware", [&](const QString &v) { i1d3Config.firmware = v.toLatin1(); }},
        {"serial", [&](const QString &v) { i1d3Config.serial = v.toLatin1(); }},
    };
    const Setters munkiSetters{
        {"serial", [&](const QString &v) { munkiConfig.serial = v.toLatin1(); }},
    };
    bool i1d3 = false;
    bool munki = false;
    for (const SensorRequest &request : requests) {
        if (request.family == QLatin1String("none") && request.settings.isEmpty())
            continue;
        if (request.family == QLatin1String("i1d3") && applySettings(request.settings, i1d3Setters))
            i1d3 = true;
        else if (request.family == QLatin1String("munki")
                 && applySettings(request.settings, munkiSetters))
            munki = true;
        else
            return false;
    }
    m_i1d3.setConfig(i1d3Config);
    m_munki.setConfig(munkiConfig);
    if (i1d3)
        attach(I1d3);
    if (munki)
        attach(ColorMunki);
    return true;
}

bool SimSensors::attachFromEnvironment()
{
    const QString text = qEnvironmentVariable("PELZORA_SIM_SENSOR");
    return attachFromText(text.trimmed().isEmpty() ? QStringLiteral("i1d3") : text);
}

} // namespace pz
