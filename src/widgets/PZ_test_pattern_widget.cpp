#include "PZ_test_pattern_widget.h"

#include "TestPatternPainter.h"
#include "UnmanagedFill.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The overlay text templates: white or black, whichever stands out more
// on the pattern; yellow for an index that is no pattern.
const char *const kWhiteBold = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><b><font COLOR=white>%1</font></b></html>");
const char *const kBlackBold = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><b><font COLOR=black>%1</font></b></html>");
const char *const kYellowPlain = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><font COLOR=yellow>%1</font></html>");

const char *const kPatternNames[PZ_test_pattern_widget::kPatternCount] = {
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "TG18-QC Pattern"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Black"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "25% Gray"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "50% Gray"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "75% Gray"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "White"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Red"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Green"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Blue"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Yellow"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Cyan"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Magenta"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Color and Grayscale wedges"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Greyscale wedge"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Double 100% Grayscale wedges"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Double 25% Grayscale wedges"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Black Quality Control"),
    QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "White Quality Control"),
};

// Enough to carry the text, little enough to show the pattern through.
constexpr int kBackdropAlpha = 140;

bool isPattern(int n)
{
    return n >= 0 && n < PZ_test_pattern_widget::kPatternCount;
}

} // namespace

PZ_test_pattern_widget::PZ_test_pattern_widget(QWidget *parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    // The caption's path is translatable: a translation may bring its own.
    captionPixmap.load(tr(":/images/Resources/it8-6.png"));
    qualityControlPixmap.load(QStringLiteral(":/images/Resources/it8-3.png"));
    resolutionPixmap.load(QStringLiteral(":/images/Resources/it8-4.png"));
    setAttribute(Qt::WA_MouseTracking);
    hideTimer = new QTimer(this);
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &PZ_test_pattern_widget::update_timer);
}

void PZ_test_pattern_widget::SetTestPattern(int n)
{
    currentPattern = n;
    update();
}

void PZ_test_pattern_widget::next_test_pattern()
{
    currentPattern = currentPattern + 1 >= kPatternCount ? 0 : currentPattern + 1;
    update();
    reset_timer();
}

void PZ_test_pattern_widget::previous_test_pattern()
{
    currentPattern = currentPattern - 1 < 0 ? kPatternCount - 1 : currentPattern - 1;
    update();
    reset_timer();
}

bool PZ_test_pattern_widget::lightCaption() const
{
    return !isPattern(currentPattern)
           || pz::captionIsLight(pz::TestPatternPainter::background(currentPattern));
}

QString PZ_test_pattern_widget::getTextFormatting() const
{
    if (!isPattern(currentPattern))
        return tr(kYellowPlain);
    return tr(lightCaption() ? kWhiteBold : kBlackBold);
}

QColor PZ_test_pattern_widget::captionBackdrop() const
{
    const int level = lightCaption() ? 0 : 255;
    return QColor(level, level, level, kBackdropAlpha);
}

QString PZ_test_pattern_widget::getPatternName()
{
    const QString name = isPattern(currentPattern) ? tr(kPatternNames[currentPattern]) : QString();
    return getTextFormatting().arg(
        tr("Pattern #%1: %2").arg(QString::number(currentPattern + 1), name));
}

void PZ_test_pattern_widget::reset_timer()
{
    if (!hideTimer->isActive())
        emit show_controls(true);
    hideTimer->stop();
    hideTimer->start(kControlsHideMs);
}

void PZ_test_pattern_widget::update_timer()
{
    emit show_controls(false);
}

void PZ_test_pattern_widget::keyPressEvent(QKeyEvent *event)
{
    reset_timer();
    // The key goes on to the window (its shortcuts and Escape).
    event->ignore();
}

void PZ_test_pattern_widget::mousePressEvent(QMouseEvent *event)
{
    reset_timer();
    QWidget::mousePressEvent(event);
}

void PZ_test_pattern_widget::mouseMoveEvent(QMouseEvent *event)
{
    reset_timer();
    QWidget::mouseMoveEvent(event);
}

void PZ_test_pattern_widget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        reset_timer();
}

void PZ_test_pattern_widget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    pz::UnmanagedFill fill(p, *this);
    const pz::TestPatternImages images{captionPixmap, qualityControlPixmap, resolutionPixmap};
    pz::TestPatternPainter(p, fill, size(), images).paint(currentPattern);
}
