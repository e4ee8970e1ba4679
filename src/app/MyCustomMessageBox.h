#pragma once
// The application's message box: a QMessageBox that can close itself after a
// countdown shown in its informative line (wall-clock seconds),
// can place itself on its parent's screen and can carry a "Don't show this
// again" check box. All boxes are modal and run on the GUI thread.
// DisplayMessage and DisplayErrorMessage (Messages.h) are built on it.

#include <QMessageBox>
#include <QTimer>

class QCheckBox;

class MyCustomMessageBox : public QMessageBox {
    Q_OBJECT
    Q_PROPERTY(int counter READ counter WRITE setCounter)

public:
    // counter: seconds until the box accepts itself (0: no countdown).
    // centre: place the box on the parent's screen (primary screen without
    // a parent). dontShowAgain: add the check box.
    MyCustomMessageBox(QWidget *parent, unsigned counter, int centre, bool dontShowAgain);

    int counter() const { return m_counter; }
    void setCounter(int counter);
    // The check box's state; false when the box has none.
    bool GetDontShowAgainValue() const;

public slots:
    // Starts the countdown (when there is one), then runs the box. Returns
    // the clicked button as QMessageBox reports it, or 1 (Accepted) when the
    // countdown closed the box.
    int exec() override;
    // One countdown step: shows the seconds left, or accepts at 0.
    void on_timeout();

private:
    void placeOnScreen();

    QTimer m_timer;
    int m_counter = 0;
    QCheckBox *m_dontShowAgain = nullptr;
};
