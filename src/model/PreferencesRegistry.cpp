#include "PreferencesRegistry.h"

#include <atomic>

namespace pz {

namespace {
std::atomic<CPreferences *> g_preferences{nullptr};
}

CPreferences *applicationPreferences() { return g_preferences.load(); }

void setApplicationPreferences(CPreferences *preferences) { g_preferences.store(preferences); }

ScopedPreferences::ScopedPreferences(CPreferences *preferences)
    : m_previous(g_preferences.load())
{
    setApplicationPreferences(preferences);
}

ScopedPreferences::~ScopedPreferences() { setApplicationPreferences(m_previous); }

} // namespace pz
