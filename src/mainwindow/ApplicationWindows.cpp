#include "ApplicationWindows.h"

#include "DisplaySettingsCheck.h"
#include "PZ_Information_Dialog.h"
#include "PZ_Main_Dialog.h"
#include "pz_test_pattern_dialog.h"

namespace pz {

QWidget *ApplicationWindows::createMainWindow()
{
    return new PZ_Main_Dialog;
}

QWidget *ApplicationWindows::createInformationWindow(QWidget *mainWindow)
{
    m_informationWindow = new PZ_Information_Dialog(mainWindow);
    return m_informationWindow;
}

pz_test_pattern_dialog *ApplicationWindows::createTestPatternWindow(QWidget *mainWindow)
{
    m_testPatternWindow = new pz_test_pattern_dialog(mainWindow);
    return m_testPatternWindow;
}

void ApplicationWindows::deleteWindows(QWidget *mainWindow)
{
    // The main window takes its children with it; what is left had none.
    delete mainWindow;
    delete m_informationWindow;
    delete m_testPatternWindow;
}

void ApplicationWindows::checkAllSupportedDisplaySettings(QWidget *parent)
{
    CheckAllSupportedDisplaySettings(parent);
}

} // namespace pz
