#include "HostSystem.h"

#include <atomic>

namespace pz {

namespace {
std::atomic<IHostSystem *> g_host{nullptr};
}

IHostSystem *hostSystem() { return g_host.load(); }

void setHostSystem(IHostSystem *host) { g_host.store(host); }

ScopedHostSystem::ScopedHostSystem(IHostSystem *host) : m_previous(g_host.load())
{
    setHostSystem(host);
}

ScopedHostSystem::~ScopedHostSystem() { setHostSystem(m_previous); }

} // namespace pz
