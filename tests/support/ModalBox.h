#pragma once
// Answers the next modal message box a test makes the code open, and keeps
// what the box showed. Create it before the call that opens the box; it
// polls the event loop the box runs.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace pz::test {

class ModalBoxAnswer : public QObject {
    Q_OBJECT

public:
    // Clicks button on the next modal message box.
    explicit ModalBoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok);
    // Hands the next modal message box to act, which closes it (or lets it
    // close itself).
    explicit ModalBoxAnswer(std::function<void(QMessageBox &)> act);

    bool shown() const { return m_shown; }
    QString text() const { return m_text; }
    QString informativeText() const { return m_informativeText; }
    QMessageBox::Icon icon() const { return m_icon; }
    QString windowTitle() const { return m_windowTitle; }

private:
    void poll();

    QTimer m_timer;
    std::function<void(QMessageBox &)> m_act;
    bool m_shown = false;
    QString m_text;
    QString m_informativeText;
    QString m_windowTitle;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
};

} // namespace pz::test
