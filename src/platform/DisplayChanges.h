#pragma once
// One place where every notice of a change of the desktop's displays and of
// the monitors' USB bridges meets: a display added, removed, moved or given
// another mode, a monitor swapped behind an output, a bridge plugged in. The
// feeds are the window system's screen signals, the X server's RandR
// notifications and the simulated desktop; the main window listens to
// changed() and folds bursts of notices into one refresh of its display list.

#include <QObject>

namespace pz {

class DisplayChanges : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Announces a change. From a thread other than this object's, changed()
    // is delivered in this object's thread.
    void notify();

signals:
    void changed();
};

// The program's one notifier (created on first use, in the thread that
// first asks; the GUI thread asks first).
DisplayChanges &displayChanges();

} // namespace pz
