#include "PreferencesRegistry.h"

namespace pz {

CPreferences *applicationPreferences() { return GlobalInstance<CPreferences>::get(); }

void setApplicationPreferences(CPreferences *preferences)
{
    GlobalInstance<CPreferences>::set(preferences);
}

} // namespace pz
