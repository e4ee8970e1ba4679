#pragma once
// The application's one preferences object, as lower code reaches it. The
// application controller registers the object it owns; tests register their
// own. Code that finds none registered behaves as with the defaults.

#include "GlobalInstance.h"

class CPreferences;

namespace pz {

// The registered preferences, or nullptr.
CPreferences *applicationPreferences();
// Registers the preferences (not owned); nullptr removes them.
void setApplicationPreferences(CPreferences *preferences);

// Removes preferences that are being destroyed when they are the ones
// registered; others stay registered.
void releaseApplicationPreferences(CPreferences *preferences);

// Registers preferences for the lifetime of a scope (tests).
using ScopedPreferences = GlobalInstance<CPreferences>::Scoped;

} // namespace pz
