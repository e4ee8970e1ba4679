#pragma once
// The application's one preferences object, as lower code reaches it. The
// application controller registers the object it owns; tests register their
// own. Code that finds none registered behaves as with the defaults.

class CPreferences;

namespace pz {

// The registered preferences, or nullptr.
CPreferences *applicationPreferences();
// Registers the preferences (not owned); nullptr removes them.
void setApplicationPreferences(CPreferences *preferences);

// Registers preferences for the lifetime of a scope (tests).
class ScopedPreferences {
public:
    explicit ScopedPreferences(CPreferences *preferences);
    ~ScopedPreferences();
    ScopedPreferences(const ScopedPreferences &) = delete;
    ScopedPreferences &operator=(const ScopedPreferences &) = delete;

private:
    CPreferences *m_previous;
};

} // namespace pz
