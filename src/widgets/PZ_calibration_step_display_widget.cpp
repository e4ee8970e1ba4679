#include "PZ_calibration_step_display_widget.h"

#include <QPainter>

namespace {

constexpr int kPictureSide = 128;
constexpr int kTaskWaitToStabilize = 8;

const QString kPrefix = QStringLiteral(":/images/Resources/");

} // namespace

PZ_calibration_step_display_widget::PZ_calibration_step_display_widget(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

QSize PZ_calibration_step_display_widget::sizeHint() const
{
    return QSize(kPictureSide, kPictureSide);
}

QSize PZ_calibration_step_display_widget::minimumSizeHint() const
{
    return sizeHint();
}

QString PZ_calibration_step_display_widget::pictureFor(int task, int subTask)
{
    static const char *const kPatchPictures[] = {
        nullptr,
        "cie gamut red128.png",
        "cie gamut green128.png",
        "cie gamut blue128.png",
        "cie gamut black128.png",
        "cie gamut white128.png",
        "gamma blue 128.png",
    };
    const char *name = nullptr;
    switch (task) {
    case 1:    // configuring the monitor
    case 10:   // resetting it to its defaults
        name = "monitor adjust 128.png";
        break;
    case 2:    // primaries and responses are pictured by their patch
    case 3:
    case 5:
        if (subTask >= 1 && subTask <= 6)
            name = kPatchPictures[subTask];
        break;
    case 4:
        name = "rgb gain adjust128.png";
        break;
    case 6:
        name = "gamma uncorrected 128.png";
        break;
    case 7:
        name = "gamma adjust 128.png";
        break;
    case kTaskWaitToStabilize:
        name = "brightness wait128.png";
        break;
    case 9:
        name = "brightness adjust128.png";
        break;
    default:
        break;
    }
    return name ? kPrefix + QLatin1String(name) : QString();
}

void PZ_calibration_step_display_widget::set_calibration_task(int task)
{
    m_task = task;
    choosePicture();
}

void PZ_calibration_step_display_widget::set_calibration_sub_task(int subTask)
{
    m_subTask = subTask;
    choosePicture();
}

void PZ_calibration_step_display_widget::set_wait_time(int seconds)
{
    m_waitSeconds = seconds;
    choosePicture();
}

void PZ_calibration_step_display_widget::choosePicture()
{
    // Only the stabilisation wait counts down.
    if (m_task != kTaskWaitToStabilize)
        m_waitSeconds = 0;
    const QString path = pictureFor(m_task, m_subTask);
    if (!path.isEmpty())
        m_picture = QPixmap(path);
    update();
}

void PZ_calibration_step_display_widget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int side = qMin(width(), height());
    if (!m_picture.isNull())
        p.drawPixmap(QRect(0, 0, side, side), m_picture);

    if (m_task == kTaskWaitToStabilize && m_waitSeconds > 0) {
        QFont f = font();
        f.setPointSize(20);
        p.setFont(f);
        const QString text = QStringLiteral("%1").arg(m_waitSeconds);
        const int align = Qt::AlignHCenter | Qt::AlignVCenter;
        // Pink digits over a one-pixel black shadow to the lower right.
        p.setPen(QColor(0, 0, 0));
        p.drawText(QRect(47, 46, 45, 20), align, text);
        p.setPen(QColor(255, 128, 128));
        p.drawText(QRect(46, 45, 45, 20), align, text);
    }
}
