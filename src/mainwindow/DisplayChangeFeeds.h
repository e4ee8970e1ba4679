#pragma once
// Feeds the window system's notices of display changes into
// pz::displayChanges(): screens added and removed, the primary screen
// changed, a screen's geometry changed, and the X server's RandR
// notifications. The main window owns one while it lives.

#include <QObject>
#include <memory>

class QScreen;

namespace pz {

class XRandRChangeWatcher;

class DisplayChangeFeeds : public QObject {
    Q_OBJECT

public:
    DisplayChangeFeeds();
    ~DisplayChangeFeeds() override;

private:
    void watchScreen(QScreen *screen);

    std::unique_ptr<XRandRChangeWatcher> m_randr;
};

} // namespace pz
