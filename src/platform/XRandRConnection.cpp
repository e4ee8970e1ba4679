#include "XRandRConnection.h"

#include <QMutexLocker>
#include <atomic>
#include <mutex>
#include <set>

// The X headers come last: their macros must not reach any Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace pz {

namespace {

// Xlib reports a refused request to one process-wide handler whose default
// ends the program. While a request of ours is in flight, errors on our
// connection are recorded instead; errors on other connections (a GUI
// toolkit's) go on to the handler that was installed before.
std::mutex g_trapMutex;
Display *g_trapDisplay = nullptr;
int g_trapError = 0;
XErrorHandler g_previousHandler = nullptr;

int trapHandler(Display *display, XErrorEvent *event)
{
    if (display == g_trapDisplay) {
        if (g_trapError == 0)
            g_trapError = event->error_code;
        return 0;
    }
    return g_previousHandler ? g_previousHandler(display, event) : 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display *display) : m_lock(g_trapMutex), m_display(display)
    {
        g_trapDisplay = display;
        g_trapError = 0;
        g_previousHandler = XSetErrorHandler(trapHandler);
    }
    ~ErrorTrap() { finish(); }
    // Waits until the server has handled every request sent so far; true
    // when none of them was refused.
    bool finish()
    {
        if (m_done)
            return m_ok;
        XSync(m_display, False);
        m_ok = g_trapError == 0;
        XSetErrorHandler(g_previousHandler);
        g_trapDisplay = nullptr;
        g_previousHandler = nullptr;
        m_done = true;
        return m_ok;
    }

private:
    std::lock_guard<std::mutex> m_lock;
    Display *m_display;
    bool m_done = false;
    bool m_ok = false;
};

// A broken connection (the server went away) is reported to a process-wide
// handler whose default ends the program. Ours lets Xlib go on for our own
// connections, whose per-connection exit handler then marks them lost;
// others' connections keep the handler that was there before.
std::mutex g_ioMutex;
std::set<Display *> g_ourDisplays;
XIOErrorHandler g_previousIOHandler = nullptr;

int ioHandler(Display *display)
{
    {
        std::lock_guard<std::mutex> lock(g_ioMutex);
        if (g_ourDisplays.count(display))
            return 0;
    }
    return g_previousIOHandler ? g_previousIOHandler(display) : 0;
}

void lostHandler(Display *, void *flag) { static_cast<std::atomic<bool> *>(flag)->store(true); }

void watchConnection(Display *display, std::atomic<bool> *lostFlag)
{
    static std::once_flag once;
    std::call_once(once, [] { g_previousIOHandler = XSetIOErrorHandler(ioHandler); });
    {
        std::lock_guard<std::mutex> lock(g_ioMutex);
        g_ourDisplays.insert(display);
    }
    XSetIOErrorExitHandler(display, lostHandler, lostFlag);
}

void unwatchConnection(Display *display)
{
    std::lock_guard<std::mutex> lock(g_ioMutex);
    g_ourDisplays.erase(display);
}

// EDID bytes are at most a few blocks; 1024 bytes is ample.
constexpr long kEdidPropertyLongs = 256;
// ICC profiles published as properties: read up to 64 MiB.
constexpr long kProfilePropertyLongs = 16 * 1024 * 1024;

// Reads a property of 8-bit items through fetch, which is
// XGetWindowProperty or XRRGetOutputProperty bound to the property; empty
// when it is missing or of another format.
template <typename Fetch>
QByteArray fetchProperty(Fetch fetch)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long bytesAfter = 0;
    unsigned char *data = nullptr;
    QByteArray out;
    if (fetch(&actualType, &format, &items, &bytesAfter, &data) == Success && data && format == 8
        && items > 0)
        out = QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(items));
    if (data)
        XFree(data);
    return out;
}

} // namespace

struct XRandRConnection::Impl {
    Display *display = nullptr;
    std::atomic<bool> lost{false};
    Window root = 0;
    bool hasCurrentResources = false; // RandR 1.3
    bool hasMonitors = false;         // RandR 1.5
    QString reason;

    XRRScreenResources *resources() const
    {
        return hasCurrentResources ? XRRGetScreenResourcesCurrent(display, root)
                                   : XRRGetScreenResources(display, root);
    }

    QByteArray outputProperty(RROutput output, const char *name,
                              long maxLongs = kEdidPropertyLongs) const
    {
        const Atom atom = XInternAtom(display, name, True);
        if (atom == None)
            return QByteArray();
        return fetchProperty([&](Atom *type, int *format, unsigned long *items,
                                 unsigned long *after, unsigned char **data) {
            return XRRGetOutputProperty(display, output, atom, 0, maxLongs, False, False,
                                        AnyPropertyType, type, format, items, after, data);
        });
    }

