#pragma once
// Answers the file dialogs and message boxes a main-window command opens,
// in order: each file dialog takes the next answer (a path, or an empty
// string to cancel); each message box is closed with OK (or Yes). Keeps
// what every window showed. The newest user alive answers (ModalBox.h).

#include "ModalBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

namespace pz::test {

class FileDialogUser : public ModalAnswerer {
public:
    explicit FileDialogUser(QStringList answers) : m_answers(std::move(answers)) {}

    // Per file dialog: its caption, and the path it started from.
    QStringList captions;
    QStringList startPaths;
    // Per message box: its text and icon.
    QStringList boxTexts;
    QList<QMessageBox::Icon> boxIcons;

protected:
    bool takes(QWidget &modal) override
    {
        return qobject_cast<QFileDialog *>(&modal) || qobject_cast<QMessageBox *>(&modal);
    }
    void answer(QWidget &modal, bool first) override
    {
        // A dialog answered through a queued call stays open until the
        // event loop runs it.
        if (!first)
            return;
        if (auto *dialog = qobject_cast<QFileDialog *>(&modal)) {
            captions << dialog->windowTitle();
            const auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            startPaths << dialog->directory().absolutePath() + QLatin1Char('/')
                              + (edit ? edit->text() : QString());
            const QString answer = m_answers.isEmpty() ? QString() : m_answers.takeFirst();
            if (answer.isEmpty()) {
                QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            } else {
                // As a user would: go to the answer's folder, then type its
                // name. A full path typed into a dialog still listing another
                // folder races the listing, which may select a file of the
                // same name there once it has loaded.
                const QFileInfo file(answer);
                dialog->setDirectory(file.absolutePath());
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file.fileName());
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
            boxTexts << box->text();
            boxIcons << box->icon();
            QAbstractButton *button = box->button(QMessageBox::Ok);
            if (!button)
                button = box->button(QMessageBox::Yes);
            if (button)
                button->click();
        }
    }

private:
    QStringList m_answers;
};

} // namespace pz::test
