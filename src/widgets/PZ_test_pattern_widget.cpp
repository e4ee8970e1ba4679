#include "PZ_test_pattern_widget.h"

#include "TestPatternPainter.h"
#include "UnmanagedFill.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The overlay text templates, by colour.
const char *const kWhiteBold = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><b><font COLOR=white>%1</font></b></html>");
const char *const kBlackBold = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><b><font COLOR=black>%1</font></b></html>");
const char *const kRedBold = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><b><font COLOR=red>%1</font></b></html>");
const char *const kYellowBold = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><b><font COLOR=yellow>%1</font></b></html>");
const char *const kYellowPlain = QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "<html><font COLOR=yellow>%1</font></html>");

struct PatternText {
    const char *name;
    const char *textTemplate;   // chosen to stand out on the pattern
};

const PatternText kPatterns[PZ_test_pattern_widget::kPatternCount] = {
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "TG18-QC Pattern"), kWhiteBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Black"), kWhiteBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "25% Gray"), kBlackBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "50% Gray"), kBlackBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "75% Gray"), kBlackBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "White"), kBlackBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Red"), kWhiteBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Green"), kBlackBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Blue"), kWhiteBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Yellow"), kRedBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Cyan"), kRedBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Magenta"), kYellowBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Color and Grayscale wedges"), kRedBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Greyscale wedge"), kRedBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Double 100% Grayscale wedges"), kRedBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Double 25% Grayscale wedges"), kRedBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "Black Quality Control"), kWhiteBold},
    {QT_TRANSLATE_NOOP("PZ_test_pattern_widget", "White Quality Control"), kBlackBold},
};

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

QString PZ_test_pattern_widget::getTextFormatting() const
{
    return tr(isPattern(currentPattern) ? kPatterns[currentPattern].textTemplate : kYellowPlain);
}

QString PZ_test_pattern_widget::getPatternName()
{
    const QString name = isPattern(currentPattern) ? tr(kPatterns[currentPattern].name) : QString();
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
