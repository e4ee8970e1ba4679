// The real program on a desktop with an ordinary window manager: a virtual
// X server (Xvfb) of its own with openbox, looked at through Xlib (managed
// windows, frames, stacking, focus, pixels) and driven with xdotool as a
// user would. Checks what the offscreen tests cannot see: the main window,
// the information window and the stored-calibration browser reopen where
// they were left, start after start; Return pressed twice in the
// calibration window does not cancel the calibration; the information
// window that a calibration brings up stays beside the main window; the
// white background of Monitor Settings stays below the dialog; with the main
// window at the top left, centre and bottom right, the dialogs it opens lie
// whole on the screen over it; a countdown box of a sped-up simulated run
// still shows after 5 s. Screenshots
// of each go to this test program's pictures folder ("desktop_*.png").
//
// Skips when Xvfb, openbox or xdotool is not installed.

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "TestSupport.h"

#include <functional>

// Xlib last: its macros (None, Bool, KeyPress...) must not meet Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1200;
// Frame positions are compared to the pixel, with one pixel of slack for
// rounding in the window manager.
constexpr int kSlack = 1;

int ignoreXErrors(Display *, XErrorEvent *)
{
    // Windows come and go while they are looked at.
    return 0;
}

// Polls until the condition holds or ms have passed. The program and the
// window manager are other processes: this only gives them the time.
bool waitUntil(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

bool near(const QPoint &a, const QPoint &b)
{
    return qAbs(a.x() - b.x()) <= kSlack && qAbs(a.y() - b.y()) <= kSlack;
}

QString text(const QPoint &p)
{
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

struct DesktopWindow {
    Window id = 0;
    QString title;
    QString type;   // the first _NET_WM_WINDOW_TYPE
    QRect client;   // root coordinates
    QRect frame;    // with the window manager's frame
    int stackIndex = -1;   // 0 at the bottom
};

using Match = std::function<bool(const DesktopWindow &)>;

// The virtual desktop: Xvfb on a display number it picks itself, openbox,
// and one Xlib connection to look at them.
class Desktop {
public:
    ~Desktop()
    {
        if (m_display)
            XCloseDisplay(m_display);
        for (QProcess *p : {&m_windowManager, &m_server}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000))
                    p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    // Empty when the desktop runs, else why it cannot.
    QString start()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (xvfb.isEmpty() || openbox.isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return QStringLiteral("Xvfb, openbox and xdotool are needed (Debian packages xvfb, "
                                  "openbox, xdotool)");
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                              QStringLiteral("0"),
                              QStringLiteral("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight),
                              QStringLiteral("+extension"), QStringLiteral("RANDR"),
                              QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_server.waitForStarted(10000))
            return QStringLiteral("Xvfb did not start");
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(10000))
            number += m_server.readAllStandardOutput();
        if (!number.contains('\n'))
            return QStringLiteral("Xvfb named no display");
        m_name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());

        XSetErrorHandler(ignoreXErrors);
        m_display = XOpenDisplay(m_name.toLatin1().constData());
        if (!m_display)
            return QStringLiteral("cannot connect to ") + m_name;

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_name);
        env.insert(QStringLiteral("HOME"), m_wmHome.path());   // the system's configuration
        m_windowManager.setProcessEnvironment(env);
        m_windowManager.start(openbox, {QStringLiteral("--sm-disable")});
        if (!m_windowManager.waitForStarted(10000))
            return QStringLiteral("openbox did not start");
        if (!waitUntil([this] { return !property(root(), "_NET_SUPPORTING_WM_CHECK").isEmpty(); },
                       20000))
            return QStringLiteral("openbox did not take the screen");
        return QString();
    }

    QString name() const { return m_name; }

    // The managed, viewable windows, bottom to top.
    QList<DesktopWindow> windows() const
    {
        QList<DesktopWindow> found;
        const QList<unsigned long> stack = property(root(), "_NET_CLIENT_LIST_STACKING");
        for (int i = 0; i < stack.size(); ++i) {
            const Window id = stack.at(i);
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, id, &attributes) || attributes.map_state != IsViewable)
                continue;
            DesktopWindow w;
            w.id = id;
            w.stackIndex = i;
            w.title = title(id);
            const QList<unsigned long> types = property(id, "_NET_WM_WINDOW_TYPE");
            if (!types.isEmpty()) {
                char *name = XGetAtomName(m_display, Atom(types.first()));
                w.type = QString::fromLatin1(name);
                XFree(name);
            }
            int x = 0, y = 0;
            Window child = 0;
            XTranslateCoordinates(m_display, id, root(), 0, 0, &x, &y, &child);
            w.client = QRect(x, y, attributes.width, attributes.height);
            const QList<unsigned long> extents = property(id, "_NET_FRAME_EXTENTS");
            w.frame = extents.size() == 4
                ? w.client.adjusted(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]))
                : w.client;
            found << w;
        }
        return found;
    }

    Window activeWindow() const
    {
        const QList<unsigned long> active = property(root(), "_NET_ACTIVE_WINDOW");
        return active.isEmpty() ? 0 : Window(active.first());
    }

    DesktopWindow find(const Match &match) const
    {
        for (const DesktopWindow &w : windows())
            if (match(w))
                return w;
        return DesktopWindow();
    }

    DesktopWindow waitFor(const Match &match, int ms = 60000) const
    {
        DesktopWindow found;
        waitUntil([&] { return (found = find(match)).id != 0; }, ms);
        return found;
    }

    // The window once the program has put it in its place: its frame has
    // stayed where it is for a few polls (a window is placed after the
    // window manager has framed it).
    DesktopWindow waitSettled(const Match &match, int ms = 60000) const
    {
        DesktopWindow last = waitFor(match, ms);
        if (last.id == 0)
            return last;
        int unchanged = 0;
        waitUntil(
            [&] {
                const DesktopWindow now = find([&last](const DesktopWindow &w) { return w.id == last.id; });
                unchanged = now.id != 0 && now.frame == last.frame ? unchanged + 1 : 0;
                if (now.id != 0)
                    last = now;
                return unchanged >= 6;
            },
            10000);
        return last;
    }

    bool waitGone(Window id, int ms = 30000) const
    {
        return waitUntil([&] { return find([id](const DesktopWindow &w) { return w.id == id; }).id == 0; },
                         ms);
    }

    // The window's close button, as the window manager passes it on.
    void requestClose(Window id) const
    {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = XInternAtom(m_display, "_NET_CLOSE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = CurrentTime;
        event.xclient.data.l[1] = 2;   // a pager or the like: the user's request
        XSendEvent(m_display, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(m_display);
    }

    // The user's keyboard on the window.
    bool typeInto(Window id, const QStringList &keys) const
    {
        return xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(id)})
               && xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--clearmodifiers")} + keys);
    }

    // Keys pressed into whatever has the keyboard now (an open menu).
    bool press(const QStringList &keys) const
    {
        return xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--clearmodifiers")} + keys);
    }

    // Moves the window as its user would drag it (to a client position).
    bool moveWindow(Window id, const QPoint &to) const
    {
        return xdotool({QStringLiteral("windowmove"), QString::number(id), QString::number(to.x()),
                        QString::number(to.y())});
    }

    QImage screenshot() const
    {
        XImage *image = XGetImage(m_display, root(), 0, 0, kScreenWidth, kScreenHeight, AllPlanes, ZPixmap);
        if (!image)
            return QImage();
        QImage shot(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
        for (int y = 0; y < kScreenHeight; ++y) {
            auto *line = reinterpret_cast<QRgb *>(shot.scanLine(y));
            for (int x = 0; x < kScreenWidth; ++x)
                line[x] = QRgb(XGetPixel(image, x, y)) | 0xFF000000u;
        }
        XDestroyImage(image);
        return shot;
    }

    // Waits until the window shows more than the black of a window not
    // yet painted (the program paints when it gets to it).
    bool waitPainted(const DesktopWindow &w, int ms = 20000) const
    {
        return waitUntil(
            [&] {
                const QImage shot = screenshot();
                const QRect inside = w.client.adjusted(2, 2, -2, -2) & shot.rect();
                for (int i = 1; i < 4; ++i)
                    for (int j = 1; j < 4; ++j)
                        if (shot.pixel(inside.left() + inside.width() * i / 4,
                                       inside.top() + inside.height() * j / 4)
                            != qRgb(0, 0, 0))
                            return true;
                return false;
            },
            ms);
    }

    void saveScreenshot(const char *name) const
    {
        screenshot().save(pz::test::picturePath(QLatin1String(name)));
    }

private:
    Window root() const { return DefaultRootWindow(m_display); }

    QList<unsigned long> property(Window id, const char *name) const
    {
        QList<unsigned long> values;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_display, id, XInternAtom(m_display, name, False), 0, 64, False,
                               AnyPropertyType, &type, &format, &count, &after, &data)
                == Success
            && data && format == 32) {
            const auto *longs = reinterpret_cast<const unsigned long *>(data);
            for (unsigned long i = 0; i < count; ++i)
                values << longs[i];
        }
        if (data)
            XFree(data);
        return values;
    }

    QString title(Window id) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        QString result;
        if (XGetWindowProperty(m_display, id, XInternAtom(m_display, "_NET_WM_NAME", False), 0, 256,
                               False, XInternAtom(m_display, "UTF8_STRING", False), &type, &format,
                               &count, &after, &data)
                == Success
            && data && format == 8)
            result = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
        if (data)
            XFree(data);
        return result;
    }

    bool xdotool(const QStringList &args) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_name);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), args);
        if (!tool.waitForFinished(20000)) {
            tool.kill();
            tool.waitForFinished(5000);
            return false;
        }
        return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    QProcess m_server;
    QProcess m_windowManager;
    QTemporaryDir m_wmHome;
    QString m_name;
    Display *m_display = nullptr;
};

