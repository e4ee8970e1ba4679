#include "LinuxDisplayProfiles.h"

namespace pz {

namespace {

const char kProfileProperty[] = "_ICC_PROFILE";
const char kVersionProperty[] = "_ICC_PROFILE_IN_X_VERSION";
// Version 0.4 of the convention (major x 100 + minor), the one that defines
// the output property.
constexpr char kConventionVersion = 4;

// _ICC_PROFILE for the first monitor, _ICC_PROFILE_n for monitor n.
QByteArray rootPropertyName(int monitorIndex)
{
    QByteArray name(kProfileProperty);
    if (monitorIndex > 0)
        name += '_' + QByteArray::number(monitorIndex);
    return name;
}

} // namespace

LinuxDisplayProfiles::LinuxDisplayProfiles(std::shared_ptr<XRandRConnection> connection,
                                           const QDBusConnection &bus)
    : m_x(std::move(connection)), m_colorManager(bus)
{
}

bool LinuxDisplayProfiles::publishOnXServer(const XRandROutput &output, const QByteArray &profile)
{
    if (!m_x->setOutputProperty(output.id, kProfileProperty, profile))
        return false;
    const int monitor = m_x->monitorIndexAt(output.bounds);
    if (monitor >= 0 && !m_x->setRootProperty(rootPropertyName(monitor), profile))
        return false;
    return m_x->setRootProperty(kVersionProperty, QByteArray(1, kConventionVersion));
}

int LinuxDisplayProfiles::assign(quint32 displayId, const QString &path)
{
    QByteArray profile;
    if (!readIccProfileFile(path, profile))
        return kProfileUnreadable;

    QVector<XRandROutput> outputs;
    if (!m_x->activeOutputs(outputs))
        return kNotAssigned;
    for (const XRandROutput &output : outputs) {
        if (output.id != displayId)
            continue;
        const bool onXServer = publishOnXServer(output, profile);
        switch (m_colorManager.assign(path, profile, output.name, output.edid)) {
        case ColorManagerClient::kAssigned:
            return kAssigned;
        case ColorManagerClient::kFailed:
            // Where a colour manager runs, colour-managed programs ask it:
            // its refusal is the answer, whatever the X server holds.
            return kNotAssigned;
        case ColorManagerClient::kNoService:
        case ColorManagerClient::kNoDevice:
            break;
        }
        return onXServer ? kAssigned : kNotAssigned;
    }
    return kNotAssigned;
}

} // namespace pz
