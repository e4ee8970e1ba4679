#include "XRandRChangeWatcher.h"

#include "DisplayChanges.h"

#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace pz {

struct XRandRChangeWatcher::Impl {
    Display *display = nullptr;
    int eventBase = 0;
    QSocketNotifier *notifier = nullptr;
};

XRandRChangeWatcher::XRandRChangeWatcher(const QByteArray &displayName) : d(std::make_unique<Impl>())
{
    d->display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!d->display)
        return;
    int errorBase = 0;
    if (!XRRQueryExtension(d->display, &d->eventBase, &errorBase)) {
        XCloseDisplay(d->display);
        d->display = nullptr;
        return;
    }
    XRRSelectInput(d->display, DefaultRootWindow(d->display),
                   RRScreenChangeNotifyMask | RROutputChangeNotifyMask | RRCrtcChangeNotifyMask
                       | RROutputPropertyNotifyMask);
    XFlush(d->display);
    d->notifier = new QSocketNotifier(ConnectionNumber(d->display), QSocketNotifier::Read, this);
    connect(d->notifier, &QSocketNotifier::activated, this, &XRandRChangeWatcher::readEvents);
}

XRandRChangeWatcher::~XRandRChangeWatcher()
{
    delete d->notifier;
    if (d->display)
        XCloseDisplay(d->display);
}

bool XRandRChangeWatcher::isWatching() const
{
    return d->display != nullptr;
}

void XRandRChangeWatcher::readEvents()
{
    bool changed = false;
    while (XPending(d->display) > 0) {
        XEvent event;
        XNextEvent(d->display, &event);
        XRRUpdateConfiguration(&event);
        if (event.type == d->eventBase + RRScreenChangeNotify
            || event.type == d->eventBase + RRNotify)
            changed = true;
    }
    if (changed)
        displayChanges().notify();
}

} // namespace pz
