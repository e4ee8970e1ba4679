#include "DisplayChangeFeeds.h"

#include "DisplayChanges.h"
#include "XRandRChangeWatcher.h"

#include <QGuiApplication>
#include <QScreen>

namespace pz {

namespace {

void announce()
{
    displayChanges().notify();
}

} // namespace

DisplayChangeFeeds::DisplayChangeFeeds()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watchScreen(screen);
        announce();
    });
    connect(app, &QGuiApplication::screenRemoved, this, [] { announce(); });
    connect(app, &QGuiApplication::primaryScreenChanged, this, [] { announce(); });
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
    // The screens Qt reports do not change when a monitor is swapped behind
    // an output at the same mode; RandR's output-property notices do.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_randr = std::make_unique<XRandRChangeWatcher>();
}

DisplayChangeFeeds::~DisplayChangeFeeds() = default;

void DisplayChangeFeeds::watchScreen(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, [] { announce(); });
}

} // namespace pz
