#pragma once
// Watches an X server's RandR notifications (screen, output, CRTC and
// output-property changes) on a connection of its own and announces each
// burst through pz::displayChanges(). Output-property notices matter: a
// monitor swapped behind an output at the same mode changes only the
// output's EDID property.
//
// Without an X server or RandR the watcher does nothing.

#include <QByteArray>
#include <QObject>
#include <memory>

namespace pz {

class XRandRChangeWatcher : public QObject {
    Q_OBJECT

public:
    // Opens the named display; an empty name means $DISPLAY.
    explicit XRandRChangeWatcher(const QByteArray &displayName = QByteArray());
    ~XRandRChangeWatcher() override;

    bool isWatching() const;

private:
    // Drains the connection's queue; one announcement per drain.
    void readEvents();

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace pz
