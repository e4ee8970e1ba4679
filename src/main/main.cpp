// The Pelzora application: builds the Qt application, installs the system's
// (or, with PELZORA_SIMULATE=1, the simulated) devices behind the program's
// seams, and runs the application controller until the event loop ends.
// "-auto" checks the displays' stored calibrations behind the splash and
// ends without opening the main window.

#include "AppGlobals.h"
#include "ApplicationWindows.h"
#include "HostSystem.h"
#include "LinuxDisplayAwake.h"
#include "MasterControl.h"
#include "PZ_Profile_Name_Description_Dialog.h"
#include "ProfileNaming.h"
#include "Resources.h"
#include "SimDesktop.h"
#include "SingleInstance.h"
#include "SystemDisplayBackends.h"
#include "SystemFolders.h"
#include "TerminationSignals.h"
#include "Translators.h"

#include <QApplication>

#include <cstdio>
#include <memory>

// The sensor pictures live in the sensors library; a static
// library's resources are registered by hand.
static void initSensorPictures() { Q_INIT_RESOURCE(sensors); }

namespace {

int runController(QApplication &app, bool autoMode)
{
    pz::ApplicationWindows windows;
    pz::setStartupWindows(&windows);
    int result = 0;
    {
        MasterControl controller;
        pMasterControl = &controller;
        controller.Startup(autoMode);
        result = app.exec();
    }
    pMasterControl = nullptr;
    pz::setStartupWindows(nullptr);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    pz::initResources();
    initSensorPictures();
    verbosity = 3;

    QApplication app(argc, argv);
    pz::ApplicationTranslators translators;

    const bool autoMode = QCoreApplication::arguments().contains(QStringLiteral("-auto"));

    pz::setHostSystem(pz::platformHostSystem());
    if (is_application_running()) {
        std::fprintf(stderr, "pelzora: another instance is already running\n");
        return 0;
    }

    // The controller's members read the devices and the data file when they
    // are built, so the devices come first.
    std::unique_ptr<pz::SimDesktop> simulated = pz::SimDesktop::installFromEnvironment();
    if (!simulated)
        pz::installSystemDisplayBackends();
    // The simulated desktop has no screen saver to hold off.
    std::unique_ptr<pz::LinuxDisplayAwake> systemAwake;
    if (!simulated)
        systemAwake = std::make_unique<pz::LinuxDisplayAwake>();
    pz::ScopedDisplayAwake awake(systemAwake.get());
    pz::setProfileNamePrompt(RunProfileNameDescriptionPrompt);

    // exit(), not quit(): a GUI application's quit() first closes every
    // window, and the main window would ask its close question with nobody
    // there to answer it.
    pz::TerminationSignals termination;
    QObject::connect(&termination, &pz::TerminationSignals::terminationRequested, &app,
                     [] { QCoreApplication::exit(0); });

    const int result = runController(app, autoMode);

    pz::setProfileNamePrompt({});
    return result;
}