    QByteArray rootProperty(const char *name) const
    {
        const Atom atom = XInternAtom(display, name, True);
        if (atom == None)
            return QByteArray();
        return fetchProperty([&](Atom *type, int *format, unsigned long *items,
                                 unsigned long *after, unsigned char **data) {
            return XGetWindowProperty(display, root, atom, 0, kProfilePropertyLongs, False,
                                      AnyPropertyType, type, format, items, after, data);
        });
    }

    // Sets (or for empty bytes deletes) an output property of the given type
    // with 8-bit items.
    void changeOutputProperty(RROutput output, const char *name, Atom type,
                              const QByteArray &bytes) const
    {
        const Atom atom = XInternAtom(display, name, False);
        if (bytes.isEmpty())
            XRRDeleteOutputProperty(display, output, atom);
        else
            XRRChangeOutputProperty(display, output, atom, type, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char *>(bytes.constData()),
                                    static_cast<int>(bytes.size()));
    }
};

XRandRConnection::XRandRConnection(const QByteArray &displayName) : d(std::make_unique<Impl>())
{
    const char *name = displayName.isEmpty() ? nullptr : displayName.constData();
    if (!name && qEnvironmentVariableIsEmpty("DISPLAY")) {
        d->reason = QStringLiteral("no X server (DISPLAY is not set)");
        return;
    }
    d->display = XOpenDisplay(name);
    if (!d->display) {
        d->reason = QStringLiteral("cannot connect to the X server %1")
                        .arg(QString::fromLocal8Bit(XDisplayName(name)));
        return;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(d->display, &eventBase, &errorBase) ||
        !XRRQueryVersion(d->display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
        d->reason = QStringLiteral("the X server has no RandR 1.2");
        XCloseDisplay(d->display);
        d->display = nullptr;
        return;
    }
    d->hasCurrentResources = major > 1 || minor >= 3;
    d->hasMonitors = major > 1 || minor >= 5;
    d->root = DefaultRootWindow(d->display);
    watchConnection(d->display, &d->lost);
}

XRandRConnection::~XRandRConnection()
{
    if (d->display) {
        XCloseDisplay(d->display);
        unwatchConnection(d->display);
    }
}

bool XRandRConnection::isAvailable() const { return d->display != nullptr && !d->lost; }

QString XRandRConnection::unavailableReason() const
{
    if (d->display && d->lost)
        return QStringLiteral("the connection to the X server was lost");
    return d->reason;
}

bool XRandRConnection::activeOutputs(QVector<XRandROutput> &outputs)
{
    outputs.clear();
    QMutexLocker lock(&m_mutex);
    if (!isAvailable())
        return false;
    ErrorTrap trap(d->display);
    XRRScreenResources *res = d->resources();
    if (!res)
        return false;
    // The primary output exists from RandR 1.3 on; asking an older server
    // would be refused.
    const RROutput primary =
        d->hasCurrentResources ? XRRGetOutputPrimary(d->display, d->root) : RROutput(None);
    QVector<XRandROutput> found;
    for (int i = 0; i < res->noutput; ++i) {
        XRROutputInfo *info = XRRGetOutputInfo(d->display, res, res->outputs[i]);
        if (!info)
            continue;
        if (info->connection == RR_Connected && info->crtc != None) {
            XRRCrtcInfo *crtc = XRRGetCrtcInfo(d->display, res, info->crtc);
            if (crtc && crtc->mode != None && crtc->width > 0 && crtc->height > 0) {
                XRandROutput out;
                out.id = static_cast<quint32>(res->outputs[i]);
                out.name = QString::fromUtf8(info->name, info->nameLen);
                out.crtc = static_cast<quint32>(info->crtc);
                out.bounds = QRect(crtc->x, crtc->y, static_cast<int>(crtc->width),
                                   static_cast<int>(crtc->height));
                out.edid = d->outputProperty(res->outputs[i], "EDID");
                if (out.edid.isEmpty()) // the name older drivers used
                    out.edid = d->outputProperty(res->outputs[i], "EDID_DATA");
                out.primary = res->outputs[i] == primary;
                found.append(out);
            }
            if (crtc)
                XRRFreeCrtcInfo(crtc);
        }
        XRRFreeOutputInfo(info);
    }
    XRRFreeScreenResources(res);
    if (!trap.finish() || d->lost)
        return false;
    // The primary output leads, like the main display of other systems.
    for (const XRandROutput &o : found)
        if (o.primary)
            outputs.append(o);
    for (const XRandROutput &o : found)
        if (!o.primary)
            outputs.append(o);
    return true;
}

int XRandRConnection::gammaSize(quint32 crtc)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || crtc == 0)
        return 0;
    ErrorTrap trap(d->display);
    const int size = XRRGetCrtcGammaSize(d->display, crtc);
    return trap.finish() && !d->lost && size > 0 ? size : 0;
}

