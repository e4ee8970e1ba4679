#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl-C, a closed terminal) end the
// event loop cleanly, so the controller still writes the data file and the
// preferences. The signal handler only writes the signal number into a
// pipe; the GUI thread reads it through a socket notifier and emits
// terminationRequested, which main connects to QCoreApplication::quit.

#include <QObject>

class QSocketNotifier;

namespace pz {

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; one object at a time.
    explicit TerminationSignals(QObject *parent = nullptr);
    // Puts the previous handlers back.
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace pz
