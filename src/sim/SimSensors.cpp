#include "SimSensors.h"

#include <QMap>
#include <QStringList>

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

bool applyI1d3Settings(const QMap<QString, QString> &settings, SimI1d3Config &config)
{
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        if (it.key() == QLatin1String("maker"))
            config.makersVariant = it.value().toInt() != 0;
        else if (it.key() == QLatin1String("firmware"))
            config.firmware = it.value().toLatin1();
        else if (it.key() == QLatin1String("serial"))
            config.serial = it.value().toLatin1();
        else
            return false;
    }
    return true;
}

} // namespace

SimSensors::SimSensors(SimDesktop &desktop, ISimScreenContent *screen)
    : m_light(desktop, screen), m_i1d3(m_light), m_i1d3Seam(&m_i1d3)
{
}

SimSensors::~SimSensors() = default;

void SimSensors::attach(Family family)
{
    switch (family) {
    case I1d3:
        m_i1d3.setAttached(true);
        break;
    }
}

void SimSensors::detach(Family family)
{
    switch (family) {
    case I1d3:
        m_i1d3.setAttached(false);
        break;
    }
}

bool SimSensors::isAttached(Family family) const
{
    switch (family) {
    case I1d3:
        return m_i1d3.isAttached();
    }
    return false;
}

void SimSensors::configureFromEnvironment()
{
    m_i1d3.configureFromEnvironment();
}

bool SimSensors::attachFromText(const QString &text)
{
    detach(I1d3);
    QVector<SensorRequest> requests;
    if (!parseRequests(text, requests))
        return false;
    // Checked whole before anything is attached.
    SimI1d3Config i1d3Config = m_i1d3.config();
    bool i1d3 = false;
    for (const SensorRequest &request : requests) {
        if (request.family == QLatin1String("none") && request.settings.isEmpty())
            continue;
        if (request.family == QLatin1String("i1d3") && applyI1d3Settings(request.settings, i1d3Config))
            i1d3 = true;
        else
            return false;
    }
    m_i1d3.setConfig(i1d3Config);
    if (i1d3)
        attach(I1d3);
    return true;
}

bool SimSensors::attachFromEnvironment()
{
    const QString text = qEnvironmentVariable("PELZORA_SIM_SENSOR");
    return attachFromText(text.trimmed().isEmpty() ? QStringLiteral("i1d3") : text);
}

} // namespace pz