// What the windows of the program look like to the window manager.
bool isMainWindow(const DesktopWindow &w)
{
    return w.title == QLatin1String("Pelzora") && w.type.endsWith(QLatin1String("_NORMAL"));
}
bool isBox(const DesktopWindow &w)
{
    return w.title == QLatin1String("Pelzora") && w.type.endsWith(QLatin1String("_DIALOG"));
}
bool isInformationWindow(const DesktopWindow &w)
{
    return w.title.startsWith(QLatin1String("Information"));
}
bool isBrowser(const DesktopWindow &w)
{
    return w.title == QLatin1String("Open Previous Monitor Calibration");
}
bool isMonitorSettings(const DesktopWindow &w)
{
    return w.title == QLatin1String("Monitor Settings");
}
bool isFullScreen(const DesktopWindow &w)
{
    return w.client == QRect(0, 0, kScreenWidth, kScreenHeight);
}
Match titled(const char *title)
{
    return [title](const DesktopWindow &w) { return w.title == QLatin1String(title); };
}

// The whole window, title bar and borders included, on the screen (openbox
// keeps no panel: the whole screen is available).
bool wholeOnTheScreen(const DesktopWindow &w)
{
    return QRect(0, 0, kScreenWidth, kScreenHeight).contains(w.frame);
}

