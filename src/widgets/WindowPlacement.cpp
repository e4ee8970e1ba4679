#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace pz {

namespace {

// Space between a window and the one it is placed beside.
constexpr int kGap = 8;

// Watches one top-level window and puts its frame in place once the window
// manager has framed it.
class FramePlacer : public QObject {
public:
    explicit FramePlacer(QWidget &window) : QObject(&window), m_window(&window)
    {
        setObjectName(QStringLiteral("pz_frame_placer"));
        window.installEventFilter(this);
    }

    void setTarget(const QPoint &frameTopLeft)
    {
        m_target = frameTopLeft;
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
        const QPoint client = m_target + QPoint(frame.left(), frame.top());
        if (m_window->geometry().topLeft() != client)
            m_window->setGeometry(QRect(client, m_window->size()));
    }

    QWidget *m_window;
    QPointer<QWindow> m_native;
    QPoint m_target;
    bool m_pending = false;
};

} // namespace

void placeFrameWhenShown(QWidget &window, const QPoint &frameTopLeft)
{
    auto *placer = window.findChild<FramePlacer *>(QStringLiteral("pz_frame_placer"),
                                                   Qt::FindDirectChildrenOnly);
    if (!placer)
        placer = new FramePlacer(window);
    // Until it is on the screen the window starts near its place (exactly
    // there when its frame is known from an earlier show), so the
    // correction is small or none.
    if (!window.windowHandle() || !window.windowHandle()->isExposed())
        window.move(frameTopLeft);
    placer->setTarget(frameTopLeft);
}

QRect availableAreaAt(const QPoint &point)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(point))
            return screen->availableGeometry();
    }
    return QRect();
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
    const QRect anchorFrame = anchor.frameGeometry();
    QScreen *screen = anchor.screen();
    if (!screen)
        return std::nullopt;
    const QRect area = screen->availableGeometry();
    if (frameSize.height() > area.height())
        return std::nullopt;
    const int top = qBound(area.top(), anchorFrame.top(), area.bottom() + 1 - frameSize.height());
    const int right = anchorFrame.right() + 1 + kGap;
    if (right + frameSize.width() <= area.right() + 1)
        return QPoint(right, top);
    const int left = anchorFrame.left() - kGap - frameSize.width();
    if (left >= area.left())
        return QPoint(left, top);
    return std::nullopt;
}

} // namespace pz
