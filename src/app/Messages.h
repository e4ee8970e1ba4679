#pragma once
// Notices and error reports in the application's message box
// (MyCustomMessageBox), titled with the application name. autoClose gives
// the box a 60-second countdown; centre places it on the parent's screen.

#include <QMessageBox>
#include <QString>

class QWidget;

// A notice with one OK button. Returns the state of the "Don't show this
// again" box when dontShowAgain is set (also when the countdown closed the
// box), else false.
bool DisplayMessage(QWidget *parent, QString text, QMessageBox::Icon icon, bool autoClose,
                    int centre, bool dontShowAgain);

// The message of one of the application's error codes, with its icon. A code
// without a message of its own shows "Unknown Error #<code>".
void DisplayErrorMessage(QWidget *parent, int code, bool autoClose, int centre);

namespace pz {

struct ErrorMessage {
    unsigned stringId = 0;
    QMessageBox::Icon icon = QMessageBox::Critical;
};

// The string resource and icon of an error code.
ErrorMessage errorMessageFor(int code);
// The text shown for an error code ("%1" in the text becomes the code).
QString errorMessageText(int code);

} // namespace pz
