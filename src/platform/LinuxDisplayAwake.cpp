#include "LinuxDisplayAwake.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace pz {

LinuxDisplayAwake::LinuxDisplayAwake(const QDBusConnection &bus, const QByteArray &xDisplayName)
    : m_bus(bus), m_xDisplayName(xDisplayName)
{
}

LinuxDisplayAwake::~LinuxDisplayAwake()
{
    release();
    if (m_x)
        XCloseDisplay(m_x);
}

bool LinuxDisplayAwake::inhibit(const QString &application, const QString &reason)
{
    if (m_means != kNothing)
        return true;
    if (inhibitThroughService(application, reason)) {
        m_means = kScreenSaverService;
        return true;
    }
    if (_XDisplay *x = xDisplay()) {
        int event = 0, error = 0;
        if (XScreenSaverQueryExtension(x, &event, &error)) {
            XScreenSaverSuspend(x, True);
            XFlush(x);
            m_means = kXSuspend;
            return true;
        }
    }
    return false;
}

bool LinuxDisplayAwake::inhibitThroughService(const QString &application, const QString &reason)
{
    if (!m_bus.isConnected())
        return false;
    QDBusConnectionInterface *names = m_bus.interface();
    if (!names || !names->isServiceRegistered(QString::fromLatin1(kService)).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                       QString::fromLatin1(kInterface),
                                                       QStringLiteral("Inhibit"));
    call << application << reason;
    const QDBusReply<quint32> reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid())
        return false;
    m_cookie = reply.value();
    return true;
}

void LinuxDisplayAwake::release()
{
    switch (m_means) {
    case kScreenSaverService: {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
            QStringLiteral("UnInhibit"));
        call << m_cookie;
        m_bus.call(call, QDBus::Block, kCallTimeoutMs);
        break;
    }
    case kXSuspend:
        if (m_x) {
            XScreenSaverSuspend(m_x, False);
            XFlush(m_x);
        }
        break;
    case kNothing:
        break;
    }
    m_means = kNothing;
    m_cookie = 0;
}

void LinuxDisplayAwake::keepAwake()
{
    if (_XDisplay *x = xDisplay()) {
        XResetScreenSaver(x);
        XFlush(x);
    }
}

_XDisplay *LinuxDisplayAwake::xDisplay()
{
    if (!m_xTried) {
        m_xTried = true;
        // Without a name and without $DISPLAY there is no X server to ask.
        if (!m_xDisplayName.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY"))
            m_x = XOpenDisplay(m_xDisplayName.isEmpty() ? nullptr : m_xDisplayName.constData());
    }
    return m_x;
}

} // namespace pz