// A dialog over the window it belongs to: on it and above it.
bool over(const DesktopWindow &dialog, const DesktopWindow &parent)
{
    return dialog.frame.intersects(parent.frame) && dialog.stackIndex > parent.stackIndex;
}

QString describe(const DesktopWindow &w)
{
    return QStringLiteral("%1 at %2,%3 %4x%5")
        .arg(w.title)
        .arg(w.frame.x())
        .arg(w.frame.y())
        .arg(w.frame.width())
        .arg(w.frame.height());
}

// One home for all runs of the program in a test: its preferences and
// records carry from one start to the next.
class Program {
public:
    explicit Program(const Desktop &desktop) : m_desktop(desktop)
    {
        QDir(m_home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(m_home.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~Program() { stop(); }

    void start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_desktop.name());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("PELZORA_SIMULATE"), QStringLiteral("1"));
        env.insert(QStringLiteral("PELZORA_SIM_SPEED"), QStringLiteral("50"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("PELZORA_SIM_STATE"), m_home.filePath(QStringLiteral("data/monitor.state")));
        env.remove(QStringLiteral("PELZORA_LANG"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(PZ_PELZORA_EXECUTABLE), {});
    }

    bool finished() const { return m_process.state() == QProcess::NotRunning; }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(20000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }

    QStringList calibrationSettingsFiles() const
    {
        QStringList found;
        QDirIterator it(m_home.path(), {QStringLiteral("*.mcs")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }

private:
    const Desktop &m_desktop;
    QTemporaryDir m_home;
    QProcess m_process;
};

} // namespace

class TestPelzoraOnTheDesktop : public QObject {
    Q_OBJECT

    Desktop m_desktop;

    // Starts the program and waits for its main window, answering the
    // start-up notice (the simulated monitor is not calibrated).
    DesktopWindow open(Program &program)
    {
        program.start();
        const DesktopWindow main = m_desktop.waitFor(isMainWindow);
        if (main.id == 0)
            return main;
        const DesktopWindow notice = m_desktop.waitFor(isBox, 20000);
        if (notice.id != 0) {
            m_desktop.requestClose(notice.id);
            m_desktop.waitGone(notice.id);
        }
        return m_desktop.find(isMainWindow);
    }

    // Closes the program through its main window, answering OK to the
    // question about uncalibrated displays.
    bool quit(Program &program, const DesktopWindow &main)
    {
        m_desktop.requestClose(main.id);
        Window answered = 0;
        return waitUntil(
            [&] {
                if (program.finished())
                    return true;
                const DesktopWindow question = m_desktop.find(isBox);
                if (question.id != 0 && question.id != answered) {
                    m_desktop.typeInto(question.id, {QStringLiteral("Return")});
                    answered = question.id;
                }
                return false;
            },
            60000);
    }

    // The frame corner that puts a frame of the given size at the named
    // place of the screen.
    static QPoint placeOnTheScreen(const QString &where, const QSize &frame)
    {
        const QPoint farthest(kScreenWidth - frame.width(), kScreenHeight - frame.height());
        if (where == QLatin1String("top left"))
            return QPoint(0, 0);
        if (where == QLatin1String("centre"))
            return farthest / 2;
        return farthest;
    }

    // Moves the main window as its user would, its frame to frameAt.
    DesktopWindow moveMainWindow(const DesktopWindow &main, const QPoint &frameAt)
    {
        const QPoint clientOffset = main.client.topLeft() - main.frame.topLeft();
        if (!m_desktop.moveWindow(main.id, frameAt + clientOffset))
            return DesktopWindow();
        waitUntil([&] { return m_desktop.find(isMainWindow).frame.topLeft() == frameAt; }, 20000);
        return m_desktop.find(isMainWindow);
    }

    // Waits for the dialog the user asked for, answering with Return what
    // comes before it (the sensor's preparation dialogs and notices).
    DesktopWindow waitForDialog(const Match &dialog, const QList<Window> &known)
    {
        QList<Window> answered = known;
        waitUntil(
            [&] {
                for (const DesktopWindow &w : m_desktop.windows()) {
                    if (dialog(w))
                        return true;
                    if (!answered.contains(w.id) && !isMainWindow(w) && !isInformationWindow(w)) {
                        m_desktop.typeInto(w.id, {QStringLiteral("Return")});
                        answered << w.id;
                    }
                }
                return false;
            },
            60000);
        return m_desktop.waitSettled(dialog);
    }

    // Checks that the dialog lies whole on the screen and over its parent
    // (or only above it, for the colorimeter, which centres its patch on
    // the measured display), saves a picture of the desktop and closes it.
    QString checkAndClose(const DesktopWindow &dialog, const DesktopWindow &parent, bool onTheParent,
                          const QString &picture)
    {
        if (dialog.id == 0)
            return QStringLiteral("did not open");
        QString fault;
        const DesktopWindow shown = m_desktop.find([&](const DesktopWindow &w) { return w.id == dialog.id; });
        const DesktopWindow under = m_desktop.find([&](const DesktopWindow &w) { return w.id == parent.id; });
        if (!wholeOnTheScreen(shown))
            fault = describe(shown) + QStringLiteral(" is not whole on the screen");
        else if (onTheParent ? !over(shown, under) : shown.stackIndex <= under.stackIndex)
            fault = describe(shown) + QStringLiteral(" is not over ") + describe(under);
        m_desktop.waitPainted(shown);
        m_desktop.saveScreenshot(picture.toLatin1().constData());
        m_desktop.requestClose(dialog.id);
        if (!m_desktop.waitGone(dialog.id) && fault.isEmpty())
            fault = describe(shown) + QStringLiteral(" did not close");
        return fault;
    }

private slots:
    void initTestCase()
    {
        const QString why = m_desktop.start();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
    }

    // Five starts after the first: the main window, the information window
    // and the browser (which opens over the main window) come back where
    // they were when the program was closed. The information window opens
    // beside the main window the first time.
    void windowsReopenWhereTheyWereLeft()
    {
        Program program(m_desktop);
        QPoint mainAt, informationAt, browserAt;
        for (int start = 0; start <= 5; ++start) {
            DesktopWindow main = open(program);
            QVERIFY2(main.id != 0, "no main window");
            if (start == 0) {
                // Somewhere the window manager would not choose by itself.
                QVERIFY(m_desktop.moveWindow(main.id, QPoint(300, 250)));
                QVERIFY(waitUntil([&] { return m_desktop.find(isMainWindow).client.topLeft() == QPoint(300, 250); },
                                  20000));
                main = m_desktop.find(isMainWindow);
            }

            QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+i")}));
            const DesktopWindow information = m_desktop.waitSettled(isInformationWindow);
            QVERIFY2(information.id != 0, "no information window");
            QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+o")}));
            // The browser is placed once the window manager has framed it:
            // measure it, and the windows beside it, after it has settled.
            const DesktopWindow browser = m_desktop.waitSettled(isBrowser);
            QVERIFY2(browser.id != 0, "no browser");
            const QList<DesktopWindow> shown = m_desktop.windows();
            auto frameOf = [&](const Match &match) {
                for (const DesktopWindow &w : shown)
                    if (match(w))
                        return w.frame;
                return QRect();
            };
            const QRect mainFrame = frameOf(isMainWindow);
            const QRect informationFrame = frameOf(isInformationWindow);
            const QRect browserFrame = frameOf(isBrowser);

            if (start == 0 || start == 5) {
                for (const DesktopWindow &w : shown)
                    QVERIFY(m_desktop.waitPainted(w));
                m_desktop.saveScreenshot(start == 0 ? "desktop_first_start.png" : "desktop_sixth_start.png");
            }
            if (start == 0) {
                QVERIFY2(!informationFrame.intersects(mainFrame), "the information window covers the main window");
                QVERIFY(mainFrame.intersects(browserFrame));
            } else {
                QVERIFY2(near(mainFrame.topLeft(), mainAt),
                         qPrintable(QStringLiteral("start %1: main window at %2, left at %3")
                                        .arg(start).arg(text(mainFrame.topLeft()), text(mainAt))));
                QVERIFY2(near(informationFrame.topLeft(), informationAt),
                         qPrintable(QStringLiteral("start %1: information window at %2, left at %3")
                                        .arg(start).arg(text(informationFrame.topLeft()), text(informationAt))));
                QVERIFY2(near(browserFrame.topLeft(), browserAt),
                         qPrintable(QStringLiteral("start %1: browser at %2, before at %3")
                                        .arg(start).arg(text(browserFrame.topLeft()), text(browserAt))));
            }
            mainAt = mainFrame.topLeft();
            informationAt = informationFrame.topLeft();
            browserAt = browserFrame.topLeft();

            m_desktop.requestClose(browser.id);
            QVERIFY(m_desktop.waitGone(browser.id));
            QVERIFY(quit(program, m_desktop.find(isMainWindow)));
        }
    }

    // Return starts the calibration (the Calibrate button has the focus),
    // Return again presses Continue, and Return once more, as a key held a
    // moment too long, must not reach Cancel: the calibration ends with its
    // settings file, and the information window it brings up stays beside
    // the main window.
    void returnTwiceDoesNotCancel()
    {
        Program program(m_desktop);
        const DesktopWindow main = open(program);
        QVERIFY2(main.id != 0, "no main window");
        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("Return")}));
        const DesktopWindow window = m_desktop.waitFor(isFullScreen);
        QVERIFY2(window.id != 0, "no calibration window");
        // The user reads the prompt first: the window is up, with Continue
        // in the focus.
        QVERIFY(m_desktop.waitPainted(window));
        QVERIFY(waitUntil([&] { return m_desktop.activeWindow() == window.id; }, 10000));
        QTest::qWait(1000);
        QVERIFY(m_desktop.typeInto(window.id, {QStringLiteral("Return")}));
        QTest::qWait(400);
        QVERIFY(m_desktop.typeInto(window.id, {QStringLiteral("Return")}));
        m_desktop.saveScreenshot("desktop_return_twice.png");

        // The summary comes once the run has ended. It is answered first,
        // before anything else is waited for: however slow the machine, the
        // box is still there when the test presses its key.
        const DesktopWindow summary = m_desktop.waitFor(isBox, 240000);
        QVERIFY2(summary.id != 0, "no summary");
        QVERIFY(m_desktop.waitPainted(summary));
        m_desktop.saveScreenshot("desktop_after_calibration.png");
        QVERIFY(m_desktop.typeInto(summary.id, {QStringLiteral("Return")}));
        QVERIFY(m_desktop.waitGone(summary.id));
        QCOMPARE(program.calibrationSettingsFiles().size(), 1);
        const DesktopWindow information = m_desktop.waitFor(isInformationWindow, 20000);
        QVERIFY(information.id != 0);
        QVERIFY2(!information.frame.intersects(m_desktop.find(isMainWindow).frame),
                 "the information window covers the main window");
        QVERIFY(quit(program, m_desktop.find(isMainWindow)));
    }

