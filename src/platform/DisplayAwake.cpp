#include "DisplayAwake.h"

#include <atomic>

namespace pz {

namespace {
std::atomic<IDisplayAwake *> g_backend{nullptr};
}

IDisplayAwake &displayAwake()
{
    static NoDisplayAwake none;
    IDisplayAwake *b = g_backend.load();
    return b ? *b : none;
}

void setDisplayAwake(IDisplayAwake *backend) { g_backend.store(backend); }

ScopedDisplayAwake::ScopedDisplayAwake(IDisplayAwake *backend) : m_previous(g_backend.load())
{
    setDisplayAwake(backend);
}

ScopedDisplayAwake::~ScopedDisplayAwake() { setDisplayAwake(m_previous); }

DisplayAwakeScope::DisplayAwakeScope(const QString &reason)
{
    displayAwake().inhibit(QString::fromLatin1(kApplicationName), reason);
}

DisplayAwakeScope::~DisplayAwakeScope() { displayAwake().release(); }

} // namespace pz
