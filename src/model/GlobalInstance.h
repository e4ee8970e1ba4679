#pragma once
// One object of a kind that code reaches through a global pointer instead of
// having it passed down: the program's clock, the host system, the
// application's preferences. The application installs its own at start;
// tests install theirs for the lifetime of a scope. The pointer is atomic,
// so a worker thread may read it while another thread installs an object.
//
//   using ScopedClock = pz::GlobalInstance<IClock>::Scoped;

#include <atomic>

namespace pz {

template <typename T>
class GlobalInstance {
public:
    // The installed object, or nullptr.
    static T *get() { return s_instance.load(); }
    // Installs an object (not owned); nullptr removes the one installed.
    static void set(T *instance) { s_instance.store(instance); }
    // Removes instance when it is the one installed and leaves any other
    // alone: what an object calls as it is destroyed, so that nothing keeps
    // reaching it afterwards.
    static void release(T *instance) { s_instance.compare_exchange_strong(instance, nullptr); }

    // Installs an object for the lifetime of a scope, then puts back the
    // one that was installed before.
    class Scoped {
    public:
        explicit Scoped(T *instance) : m_previous(s_instance.exchange(instance)) {}
        ~Scoped() { set(m_previous); }
        Scoped(const Scoped &) = delete;
        Scoped &operator=(const Scoped &) = delete;

    private:
        T *m_previous;
    };

private:
    static inline std::atomic<T *> s_instance{nullptr};
};

} // namespace pz
