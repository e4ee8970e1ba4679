#include "Resources.h"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE declares the generated function in the enclosing
// namespace, so it is expanded outside ours.
static void registerPelzoraResources()
{
    Q_INIT_RESOURCE(pelzora);
}

namespace pz {

void initResources()
{
    static std::once_flag once;
    std::call_once(once, registerPelzoraResources);
}

} // namespace pz
