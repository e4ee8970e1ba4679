#include "SimScreenSampler.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QThread>
#include <QWidget>

namespace pz {

namespace {

bool triggersSample(QEvent::Type type)
{
    switch (type) {
    case QEvent::UpdateRequest:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ZOrderChange:
    case QEvent::WindowActivate:
        return true;
    default:
        return false;
    }
}

QPoint centreOf(const QRectF &r)
{
    return r.center().toPoint();
}

// The display whose bounds hold the point, or 0.
quint32 displayAt(const QVector<DesktopDisplay> &displays, const QPoint &point)
{
    for (const DesktopDisplay &d : displays)
        if (d.bounds.contains(point))
            return d.id;
    return 0;
}

} // namespace

SimScreenSampler::SimScreenSampler(IDesktop &desktop, QObject *parent)
    : QObject(parent), m_desktop(desktop)
{
    Q_ASSERT(qApp && QThread::currentThread() == qApp->thread());
    qApp->installEventFilter(this);
}

SimScreenSampler::~SimScreenSampler()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool SimScreenSampler::onGuiThread() const
{
    return QThread::currentThread() == thread();
}

SimScreenSample SimScreenSampler::sample(quint32 placedOn)
{
    const quint32 before = m_placedOn.exchange(placedOn);
    if (onGuiThread())
        resample();
    else if (before != placedOn)
        // The sensor was moved to another display: the kept sample is for
        // the old one until the GUI thread has sampled again.
        QMetaObject::invokeMethod(this, &SimScreenSampler::resample, Qt::QueuedConnection);
    QMutexLocker lock(&m_lock);
    return m_sample;
}

bool SimScreenSampler::eventFilter(QObject *watched, QEvent *event)
{
    if (triggersSample(event->type()) && watched->isWidgetType()) {
        QWidget *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow()) {
            if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
                bringToFront(widget);
            resample();
        }
    }
    return QObject::eventFilter(watched, event);
}

void SimScreenSampler::bringToFront(QWidget *window)
{
    m_stacking.removeAll(QPointer<QWidget>(window));
    m_stacking.removeAll(QPointer<QWidget>());
    m_stacking.prepend(window);
}

int SimScreenSampler::stackingRank(QWidget *window) const
{
    // Windows never shown or activated while the sampler watched rank below
    // all others.
    const int index = m_stacking.indexOf(window);
    return index == -1 ? m_stacking.size() : index;
}

QWidget *SimScreenSampler::visiblePatch() const
{
    // Of several, the one in the top-most window.
    QWidget *found = nullptr;
    for (QWidget *w : QApplication::allWidgets()) {
        if (w->isVisible() && qstrcmp(w->metaObject()->className(), kPatchClassName) == 0
            && (!found || stackingRank(w->window()) < stackingRank(found->window())))
            found = w;
    }
    return found;
}

QWidget *SimScreenSampler::topmostWindowAt(const QPoint &global) const
{
    QWidget *best = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowType() != Qt::Desktop && w->geometry().contains(global)
            && (!best || stackingRank(w) < stackingRank(best)))
            best = w;
    }
    return best;
}

bool SimScreenSampler::averageAperture(QWidget *window, const QPoint &global, SimScreenSample &sample)
{
    const QPoint local = global - window->geometry().topLeft();
    const QRect aperture = QRect(local.x() - kApertureSize / 2, local.y() - kApertureSize / 2,
                                 kApertureSize, kApertureSize)
                         & window->rect();
    if (aperture.isEmpty())
        return false;
    const QImage image = window->grab(aperture).toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return false;
    quint64 sum[3] = {0, 0, 0};
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            sum[0] += qRed(line[x]);
            sum[1] += qGreen(line[x]);
            sum[2] += qBlue(line[x]);
        }
    }
    const quint64 n = quint64(image.width()) * quint64(image.height());
    sample.r = quint8((sum[0] + n / 2) / n);
    sample.g = quint8((sum[1] + n / 2) / n);
    sample.b = quint8((sum[2] + n / 2) / n);
    return true;
}

void SimScreenSampler::resample()
{
    // Rendering the aperture sends events of its own (pending moves and
    // resizes, paints): they must not start another sample.
    if (m_sampling || !onGuiThread())
        return;
    m_sampling = true;

    const quint32 placedOn = m_placedOn.load();
    QVector<DesktopDisplay> displays;
    m_desktop.onlineDisplays(displays);

    SimScreenSample next;
    next.displayId = placedOn;
    bool havePoint = false;
    QPoint point;
    if (QWidget *patch = visiblePatch()) {
        QWidget *window = patch->window();
        point = window->geometry().topLeft() + patch->mapTo(window, patch->rect().center());
        havePoint = true;
    } else {
        for (const DesktopDisplay &d : displays)
            if (d.id == placedOn) {
                point = centreOf(d.bounds);
                havePoint = true;
            }
    }
    if (havePoint) {
        if (const quint32 id = displayAt(displays, point))
            next.displayId = id;
        if (QWidget *window = topmostWindowAt(point))
            averageAperture(window, point, next);
    }

    {
        QMutexLocker lock(&m_lock);
        m_sample = next;
    }
    m_sampling = false;
}

} // namespace pz