bool XRandRConnection::getGamma(quint32 crtc, QVector<quint16> &red, QVector<quint16> &green,
                                QVector<quint16> &blue)
{
    red.clear();
    green.clear();
    blue.clear();
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || crtc == 0)
        return false;
    ErrorTrap trap(d->display);
    XRRCrtcGamma *gamma = XRRGetCrtcGamma(d->display, crtc);
    const bool ok = trap.finish() && !d->lost && gamma && gamma->size > 0;
    if (ok) {
        for (int i = 0; i < gamma->size; ++i) {
            red.append(gamma->red[i]);
            green.append(gamma->green[i]);
            blue.append(gamma->blue[i]);
        }
    }
    if (gamma)
        XRRFreeGamma(gamma);
    return ok;
}

bool XRandRConnection::setGamma(quint32 crtc, const QVector<quint16> &red,
                                const QVector<quint16> &green, const QVector<quint16> &blue)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || crtc == 0)
        return false;
    ErrorTrap trap(d->display);
    const int size = XRRGetCrtcGammaSize(d->display, crtc);
    if (size <= 0 || red.size() != size || green.size() != size || blue.size() != size)
        return false;
    XRRCrtcGamma *gamma = XRRAllocGamma(size);
    if (!gamma)
        return false;
    for (int i = 0; i < size; ++i) {
        gamma->red[i] = red[i];
        gamma->green[i] = green[i];
        gamma->blue[i] = blue[i];
    }
    XRRSetCrtcGamma(d->display, crtc, gamma);
    XRRFreeGamma(gamma);
    return trap.finish() && !d->lost;
}

bool XRandRConnection::setOutputEdid(quint32 output, const QByteArray &edid)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || output == 0)
        return false;
    ErrorTrap trap(d->display);
    d->changeOutputProperty(output, "EDID", XA_INTEGER, edid);
    return trap.finish() && !d->lost;
}

int XRandRConnection::monitorIndexAt(const QRect &bounds)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || !d->hasMonitors)
        return -1;
    ErrorTrap trap(d->display);
    int count = 0;
    XRRMonitorInfo *monitors = XRRGetMonitors(d->display, d->root, True, &count);
    int index = -1;
    for (int i = 0; monitors && i < count && index < 0; ++i) {
        if (QRect(monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height) == bounds)
            index = i;
    }
    if (monitors)
        XRRFreeMonitors(monitors);
    return trap.finish() && !d->lost ? index : -1;
}

bool XRandRConnection::setRootProperty(const QByteArray &name, const QByteArray &bytes)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || name.isEmpty())
        return false;
    ErrorTrap trap(d->display);
    const Atom atom = XInternAtom(d->display, name.constData(), False);
    if (bytes.isEmpty())
        XDeleteProperty(d->display, d->root, atom);
    else
        XChangeProperty(d->display, d->root, atom, XA_CARDINAL, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(bytes.constData()),
                        static_cast<int>(bytes.size()));
    return trap.finish() && !d->lost;
}

QByteArray XRandRConnection::rootProperty(const QByteArray &name)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || name.isEmpty())
        return QByteArray();
    ErrorTrap trap(d->display);
    const QByteArray bytes = d->rootProperty(name.constData());
    return trap.finish() && !d->lost ? bytes : QByteArray();
}

bool XRandRConnection::setOutputProperty(quint32 output, const QByteArray &name,
                                         const QByteArray &bytes)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || output == 0 || name.isEmpty())
        return false;
    ErrorTrap trap(d->display);
    d->changeOutputProperty(output, name.constData(), XA_CARDINAL, bytes);
    return trap.finish() && !d->lost;
}

QByteArray XRandRConnection::outputProperty(quint32 output, const QByteArray &name)
{
    QMutexLocker lock(&m_mutex);
    if (!isAvailable() || output == 0 || name.isEmpty())
        return QByteArray();
    ErrorTrap trap(d->display);
    const QByteArray bytes = d->outputProperty(output, name.constData(), kProfilePropertyLongs);
    return trap.finish() && !d->lost ? bytes : QByteArray();
}

} // namespace pz
