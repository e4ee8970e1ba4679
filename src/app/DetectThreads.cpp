#include "DetectThreads.h"

#include "AppGlobals.h"
#include "CMonAPIDummy.h"
#include "CMultiMonitor.h"
#include "CTargetSensor.h"
#include "Clock.h"
#include "MasterControl.h"

DetectThread::DetectThread(QObject *parent) : QThread(parent) {}

void DetectThread::stop()
{
    QMutexLocker lock(&m_mutex);
    m_abort = true;
}

// A thread asked to start again while it runs only marks the restart; these
// threads do their work once and never look at it.
void DetectThread::startOrRestart()
{
    if (isRunning()) {
        m_restart = true;
        m_condition.wakeOne();
    } else {
        start(QThread::LowPriority);
    }
}

void DetectThread::abortAndWait()
{
    m_mutex.lock();
    m_abort = true;
    m_condition.wakeOne();
    m_mutex.unlock();
    // The detection is given up at its next step (pz::workAbandoned), so
    // the program ends soon even while a monitor is slow to answer.
    requestInterruption();
    wait();
}

MonitorDetectThread::MonitorDetectThread(QObject *parent) : DetectThread(parent) {}

MonitorDetectThread::~MonitorDetectThread()
{
    abortAndWait();
}

void MonitorDetectThread::begin(bool autoEnumerate)
{
    QMutexLocker lock(&m_mutex);
    m_autoEnumerate = autoEnumerate;
    startOrRestart();
}

void MonitorDetectThread::run()
{
    if (!pCMonAPIDummy)
        return;
    pCMonAPIDummy->EnumerateInterfaces(1, 0);
    CMultiMonitor *monitors = pMasterControl ? pMasterControl->GetMultiMonitor() : nullptr;
    if (!monitors || pz::workAbandoned())
        return;
    monitors->EnumerateDesktop();
    m_mutex.lock();
    const bool autoEnumerate = m_autoEnumerate;
    m_mutex.unlock();
    if (autoEnumerate && !pz::workAbandoned())
        monitors->AutoEnumerate();
    if (!pz::workAbandoned())
        monitors->RepopulateWithDDCCIData();
}

SensorDetectThread::SensorDetectThread(QObject *parent) : DetectThread(parent) {}

SensorDetectThread::~SensorDetectThread()
{
    abortAndWait();
}

void SensorDetectThread::begin()
{
    QMutexLocker lock(&m_mutex);
    startOrRestart();
}

void SensorDetectThread::run()
{
    if (pTargetSensor)
        pTargetSensor->AutoSelect();
}
