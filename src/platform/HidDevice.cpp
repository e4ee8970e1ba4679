#include "HidDevice.h"

#include "Clock.h"
#include "LinuxHidBackend.h"

#include <algorithm>
#include <atomic>

namespace pz {

int IHidDevice::readInputReport(quint8 *buffer, int capacity, int timeoutMs, int pollMs)
{
    if (pollMs <= 0)
        pollMs = 1;
    for (int waited = 0;; waited += pollMs) {
        const int got = pollInputReport(buffer, capacity);
        if (got != 0)
            return got;
        if (waited >= timeoutMs)
            return 0;
        // The last pass ends at the timeout, not past it.
        programClock().sleepMs(std::min(pollMs, timeoutMs - waited));
    }
}

namespace {
std::atomic<IHidBackend *> g_backend{nullptr};

IHidBackend &defaultBackend()
{
    static LinuxHidBackend linux;
    return linux;
}
} // namespace

IHidBackend &hidBackend()
{
    IHidBackend *b = g_backend.load();
    return b ? *b : defaultBackend();
}

void setHidBackend(IHidBackend *backend) { g_backend.store(backend); }

ScopedHidBackend::ScopedHidBackend(IHidBackend *backend) : m_previous(g_backend.load())
{
    setHidBackend(backend);
}

ScopedHidBackend::~ScopedHidBackend() { setHidBackend(m_previous); }

} // namespace pz