    // With the main window at the top left, in the middle and at the bottom
    // right of the screen, every window it opens lies whole on the screen,
    // title bar included, and over the window it belongs to: the browser,
    // Preferences, the colorimeter, the target editor and, over that, the
    // custom colour gamut and gamma curve editors.
    void dialogsWholeOverTheirWindow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("top left") << QStringLiteral("top left");
        QTest::newRow("centre") << QStringLiteral("centre");
        QTest::newRow("bottom right") << QStringLiteral("bottom right");
    }
    void dialogsWholeOverTheirWindow()
    {
        QFETCH(QString, where);
        const QString picture = QStringLiteral("desktop_%1_%2.png").arg(QString(where).replace(' ', '_'));
        Program program(m_desktop);
        DesktopWindow main = open(program);
        QVERIFY2(main.id != 0, "no main window");
        main = moveMainWindow(main, placeOnTheScreen(where, main.frame.size()));
        QVERIFY2(main.frame.topLeft() == placeOnTheScreen(where, main.frame.size()), qPrintable(describe(main)));
        QVERIFY2(wholeOnTheScreen(main), qPrintable(describe(main)));
        const QList<Window> known{main.id};

        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+o")}));
        QString fault = checkAndClose(waitForDialog(isBrowser, known), main, true, picture.arg("browser"));
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("browser: ") + fault));

        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("alt+e")}));
        QTest::qWait(500);
        QVERIFY(m_desktop.press({QStringLiteral("p")}));
        fault = checkAndClose(waitForDialog(titled("Pelzora Preferences"), known), main, true,
                              picture.arg("preferences"));
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("Preferences: ") + fault));

        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+l")}));
        fault = checkAndClose(waitForDialog(titled("Colorimeter Tool"), known), main, false,
                              picture.arg("colorimeter"));
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("colorimeter: ") + fault));

        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("alt+e")}));
        QTest::qWait(500);
        QVERIFY(m_desktop.press({QStringLiteral("t")}));
        const DesktopWindow editor = waitForDialog(titled("Edit Calibration Target"), known);
        QVERIFY2(editor.id != 0, "no target editor");
        QVERIFY2(wholeOnTheScreen(editor) && over(editor, m_desktop.find(isMainWindow)), qPrintable(describe(editor)));
        // From the first field back to the gamut's Edit button.
        QVERIFY(m_desktop.typeInto(editor.id, {QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"),
                                               QStringLiteral("shift+Tab"), QStringLiteral("space")}));
        fault = checkAndClose(waitForDialog(titled("Custom Color Gamut"), known + QList<Window>{editor.id}),
                              editor, true, picture.arg("gamut_editor"));
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("gamut editor: ") + fault));
        // Back to Custom Curve, chosen, then its Edit button.
        QVERIFY(m_desktop.typeInto(editor.id, {QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"),
                                               QStringLiteral("space"), QStringLiteral("Tab"),
                                               QStringLiteral("space")}));
        fault = checkAndClose(waitForDialog(titled("Custom Gamma Curve"), known + QList<Window>{editor.id}),
                              editor, true, picture.arg("gamma_editor"));
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("gamma editor: ") + fault));
        m_desktop.requestClose(editor.id);
        QVERIFY(m_desktop.waitGone(editor.id));
        QVERIFY(quit(program, m_desktop.find(isMainWindow)));
    }

    // Moved by its user, the browser opens again where it was left.
    void browserReopensWhereMoved()
    {
        Program program(m_desktop);
        const DesktopWindow main = open(program);
        QVERIFY2(main.id != 0, "no main window");
        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+o")}));
        const DesktopWindow browser = m_desktop.waitSettled(isBrowser);
        QVERIFY2(browser.id != 0, "no browser");
        const QPoint movedTo = browser.frame.topLeft() + QPoint(-120, 60);
        QVERIFY(m_desktop.moveWindow(browser.id, movedTo + browser.client.topLeft() - browser.frame.topLeft()));
        QVERIFY(waitUntil([&] { return m_desktop.find(isBrowser).frame.topLeft() == movedTo; }, 20000));
        m_desktop.requestClose(browser.id);
        QVERIFY(m_desktop.waitGone(browser.id));

        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+o")}));
        const DesktopWindow again = m_desktop.waitSettled(isBrowser);
        QVERIFY2(again.id != 0, "no browser the second time");
        QVERIFY2(near(again.frame.topLeft(), movedTo),
                 qPrintable(describe(again) + QStringLiteral(", left at ") + text(movedTo)));
        m_desktop.requestClose(again.id);
        QVERIFY(m_desktop.waitGone(again.id));
        QVERIFY(quit(program, m_desktop.find(isMainWindow)));
    }

    // The start-up notice counts down the seconds of the person reading it,
    // also in a simulated run whose clock runs fifty times faster: 5 s of
    // wall time after it appeared it is still there.
    void countdownInWallClockSeconds()
    {
        Program program(m_desktop);
        program.start();
        QVERIFY2(m_desktop.waitFor(isMainWindow).id != 0, "no main window");
        const DesktopWindow notice = m_desktop.waitFor(isBox, 60000);
        QVERIFY2(notice.id != 0, "no start-up notice");
        QTest::qWait(5000);
        QVERIFY2(m_desktop.find([&](const DesktopWindow &w) { return w.id == notice.id; }).id != 0,
                 "the notice closed itself within 5 s");
        m_desktop.saveScreenshot("desktop_countdown_after_5s.png");
        m_desktop.requestClose(notice.id);
        QVERIFY(m_desktop.waitGone(notice.id));
        QVERIFY(quit(program, m_desktop.find(isMainWindow)));
    }

    // The white background goes up below Monitor Settings: the dialog
    // stays on top and keeps the focus.
    void whiteBackgroundBelowMonitorSettings()
    {
        Program program(m_desktop);
        const DesktopWindow main = open(program);
        QVERIFY2(main.id != 0, "no main window");
        QVERIFY(m_desktop.typeInto(main.id, {QStringLiteral("ctrl+m")}));
        const DesktopWindow dialog = m_desktop.waitFor(isMonitorSettings);
        QVERIFY2(dialog.id != 0, "no Monitor Settings");
        // From the brightness slider to "White Screen Background" (the
        // correction level is locked on this monitor), then tick it.
        QVERIFY(m_desktop.typeInto(dialog.id, {QStringLiteral("Tab"), QStringLiteral("space")}));
        const DesktopWindow white = m_desktop.waitFor(isFullScreen, 20000);
        QVERIFY2(white.id != 0, "no white background");
        QVERIFY(waitUntil([&] { return m_desktop.activeWindow() == dialog.id; }, 10000));
        const DesktopWindow onTop = m_desktop.find(isMonitorSettings);
        const DesktopWindow below = m_desktop.find(isFullScreen);
        // Its own background shows at the margin, neither the white beneath
        // nor an empty black window.
        const QPoint margin = onTop.client.topLeft() + QPoint(4, 4);
        QVERIFY2(waitUntil(
                     [&] {
                         const QRgb seen = m_desktop.screenshot().pixel(margin);
                         return seen != qRgb(255, 255, 255) && seen != qRgb(0, 0, 0);
                     },
                     20000),
                 "Monitor Settings shows nothing of its own");
        m_desktop.saveScreenshot("desktop_white_background.png");
        QVERIFY2(onTop.stackIndex > below.stackIndex, "the white background hides Monitor Settings");
        QCOMPARE(m_desktop.screenshot().pixel(below.client.center() + QPoint(0, 500)), qRgb(255, 255, 255));

        m_desktop.requestClose(dialog.id);
        QVERIFY(m_desktop.waitGone(dialog.id));
        QVERIFY(m_desktop.waitGone(white.id));
        QVERIFY(quit(program, m_desktop.find(isMainWindow)));
    }
};

QTEST_MAIN(TestPelzoraOnTheDesktop)
#include "tst_pelzora_on_the_desktop.moc"
