#pragma once
// Keeps a Linux desktop's display awake. inhibit() asks the session's
// screen saver service (org.freedesktop.ScreenSaver.Inhibit) and keeps its
// cookie; without that service it suspends the X server's screen saver
// (XScreenSaverSuspend) on a connection of its own; without either it does
// nothing. keepAwake() resets the X server's idle timer (XResetScreenSaver)
// where an X server is there. release() undoes what inhibit() did:
// UnInhibit with the cookie, or the suspension lifted.
//
// GUI thread; each D-Bus call waits kCallTimeoutMs at most.

#include "DisplayAwake.h"

#include <QByteArray>
#include <QDBusConnection>

struct _XDisplay;

namespace pz {

class LinuxDisplayAwake : public IDisplayAwake {
public:
    static constexpr const char *kService = "org.freedesktop.ScreenSaver";
    static constexpr const char *kPath = "/org/freedesktop/ScreenSaver";
    static constexpr const char *kInterface = "org.freedesktop.ScreenSaver";
    static constexpr int kCallTimeoutMs = 3000;

    // bus: normally the session bus. xDisplayName: empty for $DISPLAY; with
    // neither, no X server is used.
    explicit LinuxDisplayAwake(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                               const QByteArray &xDisplayName = QByteArray());
    ~LinuxDisplayAwake() override;
    LinuxDisplayAwake(const LinuxDisplayAwake &) = delete;
    LinuxDisplayAwake &operator=(const LinuxDisplayAwake &) = delete;

    bool inhibit(const QString &application, const QString &reason) override;
    void release() override;
    void keepAwake() override;

    enum Means { kNothing, kScreenSaverService, kXSuspend };
    // How the current inhibition works.
    Means means() const { return m_means; }

private:
    bool inhibitThroughService(const QString &application, const QString &reason);
    // The X connection, opened on first use; null without an X server.
    _XDisplay *xDisplay();

    QDBusConnection m_bus;
    QByteArray m_xDisplayName;
    _XDisplay *m_x = nullptr;
    bool m_xTried = false;
    Means m_means = kNothing;
    quint32 m_cookie = 0;
};

} // namespace pz
