#pragma once
// The application's start-up windows behind the controller's StartupWindows
// interface: the main window, the information window and the test pattern
// window (both children of the main window), and the auto-mode display
// check.

#include "StartupWindows.h"
#include "pz_test_pattern_dialog.h"

#include <QPointer>

namespace pz {

class ApplicationWindows : public StartupWindows {
public:
    QWidget *createMainWindow() override;
    QWidget *createInformationWindow(QWidget *mainWindow) override;
    pz_test_pattern_dialog *createTestPatternWindow(QWidget *mainWindow) override;
    void deleteWindows(QWidget *mainWindow) override;
    void checkAllSupportedDisplaySettings(QWidget *parent) override;

private:
    QPointer<QWidget> m_informationWindow;
    QPointer<pz_test_pattern_dialog> m_testPatternWindow;
};

} // namespace pz
