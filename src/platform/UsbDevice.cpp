#include "UsbDevice.h"

#include "LinuxUsbBackend.h"

#include <atomic>

namespace pz {

namespace {
std::atomic<IUsbBackend *> g_backend{nullptr};

IUsbBackend &defaultBackend()
{
    static LinuxUsbBackend linux;
    return linux;
}
} // namespace

IUsbBackend &usbBackend()
{
    IUsbBackend *b = g_backend.load();
    return b ? *b : defaultBackend();
}

void setUsbBackend(IUsbBackend *backend) { g_backend.store(backend); }

ScopedUsbBackend::ScopedUsbBackend(IUsbBackend *backend) : m_previous(g_backend.load())
{
    setUsbBackend(backend);
}

ScopedUsbBackend::~ScopedUsbBackend() { setUsbBackend(m_previous); }

} // namespace pz
