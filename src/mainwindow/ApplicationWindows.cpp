#include "ApplicationWindows.h"

#include "PZ_Information_Dialog.h"

namespace pz {

QWidget *ApplicationWindows::createMainWindow()
{
    return nullptr;
}

QWidget *ApplicationWindows::createInformationWindow(QWidget *mainWindow)
{
    m_informationWindow = new PZ_Information_Dialog(mainWindow);
    return m_informationWindow;
}

pz_test_pattern_dialog *ApplicationWindows::createTestPatternWindow(QWidget *)
{
    return nullptr;
}

void ApplicationWindows::deleteWindows(QWidget *mainWindow)
{
    // The main window takes its children with it; what is left had none.
    delete mainWindow;
    delete m_informationWindow;
}

void ApplicationWindows::checkAllSupportedDisplaySettings(QWidget *) {}

} // namespace pz
