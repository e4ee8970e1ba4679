#pragma once
// The worker thread behind the restore progress box: for one display it
// verifies that the monitor still matches a stored calibration (mode 1) or
// puts the stored calibration back into the monitor (mode 0). In both modes
// it loads the stored calibration's graphics card ramp (curves 12-14 of its
// measurement record); a restore loads it again afterwards, whatever
// happened, since the monitor operations may disturb the card's ramp.
//
// Finished(result) is emitted once, at the end of every run:
//   verify: 1 the monitor matches, 0 it differs or has no monitor object,
//           a negative code when a control cannot be read;
//   restore: 0, or the first failing monitor step's code;
//   -1 when the objects are missing (nothing is touched); 0 for other modes.
// A run always completes: stop() does not interrupt it.

#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <atomic>

class CAdjustValue;
class CDDCMonitor;
class CTargetDisplay;
class CTargetValue;

class CheckRestoreMonitorSettingsThread : public QThread {
    Q_OBJECT
public:
    enum typeMode { MODE_RESTORE = 0, MODE_VERIFY = 1 };
    static constexpr int kMissingObjects = -1;

    explicit CheckRestoreMonitorSettingsThread(QObject *parent = nullptr);
    // Waits for a run still in progress.
    ~CheckRestoreMonitorSettingsThread() override;

    // Not owned; all three stay alive until Finished has been emitted.
    void SetObjects(CTargetDisplay *display, CTargetValue *target, CAdjustValue *adjust);
    // Starts `mode` at low priority when the thread is not running; on a
    // running thread the new mode does not run.
    void begin(unsigned int mode);
    void stop();

    void run() override;

signals:
    void Finished(int result);

private:
    int verify();
    int restore();
    void loadStoredRamp();

    QMutex m_Mutex;
    QWaitCondition m_Condition;
    // Written by the GUI thread; the run does not test it.
    std::atomic<bool> m_Abort{false};
    quint32 m_Mode = MODE_RESTORE;
    CTargetDisplay *m_TargetDisplay = nullptr;
    CDDCMonitor *m_Monitor = nullptr;
    CTargetValue *m_StoredTarget = nullptr;
    CAdjustValue *m_StoredAdjustValue = nullptr;
    bool m_Restart = false;   // set by begin() on a running thread; nothing reads it
};
