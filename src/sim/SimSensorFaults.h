#pragma once
// Fault injection shared by every simulated sensor device: a device asks it
// at the start of each call whether that call is to fail, and asks it
// whether it is still plugged in. The statuses are each family's own.
//
//   if (auto status = m_faults.takeFault("MeasureXYZ", kMeasureTimeoutUs))
//       return *status;
//   if (!m_faults.sleepUs(integrationUs))   // unplugged during the window
//       return kDeviceLost;
//
// Faults on a call are taken in the order they were added. Losing the device
// is an unplug: now, or after some program-clock time, which lands in the
// middle of a measurement window; replug() brings a fresh device back.
// Thread-safe.

#include <QString>
#include <QVector>
#include <QMutex>
#include <optional>

namespace pz {

class SimSensorFaults {
public:
    static constexpr int kForever = -1;

    // The next `count` calls named `call` fail with `status` (kForever:
    // every one until clear()).
    void failNext(const QString &call, int status, int count = 1);
    // The next `count` calls named `call` time out: each waits the time-out
    // its device gives, on the program clock, then fails with `status`.
    void timeOutNext(const QString &call, int status, int count = 1);
    // At the start of a device call: the status to fail with (a time-out has
    // already waited `timeoutUs`), or nothing, and the call goes on.
    std::optional<int> takeFault(const QString &call, qint64 timeoutUs = 0);
    // Faults still waiting for calls named `call`.
    int pendingFaults(const QString &call) const;
    // Drops every pending fault (a loss stays).
    void clear();

    // Unplugs the device now, or once `us` of program-clock time have passed.
    void loseNow();
    void loseAfterUs(qint64 us);
    bool isLost() const;
    // Plugs it back in. The generation changes, so a device can tell handles
    // opened before the loss, which stay dead, from new ones.
    void replug();
    quint64 generation() const;

    // Waits `us` on the program clock, or only until the device is lost when
    // that comes first: true when it is still there afterwards.
    bool sleepUs(qint64 us);

private:
    struct Fault {
        QString call;
        int status = 0;
        int remaining = 1;   // kForever: never used up
        bool timeOut = false;
    };

    mutable QMutex m_lock;
    QVector<Fault> m_faults;
    qint64 m_lostAtUs = -1;   // program-clock time of the loss; -1: plugged in
    quint64 m_generation = 0;
};

} // namespace pz
