#include "GammaRamp.h"

#include <atomic>

namespace pz {

namespace {
std::atomic<IGammaRamps *> g_ramps{nullptr};
}

IGammaRamps &gammaRamps()
{
    static NoGammaRamps none;
    IGammaRamps *r = g_ramps.load();
    return r ? *r : none;
}

void setGammaRamps(IGammaRamps *ramps) { g_ramps.store(ramps); }

ScopedGammaRamps::ScopedGammaRamps(IGammaRamps *ramps) : m_previous(g_ramps.load())
{
    setGammaRamps(ramps);
}
ScopedGammaRamps::~ScopedGammaRamps() { setGammaRamps(m_previous); }

GammaRampTables identityGammaRamp()
{
    GammaRampTables t;
    for (int i = 0; i < IGammaRamps::kEntries; ++i) {
        const float v = static_cast<float>(i / 255.0);
        t.red.append(v);
        t.green.append(v);
        t.blue.append(v);
    }
    return t;
}

} // namespace pz
