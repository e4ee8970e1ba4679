#pragma once
// A private D-Bus session bus for one test (a dbus-daemon of its own
// configuration in a temporary folder) with a fake screen saver service,
// org.freedesktop.ScreenSaver at /org/freedesktop/ScreenSaver, answered from
// a helper thread so that blocking calls from the test's thread get their
// replies. Inhibit answers a new cookie each time; every call is logged as
// "Inhibit(application,reason)=cookie" or "UnInhibit(cookie)".

#include <QDBusConnection>
#include <QMutex>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

namespace pz::test {

class FakeScreenSaver;

class ScreenSaverBus {
public:
    ScreenSaverBus();
    ~ScreenSaverBus();
    ScreenSaverBus(const ScreenSaverBus &) = delete;
    ScreenSaverBus &operator=(const ScreenSaverBus &) = delete;

    // False (with the reason) when dbus-daemon is missing or did not start.
    bool start(QString *why = nullptr);
    // The service's name on the bus, taken or given up.
    bool serve(bool on);
    // A client connection to the bus.
    QDBusConnection client() const;

    QStringList takeCalls();

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QThread m_serverThread;
    FakeScreenSaver *m_fake = nullptr;
};

} // namespace pz::test
