#include "ModalBox.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace pz::test {

// The one poll all answerers share, running while any answerer lives.
class ModalPoll {
public:
    static ModalPoll &instance()
    {
        static ModalPoll poll;
        return poll;
    }

    void add(ModalAnswerer *answerer)
    {
        m_answerers.push_back(answerer);
        if (!m_timer) {
            m_timer = new QTimer;
            QObject::connect(m_timer, &QTimer::timeout, [this] { poll(); });
        }
        if (!m_timer->isActive())
            m_timer->start(kIntervalMs);
    }

    void remove(ModalAnswerer *answerer)
    {
        m_answerers.erase(std::remove(m_answerers.begin(), m_answerers.end(), answerer),
                          m_answerers.end());
        for (Taken &t : m_taken)
            if (t.by == answerer)
                t.by = nullptr;
        if (m_answerers.empty() && m_timer)
            m_timer->stop();
    }

private:
    static constexpr int kIntervalMs = 10;

    struct Taken {
        QPointer<QWidget> window;
        ModalAnswerer *by;
    };

    // An answer may run a nested event loop (a click that opens the next
    // window), so this can be entered again from inside answer(); each call
    // works on the window active at that moment and keeps no state across
    // the answer.
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        m_taken.erase(std::remove_if(m_taken.begin(), m_taken.end(),
                                     [](const Taken &t) { return !t.window || !t.by; }),
                      m_taken.end());
        if (!modal)
            return;
        const auto taken = std::find_if(m_taken.begin(), m_taken.end(),
                                        [modal](const Taken &t) { return t.window == modal; });
        if (taken != m_taken.end()) {
            ModalAnswerer *by = taken->by;
            by->answer(*modal, false);
            return;
        }
        for (const bool lastResort : {false, true}) {
            for (auto it = m_answerers.rbegin(); it != m_answerers.rend(); ++it) {
                ModalAnswerer *answerer = *it;
                if (answerer->m_lastResort == lastResort && answerer->takes(*modal)) {
                    m_taken.push_back({modal, answerer});
                    answerer->answer(*modal, true);
                    return;
                }
            }
        }
    }

    std::vector<ModalAnswerer *> m_answerers;   // oldest first
    std::vector<Taken> m_taken;
    QTimer *m_timer = nullptr;   // made on first use, in the test's thread
};

ModalAnswerer::ModalAnswerer() { ModalPoll::instance().add(this); }

ModalAnswerer::~ModalAnswerer() { ModalPoll::instance().remove(this); }

ModalBoxAnswer::ModalBoxAnswer(QMessageBox::StandardButton button)
    : ModalBoxAnswer([button](QMessageBox &box) { box.button(button)->click(); })
{
}

ModalBoxAnswer::ModalBoxAnswer(std::function<void(QMessageBox &)> act) : m_act(std::move(act)) {}

bool ModalBoxAnswer::takes(QWidget &modal)
{
    return !m_shown && qobject_cast<QMessageBox *>(&modal);
}

void ModalBoxAnswer::answer(QWidget &modal, bool first)
{
    if (!first)
        return;
    auto &box = *qobject_cast<QMessageBox *>(&modal);
    m_shown = true;
    m_text = box.text();
    m_informativeText = box.informativeText();
    m_windowTitle = box.windowTitle();
    m_icon = box.icon();
    m_act(box);
}

} // namespace pz::test
