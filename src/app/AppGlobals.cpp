#include "AppGlobals.h"
#include "StartupWindows.h"

MasterControl *pMasterControl = nullptr;
CTargetSensor *pTargetSensor = nullptr;
QWidget *information_window = nullptr;
pz_test_pattern_dialog *test_pattern_window = nullptr;
int verbosity = 0;

namespace pz {

namespace {
StartupWindows *g_windows = nullptr;
}

StartupWindows *startupWindows()
{
    return g_windows;
}

void setStartupWindows(StartupWindows *windows)
{
    g_windows = windows;
}

} // namespace pz
