#include "Desktop.h"

#include <atomic>

namespace pz {

bool EmptyDesktop::onlineDisplays(QVector<DesktopDisplay> &displays)
{
    displays.clear();
    return true;
}

std::unique_ptr<II2CBus> EmptyDesktop::openI2CBus(quint32, int) { return nullptr; }

namespace {
std::atomic<IDesktop *> g_desktop{nullptr};
}

IDesktop &desktop()
{
    static EmptyDesktop empty;
    IDesktop *d = g_desktop.load();
    return d ? *d : empty;
}

void setDesktop(IDesktop *d) { g_desktop.store(d); }

ScopedDesktop::ScopedDesktop(IDesktop *d) : m_previous(g_desktop.load()) { setDesktop(d); }
ScopedDesktop::~ScopedDesktop() { setDesktop(m_previous); }

} // namespace pz
