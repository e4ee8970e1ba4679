#include "PreferencesRegistry.h"

namespace pz {

CPreferences *applicationPreferences() { return GlobalInstance<CPreferences>::get(); }

void setApplicationPreferences(CPreferences *preferences)
{
    GlobalInstance<CPreferences>::set(preferences);
}

void releaseApplicationPreferences(CPreferences *preferences)
{
    GlobalInstance<CPreferences>::release(preferences);
}

} // namespace pz
