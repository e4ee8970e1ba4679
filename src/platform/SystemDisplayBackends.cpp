#include "SystemDisplayBackends.h"

#include "LinuxDesktop.h"
#include "LinuxDisplayProfiles.h"
#include "XRandRGammaRamps.h"

#include <mutex>

namespace pz {

namespace {
struct Backends {
    std::shared_ptr<XRandRConnection> x;
    std::unique_ptr<LinuxDesktop> desktop;
    std::unique_ptr<XRandRGammaRamps> ramps;
    std::unique_ptr<LinuxDisplayProfiles> profiles;
};
} // namespace

SystemDisplayStatus installSystemDisplayBackends(const QByteArray &xDisplayName)
{
    static std::once_flag once;
    static Backends backends;
    std::call_once(once, [&] {
        backends.x = std::make_shared<XRandRConnection>(xDisplayName);
        backends.desktop = std::make_unique<LinuxDesktop>(backends.x);
        backends.ramps = std::make_unique<XRandRGammaRamps>(backends.x);
        backends.profiles =
            std::make_unique<LinuxDisplayProfiles>(backends.x, QDBusConnection::systemBus());
        setDesktop(backends.desktop.get());
        setGammaRamps(backends.ramps.get());
        setDisplayProfiles(backends.profiles.get());
    });
    SystemDisplayStatus status;
    status.available = backends.x->isAvailable();
    status.reason = backends.x->unavailableReason();
    return status;
}

} // namespace pz
