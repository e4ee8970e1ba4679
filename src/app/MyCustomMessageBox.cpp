#include "MyCustomMessageBox.h"

#include "StringResources.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>

namespace {
// A countdown second is a second of the wall clock, whatever speed the
// program's clock runs at: the seconds the box shows are the user's time
// to read it.
const int kCountdownStepMs = 1000;
const unsigned kOneSecondLeftText = 604;
const unsigned kSecondsLeftText = 605;
} // namespace

MyCustomMessageBox::MyCustomMessageBox(QWidget *parent, unsigned counter, int centre,
                                       bool dontShowAgain)
    : QMessageBox(parent), m_counter(int(counter))
{
    if (m_counter != 0) {
        m_timer.setSingleShot(false);
        m_timer.setInterval(kCountdownStepMs);
        connect(&m_timer, &QTimer::timeout, this, &MyCustomMessageBox::on_timeout);
        on_timeout();
    }
    if (centre != 0)
        placeOnScreen();
    if (dontShowAgain) {
        m_dontShowAgain = new QCheckBox(tr("Don't show this again"), this);
        setCheckBox(m_dontShowAgain);
    }
    // The first second of the countdown shows no text.
    if (m_counter != 0)
        setInformativeText(QStringLiteral(" "));
}

// A box that belongs to a window opens over that window, on its screen:
// left alone, Qt centres a dialog over its parent as it shows it. A box of
// no window goes to the left quarter of the main screen horizontally,
// vertically at the middle of the screen's own rows.
void MyCustomMessageBox::placeOnScreen()
{
    if (parentWidget())
        return;
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect r = screen->geometry();
    if (r.width() == 0)
        return;
    const QRect f = frameGeometry();
    move(r.left() + r.width() / 4 - f.width() / 2, r.top() + (r.bottom() - r.top()) / 2);
}

void MyCustomMessageBox::setCounter(int counter)
{
    m_counter = counter;
}

bool MyCustomMessageBox::GetDontShowAgainValue() const
{
    return m_dontShowAgain && m_dontShowAgain->isChecked();
}

int MyCustomMessageBox::exec()
{
    if (m_counter != 0)
        m_timer.start();
    const int result = QMessageBox::exec();
    m_timer.stop();
    return result;
}

void MyCustomMessageBox::on_timeout()
{
    if (m_counter == 0) {
        accept();
        return;
    }
    const unsigned id = m_counter == 1 ? kOneSecondLeftText : kSecondsLeftText;
    setInformativeText(GetStringResource(id).arg(m_counter));
    --m_counter;
}
