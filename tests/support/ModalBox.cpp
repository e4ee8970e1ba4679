#include "ModalBox.h"

#include <QAbstractButton>
#include <QApplication>

namespace pz::test {

ModalBoxAnswer::ModalBoxAnswer(QMessageBox::StandardButton button)
    : ModalBoxAnswer([button](QMessageBox &box) { box.button(button)->click(); })
{
}

ModalBoxAnswer::ModalBoxAnswer(std::function<void(QMessageBox &)> act) : m_act(std::move(act))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalBoxAnswer::poll);
    m_timer.start(10);
}

void ModalBoxAnswer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    m_timer.stop();
    m_shown = true;
    m_text = box->text();
    m_informativeText = box->informativeText();
    m_windowTitle = box->windowTitle();
    m_icon = box->icon();
    m_act(*box);
}

} // namespace pz::test
