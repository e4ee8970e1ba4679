#pragma once
// The windows the application controller opens at start-up, as the
// controller sees them. The controller's library lies below the window
// libraries, so it reaches them only through this interface; the
// application (main) registers the implementation (ApplicationWindows in the
// main window library) before the controller starts.

class QWidget;
class pz_test_pattern_dialog;

namespace pz {

class StartupWindows {
public:
    virtual ~StartupWindows() = default;

    // The main window, without a parent; nullptr while the program has none.
    virtual QWidget *createMainWindow() = 0;
    // The non-modal information window, a child of mainWindow (which may be
    // nullptr).
    virtual QWidget *createInformationWindow(QWidget *mainWindow) = 0;
    // The full-screen test pattern window, a child of mainWindow; nullptr
    // while the program has none.
    virtual pz_test_pattern_dialog *createTestPatternWindow(QWidget *mainWindow) = 0;
    // Deletes every window created above: the main window with its
    // children, and the ones created without a parent.
    virtual void deleteWindows(QWidget *mainWindow) = 0;

    // The start-up display check of auto mode; returns when its message
    // boxes are closed.
    virtual void checkAllSupportedDisplaySettings(QWidget *parent) = 0;
};

// The registered windows (not owned), or nullptr: the controller then opens
// no window at all.
StartupWindows *startupWindows();
void setStartupWindows(StartupWindows *windows);

} // namespace pz
