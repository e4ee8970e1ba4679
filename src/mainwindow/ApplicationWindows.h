#pragma once
// The application's start-up windows behind the controller's StartupWindows
// interface. For now the program has an information window only: no main
// window, no test pattern window, and the auto-mode display check reports
// nothing.

#include "StartupWindows.h"

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
};

} // namespace pz
