#pragma once
// The test's hand at modal windows. Every answerer alive takes part in one
// shared poll of the active modal window, made on the event loop that
// window runs: a window no answerer has taken yet is offered to the
// answerers newest first, and the first that takes it keeps it for as long
// as it stays open. So two answerers alive at once never race for one
// window, and a window that comes late (a loaded machine) is still seen:
// the poll goes on until the answerer is gone, with no fixed delay.
//
// A rig's own answerer, there to answer what the test leaves alone, is made
// a last resort: it is offered a window after every other answerer.
//
// ModalBoxAnswer answers the next message box; ModalWindowAnswer<T> the
// next modal window of class T. Create one before the call that opens the
// window; where the window opens later on its own, waitShown() waits for it.

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTest>
#include <functional>

namespace pz::test {

// Wall-clock bound for a window the test expects to appear: well above
// anything a loaded machine running sanitized builds side by side needs.
constexpr int kModalWindowWaitMs = 120000;

class ModalAnswerer : public QObject {
public:
    ModalAnswerer();
    ~ModalAnswerer() override;
    ModalAnswerer(const ModalAnswerer &) = delete;
    ModalAnswerer &operator=(const ModalAnswerer &) = delete;

    void makeLastResort() { m_lastResort = true; }

protected:
    // Whether this answerer wants modal, a window nobody has taken yet.
    virtual bool takes(QWidget &modal) = 0;
    // Answers a window it took: first when it takes it, then again on every
    // poll while the window stays the active modal one.
    virtual void answer(QWidget &modal, bool first) = 0;

private:
    friend class ModalPoll;
    bool m_lastResort = false;
};

class ModalBoxAnswer : public ModalAnswerer {
public:
    // Clicks button on the next modal message box.
    explicit ModalBoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok);
    // Hands the next modal message box to act, which closes it (or lets it
    // close itself).
    explicit ModalBoxAnswer(std::function<void(QMessageBox &)> act);

    bool shown() const { return m_shown; }
    // Waits for the box to have come and been answered.
    bool waitShown(int ms = kModalWindowWaitMs)
    {
        return QTest::qWaitFor([this] { return m_shown; }, ms);
    }
    QString text() const { return m_text; }
    QString informativeText() const { return m_informativeText; }
    QMessageBox::Icon icon() const { return m_icon; }
    QString windowTitle() const { return m_windowTitle; }

protected:
    bool takes(QWidget &modal) override;
    void answer(QWidget &modal, bool first) override;

private:
    std::function<void(QMessageBox &)> m_act;
    bool m_shown = false;
    QString m_text;
    QString m_informativeText;
    QString m_windowTitle;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
};

// Hands the next modal window of class T to act, which closes it (the
// default rejects it).
template <typename T>
class ModalWindowAnswer : public ModalAnswerer {
public:
    explicit ModalWindowAnswer(std::function<void(T &)> act = [](T &window) { window.reject(); })
        : m_act(std::move(act))
    {
    }
    bool shown() const { return m_shown; }
    bool waitShown(int ms = kModalWindowWaitMs)
    {
        return QTest::qWaitFor([this] { return m_shown; }, ms);
    }

protected:
    bool takes(QWidget &modal) override
    {
        return !m_shown && qobject_cast<T *>(&modal) && modal.isVisible();
    }
    void answer(QWidget &modal, bool first) override
    {
        if (!first)
            return;
        m_shown = true;
        m_act(*qobject_cast<T *>(&modal));
    }

private:
    std::function<void(T &)> m_act;
    bool m_shown = false;
};

} // namespace pz::test
