#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace pz {

namespace {

// Space between a window and the one it is placed beside.
constexpr int kGap = 8;

// One axis of keptInside: the start that puts [start, start + length)
// inside [low, high), the low end winning when it cannot.
int keptInsideAxis(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

// The frame's top left for the frame's size, asked for once the size is
// known.
using FrameTarget = std::function<QPoint(const QSize &frameSize)>;

// Watches one top-level window and puts its frame in place once the window
// manager has framed it.
class FramePlacer : public QObject {
public:
    explicit FramePlacer(QWidget &window) : QObject(&window), m_window(&window)
    {
        setObjectName(QStringLiteral("pz_frame_placer"));
        window.installEventFilter(this);
    }

    void setTarget(FrameTarget target, const QRect &area)
    {
        m_target = std::move(target);
        m_area = area;
        m_pending = true;
        watchNativeWindow();
        if (m_window->isVisible() && m_window->windowHandle()
            && m_window->windowHandle()->isExposed())
            place();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            watchNativeWindow();
        } else if (watched == m_native && event->type() == QEvent::Expose && m_pending
                   && m_native->isExposed()) {
            place();
        }
        return false;
    }

private:
    void watchNativeWindow()
    {
        QWindow *native = m_window->windowHandle();
        if (!native || native == m_native)
            return;
        if (m_native)
            m_native->removeEventFilter(this);
        m_native = native;
        m_native->installEventFilter(this);
    }

    // With the frame known the client area goes exactly inside it.
    void place()
    {
        m_pending = false;
        const QMargins frame = m_window->windowHandle()->frameMargins();
        const QSize frameSize = m_window->size().grownBy(frame);
        const QRect client =
            clientForFrame(m_target(frameSize), m_window->size(), frame, m_area);
        if (m_window->geometry().topLeft() != client.topLeft())
            m_window->setGeometry(client);
    }

    QWidget *m_window;
    QPointer<QWindow> m_native;
    FrameTarget m_target;
    QRect m_area;
    bool m_pending = false;
};

// Sets the window's placement: until it is on the screen the window starts
// near its place (exactly there when its frame is known from an earlier
// show), so the correction once it is framed is small or none.
void placeWhenShown(QWidget &window, const FrameTarget &target, const QRect &area,
                    const QWidget *reference)
{
    auto *placer = window.findChild<FramePlacer *>(QStringLiteral("pz_frame_placer"),
                                                   Qt::FindDirectChildrenOnly);
    if (!placer)
        placer = new FramePlacer(window);
    if (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        // The size show() would give it, so the first guess is close.
        if (!window.testAttribute(Qt::WA_Resized))
            window.adjustSize();
        const QSize extra = frameExtra(window, reference);
        const QRect frame = keptInside(QRect(target(window.size() + extra), window.size() + extra), area);
        window.move(frame.topLeft());
    }
    placer->setTarget(target, area);
}

const QWidget *topLevelOf(const QWidget *widget)
{
    return widget ? widget->window() : nullptr;
}

} // namespace

QRect keptInside(const QRect &frame, const QRect &area)
{
    if (area.isEmpty())
        return frame;
    return QRect(QPoint(keptInsideAxis(frame.left(), frame.width(), area.left(), area.right() + 1),
                        keptInsideAxis(frame.top(), frame.height(), area.top(), area.bottom() + 1)),
                 frame.size());
}

QRect centredOver(const QSize &frameSize, const QRect &parentFrame, const QRect &area)
{
    const QPoint topLeft(parentFrame.left() + (parentFrame.width() - frameSize.width()) / 2,
                         parentFrame.top() + (parentFrame.height() - frameSize.height()) / 2);
    return keptInside(QRect(topLeft, frameSize), area);
}

std::optional<QPoint> besideFrame(const QRect &anchorFrame, const QSize &frameSize,
                                  const QRect &area)
{
    if (area.isEmpty() || frameSize.height() > area.height())
        return std::nullopt;
    const int top = keptInsideAxis(anchorFrame.top(), frameSize.height(), area.top(),
                                   area.bottom() + 1);
    const int right = anchorFrame.right() + 1 + kGap;
    if (right + frameSize.width() <= area.right() + 1)
        return QPoint(right, top);
    const int left = anchorFrame.left() - kGap - frameSize.width();
    if (left >= area.left())
        return QPoint(left, top);
    return std::nullopt;
}

QRect clientForFrame(const QPoint &frameTopLeft, const QSize &clientSize,
                     const QMargins &frameMargins, const QRect &area)
{
    const QRect frame = keptInside(QRect(frameTopLeft, clientSize.grownBy(frameMargins)), area);
    return QRect(frame.topLeft() + QPoint(frameMargins.left(), frameMargins.top()), clientSize);
}

void placeFrameWhenShown(QWidget &window, const QPoint &frameTopLeft, const QRect &area)
{
    placeWhenShown(
        window, [frameTopLeft](const QSize &) { return frameTopLeft; }, area, nullptr);
}

void placeOverParent(QWidget &window, const QWidget *parent)
{
    const QWidget *owner = topLevelOf(parent);
    const QRect area = availableAreaOf(owner);
    // Read when the window is placed: the parent may move meanwhile.
    const QPointer<const QWidget> anchor(owner);
    const FrameTarget target = [anchor, area](const QSize &frameSize) {
        const QRect over = anchor && anchor->isVisible() ? anchor->frameGeometry() : area;
        return centredOver(frameSize, over, area).topLeft();
    };
    placeWhenShown(window, target, area, owner);
}

void placeAtFrame(QWidget &window, const QPoint &frameTopLeft, const QWidget *parent)
{
    QRect area = availableAreaAt(frameTopLeft);
    if (area.isEmpty())
        area = availableAreaOf(topLevelOf(parent));
    placeWhenShown(
        window, [frameTopLeft](const QSize &) { return frameTopLeft; }, area, topLevelOf(parent));
}

QRect availableAreaAt(const QPoint &point)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(point))
            return screen->availableGeometry();
    }
    return QRect();
}

QRect availableAreaOf(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize frameExtra(const QWidget &window, const QWidget *reference)
{
    QSize extra = window.frameGeometry().size() - window.size();
    if (extra.isEmpty() && reference && reference->isVisible())
        extra = reference->frameGeometry().size() - reference->size();
    return extra.expandedTo(QSize(0, 0));
}

std::optional<QPoint> besideWindow(const QWidget &anchor, const QSize &frameSize)
{
    const QScreen *screen = anchor.screen();
    if (!screen)
        return std::nullopt;
    return besideFrame(anchor.frameGeometry(), frameSize, screen->availableGeometry());
}

} // namespace pz
