#pragma once
// Keeps the display from blanking, dimming or sleeping while a window
// measures on it (the calibration window, from its opening to its end).
//
// One backend sits behind a process-wide seam. The program starts with the
// no-op backend (what the simulated desktop and the tests use); on a real
// desktop main installs the Linux backend. Windows hold a DisplayAwakeScope
// for as long as they need the display and call keepAwake() periodically
// (a system without an inhibit service blanks on its own idle timer).

#include <QString>

namespace pz {

class IDisplayAwake {
public:
    virtual ~IDisplayAwake() = default;
    // Asks the system not to blank the display until release(): true when a
    // service took the request. `application` and `reason` are shown by
    // desktops that list inhibitions.
    virtual bool inhibit(const QString &application, const QString &reason) = 0;
    // Ends what inhibit() started; nothing when it started nothing.
    virtual void release() = 0;
    // Resets the system's idle timer, as user activity would.
    virtual void keepAwake() = 0;
};

// Does nothing: the simulated desktop has no screen saver.
class NoDisplayAwake : public IDisplayAwake {
public:
    bool inhibit(const QString &, const QString &) override { return false; }
    void release() override {}
    void keepAwake() override {}
};

IDisplayAwake &displayAwake();
// Installs another backend (not owned); nullptr restores the no-op one.
void setDisplayAwake(IDisplayAwake *backend);

class ScopedDisplayAwake {
public:
    explicit ScopedDisplayAwake(IDisplayAwake *backend);
    ~ScopedDisplayAwake();
    ScopedDisplayAwake(const ScopedDisplayAwake &) = delete;
    ScopedDisplayAwake &operator=(const ScopedDisplayAwake &) = delete;

private:
    IDisplayAwake *m_previous;
};

// Inhibits through the installed backend for its lifetime.
class DisplayAwakeScope {
public:
    explicit DisplayAwakeScope(const QString &reason);
    ~DisplayAwakeScope();
    DisplayAwakeScope(const DisplayAwakeScope &) = delete;
    DisplayAwakeScope &operator=(const DisplayAwakeScope &) = delete;

    static constexpr const char *kApplicationName = "Pelzora";
};

} // namespace pz
