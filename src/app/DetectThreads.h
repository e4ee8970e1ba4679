#pragma once
// The two start-up detection threads. Each runs its detection once, at low
// priority, while the GUI thread shows the splash: MonitorDetectThread lists
// the display interfaces and the desktop's monitors with their DDC/CI data,
// SensorDetectThread lets the sensor selector find a sensor. Their results
// reach the controller as queued signals of the objects they fill.

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

// What both share: the flags guarded by the mutex, the start at low
// priority, and the end that waits for the thread.
class DetectThread : public QThread {
public:
    // Only sets the abort flag; the detection itself runs to its end.
    void stop();

protected:
    explicit DetectThread(QObject *parent);
    // Starts the thread, or marks a restart when it runs already. The caller
    // holds m_mutex.
    void startOrRestart();
    // Sets the abort flag, asks the detection to give up at its next step
    // (QThread::requestInterruption) and waits until run() has returned.
    // Every derived destructor calls it, before its own members go.
    void abortAndWait();

    QMutex m_mutex;
    QWaitCondition m_condition;
    bool m_restart = false;
    bool m_abort = false;
};

class MonitorDetectThread : public DetectThread {
public:
    explicit MonitorDetectThread(QObject *parent = nullptr);
    ~MonitorDetectThread() override;

    // Starts the detection (autoEnumerate: also the automatic enumeration).
    void begin(bool autoEnumerate);

protected:
    void run() override;

private:
    bool m_autoEnumerate = false;
};

class SensorDetectThread : public DetectThread {
public:
    explicit SensorDetectThread(QObject *parent = nullptr);
    ~SensorDetectThread() override;

    void begin();

protected:
    void run() override;
};
