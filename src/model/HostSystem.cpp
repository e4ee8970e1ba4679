#include "HostSystem.h"

namespace pz {

IHostSystem *hostSystem() { return GlobalInstance<IHostSystem>::get(); }

void setHostSystem(IHostSystem *host) { GlobalInstance<IHostSystem>::set(host); }

} // namespace pz
