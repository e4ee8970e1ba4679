#pragma once
// The frameless window that shows a test pattern over a whole display. One
// instance lives for the whole run; the main window opens it to look at the
// patterns, and the measuring windows use it as a black or white background
// or as a contrast pattern with its overlay controls disabled.
//
// It never chooses a display: each user places it (pz::placeOnDisplay),
// sets it up and shows it. A user that disables the controls enables them
// again when it lets the window go.
//
// The arrow keys step through the patterns as the previous and next buttons
// do (right and down forward, left and up back) while the controls are
// enabled. The captions are white or black, whichever stands out on the
// pattern, on a translucent panel of the other.
//
// The overlay controls (previous, next and close buttons, the pattern name
// and the window size) come and go with the pattern widget's timer while
// they are enabled; disabled, every request hides them. The window has no
// signals: its users watch whether it is visible.

#include <QDialog>
#include <memory>

namespace Ui {
class PZ_test_pattern_dialogClass;
}

class pz_test_pattern_dialog : public QDialog {
    Q_OBJECT

public:
    explicit pz_test_pattern_dialog(QWidget *parent = nullptr);
    ~pz_test_pattern_dialog() override;

public slots:
    void SetTestPattern(int n);
    // Shows or hides the five controls, as far as they are enabled.
    void show_controls(bool show);
    // Allows or forbids the controls, and shows them when allowed.
    void enable_controls(bool enable);
    // The white background of the measuring and settings dialogs: the white
    // pattern over the display at displayBounds with the controls locked, or
    // (show false) the window taken away with its controls back. The dialog
    // that asked for it (owner) is raised and activated above it, so that
    // its controls stay in view.
    void show_white_background(bool show, const QRect &displayBounds = QRect(),
                               QWidget *owner = nullptr);
    void on_test_pattern_close_toolButton_clicked();
    void on_test_pattern_next_toolButton_clicked();
    void on_test_pattern_previous_toolButton_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The window's width x height in the pattern's template.
    void update_resolution_text();
    // After a step: the new name, shown as far as the controls are enabled.
    void show_stepped_pattern_name();

    std::unique_ptr<Ui::PZ_test_pattern_dialogClass> ui;
    bool controlsEnabled = true;
};
