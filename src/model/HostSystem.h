#pragma once
// What the records of this library need of the operating system: where the
// preferences live and where ICC profiles go. The platform library implements
// it (pz::platformHostSystem()); the application installs that at start and
// tests install their own. With nothing installed every folder is unknown
// (empty), so nothing is read from or written to a made-up path.

#include "GlobalInstance.h"

#include <QString>

namespace pz {

class IHostSystem {
public:
    virtual ~IHostSystem() = default;
    // The user's preferences folder, created when missing; empty when unknown.
    virtual QString preferencesFolder() = 0;
    // The ICC profile folder of the computer (allUsers) or of the user,
    // created when missing; empty when it can be neither found nor created.
    virtual QString profileFolder(bool allUsers) = 0;
    // True where profiles must always go to the user's folder, whatever the
    // stored storage-location choice says.
    virtual bool profilesAlwaysPerUser() = 0;
};

// The host in force, or nullptr.
IHostSystem *hostSystem();
// Installs a host (not owned); nullptr removes it.
void setHostSystem(IHostSystem *host);

// Installs a host for the lifetime of a scope (tests).
using ScopedHostSystem = GlobalInstance<IHostSystem>::Scoped;

} // namespace pz
