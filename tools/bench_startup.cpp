// The program's start-up, from main's first step to the main window shown
// with its display list filled, on the demo simulated desktop (an HXSIM24
// behind its USB bridge and a plain second display, with the simulated
// sensors), offscreen, on the virtual clock, in a temporary home. Prints:
//   wall ms       the time the program's own work took (the figure to reach
//                 is under 300 ms in a release build);
//   simulated ms  what the DDC/CI and sensor waits add on the virtual clock;
//   peak MB       the peak resident memory (to reach: under 100 MB).
// Sanitizer builds inflate the first and the last figure.
//
//   bench_startup

#include "AppGlobals.h"
#include "ApplicationWindows.h"
#include "Clock.h"
#include "HostSystem.h"
#include "MasterControl.h"
#include "PZ_Main_Dialog.h"
#include "Resources.h"
#include "SimDesktop.h"
#include "SystemFolders.h"
#include "Translators.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

int main(int argc, char **argv)
{
    QElapsedTimer wall;
    wall.start();

    qputenv("PELZORA_SIMULATE", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    pz::VirtualClock clock;
    pz::ScopedClock clockScope(&clock);

    // What main does, in its order.
    pz::initResources();
    verbosity = 3;
    QApplication app(argc, argv);
    pz::ApplicationTranslators translators;
    pz::setHostSystem(pz::platformHostSystem());
    std::unique_ptr<pz::SimDesktop> simulated = pz::SimDesktop::installFromEnvironment();

    pz::ApplicationWindows windows;
    pz::setStartupWindows(&windows);
    qint64 openedMs = -1;
    int displays = 0;
    {
        MasterControl controller;
        pMasterControl = &controller;
        QObject::connect(&controller, &MasterControl::startup_complete, &app, [&] {
            // The window is shown right after this signal.
            QTimer::singleShot(0, &app, [&] {
                if (p_PZ_Main_Dialog && p_PZ_Main_Dialog->isVisible()) {
                    openedMs = wall.elapsed();
                    displays = p_PZ_Main_Dialog->main_Display_comboBox->count();
                }
                QCoreApplication::exit(0);
            });
        });
        controller.Startup(false);
        app.exec();
        pMasterControl = nullptr;
    }
    pz::setStartupWindows(nullptr);

    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    if (openedMs < 0 || displays == 0) {
        std::fprintf(stderr, "bench_startup: the main window did not open with its list filled\n");
        return 1;
    }
    std::printf("displays listed  %d\n", displays);
    std::printf("wall ms          %lld\n", static_cast<long long>(openedMs));
    std::printf("simulated ms     %.1f\n", clock.totalWaitedUs() / 1000.0);
    std::printf("peak MB          %.1f\n", usage.ru_maxrss / 1024.0);
    return 0;
}
